#include "player/windows/tray_and_menus.h"

#include <functional>
#include <string_view>
#include <utility>

namespace korvane::player {
namespace {

constexpr std::string_view kTrayTip = "点击本图标显示主程序";

}  // namespace

void TrayAndMenus::Bind() {
  ui_.BindHandler("OnTrayIconEvent", [this](const ui::Event& event) {
    if (!event.values.empty()) OnTrayIconEvent(static_cast<int>(event.values.front()));
  });
  const std::pair<std::string_view, std::function<void()>> handlers[] = {
      {"OnCloseButtonClicked", [this] { OnCloseButtonClicked(); }},
      {"OnTrayOpenSelected", [this] { OnTrayOpenSelected(); }},
      {"OnOptionsButtonClicked", [this] { OnOptionsButtonClicked(); }},
      {"OnAlwaysOnTopSelected", [this] { OnAlwaysOnTopSelected(); }},
      {"OnNotOnTopSelected", [this] { OnNotOnTopSelected(); }},
  };
  for (const auto& [name, handler] : handlers) {
    ui_.BindHandler(name, [handler](const ui::Event&) { handler(); });
  }
}

void TrayAndMenus::OnCloseButtonClicked() {
  ui::Window window = main_window_.Controls().window;
  ui_.SetTrayIcon(window, true, Text(kTrayTip));
  window.SetVisible(false);
}

void TrayAndMenus::OnTrayIconEvent(int value) {
  if (value == 1 || value == 2) return ShowFromTray();
  if (value == 3) ui_.PopupMenu(main_window_.Controls().window, "托盘菜单");
}

void TrayAndMenus::OnTrayOpenSelected() { ShowFromTray(); }

void TrayAndMenus::OnOptionsButtonClicked() {
  ui::Window window = main_window_.Controls().window;
  window.SetAlwaysOnTop(false);
  ui_.PopupMenu(window, "选项菜单");
}

void TrayAndMenus::OnAlwaysOnTopSelected() {
  ui::Window window = main_window_.Controls().window;
  window.SetAlwaysOnTop(true);
}

void TrayAndMenus::OnNotOnTopSelected() {
  ui::Window window = main_window_.Controls().window;
  window.SetAlwaysOnTop(false);
}

void TrayAndMenus::ShowFromTray() {
  ui::Window window = main_window_.Controls().window;
  window.SetVisible(true);
  ui_.SetTrayIcon(window, false, "");
}

}  // namespace korvane::player
