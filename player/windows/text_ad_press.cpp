#include "player/windows/text_ad_press.h"

#include "platform/services/web_address.h"
#include "platform/ui/handler_table.h"

namespace korvane::player {

void TextAdPresses::Bind() {
  static constexpr platform::ui::HandlerRow<TextAdPresses> kHandlers[] = {
      {"OnTextAd1Pressed", &TextAdPresses::OnTextAd1Pressed},
      {"OnTextAd2Pressed", &TextAdPresses::OnTextAd2Pressed},
  };
  platform::ui::BindHandlers(ui_, *this, kHandlers);
}

void TextAdPresses::Press(const Text& address, const Text& box_address) {
  const Text& text_ad = globals_.text_ad_switch;
  constexpr auto kOpen = platform::AddressUse::kOpen;
  if (text_ad == "1" || text_ad == "2" || text_ad == "3") {
    shell_.OpenUrl(platform::GatedAddress(address, kOpen));
  } else if (text_ad == "ok") {
    shell_.OpenUrl(platform::GatedAddress(box_address, kOpen));
  }
}

}  // namespace korvane::player
