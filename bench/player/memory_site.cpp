#include "bench/player/memory_site.h"

#include <utility>
#include <vector>

#include "bench/player/bench_player.h"
#include "bench/support/catalogue_page.h"

namespace korvane::bench {

std::string MemorySite::HttpGetBytes(std::string_view address, const platform::FetchLimits&) {
  if (timed_ != nullptr) timed_->PauseTiming();
  std::string bytes;
  if (address.starts_with(kRoot)) {
    std::string_view path = address.substr(kRoot.size());
    path = path.substr(0, path.find('?'));
    if (auto file = files_.find(path); file != files_.end()) bytes = file->second;
  }
  if (timed_ != nullptr) timed_->ResumeTiming();
  return bytes;
}

void ServePlayerStart(MemorySite& site) {
  using namespace player::remote;
  const std::string home = std::string(MemorySite::kRoot) + "home/";
  const std::pair<const player::RemoteFile*, std::string> files[] = {
      {&kCataloguePage, home + "pianku/"}, {&kFindPage, home + "zhaopian/"}, {&kHomeAddress, home},
      {&kTextAdSwitch, "0"}, {&kPauseAdSwitch, "1"}, {&kExitAdSwitch, "0"},
      {&kProviderName, "Bench"}, {&kVersionFlag, "no"}, {&kCornerAdSwitch, "0"},
      {&kPauseAdPage, "http://ads.test/pause.html"}};
  for (const auto& [file, value] : files) {
    SiteFile served = ServedRemoteFile(*file, value);
    site.Serve(std::move(served.path), std::move(served.bytes));
  }
  site.Serve("home/pianku/", "<html><body>library</body></html>");
  site.Serve("home/zhaopian/", "<html><body>find</body></html>");
}

std::string FilmPagePath(int film) { return "home/film/" + std::to_string(film) + ".html"; }

Text FilmPageAddress(int film, int id) {
  return std::string(MemorySite::kRoot) + FilmPagePath(film) + "?id=" + std::to_string(id) + "&type=tv";
}

std::string FilmPage(int film, std::size_t bytes, int episodes) {
  std::vector<std::string> addresses;
  for (int episode = 1; episode <= episodes; ++episode) addresses.push_back(EpisodeAddress(film, episode));
  return CataloguePage(bytes, "影片" + std::to_string(film), addresses);
}

std::string EpisodeAddress(int film, int episode) {
  return "http://v.test/film" + std::to_string(film) + "/" + std::to_string(episode) + ".mp4";
}

}  // namespace korvane::bench
