#include "player/windows/tray_and_menus.h"

#include <cstdint>
#include <string_view>

#include "common/cipher.h"
#include "platform/services/web_address.h"
#include "platform/ui/handler_table.h"

namespace korvane::player {
namespace {

constexpr std::string_view kTrayTip = "点击本图标显示主程序";

}  // namespace

void TrayAndMenus::Bind() {
  static constexpr ui::HandlerRow<TrayAndMenus> kHandlers[] = {
      {"OnTrayIconEvent", &TrayAndMenus::OnTrayIconEvent},
      {"OnCloseButtonClicked", &TrayAndMenus::OnCloseButtonClicked},
      {"OnTrayOpenSelected", &TrayAndMenus::OnTrayOpenSelected},
      {"OnOptionsButtonClicked", &TrayAndMenus::OnOptionsButtonClicked},
      {"OnAlwaysOnTopSelected", &TrayAndMenus::OnAlwaysOnTopSelected},
      {"OnNotOnTopSelected", &TrayAndMenus::OnNotOnTopSelected},
      {"OnServiceButtonClicked", &TrayAndMenus::OnServiceButtonClicked},
      {"OnTraySiteSelected", &TrayAndMenus::OpenHomeAddress},
      {"OnOptionsSiteSelected", &TrayAndMenus::OpenHomeAddress},
  };
  ui::BindHandlers(services_.ui, *this, kHandlers);
}

void TrayAndMenus::OnCloseButtonClicked() {
  ui::Window window = main_window_.Controls().window;
  services_.ui.SetTrayIcon(window, true, Text(kTrayTip));
  window.SetVisible(false);
}

void TrayAndMenus::OnTrayIconEvent(const ui::Event& event) {
  if (event.values.empty()) return;
  const std::int64_t value = event.values.front();
  if (value == 1 || value == 2) return ShowFromTray();
  if (value == 3) services_.ui.PopupMenu(main_window_.Controls().window, "托盘菜单");
}

void TrayAndMenus::OnTrayOpenSelected() { ShowFromTray(); }

void TrayAndMenus::OnOptionsButtonClicked() {
  ui::Window window = main_window_.Controls().window;
  window.SetAlwaysOnTop(false);
  services_.ui.PopupMenu(window, "选项菜单");
}

void TrayAndMenus::OnAlwaysOnTopSelected() {
  ui::Window window = main_window_.Controls().window;
  window.SetAlwaysOnTop(true);
}

void TrayAndMenus::OnNotOnTopSelected() {
  ui::Window window = main_window_.Controls().window;
  window.SetAlwaysOnTop(false);
}

void TrayAndMenus::OnServiceButtonClicked() {
  const Text number = remote_.Fetch(remote::kServiceQq);
  // The values go in as they are: GBK bytes, not escaped.
  const Text link =
      DecipherHexTextKey1(services_.constants.chat_prefix) + number + "&Site=" + globals_.provider_name + "&Menu=yes";
  services_.shell.OpenUrl(platform::GatedAddress(link, platform::AddressUse::kChatLink));
}

void TrayAndMenus::OpenHomeAddress() {
  services_.shell.OpenUrl(platform::GatedAddress(globals_.home_address, platform::AddressUse::kOpen));
}

void TrayAndMenus::ShowFromTray() {
  ui::Window window = main_window_.Controls().window;
  window.SetVisible(true);
  services_.ui.SetTrayIcon(window, false, "");
}

}  // namespace korvane::player
