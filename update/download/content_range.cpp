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
    // The first position follows the unit and its blank: "bytes 0".
    const std::string_view first = TextAfterLast(header.substr(0, dash), ' ');
    if (BeginsWithNumber(first)) range.first = std::trunc(ToNumber(first));
  }
  return range;
}

}  // namespace korvane::update
