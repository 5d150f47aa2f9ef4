#pragma once
// The remote fetch over libcurl. One connection is kept open between fetches
// (keep-alive); nothing is cached, and every request asks for a fresh copy. A stalled
// transfer is given up after the stall time-out and its body so far is the result; one
// still running at the call's deadline, or whose body grows past the call's size limit,
// is given up with no result (empty bytes).

#include <memory>

#include "platform/services/http.h"
#include "platform/services/http_timeouts.h"

namespace korvane::platform {

std::unique_ptr<HttpClient> CreateCurlHttpClient(HttpTimeouts timeouts = {});

}  // namespace korvane::platform
