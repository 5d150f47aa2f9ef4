#include "update/wizard/file_replacement.h"

#include <gtest/gtest.h>

namespace korvane::update {
namespace {

struct TargetCase {
  const char* file_path;
  const char* target;  // nullptr: refused
};

void PrintTo(const TargetCase& c, std::ostream* os) { *os << '"' << c.file_path << '"'; }

class InstalledFilePathTest : public ::testing::TestWithParam<TargetCase> {};

TEST_P(InstalledFilePathTest, StaysInsideTheProgramFolder) {
  std::optional<Text> target = InstalledFilePath("\\opt\\prog", GetParam().file_path);
  if (GetParam().target == nullptr) {
    EXPECT_FALSE(target) << *target;
  } else {
    ASSERT_TRUE(target);
    EXPECT_EQ(*target, GetParam().target);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, InstalledFilePathTest,
    ::testing::Values(TargetCase{"\\a.dll", "\\opt\\prog\\a.dll"},
                      TargetCase{"\\codec\\a.dll", "\\opt\\prog\\codec\\a.dll"},
                      // A GBK trail byte 0x5C is no separator.
                      TargetCase{"\\\xD3\x5C\\a.dll", "\\opt\\prog\\\xD3\x5C\\a.dll"},
                      TargetCase{"a.dll", nullptr},  // would be a sibling of the folder
                      TargetCase{"", nullptr},
                      TargetCase{"\\..\\a.dll", nullptr},
                      TargetCase{"\\codec\\..\\..\\a.dll", nullptr},
                      TargetCase{"\\codec/../../a.dll", nullptr},
                      TargetCase{"C:\\Windows\\a.dll", nullptr},
                      TargetCase{"\\C:\\a.dll", nullptr},
                      TargetCase{"\\\\server\\share\\a.dll", nullptr},
                      TargetCase{"\\codec\\", nullptr},
                      TargetCase{"\\.\\a.dll", nullptr}));

TEST(IsBareFileNameTest, RefusesFoldersAndDrives) {
  EXPECT_TRUE(IsBareFileName("a.dll"));
  EXPECT_TRUE(IsBareFileName("\xD3\x5C.dll"));
  for (const char* name : {"", ".", "..", "..\\a.dll", "a/b", "C:a", "\\a"}) {
    EXPECT_FALSE(IsBareFileName(name)) << name;
  }
}

}  // namespace
}  // namespace korvane::update
