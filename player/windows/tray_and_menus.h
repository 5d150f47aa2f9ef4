#pragma once
// The notification-area icon, the tray and options menus and the always-on-top switch:
// everything around the main window that is not a view.

#include "platform/ui/program.h"
#include "player/windows/main_window.h"

namespace korvane::player {

class TrayAndMenus {
 public:
  TrayAndMenus(ui::Program& ui, const MainWindow& main_window) : ui_(ui), main_window_(main_window) {}

  // Binds the handlers below by the names the main window's layout and menus use.
  void Bind();

  // The close button hides the window into the tray; nothing else stops.
  void OnCloseButtonClicked();
  // 1 (left button released) and 2 (double click) bring the window back, 3 (right button
  // or menu key) pops up the tray menu at the mouse; other values do nothing.
  void OnTrayIconEvent(int value);
  void OnTrayOpenSelected();
  // Leaves the window not on top, then pops up the options menu at the mouse.
  void OnOptionsButtonClicked();
  void OnAlwaysOnTopSelected();
  void OnNotOnTopSelected();

 private:
  void ShowFromTray();

  ui::Program& ui_;
  const MainWindow& main_window_;
};

}  // namespace korvane::player
