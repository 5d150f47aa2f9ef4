#pragma once
// ---- Handlers that later work builds --------------------------------------------------
// The main window's layout names these handlers, and a layout loads only when each name
// it uses is bound. Until their features are built they are bound here and do nothing.

#include "platform/ui/program.h"

namespace korvane::player {

void BindLaterHandlers(platform::ui::Program& ui);

}  // namespace korvane::player
