#include "common/text.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

// "中" is D6 D0; "\x81\x5C" ("乗") is a character whose trail byte is a backslash, and
// "\x81\x41" one whose trail byte is "A".
constexpr std::string_view kTrailBackslash = "\x81\x5C";
constexpr std::string_view kTrailA = "\x81\x41";

TEST(FindText, PositionsAreOneBasedAndMinusOneWhenAbsent) {
  EXPECT_EQ(FindText("abcabc", "c"), 3);
  EXPECT_EQ(FindText("abcabc", "c", 4), 6);
  EXPECT_EQ(FindText("abc", "x"), -1);
  EXPECT_EQ(FindText("", "x"), -1);
  EXPECT_EQ(FindText("abc", ""), 1);
}

TEST(FindText, StepsOverDoubleByteCharacters) {
  std::string text = std::string(kTrailBackslash) + "\\x";
  // The trail byte at position 2 is not a backslash of its own; the real one is at 3.
  EXPECT_EQ(FindText(text, "\\"), 3);
  EXPECT_EQ(FindText(std::string("\xD6") + "A" + std::string(kTrailA), "A"), -1)
      << "both A bytes are trail bytes";
  EXPECT_EQ(FindText("中文abc", "文"), 3);
}

TEST(FindText, NoCaseFoldsOnlySingleByteLetters) {
  EXPECT_EQ(FindTextNoCase("http://x/?a=1&TYPE=2", "&type"), 14);
  EXPECT_EQ(FindTextNoCase(std::string(kTrailA), "a"), -1);
  EXPECT_EQ(FindTextNoCase("\x81\x61", kTrailA), -1) << "trail bytes compare exactly";
  EXPECT_TRUE(EqualsNoCase("Config", "CONFIG"));
  EXPECT_FALSE(EqualsNoCase(kTrailA, "\x81\x61"));
}

TEST(SplitText, KeepsDoubleByteCharactersWhole) {
  std::string path = "a\\" + std::string(kTrailBackslash) + "\\b";
  std::vector<Text> parts = SplitText(path, "\\");
  ASSERT_EQ(parts.size(), 3u);
  EXPECT_EQ(parts[1], kTrailBackslash);
  EXPECT_EQ(SplitText("", ",").size(), 1u);
  EXPECT_EQ(SplitText("a,,b", ","), (std::vector<Text>{"a", "", "b"}));
}

TEST(FindLastSeparator, StandsOnACharacterBoundary) {
  struct Case {
    std::string text;
    std::string_view separators;
    std::size_t last;
    bool ends_with;
  };
  const std::string trail(kTrailBackslash);
  const Case cases[] = {
      {"", "\\", std::string_view::npos, false},
      {"a\\b\\", "\\", 3, true},
      {"a\\" + trail, "\\", 1, false},
      {trail + trail, "\\", std::string_view::npos, false},
      {"a/b\\c", "\\/", 3, false},
      {"a/b" + trail, "\\/", 1, false},
      {"\\", "\\", 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FindLastSeparator(c.text, c.separators), c.last);
    EXPECT_EQ(EndsWithSeparator(c.text, c.separators), c.ends_with);
  }
}

TEST(SplitLines, AcceptsEveryLineEnd) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<Text>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n"), (std::vector<Text>{"a"}));
  EXPECT_EQ(SplitLines("a\n\nb"), (std::vector<Text>{"a", "", "b"}));
  // A trail byte 0x0A cannot occur in GBK, but a lone lead byte before LF must not eat it.
  EXPECT_EQ(SplitLines("x\xD6\n"), (std::vector<Text>{"x\xD6"}));
}

TEST(ReplaceAll, ReplacesAtCharacterBoundariesOnly) {
  std::string path = "C:\\" + std::string(kTrailBackslash) + "\\f";
  EXPECT_EQ(ReplaceAll(path, "\\", "/"), "C:/" + std::string(kTrailBackslash) + "/f");
}

TEST(TextUpToZero, StopsAtTheFirstZero) {
  EXPECT_EQ(TextUpToZero(std::string_view("ab\0cd", 5)), "ab");
  EXPECT_EQ(TextUpToZero("abc"), "abc");
}

TEST(Encoding, GbkAndUtf8RoundTrip) {
  EXPECT_EQ(GbkToUtf8("在线升级"), u8"在线升级");
  EXPECT_EQ(Utf8ToGbk(u8"在线升级"), "在线升级");
  EXPECT_EQ(GbkToUtf8(kTrailBackslash), u8"乗") << "0x81 0x5C is one character";
  EXPECT_EQ(Utf8ToGbk(GbkToUtf8(kTrailBackslash)), kTrailBackslash);
}

TEST(Encoding, BadInputIsReplacedCharacterByCharacter) {
  EXPECT_EQ(GbkToUtf8("a\xFF" "b"), u8"a\uFFFDb");
  EXPECT_EQ(Utf8ToGbk(u8"a\U0001F600b"), "a?b");
  EXPECT_EQ(Utf8ToGbk(AsUtf8("a\xC3")), "a?");
}

TEST(Encoding, ExactConversionRefusesWhatItWouldReplace) {
  EXPECT_EQ(Utf8ToGbkExact(u8"http://127.0.0.1/在线"), "http://127.0.0.1/在线");
  EXPECT_EQ(Utf8ToGbkExact(u8""), "");
  EXPECT_EQ(Utf8ToGbkExact(u8"a\U0001F600b"), std::nullopt) << "no GBK form";
  EXPECT_EQ(Utf8ToGbkExact(AsUtf8("a\xC3")), std::nullopt) << "cut-off UTF-8";
  EXPECT_EQ(Utf8ToGbkExact(AsUtf8("a\xFF" "b")), std::nullopt) << "not UTF-8";
}

}  // namespace
}  // namespace korvane
