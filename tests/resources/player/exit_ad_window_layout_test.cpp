// The exit ad: a grey borderless window filled by its page, with the close button over the
// page's top right corner and the ten-second timer that ends the program.

#include <gtest/gtest.h>

#include "tests/resources/player/window_layout_check.h"

namespace korvane::player::testing {
namespace {

using platform::ui::UnitKind;

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
    .handlers = {"OnExitAdWindowCreated", "OnExitAdCloseClicked", "OnExitAdTimer"},
    .controls =
        {
            {.name = "超文本浏览框1", .kind = UnitKind::kHypertextBox, .rect = {0, 0, 336, 280}},
            {.name = "图形按钮1",
             .kind = UnitKind::kPictureButton,
             .rect = {285, 0, 51, 21},
             .cursor = "hand",
             .pictures = {"pictures/ad_close_normal.jpg", "pictures/ad_close_hover.jpg",
                          "pictures/ad_close_normal.jpg", ""},
             .events = {{"Clicked", "OnExitAdCloseClicked"}}},
            {.name = "时钟1",
             .kind = UnitKind::kTimer,
             .rect = {},
             .interval_ms = 10000,
             .events = {{"Tick", "OnExitAdTimer"}}},
        },
    .in_front_of = {{"图形按钮1", "超文本浏览框1"}},
};

TEST(ExitAdWindowLayout, HoldsEveryControlOfTheDesign) { ExpectWindowAsDesigned(kExitAdWindow); }

TEST(ExitAdWindowLayout, PicturesDecodeAtTheirSizes) { ExpectPicturesDecode(kExitAdWindow.name); }

}  // namespace
}  // namespace korvane::player::testing
