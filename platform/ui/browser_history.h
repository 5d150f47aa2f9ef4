#pragma once
// A browser box's history, kept in the model so that every backend moves through it
// alike: a navigation drops what lies ahead and appends; back, forward and refresh name
// the address to load again. Only the newest addresses are kept, so a browser that runs
// for hours holds a history of one size.

#include <optional>

#include "platform/ui/backend.h"
#include "platform/ui/unit_model.h"

namespace korvane::platform::ui {

inline constexpr std::size_t kHistoryKept = 100;

void PushHistory(BrowserState& state, const Text& address);

// Back, forward or refresh: the address to load, none where there is nothing to go to.
// Stop moves nothing and names none.
std::optional<Text> MoveInHistory(BrowserState& state, BrowserCommand command);

}  // namespace korvane::platform::ui
