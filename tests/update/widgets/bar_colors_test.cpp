#include "update/widgets/bar_colors.h"

#include <gtest/gtest.h>

#include <limits>

namespace korvane::update {
namespace {

struct ShadeCase {
  Colour colour;
  int delta;
  Colour expected;
};

TEST(ShadeColor, LightensClampsAndTurnsBackAtZero) {
  const ShadeCase cases[] = {
      {RgbColour(0, 0, 0), 180, RgbColour(180, 180, 180)},
      {RgbColour(100, 200, 250), 80, RgbColour(180, 255, 255)},
      {RgbColour(10, 10, 10), -20, RgbColour(10, 10, 10)},
      {RgbColour(0, 0, 255), 50, RgbColour(50, 50, 255)},
      {RgbColour(30, 40, 50), -30, RgbColour(0, 10, 20)},
      // The default-colour flag above the blue byte takes no part.
      {0xFF000000, 5, RgbColour(5, 5, 5)},
      // Deltas at the ends of their range still clamp rather than overflow.
      {RgbColour(255, 255, 255), std::numeric_limits<int>::max(), RgbColour(255, 255, 255)},
      {RgbColour(1, 2, 3), std::numeric_limits<int>::min(), RgbColour(255, 255, 255)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShadeColor(c.colour, c.delta), c.expected) << std::hex << c.colour << " " << c.delta;
  }
}

TEST(ShadeColor, AddsOneWithoutADelta) {
  EXPECT_EQ(ShadeColor(RgbColour(1, 2, 255)), RgbColour(2, 3, 255));
}

TEST(GreyColor, TakesTheMeanOfTheComponents) {
  const std::pair<Colour, Colour> cases[] = {
      {RgbColour(255, 0, 0), RgbColour(85, 85, 85)},
      {RgbColour(10, 20, 31), RgbColour(20, 20, 20)},
      {RgbColour(0, 0, 0), RgbColour(0, 0, 0)},
      {RgbColour(255, 255, 255), RgbColour(255, 255, 255)},
      {RgbColour(128, 128, 128), RgbColour(128, 128, 128)},
      {RgbColour(188, 184, 188), RgbColour(186, 186, 186)},
  };
  for (const auto& [colour, grey] : cases) EXPECT_EQ(GreyColor(colour), grey) << std::hex << colour;
}

TEST(ColorComponent16, GivesTheSignedNumberOfTheSameBits) {
  const std::pair<int, int> cases[] = {
      {0, 0}, {0x7F00, 0x7F00}, {32767, 32767}, {32768, -32768}, {0xFF00, -256}, {65535, -1}};
  for (const auto& [v, expected] : cases) EXPECT_EQ(ColorComponent16(v), expected) << v;
}

ColorTable Filled(Colour value) {
  ColorTable table;
  for (int entry = 1; entry <= ColorTable::kEntries; ++entry) table[entry] = value;
  return table;
}

struct StyleCase {
  int style;
  Colour first, middle, background;  // entries 1, 9 and 17
};

class StyleTableTest : public testing::TestWithParam<StyleCase> {};

TEST_P(StyleTableTest, SetsTheOddEntriesFromTheTable) {
  const auto& c = GetParam();
  ColorTable table = Filled(0x123456);
  FillStyleColors(table, c.style, 0, 0);
  EXPECT_EQ(table[1], c.first);
  EXPECT_EQ(table[9], c.middle);
  EXPECT_EQ(table[17], c.background);
  for (int entry = 2; entry <= 16; entry += 2) {
    // Styles 1 to 8 repeat each odd entry in the even one after it; style 9 leaves them.
    EXPECT_EQ(table[entry], c.style <= 8 ? table[entry - 1] : Colour{0x123456}) << entry;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, StyleTableTest,
    testing::Values(
        StyleCase{1, RgbColour(248, 246, 242), RgbColour(251, 244, 223), RgbColour(204, 168, 62)},
        StyleCase{2, RgbColour(247, 248, 242), RgbColour(249, 251, 223), RgbColour(192, 204, 62)},
        StyleCase{3, RgbColour(242, 248, 243), RgbColour(223, 251, 225), RgbColour(62, 204, 74)},
        StyleCase{4, RgbColour(242, 248, 247), RgbColour(223, 251, 249), RgbColour(62, 204, 192)},
        StyleCase{5, RgbColour(243, 242, 248), RgbColour(225, 223, 251), RgbColour(74, 62, 204)},
        StyleCase{6, RgbColour(248, 242, 247), RgbColour(251, 223, 249), RgbColour(204, 62, 192)},
        StyleCase{7, RgbColour(248, 242, 242), RgbColour(251, 223, 223), RgbColour(204, 62, 62)},
        StyleCase{8, RgbColour(250, 253, 254), RgbColour(225, 247, 255), RgbColour(23, 139, 211)},
        StyleCase{9, RgbColour(231, 243, 232), RgbColour(223, 251, 223), RgbColour(188, 184, 188)}),
    [](const auto& info) { return "Style" + std::to_string(info.param.style); });

TEST(FillStyleColors, StyleNineHasEveryOddEntry) {
  ColorTable table;
  FillStyleColors(table, 9, 0, 0);
  const Colour expected[] = {RgbColour(231, 243, 232), RgbColour(225, 219, 225),
                             RgbColour(179, 189, 179), RgbColour(226, 238, 226),
                             RgbColour(223, 251, 223), RgbColour(108, 255, 108),
                             RgbColour(26, 228, 26),   RgbColour(217, 244, 217),
                             RgbColour(188, 184, 188)};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(table[2 * i + 1], expected[i]) << "entry " << 2 * i + 1;
}

TEST(FillStyleColors, StyleTenShadesTheCustomColours) {
  ColorTable table = Filled(0x123456);
  FillStyleColors(table, 10, RgbColour(0, 0, 255), RgbColour(0, 0, 0));
  const Colour expected[] = {RgbColour(180, 180, 180), RgbColour(50, 50, 50),
                             RgbColour(0, 0, 0),       RgbColour(80, 80, 80),
                             RgbColour(180, 180, 255), RgbColour(50, 50, 255),
                             RgbColour(0, 0, 255),     RgbColour(80, 80, 255),
                             RgbColour(0, 0, 255)};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(table[2 * i + 1], expected[i]) << "entry " << 2 * i + 1;
  for (int entry = 2; entry <= 16; entry += 2) EXPECT_EQ(table[entry], Colour{0x123456}) << entry;
}

TEST(FillStyleColors, OtherStylesChangeNothing) {
  for (int style : {0, 11, -1}) {
    ColorTable table = Filled(0x123456);
    FillStyleColors(table, style, 0xFF, 0xFF00);
    EXPECT_EQ(table, Filled(0x123456)) << style;
  }
}

TEST(FillStyleColors, EvenEntriesKeepWhatTheLastFullStyleLeft) {
  ColorTable table;
  FillStyleColors(table, 3, 0, 0);
  const Colour second = table[2];
  FillStyleColors(table, 9, 0, 0);
  FillStyleColors(table, 10, 0xFF0000, 0);
  FillStyleColors(table, 9, 0, 0);
  EXPECT_EQ(table[2], second);
  EXPECT_EQ(table[2], RgbColour(242, 248, 243));
}

TEST(GreyColorTable, GreysEveryEntryAndStaysGreyWhenRepeated) {
  ColorTable table;
  FillStyleColors(table, 8, 0, 0);
  GreyColorTable(table);
  for (int entry = 1; entry <= ColorTable::kEntries; ++entry) {
    EXPECT_EQ(table[entry] % 256, (table[entry] / 256) % 256) << entry;
  }
  EXPECT_EQ(table[17], GreyColor(RgbColour(23, 139, 211)));
  const ColorTable once = table;
  GreyColorTable(table);
  EXPECT_EQ(table, once);
}

}  // namespace
}  // namespace korvane::update
