// The desktop while a handler waits on a blocking service (desktop_backend.h): the windows
// show and follow the pointer, the user's input is kept for after the handler.

#include <utility>
#include <vector>

#include "platform/ui/desktop/desktop_backend.h"
#include "platform/ui/desktop/desktop_cursor.h"
#include "platform/ui/desktop/desktop_window.h"

namespace korvane::platform::ui::desktop {
namespace {

// How long a wait goes before the pointer says so.
constexpr gint64 kWaitCursorAfterUs = 200'000;

// The events that only show something; the rest are the user's input to the program.
bool OnlyShows(GdkEventType type) {
  switch (type) {
    case GDK_EXPOSE:
    case GDK_DAMAGE:
    case GDK_CONFIGURE:
    case GDK_MAP:
    case GDK_UNMAP:
    case GDK_VISIBILITY_NOTIFY:
    case GDK_WINDOW_STATE:
    case GDK_PROPERTY_NOTIFY:
    case GDK_FOCUS_CHANGE:
    case GDK_MOTION_NOTIFY:
    case GDK_ENTER_NOTIFY:
    case GDK_LEAVE_NOTIFY: return true;
    default: return false;
  }
}

void CollectWindows(GdkWindow* window, std::vector<GdkWindow*>& windows) {
  windows.push_back(window);
  for (GList* child = gdk_window_peek_children(window); child != nullptr; child = child->next) {
    CollectWindows(GDK_WINDOW(child->data), windows);
  }
}

}  // namespace

void DesktopBackend::WaitBegins() {
  if (wait_depth_++ > 0) return;
  wait_began_ = g_get_monotonic_time();
  ShowChanges(true);  // what the handler changed before the wait
}

void DesktopBackend::Waiting() {
  if (wait_depth_ == 0) return;
  GdkDisplay* display = gdk_display_get_default();
  while (GdkEvent* event = gdk_display_get_event(display)) {
    if (OnlyShows(event->type)) {
      gtk_main_do_event(event);
      gdk_event_free(event);
    } else {
      kept_input_.push_back(event);
    }
  }
  if (own_cursors_.empty() && g_get_monotonic_time() - wait_began_ >= kWaitCursorAfterUs) {
    ShowWaitCursorEverywhere(true);
  }
  ShowChanges(true);
  gdk_display_flush(display);
}

void DesktopBackend::WaitEnds() {
  if (--wait_depth_ > 0) return;
  ShowWaitCursorEverywhere(false);
  // Back into the toolkit's queue, in order, for the loop to deliver once the handler
  // has returned.
  for (GdkEvent* event : std::exchange(kept_input_, {})) {
    gdk_event_put(event);
    gdk_event_free(event);
  }
}

void DesktopBackend::ShowWaitCursorEverywhere(bool shown) {
  if (!shown) {
    for (auto [window, cursor] : std::exchange(own_cursors_, {})) {
      if (!gdk_window_is_destroyed(window)) gdk_window_set_cursor(window, cursor);
      g_object_unref(window);
      if (cursor != nullptr) g_object_unref(cursor);
    }
    return;
  }
  // Each control's X window has a cursor of its own or its parent's: all of them wait.
  std::vector<GdkWindow*> windows;
  for (const auto& [id, open] : windows_) {
    if (GdkWindow* frame = gtk_widget_get_window(GTK_WIDGET(open->Toplevel()))) CollectWindows(frame, windows);
  }
  GdkCursor* wait = NewNamedCursor(gdk_display_get_default(), "wait");
  for (GdkWindow* window : windows) {
    GdkCursor* own = gdk_window_get_cursor(window);
    own_cursors_.emplace_back(GDK_WINDOW(g_object_ref(window)), own != nullptr ? GDK_CURSOR(g_object_ref(own)) : nullptr);
    gdk_window_set_cursor(window, wait);
  }
  if (wait != nullptr) g_object_unref(wait);
}

}  // namespace korvane::platform::ui::desktop
