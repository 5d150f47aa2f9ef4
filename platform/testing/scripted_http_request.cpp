#include "platform/testing/scripted_http_request.h"

#include <algorithm>

#include "platform/services/byte_range.h"

namespace korvane::platform::testing {
namespace {

Text HeaderIn(const HttpHeaders& headers, std::string_view name) {
  for (const auto& [key, value] : headers)
    if (EqualsNoCase(key, name)) return value;
  return {};
}

}  // namespace

ScriptedHttpAnswer ServeRange(const std::string& content, std::string_view range_header, ResourceRanges ranges) {
  ByteRange range{};
  RangeRequest request = ranges == ResourceRanges::kIgnore ? RangeRequest::kNone
                                                           : ParseByteRange(range_header, content.size(), &range);
  switch (request) {
    case RangeRequest::kNone:
      return ScriptedHttpAnswer{.status = 200, .body = content};
    case RangeRequest::kPastTheEnd:
      return ScriptedHttpAnswer{.status = 416, .headers = {{"Content-Range", UnsatisfiedContentRange(content.size())}}};
    case RangeRequest::kSatisfiable:
      break;
  }
  ScriptedHttpAnswer answer{.status = 206, .body = content.substr(range.first, range.last - range.first + 1)};
  if (ranges == ResourceRanges::kHonour) {
    answer.headers.emplace_back("Content-Range", ContentRange(range, content.size()));
  }
  return answer;
}

Text SentHttpRequest::Header(std::string_view name) const { return HeaderIn(headers, name); }

Text StandardReasonPhrase(int status) {
  switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 206: return "Partial Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 416: return "Range Not Satisfiable";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return {};
  }
}

class ScriptedHttpRequestFactory::Request final : public HttpRequest {
 public:
  explicit Request(ScriptedHttpRequestFactory& factory) : factory_(factory) {}

  void Open(std::string_view method, std::string_view url, bool asynchronous) override {
    answer_ = {};
    pending_ = false;
    sent_ = false;
    state_ = HttpReadyState::kUnsent;
    request_ = SentHttpRequest{Text(method), Text(url), asynchronous, {}};
    if (!method.empty()) state_ = HttpReadyState::kOpened;
  }

  void SetRequestHeader(std::string_view name, std::string_view value) override {
    if (state_ == HttpReadyState::kOpened && !sent_ && !name.empty()) request_.headers.emplace_back(Text(name), Text(value));
  }

  void Send() override {
    if (state_ != HttpReadyState::kOpened || sent_) return;
    sent_ = true;
    factory_.sent_.push_back(request_);
    answer_ = factory_.AnswerFor(request_);
    if (answer_.status_text.empty()) answer_.status_text = StandardReasonPhrase(answer_.status);
    complete_at_ = answer_.complete_after_ms == ScriptedHttpAnswer::kNever
                       ? ScriptedHttpAnswer::kNever
                       : factory_.clock_.NowMs() + answer_.complete_after_ms;
    pending_ = true;
    CompleteWhenDue();
  }

  HttpReadyState ReadyState() override { return state_; }

  bool WaitForResponse(int milliseconds) override {
    if (!pending_) return state_ == HttpReadyState::kComplete;
    factory_.waits_.push_back(milliseconds);
    if (factory_.on_wait_) factory_.on_wait_();
    if (!pending_) return state_ == HttpReadyState::kComplete;  // the hook aborted the request
    const std::int64_t until_due = complete_at_ - factory_.clock_.NowMs();
    factory_.clock_.Advance(std::clamp<std::int64_t>(until_due, 0, std::max(milliseconds, 0)));
    CompleteWhenDue();
    return state_ == HttpReadyState::kComplete;
  }

  void Abort() override {
    if (pending_) ++factory_.abort_count_;
    pending_ = false;
    answer_ = {};
    state_ = HttpReadyState::kUnsent;
  }

  int Status() override { return state_ == HttpReadyState::kComplete ? answer_.status : 0; }
  Text StatusText() override { return state_ == HttpReadyState::kComplete ? answer_.status_text : Text(); }
  std::string ResponseBody() override { return state_ == HttpReadyState::kComplete ? answer_.body : std::string(); }
  Text GetResponseHeader(std::string_view name) override { return state_ == HttpReadyState::kComplete ? HeaderIn(answer_.headers, name) : Text(); }

 private:
  void CompleteWhenDue() {
    if (factory_.clock_.NowMs() < complete_at_) return;
    pending_ = false;
    state_ = HttpReadyState::kComplete;
  }

  ScriptedHttpRequestFactory& factory_;
  SentHttpRequest request_;
  ScriptedHttpAnswer answer_;
  HttpReadyState state_ = HttpReadyState::kUnsent;
  std::int64_t complete_at_ = 0;
  bool sent_ = false;
  bool pending_ = false;
};

void ScriptedHttpRequestFactory::ServeResource(std::string url, std::string content, ResourceRanges ranges) {
  answers_.erase(url);
  resources_[std::move(url)] = Resource{std::move(content), ranges};
}

void ScriptedHttpRequestFactory::Answer(std::string url, ScriptedHttpAnswer answer) {
  resources_.erase(url);
  answers_[std::move(url)] = std::move(answer);
}

void ScriptedHttpRequestFactory::AnswerNext(std::string url, ScriptedHttpAnswer answer) {
  next_answers_[std::move(url)].push_back(std::move(answer));
}

std::unique_ptr<HttpRequest> ScriptedHttpRequestFactory::CreateHttpRequest() {
  if (creation_fails_) return nullptr;
  ++objects_created_;
  return std::make_unique<Request>(*this);
}

ScriptedHttpAnswer ScriptedHttpRequestFactory::AnswerFor(const SentHttpRequest& request) {
  if (auto next = next_answers_.find(request.url); next != next_answers_.end() && !next->second.empty()) {
    ScriptedHttpAnswer answer = std::move(next->second.front());
    next->second.pop_front();
    return answer;
  }
  if (responder_) return responder_(request);
  if (auto found = answers_.find(request.url); found != answers_.end()) return found->second;
  if (auto found = resources_.find(request.url); found != resources_.end())
    return ServeRange(found->second.content, request.Header("Range"), found->second.ranges);
  return ScriptedHttpAnswer{.status = 0};
}

}  // namespace korvane::platform::testing
