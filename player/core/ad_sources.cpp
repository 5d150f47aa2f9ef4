#include "player/core/ad_sources.h"

namespace korvane::player {

bool BoxSwitchAllows(RemoteFiles& remote, const RemoteFile* box_switch) {
  return box_switch == nullptr || remote.Fetch(*box_switch) == remote::kBoxOn;
}

}  // namespace korvane::player
