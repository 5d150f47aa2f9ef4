// One run of the real player opening 1,000 film title pages, one after another, in the
// film-library and find browsers by turns, each page scraped, its programme list
// rebuilt and its first episode played, headless on virtual time (the memory timer
// ticks as the status pauses pass). Ten films of 100 KB to 1 MB with 40 to 400
// episodes, each page at an address of its own. Goal: the resident memory after the
// 1,000th page within 5 MB of that after the 100th; the heap in use beside it.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/player/bench_player.h"
#include "bench/player/memory_site.h"
#include "bench/support/catalogue_page.h"

namespace {

using namespace korvane;

constexpr int kPages = 1000;
constexpr int kFirstMeasuredPage = 100;
constexpr int kFilms = 10;
constexpr double kMegabyte = 1024.0 * 1024.0;

double ResidentMegabytes() {
  long pages = 0;
  long resident = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr || std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
  if (statm != nullptr) std::fclose(statm);
  return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / kMegabyte;
}

double HeapInUseMegabytes() {
  const struct mallinfo2 info = ::mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd) / kMegabyte;
}

void BM_ThousandTitlePages(benchmark::State& state) {
  bench::MemorySite site;
  bench::ServePlayerStart(site);
  for (int film = 0; film < kFilms; ++film) {
    std::vector<std::string> addresses;
    for (int episode = 1; episode <= 40 * (film + 1); ++episode) {
      addresses.push_back("http://v.test/film" + std::to_string(film) + "/" + std::to_string(episode) + ".mp4");
    }
    site.Serve(bench::FilmPagePath(film),
               bench::CataloguePage((film + 1) * 100 * 1024, "影片" + std::to_string(film), addresses));
  }
  for (auto _ : state) {
    platform::testing::TempProgramFolder folder;
    bench::WriteInstallation(folder);
    bench::BenchPlayer player(site, folder, bench::MemorySite::kRoot);
    double resident_first = 0;
    double heap_first = 0;
    bool played_last = false;
    int pages = 0;
    // Each action runs once the page before it has played; the last one measures while
    // the player still runs.
    std::function<void()> next_page = [&] {
      if (pages == kFirstMeasuredPage) {
        resident_first = ResidentMegabytes();
        heap_first = HeapInUseMegabytes();
      }
      if (pages == kPages) {
        state.counters["resident_at_100_MB"] = resident_first;
        state.counters["resident_at_1000_MB"] = ResidentMegabytes();
        state.counters["resident_growth_MB"] = ResidentMegabytes() - resident_first;
        state.counters["heap_growth_KB"] = (HeapInUseMegabytes() - heap_first) * 1024;
        played_last = player.Main().Find<platform::ui::PlaybackEngine>("快播播放器").MediaAddress() ==
                      "http://v.test/film" + std::to_string((kPages - 1) % kFilms) + "/1.mp4";
        return;
      }
      player.NavigateInView(pages % 2 == 0, bench::FilmPageAddress(pages % kFilms, pages));
      ++pages;
      player.script.Call(next_page);
    };
    player.script.Call(next_page);
    player.Run();
    if (!played_last) {
      state.SkipWithError("the run did not play every page");
      break;
    }
  }
}

BENCHMARK(BM_ThousandTitlePages)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
