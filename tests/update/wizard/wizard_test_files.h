#pragma once
// The file system that the updater's tests run on: the Linux one, with a folder of the
// test's own as the program folder.

#include <memory>

#include "common/text.h"
#include "platform/core/path_map.h"
#include "platform/services/linux_file_system.h"

namespace korvane::update::testing {

inline std::unique_ptr<platform::FileSystem> MakeFileSystem(const Text& program_folder) {
  return platform::CreateLinuxFileSystem(platform::NativePath(program_folder));
}

}  // namespace korvane::update::testing
