#include "bench/support/temp_folder.h"

#include <stdlib.h>

#include <cstdlib>
#include <string>
#include <system_error>

namespace korvane::bench {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "korvane-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempFolder::FreshFile(const std::filesystem::path& name) const {
  const std::filesystem::path file = path_ / name;
  std::filesystem::remove(file);
  return file;
}

std::filesystem::path TempFolder::FreshFolder(const std::filesystem::path& name) const {
  const std::filesystem::path folder = path_ / name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace korvane::bench
