#include "platform/services/regex.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

namespace korvane::platform {
namespace {

constexpr std::size_t kJitStackStart = 32 * 1024;
constexpr std::size_t kJitStackMaximum = 64 * 1024 * 1024;

void AppendByteLiteral(std::string& out, unsigned char byte) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 0x0F];
}

bool IsQuantifierStart(char c) { return c == '*' || c == '+' || c == '?' || c == '{'; }

// Tells whether a match position starts a character. A byte below 0x81 always ends a
// character (as a single byte or as a trail byte), so the bytes between the last such
// byte and the position are lead-range bytes that pair up from there. The walk back
// never passes a position already known to be a boundary, and match positions only grow,
// so the whole search walks each byte at most once.
class CharacterBoundaries {
 public:
  explicit CharacterBoundaries(std::string_view text) : text_(text) {}
  // `position` must not be smaller than at the call before.
  bool IsBoundary(std::size_t position) {
    std::size_t run_start = position;
    while (run_start > known_ && IsGbkLeadByte(static_cast<unsigned char>(text_[run_start - 1]))) --run_start;
    bool boundary = (position - run_start) % 2 == 0;
    known_ = boundary ? position : position + 1;
    return boundary;
  }

 private:
  std::string_view text_;
  std::size_t known_ = 0;  // a character start at or before every later position
};

// The text between "\Q" and "\E" (or the pattern's end), from `start`, written as byte
// literals: a trail byte 0x5C followed by "E" must not end the quoting. Outside a class
// each character is one unit, so a quantifier after "\E" repeats the last character
// whole. Returns the position after the run.
std::size_t AppendQuotedRun(std::string& out, std::string_view pattern, std::size_t start, bool in_class) {
  std::size_t i = start;
  while (i < pattern.size()) {
    std::size_t length = GbkCharLength(pattern, i);
    if (length == 1 && pattern[i] == '\\' && i + 1 < pattern.size() && pattern[i + 1] == 'E') return i + 2;
    if (length == 2 && !in_class) out += "(?:";
    for (std::size_t k = 0; k < length; ++k) AppendByteLiteral(out, static_cast<unsigned char>(pattern[i + k]));
    if (length == 2 && !in_class) out += ")";
    i += length;
  }
  return i;
}

}  // namespace

std::string TranslateGbkPattern(std::string_view pattern) {
  std::string out;
  bool in_class = false;
  for (std::size_t i = 0; i < pattern.size();) {
    std::size_t length = GbkCharLength(pattern, i);
    auto byte = static_cast<unsigned char>(pattern[i]);
    if (length == 2) {
      // Inside a class a double-byte character can only stand as its two bytes.
      bool group = !in_class && i + 2 < pattern.size() && IsQuantifierStart(pattern[i + 2]);
      if (group) out += "(?:";
      AppendByteLiteral(out, byte);
      AppendByteLiteral(out, static_cast<unsigned char>(pattern[i + 1]));
      if (group) out += ")";
    } else if (byte >= 0x80) {
      AppendByteLiteral(out, byte);
    } else if (byte == '\\' && i + 1 < pattern.size()) {
      if (pattern[i + 1] == 'Q') {
        i = AppendQuotedRun(out, pattern, i + 2, in_class);
        continue;
      }
      // An escaped double-byte character is that character; any other escape is ASCII
      // pattern syntax and passes through whole.
      if (GbkCharLength(pattern, i + 1) == 2) {
        i += 1;
        continue;
      }
      out += pattern.substr(i, 2);
      i += 2;
      continue;
    } else {
      if (byte == '[' && !in_class) {
        in_class = true;
        out += '[';
        // "]" or "^]" right after the opening bracket is a literal, not the end.
        if (i + 1 < pattern.size() && pattern[i + 1] == '^') out += pattern[++i];
        if (i + 1 < pattern.size() && pattern[i + 1] == ']') out += pattern[++i];
        i += 1;
        continue;
      }
      if (byte == ']' && in_class) in_class = false;
      out += static_cast<char>(byte);
    }
    i += length;
  }
  return out;
}

struct CompiledRegex::Code {
  pcre2_code* code = nullptr;
  ~Code() { pcre2_code_free(code); }
};

CompiledRegex::CompiledRegex(std::unique_ptr<Code> code) : code_(std::move(code)) {}
CompiledRegex::~CompiledRegex() = default;

std::unique_ptr<CompiledRegex> RegexCompile(std::string_view gbk_pattern, RegexOptions options) {
  std::string pattern = TranslateGbkPattern(gbk_pattern);
  uint32_t flags = PCRE2_NEVER_UTF | PCRE2_NEVER_UCP;
  if (options.ignore_case) flags |= PCRE2_CASELESS;
  if (options.dot_matches_line_feed) flags |= PCRE2_DOTALL;
  int error = 0;
  PCRE2_SIZE error_offset = 0;
  auto code = std::make_unique<CompiledRegex::Code>();
  code->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), flags, &error,
                             &error_offset, nullptr);
  if (code->code == nullptr) return nullptr;
  pcre2_jit_compile(code->code, PCRE2_JIT_COMPLETE);  // without a JIT the interpreter serves
  return std::unique_ptr<CompiledRegex>(new CompiledRegex(std::move(code)));
}

std::vector<RegexMatch> CompiledRegex::SearchAll(std::string_view text) const {
  std::vector<RegexMatch> matches;
  pcre2_match_data* data = pcre2_match_data_create_from_pattern(code_->code, nullptr);
  pcre2_match_context* context = pcre2_match_context_create(nullptr);
  pcre2_jit_stack* stack = pcre2_jit_stack_create(kJitStackStart, kJitStackMaximum, nullptr);
  if (data == nullptr || context == nullptr || stack == nullptr) {
    pcre2_jit_stack_free(stack);
    pcre2_match_context_free(context);
    pcre2_match_data_free(data);
    return matches;
  }
  pcre2_jit_stack_assign(context, nullptr, stack);
  const auto* subject = reinterpret_cast<PCRE2_SPTR>(text.data());
  CharacterBoundaries boundaries(text);
  std::size_t start = 0;
  while (start <= text.size()) {
    int found = pcre2_match(code_->code, subject, text.size(), start, 0, data, context);
    if (found <= 0) break;  // no more matches, or a limit was reached: keep what was found
    const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(data);
    std::size_t begin = offsets[0];
    std::size_t end = offsets[1];
    if (!boundaries.IsBoundary(begin)) {
      start = begin + 1;  // began on a trail byte: the next byte starts a character
      continue;
    }
    uint32_t pairs = pcre2_get_ovector_count(data);
    std::vector<Text> groups(pairs);
    for (uint32_t g = 0; g < pairs && g < static_cast<uint32_t>(found); ++g) {
      if (offsets[2 * g] != PCRE2_UNSET)
        groups[g] = Text(text.substr(offsets[2 * g], offsets[2 * g + 1] - offsets[2 * g]));
    }
    matches.emplace_back(begin, std::move(groups));
    start = end > begin ? end : end + (end < text.size() ? GbkCharLength(text, end) : 1);
  }
  pcre2_jit_stack_free(stack);
  pcre2_match_context_free(context);
  pcre2_match_data_free(data);
  return matches;
}

std::vector<RegexMatch> RegexSearchAll(const CompiledRegex* regex, std::string_view text) {
  return regex != nullptr ? regex->SearchAll(text) : std::vector<RegexMatch>();
}

}  // namespace korvane::platform
