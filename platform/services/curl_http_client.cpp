#include "platform/services/curl_http_client.h"

#include <algorithm>
#include <mutex>

#include "platform/core/clock.h"
#include "platform/services/curl_common.h"
#include "platform/services/web_address.h"
#include "platform/services/wire_address.h"

namespace korvane::platform {
namespace {

constexpr int kMaximumPollMs = 1000;

// The body as it arrives; a byte past the limit ends the transfer.
struct Body {
  std::size_t limit = 0;
  bool too_long = false;
  std::string bytes{};
};

std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* target) {
  auto* body = static_cast<Body*>(target);
  const std::size_t length = size * count;
  if (length > body->limit - body->bytes.size()) {
    body->too_long = true;
    return 0;  // libcurl ends the transfer
  }
  body->bytes.append(data, length);
  return length;
}

class CurlHttpClient final : public HttpClient {
 public:
  explicit CurlHttpClient(HttpTimeouts timeouts) : timeouts_(timeouts) {
    curl::EnsureInitialised();
    multi_ = curl_multi_init();
    handle_ = curl_easy_init();
    headers_ = curl_slist_append(headers_, "Cache-Control: no-cache");
    headers_ = curl_slist_append(headers_, "Pragma: no-cache");
  }
  ~CurlHttpClient() override {
    curl_slist_free_all(headers_);
    if (handle_ != nullptr) curl_easy_cleanup(handle_);
    if (multi_ != nullptr) curl_multi_cleanup(multi_);
  }
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;

  // The status is not looked at: whatever body came, whole or cut off, is the result.
  std::string HttpGetBytes(std::string_view address, const FetchLimits& limits) override {
    std::lock_guard lock(mutex_);
    if (handle_ == nullptr || multi_ == nullptr || !HasWebScheme(address)) return {};
    curl_easy_reset(handle_);  // the multi handle keeps the open connection
    curl::ApplyDefaults(handle_, timeouts_);
    std::string url = WireAddress(address);
    Body body{.limit = limits.max_bytes};
    curl_easy_setopt(handle_, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle_, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(handle_, CURLOPT_HTTPHEADER, headers_);
    curl_easy_setopt(handle_, CURLOPT_WRITEFUNCTION, &AppendBody);
    curl_easy_setopt(handle_, CURLOPT_WRITEDATA, &body);
    if (!Transfer(limits.deadline_ms) || body.too_long) return {};
    return std::move(body.bytes);
  }

 private:
  // Runs the transfer until it ends, however it ends; false when the deadline came first.
  bool Transfer(std::int64_t deadline_ms) {
    if (curl_multi_add_handle(multi_, handle_) != CURLM_OK) return false;
    const std::int64_t deadline = SystemClock().NowMs() + deadline_ms;
    bool ended = false;
    for (;;) {
      int running = 0;
      curl_multi_perform(multi_, &running);
      if (running == 0) {
        ended = true;
        break;
      }
      const std::int64_t left = deadline - SystemClock().NowMs();
      if (left <= 0) break;
      curl_multi_poll(multi_, nullptr, 0, static_cast<int>(std::min<std::int64_t>(left, kMaximumPollMs)), nullptr);
    }
    curl_multi_remove_handle(multi_, handle_);
    return ended;
  }

  HttpTimeouts timeouts_;
  std::mutex mutex_;
  CURLM* multi_ = nullptr;
  CURL* handle_ = nullptr;
  curl_slist* headers_ = nullptr;
};

}  // namespace

std::unique_ptr<HttpClient> CreateCurlHttpClient(HttpTimeouts timeouts) {
  return std::make_unique<CurlHttpClient>(timeouts);
}

}  // namespace korvane::platform
