// Automation settings and the recording shell of a black-box run.

#include <map>
#include <sstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ui/automation.h"
#include "platform/ui/automation_seams.h"
#include "platform/ui/dump.h"
#include "tests/platform/ui/ui_test_fixture.h"

namespace korvane::platform::ui::testing {
namespace {

using ::testing::HasSubstr;

AutomationSettings SettingsFrom(const std::map<std::string, std::string>& environment) {
  return ReadAutomationSettings([&](const char* name) -> std::optional<std::string> {
    auto found = environment.find(name);
    if (found == environment.end()) return std::nullopt;
    return found->second;
  });
}

TEST(AutomationSettingsTest, OnlyTheDocumentedValuesSwitchTheModesOn) {
  AutomationSettings on = SettingsFrom({{"KORVANE_UI", "headless"}, {"KORVANE_UI_TIME", "virtual"},
                                        {"KORVANE_UI_SCRIPT", "s.txt"}, {"KORVANE_UI_DUMP", "d.jsonl"},
                                        {"KORVANE_PROBE_UNRESOLVABLE", "1"},
                                        {"KORVANE_PROGRAM_FOLDER", "/opt/korvane"},
                                        {"KORVANE_INSTANCE_SCOPE", "run-7"}});
  EXPECT_TRUE(on.headless);
  EXPECT_TRUE(on.virtual_time);
  EXPECT_TRUE(on.unresolvable_names);
  EXPECT_EQ(on.script_path, "s.txt");
  EXPECT_EQ(on.dump_path, "d.jsonl");
  EXPECT_EQ(ProgramFolder(on), "/opt/korvane");
  EXPECT_EQ(on.instance_scope, "run-7");
  AutomationSettings off = SettingsFrom({{"KORVANE_UI", "Headless"}, {"KORVANE_UI_TIME", "real"},
                                         {"KORVANE_PROBE_UNRESOLVABLE", "0"}, {"KORVANE_PROGRAM_FOLDER", ""}});
  EXPECT_FALSE(off.headless);
  EXPECT_FALSE(off.virtual_time);
  EXPECT_FALSE(off.unresolvable_names);
  EXPECT_EQ(ProgramFolder(off), std::filesystem::current_path());
  EXPECT_EQ(off.instance_scope, "") << "real use: one instance per user";
}

TEST(AutomationSettingsTest, ARelativeProgramFolderIsTakenFromTheCurrentDirectory) {
  AutomationSettings settings = SettingsFrom({{"KORVANE_PROGRAM_FOLDER", "run/../programs"}});
  EXPECT_EQ(ProgramFolder(settings), std::filesystem::current_path() / "programs");
}

TEST(AutomationSettingsTest, AScriptThatCannotBeReadStopsTheRunBeforeItStarts) {
  AutomationSettings settings;
  settings.script_path = "/nonexistent/script.txt";
  EXPECT_THROW(HeadlessSession(settings, nullptr), std::runtime_error);
}

using RecordingShellTest = HeadlessProgramTest;

TEST_F(RecordingShellTest, StartsAndAddressesAppearInTheDumpAndNothingRuns) {
  RecordingShell shell(backend_, "Update");
  EXPECT_TRUE(shell.RunShellVerb("open", "\\opt\\korvane\\Player.exe"));
  EXPECT_FALSE(shell.RunShellVerb("print", "\\opt\\korvane\\readme.txt"));
  EXPECT_TRUE(shell.OpenUrl("http://home.test/?soft"));
  EXPECT_EQ(shell.EndProcessByName("QvodPlayer.exe"), 0);
  EXPECT_EQ(shell.GetProgramFileName(), "Update");
  std::ostringstream dump;
  WriteDump(program_, backend_, "seams", dump);
  EXPECT_THAT(dump.str(), HasSubstr(R"({"file":"\\opt\\korvane\\Player.exe","parameters":"","record":"program_started","verb":"open"})"));
  EXPECT_THAT(dump.str(), HasSubstr(R"({"address":"http://home.test/?soft","record":"address_opened"})"));
  EXPECT_THAT(dump.str(), HasSubstr(R"({"file":"QvodPlayer.exe","record":"processes_ended"})"));
}

}  // namespace
}  // namespace korvane::platform::ui::testing
