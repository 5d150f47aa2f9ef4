#include "bench/support/tool_runs.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>

extern char** environ;

namespace korvane::bench {

void RunEachIteration(benchmark::State& state, const std::function<bool()>& step, const char* error) {
  for (auto _ : state) {
    if (!step()) {
      state.SkipWithError(error);
      break;
    }
  }
}

bool RunShell(const std::string& command) { return std::system(command.c_str()) == 0; }

bool RunUnzipTool(const std::filesystem::path& archive, const std::filesystem::path& folder) {
  std::string archive_path = archive.string();
  std::string folder_path = folder.string();
  char* argv[] = {const_cast<char*>("unzip"), const_cast<char*>("-o"), const_cast<char*>("-qq"),
                  archive_path.data(), const_cast<char*>("-d"), folder_path.data(), nullptr};
  pid_t pid = 0;
  int status = 0;
  return ::posix_spawnp(&pid, "unzip", nullptr, nullptr, argv, environ) == 0 && ::waitpid(pid, &status, 0) == pid &&
         WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void WriteRangedCurlConfig(const std::filesystem::path& config, const std::vector<RangedResource>& resources,
                           std::size_t block) {
  std::ofstream out(config);
  bool first_request = true;
  for (const RangedResource& resource : resources) {
    for (std::size_t first = 0; first < resource.length; first += block) {
      if (!first_request) out << "next\n";
      first_request = false;
      out << "silent\nfail\nurl = \"" << resource.url << "\"\nrange = \"" << first << "-" << first + block - 1
          << "\"\n";
    }
  }
}

}  // namespace korvane::bench
