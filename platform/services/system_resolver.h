#pragma once
// Host-name resolution through getaddrinfo: the first IPv4 address of the name.

#include <memory>

#include "platform/services/resolver.h"

namespace korvane::platform {

std::unique_ptr<NameResolver> CreateSystemNameResolver();

}  // namespace korvane::platform
