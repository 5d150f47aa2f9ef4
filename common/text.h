#pragma once
// GBK texts: byte strings in code page 936. Lengths and positions count bytes; positions
// are 1-based and a failed search yields -1. A double-byte character (lead byte
// 0x81..0xFE followed by a trail byte) is always stepped over as one unit, because its
// trail byte may look like ASCII ("\", "[", "|", ...).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

using Text = std::string;

constexpr bool IsGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
constexpr bool IsGbkTrailByte(unsigned char byte) {
  return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

// Length in bytes of the character that starts at `index` (0-based): 2 for a lead byte
// followed by a trail byte, else 1 (a lone lead byte never swallows a line end or an
// ASCII control byte after it).
std::size_t GbkCharLength(std::string_view text, std::size_t index);

// 1-based position of the first `needle` at or after position `start`, found only at
// character boundaries; -1 when there is none. An empty needle is found at `start`.
int FindText(std::string_view text, std::string_view needle, int start = 1);

// The same, with ASCII letters compared without regard to case.
int FindTextNoCase(std::string_view text, std::string_view needle, int start = 1);

// Splits at every `separator` that starts on a character boundary.
std::vector<Text> SplitText(std::string_view text, std::string_view separator);

// 0-based index of the last character of `text` that is one of the single-byte
// `separators`, found only at character boundaries (so the trail byte 0x5C of a
// double-byte character is never a "\\"); npos when there is none.
std::size_t FindLastSeparator(std::string_view text, std::string_view separators = "\\");

// Whether the last character of `text` is one of the single-byte `separators`.
bool EndsWithSeparator(std::string_view text, std::string_view separators = "\\");

// Splits into lines ended by CR LF, LF or CR; a final line without an end counts.
std::vector<Text> SplitLines(std::string_view text);

// Replaces every `from` found at a character boundary.
Text ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

bool EqualsNoCase(std::string_view a, std::string_view b);

// The bytes before the first zero byte: how byte buffers become texts.
Text TextUpToZero(std::string_view bytes);

// Encoding boundary with the operating system and desktop. Unconvertible input is
// replaced character by character (U+FFFD one way, "?" the other), never dropped whole.
std::u8string GbkToUtf8(std::string_view gbk);
Text Utf8ToGbk(std::u8string_view utf8);

// For data that must arrive unchanged (an operator's addresses and texts): nullopt when
// any character is not valid UTF-8 or has no GBK form, instead of a "?" in its place.
std::optional<Text> Utf8ToGbkExact(std::u8string_view utf8);

// For strings that are known to hold UTF-8 but arrive as char (argv, getenv, libraries).
std::u8string AsUtf8(std::string_view bytes);
std::string_view AsChars(std::u8string_view utf8);

}  // namespace korvane
