#include "player/core/player_globals.h"

#include <utility>

namespace korvane::player {

void InitPlayerGlobals(PlayerGlobals& globals) {
  std::unique_ptr<platform::NamedEvent> event = std::move(globals.single_instance_event);
  globals = PlayerGlobals{};
  globals.single_instance_event = std::move(event);
}

void FreePlayerGlobals(PlayerGlobals& globals) { InitPlayerGlobals(globals); }

}  // namespace korvane::player
