// The updater run whole in one process against a local server: pages, texts, files.

#include <gtest/gtest.h>

#include "platform/core/profile.h"
#include "tests/update/wizard/update_program_fixture.h"
#include "tools/publish/zip_writer.h"

namespace korvane::update::testing {
namespace {

namespace fs = std::filesystem;
using platform::ui::Alignment;
using platform::ui::DrawPanel;
using platform::ui::EditBox;
using platform::ui::Label;
using platform::ui::ListBox;
using platform::ui::PictureBox;
using platform::ui::PictureButton;

constexpr const char* kNext = "图形按钮_下一步";
constexpr const char* kCancel = "图形按钮_取消";
constexpr const char* kListFailure = "    获取升级列表文件失败，可能服务器正在维护中，请稍后再试！";

std::vector<Text> Rows(const ListBox& list) {
  std::vector<Text> rows;
  for (int row = 0; row < list.GetCount(); ++row) rows.push_back(list.GetItemText(row));
  return rows;
}

class UpdateFlowTest : public UpdateProgramTest {
 protected:
  ExampleRelease release_;
  const std::string& old_a_ = release_.old_a;
  const std::string& new_a_ = release_.new_a;
  const std::string& new_b_ = release_.new_b;

  void InstallVersionOne() { release_.InstallVersionOne(Installed("")); }
  std::string LocalListText() const { return release_.LocalListText(); }
  std::vector<ServedFile> VersionTwo() const { return release_.VersionTwo(); }
  std::string ServedList() const { return ServerListText("2.0", VersionTwo()); }
};

TEST_F(UpdateFlowTest, AnUpdateReplacesEveryChangedFileAndStoresTheServerList) {
  InstallVersionOne();
  ServeSwitch("1");
  ServeUpdate("2.0", VersionTwo());
  Check([&] {
    EXPECT_EQ(Control<Label>("标签_网络状态").Caption(), "连接Internet正常，可以进行在线升级操作。");
    EXPECT_EQ(Control<Label>("标签_指导操作").Caption(), "点击下一步将开始查询可用的更新。");
    EXPECT_TRUE(Control<PictureButton>(kNext).Enabled());
    EXPECT_EQ(program_->Globals().update_base, server_.Url("/update/"));
    EXPECT_EQ(program_->Globals().wizard_state, WizardState::kConnectivityPage);
  });
  Click(kNext);
  Check([&] {
    EXPECT_EQ(program_->Globals().wizard_state, WizardState::kUpdating);
    EXPECT_EQ(Control<Label>("标签_功能说明").Caption(), "当前版本：1.0 --- 最新版本：2.0");
    EXPECT_EQ(Control<Label>("标签_网络状态").Caption(), "升级到最新版本，需要更新以下 2 个文件：");
    EXPECT_EQ(Control<Label>("标签_网络状态").Top(), 63);
    EXPECT_EQ(Control<Label>("标签_指导操作").Caption(), "点击下一步进行更新。");
    EXPECT_EQ(Control<Label>("标签_指导操作").GetAlignment(), Alignment::kLeft);
    EXPECT_EQ(Control<Label>("标签_指导操作").Top(), 217);
    EXPECT_TRUE(Control<PictureBox>("图片框_更新列表").Visible());
    EXPECT_FALSE(Control<DrawPanel>("画板_水晶进度条_1").Visible());
    EXPECT_FALSE(Control<PictureButton>("图形按钮_重新测试网络").Visible());
    EXPECT_TRUE(Control<PictureButton>(kNext).Enabled());
    EXPECT_EQ(Rows(Control<ListBox>("列表框_更新文件")), (std::vector<Text>{"a.dll", "b.dll"}));
    EXPECT_EQ(Rows(Control<ListBox>("列表框_文件大小")), (std::vector<Text>{"48.8", "1.5"}));
    EXPECT_EQ(program_->Globals().total_size, 49);  // 48.8 -> 48, 48 + 1.5 -> 49
    EXPECT_EQ(program_->Globals().main_progress_bar->Position(), 100);  // the list's download
    EXPECT_FALSE(fs::exists(Installed("update/temp/a.dll.zip")));
  });
  // While a file downloads, its row is selected in all three columns; the status column
  // holds one row more than the files done.
  std::vector<std::string> rows_while_downloading;
  watched_files_.before_open = [&](std::string_view path) {
    if (path.find("\\update\\temp\\") == std::string_view::npos || path.ends_with("up.dat.zip")) {
      return;
    }
    const ListBox status = Control<ListBox>("列表框_状态");
    rows_while_downloading.push_back(
        std::to_string(Control<ListBox>("列表框_更新文件").Selection()) + " " +
        std::to_string(Control<ListBox>("列表框_文件大小").Selection()) + " " +
        std::to_string(status.Selection()) + " of " + std::to_string(status.GetCount()));
  };
  Click(kNext);
  Check([&] {
    EXPECT_EQ(rows_while_downloading, (std::vector<std::string>{"0 0 0 of 1", "1 1 1 of 2"}));
    EXPECT_TRUE(ReadFile(Installed("a.dll")) == new_a_);
    EXPECT_TRUE(ReadFile(Installed("codec/b.dll")) == new_b_);
    EXPECT_EQ(ReadFile(Installed("keep.dll")), "keep");
    EXPECT_EQ(ReadFile(Installed("up.dat")), ServedList());
    EXPECT_FALSE(fs::exists(Installed("update")));
    EXPECT_EQ(Rows(Control<ListBox>("列表框_状态")), (std::vector<Text>{"完成", "完成", ""}));
    EXPECT_EQ(Control<ListBox>("列表框_状态").Selection(), 1);
    EXPECT_EQ(Control<ListBox>("列表框_更新文件").Selection(), 1);
    EXPECT_EQ(Control<Label>("标签_功能说明").Caption(), "您的产品及组件已经更新到最新状态。");
    EXPECT_EQ(Control<Label>("标签_网络状态").Caption(), "如果想了解最新的发布动态，请访问我们的官方网站！");
    EXPECT_EQ(Control<Label>("标签_网络状态").Top(), 80);
    EXPECT_EQ(Control<Label>("标签_指导操作").Caption(), "请点击确定，关闭更新窗口！");
    EXPECT_TRUE(Control<Label>("标签_指导操作").Visible());
    EXPECT_FALSE(Control<PictureButton>(kNext).Visible());
    EXPECT_FALSE(Control<PictureBox>("图片框_更新列表").Visible());
    EXPECT_FALSE(Control<PictureBox>("图片框_出错提示").Visible());
    EXPECT_EQ(Control<PictureButton>(kCancel).NormalPicture(), "pictures/ok_normal.bmp");
    EXPECT_EQ(Control<PictureButton>(kCancel).HoverPicture(), "pictures/ok_hover.bmp");
    EXPECT_EQ(Control<PictureButton>(kCancel).PressedPicture(), "pictures/ok_pressed.bmp");
    EXPECT_EQ(program_->Globals().done_size, 49);
    EXPECT_EQ(program_->Globals().main_progress_bar->Position(), 100);
    EXPECT_EQ(program_->Globals().file_progress_bar->Position(), 100);
    EXPECT_FALSE(Control<DrawPanel>("画板_水晶进度条_1").Visible());
    EXPECT_FALSE(Control<DrawPanel>("画板_水晶进度条_2").Visible());
  });
  Click(kCancel);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(shell_runs_, (std::vector<std::string>{"open " + folder_ + "\\Player.exe"}));
  // The 50000-byte archive came in 20 KB blocks, each a ranged request.
  int archive_requests = 0;
  for (const auto& request : server_.Requests()) {
    if (request.target == "/update/a.dll.zip") {
      ++archive_requests;
      EXPECT_TRUE(request.HasHeader("Range"));
    }
  }
  EXPECT_GE(archive_requests, 1);
}

// Whatever the work folder holds by the end, the list stored is the one compared.
TEST_F(UpdateFlowTest, TheListStoredAtTheEndIsTheListCompared) {
  InstallVersionOne();
  ServeSwitch("1");
  ServeUpdate("2.0", VersionTwo());
  Click(kNext);
  Check([&] {
    watched_files_.before_open = [&](std::string_view path) {
      if (path.ends_with("a.dll.zip")) WriteFile(Installed("update/up.dat"), ServerListText("3.0", {}));
    };
  });
  Click(kNext);
  Check([&] {
    EXPECT_EQ(Control<Label>("标签_功能说明").Caption(), "您的产品及组件已经更新到最新状态。");
    EXPECT_EQ(ReadFile(Installed("up.dat")), ServedList());
  });
  Click(kCancel);
  EXPECT_EQ(Run(), 0);
}

// A replacement killed before its rename leaves a temporary copy beside the installed
// file; the next replacement of that file removes it, and nothing else.
TEST_F(UpdateFlowTest, AReplacementRemovesTheTemporariesOfAKilledOne) {
  InstallVersionOne();
  ServeSwitch("1");
  ServeUpdate("2.0", VersionTwo());
  WriteFile(Installed("a.dll.tmp-Ab12Cd"), new_a_);
  WriteFile(Installed("codec/b.dll.tmp-Zz99Yy"), "part");
  WriteFile(Installed("keep.dll.tmp-Ab12Cd"), "not listed");
  WriteFile(Installed("a.dll.tmp-notours"), "not a temporary");
  Click(kNext);
  Click(kNext);
  Click(kCancel);
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(ReadFile(Installed("a.dll")) == new_a_);
  EXPECT_FALSE(fs::exists(Installed("a.dll.tmp-Ab12Cd")));
  EXPECT_FALSE(fs::exists(Installed("codec/b.dll.tmp-Zz99Yy")));
  EXPECT_TRUE(fs::exists(Installed("keep.dll.tmp-Ab12Cd")));
  EXPECT_TRUE(fs::exists(Installed("a.dll.tmp-notours")));
}

// What the pages show while their downloads run: the fetch page with the list bar at the
// position that attaching gives, then the download page with both bars, the overall bar
// moving after each file and the file bar keeping the last file's percent.
TEST_F(UpdateFlowTest, ThePagesWhileTheirDownloadsRun) {
  InstallVersionOne();
  ServeSwitch("1");
  ServeUpdate("2.0", VersionTwo());
  std::vector<std::string> seen;
  watched_files_.before_open = [&](std::string_view path) {
    if (path.find("\\update\\temp\\") == std::string_view::npos) return;
    const UpdateGlobals& globals = program_->Globals();
    if (path.ends_with("up.dat.zip")) {
      EXPECT_EQ(globals.wizard_state, WizardState::kListingFiles);
      EXPECT_FALSE(Control<PictureButton>(kNext).Enabled());
      EXPECT_FALSE(Control<PictureButton>("图形按钮_重新测试网络").Visible());
      EXPECT_EQ(Control<Label>("标签_功能说明").Caption(), "正在为您检查最新的程序文件，请稍后。");
      EXPECT_EQ(Control<Label>("标签_网络状态").Caption(), "该过程可能需要几分钟。");
      EXPECT_EQ(Control<Label>("标签_网络状态").Top(), 63);
      EXPECT_EQ(Control<Label>("标签_指导操作").Caption(), "正在下载更新列表......");
      EXPECT_EQ(Control<Label>("标签_指导操作").Top(), 188);
      EXPECT_EQ(Control<Label>("标签_指导操作").GetAlignment(), Alignment::kCentre);
      EXPECT_TRUE(Control<DrawPanel>("画板_水晶进度条_1").Visible());
      EXPECT_EQ(globals.main_progress_bar->Maximum(), 100);
      EXPECT_EQ(globals.main_progress_bar->Style(), 9);
      seen.push_back("list at " + std::to_string(globals.main_progress_bar->Position()));
      return;
    }
    EXPECT_FALSE(Control<Label>("标签_指导操作").Visible());
    EXPECT_FALSE(Control<PictureButton>(kNext).Enabled());
    EXPECT_TRUE(Control<DrawPanel>("画板_水晶进度条_1").Visible());
    EXPECT_TRUE(Control<DrawPanel>("画板_水晶进度条_2").Visible());
    EXPECT_EQ(Control<DrawPanel>("画板_水晶进度条_1").Height(), 20);
    EXPECT_EQ(globals.file_progress_bar->Style(), 9);
    seen.push_back("overall " + std::to_string(globals.main_progress_bar->Position()) +
                   " file " + std::to_string(globals.file_progress_bar->Position()));
  };
  Click(kNext);
  Click(kNext);
  Check([&] {
    // TotalSize 49 (48.8 + 1.5, truncated after each addition); a.dll's 48.8 counts 48.
    EXPECT_EQ(seen, (std::vector<std::string>{"list at 50", "overall 0 file 0",
                                              "overall 97 file 100"}));
  });
  Click(kCancel);
  EXPECT_EQ(Run(), 0);
}

TEST_F(UpdateFlowTest, EqualVersionsShowTheNoUpdatePage) {
  InstallVersionOne();
  ServeSwitch("1");
  ServeUpdate("1.0", VersionTwo());
  Click(kNext);
  Check([&] {
    EXPECT_EQ(program_->Globals().wizard_state, WizardState::kListingFiles);
    EXPECT_EQ(Control<Label>("标签_功能说明").Caption(), "目前没有推荐给您的程序更新");
    EXPECT_EQ(Control<Label>("标签_网络状态").Caption(), "如果想了解最新的发布动态，请访问我们的官方网站！");
    EXPECT_EQ(Control<Label>("标签_网络状态").Top(), 80);
    EXPECT_EQ(Control<Label>("标签_指导操作").Caption(), "请点击确定，关闭更新窗口！");
    EXPECT_EQ(Control<Label>("标签_指导操作").Left(), 116);
    EXPECT_EQ(Control<Label>("标签_指导操作").GetAlignment(), Alignment::kLeft);
    EXPECT_FALSE(Control<PictureButton>(kNext).Visible());
    EXPECT_FALSE(Control<DrawPanel>("画板_水晶进度条_1").Visible());
    EXPECT_EQ(Control<PictureButton>(kCancel).NormalPicture(), "pictures/ok_normal.bmp");
    EXPECT_FALSE(fs::exists(Installed("update")));
    EXPECT_EQ(ReadFile(Installed("up.dat")), LocalListText());
    // Next is hidden here; were it clicked in state 1, nothing would happen.
    program_->Wizard().OnNextClicked();
    EXPECT_EQ(program_->Globals().wizard_state, WizardState::kListingFiles);
    EXPECT_FALSE(fs::exists(Installed("update")));
  });
  Click(kCancel);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(shell_runs_.size(), 1u);
}

TEST_F(UpdateFlowTest, AMissingArchiveStopsTheReplacementAndKeepsTheInstalledFile) {
  InstallVersionOne();
  ServeSwitch("1");
  ServeUpdate("2.0", VersionTwo());
  fs::remove(Served("update/a.dll.zip"));
  // The server's "Not Found" for a.dll shows the list-fetch text while b.dll downloads.
  Text error_while_downloading;
  watched_files_.before_open = [&](std::string_view path) {
    if (!path.ends_with("b.dll.zip")) return;
    EXPECT_TRUE(Control<PictureBox>("图片框_出错提示").Visible());
    error_while_downloading = Control<EditBox>("编辑框_出错提示").Caption();
  };
  Click(kNext);
  Click(kNext);
  Check([&] {
    EXPECT_EQ(error_while_downloading,
              "    获取升级列表文件失败，可能服务器正在维护中，请稍后再试！");
    EXPECT_TRUE(ReadFile(Installed("a.dll")) == old_a_);
    EXPECT_EQ(ReadFile(Installed("codec/b.dll")), "old b");  // listed after it: not touched
    EXPECT_EQ(ReadFile(Installed("up.dat")), LocalListText());
    EXPECT_TRUE(fs::exists(Installed("update/up.dat")));
    EXPECT_TRUE(Control<PictureBox>("图片框_出错提示").Visible());
    EXPECT_EQ(Control<EditBox>("编辑框_出错提示").Caption(),
              "    替换文件 'a.dll' 时出错，可能文件正在使用中，请检查！");
    EXPECT_EQ(Control<Label>("标签_指导操作").Caption(), "正在替换更新文件，请稍等......");
    EXPECT_TRUE(Control<PictureButton>(kNext).Visible());
    EXPECT_FALSE(Control<PictureButton>(kNext).Enabled());
    EXPECT_EQ(Control<PictureButton>(kCancel).NormalPicture(), "pictures/cancel_normal.bmp");
  });
  script_.Add("close", {"UpdateWizard"});
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(shell_runs_.empty());
}

TEST_F(UpdateFlowTest, ANotFoundAnswerShowsTheListFetchTextOrTheNetworkText) {
  InstallVersionOne();
  ServeSwitch("1");
  Click(kNext);  // no up.dat.zip on the server
  Check([&] {
    EXPECT_TRUE(Control<PictureBox>("图片框_出错提示").Visible());
    EXPECT_EQ(Control<EditBox>("编辑框_出错提示").Caption(), kListFailure);
    // No list was had: no list page, and Next stays disabled under the panel.
    EXPECT_EQ(Control<Label>("标签_网络状态").Caption(), "该过程可能需要几分钟。");
    EXPECT_FALSE(Control<PictureButton>(kNext).Enabled());
    EXPECT_EQ(program_->Globals().wizard_state, WizardState::kListingFiles);
    SetNetworkReachable(false);
    program_->Wizard().OnDownloadFinished("", 404, "Not Found", 0);
    EXPECT_EQ(Control<EditBox>("编辑框_出错提示").Caption(), "    网络中断，请检查您的网络是否工作正常！");
    Control<EditBox>("编辑框_出错提示").SetCaption("");
    program_->Wizard().OnDownloadFinished("", 404, "not found", 0);
    EXPECT_EQ(Control<EditBox>("编辑框_出错提示").Caption(), "");
  });
  script_.Add("close", {"UpdateWizard"});
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(ReadFile(Installed("up.dat")), LocalListText());
}

TEST_F(UpdateFlowTest, AFilePathOutsideTheProgramFolderIsRefusedLikeAFailedCopy) {
  InstallVersionOne();
  ServeSwitch("1");
  std::vector<ServedFile> files = VersionTwo();
  files[0].path = "\\..\\a.dll";
  ServeUpdate("2.0", files);
  Click(kNext);
  Click(kNext);
  Check([&] {
    EXPECT_FALSE(fs::exists(temp_.path() / "a.dll"));
    EXPECT_TRUE(ReadFile(Installed("a.dll")) == old_a_);
    EXPECT_EQ(Control<EditBox>("编辑框_出错提示").Caption(),
              "    替换文件 'a.dll' 时出错，可能文件正在使用中，请检查！");
    EXPECT_EQ(ReadFile(Installed("up.dat")), LocalListText());
  });
  script_.Add("close", {"UpdateWizard"});
  EXPECT_EQ(Run(), 0);
}

// A file name with folders in it would put its archive outside the work folder: it is
// not fetched, and its replacement fails like a failed copy.
TEST_F(UpdateFlowTest, AFileNameThatIsNoBareNameIsNotFetched) {
  InstallVersionOne();
  ServeSwitch("1");
  std::vector<ServedFile> files = {{"..\\..\\..\\evil.dll", "\\evil.dll", "2013年1月5日9时", "1", "evil"}};
  ServeUpdate("2.0", files);
  Click(kNext);
  Click(kNext);
  Check([&] {
    EXPECT_EQ(Control<EditBox>("编辑框_出错提示").Caption(),
              "    替换文件 '..\\..\\..\\evil.dll' 时出错，可能文件正在使用中，请检查！");
    EXPECT_FALSE(fs::exists(temp_.path() / "evil.dll.zip"));
    EXPECT_FALSE(fs::exists(Installed("evil.dll")));
    for (const auto& request : server_.Requests()) {
      EXPECT_EQ(request.target.find("evil"), std::string::npos) << request.target;
    }
  });
  script_.Add("close", {"UpdateWizard"});
  EXPECT_EQ(Run(), 0);
}

TEST_F(UpdateFlowTest, WithoutALocalListTheInventoryIsBuiltFirst) {
  WriteFile(Installed("a.dll"), old_a_);
  ServeSwitch("1");
  ServeUpdate("2.0", VersionTwo());
  Click(kNext);
  Check([&] {
    EXPECT_EQ(Control<Label>("标签_功能说明").Caption(), "当前版本：未知 --- 最新版本：2.0");
    EXPECT_EQ(platform::ReadIniValue(folder_ + "\\up.dat", "a.dll", "文件路径"), "\\a.dll");
    EXPECT_EQ(platform::ReadIniValue(folder_ + "\\up.dat", "up.dat", "文件名"), "");
    EXPECT_EQ(Control<ListBox>("列表框_更新文件").GetCount(), 3);
  });
  script_.Add("close", {"UpdateWizard"});
  EXPECT_EQ(Run(), 0);
}

// The scan lets the window handle its messages between folders; a press on cancel at that
// moment hands over to Player and ends the program, and leaves no partial local list.
TEST_F(UpdateFlowTest, CancelDuringTheInventoryLeavesNoLocalList) {
  WriteFile(Installed("a.dll"), old_a_);
  WriteFile(Installed("codec/b.dll"), "old b");
  ServeSwitch("1");
  ServeUpdate("2.0", VersionTwo());
  // The program folder holds two subfolders (codec and the work folder), so the scan
  // pauses again after it has entered the first: the press posted there is handled then.
  watched_files_.before_search = [&](std::string_view pattern) {
    if (pattern == folder_ + "\\*.*" || pattern == folder_ + "\\*") return;
    watched_files_.before_search = nullptr;
    EXPECT_FALSE(fs::exists(Installed("up.dat")));
    backend_.Post([&] { platform::ui::InputOf(ui_).UserClick(Control<PictureButton>(kCancel)); });
  };
  Click(kNext);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(shell_runs_, (std::vector<std::string>{"open " + folder_ + "\\Player.exe"}));
  EXPECT_FALSE(fs::exists(Installed("up.dat")));
}

TEST_F(UpdateFlowTest, ADownloadResumesFromAPartialArchiveLeftInPlace) {
  InstallVersionOne();
  ServeSwitch("1");
  ServeUpdate("2.0", VersionTwo());
  const std::string archive = ReadFile(Served("update/a.dll.zip"));
  ASSERT_GT(archive.size(), 30000u);
  Click(kNext);
  Check([&] { WriteFile(Installed("update/temp/a.dll.zip"), archive.substr(0, 30000)); });
  Click(kNext);
  Check([&] {
    EXPECT_TRUE(ReadFile(Installed("a.dll")) == new_a_);
    std::vector<std::string> ranges;
    for (const auto& request : server_.Requests()) {
      if (request.target == "/update/a.dll.zip") ranges.push_back(request.Header("Range"));
    }
    ASSERT_FALSE(ranges.empty());
    EXPECT_EQ(ranges.front().rfind("bytes=30000-", 0), 0u) << ranges.front();
  });
  Click(kCancel);
  EXPECT_EQ(Run(), 0);
}

// A server that answers every request with the whole file: the list cannot be fetched,
// so the list page shows no files and Next changes nothing; file archives fail the same
// way, so their replacement fails.
TEST_F(UpdateFlowTest, AServerThatIgnoresRangesReplacesNothing) {
  InstallVersionOne();
  ServeSwitch("1");
  ServeUpdate("2.0", VersionTwo());
  Click(kNext);
  Check([&] {
    EXPECT_EQ(Control<ListBox>("列表框_更新文件").GetCount(), 2);
    server_.ServeFolder(temp_.path() / "served", testing_support::RangeSupport::kIgnore);
  });
  Click(kNext);
  Check([&] {
    EXPECT_TRUE(ReadFile(Installed("a.dll")) == old_a_);
    EXPECT_EQ(ReadFile(Installed("up.dat")), LocalListText());
    EXPECT_EQ(Control<EditBox>("编辑框_出错提示").Caption(),
              "    替换文件 'a.dll' 时出错，可能文件正在使用中，请检查！");
  });
  script_.Add("close", {"UpdateWizard"});
  EXPECT_EQ(Run(), 0);
}

// Ways the server's list is not had after the connection check. Each shows the list
// failure, never a list page or the finished page, and stores nothing.
enum class ListFailure { kServerGone, kRangesIgnored, kHtmlPage, kArchiveWithoutList, kListWithoutVersion };

std::string ListFailureName(const ::testing::TestParamInfo<ListFailure>& info) {
  constexpr const char* kNames[] = {"ServerGone", "RangesIgnored", "HtmlPage",
                                    "ArchiveWithoutList", "ListWithoutVersion"};
  return kNames[static_cast<int>(info.param)];
}

class ListFailureTest : public UpdateFlowTest,
                        public ::testing::WithParamInterface<ListFailure> {
 protected:
  void ServeFailure() {
    switch (GetParam()) {
      case ListFailure::kServerGone:
        server_.Script("/update/up.dat.zip", {.body = "PK", .cut_after = 0});
        return;
      case ListFailure::kRangesIgnored:
        server_.ServeFolder(temp_.path() / "served", testing_support::RangeSupport::kIgnore);
        return;
      case ListFailure::kHtmlPage:
        WriteFile(Served("update/up.dat.zip"), "<html><body>Under maintenance</body></html>");
        return;
      case ListFailure::kArchiveWithoutList:
        ASSERT_TRUE(tools::WriteZip(Served("update/up.dat.zip"), {{"readme.txt", "x"}}));
        return;
      case ListFailure::kListWithoutVersion:
        ASSERT_TRUE(tools::WriteZip(Served("update/up.dat.zip"),
                                    {{"up.dat", "[a.dll]\r\n文件名=a.dll\r\n文件日期=2013年1月1日\r\n"}}));
        return;
    }
  }
};

TEST_P(ListFailureTest, ShowsTheListFailureAndNeverTheFinishedPage) {
  InstallVersionOne();
  ServeSwitch("1");
  ServeUpdate("2.0", VersionTwo());
  ServeFailure();
  Click(kNext);
  Check([&] {
    EXPECT_TRUE(Control<PictureBox>("图片框_出错提示").Visible());
    EXPECT_EQ(Control<EditBox>("编辑框_出错提示").Caption(), kListFailure);
    EXPECT_FALSE(Control<PictureButton>(kNext).Enabled());
    EXPECT_FALSE(Control<PictureBox>("图片框_更新列表").Visible());
    EXPECT_EQ(Control<ListBox>("列表框_更新文件").GetCount(), 0);
    // Were Next clicked anyway, nothing would run.
    program_->Wizard().OnNextClicked();
    EXPECT_EQ(program_->Globals().wizard_state, WizardState::kListingFiles);
    EXPECT_NE(Control<Label>("标签_功能说明").Caption(), "您的产品及组件已经更新到最新状态。");
  });
  Click(kCancel);
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(ReadFile(Installed("a.dll")) == old_a_);
  EXPECT_EQ(ReadFile(Installed("up.dat")), LocalListText());
}

INSTANTIATE_TEST_SUITE_P(Ways, ListFailureTest,
                         ::testing::Values(ListFailure::kServerGone, ListFailure::kRangesIgnored,
                                           ListFailure::kHtmlPage, ListFailure::kArchiveWithoutList,
                                           ListFailure::kListWithoutVersion),
                         ListFailureName);

// An archive whose data is damaged fails its CRC check: nothing is unpacked, so the
// installed file stays and the replacement names it.
TEST_F(UpdateFlowTest, ADamagedArchiveReplacesNothing) {
  InstallVersionOne();
  ServeSwitch("1");
  ServeUpdate("2.0", VersionTwo());
  std::string archive = ReadFile(Served("update/a.dll.zip"));
  archive[archive.size() / 2] = static_cast<char>(archive[archive.size() / 2] ^ 0x55);
  WriteFile(Served("update/a.dll.zip"), archive);
  Click(kNext);
  Click(kNext);
  Check([&] {
    EXPECT_TRUE(ReadFile(Installed("a.dll")) == old_a_);
    EXPECT_FALSE(fs::exists(Installed("update/a.dll")));
    EXPECT_EQ(Control<EditBox>("编辑框_出错提示").Caption(),
              "    替换文件 'a.dll' 时出错，可能文件正在使用中，请检查！");
    EXPECT_EQ(ReadFile(Installed("up.dat")), LocalListText());
  });
  script_.Add("close", {"UpdateWizard"});
  EXPECT_EQ(Run(), 0);
}

// Whatever the download made of an archive, a file whose unpacked length is not the
// list's 文件尺寸 in bytes is not installed: the replacement names it, the list is not
// stored and the finished page is not shown.
struct ListedLengthCase {
  const char* name;
  std::size_t served_length;  // the list says 50000
  bool installed;
};

void PrintTo(const ListedLengthCase& c, std::ostream* os) { *os << c.name; }

class ListedLengthTest : public UpdateFlowTest,
                         public ::testing::WithParamInterface<ListedLengthCase> {};

TEST_P(ListedLengthTest, OnlyAFileOfTheListedLengthIsInstalled) {
  InstallVersionOne();
  ServeSwitch("1");
  std::vector<ServedFile> files = VersionTwo();
  ASSERT_EQ(new_a_.size(), 50000u);
  files[0].size = "50000";
  files[0].bytes = IncompressibleBytes(GetParam().served_length, 7);  // new_a_, longer or cut
  ServeUpdate("2.0", files);
  Click(kNext);
  Click(kNext);
  Check([&] {
    const Text description = Control<Label>("标签_功能说明").Caption();
    if (GetParam().installed) {
      EXPECT_TRUE(ReadFile(Installed("a.dll")) == new_a_);
      EXPECT_EQ(ReadFile(Installed("up.dat")), ServerListText("2.0", files));
      EXPECT_EQ(description, "您的产品及组件已经更新到最新状态。");
      return;
    }
    EXPECT_TRUE(ReadFile(Installed("a.dll")) == old_a_);
    EXPECT_EQ(ReadFile(Installed("codec/b.dll")), "old b");
    EXPECT_TRUE(Control<PictureBox>("图片框_出错提示").Visible());
    EXPECT_EQ(Control<EditBox>("编辑框_出错提示").Caption(),
              "    替换文件 'a.dll' 时出错，可能文件正在使用中，请检查！");
    EXPECT_EQ(ReadFile(Installed("up.dat")), LocalListText());
    EXPECT_NE(description, "您的产品及组件已经更新到最新状态。");
  });
  Click(kCancel);
  EXPECT_EQ(Run(), 0);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ListedLengthTest,
                         ::testing::Values(ListedLengthCase{"AsListed", 50000, true},
                                           ListedLengthCase{"Longer", 50001, false},
                                           ListedLengthCase{"Shorter", 49999, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Versions differ but every date is the same: no files, and Next makes the server list
// the local list.
TEST_F(UpdateFlowTest, AnUpdateOfNoFilesStoresTheServerList) {
  InstallVersionOne();
  ServeSwitch("1");
  std::vector<ServedFile> files = {{"keep.dll", "\\keep.dll", "2012年12月26日8时", "1", "x"}};
  ServeUpdate("1.1", files);
  Click(kNext);
  Check([&] {
    EXPECT_EQ(Control<Label>("标签_网络状态").Caption(), "升级到最新版本，需要更新以下 0 个文件：");
    EXPECT_TRUE(Control<PictureBox>("图片框_更新列表").Visible());
  });
  Click(kNext);
  Check([&] {
    EXPECT_EQ(ReadFile(Installed("up.dat")), ServerListText("1.1", files));
    EXPECT_EQ(Control<Label>("标签_功能说明").Caption(), "您的产品及组件已经更新到最新状态。");
    EXPECT_EQ(program_->Globals().wizard_state, WizardState::kUpdating);
  });
  Click(kCancel);
  EXPECT_EQ(Run(), 0);
}

TEST_F(UpdateFlowTest, WithoutNetworkNextIsDisabledUntilARetestFindsIt) {
  ServeSwitch("2");
  SetNetworkReachable(false);
  Check([&] {
    EXPECT_EQ(program_->Globals().update_base, server_.Url("/home/playercenter/update/"));
    EXPECT_EQ(Control<Label>("标签_网络状态").Caption(), "连接Internet失败，请检查网络连接后重新测试。");
    EXPECT_EQ(Control<Label>("标签_指导操作").Caption(), "点击取消将退出在线升级。");
    EXPECT_FALSE(Control<PictureButton>(kNext).Enabled());
    SetNetworkReachable(true);
  });
  Click("图形按钮_重新测试网络");
  Check([&] {
    EXPECT_EQ(Control<Label>("标签_网络状态").Caption(), "连接Internet正常，可以进行在线升级操作。");
    EXPECT_TRUE(Control<PictureButton>(kNext).Enabled());
    EXPECT_TRUE(Control<PictureButton>("图形按钮_重新测试网络").Visible());
    EXPECT_EQ(program_->Globals().wizard_state, WizardState::kConnectivityPage);
  });
  script_.Add("key", {"Esc"});
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(shell_runs_.empty());
}

// The first page ends three ways: cancel hands over to Player, the close box and Esc end
// without it. Each runs the finaliser over bars and a downloader that were never used.
struct FirstPageEnd {
  const char* name;
  const char* verb;
  const char* argument;
  bool starts_player;
};

void PrintTo(const FirstPageEnd& end, std::ostream* os) { *os << end.name; }

class FirstPageEndTest : public UpdateFlowTest,
                         public ::testing::WithParamInterface<FirstPageEnd> {};

TEST_P(FirstPageEndTest, OnlyCancelStartsPlayer) {
  InstallVersionOne();
  ServeSwitch("1");
  ServeUpdate("2.0", VersionTwo());
  script_.Add(GetParam().verb, {GetParam().argument});
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(shell_runs_, GetParam().starts_player
                             ? std::vector<std::string>{"open " + folder_ + "\\Player.exe"}
                             : std::vector<std::string>{});
  EXPECT_EQ(program_->Globals().downloader, nullptr);
  EXPECT_FALSE(fs::exists(Installed("update")));
  EXPECT_EQ(ReadFile(Installed("up.dat")), LocalListText());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, FirstPageEndTest,
    ::testing::Values(FirstPageEnd{"Cancel", "click", kCancel, true},
                      FirstPageEnd{"CloseBox", "close", "UpdateWizard", false},
                      FirstPageEnd{"Esc", "key", "Esc", false}),
    [](const ::testing::TestParamInfo<FirstPageEnd>& info) { return std::string(info.param.name); });

TEST_F(UpdateFlowTest, WhileAnotherUpdateRunsInTheFolderNothingIsTouched) {
  InstallVersionOne();
  ServeSwitch("1");
  ServeUpdate("2.0", VersionTwo());
  WriteFile(Installed("update/up.dat"), "the running update's list");
  const std::string name = UpdateInstanceName(folder_ + "\\.");
  instances_.HoldElsewhere(name);
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(backend_.ClosedWindows().empty());
  EXPECT_TRUE(server_.Requests().empty());
  EXPECT_EQ(ReadFile(Installed("update/up.dat")), "the running update's list");
  EXPECT_EQ(ReadFile(Installed("up.dat")), LocalListText());
  EXPECT_TRUE(shell_runs_.empty());
  instances_.ReleaseElsewhere(name);
}

// A run killed while it stored the local list left the write's temporary beside it; the
// next run removes it, whatever it then does, and nothing else.
TEST_F(UpdateFlowTest, TheNextRunRemovesTheTemporaryOfAKilledListWrite) {
  InstallVersionOne();
  ServeSwitch("3");
  WriteFile(Installed("up.dat.tmp-Ab12Cd"), ServedList());
  WriteFile(Installed("up.dat.tmp-notours"), "not a temporary");
  WriteFile(Installed("up.dat.tmp-Ab12C"), "not a temporary");
  WriteFile(Installed("codec/up.dat.tmp-Ab12Cd"), "not beside the list");
  EXPECT_EQ(Run(), 0);
  EXPECT_FALSE(fs::exists(Installed("up.dat.tmp-Ab12Cd")));
  EXPECT_TRUE(fs::exists(Installed("up.dat.tmp-notours")));
  EXPECT_TRUE(fs::exists(Installed("up.dat.tmp-Ab12C")));
  EXPECT_TRUE(fs::exists(Installed("codec/up.dat.tmp-Ab12Cd")));
  EXPECT_EQ(ReadFile(Installed("up.dat")), LocalListText());
}

TEST_F(UpdateFlowTest, AnyOtherSwitchEndsWithoutAWindow) {
  ServeSwitch("3");
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(backend_.ClosedWindows(), (std::vector<Text>{"UpdateStartWindow"}));
  EXPECT_TRUE(shell_runs_.empty());
}

}  // namespace
}  // namespace korvane::update::testing
