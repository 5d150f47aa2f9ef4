#include "update/wizard/update_comparison.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/core/atomic_file.h"
#include "platform/core/path_map.h"
#include "tests/support/temp_folder.h"
#include "tests/update/wizard/wizard_test_files.h"
#include "update/wizard/update_list.h"

namespace korvane::update {
namespace {

class UpdateComparisonTest : public ::testing::Test {
 protected:
  void WriteList(const Text& path, std::string_view bytes) {
    std::filesystem::create_directories(platform::NativePath(path).parent_path());
    ASSERT_TRUE(platform::WriteFileAtomically(platform::NativePath(path), bytes));
  }
  UpdateComparison Compare() { return CompareUpdateLists(*files_, paths_); }

  testing_support::TempFolder temp_;
  UpdatePaths paths_{platform::CorePath(temp_.path())};
  std::unique_ptr<platform::FileSystem> files_ = testing::MakeFileSystem(paths_.ProgramFolder());
};

TEST_F(UpdateComparisonTest, EqualVersionsListNothing) {
  WriteList(paths_.ServerList(), "[版本]\r\n版本号=2.0\r\n[a.dll]\r\n文件名=a.dll\r\n文件日期=x\r\n");
  WriteList(paths_.LocalList(), "[版本]\r\n版本号=2.0\r\n");
  UpdateComparison result = Compare();
  EXPECT_TRUE(result.same_version);
  EXPECT_TRUE(result.files.empty());
}

TEST_F(UpdateComparisonTest, ListsTheServerFilesWhoseDatesDifferInLineOrder) {
  WriteList(paths_.ServerList(),
            "[版本]\r\n版本号=2.0\r\n"
            "[b.dll]\r\n文件名=b.dll\r\n文件日期=2013年1月1日\r\n文件尺寸=1.5\r\n"
            "[same.dll]\r\n文件名=same.dll\r\n文件日期=2012年12月26日\r\n文件尺寸=100\r\n"
            "[new.dll]\r\n文件名=new.dll\r\n文件日期=2013年1月1日\r\n文件尺寸=1.5\r\n"
            "[nodate.dll]\r\n文件名=nodate.dll\r\n文件尺寸=7\r\n"
            "[a.dll]\r\n文件名=a.dll\r\n文件日期=2013年1月2日\r\n文件尺寸=KB\r\n");
  WriteList(paths_.LocalList(),
            "[b.dll]\r\n文件日期=2012年12月26日\r\n"
            "[same.dll]\r\n文件日期=2012年12月26日\r\n"
            "[a.dll]\r\n文件日期=2013年1月2日 \r\n"
            "[版本]\r\n版本号=未知\r\n");
  UpdateComparison result = Compare();
  EXPECT_FALSE(result.same_version);
  EXPECT_EQ(result.server_version, "2.0");
  EXPECT_EQ(result.local_version, "未知");
  ASSERT_EQ(result.files.size(), 3u);
  EXPECT_EQ(result.files[0].name, "b.dll");
  EXPECT_EQ(result.files[0].size_text, "1.5");
  EXPECT_EQ(result.files[1].name, "new.dll");  // no local entry: its date reads as empty
  EXPECT_EQ(result.files[2].name, "a.dll");    // a trailing blank makes the dates differ
  EXPECT_EQ(result.files[2].size_text, "KB");
  EXPECT_EQ(result.total_size, 2);  // 0 + 1.5 -> 1, 1 + 1.5 -> 2, + "KB" (0) -> 2
}

TEST_F(UpdateComparisonTest, AMissingServerListHasAnEmptyVersion) {
  WriteList(paths_.LocalList(), "[版本]\r\n版本号=1.0\r\n");
  UpdateComparison result = Compare();
  EXPECT_FALSE(result.same_version);
  EXPECT_TRUE(result.files.empty());
  std::filesystem::remove(platform::NativePath(paths_.LocalList()));
  EXPECT_TRUE(Compare().same_version);  // both empty
}

// Names come from "文件名=" lines: the first 7 bytes go wherever the marker stands, CR is
// dropped, blanks after the name stay, and reading stops at a zero byte.
TEST_F(UpdateComparisonTest, ReadsServerNamesLineByLine) {
  WriteList(paths_.ServerList(),
            std::string("文件名=a.dll\r\n"
                        "文件名=b.dll \n"
                        "[x]\r\n"
                        "文件名=\r\n"
                        "x文件名=c.dll\r\n"
                        "文件名=\xD3\x5C.dll\r\n"
                        "文件名=d.dll\0"
                        "文件名=e.dll\r\n",
                        99));
  std::vector<Text> names;
  ReadServerFileNames(*files_, paths_.ServerList(), [&](const Text& name) {
    names.push_back(name);
  });
  EXPECT_EQ(names, (std::vector<Text>{"a.dll", "b.dll ", "", "=c.dll", "\xD3\x5C.dll",
                                      "d.dll"}));
}

TEST_F(UpdateComparisonTest, AServerListThatCannotBeOpenedGivesNoNames) {
  int names = 0;
  ReadServerFileNames(*files_, paths_.ServerList(), [&](const Text&) { ++names; });
  EXPECT_EQ(names, 0);
}

}  // namespace
}  // namespace korvane::update
