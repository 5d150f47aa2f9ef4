#include "player/startup/startup_road.h"

#include <vector>

#include "common/cipher.h"
#include "platform/core/config_files.h"
#include "platform/core/profile.h"
#include "platform/ui/handler_table.h"
#include "player/core/player_config.h"
#include "player/playback/pause_play_toggle.h"
#include "player/windows/ad_windows.h"

namespace korvane::player {
namespace {

// The text-ad texts by the text-ad switch, fetched in this order.
struct TextAdFetches {
  std::string_view text_ad_switch;
  std::vector<const RemoteFile*> files;
};

const std::vector<TextAdFetches>& TextAdFetchTable() {
  using namespace remote;
  static const std::vector<TextAdFetches> table = {
      {"1", {&kTextAd1Address, &kTextAd1Caption, &kTextAd1Tip}},
      {"2", {&kTextAd2Address, &kTextAd2Caption, &kTextAd2Tip}},
      {"3",
       {&kTextAd1Address, &kTextAd2Address, &kTextAd1Caption, &kTextAd2Caption, &kTextAd1Tip,
        &kTextAd2Tip}},
  };
  return table;
}

// The box texts, fetched after the box switch reads "开".
constexpr const RemoteFile* kBoxTextAdFiles[] = {
    &remote::kBoxTextAd1Address, &remote::kBoxTextAd2Address, &remote::kBoxTextAd1Caption,
    &remote::kBoxTextAd2Caption, &remote::kBoxTextAd1Tip,     &remote::kBoxTextAd2Tip,
};

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
  if (globals_.version_flag == "up") {
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
  for (const TextAdFetches& row : TextAdFetchTable()) {
    if (globals_.text_ad_switch != row.text_ad_switch) continue;
    for (const RemoteFile* file : row.files) remote_.Fetch(*file);
  }
  if (globals_.text_ad_switch == "ok" && remote_.Fetch(remote::kTextAdBoxSwitch) == "开") {
    for (const RemoteFile* file : kBoxTextAdFiles) remote_.Fetch(*file);
  }
}

void StartupRoad::FinishStartup(bool window_kept) {
  const Text statistics_page =
      remote_.ControlBase() + Text(kStatisticsPagePath) + globals_.uid;
  if (!window_kept) {
    platform::WriteConfigValue(program_folder_, kListKey, "2");
    platform::WriteConfigValue(program_folder_, kButtonKey, "1");
    services_.http.HttpGetBytes(statistics_page, platform::kPageLimits);
    LoadCornerAd();
    return;
  }
  MainWindowControls c = main_window_.Controls();
  main_window_.LayOutList(true);
  platform::WriteConfigValue(program_folder_, kListKey, "2");
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
  const Text corner_ad = remote_.Fetch(remote::kCornerAdSwitch);
  if (corner_ad == "1" ||
      (corner_ad == "2" && remote_.Fetch(remote::kCornerAdBoxSwitch) == "开")) {
    services_.ui.LoadWindow(kCornerAdWindow, false);
  }
}

}  // namespace korvane::player
