#include "platform/ui/automation_seams.h"

#include <filesystem>

#include "platform/core/path_map.h"

namespace korvane::platform::ui {

bool RecordingShell::RunShellVerb(std::string_view verb, std::string_view file) {
  backend_.RecordProgramStarted({Text(verb), Text(file), {}});
  return EqualsNoCase(verb, "open");
}

bool RecordingShell::OpenUrl(std::string_view address) {
  backend_.RecordAddressOpened(Text(address));
  return true;
}

int RecordingShell::EndProcessByName(std::string_view file_name) {
  backend_.RecordProcessesEnded(Text(file_name));
  return 0;
}

Text ProgramFolder(const AutomationSettings& settings, const Text& real) {
  if (settings.program_folder.empty()) return real;
  Text folder = CorePath(std::filesystem::absolute(settings.program_folder).lexically_normal());
  while (folder.size() > 1 && folder.ends_with('\\')) folder.pop_back();
  return folder;
}

}  // namespace korvane::platform::ui
