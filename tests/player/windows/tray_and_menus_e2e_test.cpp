// The tray icon, the tray and options menus, always on top, the operator's site, the
// customer-service link and the update from a menu, in the real `Player` on the
// headless backend against a local server that holds the remote control files.

#include <gtest/gtest.h>

#include <algorithm>

#include "common/cipher.h"
#include "platform/core/path_map.h"
#include "tests/player/player_program_run.h"

namespace korvane::player::testing {
namespace {

using nlohmann::json;
using namespace remote;

constexpr char kTrayTip[] = "点击本图标显示主程序";
constexpr char kProgramIcon[] = "pictures/player.ico";  // the main window's own
constexpr char kProvider[] = "演示影院";
// Where the user's mouse is when a menu pops up.
constexpr char kMouse[] = "mouse 300 420\n";
constexpr char kHide[] = "click 启动窗口关闭按钮\n";
constexpr char kOptions[] = "click 主界面选项按钮\n";
// A run whose Player is still open when the script has run out ends as stalled.
constexpr int kStillRunning = 124;

class TrayAndMenusEndToEndTest : public ::testing::Test {
 protected:
  TrayAndMenusEndToEndTest() {
    program_.ServeQuietStart();
    program_.Serve(kProviderName, kProvider);
  }

  // Runs the script and fails on any line the program refused.
  ProgramRun Run(const std::string& script) {
    ProgramRun run = program_.Run(std::string(kMouse) + script);
    for (const json& record : run.records) {
      if (record.value("record", "") == "script_error") ADD_FAILURE() << record.dump();
    }
    return run;
  }
  static json Main(const ProgramRun& run, std::string_view label) { return run.WindowIn(label, "MainWindow"); }
  static std::vector<Text> Opened(const ProgramRun& run) {
    std::vector<Text> addresses;
    for (const json& record : run.Records("address_opened")) addresses.push_back(Gbk(record["address"]));
    return addresses;
  }
  // The menus popped up: name, place and the item picked.
  static std::vector<std::string> Menus(const ProgramRun& run) {
    std::vector<std::string> menus;
    for (const json& record : run.Records("menu")) {
      menus.push_back(Gbk(record["menu"]) + " at " + record["at"].dump() + ": " + Gbk(record["picked"]));
    }
    return menus;
  }
  // The window hidden in the tray, with the program icon and its tip.
  static void ExpectInTray(const json& window) {
    EXPECT_FALSE(window["visible"].get<bool>());
    ASSERT_TRUE(window.contains("tray"));
    EXPECT_EQ(window["tray"]["icon"], kProgramIcon);
    EXPECT_EQ(Gbk(window["tray"]["tip"]), kTrayTip);
  }
  static void ExpectShownWithoutIcon(const json& window) {
    EXPECT_TRUE(window["visible"].get<bool>());
    EXPECT_FALSE(window.contains("tray"));
  }

