// Unpacking an update's files as the updater does it: one archive per file, each
// unpacked into the work folder, 200 files of 256 KB (50 MB in all), against the unzip
// tool run once per archive on the same archives. Goal: at most 0.75 of unzip's time.

#include <benchmark/benchmark.h>

#include <minizip/zip.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/core/path_map.h"
#include "platform/services/unzip.h"

extern char** environ;

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
    std::string pattern = (fs::temp_directory_path() / "korvane-bench-unzip-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    root_ = pattern;
    fs::create_directories(root_ / "archives");
    for (int i = 0; i < kFileCount; ++i) {
      std::string name = "file" + std::to_string(i) + ".dll";
      fs::path archive = root_ / "archives" / (name + ".zip");
      zipFile zip = zipOpen64(archive.c_str(), APPEND_STATUS_CREATE);
      std::string content = FileContent(i);
      zip_fileinfo info{};
      if (zip == nullptr ||
          zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                Z_DEFAULT_COMPRESSION, 0) != ZIP_OK ||
          zipWriteInFileInZip(zip, content.data(), static_cast<unsigned>(content.size())) != ZIP_OK ||
          zipCloseFileInZip(zip) != ZIP_OK || zipClose(zip, nullptr) != ZIP_OK) {
        std::abort();
      }
      paths_.push_back(archive);
    }
  }
  ~Archives() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  const std::vector<fs::path>& paths() const { return paths_; }
  fs::path FreshTarget() const {
    fs::path target = root_ / "target";
    fs::remove_all(target);
    fs::create_directories(target);
    return target;
  }

 private:
  fs::path root_;
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
    std::string target = archives.FreshTarget().string();
    state.ResumeTiming();
    for (const fs::path& archive : archives.paths()) {
      std::string path = archive.string();
      char* argv[] = {const_cast<char*>("unzip"), const_cast<char*>("-o"), const_cast<char*>("-qq"),
                      path.data(), const_cast<char*>("-d"), target.data(), nullptr};
      pid_t pid = 0;
      int status = 0;
      if (::posix_spawnp(&pid, "unzip", nullptr, nullptr, argv, environ) != 0 ||
          ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
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
