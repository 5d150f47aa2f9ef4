#include "platform/app/program_root.h"

#include <exception>
#include <iostream>
#include <memory>
#include <optional>

#include "platform/services/curl_http_client.h"
#include "platform/services/curl_http_request.h"
#include "platform/services/linux_file_system.h"
#include "platform/services/linux_named_events.h"
#include "platform/services/linux_shell.h"
#include "platform/services/linux_system_settings.h"
#include "platform/services/system_resolver.h"
#include "platform/services/wait_pump.h"
#include "platform/ui/automation_seams.h"

namespace korvane::platform::app {
namespace {

// The services every run uses, whichever backend shows the windows. The shell differs
// (recorded under automation), so each run makes its own.
struct LinuxServices {
  explicit LinuxServices(const ui::AutomationSettings& settings)
      : files(CreateLinuxFileSystem(ui::ProgramFolder(settings))),
        resolver(settings.unresolvable_names ? std::make_unique<ui::UnresolvableNames>()
                                             : CreateSystemNameResolver()),
        named_events(CreateLinuxNamedEvents(settings.instance_scope)) {}

  std::unique_ptr<FileSystem> files;
  std::unique_ptr<HttpClient> http = CreateCurlHttpClient();
  std::unique_ptr<HttpRequestFactory> requests = CreateCurlHttpRequestFactory();
  std::unique_ptr<NameResolver> resolver;
  std::unique_ptr<NamedEvents> named_events;
  std::unique_ptr<SystemSettings> system_settings = CreateLinuxSystemSettings();
};

int Enter(const ProgramDescription& program, ui::Program& ui, LinuxServices& services, Shell& shell) {
  ProgramContext context{ui,    *services.files,        *services.http,
                         *services.requests, *services.resolver, shell,
                         *services.named_events, *services.system_settings, SystemClock()};
  return program.entry(context);
}

// Without a display: the script drives the run and the dump records it.
int RunHeadless(const ProgramDescription& program, const ui::AutomationSettings& settings,
                LinuxServices& services) {
  ui::HeadlessSession session(settings, services.http.get());
  ui::HeadlessBackend& backend = session.GetBackend();
  ui::ResourceBundle resources(program.resources);
  ui::Program ui(backend, resources);
  ui::RecordingShell shell(backend, program.file_name);
  const int code = Enter(program, ui, services, shell);
  session.Finish(ui, code);
  return code;
}

// Real windows on the display, real time, and the shell really starts programs.
int RunOnDesktop(const ProgramDescription& program, LinuxServices& services, const DesktopMaker& make_desktop) {
  ui::DesktopParts desktop = make_desktop();
  std::optional<InstalledWaitPump> pump;
  if (desktop.wait_pump != nullptr) pump.emplace(*desktop.wait_pump);
  ui::ResourceBundle resources(program.resources);
  ui::Program ui(*desktop.backend, resources);
  std::unique_ptr<Shell> shell = CreateLinuxShell();
  return Enter(program, ui, services, *shell);
}

}  // namespace

int RunProgram(const ProgramDescription& program, const ui::AutomationSettings& settings,
               const DesktopMaker& make_desktop) {
  try {
    LinuxServices services(settings);
    return settings.headless ? RunHeadless(program, settings, services)
                             : RunOnDesktop(program, services, make_desktop);
  } catch (const std::exception& fault) {
    std::cerr << program.file_name << ": " << fault.what() << "\n";
    return 1;
  }
}

int RunProgram(const ProgramDescription& program) {
  return RunProgram(program, ui::ReadAutomationSettingsFromEnvironment());
}

}  // namespace korvane::platform::app
