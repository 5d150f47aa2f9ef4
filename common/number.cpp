#include "common/number.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace korvane {
namespace {

// Full-width forms are the GBK double-byte characters A3B0..A3B9 (digits), A3AB "＋",
// A3AD "－", A3AE "．", A3C5/A3E5 "Ｅ"/"ｅ"; A1A1 is the full-width space.
char AsciiFormAt(std::string_view text, std::size_t at, std::size_t* length) {
  *length = 1;
  auto c = static_cast<unsigned char>(text[at]);
  if (c < 0x80 || at + 1 >= text.size()) return static_cast<char>(c);
  auto trail = static_cast<unsigned char>(text[at + 1]);
  *length = 2;
  if (c == 0xA1 && trail == 0xA1) return ' ';
  if (c != 0xA3) return '\x01';
  if (trail >= 0xB0 && trail <= 0xB9) return static_cast<char>('0' + (trail - 0xB0));
  switch (trail) {
    case 0xAB: return '+';
    case 0xAD: return '-';
    case 0xAE: return '.';
    case 0xC5: return 'E';
    case 0xE5: return 'e';
    default: return '\x01';
  }
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

double ToNumber(std::string_view text) {
  // Normalise to ASCII up to the first character that cannot belong to a number, then
  // let strtod read the leading number (it stops where the number ends).
  std::string ascii;
  std::size_t at = 0;
  bool leading = true;
  while (at < text.size()) {
    std::size_t length = 0;
    char c = AsciiFormAt(text, at, &length);
    at += length;
    if (leading && IsBlank(c)) continue;
    leading = false;
    bool numeric = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' ||
                   c == 'E';
    if (!numeric) break;
    ascii.push_back(c);
  }
  if (ascii.empty()) return 0;
  // Hex floats, "inf" and "nan" cannot arise: only digits, signs, point and E pass above.
  char* end = nullptr;
  double value = std::strtod(ascii.c_str(), &end);
  if (end == ascii.c_str() || !std::isfinite(value)) return 0;
  return value;
}

bool NumbersEqual(double a, double b) { return std::fabs(a - b) < kNumberTolerance; }

}  // namespace korvane
