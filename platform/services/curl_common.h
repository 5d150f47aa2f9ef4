#pragma once
// What the two libcurl users share: one global initialisation and the defaults of a
// system HTTP stack (connect and stall time-outs of about a minute, redirects followed).

#include <cstdint>
#include <optional>
#include <string_view>

#include <curl/curl.h>

#include "platform/services/http_timeouts.h"

namespace korvane::platform::curl {

// Initialises libcurl once for the process; safe to call from any thread.
void EnsureInitialised();

// The defaults every transfer of ours gets, applied to a fresh or reset easy handle:
// redirects followed (http and https only), the given time-outs.
void ApplyDefaults(CURL* handle, const HttpTimeouts& timeouts);

// How long a transfer waits on its sockets before the windows are let show again: a
// blocking wait is a WaitScope (wait_pump.h) that calls Waiting() after each slice.
inline constexpr int kWaitSliceMs = 10;

// Runs one transfer to its end as curl_easy_perform does, or until `deadline_ms` have
// passed, waiting in a WaitScope in slices of kWaitSliceMs. Its multi handle keeps the
// connections open between transfers.
class PumpedTransfers {
 public:
  PumpedTransfers();
  ~PumpedTransfers();
  PumpedTransfers(const PumpedTransfers&) = delete;
  PumpedTransfers& operator=(const PumpedTransfers&) = delete;
  // libcurl's result, or none when the deadline came first and the transfer was dropped.
  std::optional<CURLcode> Perform(CURL* handle, std::int64_t deadline_ms);

 private:
  CURLM* multi_;
};

}  // namespace korvane::platform::curl
