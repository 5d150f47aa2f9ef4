#include "platform/services/regex.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace korvane::platform {
namespace {

// The catalogue page patterns; the label spaces are ideographic (GBK A1 A1) and the colon
// full-width (A3 BA).
constexpr char kTitlePattern[] = "<li>剧　　名：(.*?)</li>";
constexpr char kEpisodeLinkPattern[] = R"(<LI><a href=('|")([^'"]+)('|")>([^<]+)<)";
constexpr char kStatusPattern[] = "<li>状　　态：(.*?)</li>";

std::vector<Text> Group(std::string_view pattern, std::string_view page, std::size_t group) {
  auto regex = RegexCompile(pattern);
  EXPECT_NE(regex, nullptr) << pattern;
  std::vector<Text> texts;
  for (const RegexMatch& match : RegexSearchAll(regex.get(), page)) texts.push_back(MatchGetSubmatchText(match, group));
  return texts;
}

TEST(Regex, ThePatternsHoldOnlyGbkBytesForTheirLabels) {
  EXPECT_EQ(Text(kTitlePattern), "<li>\xBE\xE7\xA1\xA1\xA1\xA1\xC3\xFB\xA3\xBA(.*?)</li>");
}

TEST(Regex, TheTitleIsTheShortestTextUpToTheFirstClosingTag) {
  struct Case {
    const char* page;
    std::vector<Text> titles;
  };
  const Case cases[] = {
      {"<ul><li>剧　　名：天下</li><li>剧　　名：第二</li></ul>", {"天下", "第二"}},
      {"<li>剧　　名：</li>", {""}},
      {"<li>剧　　名：<b>粗体</b> 片名</li>", {"<b>粗体</b> 片名"}},
      {"<li>剧  名：ascii blanks</li>", {}},
      {"<li>剧　　名:ascii colon</li>", {}},
      {"<li>剧　　名：断\n行</li>", {}},
      {"<LI>剧　　名：capitals</LI>", {}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    EXPECT_EQ(Group(kTitlePattern, c.page, 1), c.titles);
  }
}

TEST(Regex, EpisodeLinksMatchInTheirOneFormInPageOrder) {
  const std::string page =
      "<LI><a href=\"http://v.example/1.rmvb\">第1集</a>"
      "<div><LI><a href='qvod://2.rmvb'>第2集</a></div>"
      "<LI><a href='mixed.rmvb\">混合引号</a>"
      "<LI> <a href=\"blank.rmvb\">blank</a>"
      "<LI><a href=\"attr.rmvb\" target=\"_blank\">attribute</a>"
      "<LI><a href=\"empty.rmvb\"></a>"
      "<li><a href=\"lower.rmvb\">lower</a>"
      "<LI><a href=\"last.rmvb\">最后";
  EXPECT_EQ(Group(kEpisodeLinkPattern, page, 2),
            (std::vector<Text>{"http://v.example/1.rmvb", "qvod://2.rmvb", "mixed.rmvb"}));
  EXPECT_EQ(Group(kEpisodeLinkPattern, page, 4), (std::vector<Text>{"第1集", "第2集", "混合引号"}));
  EXPECT_EQ(Group(kEpisodeLinkPattern, page, 1), (std::vector<Text>{"\"", "'", "'"}));
  EXPECT_EQ(Group(kEpisodeLinkPattern, page, 3), (std::vector<Text>{"\"", "'", "\""}));
}

TEST(Regex, EpisodeNamesWithTrailBytesThatLookLikeSyntaxStayWhole) {
  // 昞 95 5C, 昜 95 5B, 晐 95 7C, 晎 95 7B: trail bytes "\", "[", "|", "{".
  const std::string name = "\x95\x5C\x95\x5B\x95\x7C\x95\x7B";
  const std::string page = "<LI><a href='" + name + ".rmvb'>" + name + "</a>";
  EXPECT_EQ(Group(kEpisodeLinkPattern, page, 2), std::vector<Text>{name + ".rmvb"});
  EXPECT_EQ(Group(kEpisodeLinkPattern, page, 4), std::vector<Text>{name});
}

TEST(Regex, StatusItemsAreFound) {
  EXPECT_EQ(Group(kStatusPattern, "<li>状　　态：完结</li><li>状　　态：</li>", 1), (std::vector<Text>{"完结", ""}));
  EXPECT_TRUE(Group(kStatusPattern, "<li>剧　　名：x</li>", 1).empty());
}

TEST(Regex, DoubleByteCharactersInAPatternAreLiteralsNeverSyntax) {
  struct Case {
    std::string pattern;
    std::string text;
    std::vector<Text> matches;
  };
  const Case cases[] = {
      {"<b>\x95\x7C</b>", "<b>\x95\x7C</b> <b></b>", {"<b>\x95\x7C</b>"}},   // not "<b>\x95" or "</b>"
      {"\x95\x5C" "d", "\x95\x5C" "d \x95" "5", {"\x95\x5C" "d"}},           // not "\d"
      {"\x95\x5B" "a]", "\x95\x5B" "a]", {"\x95\x5B" "a]"}},                 // not a class
      {"x\x95\x7B" "2}", "x\x95\x7B" "2}", {"x\x95\x7B" "2}"}},              // not a repeat count
      {"\xD6\xD0+", "\xD6\xD0\xD6\xD0\xD6\xD0!", {"\xD6\xD0\xD6\xD0\xD6\xD0"}},  // repeats the character
      {"\\\xD6\xD0", "\xD6\xD0", {"\xD6\xD0"}},                              // an escaped character
      {"[\xD6\xD0]", "\xD6", {"\xD6"}},                                      // a class holds bytes
      {"\\Q\x95\x5C" "E.\\E!", "\x95\x5C" "Ex! \x95\x5C" "E.!", {"\x95\x5C" "E.!"}},  // quoting goes on
      {"\\Q(\xD6\xD0\\E+", "(\xD6\xD0\xD6\xD0", {"(\xD6\xD0\xD6\xD0"}},       // repeats the character
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(Group(c.pattern, c.text, 0), c.matches);
  }
}

TEST(Regex, AMatchNeverBeginsOnATrailByte) {
  // 丂 is 81 40: its trail byte is "@".
  EXPECT_EQ(Group("@(.)", "\x81\x40" "x@y", 1), std::vector<Text>{"y"});
  // 昞 is 95 5C: only the backslash after it is one.
  auto backslash = RegexCompile("\\\\");
  auto found = RegexSearchAll(backslash.get(), "\x95\x5C\x5C");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].position(), 2u);
}

TEST(Regex, EmptyMatchesStepOverWholeCharacters) {
  auto regex = RegexCompile("x*");
  std::vector<std::size_t> positions;
  for (const RegexMatch& match : RegexSearchAll(regex.get(), "\xD6\xD0" "a")) positions.push_back(match.position());
  EXPECT_EQ(positions, (std::vector<std::size_t>{0, 2, 3}));
}

TEST(Regex, OptionsAndBadPatterns) {
  EXPECT_EQ(RegexCompile("(unclosed"), nullptr);
  EXPECT_TRUE(RegexSearchAll(nullptr, "text").empty());
  auto caseless = RegexCompile("<li>(.*?)</li>", RegexOptions{.ignore_case = true, .dot_matches_line_feed = true});
  auto found = RegexSearchAll(caseless.get(), "<LI>a\nb</Li>");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(MatchGetSubmatchText(found[0], 1), "a\nb");
  EXPECT_EQ(MatchGetSubmatchText(found[0], 7), "") << "a group the pattern does not have";
}

TEST(Regex, ALazyCaptureSpanningMegabytesOnOneLineDoesNotOverflow) {
  std::string span;
  while (span.size() < 4 * 1024 * 1024) span += "\xC6\xAC\xC3\xFB<b>x</b> ";
  const std::string page = "<html><li>剧　　名：" + span + "</li>" + span + "<li>剧　　名：short</li>";
  auto titles = Group(kTitlePattern, page, 1);
  ASSERT_EQ(titles.size(), 2u);
  EXPECT_EQ(titles[0], span);
  EXPECT_EQ(titles[1], "short");
  EXPECT_TRUE(Group(kTitlePattern, "<li>剧　　名：" + span, 1).empty()) << "no closing tag";
}

TEST(Regex, MatchesAllThroughALongDoubleByteRunEachOnItsCharacter) {
  // 中 is D6 D0: both bytes lie in the lead range, so only counting from the start of the
  // text tells a lead byte from a trail byte.
  std::string run;
  for (int i = 0; i < 200000; ++i) run += "\xD6\xD0";
  auto found = RegexSearchAll(RegexCompile("[\\xD0-\\xD6]{2}").get(), "a" + run);
  ASSERT_EQ(found.size(), 200000u);
  EXPECT_EQ(found.front().position(), 1u);
  EXPECT_EQ(found.back().position(), run.size() - 1);
  EXPECT_EQ(MatchGetSubmatchText(found.back(), 0), "\xD6\xD0");
}

}  // namespace
}  // namespace korvane::platform
