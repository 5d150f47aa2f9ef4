#include "platform/services/curl_http_request.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "platform/core/clock.h"
#include "platform/services/curl_common.h"
#include "platform/services/wait_pump.h"
#include "platform/services/web_address.h"
#include "platform/services/wire_address.h"

namespace korvane::platform {
namespace {

std::string_view TrimLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  return line;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

class CurlHttpRequest final : public HttpRequest {
 public:
  explicit CurlHttpRequest(HttpTimeouts timeouts) : timeouts_(timeouts) {
    curl::EnsureInitialised();
    multi_ = curl_multi_init();
    easy_ = curl_easy_init();
  }
  ~CurlHttpRequest() override {
    Detach();
    curl_slist_free_all(request_headers_);
    if (easy_ != nullptr) curl_easy_cleanup(easy_);
    if (multi_ != nullptr) curl_multi_cleanup(multi_);
  }
  CurlHttpRequest(const CurlHttpRequest&) = delete;
  CurlHttpRequest& operator=(const CurlHttpRequest&) = delete;

  void Open(std::string_view method, std::string_view url, bool asynchronous) override {
    Detach();
    ClearAnswer();
    curl_slist_free_all(request_headers_);
    request_headers_ = nullptr;
    ready_state_ = HttpReadyState::kUnsent;
    sent_ = false;
    if (method.empty()) return;
    // An address that cannot be fetched still makes a request, one that fails at Send
    // as a request to no server does.
    unusable_ = easy_ == nullptr || multi_ == nullptr || !HasWebScheme(url);
    ready_state_ = HttpReadyState::kOpened;
    asynchronous_ = asynchronous;
    if (unusable_) return;
    curl_easy_reset(easy_);  // the multi handle keeps the connection for the next request
    curl::ApplyDefaults(easy_, timeouts_);
    // HTTP/1.1 only: the reason phrase that StatusText gives ("Not Found") exists only in
    // an HTTP/1.x status line, and the HTTP/2 that libcurl would agree on over https has none.
    curl_easy_setopt(easy_, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    // libcurl copies every text option, so none has to outlive this call.
    const std::string wire_url = WireAddress(url);
    const std::string custom_method(method);
    curl_easy_setopt(easy_, CURLOPT_URL, wire_url.c_str());
    if (EqualsNoCase(method, "GET")) {
      curl_easy_setopt(easy_, CURLOPT_HTTPGET, 1L);
    } else if (EqualsNoCase(method, "HEAD")) {
      curl_easy_setopt(easy_, CURLOPT_NOBODY, 1L);
    } else {
      curl_easy_setopt(easy_, CURLOPT_CUSTOMREQUEST, custom_method.c_str());
    }
    curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlHttpRequest::OnBody);
    curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlHttpRequest::OnHeader);
    curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
  }

  void SetRequestHeader(std::string_view name, std::string_view value) override {
    if (ready_state_ != HttpReadyState::kOpened || sent_ || name.empty()) return;
    // "Name;" is how libcurl is told to send a header with an empty value.
    std::string line = value.empty() ? std::string(name) + ";" : std::string(name) + ": " + std::string(value);
    request_headers_ = curl_slist_append(request_headers_, line.c_str());
  }

  void Send() override {
    if (ready_state_ != HttpReadyState::kOpened || sent_) return;
    sent_ = true;
    if (unusable_) {
      ready_state_ = HttpReadyState::kComplete;
      return;
    }
    curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, request_headers_);
    if (curl_multi_add_handle(multi_, easy_) != CURLM_OK) {
      Complete(CURLE_FAILED_INIT);
      return;
    }
    attached_ = true;
    Pump();
    // One wait for the whole answer, however long it takes.
    if (!asynchronous_) {
      while (!WaitForResponse(std::numeric_limits<int>::max())) {
      }
    }
  }

  HttpReadyState ReadyState() override {
    Pump();
    return ready_state_;
  }

