// Every picture that every layout names decodes at the size the layout declares, and the
// decoders turn faulty data into no picture rather than a partial one.

#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "platform/core/atomic_file.h"
#include "platform/ui/layout.h"
#include "platform/ui/picture.h"
#include "tests/platform/ui/ui_test_fixture.h"

namespace korvane::platform::ui::testing {
namespace {

// The resource folders of the repository that hold layouts, each read as one bundle.
std::map<std::string, ResourceBundle> LayoutFolders() {
  std::map<std::string, ResourceBundle> folders;
  for (const char* root : {KORVANE_RESOURCES_ROOT, KORVANE_UI_TEST_SAMPLES}) {
    if (!std::filesystem::is_directory(root)) continue;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
      if (!entry.is_regular_file() || !entry.path().string().ends_with(kLayoutSuffix)) continue;
      const std::filesystem::path folder = entry.path().parent_path();
      if (folders.contains(folder.string())) continue;
      ResourceBundle& bundle = folders[folder.string()];
      for (const auto& file : std::filesystem::recursive_directory_iterator(folder)) {
        if (!file.is_regular_file()) continue;
        bundle.AddCopy(std::filesystem::relative(file.path(), folder).generic_string(), *ReadWholeFile(file.path()));
      }
    }
  }
  return folders;
}

TEST(PictureTest, EveryPictureThatEveryLayoutNamesDecodesAtItsDeclaredSize) {
  int pictures = 0;
  for (const auto& [folder, bundle] : LayoutFolders()) {
    for (const Text& window : bundle.LayoutNames()) {
      SCOPED_TRACE(folder + ": " + window);
      Layout layout = LoadLayout(bundle, window);
      for (const auto& [name, size] : layout.pictures) {
        SCOPED_TRACE(name);
        std::optional<Picture> picture = DecodePicture(*bundle.Find(name));
        ASSERT_TRUE(picture.has_value());
        EXPECT_EQ((PictureSize{picture->width, picture->height}), size);
        EXPECT_EQ(picture->rgba.size(), static_cast<std::size_t>(size.width) * size.height * 4);
        ++pictures;
      }
    }
  }
  EXPECT_GT(pictures, 0) << "no layout names a picture: the test would prove nothing";
}

TEST(PictureTest, DecodersGivePixelsInRgbaTopRowFirst) {
  ResourceBundle samples(korvane::embedded::UiTestSamples());
  // The sample button's top rows are its dark edge, the middle its face colour.
  std::optional<Picture> button = DecodePicture(*samples.Find("next_hover.bmp"));
  ASSERT_TRUE(button);
  EXPECT_EQ(std::vector<std::uint8_t>(button->rgba.begin(), button->rgba.begin() + 4),
            (std::vector<std::uint8_t>{90, 90, 90, 255}));
  const std::size_t middle = (10 * 72 + 5) * 4;
  EXPECT_EQ(std::vector<std::uint8_t>(button->rgba.begin() + middle, button->rgba.begin() + middle + 4),
            (std::vector<std::uint8_t>{47, 79, 79, 255}));
  // The sample GIF uses its colour 0 as the transparent one: pixel (0, 0).
  std::optional<Picture> option = DecodePicture(*samples.Find("option.gif"));
  ASSERT_TRUE(option);
  EXPECT_EQ(option->rgba[3], 0);
  EXPECT_EQ(std::vector<std::uint8_t>(option->rgba.begin() + 4, option->rgba.begin() + 8),
            (std::vector<std::uint8_t>{255, 255, 255, 255}));
  // The icon holds three images; each is a square of its own size.
  const std::string_view icon = *samples.Find("program.ico");
  ASSERT_EQ(IcoImageCount(icon), 3);
  const int sides[] = {16, 32, 48};
  for (int index = 0; index < 3; ++index) {
    std::optional<Picture> image = DecodeIco(icon, index);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, sides[index]);
    EXPECT_EQ(image->height, sides[index]);
  }
}

TEST(PictureTest, TruncatedOrForeignDataGivesNoPicture) {
  ResourceBundle samples(korvane::embedded::UiTestSamples());
  for (const char* name : {"next_normal.bmp", "banner.bmp", "option.gif", "arrow.jpg", "program.ico"}) {
    SCOPED_TRACE(name);
    const std::string_view bytes = *samples.Find(name);
    for (std::size_t keep : {std::size_t{0}, std::size_t{10}, bytes.size() / 2, bytes.size() - 1}) {
      SCOPED_TRACE(keep);
      EXPECT_FALSE(DecodePicture(bytes.substr(0, keep)).has_value());
    }
  }
  EXPECT_FALSE(DecodePicture("<html>not a picture</html>").has_value());
}

}  // namespace
}  // namespace korvane::platform::ui::testing
