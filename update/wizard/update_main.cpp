// Update: the updater program. It takes no arguments.

#include <iostream>
#include <memory>
#include <stdexcept>

#include "deploy/deployment.h"
#include "platform/core/clock.h"
#include "platform/services/curl_http_client.h"
#include "platform/services/curl_http_request.h"
#include "platform/services/linux_file_system.h"
#include "platform/services/shell.h"
#include "platform/services/system_resolver.h"
#include "platform/ui/automation.h"
#include "platform/ui/program.h"
#include "update/wizard/update_program.h"
#include "update/wizard/update_resources.h"

namespace {

using namespace korvane;

int RunUpdate() {
  const platform::ui::AutomationSettings settings =
      platform::ui::ReadAutomationSettingsFromEnvironment();
  if (!settings.headless) {
    std::cerr << "Update: this build has only the headless window backend (KORVANE_UI=headless)\n";
    return 1;
  }
  // The services honour the automation's program folder and unresolvable probe themselves.
  std::unique_ptr<platform::FileSystem> files = platform::CreateLinuxFileSystem();
  std::unique_ptr<platform::HttpClient> http = platform::CreateCurlHttpClient();
  std::unique_ptr<platform::HttpRequestFactory> requests =
      platform::CreateCurlHttpRequestFactory();
  std::unique_ptr<platform::NameResolver> resolver = platform::CreateSystemNameResolver();

  platform::ui::HeadlessSession session(settings, http.get());
  platform::ui::HeadlessBackend& backend = session.GetBackend();
  platform::ui::ResourceBundle resources(embedded::UpdateResources());
  platform::ui::Program ui(backend, resources);
  update::UpdateServices services{
      ui,
      *files,
      *http,
      *requests,
      *resolver,
      platform::SystemClock(),
      // Without a display the start of Player is recorded, not made.
      [&backend](std::string_view verb, std::string_view file) {
        backend.RecordProgramStarted({Text(verb), Text(file), {}});
      },
      update::DeployedAddresses(),
      Text(deploy::ProbeHost())};
  update::UpdateProgram program(services);
  const int code = program.UpdateEntry();
  session.Finish(ui, code);
  return code;
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
