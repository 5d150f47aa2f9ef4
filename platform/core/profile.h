#pragma once
// Profile (INI) files with the semantics the programs rely on:
// - section and key names match without regard to ASCII case; the first of duplicate
//   sections or keys wins;
// - a missing file, section or key reads as empty text; a value is read into a buffer of
//   10240 bytes, so at most 10239 bytes of it come back (cut at a character boundary, and
//   at a zero byte as a C string would be);
// - the value is everything after the first "=" up to the line end, blanks included;
// - file, section and key arguments have their leading bytes up to 0x20 skipped, and an
//   empty one reads nothing and writes nothing;
// - a write creates the file, the section (appended at the end) or the key (after the
//   section's last entry), keeps every other line byte for byte, writes CR LF lines with
//   no blanks around "=", and replaces the file atomically;
// - values are GBK bytes and are never re-encoded. A value holding a line end cannot be
//   stored and is refused.
// Paths are the programs' Windows-style texts (see path_map.h).

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/text.h"

namespace korvane::platform {

constexpr std::size_t kProfileValueBufferSize = 10240;

Text ReadIniValue(std::string_view file, std::string_view section, std::string_view key);
bool WriteIniValue(std::string_view file, std::string_view section, std::string_view key,
                   std::string_view value);

// True for an existing file; a folder is not a file.
bool FileExists(std::string_view file);

// A profile file held in memory: many reads or writes against one load. The updater's
// inventory writes thousands of keys and commits them once.
class IniDocument {
 public:
  IniDocument() = default;
  // A missing or unreadable file loads as an empty document. One that exists but cannot be
  // read is never saved over: its content is unknown, so a save would lose it.
  static IniDocument Load(std::string_view file);
  static IniDocument Parse(std::string_view bytes);

  Text Value(std::string_view section, std::string_view key) const;
  bool Set(std::string_view section, std::string_view key, std::string_view value);
  std::string Serialise() const;
  bool Save(std::string_view file) const;

 private:
  struct Section {
    std::vector<std::string> lines;  // each with its own line end, as read
    std::unordered_map<std::string, std::size_t> keys;  // folded key -> line index
  };
  Section& AddSection(std::string header_line, std::string folded_name);
  void IndexKey(Section& section, std::size_t line_index);

  bool unreadable_ = false;
  std::vector<Section> sections_;  // [0] holds the lines before the first header
  std::unordered_map<std::string, std::size_t> section_index_;  // folded name -> index
};

// Writes applied in memory and committed once, atomically.
class ProfileBatch {
 public:
  explicit ProfileBatch(std::string_view file);
  bool Write(std::string_view section, std::string_view key, std::string_view value);
  bool Commit();

 private:
  Text file_;
  IniDocument document_;
};

}  // namespace korvane::platform
