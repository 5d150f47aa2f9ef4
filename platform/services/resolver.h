#pragma once
// The network probe: host name to the dotted IPv4 text of its first address, empty text
// when the name cannot be resolved.

#include <string_view>

#include "common/text.h"

namespace korvane::platform {

class NameResolver {
 public:
  virtual ~NameResolver() = default;
  virtual Text HostNameToIp(std::string_view host_name) = 0;
};

}  // namespace korvane::platform
