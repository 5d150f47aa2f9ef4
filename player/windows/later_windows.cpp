#include "player/windows/later_windows.h"

#include <array>
#include <iostream>

namespace korvane::player {

namespace {

constexpr std::array<std::string_view, 2> kWindowsNotBuilt = {"ExitAdWindow", "CornerAdWindow"};

}  // namespace

void LoadLaterWindow(platform::ui::Program& ui, std::string_view layout_name, bool modal) {
  for (std::string_view name : kWindowsNotBuilt) {
    if (name == layout_name) {
      std::cerr << "Player: " << layout_name << " is not built yet\n";
      return;
    }
  }
  ui.LoadWindow(layout_name, modal);
}

}  // namespace korvane::player
