#pragma once
// HTTP objects whose answers come from a test's responder and complete on a virtual
// clock: waiting for an answer moves the clock on instead of sleeping.

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/text.h"
#include "platform/services/http_request.h"
#include "tests/update/download/virtual_clock.h"

namespace korvane::testing_support {

using HeaderList = std::vector<std::pair<std::string, Text>>;

struct SentRequest {
  std::string method;
  Text url;
  bool asynchronous = false;
  HeaderList headers;  // in the order they were set
  Text Header(std::string_view name) const;
};

struct CannedAnswer {
  static constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
  CannedAnswer(int status, Text status_text, HeaderList headers = {}, std::string body = {},
               std::int64_t delay_ms = 0)
      : status(status), status_text(std::move(status_text)), headers(std::move(headers)),
        body(std::move(body)), delay_ms(delay_ms) {}

  int status = 206;
  Text status_text = "Partial Content";
  HeaderList headers;
  std::string body;
  std::int64_t delay_ms = 0;  // virtual time from Send until the answer is complete
};

// Serves `resource` as a server that honours single ranges does: 206 with the slice
// asked for, 416 with "bytes */length" when the range begins at or after the end.
CannedAnswer ServeRange(const std::string& resource, const SentRequest& request);

class FakeHttp final : public platform::HttpRequestFactory {
 public:
  using Responder = std::function<CannedAnswer(const SentRequest&)>;

  explicit FakeHttp(VirtualClock& clock) : clock_(clock) {}
  std::unique_ptr<platform::HttpRequest> CreateHttpRequest() override;

  Responder responder;
  // Runs inside every WaitForResponse: code that runs while the downloader waits.
  std::function<void()> while_waiting;
  bool creation_fails = false;

  std::vector<SentRequest> requests;
  std::vector<int> wait_arguments;
  int aborts = 0;
  int objects_created = 0;

 private:
  friend class FakeHttpRequest;
  VirtualClock& clock_;
};

}  // namespace korvane::testing_support
