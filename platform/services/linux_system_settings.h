#pragma once
// The user's system settings on Linux. The current user's registry values live in an INI
// file under the XDG config folder ("korvane/registry.ini": one section per key, one
// entry per value); the autostart entry is an XDG autostart file; the screen saver is
// switched through the display's setting (xset) when a display is present, and recorded
// as the registry value "HKEY_CURRENT_USER\Control Panel\Desktop\ScreenSaveActive" in
// every case.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/services/system_settings.h"

namespace korvane::platform {

struct SystemSettingsPlaces {
  std::filesystem::path config_home;        // empty: $XDG_CONFIG_HOME, else ~/.config
  std::string screen_saver_tool = "xset";   // a path, or a name looked up on PATH
};

std::unique_ptr<SystemSettings> CreateLinuxSystemSettings(SystemSettingsPlaces places = {});

// Where the registry values are kept, for tests and tools that read them back.
std::filesystem::path RegistryFilePath(const std::filesystem::path& config_home);

}  // namespace korvane::platform
