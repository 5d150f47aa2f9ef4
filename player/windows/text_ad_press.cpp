#include "player/windows/text_ad_press.h"

#include <string_view>

#include "platform/services/web_address.h"

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
      constexpr auto kOpen = platform::AddressUse::kOpen;
      if (text_ad == "1" || text_ad == "2" || text_ad == "3") {
        shell.OpenUrl(platform::GatedAddress(globals.*press.address, kOpen));
      } else if (text_ad == "ok") {
        shell.OpenUrl(platform::GatedAddress(globals.*press.box_address, kOpen));
      }
    });
  }
}

}  // namespace korvane::player
