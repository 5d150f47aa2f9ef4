// The main window's views in one process: the real program on the headless backend on
// virtual time, in a program folder of the test's own, with no remote file answering
// (the views need none). The script clicks the tabs and the list handles and checks the
// window between the clicks.

#include <gtest/gtest.h>

#include <string>

#include "platform/core/config_files.h"
#include "platform/core/profile.h"
#include "player/core/player_config.h"
#include "tests/player/headless_player.h"
#include "tests/support/stacking_checks.h"

namespace korvane::player {
namespace {

enum class View { kListOpen, kListClosed, kCatalogue, kFind, kListUnchangedAfterFind };

struct ListCase {
  std::string name;
  std::optional<Text> list;  // nullopt: the key deleted
  View player_view;
};

void PrintTo(const ListCase& c, std::ostream* os) { *os << c.name; }

class MainWindowViewsTest : public ::testing::TestWithParam<ListCase>, protected testing::HeadlessPlayer {
 protected:
  template <typename T = ui::Unit>
  T Control(std::string_view name) {
    return Main().Find<T>(name);
  }
  void Click(std::string_view control) { script_.Add("click", {Text(control)}); }
  void Check(View view, std::string trace, bool tabs_set = true) {
    script_.Call([this, view, trace, tabs_set] {
      SCOPED_TRACE(trace);
      ExpectView(view, tabs_set);
    });
  }
  Text List() { return platform::ReadConfigValue(folder_.run_directory(), kListKey); }
  void SetList(const std::optional<Text>& list) {
    script_.Call([this, list] {
      folder_.Write("\\PlayerConfig.ini", "[Config]\r\nButton=1\r\n" + (list ? "List=" + *list + "\r\n" : ""));
    });
  }

  // Start-up and the list handles leave the tabs with their layout pictures; every view
  // switch sets them.
  void ExpectView(View view, bool tabs_set = true);
};

struct Rect {
  int left, top, width, height;
  bool operator==(const Rect&) const = default;
};

Rect RectOf(const ui::Unit& unit) { return {unit.Left(), unit.Top(), unit.Width(), unit.Height()}; }

void MainWindowViewsTest::ExpectView(View view, bool tabs_set) {
  const bool player = view == View::kListOpen || view == View::kListClosed;
  const bool after_find = view == View::kFind || view == View::kListUnchangedAfterFind;
  const bool player_tab = view != View::kCatalogue && view != View::kFind;
  EXPECT_EQ(Control("快播播放器").Visible(), player);
  if (player) {
    EXPECT_EQ(RectOf(Control("快播播放器")), (Rect{2, 34, view == View::kListOpen ? 774 : 976, 571}));
  }
  EXPECT_EQ(Control("主界面片库浏览器").Visible(), view == View::kCatalogue);
  EXPECT_EQ(Control("主界面找片浏览器").Visible(), after_find);
  for (const char* browser : {"主界面片库浏览器", "主界面找片浏览器"}) {
    if (Control(browser).Visible()) {
      EXPECT_EQ(RectOf(Control(browser)), (Rect{0, 32, 980, 568})) << browser;
    }
  }
  EXPECT_EQ(Control("主窗体播放器节目列表").Visible(), view == View::kListOpen);
  EXPECT_EQ(Control("列表关闭按钮").Visible(), view == View::kListOpen || view == View::kListUnchangedAfterFind);
  EXPECT_EQ(Control("打开列表按钮").Visible(), view == View::kListClosed);
  for (const char* bottom : {"启动窗口底部按钮背景", "主界面暂停播放按钮", "主界面下一集按钮"}) {
    EXPECT_EQ(Control(bottom).Shown(), player_tab) << bottom;
  }
  EXPECT_EQ(Control("画板1").Visible(), !player_tab);
  const char* highlighted = player_tab ? "主界面播放按钮" : view == View::kCatalogue ? "主界面片库按钮" : "主界面找片按钮";
  for (const char* tab : {"主界面播放按钮", "主界面片库按钮", "主界面找片按钮"}) {
    if (!tabs_set) break;
    ui::PictureButton button = Control<ui::PictureButton>(tab);
    const bool lit = button.NormalPicture().ends_with("_lit.gif");
    EXPECT_EQ(lit, Text(tab) == highlighted) << tab;
    EXPECT_TRUE(button.HoverPicture().ends_with("_lit.gif"));
    EXPECT_EQ(button.PressedPicture(), button.NormalPicture());
  }
  if (!player) {
    // The full-size browser lies behind the frame, the bars and the status strip.
    const char* browser = after_find ? "主界面找片浏览器" : "主界面片库浏览器";
    const std::pair<const char*, const char*> stacking[] = {
        {"启动窗口顶部背景", browser}, {"启动窗口底部背景", browser}, {"启动窗口左边背景", browser},
        {"启动窗口右边背景", browser}, {"画板1", browser}, {"启动窗口关闭按钮", "启动窗口最小化按钮"},
    };
    testing_support::ExpectStandsInFront(*ModelOf(Main()), stacking);
  }
}

TEST_P(MainWindowViewsTest, EachViewSwitchSetsTheWholeStateTable) {
  const ListCase& c = GetParam();
  Check(View::kListOpen, "after start-up", false);
  SetList(c.list);
  for (int twice = 0; twice < 2; ++twice) {
    Click("主界面片库按钮");
    Check(View::kCatalogue, "film library, click " + std::to_string(twice + 1));
  }
  Click("主界面找片按钮");
  Check(View::kFind, "find film");
  Click("主界面播放按钮");
  Check(c.player_view, "player");
  Click("主界面播放按钮");
  Check(c.player_view, "player again");
  RunPlayer();
}

INSTANTIATE_TEST_SUITE_P(
    ListValues, MainWindowViewsTest,
    ::testing::Values(ListCase{"Closed", Text("1"), View::kListClosed},
                      ListCase{"Open", Text("2"), View::kListOpen},
                      ListCase{"Deleted", std::nullopt, View::kListUnchangedAfterFind},
                      ListCase{"BlankBeforeTwo", Text(" 2"), View::kListUnchangedAfterFind}),
    [](const auto& info) { return info.param.name; });

TEST_F(MainWindowViewsTest, TheListHandlesCloseAndOpenTheListAndStoreIt) {
  platform::WriteIniValue(
      platform::ConfigFilePath(folder_.run_directory(), kPlayerConfigFileName), "Config",
      "Start", "1");
  Click("列表关闭按钮");
  script_.Call([this] {
    ExpectView(View::kListClosed, false);
    EXPECT_EQ(List(), "1");
    EXPECT_EQ(Control("打开列表按钮").Hint(), "打开列表");
  });
  Click("打开列表按钮");
  script_.Call([this] {
    ExpectView(View::kListOpen, false);
    EXPECT_EQ(List(), "2");
    EXPECT_EQ(platform::ReadConfigValue(folder_.run_directory(), kStartKey), "1");
  });
  Click("启动窗口最小化按钮");
  script_.Call([this] { EXPECT_EQ(Main().Position(), ui::WindowPosition::kMinimised); });
  RunPlayer();
}

}  // namespace
}  // namespace korvane::player
