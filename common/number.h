#pragma once
// Numbers in texts: configuration values and list fields are texts; numeric work is
// done in doubles and compared within a tolerance.

#include <string_view>

namespace korvane {

// The leading decimal number of a text: blanks (space, tab, CR, LF, full-width space)
// skipped, full-width digits, signs and point read as their ASCII forms, an optional
// sign, digits with an optional decimal point, an optional exponent. 0 when the text
// does not start with a number.
double ToNumber(std::string_view text);

constexpr double kNumberTolerance = 1e-7;

bool NumbersEqual(double a, double b);

}  // namespace korvane
