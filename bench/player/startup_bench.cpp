// A whole start of the player with the most fetches (17: the text ads of the box, the
// corner-ad box switch) and the statistics page, against the curl tool fetching the same
// 18 files from the same local server on one connection. Goal: the start within 2 times
// curl's time, both as whole processes: the real `Player`, headless on virtual time,
// started until it ends after its start-up (as stalled: no script). The same start in
// this process shows what is the program's own work. The server is the demo operator's,
// which answers at once, on the deployment's port (where the program looks for it,
// taken in turn with the tests and the demo); this source is UTF-8 (the server's thread
// needs <chrono>), so the switch values are written as their GBK bytes.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/player/bench_player.h"
#include "bench/support/tool_runs.h"
#include "common/cipher.h"
#include "deploy/deployment.h"
#include "platform/services/curl_http_client.h"
#include "platform/testing/temp_program_folder.h"
#include "tools/demo_server/site_server.h"

extern char** environ;

namespace {

using namespace korvane;
using namespace korvane::player::remote;

constexpr char kOn[] = "\xBF\xAA";   // 开
constexpr char kOff[] = "\xB9\xD8";  // 关

// The deployment's port, for this process alone while it lives: the tests and the demo
// wait for the same lock file.
struct PortLock {
  int port = tools::PortOfAddress(DecipherHexTextKey1(deploy::PlayerControlBase()));
  int fd = ::open(("/tmp/korvane-test-port-" + std::to_string(port) + ".lock").c_str(), O_RDWR | O_CREAT, 0666);
  bool held = fd >= 0 && ::flock(fd, LOCK_EX) == 0;
  ~PortLock() {
    if (fd >= 0) ::close(fd);
  }
};

struct Site {
  PortLock lock;
  platform::testing::TempProgramFolder program_folder;
  std::filesystem::path served = program_folder.path() / "served";
  tools::SiteServer server{served};
  std::atomic<int> requests{0};
  int port = server.Bind(lock.port);
  std::thread serving{[this] {
    server.SetRequestLog([this](const std::string&, int) { ++requests; });
    server.Serve();
  }};
  std::vector<std::string> urls;  // every file a start fetches, in order

  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port) + path; }
  ~Site() {
    server.Stop();
    serving.join();
  }

  Site() {
    std::filesystem::create_directories(served);
    bench::WriteInstallation(program_folder);
    const std::string home = Url("/home/");
    const std::pair<const player::RemoteFile*, std::string> files[] = {
        {&kCataloguePage, ""}, {&kFindPage, ""}, {&kHomeAddress, home},
        {&kTextAdSwitch, "ok"}, {&kPauseAdSwitch, "1"}, {&kExitAdSwitch, "0"},
        {&kProviderName, "Demo"}, {&kVersionFlag, "no"}, {&kTextAdBoxSwitch, kOn},
        {&kBoxTextAd1Address, "http://a/1"}, {&kBoxTextAd2Address, "http://a/2"},
        {&kBoxTextAd1Caption, "ad 1"}, {&kBoxTextAd2Caption, "ad 2"},
        {&kBoxTextAd1Tip, "tip 1"}, {&kBoxTextAd2Tip, "tip 2"},
        {&kCornerAdSwitch, "2"}, {&kCornerAdBoxSwitch, kOff}};
    for (const auto& [file, value] : files) {
      const bench::SiteFile site_file = bench::ServedRemoteFile(*file, value);
      Write(site_file.path, site_file.bytes);
      urls.push_back(Url("/" + site_file.path));
    }
    Write("zongkong/tongji/azltj.html", "<html></html>");
    urls.push_back(Url("/zongkong/tongji/azltj.html?B1"));
  }

  void Write(const std::string& path, const std::string& bytes) const {
    std::filesystem::create_directories((served / path).parent_path());
    std::ofstream(served / path, std::ios::binary) << bytes;
  }

  // Runs `starts` and reports the requests the server answered per start, once it has
  // answered them all (it counts just after each answer).
  template <typename Start>
  void Measure(benchmark::State& state, const Start& start) {
    // The benchmark's layout of the site holds the deployment's: its control base is the root.
    if (!lock.held || port != lock.port || Url("/") != DecipherHexTextKey1(deploy::PlayerControlBase())) {
      state.SkipWithError("the deployment's port is taken, or its control base is not the site's root");
      return;
    }
    const int before = requests;
    start();
    const int expected = before + static_cast<int>(state.iterations() * urls.size());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (requests < expected && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    if (requests != expected) state.SkipWithError("a start did not fetch every file of the site");
    state.counters["requests"] = benchmark::Counter(requests - before, benchmark::Counter::kAvgIterations);
  }
};

Site& TheSite() {
  static Site site;
  return site;
}

// The real program, headless on virtual time in the site's program folder, without a
// script: it ends as stalled (124) once start-up and its loads have run.
bool RunPlayerProcess(std::vector<char*>& environment) {
  char* argv[] = {const_cast<char*>(KORVANE_PLAYER_PROGRAM), nullptr};
  pid_t pid = 0;
  int status = 0;
  return ::posix_spawn(&pid, KORVANE_PLAYER_PROGRAM, nullptr, nullptr, argv, environment.data()) == 0 &&
         ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 124;
}

void BM_PlayerStartupProcess(benchmark::State& state) {
  Site& site = TheSite();
  std::vector<std::string> variables;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (std::string(*entry).rfind("KORVANE_", 0) != 0) variables.emplace_back(*entry);
  }
  variables.insert(variables.end(), {"KORVANE_UI=headless", "KORVANE_UI_TIME=virtual",
                                     "KORVANE_PROGRAM_FOLDER=" + site.program_folder.path().string()});
  std::vector<char*> environment;
  for (std::string& variable : variables) environment.push_back(variable.data());
  environment.push_back(nullptr);
  site.Measure(state, [&] {
    bench::RunEachIteration(state, [&] { return RunPlayerProcess(environment); }, "the player did not end as stalled");
  });
}

void BM_PlayerStartupInProcess(benchmark::State& state) {
  Site& site = TheSite();
  site.Measure(state, [&] {
    for (auto _ : state) {
      const std::unique_ptr<platform::HttpClient> http = platform::CreateCurlHttpClient();
      bench::BenchPlayer player(*http, site.program_folder, site.Url("/"));
      player.Run();  // ends as stalled once start-up and its loads have run
    }
  });
}

void BM_CurlToolSameFilesOneConnection(benchmark::State& state) {
  Site& site = TheSite();
  std::string command = "curl --silent --fail";
  for (const std::string& url : site.urls) command += " --output /dev/null '" + url + "'";
  site.Measure(state, [&] { bench::RunEachIteration(state, [&] { return bench::RunShell(command); }, "curl failed"); });
}

BENCHMARK(BM_PlayerStartupProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_PlayerStartupInProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_CurlToolSameFilesOneConnection)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

}  // namespace

BENCHMARK_MAIN();
