#include "platform/core/clock.h"

#include <time.h>

namespace korvane::platform {
namespace {

// clock_gettime rather than <chrono>: libstdc++'s <chrono> holds a literal ("µs") that
// has no GBK form, so it cannot be compiled with the GBK execution character set.
class MonotonicClock final : public Clock {
 public:
  std::int64_t NowMs() const override {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
  }
};

}  // namespace

Clock& SystemClock() {
  static MonotonicClock clock;
  return clock;
}

}  // namespace korvane::platform
