#pragma once
// The time-outs of the libcurl objects, in seconds; 0 leaves that limit off.

namespace korvane::platform {

struct HttpTimeouts {
  long connect_seconds = 60;
  // A transfer that moves nothing for this long is given up.
  long stall_seconds = 60;
};

}  // namespace korvane::platform
