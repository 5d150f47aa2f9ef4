// Unpacking an update's files as the updater does it: one archive per file, each
// unpacked into the work folder, 200 files of 256 KB (50 MB in all), against the unzip
// tool run once per archive on the same archives. Goal: at most 0.75 of unzip's time.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/temp_folder.h"
#include "bench/support/tool_runs.h"
#include "platform/core/path_map.h"
#include "platform/services/unzip.h"
#include "tools/publish/zip_writer.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFileCount = 200;
constexpr std::size_t kFileLength = 256 * 1024;

// Text-like content, so that deflate has the kind of work program files give it.
std::string FileContent(int seed) {
  static const char* const kWords[] = {"player", "update", "0x00401000", "kernel32", "\x90\x90",
                                       "GetProcAddress", "\0\0\0\0", "catalogue", "\xFF\xFE"};
  std::string content;
  content.reserve(kFileLength);
  std::uint32_t state = static_cast<std::uint32_t>(seed) * 2654435761u + 1;
  while (content.size() < kFileLength) {
    state = state * 1103515245u + 12345u;
    content += kWords[(state >> 16) % 9];
    content += static_cast<char>(state >> 24);
  }
  content.resize(kFileLength);
  return content;
}

class Archives {
 public:
  Archives() {
    std::filesystem::create_directories(folder_.path() / "archives");
    for (int i = 0; i < kFileCount; ++i) {
      std::string name = "file" + std::to_string(i) + ".dll";
      fs::path archive = folder_.path() / "archives" / (name + ".zip");
      if (!korvane::tools::WriteZip(archive, {{name, FileContent(i)}})) std::abort();
      paths_.push_back(archive);
    }
  }

  const std::vector<fs::path>& paths() const { return paths_; }
  fs::path FreshTarget() const { return folder_.FreshFolder("target"); }

 private:
  korvane::bench::TempFolder folder_;
  std::vector<fs::path> paths_;
};

const Archives& TheArchives() {
  static const Archives archives;
  return archives;
}

void BM_UnzipToDirectory(benchmark::State& state) {
  const Archives& archives = TheArchives();
  for (auto _ : state) {
    state.PauseTiming();
    korvane::Text target = korvane::platform::CorePath(archives.FreshTarget());
    state.ResumeTiming();
    for (const fs::path& archive : archives.paths()) {
      if (!korvane::platform::UnzipToDirectory(korvane::platform::CorePath(archive), target)) {
        state.SkipWithError("unpacking failed");
        return;
      }
    }
  }
  state.SetBytesProcessed(state.iterations() * kFileCount * static_cast<std::int64_t>(kFileLength));
}

void BM_UnzipTool(benchmark::State& state) {
  const Archives& archives = TheArchives();
  for (auto _ : state) {
    state.PauseTiming();
    const fs::path target = archives.FreshTarget();
    state.ResumeTiming();
    for (const fs::path& archive : archives.paths()) {
      if (!korvane::bench::RunUnzipTool(archive, target)) {
        state.SkipWithError("the unzip tool failed");
        return;
      }
    }
  }
  state.SetBytesProcessed(state.iterations() * kFileCount * static_cast<std::int64_t>(kFileLength));
}

BENCHMARK(BM_UnzipToDirectory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnzipTool)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
