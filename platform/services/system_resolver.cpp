#include "platform/services/system_resolver.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <string>

namespace korvane::platform {
namespace {

class SystemNameResolver final : public NameResolver {
 public:
  Text HostNameToIp(std::string_view host_name) override {
    // A zero byte would cut the name short and resolve another one.
    if (host_name.empty() || host_name.find('\0') != std::string_view::npos) return {};
    // Host names are ASCII; a GBK name goes to the resolver as its bytes and fails there.
    std::string name(host_name);
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return {};
    Text dotted;
    char text[INET_ADDRSTRLEN] = {};
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    if (::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr) dotted = text;
    ::freeaddrinfo(found);
    return dotted;
  }
};

}  // namespace

std::unique_ptr<NameResolver> CreateSystemNameResolver() { return std::make_unique<SystemNameResolver>(); }

}  // namespace korvane::platform
