#include "update/widgets/bar_layout.h"

#include <gtest/gtest.h>

namespace korvane::update {
namespace {

constexpr auto kH = GradientMode::kLeftToRight;
constexpr auto kV = GradientMode::kTopToBottom;

struct RectanglesCase {
  const char* name;
  int direction, position, maximum, width, height;
  std::vector<BarRectangle> expected;
};

class BarRectanglesTest : public testing::TestWithParam<RectanglesCase> {};

TEST_P(BarRectanglesTest, PaintsTheUnfilledPartThenTheFilledPart) {
  const auto& c = GetParam();
  EXPECT_EQ(BarRectangles(c.direction, c.position, c.maximum, c.width, c.height), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BarRectanglesTest,
    testing::Values(
        RectanglesCase{"HalfAlongTheWidth", 1, 50, 100, 295, 18,
                       {{kV, 147, 0, 295, 9, 1, 3},
                        {kV, 147, 9, 295, 18, 5, 7},
                        {kV, 0, 0, 147, 9, 9, 11},
                        {kV, 0, 9, 147, 18, 13, 15}}},
        RectanglesCase{"EmptyPaintsOnlyTheUnfilledPart", 1, 0, 100, 295, 18,
                       {{kV, 0, 0, 295, 9, 1, 3}, {kV, 0, 9, 295, 18, 5, 7}}},
        RectanglesCase{"PositionOneFillsNothingWideYetDrawsIt", 1, 1, 1000, 295, 18,
                       {{kV, 0, 0, 295, 9, 1, 3},
                        {kV, 0, 9, 295, 18, 5, 7},
                        {kV, 0, 0, 0, 9, 9, 11},
                        {kV, 0, 9, 0, 18, 13, 15}}},
        RectanglesCase{"FullLeavesTheUnfilledPartWithoutWidth", 1, 100, 100, 295, 17,
                       {{kV, 295, 0, 295, 8, 1, 3},
                        {kV, 295, 8, 295, 17, 5, 7},
                        {kV, 0, 0, 295, 8, 9, 11},
                        {kV, 0, 8, 295, 17, 13, 15}}},
        RectanglesCase{"ThirdAlongTheHeight", 2, 1, 3, 21, 100,
                       {{kH, 0, 33, 10, 100, 1, 3},
                        {kH, 10, 33, 21, 100, 5, 7},
                        {kH, 0, 0, 10, 33, 9, 11},
                        {kH, 10, 0, 21, 33, 13, 15}}},
        // Settings given before the first attach paint once with no range yet.
        RectanglesCase{"NoRangeYetIsEmpty", 1, 0, 0, 295, 18,
                       {{kV, 0, 0, 295, 9, 1, 3}, {kV, 0, 9, 295, 18, 5, 7}}},
        RectanglesCase{"NoRangeYetBelowZeroIsEmpty", 2, -1, 0, 21, 100,
                       {{kH, 0, 0, 10, 100, 1, 3}, {kH, 10, 0, 21, 100, 5, 7}}},
        RectanglesCase{"OtherDirectionsPaintNoBar", 3, 50, 100, 295, 18, {}},
        RectanglesCase{"DirectionZero", 0, 50, 100, 295, 18, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PercentText, KeepsTwoDecimalsTruncated) {
  const std::pair<double, const char*> cases[] = {
      {50, "50.00%"},          {100.0 / 3, "33.33%"}, {200.0 / 3, "66.66%"},
      {12.5, "12.50%"},        {12.25, "12.25%"},     {0, "0.00%"},
      {100, "100.00%"},        {99.999, "99.99%"},    {0.001, "0.00%"},
      {100.0 / 3e6, "0.00%"},  {0.5, "0.50%"}};
  for (const auto& [percent, text] : cases) EXPECT_EQ(PercentText(percent), text) << percent;
}

TEST(BarText, FollowsTheTextMode) {
  EXPECT_EQ(BarText(1, 37, 100, "c"), "37");
  EXPECT_EQ(BarText(2, 1, 3, "c"), "33.33%");
  EXPECT_EQ(BarText(2, 50, 200, "c"), "25.00%");
  EXPECT_EQ(BarText(2, 0, 0, "c"), "0.00%");  // no range yet
  EXPECT_EQ(BarText(3, 37, 100, "水晶进度条-"), "水晶进度条-");
  for (int mode : {0, 4, -1}) EXPECT_EQ(BarText(mode, 37, 100, "c"), std::nullopt) << mode;
}

TEST(PlaceText, PutsTheTextInAThreeByThreeGrid) {
  // A 295 by 18 board with a text 13 wide and 12 high; halves truncated after the sum.
  const TextPlace expected[] = {{0, 0},     {1, 0},     {1, 2},     {1, 5},     {140, 0},
                                {140, 2},   {140, 5},   {279, 0},   {279, 2},   {279, 5},
                                {0, 0}};
  for (int position = 0; position <= 10; ++position) {
    EXPECT_EQ(PlaceText(position, 295, 18, 13, 12), expected[position]) << position;
  }
}

TEST(PlaceText, TruncatesTowardZero) {
  // 10 / 2 - 13 / 2 - 1 = -2.5 and 4 / 2 - 7 / 2 - 1 = -2.5: both give -2.
  EXPECT_EQ(PlaceText(5, 10, 4, 13, 7), (TextPlace{-2, -2}));
}

TEST(EffectWrites, DrawsTheCopiesThenTheText) {
  constexpr Colour a = 0x111111, b = 0xEEEEEE, g = kEffectGrey;
  const TextPlace at{10, 5};
  const std::pair<int, std::vector<TextWrite>> cases[] = {
      {1, {{a, 10, 5}}},
      {2, {{b, 9, 4}, {g, 11, 6}, {a, 10, 5}}},
      {3, {{b, 11, 6}, {g, 9, 5}, {a, 10, 5}}},
      {4, {{b, 11, 5}, {b, 9, 5}, {b, 9, 5}, {b, 11, 5}, {a, 10, 5}}},
      {5, {{b, 11, 6}, {a, 10, 5}}},
      {0, {}},
      {6, {}}};
  for (const auto& [effect, writes] : cases) {
    EXPECT_EQ(EffectWrites(effect, at, a, b), writes) << effect;
  }
}

}  // namespace
}  // namespace korvane::update
