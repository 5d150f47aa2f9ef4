#pragma once
// The updater's globals: created by the start code, freed by the finaliser, used by the
// window thread alone.

#include <cstdint>
#include <memory>

#include "common/text.h"
#include "update/download/range_downloader.h"
#include "update/widgets/crystal_progress_bar.h"
#include "update/wizard/update_services.h"

namespace korvane::update {

// The wizard's pages.
enum class WizardState : std::int32_t {
  kConnectivityPage = 0,
  kListingFiles = 1,  // the list is fetched and compared; also the no-update page and a
                      // list that could not be had
  kUpdating = 2,      // the changed files are listed, and the update runs or has run
};

struct UpdateGlobals {
  Text installation_id;
  Text uid_base;
  Text update_switch;
  Text home_address;
  Text update_base;
  WizardState wizard_state = WizardState::kConnectivityPage;
  std::unique_ptr<CrystalProgressBar> main_progress_bar;
  std::unique_ptr<CrystalProgressBar> file_progress_bar;
  std::int32_t done_size = 0;
  std::int32_t total_size = 0;
  std::unique_ptr<RangeDownloader> downloader;
};

// Creates the two progress bars and the downloader.
void InitUpdateGlobals(UpdateGlobals& globals, UpdateServices& services);
// Releases the texts, then destroys the bars and the downloader in that order.
void FreeUpdateGlobals(UpdateGlobals& globals);

}  // namespace korvane::update
