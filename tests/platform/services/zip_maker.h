#pragma once
// Real zip archives made inside a test, entry by entry, with the names as raw bytes.

#include <filesystem>
#include <string>
#include <vector>

namespace korvane::testing_support {

struct ZipEntry {
  std::string name;  // bytes as stored (GBK unless utf8_name)
  std::string content{};
  bool utf8_name = false;
  bool symlink = false;  // stored as a Unix link whose target is `content`
  bool stored = false;   // no compression
};

// False when the archive could not be written.
bool MakeZip(const std::filesystem::path& archive, const std::vector<ZipEntry>& entries);

}  // namespace korvane::testing_support
