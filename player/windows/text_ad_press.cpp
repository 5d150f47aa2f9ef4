#include "player/windows/text_ad_press.h"

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
  if (text_ad == "1" || text_ad == "2" || text_ad == "3") {
    shell_.OpenUrl(address);
  } else if (text_ad == "ok") {
    shell_.OpenUrl(box_address);
  }
}

}  // namespace korvane::player
