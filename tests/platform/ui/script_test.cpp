// Reading scripts: quoting, comments, and faults reported before the program runs.

#include <stdexcept>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/platform/ui/ui_test_fixture.h"

namespace korvane::platform::ui::testing {
namespace {

using ::testing::ElementsAre;

TEST(ScriptParseTest, FaultyLinesAreReportedWithTheirNumber) {
  struct Case {
    const char* text;
    const char* message;
  };
  for (const Case& c : {Case{"click a\nfly b", "line 2: unknown action fly"},
                        Case{"click", "line 1: wrong number of values for click"},
                        Case{"# fine\nmenu \"open", "line 2: unclosed quote"}}) {
    SCOPED_TRACE(c.text);
    try {
      Script::Parse(c.text);
      ADD_FAILURE() << "no fault reported";
    } catch (const std::invalid_argument& fault) {
      EXPECT_THAT(fault.what(), ::testing::HasSubstr(c.message));
    }
  }
}

using ScriptRunTest = HeadlessProgramTest;

TEST_F(ScriptRunTest, QuotedNamesWorkAndUnknownNamesAreRecordedAsErrors) {
  script_ = Script::Parse(AsChars(u8"# a comment line\n"
                                  u8"click \"按钮_打开\" Dialog\n"
                                  u8"click 没有这个\n"
                                  u8"key Esc\n"));
  std::vector<Text> clicked;
  program_.BindHandler("OnStartCreated", [&](const Event&) { program_.LoadWindow("Dialog", true); });
  program_.BindHandler("OnOpenClicked", [&](const Event& event) {
    clicked.push_back(event.source.Name());
    program_.LoadWindow("Dialog", true);  // answered by the later lines
  });
  EXPECT_EQ(RunProgram([&] { program_.LoadWindow("Start", false); }), kStalledExitCode);
  EXPECT_THAT(clicked, ElementsAre("按钮_打开"));
  EXPECT_THAT(backend_.ScriptErrors(), ElementsAre("line 3: click: no control 没有这个"));
}

TEST_F(ScriptRunTest, TheScreenTakesTheSizeTheScriptGivesAndRefusesAnEmptyOne) {
  std::vector<Point> seen;
  auto probe = [&] { seen.push_back({program_.GetScreenWidth(), program_.GetScreenHeight()}); };
  script_ = Script::Parse("screen 1280 1024\ndump\nscreen 0 600\n");
  script_.Call(probe).Add("key", {"Esc"});
  program_.BindHandler("OnStartCreated", [](const Event&) {});
  RunProgram([&] { program_.LoadWindow("Start", false); });
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].x, 1280) << "unchanged by the empty screen";
  EXPECT_EQ(seen[0].y, 1024);
  EXPECT_THAT(backend_.ScriptErrors(), ElementsAre("line 3: screen: the screen needs a width and a height above 0"));
}

TEST_F(ScriptRunTest, AMessageBoxTakesOnlyAnAnswerItHasAButtonFor) {
  struct Case {
    MessageBoxButtons buttons;
    std::vector<Text> answer;  // none: the script gives no answer
    MessageBoxAnswer expected;
    bool script_error;
  };
  for (const Case& c : {Case{MessageBoxButtons::kYesNo, {"7"}, MessageBoxAnswer::kNo, false},
                        Case{MessageBoxButtons::kYesNo, {}, MessageBoxAnswer::kYes, false},
                        Case{MessageBoxButtons::kYesNo, {"1"}, MessageBoxAnswer::kYes, true},
                        Case{MessageBoxButtons::kRetryCancel, {"2"}, MessageBoxAnswer::kCancel, false}}) {
    SCOPED_TRACE(ButtonsName(c.buttons));
    HeadlessBackend backend(backend_.Time(), nullptr);
    Program program(backend, resources_);
    Script script;
    if (!c.answer.empty()) script.Add("answer", c.answer);
    backend.SetDriver(&script);
    EXPECT_EQ(program.ShowMessageBox("?", {c.buttons, MessageBoxIcon::kQuestion}, "Box"), c.expected);
    EXPECT_EQ(backend.ScriptErrors().empty(), !c.script_error);
  }
}

TEST_F(ScriptRunTest, AnExhaustedScriptOnVirtualTimeEndsTheRunAndTheFinaliserRuns) {
  int finalised = 0;
  program_.SetFinaliser([&] { ++finalised; });
  EXPECT_EQ(RunProgram([&] { program_.LoadWindow("Start", false); }), kStalledExitCode);
  EXPECT_TRUE(backend_.Stalled());
  EXPECT_EQ(finalised, 1);
}

}  // namespace
}  // namespace korvane::platform::ui::testing
