#include "player/windows/ad_windows.h"

#include <functional>
#include <utility>

#include "common/cipher.h"
#include "platform/core/config_files.h"

namespace korvane::player {
namespace {

// The corner ad's size: shown, its lower right corner lies on the whole screen's.
constexpr int kCornerAdWidth = 300;
constexpr int kCornerAdHeight = 250;

}  // namespace

void AdWindows::Bind() {
  platform::ui::Program& ui = services_.ui;
  // Each acts on the window whose event it is (a window's own, or a control's or timer's).
  const std::pair<std::string_view, std::function<void(const ui::Window&)>> handlers[] = {
      {"OnExitAdWindowCreated", [this](const ui::Window& w) { OnExitAdWindowCreated(w); }},
      {"OnExitAdCloseClicked", [this](const ui::Window& w) { EndExitAd(w); }},
      {"OnExitAdTimer", [this](const ui::Window& w) { EndExitAd(w); }},
      {"OnCornerAdWindowCreated", [this](const ui::Window& w) { OnCornerAdWindowCreated(w); }},
      {"OnCornerAdTimer1", [this](const ui::Window& w) { OnCornerAdTimer1(w); }},
      {"OnCornerAdTimer2", [&ui](const ui::Window& w) { ui.DestroyUnit(w); }},
      {"OnCornerAdCloseClicked", [&ui](const ui::Window& w) { ui.DestroyUnit(w); }},
  };
  for (const auto& [name, handler] : handlers) {
    ui.BindHandler(name, [handler](const ui::Event& event) {
      handler(event.source.ParentWindow());
    });
  }
}

void AdWindows::OnExitAdWindowCreated(const ui::Window& window) {
  ui::Window ad = window;
  ad.SetCaption(globals_.provider_name + "退弹广告");
  const Text& exit_ad = globals_.exit_ad_switch;
  // The box switch was read by the exit road; it is not asked again here.
  const RemoteFile* page = exit_ad == "1" ? &remote::kExitAdPage : exit_ad == "2" ? &remote::kBoxExitAdPage : nullptr;
  if (page == nullptr) return;
  remote_.Fetch(*page);
  window.Find<ui::HypertextBox>("超文本浏览框1").SetAddress(globals_.exit_ad_page);
}

void AdWindows::EndExitAd(const ui::Window& window) {
  services_.ui.DestroyUnit(main_window_.Controls().window);
  services_.ui.DestroyUnit(window);
}

void AdWindows::OnCornerAdWindowCreated(const ui::Window& window) {
  if (services_.resolver.HostNameToIp(services_.probe_host).empty()) return services_.ui.DestroyUnit(window);
  globals_.uid = DecipherHexTextKey3(
      platform::ReadConfigValue(services_.files.GetRunDirectory(), platform::kUidKey));
  globals_.uid_base = remote_.MakeUidBase(globals_.uid);
  // A fetch that gets no answer keeps the home address start-up found: the box ads, the
  // chat link, the site items and the about window go on using it.
  if (Text home = remote_.Read(remote::kHomeAddress); !home.empty()) globals_.home_address = std::move(home);
  const Text& corner_ad = remote_.Fetch(remote::kCornerAdSwitch);
  // The box switch was read by start-up; it is not asked again here. A switch that now
  // reads neither "1" nor "2" closes the window rather than show an empty ad.
  const RemoteFile* page = corner_ad == "1" ? &remote::kCornerAdPage : corner_ad == "2" ? &remote::kBoxCornerAdPage : nullptr;
  if (page == nullptr) return services_.ui.DestroyUnit(window);
  window.Find<ui::HypertextBox>("超文本浏览框1").SetAddress(remote_.Fetch(*page));
  globals_.corner_ad_countdown = 3;
}

void AdWindows::OnCornerAdTimer1(const ui::Window& window) {
  if (--globals_.corner_ad_countdown != 0) return;
  ui::Window ad = window;
  ad.SetTop(services_.ui.GetScreenHeight() - kCornerAdHeight);
  ad.SetLeft(services_.ui.GetScreenWidth() - kCornerAdWidth);
  ad.SetVisible(true);
  window.Find<ui::Timer>("时钟1").SetInterval(0);
}

}  // namespace korvane::player
