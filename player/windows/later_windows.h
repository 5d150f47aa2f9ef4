#pragma once
// ---- Windows that later work builds -------------------------------------------------
// The exit-ad and corner-ad windows have no layout yet. Their loads go through here: a
// window whose layout the program does not hold is reported on stderr
// ("Player: no layout for CornerAdWindow") and not loaded. Remove this once both exist.

#include <string_view>

#include "platform/ui/program.h"

namespace korvane::player {

void LoadLaterWindow(platform::ui::Program& ui, std::string_view layout_name, bool modal);

}  // namespace korvane::player
