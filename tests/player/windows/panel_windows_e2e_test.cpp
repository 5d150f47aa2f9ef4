// The settings and about windows of the real `Player`, run as a black box on the headless
// backend, with the user's system settings of the real Linux service in a config folder
// of the test's own (XDG_CONFIG_HOME): what the windows show in the dump, and what Apply
// leaves in PlayerConfig.ini, the registry file and the autostart entry.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/cipher.h"
#include "deploy/deployment.h"
#include "platform/core/config_files.h"
#include "platform/core/path_map.h"
#include "platform/core/profile.h"
#include "platform/services/linux_system_settings.h"
#include "player/core/player_config.h"
#include "tests/player/player_program_run.h"
#include "tests/player/windows/settings_opening_cases.h"

namespace korvane::player::testing {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr char kOpenSettings[] = "click 主界面选项按钮\nmenu \" 设置\"\n";
constexpr char kOpenAbout[] = "click 主界面选项按钮\nmenu \" 关于本程序\"\n";
constexpr char kStartPageSection[] = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main";
constexpr char kScreenSaverSection[] = "HKEY_CURRENT_USER\\Control Panel\\Desktop";

class PanelWindowsEndToEndTest : public ::testing::Test {
 protected:
  PanelWindowsEndToEndTest() { program_.ServeQuietStart(); }

  // The player with the real system settings in this test's config folder, and no
  // display for the screen saver's switch to reach.
  ProgramRun Run(const std::string& script) {
    return program_.Run(script, {{"XDG_CONFIG_HOME", config_home_.path().string()}, {"DISPLAY", ""}});
  }
  void WriteSettings(const std::string& text) { program_.WriteFile(program_.Installed("PlayerConfig.ini"), text); }
  Text Stored(const platform::ConfigKey& key) const {
    return platform::ReadIniValue(platform::CorePath(program_.Installed("PlayerConfig.ini")), platform::kConfigSection,
                                  key.name);
  }
  fs::path RegistryFile() const { return platform::RegistryFilePath(config_home_.path()); }
  Text Registry(const char* section, const char* value) const {
    return platform::ReadIniValue(platform::CorePath(RegistryFile()), section, value);
  }
  fs::path AutostartEntry() const { return config_home_.path() / "autostart" / "Player.desktop"; }
  void WriteAutostartEntry() const { program_.WriteFile(AutostartEntry(), "[Desktop Entry]\nExec=old\n"); }

  // "1" or "0" for each of kSettingsBoxes in the dump labelled `label`.
  static std::string Ticks(const ProgramRun& run, std::string_view label) {
    std::string ticks;
    for (std::string_view box : kSettingsBoxes) ticks += std::to_string(run.Control(label, box)["tick"].get<int>());
    return ticks;
  }
  static bool OnTop(const ProgramRun& run, std::string_view label) {
    return run.WindowIn(label, "MainWindow")["always_on_top"].get<bool>();
  }
  // The windows closed before the run's end closed the main window.
  static std::vector<Text> ClosedPanels(const ProgramRun& run) {
    std::vector<Text> names;
    for (const json& record : run.Records("closed_window")) names.push_back(testing_support::Gbk(record["name"]));
    std::erase(names, Text("MainWindow"));
    return names;
  }

