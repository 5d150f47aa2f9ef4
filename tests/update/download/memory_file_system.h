#pragma once
// Files held in memory, with the write-mode rules of the platform's OpenFile: created
// when missing, never truncated, and no second opener while a file is open. A file may
// start with a "sparse" length of bytes that are counted but not stored, so that files
// near 2 GB cost nothing.

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/services/files.h"

namespace korvane::testing_support {

struct MemoryFile {
  std::int64_t sparse_length = 0;
  std::string bytes;
  bool open = false;
  std::int64_t Length() const { return sparse_length + static_cast<std::int64_t>(bytes.size()); }
};

class MemoryFileSystem final : public platform::FileSystem {
 public:
  std::map<Text, MemoryFile> files;
  std::set<Text> unopenable;
  bool writes_fail = false;
  int opens = 0;

  std::unique_ptr<platform::OpenedFile> OpenFile(std::string_view path,
                                                 platform::OpenMode mode) override;

  // The downloader needs nothing else of the file system.
  Text GetRunDirectory() override;
  bool MakeDirectory(std::string_view path) override;
  bool DeleteDirectoryTree(std::string_view path) override;
  bool RemoveFile(std::string_view path) override;
  bool CopyFileOverwrite(std::string_view from, std::string_view to) override;
  std::unique_ptr<platform::FileSearch> FindFiles(std::string_view pattern,
                                                  platform::FindMode mode) override;
  platform::FileDate GetFileModifiedTime(std::string_view path) override;
};

}  // namespace korvane::testing_support
