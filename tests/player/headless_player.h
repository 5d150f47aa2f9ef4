#pragma once
// The real player in one process on the headless backend on virtual time: a program
// folder of the test's own with empty configuration files, a resolvable probe, remote
// fetches answered from a table (none answer unless a test says so) and a script.

#include "platform/testing/fake_name_resolver.h"
#include "platform/testing/fake_named_events.h"
#include "platform/testing/fake_shell.h"
#include "platform/testing/fake_system_settings.h"
#include "platform/testing/scripted_http_client.h"
#include "platform/testing/temp_program_folder.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/script.h"
#include "player/player_program.h"
#include "resources/player_resources.h"

namespace korvane::player::testing {

struct HeadlessPlayer {
  HeadlessPlayer() {
    folder_.Write("\\Config.ini", "");
    folder_.Write("\\PlayerConfig.ini", "");
    resolver_.Resolve("probe.test", "127.0.0.1");
    backend_.SetDriver(&script_);
  }

  platform::ui::Window Main() { return InspectionOf(ui_).Windows().front(); }
  // Runs the program until its window has closed or the script has run out.
  void RunPlayer() {
    PlayerProgram program(services_);
    program.PlayerEntry();
  }

  platform::testing::TempProgramFolder folder_;
  platform::testing::ScriptedHttpClient http_;
  platform::testing::FakeNameResolver resolver_;
  platform::testing::FakeNamedEvents events_;
  platform::testing::FakeShell shell_;
  platform::testing::FakeSystemSettings settings_;
  platform::ui::VirtualTimebase time_;
  platform::ui::HeadlessBackend backend_{time_, &http_};
  platform::ui::ResourceBundle resources_{embedded::PlayerResources()};
  platform::ui::Program ui_{backend_, resources_};
  platform::ui::Script script_;
  PlayerServices services_{ui_,      folder_.files(),     http_,       resolver_, events_, shell_,
                           settings_, DeployedConstants(), "probe.test"};
};

}  // namespace korvane::player::testing
