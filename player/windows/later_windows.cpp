#include "player/windows/later_windows.h"

#include <iostream>

namespace korvane::player {

void LoadLaterWindow(platform::ui::Program& ui, std::string_view layout_name, bool modal) {
  if (!ui.CanLoadWindow(layout_name)) {
    std::cerr << "Player: " << layout_name << " is not built yet\n";
    return;
  }
  ui.LoadWindow(layout_name, modal);
}

}  // namespace korvane::player
