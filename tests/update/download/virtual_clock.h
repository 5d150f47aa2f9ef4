#pragma once
// A tick count that moves only when a test (or a fake waiting on its behalf) moves it.

#include <cstdint>

#include "platform/core/clock.h"

namespace korvane::testing_support {

class VirtualClock final : public platform::Clock {
 public:
  std::int64_t NowMs() const override { return now_ms_; }
  void Advance(std::int64_t ms) { now_ms_ += ms; }

 private:
  std::int64_t now_ms_ = 5000;
};

}  // namespace korvane::testing_support
