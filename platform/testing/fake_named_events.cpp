#include "platform/testing/fake_named_events.h"

namespace korvane::platform::testing {

class FakeNamedEvents::Held final : public NamedEvent {
 public:
  Held(FakeNamedEvents& owner, std::string name)
      : owner_(owner), name_(std::move(name)), holds_(!name_.empty() && !owner_.IsHeld(name_)) {
    if (!name_.empty()) owner_.held_.insert(name_);
  }
  ~Held() override {
    if (!name_.empty()) owner_.ReleaseElsewhere(name_);
  }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  bool HoldsName() const override { return holds_; }

 private:
  FakeNamedEvents& owner_;
  std::string name_;
  bool holds_;
};

std::unique_ptr<NamedEvent> FakeNamedEvents::CreateNamedEvent(std::string_view name) {
  return std::make_unique<Held>(*this, std::string(name));
}

}  // namespace korvane::platform::testing
