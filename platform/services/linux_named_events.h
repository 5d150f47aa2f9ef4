#pragma once
// Named events on Linux: abstract Unix sockets of this user's session; long names are
// hashed.

#include <memory>

#include "platform/services/single_instance.h"

namespace korvane::platform {

std::unique_ptr<NamedEvents> CreateLinuxNamedEvents();

}  // namespace korvane::platform
