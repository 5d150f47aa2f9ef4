#include "platform/services/name_pattern.h"

#include <vector>

#include "common/text.h"

namespace korvane::platform {
namespace {

std::vector<std::string_view> Characters(std::string_view text) {
  std::vector<std::string_view> characters;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = GbkCharLength(text, i);
    characters.push_back(text.substr(i, length));
    i += length;
  }
  return characters;
}

}  // namespace

bool MatchesNamePattern(std::string_view name, std::string_view pattern) {
  if (pattern == "*.*") return true;
  std::vector<std::string_view> text = Characters(name);
  std::vector<std::string_view> wild = Characters(pattern);
  // Iterative matching with one back-track point: linear in practice, no recursion.
  std::size_t t = 0, w = 0, star = std::string_view::npos, resume = 0;
  while (t < text.size()) {
    if (w < wild.size() && (wild[w] == "?" || wild[w] == text[t])) {
      ++t;
      ++w;
    } else if (w < wild.size() && wild[w] == "*") {
      star = w++;
      resume = t;
    } else if (star != std::string_view::npos) {
      w = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (w < wild.size() && wild[w] == "*") ++w;
  return w == wild.size();
}

}  // namespace korvane::platform
