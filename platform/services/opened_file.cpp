#include "platform/services/opened_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace korvane::platform {
namespace {

constexpr std::size_t kReadChunk = 8192;
constexpr char kEndOfText = 0x1A;

bool EndsText(char byte) { return byte == '\0' || byte == kEndOfText; }

class LinuxOpenedFile final : public OpenedFile {
 public:
  explicit LinuxOpenedFile(int fd) : fd_(fd) {}
  ~LinuxOpenedFile() override { ::close(fd_); }  // the lock goes with the descriptor
  LinuxOpenedFile(const LinuxOpenedFile&) = delete;
  LinuxOpenedFile& operator=(const LinuxOpenedFile&) = delete;

  std::int64_t GetOpenFileLength() override {
    struct stat info {};
    return ::fstat(fd_, &info) == 0 ? static_cast<std::int64_t>(info.st_size) : 0;
  }

  bool SeekToFileEnd() override {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) return false;
    Reposition(info.st_size);
    return true;
  }

  bool WriteBytes(std::string_view bytes) override {
    while (!bytes.empty()) {
      ssize_t written = ::pwrite(fd_, bytes.data(), bytes.size(), position_);
      if (written <= 0) return false;
      Reposition(position_ + written);
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
  }

  std::string ReadBytes(std::int64_t at, std::size_t length) override {
    std::string bytes(length, '\0');
    std::size_t got = 0;
    while (got < length) {
      ssize_t n = ::pread(fd_, bytes.data() + got, length - got, static_cast<off_t>(at) + static_cast<off_t>(got));
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
  }

  bool Truncate() override {
    if (::ftruncate(fd_, 0) != 0) return false;
    Reposition(0);
    return true;
  }

  // Terminators are never GBK trail bytes, so a byte scan cannot split a character.
  Text ReadLine() override {
    Text line;
    for (;;) {
      if (!Fill()) break;
      char byte = buffer_[cursor_];
      if (EndsText(byte)) break;
      Advance();
      if (byte == '\n') {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        break;
      }
      line += byte;
    }
    return line;
  }

  bool IsEndOfFile() override { return !Fill() || EndsText(buffer_[cursor_]); }

 private:
  // True when a byte is available at the current position.
  bool Fill() {
    if (cursor_ < buffer_.size()) return true;
    buffer_.resize(kReadChunk);
    ssize_t got = ::pread(fd_, buffer_.data(), kReadChunk, position_);
    buffer_.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    cursor_ = 0;
    return !buffer_.empty();
  }

  void Advance() {
    ++cursor_;
    ++position_;
  }

  void Reposition(off_t position) {
    position_ = position;
    buffer_.clear();
    cursor_ = 0;
  }

  int fd_;
  off_t position_ = 0;
  std::string buffer_;
  std::size_t cursor_ = 0;
};

}  // namespace

std::unique_ptr<OpenedFile> OpenLinuxFile(const std::filesystem::path& path, OpenMode mode) {
  if (path.empty()) return nullptr;
  int fd = -1;
  int lock = LOCK_SH;
  if (mode == OpenMode::kWrite) {
    fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    lock = LOCK_EX;
  } else {
    fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);  // a read-only file still reads
  }
  if (fd < 0) return nullptr;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || ::flock(fd, lock | LOCK_NB) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<LinuxOpenedFile>(fd);
}

}  // namespace korvane::platform
