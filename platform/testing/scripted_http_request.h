#pragma once
// HTTP request objects answered from a table or a test's responder, for the logic tests
// of the programs. A resource can be served with byte ranges as a server would (206 with
// Content-Range, 416 past the end, or a server that ignores ranges), or any answer
// scripted outright, including one that never arrives. An address that is in no table
// gets what no server gives: a completed request with status 0 and nothing else.
//
// Answers are decided at Send and are complete once `complete_after_ms` of the clock
// have passed since. A wait on a pending answer moves the clock on until the answer is
// complete or the wait is over, so time-outs are reached without sleeping.

#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
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
  static constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
  int status = 200;
  Text status_text{};  // empty: the standard reason phrase of the status
  HttpHeaders headers{};
  std::string body{};
  std::int64_t complete_after_ms = 0;  // clock time from Send until it is complete
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

// The answer of a server that serves `content` with `ranges` to a request whose Range
// header is `range_header`.
ScriptedHttpAnswer ServeRange(const std::string& content, std::string_view range_header,
                              ResourceRanges ranges = ResourceRanges::kHonour);

class ScriptedHttpRequestFactory final : public HttpRequestFactory {
 public:
  using Responder = std::function<ScriptedHttpAnswer(const SentHttpRequest&)>;

  // Without a clock of the test's, the factory's own clock moves.
  explicit ScriptedHttpRequestFactory(ManualClock* clock = nullptr) : clock_(clock ? *clock : own_clock_) {}

  void ServeResource(std::string url, std::string content, ResourceRanges ranges = ResourceRanges::kHonour);
  // Every request for `url` gets `answer` (replacing a served resource).
  void Answer(std::string url, ScriptedHttpAnswer answer);
  // The next request for `url` gets `answer`; queued answers come before the others.
  void AnswerNext(std::string url, ScriptedHttpAnswer answer);
  // Every request, whatever its address, is answered by `responder` (after queued answers).
  void Respond(Responder responder) { responder_ = std::move(responder); }
  // From now on no request object can be made.
  void FailCreation() { creation_fails_ = true; }
  // Called on every WaitForResponse while an answer is pending, before the clock moves:
  // where a test makes "code that runs while the downloader waits".
  void OnWait(std::function<void()> hook) { on_wait_ = std::move(hook); }

  std::unique_ptr<HttpRequest> CreateHttpRequest() override;

  const std::vector<SentHttpRequest>& sent() const { return sent_; }
  int abort_count() const { return abort_count_; }
  // The time given to every WaitForResponse on a pending answer, in order.
  const std::vector<int>& waits() const { return waits_; }
  int objects_created() const { return objects_created_; }

 private:
  class Request;
  struct Resource {
    std::string content;
    ResourceRanges ranges;
  };
  ScriptedHttpAnswer AnswerFor(const SentHttpRequest& request);

  ManualClock own_clock_;
  ManualClock& clock_;
  Responder responder_;
  bool creation_fails_ = false;
  std::map<std::string, Resource, std::less<>> resources_;
  std::map<std::string, ScriptedHttpAnswer, std::less<>> answers_;
  std::map<std::string, std::deque<ScriptedHttpAnswer>, std::less<>> next_answers_;
  std::function<void()> on_wait_;
  std::vector<SentHttpRequest> sent_;
  int abort_count_ = 0;
  std::vector<int> waits_;
  int objects_created_ = 0;
};

}  // namespace korvane::platform::testing
