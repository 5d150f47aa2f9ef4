// A film's title page of 10 MB with 5,000 episode links, reached in the film-library
// browser: from its Navigated event to the first episode playing on the engine (the
// scrape, the programme list rebuilt with 5,001 items when the page completes, the
// pause-ad page and the play), on the real player, headless on virtual time, so the
// 500 ms status pause passes at once. The sites answer from memory and the fetches are
// left out of the time. Two such films take turns, so every iteration plays another
// film. An iteration ends when the player is idle again, so it also holds what follows
// the play (the toggle, the status texts and the memory timer's ticks that fell due).
// Goal: under 20 ms.

#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <vector>

#include "bench/player/bench_player.h"
#include "bench/player/memory_site.h"
#include "bench/support/catalogue_page.h"

namespace {

using namespace korvane;

constexpr std::size_t kPageBytes = 10 * 1024 * 1024;
constexpr int kEpisodes = 5000;
constexpr int kFilms = 2;

std::string EpisodeAddress(int film, int episode) {
  return "http://v.test/film" + std::to_string(film) + "/" + std::to_string(episode) + ".mp4";
}

void BM_TitlePageToFirstPlay(benchmark::State& state) {
  bench::MemorySite site;
  bench::ServePlayerStart(site);
  for (int film = 0; film < kFilms; ++film) {
    std::vector<std::string> addresses;
    for (int episode = 1; episode <= kEpisodes; ++episode) addresses.push_back(EpisodeAddress(film, episode));
    site.Serve(bench::FilmPagePath(film), bench::CataloguePage(kPageBytes, "影片" + std::to_string(film), addresses));
  }
  platform::testing::TempProgramFolder folder;
  bench::WriteInstallation(folder);
  bench::BenchPlayer player(site, folder, bench::MemorySite::kRoot);

  // Each action checks what the page before it played, then opens the next film's page.
  int pages = 0;
  std::function<void()> next_page = [&] {
    if (pages > 0) {
      const int film = (pages - 1) % kFilms;
      platform::ui::Window main = player.Main();
      if (main.Find<platform::ui::PlaybackEngine>("快播播放器").MediaAddress() != EpisodeAddress(film, 1) ||
          main.Find<platform::ui::TreeBox>("主窗体播放器节目列表").ItemCount() != kEpisodes + 1) {
        state.SkipWithError("the page did not play its first episode");
        return;
      }
    }
    if (!state.KeepRunning()) return;
    player.NavigateInView(true, bench::FilmPageAddress(pages % kFilms, pages));
    ++pages;
    player.script.Call(next_page);
  };
  player.script.Call([&] {
    site.PauseTimingDuringFetches(&state);
    next_page();
  });
  player.Run();
  site.PauseTimingDuringFetches(nullptr);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kPageBytes));
}

BENCHMARK(BM_TitlePageToFirstPlay)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

}  // namespace

BENCHMARK_MAIN();
