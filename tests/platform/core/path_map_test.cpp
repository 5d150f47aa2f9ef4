#include "platform/core/path_map.h"

#include <gtest/gtest.h>

namespace korvane::platform {
namespace {

TEST(PathMap, BackslashesBecomeSeparatorsAndGbkBecomesUtf8) {
  EXPECT_EQ(NativePath("\\opt\\korvane\\PlayerConfig.ini").u8string(), u8"/opt/korvane/PlayerConfig.ini");
  EXPECT_EQ(NativePath("\\data\\升级\\up.dat").u8string(), u8"/data/升级/up.dat");
  EXPECT_EQ(NativePath("Config.ini").u8string(), u8"Config.ini");
}

TEST(PathMap, TrailByteBackslashIsNotASeparator) {
  // 0x81 0x5C is one character whose trail byte is "\".
  EXPECT_EQ(NativePath("\\a\\\x81\x5C\\b").u8string(), u8"/a/乗/b");
}

TEST(PathMap, CorePathIsTheInverse) {
  std::filesystem::path native(u8"/srv/播放器/乗");
  EXPECT_EQ(CorePath(native), "\\srv\\播放器\\\x81\x5C");
  EXPECT_EQ(NativePath(CorePath(native)), native);
}

}  // namespace
}  // namespace korvane::platform
