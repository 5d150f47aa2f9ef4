#include "update/wizard/file_replacement.h"

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
                                          const std::vector<Text>& names) {
  const Text server_list = paths.ServerList();
  for (const Text& name : names) {
    std::optional<Text> target = InstalledFilePath(
        paths.ProgramFolder(), platform::ReadIniValue(server_list, name, kFilePathKey));
    if (!IsBareFileName(name) || !target ||
        !files.CopyFileOverwrite(paths.UnpackedFile(name), *target)) {
      return name;
    }
  }
  return std::nullopt;
}

}  // namespace korvane::update
