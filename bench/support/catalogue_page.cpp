#include "bench/support/catalogue_page.h"

namespace korvane::bench {

std::string CataloguePage(std::size_t bytes, std::string_view title, const std::vector<std::string>& addresses) {
  const std::string block =
      "<div class=\"nav\"><a href=\"/list/1.html\">电影</a> | <a href=\"/list/2.html\">电视剧</a> | "
      "<a href=\"/list/3.html\">动漫</a></div>\r\n<p class=\"intro\">剧情简介：本片讲述了一个关于\x95\x5C\x95\x7C"
      "的故事，主人公在城市中寻找失去的记忆。</p>\r\n<ul class=\"hot\"><li class=\"hot\"><a href=\"/movie/123.html\">"
      "热门影片</a></li><li class=\"hot\"><a href=\"/movie/456.html\">最新上映</a></li></ul>\r\n";
  std::string items = "<ul><li>剧　　名：" + std::string(title) + "</li><li>状　　态：完结</li>\r\n";
  for (std::size_t episode = 1; episode <= addresses.size(); ++episode) {
    items += "<LI><a href=\"" + addresses[episode - 1] + "\">第" + std::to_string(episode) + "集</a></LI>\r\n";
  }
  items += "</ul>\r\n";
  std::string page = "<html><head><title>影片</title></head><body>\r\n";
  page.reserve(bytes + block.size() + items.size());
  while (page.size() < bytes / 2) page += block;
  page += items;
  while (page.size() < bytes) page += block;
  return page + "</body></html>";
}

}  // namespace korvane::bench
