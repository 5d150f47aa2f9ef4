#include "platform/ui/text_metric.h"

namespace korvane::platform::ui {

int FontPixelHeight(const Font& font) { return (font.size_points * 96 + 36) / 72; }

int HeadlessTextWidth(const Font& font, std::string_view text) {
  const int height = FontPixelHeight(font);
  const int bold = font.weight >= 700 ? 1 : 0;
  int width = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = GbkCharLength(text, i);
    width += (length == 2 ? height : (height + 1) / 2) + bold;
    i += length;
  }
  return width;
}

int HeadlessTextHeight(const Font& font, std::string_view) { return FontPixelHeight(font); }

}  // namespace korvane::platform::ui
