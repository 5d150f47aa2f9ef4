// The real `Update` program, run as a black box on the headless backend: a script of user
// actions, a local server at the deployment's addresses, and the program's own dump.

#include <gtest/gtest.h>

#include "platform/core/path_map.h"
#include "tests/update/wizard/served_update.h"
#include "tests/update/wizard/update_program_run.h"

namespace korvane::update::testing {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

std::vector<Text> Rows(const json& control) {
  std::vector<Text> rows;
  if (control.is_null()) return rows;
  for (const json& row : control["rows"]) rows.push_back(Gbk(row));
  return rows;
}

Text Caption(const ProgramRun& run, std::string_view label, std::string_view control) {
  return Gbk(run.Control(label, control)["caption"]);
}

// No source for the update: only the invisible start window was ever open, and nothing
// was started.
void ExpectEndedWithoutAWindow(const ProgramRun& run) {
  EXPECT_EQ(run.exit_code, 0);
  std::vector<json> closed = run.Records("closed_window");
  ASSERT_EQ(closed.size(), 1u);
  EXPECT_EQ(closed[0]["name"], "UpdateStartWindow");
  EXPECT_TRUE(run.Records("program_started").empty());
}

class UpdateProgramEndToEndTest : public ::testing::Test {
 protected:
  void InstallVersionOne() { release_.InstallVersionOne(program_.Installed("")); }
  void PublishVersion(std::string_view version, const fs::path& folder) {
    ASSERT_TRUE(PublishUpdate(folder, version, release_.VersionTwo()));
  }
  bool InstalledIsVersionOne() {
    return program_.ReadFile(program_.Installed("a.dll")) == release_.old_a &&
           program_.ReadFile(program_.Installed("codec/b.dll")) == "old b" &&
           program_.ReadFile(program_.Installed("up.dat")) == release_.LocalListText();
  }
  // The program folder's "\Player.exe" as the program names it.
  Text PlayerPath() const { return platform::CorePath(program_.Installed("Player.exe")); }

