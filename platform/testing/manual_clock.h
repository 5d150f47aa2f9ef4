#pragma once
// A clock that moves only when told: timers and time-outs run without waiting.

#include <cstdint>

#include "platform/core/clock.h"

namespace korvane::platform::testing {

class ManualClock final : public Clock {
 public:
  explicit ManualClock(std::int64_t start_ms = 0) : now_ms_(start_ms) {}
  std::int64_t NowMs() const override { return now_ms_; }
  void Advance(std::int64_t ms) { now_ms_ += ms; }

 private:
  std::int64_t now_ms_;
};

}  // namespace korvane::platform::testing
