// Title-page scraping in one process: the real program on the headless backend, a title
// page answered from a table, and the window's stacking read from its model.

#include <gtest/gtest.h>

#include "player/catalogue/catalogue_scraper.h"
#include "tests/player/headless_player.h"
#include "tests/support/stacking_checks.h"

namespace korvane::player {
namespace {

// The labels' bytes: 剧 BE E7, 状 D7 B4, 态 CC AC, 名 C3 FB, two ideographic spaces
// A1 A1, the full-width colon A3 BA.
TEST(CataloguePatterns, AreTheGbkBytesOfTheCatalogue) {
  EXPECT_EQ(kTitlePattern, "<li>\xBE\xE7\xA1\xA1\xA1\xA1\xC3\xFB\xA3\xBA(.*?)</li>");
  EXPECT_EQ(kStatusPattern, "<li>\xD7\xB4\xA1\xA1\xA1\xA1\xCC\xAC\xA3\xBA(.*?)</li>");
  EXPECT_EQ(kEpisodeLinkPattern, "<LI><a href=('|\")([^'\"]+)('|\")>([^<]+)<");
}

class CatalogueScraperTest : public ::testing::Test, protected testing::HeadlessPlayer {};

// Whichever browser reached the page, the film-library browser goes to the back so the
// status strip shows over it.
TEST_F(CatalogueScraperTest, AScrapedTitlePageSendsTheLibraryBrowserToTheBack) {
  const std::string page = "<li>剧　　名：海边</li><li>状　　态：完结</li>";
  http_.Answer("http://pages.test/film?id=1&type=tv", page);
  http_.Answer("http://pages.test/list?page=2", page);
  const std::pair<const char*, const char*> find_in_front[] = {{"主界面找片浏览器", "主界面片库浏览器"}};
  const std::pair<const char*, const char*> library_in_front[] = {{"主界面片库浏览器", "主界面找片浏览器"}};
  script_.Add("click", {"主界面片库按钮"})
      .Add("click", {"主界面找片按钮"})
      .Add("navigate", {"主界面找片浏览器", "http://pages.test/list?page=2"})
      .Call([&] { testing_support::ExpectStandsInFront(*ModelOf(Main()), library_in_front); })
      .Add("click", {"主界面找片按钮"})
      .Add("navigate", {"主界面找片浏览器", "http://pages.test/film?id=1&type=tv"})
      .Call([&] { testing_support::ExpectStandsInFront(*ModelOf(Main()), find_in_front); });
  script_.Call([this] { ui_.DestroyUnit(Main()); });
  RunPlayer();
}

}  // namespace
}  // namespace korvane::player
