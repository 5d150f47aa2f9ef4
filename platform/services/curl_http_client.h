#pragma once
// The remote fetch over libcurl. One connection is kept open between fetches
// (keep-alive); nothing is cached, and every request asks for a fresh copy.

#include <memory>

#include "platform/services/http.h"

namespace korvane::platform {

struct HttpTimeouts {
  long connect_seconds = 60;
  // A transfer that moves nothing for this long is given up (its body so far is kept).
  long stall_seconds = 60;
};

std::unique_ptr<HttpClient> CreateCurlHttpClient(HttpTimeouts timeouts = {});

}  // namespace korvane::platform
