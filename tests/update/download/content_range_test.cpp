#include "update/download/content_range.h"

#include <gtest/gtest.h>

namespace korvane::update {
namespace {

struct NumberCase {
  std::string_view header;
  char mark;
  double number;
};

TEST(ContentRange, NumberAfterLastMark) {
  const NumberCase cases[] = {
      {"bytes 0-20479/50000", '-', 20479},  // the text after "-" begins with the end
      {"bytes 0-20479/50000", '/', 50000},
      {"bytes */50000", '-', 0},            // no "-": the whole text, which is no number
      {"bytes */50000", '/', 50000},
      {"20479", '-', 20479},
      {"bytes 0-99/ 12.9e1x", '/', 129},    // blanks skipped, fraction and exponent read
      {"bytes 0-99/-7.9", '-', 7},          // after the last "-"; truncated
      {"bytes 0-99/*", '/', 0},
      {"", '/', 0},
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(std::string(c.header) + " after " + c.mark);
    EXPECT_EQ(NumberAfterLast(c.header, c.mark), c.number);
  }
}

TEST(ContentRange, ReadsRangeAndTotal) {
  const ContentRange range = ReadContentRange("bytes 40960-49999/50000");
  ASSERT_TRUE(range.total && range.first);
  EXPECT_EQ(*range.total, 50000);
  EXPECT_EQ(*range.first, 40960);
  EXPECT_EQ(range.last, 49999);
}

TEST(ContentRange, FirstPositionIsTheDigitsBeforeTheDash) {
  EXPECT_EQ(ReadContentRange("bytes=20480-40959/50000").first, 20480.0);
  EXPECT_EQ(ReadContentRange("bytes 0-99/*").first, 0.0);
  EXPECT_FALSE(ReadContentRange("bytes -99/100").first);
  EXPECT_FALSE(ReadContentRange("bytes x-99/100").first);
}

TEST(ContentRange, UnsatisfiedFormHasTotalButNoRange) {
  const ContentRange range = ReadContentRange("bytes */50000");
  ASSERT_TRUE(range.total);
  EXPECT_EQ(*range.total, 50000);
  EXPECT_FALSE(range.first);
  EXPECT_EQ(range.last, 0);
}

TEST(ContentRange, ZeroTotalIsStatedButAnAsteriskIsNot) {
  EXPECT_EQ(ReadContentRange("bytes */0").total, 0.0);
  EXPECT_FALSE(ReadContentRange("bytes 0-99/*").total);
  EXPECT_FALSE(ReadContentRange("bytes 0-99").total);  // no "/": the whole text is no number
  EXPECT_FALSE(ReadContentRange("").total);
}

}  // namespace
}  // namespace korvane::update