  UpdateProgramRun program_;
  ExampleRelease release_;
};

TEST_F(UpdateProgramEndToEndTest, SwitchOneUpdatesEveryChangedFileAndCancelStartsPlayer) {
  InstallVersionOne();
  program_.ServeSwitch("1");
  PublishVersion("2.0", program_.ServedUpdate(""));
  ProgramRun run = program_.Run(
      "dump start\n"
      "click 图形按钮_下一步\n"
      "dump list\n"
      "click 图形按钮_下一步\n"
      "dump done\n"
      "click 图形按钮_取消\n");
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(Caption(run, "start", "标签_网络状态"), "连接Internet正常，可以进行在线升级操作。");
  EXPECT_EQ(Caption(run, "list", "标签_功能说明"), "当前版本：1.0 --- 最新版本：2.0");
  EXPECT_EQ(Caption(run, "list", "标签_网络状态"), "升级到最新版本，需要更新以下 2 个文件：");
  EXPECT_EQ(Rows(run.Control("list", "列表框_更新文件")), (std::vector<Text>{"a.dll", "b.dll"}));
  EXPECT_EQ(Rows(run.Control("list", "列表框_文件大小")), (std::vector<Text>{"48.8", "1.5"}));
  EXPECT_EQ(Rows(run.Control("done", "列表框_状态")), (std::vector<Text>{"完成", "完成", ""}));
  EXPECT_EQ(Caption(run, "done", "标签_功能说明"), "您的产品及组件已经更新到最新状态。");
  EXPECT_EQ(run.Control("done", "图形按钮_取消")["pictures"]["normal"], "pictures/ok_normal.bmp");
  EXPECT_FALSE(run.Control("done", "图形按钮_下一步")["visible"].get<bool>());

  EXPECT_TRUE(program_.ReadFile(program_.Installed("a.dll")) == release_.new_a);
  EXPECT_TRUE(program_.ReadFile(program_.Installed("codec/b.dll")) == release_.new_b);
  EXPECT_EQ(program_.ReadFile(program_.Installed("keep.dll")), "keep");
  EXPECT_EQ(program_.ReadFile(program_.Installed("up.dat")),
            ServerListText("2.0", release_.VersionTwo()));
  EXPECT_FALSE(fs::exists(program_.Installed("update")));

  std::vector<json> started = run.Records("program_started");
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(Gbk(started[0]["verb"]), "open");
  EXPECT_EQ(Gbk(started[0]["file"]), PlayerPath());
}

TEST_F(UpdateProgramEndToEndTest, SwitchTwoWithEqualVersionsShowsNoUpdateAndTheCloseBoxStartsNothing) {
  InstallVersionOne();
  program_.ServeSwitch("2");
  PublishVersion("1.0", program_.ServedControl("home/playercenter/update"));
  ProgramRun run = program_.Run(
      "click 图形按钮_下一步\n"
      "dump page\n"
      "close UpdateWizard\n");
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(Caption(run, "page", "标签_功能说明"), "目前没有推荐给您的程序更新");
  EXPECT_EQ(Caption(run, "page", "标签_指导操作"), "请点击确定，关闭更新窗口！");
  EXPECT_FALSE(run.Control("page", "图形按钮_下一步")["visible"].get<bool>());
  EXPECT_EQ(run.Control("page", "图形按钮_取消")["pictures"]["hover"], "pictures/ok_hover.bmp");
  EXPECT_TRUE(InstalledIsVersionOne());
  EXPECT_FALSE(fs::exists(program_.Installed("update")));
  EXPECT_TRUE(run.Records("program_started").empty());
}

TEST_F(UpdateProgramEndToEndTest, AnotherSwitchValueEndsWithoutAWindow) {
  InstallVersionOne();
  program_.ServeSwitch("0");
  ExpectEndedWithoutAWindow(program_.Run(""));
}

TEST_F(UpdateProgramEndToEndTest, WithoutAnAnswerFromTheControlServerNoWindowOpens) {
  InstallVersionOne();
  program_.ServeSwitch("1");
  program_.StopServing();
  ExpectEndedWithoutAWindow(program_.Run(""));
  EXPECT_TRUE(InstalledIsVersionOne());
}

TEST_F(UpdateProgramEndToEndTest, WithoutNetworkNextIsDisabledAndEscStartsNothing) {
  InstallVersionOne();
  program_.ServeSwitch("1");
  ProgramRun run = program_.Run("dump start\nkey Esc\n", {{"KORVANE_PROBE_UNRESOLVABLE", "1"}});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(Caption(run, "start", "标签_网络状态"), "连接Internet失败，请检查网络连接后重新测试。");
  EXPECT_EQ(Caption(run, "start", "标签_指导操作"), "点击取消将退出在线升级。");
  EXPECT_FALSE(run.Control("start", "图形按钮_下一步")["enabled"].get<bool>());
  EXPECT_TRUE(run.Records("program_started").empty());
}

TEST_F(UpdateProgramEndToEndTest, AMissingArchiveFailsTheReplacementAndKeepsTheInstalledFiles) {
  InstallVersionOne();
  program_.ServeSwitch("1");
  PublishVersion("2.0", program_.ServedUpdate(""));
  fs::remove(program_.ServedUpdate("a.dll.zip"));
  ProgramRun run = program_.Run(
      "click 图形按钮_下一步\n"
      "click 图形按钮_下一步\n"
      "dump failed\n"
      "click 图形按钮_取消\n");
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_TRUE(run.Control("failed", "图片框_出错提示")["visible"].get<bool>());
  EXPECT_EQ(Caption(run, "failed", "编辑框_出错提示"),
            "    替换文件 'a.dll' 时出错，可能文件正在使用中，请检查！");
  EXPECT_TRUE(InstalledIsVersionOne());
  EXPECT_EQ(run.Records("program_started").size(), 1u);
}

// The list names a.dll twice. The first transfer gets one block and then "Not Found", so
// a partial archive stays in place; the second transfer of the same archive resumes it.
TEST_F(UpdateProgramEndToEndTest, ADownloadResumesFromAPartialArchiveLeftInPlace) {
  InstallVersionOne();
  program_.ServeSwitch("1");
  std::vector<ServedFile> files = release_.VersionTwo();
  files.push_back(files[0]);
  ASSERT_TRUE(PublishUpdate(program_.ServedUpdate(""), "2.0", files));
  const std::string archive = program_.ReadFile(program_.ServedUpdate("a.dll.zip"));
  ASSERT_GT(archive.size(), 40960u);
  const std::string path = "/" + program_.ServedUpdate("a.dll.zip")
                                     .lexically_relative(program_.ServedControl("")).string();
  testing_support::ScriptedAnswer first_block;
  first_block.status = 206;
  first_block.body = archive.substr(0, 20480);
  first_block.headers = {{"Content-Range", "bytes 0-20479/" + std::to_string(archive.size())}};
  program_.Server().ScriptNext(path, first_block);
  testing_support::ScriptedAnswer missing;
  missing.status = 404;
  program_.Server().ScriptNext(path, missing);

  ProgramRun run = program_.Run(
      "click 图形按钮_下一步\n"
      "click 图形按钮_下一步\n"
      "dump done\n"
      "click 图形按钮_取消\n");
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_TRUE(program_.ReadFile(program_.Installed("a.dll")) == release_.new_a);
  EXPECT_EQ(program_.ReadFile(program_.Installed("up.dat")), ServerListText("2.0", files));
  std::vector<std::string> ranges;
  for (const auto& request : program_.Server().Requests()) {
    if (request.target == path) ranges.push_back(request.Header("Range"));
  }
  ASSERT_GE(ranges.size(), 3u);
  EXPECT_EQ(ranges[0], "bytes=0-20479");
  EXPECT_EQ(ranges[1], "bytes=20480-40959");
  EXPECT_EQ(ranges[2], "bytes=20480-40959");  // the second transfer starts where the first stopped
}

// A server that answers every request with the whole file: the list archive cannot be
// fetched, so the error panel says so, Next stays disabled and the local list stays.
TEST_F(UpdateProgramEndToEndTest, AServerThatIgnoresRangesReplacesNothing) {
  InstallVersionOne();
  program_.ServeSwitch("1");
  PublishVersion("2.0", program_.ServedUpdate(""));
  program_.Server().ServeFolder(program_.ServedControl(""), testing_support::RangeSupport::kIgnore);
  ProgramRun run = program_.Run(
      "click 图形按钮_下一步\n"
      "dump list\n"
      "click 图形按钮_取消\n");
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(Caption(run, "list", "编辑框_出错提示"),
            "    获取升级列表文件失败，可能服务器正在维护中，请稍后再试！");
  EXPECT_TRUE(run.Control("list", "图片框_出错提示")["visible"].get<bool>());
  EXPECT_FALSE(run.Control("list", "图形按钮_下一步")["enabled"].get<bool>());
  EXPECT_TRUE(InstalledIsVersionOne());
}

// Two Updates started at once in one folder (a double click). The list's answer is held
// back, so whichever runs waits inside its first download; the other ends without a
// window or a request. Once the answer goes, the one that ran updates alone.
TEST_F(UpdateProgramEndToEndTest, OfTwoUpdatesStartedAtOnceInOneFolderOnlyOneRuns) {
  InstallVersionOne();
  program_.ServeSwitch("1");
  PublishVersion("2.0", program_.ServedUpdate(""));
  const std::string archive = program_.ReadFile(program_.ServedUpdate("up.dat.zip"));
  const std::string path = "/" + program_.ServedUpdate("up.dat.zip")
                                     .lexically_relative(program_.ServedControl("")).string();
  testing_support::ScriptedAnswer held;
  held.status = 206;
  held.body = archive;
  held.headers = {{"Content-Range", "bytes 0-" + std::to_string(archive.size() - 1) + "/" +
                                        std::to_string(archive.size())}};
  held.stall = true;
  program_.Server().ScriptNext(path, held);
  const std::string script =
      "click 图形按钮_下一步\n"
      "click 图形按钮_下一步\n"
      "click 图形按钮_取消\n";
  std::vector<StartedProgram> programs = {program_.Start(script), program_.Start(script)};
  const std::size_t ended = testing_support::WaitForFirst(programs);
  ASSERT_LT(ended, programs.size());
  ProgramRun second = program_.Finish(programs[ended]);
  EXPECT_EQ(second.exit_code, 0);
  EXPECT_TRUE(second.Records("closed_window").empty());
  EXPECT_TRUE(second.Records("program_started").empty());
  // The one that runs may not have asked yet: release the answer only once it is held.
  ASSERT_TRUE(program_.Server().WaitForHeldAnswers(1));
  int list_requests = 0;
  for (const auto& request : program_.Server().Requests()) list_requests += request.target == path;
  EXPECT_EQ(list_requests, 1);

  program_.Server().ReleaseStalls();
  ProgramRun first = program_.Finish(programs[1 - ended]);
  EXPECT_EQ(first.exit_code, 0);
  EXPECT_EQ(first.Records("program_started").size(), 1u);
  EXPECT_TRUE(program_.ReadFile(program_.Installed("a.dll")) == release_.new_a);
  EXPECT_EQ(program_.ReadFile(program_.Installed("up.dat")),
            ServerListText("2.0", release_.VersionTwo()));
  EXPECT_FALSE(fs::exists(program_.Installed("update")));
}

}  // namespace
}  // namespace korvane::update::testing
