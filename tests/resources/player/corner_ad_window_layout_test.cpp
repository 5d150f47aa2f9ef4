// The corner ad: a hidden borderless window filled by its page, with its close button at
// the top right, the one-second timer that shows it, the fifteen-second one that closes
// it, and an icon of nine images.

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "platform/ui/picture.h"
#include "tests/resources/player/window_layout_check.h"

namespace korvane::player::testing {
namespace {

using platform::ui::UnitKind;

const ExpectedWindow kCornerAdWindow = {
    .name = "CornerAdWindow",
    .caption = "广告组件",
    .width = 300,
    .height = 250,
    .taskbar_button = false,
    .esc_closes = true,
    .draggable = true,
    .centred = false,
    .visible = false,
    .icon = "pictures/corner_ad.ico",
    .created = "OnCornerAdWindowCreated",
    .handlers = {"OnCornerAdWindowCreated", "OnCornerAdCloseClicked", "OnCornerAdTimer1",
                 "OnCornerAdTimer2"},
    .controls =
        {
            {.name = "超文本浏览框1", .kind = UnitKind::kHypertextBox, .rect = {0, 0, 300, 250}},
            {.name = "图形按钮1",
             .kind = UnitKind::kPictureButton,
             .rect = {248, 0, 51, 21},
             .cursor = "arrow",
             .pictures = {"pictures/ad_close_normal.jpg", "pictures/ad_close_hover.jpg",
                          "pictures/ad_close_normal.jpg", ""},
             .events = {{"Clicked", "OnCornerAdCloseClicked"}}},
            {.name = "时钟1",
             .kind = UnitKind::kTimer,
             .rect = {},
             .interval_ms = 1000,
             .events = {{"Tick", "OnCornerAdTimer1"}}},
            {.name = "时钟2",
             .kind = UnitKind::kTimer,
             .rect = {},
             .interval_ms = 15000,
             .events = {{"Tick", "OnCornerAdTimer2"}}},
        },
    .in_front_of = {{"图形按钮1", "超文本浏览框1"}},
};

TEST(CornerAdWindowLayout, HoldsEveryControlOfTheDesign) { ExpectWindowAsDesigned(kCornerAdWindow); }

TEST(CornerAdWindowLayout, PicturesDecodeAtTheirSizes) { ExpectPicturesDecode(kCornerAdWindow.name); }

std::uint32_t Field(std::string_view bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) {
    value = value << 8 | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
  }
  return value;
}

// 48, 32 and 16 pixels square, each in 4, 8 and 32 bits a pixel as its image data says;
// every image decodes at its side.
TEST(CornerAdWindowLayout, IconHoldsNineImages) {
  const std::string_view icon = PlayerResource(kCornerAdWindow.icon);
  ASSERT_EQ(platform::ui::IcoImageCount(icon), 9);
  int index = 0;
  for (int side : {48, 32, 16}) {
    for (int bits : {4, 8, 32}) {
      SCOPED_TRACE(std::to_string(side) + " pixels, " + std::to_string(bits) + " bits");
      const std::size_t data = Field(icon, 6 + 16 * static_cast<std::size_t>(index) + 12, 4);
      EXPECT_EQ(Field(icon, data + 4, 4), static_cast<std::uint32_t>(side));
      EXPECT_EQ(Field(icon, data + 14, 2), static_cast<std::uint32_t>(bits));
      const auto image = platform::ui::DecodeIco(icon, index);
      ASSERT_TRUE(image.has_value());
      EXPECT_EQ(image->width, side);
      EXPECT_EQ(image->height, side);
      ++index;
    }
  }
}

}  // namespace
}  // namespace korvane::player::testing
