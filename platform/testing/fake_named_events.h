#pragma once
// Named events within one test: names held by the events this fake made, or by "another
// instance" that the test says is running.

#include <memory>
#include <set>
#include <string>

#include "platform/services/single_instance.h"

namespace korvane::platform::testing {

class FakeNamedEvents final : public NamedEvents {
 public:
  // Another process holds `name` until ReleaseElsewhere.
  void HoldElsewhere(std::string name) { held_.insert(std::move(name)); }
  void ReleaseElsewhere(const std::string& name) {
    if (auto found = held_.find(name); found != held_.end()) held_.erase(found);
  }

  bool OpenNamedEvent(std::string_view name) override {
    ++open_count_;
    return !name.empty() && held_.find(std::string(name)) != held_.end();
  }

  std::unique_ptr<NamedEvent> CreateNamedEvent(std::string_view name) override;

  bool IsHeld(std::string_view name) const { return held_.find(std::string(name)) != held_.end(); }
  int open_count() const { return open_count_; }

 private:
  class Held;
  std::multiset<std::string> held_;
  int open_count_ = 0;
};

}  // namespace korvane::platform::testing
