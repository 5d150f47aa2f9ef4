#pragma once
// The seams of a black-box run: a shell that records what the program starts and opens
// instead of doing it, and a resolver for a machine without network. The composition root
// (platform/app/program_root.h) puts them in place of the Linux services as the
// automation settings say.

#include <string_view>

#include "platform/services/resolver.h"
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

// No host name resolves (KORVANE_PROBE_UNRESOLVABLE=1).
class UnresolvableNames final : public NameResolver {
 public:
  Text HostNameToIp(std::string_view) override { return {}; }
};

}  // namespace korvane::platform::ui
