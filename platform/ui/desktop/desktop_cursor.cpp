#include "platform/ui/desktop/desktop_cursor.h"

#include <string>

namespace korvane::platform::ui::desktop {
namespace {

constexpr char kCursorKey[] = "korvane-cursor";

void Apply(GtkWidget* box) {
  GdkWindow* window = gtk_layout_get_bin_window(GTK_LAYOUT(box));
  if (window == nullptr) return;
  const auto* name = static_cast<const std::string*>(g_object_get_data(G_OBJECT(box), kCursorKey));
  GdkCursor* cursor = name == nullptr || name->empty() ? nullptr : NewNamedCursor(gtk_widget_get_display(box), *name);
  gdk_window_set_cursor(window, cursor);
  if (cursor != nullptr) g_object_unref(cursor);
}

}  // namespace

// The layouts' names map onto the X cursor font, which every X server has, so they never
// depend on a cursor theme being installed.
GdkCursor* NewNamedCursor(GdkDisplay* display, const Text& name) {
  static constexpr struct {
    const char* name;
    GdkCursorType type;
  } kNamed[] = {{"hand", GDK_HAND2}, {"arrow", GDK_LEFT_PTR}, {"wait", GDK_WATCH},
                {"cross", GDK_CROSSHAIR}, {"ibeam", GDK_XTERM}};
  for (const auto& named : kNamed) {
    if (name == named.name) return gdk_cursor_new_for_display(display, named.type);
  }
  return gdk_cursor_new_from_name(display, name.c_str());
}

void SetControlCursor(GtkWidget* box, const Text& name) {
  const auto* now = static_cast<const std::string*>(g_object_get_data(G_OBJECT(box), kCursorKey));
  if (now != nullptr ? *now == name : name.empty()) return;
  if (now == nullptr) g_signal_connect(box, "realize", G_CALLBACK(Apply), nullptr);
  // Names are ASCII; the box keeps its own copy for when it is realized.
  g_object_set_data_full(G_OBJECT(box), kCursorKey, new std::string(name),
                         [](gpointer data) { delete static_cast<std::string*>(data); });
  Apply(box);
}

}  // namespace korvane::platform::ui::desktop
