#pragma once
// Loads the desktop backend's module (libkorvane_desktop.so) when a run shows real
// windows, so that a headless run loads neither GTK, WebKit nor mpv. The module beside
// the program is taken when there is one (an installation), else the one this build made
// (a program run from the build, or copied into a program folder of its own).

#include "platform/ui/desktop_parts.h"

namespace korvane::platform::app {

// The desktop's parts from the module. Throws std::runtime_error that names the module
// and why it did not load, or why there is no display. The module stays loaded for the
// life of the process: the toolkit's libraries cannot be unloaded.
ui::DesktopParts LoadDesktopModule();

}  // namespace korvane::platform::app
