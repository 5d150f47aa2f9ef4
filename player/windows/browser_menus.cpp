#include "player/windows/browser_menus.h"

#include "platform/ui/handler_table.h"

namespace korvane::player {

void BrowserMenus::Bind() {
  static constexpr ui::HandlerRow<BrowserMenus> kHandlers[] = {
      {"PopupCatalogueMenu", &BrowserMenus::PopupCatalogueMenu},
      {"OnCatalogueMenuBack", &BrowserMenus::OnCatalogueMenuBack},
      {"OnCatalogueMenuForward", &BrowserMenus::OnCatalogueMenuForward},
      {"OnCatalogueMenuStop", &BrowserMenus::OnCatalogueMenuStop},
      {"OnCatalogueMenuRefresh", &BrowserMenus::OnCatalogueMenuRefresh},
      {"OnCatalogueMenuBackToPlayer", &BrowserMenus::BackToPlayer},
      {"PopupFindMenu", &BrowserMenus::PopupFindMenu},
      {"OnFindMenuBack", &BrowserMenus::OnFindMenuBack},
      {"OnFindMenuForward", &BrowserMenus::OnFindMenuForward},
      {"OnFindMenuStop", &BrowserMenus::OnFindMenuStop},
      {"OnFindMenuRefresh", &BrowserMenus::OnFindMenuRefresh},
      {"OnFindMenuBackToPlayer", &BrowserMenus::BackToPlayer},
  };
  ui::BindHandlers(ui_, *this, kHandlers);
}

// No position: the menu comes up at the mouse.
void BrowserMenus::PopupCatalogueMenu() { ui_.PopupMenu(main_window_.Controls().window, "浏览器菜单A"); }
void BrowserMenus::PopupFindMenu() { ui_.PopupMenu(main_window_.Controls().window, "浏览器菜单B"); }

void BrowserMenus::Run(ui::WebBrowserBox MainWindowControls::*browser, void (ui::WebBrowserBox::*operation)()) {
  ui::WebBrowserBox box = main_window_.Controls().*browser;
  (box.*operation)();
}

}  // namespace korvane::player
