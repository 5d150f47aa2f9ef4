#pragma once
// A program on the desktop backend over the sample layouts and a window of the tests'
// own ("Desk": a panel holding a button and a label, a check box, a list box, a timer and
// a menu), with helpers that wait for the X server and deliver input as GTK would.

#include <gtk/gtk.h>

#include <functional>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui/desktop/desktop_backend.h"
#include "platform/ui/program.h"

namespace korvane::embedded {
std::span<const platform::ui::ResourceFile> UiTestSamples();
}

namespace korvane::platform::ui::desktop::testing {

// Layouts are UTF-8 text.
inline constexpr char8_t kDeskLayout[] = u8R"({
  "caption": "桌面",
  "size": [320, 240],
  "frame": "fixed_dialog",
  "esc_closes": true,
  "events": {"Created": "OnDeskCreated"},
  "controls": [
    {"kind": "PictureBox", "name": "图片框_面板", "rect": [10, 10, 200, 120], "back_colour": "0x00FF00"},
    {"kind": "PictureButton", "name": "按钮_确定", "rect": [5, 5, 72, 22], "parent": "图片框_面板",
     "events": {"Clicked": "OnOkClicked"}},
    {"kind": "Label", "name": "标签_状态", "rect": [5, 40, 150, 20], "parent": "图片框_面板", "caption": "就绪"},
    {"kind": "CheckBox", "name": "复选框", "rect": [220, 10, 90, 20], "caption": "置顶"},
    {"kind": "ListBox", "name": "列表框", "rect": [220, 40, 90, 100], "rows": ["甲", "乙"]},
    {"kind": "Timer", "name": "时钟", "interval": 20, "events": {"Tick": "OnTick"}}
  ],
  "menus": {"菜单": [{"caption": "甲项", "event": "OnMenuPicked"}, {"separator": true},
                     {"caption": "子菜单", "items": [{"caption": "乙项", "event": "OnMenuPicked"}]}]}
})";

// A mouse button event as the X server delivers it, at (x, y) of `window`.
inline void SendButton(GdkWindow* window, GdkEventType type, guint button, double x, double y) {
  GdkEvent* event = gdk_event_new(type);
  event->button.window = GDK_WINDOW(g_object_ref(window));
  event->button.button = button;
  event->button.x = x;
  event->button.y = y;
  event->button.time = GDK_CURRENT_TIME;
  gdk_event_set_device(event, gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default())));
  gtk_main_do_event(event);
  gdk_event_free(event);
}

// A left click: press and release on the control's window.
inline void Click(GtkWidget* control) {
  for (GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE}) {
    SendButton(gtk_layout_get_bin_window(GTK_LAYOUT(control)), type, 1, 2, 2);
  }
}

inline void PressKey(GtkWidget* toplevel, guint keyval) {
  GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
  event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(toplevel)));
  event->key.keyval = keyval;
  event->key.time = GDK_CURRENT_TIME;
  gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_display_get_default())));
  gtk_main_do_event(event);
  gdk_event_free(event);
}

// The toolkit's open top-level window of `type` (a message dialog, a menu's popup).
inline GtkWidget* FindToplevel(GType type) {
  GList* toplevels = gtk_window_list_toplevels();
  GtkWidget* found = nullptr;
  for (GList* item = toplevels; item != nullptr; item = item->next) {
    GtkWidget* widget = GTK_WIDGET(item->data);
    if (!gtk_widget_get_visible(widget)) continue;
    if (G_TYPE_CHECK_INSTANCE_TYPE(widget, type)) found = widget;
    GtkWidget* child = gtk_bin_get_child(GTK_BIN(widget));
    if (child != nullptr && G_TYPE_CHECK_INSTANCE_TYPE(child, type)) found = child;
  }
  g_list_free(toplevels);
  return found;
}

// The colour (0x00BBGGRR) of each pixel of a window's area as the X server holds it.
class ServerPixels {
 public:
  ServerPixels(GtkWidget* control) {
    GtkWidget* toplevel = gtk_widget_get_toplevel(control);
    gtk_widget_translate_coordinates(control, toplevel, 0, 0, &x_, &y_);
    gdk_display_sync(gtk_widget_get_display(control));
    pixbuf_ = gdk_pixbuf_get_from_window(gtk_widget_get_window(toplevel), x_, y_,
                                         gtk_widget_get_allocated_width(control),
                                         gtk_widget_get_allocated_height(control));
  }
  ~ServerPixels() {
    if (pixbuf_ != nullptr) g_object_unref(pixbuf_);
  }
  ServerPixels(const ServerPixels&) = delete;
  ServerPixels& operator=(const ServerPixels&) = delete;

  Colour At(int x, int y) const {
    const guchar* pixel = gdk_pixbuf_get_pixels(pixbuf_) + y * gdk_pixbuf_get_rowstride(pixbuf_) +
                          x * gdk_pixbuf_get_n_channels(pixbuf_);
    return pixel[0] | pixel[1] << 8 | pixel[2] << 16;
  }
  // Pixels that are not `background`.
  int CountOther(Colour background) const {
    int count = 0;
    for (int y = 0; y < gdk_pixbuf_get_height(pixbuf_); ++y) {
      for (int x = 0; x < gdk_pixbuf_get_width(pixbuf_); ++x) count += At(x, y) != background;
    }
    return count;
  }

 private:
  int x_ = 0;
  int y_ = 0;
  GdkPixbuf* pixbuf_ = nullptr;
};

class DesktopProgramTest : public ::testing::Test {
 protected:
  DesktopProgramTest() {
    resources_.AddCopy("Desk.layout.json", std::string(AsChars(kDeskLayout)));
    for (const char* name : {"OnDeskCreated", "OnOkClicked", "OnTick", "OnMenuPicked", "OnDialogCreated",
                             "OnOpenClicked", "OnStartCreated", "OnCloseClicked", "OnTenSeconds",
                             "OnFifteenSeconds"}) {
      program_.BindHandler(name, [](const Event&) {});
    }
  }

  // Runs the GLib loop until `done` holds; false after 30 s without it (a hang, not a
  // slow start: a first load starts WebKit's processes, slow on a loaded machine).
  static bool PumpUntil(const std::function<bool()>& done) {
    const gint64 deadline = g_get_monotonic_time() + 30 * G_USEC_PER_SEC;
    while (!done()) {
      if (g_get_monotonic_time() > deadline) return false;
      if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(1000);
    }
    return true;
  }

  GtkWidget* Widget(const Window& window, std::string_view name) const {
    return backend_.UnitWidget(window.Find<Unit>(name).Id());
  }

  // Opens `layout` and waits until the X server shows it at its size.
  Window OpenShown(std::string_view layout, std::string_view control_to_wait_for) {
    Window window = program_.LoadWindow(layout, false);
    GtkWidget* control = Widget(window, control_to_wait_for);
    const Rect rect = ModelOf(window.Find<Unit>(control_to_wait_for))->rect;
    EXPECT_TRUE(PumpUntil([&] {
      return gtk_widget_get_mapped(control) && gtk_widget_get_allocated_width(control) == rect.width;
    }));
    return window;
  }

  DesktopBackend backend_;
  ResourceBundle resources_{korvane::embedded::UiTestSamples()};
  Program program_{backend_, resources_};
  std::vector<std::string> trace_;
};

}  // namespace korvane::platform::ui::desktop::testing
