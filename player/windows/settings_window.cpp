#include "player/windows/settings_window.h"

#include <functional>
#include <utility>
#include <vector>

#include "common/number.h"
#include "platform/core/config_files.h"
#include "platform/services/web_address.h"

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
// in this order.
const std::pair<std::string_view, std::vector<Box>> kGroupHandlers[] = {
    {"OnMode1Clicked", {&SettingsBoxes::mode2, &SettingsBoxes::mode3}},
    {"OnMode2Clicked", {&SettingsBoxes::mode1, &SettingsBoxes::mode3}},
    {"OnMode3Clicked", {&SettingsBoxes::mode2, &SettingsBoxes::mode1}},
    {"OnAlwaysOnTopBoxClicked", {&SettingsBoxes::not_on_top}},
    {"OnNotOnTopBoxClicked", {&SettingsBoxes::always_on_top}},
};

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
  ui::Program& ui = services_.ui;
  // Every handler acts on the window of the control that raised it.
  auto on_window = [&ui](std::string_view name, std::function<void(const ui::Window&)> handler) {
    ui.BindHandler(name, [handler = std::move(handler)](const ui::Event& event) {
      handler(event.source.ParentWindow());
    });
  };
  on_window("OnSettingsWindowCreated", [this](const ui::Window& window) { OnSettingsWindowCreated(window); });
  on_window("ApplySettings", [this](const ui::Window& window) { ApplySettings(window); });
  on_window("OnSettingsOkClicked", [this](const ui::Window& window) {
    ApplySettings(window);
    services_.ui.DestroyUnit(window);
  });
  for (const char* name : {"OnSettingsCancelClicked", "OnSettingsCloseClicked"}) {
    on_window(name, [this](const ui::Window& window) { services_.ui.DestroyUnit(window); });
  }
  on_window("OnSettingsOptionsTab", [](const ui::Window&) {});
  on_window("OnSettingsAboutTab", [this](const ui::Window& window) { opener_.SwitchTo(window, Panel::kAbout); });
  for (const auto& [name, others] : kGroupHandlers) {
    on_window(name, [&others](const ui::Window& window) {
      SettingsBoxes boxes(window);
      for (Box other : others) (boxes.*other).SetTick(0);
    });
  }
}

void SettingsWindow::OnSettingsWindowCreated(const ui::Window& window) {
  const Text& folder = services_.program_folder;
  StoredSettings stored;
  stored.start = platform::ReadConfigValue(folder, platform::kStartKey);
  stored.sticky = platform::ReadConfigValue(folder, platform::kStickyKey);
  stored.rendering = platform::ReadConfigValue(folder, platform::kRenderingKey);
  stored.screen = platform::ReadConfigValue(folder, platform::kScreenKey);
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
    platform::WriteConfigValue(folder, platform::kStartKey, "1");
    system.AddAutoStartEntry(entry_name, folder + "\\" + entry_name, 0);
  } else {
    platform::WriteConfigValue(folder, platform::kStartKey, "0");
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
    if (Ticked(boxes.*mode)) platform::WriteConfigValue(folder, platform::kRenderingKey, value);
  }
  if (Ticked(boxes.screen_saver)) {
    system.SetScreenSaverActive(false);
    platform::WriteConfigValue(folder, platform::kScreenKey, "1");
  } else {
    platform::WriteConfigValue(folder, platform::kScreenKey, "0");
  }
}

}  // namespace korvane::player
