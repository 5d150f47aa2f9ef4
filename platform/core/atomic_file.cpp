#include "platform/core/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <string>

namespace korvane::platform {
namespace {

namespace fs = std::filesystem;

// mkostemp's six characters.
constexpr std::size_t kUniquePart = 6;
// A name a clean-up has locked first is taken again under another name.
constexpr int kNameAttempts = 8;

void SyncFolder(const fs::path& folder) {
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

bool IsUniqueCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// The target's name, the infix and the six characters mkostemp puts there; nothing else.
bool IsTemporaryNameOf(std::string_view name, std::string_view target_name) {
  if (name.size() != target_name.size() + kTemporaryInfix.size() + kUniquePart ||
      !name.starts_with(target_name) ||
      name.substr(target_name.size(), kTemporaryInfix.size()) != kTemporaryInfix) {
    return false;
  }
  for (char c : name.substr(name.size() - kUniquePart)) {
    if (!IsUniqueCharacter(c)) return false;
  }
  return true;
}

// A file without any write bit is read-only as the original platform's attribute makes a
// file; root passes every access() test, so the bits decide for it. A file this process
// may not write is read-only to it too.
bool IsReadOnly(const fs::path& file, const struct stat& info) {
  return (info.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(fs::path target, mode_t mode) : target_(std::move(target)) {
  struct stat existing {};
  const bool exists = ::stat(target_.c_str(), &existing) == 0;
  if (exists && IsReadOnly(target_, existing)) return;
  for (int attempt = 0; attempt < kNameAttempts && fd_ < 0; ++attempt) {
    std::string pattern = target_.string() + std::string(kTemporaryInfix) + "XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) return;
    // The lock marks the temporary as a live writer's until it has been renamed.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      ::close(fd);
      continue;
    }
    fd_ = fd;
    temporary_ = pattern;
  }
  if (fd_ < 0) return;
  if (exists) {
    mode = existing.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  ::fchmod(fd_, mode);
}

AtomicFileWriter::~AtomicFileWriter() {
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  if (fd_ >= 0) ::close(fd_);
}

bool AtomicFileWriter::Write(std::string_view bytes) {
  if (!ok()) return false;
  while (!bytes.empty()) {
    ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failed_ = true;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool AtomicFileWriter::Commit() {
  if (!ok()) return false;
  // The temporary stays open, and so locked, until it bears the target's name. Once the
  // flush has succeeded, closing has no write error left to report.
  const bool committed = ::fsync(fd_) == 0 && ::rename(temporary_.c_str(), target_.c_str()) == 0;
  if (committed) temporary_.clear();
  ::close(fd_);
  fd_ = -1;
  if (!committed) {
    failed_ = true;
    return false;
  }
  SyncFolder(target_.parent_path());
  return true;
}

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
  AtomicFileWriter writer(target);
  return writer.Write(bytes) && writer.Commit();
}

void RemoveLeftTemporaries(const fs::path& target) {
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  const std::string target_name = target.filename().string();
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
    const fs::path& path = entry->path();
    if (!IsTemporaryNameOf(path.filename().string(), target_name)) continue;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) continue;
    // A regular file that no writer holds, and still the file of that name.
    struct stat opened {};
    struct stat named {};
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::lstat(path.c_str(), &named) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino) {
      ::unlink(path.c_str());
    }
    ::close(fd);
  }
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return bytes;
}

}  // namespace korvane::platform