  PlayerProgramRun program_;
};

struct RestoreCase {
  std::string name;
  std::string restore;  // script lines
  std::vector<std::string> menus;
};

void PrintTo(const RestoreCase& c, std::ostream* os) { *os << c.name; }

class TrayRestoreTest : public TrayAndMenusEndToEndTest, public ::testing::WithParamInterface<RestoreCase> {};

TEST_P(TrayRestoreTest, HidingToTheTrayAndBackLeavesNoIconAndAVisibleWindow) {
  const RestoreCase& c = GetParam();
  ProgramRun run = Run("dump shown\n" + std::string(kHide) + "dump hidden\n" + c.restore + "dump restored\n");
  ExpectShownWithoutIcon(Main(run, "shown"));
  ExpectInTray(Main(run, "hidden"));
  ExpectShownWithoutIcon(Main(run, "restored"));
  // Hidden and back, the views and the player are as they were.
  for (std::string_view control : {"快播播放器", "主窗体播放器节目列表", "启动窗口底部按钮背景"}) {
    EXPECT_EQ(run.Control("shown", control), run.Control("restored", control)) << control;
  }
  EXPECT_EQ(Menus(run), c.menus);
  EXPECT_EQ(run.exit_code, kStillRunning);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, TrayRestoreTest,
    ::testing::Values(RestoreCase{"LeftClick", "tray 1\n", {}},
                      RestoreCase{"DoubleClick", "tray 2\n", {}},
                      RestoreCase{"OpenItem", "tray 3\nmenu 打开软件\n", {"托盘菜单 at [300,420]: 打开软件"}},
                      // Values the icon does not raise change nothing; the left click then restores.
                      RestoreCase{"OtherValueThenLeftClick", "tray 4\ntray 0\ntray 1\n", {}}),
    [](const auto& info) { return info.param.name; });

struct SiteCase {
  std::string name;
  std::string pick;  // script lines that pick the item
  std::string menu;
  bool hidden;       // the main window is in the tray meanwhile
};

void PrintTo(const SiteCase& c, std::ostream* os) { *os << c.name; }

class SiteItemTest : public TrayAndMenusEndToEndTest, public ::testing::WithParamInterface<SiteCase> {};

TEST_P(SiteItemTest, OpensTheHomeAddressAndLeavesTheWindowAsItWas) {
  const SiteCase& c = GetParam();
  ProgramRun run = Run((c.hidden ? kHide : "") + c.pick + "dump after\n");
  EXPECT_EQ(Opened(run), std::vector<Text>{program_.HomeAddress()});
  EXPECT_EQ(Menus(run), std::vector<std::string>{c.menu});
  if (c.hidden) {
    ExpectInTray(Main(run, "after"));
  } else {
    ExpectShownWithoutIcon(Main(run, "after"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Menus, SiteItemTest,
    ::testing::Values(SiteCase{"FromTheTrayWhileHidden", "tray 3\nmenu 官方网站\n", "托盘菜单 at [300,420]: 官方网站", true},
                      SiteCase{"FromTheOptionsMenu", std::string(kOptions) + "menu \" 官方网站\"\n",
                               "选项菜单 at [300,420]:  官方网站", false}),
    [](const auto& info) { return info.param.name; });

TEST_F(TrayAndMenusEndToEndTest, TheRightButtonOnTheIconPopsUpTheTrayMenuAtTheMouse) {
  // Dismissed: the next line is no pick.
  ProgramRun run = Run(std::string(kHide) + "mouse 900 700\ntray 3\ndump after\n");
  EXPECT_EQ(Menus(run), std::vector<std::string>{"托盘菜单 at [900,700]: "});
  ExpectInTray(Main(run, "after"));
}

TEST_F(TrayAndMenusEndToEndTest, AlwaysOnTopLastsUntilTheOptionsButtonIsPressedAgain) {
  const std::string on_top = std::string(kOptions) + "menu \" 显示设置 \" 总是置顶\n";
  ProgramRun run = Run("dump start\n" + on_top + "dump on\n" + kOptions + "dump pressed\n" + on_top + "dump again\n" +
                       kOptions + "menu \" 显示设置 \" 取消置顶\ndump off\n");
  const std::pair<const char*, bool> kStates[] = {
      {"start", false}, {"on", true}, {"pressed", false}, {"again", true}, {"off", false}};
  for (const auto& [label, on] : kStates) {
    EXPECT_EQ(Main(run, label)["always_on_top"].get<bool>(), on) << label;
  }
  EXPECT_EQ(Menus(run), (std::vector<std::string>{
                            "选项菜单 at [300,420]: 总是置顶", "选项菜单 at [300,420]: ",
                            "选项菜单 at [300,420]: 总是置顶", "选项菜单 at [300,420]: 取消置顶"}));
}

struct UpdateCase {
  std::string name;
  std::string pick;
  bool update_installed;
};

void PrintTo(const UpdateCase& c, std::ostream* os) { *os << c.name; }

class MenuUpdateTest : public TrayAndMenusEndToEndTest, public ::testing::WithParamInterface<UpdateCase> {};

// With the exit-ad switch "0" the exit road closes the main window and the program ends,
// whether or not the folder holds the updater.
TEST_P(MenuUpdateTest, StartsTheUpdaterThenTheExitRoadEndsTheProgram) {
  const UpdateCase& c = GetParam();
  if (c.update_installed) program_.WriteFile(program_.Installed("Update.exe"), "#!/bin/sh\n");
  ProgramRun run = Run(c.pick);
  EXPECT_EQ(run.exit_code, 0);
  std::vector<json> started = run.Records("program_started");
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(Gbk(started[0]["verb"]), "open");
  EXPECT_EQ(Gbk(started[0]["file"]), platform::CorePath(program_.Installed("Update.exe")));
  std::vector<Text> ended;
  for (const json& record : run.Records("processes_ended")) ended.push_back(Gbk(record["file"]));
  EXPECT_EQ(ended, (std::vector<Text>{"QvodPlayer.exe", "QvodTerminal.exe"}));
  std::vector<Text> closed;
  for (const json& record : run.Records("closed_window")) closed.push_back(Gbk(record["name"]));
  EXPECT_EQ(closed, std::vector<Text>{"MainWindow"});
}

INSTANTIATE_TEST_SUITE_P(
    Ways, MenuUpdateTest,
    ::testing::Values(UpdateCase{"OptionsWithUpdater", std::string(kOptions) + "menu \" 程序升级\"\n", true},
                      UpdateCase{"OptionsWithoutUpdater", std::string(kOptions) + "menu \" 程序升级\"\n", false},
                      UpdateCase{"TrayWhileHidden", std::string(kHide) + "tray 3\nmenu 程序升级\n", true}),
    [](const auto& info) { return info.param.name; });

struct ServiceCase {
  std::string name;
  std::string number;  // the body of the service-number file
  bool passes = true;  // else the address gate lets the link through as empty text
};

void PrintTo(const ServiceCase& c, std::ostream* os) { *os << c.name; }

class ServiceLinkTest : public TrayAndMenusEndToEndTest, public ::testing::WithParamInterface<ServiceCase> {};

TEST_P(ServiceLinkTest, EachPressFetchesTheNumberAndOpensTheChatLinkWithItAsTheFileHoldsIt) {
  const ServiceCase& c = GetParam();
  program_.ServeBody(kServiceQq, c.number);
  ProgramRun run = Run("click 主界面列表按钮\nclick 主界面列表按钮\n");
  const Text link =
      c.passes ? DecipherHexTextKey1(DeployedConstants().chat_prefix) + c.number + "&Site=" + kProvider + "&Menu=yes"
               : Text();
  EXPECT_EQ(Opened(run), (std::vector<Text>{link, link}));
  const std::vector<std::string> targets = program_.RequestTargets();
  EXPECT_EQ(std::count(targets.begin(), targets.end(), program_.TargetOf(kServiceQq)), 2);
}

INSTANTIATE_TEST_SUITE_P(Numbers, ServiceLinkTest,
                         ::testing::Values(ServiceCase{"Plain", "10001"}, ServiceCase{"LineBreakRefused", "10001\r\n", false},
                                           ServiceCase{"Empty", ""}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace korvane::player::testing
