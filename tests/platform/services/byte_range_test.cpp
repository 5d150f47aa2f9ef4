#include "platform/services/byte_range.h"

#include <gtest/gtest.h>

namespace korvane::platform {
namespace {

TEST(ByteRange, RangeHeadersAreReadAgainstTheResourceLength) {
  struct Case {
    std::string_view header;
    RangeRequest request;
    std::size_t first;
    std::size_t last;
  };
  const Case cases[] = {
      {"bytes=0-20479", RangeRequest::kSatisfiable, 0, 20479},
      {"bytes=40960-61439", RangeRequest::kSatisfiable, 40960, 49999},
      {"bytes=100-", RangeRequest::kSatisfiable, 100, 49999},
      {"bytes=-100", RangeRequest::kSatisfiable, 49900, 49999},
      {" bytes=1-2,5-9", RangeRequest::kSatisfiable, 1, 2},
      {"bytes=50000-70479", RangeRequest::kPastTheEnd, 0, 0},
      {"bytes=-0", RangeRequest::kPastTheEnd, 0, 0},
      {"bytes=9-1", RangeRequest::kNone, 0, 0},
      {"bytes=a-b", RangeRequest::kNone, 0, 0},
      {"items=0-1", RangeRequest::kNone, 0, 0},
      {"", RangeRequest::kNone, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.header);
    ByteRange range{};
    EXPECT_EQ(ParseByteRange(c.header, 50000, &range), c.request);
    if (c.request != RangeRequest::kSatisfiable) continue;
    EXPECT_EQ(range.first, c.first);
    EXPECT_EQ(range.last, c.last);
  }
}

TEST(ByteRange, ContentRangeStatesTheRangeOrOnlyTheLength) {
  EXPECT_EQ(ContentRange({40960, 49999}, 50000), "bytes 40960-49999/50000");
  EXPECT_EQ(UnsatisfiedContentRange(50000), "bytes */50000");
}

}  // namespace
}  // namespace korvane::platform
