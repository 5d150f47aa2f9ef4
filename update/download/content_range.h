#pragma once
// Reading the Content-Range header of a ranged answer ("bytes 0-20479/50000", or
// "bytes */50000" in a 416 answer).

#include <optional>
#include <string_view>

namespace korvane::update {

// The number that the text after the last `mark` of `header` begins with (the whole
// header when `mark` does not occur), read as ToNumber reads it and truncated toward
// zero: 0 when that text does not begin with a number. So the end of
// "bytes 0-20479/50000" after "-" is 20479 and the end of "bytes */50000" is 0.
double NumberAfterLast(std::string_view header, char mark);

struct ContentRange {
  // The resource's length, absent when the header does not state it ("bytes 0-99/*").
  std::optional<double> total;
  // The first and last byte of the answered range, absent in the "*/total" form.
  std::optional<double> first;
  double last = 0;
};

ContentRange ReadContentRange(std::string_view header);

}  // namespace korvane::update
