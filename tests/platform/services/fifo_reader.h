#pragma once
// What a started program reports through a named pipe: the test reads it without
// sleeping, waiting at most `timeout_ms` for the program to write and close it.

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace korvane::testing_support {

inline bool MakeFifo(const std::filesystem::path& path) { return ::mkfifo(path.c_str(), 0600) == 0; }

// The bytes written before the writer closed; empty when nobody wrote in time.
inline std::string ReadFifo(const std::filesystem::path& path, int timeout_ms = 20000) {
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {};
  timespec start{};
  ::clock_gettime(CLOCK_MONOTONIC, &start);
  std::string bytes;
  for (;;) {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    long elapsed = (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
    if (elapsed >= timeout_ms) break;
    pollfd wait{fd, POLLIN, 0};
    if (::poll(&wait, 1, static_cast<int>(timeout_ms - elapsed)) <= 0) break;
    char buffer[4096];
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got <= 0) break;  // the writer closed (a pipe reports hang-up only once one opened it)
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return bytes;
}

}  // namespace korvane::testing_support
