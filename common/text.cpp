#include "common/text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace korvane {
namespace {

unsigned char Byte(std::string_view text, std::size_t index) {
  return static_cast<unsigned char>(text[index]);
}

unsigned char AsciiLower(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// Case folding touches single-byte characters only: a trail byte such as 0x41 ("A") is
// part of a double-byte character and compared exactly.
bool MatchesAt(std::string_view text, std::size_t at, std::string_view needle, bool no_case) {
  if (text.size() - at < needle.size()) return false;
  std::size_t i = 0;
  while (i < needle.size()) {
    std::size_t n = GbkCharLength(needle, i);
    if (n == 2 || !no_case) {
      if (text.compare(at + i, n, needle, i, n) != 0) return false;
    } else if (AsciiLower(Byte(text, at + i)) != AsciiLower(Byte(needle, i))) {
      return false;
    }
    i += n;
  }
  return true;
}

// Byte index of the first character boundary at or after `index`.
std::size_t AlignToBoundary(std::string_view text, std::size_t index) {
  std::size_t at = 0;
  while (at < index && at < text.size()) at += GbkCharLength(text, at);
  return at;
}

int Find(std::string_view text, std::string_view needle, int start, bool no_case) {
  if (start < 1) start = 1;
  std::size_t at = AlignToBoundary(text, static_cast<std::size_t>(start - 1));
  for (; at <= text.size(); at += GbkCharLength(text, at)) {
    if (MatchesAt(text, at, needle, no_case)) return static_cast<int>(at + 1);
    if (at == text.size()) break;
  }
  return -1;
}

// Converts with iconv, replacing what cannot be converted by `replacement` and going on
// after the offending input character; `replaced` (when given) tells whether it had to.
std::string Convert(const char* to, const char* from, std::string_view input,
                    std::string_view replacement,
                    std::size_t (*bad_input_step)(std::string_view rest),
                    bool* replaced = nullptr) {
  if (replaced) *replaced = false;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    if (replaced) *replaced = true;  // nothing was converted
    return std::string(input);
  }
  std::string out;
  out.reserve(input.size() * 3 / 2 + 4);
  char* in_ptr = const_cast<char*>(input.data());
  std::size_t in_left = input.size();
  char buffer[4096];
  while (in_left > 0) {
    char* out_ptr = buffer;
    std::size_t out_left = sizeof buffer;
    std::size_t rc = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    out.append(buffer, static_cast<std::size_t>(out_ptr - buffer));
    if (rc != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL (a cut-off character at the end): replace one unit and go on.
    out.append(replacement);
    if (replaced) *replaced = true;
    std::size_t step = std::min(bad_input_step({in_ptr, in_left}), in_left);
    in_ptr += step;
    in_left -= step;
  }
  iconv_close(cd);
  return out;
}

std::size_t OneByte(std::string_view) { return 1; }

// Steps over a whole UTF-8 sequence (a valid character GBK cannot hold), or one bad byte.
std::size_t Utf8SequenceLength(std::string_view rest) {
  auto lead = static_cast<unsigned char>(rest[0]);
  std::size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  for (std::size_t i = 1; i < n; ++i) {
    if (i >= rest.size() || (static_cast<unsigned char>(rest[i]) & 0xC0) != 0x80) return 1;
  }
  return n;
}

}  // namespace

std::size_t GbkCharLength(std::string_view text, std::size_t index) {
  if (index + 1 < text.size() && IsGbkLeadByte(Byte(text, index)) &&
      IsGbkTrailByte(Byte(text, index + 1))) {
    return 2;
  }
  return 1;
}

int FindText(std::string_view text, std::string_view needle, int start) {
  return Find(text, needle, start, false);
}

int FindTextNoCase(std::string_view text, std::string_view needle, int start) {
  return Find(text, needle, start, true);
}

std::size_t FindLastSeparator(std::string_view text, std::string_view separators) {
  std::size_t last = std::string_view::npos;
  for (std::size_t at = 0; at < text.size(); at += GbkCharLength(text, at)) {
    if (GbkCharLength(text, at) == 1 && separators.find(text[at]) != std::string_view::npos) last = at;
  }
  return last;
}

bool EndsWithSeparator(std::string_view text, std::string_view separators) {
  return !text.empty() && FindLastSeparator(text, separators) == text.size() - 1;
}

std::vector<Text> SplitText(std::string_view text, std::string_view separator) {
  std::vector<Text> parts;
  if (separator.empty()) {
    parts.emplace_back(text);
    return parts;
  }
  std::size_t piece_start = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    if (MatchesAt(text, at, separator, false)) {
      parts.emplace_back(text.substr(piece_start, at - piece_start));
      at += separator.size();
      piece_start = at;
    } else {
      at += GbkCharLength(text, at);
    }
  }
  parts.emplace_back(text.substr(piece_start));
  return parts;
}

std::vector<Text> SplitLines(std::string_view text) {
  std::vector<Text> lines;
  std::size_t line_start = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    char c = text[at];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(text.substr(line_start, at - line_start));
      at += (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1;
      line_start = at;
    } else {
      at += GbkCharLength(text, at);
    }
  }
  if (line_start < text.size()) lines.emplace_back(text.substr(line_start));
  return lines;
}

Text ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return Text(text);
  Text out;
  std::size_t at = 0;
  while (at < text.size()) {
    if (MatchesAt(text, at, from, false)) {
      out.append(to);
      at += from.size();
    } else {
      std::size_t n = GbkCharLength(text, at);
      out.append(text.substr(at, n));
      at += n;
    }
  }
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && MatchesAt(a, 0, b, true);
}

Text TextUpToZero(std::string_view bytes) { return Text(bytes.substr(0, bytes.find('\0'))); }

std::u8string GbkToUtf8(std::string_view gbk) {
  // GB18030 is a superset of GBK that iconv decodes a little more leniently.
  std::string utf8 = Convert("UTF-8", "GB18030", gbk, "\xEF\xBF\xBD", OneByte);
  return AsUtf8(utf8);
}

Text Utf8ToGbk(std::u8string_view utf8) {
  std::string_view bytes = AsChars(utf8);
  return Convert("GBK", "UTF-8", bytes, "?", Utf8SequenceLength);
}

std::optional<Text> Utf8ToGbkExact(std::u8string_view utf8) {
  bool replaced = false;
  Text gbk = Convert("GBK", "UTF-8", AsChars(utf8), "?", Utf8SequenceLength, &replaced);
  if (replaced) return std::nullopt;
  return gbk;
}

std::u8string AsUtf8(std::string_view bytes) { return {bytes.begin(), bytes.end()}; }

std::string_view AsChars(std::u8string_view utf8) {
  return {reinterpret_cast<const char*>(utf8.data()), utf8.size()};
}

}  // namespace korvane
