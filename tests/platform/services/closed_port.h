#pragma once
// An address on 127.0.0.1 where nothing listens: a port bound and released again.

#include <unistd.h>

#include <string>

#include "tests/support/loopback.h"

namespace korvane::testing_support {

inline std::string ClosedPortUrl() {
  int port = 0;
  ::close(ListenOnLoopback(0, 1, &port));
  return LoopbackUrl(port, "/file.txt");
}

}  // namespace korvane::testing_support
