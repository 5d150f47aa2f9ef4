#pragma once
// What the two libcurl users share: one global initialisation, the defaults of a system
// HTTP stack (connect and stall time-outs of about a minute, redirects followed) and the
// address form that goes on the wire.

#include <string>
#include <string_view>

#include <curl/curl.h>

namespace korvane::platform::curl {

// Initialises libcurl once for the process; safe to call from any thread.
void EnsureInitialised();

// The defaults every transfer of ours gets, applied to a fresh or reset easy handle:
// redirects followed (http and https only), the given connect and stall time-outs.
void ApplyDefaults(CURL* handle, long connect_timeout_seconds = 60, long stall_seconds = 60);

// The programs' addresses are GBK texts that may hold raw non-ASCII bytes and blanks
// (the updater's file names are not escaped); on the wire these go percent-encoded, byte
// for byte. Everything else, "%" included, stays as it is.
std::string WireAddress(std::string_view address);

}  // namespace korvane::platform::curl
