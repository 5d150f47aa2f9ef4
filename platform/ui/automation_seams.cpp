#include "platform/ui/automation_seams.h"

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

}  // namespace korvane::platform::ui
