#include "player/windows/text_ad_press.h"

#include "platform/services/web_address.h"
#include "platform/ui/handler_table.h"
#include "player/core/ad_sources.h"

namespace korvane::player {

void TextAdPresses::Bind() {
  static constexpr platform::ui::HandlerRow<TextAdPresses> kHandlers[] = {
      {"OnTextAd1Pressed", &TextAdPresses::OnTextAd1Pressed},
      {"OnTextAd2Pressed", &TextAdPresses::OnTextAd2Pressed},
  };
  platform::ui::BindHandlers(ui_, *this, kHandlers);
}

void TextAdPresses::Press(std::size_t label) {
  const TextAdRow* row = RowFor(ads::kTextAds, globals_.text_ad_switch);
  if (row == nullptr || row->texts == nullptr) return;
  shell_.OpenUrl(platform::GatedAddress(globals_.*(*row->texts)[label].address->holder, platform::AddressUse::kOpen));
}

}  // namespace korvane::player
