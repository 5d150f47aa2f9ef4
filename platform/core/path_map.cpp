#include "platform/core/path_map.h"

namespace korvane::platform {

std::filesystem::path NativePath(std::string_view core_path) {
  return std::filesystem::path(GbkToUtf8(ReplaceAll(core_path, "\\", "/")));
}

Text CorePath(const std::filesystem::path& native) {
  return ReplaceAll(Utf8ToGbk(native.generic_u8string()), "/", "\\");
}

}  // namespace korvane::platform
