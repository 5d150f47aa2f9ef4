#include "platform/services/linux_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <vector>

#include "common/text.h"
#include "platform/core/atomic_file.h"
#include "platform/core/path_map.h"
#include "platform/services/name_pattern.h"
#include "platform/services/opened_file.h"

namespace korvane::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kCopyChunk = 1 << 16;

// The folder part and the name pattern of "folder\pattern", split at the last separator
// that stands on a character boundary.
std::pair<Text, Text> SplitPattern(std::string_view pattern) {
  const std::size_t split = FindLastSeparator(pattern, "\\/");
  if (split == std::string_view::npos) return {Text(), Text(pattern)};
  return {Text(pattern.substr(0, split + 1)), Text(pattern.substr(split + 1))};
}

class LinuxFileSearch final : public FileSearch {
 public:
  explicit LinuxFileSearch(std::vector<Text> names) : names_(std::move(names)) {}
  Text FindFileNext() override { return next_ < names_.size() ? names_[next_++] : Text(); }

 private:
  std::vector<Text> names_;
  std::size_t next_ = 0;
};

bool CopyWholeFile(const fs::path& from, const fs::path& to) {
  int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (source < 0) return false;
  struct stat info {};
  if (::fstat(source, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(source);
    return false;
  }
  AtomicFileWriter writer(to, info.st_mode & 07777);
  std::string chunk(kCopyChunk, '\0');
  bool ok = writer.ok();
  while (ok) {
    ssize_t got = ::read(source, chunk.data(), chunk.size());
    if (got == 0) break;
    ok = got > 0 && writer.Write(std::string_view(chunk.data(), static_cast<std::size_t>(got)));
  }
  ::close(source);
  if (!ok || !writer.Commit()) return false;
  // A copy keeps the source's last-write time, as the programs' copy always did.
  const timespec times[2] = {info.st_atim, info.st_mtim};
  ::utimensat(AT_FDCWD, to.c_str(), times, 0);
  return true;
}

class LinuxFileSystem final : public FileSystem {
 public:
  explicit LinuxFileSystem(fs::path run_directory) : run_directory_(std::move(run_directory)) {}

  Text GetRunDirectory() override {
    Text folder = CorePath(run_directory_);
    while (folder.size() > 1 && EndsWithSeparator(folder)) folder.pop_back();
    return folder;
  }

  bool MakeDirectory(std::string_view path) override {
    return !path.empty() && ::mkdir(NativePath(path).c_str(), 0755) == 0;
  }

  // Links are removed, never followed: neither one inside the tree nor the folder itself
  // when it is a link (a trailing separator would make the system follow it).
  bool DeleteDirectoryTree(std::string_view path) override {
    std::string folder = NativePath(path).string();
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (folder.empty()) return false;
    std::error_code error;
    fs::file_status status = fs::symlink_status(folder, error);
    if (fs::is_symlink(status)) return fs::remove(folder, error);
    if (!fs::is_directory(status)) return false;
    fs::remove_all(folder, error);
    return !error;
  }

  bool RemoveFile(std::string_view path) override {
    if (path.empty()) return false;
    fs::path file = NativePath(path);
    std::error_code error;
    if (fs::is_directory(fs::symlink_status(file, error))) return false;
    return ::unlink(file.c_str()) == 0;
  }

  bool CopyFileOverwrite(std::string_view from, std::string_view to) override {
    if (from.empty() || to.empty()) return false;
    return CopyWholeFile(NativePath(from), NativePath(to));
  }

  std::unique_ptr<FileSearch> FindFiles(std::string_view pattern, FindMode mode) override {
    auto [folder_text, name_pattern] = SplitPattern(pattern);
    std::vector<Text> names;
    if (!name_pattern.empty()) {
      fs::path folder = folder_text.empty() ? fs::path(".") : NativePath(folder_text);
      if (mode == FindMode::kFoldersOnly && fs::is_directory(folder)) {
        for (const char* dots : {".", ".."})
          if (MatchesNamePattern(dots, name_pattern)) names.emplace_back(dots);
      }
      std::error_code error;
      for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        std::error_code ignored;
        bool is_folder = entry->is_directory(ignored);  // a link to a folder is a folder
        if (is_folder != (mode == FindMode::kFoldersOnly)) continue;
        Text name = Utf8ToGbk(entry->path().filename().u8string());
        if (MatchesNamePattern(name, name_pattern)) names.push_back(std::move(name));
      }
    }
    return std::make_unique<LinuxFileSearch>(std::move(names));
  }

  FileDate GetFileModifiedTime(std::string_view path) override {
    struct stat info {};
    if (path.empty() || ::stat(NativePath(path).c_str(), &info) != 0) return FileDate{};
    tm local {};
    if (::localtime_r(&info.st_mtim.tv_sec, &local) == nullptr) return FileDate{};
    return FileDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                    local.tm_hour,        local.tm_min,     local.tm_sec};
  }

  std::unique_ptr<OpenedFile> OpenFile(std::string_view path, OpenMode mode) override {
    if (path.empty()) return nullptr;
    return OpenLinuxFile(NativePath(path), mode);
  }

 private:
  fs::path run_directory_;
};

}  // namespace

std::unique_ptr<FileSystem> CreateLinuxFileSystem() {
  std::error_code error;
  return CreateLinuxFileSystem(fs::current_path(error));
}

std::unique_ptr<FileSystem> CreateLinuxFileSystem(fs::path run_directory) {
  return std::make_unique<LinuxFileSystem>(std::move(run_directory));
}

}  // namespace korvane::platform
