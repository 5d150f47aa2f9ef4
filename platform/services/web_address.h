#pragma once
// The one gate for addresses that came from the network (the operator's files and pages)
// on their way into a use: a browser or ad view, the engine, the desktop's handler or a
// stored value. An address passes when its scheme is one its use takes, "//" and a host
// follow, and it holds no control byte, blank or zero byte and at most
// kMaximumAddressBytes bytes. Bytes from 0x80 up pass: they are GBK and go out
// percent-encoded (wire_address.h).
//
// A refused address becomes empty text, so that every use goes on as it does for an
// empty address; each refusal is written to stderr, once per address and use.

#include <cstddef>
#include <string_view>

#include "common/text.h"

namespace korvane::platform {

enum class AddressUse {
  kBrowser,    // the page of a browser view
  kAdView,     // the page of an ad window's view
  kPauseAd,    // the engine's pause-ad page
  kEpisode,    // the engine's media address: also the original engine's "qvod" scheme
  kOpen,       // opened with the desktop's handler
  kChatLink,   // the customer-service chat link: also the chat scheme (shell.h)
  kStartPage,  // stored as the web browser's start page
};

inline constexpr std::size_t kMaximumAddressBytes = 2048;

// `address` when it may serve `use`, else empty text (empty text itself is no refusal).
Text GatedAddress(std::string_view address, AddressUse use);

// True for an address that names its http or https scheme (in any case) and a host.
// Only such addresses are fetched: libcurl would guess a scheme for anything else and
// look a bare word up as a host. Fetched addresses may hold blanks (the updater's file
// names are not escaped), so the fetch asks no more than this.
bool HasWebScheme(std::string_view address);

}  // namespace korvane::platform
