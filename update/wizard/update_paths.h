#pragma once
// The updater's files and folders, all below the program folder F (as GetRunDirectory
// gives it, without a trailing backslash).

#include <string_view>

#include "common/text.h"

namespace korvane::update {

class UpdatePaths {
 public:
  explicit UpdatePaths(Text program_folder) : folder_(std::move(program_folder)) {}

  const Text& ProgramFolder() const { return folder_; }
  Text WorkFolder() const { return folder_ + "\\update"; }
  // The unpacking target: the work folder written with its trailing backslash.
  Text UnpackFolder() const { return folder_ + "\\update\\"; }
  Text DownloadFolder() const { return folder_ + "\\update\\temp"; }
  Text ListArchive() const { return folder_ + "\\update\\temp\\up.dat.zip"; }
  Text ServerList() const { return folder_ + "\\update\\up.dat"; }
  Text LocalList() const { return folder_ + "\\up.dat"; }
  Text FileArchive(std::string_view name) const {
    return folder_ + "\\update\\temp\\" + Text(name) + ".zip";
  }
  Text UnpackedFile(std::string_view name) const { return folder_ + "\\update\\" + Text(name); }
  Text PlayerProgram() const { return folder_ + "\\Player.exe"; }

 private:
  Text folder_;
};

}  // namespace korvane::update
