#pragma once
// The programs name files with Windows-style GBK texts: the program folder followed by
// literals that begin with a backslash ("\PlayerConfig.ini"). This is the one place where
// such a text becomes a Linux path and back: "\" and "/" are separators, and the GBK
// bytes become UTF-8. Backslashes are found character by character, never byte by byte,
// since a GBK trail byte can be 0x5C.

#include <filesystem>
#include <string_view>

#include "common/text.h"

namespace korvane::platform {

std::filesystem::path NativePath(std::string_view core_path);

// The inverse: a native path as the programs see it, "/" written as "\".
Text CorePath(const std::filesystem::path& native);

}  // namespace korvane::platform
