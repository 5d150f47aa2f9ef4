#pragma once
// Host-name resolution through getaddrinfo: the first IPv4 address of the name.
//
// KORVANE_OFFLINE=1 in the environment makes every name unresolvable, so that a test
// can run a program as if the machine had no network.

#include <memory>

#include "platform/services/resolver.h"

namespace korvane::platform {

inline constexpr char kOfflineVariable[] = "KORVANE_OFFLINE";

std::unique_ptr<NameResolver> CreateSystemNameResolver();

}  // namespace korvane::platform
