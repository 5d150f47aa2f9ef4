#include "update/wizard/local_inventory.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>
#include <vector>

#include "common/text.h"
#include "platform/core/path_map.h"
#include "update/wizard/update_list.h"
#include "update/wizard/update_paths.h"

namespace korvane::update {
namespace {

bool IsDotEntry(const Text& name) { return name == "." || name == ".."; }

// The real folder a path leads to, links resolved; empty text when it cannot be resolved.
std::string RealFolder(const Text& folder) {
  std::error_code error;
  std::filesystem::path real = std::filesystem::canonical(platform::NativePath(folder), error);
  return error ? std::string() : real.string();
}

// One level of the walk. `open_folders` holds the real folders from the start of the walk
// down to this one: a folder link that leads back to one of them is not entered, since the
// walk would go round that loop until the system refused the path (and a second such link
// would make it go round exponentially often).
void ScanLevel(platform::FileSystem& files, ScanPacer& pacer, Text folder,
               const std::vector<Text>& patterns, const FileRoutine& routine,
               bool include_subfolders, std::vector<std::string>& open_folders) {
  if (!EndsWithSeparator(folder)) folder += '\\';
  for (const Text& pattern : patterns) {
    std::unique_ptr<platform::FileSearch> search =
        files.FindFiles(folder + pattern, platform::FindMode::kFilesOnly);
    if (!search) continue;
    for (Text name = search->FindFileNext(); !name.empty(); name = search->FindFileNext()) {
      if (!IsDotEntry(name)) routine(folder, name);
    }
  }
  if (!include_subfolders) return;
  std::unique_ptr<platform::FileSearch> search =
      files.FindFiles(folder + "*", platform::FindMode::kFoldersOnly);
  if (search) {
    for (Text name = search->FindFileNext(); !name.empty(); name = search->FindFileNext()) {
      if (IsDotEntry(name)) continue;
      const Text subfolder = folder + name;
      std::string real = RealFolder(subfolder);
      if (!real.empty() && std::find(open_folders.begin(), open_folders.end(), real) !=
                               open_folders.end()) {
        continue;
      }
      pacer.ProcessPendingMessages();
      pacer.SetWaitCursor();
      open_folders.push_back(std::move(real));
      ScanLevel(files, pacer, subfolder, patterns, routine, true, open_folders);
      open_folders.pop_back();
    }
  }
  pacer.RestoreCursor();
}

}  // namespace

void ScanFolder(platform::FileSystem& files, ScanPacer& pacer, Text folder,
                std::string_view patterns, const FileRoutine& routine, bool include_subfolders) {
  const std::vector<Text> pattern_list =
      patterns.empty() ? std::vector<Text>{"*.*"} : SplitText(patterns, "|");
  std::vector<std::string> open_folders{RealFolder(folder)};
  ScanLevel(files, pacer, std::move(folder), pattern_list, routine, include_subfolders,
            open_folders);
}

LocalInventory::LocalInventory(platform::FileSystem& files, Text program_folder)
    : files_(files),
      program_folder_(std::move(program_folder)),
      list_(UpdatePaths(program_folder_).LocalList()) {}

void LocalInventory::RecordLocalFile(const Text& folder, const Text& name) {
  if (FindText(folder, "\\update\\") > 0 || name == "up.dat") return;
  // A Linux name without a GBK form comes back with "?" in its place, and no file has
  // that name: it cannot be dated or replaced, so it is not listed.
  const platform::FileDate date = files_.GetFileModifiedTime(folder + name);
  if (date == platform::FileDate{}) {
    std::clog << "Update: not listed, no file by this GBK name: "
              << AsChars(GbkToUtf8(folder + name)) << "\n";
    return;
  }
  // The folder below F, with its leading and trailing backslash.
  const Text relative_folder =
      folder.size() >= program_folder_.size() ? folder.substr(program_folder_.size()) : folder;
  list_.Write(name, kFileNameKey, name);
  list_.Write(name, kFilePathKey, relative_folder + name);
  list_.Write(name, kFileDateKey, platform::DateText(date));
}

bool LocalInventory::Commit() {
  return list_.Write(kVersionSection, kVersionKey, kUnknownVersion) && list_.Commit();
}

bool BuildLocalInventory(platform::FileSystem& files, ScanPacer& pacer,
                         const Text& program_folder) {
  LocalInventory inventory(files, program_folder);
  ScanFolder(files, pacer, program_folder + "\\", "*.*",
             [&inventory](const Text& folder, const Text& name) {
               inventory.RecordLocalFile(folder, name);
             },
             true);
  return inventory.Commit();
}

}  // namespace korvane::update
