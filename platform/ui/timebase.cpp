#include "platform/ui/timebase.h"

#include <time.h>

namespace korvane::platform::ui {
namespace {

// nanosleep rather than <thread>/<chrono>, which cannot be compiled with GBK literals.
class RealTime final : public Timebase {
 public:
  std::int64_t NowMs() const override { return SystemClock().NowMs(); }
  void WaitMs(std::int64_t ms) override {
    if (ms <= 0) return;
    timespec left{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (::nanosleep(&left, &left) != 0) {
    }
  }
  bool IsVirtual() const override { return false; }
};

}  // namespace

Timebase& RealTimebase() {
  static RealTime timebase;
  return timebase;
}

}  // namespace korvane::platform::ui
