#pragma once
// The updater's window layouts and pictures, embedded at build from resources/update.

#include <span>

#include "platform/ui/resources.h"

namespace korvane::embedded {
std::span<const platform::ui::ResourceFile> UpdateResources();
}
