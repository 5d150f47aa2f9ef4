#pragma once
// What a run that shows real windows takes from the desktop backend. The desktop lives in
// a module loaded at run time (libkorvane_desktop.so), so that a headless program loads no
// toolkit; the module's one entry point fills these parts, and the composition root
// installs each of them.

#include <memory>

#include "platform/services/wait_pump.h"
#include "platform/ui/backend.h"

namespace korvane::platform::ui {

struct DesktopParts {
  std::unique_ptr<Backend> backend;
  // The backend's own pump, for the services that block while a handler waits.
  WaitPump* wait_pump = nullptr;
};

// The module's entry point, found by this name: fills `parts`; throws std::runtime_error
// when there is no display.
inline constexpr char kDesktopEntryName[] = "korvane_make_desktop";
using DesktopEntry = void (*)(DesktopParts& parts);

}  // namespace korvane::platform::ui
