#include "platform/ui/units.h"

#include "platform/services/unzip.h"

namespace korvane::platform::ui {

bool ZipUnit::UnzipToDirectory(const std::string& archive, const std::string& target_folder) {
  if (!IsAlive()) return false;
  return platform::UnzipToDirectory(archive, target_folder);
}

}  // namespace korvane::platform::ui