  bool WaitForResponse(int milliseconds) override {
    Pump();
    if (!attached_) return ready_state_ == HttpReadyState::kComplete;
    const std::int64_t deadline = SystemClock().NowMs() + std::max(milliseconds, 0);
    WaitScope wait;
    for (;;) {
      std::int64_t left = deadline - SystemClock().NowMs();
      if (left <= 0) return false;
      curl_multi_poll(multi_, nullptr, 0, static_cast<int>(std::min<std::int64_t>(left, curl::kWaitSliceMs)), nullptr);
      Pump();
      if (!attached_) return ready_state_ == HttpReadyState::kComplete;
      wait.Waiting();
    }
  }

  void Abort() override {
    Detach();
    ClearAnswer();
    ready_state_ = HttpReadyState::kUnsent;
  }

  int Status() override { return ready_state_ == HttpReadyState::kComplete ? status_ : 0; }
  Text StatusText() override { return ready_state_ == HttpReadyState::kComplete ? status_text_ : Text(); }
  std::string ResponseBody() override { return ready_state_ == HttpReadyState::kComplete ? body_ : std::string(); }

  Text GetResponseHeader(std::string_view name) override {
    if (ready_state_ != HttpReadyState::kComplete) return {};
    for (const auto& [key, value] : response_headers_)
      if (EqualsNoCase(key, name)) return value;
    return {};
  }

 private:
  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self) {
    static_cast<CurlHttpRequest*>(self)->body_.append(data, size * count);
    return size * count;
  }

  // Every status line starts a new answer (a redirect or an interim answer came before).
  static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
    auto* request = static_cast<CurlHttpRequest*>(self);
    std::string_view line = TrimLineEnd(std::string_view(data, size * count));
    if (line.substr(0, 5) == "HTTP/") {
      request->response_headers_.clear();
      request->body_.clear();
      std::size_t code_start = line.find(' ');
      std::size_t phrase_start = code_start == std::string_view::npos ? code_start : line.find(' ', code_start + 1);
      request->status_text_ = phrase_start == std::string_view::npos ? Text() : Text(line.substr(phrase_start + 1));
    } else if (std::size_t colon = line.find(':'); colon != std::string_view::npos) {
      request->response_headers_.emplace_back(Text(TrimBlanks(line.substr(0, colon))),
                                              Text(TrimBlanks(line.substr(colon + 1))));
    }
    return size * count;
  }

  void Pump() {
    if (!attached_) return;
    int running = 0;
    curl_multi_perform(multi_, &running);
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
      if (message->msg == CURLMSG_DONE && message->easy_handle == easy_) {
        CURLcode result = message->data.result;
        Detach();
        Complete(result);
        return;
      }
    }
  }

  void Complete(CURLcode result) {
    long code = 0;
    if (result == CURLE_OK) curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &code);
    if (result != CURLE_OK || code <= 0) {
      ClearAnswer();
    } else {
      status_ = static_cast<int>(code);
    }
    ready_state_ = HttpReadyState::kComplete;
  }

  void Detach() {
    if (attached_) curl_multi_remove_handle(multi_, easy_);
    attached_ = false;
  }

  void ClearAnswer() {
    status_ = 0;
    status_text_.clear();
    response_headers_.clear();
    body_.clear();
  }

  HttpTimeouts timeouts_;
  CURLM* multi_ = nullptr;
  CURL* easy_ = nullptr;
  curl_slist* request_headers_ = nullptr;
  bool asynchronous_ = true;
  bool sent_ = false;
  bool unusable_ = false;
  bool attached_ = false;
  HttpReadyState ready_state_ = HttpReadyState::kUnsent;
  int status_ = 0;
  Text status_text_;
  std::vector<std::pair<Text, Text>> response_headers_;
  std::string body_;
};

class CurlHttpRequestFactory final : public HttpRequestFactory {
 public:
  explicit CurlHttpRequestFactory(HttpTimeouts timeouts) : timeouts_(timeouts) {}
  std::unique_ptr<HttpRequest> CreateHttpRequest() override { return std::make_unique<CurlHttpRequest>(timeouts_); }

 private:
  HttpTimeouts timeouts_;
};

}  // namespace

std::unique_ptr<HttpRequestFactory> CreateCurlHttpRequestFactory(HttpTimeouts timeouts) {
  return std::make_unique<CurlHttpRequestFactory>(timeouts);
}

}  // namespace korvane::platform
