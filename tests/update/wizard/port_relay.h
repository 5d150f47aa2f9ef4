#pragma once
// Listens on a fixed loopback port and relays every connection to another loopback port.
// The updater holds its deployment's addresses (a fixed port); the test server listens on
// an ephemeral one, so end-to-end runs reach it through this relay.

#include <atomic>
#include <thread>
#include <vector>

namespace korvane::update::testing {

class PortRelay {
 public:
  PortRelay(int listen_port, int target_port);
  ~PortRelay();  // stops accepting and ends every relayed connection
  PortRelay(const PortRelay&) = delete;
  PortRelay& operator=(const PortRelay&) = delete;

  bool Listening() const { return listen_fd_ >= 0; }

 private:
  void AcceptLoop();
  void Relay(int client);

  int target_port_;
  int listen_fd_ = -1;
  int stop_pipe_[2] = {-1, -1};
  std::atomic<bool> stopping_{false};
  std::thread acceptor_;
  std::vector<std::thread> connections_;
};

}  // namespace korvane::update::testing
