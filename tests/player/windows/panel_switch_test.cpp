// The tabs that pass the user between the settings and the about window: each closes its
// window and the other is loaded once it has closed, so however often the user switches,
// one modal loop runs, and the menu's handler returns when the last window has closed.

#include <gtest/gtest.h>

#include <vector>

#include "tests/player/windows/panel_windows_fixture.h"

namespace korvane::player::testing {
namespace {

class PanelSwitchTest : public ::testing::Test, protected PanelWindowsFixture {
 protected:
  // Where the script's step runs on the stack: each nested loop puts it deeper.
  void RecordDepth() {
    script_.Call([this] { depths_.push_back(__builtin_frame_address(0)); });
  }
  std::vector<void*> depths_;
};

TEST_F(PanelSwitchTest, TwentySwitchesLeaveOneModalLoop) {
  constexpr int kSwitches = 20;
  OpenSettings();
  RecordDepth();
  std::vector<Text> closed;
  for (int i = 0; i < kSwitches; ++i) {
    const bool from_settings = i % 2 == 0;
    Click(from_settings ? "关于按钮" : "选项按钮");
    closed.push_back(from_settings ? "SettingsWindow" : "AboutWindow");
    const Text showing = from_settings ? "AboutWindow" : "SettingsWindow";
    Check([this, showing, closed] {
      EXPECT_EQ(OpenWindows(), (std::vector<Text>{"MainWindow", showing}));
      EXPECT_TRUE(Panel(showing).IsModal());
      EXPECT_FALSE(Main().Interactive());
      EXPECT_EQ(backend_.ClosedWindows(), closed) << "the window before has closed first";
    });
    RecordDepth();
  }
  Click("关闭按钮");
  Act("idle");
  Check([this] {
    EXPECT_EQ(OpenWindows(), std::vector<Text>{"MainWindow"});
    EXPECT_TRUE(Main().Interactive());
  });
  RecordDepth();
  RunPlayer();

  ASSERT_EQ(depths_.size(), kSwitches + 2u);
  for (int i = 1; i <= kSwitches; ++i) EXPECT_EQ(depths_[i], depths_[0]) << "switch " << i;
  EXPECT_GT(depths_.back(), depths_[0]) << "back in the main loop, nearer the stack's base";
}

// The about tab stores nothing of the changed boxes; the options tab opens the settings
// window freshly read.
TEST_F(PanelSwitchTest, TheTabsApplyNothingAndReadTheFileAfresh) {
  WriteSettings("[Config]\r\nSticky=1\r\n");
  OpenSettings();
  std::string stored;  // as start-up has left it
  Check([this, &stored] { stored = SettingsFile(); });
  for (const char* box : {"开机启动", "始终置顶", "屏保选择"}) Click(box);
  Click("关于按钮");
  Check([this, &stored] {
    EXPECT_EQ(SettingsFile(), stored);
    EXPECT_TRUE(settings_.autostart().empty());
    EXPECT_EQ(settings_.screen_saver_active(), std::nullopt);
    EXPECT_FALSE(MainOnTop());
    WriteSettings("[Config]\r\nStart=1\r\nRendering=3\r\n");
  });
  Click("选项按钮");
  Check([this] { EXPECT_EQ(Ticks(), "11000100"); });
  RunPlayer();
}

}  // namespace
}  // namespace korvane::player::testing
