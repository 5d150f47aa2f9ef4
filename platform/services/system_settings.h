#pragma once
// The user's system settings that the settings window changes: registry values, the
// start-with-the-system entry and the screen-saver switch.
//
// On Linux the current user's registry values live in an INI file under the XDG config
// folder ("korvane/registry.ini": one section per key, one entry per value); the
// autostart entry is an XDG autostart file; the screen saver is switched through the
// display's setting (xset) when a display is present, and recorded as the registry value
// "HKEY_CURRENT_USER\Control Panel\Desktop\ScreenSaveActive" in every case.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "common/text.h"

namespace korvane::platform {

enum class RegistryRoot { kCurrentUser };

class SystemSettings {
 public:
  virtual ~SystemSettings() = default;
  // `key_path` ends in the value's name ("Software\...\Main\Start Page").
  virtual bool WriteRegistryValue(RegistryRoot root, std::string_view key_path, std::string_view value) = 0;
  // `command_line` is a program's core path; `flags` is kept for the callers' sake and
  // changes nothing.
  virtual bool AddAutoStartEntry(std::string_view name, std::string_view command_line, int flags) = 0;
  virtual bool RemoveAutoStartEntry(std::string_view name) = 0;
  virtual bool SetScreenSaverActive(bool active) = 0;
};

struct SystemSettingsPlaces {
  std::filesystem::path config_home;        // empty: $XDG_CONFIG_HOME, else ~/.config
  std::string screen_saver_tool = "xset";   // a path, or a name looked up on PATH
};

std::unique_ptr<SystemSettings> CreateLinuxSystemSettings(SystemSettingsPlaces places = {});

// Where the registry values are kept, for tests and tools that read them back.
std::filesystem::path RegistryFilePath(const std::filesystem::path& config_home);

}  // namespace korvane::platform
