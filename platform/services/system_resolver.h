#pragma once
// Host-name resolution through getaddrinfo: the first IPv4 address of the name.
//
// KORVANE_PROBE_UNRESOLVABLE=1 in the environment makes every name unresolvable, so that
// a black-box test can run a program as if the machine had no network (the same switch
// as the automation settings of platform/ui).

#include <memory>

#include "platform/services/resolver.h"

namespace korvane::platform {

inline constexpr char kOfflineVariable[] = "KORVANE_PROBE_UNRESOLVABLE";

std::unique_ptr<NameResolver> CreateSystemNameResolver();

}  // namespace korvane::platform
