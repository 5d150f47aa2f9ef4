#pragma once
// The remote fetch: one GET of a whole resource, asking for a fresh copy and keeping no
// cache. The body of any answer is the result whatever its status, a body that broke off
// midway is returned as far as it came, and no answer gives empty bytes.
//
// Every fetch runs inside a handler and holds the window thread, so each has limits
// that fit what it fetches: one that runs past its deadline, or whose body grows past
// its size, gives no answer either.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/text.h"

namespace korvane::platform {

struct FetchLimits {
  std::int64_t deadline_ms;  // from the start of the fetch to its last byte
  std::size_t max_bytes;     // of the body; a body of exactly this size is whole
};

// A remote control file: a switch, an address, a name or a number, a few bytes each.
inline constexpr FetchLimits kControlFileLimits{.deadline_ms = 8'000, .max_bytes = 64 * 1024};
// A page: a catalogue or title page, the statistics page.
inline constexpr FetchLimits kPageLimits{.deadline_ms = 30'000, .max_bytes = 32 * 1024 * 1024};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  virtual std::string HttpGetBytes(std::string_view address, const FetchLimits& limits) = 0;
};

// A fetched body as text: its bytes up to the first zero byte.
inline Text ToText(std::string_view bytes) { return TextUpToZero(bytes); }

}  // namespace korvane::platform
