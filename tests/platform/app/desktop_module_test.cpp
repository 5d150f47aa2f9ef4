// Both programs as built: a headless start loads no toolkit, and a run on the desktop
// loads the module beside the program, else the build's, and says on stderr why it
// cannot.

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

namespace korvane::platform::app {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

struct Output {
  int exit_code = -1;
  std::string text;  // standard output and error
};

Output RunShell(const std::string& command) {
  Output output;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[4096];
  for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.text.append(buffer, read);
  const int status = ::pclose(pipe);
  output.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return output;
}

class DesktopModuleTest : public ::testing::TestWithParam<const char*> {};

TEST_P(DesktopModuleTest, TheProgramLoadsNoToolkitAtStart) {
  const Output libraries = RunShell(std::string("ldd '") + GetParam() + "'");
  ASSERT_EQ(libraries.exit_code, 0) << libraries.text;
  std::istringstream lines(libraries.text);
  for (std::string line; std::getline(lines, line);) {
    for (const char* toolkit : {"gtk", "gdk", "webkit", "javascriptcore", "mpv"}) {
      EXPECT_EQ(line.find(toolkit), std::string::npos) << line;
    }
  }
}

// A copy of the program in a folder of its own, run for the desktop without a display and
// without the automation settings; what it said and its exit code.
Output RunCopyOnDesktop(const char* program, const char* module_beside) {
  testing_support::TempFolder folder;
  const fs::path copy = folder.path() / fs::path(program).filename();
  fs::copy_file(program, copy);
  if (module_beside != nullptr) testing_support::WriteFileBytes(folder.path() / "libkorvane_desktop.so", module_beside);
  return RunShell("cd '" + folder.path().string() + "' && env -i PATH=/usr/bin:/bin '" + copy.string() + "'");
}

TEST_P(DesktopModuleTest, WithoutAModuleBesideItTheProgramLoadsTheBuildsAndNeedsADisplay) {
  const Output run = RunCopyOnDesktop(GetParam(), nullptr);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_THAT(run.text, HasSubstr(": cannot open the display")) << "the build's module was not loaded";
}

TEST_P(DesktopModuleTest, AModuleBesideTheProgramIsTakenAndWhyItCannotBeLoadedIsSaid) {
  const Output run = RunCopyOnDesktop(GetParam(), "not a module");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_THAT(run.text, HasSubstr(": cannot load the desktop backend: "));
  EXPECT_THAT(run.text, HasSubstr("/libkorvane_desktop.so: "));
}

INSTANTIATE_TEST_SUITE_P(Programs, DesktopModuleTest, ::testing::Values(KORVANE_PLAYER_PROGRAM, KORVANE_UPDATE_PROGRAM),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return fs::path(info.param).filename().string();
                         });

}  // namespace
}  // namespace korvane::platform::app
