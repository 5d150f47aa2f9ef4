#include "platform/services/linux_shell.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/core/path_map.h"
#include "platform/services/process_launch.h"
#include "platform/services/wire_address.h"

namespace korvane::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kWindowsProgramSuffix = ".exe";

// The programs name "\Update.exe" and "\Player.exe"; on Linux the same program may sit
// there without the suffix.
fs::path ProgramPath(std::string_view file) {
  fs::path path = NativePath(file);
  std::error_code error;
  if (fs::is_regular_file(path, error)) return path;
  std::string native = path.string();
  if (native.size() > kWindowsProgramSuffix.size() &&
      EqualsNoCase(std::string_view(native).substr(native.size() - kWindowsProgramSuffix.size()), kWindowsProgramSuffix)) {
    fs::path bare = native.substr(0, native.size() - kWindowsProgramSuffix.size());
    if (fs::is_regular_file(bare, error)) return bare;
  }
  return path;
}

// The scheme before the first ":", when it is made of scheme characters only.
Text SchemeOf(std::string_view address) {
  std::size_t colon = address.find(':');
  if (colon == std::string_view::npos || colon == 0) return {};
  for (char c : address.substr(0, colon)) {
    bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    if (!letter && !other) return {};
  }
  return Text(address.substr(0, colon));
}

// The file name of a process's executable, also after the file was replaced or removed
// while the process runs (an update copies over installed programs).
std::string ExecutableName(const fs::path& link) {
  std::error_code error;
  std::string target = fs::read_symlink(link, error).filename().string();
  constexpr std::string_view kDeleted = " (deleted)";
  if (target.size() > kDeleted.size() && target.ends_with(kDeleted)) target.resize(target.size() - kDeleted.size());
  return error ? std::string() : target;
}

class LinuxShell final : public Shell {
 public:
  explicit LinuxShell(ShellTools tools) : tools_(std::move(tools)) {}

  bool RunShellVerb(std::string_view verb, std::string_view file) override {
    if (!EqualsNoCase(verb, "open") || file.empty()) return false;
    fs::path program = ProgramPath(file);
    if (::access(program.c_str(), X_OK) != 0) return false;
    // An absolute path, so that no PATH search can pick another program.
    return StartDetached(fs::absolute(program).string(), {});
  }

  bool OpenUrl(std::string_view address) override {
    Text scheme = SchemeOf(address);
    if (!EqualsNoCase(scheme, "http") && !EqualsNoCase(scheme, "https") && !EqualsNoCase(scheme, kChatLinkScheme))
      return false;
    return StartDetached(tools_.url_opener, {WireAddress(address)});
  }

  int EndProcessByName(std::string_view file_name) override {
    if (file_name.empty()) return 0;
    const std::string wanted(AsChars(GbkToUtf8(file_name)));
    const pid_t self = ::getpid();
    int ended = 0;
    std::error_code error;
    for (fs::directory_iterator entry("/proc", error), end; !error && entry != end; entry.increment(error)) {
      const std::string name = entry->path().filename().string();
      if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
      pid_t pid = static_cast<pid_t>(std::strtol(name.c_str(), nullptr, 10));
      if (pid == self || ExecutableName(entry->path() / "exe") != wanted) continue;
      if (::kill(pid, SIGKILL) == 0) ++ended;
    }
    return ended;
  }

  Text GetProgramFileName() override {
    return Utf8ToGbk(AsUtf8(ExecutableName("/proc/self/exe")));
  }

 private:
  ShellTools tools_;
};

}  // namespace

std::unique_ptr<Shell> CreateLinuxShell(ShellTools tools) { return std::make_unique<LinuxShell>(std::move(tools)); }

}  // namespace korvane::platform
