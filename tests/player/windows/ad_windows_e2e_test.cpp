// The ad windows of the real `Player` executable as a black box (headless, virtual time),
// against the local server of the remote files: the dump and the exit code are what a
// user would have met.

#include <gtest/gtest.h>

#include "tests/player/player_program_run.h"

namespace korvane::player::testing {
namespace {

using nlohmann::json;
using namespace remote;

constexpr char kCornerPage[] = "http://ads.test/corner.html";
constexpr char kExitPage[] = "http://ads.test/exit.html";

std::vector<Text> ClosedWindows(const ProgramRun& run) {
  std::vector<Text> names;
  for (const json& record : run.Records("closed_window")) names.push_back(Gbk(record["name"]));
  return names;
}

// Leaving 4 s after the start: the exit ad loads at 4.5 s and ends at 14.5 s, the corner
// ad closes itself at 15 s, and only then does the process end.
TEST(AdWindowsEndToEndTest, TheProcessEndsOnlyWhenTheCornerAdOutlivingTheExitAdCloses) {
  PlayerProgramRun program;
  program.ServeQuietStart();
  program.Serve(kCornerAdSwitch, "1");
  program.Serve(kCornerAdPage, kCornerPage);
  program.Serve(kExitAdSwitch, "1");
  program.Serve(kExitAdPage, kExitPage);
  const ProgramRun run = program.Run(
      "screen 1920 1080\nadvance 3000\ndump corner\nadvance 1000\nclick 主界面选项按钮\nmenu \" 退出\"\n"
      "dump exit\nadvance 10100\ndump after-exit\nadvance 400\ndump never\n");
  EXPECT_EQ(run.exit_code, 0) << run.error_output;

  const json corner = run.WindowIn("corner", "CornerAdWindow");
  EXPECT_TRUE(corner["visible"].get<bool>());
  EXPECT_EQ(corner["rect"], json::array({1620, 830, 300, 250}));
  const json exit_ad = run.WindowIn("exit", "ExitAdWindow");
  EXPECT_EQ(Gbk(exit_ad["caption"]), "演示影院退弹广告");
  EXPECT_TRUE(exit_ad["modal"].get<bool>());
  EXPECT_TRUE(exit_ad["taskbar_button"].get<bool>());
  EXPECT_FALSE(run.WindowIn("exit", "MainWindow")["visible"].get<bool>());
  EXPECT_TRUE(run.WindowIn("after-exit", "MainWindow").is_null());
  EXPECT_TRUE(run.WindowIn("after-exit", "CornerAdWindow").is_object());
  EXPECT_EQ(ClosedWindows(run), (std::vector<Text>{"MainWindow", "ExitAdWindow", "CornerAdWindow"}));
  EXPECT_TRUE(run.WindowIn("never", "CornerAdWindow").is_null());

  std::vector<std::string> targets = program.RequestTargets();
  for (const RemoteFile* file : {&kCornerAdPage, &kExitAdPage}) {
    EXPECT_EQ(std::count(targets.begin(), targets.end(), program.TargetOf(*file)), 1) << file->path;
  }
}

}  // namespace
}  // namespace korvane::player::testing
