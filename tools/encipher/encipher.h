#pragma once
// Enciphering for the operator: plain GBK text to the enciphered hex text that the
// programs decipher. RC4 is its own inverse, so this is the cipher run the other way
// round, written out as upper-case hex digit pairs.

#include <string>
#include <string_view>

namespace korvane::tools {

// `key` is 1, 2 or 3.
std::string EncipherToHex(int key, std::string_view plain);

std::string BytesToHex(std::string_view bytes);

}  // namespace korvane::tools
