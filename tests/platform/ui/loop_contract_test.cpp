// The loop rules as the programs rely on them, kept alike by both backends.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/platform/ui/loop_contract.h"

namespace korvane::embedded {
std::span<const korvane::platform::ui::ResourceFile> UiTestSamples();
}

namespace korvane::platform::ui::testing {

// Layouts are UTF-8 text. "Dialog" comes from the samples.
inline constexpr char8_t kMainLayout[] = u8R"({
  "caption": "主窗口",
  "size": [240, 160],
  "esc_closes": true,
  "events": {"Created": "OnMainCreated"},
  "controls": [
    {"kind": "PictureButton", "name": "按钮_关闭", "rect": [10, 10, 72, 22], "events": {"Clicked": "OnCloseClicked"}}
  ]
})";
inline constexpr char8_t kClockLayout[] = u8R"({
  "caption": "时钟",
  "size": [240, 160],
  "events": {"Created": "OnClockCreated"},
  "controls": [
    {"kind": "Timer", "name": "时钟_一", "interval": 100, "events": {"Tick": "OnFirstTick"}},
    {"kind": "Timer", "name": "时钟_二", "interval": 150, "events": {"Tick": "OnSecondTick"}}
  ]
})";

std::string BackendName(const ::testing::TestParamInfo<LoopBackendFactory>& info) { return info.param.name; }

LoopContractTest::LoopContractTest()
    : backend_(GetParam().make()),
      resources_(korvane::embedded::UiTestSamples()),
      program_(backend_->Get(), resources_),
      start_ms_(backend_->Get().Time().NowMs()) {
  resources_.AddCopy("Main.layout.json", std::string(AsChars(kMainLayout)));
  resources_.AddCopy("Clock.layout.json", std::string(AsChars(kClockLayout)));
  for (const char* name : {"OnMainCreated", "OnCloseClicked", "OnDialogCreated", "OnOpenClicked", "OnClockCreated",
                           "OnFirstTick", "OnSecondTick"}) {
    program_.BindHandler(name, [](const Event&) {});
  }
  backend_->Serve(program_, user_);
}

void LoopContractTest::ExpectOnTime(const std::vector<std::int64_t>& times,
                                    const std::vector<std::int64_t>& due) const {
  ASSERT_EQ(times.size(), due.size());
  for (std::size_t i = 0; i < times.size(); ++i) {
    if (backend_->ExactTime()) {
      EXPECT_EQ(times[i], due[i]) << "tick " << i;
    } else {
      EXPECT_GE(times[i], due[i]) << "tick " << i;
    }
  }
}

