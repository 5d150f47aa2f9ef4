// The whole update of a 50 MB release (50 files of 1 MB that do not compress) as a user
// runs it: the local inventory (no local list), the list, the ranged downloads, the
// unpacking and the replacement, against korvane-demo-server on loopback. Beside
// it the tools doing the same work: curl making the same 20 KB ranged requests on one
// connection, plus unzip unpacking the same archives. Goal: within 1.1 times that sum.

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/support/temp_folder.h"
#include "bench/support/tool_runs.h"
#include "platform/core/clock.h"
#include "platform/core/path_map.h"
#include "platform/core/profile.h"
#include "platform/services/curl_http_client.h"
#include "platform/services/curl_http_request.h"
#include "platform/services/linux_file_system.h"
#include "platform/services/linux_named_events.h"
#include "platform/services/system_resolver.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/program.h"
#include "platform/ui/script.h"
#include "tools/encipher/encipher.h"
#include "tools/publish/zip_writer.h"
#include "update/wizard/update_program.h"
#include "update/wizard/update_resources.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace korvane;

constexpr int kFiles = 50;
constexpr std::size_t kFileLength = 1024 * 1024;
constexpr std::size_t kBlock = 20 * 1024;
constexpr const char* kInstallationId = "BENCH001";

// Bytes that do not compress, so an archive is about as large as its file.
std::string Incompressible(std::size_t length, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::string bytes(length, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random() >> 24);
  return bytes;
}

std::string FileName(int index) { return "file" + std::to_string(index) + ".bin"; }

void WriteBytes(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// A port that was free a moment ago.
int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    std::abort();
  }
  ::close(fd);
  return ntohs(address.sin_port);
}

bool Accepts(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(port);
  const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return connected;
}

// Version 1.0 installed, version 2.0 published with every file changed; the site served
// from its own thread.
class Release {
 public:
  Release() {
    fs::create_directories(Site() / "update");
    std::string list = "[版本]\r\n版本号=2.0\r\n";
    for (int index = 0; index < kFiles; ++index) {
      const std::string name = FileName(index);
      WriteBytes(Pristine() / name, Incompressible(kFileLength, 1000 + index));
      if (!tools::WriteZip(Site() / "update" / (name + ".zip"),
                           {{name, Incompressible(kFileLength, 2000 + index)}})) {
        std::abort();
      }
      list += "[" + name + "]\r\n文件名=" + name + "\r\n文件路径=\\" + name +
              "\r\n文件日期=2013年1月5日9时\r\n文件尺寸=" + std::to_string(kFileLength) + "\r\n";
    }
    if (!tools::WriteZip(Site() / "update" / "up.dat.zip", {{"up.dat", list}})) std::abort();
    WriteBytes(Site() / "zongkong" / "update" / "updatekg.txt", tools::EncipherToHex(2, "1"));
    StartServer();
    WriteBytes(Site() / "uid" / kInstallationId / "zhuye.txt",
               tools::EncipherToHex(2, Url("/")));
  }
  ~Release() {
    ::kill(server_, SIGTERM);
    ::waitpid(server_, nullptr, 0);
  }

  fs::path Pristine() const { return root_.path() / "pristine"; }
  fs::path Site() const { return root_.path() / "site"; }
  fs::path Program() const { return root_.path() / "program"; }
  fs::path Scratch() const { return root_.path() / "scratch"; }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

  // The program folder as version 1.0 left it, without a local list.
  void Reinstall() const {
    fs::remove_all(Program());
    fs::copy(Pristine(), Program(), fs::copy_options::recursive);
    platform::WriteIniValue(platform::CorePath(Program()) + "\\Config.ini", "Config", "UID",
                            tools::EncipherToHex(3, kInstallationId));
  }

