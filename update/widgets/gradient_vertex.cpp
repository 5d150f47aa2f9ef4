#include "update/widgets/gradient_vertex.h"

#include <cstddef>

namespace korvane::update {
namespace {

std::uint16_t Channel(Colour component) {
  return static_cast<std::uint16_t>(ColorComponent16(static_cast<int>(component * 256)) & 0xFFFF);
}

void PutLittleEndian(std::uint8_t* out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void PutVertex(std::uint8_t* out, const GradientVertex& vertex) {
  PutLittleEndian(out, static_cast<std::uint32_t>(vertex.x), 4);
  PutLittleEndian(out + 4, static_cast<std::uint32_t>(vertex.y), 4);
  PutLittleEndian(out + 8, vertex.red, 2);
  PutLittleEndian(out + 10, vertex.green, 2);
  PutLittleEndian(out + 12, vertex.blue, 2);
  PutLittleEndian(out + 14, vertex.alpha, 2);
}

}  // namespace

GradientVertex VertexAt(int x, int y, Colour colour) {
  GradientVertex vertex;
  vertex.x = x;
  vertex.y = y;
  vertex.red = Channel(colour & 0xFF);
  vertex.green = Channel((colour & 0xFF00) / 256);
  vertex.blue = Channel((colour & 0xFF0000) / 65536);
  vertex.alpha = 0;
  return vertex;
}

std::array<std::uint8_t, 2 * kGradientVertexBytes> BuildVertices(const GradientVertex& first,
                                                                 const GradientVertex& second) {
  std::array<std::uint8_t, 2 * kGradientVertexBytes> bytes{};
  PutVertex(bytes.data(), first);
  PutVertex(bytes.data() + kGradientVertexBytes, second);
  return bytes;
}

}  // namespace korvane::update
