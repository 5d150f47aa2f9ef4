// A whole start of the player with the most fetches (17: the text ads of the box, the
// corner-ad box switch) and the statistics page, headless on virtual time, against the
// curl tool fetching the same 18 files from the same local server on one connection.
// Goal: the start within 2 times curl's time. The server is the demo operator's, which
// answers at once; this source is UTF-8 (the server's thread needs <chrono>), so the
// switch values are written as their GBK bytes.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/profile.h"
#include "platform/services/curl_http_client.h"
#include "platform/testing/fake_name_resolver.h"
#include "platform/testing/fake_named_events.h"
#include "platform/testing/fake_shell.h"
#include "platform/testing/temp_program_folder.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/script.h"
#include "player/startup/player_program.h"
#include "resources/player_resources.h"
#include "tools/demo_server/site_server.h"
#include "tools/encipher/encipher.h"

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
  std::string control = tools::EncipherToHex(1, Url("/"));
  std::string uid_prefix = tools::EncipherToHex(1, Url("/uid/"));
  std::vector<std::string> urls;  // every file a start fetches, in order

  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port) + path; }
  ~Site() {
    server.Stop();
    serving.join();
  }

  Site() {
    std::filesystem::create_directories(served);
    program_folder.Write("\\Config.ini", "[Config]\r\nUID=" + tools::EncipherToHex(3, "B1") + "\r\n");
    program_folder.Write("\\PlayerConfig.ini", "");
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
      std::string path;
      switch (file->base) {
        case player::RemoteBase::kControl: path = std::string(file->path); break;
        case player::RemoteBase::kUid: path = "uid/B1/" + std::string(file->path); break;
        case player::RemoteBase::kHome: path = "home/" + std::string(file->path); break;
      }
      Write(path, file->form == player::RemoteForm::kKey2 ? tools::EncipherToHex(2, value) : value);
      urls.push_back(Url("/" + path));
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
  platform::testing::FakeNameResolver resolver;
  resolver.Resolve("probe.test", "127.0.0.1");
  for (auto _ : state) {
    const std::unique_ptr<platform::HttpClient> http = platform::CreateCurlHttpClient();
    platform::testing::FakeNamedEvents events;
    platform::testing::FakeShell shell;
    platform::ui::VirtualTimebase time;
    platform::ui::HeadlessBackend backend(time, http.get());
    platform::ui::ResourceBundle resources(embedded::PlayerResources());
    platform::ui::Program ui(backend, resources);
    platform::ui::Script script;
    backend.SetDriver(&script);
    player::PlayerServices services{ui,     site.program_folder.files(), *http, resolver, events,
                                    shell, {site.control, site.uid_prefix, {}}, "probe.test"};
    player::PlayerProgram program(services);
    program.PlayerEntry();  // ends as stalled once start-up and its loads have run
  }
}

void BM_CurlToolSameFilesOneConnection(benchmark::State& state) {
  std::string command = "curl --silent --fail";
  for (const std::string& url : TheSite().urls) command += " --output /dev/null '" + url + "'";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("curl failed");
      break;
    }
  }
}

BENCHMARK(BM_PlayerStartup)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_CurlToolSameFilesOneConnection)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

}  // namespace

BENCHMARK_MAIN();
