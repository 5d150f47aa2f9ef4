#include "update/widgets/bar_colors.h"

#include <cstdlib>

namespace korvane::update {
namespace {

constexpr int kStyleCount = 9;
constexpr int kOddEntries = 9;

// The odd entries 1, 3, ..., 17 of styles 1 to 9.
constexpr Colour kStyleColors[kStyleCount][kOddEntries] = {
    {RgbColour(248, 246, 242), RgbColour(233, 227, 211), RgbColour(226, 215, 182),
     RgbColour(239, 233, 215), RgbColour(251, 244, 223), RgbColour(239, 213, 133),
     RgbColour(203, 166, 57), RgbColour(237, 224, 187), RgbColour(204, 168, 62)},
    {RgbColour(247, 248, 242), RgbColour(231, 233, 211), RgbColour(222, 226, 182),
     RgbColour(237, 239, 215), RgbColour(249, 251, 223), RgbColour(230, 239, 133),
     RgbColour(190, 203, 57), RgbColour(233, 237, 187), RgbColour(192, 204, 62)},
    {RgbColour(242, 248, 243), RgbColour(211, 233, 213), RgbColour(182, 226, 186),
     RgbColour(215, 239, 217), RgbColour(223, 251, 225), RgbColour(133, 239, 142),
     RgbColour(57, 203, 70), RgbColour(187, 237, 191), RgbColour(62, 204, 74)},
    {RgbColour(242, 248, 247), RgbColour(211, 233, 231), RgbColour(182, 226, 222),
     RgbColour(215, 239, 237), RgbColour(223, 251, 249), RgbColour(133, 239, 230),
     RgbColour(57, 203, 190), RgbColour(187, 237, 233), RgbColour(62, 204, 192)},
    {RgbColour(243, 242, 248), RgbColour(213, 211, 233), RgbColour(186, 182, 226),
     RgbColour(217, 215, 239), RgbColour(225, 223, 251), RgbColour(142, 133, 239),
     RgbColour(70, 57, 203), RgbColour(191, 187, 237), RgbColour(74, 62, 204)},
    {RgbColour(248, 242, 247), RgbColour(233, 211, 231), RgbColour(226, 182, 222),
     RgbColour(239, 215, 237), RgbColour(251, 223, 249), RgbColour(239, 133, 230),
     RgbColour(203, 57, 190), RgbColour(237, 187, 233), RgbColour(204, 62, 192)},
    {RgbColour(248, 242, 242), RgbColour(233, 211, 211), RgbColour(226, 182, 182),
     RgbColour(239, 215, 215), RgbColour(251, 223, 223), RgbColour(239, 133, 133),
     RgbColour(203, 57, 57), RgbColour(237, 187, 187), RgbColour(204, 62, 62)},
    {RgbColour(250, 253, 254), RgbColour(228, 243, 252), RgbColour(199, 230, 249),
     RgbColour(237, 247, 253), RgbColour(225, 247, 255), RgbColour(67, 208, 255),
     RgbColour(63, 112, 233), RgbColour(63, 226, 246), RgbColour(23, 139, 211)},
    {RgbColour(231, 243, 232), RgbColour(225, 219, 225), RgbColour(179, 189, 179),
     RgbColour(226, 238, 226), RgbColour(223, 251, 223), RgbColour(108, 255, 108),
     RgbColour(26, 228, 26), RgbColour(217, 244, 217), RgbColour(188, 184, 188)},
};

// Summed in 64 bits so that no delta overflows.
std::uint32_t ShadeComponent(std::uint32_t component, int delta) {
  const std::int64_t shaded = std::llabs(std::int64_t{component} + delta);
  return shaded > 255 ? 255 : static_cast<std::uint32_t>(shaded);
}

}  // namespace

Colour ShadeColor(Colour colour, int delta) {
  const std::uint32_t red = colour % 256;
  const std::uint32_t green = ((colour & 0xFF00) / 256) % 256;
  const std::uint32_t blue = (colour & 0xFF0000) / 65536;
  return RgbColour(ShadeComponent(red, delta), ShadeComponent(green, delta),
                   ShadeComponent(blue, delta));
}

Colour GreyColor(Colour colour) {
  const std::uint32_t grey = (colour % 256 + (colour % 65536) / 256 + colour / 65536) / 3;
  return RgbColour(grey, grey, grey);
}

int ColorComponent16(int v) { return v < 32768 ? v : v - 65536; }

void FillStyleColors(ColorTable& table, int style, Colour custom_color1, Colour custom_color2) {
  if (style >= 1 && style <= kStyleCount) {
    for (int i = 0; i < kOddEntries; ++i) {
      const int entry = 2 * i + 1;
      table[entry] = kStyleColors[style - 1][i];
      if (style <= 8 && entry < ColorTable::kEntries) table[entry + 1] = table[entry];
    }
    return;
  }
  if (style != 10) return;
  table[1] = ShadeColor(custom_color2, 180);
  table[3] = ShadeColor(custom_color2, 50);
  table[5] = custom_color2;
  table[7] = ShadeColor(custom_color2, 80);
  table[9] = ShadeColor(custom_color1, 180);
  table[11] = ShadeColor(custom_color1, 50);
  table[13] = custom_color1;
  table[15] = ShadeColor(custom_color1, 80);
  table[17] = custom_color1;
}

void GreyColorTable(ColorTable& table) {
  for (int entry = 1; entry <= ColorTable::kEntries; ++entry) table[entry] = GreyColor(table[entry]);
}

}  // namespace korvane::update
