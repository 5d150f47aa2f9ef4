#include "platform/services/linux_named_events.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace korvane::platform {
namespace {

std::uint64_t Fnv1a(std::string_view bytes, std::uint64_t basis) {
  std::uint64_t hash = basis;
  for (char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string Hex(std::uint64_t value) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, value >>= 4) text[static_cast<std::size_t>(i)] = kHex[value & 0xF];
  return text;
}

// The socket address of a name: the abstract namespace (a leading zero byte) holds the
// user's id, the scope (its length first, so that no scope and name run into another's)
// and the name, or a 128-bit hash of the two when they are too long to fit.
socklen_t AddressOf(std::string_view scope, std::string_view name, sockaddr_un* address) {
  std::string path = std::string(1, '\0') + "korvane-event/" + std::to_string(::getuid()) + "/";
  std::string key = scope.empty() ? std::string() : std::to_string(scope.size()) + ":" + std::string(scope);
  key += "=";
  key += name;
  if (path.size() + key.size() <= sizeof address->sun_path) {
    path += key;
  } else {
    path += "#" + Hex(Fnv1a(key, 14695981039346656037ull)) + Hex(Fnv1a(key, 0x84222325cbf29ce4ull)) +
            std::to_string(key.size());
  }
  std::memset(address, 0, sizeof *address);
  address->sun_family = AF_UNIX;
  std::memcpy(address->sun_path, path.data(), path.size());
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size());
}

class SocketEvent final : public NamedEvent {
 public:
  explicit SocketEvent(int fd) : fd_(fd) {}
  ~SocketEvent() override {
    if (fd_ >= 0) ::close(fd_);
  }
  SocketEvent(const SocketEvent&) = delete;
  SocketEvent& operator=(const SocketEvent&) = delete;
  bool HoldsName() const override { return fd_ >= 0; }

 private:
  int fd_;
};

class LinuxNamedEvents final : public NamedEvents {
 public:
  explicit LinuxNamedEvents(std::string_view scope) : scope_(scope) {}

  // A datagram connect succeeds exactly when a socket is bound to the address, and
  // leaves no trace with the holder.
  bool OpenNamedEvent(std::string_view name) override {
    if (name.empty()) return false;
    sockaddr_un address{};
    socklen_t length = AddressOf(scope_, name, &address);
    int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    bool found = ::connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0;
    ::close(fd);
    return found;
  }

  // The bound socket is closed by the kernel when the process ends, however it ends.
  std::unique_ptr<NamedEvent> CreateNamedEvent(std::string_view name) override {
    if (name.empty()) return std::make_unique<SocketEvent>(-1);
    sockaddr_un address{};
    socklen_t length = AddressOf(scope_, name, &address);
    int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0) {
      ::close(fd);
      fd = -1;
    }
    return std::make_unique<SocketEvent>(fd);
  }

 private:
  std::string scope_;
};

}  // namespace

std::unique_ptr<NamedEvents> CreateLinuxNamedEvents(std::string_view scope) {
  return std::make_unique<LinuxNamedEvents>(scope);
}

}  // namespace korvane::platform
