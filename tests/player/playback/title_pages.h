#pragma once
// Catalogue title pages in the forms the scraper matches, as the catalogue writes them
// (GBK, as the sources' texts are).

#include <string>
#include <string_view>
#include <vector>

namespace korvane::player::testing {

struct Link {
  std::string address;
  std::string name;
};

// A title page; a part left empty is left out.
inline std::string TitlePage(std::string_view title_item, const std::vector<Link>& links,
                             std::string_view status_item = "<li>状　　态：完结</li>") {
  std::string page = "<html><body><ul>" + std::string(title_item) + std::string(status_item) + "</ul><ul>\n";
  for (const Link& link : links) page += "<LI><a href=\"" + link.address + "\">" + link.name + "</a></LI>\n";
  return page + "</ul></body></html>";
}

inline std::string TitleItem(std::string_view title) { return "<li>剧　　名：" + std::string(title) + "</li>"; }

}  // namespace korvane::player::testing
