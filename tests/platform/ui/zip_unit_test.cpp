// The zip unit writes each entry below the target folder with its stored path.

#include <minizip/zip.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/core/atomic_file.h"
#include "platform/core/path_map.h"
#include "tests/platform/ui/ui_test_fixture.h"
#include "tests/support/temp_folder.h"

namespace korvane::platform::ui::testing {
namespace {

void WriteArchive(const std::filesystem::path& file, const std::vector<std::pair<Text, std::string>>& entries) {
  zipFile archive = zipOpen64(file.c_str(), APPEND_STATUS_CREATE);
  ASSERT_NE(archive, nullptr);
  for (const auto& [name, bytes] : entries) {
    zip_fileinfo info{};
    ASSERT_EQ(zipOpenNewFileInZip64(archive, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                    Z_DEFAULT_COMPRESSION, 0),
              ZIP_OK);
    ASSERT_EQ(zipWriteInFileInZip(archive, bytes.data(), static_cast<unsigned>(bytes.size())), ZIP_OK);
    ASSERT_EQ(zipCloseFileInZip(archive), ZIP_OK);
  }
  ASSERT_EQ(zipClose(archive, nullptr), ZIP_OK);
}

using ZipUnitTest = HeadlessProgramTest;

TEST_F(ZipUnitTest, UnpacksNestedGbkNamesAndKeepsEntriesInsideTheTarget) {
  testing_support::TempFolder folder;
  const Text root = CorePath(folder.path());
  // "\x95\x5C" is a GBK character whose trail byte is "\": it must not split the name.
  const Text tricky = "\x95\x5C.txt";
  ASSERT_NO_FATAL_FAILURE(WriteArchive(folder.path() / "up.zip",
                                       {{"up.dat", "[版本]\r\n"},
                                        {"data\\表\\" + tricky, "deep"},
                                        {"../outside.txt", "must not be written"}}));
  std::filesystem::create_directory(folder.path() / "update");
  ZipUnit zip = program_.LoadWindow("Board", false).Find<ZipUnit>("ZIP压缩1");
  // False for the entry that would leave the target; the others are written all the same.
  EXPECT_FALSE(zip.UnzipToDirectory(root + "\\up.zip", root + "\\update"));
  EXPECT_EQ(ReadWholeFile(NativePath(root + "\\update\\up.dat")), "[版本]\r\n");
  EXPECT_EQ(ReadWholeFile(NativePath(root + "\\update\\data\\表\\" + tricky)), "deep");
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "outside.txt"));
  EXPECT_FALSE(zip.UnzipToDirectory(root + "\\missing.zip", root + "\\update"));
}

}  // namespace
}  // namespace korvane::platform::ui::testing
