#pragma once
// The two text-ad labels by the text-ad switch (and, for "ok", the box switch): which are
// shown, with which caption and hint. Start-up and the player view apply the same table.

#include <optional>

#include "common/text.h"
#include "player/core/player_globals.h"

namespace korvane::player {

struct TextAdLabel {
  bool shown = false;
  Text caption;  // meaningful only when shown
  Text hint;
};

struct TextAdLabels {
  TextAdLabel ad1;
  TextAdLabel ad2;
};

// Nothing when the switches match no row: the labels keep their state.
std::optional<TextAdLabels> TextAdLabelsFor(const PlayerGlobals& globals);

}  // namespace korvane::player
