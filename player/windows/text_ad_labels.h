#pragma once
// The two text-ad labels by the text-ad switch's row of text ads (player/core/ad_sources.h)
// and, for the box's texts, the box switch: which are shown, with which caption and hint.
// Start-up and the player view apply them alike.

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
