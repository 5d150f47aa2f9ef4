#pragma once
// An HTTP request object driven member by member, as the ranged downloader drives it:
// `Open` prepares a new request on the same object (and its connection), `Send` starts
// it and returns at once, `ReadyState` is complete once the answer is. A call that fails
// raises nothing and yields 0, empty text or an empty body.

#include <memory>
#include <string>
#include <string_view>

#include "common/text.h"

namespace korvane::platform {

// Unsent before Open (and after Abort), opened until the answer is complete, complete
// when the answer is there or the request failed.
enum class HttpReadyState { kUnsent, kOpened, kComplete };

class HttpRequest {
 public:
  virtual ~HttpRequest() = default;
  virtual void Open(std::string_view method, std::string_view url, bool asynchronous) = 0;
  virtual void SetRequestHeader(std::string_view name, std::string_view value) = 0;
  virtual void Send() = 0;
  virtual HttpReadyState ReadyState() = 0;
  // Waits at most `milliseconds` for the answer; true when it is complete.
  virtual bool WaitForResponse(int milliseconds) = 0;
  virtual void Abort() = 0;
  virtual int Status() = 0;
  // The reason phrase of the status line as the server sent it ("Not Found").
  virtual Text StatusText() = 0;
  virtual std::string ResponseBody() = 0;
  // Empty text when the answer has no such header.
  virtual Text GetResponseHeader(std::string_view name) = 0;
};

class HttpRequestFactory {
 public:
  virtual ~HttpRequestFactory() = default;
  virtual std::unique_ptr<HttpRequest> CreateHttpRequest() = 0;
};

}  // namespace korvane::platform
