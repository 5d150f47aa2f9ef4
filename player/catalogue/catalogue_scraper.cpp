#include "player/catalogue/catalogue_scraper.h"

#include "platform/ui/handler_table.h"

namespace korvane::player {
namespace {

// The status strip shows the search before and after the pause.
constexpr int kStatusPauseMs = 500;

}  // namespace

void CatalogueScraper::Bind() {
  static constexpr platform::ui::HandlerRow<CatalogueScraper> kHandlers[] = {
      {"OnCataloguePageLoaded", &CatalogueScraper::OnCataloguePageLoaded},
      {"OnFindPageLoaded", &CatalogueScraper::OnFindPageLoaded},
  };
  platform::ui::BindHandlers(ui_, *this, kHandlers);
}

void CatalogueScraper::OnCataloguePageLoaded(const platform::ui::Event& navigated) {
  OnPageLoaded(main_window_.Controls().catalogue_browser, navigated.text);
}

void CatalogueScraper::OnFindPageLoaded(const platform::ui::Event& navigated) {
  OnPageLoaded(main_window_.Controls().find_browser, navigated.text);
}

void CatalogueScraper::OnPageLoaded(const platform::ui::WebBrowserBox& browser, const Text& address) {
  if (FindTextNoCase(TextUpToZero(address), "&type") < 0) return;
  globals_.loaded_page_text = browser.SharedPageSource();
  ScrapeFilmPage();
}

void CatalogueScraper::ScrapeFilmPage() {
  PlayerGlobals& g = globals_;
  g.title_regex = platform::RegexCompile(kTitlePattern, kPageRegexOptions);
  g.title_matches = platform::RegexSearchAll(g.title_regex.get(), *g.loaded_page_text);
  // A page without a title keeps the earlier film: its links are copies, so they stay
  // that film's own whatever page text follows.
  if (g.title_matches.empty()) return;
  g.film_title = platform::MatchGetSubmatchText(g.title_matches.front(), 1);
  g.episode_link_regex = platform::RegexCompile(kEpisodeLinkPattern, kPageRegexOptions);
  g.episode_link_matches = platform::RegexSearchAll(g.episode_link_regex.get(), *g.loaded_page_text);
  g.status_regex = platform::RegexCompile(kStatusPattern, kPageRegexOptions);
  g.status_matches = platform::RegexSearchAll(g.status_regex.get(), *g.loaded_page_text);
  if (g.status_matches.empty()) return;

  const MainWindowControls& c = main_window_.Controls();
  platform::ui::Label label = c.status_label;
  label.SetCaption("正在获取影片点播数据...");
  SetHint(ui_, label, "开始获取[" + g.film_title + "]影片点播地址");
  ui_.Delay(kStatusPauseMs);
  label.SetCaption("获取影片点播数据成功...");
  SetHint(ui_, label, "已获取[" + g.film_title + "]影片点播地址");
  // Behind the status strip, at the level the views give it.
  ui_.SetUnitZOrder(c.catalogue_browser, platform::ui::ZOrder::kBack);
}

}  // namespace korvane::player
