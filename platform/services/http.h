#pragma once
// The remote fetch: one GET of a whole resource, asking for a fresh copy and keeping no
// cache. The body of any answer is the result whatever its status, a body that broke off
// midway is returned as far as it came, and no answer gives empty bytes.

#include <string>
#include <string_view>

namespace korvane::platform {

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  virtual std::string HttpGetBytes(std::string_view address) = 0;
};

}  // namespace korvane::platform
