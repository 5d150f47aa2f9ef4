#pragma once
// An X server of the caller's own for as long as the object lives: Xvfb chooses a free
// display number itself (-displayfd), so parallel programs never race for one, and no
// window of a test or benchmark reaches the developer's desktop. DISPLAY points at it
// from construction on; the toolkit must not have opened a display before.

#include <sys/types.h>

namespace korvane::platform::testing {

class VirtualDisplay {
 public:
  // Starts Xvfb (Debian package xvfb) with one 1024 x 768 screen; throws
  // std::runtime_error when it does not start or report its display.
  VirtualDisplay();
  // Stops the server; it also goes when the process dies without tearing down.
  ~VirtualDisplay();
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

 private:
  void Stop();

  pid_t server_ = 0;
};

}  // namespace korvane::platform::testing
