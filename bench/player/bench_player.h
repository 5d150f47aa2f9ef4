#pragma once
// The real player in the benchmark's process, on a backend of the benchmark's or on the
// headless backend on virtual time driven by a script: the fetches go to the client
// given, the program folder is the benchmark's. A site holds the remote files as
// `ServedRemoteFile` lays them out.

#include <string>
#include <string_view>

#include "platform/testing/fake_name_resolver.h"
#include "platform/testing/fake_named_events.h"
#include "platform/testing/fake_shell.h"
#include "platform/testing/fake_system_settings.h"
#include "platform/testing/temp_program_folder.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/script.h"
#include "player/player_program.h"
#include "player/core/remote_files.h"
#include "resources/player_resources.h"

namespace korvane::bench {

inline constexpr std::string_view kInstallationId = "B1";
inline constexpr std::string_view kProbeHost = "probe.test";

// A remote file as the operator's site holds it, below the site's root: the value
// enciphered with key 2 where the player deciphers it, the per-installation files in
// "uid/B1/", the home files in "home/" (so the home address is the root's "home/").
struct SiteFile {
  std::string path;
  std::string bytes;
};
SiteFile ServedRemoteFile(const player::RemoteFile& file, std::string_view value);

// The installation's configuration files: the enciphered id and an empty player
// configuration.
void WriteInstallation(const platform::testing::TempProgramFolder& folder);

// The player's program and services over `backend`.
struct PlayerInProcess {
  // `site_root` ends with "/": the control server's base, with "uid/" below it.
  PlayerInProcess(platform::ui::Backend& backend, platform::HttpClient& http,
                  platform::testing::TempProgramFolder& folder, std::string_view site_root);
  PlayerInProcess(const PlayerInProcess&) = delete;
  PlayerInProcess& operator=(const PlayerInProcess&) = delete;

  // Runs the program until its loop ends.
  void Run();
  platform::ui::Window Main() { return InspectionOf(ui).Windows().front(); }
  // The user opens the library (or find) view.
  void OpenView(bool library);
  // The user opens the library (or find) view and follows a link in its browser.
  void NavigateInView(bool library, const Text& address);

  std::string control;
  std::string uid_prefix;
  platform::testing::FakeNameResolver resolver;
  platform::testing::FakeNamedEvents events;
  platform::testing::FakeShell shell;
  platform::testing::FakeSystemSettings settings;
  platform::ui::ResourceBundle resources{embedded::PlayerResources()};
  platform::ui::Program ui;
  player::PlayerServices services;
};

// The headless backend on virtual time, its input from a script.
struct HeadlessSeat {
  explicit HeadlessSeat(platform::HttpClient& http) : backend(time, &http) { backend.SetDriver(&script); }

  platform::ui::VirtualTimebase time;
  platform::ui::HeadlessBackend backend;
  platform::ui::Script script;
};

// The player on the headless seat; Run ends as stalled once the script has run out.
struct BenchPlayer : HeadlessSeat, PlayerInProcess {
  BenchPlayer(platform::HttpClient& http, platform::testing::TempProgramFolder& folder, std::string_view site_root)
      : HeadlessSeat(http), PlayerInProcess(backend, http, folder, site_root) {}
};

}  // namespace korvane::bench
