// A draggable window moves with the user's mouse from its background and from any
// picture box or label that does nothing with the press; a control with a handler for
// the press takes it, and a window that is not draggable never moves. The pointer is the
// X server's (xdotool, Debian package xdotool), so the drag is the toolkit's own.

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/platform/ui/desktop/desktop_test_fixture.h"

namespace korvane::platform::ui::desktop::testing {
namespace {

// Layouts are UTF-8 text. The two windows differ only in being draggable.
constexpr char8_t kDragLayout[] = u8R"({
  "caption": "拖动",
  "size": [300, 200],
  "draggable": true,
  "back_colour": "0x404040",
  "events": {"Created": "OnDeskCreated"},
  "controls": [
    {"kind": "PictureBox", "name": "图片框_顶部", "rect": [0, 0, 300, 40], "back_colour": "0x808080"},
    {"kind": "Label", "name": "标签_标题", "rect": [10, 10, 120, 20], "parent": "图片框_顶部", "caption": "标题"},
    {"kind": "TransparentLabel", "name": "透明标签", "rect": [150, 10, 120, 20], "parent": "图片框_顶部",
     "caption": "提示"},
    {"kind": "PictureBox", "name": "图片框_按下", "rect": [10, 60, 80, 40], "back_colour": "0x00FF00",
     "events": {"LeftButtonDown": "OnPressed"}},
    {"kind": "Label", "name": "标签_点击", "rect": [110, 60, 80, 40], "caption": "点我",
     "events": {"Clicked": "OnOkClicked"}},
    {"kind": "PictureButton", "name": "按钮_确定", "rect": [210, 60, 72, 22]}
  ]
})";

std::string FixedLayout() {
  std::string layout(AsChars(kDragLayout));
  layout.replace(layout.find("\"draggable\": true"), 17, "\"draggable\": false");
  return layout;
}

bool Xdotool(const std::string& arguments) { return std::system(("xdotool " + arguments).c_str()) == 0; }

struct DragCase {
  const char* name;
  const char* layout;
  const char* control;  // pressed in its middle; none for the window's background
  bool moves;
};

void PrintTo(const DragCase& c, std::ostream* os) { *os << c.name; }

class DesktopDragTest : public DesktopProgramTest, public ::testing::WithParamInterface<DragCase> {
 protected:
  DesktopDragTest() {
    resources_.AddCopy("Drag.layout.json", std::string(AsChars(kDragLayout)));
    resources_.AddCopy("Fixed.layout.json", FixedLayout());
    program_.BindHandler("OnPressed", [this](const Event&) { trace_.push_back("pressed"); });
  }

  // The point of the screen in the middle of the control (or at the background's corner).
  static Point PressPoint(const Window& window, const char* control) {
    const UnitModel& model = *ModelOf(window);
    Point at{model.rect.left + 150, model.rect.top + 180};
    if (control == nullptr) return at;
    at = {model.rect.left, model.rect.top};
    for (const UnitModel* unit = ModelOf(window.Find<Unit>(control)); unit != nullptr;
         unit = unit->parent == 0 ? nullptr : InspectionOf(*window.GetProgram()).FindModel(unit->parent)) {
      at.x += unit->rect.left;
      at.y += unit->rect.top;
    }
    const Rect& own = ModelOf(window.Find<Unit>(control))->rect;
    return {at.x + own.width / 2, at.y + own.height / 2};
  }
};

TEST_P(DesktopDragTest, TheWindowFollowsTheMouseOnlyFromWhatDoesNothingWithThePress) {
  const DragCase& c = GetParam();
  Window window = OpenShown(c.layout, "按钮_确定");
  GtkWidget* toplevel = backend_.WindowWidget(window.Id());
  ASSERT_TRUE(PumpUntil([&] {
    int x = 0, y = 0;
    gtk_window_get_position(GTK_WINDOW(toplevel), &x, &y);
    return x == ModelOf(window)->rect.left && y == ModelOf(window)->rect.top;
  }));
  const Rect before = ModelOf(window)->rect;
  const Point from = PressPoint(window, c.control);
  // xdotool has ended only once the X server took its input (closing its display waits
  // for that), so a round trip of ours then brings every event of the step: the loop
  // handles them, and a second round trip has the server take what the handlers asked
  // (the drag's pointer grab) before the next step.
  const auto xdotool_then_pump = [](const std::string& arguments) {
    EXPECT_TRUE(Xdotool(arguments)) << arguments;
    for (int round_trip = 0; round_trip < 2; ++round_trip) {
      gdk_display_sync(gdk_display_get_default());
      while (g_main_context_iteration(nullptr, FALSE)) {
      }
    }
  };
  xdotool_then_pump("mousemove --sync " + std::to_string(from.x) + " " + std::to_string(from.y));
  xdotool_then_pump("mousedown 1");
  for (int step = 1; step <= 4; ++step) {
    xdotool_then_pump("mousemove --sync " + std::to_string(from.x + 10 * step) + " " + std::to_string(from.y + 8 * step));
  }
  xdotool_then_pump("mouseup 1");
  const Rect& now = ModelOf(window)->rect;
  if (c.moves) {
    EXPECT_TRUE(PumpUntil([&] { return now.left == before.left + 40 && now.top == before.top + 32; }))
        << "the window is at " << now.left << ", " << now.top;
  } else {
    EXPECT_EQ(now.left, before.left);
    EXPECT_EQ(now.top, before.top);
  }
  const bool handled_press = c.control != nullptr && c.control == std::string_view("图片框_按下");
  EXPECT_EQ(trace_, handled_press ? std::vector<std::string>{"pressed"} : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Presses, DesktopDragTest,
    ::testing::Values(DragCase{"Background", "Drag", nullptr, true},
                      DragCase{"PictureBox", "Drag", "图片框_顶部", true},
                      DragCase{"Label", "Drag", "标签_标题", true},
                      DragCase{"TransparentLabel", "Drag", "透明标签", true},
                      DragCase{"PictureBoxWithAPressHandler", "Drag", "图片框_按下", false},
                      DragCase{"LabelWithAClickHandler", "Drag", "标签_点击", false},
                      DragCase{"PictureButton", "Drag", "按钮_确定", false},
                      DragCase{"NotDraggableBackground", "Fixed", nullptr, false},
                      DragCase{"NotDraggableLabel", "Fixed", "标签_标题", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvane::platform::ui::desktop::testing
