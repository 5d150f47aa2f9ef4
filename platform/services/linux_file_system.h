#pragma once
// The file operations on Linux. Paths are the programs' Windows-style GBK texts, mapped
// by platform/core/path_map.h; every write that replaces a file goes through
// platform/core/atomic_file.h.
//
// The program folder is the current directory at start, unless KORVANE_PROGRAM_FOLDER
// names another folder (how black-box tests run a program against a folder of their
// own; the same variable as the automation settings of platform/ui).

#include <filesystem>
#include <memory>

#include "platform/services/files.h"

namespace korvane::platform {

inline constexpr char kProgramDirectoryVariable[] = "KORVANE_PROGRAM_FOLDER";

// The program folder: KORVANE_PROGRAM_FOLDER when set and not empty, else the current
// directory.
std::filesystem::path ProgramDirectory();

std::unique_ptr<FileSystem> CreateLinuxFileSystem();
// The same operations with `run_directory` as the program folder.
std::unique_ptr<FileSystem> CreateLinuxFileSystem(std::filesystem::path run_directory);

}  // namespace korvane::platform
