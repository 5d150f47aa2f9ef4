#include "platform/testing/scripted_http_client.h"

#include <algorithm>

namespace korvane::platform::testing {

std::string ScriptedHttpClient::HttpGetBytes(std::string_view address, const FetchLimits& limits) {
  fetched_.emplace_back(address);
  auto found = answers_.find(address);
  return found == answers_.end() || found->second.size() > limits.max_bytes ? std::string() : found->second;
}

int ScriptedHttpClient::FetchCount(std::string_view address) const {
  return static_cast<int>(std::count(fetched_.begin(), fetched_.end(), address));
}

}  // namespace korvane::platform::testing
