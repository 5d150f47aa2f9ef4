#include "platform/core/atomic_file.h"

#include <sys/stat.h>

#include <vector>

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

// A file without write bits (or one this process may not write) is left as it is, as the
// original platform's write fails on a read-only file. Tests run as root, for whom only
// the bits tell.
TEST(AtomicFile, AReadOnlyTargetIsLeftAsItIs) {
  const struct {
    mode_t mode;
    bool replaced;
  } cases[] = {{0444, false}, {0400, false}, {0555, false}, {0644, true}, {0600, true}, {0200, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    testing_support::TempFolder folder;
    fs::path target = folder.path() / "PlayerConfig.ini";
    ASSERT_TRUE(WriteFileAtomically(target, "old"));
    ::chmod(target.c_str(), c.mode);

    EXPECT_EQ(WriteFileAtomically(target, "new"), c.replaced);

    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, c.mode);
    EXPECT_EQ(EntriesIn(folder.path()), 1u);
    ::chmod(target.c_str(), 0600);
    EXPECT_EQ(ReadWholeFile(target), c.replaced ? "new" : "old");
  }
}

// What a killed writer left goes; a live writer's temporary, and every other name, stay.
TEST(AtomicFile, LeftTemporariesAreRemovedAndNothingElse) {
  testing_support::TempFolder folder;
  const fs::path target = folder.path() / u8"影片库.dat";
  ASSERT_TRUE(WriteFileAtomically(target, "list"));
  auto make = [&](const fs::path& name) { ASSERT_TRUE(WriteFileAtomically(folder.path() / name, "x")); };
  const std::vector<fs::path> left = {u8"影片库.dat.tmp-Ab12Cd", u8"影片库.dat.tmp-000000"};
  const std::vector<fs::path> kept = {u8"影片库.dat.tmp-Ab12C",  u8"影片库.dat.tmp-Ab12Cd7",
                                      u8"影片库.dat.tmp-Ab.2Cd", u8"影片库.dat.tmp-Ab12C~",
                                      u8"x影片库.dat.tmp-Ab12Cd", "up.dat.tmp-Ab12Cd",
                                      u8"影片库.dat.bak"};
  for (const fs::path& name : left) make(name);
  for (const fs::path& name : kept) make(name);
  fs::create_directory(folder.path() / u8"影片库.dat.tmp-Zz99Yy");
  AtomicFileWriter live(target);
  ASSERT_TRUE(live.Write("new list"));

  RemoveLeftTemporaries(target);

  for (const fs::path& name : left) EXPECT_FALSE(fs::exists(folder.path() / name)) << name;
  for (const fs::path& name : kept) EXPECT_TRUE(fs::exists(folder.path() / name)) << name;
  EXPECT_TRUE(fs::is_directory(folder.path() / u8"影片库.dat.tmp-Zz99Yy"));
  EXPECT_TRUE(live.Commit());
  EXPECT_EQ(ReadWholeFile(target), "new list");
}

TEST(AtomicFile, MissingFolderFailsCleanly) {
  testing_support::TempFolder folder;
  EXPECT_FALSE(WriteFileAtomically(folder.path() / "no" / "such" / "file", "x"));
  EXPECT_FALSE(ReadWholeFile(folder.path() / "absent").has_value());
  EXPECT_FALSE(ReadWholeFile(folder.path()).has_value()) << "a folder is not a file";
}

}  // namespace
}  // namespace korvane::platform
