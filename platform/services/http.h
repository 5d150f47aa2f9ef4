#pragma once
// The remote fetch: one GET of a whole resource, asking for a fresh copy and keeping no
// cache. The body of any answer is the result whatever its status, a body that broke off
// midway is returned as far as it came, and no answer gives empty bytes.

#include <string>
#include <string_view>

#include "common/text.h"

namespace korvane::platform {

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  virtual std::string HttpGetBytes(std::string_view address) = 0;
};

// A fetched body as text: its bytes up to the first zero byte.
inline Text ToText(std::string_view bytes) { return TextUpToZero(bytes); }

}  // namespace korvane::platform
