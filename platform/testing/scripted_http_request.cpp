#include "platform/testing/scripted_http_request.h"

#include <algorithm>

#include "platform/testing/byte_range.h"

namespace korvane::platform::testing {
namespace {

Text HeaderIn(const HttpHeaders& headers, std::string_view name) {
  for (const auto& [key, value] : headers)
    if (EqualsNoCase(key, name)) return value;
  return {};
}

ScriptedHttpAnswer ServeRange(const std::string& content, ResourceRanges ranges, std::string_view range_header) {
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

}  // namespace

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
    state_ = 0;
    request_ = SentHttpRequest{Text(method), Text(url), asynchronous, {}};
    if (!method.empty() && !url.empty()) state_ = 1;
  }

  void SetRequestHeader(std::string_view name, std::string_view value) override {
    if (state_ == 1 && !sent_ && !name.empty()) request_.headers.emplace_back(Text(name), Text(value));
  }

  void Send() override {
    if (state_ != 1 || sent_) return;
    sent_ = true;
    factory_.sent_.push_back(request_);
    answer_ = factory_.AnswerFor(request_);
    if (answer_.status_text.empty()) answer_.status_text = StandardReasonPhrase(answer_.status);
    waits_left_ = answer_.waits_before_complete;
    pending_ = true;
    if (!answer_.never_completes && waits_left_ == 0) Complete();
  }

  int ReadyState() override { return state_; }

  bool WaitForResponse(int milliseconds) override {
    if (!pending_) return state_ == 4;
    ++factory_.wait_count_;
    if (factory_.on_wait_) factory_.on_wait_();
    if (!pending_) return state_ == 4;  // the hook aborted the request
    if (factory_.clock_ != nullptr) factory_.clock_->Advance(std::max(milliseconds, 0));
    if (!answer_.never_completes && --waits_left_ <= 0) Complete();
    return state_ == 4;
  }

  void Abort() override {
    if (pending_) ++factory_.abort_count_;
    pending_ = false;
    answer_ = {};
    state_ = 0;
  }

  int Status() override { return state_ == 4 ? answer_.status : 0; }
  Text StatusText() override { return state_ == 4 ? answer_.status_text : Text(); }
  std::string ResponseBody() override { return state_ == 4 ? answer_.body : std::string(); }
  Text GetResponseHeader(std::string_view name) override { return state_ == 4 ? HeaderIn(answer_.headers, name) : Text(); }

 private:
  void Complete() {
    pending_ = false;
    state_ = 4;
  }

  ScriptedHttpRequestFactory& factory_;
  SentHttpRequest request_;
  ScriptedHttpAnswer answer_;
  int state_ = 0;
  int waits_left_ = 0;
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
  ++objects_created_;
  return std::make_unique<Request>(*this);
}

ScriptedHttpAnswer ScriptedHttpRequestFactory::AnswerFor(const SentHttpRequest& request) {
  if (auto next = next_answers_.find(request.url); next != next_answers_.end() && !next->second.empty()) {
    ScriptedHttpAnswer answer = std::move(next->second.front());
    next->second.pop_front();
    return answer;
  }
  if (auto found = answers_.find(request.url); found != answers_.end()) return found->second;
  if (auto found = resources_.find(request.url); found != resources_.end())
    return ServeRange(found->second.content, found->second.ranges, request.Header("Range"));
  return ScriptedHttpAnswer{.status = 0};
}

}  // namespace korvane::platform::testing
