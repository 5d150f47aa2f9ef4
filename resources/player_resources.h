#pragma once
// Player's window layouts and pictures, embedded at build from resources/player.

#include <span>

#include "platform/ui/resources.h"

namespace korvane::embedded {
std::span<const platform::ui::ResourceFile> PlayerResources();
}
