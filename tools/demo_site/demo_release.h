#pragma once
// A release of the demo program as files in a folder, and the two places it goes: the
// demo program folder (the installed release with its local list "up.dat") and the
// site's update list folder (the published release: "up.dat.zip" and one archive per
// file that differs from the installed release).

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/text.h"
#include "tools/demo_site/site_description.h"

namespace korvane::tools {

struct ReleaseFile {
  Text name;                       // bare file name
  Text path;                       // 文件路径: "\" + its path below the release folder
  std::filesystem::path relative;  // the same path on this system
  std::string bytes;
};

// Every file below `folder`, in path order. nullopt with `error` when the folder cannot
// be read, a name is not GBK, or two files share a bare name (a list names each once).
std::optional<std::vector<ReleaseFile>> ReadRelease(const std::filesystem::path& folder,
                                                    std::string* error);

// Copies the files into `program_folder` and writes its "up.dat". False when a write failed.
bool InstallRelease(const std::filesystem::path& program_folder, const ReleaseDescription& release,
                    const std::vector<ReleaseFile>& files);

// Writes the update into `list_folder`: a file whose bytes equal the installed file at
// the same path keeps the installed date (and is not fetched); every other file gets the
// published date and an archive. False when a write failed.
bool PublishRelease(const std::filesystem::path& list_folder, const ReleaseDescription& release,
                    const std::vector<ReleaseFile>& files, const ReleaseDescription& installed,
                    const std::vector<ReleaseFile>& installed_files);

}  // namespace korvane::tools
