#pragma once
// The seams a black-box run needs around the platform services: a shell that records
// what the program starts and opens instead of doing it, a resolver that can be told to
// fail, and the program folder moved anywhere. The settings come from automation.h.

#include <string_view>

#include "platform/services/resolver.h"
#include "platform/services/shell.h"
#include "platform/ui/automation.h"
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

// The real resolver, unless the settings make every name unresolvable.
class ProbeSeamResolver final : public NameResolver {
 public:
  ProbeSeamResolver(const AutomationSettings& settings, NameResolver& real)
      : unresolvable_(settings.probe_unresolvable), real_(real) {}
  Text HostNameToIp(std::string_view host_name) override {
    return unresolvable_ ? Text() : real_.HostNameToIp(host_name);
  }

 private:
  bool unresolvable_;
  NameResolver& real_;
};

// The program folder as the programs see it (a core path without a trailing "\"): the
// settings' folder when one is given, else `real`.
Text ProgramFolder(const AutomationSettings& settings, const Text& real);

}  // namespace korvane::platform::ui
