#pragma once
// What one paint of the progress bar consists of, worked out from its settings and the
// size of its board: the gradient rectangles, the text, where the text goes and the
// coloured writes of its effect. The bar carries these out on its inner board.

#include <optional>
#include <string>
#include <vector>

#include "common/text.h"
#include "update/widgets/bar_colors.h"

namespace korvane::update {

// The gradient fill's modes: colour A at the left edge, or at the top edge.
enum class GradientMode { kLeftToRight = 0, kTopToBottom = 1 };

// One gradient rectangle; right and bottom are exclusive. Colours are entries of the
// style's colour table.
struct BarRectangle {
  GradientMode mode;
  int left, top, right, bottom;
  int entry_a, entry_b;

  bool operator==(const BarRectangle&) const = default;
};

// Direction 1 fills along the width from the left, 2 along the height from the top, the
// unfilled part first; the filled part only from position 1 on; any other direction
// paints nothing. The minimum takes no part in the filled length.
std::vector<BarRectangle> BarRectangles(int direction, int position, int maximum, int width,
                                        int height);

// percent with two decimals, truncated: 50 -> "50.00%", 100 / 3 -> "33.33%".
Text PercentText(double percent);

// The text of text mode 1 (the position), 2 (the percentage of the maximum) or 3 (the
// caption); no text for any other mode.
std::optional<Text> BarText(int text_mode, int position, int maximum, const Text& caption);

struct TextPlace {
  int x, y;
  bool operator==(const TextPlace&) const = default;
};

// The place of a text of text_width by text_height in a 3 by 3 grid of the board:
// positions 1 to 3 the left column (top, middle, bottom), 4 to 6 the centre, 7 to 9 the
// right; (0, 0) for any other position.
TextPlace PlaceText(int text_position, int width, int height, int text_width, int text_height);

// Grey of the effects' shadow copies; it stays this grey on a disabled bar.
inline constexpr Colour kEffectGrey = RgbColour(128, 128, 128);

struct TextWrite {
  Colour colour;
  int x, y;
  bool operator==(const TextWrite&) const = default;
};

// The writes of a text effect in order, the text in its own colour last: 1 plain, 2 and
// 3 shadows with a grey counter-copy, 4 a halo to the left and right, 5 a drop shadow;
// nothing for any other effect.
std::vector<TextWrite> EffectWrites(int text_effect, TextPlace place, Colour text_colour,
                                    Colour effect_colour);

}  // namespace korvane::update
