#pragma once
// The notification-area icon, the tray and options menus, the always-on-top switch, the
// operator's site and the customer-service button: everything around the main window
// that is not a view.

#include "player/core/player_globals.h"
#include "player/core/player_services.h"
#include "player/core/remote_files.h"
#include "player/windows/main_window.h"

namespace korvane::player {

class TrayAndMenus {
 public:
  TrayAndMenus(PlayerServices& services, PlayerGlobals& globals, RemoteFiles& remote,
               const MainWindow& main_window)
      : services_(services), globals_(globals), remote_(remote), main_window_(main_window) {}

  // Binds the handlers below by the names the main window's layout and menus use.
  void Bind();

  // The close button hides the window into the tray; nothing else stops.
  void OnCloseButtonClicked();
  // 1 (left button released) and 2 (double click) bring the window back, 3 (right button
  // or menu key) pops up the tray menu at the mouse; other values do nothing.
  void OnTrayIconEvent(const ui::Event& event);
  void OnTrayOpenSelected();
  // Leaves the window not on top, then pops up the options menu at the mouse.
  void OnOptionsButtonClicked();
  void OnAlwaysOnTopSelected();
  void OnNotOnTopSelected();
  // Fetches the service number anew and opens the chat link with it as the file holds it.
  void OnServiceButtonClicked();
  // The tray's and the options menu's "official site" items.
  void OpenHomeAddress();

 private:
  void ShowFromTray();

  PlayerServices& services_;
  PlayerGlobals& globals_;
  RemoteFiles& remote_;
  const MainWindow& main_window_;
};

}  // namespace korvane::player
