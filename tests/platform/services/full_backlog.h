#pragma once
// An address on 127.0.0.1 whose listener takes no further connection: its queue holds
// one connection nobody accepts, so the system drops every later attempt and a client
// waits in connect until its own connect time-out.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

namespace korvane::testing_support {

class FullBacklog {
 public:
  FullBacklog() {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 0);
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    filler_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ::connect(filler_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  }
  ~FullBacklog() {
    ::close(filler_);
    ::close(listener_);
  }
  FullBacklog(const FullBacklog&) = delete;
  FullBacklog& operator=(const FullBacklog&) = delete;

  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/file.txt"; }

 private:
  int listener_ = -1;
  int filler_ = -1;
  int port_ = 0;
};

}  // namespace korvane::testing_support
