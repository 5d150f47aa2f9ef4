#pragma once
// The time that the event loop runs on: a clock that can also be waited on. The programs
// use real time; tests and scripted runs use virtual time, in which a wait or a timer of
// 15 s passes at once.

#include <cstdint>

#include "platform/core/clock.h"

namespace korvane::platform::ui {

class Timebase : public Clock {
 public:
  // Blocks the window thread for `ms` milliseconds (Delay); virtual time just moves on.
  virtual void WaitMs(std::int64_t ms) = 0;
  // True when time only moves when it is told to (so an idle loop cannot wait for it).
  virtual bool IsVirtual() const = 0;
};

// Real time: SystemClock() and a sleep.
Timebase& RealTimebase();

class VirtualTimebase final : public Timebase {
 public:
  explicit VirtualTimebase(std::int64_t start_ms = 0) : now_ms_(start_ms) {}
  std::int64_t NowMs() const override { return now_ms_; }
  void WaitMs(std::int64_t ms) override { AdvanceTo(now_ms_ + ms); }
  bool IsVirtual() const override { return true; }
  // Time never runs backwards: an earlier target leaves the clock where it is.
  void AdvanceTo(std::int64_t ms) {
    if (ms > now_ms_) now_ms_ = ms;
  }

 private:
  std::int64_t now_ms_;
};

}  // namespace korvane::platform::ui
