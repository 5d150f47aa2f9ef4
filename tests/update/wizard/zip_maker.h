#pragma once
// Writes zip archives for the updater's tests, as the operator's tool would: each entry
// deflated under its stored (GBK) name.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace korvane::update::testing {

using ZipEntries = std::vector<std::pair<std::string, std::string>>;  // name, bytes

// False when the archive could not be written.
bool WriteZip(const std::filesystem::path& archive, const ZipEntries& entries);

}  // namespace korvane::update::testing
