#include "platform/services/byte_range.h"

#include <algorithm>
#include <charconv>

namespace korvane::platform {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::optional<std::size_t> Number(std::string_view text) {
  std::size_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

}  // namespace

RangeRequest ParseByteRange(std::string_view value, std::size_t length, ByteRange* range) {
  constexpr std::string_view kPrefix = "bytes=";
  value = Trim(value);
  if (value.substr(0, kPrefix.size()) != kPrefix) return RangeRequest::kNone;
  value.remove_prefix(kPrefix.size());
  value = value.substr(0, value.find(','));
  std::size_t dash = value.find('-');
  if (dash == std::string_view::npos) return RangeRequest::kNone;
  std::string_view first_text = Trim(value.substr(0, dash));
  std::string_view last_text = Trim(value.substr(dash + 1));
  if (first_text.empty()) {
    std::optional<std::size_t> suffix = Number(last_text);
    if (!suffix) return RangeRequest::kNone;
    if (*suffix == 0 || length == 0) return RangeRequest::kPastTheEnd;
    *range = {length - std::min(*suffix, length), length - 1};
    return RangeRequest::kSatisfiable;
  }
  std::optional<std::size_t> first = Number(first_text);
  std::optional<std::size_t> last = last_text.empty() ? std::optional<std::size_t>(SIZE_MAX) : Number(last_text);
  if (!first || !last || *last < *first) return RangeRequest::kNone;
  if (*first >= length) return RangeRequest::kPastTheEnd;
  *range = {*first, std::min(*last, length - 1)};
  return RangeRequest::kSatisfiable;
}

std::string ContentRange(const ByteRange& range, std::size_t length) {
  return "bytes " + std::to_string(range.first) + "-" + std::to_string(range.last) + "/" + std::to_string(length);
}

std::string UnsatisfiedContentRange(std::size_t length) { return "bytes */" + std::to_string(length); }

}  // namespace korvane::platform
