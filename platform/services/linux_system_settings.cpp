#include "platform/services/linux_system_settings.h"

#include <unistd.h>

#include <cstdlib>

#include "common/text.h"
#include "platform/core/atomic_file.h"
#include "platform/core/path_map.h"
#include "platform/core/profile.h"
#include "platform/services/process_launch.h"

namespace korvane::platform {
namespace {

namespace fs = std::filesystem;

constexpr char kCurrentUserRoot[] = "HKEY_CURRENT_USER";
constexpr char kScreenSaverKey[] = "Control Panel\\Desktop\\ScreenSaveActive";

fs::path DefaultConfigHome() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') return xdg;
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return fs::path(home) / ".config";
  return fs::current_path() / ".config";
}

bool DisplayPresent() {
  const char* display = std::getenv("DISPLAY");
  return display != nullptr && *display != '\0';
}

// A value of the Desktop Entry format: the argument quoted, then the string escapes, so
// a line end in a folder name cannot start another line of the entry.
std::string DesktopExecArgument(const std::string& argument) {
  std::string quoted = "\"";
  for (char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  std::string value;
  for (char c : quoted) {
    if (c == '\\') value += "\\\\";
    else if (c == '%') value += "%%";
    else if (c == '\n') value += "\\n";
    else if (c == '\r') value += "\\r";
    else if (c == '\t') value += "\\t";
    else value += c;
  }
  return value;
}

class LinuxSystemSettings final : public SystemSettings {
 public:
  // A run killed while it wrote the registry file or an autostart entry left that write's
  // temporary beside it; each start clears the registry file's, each entry's write its own.
  explicit LinuxSystemSettings(SystemSettingsPlaces places) : places_(std::move(places)) {
    if (places_.config_home.empty()) places_.config_home = DefaultConfigHome();
    RemoveLeftTemporaries(RegistryFilePath(places_.config_home));
  }

  bool WriteRegistryValue(RegistryRoot, std::string_view key_path, std::string_view value) override {
    const std::size_t split = FindLastSeparator(key_path);
    if (split == std::string_view::npos || split + 1 == key_path.size()) return false;
    fs::path file = RegistryFilePath(places_.config_home);
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    Text section = Text(kCurrentUserRoot) + "\\" + Text(key_path.substr(0, split));
    IniDocument document = IniDocument::Load(CorePath(file));
    return document.Set(section, key_path.substr(split + 1), value) && document.Save(CorePath(file));
  }

  bool AddAutoStartEntry(std::string_view name, std::string_view command_line, int) override {
    if (!ValidEntryName(name) || command_line.empty()) return false;
    std::error_code error;
    fs::create_directories(AutostartFolder(), error);
    RemoveLeftTemporaries(EntryPath(name));
    const std::string program = NativePath(command_line).string();
    const std::string entry = "[Desktop Entry]\nType=Application\nName=" + std::string(AsChars(GbkToUtf8(name))) +
                              "\nExec=" + DesktopExecArgument(program) + "\nX-GNOME-Autostart-enabled=true\n";
    return WriteFileAtomically(EntryPath(name), entry);
  }

  bool RemoveAutoStartEntry(std::string_view name) override {
    if (!ValidEntryName(name)) return false;
    std::error_code error;
    fs::remove(EntryPath(name), error);
    return !error;
  }

  bool SetScreenSaverActive(bool active) override {
    bool recorded = WriteRegistryValue(RegistryRoot::kCurrentUser, kScreenSaverKey, active ? "1" : "0");
    if (!DisplayPresent()) return recorded;
    std::optional<int> status = RunAndWait(places_.screen_saver_tool, {"s", active ? "on" : "off"});
    return recorded && status == 0;
  }

 private:
  // The name becomes a file name: no separators, no dot names, nothing that spans lines.
  static bool ValidEntryName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (std::size_t i = 0; i < name.size(); i += GbkCharLength(name, i)) {
      auto byte = static_cast<unsigned char>(name[i]);
      if (GbkCharLength(name, i) == 1 && (byte < 0x20 || byte == '/' || byte == '\\')) return false;
    }
    return true;
  }

  fs::path AutostartFolder() const { return places_.config_home / "autostart"; }
  fs::path EntryPath(std::string_view name) const {
    return AutostartFolder() / fs::path(GbkToUtf8(Text(name) + ".desktop"));
  }

  SystemSettingsPlaces places_;
};

}  // namespace

fs::path RegistryFilePath(const fs::path& config_home) { return config_home / "korvane" / "registry.ini"; }

std::unique_ptr<SystemSettings> CreateLinuxSystemSettings(SystemSettingsPlaces places) {
  return std::make_unique<LinuxSystemSettings>(std::move(places));
}

}  // namespace korvane::platform
