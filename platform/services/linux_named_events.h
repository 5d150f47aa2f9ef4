#pragma once
// Named events on Linux: abstract Unix sockets of this user's session; long names are
// hashed. A non-empty scope keeps its names apart from every other scope's, so that a
// test run or a demo never meets programs outside it (KORVANE_INSTANCE_SCOPE); real use
// has none.

#include <memory>
#include <string_view>

#include "platform/services/single_instance.h"

namespace korvane::platform {

std::unique_ptr<NamedEvents> CreateLinuxNamedEvents(std::string_view scope = {});

}  // namespace korvane::platform
