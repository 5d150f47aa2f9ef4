#include "player/startup/startup_road.h"

#include <cstddef>

#include "common/cipher.h"
#include "platform/core/config_files.h"
#include "platform/core/profile.h"
#include "platform/ui/handler_table.h"
#include "player/core/ad_sources.h"
#include "player/core/player_config.h"
#include "player/playback/pause_play_toggle.h"
#include "player/windows/ad_windows.h"

namespace korvane::player {
namespace {

// The messages titled "警告" carry the information icon.
void ShowWarning(ui::Program& ui, const Text& message) {
  ui.ShowMessageBox(message, {ui::MessageBoxButtons::kOk, ui::MessageBoxIcon::kInformation}, "警告");
}

}  // namespace

void StartupRoad::Bind() {
  static constexpr ui::HandlerRow<StartupRoad> kHandlers[] = {
      {"OnMainWindowCreated", &StartupRoad::OnMainWindowCreated},
  };
  ui::BindHandlers(services_.ui, *this, kHandlers);
}

void StartupRoad::OnMainWindowCreated(const ui::Window& window) {
  main_window_.Attach(window);
  program_folder_ = services_.files.GetRunDirectory();
  if (services_.resolver.HostNameToIp(services_.probe_host).empty()) {
    return EndStartup("请接入网络后，再运行本程序！", ui::MessageBoxIcon::kInformation, "警告");
  }
  if (!ConfigFilesExist()) return EndStartup("配置文件丢失，程序启动失败！", ui::MessageBoxIcon::kWarning, "");

  globals_.uid = DecipherHexTextKey3(platform::ReadConfigValue(program_folder_, platform::kUidKey));
  globals_.uid_base = remote_.MakeUidBase(globals_.uid);
  for (const RemoteFile* file :
       {&remote::kCataloguePage, &remote::kFindPage, &remote::kHomeAddress,
        &remote::kTextAdSwitch, &remote::kPauseAdSwitch, &remote::kExitAdSwitch,
        &remote::kProviderName, &remote::kVersionFlag}) {
    remote_.Fetch(*file);
  }
  ui::Window title_window = window;
  title_window.SetCaption(globals_.provider_name);
  if (globals_.version_flag == remote::kNewVersion) {
    ShowWarning(services_.ui, "程序已经有新版本，请升级！");
    exit_road_.LaunchUpdateAndExit();
  }
  const bool window_kept = !window.Closing();

  if (services_.named_events.OpenNamedEvent(globals_.home_address)) {
    ShowWarning(services_.ui, "程序已经运行");
    if (window_kept) services_.ui.DestroyUnit(window);
    return;
  }
  globals_.single_instance_event = services_.named_events.CreateNamedEvent(globals_.home_address);
  FetchTextAdTexts();
  FinishStartup(window_kept);
}

void StartupRoad::EndStartup(const Text& message, ui::MessageBoxIcon icon, const Text& title) {
  services_.ui.ShowMessageBox(message, {ui::MessageBoxButtons::kOk, icon}, title);
  services_.ui.DestroyUnit(main_window_.Controls().window);
}

// Bare names: the current folder is the program folder. "PlayerConfig.ini" is looked for
// only when "Config.ini" is there.
bool StartupRoad::ConfigFilesExist() {
  return platform::FileExists(platform::kConfigFileName) &&
         platform::FileExists(kPlayerConfigFileName);
}

void StartupRoad::FetchTextAdTexts() {
  const TextAdRow* row = RowFor(ads::kTextAds, globals_.text_ad_switch);
  if (row == nullptr || !BoxSwitchAllows(remote_, row->box_switch)) return;
  for (auto file : {&TextAdFiles::address, &TextAdFiles::caption, &TextAdFiles::tip}) {
    for (std::size_t label = 0; label < row->shown.size(); ++label) {
      if (row->shown[label]) remote_.Fetch(*((*row->texts)[label].*file));
    }
  }
}

void StartupRoad::FinishStartup(bool window_kept) {
  const Text statistics_page =
      remote_.ControlBase() + Text(kStatisticsPagePath) + globals_.uid;
  if (!window_kept) {
    platform::WriteConfigValue(program_folder_, kListKey, kListOpen);
    platform::WriteConfigValue(program_folder_, kButtonKey, kButtonPlays);
    services_.http.HttpGetBytes(statistics_page, platform::kPageLimits);
    LoadCornerAd();
    return;
  }
  MainWindowControls c = main_window_.Controls();
  main_window_.LayOutList(true);
  platform::WriteConfigValue(program_folder_, kListKey, kListOpen);
  c.status_strip.SetVisible(false);
  main_window_.SetMainTooltips();
  c.catalogue_browser.Navigate(globals_.catalogue_page);
  c.find_browser.Navigate(globals_.find_page);
  SetButtonClickToPlay(services_.ui, c.pause_play_button, program_folder_);
  c.statistics_browser.Navigate(statistics_page);
  main_window_.ApplyTextAdLabels();
  LoadCornerAd();
}

void StartupRoad::LoadCornerAd() {
  const AdSource* source = RowFor(ads::kCornerAd, remote_.Fetch(remote::kCornerAdSwitch));
  if (source != nullptr && BoxSwitchAllows(remote_, source->box_switch)) {
    services_.ui.LoadWindow(kCornerAdWindow, false);
  }
}

}  // namespace korvane::player
