#pragma once
// Every write that replaces a file goes through here: the bytes go to a temporary file in
// the target's folder, which is flushed to disk and renamed over the target. A crash or
// a failed write leaves the old file or the new one, never a truncated one. A read-only
// file is never replaced: the write fails and leaves it as it is, as it fails on the
// original platform.

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string_view>

namespace korvane::platform {

// A temporary file's name is its target's name, this infix and six letters or digits. Its
// writer holds it locked until the commit has renamed it; a writer killed before that
// leaves it behind, unlocked.
inline constexpr std::string_view kTemporaryInfix = ".tmp-";

class AtomicFileWriter {
 public:
  // Opens the temporary file, unless the target is read-only (then nothing is written and
  // ok() is false). The new file takes the target's permission bits when the target
  // exists, else `mode` (after the umask).
  explicit AtomicFileWriter(std::filesystem::path target, mode_t mode = 0644);
  ~AtomicFileWriter();  // discards an uncommitted temporary file
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  bool ok() const { return fd_ >= 0 && !failed_; }
  bool Write(std::string_view bytes);
  // Flushes, renames over the target and flushes the folder. False (and the target
  // untouched) when anything failed on the way.
  bool Commit();

 private:
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  int fd_ = -1;
  bool failed_ = false;
};

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

// Removes the temporaries beside `target` that killed writers of it left: files of exactly
// the temporary name that no live writer holds. Nothing else is touched.
void RemoveLeftTemporaries(const std::filesystem::path& target);

// The whole content of a file; nullopt when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

}  // namespace korvane::platform
