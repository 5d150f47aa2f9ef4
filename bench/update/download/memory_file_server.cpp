#include "bench/update/download/memory_file_server.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace korvane::bench {
namespace {

std::string Lowercase(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return lower;
}

// Sends the head and the body slice with as few system calls as the socket allows.
bool SendAnswer(int fd, const std::string& head, const char* body, std::size_t length) {
  iovec parts[2] = {{const_cast<char*>(head.data()), head.size()},
                    {const_cast<char*>(body), length}};
  int first_part = 0;
  while (first_part < 2) {
    msghdr message{};
    message.msg_iov = parts + first_part;
    message.msg_iovlen = static_cast<std::size_t>(2 - first_part);
    ssize_t sent = ::sendmsg(fd, &message, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    auto left = static_cast<std::size_t>(sent);
    while (first_part < 2 && left >= parts[first_part].iov_len) left -= parts[first_part++].iov_len;
    if (first_part < 2) {
      parts[first_part].iov_base = static_cast<char*>(parts[first_part].iov_base) + left;
      parts[first_part].iov_len -= left;
    }
  }
  return true;
}

}  // namespace

// A thread per connection that reads a request head, answers it in one go and waits for
// the next: no framework between the socket and the bytes, so that the comparison
// measures the clients, not the server.
class MemoryFileServer::Impl {
 public:
  explicit Impl(std::string content) : content_(std::move(content)) {
    listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int on = 1;
    ::setsockopt(listen_fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listen_fd_, 16);
    socklen_t length = sizeof address;
    ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    accept_thread_ = std::thread([this] { AcceptLoop(); });
  }

  ~Impl() {
    ::shutdown(listen_fd_, SHUT_RDWR);
    accept_thread_.join();
    ::close(listen_fd_);
    std::lock_guard lock(mutex_);
    for (int fd : connections_) ::shutdown(fd, SHUT_RDWR);
    for (std::thread& thread : threads_) thread.join();
    for (int fd : connections_) ::close(fd);
  }

  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/file.bin"; }
  int ConnectionCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(connections_.size());
  }

 private:
  void AcceptLoop() {
    for (;;) {
      int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) return;
      int on = 1;
      ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
      std::lock_guard lock(mutex_);
      connections_.push_back(fd);
      threads_.emplace_back([this, fd] { Serve(fd); });
    }
  }

  void Serve(int fd) {
    std::string pending;
    char buffer[8192];
    for (;;) {
      const std::size_t end = pending.find("\r\n\r\n");
      if (end == std::string::npos) {
        ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0) return;
        pending.append(buffer, static_cast<std::size_t>(got));
        continue;
      }
      const std::string head = Lowercase(std::string_view(pending).substr(0, end));
      pending.erase(0, end + 4);
      if (!Answer(fd, head)) return;
    }
  }

  // GET only; a "range: bytes=first-last" header gives 206 (or 416 past the end).
  bool Answer(int fd, const std::string& head) {
    const std::size_t size = content_.size();
    const std::size_t range = head.find("\r\nrange: bytes=");
    if (range == std::string::npos) {
      return SendAnswer(fd, "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n",
                        content_.data(), size);
    }
    char* after = nullptr;
    const std::size_t first = std::strtoull(head.c_str() + range + 15, &after, 10);
    std::size_t last = *after == '-' ? std::strtoull(after + 1, nullptr, 10) : size - 1;
    if (first >= size) {
      return SendAnswer(fd,
                        "HTTP/1.1 416 Range Not Satisfiable\r\nContent-Range: bytes */" +
                            std::to_string(size) + "\r\nContent-Length: 0\r\n\r\n",
                        nullptr, 0);
    }
    last = std::min(last, size - 1);
    const std::size_t length = last - first + 1;
    return SendAnswer(fd,
                      "HTTP/1.1 206 Partial Content\r\nContent-Range: bytes " +
                          std::to_string(first) + "-" + std::to_string(last) + "/" +
                          std::to_string(size) + "\r\nContent-Length: " + std::to_string(length) +
                          "\r\n\r\n",
                      content_.data() + first, length);
  }

  std::string content_;
  int listen_fd_ = -1;
  int port_ = 0;
  std::thread accept_thread_;
  mutable std::mutex mutex_;
  std::vector<int> connections_;
  std::vector<std::thread> threads_;
};

MemoryFileServer::MemoryFileServer(std::string content)
    : impl_(std::make_unique<Impl>(std::move(content))) {}
MemoryFileServer::~MemoryFileServer() = default;
std::string MemoryFileServer::Url() const { return impl_->Url(); }
int MemoryFileServer::ConnectionCount() const { return impl_->ConnectionCount(); }

}  // namespace korvane::bench
