#pragma once
// A loopback HTTP/1.1 server that serves one resource from memory, whole or in single
// byte ranges, on kept-alive connections: the one server that both sides of the
// comparison fetch from.

#include <memory>
#include <string>

namespace korvane::bench {

class MemoryFileServer {
 public:
  // Serves `content` at "/file.bin" on 127.0.0.1 (an ephemeral port).
  explicit MemoryFileServer(std::string content);
  ~MemoryFileServer();
  MemoryFileServer(const MemoryFileServer&) = delete;
  MemoryFileServer& operator=(const MemoryFileServer&) = delete;

  std::string Url() const;
  // Connections accepted so far.
  int ConnectionCount() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace korvane::bench
