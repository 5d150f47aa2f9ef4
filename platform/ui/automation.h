#pragma once
// Automation for black-box tests and demos, chosen by environment variables because the
// programs take no arguments (docs/automation.md):
//   KORVANE_UI=headless        run without a display, on the headless backend
//   KORVANE_UI_SCRIPT=file     the script of user actions (UTF-8)
//   KORVANE_UI_DUMP=file       where `dump` actions and the final state go (JSON lines)
//   KORVANE_UI_TIME=virtual    virtual time: timers and waits pass at once
//   KORVANE_PROBE_UNRESOLVABLE=1  no host name resolves (a machine without network)
//   KORVANE_PROGRAM_FOLDER=dir the program folder, in place of the current directory
//   KORVANE_INSTANCE_SCOPE=s   single-instance names apart from every other scope's
// They are read once, at start (platform/app/program_root.h), and handed to what needs them.

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/services/http.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/program.h"
#include "platform/ui/script.h"

namespace korvane::platform::ui {

struct AutomationSettings {
  bool headless = false;
  std::string script_path;
  std::string dump_path;
  bool virtual_time = false;
  bool unresolvable_names = false;
  std::filesystem::path program_folder;  // empty: the current directory
  std::string instance_scope;            // empty: one instance per user, as in real use
};

// Reads the variables above; `read` returns a variable's value or nullopt (getenv).
AutomationSettings ReadAutomationSettings(
    const std::function<std::optional<std::string>(const char*)>& read);
AutomationSettings ReadAutomationSettingsFromEnvironment();

// The absolute program folder the settings name.
std::filesystem::path ProgramFolder(const AutomationSettings& settings);

// A headless run as the settings describe it: time, backend, script and dump. Faults in
// the settings (a script that cannot be read or parsed, a dump that cannot be written)
// throw std::runtime_error before the program starts.
class HeadlessSession {
 public:
  HeadlessSession(const AutomationSettings& settings, HttpClient* http);
  HeadlessSession(const HeadlessSession&) = delete;
  HeadlessSession& operator=(const HeadlessSession&) = delete;

  HeadlessBackend& GetBackend() { return backend_; }
  // Writes the final dump (label "end") with the exit code.
  void Finish(const Program& program, int exit_code);

 private:
  std::unique_ptr<VirtualTimebase> virtual_time_;
  HeadlessBackend backend_;
  Script script_;
  std::ofstream dump_;
};

}  // namespace korvane::platform::ui
