#include "platform/core/profile.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/core/atomic_file.h"
#include "platform/core/config_files.h"
#include "platform/core/path_map.h"
#include "tests/support/temp_folder.h"

namespace korvane::platform {
namespace {

class ProfileTest : public testing::Test {
 protected:
  // The programs' own form of a path: program folder + "\PlayerConfig.ini".
  Text File(const char* name = "PlayerConfig.ini") { return CorePath(folder_.path()) + "\\" + name; }
  void Store(std::string_view bytes) { ASSERT_TRUE(WriteFileAtomically(NativePath(File()), bytes)); }
  std::string Stored() { return ReadWholeFile(NativePath(File())).value_or("<missing>"); }

  testing_support::TempFolder folder_;
};

TEST_F(ProfileTest, MissingFileSectionOrKeyReadsEmpty) {
  EXPECT_EQ(ReadIniValue(File(), "Config", "List"), "");
  Store("[Config]\r\nList=2\r\n");
  EXPECT_EQ(ReadIniValue(File(), "Other", "List"), "");
  EXPECT_EQ(ReadIniValue(File(), "Config", "Button"), "");
  EXPECT_EQ(ReadIniValue(File(), "Config", "List"), "2");
}

TEST_F(ProfileTest, NamesMatchWithoutCaseAndFirstDuplicateWins) {
  Store("[config]\r\nLIST=2\r\nList=1\r\n[CONFIG]\r\nButton=9\r\n");
  EXPECT_EQ(ReadIniValue(File(), "Config", "list"), "2");
  EXPECT_EQ(ReadIniValue(File(), "Config", "Button"), "") << "only the first section is read";
}

TEST_F(ProfileTest, ValueIsKeptAsWrittenBlanksIncluded) {
  Store("[Config]\r\nList= 2\r\nButton=2.0\r\n  Start =1\r\n");
  EXPECT_EQ(ReadIniValue(File(), "Config", "List"), " 2");
  EXPECT_EQ(ReadIniValue(File(), "Config", "Button"), "2.0");
  EXPECT_EQ(ReadIniValue(File(), "Config", "Start"), "1");
}

TEST_F(ProfileTest, ArgumentsSkipLeadingControlBytesAndEmptyOnesDoNothing) {
  Store("[Config]\r\nUID=abc\r\n");
  EXPECT_EQ(ReadIniValue(" \t" + File(), "\x01 Config", "  UID"), "abc");
  EXPECT_EQ(ReadIniValue(File(), "", "UID"), "");
  EXPECT_EQ(ReadIniValue(File(), "Config", " "), "");
  EXPECT_EQ(ReadIniValue("  ", "Config", "UID"), "");
  EXPECT_FALSE(WriteIniValue(File(), "", "UID", "x"));
  EXPECT_EQ(Stored(), "[Config]\r\nUID=abc\r\n");
}

TEST_F(ProfileTest, LongValueIsCutToTheBuffer) {
  std::string value(20000, 'v');
  Store("[Config]\r\nUID=" + value + "\r\n");
  EXPECT_EQ(ReadIniValue(File(), "Config", "UID"), value.substr(0, kProfileValueBufferSize - 1));
  // A double-byte character that would straddle the end is left out whole.
  std::string gbk = std::string(kProfileValueBufferSize - 2, 'a') + "中";
  Store("[Config]\r\nUID=" + gbk + "\r\n");
  EXPECT_EQ(ReadIniValue(File(), "Config", "UID").size(), kProfileValueBufferSize - 2);
}

TEST_F(ProfileTest, WriteCreatesFileSectionAndKey) {
  EXPECT_TRUE(WriteIniValue(File(), "Config", "List", "2"));
  EXPECT_EQ(Stored(), "[Config]\r\nList=2\r\n");
  EXPECT_TRUE(WriteIniValue(File(), "Config", "Button", "1"));
  EXPECT_TRUE(WriteIniValue(File(), "版本", "版本号", "1.2"));
  EXPECT_EQ(Stored(), "[Config]\r\nList=2\r\nButton=1\r\n[版本]\r\n版本号=1.2\r\n");
}

TEST_F(ProfileTest, WriteKeepsEveryOtherLineByteForByte) {
  std::string before =
      "; comment\n[Config]\nList = 1 \nButton=1\n\n[Other]\r\nx=y\r\nno equals sign\r\n";
  Store(before);
  EXPECT_TRUE(WriteIniValue(File(), "CONFIG", "list", "2"));
  EXPECT_EQ(Stored(), "; comment\n[Config]\nList=2\r\nButton=1\n\n[Other]\r\nx=y\r\nno equals sign\r\n");
  EXPECT_TRUE(WriteIniValue(File(), "Config", "Start", "1"));
  EXPECT_EQ(Stored(),
            "; comment\n[Config]\nList=2\r\nButton=1\nStart=1\r\n\n[Other]\r\nx=y\r\nno equals sign\r\n");
}

TEST_F(ProfileTest, GbkValuesRoundTripUnchanged) {
  // A trail byte of 0x5C ("\") and of "[" / "]" must not disturb the parse.
  std::string value = "C:\\\x81\x5C\\片名\x81[\x81]";
  EXPECT_TRUE(WriteIniValue(File(), "\x81]段", "文件名", value));
  EXPECT_EQ(ReadIniValue(File(), "\x81]段", "文件名"), value);
}

TEST_F(ProfileTest, SectionNamedAfterAFileWithBracketsRoundTrips) {
  EXPECT_TRUE(WriteIniValue(File(), "a]b[1].dll", "文件名", "a]b[1].dll"));
  EXPECT_TRUE(WriteIniValue(File(), "a]b[1].dll", "文件日期", "2012年12月26日"));
  EXPECT_EQ(Stored(), "[a]b[1].dll]\r\n文件名=a]b[1].dll\r\n文件日期=2012年12月26日\r\n");
  EXPECT_EQ(ReadIniValue(File(), "a]b[1].dll", "文件名"), "a]b[1].dll");
  EXPECT_EQ(ReadIniValue(File(), "a", "文件名"), "");
}

TEST_F(ProfileTest, ValueWithALineEndIsRefused) {
  Store("[Config]\r\nList=1\r\n");
  EXPECT_FALSE(WriteIniValue(File(), "Config", "List", "2\r\n[Evil]"));
  EXPECT_EQ(Stored(), "[Config]\r\nList=1\r\n");
}

TEST_F(ProfileTest, MalformedFileReadsAndKeepsItsBytes) {
  std::string binary("\x00\xFF\xFE[\x01]\r\x9F", 8);
  std::string big_line(1 << 20, 'x');
  std::string before = binary + "\n[Config]\r\nnot a key\r\n" + big_line + "\r\nList=1";
  Store(before);
  EXPECT_EQ(ReadIniValue(File(), "Config", "List"), "1");
  EXPECT_EQ(ReadIniValue(File(), "Config", "not a key"), "");
  EXPECT_TRUE(WriteIniValue(File(), "Config", "List", "2"));
  EXPECT_EQ(Stored(), binary + "\n[Config]\r\nnot a key\r\n" + big_line + "\r\nList=2\r\n");
  EXPECT_TRUE(WriteIniValue(File(), "New", "k", "v"));
  EXPECT_EQ(Stored(), binary + "\n[Config]\r\nnot a key\r\n" + big_line + "\r\nList=2\r\n[New]\r\nk=v\r\n");
}

TEST_F(ProfileTest, WhatCannotBeReadIsNeverWrittenOver) {
  // Something is there but reads as no file (a pipe; for other users also a file without
  // read permission): a write would replace content it never saw.
  ASSERT_EQ(::mkfifo(NativePath(File()).c_str(), 0600), 0);
  EXPECT_EQ(ReadIniValue(File(), "Config", "List"), "");
  EXPECT_FALSE(WriteIniValue(File(), "Config", "List", "2"));
  EXPECT_TRUE(std::filesystem::is_fifo(NativePath(File())));
}

TEST_F(ProfileTest, NoFinalLineEndBeforeANewSectionOrKey) {
  Store("[Config]\r\nList=1");
  EXPECT_TRUE(WriteIniValue(File(), "Config", "Button", "1"));
  EXPECT_EQ(Stored(), "[Config]\r\nList=1\r\nButton=1\r\n");
}

TEST_F(ProfileTest, ZeroByteEndsTheValue) {
  Store(std::string("[Config]\r\nUID=ab\0cd\r\n", 20));
  EXPECT_EQ(ReadIniValue(File(), "Config", "UID"), "ab");
}

TEST_F(ProfileTest, BatchCommitsAllWritesOnce) {
  Store("[版本]\r\n版本号=1\r\n");
  ProfileBatch batch(File());
  for (int i = 0; i < 3; ++i) {
    std::string section = "文件" + std::to_string(i);
    EXPECT_TRUE(batch.Write(section, "文件名", "f" + std::to_string(i)));
    EXPECT_TRUE(batch.Write(section, "文件尺寸", std::to_string(i * 10)));
  }
  EXPECT_TRUE(batch.Write("文件0", "文件名", "again"));
  EXPECT_EQ(Stored(), "[版本]\r\n版本号=1\r\n") << "nothing is written before Commit";
  EXPECT_TRUE(batch.Commit());
  EXPECT_EQ(ReadIniValue(File(), "文件0", "文件名"), "again");
  EXPECT_EQ(ReadIniValue(File(), "文件2", "文件尺寸"), "20");
  EXPECT_EQ(ReadIniValue(File(), "版本", "版本号"), "1");
}

TEST_F(ProfileTest, FileExistsIsFalseForFolders) {
  EXPECT_FALSE(FileExists(File()));
  Store("");
  EXPECT_TRUE(FileExists(File()));
  EXPECT_FALSE(FileExists(CorePath(folder_.path())));
  EXPECT_FALSE(FileExists(""));
}

TEST_F(ProfileTest, ConfigKeysNameTheirOwnFile) {
  // A program's own file and keys, as a program declares them.
  constexpr ConfigKey kListKey{"PlayerConfig.ini", "List"};
  constexpr ConfigKey kButtonKey{"PlayerConfig.ini", "Button"};
  constexpr ConfigKey kStartKey{"PlayerConfig.ini", "Start"};
  Text folder = CorePath(folder_.path());
  ASSERT_TRUE(WriteConfigValue(folder, kListKey, "2"));
  ASSERT_TRUE(WriteConfigValue(folder, kButtonKey, "1"));
  EXPECT_EQ(Stored(), "[Config]\r\nList=2\r\nButton=1\r\n");
  WriteFileAtomically(NativePath(File("Config.ini")), "[Config]\r\nUID=0A1B\r\n");
  EXPECT_EQ(ReadConfigValue(folder, kUidKey), "0A1B");
  EXPECT_EQ(ReadConfigValue(folder, kStartKey), "");
  EXPECT_EQ(ConfigFilePath("\\p", kConfigFileName), "\\p\\Config.ini");
}

// A read-only profile file is left as it is: every way of writing it fails and changes
// nothing, and once it may be written again no value of it has been lost.
TEST_F(ProfileTest, AReadOnlyFileIsNeverWritten) {
  const std::string stored = "[Config]\r\nList=1\r\nButton=2\r\n; the user's note\r\n";
  Store(stored);
  ::chmod(NativePath(File()).c_str(), 0444);

  EXPECT_FALSE(WriteIniValue(File(), "Config", "List", "2"));
  EXPECT_FALSE(WriteConfigValue(CorePath(folder_.path()), ConfigKey{"PlayerConfig.ini", "Start"}, "1"));
  ProfileBatch batch(File());
  EXPECT_TRUE(batch.Write("Config", "Sticky", "0"));
  EXPECT_FALSE(batch.Commit());
  IniDocument document = IniDocument::Load(File());
  EXPECT_TRUE(document.Set("New", "Key", "v"));
  EXPECT_FALSE(document.Save(File()));

  struct stat info {};
  ASSERT_EQ(::stat(NativePath(File()).c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0444u);
  EXPECT_EQ(Stored(), stored);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()),
                          std::filesystem::directory_iterator()), 1);

  ::chmod(NativePath(File()).c_str(), 0644);
  EXPECT_TRUE(WriteIniValue(File(), "Config", "List", "2"));
  EXPECT_EQ(Stored(), "[Config]\r\nList=2\r\nButton=2\r\n; the user's note\r\n");
}

}  // namespace
}  // namespace korvane::platform