 private:
  // korvane-demo-server on the site folder; up to 10 s to listen.
  void StartServer() {
    port_ = FreePort();
    std::string program = KORVANE_DEMO_SERVER;
    std::string folder = Site().string();
    std::string port = std::to_string(port_);
    char* argv[] = {program.data(), folder.data(), port.data(), nullptr};
    if (::posix_spawn(&server_, program.c_str(), nullptr, nullptr, argv, environ) != 0) std::abort();
    for (int tries = 0; !Accepts(port_); ++tries) {
      if (tries == 1000) std::abort();
      ::usleep(10000);
    }
  }

  bench::TempFolder root_;
  int port_ = -1;
  pid_t server_ = -1;
};

const Release& TheRelease() {
  static const Release release;
  return release;
}

// Next, Next, then OK once the update has ended; true when every file is the new one.
bool RunUpdate(const Release& release) {
  const auto files = platform::CreateLinuxFileSystem(release.Program());
  const auto http = platform::CreateCurlHttpClient();
  const auto requests = platform::CreateCurlHttpRequestFactory();
  const auto resolver = platform::CreateSystemNameResolver();
  const auto instances = platform::CreateLinuxNamedEvents();
  platform::ui::VirtualTimebase time;
  platform::ui::HeadlessBackend backend(time, http.get());
  platform::ui::ResourceBundle resources(embedded::UpdateResources());
  platform::ui::Program ui(backend, resources);
  platform::ui::Script script;
  backend.SetDriver(&script);
  script.Add("click", {"图形按钮_下一步"}).Add("click", {"图形按钮_下一步"}).Add("click", {"图形按钮_取消"});
  // The addresses are views: their texts live here.
  const std::string control_base = tools::EncipherToHex(1, release.Url("/"));
  const std::string list_folder = tools::EncipherToHex(1, release.Url("/update/"));
  update::UpdateServices services{ui,
                                  *files,
                                  *http,
                                  *requests,
                                  *resolver,
                                  *instances,
                                  platform::SystemClock(),
                                  [](std::string_view, std::string_view) {},
                                  {control_base, list_folder},
                                  "localhost"};
  update::UpdateProgram program(services);
  if (program.UpdateEntry() != 0) return false;
  return fs::exists(release.Program() / "up.dat") && !fs::exists(release.Program() / "update") &&
         fs::file_size(release.Program() / FileName(kFiles - 1)) == kFileLength;
}

void BM_WholeUpdate50MB(benchmark::State& state) {
  const Release& release = TheRelease();
  for (auto _ : state) {
    state.PauseTiming();
    release.Reinstall();
    state.ResumeTiming();
    if (!RunUpdate(release)) {
      state.SkipWithError("the update did not complete");
      break;
    }
  }
}

// The same ranged requests in one curl run (`next` between them, one connection), then
// unzip once per archive; the iteration time is the sum of the two.
void BM_CurlRangedPlusUnzip50MB(benchmark::State& state) {
  const Release& release = TheRelease();
  fs::create_directories(release.Scratch());
  const fs::path config = release.Scratch() / "ranges.curlrc";
  std::vector<fs::path> archives = {release.Site() / "update" / "up.dat.zip"};
  for (int index = 0; index < kFiles; ++index) archives.push_back(release.Site() / "update" / (FileName(index) + ".zip"));
  std::vector<bench::RangedResource> resources;
  for (const fs::path& archive : archives) {
    resources.push_back({release.Url("/update/" + archive.filename().string()), fs::file_size(archive)});
  }
  bench::WriteRangedCurlConfig(config, resources, kBlock);
  const std::string download = "curl -K " + config.string() + " > " + (release.Scratch() / "downloaded").string();
  const fs::path unpacked = release.Scratch() / "unpacked";
  bench::RunEachIteration(
      state,
      [&] {
        if (!bench::RunShell(download)) return false;
        for (const fs::path& archive : archives) {
          if (!bench::RunUnzipTool(archive, unpacked)) return false;
        }
        return true;
      },
      "curl or unzip failed");
}

BENCHMARK(BM_WholeUpdate50MB)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(5);
BENCHMARK(BM_CurlRangedPlusUnzip50MB)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(5);

}  // namespace

BENCHMARK_MAIN();
