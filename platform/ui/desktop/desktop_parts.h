#pragma once
// The desktop's parts for one run: what the module's entry point hands the composition
// root, and what a test of the desktop in its own process hands it directly.

#include "platform/ui/desktop_parts.h"

namespace korvane::platform::ui::desktop {

// Opens the default display; throws std::runtime_error when there is none.
DesktopParts MakeDesktopParts();

}  // namespace korvane::platform::ui::desktop
