#pragma once
// What a drawing panel was painted with, in order: the desktop draws a panel from this
// record, and tests and dumps read it without a screen.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/ui/types.h"

namespace korvane::platform::ui {

enum class PaintKind {
  kClear,     // the whole panel in `colour` (setting BackColour clears a panel)
  kGradient,  // a two-colour gradient over [left, right) x [top, bottom)
  kText,      // glyphs of `text` at (x, y) in `colour` and `font`, no background
};

struct PaintOp {
  PaintKind kind = PaintKind::kClear;
  // What the op covers, right and bottom exclusive. kGradient: its rectangle, with mode 0
  // left to right, 1 top down; kText: the measured extent of the text.
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  std::uint32_t mode = 0;
  Colour colour_from = 0;  // also the colour of kClear and kText
  Colour colour_to = 0;
  // kText:
  int x = 0;
  int y = 0;
  Text text;
  Font font;
  bool operator==(const PaintOp&) const = default;
};

// The paints of one panel, kept twice. What it shows is what a draw replays: a clear
// drops every paint before it, and a gradient, which is opaque, drops each paint that it
// and the gradients after it cover within the panel (text is glyphs only and covers
// nothing), so a panel painted over and over shows as much as one paint. The newest
// paints, covered ones included, are kept for tests and the dump.
class PaintRecord {
 public:
  static constexpr std::size_t kRecentKept = 64;

  // `width` by `height`: the panel's drawable area; nothing outside it shows.
  void Add(const PaintOp& op, int width, int height);
  const std::vector<PaintOp>& Shown() const { return shown_; }
  // The newest kRecentKept paints, oldest first.
  const std::vector<PaintOp>& Recent() const { return recent_; }
  // Paints ever added: a mark for Since.
  std::uint64_t Count() const { return count_; }
  // The paints added after Count() was `mark`, as far as Recent still holds them.
  std::vector<PaintOp> Since(std::uint64_t mark) const;

 private:
  bool Covered(std::size_t index, int width, int height) const;

  std::vector<PaintOp> shown_;
  std::vector<PaintOp> recent_;
  std::uint64_t count_ = 0;
};

// A window region that clips a unit to the rounded rectangle [left, right) x [top, bottom)
// whose corners are ellipses of `corner_width` by `corner_height`.
struct RoundRegion {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int corner_width = 0;
  int corner_height = 0;
  bool operator==(const RoundRegion&) const = default;
};

}  // namespace korvane::platform::ui
