#pragma once
// The programs' addresses are GBK texts that may hold raw non-ASCII bytes and blanks
// (the updater's file names are not escaped, the chat link carries the provider name as
// it stands). Where an address leaves the program (on the wire, to the desktop's URL
// handler) these bytes go percent-encoded, byte for byte; everything else, "%" included,
// stays as it is.

#include <string>
#include <string_view>

namespace korvane::platform {

std::string WireAddress(std::string_view address);

// True for an address that names its http or https scheme (in any case). Only such
// addresses are fetched (libcurl would guess a scheme for anything else and look a bare
// word up as a host) or handed on from a page to the desktop.
bool HasWebScheme(std::string_view address);

}  // namespace korvane::platform
