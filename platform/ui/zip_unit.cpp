#include "platform/ui/units.h"

#include <minizip/unzip.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/atomic_file.h"
#include "platform/core/path_map.h"

namespace korvane::platform::ui {
namespace {

struct ArchiveCloser {
  void operator()(void* archive) const { unzClose(archive); }
};

// An entry name that would leave the target folder ("..", an absolute path) is not
// written: an archive from the network must not reach files outside its folder.
bool StaysInside(const std::filesystem::path& relative) {
  if (relative.empty() || relative.is_absolute() || relative.has_root_name()) return false;
  for (const auto& part : relative) {
    if (part == "..") return false;
  }
  return true;
}

bool ReadEntry(unzFile archive, std::string& bytes) {
  if (unzOpenCurrentFile(archive) != UNZ_OK) return false;
  char buffer[65536];
  int got = 0;
  while ((got = unzReadCurrentFile(archive, buffer, sizeof buffer)) > 0) bytes.append(buffer, got);
  return unzCloseCurrentFile(archive) == UNZ_OK && got == 0;
}

}  // namespace

bool ZipUnit::UnzipToDirectory(const std::string& archive_path, const std::string& target_folder) {
  if (!IsAlive()) return false;
  const std::filesystem::path archive_file = NativePath(archive_path);
  std::unique_ptr<void, ArchiveCloser> archive(unzOpen64(archive_file.c_str()));
  if (!archive) return false;
  const std::filesystem::path target = NativePath(target_folder);
  bool all_written = true;
  for (int status = unzGoToFirstFile(archive.get()); status == UNZ_OK;
       status = unzGoToNextFile(archive.get())) {
    unz_file_info64 info{};
    std::vector<char> name(65536);
    if (unzGetCurrentFileInfo64(archive.get(), &info, name.data(), name.size(), nullptr, 0, nullptr, 0) !=
        UNZ_OK) {
      all_written = false;
      continue;
    }
    const Text entry_name(name.data());
    const std::filesystem::path relative = NativePath(entry_name).relative_path();
    if (!StaysInside(relative)) {
      all_written = false;
      continue;
    }
    const std::filesystem::path destination = target / relative;
    std::error_code error;
    const bool is_folder = entry_name.ends_with('/') || entry_name.ends_with('\\');
    std::filesystem::create_directories(is_folder ? destination : destination.parent_path(), error);
    if (is_folder) continue;
    std::string bytes;
    if (!ReadEntry(archive.get(), bytes) || !WriteFileAtomically(destination, bytes)) all_written = false;
  }
  return all_written;
}

}  // namespace korvane::platform::ui
