#pragma once
// Runs the real `Player` program as a black box: a program folder of the test's own with
// both configuration files, the remote control files served by a local HTTP server at
// the deployment's built-in addresses (enciphered with the demo keys, placed by the
// program's own table of remote files), a script and the dump the program leaves.

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/text.h"
#include "player/core/remote_files.h"
#include "tests/support/black_box_run.h"
#include "tests/support/port_relay.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_http_server.h"

namespace korvane::player::testing {

using testing_support::Gbk;
using testing_support::ProgramRun;

inline constexpr std::string_view kInstallationId = "E2E1";

// The two catalogue browsers of the main window.
inline constexpr char kLibrary[] = "主界面片库浏览器";
inline constexpr char kFind[] = "主界面找片浏览器";
// A script step: the user opens the browser's view and follows a link in it.
std::string Navigate(std::string_view browser, const Text& address);

class PlayerProgramRun {
 public:
  PlayerProgramRun();

  std::filesystem::path Installed(std::string_view relative) const;
  void WriteFile(const std::filesystem::path& file, std::string_view bytes) const;
  std::string ReadFile(const std::filesystem::path& file) const;

  // Serves `value` as the file's body: enciphered with key 2 for a key-2 file, as it
  // stands for a plain one.
  void Serve(const RemoteFile& file, std::string_view value) const;
  // Serves `body` exactly.
  void ServeBody(const RemoteFile& file, std::string_view body) const;
  // The request target of a file ("/zongkong/ads/adskg.txt").
  std::string TargetOf(const RemoteFile& file) const;
  // The home address served: the server's own "home/" folder.
  Text HomeAddress() const;
  // The two catalogue browsers' start pages, below the home address.
  Text CataloguePage() const { return HomeAddress() + "pianku/"; }
  Text FindPage() const { return HomeAddress() + "zhaopian/"; }
  // A start that prompts no update and shows no text or corner ad; the pause-ad switch
  // is "1".
  void ServeQuietStart() const;
  std::string StatisticsTarget(std::string_view uid) const;
  // Serves `body` as a GBK page at "film/<name>.html" below the home address; the page's
  // address with `query` after it.
  Text ServeFilmPage(std::string_view name, std::string body, std::string_view query);
  // Where the file served at `relative` below the home address lies ("film/1.mp4").
  std::filesystem::path ServedBelowHome(std::string_view relative) const;

  // Every request of this program that the server saw, in order, and their targets.
  std::vector<testing_support::RecordedRequest> PlayerRequests() const;
  std::vector<std::string> RequestTargets() const;
  testing_support::TestHttpServer& Server() { return server_; }

  ProgramRun Run(const std::string& script, const std::map<std::string, std::string>& variables = {});
  // Runs start-up, dumps "before", then each step and a dump after it (labels "1", "2",
  // ...); a step the script cannot take fails the test.
  ProgramRun RunSteps(const std::vector<std::string>& steps);
  testing_support::StartedProgram Start(const std::string& script,
                                        const std::map<std::string, std::string>& variables = {});

 private:
  std::filesystem::path ServedPath(const RemoteFile& file) const;

  testing_support::TempFolder temp_;
  std::filesystem::path program_folder_;
  std::filesystem::path served_;
  Text control_base_;
  Text uid_prefix_;
  testing_support::TestHttpServer server_;
  std::unique_ptr<testing_support::PortRelay> relay_;
};

}  // namespace korvane::player::testing
