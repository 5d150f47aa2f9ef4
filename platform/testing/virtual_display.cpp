#include "platform/testing/virtual_display.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace korvane::platform::testing {

VirtualDisplay::VirtualDisplay() {
  int pipe_ends[2];
  if (::pipe(pipe_ends) != 0) throw std::runtime_error("cannot make a pipe for Xvfb");
  const std::string fd = std::to_string(pipe_ends[1]);
  // -displayfd tries display numbers until one is free; its notes on taken ones are noise.
  const char* argv[] = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp", nullptr};
  server_ = ::fork();
  if (server_ == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    ::execvp("Xvfb", const_cast<char**>(argv));
    ::_exit(127);
  }
  ::close(pipe_ends[1]);
  std::string number;
  char byte = 0;
  while (server_ > 0 && ::read(pipe_ends[0], &byte, 1) == 1 && byte != '\n') number += byte;
  ::close(pipe_ends[0]);
  if (number.empty()) {
    Stop();
    throw std::runtime_error("Xvfb did not start or report its display (Debian package xvfb)");
  }
  ::setenv("DISPLAY", (":" + number).c_str(), 1);
  ::setenv("NO_AT_BRIDGE", "1", 1);  // no accessibility bus on this server
}

VirtualDisplay::~VirtualDisplay() { Stop(); }

void VirtualDisplay::Stop() {
  if (server_ <= 0) return;
  ::kill(server_, SIGTERM);
  ::waitpid(server_, nullptr, 0);
  server_ = 0;
}

}  // namespace korvane::platform::testing
