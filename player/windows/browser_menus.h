#pragma once
// The two catalogue browsers' context menus, in place of navigation buttons: history
// back and forward, stop, refresh, and the way back to the player view.

#include "platform/ui/program.h"
#include "player/windows/main_window.h"

namespace korvane::player {

class BrowserMenus {
 public:
  BrowserMenus(ui::Program& ui, MainWindow& main_window) : ui_(ui), main_window_(main_window) {}

  // Binds each browser's popup handler and its menu's five item handlers.
  void Bind();

  // The browser's menu, at the mouse.
  void PopupCatalogueMenu();
  void PopupFindMenu();
  // The items act on the browser that owns the menu.
  void OnCatalogueMenuBack() { Run(&MainWindowControls::catalogue_browser, &ui::WebBrowserBox::GoBack); }
  void OnCatalogueMenuForward() { Run(&MainWindowControls::catalogue_browser, &ui::WebBrowserBox::GoForward); }
  void OnCatalogueMenuStop() { Run(&MainWindowControls::catalogue_browser, &ui::WebBrowserBox::Stop); }
  void OnCatalogueMenuRefresh() { Run(&MainWindowControls::catalogue_browser, &ui::WebBrowserBox::Refresh); }
  void OnFindMenuBack() { Run(&MainWindowControls::find_browser, &ui::WebBrowserBox::GoBack); }
  void OnFindMenuForward() { Run(&MainWindowControls::find_browser, &ui::WebBrowserBox::GoForward); }
  void OnFindMenuStop() { Run(&MainWindowControls::find_browser, &ui::WebBrowserBox::Stop); }
  void OnFindMenuRefresh() { Run(&MainWindowControls::find_browser, &ui::WebBrowserBox::Refresh); }
  void BackToPlayer() { main_window_.ShowPlayerView(); }

 private:
  void Run(ui::WebBrowserBox MainWindowControls::*browser, void (ui::WebBrowserBox::*operation)());

  ui::Program& ui_;
  MainWindow& main_window_;
};

}  // namespace korvane::player
