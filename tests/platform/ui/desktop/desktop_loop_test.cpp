// The loop rules on GLib: nested modal loops, close requests from the loop, real timers,
// and EndProgram unwinding through nested loops to Program::Run.

#include <string>
#include <vector>

#include "tests/platform/ui/desktop/desktop_test_fixture.h"

namespace korvane::platform::ui::desktop::testing {
namespace {

using DesktopLoopTest = DesktopProgramTest;

TEST_F(DesktopLoopTest, AModalWindowNestsALoopUntilEscClosesIt) {
  Window desk;
  program_.BindHandler("OnDialogCreated", [&](const Event& event) {
    trace_.push_back(desk.Interactive() ? "desk takes input" : "desk disabled");
    // The user presses Esc once the dialog is up.
    backend_.Post([this, dialog = Window(program_, event.source.Id())] {
      PressKey(backend_.WindowWidget(dialog.Id()), GDK_KEY_Escape);
    });
  });
  const int code = program_.Run([&] {
    desk = program_.LoadWindow("Desk", false);
    program_.LoadWindow("Dialog", true);
    trace_.push_back(desk.Interactive() ? "returned, desk takes input" : "returned, desk disabled");
    program_.DestroyUnit(desk);
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(trace_, (std::vector<std::string>{"desk disabled", "returned, desk takes input"}));
}

TEST_F(DesktopLoopTest, ACloseRequestRunsAfterItsHandlerAndTheLastCloseEndsTheRun) {
  Window desk;
  program_.BindHandler("OnOkClicked", [&](const Event&) {
    program_.DestroyUnit(desk);
    trace_.push_back(desk.IsAlive() ? "open after request" : "closed at once");
  });
  program_.SetFinaliser([&] { trace_.push_back(desk.IsAlive() ? "finaliser, open" : "finaliser, closed"); });
  const int code = program_.Run([&] {
    desk = program_.LoadWindow("Desk", false);
    backend_.Post([&] { Click(Widget(desk, "按钮_确定")); });
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(trace_, (std::vector<std::string>{"open after request", "finaliser, closed"}));
  EXPECT_EQ(backend_.WindowWidget(desk.Id()), nullptr);
}

TEST_F(DesktopLoopTest, ATimerTicksFromTheLoopUntilItsWindowCloses) {
  int ticks = 0;
  Window desk;
  program_.BindHandler("OnTick", [&](const Event&) {
    if (++ticks == 3) program_.DestroyUnit(desk);
  });
  EXPECT_EQ(program_.Run([&] { desk = program_.LoadWindow("Desk", false); }), 0);
  EXPECT_EQ(ticks, 3);
}

TEST_F(DesktopLoopTest, EndProgramInANestedLoopUnwindsToRunWithItsCode) {
  program_.BindHandler("OnDialogCreated", [&](const Event&) {
    backend_.Post([&] { program_.EndProgram(7); });
  });
  program_.SetFinaliser([&] { trace_.push_back("finaliser"); });
  const int code = program_.Run([&] {
    program_.LoadWindow("Desk", false);
    program_.LoadWindow("Dialog", true);
    trace_.push_back("modal load returned");
  });
  EXPECT_EQ(code, 7);
  EXPECT_EQ(trace_, std::vector<std::string>{"finaliser"});
  EXPECT_TRUE(InspectionOf(program_).Windows().empty());
}

}  // namespace
}  // namespace korvane::platform::ui::desktop::testing
