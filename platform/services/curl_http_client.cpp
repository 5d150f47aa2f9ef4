#include "platform/services/curl_http_client.h"

#include <mutex>

#include "platform/services/curl_common.h"
#include "platform/services/wire_address.h"

namespace korvane::platform {
namespace {

std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* body) {
  static_cast<std::string*>(body)->append(data, size * count);
  return size * count;
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
  std::string HttpGetBytes(std::string_view address) override {
    std::lock_guard lock(mutex_);
    if (handle_ == nullptr || !HasWebScheme(address)) return {};
    curl_easy_reset(handle_);  // keeps the open connection
    curl::ApplyDefaults(handle_, timeouts_);
    std::string url = WireAddress(address);
    std::string body;
    curl_easy_setopt(handle_, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle_, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(handle_, CURLOPT_HTTPHEADER, headers_);
    curl_easy_setopt(handle_, CURLOPT_WRITEFUNCTION, &AppendBody);
    curl_easy_setopt(handle_, CURLOPT_WRITEDATA, &body);
    transfers_.Perform(handle_);
    return body;
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
