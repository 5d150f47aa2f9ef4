#pragma once
// A press on a text-ad label opens its address by the text-ad switch alone: "1", "2" and
// "3" the control server's address of that label, "ok" the box's (the box switch is not
// looked at), any other value nothing. The address goes on as stored, empty included.

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
  void OnTextAd1Pressed() { Press(globals_.text_ad1_address, globals_.box_text_ad1_address); }
  void OnTextAd2Pressed() { Press(globals_.text_ad2_address, globals_.box_text_ad2_address); }

 private:
  void Press(const Text& address, const Text& box_address);

  platform::ui::Program& ui_;
  platform::Shell& shell_;
  const PlayerGlobals& globals_;
};

}  // namespace korvane::player
