#include <gtest/gtest.h>

#include <limits>

#include "update/wizard/update_comparison.h"

namespace korvane::update {
namespace {

TEST(AddFileSizeTest, DropsTheFractionAfterEachAddition) {
  EXPECT_EQ(AddFileSize(AddFileSize(0, "1.5"), "1.5"), 2);
  EXPECT_EQ(AddFileSize(7, ""), 7);
  EXPECT_EQ(AddFileSize(7, "KB"), 7);
  EXPECT_EQ(AddFileSize(7, "-2.5"), 4);
}

TEST(AddFileSizeTest, StaysInsideThe32BitRange) {
  EXPECT_EQ(AddFileSize(2, "1e30"), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(AddFileSize(std::numeric_limits<std::int32_t>::max(), "1"),
            std::numeric_limits<std::int32_t>::max());
}

TEST(OverallPercentTest, TruncatesAndGuardsAZeroTotal) {
  EXPECT_EQ(OverallPercent(1, 3), 33);
  EXPECT_EQ(OverallPercent(2, 3), 66);
  EXPECT_EQ(OverallPercent(3, 3), 100);
  EXPECT_EQ(OverallPercent(5, 0), 0);
  EXPECT_EQ(OverallPercent(std::numeric_limits<std::int32_t>::max(), 1),
            std::numeric_limits<std::int32_t>::max());
}

}  // namespace
}  // namespace korvane::update
