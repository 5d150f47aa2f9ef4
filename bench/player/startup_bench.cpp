// A whole start of the player with the most fetches (17: the text ads of the box, the
// corner-ad box switch) and the statistics page, headless on virtual time, against the
// curl tool fetching the same 18 files from the same local server on one connection.
// Goal: the start within 2 times curl's time. The server is the demo operator's, which
// answers at once; this source is UTF-8 (the server's thread needs <chrono>), so the
// switch values are written as their GBK bytes.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/player/bench_player.h"
#include "bench/support/tool_runs.h"
#include "platform/services/curl_http_client.h"
#include "platform/testing/temp_program_folder.h"
#include "tools/demo_server/site_server.h"

namespace {

using namespace korvane;
using namespace korvane::player::remote;

constexpr char kOn[] = "\xBF\xAA";   // 开
constexpr char kOff[] = "\xB9\xD8";  // 关

struct Site {
  platform::testing::TempProgramFolder program_folder;
  std::filesystem::path served = program_folder.path() / "served";
  tools::SiteServer server{served};
  int port = server.Bind(0);
  std::thread serving{[this] { server.Serve(); }};
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
};

Site& TheSite() {
  static Site site;
  return site;
}

void BM_PlayerStartup(benchmark::State& state) {
  Site& site = TheSite();
  for (auto _ : state) {
    const std::unique_ptr<platform::HttpClient> http = platform::CreateCurlHttpClient();
    bench::BenchPlayer player(*http, site.program_folder, site.Url("/"));
    player.Run();  // ends as stalled once start-up and its loads have run
  }
}

void BM_CurlToolSameFilesOneConnection(benchmark::State& state) {
  std::string command = "curl --silent --fail";
  for (const std::string& url : TheSite().urls) command += " --output /dev/null '" + url + "'";
  bench::RunEachIteration(state, [&] { return bench::RunShell(command); }, "curl failed");
}

BENCHMARK(BM_PlayerStartup)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_CurlToolSameFilesOneConnection)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

}  // namespace

BENCHMARK_MAIN();
