#include "update/wizard/update_comparison.h"

#include <cmath>
#include <limits>

#include "common/number.h"
#include "platform/core/profile.h"
#include "update/wizard/update_list.h"

namespace korvane::update {
namespace {

// A double truncated toward zero into the 32-bit range; out-of-range values saturate
// instead of being undefined.
std::int32_t TruncateTo32(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  if (value >= kMax) return std::numeric_limits<std::int32_t>::max();
  if (value <= kMin) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(std::trunc(value));
}

}  // namespace

std::int32_t AddFileSize(std::int32_t sum, std::string_view size_text) {
  return TruncateTo32(static_cast<double>(sum) + ToNumber(size_text));
}

std::int32_t OverallPercent(std::int32_t done, std::int32_t total) {
  if (total == 0) return 0;
  return TruncateTo32(static_cast<double>(done) * 100.0 / static_cast<double>(total));
}

UpdateComparison CompareUpdateLists(platform::FileSystem& files, const UpdatePaths& paths) {
  UpdateComparison result;
  const Text server_list = paths.ServerList();
  const Text local_list = paths.LocalList();
  result.server_version = ReadListVersion(server_list);
  result.local_version = ReadListVersion(local_list);
  result.same_version = result.server_version == result.local_version;
  if (result.same_version) return result;
  // Each list is read once; a lookup gives what ReadIniValue would give.
  const platform::IniDocument server = platform::IniDocument::Load(server_list);
  const platform::IniDocument local = platform::IniDocument::Load(local_list);
  ReadServerFileNames(files, server_list, [&](const Text& name) {
    if (server.Value(name, kFileDateKey) == local.Value(name, kFileDateKey)) return;
    Text size_text = server.Value(name, kFileSizeKey);
    result.total_size = AddFileSize(result.total_size, size_text);
    result.files.push_back({name, std::move(size_text)});
  });
  return result;
}

}  // namespace korvane::update
