#pragma once
// The user's system settings kept in memory, for the settings window's logic tests.

#include <map>
#include <optional>
#include <string>

#include "platform/services/system_settings.h"

namespace korvane::platform::testing {

class FakeSystemSettings final : public SystemSettings {
 public:
  bool WriteRegistryValue(RegistryRoot, std::string_view key_path, std::string_view value) override {
    registry_[Text(key_path)] = Text(value);
    return true;
  }
  bool AddAutoStartEntry(std::string_view name, std::string_view command_line, int) override {
    autostart_[Text(name)] = Text(command_line);
    return true;
  }
  bool RemoveAutoStartEntry(std::string_view name) override {
    autostart_.erase(Text(name));
    return true;
  }
  bool SetScreenSaverActive(bool active) override {
    screen_saver_active_ = active;
    return true;
  }

  // Key path (value name included) to value, as written.
  const std::map<Text, Text>& registry() const { return registry_; }
  // Entry name to command line.
  const std::map<Text, Text>& autostart() const { return autostart_; }
  // Empty until the switch was used.
  std::optional<bool> screen_saver_active() const { return screen_saver_active_; }

 private:
  std::map<Text, Text> registry_;
  std::map<Text, Text> autostart_;
  std::optional<bool> screen_saver_active_;
};

}  // namespace korvane::platform::testing
