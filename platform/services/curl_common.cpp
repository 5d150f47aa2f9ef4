#include "platform/services/curl_common.h"

#include <mutex>

#include "platform/core/clock.h"
#include "platform/services/wait_pump.h"

namespace korvane::platform::curl {
namespace {

// A transfer that moves less than one byte a second over the stall time has stalled.
constexpr long kStallLimitBytesPerSecond = 1;
constexpr long kMaximumRedirects = 10;

}  // namespace

void EnsureInitialised() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

void ApplyDefaults(CURL* handle, const HttpTimeouts& timeouts) {
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, timeouts.connect_seconds);
  if (timeouts.stall_seconds > 0) {
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, kStallLimitBytesPerSecond);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, timeouts.stall_seconds);
  }
  curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(handle, CURLOPT_MAXREDIRS, kMaximumRedirects);
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
}

PumpedTransfers::PumpedTransfers() : multi_(curl_multi_init()) {}

PumpedTransfers::~PumpedTransfers() {
  if (multi_ != nullptr) curl_multi_cleanup(multi_);
}

std::optional<CURLcode> PumpedTransfers::Perform(CURL* handle, std::int64_t deadline_ms) {
  if (multi_ == nullptr || curl_multi_add_handle(multi_, handle) != CURLM_OK) return CURLE_FAILED_INIT;
  const std::int64_t deadline = SystemClock().NowMs() + deadline_ms;
  WaitScope wait;
  std::optional<CURLcode> result = CURLE_FAILED_INIT;
  for (bool done = false; !done;) {
    int running = 0;
    if (curl_multi_perform(multi_, &running) != CURLM_OK) break;
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
      if (message->msg == CURLMSG_DONE && message->easy_handle == handle) {
        result = message->data.result;
        done = true;
      }
    }
    if (done || running == 0) break;
    if (SystemClock().NowMs() >= deadline) {
      result.reset();
      break;
    }
    curl_multi_poll(multi_, nullptr, 0, kWaitSliceMs, nullptr);
    wait.Waiting();
  }
  curl_multi_remove_handle(multi_, handle);
  return result;
}

}  // namespace korvane::platform::curl
