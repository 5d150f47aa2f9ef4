#pragma once
// The three cipher keys of the deployment, embedded at build time from its key files.
// Each is the key text's bytes without a terminating zero.

#include <string_view>

namespace korvane::embedded {
std::string_view CipherKey1();
std::string_view CipherKey2();
std::string_view CipherKey3();
}  // namespace korvane::embedded
