// Update: the updater program. It takes no arguments. It shows its windows on the desktop,
// or runs headless under automation (KORVANE_UI=headless, docs/automation.md).

#include <iostream>
#include <memory>
#include <stdexcept>

#include "deploy/deployment.h"
#include "platform/core/clock.h"
#include "platform/services/curl_http_client.h"
#include "platform/services/curl_http_request.h"
#include "platform/services/linux_file_system.h"
#include "platform/services/linux_shell.h"
#include "platform/services/linux_named_events.h"
#include "platform/services/system_resolver.h"
#include "platform/ui/automation.h"
#include "platform/ui/automation_seams.h"
#include "platform/ui/desktop/desktop_backend.h"
#include "platform/ui/program.h"
#include "update/wizard/update_program.h"
#include "update/wizard/update_resources.h"

namespace {

using namespace korvane;

// The platform services every run uses, whichever backend shows the windows.
struct PlatformServices {
  // The services honour the automation's program folder and unresolvable probe themselves.
  std::unique_ptr<platform::FileSystem> files = platform::CreateLinuxFileSystem();
  std::unique_ptr<platform::HttpClient> http = platform::CreateCurlHttpClient();
  std::unique_ptr<platform::HttpRequestFactory> requests = platform::CreateCurlHttpRequestFactory();
  std::unique_ptr<platform::NameResolver> resolver = platform::CreateSystemNameResolver();
  std::unique_ptr<platform::NamedEvents> instances = platform::CreateLinuxNamedEvents();
};

int RunWizard(platform::ui::Program& ui, PlatformServices& platform_services, platform::Shell& shell) {
  update::UpdateServices services{ui,
                                  *platform_services.files,
                                  *platform_services.http,
                                  *platform_services.requests,
                                  *platform_services.resolver,
                                  *platform_services.instances,
                                  platform::SystemClock(),
                                  [&shell](std::string_view verb, std::string_view file) {
                                    shell.RunShellVerb(verb, file);
                                  },
                                  update::DeployedAddresses(),
                                  Text(deploy::ProbeHost())};
  update::UpdateProgram program(services);
  return program.UpdateEntry();
}

// Without a display the start of Player is recorded, not made.
int RunHeadless(const platform::ui::AutomationSettings& settings, PlatformServices& platform_services) {
  platform::ui::HeadlessSession session(settings, platform_services.http.get());
  platform::ui::HeadlessBackend& backend = session.GetBackend();
  platform::ui::ResourceBundle resources(embedded::UpdateResources());
  platform::ui::Program ui(backend, resources);
  platform::ui::RecordingShell shell(backend, "Update");
  const int code = RunWizard(ui, platform_services, shell);
  session.Finish(ui, code);
  return code;
}

// Real windows on the display, real time, and the shell really starts Player.
int RunOnDesktop(PlatformServices& platform_services) {
  platform::ui::desktop::DesktopBackend backend;
  platform::ui::ResourceBundle resources(embedded::UpdateResources());
  platform::ui::Program ui(backend, resources);
  std::unique_ptr<platform::Shell> shell = platform::CreateLinuxShell();
  return RunWizard(ui, platform_services, *shell);
}

int RunUpdate() {
  const platform::ui::AutomationSettings settings =
      platform::ui::ReadAutomationSettingsFromEnvironment();
  PlatformServices platform_services;
  return settings.headless ? RunHeadless(settings, platform_services) : RunOnDesktop(platform_services);
}

}  // namespace

int main() {
  try {
    return RunUpdate();
  } catch (const std::exception& fault) {
    std::cerr << "Update: " << fault.what() << "\n";
    return 1;
  }
}
