// The updater's inventory writes three keys for each file of the program folder.
// Through a batch they cost one parse and one atomic file write; written one by one,
// each write rewrites the whole file.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "platform/core/path_map.h"
#include "platform/core/profile.h"

namespace {

using korvane::platform::CorePath;

std::string FreshFile(const char* name) {
  std::filesystem::path path = std::filesystem::temp_directory_path() / name;
  std::filesystem::remove(path);
  return CorePath(path);
}

void WriteInventory(benchmark::State& state, bool batched) {
  const int sections = static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::string file = FreshFile(batched ? "korvane-bench-batch.dat" : "korvane-bench-each.dat");
    korvane::platform::ProfileBatch batch(file);
    for (int i = 0; i < sections; ++i) {
      std::string section = "文件" + std::to_string(i);
      std::string name = "folder\\file" + std::to_string(i) + ".dll";
      for (auto [key, value] : {std::pair{"文件名", name}, std::pair{"文件日期", std::string("2012-12-29 10:00:00")},
                                std::pair{"文件尺寸", std::to_string(i * 1024)}}) {
        if (batched) {
          batch.Write(section, key, value);
        } else {
          korvane::platform::WriteIniValue(file, section, key, value);
        }
      }
    }
    if (batched) batch.Commit();
  }
  state.SetItemsProcessed(state.iterations() * sections * 3);
}

void BM_InventoryThroughBatch(benchmark::State& state) { WriteInventory(state, true); }
void BM_InventoryOneRewritePerWrite(benchmark::State& state) { WriteInventory(state, false); }

BENCHMARK(BM_InventoryThroughBatch)->Arg(10000)->Unit(benchmark::kMillisecond);
// The per-write road at full size takes tens of seconds; a tenth shows its cost per write.
BENCHMARK(BM_InventoryOneRewritePerWrite)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
