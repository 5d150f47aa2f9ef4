#include "platform/services/unzip.h"

#include <unistd.h>

#include <fstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/core/atomic_file.h"
#include "platform/core/path_map.h"
#include "platform/services/linux_file_system.h"
#include "tests/platform/services/zip_maker.h"
#include "tests/support/temp_folder.h"

namespace korvane::platform {
namespace {

namespace fs = std::filesystem;
using testing_support::MakeZip;
using testing_support::ZipEntry;

// Every path below `root`, relative, folders marked with a trailing "/".
std::vector<std::string> Tree(const fs::path& root) {
  std::vector<std::string> paths;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    std::string relative = it->path().lexically_relative(root).string();
    if (it->is_symlink()) {
      relative += "@";
      it.disable_recursion_pending();
    } else if (it->is_directory()) {
      relative += "/";
    }
    paths.push_back(relative);
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

class UnzipTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directory(target_); }

  bool Unzip(const std::vector<ZipEntry>& entries) {
    EXPECT_TRUE(MakeZip(archive_, entries));
    return UnzipToDirectory(CorePath(archive_), CorePath(target_) + "\\");
  }

  testing_support::TempFolder work_;
  fs::path archive_ = work_.path() / "up.dat.zip";
  fs::path target_ = work_.path() / "target";
};

TEST_F(UnzipTest, WritesNestedEntriesAndReplacesExistingFiles) {
  ASSERT_TRUE(WriteFileAtomically(target_ / "up.dat", "old list"));
  EXPECT_TRUE(Unzip({{"up.dat", "[\xB0\xE6\xB1\xBE]\r\n"},
                     {"codec/a.dll", std::string(100000, 'a')},
                     {"codec\\sub\\b.dll", "b", false, false, true},
                     {"empty/"},
                     {"./dot.txt", "dot"}}));
  EXPECT_EQ(Tree(target_), (std::vector<std::string>{"codec/", "codec/a.dll", "codec/sub/", "codec/sub/b.dll",
                                                     "dot.txt", "empty/", "up.dat"}));
  EXPECT_EQ(ReadWholeFile(target_ / "up.dat"), "[\xB0\xE6\xB1\xBE]\r\n");
  EXPECT_EQ(ReadWholeFile(target_ / "codec" / "a.dll"), std::string(100000, 'a'));
  auto files = CreateLinuxFileSystem(work_.path());
  EXPECT_EQ(DateText(files->GetFileModifiedTime(files->GetRunDirectory() + "\\target\\up.dat")),
            "2012年12月26日8时5分") << "the stored date becomes the file's";
}

TEST_F(UnzipTest, GbkAndUtf8EntryNamesBecomeTheSameNativeNames) {
  EXPECT_TRUE(Unzip({{"\xD6\xD0\xCE\xC4/\x95\x5C.txt", "gbk"},
                     {"\xE4\xB8\xAD\xE6\x96\x87/utf8.txt", "utf8", true}}));
  EXPECT_EQ(ReadWholeFile(target_ / GbkToUtf8("\xD6\xD0\xCE\xC4") / GbkToUtf8("\x95\x5C.txt")), "gbk");
  EXPECT_EQ(ReadWholeFile(target_ / u8"中文" / "utf8.txt"), "utf8");
}

TEST_F(UnzipTest, EntriesThatWouldLandOutsideTheTargetAreNotWritten) {
  testing_support::TempFolder outside;
  fs::create_directory_symlink(outside.path(), target_ / "out");
  const std::vector<ZipEntry> entries = {
      {"../evil.txt", "x"},           {"..\\evil.txt", "x"},       {"/tmp/korvane-abs.txt", "x"},
      {"\\abs.txt", "x"},             {"C:\\evil.txt", "x"},       {"C:evil.txt", "x"},
      {"a/../../evil.txt", "x"},      {"a\\..\\..\\evil.txt", "x"}, {"../target_evil/x.txt", "x"},
      {"../target_evil/"},            {"out/x.txt", "x"},          {"link", "/tmp", false, true},
      {"good/ok.txt", "ok"},
  };
  EXPECT_FALSE(Unzip(entries)) << "refused entries make the result false";
  EXPECT_EQ(Tree(target_), (std::vector<std::string>{"good/", "good/ok.txt", "out@"}));
  EXPECT_EQ(Tree(work_.path()), (std::vector<std::string>{"target/", "target/good/", "target/good/ok.txt",
                                                         "target/out@", "up.dat.zip"}));
  EXPECT_TRUE(fs::is_empty(outside.path()));
  EXPECT_FALSE(fs::exists("/tmp/korvane-abs.txt"));
}

TEST_F(UnzipTest, ATruncatedArchiveWritesNothing) {
  ASSERT_TRUE(WriteFileAtomically(target_ / "a.dll", "installed"));
  ASSERT_TRUE(MakeZip(archive_, {{"a.dll", std::string(50000, 'n')}, {"b.dll", "b"}}));
  fs::resize_file(archive_, fs::file_size(archive_) / 2);
  EXPECT_FALSE(UnzipToDirectory(CorePath(archive_), CorePath(target_)));
  EXPECT_EQ(Tree(target_), std::vector<std::string>{"a.dll"});
  EXPECT_EQ(ReadWholeFile(target_ / "a.dll"), "installed");
}

TEST_F(UnzipTest, AnEntryThatFailsItsCrcLeavesTheOldFileAndNoTemporaryFile) {
  ASSERT_TRUE(WriteFileAtomically(target_ / "a.dll", "installed"));
  const std::string content(4000, 'q');
  ASSERT_TRUE(MakeZip(archive_, {{"a.dll", content, false, false, true}, {"b.dll", "b"}}));
  std::string bytes = *ReadWholeFile(archive_);
  std::size_t stored = bytes.find(content);
  ASSERT_NE(stored, std::string::npos);
  bytes[stored + 2000] = 'X';
  ASSERT_TRUE(WriteFileAtomically(archive_, bytes));

  EXPECT_FALSE(UnzipToDirectory(CorePath(archive_), CorePath(target_)));
  EXPECT_EQ(ReadWholeFile(target_ / "a.dll"), "installed");
  EXPECT_EQ(ReadWholeFile(target_ / "b.dll"), "b") << "the other entries are still written";
  EXPECT_EQ(Tree(target_), (std::vector<std::string>{"a.dll", "b.dll"}));
}

TEST_F(UnzipTest, AMissingArchiveOrTargetFails) {
  EXPECT_FALSE(UnzipToDirectory(CorePath(work_.path() / "absent.zip"), CorePath(target_)));
  ASSERT_TRUE(MakeZip(archive_, {{"a.dll", "a"}}));
  EXPECT_FALSE(UnzipToDirectory(CorePath(archive_), CorePath(work_.path() / "no-such-folder")));
  EXPECT_FALSE(UnzipToDirectory("", CorePath(target_)));
}

}  // namespace
}  // namespace korvane::platform
