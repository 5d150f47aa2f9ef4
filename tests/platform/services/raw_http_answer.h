#pragma once
// A server on 127.0.0.1 that answers every request with the same bytes, written exactly
// as given (a status line with any reason phrase, or none), then closes the connection.

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <string_view>
#include <thread>

#include "tests/support/loopback.h"

namespace korvane::testing_support {

class RawHttpAnswer {
 public:
  explicit RawHttpAnswer(std::string answer)
      : answer_(std::move(answer)), listener_(ListenOnLoopback(0, 8, &port_)) {
    thread_ = std::thread([this] { Serve(); });
  }
  ~RawHttpAnswer() {
    stopping_ = true;
    thread_.join();
    ::close(listener_);
  }
  RawHttpAnswer(const RawHttpAnswer&) = delete;
  RawHttpAnswer& operator=(const RawHttpAnswer&) = delete;

  std::string Url(std::string_view path) const {
    return LoopbackUrl(port_, std::string(path));
  }

 private:
  void Serve() {
    while (!stopping_) {
      pollfd wait{listener_, POLLIN, 0};
      if (::poll(&wait, 1, 50) <= 0) continue;
      int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (connection < 0) continue;
      // The request ends with its blank line; it carries no body.
      std::string request;
      char chunk[4096];
      while (request.find("\r\n\r\n") == std::string::npos) {
        ssize_t got = ::recv(connection, chunk, sizeof chunk, 0);
        if (got <= 0) break;
        request.append(chunk, static_cast<std::size_t>(got));
      }
      ::send(connection, answer_.data(), answer_.size(), MSG_NOSIGNAL);
      ::close(connection);
    }
  }

  std::string answer_;
  int port_ = 0;
  int listener_ = -1;
  std::atomic<bool> stopping_ = false;
  std::thread thread_;
};

}  // namespace korvane::testing_support
