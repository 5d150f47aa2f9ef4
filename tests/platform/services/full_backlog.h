#pragma once
// An address on 127.0.0.1 whose listener takes no further connection: its queue holds
// one connection nobody accepts, so the system drops every later attempt and a client
// waits in connect until its own connect time-out.

#include <unistd.h>

#include <string>

#include "tests/support/loopback.h"

namespace korvane::testing_support {

class FullBacklog {
 public:
  FullBacklog()
      : listener_(ListenOnLoopback(0, 0, &port_)), filler_(ConnectToLoopback(port_)) {}
  ~FullBacklog() {
    ::close(filler_);
    ::close(listener_);
  }
  FullBacklog(const FullBacklog&) = delete;
  FullBacklog& operator=(const FullBacklog&) = delete;

  std::string Url() const { return LoopbackUrl(port_, "/file.txt"); }

 private:
  int port_ = 0;
  int listener_ = -1;
  int filler_ = -1;
};

}  // namespace korvane::testing_support
