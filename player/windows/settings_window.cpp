#include "player/windows/settings_window.h"

#include <initializer_list>
#include <utility>

#include "common/number.h"
#include "platform/services/web_address.h"
#include "platform/ui/handler_table.h"
#include "player/core/player_config.h"

namespace korvane::player {
namespace {

using Box = ui::CheckBox SettingsBoxes::*;

// The four values as read when the window opens; nothing else uses them.
struct StoredSettings {
  Text start;
  Text sticky;
  Text rendering;
  Text screen;
};

// A stored value that lies within the tolerance of `number` sets `box` to `tick`; a value
// that matches no row leaves the box as laid out, unticked.
struct BoxReading {
  Text StoredSettings::*value;
  double number;
  Box box;
  int tick;
};

const BoxReading kReadings[] = {
    {&StoredSettings::start, 1, &SettingsBoxes::start, 1},
    {&StoredSettings::start, 0, &SettingsBoxes::start, 0},
    {&StoredSettings::sticky, 0, &SettingsBoxes::always_on_top, 1},
    {&StoredSettings::sticky, 1, &SettingsBoxes::not_on_top, 1},
    {&StoredSettings::rendering, 1, &SettingsBoxes::mode1, 1},
    {&StoredSettings::rendering, 2, &SettingsBoxes::mode2, 1},
    {&StoredSettings::rendering, 3, &SettingsBoxes::mode3, 1},
    {&StoredSettings::screen, 0, &SettingsBoxes::screen_saver, 0},
    {&StoredSettings::screen, 1, &SettingsBoxes::screen_saver, 1},
};

// A click ticks or unticks its own box; its handler unticks the other boxes of its group,
// in the order given.
void Untick(const ui::Window& window, std::initializer_list<Box> others) {
  SettingsBoxes boxes(window);
  for (Box other : others) (boxes.*other).SetTick(0);
}

// The ticked mode box stores its number; none ticked stores nothing.
const std::pair<Box, std::string_view> kModes[] = {
    {&SettingsBoxes::mode1, "1"}, {&SettingsBoxes::mode2, "2"}, {&SettingsBoxes::mode3, "3"}};

constexpr std::string_view kStartPageValue = "Software\\Microsoft\\Internet Explorer\\Main\\Start Page";

bool Ticked(const ui::CheckBox& box) { return box.Tick() == 1; }

}  // namespace

SettingsBoxes::SettingsBoxes(const ui::Window& window)
    : start(window.Find<ui::CheckBox>("开机启动")),
      always_on_top(window.Find<ui::CheckBox>("始终置顶")),
      not_on_top(window.Find<ui::CheckBox>("取消置顶")),
      mode1(window.Find<ui::CheckBox>("模式1")),
      mode2(window.Find<ui::CheckBox>("模式2")),
      mode3(window.Find<ui::CheckBox>("模式3")),
      screen_saver(window.Find<ui::CheckBox>("屏保选择")),
      start_page(window.Find<ui::CheckBox>("始终置顶4")) {}

void SettingsWindow::Bind() {
  static constexpr ui::HandlerRow<SettingsWindow> kHandlers[] = {
      {"OnSettingsWindowCreated", &SettingsWindow::OnSettingsWindowCreated},
      {"ApplySettings", &SettingsWindow::ApplySettings},
      {"OnSettingsOkClicked", &SettingsWindow::OnSettingsOkClicked},
      {"OnSettingsCancelClicked", &SettingsWindow::CloseSettingsWindow},
      {"OnSettingsCloseClicked", &SettingsWindow::CloseSettingsWindow},
      {"OnSettingsOptionsTab", &SettingsWindow::OnSettingsOptionsTab},
      {"OnSettingsAboutTab", &SettingsWindow::OnSettingsAboutTab},
      {"OnMode1Clicked", &SettingsWindow::OnMode1Clicked},
      {"OnMode2Clicked", &SettingsWindow::OnMode2Clicked},
      {"OnMode3Clicked", &SettingsWindow::OnMode3Clicked},
      {"OnAlwaysOnTopBoxClicked", &SettingsWindow::OnAlwaysOnTopBoxClicked},
      {"OnNotOnTopBoxClicked", &SettingsWindow::OnNotOnTopBoxClicked},
  };
  ui::BindHandlers(services_.ui, *this, kHandlers);
}

void SettingsWindow::OnSettingsOkClicked(const ui::Window& window) {
  ApplySettings(window);
  services_.ui.DestroyUnit(window);
}

void SettingsWindow::CloseSettingsWindow(const ui::Window& window) { services_.ui.DestroyUnit(window); }

void SettingsWindow::OnSettingsAboutTab(const ui::Window& window) { opener_.SwitchTo(window, Panel::kAbout); }

void SettingsWindow::OnMode1Clicked(const ui::Window& window) {
  Untick(window, {&SettingsBoxes::mode2, &SettingsBoxes::mode3});
}
void SettingsWindow::OnMode2Clicked(const ui::Window& window) {
  Untick(window, {&SettingsBoxes::mode1, &SettingsBoxes::mode3});
}
void SettingsWindow::OnMode3Clicked(const ui::Window& window) {
  Untick(window, {&SettingsBoxes::mode2, &SettingsBoxes::mode1});
}
void SettingsWindow::OnAlwaysOnTopBoxClicked(const ui::Window& window) { Untick(window, {&SettingsBoxes::not_on_top}); }
void SettingsWindow::OnNotOnTopBoxClicked(const ui::Window& window) { Untick(window, {&SettingsBoxes::always_on_top}); }

void SettingsWindow::OnSettingsWindowCreated(const ui::Window& window) {
  const Text& folder = services_.program_folder;
  StoredSettings stored;
  stored.start = platform::ReadConfigValue(folder, kStartKey);
  stored.sticky = platform::ReadConfigValue(folder, kStickyKey);
  stored.rendering = platform::ReadConfigValue(folder, kRenderingKey);
  stored.screen = platform::ReadConfigValue(folder, kScreenKey);
  DressPanel(services_.ui, window, Panel::kSettings);
  SettingsBoxes boxes(window);
  for (const BoxReading& reading : kReadings) {
    if (NumbersEqual(ToNumber(stored.*reading.value), reading.number)) (boxes.*reading.box).SetTick(reading.tick);
  }
}

void SettingsWindow::ApplySettings(const ui::Window& window) {
  const Text& folder = services_.program_folder;
  platform::SystemSettings& system = services_.system_settings;
  const SettingsBoxes boxes(window);
  const Text entry_name = services_.shell.GetProgramFileName();
  if (Ticked(boxes.start)) {
    platform::WriteConfigValue(folder, kStartKey, kStartWithSession);
    system.AddAutoStartEntry(entry_name, folder + "\\" + entry_name, 0);
  } else {
    platform::WriteConfigValue(folder, kStartKey, kNoStartWithSession);
    system.RemoveAutoStartEntry(entry_name);
  }
  if (Ticked(boxes.always_on_top)) {
    MainWindowOf().SetAlwaysOnTop(true);
    services_.ui.DestroyUnit(window);
  }
  if (Ticked(boxes.not_on_top)) MainWindowOf().SetAlwaysOnTop(false);
  if (Ticked(boxes.start_page)) {
    // An address the gate refuses leaves the stored start page as it was.
    const Text start_page = platform::GatedAddress(globals_.home_address + "?soft", platform::AddressUse::kStartPage);
    if (!start_page.empty()) system.WriteRegistryValue(platform::RegistryRoot::kCurrentUser, kStartPageValue, start_page);
  }
  for (const auto& [mode, value] : kModes) {
    if (Ticked(boxes.*mode)) platform::WriteConfigValue(folder, kRenderingKey, value);
  }
  if (Ticked(boxes.screen_saver)) {
    system.SetScreenSaverActive(false);
    platform::WriteConfigValue(folder, kScreenKey, kScreenSaverOff);
  } else {
    platform::WriteConfigValue(folder, kScreenKey, kScreenSaverLeftOn);
  }
}

}  // namespace korvane::player
