#include "platform/services/linux_file_system.h"

#include <gtest/gtest.h>

#include "platform/core/atomic_file.h"
#include "tests/support/temp_folder.h"

namespace korvane::platform {
namespace {

namespace fs = std::filesystem;

class OpenedFileTest : public ::testing::Test {
 protected:
  Text PathOf(std::string_view name) { return run_ + "\\" + Text(name); }

  testing_support::TempFolder folder_;
  std::unique_ptr<FileSystem> files_ = CreateLinuxFileSystem(folder_.path());
  Text run_ = files_->GetRunDirectory();
};

TEST_F(OpenedFileTest, WritingCreatesNeverTruncatesAndAppendsAtTheEnd) {
  ASSERT_TRUE(WriteFileAtomically(folder_.path() / "part.zip", "30000"));
  {
    auto file = files_->OpenFile(PathOf("part.zip"), OpenMode::kWrite);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->GetOpenFileLength(), 5);
    EXPECT_TRUE(file->SeekToFileEnd());
    EXPECT_TRUE(file->WriteBytes(std::string("+\0block", 7)));
    EXPECT_TRUE(file->WriteBytes("2"));
    EXPECT_EQ(file->GetOpenFileLength(), 13);
  }
  EXPECT_EQ(ReadWholeFile(folder_.path() / "part.zip"), std::string("30000+\0block2", 13));

  auto fresh = files_->OpenFile(PathOf("new.zip"), OpenMode::kWrite);
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->GetOpenFileLength(), 0);
}

TEST_F(OpenedFileTest, ReadsBytesAnywhereAndTruncatesToAFreshStart) {
  ASSERT_TRUE(WriteFileAtomically(folder_.path() / "part.zip", std::string("ab\0\x1A\r\nyz", 8)));
  auto file = files_->OpenFile(PathOf("part.zip"), OpenMode::kWrite);
  ASSERT_NE(file, nullptr);
  // Bytes as they stand: no line or text ends.
  EXPECT_EQ(file->ReadBytes(1, 6), std::string("b\0\x1A\r\ny", 6));
  EXPECT_EQ(file->ReadBytes(6, 100), "yz");
  EXPECT_EQ(file->ReadBytes(8, 1), "");
  EXPECT_EQ(file->ReadBytes(50, 1), "");

  EXPECT_TRUE(file->SeekToFileEnd());
  EXPECT_TRUE(file->Truncate());
  EXPECT_EQ(file->GetOpenFileLength(), 0);
  EXPECT_TRUE(file->WriteBytes("new"));
  file.reset();
  EXPECT_EQ(ReadWholeFile(folder_.path() / "part.zip"), "new");
}

TEST_F(OpenedFileTest, AFileOpenForWritingHasNoOtherOpener) {
  auto writer = files_->OpenFile(PathOf("a.zip"), OpenMode::kWrite);
  ASSERT_NE(writer, nullptr);
  EXPECT_EQ(files_->OpenFile(PathOf("a.zip"), OpenMode::kWrite), nullptr);
  EXPECT_EQ(files_->OpenFile(PathOf("a.zip"), OpenMode::kReadWriteExisting), nullptr);
  writer.reset();
  auto reader = files_->OpenFile(PathOf("a.zip"), OpenMode::kReadWriteExisting);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(files_->OpenFile(PathOf("a.zip"), OpenMode::kWrite), nullptr) << "a reader holds it";
}

TEST_F(OpenedFileTest, OpenFailsForEmptyMissingAndFolderPaths) {
  fs::create_directory(folder_.path() / "dir");
  EXPECT_EQ(files_->OpenFile("", OpenMode::kWrite), nullptr);
  EXPECT_EQ(files_->OpenFile("", OpenMode::kReadWriteExisting), nullptr);
  EXPECT_EQ(files_->OpenFile(PathOf("absent"), OpenMode::kReadWriteExisting), nullptr);
  EXPECT_EQ(files_->OpenFile(PathOf("dir"), OpenMode::kReadWriteExisting), nullptr);
  EXPECT_EQ(files_->OpenFile(PathOf("dir"), OpenMode::kWrite), nullptr);
  EXPECT_EQ(files_->OpenFile(PathOf("no\\such\\file"), OpenMode::kWrite), nullptr);
}

TEST_F(OpenedFileTest, ReadLineStopsAtLineEndsZeroBytesAndEndOfTextMarks) {
  struct Case {
    std::string content;
    std::vector<Text> lines;
  };
  const Case cases[] = {
      {"[a]\r\n\xCE\xC4\xBC\xFE\xC3\xFB=x.dll\r\nlast", {"[a]", "\xCE\xC4\xBC\xFE\xC3\xFB=x.dll", "last"}},
      {"one\ntwo\n", {"one", "two"}},
      {"lone\rcr\n", {"lone\rcr"}},
      {"\r\n\r\n", {"", ""}},
      {std::string("before\0after\n", 13), {"before"}},
      {"before\x1A" "after", {"before"}},
      {"\x95\x5C\r\n\xB1\x5C", {"\x95\x5C", "\xB1\x5C"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content);
    ASSERT_TRUE(WriteFileAtomically(folder_.path() / "up.dat", c.content));
    auto file = files_->OpenFile(PathOf("up.dat"), OpenMode::kReadWriteExisting);
    ASSERT_NE(file, nullptr);
    std::vector<Text> lines;
    while (!file->IsEndOfFile() && lines.size() < 10) lines.push_back(file->ReadLine());
    EXPECT_EQ(lines, c.lines);
  }
}

TEST_F(OpenedFileTest, ALongFileReadsLineByLineAcrossBufferEdges) {
  std::string content;
  std::vector<Text> expected;
  for (int i = 0; i < 5000; ++i) {
    expected.push_back("\xCE\xC4\xBC\xFE\xC3\xFB=file" + std::to_string(i) + ".dll");
    content += expected.back() + "\r\n";
  }
  ASSERT_TRUE(WriteFileAtomically(folder_.path() / "up.dat", content));
  auto file = files_->OpenFile(PathOf("up.dat"), OpenMode::kReadWriteExisting);
  ASSERT_NE(file, nullptr);
  std::vector<Text> lines;
  while (!file->IsEndOfFile()) lines.push_back(file->ReadLine());
  EXPECT_EQ(lines, expected);
}

}  // namespace
}  // namespace korvane::platform
