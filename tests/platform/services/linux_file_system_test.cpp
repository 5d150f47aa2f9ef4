#include "platform/services/linux_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/core/atomic_file.h"
#include "platform/core/path_map.h"
#include "tests/support/temp_folder.h"

namespace korvane::platform {
namespace {

namespace fs = std::filesystem;
using ::testing::UnorderedElementsAre;

// "昞" in GBK is 0x95 0x5C: its trail byte is a backslash.
const Text kBackslashTrailName = "\x95\x5C";

void Write(const fs::path& file, std::string_view bytes) { ASSERT_TRUE(WriteFileAtomically(file, bytes)); }

time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
  tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return ::mktime(&local);
}

void SetModified(const fs::path& file, time_t when, long nanoseconds = 0) {
  const timespec times[2] = {{when, nanoseconds}, {when, nanoseconds}};
  ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
}

std::vector<Text> AllFound(FileSystem& files, std::string_view pattern, FindMode mode) {
  std::vector<Text> names;
  auto search = files.FindFiles(pattern, mode);
  for (Text name = search->FindFileNext(); !name.empty(); name = search->FindFileNext()) names.push_back(name);
  return names;
}

class LinuxFileSystemTest : public ::testing::Test {
 protected:
  testing_support::TempFolder folder_;
  std::unique_ptr<FileSystem> files_ = CreateLinuxFileSystem(folder_.path());
  Text run_ = files_->GetRunDirectory();
};

TEST_F(LinuxFileSystemTest, TheRunDirectoryIsACorePathWithoutTrailingBackslash) {
  EXPECT_EQ(NativePath(run_), folder_.path());
  EXPECT_EQ(run_.front(), '\\');
  // "誠" (D5 5C) ends the folder's name in the byte of a backslash: the name keeps it.
  const Text trail_name = "誠";
  const fs::path folder = folder_.path() / GbkToUtf8(trail_name);
  for (const fs::path& given : {folder, folder / ""}) {
    SCOPED_TRACE(given);
    const Text run = CreateLinuxFileSystem(given)->GetRunDirectory();
    EXPECT_EQ(run, CorePath(folder_.path()) + "\\" + trail_name);
    EXPECT_EQ(NativePath(run), folder);
  }
}

TEST(ProgramDirectory, WithoutAFolderGivenItIsTheCurrentDirectory) {
  EXPECT_EQ(NativePath(CreateLinuxFileSystem()->GetRunDirectory()), fs::current_path());
}

TEST_F(LinuxFileSystemTest, MakeDirectoryCreatesOneLevel) {
  EXPECT_TRUE(files_->MakeDirectory(run_ + "\\update"));
  EXPECT_TRUE(files_->MakeDirectory(run_ + "\\update\\temp\\"));
  EXPECT_FALSE(files_->MakeDirectory(run_ + "\\update")) << "already there";
  EXPECT_FALSE(files_->MakeDirectory(run_ + "\\a\\b")) << "parent missing";
  EXPECT_FALSE(files_->MakeDirectory(""));
  EXPECT_TRUE(fs::is_directory(folder_.path() / "update" / "temp"));
}

TEST_F(LinuxFileSystemTest, DeleteDirectoryTreeRemovesEverythingButNeverFollowsALink) {
  testing_support::TempFolder outside;
  Write(outside.path() / "keep.txt", "outside");
  fs::create_directories(folder_.path() / "update" / "temp" / ".hidden");
  Write(folder_.path() / "update" / "temp" / ".hidden" / "x.bin", "x");
  Write(folder_.path() / "update" / "up.dat", "list");
  fs::create_directory_symlink(outside.path(), folder_.path() / "update" / "link");

  EXPECT_TRUE(files_->DeleteDirectoryTree(run_ + "\\update\\"));
  EXPECT_FALSE(fs::exists(folder_.path() / "update"));
  EXPECT_EQ(ReadWholeFile(outside.path() / "keep.txt"), "outside");
  EXPECT_FALSE(files_->DeleteDirectoryTree(run_ + "\\update")) << "gone already";

  fs::create_directory_symlink(outside.path(), folder_.path() / "update");
  EXPECT_TRUE(files_->DeleteDirectoryTree(run_ + "\\update\\"));
  EXPECT_FALSE(fs::exists(fs::symlink_status(folder_.path() / "update"))) << "the link itself goes";
  EXPECT_EQ(ReadWholeFile(outside.path() / "keep.txt"), "outside");
}

TEST_F(LinuxFileSystemTest, RemoveFileRemovesFilesOnly) {
  Write(folder_.path() / "a.txt", "a");
  fs::create_directory(folder_.path() / "dir");
  EXPECT_TRUE(files_->RemoveFile(run_ + "\\a.txt"));
  EXPECT_FALSE(fs::exists(folder_.path() / "a.txt"));
  EXPECT_FALSE(files_->RemoveFile(run_ + "\\dir"));
  EXPECT_FALSE(files_->RemoveFile(run_ + "\\absent"));
}

mode_t ModeOf(const fs::path& file) {
  struct stat info {};
  return ::stat(file.c_str(), &info) == 0 ? info.st_mode & 0777 : 0;
}

TEST_F(LinuxFileSystemTest, CopyFileOverwriteReplacesWhollyAndKeepsTheLastWriteTime) {
  Write(folder_.path() / "new.exe", std::string("new\0bytes", 9));
  ::chmod((folder_.path() / "new.exe").c_str(), 0755);
  SetModified(folder_.path() / "new.exe", LocalTime(2012, 12, 26, 8, 5, 0));
  Write(folder_.path() / "Player.exe", "old");
  ::chmod((folder_.path() / "Player.exe").c_str(), 0700);

  EXPECT_TRUE(files_->CopyFileOverwrite(run_ + "\\new.exe", run_ + "\\Player.exe"));
  EXPECT_EQ(ReadWholeFile(folder_.path() / "Player.exe"), std::string("new\0bytes", 9));
  EXPECT_EQ(ModeOf(folder_.path() / "Player.exe"), 0700u) << "a replaced file keeps its permissions";
  EXPECT_EQ(DateText(files_->GetFileModifiedTime(run_ + "\\Player.exe")), "2012年12月26日8时5分");

  EXPECT_TRUE(files_->CopyFileOverwrite(run_ + "\\new.exe", run_ + "\\Update.exe"));
  EXPECT_EQ(ModeOf(folder_.path() / "Update.exe"), 0755u) << "a new file takes the source's";
}

TEST_F(LinuxFileSystemTest, AFailedCopyLeavesTheTargetAsItWas) {
  Write(folder_.path() / "Player.exe", "installed");
  fs::create_directory(folder_.path() / "dir");
  EXPECT_FALSE(files_->CopyFileOverwrite(run_ + "\\update\\missing.exe", run_ + "\\Player.exe"));
  EXPECT_FALSE(files_->CopyFileOverwrite(run_ + "\\dir", run_ + "\\Player.exe"));
  EXPECT_FALSE(files_->CopyFileOverwrite(run_ + "\\Player.exe", run_ + "\\no\\such\\folder.exe"));
  EXPECT_EQ(ReadWholeFile(folder_.path() / "Player.exe"), "installed");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_.path()), fs::directory_iterator()), 2);
}

