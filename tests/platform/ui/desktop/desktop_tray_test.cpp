// The window's tray icon shows the model's icon and tip and raises the window's tray
// event with the value of each kind of input; a control's cursor is set on its window.

#include <string>
#include <vector>

#include "tests/platform/ui/desktop/desktop_test_fixture.h"

G_GNUC_BEGIN_IGNORE_DEPRECATIONS  // GtkStatusIcon, as the backend uses it

namespace korvane::platform::ui::desktop::testing {
namespace {

constexpr char8_t kTrayLayout[] = u8R"({
  "caption": "托盘",
  "size": [200, 100],
  "icon": "program.ico",
  "pictures": {"program.ico": [16, 16]},
  "events": {"TrayIconEvent": "OnTray"},
  "controls": [
    {"kind": "PictureButton", "name": "按钮_手", "rect": [10, 10, 40, 20], "cursor": "hand"},
    {"kind": "PictureButton", "name": "按钮_普通", "rect": [60, 10, 40, 20]}
  ]
})";

class DesktopTrayTest : public DesktopProgramTest {
 protected:
  DesktopTrayTest() {
    resources_.AddCopy("Tray.layout.json", std::string(AsChars(kTrayLayout)));
    program_.BindHandler("OnTray", [this](const Event& event) { values_.push_back(event.values.at(0)); });
  }

  // Emits the toolkit's button signal as a click on the icon raises it.
  static void Emit(GtkStatusIcon* icon, GdkEventType type, guint button) {
    GdkEvent* event = gdk_event_new(type);
    event->button.button = button;
    event->button.time = GDK_CURRENT_TIME;
    gboolean handled = FALSE;
    g_signal_emit_by_name(icon, type == GDK_BUTTON_RELEASE ? "button-release-event" : "button-press-event", event,
                          &handled);
    gdk_event_free(event);
  }

  std::vector<std::int64_t> values_;
};

TEST_F(DesktopTrayTest, TheIconShowsTheModelAndRaisesEachInputsValue) {
  Window window = OpenShown("Tray", "按钮_手");
  EXPECT_EQ(backend_.Tray(window.Id())->StatusIcon(), nullptr);  // nothing until the model shows one
  program_.SetTrayIcon(window, true, "点击本图标显示主程序");
  GtkStatusIcon* icon = backend_.Tray(window.Id())->StatusIcon();
  ASSERT_NE(icon, nullptr);
  EXPECT_TRUE(gtk_status_icon_get_visible(icon));
  EXPECT_EQ(gtk_status_icon_get_storage_type(icon), GTK_IMAGE_PIXBUF);  // the window's icon
  gchar* tip = gtk_status_icon_get_tooltip_text(icon);
  EXPECT_STREQ(tip, reinterpret_cast<const char*>(u8"点击本图标显示主程序"));
  g_free(tip);

  const struct {
    GdkEventType type;
    guint button;
    std::vector<std::int64_t> raised;
  } kInputs[] = {
      {GDK_BUTTON_PRESS, 1, {}},
      {GDK_BUTTON_RELEASE, 1, {1}},
      {GDK_2BUTTON_PRESS, 1, {2}},
      {GDK_BUTTON_PRESS, 3, {}},  // the toolkit's menu signal on the press is held back
      {GDK_BUTTON_RELEASE, 3, {3}},
      {GDK_BUTTON_RELEASE, 2, {}},
  };
  for (const auto& input : kInputs) {
    values_.clear();
    Emit(icon, input.type, input.button);
    EXPECT_EQ(values_, input.raised) << "event " << input.type << ", button " << input.button;
  }
  values_.clear();
  g_signal_emit_by_name(icon, "popup-menu", 0U, GDK_CURRENT_TIME);  // the menu key
  EXPECT_EQ(values_, std::vector<std::int64_t>{3});

  // Removed by the model: hidden, and input on it reaches nothing.
  program_.SetTrayIcon(window, false, "");
  EXPECT_FALSE(gtk_status_icon_get_visible(icon));
  values_.clear();
  Emit(icon, GDK_BUTTON_RELEASE, 1);
  EXPECT_TRUE(values_.empty());
}

TEST_F(DesktopTrayTest, AButtonShowsTheCursorItsModelNames) {
  Window window = OpenShown("Tray", "按钮_手");
  GdkWindow* hand = gtk_layout_get_bin_window(GTK_LAYOUT(Widget(window, "按钮_手")));
  ASSERT_NE(gdk_window_get_cursor(hand), nullptr);
  EXPECT_EQ(gdk_cursor_get_cursor_type(gdk_window_get_cursor(hand)), GDK_HAND2);
  EXPECT_EQ(gdk_window_get_cursor(gtk_layout_get_bin_window(GTK_LAYOUT(Widget(window, "按钮_普通")))), nullptr);
}

}  // namespace
}  // namespace korvane::platform::ui::desktop::testing

G_GNUC_END_IGNORE_DEPRECATIONS
