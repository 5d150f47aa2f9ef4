#include "player/windows/text_ad_press.h"

#include <string_view>

namespace korvane::player {
namespace {

struct TextAdPress {
  std::string_view handler;
  Text PlayerGlobals::*address;
  Text PlayerGlobals::*box_address;
};

constexpr TextAdPress kPresses[] = {
    {"OnTextAd1Pressed", &PlayerGlobals::text_ad1_address, &PlayerGlobals::box_text_ad1_address},
    {"OnTextAd2Pressed", &PlayerGlobals::text_ad2_address, &PlayerGlobals::box_text_ad2_address},
};

}  // namespace

void BindTextAdPresses(platform::ui::Program& ui, platform::Shell& shell, const PlayerGlobals& globals) {
  for (const TextAdPress& press : kPresses) {
    ui.BindHandler(press.handler, [&shell, &globals, press](const platform::ui::Event&) {
      const Text& text_ad = globals.text_ad_switch;
      if (text_ad == "1" || text_ad == "2" || text_ad == "3") {
        shell.OpenUrl(globals.*press.address);
      } else if (text_ad == "ok") {
        shell.OpenUrl(globals.*press.box_address);
      }
    });
  }
}

}  // namespace korvane::player
