#include "update/wizard/update_globals.h"

namespace korvane::update {

void InitUpdateGlobals(UpdateGlobals& globals, UpdateServices& services) {
  globals.main_progress_bar = std::make_unique<CrystalProgressBar>();
  globals.file_progress_bar = std::make_unique<CrystalProgressBar>();
  globals.downloader =
      std::make_unique<RangeDownloader>(services.requests, services.files, services.clock);
}

void FreeUpdateGlobals(UpdateGlobals& globals) {
  for (Text* text : {&globals.installation_id, &globals.uid_base, &globals.update_switch,
                     &globals.home_address, &globals.update_base}) {
    text->clear();
  }
  globals.main_progress_bar.reset();
  globals.file_progress_bar.reset();
  globals.downloader.reset();
}

}  // namespace korvane::update
