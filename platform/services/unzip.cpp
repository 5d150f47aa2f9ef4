#include "platform/services/unzip.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <minizip/unzip.h>

#include "common/text.h"
#include "platform/core/atomic_file.h"
#include "platform/core/path_map.h"

namespace korvane::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kReadChunk = 1 << 16;
constexpr unsigned long kUtf8NameFlag = 1u << 11;
constexpr unsigned long kEncryptedFlag = 1u;
constexpr unsigned kMadeOnUnix = 3;

class Archive {
 public:
  explicit Archive(const fs::path& path) : handle_(unzOpen64(path.c_str())) {}
  ~Archive() {
    if (handle_ != nullptr) unzClose(handle_);
  }
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;
  unzFile get() const { return handle_; }

 private:
  unzFile handle_;
};

// The entry's path as parts below the target folder; nullopt when it must not be written.
std::optional<std::vector<Text>> SafeParts(std::string_view name) {
  if (name.empty() || name[0] == '/' || name[0] == '\\') return std::nullopt;
  std::vector<Text> parts;
  Text part;
  auto finish = [&]() -> bool {
    if (part == "..") return false;
    if (part.find(':') != Text::npos) return false;  // a drive letter or a stream name
    if (!part.empty() && part != ".") parts.push_back(part);
    part.clear();
    return true;
  };
  for (std::size_t i = 0; i < name.size();) {
    std::size_t length = GbkCharLength(name, i);
    if (length == 1 && (name[i] == '/' || name[i] == '\\')) {
      if (!finish()) return std::nullopt;
    } else {
      part.append(name.substr(i, length));
    }
    i += length;
  }
  if (!finish() || parts.empty()) return std::nullopt;
  return parts;
}

// Creates the folders down to `folder` below `root`, refusing to pass through a link or
// a file.
bool MakeFoldersBelow(const fs::path& root, const std::vector<Text>& parts, std::size_t count, fs::path* folder) {
  fs::path path = root;
  for (std::size_t i = 0; i < count; ++i) {
    path /= fs::path(GbkToUtf8(parts[i]));
    std::error_code error;
    fs::file_status status = fs::symlink_status(path, error);
    if (fs::is_symlink(status)) return false;
    if (!fs::exists(status) && ::mkdir(path.c_str(), 0755) != 0) return false;
    if (fs::exists(status) && !fs::is_directory(status)) return false;
  }
  *folder = path;
  return true;
}

void SetModifiedTime(const fs::path& file, const tm_unz& stored) {
  tm local{};
  local.tm_year = static_cast<int>(stored.tm_year) - 1900;
  local.tm_mon = static_cast<int>(stored.tm_mon);
  local.tm_mday = static_cast<int>(stored.tm_mday);
  local.tm_hour = static_cast<int>(stored.tm_hour);
  local.tm_min = static_cast<int>(stored.tm_min);
  local.tm_sec = static_cast<int>(stored.tm_sec);
  local.tm_isdst = -1;
  time_t when = ::mktime(&local);
  if (when == static_cast<time_t>(-1)) return;
  const timespec times[2] = {{when, 0}, {when, 0}};
  ::utimensat(AT_FDCWD, file.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

bool WriteCurrentEntry(unzFile archive, const unz_file_info64& info, const fs::path& target) {
  std::error_code error;
  if (fs::is_symlink(fs::symlink_status(target, error)) || fs::is_directory(fs::symlink_status(target, error)))
    return false;
  if (unzOpenCurrentFile(archive) != UNZ_OK) return false;
  mode_t mode = 0644;
  if ((info.version >> 8) == kMadeOnUnix && ((info.external_fa >> 16) & 0111) != 0) mode = 0755;
  AtomicFileWriter writer(target, mode);
  std::string chunk(kReadChunk, '\0');
  bool ok = writer.ok();
  ZPOS64_T total = 0;
  while (ok) {
    int got = unzReadCurrentFile(archive, chunk.data(), static_cast<unsigned>(chunk.size()));
    if (got == 0) break;
    ok = got > 0 && writer.Write(std::string_view(chunk.data(), static_cast<std::size_t>(got)));
    if (ok) total += static_cast<ZPOS64_T>(got);
  }
  // Closing reports a CRC that does not match what was read.
  bool whole = unzCloseCurrentFile(archive) == UNZ_OK && ok && total == info.uncompressed_size;
  if (!whole || !writer.Commit()) return false;
  SetModifiedTime(target, info.tmu_date);
  return true;
}

bool IsLinkEntry(const unz_file_info64& info) {
  return (info.version >> 8) == kMadeOnUnix && S_ISLNK(static_cast<mode_t>(info.external_fa >> 16));
}

bool UnpackCurrentEntry(unzFile archive, const fs::path& root) {
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
  std::string raw_name(info.size_filename, '\0');
  if (unzGetCurrentFileInfo64(archive, &info, raw_name.data(), static_cast<uLong>(raw_name.size()), nullptr, 0,
                              nullptr, 0) != UNZ_OK)
    return false;
  if ((info.flag & kEncryptedFlag) != 0 || IsLinkEntry(info)) return false;
  Text name = (info.flag & kUtf8NameFlag) != 0 ? Utf8ToGbk(AsUtf8(raw_name)) : raw_name;
  std::optional<std::vector<Text>> parts = SafeParts(name);
  if (!parts) return false;
  fs::path folder;
  if (EndsWithSeparator(name, "/\\")) return MakeFoldersBelow(root, *parts, parts->size(), &folder);
  if (!MakeFoldersBelow(root, *parts, parts->size() - 1, &folder)) return false;
  return WriteCurrentEntry(archive, info, folder / fs::path(GbkToUtf8(parts->back())));
}

}  // namespace

bool UnzipToDirectory(std::string_view archive_path, std::string_view target_folder) {
  if (archive_path.empty() || target_folder.empty()) return false;
  fs::path root = NativePath(target_folder);
  std::error_code error;
  if (!fs::is_directory(root, error)) return false;
  Archive archive(NativePath(archive_path));
  if (archive.get() == nullptr) return false;
  bool all_written = true;
  int step = unzGoToFirstFile(archive.get());
  for (; step == UNZ_OK; step = unzGoToNextFile(archive.get())) {
    if (!UnpackCurrentEntry(archive.get(), root)) all_written = false;
  }
  return all_written && step == UNZ_END_OF_LIST_OF_FILE;
}

}  // namespace korvane::platform
