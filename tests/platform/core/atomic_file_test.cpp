#include "platform/core/atomic_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace korvane::platform {
namespace {

namespace fs = std::filesystem;

std::size_t EntriesIn(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(AtomicFile, ReplacesContentAndLeavesNoTemporaryFile) {
  testing_support::TempFolder folder;
  fs::path target = folder.path() / "file.bin";
  ASSERT_TRUE(WriteFileAtomically(target, "old"));
  ASSERT_TRUE(WriteFileAtomically(target, std::string("new\0bytes", 9)));
  EXPECT_EQ(ReadWholeFile(target), std::string("new\0bytes", 9));
  EXPECT_EQ(EntriesIn(folder.path()), 1u);
}

TEST(AtomicFile, UncommittedWriterLeavesTheTargetAlone) {
  testing_support::TempFolder folder;
  fs::path target = folder.path() / "file.txt";
  ASSERT_TRUE(WriteFileAtomically(target, "old"));
  {
    AtomicFileWriter writer(target);
    ASSERT_TRUE(writer.Write("half of the new con"));
  }
  EXPECT_EQ(ReadWholeFile(target), "old");
  EXPECT_EQ(EntriesIn(folder.path()), 1u);
}

TEST(AtomicFile, KeepsTheTargetsPermissions) {
  testing_support::TempFolder folder;
  fs::path target = folder.path() / "Player";
  ASSERT_TRUE(WriteFileAtomically(target, "v1"));
  ::chmod(target.c_str(), 0755);
  ASSERT_TRUE(WriteFileAtomically(target, "v2"));
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0755u);
}

TEST(AtomicFile, MissingFolderFailsCleanly) {
  testing_support::TempFolder folder;
  EXPECT_FALSE(WriteFileAtomically(folder.path() / "no" / "such" / "file", "x"));
  EXPECT_FALSE(ReadWholeFile(folder.path() / "absent").has_value());
  EXPECT_FALSE(ReadWholeFile(folder.path()).has_value()) << "a folder is not a file";
}

}  // namespace
}  // namespace korvane::platform
