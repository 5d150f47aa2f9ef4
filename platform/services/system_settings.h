#pragma once
// The user's system settings that the settings window changes: registry values, the
// start-with-the-system entry and the screen-saver switch.

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

}  // namespace korvane::platform
