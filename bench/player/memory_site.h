#pragma once
// The operator's and the catalogue's sites answered from memory, for the benchmarks that
// time the player itself: a file is found by the address's path below the root (the
// query is not looked at), any other address gives no answer. Nothing is recorded, so
// the site's memory stays what it was however long a run goes on.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

#include "common/text.h"
#include "platform/services/http.h"

namespace korvane::bench {

class MemorySite final : public platform::HttpClient {
 public:
  static constexpr std::string_view kRoot = "http://site.test/";

  void Serve(std::string path, std::string bytes) { files_[std::move(path)] = std::move(bytes); }
  // While `state` is set, its timing pauses during each fetch: handing the bytes over is
  // the network's time, not the player's.
  void PauseTimingDuringFetches(benchmark::State* state) { timed_ = state; }

  std::string HttpGetBytes(std::string_view address, const platform::FetchLimits& limits) override;

 private:
  std::map<std::string, std::string, std::less<>> files_;
  benchmark::State* timed_ = nullptr;
};

// A start of the player on this site: the catalogue and find start pages (no title
// pages), the home address, the provider name and version flag, and every ad switch off
// but the pause ad's, so that each change of episode fetches the pause-ad page.
void ServePlayerStart(MemorySite& site);

// Film `film`'s title page in "home/film/", as the catalogue links it.
std::string FilmPagePath(int film);
Text FilmPageAddress(int film, int id);
// The size of the title pages whose road to the first play the benchmarks time.
inline constexpr std::size_t kTitlePageBytes = 10 * 1024 * 1024;
// Film `film`'s title page of about `bytes` bytes linking `episodes` episodes, each at
// EpisodeAddress (an address that answers nothing).
std::string FilmPage(int film, std::size_t bytes, int episodes);
std::string EpisodeAddress(int film, int episode);

}  // namespace korvane::bench
