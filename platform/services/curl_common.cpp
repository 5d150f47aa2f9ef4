#include "platform/services/curl_common.h"

#include <mutex>

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

}  // namespace korvane::platform::curl
