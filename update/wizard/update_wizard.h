#pragma once
// The wizard window `UpdateWizard`: its connectivity page, the hand-over to Player, and
// the update flow behind the Next button (update_flow.cpp).

#include <cstdint>
#include <optional>
#include <string_view>

#include "common/text.h"
#include "platform/ui/program.h"
#include "platform/ui/units.h"
#include "update/wizard/update_globals.h"
#include "update/wizard/update_paths.h"
#include "update/wizard/wizard_controls.h"

namespace korvane::update {

class UpdateWizard {
 public:
  UpdateWizard(UpdateServices& services, UpdateGlobals& globals);
  UpdateWizard(const UpdateWizard&) = delete;
  UpdateWizard& operator=(const UpdateWizard&) = delete;

  // Binds the window's handlers by their layout names.
  void Bind();

  // The window's "created" handler: CheckInternet, then WizardState 0.
  void OnWizardCreated(const platform::ui::Window& window);
  void CheckInternet();
  bool IsInternetReachable();
  void OnRetestClicked();
  // Cancel or OK, on every page: starts Player and ends the program.
  [[noreturn]] void LaunchPlayerAndExit();

  void OnNextClicked();
  void OnDownloadProgress(const Text& local_path, std::int32_t total, std::int32_t speed,
                          std::int32_t percent);
  void OnDownloadFinished(const Text& url, std::int32_t status, const Text& status_text,
                          std::int32_t percent);

 private:
  void RunListStep();
  void FetchUpdateList();
  void UnzipToUpdateFolder(const Text& archive);
  void CompareAndListFiles();
  void ShowListFailure();
  void ShowNoUpdatePage();
  void ShowListPage(const Text& local_version, const Text& server_version);
  void RunDownloadStep();
  void DownloadUpdateFiles();
  void ReplaceUpdatedFiles();
  bool DownloadFile(const Text& url, const Text& local_path);
  void ShowOkPictures();
  UpdatePaths Paths() const;

  UpdateServices& services_;
  UpdateGlobals& globals_;
  // Found when the window opens; the handles stay safe after it has closed.
  std::optional<WizardControls> controls_;
  // The server list's bytes as they were compared; empty until a list was had.
  std::optional<Text> compared_list_;
};

}  // namespace korvane::update
