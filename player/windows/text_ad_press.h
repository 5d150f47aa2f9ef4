#pragma once
// A press on a text-ad label opens its address by the text-ad switch alone, as the switch's
// row of text ads names whose texts the labels carry (player/core/ad_sources.h): the
// control server's or the box's (the box switch is not looked at), or none. The address
// goes on as stored, empty included.

#include <cstddef>

#include "platform/services/shell.h"
#include "platform/ui/program.h"
#include "player/core/player_globals.h"

namespace korvane::player {

class TextAdPresses {
 public:
  TextAdPresses(platform::ui::Program& ui, platform::Shell& shell, const PlayerGlobals& globals)
      : ui_(ui), shell_(shell), globals_(globals) {}

  // Binds the two labels' handlers below.
  void Bind();
  void OnTextAd1Pressed() { Press(0); }
  void OnTextAd2Pressed() { Press(1); }

 private:
  // `label`: 0 for label 1, 1 for label 2.
  void Press(std::size_t label);

  platform::ui::Program& ui_;
  platform::Shell& shell_;
  const PlayerGlobals& globals_;
};

}  // namespace korvane::player
