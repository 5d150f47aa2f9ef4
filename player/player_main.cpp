// Player: the video player program. It takes no arguments. It shows its windows on the
// desktop, or runs headless under automation (KORVANE_UI=headless, docs/automation.md).

#include "deploy/deployment.h"
#include "platform/app/program_root.h"
#include "player/player_program.h"
#include "resources/player_resources.h"

namespace {

using namespace korvane;

int PlayerMain(platform::app::ProgramContext& platform) {
  player::PlayerServices services{platform.ui,           platform.files,
                                  platform.http,         platform.resolver,
                                  platform.named_events, platform.shell,
                                  platform.system_settings, player::DeployedConstants(),
                                  Text(deploy::ProbeHost())};
  player::PlayerProgram program(services);
  return program.PlayerEntry();
}

}  // namespace

int main() { return platform::app::RunProgram({"Player", embedded::PlayerResources(), PlayerMain}); }
