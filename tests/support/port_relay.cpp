#include "tests/support/port_relay.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "tests/support/loopback.h"
#include "tests/support/own_network.h"

namespace korvane::testing_support {
namespace {

// Copies what is waiting on `from` to `to`; false when `from` has closed or failed.
bool Pass(int from, int to) {
  char buffer[65536];
  const ssize_t got = ::recv(from, buffer, sizeof buffer, 0);
  if (got <= 0) return false;
  for (ssize_t sent = 0; sent < got;) {
    const ssize_t put = ::send(to, buffer + sent, static_cast<std::size_t>(got - sent), MSG_NOSIGNAL);
    if (put <= 0) return false;
    sent += put;
  }
  return true;
}

// Held until the relay is gone; the kernel releases it if the test process dies. A
// process with a network of its own has the port to itself and needs none.
int LockPort(int port) {
  if (HasOwnNetwork()) return -1;
  const std::string name = "/tmp/korvane-test-port-" + std::to_string(port) + ".lock";
  const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd >= 0) ::flock(fd, LOCK_EX);
  return fd;
}

}  // namespace

PortRelay::PortRelay(int listen_port, int target_port)
    : target_port_(target_port), port_lock_fd_(LockPort(listen_port)) {
  if (::pipe(stop_pipe_) != 0) return;
  listen_fd_ = testing_support::ListenOnLoopback(listen_port, 64);
  if (listen_fd_ < 0) return;
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

PortRelay::~PortRelay() {
  Stop();
  if (port_lock_fd_ >= 0) ::close(port_lock_fd_);
}

void PortRelay::Stop() {
  if (stopping_.exchange(true)) return;
  if (stop_pipe_[1] >= 0) {
    const char stop = 's';
    [[maybe_unused]] ssize_t written = ::write(stop_pipe_[1], &stop, 1);
  }
  if (acceptor_.joinable()) acceptor_.join();
  for (std::thread& connection : connections_) connection.join();
  connections_.clear();
  if (listen_fd_ >= 0) ::close(listen_fd_);
  listen_fd_ = -1;
  for (int& fd : stop_pipe_) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

void PortRelay::AcceptLoop() {
  while (!stopping_) {
    pollfd waiting[2] = {{listen_fd_, POLLIN, 0}, {stop_pipe_[0], POLLIN, 0}};
    if (::poll(waiting, 2, -1) < 0 || (waiting[1].revents & POLLIN) != 0) return;
    if ((waiting[0].revents & POLLIN) == 0) continue;
    const int client = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client >= 0) connections_.emplace_back([this, client] { Relay(client); });
  }
}

void PortRelay::Relay(int client) {
  const int upstream = testing_support::ConnectToLoopback(target_port_);
  if (upstream >= 0) {
    bool open = true;
    while (open && !stopping_) {
      pollfd waiting[3] = {{client, POLLIN, 0}, {upstream, POLLIN, 0}, {stop_pipe_[0], POLLIN, 0}};
      if (::poll(waiting, 3, -1) < 0 || (waiting[2].revents & POLLIN) != 0) break;
      if ((waiting[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) open = Pass(client, upstream);
      if (open && (waiting[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
        open = Pass(upstream, client);
      }
    }
  }
  if (upstream >= 0) ::close(upstream);
  ::close(client);
}

}  // namespace korvane::testing_support
