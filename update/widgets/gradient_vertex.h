#pragma once
// The corners of a gradient rectangle as the gradient fill takes them: x and y (signed
// 32-bit), then red, green, blue and alpha (16-bit), little-endian, 16 bytes a vertex.

#include <array>
#include <cstdint>

#include "platform/ui/program.h"
#include "update/widgets/bar_colors.h"

namespace korvane::update {

// The platform's TRIVERTEX record: each channel holds the 8-bit component in its high
// byte.
using GradientVertex = platform::ui::TriVertex;

inline constexpr std::size_t kGradientVertexBytes = 16;

// A corner at (x, y) in the channels of a colour; alpha 0.
GradientVertex VertexAt(int x, int y, Colour colour);

std::array<std::uint8_t, 2 * kGradientVertexBytes> BuildVertices(const GradientVertex& first,
                                                                 const GradientVertex& second);

}  // namespace korvane::update
