#pragma once
// HTTP request objects answered from a table, for the downloader's logic tests. A
// resource can be served with byte ranges as a server would (206 with Content-Range,
// 416 past the end, or a server that ignores ranges), or any answer scripted outright,
// including one that never arrives. An address that is in no table gets what no server
// gives: a completed request with status 0 and nothing else.
//
// Answers are decided at Send and are complete at once, unless scripted to need some
// waits first. A wait on a pending answer moves the ManualClock (when one is given) on
// by the whole wait, so time-outs are reached without sleeping.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/services/http_request.h"
#include "platform/testing/manual_clock.h"

namespace korvane::platform::testing {

using HttpHeaders = std::vector<std::pair<Text, Text>>;

struct ScriptedHttpAnswer {
  int status = 200;
  Text status_text{};  // empty: the standard reason phrase of the status
  HttpHeaders headers{};
  std::string body{};
  int waits_before_complete = 0;  // WaitForResponse calls that pass before it is complete
  bool never_completes = false;
};

enum class ResourceRanges { kHonour, kIgnore, kNoContentRange };

struct SentHttpRequest {
  Text method;
  Text url;
  bool asynchronous = true;
  HttpHeaders headers;  // in the order they were set
  Text Header(std::string_view name) const;  // ASCII case ignored; empty when not set
};

// The standard reason phrase ("Not Found" for 404); empty for a status it does not know.
Text StandardReasonPhrase(int status);

class ScriptedHttpRequestFactory final : public HttpRequestFactory {
 public:
  explicit ScriptedHttpRequestFactory(ManualClock* clock = nullptr) : clock_(clock) {}

  void ServeResource(std::string url, std::string content, ResourceRanges ranges = ResourceRanges::kHonour);
  // Every request for `url` gets `answer` (replacing a served resource).
  void Answer(std::string url, ScriptedHttpAnswer answer);
  // The next request for `url` gets `answer`; queued answers come before the others.
  void AnswerNext(std::string url, ScriptedHttpAnswer answer);
  // Called on every WaitForResponse while an answer is pending, before the clock moves:
  // where a test makes "code that runs while the downloader waits".
  void OnWait(std::function<void()> hook) { on_wait_ = std::move(hook); }

  std::unique_ptr<HttpRequest> CreateHttpRequest() override;

  const std::vector<SentHttpRequest>& sent() const { return sent_; }
  int abort_count() const { return abort_count_; }
  int wait_count() const { return wait_count_; }
  int objects_created() const { return objects_created_; }

 private:
  class Request;
  struct Resource {
    std::string content;
    ResourceRanges ranges;
  };
  ScriptedHttpAnswer AnswerFor(const SentHttpRequest& request);

  ManualClock* clock_;
  std::map<std::string, Resource, std::less<>> resources_;
  std::map<std::string, ScriptedHttpAnswer, std::less<>> answers_;
  std::map<std::string, std::deque<ScriptedHttpAnswer>, std::less<>> next_answers_;
  std::function<void()> on_wait_;
  std::vector<SentHttpRequest> sent_;
  int abort_count_ = 0;
  int wait_count_ = 0;
  int objects_created_ = 0;
};

}  // namespace korvane::platform::testing
