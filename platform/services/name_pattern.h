#pragma once
// File name patterns as the programs write them: "*" stands for any run of characters,
// "?" for one character (a double-byte GBK character counts as one), and "*.*" for any
// name, with or without a dot. Letters compare exactly, as the Linux file system does.

#include <string_view>

namespace korvane::platform {

bool MatchesNamePattern(std::string_view name, std::string_view pattern);

}  // namespace korvane::platform
