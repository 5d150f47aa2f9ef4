#pragma once
// The shell of a black-box run: it records what the program starts and opens instead of
// doing it. The other two seams, an unresolvable probe host and a moved program folder,
// live in the services themselves (system_resolver.h, linux_file_system.h), so that every
// program gets them from the same environment variables.

#include <string_view>

#include "platform/services/shell.h"
#include "platform/ui/headless_backend.h"

namespace korvane::platform::ui {

// Records program starts and opened addresses in the headless backend (and so in the
// dump); ends no process; reports `program_file_name` as the running program's name.
class RecordingShell final : public Shell {
 public:
  RecordingShell(HeadlessBackend& backend, Text program_file_name)
      : backend_(backend), program_file_name_(std::move(program_file_name)) {}
  bool RunShellVerb(std::string_view verb, std::string_view file) override;
  bool OpenUrl(std::string_view address) override;
  int EndProcessByName(std::string_view file_name) override;
  Text GetProgramFileName() override { return program_file_name_; }

 private:
  HeadlessBackend& backend_;
  Text program_file_name_;
};

}  // namespace korvane::platform::ui
