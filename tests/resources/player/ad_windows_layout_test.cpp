// The two ad windows: borderless windows filled by their page, each with the close button
// over the page's top right corner and its timers; the exit ad grey with a taskbar button,
// the corner ad hidden until it shows itself, with an icon of nine images.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ui/picture.h"
#include "tests/resources/player/window_layout_check.h"

namespace korvane::player::testing {
namespace {

using platform::ui::UnitKind;

ExpectedControl Page(int width, int height) {
  return {.name = "超文本浏览框1", .kind = UnitKind::kHypertextBox, .rect = {0, 0, width, height}};
}

// Both windows' close button reads 关闭; its pressed picture is the normal one.
ExpectedControl CloseButton(int left, const char* cursor, const char* handler) {
  return {.name = "图形按钮1",
          .kind = UnitKind::kPictureButton,
          .rect = {left, 0, 51, 21},
          .cursor = cursor,
          .pictures = {"pictures/ad_close_normal.jpg", "pictures/ad_close_hover.jpg",
                       "pictures/ad_close_normal.jpg", ""},
          .events = {{"Clicked", handler}}};
}

ExpectedControl Timer(const char* name, int interval_ms, const char* handler) {
  return {.name = name, .kind = UnitKind::kTimer, .rect = {}, .interval_ms = interval_ms,
          .events = {{"Tick", handler}}};
}

const ExpectedWindow kExitAdWindow = {
    .name = "ExitAdWindow",
    .caption = "Korvane影音系列退弹广告",
    .width = 336,
    .height = 280,
    .back_colour = 0x606060,
    .taskbar_button = true,
    .esc_closes = true,
    .draggable = false,
    .created = "OnExitAdWindowCreated",
    .controls = {Page(336, 280), CloseButton(285, "hand", "OnExitAdCloseClicked"),
                 Timer("时钟1", 10000, "OnExitAdTimer")},
    .in_front_of = {{"图形按钮1", "超文本浏览框1"}},
};

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
    .controls = {Page(300, 250), CloseButton(248, "arrow", "OnCornerAdCloseClicked"),
                 Timer("时钟1", 1000, "OnCornerAdTimer1"), Timer("时钟2", 15000, "OnCornerAdTimer2")},
    .in_front_of = {{"图形按钮1", "超文本浏览框1"}},
};

TEST(ExitAdWindowLayout, HoldsEveryControlOfTheDesign) { ExpectWindowAsDesigned(kExitAdWindow); }

TEST(ExitAdWindowLayout, PicturesDecodeAtTheirSizes) { ExpectPicturesDecode(kExitAdWindow.name); }

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
