// The message loop as the programs rely on it, on small sample windows.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/platform/ui/ui_test_fixture.h"

namespace korvane::platform::ui::testing {
namespace {

using ::testing::ElementsAre;

using LoopTest = HeadlessProgramTest;

TEST_F(LoopTest, CloseRequestTakesEffectAfterTheRestOfItsHandler) {
  program_.BindHandler("OnStartCreated", [&](const Event& event) {
    Window start = event.source.ParentWindow();
    program_.DestroyUnit(start);
    trace_.push_back(start.IsAlive() ? "still open" : "closed");
    start.SetCaption("改过");
    trace_.push_back(start.Caption() == "改过" ? "caption set" : "caption lost");
  });
  EXPECT_EQ(RunProgram([&] {
              program_.LoadWindow("Start", false);
              trace_.push_back("load returned");
            }),
            0);
  EXPECT_THAT(trace_, ElementsAre("still open", "caption set", "load returned"));
  EXPECT_THAT(backend_.ClosedWindows(), ElementsAre("Start"));
  EXPECT_FALSE(backend_.Stalled());
}

TEST_F(LoopTest, ModalWindowsThreeDeepEachReturnOnlyWhenClosed) {
  int depth = 0;
  program_.BindHandler("OnDialogCreated", [&](const Event& event) {
    const int mine = ++depth;
    trace_.push_back("created " + std::to_string(mine));
    // Every window below this one takes no input while it is open.
    for (const Window& window : InspectionOf(program_).Windows()) {
      if (window != event.source) {
        EXPECT_FALSE(window.Interactive());
      }
    }
    if (mine < 3) {
      program_.LoadWindow("Dialog", true);
      trace_.push_back("returned to " + std::to_string(mine));
    }
  });
  program_.BindHandler("OnStartCreated", [&](const Event& event) {
    program_.LoadWindow("Dialog", true);
    trace_.push_back("start resumes");
    EXPECT_TRUE(Window(event.source.ParentWindow()).Interactive());
    program_.DestroyUnit(event.source);
  });
  script_.Call([&] { trace_.push_back("user at depth " + std::to_string(InspectionOf(program_).Windows().size() - 1)); })
      .Add("key", {"Esc"})
      .Add("key", {"Esc"})
      .Add("click", {"按钮_关闭", "Start"})  // refused: the start window is behind a modal
      .Add("key", {"Esc"});

  EXPECT_EQ(RunProgram([&] { program_.LoadWindow("Start", false); }), 0);
  EXPECT_THAT(trace_, ElementsAre("created 1", "created 2", "created 3", "user at depth 3",
                                  "returned to 2", "returned to 1", "start resumes"));
  EXPECT_THAT(backend_.ScriptErrors(), ElementsAre("click: input refused"));
}

TEST_F(LoopTest, ModalWindowFromCreatedHandlerRunsInsideIt) {
  program_.BindHandler("OnStartCreated", [&](const Event& event) {
    trace_.push_back("start created");
    program_.LoadWindow("Dialog", true);
    trace_.push_back(event.source.IsAlive() ? "start still open" : "start gone");
    program_.DestroyUnit(event.source);
  });
  program_.BindHandler("OnOpenClicked", [&](const Event& event) {
    trace_.push_back("clicked in dialog");
    program_.DestroyUnit(event.source.ParentWindow());
    trace_.push_back("handler ends");
  });
  script_.Add("click", {"按钮_打开"});
  EXPECT_EQ(RunProgram([&] {
              program_.LoadWindow("Start", false);
              trace_.push_back("start code ends");
            }),
            0);
  EXPECT_THAT(trace_, ElementsAre("start created", "clicked in dialog", "handler ends", "start still open",
                                  "start code ends"));
}

TEST_F(LoopTest, ProgramEndsOnlyAfterItsLastHiddenWindowHasClosed) {
  Window start;
  program_.BindHandler("OnStartCreated", [&](const Event& event) {
    start = event.source.ParentWindow();
    start.SetVisible(false);
  });
  script_.Add("advance", {"1000"})
      .Call([&] {
        trace_.push_back(InspectionOf(program_).Windows().size() == 1 ? "hidden window keeps it running" : "ended early");
        program_.DestroyUnit(start);
      })
      .Call([&] { trace_.push_back("must not run: the program has ended"); });
  EXPECT_EQ(RunProgram([&] { program_.LoadWindow("Start", false); }), 0);
  EXPECT_THAT(trace_, ElementsAre("hidden window keeps it running"));
  EXPECT_FALSE(backend_.Stalled());
}

TEST_F(LoopTest, TimersTickOnVirtualTimeAndOneStopsItselfInItsOwnTick) {
  program_.BindHandler("OnTenSeconds", [&](const Event& event) {
    trace_.push_back("10s at " + std::to_string(time_.NowMs()));
    Timer(program_, event.source.Id()).SetInterval(0);
  });
  program_.BindHandler("OnFifteenSeconds", [&](const Event&) {
    trace_.push_back("15s at " + std::to_string(time_.NowMs()));
  });
  script_.Add("advance", {"45000"}).Call([&] { program_.DestroyUnit(InspectionOf(program_).Windows().front()); });
  EXPECT_EQ(RunProgram([&] { program_.LoadWindow("Start", false); }), 0);
  EXPECT_THAT(trace_, ElementsAre("10s at 10000", "15s at 15000", "15s at 30000", "15s at 45000"));
}

TEST_F(LoopTest, TimerTicksInsideAModalLoopAndSettingIntervalRestartsIt) {
  program_.BindHandler("OnStartCreated", [&](const Event&) { program_.LoadWindow("Dialog", true); });
  program_.BindHandler("OnFifteenSeconds", [&](const Event& event) {
    trace_.push_back("15s at " + std::to_string(time_.NowMs()));
    Timer timer(program_, event.source.Id());
    if (timer.Interval() == 15000) timer.SetInterval(1000);
  });
  script_.Add("advance", {"17500"}).Add("key", {"Esc"}).Call([&] { program_.EndProgram(7); });
  EXPECT_EQ(RunProgram([&] { program_.LoadWindow("Start", false); }), 7);
  EXPECT_THAT(trace_, ElementsAre("15s at 15000", "15s at 16000", "15s at 17000"));
}

TEST_F(LoopTest, DelayLetsTimersFallDueWithoutTickingAndPendingMessagesRunThem) {
  program_.BindHandler("OnTenSeconds", [&](const Event&) { trace_.push_back("tick"); });
  program_.BindHandler("OnStartCreated", [&](const Event& event) {
    program_.Delay(10000);
    trace_.push_back("after delay");
    program_.ProcessPendingMessages();
    trace_.push_back("after pending");
    program_.DestroyUnit(event.source);
    program_.ProcessPendingMessages();
    trace_.push_back(event.source.IsAlive() ? "open" : "closed by pending messages");
  });
  EXPECT_EQ(RunProgram([&] { program_.LoadWindow("Start", false); }), 0);
  EXPECT_THAT(trace_, ElementsAre("after delay", "tick", "after pending", "closed by pending messages"));
}

TEST_F(LoopTest, EndProgramRunsTheFinaliserOnceAndNeverReturns) {
  int finalised = 0;
  program_.SetFinaliser([&] { ++finalised; });
  program_.BindHandler("OnStartCreated", [&](const Event&) { program_.LoadWindow("Dialog", true); });
  program_.BindHandler("OnOpenClicked", [&](const Event&) {
    program_.EndProgram(0);
    trace_.push_back("after EndProgram");
  });
  script_.Add("click", {"按钮_打开"});
  EXPECT_EQ(RunProgram([&] {
              program_.LoadWindow("Start", false);
              trace_.push_back("after load");
            }),
            0);
  EXPECT_EQ(finalised, 1);
  EXPECT_TRUE(trace_.empty());
  EXPECT_TRUE(InspectionOf(program_).Windows().empty());
}

TEST_F(LoopTest, NormalEndRunsTheFinaliserAndAnExhaustedScriptEndsTheRun) {
  int finalised = 0;
  program_.SetFinaliser([&] { ++finalised; });
  EXPECT_EQ(RunProgram([&] { program_.LoadWindow("Start", false); }), kStalledExitCode);
  EXPECT_TRUE(backend_.Stalled());
  EXPECT_EQ(finalised, 1);
}

TEST_F(LoopTest, UnboundHandlerIsReportedWhenTheWindowLoads) {
  HeadlessBackend backend(time_, nullptr);
  Program bare(backend, resources_);
  EXPECT_FALSE(bare.CanLoadWindow("Start"));
  EXPECT_THROW(bare.LoadWindow("Start", false), LayoutError);
  EXPECT_TRUE(program_.CanLoadWindow("Start"));
  EXPECT_FALSE(program_.CanLoadWindow("NoSuchWindow"));
}

}  // namespace
}  // namespace korvane::platform::ui::testing
