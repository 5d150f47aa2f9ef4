// Scraping a catalogue page with the three patterns, compile and group extraction
// included. Goals: 1 MB page at most 1 ms, 10 MB page at most 5 ms; a single-line page
// whose title capture spans 4 MB completes without overflowing.

#include <benchmark/benchmark.h>

#include <string>

#include "platform/services/regex.h"

namespace korvane::platform {
namespace {

constexpr char kTitlePattern[] = "<li>剧　　名：(.*?)</li>";
constexpr char kEpisodeLinkPattern[] = R"(<LI><a href=('|")([^'"]+)('|")>([^<]+)<)";
constexpr char kStatusPattern[] = "<li>状　　态：(.*?)</li>";

// A catalogue page of about `bytes` bytes: navigation and description blocks in GBK
// (trail bytes "\" and "|" included), with the title, status and episode items in its
// middle.
std::string CataloguePage(std::size_t bytes) {
  const std::string block =
      "<div class=\"nav\"><a href=\"/list/1.html\">电影</a> | <a href=\"/list/2.html\">电视剧</a> | "
      "<a href=\"/list/3.html\">动漫</a></div>\r\n<p class=\"intro\">剧情简介：本片讲述了一个关于\x95\x5C\x95\x7C"
      "的故事，主人公在城市中寻找失去的记忆。</p>\r\n<ul class=\"hot\"><li><a href=\"/movie/123.html\">热门影片"
      "</a></li><li><a href=\"/movie/456.html\">最新上映</a></li></ul>\r\n";
  std::string items = "<ul><li>剧　　名：天下无双</li><li>状　　态：完结</li>\r\n";
  for (int episode = 1; episode <= 40; ++episode)
    items += "<LI><a href=\"qvod://123456|ABCDEF|第" + std::to_string(episode) + "集.rmvb|\">第" +
             std::to_string(episode) + "集</a></LI>\r\n";
  items += "</ul>\r\n";
  std::string page = "<html><head><title>影片</title></head><body>\r\n";
  while (page.size() < bytes / 2) page += block;
  page += items;
  while (page.size() < bytes) page += block;
  return page + "</body></html>";
}

std::size_t Scrape(const std::string& page) {
  std::size_t extracted = 0;
  auto title = RegexCompile(kTitlePattern);
  auto titles = RegexSearchAll(title.get(), page);
  if (!titles.empty()) extracted += MatchGetSubmatchText(titles[0], 1).size();
  auto links = RegexCompile(kEpisodeLinkPattern);
  for (const RegexMatch& link : RegexSearchAll(links.get(), page))
    extracted += MatchGetSubmatchText(link, 2).size() + MatchGetSubmatchText(link, 4).size();
  auto status = RegexCompile(kStatusPattern);
  extracted += RegexSearchAll(status.get(), page).size();
  return extracted;
}

void BM_ScrapeCataloguePage(benchmark::State& state) {
  const std::string page = CataloguePage(static_cast<std::size_t>(state.range(0)) * 1024 * 1024);
  if (Scrape(page) == 0) state.SkipWithError("nothing scraped");
  for (auto _ : state) benchmark::DoNotOptimize(Scrape(page));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_ScrapeCataloguePage)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_ScrapeSingleLineWithFourMegabyteTitle(benchmark::State& state) {
  std::string span;
  while (span.size() < 4 * 1024 * 1024) span += "片名<b>\x95\x5C</b> ";
  const std::string page = "<html><li>剧　　名：" + span + "</li><LI><a href='1.rmvb'>1</a></html>";
  for (auto _ : state) benchmark::DoNotOptimize(Scrape(page));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_ScrapeSingleLineWithFourMegabyteTitle)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvane::platform

BENCHMARK_MAIN();
