// The update flow behind the wizard's Next button: the list step (state 0 to 1 or 2) and
// the download step (state 2). Apart from whether the server's list was had, no step
// examines the outcome of the step before it; a failure shows where a later step can see it.

#include <vector>

#include "platform/core/atomic_file.h"
#include "platform/core/path_map.h"
#include "platform/core/profile.h"
#include "update/wizard/file_replacement.h"
#include "update/wizard/local_inventory.h"
#include "update/wizard/update_comparison.h"
#include "update/wizard/update_list.h"
#include "update/wizard/update_wizard.h"

namespace korvane::update {
namespace {

using platform::ui::Alignment;

constexpr int kBlockSizeKb = 20;
constexpr int kBarStyle = 9;
constexpr std::string_view kNotFound = "Not Found";
constexpr std::string_view kListFailure =
    "    获取升级列表文件失败，可能服务器正在维护中，请稍后再试！";

// The scan lets the window handle its messages between folders, so a press on cancel
// can hand over to Player in the middle of it.
class WindowPacer : public ScanPacer {
 public:
  explicit WindowPacer(platform::ui::Program& ui) : ui_(ui) {}
  void ProcessPendingMessages() override { ui_.ProcessPendingMessages(); }
  void SetWaitCursor() override { ui_.SetWaitCursor(); }
  void RestoreCursor() override { ui_.RestoreCursor(); }

