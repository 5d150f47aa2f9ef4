#pragma once
// The headless backend's text metric, deterministic so that tests can compute where text
// goes: the font's pixel height is its size in points at 96 dots per inch
// (size * 96 / 72, rounded); an ASCII character is half that wide (rounded up), a GBK
// double-byte character the full height; the bold weight adds one pixel per character.
// The text's height is the pixel height, also for empty text.

#include "platform/ui/types.h"

namespace korvane::platform::ui {

int FontPixelHeight(const Font& font);
int HeadlessTextWidth(const Font& font, std::string_view text);
int HeadlessTextHeight(const Font& font, std::string_view text);

}  // namespace korvane::platform::ui
