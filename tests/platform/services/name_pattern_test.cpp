#include "platform/services/name_pattern.h"

#include <gtest/gtest.h>

namespace korvane::platform {
namespace {

TEST(NamePattern, WildcardsCountCharactersNotBytes) {
  struct Case {
    const char* name;
    const char* pattern;
    bool matches;
  };
  const Case cases[] = {
      {"Player.exe", "*.*", true},
      {"README", "*.*", true},
      {".hidden", "*", true},
      {"up.dat", "up.dat", true},
      {"UP.DAT", "up.dat", false},
      {"a.dll", "*.dll", true},
      {"a.dll.bak", "*.dll", false},
      {"ab", "a?", true},
      {"a", "a?", false},
      {"\xD6\xD0", "?", true},                // one double-byte character
      {"\xD6\x5C", "?", true},                // trail byte 0x5C is not a separator
      {"\xD6\xD0\xCE\xC4.txt", "??.txt", true},
      {"\xD6\xD0\xCE\xC4.txt", "???.txt", false},
      {"aaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*c", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " ~ " + c.pattern);
    EXPECT_EQ(MatchesNamePattern(c.name, c.pattern), c.matches);
  }
}

}  // namespace
}  // namespace korvane::platform
