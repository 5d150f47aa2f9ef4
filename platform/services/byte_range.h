#pragma once
// The one range of a "Range: bytes=..." request header and the Content-Range of the
// answer, as a server that honours single ranges gives them (the demo and test servers).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace korvane::platform {

struct ByteRange {
  std::size_t first;
  std::size_t last;  // inclusive
};

enum class RangeRequest {
  kNone,         // no usable range: the whole resource is the answer
  kSatisfiable,  // `range` holds the bytes to send
  kPastTheEnd,   // the range starts at or beyond the end: 416
};

// Reads "bytes=a-b", "bytes=a-" and "bytes=-n" (the first of several ranges) against a
// resource of `length` bytes; `last` is clamped to the end.
RangeRequest ParseByteRange(std::string_view value, std::size_t length, ByteRange* range);

// The Content-Range value of a 206 answer ("bytes a-b/length") and of a 416 ("bytes */length").
std::string ContentRange(const ByteRange& range, std::size_t length);
std::string UnsatisfiedContentRange(std::size_t length);

}  // namespace korvane::platform
