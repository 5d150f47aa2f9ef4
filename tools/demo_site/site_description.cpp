#include "tools/demo_site/site_description.h"

namespace korvane::tools {
namespace {

// The first `count` blank-separated words of `line`, and the rest of it unsplit (blanks
// inside it kept); nullopt when there are fewer words.
std::optional<std::vector<Text>> Words(std::string_view line, std::size_t count) {
  std::vector<Text> words;
  Text rest(line);
  while (words.size() < count) {
    const int blank = FindText(rest, " ");
    if (blank < 0) return std::nullopt;
    words.push_back(rest.substr(0, static_cast<std::size_t>(blank - 1)));
    rest.erase(0, static_cast<std::size_t>(blank));
    while (!rest.empty() && rest.front() == ' ') rest.erase(0, 1);
  }
  if (rest.empty()) return std::nullopt;
  words.push_back(rest);
  return words;
}

bool IsPlainId(std::string_view id) {
  if (id.empty()) return false;
  for (char c : id) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (!letter && c != '-' && c != '_') return false;
  }
  return true;
}

// A path below the site: no absolute path, no "..", no backslash.
bool IsSitePath(std::string_view path) {
  if (path.empty() || path.front() == '/' || FindText(path, "\\") > 0) return false;
  for (const Text& part : SplitText(path, "/")) {
    if (part == "..") return false;
  }
  return true;
}

}  // namespace

std::optional<SiteDescription> ParseSiteDescription(std::u8string_view utf8,
                                                    const std::filesystem::path& base,
                                                    std::string* error) {
  const std::optional<Text> gbk = Utf8ToGbkExact(utf8);
  if (!gbk) {
    *error = "the description is not UTF-8 text that GBK can hold";
    return std::nullopt;
  }
  SiteDescription site;
  bool installed = false;
  bool published = false;
  int number = 0;
  for (const Text& line : SplitLines(*gbk)) {
    ++number;
    const std::string at = "line " + std::to_string(number) + ": ";
    if (line.empty() || line.front() == '#') continue;
    const int blank = FindText(line, " ");
    const Text kind = blank < 0 ? line : line.substr(0, static_cast<std::size_t>(blank - 1));
    std::optional<std::vector<Text>> words;
    if (kind == "installation") {
      words = Words(line, 1);
      if (!words || !IsPlainId((*words)[1])) {
        *error = at + "the installation id is letters, digits, '-' and '_'";
        return std::nullopt;
      }
      site.installation_id = (*words)[1];
    } else if (kind == "key2" || kind == "plain") {
      words = Words(line, 2);
      if (!words || !IsSitePath((*words)[1])) {
        *error = at + "expected " + kind + " PATH TEXT with PATH below the site";
        return std::nullopt;
      }
      site.remote_files.push_back({(*words)[1], kind == "key2", (*words)[2]});
    } else if (kind == "page") {
      words = Words(line, 2);
      if (!words || !IsSitePath((*words)[1]) || !IsSitePath((*words)[2])) {
        *error = at + "expected page PATH FILE with PATH below the site and FILE below the description";
        return std::nullopt;
      }
      site.pages.push_back({(*words)[1], base / GbkToUtf8((*words)[2])});
    } else if (kind == "installed") {
      words = Words(line, 3);
      if (!words) {
        *error = at + "expected installed VERSION DATE FOLDER";
        return std::nullopt;
      }
      site.installed = {(*words)[1], (*words)[2], base / GbkToUtf8((*words)[3])};
      installed = true;
    } else if (kind == "published") {
      words = Words(line, 4);
      if (!words || !IsSitePath((*words)[1])) {
        *error = at + "expected published LIST_FOLDER VERSION DATE FOLDER";
        return std::nullopt;
      }
      site.list_folder = (*words)[1];
      site.published = {(*words)[2], (*words)[3], base / GbkToUtf8((*words)[4])};
      published = true;
    } else {
      *error = at + "unknown entry '" + std::string(AsChars(GbkToUtf8(kind))) + "'";
      return std::nullopt;
    }
  }
  if (site.installation_id.empty() || !installed || !published) {
    *error = "the description needs an installation, an installed and a published line";
    return std::nullopt;
  }
  return site;
}

}  // namespace korvane::tools
