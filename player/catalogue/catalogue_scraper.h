#pragma once
// Film title pages of the two catalogue browsers: a page whose address holds "&type" is
// run through the title, link and status expressions; what it finds stays in the
// globals for the programme list's next rebuild.

#include <string_view>

#include "common/text.h"
#include "platform/services/regex.h"
#include "platform/ui/program.h"
#include "player/core/player_globals.h"
#include "player/windows/main_window.h"

namespace korvane::player {

// The three expressions, GBK: two ideographic spaces (A1 A1) inside each label and the
// full-width colon (A3 BA) after it.
inline constexpr std::string_view kTitlePattern = "<li>剧　　名：(.*?)</li>";
inline constexpr std::string_view kEpisodeLinkPattern = R"(<LI><a href=('|")([^'"]+)('|")>([^<]+)<)";
inline constexpr std::string_view kStatusPattern = "<li>状　　态：(.*?)</li>";
// Tags in any letter case; "." stops at a line end.
inline constexpr platform::RegexOptions kPageRegexOptions{.ignore_case = true};

class CatalogueScraper {
 public:
  CatalogueScraper(platform::ui::Program& ui, PlayerGlobals& globals, const MainWindow& main_window)
      : ui_(ui), globals_(globals), main_window_(main_window) {}

  // Binds the two browsers' Navigated handlers.
  void Bind();
  // Navigated of each catalogue browser; the event's text is the page just reached.
  void OnCataloguePageLoaded(const platform::ui::Event& navigated);
  void OnFindPageLoaded(const platform::ui::Event& navigated);
  // Runs the three expressions over `loaded_page_text`.
  void ScrapeFilmPage();

 private:
  void OnPageLoaded(const platform::ui::WebBrowserBox& browser, const Text& address);

  platform::ui::Program& ui_;
  PlayerGlobals& globals_;
  const MainWindow& main_window_;
};

}  // namespace korvane::player
