#pragma once
// Writes the zip archives an update is published in: each entry deflated under its
// stored (GBK) name, with one fixed stored date (the updater takes each file's date from
// the update list, never from the archive).

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace korvane::tools {

using ZipEntries = std::vector<std::pair<std::string, std::string>>;  // name, bytes

// False when the archive could not be written.
bool WriteZip(const std::filesystem::path& archive, const ZipEntries& entries);

}  // namespace korvane::tools
