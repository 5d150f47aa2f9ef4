#include "platform/services/linux_system_settings.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "platform/core/atomic_file.h"
#include "platform/core/path_map.h"
#include "platform/core/profile.h"
#include "tests/support/temp_folder.h"

namespace korvane::platform {
namespace {

namespace fs = std::filesystem;

class LinuxSystemSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (display != nullptr) saved_display_ = display;
    ::unsetenv("DISPLAY");
  }
  void TearDown() override {
    if (!saved_display_.empty()) ::setenv("DISPLAY", saved_display_.c_str(), 1);
  }

  Text RegistryValue(std::string_view key, std::string_view value) {
    return ReadIniValue(CorePath(RegistryFilePath(folder_.path())), key, value);
  }

  testing_support::TempFolder folder_;
  fs::path tool_ = folder_.path() / "xset";
  std::unique_ptr<SystemSettings> settings_ =
      CreateLinuxSystemSettings(SystemSettingsPlaces{.config_home = folder_.path(), .screen_saver_tool = tool_});
  std::string saved_display_;
};

TEST_F(LinuxSystemSettingsTest, RegistryValuesAreKeptPerKeyAndReplaced) {
  const Text key = "Software\\Microsoft\\Internet Explorer\\Main\\Start Page";
  const Text section = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main";
  EXPECT_TRUE(settings_->WriteRegistryValue(RegistryRoot::kCurrentUser, key, "http://home.example/?soft"));
  EXPECT_EQ(RegistryValue(section, "Start Page"), "http://home.example/?soft");
  EXPECT_TRUE(settings_->WriteRegistryValue(RegistryRoot::kCurrentUser, key, "?soft"));
  EXPECT_EQ(RegistryValue(section, "Start Page"), "?soft");
  EXPECT_FALSE(settings_->WriteRegistryValue(RegistryRoot::kCurrentUser, "NoFolder", "x"));
  EXPECT_FALSE(settings_->WriteRegistryValue(RegistryRoot::kCurrentUser, key, "two\r\nlines"));
  EXPECT_EQ(RegistryValue(section, "Start Page"), "?soft");
}

// What a killed write of the registry file or of an autostart entry left is cleared by the
// next start and the next write of that entry; nothing else goes.
TEST_F(LinuxSystemSettingsTest, TemporariesOfKilledWritesAreCleared) {
  const fs::path registry = RegistryFilePath(folder_.path());
  const fs::path entry = folder_.path() / "autostart" / "Player.desktop";
  fs::create_directories(registry.parent_path());
  fs::create_directories(entry.parent_path());
  const fs::path left[] = {registry.string() + ".tmp-Ab12Cd", entry.string() + ".tmp-000000"};
  const fs::path kept = registry.string() + ".tmp-Ab12C";
  for (const fs::path& file : {left[0], left[1], kept}) std::ofstream(file) << "half";
  std::unique_ptr<SystemSettings> next_start =
      CreateLinuxSystemSettings(SystemSettingsPlaces{.config_home = folder_.path(), .screen_saver_tool = tool_});
  EXPECT_FALSE(fs::exists(left[0]));
  EXPECT_TRUE(fs::exists(left[1]));
  EXPECT_TRUE(next_start->AddAutoStartEntry("Player", "\\opt\\Player", 0));
  EXPECT_FALSE(fs::exists(left[1]));
  EXPECT_TRUE(fs::exists(kept));
}

TEST_F(LinuxSystemSettingsTest, TheAutostartEntryRunsTheProgramsFullPath) {
  const fs::path entry = folder_.path() / "autostart" / "Player.desktop";
  EXPECT_TRUE(settings_->AddAutoStartEntry("Player", "\\opt\\my $player\\Player", 0));
  std::optional<std::string> text = ReadWholeFile(entry);
  ASSERT_TRUE(text.has_value());
  EXPECT_NE(text->find("[Desktop Entry]\n"), std::string::npos);
  EXPECT_NE(text->find("Type=Application\n"), std::string::npos);
  EXPECT_NE(text->find("Exec=\"/opt/my \\\\$player/Player\"\n"), std::string::npos) << *text;

  EXPECT_TRUE(settings_->AddAutoStartEntry("Player", "\\opt\\a\nExec=evil\\Player", 0));
  text = ReadWholeFile(entry);
  ASSERT_TRUE(text.has_value());
  EXPECT_NE(text->find("Exec=\"/opt/a\\nExec=evil/Player\"\n"), std::string::npos) << *text;
  EXPECT_EQ(text->find("\nExec=evil"), std::string::npos) << "a line end in the path starts no line";

  EXPECT_TRUE(settings_->RemoveAutoStartEntry("Player"));
  EXPECT_FALSE(fs::exists(entry));
  EXPECT_TRUE(settings_->RemoveAutoStartEntry("Player")) << "nothing left to remove";
  EXPECT_FALSE(settings_->AddAutoStartEntry("../escape", "\\opt\\Player", 0));
  EXPECT_FALSE(settings_->AddAutoStartEntry("", "\\opt\\Player", 0));
}

TEST_F(LinuxSystemSettingsTest, WithoutADisplayTheScreenSaverSwitchIsRecorded) {
  EXPECT_TRUE(settings_->SetScreenSaverActive(false));
  EXPECT_EQ(RegistryValue("HKEY_CURRENT_USER\\Control Panel\\Desktop", "ScreenSaveActive"), "0");
  EXPECT_FALSE(fs::exists(folder_.path() / "tool.log"));
}

TEST_F(LinuxSystemSettingsTest, WithADisplayTheDesktopSettingIsSwitched) {
  ASSERT_TRUE(WriteFileAtomically(tool_, "#!/bin/sh\necho \"$@\" >> '" + (folder_.path() / "tool.log").string() + "'\n"));
  ::chmod(tool_.c_str(), 0755);
  ::setenv("DISPLAY", ":99", 1);
  EXPECT_TRUE(settings_->SetScreenSaverActive(false));
  EXPECT_EQ(ReadWholeFile(folder_.path() / "tool.log"), "s off\n");
  EXPECT_EQ(RegistryValue("HKEY_CURRENT_USER\\Control Panel\\Desktop", "ScreenSaveActive"), "0");

  ASSERT_TRUE(WriteFileAtomically(tool_, "#!/bin/sh\nexit 1\n"));
  EXPECT_FALSE(settings_->SetScreenSaverActive(false)) << "a refused switch is reported";
}

}  // namespace
}  // namespace korvane::platform
