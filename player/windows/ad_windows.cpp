#include "player/windows/ad_windows.h"

#include <utility>

#include "common/cipher.h"
#include "platform/core/config_files.h"
#include "platform/ui/handler_table.h"
#include "player/core/ad_sources.h"

namespace korvane::player {
namespace {

// The corner ad's size: shown, its lower right corner lies on the whole screen's.
constexpr int kCornerAdWidth = 300;
constexpr int kCornerAdHeight = 250;

}  // namespace

void AdWindows::Bind() {
  static constexpr ui::HandlerRow<AdWindows> kHandlers[] = {
      {"OnExitAdWindowCreated", &AdWindows::OnExitAdWindowCreated},
      {"OnExitAdCloseClicked", &AdWindows::EndExitAd},
      {"OnExitAdTimer", &AdWindows::EndExitAd},
      {"OnCornerAdWindowCreated", &AdWindows::OnCornerAdWindowCreated},
      {"OnCornerAdTimer1", &AdWindows::OnCornerAdTimer1},
      {"OnCornerAdTimer2", &AdWindows::CloseCornerAd},
      {"OnCornerAdCloseClicked", &AdWindows::CloseCornerAd},
  };
  ui::BindHandlers(services_.ui, *this, kHandlers);
}

void AdWindows::CloseCornerAd(const ui::Window& window) { services_.ui.DestroyUnit(window); }

void AdWindows::OnExitAdWindowCreated(const ui::Window& window) {
  ui::Window ad = window;
  ad.SetCaption(globals_.provider_name + "退弹广告");
  // The box switch was read by the exit road; it is not asked again here.
  const AdSource* source = RowFor(ads::kExitAd, globals_.exit_ad_switch);
  if (source == nullptr) return;
  remote_.Fetch(*source->page);
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
  // The box switch was read by start-up; it is not asked again here. A switch that now
  // names no page closes the window rather than show an empty ad.
  const AdSource* source = RowFor(ads::kCornerAd, remote_.Fetch(remote::kCornerAdSwitch));
  if (source == nullptr) return services_.ui.DestroyUnit(window);
  window.Find<ui::HypertextBox>("超文本浏览框1").SetAddress(remote_.Fetch(*source->page));
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
