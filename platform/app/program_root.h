#pragma once
// A program's composition root: the one place that chooses the window backend (headless
// under automation, else the desktop, loaded from its module only then), makes the Linux
// services and, under automation, the script, the dump and the recording shell. A
// program's main() hands over only its own wiring: its name, its resources and its entry.

#include <functional>
#include <span>

#include "common/text.h"
#include "platform/app/desktop_module.h"
#include "platform/core/clock.h"
#include "platform/services/files.h"
#include "platform/services/http.h"
#include "platform/services/http_request.h"
#include "platform/services/resolver.h"
#include "platform/services/shell.h"
#include "platform/services/single_instance.h"
#include "platform/services/system_settings.h"
#include "platform/ui/automation.h"
#include "platform/ui/desktop_parts.h"
#include "platform/ui/program.h"
#include "platform/ui/resources.h"

namespace korvane::platform::app {

// What a program's entry is given, chosen once at start.
struct ProgramContext {
  ui::Program& ui;
  FileSystem& files;
  HttpClient& http;
  HttpRequestFactory& requests;
  NameResolver& resolver;
  // Under automation a start of another program or an opened address is recorded in the
  // dump, not made.
  Shell& shell;
  NamedEvents& named_events;
  SystemSettings& system_settings;
  const Clock& clock;
};

struct ProgramDescription {
  // The program's file name ("Update"): what the recording shell reports as the running
  // program, and the prefix of a fault reported on stderr.
  Text file_name;
  std::span<const ui::ResourceFile> resources;
  // Wires the program and runs it; the exit code.
  std::function<int(ProgramContext&)> entry;
};

// Makes the desktop's parts for a run that shows real windows: the module's by default; a
// test of the desktop in its own process hands its own (ui::desktop::MakeDesktopParts).
using DesktopMaker = std::function<ui::DesktopParts()>;

// Runs the program as `settings` say; the exit code. A fault that escapes the program
// (std::exception), a desktop module that cannot be loaded and a missing display among
// them, is reported on stderr as "Name: what" and ends the run with 1.
int RunProgram(const ProgramDescription& program, const ui::AutomationSettings& settings,
               const DesktopMaker& make_desktop = LoadDesktopModule);

// The same, with the automation settings read from the environment, once (main()).
int RunProgram(const ProgramDescription& program);

}  // namespace korvane::platform::app
