#include "platform/services/curl_http_client.h"

#include <mutex>

#include "platform/services/curl_common.h"
#include "platform/services/web_address.h"
#include "platform/services/wire_address.h"

namespace korvane::platform {
namespace {

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
    handle_ = curl_easy_init();
    headers_ = curl_slist_append(headers_, "Cache-Control: no-cache");
    headers_ = curl_slist_append(headers_, "Pragma: no-cache");
  }
  ~CurlHttpClient() override {
    curl_slist_free_all(headers_);
    if (handle_ != nullptr) curl_easy_cleanup(handle_);
  }
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;

  // The status is not looked at: whatever body came, whole or cut off, is the result.
  std::string HttpGetBytes(std::string_view address, const FetchLimits& limits) override {
    std::lock_guard lock(mutex_);
    if (handle_ == nullptr || !HasWebScheme(address)) return {};
    curl_easy_reset(handle_);  // keeps the open connection
    curl::ApplyDefaults(handle_, timeouts_);
    std::string url = WireAddress(address);
    Body body{.limit = limits.max_bytes};
    curl_easy_setopt(handle_, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle_, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(handle_, CURLOPT_HTTPHEADER, headers_);
    curl_easy_setopt(handle_, CURLOPT_WRITEFUNCTION, &AppendBody);
    curl_easy_setopt(handle_, CURLOPT_WRITEDATA, &body);
    const std::optional<CURLcode> ended = transfers_.Perform(handle_, limits.deadline_ms);
    if (!ended.has_value() || body.too_long) return {};
    return std::move(body.bytes);
  }

 private:
  HttpTimeouts timeouts_;
  std::mutex mutex_;
  CURL* handle_ = nullptr;
  curl::PumpedTransfers transfers_;
  curl_slist* headers_ = nullptr;
};

}  // namespace

std::unique_ptr<HttpClient> CreateCurlHttpClient(HttpTimeouts timeouts) {
  return std::make_unique<CurlHttpClient>(timeouts);
}

}  // namespace korvane::platform
