#include "update/wizard/local_inventory.h"

#include <memory>
#include <vector>

#include "update/wizard/update_list.h"
#include "update/wizard/update_paths.h"

namespace korvane::update {
namespace {

bool IsDotEntry(const Text& name) { return name == "." || name == ".."; }

// Whether the last character is "\": a double-byte character may end in the byte 0x5C.
bool EndsWithBackslash(std::string_view folder) {
  std::size_t last = folder.size();
  for (std::size_t at = 0; at < folder.size(); at += GbkCharLength(folder, at)) last = at;
  return last < folder.size() && folder.substr(last) == "\\";
}

}  // namespace

void ScanFolder(platform::FileSystem& files, ScanPacer& pacer, Text folder,
                std::string_view patterns, const FileRoutine& routine, bool include_subfolders) {
  if (!EndsWithBackslash(folder)) folder += '\\';
  const std::vector<Text> pattern_list =
      patterns.empty() ? std::vector<Text>{"*.*"} : SplitText(patterns, "|");
  for (const Text& pattern : pattern_list) {
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
      pacer.ProcessPendingMessages();
      pacer.SetWaitCursor();
      ScanFolder(files, pacer, folder + name, patterns, routine, true);
    }
  }
  pacer.RestoreCursor();
}

LocalInventory::LocalInventory(platform::FileSystem& files, Text program_folder)
    : files_(files),
      program_folder_(std::move(program_folder)),
      list_(UpdatePaths(program_folder_).LocalList()) {}

void LocalInventory::RecordLocalFile(const Text& folder, const Text& name) {
  if (FindText(folder, "\\update\\") > 0 || name == "up.dat") return;
  // The folder below F, with its leading and trailing backslash.
  const Text relative_folder =
      folder.size() >= program_folder_.size() ? folder.substr(program_folder_.size()) : folder;
  list_.Write(name, kFileNameKey, name);
  list_.Write(name, kFilePathKey, relative_folder + name);
  list_.Write(name, kFileDateKey, platform::DateText(files_.GetFileModifiedTime(folder + name)));
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
