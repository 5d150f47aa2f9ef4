#include "tests/update/wizard/port_relay.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

namespace korvane::update::testing {
namespace {

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  return address;
}

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

// Held until the relay is gone; the kernel releases it if the test process dies.
int LockPort(int port) {
  const std::string name = "/tmp/korvane-test-port-" + std::to_string(port) + ".lock";
  const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd >= 0) ::flock(fd, LOCK_EX);
  return fd;
}

}  // namespace

PortRelay::PortRelay(int listen_port, int target_port)
    : target_port_(target_port), port_lock_fd_(LockPort(listen_port)) {
  if (::pipe(stop_pipe_) != 0) return;
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int yes = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address = Loopback(listen_port);
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, 64) != 0) {
    if (fd >= 0) ::close(fd);
    return;
  }
  listen_fd_ = fd;
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

PortRelay::~PortRelay() {
  stopping_ = true;
  if (stop_pipe_[1] >= 0) {
    const char stop = 's';
    [[maybe_unused]] ssize_t written = ::write(stop_pipe_[1], &stop, 1);
  }
  if (acceptor_.joinable()) acceptor_.join();
  for (std::thread& connection : connections_) connection.join();
  if (listen_fd_ >= 0) ::close(listen_fd_);
  for (int fd : stop_pipe_) {
    if (fd >= 0) ::close(fd);
  }
  if (port_lock_fd_ >= 0) ::close(port_lock_fd_);
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
  const int upstream = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = Loopback(target_port_);
  if (upstream >= 0 &&
      ::connect(upstream, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
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

}  // namespace korvane::update::testing
