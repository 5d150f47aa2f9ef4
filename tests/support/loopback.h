#pragma once
// TCP sockets on 127.0.0.1 for the tests' own servers and relays.

#include <netinet/in.h>

#include <string>

namespace korvane::testing_support {

sockaddr_in LoopbackAddress(int port);

// A listening socket on `port` (0: any free port), or -1; the port it got goes to
// `bound_port` when given.
int ListenOnLoopback(int port, int backlog, int* bound_port = nullptr);

// A socket connected to `port`, or -1.
int ConnectToLoopback(int port);

// "http://127.0.0.1:<port>" followed by `path`.
std::string LoopbackUrl(int port, const std::string& path);

}  // namespace korvane::testing_support
