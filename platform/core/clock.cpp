#include "platform/core/clock.h"

#include <chrono>

namespace korvane::platform {
namespace {

class SteadyClock final : public Clock {
 public:
  std::int64_t NowMs() const override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
};

}  // namespace

Clock& SystemClock() {
  static SteadyClock clock;
  return clock;
}

}  // namespace korvane::platform
