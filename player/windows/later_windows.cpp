#include "player/windows/later_windows.h"

#include <iostream>

namespace korvane::player {

void LoadLaterWindow(platform::ui::Program& ui, std::string_view layout_name, bool modal) {
  if (!ui.Resources().FindLayout(layout_name)) {
    std::cerr << "Player: no layout for " << layout_name << "\n";
    return;
  }
  ui.LoadWindow(layout_name, modal);
}

}  // namespace korvane::player
