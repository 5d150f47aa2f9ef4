#include "platform/core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <string>

namespace korvane::platform {
namespace {

void SyncFolder(const std::filesystem::path& folder) {
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target, mode_t mode)
    : target_(std::move(target)) {
  std::string pattern = target_.string() + std::string(kTemporaryInfix) + "XXXXXX";
  fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd_ < 0) return;
  temporary_ = pattern;
  struct stat existing {};
  if (::stat(target_.c_str(), &existing) == 0) {
    mode = existing.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  ::fchmod(fd_, mode);
}

AtomicFileWriter::~AtomicFileWriter() {
  if (fd_ >= 0) ::close(fd_);
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
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
  bool flushed = ::fsync(fd_) == 0;
  bool closed = ::close(fd_) == 0;
  fd_ = -1;
  if (!flushed || !closed || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
    failed_ = true;
    return false;
  }
  temporary_.clear();
  SyncFolder(target_.parent_path());
  return true;
}

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
  AtomicFileWriter writer(target);
  return writer.Write(bytes) && writer.Commit();
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
