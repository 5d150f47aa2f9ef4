#include "platform/services/files.h"

#include <gtest/gtest.h>

namespace korvane::platform {
namespace {

TEST(DateText, DropsOnlyTheTrailingZeroPartsOfTheTime) {
  struct Case {
    FileDate date;
    const char* text;
  };
  const Case cases[] = {
      {{2012, 12, 26, 8, 5, 0}, "2012年12月26日8时5分"},
      {{2012, 12, 26, 8, 0, 0}, "2012年12月26日8时"},
      {{2012, 12, 26, 0, 0, 7}, "2012年12月26日0时0分7秒"},
      {{2012, 12, 26, 0, 5, 0}, "2012年12月26日0时5分"},
      {{2012, 12, 26, 0, 0, 0}, "2012年12月26日"},
      {{2013, 1, 2, 23, 59, 59}, "2013年1月2日23时59分59秒"},
      {FileDate{}, "100年1月1日"},
  };
  for (const Case& c : cases) EXPECT_EQ(DateText(c.date), c.text);
}

}  // namespace
}  // namespace korvane::platform
