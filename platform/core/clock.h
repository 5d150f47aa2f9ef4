#pragma once
// Time as the programs see it: milliseconds on a monotonic clock (the tick count). The
// programs use the system clock; tests and scripted runs install a virtual one, so that
// timers and time-outs run without waiting.

#include <cstdint>

namespace korvane::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // GetTickCountMs: milliseconds since an arbitrary fixed start.
  virtual std::int64_t NowMs() const = 0;
};

Clock& SystemClock();

}  // namespace korvane::platform
