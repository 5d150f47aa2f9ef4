#include "tests/update/download/fake_http_request.h"

#include <algorithm>
#include <optional>

#include "common/number.h"

namespace korvane::testing_support {

Text SentRequest::Header(std::string_view name) const {
  for (const auto& [header, value] : headers) {
    if (header == name) return value;
  }
  return {};
}

CannedAnswer ServeRange(const std::string& resource, const SentRequest& request) {
  const Text range = request.Header("Range");  // "bytes=first-last"
  const std::size_t equals = range.find('=');
  const std::size_t dash = range.find('-');
  const auto first = static_cast<std::int64_t>(ToNumber(range.substr(equals + 1)));
  const auto last = static_cast<std::int64_t>(ToNumber(range.substr(dash + 1)));
  const auto length = static_cast<std::int64_t>(resource.size());
  const std::string total = std::to_string(length);
  if (first >= length) {
    return {416, "Requested Range Not Satisfiable", {{"Content-Range", "bytes */" + total}}, ""};
  }
  const std::int64_t end = std::min(last, length - 1);
  return {206,
          "Partial Content",
          {{"Content-Range",
            "bytes " + std::to_string(first) + "-" + std::to_string(end) + "/" + total}},
          resource.substr(first, end - first + 1)};
}

class FakeHttpRequest final : public platform::HttpRequest {
 public:
  explicit FakeHttpRequest(FakeHttp& http) : http_(http) {}

  void Open(std::string_view method, std::string_view url, bool asynchronous) override {
    pending_ = SentRequest{std::string(method), Text(url), asynchronous, {}};
    answer_.reset();
    aborted_ = false;
  }
  void SetRequestHeader(std::string_view name, std::string_view value) override {
    if (pending_) pending_->headers.emplace_back(std::string(name), Text(value));
  }
  void Send() override {
    if (!pending_) return;
    http_.requests.push_back(*pending_);
    answer_ = http_.responder ? http_.responder(*pending_) : CannedAnswer{404, "Not Found"};
    complete_at_ = answer_->delay_ms == CannedAnswer::kNever
                       ? CannedAnswer::kNever
                       : http_.clock_.NowMs() + answer_->delay_ms;
    pending_.reset();
  }
  int ReadyState() override {
    if (aborted_) return 0;  // an aborted request is back to unsent
    if (!answer_) return pending_ ? 1 : 0;
    return Complete() ? 4 : 1;
  }
  bool WaitForResponse(int milliseconds) override {
    http_.wait_arguments.push_back(milliseconds);
    if (http_.while_waiting) http_.while_waiting();
    if (!answer_ || aborted_) {
      http_.clock_.Advance(milliseconds);
      return false;
    }
    const std::int64_t now = http_.clock_.NowMs();
    http_.clock_.Advance(std::min<std::int64_t>(milliseconds, std::max<std::int64_t>(complete_at_ - now, 0)));
    return Complete();
  }
  void Abort() override {
    ++http_.aborts;
    aborted_ = true;
  }
  int Status() override { return Answered() ? answer_->status : 0; }
  Text StatusText() override { return Answered() ? answer_->status_text : Text(); }
  std::string ResponseBody() override { return Answered() ? answer_->body : std::string(); }
  Text GetResponseHeader(std::string_view name) override {
    if (!Answered()) return {};
    for (const auto& [header, value] : answer_->headers) {
      if (EqualsNoCase(header, name)) return value;
    }
    return {};
  }

 private:
  bool Complete() const { return http_.clock_.NowMs() >= complete_at_; }
  bool Answered() const { return answer_ && !aborted_ && Complete(); }

  FakeHttp& http_;
  std::optional<SentRequest> pending_;
  std::optional<CannedAnswer> answer_;
  std::int64_t complete_at_ = 0;
  bool aborted_ = false;
};

std::unique_ptr<platform::HttpRequest> FakeHttp::CreateHttpRequest() {
  if (creation_fails) return nullptr;
  ++objects_created;
  return std::make_unique<FakeHttpRequest>(*this);
}

}  // namespace korvane::testing_support
