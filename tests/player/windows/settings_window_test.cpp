// The settings window in one process: the boxes it opens with for each stored value, what
// Apply and OK store and change, the two box groups, and cancel, close and Esc storing
// nothing.

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "player/core/player_config.h"
#include "tests/player/windows/panel_windows_fixture.h"

namespace korvane::player::testing {
namespace {

class SettingsOpeningTest : public ::testing::TestWithParam<OpeningCase>, protected PanelWindowsFixture {};

TEST_P(SettingsOpeningTest, TicksTheBoxesByTheStoredNumbers) {
  const OpeningCase& c = GetParam();
  WriteSettings(c.settings);
  OpenSettings();
  Check([this, &c] {
    EXPECT_EQ(OpenWindows(), (std::vector<Text>{"MainWindow", "SettingsWindow"}));
    EXPECT_EQ(Ticks(), c.ticks);
  });
  RunPlayer();
}

INSTANTIATE_TEST_SUITE_P(
    StoredValues, SettingsOpeningTest,
    ::testing::ValuesIn(kOpeningCases),
    [](const auto& info) { return info.param.name; });

class SettingsWindowTest : public ::testing::Test, protected PanelWindowsFixture {};

TEST_F(SettingsWindowTest, ShowsTheOptionsTabAndHintsItsButtons) {
  OpenSettings();
  Check([this] {
    ui::Window window = Panel("SettingsWindow");
    ASSERT_TRUE(window.IsModal());
    EXPECT_FALSE(Main().Interactive());
    EXPECT_EQ(window.Find<ui::PictureButton>("选项按钮").NormalPicture(), "pictures/settings_options_tab.gif");
    EXPECT_EQ(window.Find<ui::PictureButton>("关于按钮").NormalPicture(), "pictures/settings_about_tab.gif");
    ExpectButtonHints(window);
  });
  RunPlayer();
}

// What Apply (or OK) leaves: the stored values, the autostart entry, the start page, the
// screen saver, the main window's on-top state and whether the window is still open.
struct ApplyCase {
  std::string name;
  std::string settings;
  std::vector<std::string> clicks = {};  // in the settings window, before the button
  std::string button = "图形按钮3";
  Text start = "0";
  Text rendering = "";
  Text screen = "0";
  bool autostart = false;
  bool start_page = false;
  bool screen_saver_off = false;
  bool on_top = false;
  bool stays_open = true;
};

void PrintTo(const ApplyCase& c, std::ostream* os) { *os << c.name; }

class SettingsApplyTest : public ::testing::TestWithParam<ApplyCase>, protected PanelWindowsFixture {};

constexpr char kHome[] = "http://home.example/站/";

// The main window is put on top first and the settings window opened from the tray, so
// that Apply's on-top change shows either way.
TEST_P(SettingsApplyTest, StoresAndAppliesEachBoxInTurn) {
  const ApplyCase& c = GetParam();
  ServeStart("U7", kHome, "演示影院");
  WriteSettings(c.settings);
  settings_.AddAutoStartEntry("Player", "stale", 0);
  Click("主界面选项按钮");
  Act("menu", {"总是置顶"});
  HideToTray();
  OpenSettings(Route::kTrayMenu);
  for (const std::string& click : c.clicks) Click(click);
  Click(c.button);
  Act("idle");
  Check([this, &c] {
    EXPECT_EQ(Stored(kStartKey), c.start);
    EXPECT_EQ(Stored(kStickyKey), c.settings.find("Sticky=1") != std::string::npos ? "1" : "");
    EXPECT_EQ(Stored(kRenderingKey), c.rendering);
    EXPECT_EQ(Stored(kScreenKey), c.screen);
    std::map<Text, Text> autostart;
    if (c.autostart) autostart["Player"] = folder_.run_directory() + "\\Player";
    EXPECT_EQ(settings_.autostart(), autostart);
    std::map<Text, Text> registry;
    if (c.start_page) registry["Software\\Microsoft\\Internet Explorer\\Main\\Start Page"] = Text(kHome) + "?soft";
    EXPECT_EQ(settings_.registry(), registry);
    EXPECT_EQ(settings_.screen_saver_active(), c.screen_saver_off ? std::optional<bool>(false) : std::nullopt);
    EXPECT_EQ(MainOnTop(), c.on_top);
    EXPECT_FALSE(Main().Visible()) << "the main window stays in the tray";
    EXPECT_EQ(Panel("SettingsWindow").Name() == "SettingsWindow", c.stays_open);
  });
  RunPlayer();
}

const char kNotOnTop[] = "[Config]\r\nSticky=1\r\n";

INSTANTIATE_TEST_SUITE_P(
    Boxes, SettingsApplyTest,
    ::testing::Values(
        ApplyCase{.name = "FreshInstallationPutsOnTopAndCloses", .settings = "", .on_top = true,
                  .stays_open = false},
        ApplyCase{.name = "StickyOneTakesOffTopAndStaysOpen", .settings = kNotOnTop},
        ApplyCase{.name = "AlwaysOnTopClickedUnticksNotOnTop", .settings = kNotOnTop, .clicks = {"始终置顶"},
                  .on_top = true, .stays_open = false},
        ApplyCase{.name = "NoOnTopBoxLeavesTheWindowAsItWas", .settings = kNotOnTop, .clicks = {"取消置顶"},
                  .on_top = true},
        ApplyCase{.name = "StartAddsTheEntry", .settings = kNotOnTop, .clicks = {"开机启动"}, .start = "1",
                  .autostart = true},
        ApplyCase{.name = "StartUntickedRemovesIt", .settings = "[Config]\r\nSticky=1\r\nStart=1\r\n",
                  .clicks = {"开机启动"}},
        ApplyCase{.name = "StartTwoRemovesIt", .settings = "[Config]\r\nSticky=1\r\nStart=2\r\n"},
        ApplyCase{.name = "StartPageIsTheHomeAddressAndSoft", .settings = kNotOnTop, .clicks = {"始终置顶4"},
                  .start_page = true},
        ApplyCase{.name = "ScreenSaverSwitchedOff", .settings = kNotOnTop, .clicks = {"屏保选择"},
                  .screen = "1", .screen_saver_off = true},
        ApplyCase{.name = "ModeThreeUnticksModeOne", .settings = "[Config]\r\nSticky=1\r\nRendering=1\r\n",
                  .clicks = {"模式3"}, .rendering = "3"},
        ApplyCase{.name = "StoredModeIsWrittenAgain", .settings = "[Config]\r\nSticky=1\r\nRendering=2.0\r\n",
                  .rendering = "2"},
        ApplyCase{.name = "NoModeTickedLeavesRendering",
                  .settings = "[Config]\r\nSticky=1\r\nRendering=2.0\r\n", .clicks = {"模式2"},
                  .rendering = "2.0"},
        ApplyCase{.name = "OkAppliesAndCloses", .settings = kNotOnTop, .clicks = {"开机启动", "模式1"},
                  .button = "图形按钮1", .start = "1", .rendering = "1", .autostart = true,
                  .stays_open = false}),
    [](const auto& info) { return info.param.name; });

// Each click ticks or unticks its own box and unticks the rest of its group.
TEST_F(SettingsWindowTest, EachGroupKeepsAtMostOneBoxTicked) {
  const std::pair<const char*, const char*> clicks[] = {
      // control, ticks afterwards
      {"模式1", "01010000"}, {"模式3", "01000100"}, {"模式2", "01001000"}, {"模式2", "01000000"},
      {"取消置顶", "00100000"}, {"始终置顶", "01000000"}, {"始终置顶", "00000000"}, {"开机启动", "10000000"},
  };
  OpenSettings();
  for (const auto& [control, ticks] : clicks) {
    Click(control);
    Check([this, control, ticks] { EXPECT_EQ(Ticks(), ticks) << "after " << control; });
  }
  RunPlayer();
}

// Unticking the box and applying again stores "0" and leaves the screen saver off.
TEST_F(SettingsWindowTest, TheScreenSaverIsNeverSwitchedBackOn) {
  WriteSettings(kNotOnTop);
  OpenSettings();
  Click("屏保选择");
  Click("图形按钮3");
  Check([this] { EXPECT_EQ(Stored(kScreenKey), "1"); });
  Click("屏保选择");
  Click("图形按钮3");
  Check([this] {
    EXPECT_EQ(Stored(kScreenKey), "0");
    EXPECT_EQ(settings_.screen_saver_active(), false);
  });
  RunPlayer();
}

// The start page box and the on-top choice are not stored: the next opening shows the
// file again.
TEST_F(SettingsWindowTest, ReopenedItShowsTheStoredValuesAgain) {
  WriteSettings(kNotOnTop);
  OpenSettings();
  for (const char* box : {"始终置顶4", "始终置顶", "屏保选择"}) Click(box);
  Click("图形按钮1");
  OpenSettings();
  Check([this] {
    EXPECT_EQ(Ticks(), "00100010");
    EXPECT_EQ(Stored(kStickyKey), "1");
  });
  RunPlayer();
}

enum class Closing { kCancel, kCloseButton, kEsc };

class SettingsClosingTest : public ::testing::TestWithParam<Closing>, protected PanelWindowsFixture {};

TEST_P(SettingsClosingTest, StoresAndAppliesNothing) {
  WriteSettings("[Config]\r\nSticky=0\r\nStart=1\r\nRendering=2\r\n");
  settings_.AddAutoStartEntry("Player", "kept", 0);
  OpenSettings();
  std::string stored;  // as start-up has left it
  Check([this, &stored] { stored = SettingsFile(); });
  for (const char* box : {"开机启动", "取消置顶", "模式3", "屏保选择", "始终置顶4"}) Click(box);
  switch (GetParam()) {
    case Closing::kCancel: Click("图形按钮2"); break;
    case Closing::kCloseButton: Click("关闭按钮"); break;
    case Closing::kEsc: Act("key", {"Esc"}); break;
  }
  Act("idle");
  Check([this, &stored] {
    EXPECT_EQ(OpenWindows(), std::vector<Text>{"MainWindow"});
    EXPECT_TRUE(Main().Interactive());
    EXPECT_EQ(SettingsFile(), stored);
    EXPECT_EQ(settings_.autostart(), (std::map<Text, Text>{{"Player", "kept"}}));
    EXPECT_TRUE(settings_.registry().empty());
    EXPECT_EQ(settings_.screen_saver_active(), std::nullopt);
    EXPECT_FALSE(MainOnTop());
  });
  RunPlayer();
}

INSTANTIATE_TEST_SUITE_P(Ways, SettingsClosingTest,
                         ::testing::Values(Closing::kCancel, Closing::kCloseButton, Closing::kEsc));

}  // namespace
}  // namespace korvane::player::testing
