#pragma once
// A window's notification-area icon: a GtkStatusIcon (the XEmbed system tray of X11
// desktops) with the window's icon and the model's tip. Input on it raises the window's
// TrayIconEvent through the program: 1 when the left button is released over it, 2 on a
// left double-click, 3 when the right button is released or the menu key is pressed.
// An icon the model removes is hidden; it goes with its window.

#include <gtk/gtk.h>

#include <optional>

#include "platform/ui/desktop/desktop_drawing.h"
#include "platform/ui/program.h"

namespace korvane::platform::ui::desktop {

class DesktopBackend;

class DesktopTray {
 public:
  DesktopTray(DesktopBackend& backend, Program& program, PictureCache& pictures, UnitId window);
  ~DesktopTray();
  DesktopTray(const DesktopTray&) = delete;
  DesktopTray& operator=(const DesktopTray&) = delete;

  void Show(const TrayIcon& tray);
  // The toolkit's icon, nullptr until the model first shows one.
  GtkStatusIcon* StatusIcon() const { return icon_; }

  // The tray event value of a button event on the icon, 0 for none.
  static int EventValue(const GdkEventButton& event);

 private:
  void Raise(int value);
  static gboolean OnButton(GtkStatusIcon* icon, GdkEventButton* event, DesktopTray* self);
  static void OnPopupMenu(GtkStatusIcon* icon, guint button, guint time, DesktopTray* self);

  DesktopBackend& backend_;
  Program& program_;
  PictureCache& pictures_;
  UnitId window_;
  GtkStatusIcon* icon_ = nullptr;
  std::optional<Text> shown_picture_;
};

}  // namespace korvane::platform::ui::desktop
