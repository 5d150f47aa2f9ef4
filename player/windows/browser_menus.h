#pragma once
// The two catalogue browsers' context menus, in place of navigation buttons: history
// back and forward, stop, refresh, and the way back to the player view.

#include "platform/ui/program.h"
#include "player/windows/main_window.h"

namespace korvane::player {

// Binds each browser's popup handler and its menu's five item handlers.
void BindBrowserMenus(platform::ui::Program& ui, MainWindow& main_window);

}  // namespace korvane::player
