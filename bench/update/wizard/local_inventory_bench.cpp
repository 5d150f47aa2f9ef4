// The local inventory of a program folder of 10,000 files (100 folders of 100 files):
// the scan, a date per file and one atomic write of the whole list.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/core/path_map.h"
#include "platform/services/linux_file_system.h"
#include "update/wizard/local_inventory.h"

namespace {

namespace fs = std::filesystem;

class NoPacer : public korvane::update::ScanPacer {
 public:
  void ProcessPendingMessages() override {}
  void SetWaitCursor() override {}
  void RestoreCursor() override {}
};

fs::path MakeProgramFolder(int folders, int files_per_folder) {
  const fs::path root = fs::temp_directory_path() / "korvane-bench-inventory";
  fs::remove_all(root);
  for (int folder = 0; folder < folders; ++folder) {
    const fs::path sub = root / ("folder" + std::to_string(folder));
    fs::create_directories(sub);
    for (int file = 0; file < files_per_folder; ++file) {
      std::ofstream(sub / ("f" + std::to_string(folder) + "_" + std::to_string(file) + ".dll")) << "x";
    }
  }
  return root;
}

void LocalInventory(benchmark::State& state) {
  const fs::path root = MakeProgramFolder(100, static_cast<int>(state.range(0)) / 100);
  const korvane::Text folder = korvane::platform::CorePath(root);
  auto files = korvane::platform::CreateLinuxFileSystem(root);
  NoPacer pacer;
  for (auto _ : state) {
    fs::remove(root / "up.dat");
    benchmark::DoNotOptimize(korvane::update::BuildLocalInventory(*files, pacer, folder));
  }
  fs::remove_all(root);
}
BENCHMARK(LocalInventory)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
