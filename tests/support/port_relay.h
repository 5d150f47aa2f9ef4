#pragma once
// Listens on a fixed loopback port and relays every connection to another loopback port.
// A program holds its deployment's addresses (a fixed port); the test server listens on
// an ephemeral one, so end-to-end runs reach it through this relay. A test process with a
// network of its own (own_network.h) has the port to itself. Elsewhere CTest's resource
// lock serialises the runs of one suite, and a lock file named by the port makes runs of
// other checkouts on the same machine wait their turn instead of failing on a taken port.

#include <atomic>
#include <thread>
#include <utility>
#include <vector>

namespace korvane::testing_support {

class PortRelay {
 public:
  PortRelay(int listen_port, int target_port);
  ~PortRelay();  // stops, and lets other runs have the port
  // Stops accepting and ends every relayed connection, but keeps the port's lock, so that
  // no run of another checkout answers on it meanwhile.
  void Stop();
  PortRelay(const PortRelay&) = delete;
  PortRelay& operator=(const PortRelay&) = delete;

  bool Listening() const { return listen_fd_ >= 0; }

 private:
  void AcceptLoop();
  void Relay(int client);

  int target_port_;
  int port_lock_fd_ = -1;
  int listen_fd_ = -1;
  int stop_pipe_[2] = {-1, -1};
  std::atomic<bool> stopping_{false};
  std::thread acceptor_;
  std::vector<std::thread> connections_;
};

}  // namespace korvane::testing_support
