#pragma once
// The HTTP request object over libcurl's multi interface: Send starts the transfer and
// returns, the answer is pumped while ReadyState and WaitForResponse are asked. Each
// object keeps its connection between Open calls (keep-alive to the same server).
// WaitForResponse and a synchronous Send wait in a WaitScope (wait_pump.h), letting the
// windows show every few milliseconds; the time a wait may take is still the caller's.
//
// A transfer that fails (no connection, an answer broken off) completes with status 0, no
// reason phrase, no headers and an empty body: a part of an answer is never passed on as
// if it were whole. Abort cancels and puts the object back to state 0.
//
// By default only connecting has a time-out: how long an answer may take is the caller's
// choice (the downloader allows a time per block and aborts).

#include <memory>

#include "platform/services/http_request.h"
#include "platform/services/http_timeouts.h"

namespace korvane::platform {

std::unique_ptr<HttpRequestFactory> CreateCurlHttpRequestFactory(
    HttpTimeouts timeouts = HttpTimeouts{.connect_seconds = 60, .stall_seconds = 0});

}  // namespace korvane::platform
