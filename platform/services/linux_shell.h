#pragma once
// The shell on Linux: programs started with posix_spawn, addresses handed to the
// desktop's opener, processes found through /proc.

#include <memory>
#include <string>

#include "platform/services/shell.h"

namespace korvane::platform {

struct ShellTools {
  std::string url_opener = "xdg-open";  // a path, or a name looked up on PATH
};

std::unique_ptr<Shell> CreateLinuxShell(ShellTools tools = {});

}  // namespace korvane::platform
