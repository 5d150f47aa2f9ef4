#pragma once
// Name resolution from a table: a name in it resolves to its address, every other name
// is unresolvable (empty text), so a fresh resolver is a machine without network.

#include <map>
#include <string>
#include <vector>

#include "platform/services/resolver.h"

namespace korvane::platform::testing {

class FakeNameResolver final : public NameResolver {
 public:
  void Resolve(std::string host_name, Text dotted_ip) { table_[std::move(host_name)] = std::move(dotted_ip); }
  void Forget(const std::string& host_name) { table_.erase(host_name); }

  Text HostNameToIp(std::string_view host_name) override {
    asked_.emplace_back(host_name);
    auto found = table_.find(host_name);
    return found == table_.end() ? Text() : found->second;
  }

  const std::vector<Text>& asked() const { return asked_; }

 private:
  std::map<std::string, Text, std::less<>> table_;
  std::vector<Text> asked_;
};

}  // namespace korvane::platform::testing
