#include "platform/ui/browser_history.h"

namespace korvane::platform::ui {

void PushHistory(BrowserState& state, const Text& address) {
  state.history.resize(static_cast<std::size_t>(state.history_position + 1));
  state.history.push_back(address);
  if (state.history.size() > kHistoryKept) {
    state.history.erase(state.history.begin(), state.history.end() - kHistoryKept);
  }
  state.history_position = static_cast<int>(state.history.size()) - 1;
}

std::optional<Text> MoveInHistory(BrowserState& state, BrowserCommand command) {
  switch (command) {
    case BrowserCommand::kGoBack:
      if (state.history_position <= 0) return std::nullopt;
      --state.history_position;
      break;
    case BrowserCommand::kGoForward:
      if (state.history_position + 1 >= static_cast<int>(state.history.size())) return std::nullopt;
      ++state.history_position;
      break;
    case BrowserCommand::kRefresh:
      if (state.history_position < 0) return std::nullopt;
      break;
    case BrowserCommand::kStop:
      return std::nullopt;
  }
  return state.history[static_cast<std::size_t>(state.history_position)];
}

}  // namespace korvane::platform::ui
