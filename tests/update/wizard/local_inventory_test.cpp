#include "update/wizard/local_inventory.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/core/atomic_file.h"
#include "platform/core/path_map.h"
#include "platform/core/profile.h"
#include "tests/support/temp_folder.h"
#include "tests/update/wizard/wizard_test_files.h"

namespace korvane::update {
namespace {

namespace fs = std::filesystem;

// Records what the scan asked of the window; optionally runs a check at each pause.
class RecordingPacer : public ScanPacer {
 public:
  std::vector<std::string> calls;
  std::function<void()> on_messages;
  void ProcessPendingMessages() override {
    calls.push_back("messages");
    if (on_messages) on_messages();
  }
  void SetWaitCursor() override { calls.push_back("wait"); }
  void RestoreCursor() override { calls.push_back("restore"); }
};

void Touch(const fs::path& file, int hour = 8, int minute = 5, int second = 0) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "x";
  std::tm local{};
  local.tm_year = 2012 - 1900;
  local.tm_mon = 11;
  local.tm_mday = 26;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  const timespec times[2] = {{std::mktime(&local), 0}, {std::mktime(&local), 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
}

class LocalInventoryTest : public ::testing::Test {
 protected:
  fs::path Native(std::string_view relative) const {
    return platform::NativePath(folder_ + Text(relative));
  }
  Text ListValue(std::string_view section, std::string_view key) const {
    return platform::ReadIniValue(folder_ + "\\up.dat", section, key);
  }
  bool Build() { return BuildLocalInventory(*files_, pacer_, folder_); }

  testing_support::TempFolder temp_;
  Text folder_ = platform::CorePath(temp_.path() / u8"程序");
  std::unique_ptr<platform::FileSystem> files_ = testing::MakeFileSystem(folder_);
  RecordingPacer pacer_;
};

TEST_F(LocalInventoryTest, DescribesEachFileWithItsPathAndDateAndEndsWithTheVersion) {
  Touch(Native("\\a.dll"));
  Touch(Native("\\codec\\b.dll"), 0, 0, 7);
  ASSERT_TRUE(Build());

  EXPECT_EQ(ListValue("a.dll", "文件名"), "a.dll");
  EXPECT_EQ(ListValue("a.dll", "文件路径"), "\\a.dll");
  EXPECT_EQ(ListValue("a.dll", "文件日期"), "2012年12月26日8时5分");
  EXPECT_EQ(ListValue("b.dll", "文件路径"), "\\codec\\b.dll");
  EXPECT_EQ(ListValue("b.dll", "文件日期"), "2012年12月26日0时0分7秒");
  EXPECT_EQ(ListValue("b.dll", "文件尺寸"), "");
  // The file sections in scan order, each key in its order, the version last.
  EXPECT_EQ(*platform::ReadWholeFile(Native("\\up.dat")),
            "[a.dll]\r\n文件名=a.dll\r\n文件路径=\\a.dll\r\n文件日期=2012年12月26日8时5分\r\n"
            "[b.dll]\r\n文件名=b.dll\r\n文件路径=\\codec\\b.dll\r\n"
            "文件日期=2012年12月26日0时0分7秒\r\n"
            "[版本]\r\n版本号=未知\r\n");
}

TEST_F(LocalInventoryTest, SkipsTheWorkFolderAnyFolderNamedUpdateAndTheListItself) {
  Touch(Native("\\update\\up.dat"));
  Touch(Native("\\update\\temp\\up.dat.zip"));
  Touch(Native("\\codec\\update\\c.dll"));
  Touch(Native("\\codec\\up.dat"));
  Touch(Native("\\UP.DAT"));
  Touch(Native("\\.hidden.dll"));
  Touch(Native("\\.folder\\d.dll"));
  Touch(Native("\\\xD3\x5Cupdate\\e.dll"));  // "覾update": its 0x5C is a trail byte
  ASSERT_TRUE(Build());

  const std::string list = *platform::ReadWholeFile(Native("\\up.dat"));
  for (const char* skipped : {"文件名=up.dat\r\n", "文件名=up.dat.zip\r\n", "文件名=c.dll\r\n"}) {
    EXPECT_EQ(list.find(skipped), std::string::npos) << skipped;
  }
  EXPECT_EQ(ListValue("UP.DAT", "文件路径"), "\\UP.DAT");
  EXPECT_EQ(ListValue(".hidden.dll", "文件路径"), "\\.hidden.dll");
  EXPECT_EQ(ListValue("d.dll", "文件路径"), "\\.folder\\d.dll");
  EXPECT_EQ(ListValue("e.dll", "文件路径"), "\\\xD3\x5Cupdate\\e.dll");
}

// "♫" has no GBK form: its search name would be "?.dll", which no file has.
TEST_F(LocalInventoryTest, AFileWithoutAGbkNameIsLeftOutAndLoggedOnce) {
  Touch(Native("\\a.dll"));
  Touch(temp_.path() / u8"程序" / u8"\u266B.dll");
  ::testing::internal::CaptureStderr();
  ASSERT_TRUE(Build());
  const std::string log = ::testing::internal::GetCapturedStderr();

  const std::string list = *platform::ReadWholeFile(Native("\\up.dat"));
  EXPECT_EQ(list.find("?"), std::string::npos) << list;
  EXPECT_EQ(list.find("100年"), std::string::npos) << list;
  EXPECT_EQ(ListValue("a.dll", "文件路径"), "\\a.dll");
  EXPECT_NE(log.find("?.dll"), std::string::npos) << log;
  EXPECT_EQ(log.find("?.dll"), log.rfind("?.dll")) << log;
}

TEST_F(LocalInventoryTest, TheSameNameTwiceKeepsOneSectionForTheFileScannedLast) {
  Touch(Native("\\a.dll"), 1, 0, 0);
  Touch(Native("\\codec\\a.dll"), 2, 0, 0);
  ASSERT_TRUE(Build());
  EXPECT_EQ(ListValue("a.dll", "文件路径"), "\\codec\\a.dll");
  EXPECT_EQ(ListValue("a.dll", "文件日期"), "2012年12月26日2时");
}

TEST_F(LocalInventoryTest, AProgramFolderBelowAFolderNamedUpdateRecordsNothing) {
  folder_ = platform::CorePath(temp_.path() / "update" / u8"程序");
  files_ = testing::MakeFileSystem(folder_);
  Touch(Native("\\a.dll"));
  ASSERT_TRUE(Build());
  EXPECT_EQ(*platform::ReadWholeFile(Native("\\up.dat")), "[版本]\r\n版本号=未知\r\n");
}

// The window may hand over to Player while the scan pauses between folders: no list may
// exist before the scan has ended.
TEST_F(LocalInventoryTest, TheListIsWrittenOnlyWhenTheScanHasEnded) {
  Touch(Native("\\a.dll"));
  Touch(Native("\\codec\\b.dll"));
  Touch(Native("\\codec\\deep\\c.dll"));
  int pauses = 0;
  pacer_.on_messages = [&] {
    ++pauses;
    EXPECT_FALSE(fs::exists(Native("\\up.dat")));
  };
  ASSERT_TRUE(Build());
  EXPECT_EQ(pauses, 2);
  EXPECT_EQ(ListValue("c.dll", "文件路径"), "\\codec\\deep\\c.dll");
}

// What a scan of `root` reports, as folder + `between` + name, in the order it is found.
std::vector<Text> Scan(const Text& root, std::string_view patterns, RecordingPacer& pacer,
                       std::string_view between = "") {
  std::unique_ptr<platform::FileSystem> files = testing::MakeFileSystem(root);
  std::vector<Text> seen;
  ScanFolder(*files, pacer, root, patterns,
             [&](const Text& folder, const Text& name) {
               seen.push_back(folder + Text(between) + name);
             },
             true);
  return seen;
}

TEST(ScanFolderTest, WalksDepthFirstWithAFoldersOwnFilesFirst) {
  testing_support::TempFolder temp;
  const Text root = platform::CorePath(temp.path());
  Touch(platform::NativePath(root + "\\a\\x\\1.txt"));
  Touch(platform::NativePath(root + "\\a\\2.txt"));
  Touch(platform::NativePath(root + "\\3.txt"));
  Touch(platform::NativePath(root + "\\3.log"));
  RecordingPacer pacer;
  EXPECT_EQ(Scan(root, "*.txt|*.log", pacer), (std::vector<Text>{root + "\\3.txt", root + "\\3.log", root + "\\a\\2.txt",
                                     root + "\\a\\x\\1.txt"}));
  // Each level with subfolders restores the cursor once its folder search has ended.
  EXPECT_EQ(pacer.calls, (std::vector<std::string>{"messages", "wait", "messages", "wait",
                                                   "restore", "restore", "restore"}));
}

// A link that leads back up the walk is not entered; another folder link is.
TEST(ScanFolderTest, AFolderLinkIsEnteredUnlessItLeadsBackToAFolderOfTheWalk) {
  testing_support::TempFolder temp;
  const Text root = platform::CorePath(temp.path());
  Touch(temp.path() / "a.dll");
  Touch(temp.path() / "codec" / "b.dll");
  fs::create_directory_symlink(temp.path(), temp.path() / "codec" / "again");
  fs::create_directory_symlink(temp.path() / "codec", temp.path() / "shared");
  RecordingPacer pacer;
  std::vector<Text> seen = Scan(root, "", pacer);
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<Text>{root + "\\a.dll", root + "\\codec\\b.dll",
                                     root + "\\shared\\b.dll"}));
}

// "覾" is the GBK bytes D3 5C: a folder whose name ends in it still needs its separator.
TEST(ScanFolderTest, AFolderNameEndingInTheTrailByte5CIsStillEntered) {
  testing_support::TempFolder temp;
  const Text root = platform::CorePath(temp.path() / u8"覾");
  ASSERT_EQ(root.substr(root.size() - 2), "\xD3\x5C");
  Touch(platform::NativePath(root + "\\1.txt"));
  Touch(platform::NativePath(root + "\\\xD3\x5C\\2.txt"));
  RecordingPacer pacer;
  EXPECT_EQ(Scan(root, "", pacer, "|"), (std::vector<Text>{root + "\\|1.txt", root + "\\\xD3\x5C\\|2.txt"}));
}

}  // namespace
}  // namespace korvane::update
