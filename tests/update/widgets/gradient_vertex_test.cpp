#include "update/widgets/gradient_vertex.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvane::update {
namespace {

TEST(VertexAt, PutsEachComponentInTheHighByteOfItsChannel) {
  const GradientVertex vertex = VertexAt(147, 9, RgbColour(0x12, 0x80, 0xFF));
  EXPECT_EQ(vertex.x, 147);
  EXPECT_EQ(vertex.y, 9);
  EXPECT_EQ(vertex.red, 0x1200);
  EXPECT_EQ(vertex.green, 0x8000);
  EXPECT_EQ(vertex.blue, 0xFF00);
  EXPECT_EQ(vertex.alpha, 0);
  // Only the three colour bytes count.
  const GradientVertex flagged = VertexAt(0, 0, 0xFF000000);
  EXPECT_EQ(flagged.red | flagged.green | flagged.blue | flagged.alpha, 0);
}

TEST(BuildVertices, WritesTwoLittleEndianVerticesOf16Bytes) {
  const auto bytes = BuildVertices(VertexAt(-1, 0x01020304, RgbColour(1, 2, 3)),
                                   VertexAt(295, 18, RgbColour(0xFF, 0, 0x80)));
  const std::vector<std::uint8_t> expected = {
      0xFF, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01,  // x = -1, y
      0x00, 0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x00,  // red, green, blue, alpha
      0x27, 0x01, 0x00, 0x00, 0x12, 0x00, 0x00, 0x00,  // x = 295, y = 18
      0x00, 0xFF, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00};
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), expected);
}

}  // namespace
}  // namespace korvane::update
