#pragma once
// What the updater needs of the platform, chosen once at start (the Linux services and a
// user-interface backend in the program, doubles in tests).

#include <functional>
#include <string_view>

#include "common/text.h"
#include "platform/core/clock.h"
#include "platform/services/files.h"
#include "platform/services/http.h"
#include "platform/services/http_request.h"
#include "platform/services/resolver.h"
#include "platform/services/single_instance.h"
#include "platform/ui/program.h"
#include "update/wizard/update_source.h"

namespace korvane::update {

struct UpdateServices {
  platform::ui::Program& ui;
  platform::FileSystem& files;
  platform::HttpClient& http;
  platform::HttpRequestFactory& requests;
  platform::NameResolver& resolver;
  // Holds the one-Update-per-program-folder name.
  platform::NamedEvents& instances;
  const platform::Clock& clock;
  // RunShellVerb(verb, file): starts a program through the shell; the result is not examined.
  std::function<void(std::string_view verb, std::string_view file)> run_shell_verb;
  BuiltInAddresses addresses;
  // The network probe's host name.
  Text probe_host;
};

}  // namespace korvane::update
