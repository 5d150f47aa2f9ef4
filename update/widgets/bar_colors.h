#pragma once
// The progress bar's colour arithmetic and its ten colour styles. Colours are 0x00BBGGRR
// values; the bar lightens them for its gradients and greys them while it is disabled.

#include <array>
#include <cstdint>

#include "platform/ui/types.h"

namespace korvane::update {

using Colour = platform::ui::Colour;

constexpr Colour RgbColour(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return red + green * 256 + blue * 65536;
}

// Each component becomes |component + delta|, at most 255: a positive delta lightens
// towards white, a negative one darkens but turns back upwards at 0.
Colour ShadeColor(Colour colour, int delta = 1);

// The grey of the same brightness: the mean of the three components in each of them.
Colour GreyColor(Colour colour);

// The signed 16-bit number with the bits of v: the form in which a gradient vertex
// holds a colour channel.
int ColorComponent16(int v);

// The 17 colours of a style, numbered 1 to 17 as the paint names them: odd entries 1 to
// 15 are gradient end colours, entry 17 the background of both boards; even entries are
// never painted.
class ColorTable {
 public:
  static constexpr int kEntries = 17;

  Colour& operator[](int entry) { return entries_.at(entry - 1); }
  Colour operator[](int entry) const { return entries_.at(entry - 1); }
  bool operator==(const ColorTable&) const = default;

 private:
  std::array<Colour, kEntries> entries_{};
};

// Styles 1 to 8 set every entry (each even entry repeats the odd one before it); style 9
// sets the odd entries only; style 10 derives the odd entries from the two custom colours
// (customColor1 the filled part, customColor2 the unfilled part); any other style
// changes nothing.
void FillStyleColors(ColorTable& table, int style, Colour custom_color1, Colour custom_color2);

// Every entry replaced by its grey.
void GreyColorTable(ColorTable& table);

}  // namespace korvane::update
