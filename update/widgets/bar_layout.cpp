#include "update/widgets/bar_layout.h"

#include <cstdio>

namespace korvane::update {
namespace {

int Truncated(double value) { return static_cast<int>(value); }

// A bar given settings before its first attach paints once with no range yet: it shows
// empty rather than dividing by zero.
double Percent(int position, int maximum) {
  if (maximum == 0) return 0;
  return static_cast<double>(position) * 100 / maximum;
}

int FilledLength(int position, int maximum, int extent) {
  return Truncated(Percent(position, maximum) * extent / 100);
}

}  // namespace

std::vector<BarRectangle> BarRectangles(int direction, int position, int maximum, int width,
                                        int height) {
  const bool filled = position >= 1;
  std::vector<BarRectangle> rectangles;
  if (direction == 1) {
    const int length = FilledLength(position, maximum, width);
    const int half = height / 2;
    const auto mode = GradientMode::kTopToBottom;
    rectangles = {{mode, length, 0, width, half, 1, 3}, {mode, length, half, width, height, 5, 7}};
    if (filled) {
      rectangles.push_back({mode, 0, 0, length, half, 9, 11});
      rectangles.push_back({mode, 0, half, length, height, 13, 15});
    }
  } else if (direction == 2) {
    const int length = FilledLength(position, maximum, height);
    const int half = width / 2;
    const auto mode = GradientMode::kLeftToRight;
    rectangles = {{mode, 0, length, half, height, 1, 3}, {mode, half, length, width, height, 5, 7}};
    if (filled) {
      rectangles.push_back({mode, 0, 0, half, length, 9, 11});
      rectangles.push_back({mode, half, 0, width, length, 13, 15});
    }
  }
  return rectangles;
}

Text PercentText(double percent) {
  char formatted[64];
  std::snprintf(formatted, sizeof formatted, "%.13g", percent);
  Text text = formatted;
  // Below 0.0001 "%.13g" switches to an exponent; two truncated decimals of such a value
  // are all zeros.
  if (text.find('e') != Text::npos) return "0.00%";
  const auto point = text.find('.');
  if (point == Text::npos) return text + ".00%";
  const auto decimals = text.size() - point - 1;
  if (decimals == 1) return text + "0%";
  return text.substr(0, point + 3) + "%";
}

std::optional<Text> BarText(int text_mode, int position, int maximum, const Text& caption) {
  switch (text_mode) {
    case 1:
      return std::to_string(position);
    case 2:
      return PercentText(Percent(position, maximum));
    case 3:
      return caption;
    default:
      return std::nullopt;
  }
}

TextPlace PlaceText(int text_position, int width, int height, int text_width, int text_height) {
  if (text_position < 1 || text_position > 9) return {0, 0};
  const double w = width, h = height, tw = text_width, th = text_height;
  const double columns[] = {1, w / 2 - tw / 2 - 1, w - tw - 3};
  const double rows[] = {0, h / 2 - th / 2 - 1, h - th - 1};
  return {Truncated(columns[(text_position - 1) / 3]), Truncated(rows[(text_position - 1) % 3])};
}

std::vector<TextWrite> EffectWrites(int text_effect, TextPlace place, Colour text_colour,
                                    Colour effect_colour) {
  const int x = place.x, y = place.y;
  const TextWrite text{text_colour, x, y};
  switch (text_effect) {
    case 1:
      return {text};
    case 2:
      return {{effect_colour, x - 1, y - 1}, {kEffectGrey, x + 1, y + 1}, text};
    case 3:
      return {{effect_colour, x + 1, y + 1}, {kEffectGrey, x - 1, y}, text};
    case 4:
      return {{effect_colour, x + 1, y},
              {effect_colour, x - 1, y},
              {effect_colour, x - 1, y},
              {effect_colour, x + 1, y},
              text};
    case 5:
      return {{effect_colour, x + 1, y + 1}, text};
    default:
      return {};
  }
}

}  // namespace korvane::update
