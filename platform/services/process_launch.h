#pragma once
// Starting programs without a shell: the program and its arguments go to the new
// process as they are, so nothing in them is ever interpreted.

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace korvane::platform {

// Starts `program` (a path, or a name looked up on PATH) and does not wait; the finished
// process is reaped in the background. False when it could not be started.
bool StartDetached(const std::string& program, const std::vector<std::string>& arguments);

// Starts `program` and waits for it; its exit status, or nullopt when it could not be
// started or did not exit normally.
std::optional<int> RunAndWait(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace korvane::platform
