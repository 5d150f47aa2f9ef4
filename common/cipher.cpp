#include "common/cipher.h"

#include <array>
#include <cstdint>

#include "common/cipher_keys.h"

namespace korvane {
namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

int DigitValue(char c) {
  if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  std::size_t position = kHexDigits.find(c);
  // Not found: position -1, so the digit is -2.
  return position == std::string_view::npos ? -2 : static_cast<int>(position);
}

Text DecipherWith(std::string_view key, std::string_view hex) {
  return TextUpToZero(Rc4(key, HexTextToBytes(hex)));
}

}  // namespace

std::int32_t HexToInt(std::string_view text) {
  // Unsigned arithmetic gives the modulo-2^32 wrap; digits of -2 subtract.
  std::uint32_t accumulator = 0;
  for (char c : text) {
    accumulator = accumulator * 16u + static_cast<std::uint32_t>(DigitValue(c));
  }
  return static_cast<std::int32_t>(accumulator);
}

std::string HexTextToBytes(std::string_view hex) {
  std::string bytes(hex.size() / 2, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<char>(HexToInt(hex.substr(2 * i, 2)) & 0xFF);
  }
  return bytes;
}

std::string Rc4(std::string_view key, std::string_view data) {
  std::string out(data);
  if (key.empty()) return out;
  std::array<std::uint8_t, 256> s{};
  for (int i = 0; i < 256; ++i) s[i] = static_cast<std::uint8_t>(i);
  std::size_t key_length = key.size() < 256 ? key.size() : 256;
  std::uint8_t j = 0;
  for (int i = 0; i < 256; ++i) {
    j = static_cast<std::uint8_t>(j + s[i] + static_cast<std::uint8_t>(key[i % key_length]));
    std::swap(s[i], s[j]);
  }
  std::uint8_t i = 0;
  j = 0;
  for (char& byte : out) {
    i = static_cast<std::uint8_t>(i + 1);
    j = static_cast<std::uint8_t>(j + s[i]);
    std::swap(s[i], s[j]);
    byte = static_cast<char>(static_cast<std::uint8_t>(byte) ^ s[static_cast<std::uint8_t>(s[i] + s[j])]);
  }
  return out;
}

std::string_view CipherKey(int key) {
  std::string_view text = key == 1   ? embedded::CipherKey1()
                          : key == 2 ? embedded::CipherKey2()
                          : key == 3 ? embedded::CipherKey3()
                                     : std::string_view();
  return text.substr(0, text.find('\0'));
}

Text DecipherHexTextKey1(std::string_view hex) { return DecipherWith(CipherKey(1), hex); }
Text DecipherHexTextKey2(std::string_view hex) { return DecipherWith(CipherKey(2), hex); }
Text DecipherHexTextKey3(std::string_view hex) { return DecipherWith(CipherKey(3), hex); }

}  // namespace korvane
