#include "platform/ui/paint.h"

#include <algorithm>

namespace korvane::platform::ui {
namespace {

struct Area {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
};

Area Intersect(const Area& a, const Area& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

Area ExtentOf(const PaintOp& op, const Area& panel) {
  if (op.kind == PaintKind::kClear) return panel;
  return Intersect({op.left, op.top, op.right, op.bottom}, panel);
}

// Adds to `out` the parts of `area` that `cover` leaves: at most four rectangles.
void Subtract(const Area& area, const Area& cover, std::vector<Area>& out) {
  const Area inside = Intersect(area, cover);
  if (inside.Empty()) {
    out.push_back(area);
    return;
  }
  if (area.top < inside.top) out.push_back({area.left, area.top, area.right, inside.top});
  if (inside.bottom < area.bottom) out.push_back({area.left, inside.bottom, area.right, area.bottom});
  if (area.left < inside.left) out.push_back({area.left, inside.top, inside.left, inside.bottom});
  if (inside.right < area.right) out.push_back({inside.right, inside.top, area.right, inside.bottom});
}

}  // namespace

bool PaintRecord::Covered(std::size_t index, int width, int height) const {
  const Area panel{0, 0, width, height};
  std::vector<Area> left{ExtentOf(shown_[index], panel)};
  if (left.front().Empty()) return true;
  std::vector<Area> next;
  for (std::size_t later = index + 1; later < shown_.size() && !left.empty(); ++later) {
    const PaintOp& op = shown_[later];
    if (op.kind != PaintKind::kGradient) continue;
    next.clear();
    for (const Area& piece : left) Subtract(piece, ExtentOf(op, panel), next);
    left.swap(next);
  }
  return left.empty();
}

void PaintRecord::Add(const PaintOp& op, int width, int height) {
  ++count_;
  recent_.push_back(op);
  if (recent_.size() > kRecentKept) recent_.erase(recent_.begin());

  if (op.kind == PaintKind::kClear) shown_.clear();
  shown_.push_back(op);
  if (op.kind != PaintKind::kGradient) return;
  // Only what the new fill overlaps can have become covered.
  const Area fill{op.left, op.top, op.right, op.bottom};
  const Area panel{0, 0, width, height};
  for (std::size_t i = shown_.size() - 1; i-- > 0;) {
    const Area extent = ExtentOf(shown_[i], panel);
    if (!extent.Empty() && Intersect(extent, fill).Empty()) continue;
    if (Covered(i, width, height)) shown_.erase(shown_.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

std::vector<PaintOp> PaintRecord::Since(std::uint64_t mark) const {
  const std::uint64_t first = count_ - recent_.size();
  const std::size_t skip = mark <= first ? 0 : static_cast<std::size_t>(std::min(mark, count_) - first);
  return {recent_.begin() + static_cast<std::ptrdiff_t>(skip), recent_.end()};
}

}  // namespace korvane::platform::ui
