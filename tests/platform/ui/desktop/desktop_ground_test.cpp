// What a drawn control shows where its picture or text does not reach, and a check box's
// box, read back from the X server.

#include <utility>

#include "tests/platform/ui/desktop/desktop_test_fixture.h"

namespace korvane::platform::ui::desktop::testing {
namespace {

// A dark page, as the player's views are, with controls of the default colour on it whose
// pictures (9 x 54) or texts fill only part of them.
constexpr char8_t kGroundLayout[] = u8R"({
  "caption": "底色",
  "size": [320, 240],
  "frame": "fixed_dialog",
  "back_colour": "0x000000",
  "pictures": {"arrow.jpg": [9, 54]},
  "controls": [
    {"kind": "DrawPanel", "name": "画板_状态", "rect": [10, 10, 20, 60], "picture": "arrow.jpg"},
    {"kind": "PictureBox", "name": "图片框_箭头", "rect": [40, 10, 20, 60], "picture": "arrow.jpg"},
    {"kind": "Label", "name": "标签_空", "rect": [70, 10, 60, 20]},
    {"kind": "CheckBox", "name": "复选框_宽", "rect": [140, 10, 60, 20]},
    {"kind": "CheckBox", "name": "复选框_方", "rect": [10, 100, 13, 13]},
    {"kind": "CheckBox", "name": "复选框_高", "rect": [40, 100, 13, 21]}
  ]
})";

class DesktopGroundTest : public DesktopProgramTest {
 protected:
  DesktopGroundTest() { resources_.AddCopy("Ground.layout.json", std::string(AsChars(kGroundLayout))); }
};

TEST_F(DesktopGroundTest, WhereAPictureOrTextDoesNotReachThePageBehindShows) {
  Window ground = OpenShown("Ground", "复选框_高");
  const struct {
    const char* control;
    int x;
    int y;
  } uncovered[] = {
      {"画板_状态", 5, 56},     // the two rows below the picture
      {"画板_状态", 5, 59},
      {"画板_状态", 15, 5},     // right of it
      {"图片框_箭头", 5, 57},
      {"图片框_箭头", 15, 30},
      {"标签_空", 30, 10},
      {"复选框_宽", 40, 10},    // beside the box
  };
  GtkWidget* last = Widget(ground, "复选框_宽");
  ASSERT_TRUE(PumpUntil([&] { return ServerPixels(last).CountOther(0x000000) > 0; }));  // the box is drawn
  for (const auto& [control, x, y] : uncovered) {
    SCOPED_TRACE(control);
    EXPECT_EQ(ServerPixels(Widget(ground, control)).At(x, y), 0x000000u) << x << "," << y;
  }
}

TEST_F(DesktopGroundTest, ACheckBoxShowsItsWholeBoxAtTheLeftCentredInItsHeight) {
  Window ground = OpenShown("Ground", "复选框_高");
  for (const auto& [name, top] : {std::pair{"复选框_方", 0}, std::pair{"复选框_高", 4}}) {
    SCOPED_TRACE(name);
    GtkWidget* box = Widget(ground, name);
    ASSERT_TRUE(PumpUntil([&] { return ServerPixels(box).CountOther(0x000000) > 0; }));
    const ServerPixels pixels(box);
    // The middle of each of the box's four edges is drawn, and nothing above or below it.
    EXPECT_NE(pixels.At(6, top), 0x000000u);
    EXPECT_NE(pixels.At(0, top + 6), 0x000000u);
    EXPECT_NE(pixels.At(12, top + 6), 0x000000u);
    EXPECT_NE(pixels.At(6, top + 12), 0x000000u);
    if (top > 0) {
      EXPECT_EQ(pixels.At(6, top - 1), 0x000000u);
      EXPECT_EQ(pixels.At(6, top + 13), 0x000000u);
    }
  }
}

}  // namespace
}  // namespace korvane::platform::ui::desktop::testing
