#include "player/windows/browser_menus.h"

#include <string_view>

namespace korvane::player {
namespace {

struct BrowserMenu {
  std::string_view popup_handler;
  std::string_view menu;
  ui::WebBrowserBox MainWindowControls::*browser;
  std::string_view back, forward, stop, refresh, back_to_player;
};

constexpr BrowserMenu kBrowserMenus[] = {
    {"PopupCatalogueMenu", "浏览器菜单A", &MainWindowControls::catalogue_browser,
     "OnCatalogueMenuBack", "OnCatalogueMenuForward", "OnCatalogueMenuStop",
     "OnCatalogueMenuRefresh", "OnCatalogueMenuBackToPlayer"},
    {"PopupFindMenu", "浏览器菜单B", &MainWindowControls::find_browser, "OnFindMenuBack",
     "OnFindMenuForward", "OnFindMenuStop", "OnFindMenuRefresh", "OnFindMenuBackToPlayer"},
};

// One of the menu's browser operations, on the browser that owns the menu.
using BrowserOperation = void (ui::WebBrowserBox::*)();

}  // namespace

void BindBrowserMenus(ui::Program& ui, MainWindow& main_window) {
  for (const BrowserMenu& menu : kBrowserMenus) {
    // No position: the menu comes up at the mouse.
    ui.BindHandler(menu.popup_handler, [&ui, &main_window, name = menu.menu](const ui::Event&) {
      ui.PopupMenu(main_window.Controls().window, name);
    });
    const std::pair<std::string_view, BrowserOperation> operations[] = {
        {menu.back, &ui::WebBrowserBox::GoBack},
        {menu.forward, &ui::WebBrowserBox::GoForward},
        {menu.stop, &ui::WebBrowserBox::Stop},
        {menu.refresh, &ui::WebBrowserBox::Refresh},
    };
    for (const auto& [handler, operation] : operations) {
      ui.BindHandler(handler, [&main_window, browser = menu.browser, operation](const ui::Event&) {
        ui::WebBrowserBox box = main_window.Controls().*browser;
        (box.*operation)();
      });
    }
    ui.BindHandler(menu.back_to_player, [&main_window](const ui::Event&) { main_window.ShowPlayerView(); });
  }
}

}  // namespace korvane::player
