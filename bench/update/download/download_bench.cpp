// A 50 MB download in the updater's 20 KB blocks, one request per block on one kept-alive
// connection, against the curl tool fetching the same file from the same loopback server
// in one stream. Goal: at most 3.5 times curl's time.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "bench/update/download/memory_file_server.h"
#include "platform/core/clock.h"
#include "platform/services/curl_http_request.h"
#include "tests/update/download/memory_file_system.h"
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

void BM_RangedDownload20KBlocks(benchmark::State& state) {
  const std::string url = Server().Url();
  const auto http = korvane::platform::CreateCurlHttpRequestFactory();
  for (auto _ : state) {
    korvane::testing_support::MemoryFileSystem files;
    korvane::update::RangeDownloader downloader(*http, files, korvane::platform::SystemClock());
    downloader.Init(nullptr, nullptr);
    downloader.SetLocalFile("\\update\\temp\\file.bin.zip");
    downloader.SetUrl(url, "");
    downloader.SetBlockSize(20);
    if (!downloader.Download() || files.files.begin()->second.bytes.size() != kResourceLength) {
      state.SkipWithError("the download did not complete");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kResourceLength));
}

void BM_CurlToolOneStream(benchmark::State& state) {
  const std::string command = "curl --silent --fail --output /dev/null " + Server().Url();
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("curl failed");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kResourceLength));
}

BENCHMARK(BM_RangedDownload20KBlocks)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_CurlToolOneStream)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

}  // namespace

BENCHMARK_MAIN();
