#pragma once
// The file operations on Linux. Paths are the programs' Windows-style GBK texts, mapped
// by platform/core/path_map.h; every write that replaces a file goes through
// platform/core/atomic_file.h.

#include <filesystem>
#include <memory>

#include "platform/services/files.h"

namespace korvane::platform {

// The program folder is the current directory at start.
std::unique_ptr<FileSystem> CreateLinuxFileSystem();
// The same operations with `run_directory` as the program folder.
std::unique_ptr<FileSystem> CreateLinuxFileSystem(std::filesystem::path run_directory);

}  // namespace korvane::platform
