#pragma once
// A press on a text-ad label opens its address by the text-ad switch alone: "1", "2" and
// "3" the control server's address of that label, "ok" the box's (the box switch is not
// looked at), any other value nothing. The address goes on as stored, empty included.

#include "platform/services/shell.h"
#include "platform/ui/program.h"
#include "player/core/player_globals.h"

namespace korvane::player {

// Binds `OnTextAd1Pressed` and `OnTextAd2Pressed`.
void BindTextAdPresses(platform::ui::Program& ui, platform::Shell& shell, const PlayerGlobals& globals);

}  // namespace korvane::player
