// The tray and its menu take no input behind a modal window, as clicks do: otherwise the
// tray would open a second dialog, or run its items inside the dialog's loop.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/platform/ui/ui_test_fixture.h"

namespace korvane::platform::ui::testing {
namespace {

using ::testing::ElementsAre;

using TrayInputTest = HeadlessProgramTest;

// A window in the tray, with the tray menu whose item opens a modal dialog.
constexpr char8_t kTrayLayout[] = u8R"({
  "caption": "托盘",
  "size": [200, 100],
  "events": {"Created": "OnTrayCreated", "TrayIconEvent": "OnTray"},
  "controls": [],
  "menus": {"托盘菜单": [{"caption": "设置", "event": "OnSettingsPicked"}]}
})";

TEST_F(TrayInputTest, TrayEventsAndMenuPicksAreRefusedBehindAModalWindow) {
  resources_.AddCopy("Tray.layout.json", std::string(AsChars(kTrayLayout)));
  Window tray;
  program_.BindHandler("OnTrayCreated", [&](const Event& event) {
    tray = event.source.ParentWindow();
    program_.SetTrayIcon(tray, true, "提示");
    tray.SetVisible(false);
  });
  program_.BindHandler("OnTray", [&](const Event& event) {
    trace_.push_back("tray " + std::to_string(event.values.at(0)));
    if (event.values.at(0) == 3) program_.PopupMenu(tray, "托盘菜单");
  });
  program_.BindHandler("OnSettingsPicked", [&](const Event&) {
    trace_.push_back("settings opened");
    program_.LoadWindow("Dialog", true);
    trace_.push_back("settings closed");
  });
  // From the dialog, the menu of the window behind it: its pick must not run either.
  program_.BindHandler("OnOpenClicked", [&](const Event&) { program_.PopupMenu(tray, "托盘菜单"); });
  script_.Add("tray", {"3"})
      .Add("menu", {"设置"})
      .Add("tray", {"3"})  // refused: a second settings dialog
      .Add("tray", {"1"})  // refused
      .Add("click", {"按钮_打开"})
      .Add("menu", {"设置"})
      .Add("idle", {})
      .Add("key", {"Esc"})
      .Add("tray", {"1"})
      .Call([&] { program_.DestroyUnit(tray); });

  EXPECT_EQ(RunProgram([&] { program_.LoadWindow("Tray", false); }), 0);
  EXPECT_THAT(trace_, ElementsAre("tray 3", "settings opened", "settings closed", "tray 1"));
  EXPECT_THAT(backend_.ScriptErrors(), ElementsAre("tray: input refused", "tray: input refused"));
  EXPECT_EQ(InspectionOf(program_).Menus().size(), 2u);
}

}  // namespace
}  // namespace korvane::platform::ui::testing
