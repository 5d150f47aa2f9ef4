#include "update/wizard/file_replacement.h"

#include <cstdint>
#include <memory>

#include "platform/core/atomic_file.h"
#include "platform/core/path_map.h"
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

// 文件尺寸 written as digits alone is the file's length in bytes, as the publishing tool
// writes it; a fraction or a unit ("48.8", "KB") is the list author's own measure and
// states no length.
std::optional<std::int64_t> ListedLength(std::string_view size_text) {
  constexpr std::size_t kMostDigits = 18;
  if (size_text.empty() || size_text.size() > kMostDigits) return std::nullopt;
  std::int64_t length = 0;
  for (char digit : size_text) {
    if (digit < '0' || digit > '9') return std::nullopt;
    length = length * 10 + (digit - '0');
  }
  return length;
}

// An unpacked copy of another length than the list states is not the listed file,
// whatever the download and the unpacking made of it.
bool HasListedLength(platform::FileSystem& files, const Text& unpacked, std::string_view size_text) {
  const std::optional<std::int64_t> listed = ListedLength(size_text);
  if (!listed) return true;
  std::unique_ptr<platform::OpenedFile> file =
      files.OpenFile(unpacked, platform::OpenMode::kReadWriteExisting);
  return file && file->GetOpenFileLength() == *listed;
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
    if (!HasListedLength(files, paths.UnpackedFile(name), server_list.Value(name, kFileSizeKey))) {
      return name;
    }
    // A replacement killed before its rename left its temporary beside the target (the
    // file is listed again, as the local list was not stored): it goes first.
    platform::RemoveLeftTemporaries(platform::NativePath(*target));
    if (!files.CopyFileOverwrite(paths.UnpackedFile(name), *target)) return name;
  }
  return std::nullopt;
}

}  // namespace korvane::update
