#include "platform/core/config_files.h"

#include "platform/core/profile.h"

namespace korvane::platform {

Text ConfigFilePath(std::string_view program_folder, std::string_view file_name) {
  Text path(program_folder);
  path += '\\';
  path += file_name;
  return path;
}

Text ReadConfigValue(std::string_view program_folder, const ConfigKey& key) {
  return ReadIniValue(ConfigFilePath(program_folder, key.file), kConfigSection, key.name);
}

bool WriteConfigValue(std::string_view program_folder, const ConfigKey& key, std::string_view value) {
  return WriteIniValue(ConfigFilePath(program_folder, key.file), kConfigSection, key.name, value);
}

}  // namespace korvane::platform
