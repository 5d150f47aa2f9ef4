#pragma once
// The programs' addresses are GBK texts that may hold raw non-ASCII bytes, and blanks
// where they are fetched (the updater's file names are not escaped). Where an address leaves the program (on the wire, to the desktop's URL
// handler) these bytes go percent-encoded, byte for byte; everything else, "%" included,
// stays as it is.

#include <string>
#include <string_view>

namespace korvane::platform {

std::string WireAddress(std::string_view address);

}  // namespace korvane::platform
