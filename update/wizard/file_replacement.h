#pragma once
// Copying the unpacked files over the installed ones. A server list names both the file
// (a bare name) and where it goes (文件路径, below the program folder); a name or path that
// would lead anywhere else is refused, and that file fails as a failed copy does; so does
// an unpacked copy whose length is not the list's 文件尺寸 (when that is a whole number
// of bytes).

#include <optional>
#include <string_view>
#include <vector>

#include "common/text.h"
#include "platform/core/profile.h"
#include "platform/services/files.h"
#include "update/wizard/update_paths.h"

namespace korvane::update {

// A file name without folders: no "\" or "/", no drive, not "." or "..".
bool IsBareFileName(std::string_view name);

// F + `file_path` when `file_path` begins with "\" and every part of it is a bare file
// name; nullopt when it would lead outside F (a drive, "..", no leading backslash).
std::optional<Text> InstalledFilePath(const Text& program_folder, std::string_view file_path);

// Copies each listed file's unpacked copy over its installed file (where `server_list`
// puts it), in list order, and
// stops at the first that cannot be replaced: its name is the result. The copy replaces
// the installed file atomically, so a failure leaves it as it was; temporaries that an
// earlier, killed replacement left beside an installed file go first.
std::optional<Text> ReplaceInstalledFiles(platform::FileSystem& files, const UpdatePaths& paths,
                                          const platform::IniDocument& server_list,
                                          const std::vector<Text>& names);

}  // namespace korvane::update
