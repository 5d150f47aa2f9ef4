#pragma once
// What a blocking service lets the windows do while it waits (on the network): the
// desktop shows what the running handler changed, repaints uncovered windows, swaps hover
// pictures and shows the wait cursor, and keeps the user's input for after the handler;
// no program code runs. A service waits in a WaitScope and calls Waiting() every few
// milliseconds. The composition root installs the backend's pump for the thread that runs
// the windows; waits on other threads, or with none installed, are plain waits.

#include <thread>

namespace korvane::platform {

class WaitPump {
 public:
  virtual ~WaitPump() = default;
  // Waits nest; only the outermost begins and ends.
  virtual void WaitBegins() = 0;
  virtual void Waiting() = 0;
  virtual void WaitEnds() = 0;
};

// Installs `pump` for the calling thread until the object goes.
class InstalledWaitPump {
 public:
  explicit InstalledWaitPump(WaitPump& pump);
  ~InstalledWaitPump();
  InstalledWaitPump(const InstalledWaitPump&) = delete;
  InstalledWaitPump& operator=(const InstalledWaitPump&) = delete;
};

// One wait of a blocking call.
class WaitScope {
 public:
  WaitScope();
  ~WaitScope();
  WaitScope(const WaitScope&) = delete;
  WaitScope& operator=(const WaitScope&) = delete;
  void Waiting();

 private:
  WaitPump* pump_;
};

}  // namespace korvane::platform
