#pragma once
// What the player needs of the platform, chosen once at start (the Linux services and a
// window backend in the program, doubles or local servers in tests).

#include "common/text.h"
#include "platform/services/files.h"
#include "platform/services/http.h"
#include "platform/services/resolver.h"
#include "platform/services/shell.h"
#include "platform/services/single_instance.h"
#include "platform/services/system_settings.h"
#include "platform/ui/program.h"
#include "player/core/remote_files.h"

namespace korvane::player {

struct PlayerServices {
  platform::ui::Program& ui;
  platform::FileSystem& files;
  platform::HttpClient& http;
  platform::NameResolver& resolver;
  platform::NamedEvents& named_events;
  // Under automation it records starts and opened addresses instead of making them.
  platform::Shell& shell;
  // The registry values, the autostart entry and the screen saver of the settings window.
  platform::SystemSettings& system_settings;
  BuiltInConstants constants;
  // The network probe's host name.
  Text probe_host;
};

}  // namespace korvane::player
