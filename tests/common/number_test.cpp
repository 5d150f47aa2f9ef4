#include "common/number.h"

#include <gtest/gtest.h>

#include <string>

namespace korvane {
namespace {

struct NumberCase {
  std::string text;
  double expected;
};

class ToNumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(ToNumberTest, ReadsTheLeadingNumber) {
  EXPECT_DOUBLE_EQ(ToNumber(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToNumberTest,
    testing::Values(NumberCase{"2", 2}, NumberCase{" 2", 2}, NumberCase{"2.0", 2},
                    NumberCase{"abc", 0}, NumberCase{"", 0}, NumberCase{"02", 2},
                    NumberCase{"２", 2}, NumberCase{"　１２．５", 12.5},
                    NumberCase{"－３", -3}, NumberCase{"-1.5e2x", -150},
                    NumberCase{"1e", 1}, NumberCase{"+.5", 0.5}, NumberCase{"12abc", 12},
                    NumberCase{"\t\r\n7", 7}, NumberCase{"--2", 0}, NumberCase{"1e999", 0},
                    NumberCase{"中2", 0}));

TEST(NumbersEqual, UsesTheTolerance) {
  EXPECT_TRUE(NumbersEqual(2.0, 2.00000005));
  EXPECT_FALSE(NumbersEqual(2.0, 2.0000002));
  EXPECT_TRUE(NumbersEqual(ToNumber("2.0"), 2));
}

}  // namespace
}  // namespace korvane
