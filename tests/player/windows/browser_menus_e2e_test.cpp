// The catalogue browsers' own menus in the real `Player` on the headless backend: each
// browser's right-click menu, its history moves and the way back to the player.

#include <gtest/gtest.h>

#include "tests/player/player_program_run.h"

namespace korvane::player::testing {
namespace {

using nlohmann::json;

struct MenuCase {
  std::string name;
  const char* browser;
  std::string menu;
  std::string blank;  // before every caption
};

void PrintTo(const MenuCase& c, std::ostream* os) { *os << c.name; }

class BrowserMenuTest : public ::testing::TestWithParam<MenuCase> {
 protected:
  BrowserMenuTest() { program_.ServeQuietStart(); }

  Text ServePage(std::string_view name, std::string body, std::string_view query) {
    return program_.ServeFilmPage(name, std::move(body), query);
  }
  std::string Pick(std::string_view caption) const {
    return "context-menu " + std::string(GetParam().browser) + "\nmenu \"" + GetParam().blank + std::string(caption) +
           "\"\n";
  }
  // Control records of the dump labelled `label`, the dump's own fields left out.
  static std::vector<json> ControlsIn(const ProgramRun& run, std::string_view label) {
    std::vector<json> controls;
    bool in_dump = false;
    for (const json& record : run.records) {
      if (record.value("record", "") == "dump") in_dump = record.value("label", "") == label;
      if (in_dump && record.value("record", "") == "control") controls.push_back(record);
    }
    return controls;
  }

  PlayerProgramRun program_;
};

// The items themselves are the layout's (tests/resources/player).
TEST_P(BrowserMenuTest, RightClickingPopsUpTheBrowsersOwnMenu) {
  const MenuCase& c = GetParam();
  ProgramRun run = program_.RunSteps({Navigate(c.browser, ServePage("page", "<html>目录</html>", "?page=1")), Pick("返回")});
  const std::string b = c.blank;
  std::vector<json> menus = run.Records("menu");
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(Gbk(menus[0]["menu"]), c.menu);
  EXPECT_EQ(Gbk(menus[0]["picked"]), b + "返回");
}

TEST_P(BrowserMenuTest, MovesThroughItsOwnBrowsersHistory) {
  const MenuCase& c = GetParam();
  const Text first = ServePage("first", "<html>一</html>", "?page=1");
  const Text second = ServePage("second", "<html>二</html>", "?page=2");
  const std::string first_target = first.substr(first.find("/home/"));
  const std::string second_target = second.substr(second.find("/home/"));
  program_.RunSteps({Navigate(c.browser, first), Navigate(c.browser, second), Pick("返回"), Pick("前进"), Pick("停止"),
              Pick("刷新")});
  std::vector<std::string> pages;
  for (const std::string& target : program_.RequestTargets()) {
    if (target.find("/film/") != std::string::npos) pages.push_back(target);
  }
  // Back, forward and refresh each load anew; stop with nothing loading loads nothing.
  EXPECT_EQ(pages, (std::vector<std::string>{first_target, second_target, first_target, second_target,
                                             second_target}));
}

TEST_P(BrowserMenuTest, BackToPlayerGivesThePlayTabsState) {
  const MenuCase& c = GetParam();
  const std::string open = Navigate(c.browser, ServePage("page", "<html>目录</html>", "?page=1"));
  ProgramRun by_menu = program_.RunSteps({open, Pick("返回播放器")});
  ProgramRun by_tab = program_.RunSteps({open, "click 主界面播放按钮\n"});
  EXPECT_FALSE(by_menu.Control("2", c.browser)["visible"].get<bool>());
  EXPECT_TRUE(by_menu.Control("2", "快播播放器")["visible"].get<bool>());
  EXPECT_EQ(ControlsIn(by_menu, "2"), ControlsIn(by_tab, "2"));
}

INSTANTIATE_TEST_SUITE_P(Browsers, BrowserMenuTest,
                         ::testing::Values(MenuCase{"Library", kLibrary, "浏览器菜单A", " "},
                                           MenuCase{"Find", kFind, "浏览器菜单B", ""}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace korvane::player::testing
