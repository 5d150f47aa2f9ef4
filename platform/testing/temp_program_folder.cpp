#include "platform/testing/temp_program_folder.h"

#include <stdlib.h>

#include "platform/core/atomic_file.h"
#include "platform/core/path_map.h"
#include "platform/services/linux_file_system.h"

namespace korvane::platform::testing {

namespace fs = std::filesystem;

TempProgramFolder::TempProgramFolder() {
  std::string pattern = (fs::temp_directory_path() / "korvane-program-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();  // no test can run without it
  path_ = pattern;
  files_ = CreateLinuxFileSystem(path_);
  run_directory_ = files_->GetRunDirectory();
}

TempProgramFolder::~TempProgramFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

fs::path TempProgramFolder::NativePathOf(std::string_view relative) const {
  return NativePath(run_directory_ + Text(relative));
}

bool TempProgramFolder::Write(std::string_view relative, std::string_view bytes) const {
  fs::path file = NativePathOf(relative);
  std::error_code error;
  fs::create_directories(file.parent_path(), error);
  return WriteFileAtomically(file, bytes);
}

std::optional<std::string> TempProgramFolder::Read(std::string_view relative) const {
  return ReadWholeFile(NativePathOf(relative));
}

bool TempProgramFolder::Exists(std::string_view relative) const {
  std::error_code error;
  return fs::exists(fs::symlink_status(NativePathOf(relative), error));
}

}  // namespace korvane::platform::testing
