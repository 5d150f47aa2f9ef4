// Update: the updater program. It takes no arguments. It shows its windows on the desktop,
// or runs headless under automation (KORVANE_UI=headless, docs/automation.md).

#include "deploy/deployment.h"
#include "platform/app/program_root.h"
#include "update/wizard/update_program.h"
#include "update/wizard/update_resources.h"

namespace {

using namespace korvane;

int UpdateEntry(platform::app::ProgramContext& platform) {
  update::UpdateServices services{platform.ui,
                                  platform.files,
                                  platform.http,
                                  platform.requests,
                                  platform.resolver,
                                  platform.named_events,
                                  platform.clock,
                                  [&shell = platform.shell](std::string_view verb, std::string_view file) {
                                    shell.RunShellVerb(verb, file);
                                  },
                                  update::DeployedAddresses(),
                                  Text(deploy::ProbeHost())};
  update::UpdateProgram program(services);
  return program.UpdateEntry();
}

}  // namespace

int main() { return platform::app::RunProgram({"Update", embedded::UpdateResources(), UpdateEntry}); }
