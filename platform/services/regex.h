#pragma once
// Regular expressions over GBK byte texts (PCRE2, 8-bit code units, no UTF, JIT-compiled
// where the machine has it).
//
// A pattern is GBK text: its double-byte characters are always literals (a GBK trail
// byte can look like "[", "\", "|" or "{" and never acts as pattern syntax), and a
// quantifier after one repeats the whole character. Matches begin on character
// boundaries only. Letter case matters and "." does not match a line feed, unless the
// options say otherwise. Searches run in constant stack space, whatever the text's size.

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "common/text.h"

namespace korvane::platform {

struct RegexOptions {
  bool ignore_case = false;  // ASCII letters only
  bool dot_matches_line_feed = false;
};

// One match: copies of its groups, so a match outlives the text it was found in.
class RegexMatch {
 public:
  RegexMatch(std::size_t position, std::vector<Text> groups)
      : position_(position), groups_(std::move(groups)) {}
  // Byte offset of the match in the searched text (0-based).
  std::size_t position() const { return position_; }
  // Group 0 is the whole match; a group that did not take part, or that the pattern does
  // not have, is empty text.
  Text MatchGetSubmatchText(std::size_t group) const {
    return group < groups_.size() ? groups_[group] : Text();
  }
  std::size_t group_count() const { return groups_.size(); }

 private:
  std::size_t position_;
  std::vector<Text> groups_;
};

class CompiledRegex {
 public:
  ~CompiledRegex();
  CompiledRegex(const CompiledRegex&) = delete;
  CompiledRegex& operator=(const CompiledRegex&) = delete;

  // Every match from the start of `text` to its end, in order; the search goes on after
  // the end of each match (one character further after an empty match).
  std::vector<RegexMatch> SearchAll(std::string_view text) const;

 private:
  friend std::unique_ptr<CompiledRegex> RegexCompile(std::string_view, RegexOptions);
  struct Code;
  explicit CompiledRegex(std::unique_ptr<Code> code);
  std::unique_ptr<Code> code_;
};

// Empty when the pattern is not a valid expression.
std::unique_ptr<CompiledRegex> RegexCompile(std::string_view gbk_pattern, RegexOptions options = {});

// The programs' names for the two steps; an empty expression finds nothing.
std::vector<RegexMatch> RegexSearchAll(const CompiledRegex* regex, std::string_view text);
inline Text MatchGetSubmatchText(const RegexMatch& match, std::size_t group) {
  return match.MatchGetSubmatchText(group);
}

// The pattern as PCRE2 receives it (double-byte characters as escaped byte literals);
// exposed for tests.
std::string TranslateGbkPattern(std::string_view gbk_pattern);

}  // namespace korvane::platform
