#pragma once
// The command-line tools a benchmark compares the programs with (curl, unzip), and the
// loop that runs them.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace korvane::bench {

// Runs `step` once per iteration; the first time it fails, the benchmark ends with `error`.
void RunEachIteration(benchmark::State& state, const std::function<bool()>& step, const char* error);

// `command` through the shell; true when it exits with 0.
bool RunShell(const std::string& command);

// The unzip tool on its own (no shell) unpacking `archive` into `folder`, replacing what
// is there; true when it exits with 0.
bool RunUnzipTool(const std::filesystem::path& archive, const std::filesystem::path& folder);

struct RangedResource {
  std::string url;
  std::size_t length = 0;
};

// A curl config that asks for each resource in turn in ranges of `block` bytes, `next`
// between the requests, so that one `curl -K` run makes them all on one connection; the
// answers go to standard output.
void WriteRangedCurlConfig(const std::filesystem::path& config, const std::vector<RangedResource>& resources,
                           std::size_t block);

}  // namespace korvane::bench