 private:
  platform::ui::Program& ui_;
};

void AttachBar(CrystalProgressBar& bar, const platform::ui::DrawPanel& panel) {
  bar.Attach(panel);
  bar.Maximum(100);
  bar.Style(kBarStyle);
}

}  // namespace

void UpdateWizard::OnNextClicked() {
  // State 2 first: no step sets the state back, so one click runs at most one step.
  if (globals_.wizard_state == WizardState::kUpdating) RunDownloadStep();
  if (globals_.wizard_state == WizardState::kConnectivityPage) RunListStep();
}

void UpdateWizard::RunListStep() {
  WizardControls& c = *controls_;
  c.next.SetEnabled(false);
  c.retest.SetVisible(false);
  c.description.SetCaption("正在为您检查最新的程序文件，请稍后。");
  c.network_status.SetCaption("该过程可能需要几分钟。");
  c.network_status.SetTop(63);
  c.guide.SetTop(188);
  c.guide.SetAlignment(Alignment::kCentre);
  c.guide.SetCaption("正在下载更新列表......");
  AttachBar(*globals_.main_progress_bar, c.main_panel);
  globals_.wizard_state = WizardState::kListingFiles;
  FetchUpdateList();
  UnzipToUpdateFolder(Paths().ListArchive());
  CompareAndListFiles();
}

void UpdateWizard::FetchUpdateList() {
  const UpdatePaths paths = Paths();
  platform::FileSystem& files = services_.files;
  files.DeleteDirectoryTree(paths.WorkFolder());
  files.MakeDirectory(paths.WorkFolder());
  files.MakeDirectory(paths.DownloadFolder());
  DownloadFile(globals_.update_base + "up.dat.zip", paths.ListArchive());
}

bool UpdateWizard::DownloadFile(const Text& url, const Text& local_path) {
  RangeDownloader& downloader = *globals_.downloader;
  // The routines get the downloader's own texts, valid during the call only: copy them.
  downloader.Init(
      [this](std::string_view path, std::int32_t total, std::int32_t speed, std::int32_t percent) {
        OnDownloadProgress(Text(path), total, speed, percent);
      },
      [this](std::string_view address, std::int32_t status, std::string_view status_text,
             std::int32_t percent) {
        OnDownloadFinished(Text(address), status, Text(status_text), percent);
      });
  downloader.SetLocalFile(local_path);
  downloader.SetUrl(url, "");
  downloader.SetBlockSize(kBlockSizeKb);
  return downloader.Download();
}

void UpdateWizard::UnzipToUpdateFolder(const Text& archive) {
  controls_->zip.UnzipToDirectory(archive, Paths().UnpackFolder());
}

void UpdateWizard::CompareAndListFiles() {
  const UpdatePaths paths = Paths();
  // The list as compared is the list stored at the end, whatever the work folder holds
  // by then. A list without a version was not had: nothing is listed or stored.
  compared_list_ = platform::ReadWholeFile(platform::NativePath(paths.ServerList()));
  if (!compared_list_ ||
      platform::IniDocument::Parse(*compared_list_).Value(kVersionSection, kVersionKey).empty()) {
    compared_list_.reset();
    ShowListFailure();
    return;
  }
  if (!platform::FileExists(paths.LocalList())) {
    WindowPacer pacer(services_.ui);
    BuildLocalInventory(services_.files, pacer, paths.ProgramFolder());
  }
  UpdateComparison comparison = CompareUpdateLists(services_.files, paths);
  if (comparison.same_version) {
    ShowNoUpdatePage();
    return;
  }
  WizardControls& c = *controls_;
  c.file_list.Clear();
  globals_.total_size = comparison.total_size;
  for (const ListedFile& file : comparison.files) {
    c.file_list.AddItem(file.name);
    c.size_list.AddItem(file.size_text);
  }
  ShowListPage(comparison.local_version, comparison.server_version);
  globals_.wizard_state = WizardState::kUpdating;
  c.next.SetEnabled(true);
}

// The error panel says that cancel ends the run, so Next stays disabled under it. A
// "Not Found" answer has shown its own reason already.
void UpdateWizard::ShowListFailure() {
  WizardControls& c = *controls_;
  c.next.SetEnabled(false);
  if (c.error_panel.Visible()) return;
  c.error_panel.SetVisible(true);
  c.error_text.SetCaption(Text(kListFailure));
}

void UpdateWizard::ShowNoUpdatePage() {
  WizardControls& c = *controls_;
  c.description.SetCaption("目前没有推荐给您的程序更新");
  c.network_status.SetTop(80);
  c.network_status.SetCaption("如果想了解最新的发布动态，请访问我们的官方网站！");
  c.next.SetVisible(false);
  services_.files.DeleteDirectoryTree(Paths().WorkFolder());
  c.main_panel.SetVisible(false);
  c.guide.SetCaption("请点击确定，关闭更新窗口！");
  c.guide.SetLeft(116);
  c.guide.SetTop(217);
  c.guide.SetAlignment(Alignment::kLeft);
  ShowOkPictures();
}

void UpdateWizard::ShowListPage(const Text& local_version, const Text& server_version) {
  WizardControls& c = *controls_;
  c.description.SetCaption("当前版本：" + local_version + " --- 最新版本：" + server_version);
  c.network_status.SetCaption("升级到最新版本，需要更新以下 " +
                              std::to_string(c.file_list.GetCount()) + " 个文件：");
  c.file_table.SetVisible(true);
  c.main_panel.SetVisible(false);
  c.guide.SetCaption("点击下一步进行更新。");
  c.guide.SetLeft(116);
  c.guide.SetTop(217);
  c.guide.SetAlignment(Alignment::kLeft);
}

void UpdateWizard::ShowOkPictures() {
  WizardControls& c = *controls_;
  c.cancel.SetNormalPicture("pictures/ok_normal.bmp");
  c.cancel.SetPressedPicture("pictures/ok_pressed.bmp");
  c.cancel.SetHoverPicture("pictures/ok_hover.bmp");
}

void UpdateWizard::RunDownloadStep() {
  WizardControls& c = *controls_;
  c.guide.SetVisible(false);
  c.next.SetEnabled(false);
  AttachBar(*globals_.main_progress_bar, c.main_panel);
  globals_.main_progress_bar->Position(0);
  c.main_panel.SetHeight(20);
  AttachBar(*globals_.file_progress_bar, c.file_panel);
  globals_.file_progress_bar->Position(0);
  c.main_panel.SetVisible(true);
  c.file_panel.SetVisible(true);
  DownloadUpdateFiles();
}

void UpdateWizard::DownloadUpdateFiles() {
  WizardControls& c = *controls_;
  const UpdatePaths paths = Paths();
  const platform::IniDocument server_list = platform::IniDocument::Parse(*compared_list_);
  c.status_list.AddItem("");
  const int count = c.file_list.GetCount();
  for (int row = 0; row < count; ++row) {
    // The row of the file now being fetched, in all three columns (in the status column
    // it is the trailing empty row).
    c.file_list.SetSelection(row);
    c.size_list.SetSelection(row);
    c.status_list.SetSelection(row);
    const Text name = c.file_list.GetItemText(row);
    // A name that is not a bare file name would put its archive outside the work folder:
    // nothing is fetched for it, and its replacement fails.
    if (IsBareFileName(name)) {
      DownloadFile(globals_.update_base + name + ".zip", paths.FileArchive(name));
      UnzipToUpdateFolder(paths.FileArchive(name));
    }
    globals_.done_size = AddFileSize(globals_.done_size, server_list.Value(name, kFileSizeKey));
    c.status_list.InsertItem(0, "完成");
    globals_.main_progress_bar->Position(OverallPercent(globals_.done_size, globals_.total_size));
  }
  c.status_list.SetSelection(c.status_list.GetCount() - 2);
  c.main_panel.SetVisible(false);
  c.file_panel.SetVisible(false);
  c.file_table.SetVisible(false);
  c.error_panel.SetVisible(false);
  c.guide.SetVisible(true);
  c.guide.SetCaption("正在替换更新文件，请稍等......");
  ReplaceUpdatedFiles();
}

void UpdateWizard::ReplaceUpdatedFiles() {
  WizardControls& c = *controls_;
  const UpdatePaths paths = Paths();
  std::vector<Text> names;
  const int count = c.file_list.GetCount();
  for (int row = 0; row < count; ++row) names.push_back(c.file_list.GetItemText(row));
  if (std::optional<Text> failed = ReplaceInstalledFiles(
          services_.files, paths, platform::IniDocument::Parse(*compared_list_), names)) {
    c.error_panel.SetVisible(true);
    c.error_text.SetCaption("    替换文件 '" + *failed + "' 时出错，可能文件正在使用中，请检查！");
  }
  if (c.error_panel.Visible()) return;
  platform::WriteFileAtomically(platform::NativePath(paths.LocalList()), *compared_list_);
  services_.files.DeleteDirectoryTree(paths.WorkFolder());
  c.guide.SetCaption("请点击确定，关闭更新窗口！");
  c.description.SetCaption("您的产品及组件已经更新到最新状态。");
  c.network_status.SetTop(80);
  c.network_status.SetCaption("如果想了解最新的发布动态，请访问我们的官方网站！");
  c.next.SetVisible(false);
  ShowOkPictures();
}

void UpdateWizard::OnDownloadProgress(const Text&, std::int32_t, std::int32_t,
                                      std::int32_t percent) {
  if (globals_.wizard_state == WizardState::kListingFiles) {
    globals_.main_progress_bar->Position(percent);
  }
  if (globals_.wizard_state == WizardState::kUpdating) {
    globals_.file_progress_bar->Position(percent);
  }
}

void UpdateWizard::OnDownloadFinished(const Text&, std::int32_t, const Text& status_text,
                                      std::int32_t) {
  if (status_text != kNotFound) return;
  WizardControls& c = *controls_;
  c.next.SetEnabled(false);
  c.error_panel.SetVisible(true);
  c.error_text.SetCaption(IsInternetReachable() ? Text(kListFailure)
                                                : Text("    网络中断，请检查您的网络是否工作正常！"));
}

}  // namespace korvane::update
