#pragma once
// PlayerConfig.ini, the player's own configuration file in the program folder, and its keys.

#include <string_view>

#include "platform/core/config_files.h"

namespace korvane::player {

inline constexpr std::string_view kPlayerConfigFileName = "PlayerConfig.ini";

// The programme list open or closed.
inline constexpr platform::ConfigKey kListKey{kPlayerConfigFileName, "List"};
inline constexpr std::string_view kListClosed = "1";
inline constexpr std::string_view kListOpen = "2";
// What the next click of the pause/play toggle does; read as a number.
inline constexpr platform::ConfigKey kButtonKey{kPlayerConfigFileName, "Button"};
inline constexpr std::string_view kButtonPlays = "1";
inline constexpr std::string_view kButtonPauses = "2";
// Start with the desktop session or not; read as a number.
inline constexpr platform::ConfigKey kStartKey{kPlayerConfigFileName, "Start"};
inline constexpr std::string_view kStartWithSession = "1";
inline constexpr std::string_view kNoStartWithSession = "0";
// Always on top (0) or not (1).
inline constexpr platform::ConfigKey kStickyKey{kPlayerConfigFileName, "Sticky"};
// The renderer mode 1, 2 or 3, stored and shown again.
inline constexpr platform::ConfigKey kRenderingKey{kPlayerConfigFileName, "Rendering"};
// Screen saver switched off or not; read as a number.
inline constexpr platform::ConfigKey kScreenKey{kPlayerConfigFileName, "Screen"};
inline constexpr std::string_view kScreenSaverOff = "1";
inline constexpr std::string_view kScreenSaverLeftOn = "0";

}  // namespace korvane::player