  PlayerProgramRun program_;
  testing_support::TempFolder config_home_;
};

class SettingsOpeningEndToEndTest : public PanelWindowsEndToEndTest,
                                    public ::testing::WithParamInterface<OpeningCase> {};

TEST_P(SettingsOpeningEndToEndTest, ShowsTheStoredSettings) {
  const OpeningCase& c = GetParam();
  WriteSettings(c.settings);
  ProgramRun run = Run(std::string(kOpenSettings) + "dump settings\n");
  const json window = run.WindowIn("settings", "SettingsWindow");
  ASSERT_TRUE(window.is_object());
  EXPECT_TRUE(window["modal"].get<bool>());
  EXPECT_FALSE(run.WindowIn("settings", "MainWindow")["interactive"].get<bool>());
  EXPECT_EQ(window["rect"], json::array({(1024 - 552) / 2, (768 - 352) / 2, 552, 352}));
  EXPECT_EQ(Ticks(run, "settings"), c.ticks);
}

INSTANTIATE_TEST_SUITE_P(
    StoredValues, SettingsOpeningEndToEndTest,
    ::testing::ValuesIn(kOpeningCases),
    [](const auto& info) { return info.param.name; });

// A fresh installation: 始终置顶 opens ticked, so Apply puts the main window on top and
// the window closes once Apply has finished; the entry goes, nothing reaches the registry.
TEST_F(PanelWindowsEndToEndTest, ApplyOnAnEmptyFilePutsTheMainWindowOnTopAndCloses) {
  WriteSettings("");
  WriteAutostartEntry();
  ProgramRun run = Run(std::string(kOpenSettings) + "click 图形按钮3\nidle\ndump applied\n");
  EXPECT_EQ(ClosedPanels(run), std::vector<Text>{"SettingsWindow"});
  EXPECT_TRUE(OnTop(run, "applied"));
  EXPECT_EQ(Stored(kStartKey), "0");
  EXPECT_EQ(Stored(kScreenKey), "0");
  EXPECT_EQ(Stored(kRenderingKey), "");
  EXPECT_EQ(Stored(kStickyKey), "");
  EXPECT_FALSE(fs::exists(AutostartEntry()));
  EXPECT_FALSE(fs::exists(RegistryFile()));
}

// Every box that reaches the system, then Esc: the window stayed open after Apply.
TEST_F(PanelWindowsEndToEndTest, ApplyWritesTheEntryTheStartPageAndTheScreenSaver) {
  WriteSettings("[Config]\r\nSticky=1\r\nRendering=2\r\n");
  ProgramRun run = Run(std::string(kOpenSettings) +
                       "click 开机启动\nclick 屏保选择\nclick 始终置顶4\nclick 模式3\nclick 图形按钮3\nidle\n"
                       "dump applied\nkey Esc\nidle\ndump closed\n");
  EXPECT_TRUE(run.WindowIn("applied", "SettingsWindow").is_object());
  EXPECT_FALSE(OnTop(run, "applied"));
  EXPECT_EQ(Stored(kStartKey), "1");
  EXPECT_EQ(Stored(kRenderingKey), "3");
  EXPECT_EQ(Stored(kScreenKey), "1");
  EXPECT_EQ(Stored(kStickyKey), "1");
  EXPECT_EQ(Registry(kStartPageSection, "Start Page"), program_.HomeAddress() + "?soft");
  EXPECT_EQ(Registry(kScreenSaverSection, "ScreenSaveActive"), "0");
  const std::string entry = program_.ReadFile(AutostartEntry());
  const std::string program = program_.Installed("Player").string();
  EXPECT_NE(entry.find("\nExec=\"" + program + "\"\n"), std::string::npos) << entry;
  EXPECT_EQ(ClosedPanels(run), std::vector<Text>{"SettingsWindow"});
}

TEST_F(PanelWindowsEndToEndTest, StartTwoOpensUntickedAndApplyRemovesTheEntry) {
  WriteSettings("[Config]\r\nStart=2\r\nSticky=1\r\n");
  WriteAutostartEntry();
  Run(std::string(kOpenSettings) + "click 图形按钮3\nidle\n");
  EXPECT_EQ(Stored(kStartKey), "0");
  EXPECT_FALSE(fs::exists(AutostartEntry()));
}

class SettingsClosingEndToEndTest : public PanelWindowsEndToEndTest,
                                    public ::testing::WithParamInterface<const char*> {};

TEST_P(SettingsClosingEndToEndTest, WritesNothing) {
  WriteSettings("[Config]\r\nStart=1\r\nRendering=2\r\nScreen=0\r\n");
  WriteAutostartEntry();
  ProgramRun run = Run(std::string(kOpenSettings) +
                       "click 开机启动\nclick 屏保选择\nclick 始终置顶4\nclick 模式3\nclick 始终置顶\n" +
                       GetParam() + "\nidle\ndump closed\n");
  EXPECT_EQ(ClosedPanels(run), std::vector<Text>{"SettingsWindow"});
  EXPECT_TRUE(run.WindowIn("closed", "MainWindow")["interactive"].get<bool>());
  EXPECT_FALSE(OnTop(run, "closed"));
  EXPECT_EQ(Stored(kStartKey), "1");
  EXPECT_EQ(Stored(kRenderingKey), "2");
  EXPECT_EQ(Stored(kScreenKey), "0");
  EXPECT_EQ(program_.ReadFile(AutostartEntry()), "[Desktop Entry]\nExec=old\n");
  EXPECT_FALSE(fs::exists(RegistryFile()));
}

INSTANTIATE_TEST_SUITE_P(Ways, SettingsClosingEndToEndTest,
                         ::testing::Values("click 图形按钮2", "click 关闭按钮", "key Esc"));

// Each tab closes its window before the other opens; twenty switches, then the close
// button, leave the main window alone and usable.
TEST_F(PanelWindowsEndToEndTest, TwentyTabSwitchesEndWithOneWindowClosed) {
  std::string script = kOpenSettings;
  std::vector<Text> closed;
  for (int i = 0; i < 20; ++i) {
    script += i % 2 == 0 ? "click 关于按钮\n" : "click 选项按钮\n";
    closed.push_back(i % 2 == 0 ? "SettingsWindow" : "AboutWindow");
  }
  script += "dump switched\nclick 关闭按钮\nidle\ndump closed\n";
  ProgramRun run = Run(script);
  EXPECT_TRUE(run.WindowIn("switched", "SettingsWindow").is_object());
  EXPECT_FALSE(run.WindowIn("switched", "AboutWindow").is_object());
  closed.push_back("SettingsWindow");
  EXPECT_EQ(ClosedPanels(run), closed);
  EXPECT_TRUE(run.WindowIn("closed", "MainWindow")["interactive"].get<bool>());
  EXPECT_TRUE(run.Records("script_error").empty());
}

TEST_F(PanelWindowsEndToEndTest, TheAboutWindowShowsTheProviderAndOpensBothLinks) {
  ProgramRun run = Run(std::string(kOpenAbout) +
                       "dump about\npress 版本6\npress 版本7\nclick 图形按钮3\nidle\ndump pressed\n");
  const Text site = DecipherHexTextKey1(deploy::PlayerSiteAddress());
  auto caption = [&run](const char* label) { return testing_support::Gbk(run.Control("about", label)["caption"]); };
  EXPECT_EQ(caption("名称"), "演示影院");
  EXPECT_EQ(caption("版本5"), "内容提供商：演示影院");
  EXPECT_EQ(caption("版本7"), "点击访问 " + program_.HomeAddress());
  EXPECT_EQ(caption("版本6"), "点击访问 " + site);
  EXPECT_EQ(caption("版本1"), deploy::CompanionProgram1());
  EXPECT_EQ(caption("版本2"), deploy::CompanionProgram2());
  EXPECT_EQ(caption("版本"), "主程序版本：1.0.1212.29");
  EXPECT_EQ(caption("版本3"), "软件升级程序版本：1.0.1212.22");
  std::vector<Text> opened;
  for (const json& record : run.Records("address_opened")) opened.push_back(testing_support::Gbk(record["address"]));
  EXPECT_EQ(opened, (std::vector<Text>{site + "?" + Text(kInstallationId), program_.HomeAddress() + "?soft"}));
  EXPECT_TRUE(run.WindowIn("pressed", "AboutWindow").is_object()) << "图形按钮3 does nothing";
  EXPECT_EQ(testing_support::Gbk(run.Control("pressed", "版本6")["caption"]), "点击访问 " + site);
}

}  // namespace
}  // namespace korvane::player::testing
