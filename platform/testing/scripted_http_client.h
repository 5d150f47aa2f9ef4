#pragma once
// The remote fetch from a table: an address in the table gives its bytes (whatever
// status a real server would have sent them with), any other address, or bytes past the
// fetch's size limit, give no answer (empty bytes). Every fetch is recorded.

#include <map>
#include <string>
#include <vector>

#include "platform/services/http.h"

namespace korvane::platform::testing {

class ScriptedHttpClient final : public HttpClient {
 public:
  // Replaces what `address` gives; an error page or a cut-off body is scripted the same.
  void Answer(std::string address, std::string body) { answers_[std::move(address)] = std::move(body); }
  void Forget(const std::string& address) { answers_.erase(address); }

  std::string HttpGetBytes(std::string_view address, const FetchLimits& limits) override;

  // Every address fetched, in order.
  const std::vector<std::string>& fetched() const { return fetched_; }
  int FetchCount(std::string_view address) const;

 private:
  std::map<std::string, std::string, std::less<>> answers_;
  std::vector<std::string> fetched_;
};

}  // namespace korvane::platform::testing
