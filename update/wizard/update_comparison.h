#pragma once
// The comparison of the server's update list with the local one: equal versions mean no
// update; otherwise every server file whose 文件日期 differs from the local one is listed
// with its 文件尺寸 text. Only the two lists are compared, never the installed files.

#include <cstdint>
#include <string_view>
#include <vector>

#include "common/text.h"
#include "platform/services/files.h"
#include "update/wizard/update_paths.h"

namespace korvane::update {

struct ListedFile {
  Text name;
  Text size_text;  // 文件尺寸 as the server list holds it
};

struct UpdateComparison {
  Text server_version;
  Text local_version;
  bool same_version = false;
  std::vector<ListedFile> files;  // empty when the versions are the same
  std::int32_t total_size = 0;
};

UpdateComparison CompareUpdateLists(platform::FileSystem& files, const UpdatePaths& paths);

// The sizes are summed in doubles and truncated toward zero after each addition (so
// 1.5 + 1.5 gives 2); the result stays inside the 32-bit range.
std::int32_t AddFileSize(std::int32_t sum, std::string_view size_text);

// `done` × 100 ÷ `total`, truncated toward zero; 0 when `total` is 0.
std::int32_t OverallPercent(std::int32_t done, std::int32_t total);

}  // namespace korvane::update
