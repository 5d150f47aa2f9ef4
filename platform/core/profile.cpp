#include "platform/core/profile.h"

#include <filesystem>
#include <optional>

#include "platform/core/atomic_file.h"
#include "platform/core/path_map.h"

namespace korvane::platform {
namespace {

std::string_view SkipLeadingControl(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20) s.remove_prefix(1);
  return s;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// ASCII case folding that leaves double-byte characters whole.
std::string Fold(std::string_view name) {
  std::string folded(name);
  for (std::size_t i = 0; i < folded.size(); i += GbkCharLength(folded, i)) {
    char& c = folded[i];
    if (GbkCharLength(folded, i) == 1 && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

std::string_view WithoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

// "[name]" after leading blanks: the name, else nullopt. The name ends at the line's last
// "]", so a section named after a file such as "a]b.dll" reads back whole.
std::optional<std::string_view> SectionName(std::string_view line) {
  std::string_view body = TrimBlanks(WithoutLineEnd(line));
  if (body.empty() || body.front() != '[') return std::nullopt;
  int close = -1;
  for (int at = FindText(body, "]", 2); at > 0; at = FindText(body, "]", at + 1)) close = at;
  if (close < 0) return std::nullopt;
  return TrimBlanks(body.substr(1, static_cast<std::size_t>(close) - 2));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  std::string_view body = WithoutLineEnd(line);
  int equals = FindText(body, "=");
  if (equals < 0) return std::nullopt;
  std::string_view key = TrimBlanks(body.substr(0, static_cast<std::size_t>(equals) - 1));
  if (key.empty() || key.front() == ';') return std::nullopt;
  return KeyLine{key, body.substr(static_cast<std::size_t>(equals))};
}

bool IsBlankLine(std::string_view line) { return TrimBlanks(WithoutLineEnd(line)).empty(); }

bool EndsWithLineEnd(std::string_view line) {
  return !line.empty() && (line.back() == '\n' || line.back() == '\r');
}

std::string KeyValueLine(std::string_view key, std::string_view value) {
  std::string line(key);
  line += '=';
  line += value;
  line += "\r\n";
  return line;
}

Text CutToBuffer(std::string_view value) {
  value = value.substr(0, value.find('\0'));
  std::size_t limit = kProfileValueBufferSize - 1;
  if (value.size() <= limit) return Text(value);
  std::size_t at = 0;
  while (at + GbkCharLength(value, at) <= limit) at += GbkCharLength(value, at);
  return Text(value.substr(0, at));
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view bytes) {
  IniDocument document;
  document.sections_.emplace_back();
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", at);
    if (end == std::string_view::npos) {
      end = bytes.size();
    } else {
      end += (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1;
    }
    std::string line(bytes.substr(at, end - at));
    at = end;
    if (auto name = SectionName(line)) {
      std::string folded = Fold(*name);
      document.AddSection(std::move(line), std::move(folded));
      continue;
    }
    Section& section = document.sections_.back();
    section.lines.push_back(std::move(line));
    document.IndexKey(section, section.lines.size() - 1);
  }
  return document;
}

IniDocument IniDocument::Load(std::string_view file) {
  std::filesystem::path path = NativePath(file);
  if (auto bytes = ReadWholeFile(path)) return Parse(*bytes);
  IniDocument document = Parse({});
  std::error_code error;
  document.unreadable_ = std::filesystem::exists(path, error) || error;
  return document;
}

IniDocument::Section& IniDocument::AddSection(std::string header_line, std::string folded_name) {
  section_index_.try_emplace(std::move(folded_name), sections_.size());  // the first one wins
  Section& section = sections_.emplace_back();
  section.lines.push_back(std::move(header_line));
  return section;
}

void IniDocument::IndexKey(Section& section, std::size_t line_index) {
  if (&section == &sections_.front()) return;  // lines before any header hold no keys
  if (auto entry = ParseKeyLine(section.lines[line_index])) {
    section.keys.try_emplace(Fold(entry->key), line_index);
  }
}

Text IniDocument::Value(std::string_view section, std::string_view key) const {
  section = SkipLeadingControl(section);
  key = SkipLeadingControl(key);
  if (section.empty() || key.empty()) return {};
  auto found_section = section_index_.find(Fold(TrimBlanks(section)));
  if (found_section == section_index_.end()) return {};
  const Section& s = sections_[found_section->second];
  auto found_key = s.keys.find(Fold(TrimBlanks(key)));
  if (found_key == s.keys.end()) return {};
  return CutToBuffer(ParseKeyLine(s.lines[found_key->second])->value);
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  section = TrimBlanks(SkipLeadingControl(section));
  key = TrimBlanks(SkipLeadingControl(key));
  if (section.empty() || key.empty()) return false;
  if (value.find_first_of("\r\n") != std::string_view::npos) return false;
  if (sections_.empty()) sections_.emplace_back();

  auto found_section = section_index_.find(Fold(section));
  Section* s = nullptr;
  if (found_section == section_index_.end()) {
    std::string& last = sections_.back().lines.empty() ? sections_.back().lines.emplace_back()
                                                       : sections_.back().lines.back();
    if (!last.empty() && !EndsWithLineEnd(last)) last += "\r\n";
    std::string header;
    header.append("[").append(section).append("]\r\n");
    s = &AddSection(std::move(header), Fold(section));
  } else {
    s = &sections_[found_section->second];
  }

  auto found_key = s->keys.find(Fold(key));
  if (found_key != s->keys.end()) {
    std::string& line = s->lines[found_key->second];
    std::string_view existing_key = ParseKeyLine(line)->key;
    line = KeyValueLine(existing_key, value);
    return true;
  }
  // A new key goes after the section's last non-blank line.
  std::size_t insert_at = s->lines.size();
  while (insert_at > 1 && IsBlankLine(s->lines[insert_at - 1])) --insert_at;
  std::string& before = s->lines[insert_at - 1];
  if (!EndsWithLineEnd(before)) before += "\r\n";
  s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(insert_at), KeyValueLine(key, value));
  if (insert_at != s->lines.size() - 1) {
    for (auto& [name, index] : s->keys) {
      if (index >= insert_at) ++index;
    }
  }
  s->keys.emplace(Fold(key), insert_at);
  return true;
}

std::string IniDocument::Serialise() const {
  std::size_t size = 0;
  for (const Section& s : sections_) {
    for (const std::string& line : s.lines) size += line.size();
  }
  std::string bytes;
  bytes.reserve(size);
  for (const Section& s : sections_) {
    for (const std::string& line : s.lines) bytes += line;
  }
  return bytes;
}

bool IniDocument::Save(std::string_view file) const {
  return !unreadable_ && WriteFileAtomically(NativePath(file), Serialise());
}

Text ReadIniValue(std::string_view file, std::string_view section, std::string_view key) {
  file = SkipLeadingControl(file);
  if (file.empty()) return {};
  return IniDocument::Load(file).Value(section, key);
}

bool WriteIniValue(std::string_view file, std::string_view section, std::string_view key,
                   std::string_view value) {
  ProfileBatch batch(file);
  return batch.Write(section, key, value) && batch.Commit();
}

bool FileExists(std::string_view file) {
  file = SkipLeadingControl(file);
  if (file.empty()) return false;
  std::error_code error;
  return std::filesystem::is_regular_file(NativePath(file), error);
}

ProfileBatch::ProfileBatch(std::string_view file) : file_(SkipLeadingControl(file)) {
  if (!file_.empty()) document_ = IniDocument::Load(file_);
}

bool ProfileBatch::Write(std::string_view section, std::string_view key, std::string_view value) {
  return !file_.empty() && document_.Set(section, key, value);
}

bool ProfileBatch::Commit() { return !file_.empty() && document_.Save(file_); }

}  // namespace korvane::platform
