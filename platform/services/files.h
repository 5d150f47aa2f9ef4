#pragma once
// File and folder operations on the programs' Windows-style GBK paths (see
// platform/core/path_map.h). Results are values, never exceptions: a failure gives
// false, empty text, 0 or an empty handle.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/text.h"

namespace korvane::platform {

// Local date and time of a file's last write, whole seconds.
struct FileDate {
  int year = 100;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  bool operator==(const FileDate&) const = default;
};

// "%d年%d月%d日" followed by the time without its trailing zero parts.
Text DateText(const FileDate& date);

enum class FindMode { kFilesOnly, kFoldersOnly };

// One search (FindFileNext until empty text; FindFileClose when destroyed).
class FileSearch {
 public:
  virtual ~FileSearch() = default;
  // The next bare name that matches, "." and ".." included in folders-only mode as the
  // file system gives them; empty text when nothing (more) matches.
  virtual Text FindFileNext() = 0;
};

enum class OpenMode {
  kReadWriteExisting,  // the default mode: an existing file, read and written
  kWrite,              // created when missing, never truncated; no other opener meanwhile
};

class OpenedFile {
 public:
  virtual ~OpenedFile() = default;  // CloseFile
  virtual std::int64_t GetOpenFileLength() = 0;
  virtual bool SeekToFileEnd() = 0;
  virtual bool WriteBytes(std::string_view bytes) = 0;
  // Up to `length` bytes from `at`: fewer at the end of the file, none when it cannot be read.
  virtual std::string ReadBytes(std::int64_t at, std::size_t length) = 0;
  // Cuts the file to nothing; the next write goes at its start.
  virtual bool Truncate() = 0;
  // Up to LF, a zero byte or 0x1A; a CR just before the LF is dropped; a double-byte
  // character is never split.
  virtual Text ReadLine() = 0;
  // At the end, or the next byte is 0 or 0x1A.
  virtual bool IsEndOfFile() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The program folder without a trailing backslash.
  virtual Text GetRunDirectory() = 0;
  virtual bool MakeDirectory(std::string_view path) = 0;
  virtual bool DeleteDirectoryTree(std::string_view path) = 0;
  virtual bool RemoveFile(std::string_view path) = 0;
  // Replaces `to` atomically: it is left wholly old or wholly new.
  virtual bool CopyFileOverwrite(std::string_view from, std::string_view to) = 0;
  // `pattern` is a folder path followed by a name pattern with "*" and "?".
  virtual std::unique_ptr<FileSearch> FindFiles(std::string_view pattern, FindMode mode) = 0;
  // Year 100, January 1 when the file cannot be found.
  virtual FileDate GetFileModifiedTime(std::string_view path) = 0;
  // Empty when the file cannot be opened (an empty path fails).
  virtual std::unique_ptr<OpenedFile> OpenFile(std::string_view path, OpenMode mode) = 0;
};

}  // namespace korvane::platform
