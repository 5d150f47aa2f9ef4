#include "tools/encipher/encipher.h"

#include <stdexcept>

#include "common/cipher.h"

namespace korvane::tools {

std::string BytesToHex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (char c : bytes) {
    auto b = static_cast<unsigned char>(c);
    hex.push_back(kDigits[b >> 4]);
    hex.push_back(kDigits[b & 0xF]);
  }
  return hex;
}

std::string EncipherToHex(int key, std::string_view plain) {
  if (key < 1 || key > 3) throw std::invalid_argument("key must be 1, 2 or 3");
  return BytesToHex(Rc4(CipherKey(key), plain));
}

}  // namespace korvane::tools