namespace {

using ::testing::ElementsAre;

TEST_P(LoopContractTest, CreatedRunsAtOnceAndACloseRequestWaitsForTheRestOfItsHandler) {
  UnitId main = 0;
  program_.BindHandler("OnMainCreated", [&](const Event& event) {
    Window window = event.source.ParentWindow();
    main = window.Id();
    trace_.push_back("created");
    program_.DestroyUnit(window);
    trace_.push_back(window.IsAlive() ? "still open" : "closed");
    window.SetCaption("改过");
    trace_.push_back(window.Caption() == "改过" ? "caption set" : "caption lost");
  });
  program_.SetFinaliser([&] { trace_.push_back(Inspect().Windows().empty() ? "finaliser, closed" : "finaliser, open"); });
  EXPECT_EQ(program_.Run([&] {
              program_.LoadWindow("Main", false);
              trace_.push_back("load returned");
            }),
            0);
  EXPECT_THAT(trace_, ElementsAre("created", "still open", "caption set", "load returned", "finaliser, closed"));
  EXPECT_TRUE(backend_->ViewClosed(main, "Main"));
}

TEST_P(LoopContractTest, ModalWindowsThreeDeepDisableTheOthersAndEachReturnsOnlyWhenClosed) {
  int depth = 0;
  program_.BindHandler("OnDialogCreated", [&](const Event& event) {
    const int mine = ++depth;
    trace_.push_back("created " + std::to_string(mine));
    for (const Window& window : Inspect().Windows()) {
      if (window != event.source) {
        EXPECT_FALSE(window.Interactive());
      }
    }
    if (mine < 3) {
      program_.LoadWindow("Dialog", true);
      trace_.push_back("returned to " + std::to_string(mine));
    }
  });
  program_.BindHandler("OnMainCreated", [&](const Event& event) {
    program_.LoadWindow("Dialog", true);
    trace_.push_back("main resumes");
    EXPECT_TRUE(Window(event.source.ParentWindow()).Interactive());
    program_.DestroyUnit(event.source);
  });
  program_.BindHandler("OnCloseClicked", [&](const Event&) { trace_.push_back("clicked behind the dialogs"); });
  user_
      .Then([&] {
        trace_.push_back("user at depth " + std::to_string(Inspect().Windows().size() - 1));
        backend_->PressEsc(Top());
      })
      .Then([&] { backend_->PressEsc(Top()); })
      .Then([&] { backend_->Click(Inspect().Windows().front().Find<Unit>("按钮_关闭")); })  // refused
      .Then([&] { backend_->PressEsc(Top()); });

  EXPECT_EQ(program_.Run([&] { program_.LoadWindow("Main", false); }), 0);
  EXPECT_THAT(trace_, ElementsAre("created 1", "created 2", "created 3", "user at depth 3", "returned to 2",
                                  "returned to 1", "main resumes"));
}

TEST_P(LoopContractTest, AModalWindowFromACreatedHandlerRunsInsideItUntilAClickClosesIt) {
  program_.BindHandler("OnMainCreated", [&](const Event& event) {
    trace_.push_back("main created");
    program_.LoadWindow("Dialog", true);
    trace_.push_back(event.source.IsAlive() ? "main still open" : "main gone");
    program_.DestroyUnit(event.source);
  });
  program_.BindHandler("OnOpenClicked", [&](const Event& event) {
    trace_.push_back("clicked in dialog");
    program_.DestroyUnit(event.source.ParentWindow());
    trace_.push_back("handler ends");
  });
  user_.Then([&] { backend_->Click(Top().Find<Unit>("按钮_打开")); });
  EXPECT_EQ(program_.Run([&] {
              program_.LoadWindow("Main", false);
              trace_.push_back("start code ends");
            }),
            0);
  EXPECT_THAT(trace_,
              ElementsAre("main created", "clicked in dialog", "handler ends", "main still open", "start code ends"));
}

TEST_P(LoopContractTest, TheProgramEndsOnlyAfterItsLastHiddenWindowHasClosed) {
  program_.BindHandler("OnMainCreated", [&](const Event& event) { event.source.ParentWindow().SetVisible(false); });
  user_
      .At(200,
          [&] {
            trace_.push_back(Inspect().Windows().size() == 1 ? "hidden window keeps it running" : "ended early");
            program_.DestroyUnit(Top());
          })
      .Then([&] { trace_.push_back("must not run: the program has ended"); });
  EXPECT_EQ(program_.Run([&] { program_.LoadWindow("Main", false); }), 0);
  EXPECT_THAT(trace_, ElementsAre("hidden window keeps it running"));
}

TEST_P(LoopContractTest, TimersTickOnTimeAndOneStopsItselfInItsOwnTick) {
  std::vector<std::int64_t> first;
  std::vector<std::int64_t> second;
  program_.BindHandler("OnFirstTick", [&](const Event& event) {
    first.push_back(Elapsed());
    Timer(program_, event.source.Id()).SetInterval(0);
  });
  program_.BindHandler("OnSecondTick", [&](const Event& event) {
    second.push_back(Elapsed());
    if (second.size() == 3) program_.DestroyUnit(event.source.ParentWindow());
  });
  EXPECT_EQ(program_.Run([&] { program_.LoadWindow("Clock", false); }), 0);
  ExpectOnTime(first, {100});
  ExpectOnTime(second, {150, 300, 450});
}

TEST_P(LoopContractTest, ATimerTicksBehindAModalWindowAndASetIntervalRestartsIt) {
  std::vector<std::int64_t> ticks;
  program_.BindHandler("OnClockCreated", [&](const Event&) {
    program_.LoadWindow("Dialog", true);
    program_.EndProgram(7);
  });
  program_.BindHandler("OnSecondTick", [&](const Event& event) {
    ticks.push_back(Elapsed());
    EXPECT_EQ(Inspect().Windows().size(), 2u) << "the dialog is up";
    Timer timer(program_, event.source.Id());
    if (timer.Interval() == 150) timer.SetInterval(10);
    if (ticks.size() == 3) program_.DestroyUnit(Top());
  });
  EXPECT_EQ(program_.Run([&] { program_.LoadWindow("Clock", false); }), 7);
  ExpectOnTime(ticks, {150, 160, 170});
}

TEST_P(LoopContractTest, DelayLetsTimersFallDueWithoutTickingAndPendingMessagesRunThem) {
  program_.BindHandler("OnFirstTick", [&](const Event& event) {
    trace_.push_back("tick");
    Timer(program_, event.source.Id()).SetInterval(0);
  });
  program_.BindHandler("OnClockCreated", [&](const Event& event) {
    program_.Delay(150);
    trace_.push_back(Elapsed() >= 150 ? "after delay" : "delay too short");
    program_.ProcessPendingMessages();
    trace_.push_back("after pending");
    program_.DestroyUnit(event.source);
    program_.ProcessPendingMessages();
    trace_.push_back(event.source.IsAlive() ? "open" : "closed by pending messages");
  });
  EXPECT_EQ(program_.Run([&] { program_.LoadWindow("Clock", false); }), 0);
  EXPECT_THAT(trace_, ElementsAre("after delay", "tick", "after pending", "closed by pending messages"));
}

TEST_P(LoopContractTest, PostedWorkRunsInOrderOnceTheRunningHandlerHasReturned) {
  program_.BindHandler("OnMainCreated", [&](const Event& event) {
    Backend& backend = backend_->Get();
    backend.Post([&, main = event.source.ParentWindow()] {
      trace_.push_back("first");
      backend.Post([&, main] {
        trace_.push_back("posted by the first");
        program_.DestroyUnit(main);
      });
    });
    backend.Post([&] { trace_.push_back("second"); });
    trace_.push_back("handler ends");
  });
  EXPECT_EQ(program_.Run([&] { program_.LoadWindow("Main", false); }), 0);
  EXPECT_THAT(trace_, ElementsAre("handler ends", "first", "second", "posted by the first"));
}

TEST_P(LoopContractTest, AMessageBoxReturnsTheButtonTheUserAnswered) {
  struct Question {
    MessageBoxButtons buttons;
    MessageBoxAnswer answer;
  };
  constexpr Question kQuestions[] = {
      {MessageBoxButtons::kOk, MessageBoxAnswer::kOk},
      {MessageBoxButtons::kOkCancel, MessageBoxAnswer::kCancel},
      {MessageBoxButtons::kYesNo, MessageBoxAnswer::kNo},
      {MessageBoxButtons::kYesNoCancel, MessageBoxAnswer::kYes},
      {MessageBoxButtons::kRetryCancel, MessageBoxAnswer::kRetry},
      {MessageBoxButtons::kAbortRetryIgnore, MessageBoxAnswer::kIgnore},
  };
  std::vector<MessageBoxAnswer> expected;
  std::vector<MessageBoxAnswer> answers;
  for (const Question& question : kQuestions) {
    expected.push_back(question.answer);
    user_
        .Then([&, question] {
          answers.push_back(program_.ShowMessageBox(
              "没有可用的更新", {question.buttons, MessageBoxIcon::kQuestion}, "在线升级"));
        })
        .Answer(question.answer);
  }
  user_.Then([&] { program_.DestroyUnit(Top()); });
  EXPECT_EQ(program_.Run([&] { program_.LoadWindow("Main", false); }), 0);
  EXPECT_EQ(answers, expected);
  ASSERT_EQ(Inspect().MessageBoxes().size(), std::size(kQuestions));
  EXPECT_EQ(Inspect().MessageBoxes().back().request.title, "在线升级");
  EXPECT_EQ(Inspect().MessageBoxes().back().answer, MessageBoxAnswer::kIgnore);
}

TEST_P(LoopContractTest, EndProgramInANestedLoopRunsTheFinaliserOnceAndUnwindsToRunWithItsCode) {
  int finalised = 0;
  program_.SetFinaliser([&] {
    ++finalised;
    trace_.push_back("finaliser");
  });
  program_.BindHandler("OnMainCreated", [&](const Event&) {
    program_.LoadWindow("Dialog", true);
    trace_.push_back("modal load returned");
  });
  program_.BindHandler("OnOpenClicked", [&](const Event&) {
    program_.EndProgram(7);
    trace_.push_back("after EndProgram");
  });
  user_.Then([&] { backend_->Click(Top().Find<Unit>("按钮_打开")); });
  EXPECT_EQ(program_.Run([&] {
              program_.LoadWindow("Main", false);
              trace_.push_back("after load");
            }),
            7);
  EXPECT_EQ(finalised, 1);
  EXPECT_THAT(trace_, ElementsAre("finaliser"));
  EXPECT_TRUE(Inspect().Windows().empty());
}

}  // namespace
}  // namespace korvane::platform::ui::testing
