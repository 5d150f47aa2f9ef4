#pragma once
// PlayerConfig.ini, the player's own configuration file in the program folder, and its keys.

#include <string_view>

#include "platform/core/config_files.h"

namespace korvane::player {

inline constexpr std::string_view kPlayerConfigFileName = "PlayerConfig.ini";

// List open ("2") or closed ("1").
inline constexpr platform::ConfigKey kListKey{kPlayerConfigFileName, "List"};
// What the next click of the pause/play toggle does (1 plays, 2 pauses).
inline constexpr platform::ConfigKey kButtonKey{kPlayerConfigFileName, "Button"};
// Start with the desktop session (1) or not (0).
inline constexpr platform::ConfigKey kStartKey{kPlayerConfigFileName, "Start"};
// Always on top (0) or not (1).
inline constexpr platform::ConfigKey kStickyKey{kPlayerConfigFileName, "Sticky"};
// The renderer mode 1, 2 or 3, stored and shown again.
inline constexpr platform::ConfigKey kRenderingKey{kPlayerConfigFileName, "Rendering"};
// Screen saver switched off (1) or not (0).
inline constexpr platform::ConfigKey kScreenKey{kPlayerConfigFileName, "Screen"};

}  // namespace korvane::player
