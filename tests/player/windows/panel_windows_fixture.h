#pragma once
// The settings and about windows in one process: the real player on the headless backend
// on virtual time, the user's system settings in memory. The script opens a window from
// the options or the tray menu, acts on it and checks it between the actions.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>

#include "platform/core/config_files.h"
#include "platform/core/profile.h"
#include "player/core/remote_files.h"
#include "tests/player/headless_player.h"
#include "tests/player/windows/settings_opening_cases.h"
#include "tools/encipher/encipher.h"

namespace korvane::player::testing {

// How the user opens a window: the options button's menu, or the tray menu of the main
// window hidden in the tray.
enum class Route { kOptionsMenu, kTrayMenu };

class PanelWindowsFixture : protected HeadlessPlayer {
 protected:
  // Config.ini with the installation id; the home address and provider name served.
  void ServeStart(std::string_view uid, const Text& home, const Text& provider) {
    folder_.Write("\\Config.ini", "[Config]\r\nUID=" + tools::EncipherToHex(3, uid) + "\r\n");
    PlayerGlobals globals;
    RemoteFiles remote(http_, DeployedConstants(), globals);
    globals.uid_base = remote.MakeUidBase(uid);
    globals.home_address = home;
    http_.Answer(remote.AddressOf(remote::kHomeAddress), tools::EncipherToHex(2, home));
    http_.Answer(remote.AddressOf(remote::kProviderName), provider);
  }
  void WriteSettings(std::string_view text) { folder_.Write("\\PlayerConfig.ini", text); }
  std::string SettingsFile() const { return folder_.Read("\\PlayerConfig.ini").value_or("<none>"); }
  Text Stored(const platform::ConfigKey& key) const {
    return platform::ReadConfigValue(folder_.run_directory(), key);
  }

  void Act(Text verb, std::vector<Text> arguments = {}) { script_.Add(std::move(verb), std::move(arguments)); }
  void Click(std::string_view control) { Act("click", {Text(control)}); }
  void Check(std::function<void()> check) { script_.Call(std::move(check)); }

  void HideToTray() { Click("启动窗口关闭按钮"); }
  void OpenSettings(Route route = Route::kOptionsMenu) { Open(route, " 设置"); }
  void OpenAbout(Route route = Route::kOptionsMenu) { Open(route, " 关于本程序"); }
  void Open(Route route, std::string_view options_caption) {
    if (route == Route::kOptionsMenu) {
      Click("主界面选项按钮");
      Act("menu", {Text(options_caption)});
    } else {
      Act("tray", {"3"});
      Act("menu", {Text(options_caption.substr(1))});  // the tray's captions have no blank
    }
  }

  // The open window of that layout name; an empty handle when there is none.
  ui::Window Panel(std::string_view name) {
    for (const ui::Window& window : InspectionOf(ui_).Windows()) {
      if (window.Name() == name) return window;
    }
    return {};
  }
  // The layout names of the open windows, in the order they were opened.
  std::vector<Text> OpenWindows() {
    std::vector<Text> names;
    for (const ui::Window& window : InspectionOf(ui_).Windows()) names.push_back(window.Name());
    return names;
  }
  // "1" or "0" for each box of kSettingsBoxes.
  std::string Ticks() {
    std::string ticks;
    for (std::string_view box : kSettingsBoxes) {
      ticks += std::to_string(Panel("SettingsWindow").Find<ui::CheckBox>(box).Tick());
    }
    return ticks;
  }
  bool MainOnTop() { return Main().AlwaysOnTop(); }
  // Both windows hint their close, OK, cancel and apply buttons alike.
  static void ExpectButtonHints(const ui::Window& window) {
    const std::pair<const char*, const char*> hints[] = {
        {"关闭按钮", "关闭"}, {"图形按钮1", "确定"}, {"图形按钮2", "取消"}, {"图形按钮3", "应用"}};
    for (const auto& [button, hint] : hints) EXPECT_EQ(window.Find<ui::Unit>(button).Hint(), hint) << button;
  }
};

}  // namespace korvane::player::testing
