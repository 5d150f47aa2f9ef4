#pragma once
// The text cipher: enciphered hex text (two hex digits per byte of RC4 cipher text) back
// to plain text under one of three fixed keys. The programs only decipher; the operator's
// tools encipher (tools/encipher).

#include <cstdint>
#include <string_view>

#include "common/text.h"

namespace korvane {

// Value of a hex text by the position of each digit in "0123456789ABCDEF", read without
// regard to case; a byte that is not a digit counts as -2. Wraps modulo 2^32.
std::int32_t HexToInt(std::string_view text);

// Hex text to cipher bytes exactly as DecipherHexText sees them (an odd last byte is ignored).
std::string HexTextToBytes(std::string_view hex);

// RC4 over `data` with the first 256 bytes of `key` (an empty key leaves data as it is).
std::string Rc4(std::string_view key, std::string_view data);

// Key 1, 2 or 3 as the cipher uses it: the key text's bytes before its terminating zero.
// Empty for any other number.
std::string_view CipherKey(int key);

// One routine per key, each key fixed inside. The result is the deciphered bytes up to
// the first zero byte.
Text DecipherHexTextKey1(std::string_view hex);  // built-in addresses
Text DecipherHexTextKey2(std::string_view hex);  // remote control files
Text DecipherHexTextKey3(std::string_view hex);  // installation id

}  // namespace korvane
