// Debian's GoogleTest library is built as C++17, so the printer for std::u8string that
// its C++20 headers declare is missing from it. This supplies it: UTF-8 texts print as
// they are, inside quotes.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace testing::internal {

void PrintU8StringTo(const ::std::u8string& s, ::std::ostream* os) {
  *os << '"' << std::string(s.begin(), s.end()) << '"';
}

}  // namespace testing::internal
