// A film's title page of 10 MB with 100, 1,000 and 5,000 episode links, reached in the
// film-library browser: from its Navigated event to the first episode playing on the
// engine (the scrape, the programme list rebuilt with every episode when the page
// completes, the pause-ad page and the play), on the real player, headless on virtual
// time, so the 500 ms status pause passes at once. The sites answer from memory and the
// fetches are left out of the time. Two such films take turns, so every iteration plays
// another film. An iteration ends when the player is idle again, so it also holds what
// follows the play (the toggle, the status texts and the memory timer's ticks that fell
// due). Goal: under 20 ms at 5,000. The same road on the desktop:
// desktop_title_page_bench.cpp.

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

#include "bench/player/bench_player.h"
#include "bench/player/memory_site.h"

namespace {

using namespace korvane;

constexpr int kFilms = 2;

void BM_TitlePageToFirstPlay(benchmark::State& state) {
  const int episodes = static_cast<int>(state.range(0));
  bench::MemorySite site;
  bench::ServePlayerStart(site);
  for (int film = 0; film < kFilms; ++film) {
    site.Serve(bench::FilmPagePath(film), bench::FilmPage(film, bench::kTitlePageBytes, episodes));
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
      if (main.Find<platform::ui::PlaybackEngine>("快播播放器").MediaAddress() != bench::EpisodeAddress(film, 1) ||
          main.Find<platform::ui::TreeBox>("主窗体播放器节目列表").ItemCount() != episodes + 1) {
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
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bench::kTitlePageBytes));
}

BENCHMARK(BM_TitlePageToFirstPlay)
    ->ArgName("episodes")
    ->Arg(100)
    ->Arg(1000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2);

}  // namespace

BENCHMARK_MAIN();
