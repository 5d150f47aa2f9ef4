#pragma once
// The two configuration files of the program folder and their keys, named once here so
// that no caller spells a file or key of its own. Both files have the one section
// "Config"; `Config.ini` comes with the installation and is only read, `PlayerConfig.ini`
// is Player's own.

#include <string_view>

#include "common/text.h"

namespace korvane::platform {

enum class ConfigFile { kConfig, kPlayerConfig };

struct ConfigKey {
  ConfigFile file;
  std::string_view name;
};

inline constexpr std::string_view kConfigSection = "Config";

// Config.ini: the installation id, key-3 enciphered.
inline constexpr ConfigKey kUidKey{ConfigFile::kConfig, "UID"};
// PlayerConfig.ini: list open ("2") or closed ("1").
inline constexpr ConfigKey kListKey{ConfigFile::kPlayerConfig, "List"};
// PlayerConfig.ini: what the next click of the pause/play toggle does (1 plays, 2 pauses).
inline constexpr ConfigKey kButtonKey{ConfigFile::kPlayerConfig, "Button"};
// PlayerConfig.ini: start with the desktop session (1) or not (0).
inline constexpr ConfigKey kStartKey{ConfigFile::kPlayerConfig, "Start"};
// PlayerConfig.ini: always on top (0) or not (1).
inline constexpr ConfigKey kStickyKey{ConfigFile::kPlayerConfig, "Sticky"};
// PlayerConfig.ini: the renderer mode 1, 2 or 3, stored and shown again.
inline constexpr ConfigKey kRenderingKey{ConfigFile::kPlayerConfig, "Rendering"};
// PlayerConfig.ini: screen saver switched off (1) or not (0).
inline constexpr ConfigKey kScreenKey{ConfigFile::kPlayerConfig, "Screen"};

// "Config.ini" or "PlayerConfig.ini": the bare name, as the start-up presence test uses it.
std::string_view ConfigFileName(ConfigFile file);

// Program folder + "\" + the file's name.
Text ConfigFilePath(std::string_view program_folder, ConfigFile file);

Text ReadConfigValue(std::string_view program_folder, const ConfigKey& key);
bool WriteConfigValue(std::string_view program_folder, const ConfigKey& key, std::string_view value);

}  // namespace korvane::platform
