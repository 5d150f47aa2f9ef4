// The composition root under automation: the services the settings choose, the shell
// that records, the dump that ends with the exit code, and faults reported as exit 1.

#include "platform/app/program_root.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/core/path_map.h"
#include "tests/support/temp_folder.h"

namespace korvane::platform::app {
namespace {

using ::testing::HasSubstr;

class ProgramRootTest : public ::testing::Test {
 protected:
  ProgramRootTest() {
    settings_.headless = true;
    settings_.virtual_time = true;
    settings_.dump_path = (folder_.path() / "dump.jsonl").string();
    settings_.program_folder = folder_.path();
  }

  std::string Dump() const {
    std::ifstream in(settings_.dump_path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  testing_support::TempFolder folder_;
  ui::AutomationSettings settings_;
};

TEST_F(ProgramRootTest, AutomationGivesTheProgramFolderTheRecordingShellAndTheExitCodeInTheDump) {
  settings_.unresolvable_names = true;
  bool entered = false;
  const int code = RunProgram({"Probe", {}, [&](ProgramContext& platform) {
                                 entered = true;
                                 EXPECT_EQ(NativePath(platform.files.GetRunDirectory()), folder_.path());
                                 EXPECT_EQ(platform.resolver.HostNameToIp("localhost"), "");
                                 EXPECT_EQ(platform.shell.GetProgramFileName(), "Probe");
                                 EXPECT_TRUE(platform.shell.RunShellVerb("open", "\\opt\\Player.exe"));
                                 return 7;
                               }},
                              settings_);
  EXPECT_TRUE(entered);
  EXPECT_EQ(code, 7);
  EXPECT_THAT(Dump(), HasSubstr(R"("file":"\\opt\\Player.exe")"));
  EXPECT_THAT(Dump(), HasSubstr(R"({"record":"exit","code":7})"));
}

TEST_F(ProgramRootTest, NamesResolveUnlessTheSettingsSayOtherwise) {
  RunProgram({"Probe", {}, [](ProgramContext& platform) {
                EXPECT_EQ(platform.resolver.HostNameToIp("localhost"), "127.0.0.1");
                return 0;
              }},
             settings_);
}

TEST_F(ProgramRootTest, FaultsInTheSettingsOrTheProgramEndTheRunWithOne) {
  EXPECT_EQ(RunProgram({"Probe", {}, [](ProgramContext&) -> int { throw std::runtime_error("broken"); }},
                       settings_),
            1);
  settings_.script_path = (folder_.path() / "missing.txt").string();
  bool entered = false;
  EXPECT_EQ(RunProgram({"Probe", {}, [&](ProgramContext&) { return entered = true, 0; }}, settings_), 1);
  EXPECT_FALSE(entered) << "a script that cannot be read stops the run before it starts";
}

TEST_F(ProgramRootTest, ADesktopThatCannotBeMadeIsReportedAndEndsTheRunWithOne) {
  settings_.headless = false;
  bool entered = false;
  ::testing::internal::CaptureStderr();
  const int code = RunProgram({"Probe", {}, [&](ProgramContext&) { return entered = true, 0; }}, settings_,
                              []() -> ui::DesktopParts { throw std::runtime_error("no module here"); });
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Probe: no module here\n");
  EXPECT_EQ(code, 1);
  EXPECT_FALSE(entered);
}

}  // namespace
}  // namespace korvane::platform::app