TEST_F(LinuxFileSystemTest, FindFilesInTheTwoModesFindsHiddenEntries) {
  Write(folder_.path() / "up.dat", "list");
  Write(folder_.path() / ".hidden.dll", "h");
  Write(folder_.path() / GbkToUtf8("\xD6\xD0\xCE\xC4.txt"), "gbk name");
  fs::create_directory(folder_.path() / "codec");
  fs::create_directory(folder_.path() / ".config");
  fs::create_directory_symlink(folder_.path() / "codec", folder_.path() / "codec-link");

  EXPECT_THAT(AllFound(*files_, run_ + "\\*.*", FindMode::kFilesOnly),
              UnorderedElementsAre("up.dat", ".hidden.dll", "\xD6\xD0\xCE\xC4.txt"));
  EXPECT_THAT(AllFound(*files_, run_ + "\\*", FindMode::kFoldersOnly),
              UnorderedElementsAre(".", "..", "codec", ".config", "codec-link"));
  EXPECT_THAT(AllFound(*files_, run_ + "\\up.dat", FindMode::kFilesOnly), UnorderedElementsAre("up.dat"));
  EXPECT_TRUE(AllFound(*files_, run_ + "\\codec", FindMode::kFilesOnly).empty()) << "a folder is no file";
  EXPECT_TRUE(AllFound(*files_, run_ + "\\absent\\*.*", FindMode::kFilesOnly).empty());
}

TEST_F(LinuxFileSystemTest, AFolderWhoseNameEndsInByte5CIsNotSplitThere) {
  fs::path gbk_folder = folder_.path() / GbkToUtf8(kBackslashTrailName);
  fs::create_directory(gbk_folder);
  Write(gbk_folder / "a.dll", "a");
  EXPECT_THAT(AllFound(*files_, run_ + "\\" + kBackslashTrailName + "\\*.*", FindMode::kFilesOnly),
              UnorderedElementsAre("a.dll"));
  EXPECT_THAT(AllFound(*files_, run_ + "\\*", FindMode::kFoldersOnly),
              UnorderedElementsAre(".", "..", kBackslashTrailName));
}

TEST_F(LinuxFileSystemTest, ModifiedTimeIsLocalWholeSecondsAndAVanishedFileIsYear100) {
  Write(folder_.path() / "a.dll", "a");
  SetModified(folder_.path() / "a.dll", LocalTime(2012, 12, 26, 0, 0, 7), 999999999);
  EXPECT_EQ(files_->GetFileModifiedTime(run_ + "\\a.dll"), (FileDate{2012, 12, 26, 0, 0, 7}));
  EXPECT_EQ(files_->GetFileModifiedTime(run_ + "\\gone.dll"), FileDate{});
  EXPECT_EQ(DateText(files_->GetFileModifiedTime(run_ + "\\gone.dll")), "100年1月1日");
}

}  // namespace
}  // namespace korvane::platform
