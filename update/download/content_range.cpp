#include "update/download/content_range.h"

#include <cmath>

#include "common/number.h"

namespace korvane::update {
namespace {

std::string_view TextAfterLast(std::string_view text, char mark) {
  const std::size_t at = text.rfind(mark);
  return at == std::string_view::npos ? text : text.substr(at + 1);
}

// ToNumber gives 0 both for "0" and for "*"; a stated length must be told apart from a
// missing one.
bool BeginsWithNumber(std::string_view text) {
  std::size_t at = text.find_first_not_of(" \t");
  if (at == std::string_view::npos) return false;
  if (text[at] == '+' || text[at] == '-') ++at;
  if (at < text.size() && text[at] == '.') ++at;
  return at < text.size() && text[at] >= '0' && text[at] <= '9';
}

}  // namespace

double NumberAfterLast(std::string_view header, char mark) {
  return std::trunc(ToNumber(TextAfterLast(header, mark)));
}

ContentRange ReadContentRange(std::string_view header) {
  ContentRange range;
  range.last = NumberAfterLast(header, '-');
  if (BeginsWithNumber(TextAfterLast(header, '/'))) range.total = NumberAfterLast(header, '/');
  const std::size_t dash = header.rfind('-');
  if (dash != std::string_view::npos) {
    // The first position is the run of digits just before the "-", whatever separates
    // it from the unit ("bytes 0-", or "bytes=0-" as some servers write it).
    std::size_t start = dash;
    while (start > 0 && header[start - 1] >= '0' && header[start - 1] <= '9') --start;
    if (start < dash) range.first = ToNumber(header.substr(start, dash - start));
  }
  return range;
}

}  // namespace korvane::update
