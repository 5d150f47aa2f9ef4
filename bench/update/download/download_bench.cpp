// A 50 MB download in the updater's 20 KB blocks, one request per block on one kept-alive
// connection, against the curl tool on the same loopback server: making the same 20 KB
// ranged requests on one connection (the cost of the design itself; goal: within 1.1
// times its time), and fetching the file in one stream (for comparison). All write a
// file in the same temporary folder.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/support/temp_folder.h"
#include "bench/support/tool_runs.h"
#include "bench/update/download/memory_file_server.h"
#include "platform/core/clock.h"
#include "platform/core/path_map.h"
#include "platform/services/curl_http_request.h"
#include "platform/services/linux_file_system.h"
#include "update/download/range_downloader.h"

namespace {

constexpr std::size_t kResourceLength = 50 * 1024 * 1024;

const korvane::bench::MemoryFileServer& Server() {
  static const korvane::bench::MemoryFileServer server = [] {
    std::string content(kResourceLength, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 131 >> 3);
    return korvane::bench::MemoryFileServer(std::move(content));
  }();
  return server;
}

const korvane::bench::TempFolder& Folder() {
  static const korvane::bench::TempFolder folder;
  return folder;
}

// 1 when every block of a transfer went over the transfer's one connection.
void ReportConnectionsPerDownload(benchmark::State& state, int connections_before) {
  state.counters["connections_per_download"] = benchmark::Counter(
      static_cast<double>(Server().ConnectionCount() - connections_before) / static_cast<double>(state.iterations()));
}

void BM_RangedDownload20KBlocks(benchmark::State& state) {
  const std::string url = Server().Url();
  const auto http = korvane::platform::CreateCurlHttpRequestFactory();
  const auto files = korvane::platform::CreateLinuxFileSystem();
  const int connections_before = Server().ConnectionCount();
  for (auto _ : state) {
    const std::filesystem::path local = Folder().FreshFile("ranged.bin.zip");
    korvane::update::RangeDownloader downloader(*http, *files, korvane::platform::SystemClock());
    downloader.Init(nullptr, nullptr);
    downloader.SetLocalFile(korvane::platform::CorePath(local));
    downloader.SetUrl(url, "");
    downloader.SetBlockSize(20);
    if (!downloader.Download() || std::filesystem::file_size(local) != kResourceLength) {
      state.SkipWithError("the download did not complete");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kResourceLength));
  ReportConnectionsPerDownload(state, connections_before);
}

void BM_CurlToolOneStream(benchmark::State& state) {
  const std::string url = Server().Url();
  korvane::bench::RunEachIteration(
      state,
      [&] {
        const std::filesystem::path local = Folder().FreshFile("curl.bin.zip");
        return korvane::bench::RunShell("curl --silent --fail --output " + local.string() + " " + url) &&
               std::filesystem::file_size(local) == kResourceLength;
      },
      "curl failed");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kResourceLength));
}

// One curl run: each block a URL section of the config, `next` between them, so every
// request reuses the one connection; the answers go to standard output, into the file.
void BM_CurlToolRanged20KBlocks(benchmark::State& state) {
  const std::filesystem::path config = Folder().FreshFile("ranges.curlrc");
  korvane::bench::WriteRangedCurlConfig(config, {{Server().Url(), kResourceLength}}, 20 * 1024);
  const int connections_before = Server().ConnectionCount();
  korvane::bench::RunEachIteration(
      state,
      [&] {
        const std::filesystem::path local = Folder().FreshFile("curl-ranged.bin.zip");
        return korvane::bench::RunShell("curl -K " + config.string() + " > " + local.string()) &&
               std::filesystem::file_size(local) == kResourceLength;
      },
      "curl failed");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kResourceLength));
  ReportConnectionsPerDownload(state, connections_before);
}

BENCHMARK(BM_RangedDownload20KBlocks)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_CurlToolRanged20KBlocks)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_CurlToolOneStream)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

}  // namespace

BENCHMARK_MAIN();
