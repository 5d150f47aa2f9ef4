#pragma once
// The configuration files of the program folder. Each has the one section "Config", and a
// key names the file it lives in. `Config.ini` comes with the installation, is shared by
// both programs and only read; a program's own file and its keys are declared beside the
// program's code.

#include <string_view>

#include "common/text.h"

namespace korvane::platform {

struct ConfigKey {
  std::string_view file;  // the bare file name, e.g. "Config.ini"
  std::string_view name;
};

inline constexpr std::string_view kConfigSection = "Config";
inline constexpr std::string_view kConfigFileName = "Config.ini";

// Config.ini: the installation id, key-3 enciphered.
inline constexpr ConfigKey kUidKey{kConfigFileName, "UID"};

// Program folder + "\" + the file's name.
Text ConfigFilePath(std::string_view program_folder, std::string_view file_name);

Text ReadConfigValue(std::string_view program_folder, const ConfigKey& key);
bool WriteConfigValue(std::string_view program_folder, const ConfigKey& key, std::string_view value);

}  // namespace korvane::platform
