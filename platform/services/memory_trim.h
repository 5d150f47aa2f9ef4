#pragma once
// The working-set trim: gives the memory the process no longer uses back to the system.

namespace korvane::platform {

void TrimWorkingSet();

}  // namespace korvane::platform
