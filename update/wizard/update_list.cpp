#include "update/wizard/update_list.h"

#include "platform/core/profile.h"

namespace korvane::update {

Text ReadListVersion(std::string_view list_file) {
  return platform::ReadIniValue(list_file, kVersionSection, kVersionKey);
}

void ReadServerFileNames(platform::FileSystem& files, std::string_view list_file,
                         const std::function<void(const Text& name)>& on_name) {
  std::unique_ptr<platform::OpenedFile> file =
      files.OpenFile(list_file, platform::OpenMode::kReadWriteExisting);
  if (!file) return;
  const Text marker = Text(kFileNameKey) + "=";
  while (!file->IsEndOfFile()) {
    Text line = file->ReadLine();
    if (FindText(line, marker) < 0) continue;
    on_name(line.substr(marker.size()));
  }
}

}  // namespace korvane::update
