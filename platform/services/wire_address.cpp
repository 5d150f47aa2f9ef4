#include "platform/services/wire_address.h"

namespace korvane::platform {

std::string WireAddress(std::string_view address) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string wire;
  wire.reserve(address.size());
  for (char c : address) {
    auto byte = static_cast<unsigned char>(c);
    if (byte > 0x20 && byte < 0x7F) {
      wire += c;
    } else {
      wire += '%';
      wire += kHex[byte >> 4];
      wire += kHex[byte & 0x0F];
    }
  }
  return wire;
}

}  // namespace korvane::platform
