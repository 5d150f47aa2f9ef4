#include "update/wizard/file_replacement.h"

#include <memory>

#include "platform/core/atomic_file.h"
#include "platform/core/profile.h"
#include "update/wizard/update_list.h"

namespace korvane::update {
namespace {

std::vector<Text> PathParts(std::string_view path) {
  std::vector<Text> parts;
  for (Text& piece : SplitText(path, "\\")) {
    for (Text& part : SplitText(piece, "/")) parts.push_back(std::move(part));
  }
  return parts;
}

// A replacement killed before its rename left a whole temporary copy beside the target
// (the listed file is then listed again, as the local list was not stored): it goes
// before the file is replaced.
void RemoveStrayTemporaries(platform::FileSystem& files, const Text& target) {
  const std::vector<Text> parts = PathParts(target);
  if (parts.empty()) return;
  const Text folder = target.substr(0, target.size() - parts.back().size());
  std::unique_ptr<platform::FileSearch> search = files.FindFiles(
      target + Text(platform::kTemporaryInfix) + "??????", platform::FindMode::kFilesOnly);
  if (!search) return;
  for (Text name = search->FindFileNext(); !name.empty(); name = search->FindFileNext()) {
    files.RemoveFile(folder + name);
  }
}

}  // namespace

bool IsBareFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return FindText(name, "\\") < 0 && FindText(name, "/") < 0 && FindText(name, ":") < 0;
}

std::optional<Text> InstalledFilePath(const Text& program_folder, std::string_view file_path) {
  if (file_path.empty() || (file_path.front() != '\\' && file_path.front() != '/')) {
    return std::nullopt;
  }
  std::vector<Text> parts = PathParts(file_path.substr(1));
  for (const Text& part : parts) {
    if (!IsBareFileName(part)) return std::nullopt;
  }
  return program_folder + Text(file_path);
}

std::optional<Text> ReplaceInstalledFiles(platform::FileSystem& files, const UpdatePaths& paths,
                                          const platform::IniDocument& server_list,
                                          const std::vector<Text>& names) {
  for (const Text& name : names) {
    std::optional<Text> target =
        InstalledFilePath(paths.ProgramFolder(), server_list.Value(name, kFilePathKey));
    if (!IsBareFileName(name) || !target) return name;
    RemoveStrayTemporaries(files, *target);
    if (!files.CopyFileOverwrite(paths.UnpackedFile(name), *target)) return name;
  }
  return std::nullopt;
}

}  // namespace korvane::update
