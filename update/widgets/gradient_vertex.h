#pragma once
// The corners of a gradient rectangle as the gradient fill takes them: x and y (signed
// 32-bit), then red, green, blue and alpha (16-bit), little-endian, 16 bytes a vertex.

#include <array>
#include <cstdint>

#include "update/widgets/bar_colors.h"

namespace korvane::update {

struct GradientVertex {
  std::int32_t x = 0;
  std::int32_t y = 0;
  // Each channel holds the 8-bit component in its high byte.
  std::uint16_t red = 0;
  std::uint16_t green = 0;
  std::uint16_t blue = 0;
  std::uint16_t alpha = 0;

  bool operator==(const GradientVertex&) const = default;
};

inline constexpr std::size_t kGradientVertexBytes = 16;

// A corner at (x, y) in the channels of a colour; alpha 0.
GradientVertex VertexAt(int x, int y, Colour colour);

std::array<std::uint8_t, 2 * kGradientVertexBytes> BuildVertices(const GradientVertex& first,
                                                                 const GradientVertex& second);

}  // namespace korvane::update
