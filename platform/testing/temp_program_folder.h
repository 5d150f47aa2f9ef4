#pragma once
// A fresh program folder under the system's temporary folder, with the real Linux file
// operations rooted at it; removed with everything in it.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/services/files.h"

namespace korvane::platform::testing {

class TempProgramFolder {
 public:
  TempProgramFolder();
  ~TempProgramFolder();
  TempProgramFolder(const TempProgramFolder&) = delete;
  TempProgramFolder& operator=(const TempProgramFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder as GetRunDirectory gives it: a core path without a trailing backslash.
  Text run_directory() const { return run_directory_; }
  // The file operations, with this folder as the program folder.
  FileSystem& files() { return *files_; }

  // `relative` is a core path below the folder ("\update\up.dat"); folders are created.
  std::filesystem::path NativePathOf(std::string_view relative) const;
  bool Write(std::string_view relative, std::string_view bytes) const;
  std::optional<std::string> Read(std::string_view relative) const;
  bool Exists(std::string_view relative) const;

 private:
  std::filesystem::path path_;
  std::unique_ptr<FileSystem> files_;
  Text run_directory_;
};

}  // namespace korvane::platform::testing
