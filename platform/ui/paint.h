#pragma once
// What a drawing panel was painted with, in order: the headless backend keeps this record
// so that tests and dumps can see a paint without a screen.

#include <cstdint>

#include "platform/ui/types.h"

namespace korvane::platform::ui {

enum class PaintKind {
  kClear,     // the whole panel in `colour` (setting BackColour clears a panel)
  kGradient,  // a two-colour gradient over [left, right) x [top, bottom)
  kText,      // glyphs of `text` at (x, y) in `colour` and `font`, no background
};

struct PaintOp {
  PaintKind kind = PaintKind::kClear;
  // kGradient: the rectangle, right and bottom exclusive; mode 0 left to right, 1 top down.
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
