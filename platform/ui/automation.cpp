#include "platform/ui/automation.h"

#include <cstdlib>
#include <stdexcept>

#include "platform/core/atomic_file.h"
#include "platform/ui/dump.h"

namespace korvane::platform::ui {

AutomationSettings ReadAutomationSettings(
    const std::function<std::optional<std::string>(const char*)>& read) {
  AutomationSettings settings;
  settings.headless = read("KORVANE_UI").value_or("") == "headless";
  settings.script_path = read("KORVANE_UI_SCRIPT").value_or("");
  settings.dump_path = read("KORVANE_UI_DUMP").value_or("");
  settings.virtual_time = read("KORVANE_UI_TIME").value_or("") == "virtual";
  settings.unresolvable_names = read("KORVANE_PROBE_UNRESOLVABLE").value_or("") == "1";
  settings.program_folder = AsUtf8(read("KORVANE_PROGRAM_FOLDER").value_or(""));
  settings.instance_scope = read("KORVANE_INSTANCE_SCOPE").value_or("");
  return settings;
}

AutomationSettings ReadAutomationSettingsFromEnvironment() {
  return ReadAutomationSettings([](const char* name) -> std::optional<std::string> {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  });
}

std::filesystem::path ProgramFolder(const AutomationSettings& settings) {
  std::error_code error;
  std::filesystem::path folder =
      settings.program_folder.empty() ? std::filesystem::current_path(error) : settings.program_folder;
  return std::filesystem::absolute(folder, error).lexically_normal();
}

namespace {

Timebase& ChooseTime(const AutomationSettings& settings, std::unique_ptr<VirtualTimebase>& virtual_time) {
  if (!settings.virtual_time) return RealTimebase();
  virtual_time = std::make_unique<VirtualTimebase>();
  return *virtual_time;
}

}  // namespace

HeadlessSession::HeadlessSession(const AutomationSettings& settings, HttpClient* http)
    : backend_(ChooseTime(settings, virtual_time_), http) {
  if (!settings.script_path.empty()) {
    std::optional<std::string> text = ReadWholeFile(settings.script_path);
    if (!text) throw std::runtime_error("cannot read the script " + settings.script_path);
    script_ = Script::Parse(*text);
  }
  if (!settings.dump_path.empty()) {
    dump_.open(settings.dump_path, std::ios::binary | std::ios::trunc);
    if (!dump_) throw std::runtime_error("cannot write the dump " + settings.dump_path);
  }
  script_.SetDumpSink([this](const Text& label) {
    if (dump_.is_open()) {
      WriteDump(backend_.GetProgram(), backend_, label, dump_);
      dump_.flush();
    }
  });
  backend_.SetDriver(&script_);
}

void HeadlessSession::Finish(const Program& program, int exit_code) {
  if (!dump_.is_open()) return;
  WriteDump(program, backend_, "end", dump_);
  dump_ << "{\"record\":\"exit\",\"code\":" << exit_code << "}\n";
  dump_.flush();
}

}  // namespace korvane::platform::ui
