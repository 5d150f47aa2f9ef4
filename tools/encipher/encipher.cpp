#include "tools/encipher/encipher.h"

#include <stdexcept>

#include "common/cipher.h"
#include "common/cipher_keys.h"

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
  std::string_view key_text;
  switch (key) {
    case 1: key_text = embedded::CipherKey1(); break;
    case 2: key_text = embedded::CipherKey2(); break;
    case 3: key_text = embedded::CipherKey3(); break;
    default: throw std::invalid_argument("key must be 1, 2 or 3");
  }
  return BytesToHex(Rc4(key_text, plain));
}

}  // namespace korvane::tools
