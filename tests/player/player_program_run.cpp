#include "tests/player/player_program_run.h"

#include <gtest/gtest.h>

#include "common/cipher.h"
#include "platform/core/path_map.h"
#include "platform/core/profile.h"
#include "tests/support/file_bytes.h"
#include "tools/encipher/encipher.h"

namespace korvane::player::testing {

namespace fs = std::filesystem;

std::string Navigate(std::string_view browser, const Text& address) {
  const std::string tab = browser == std::string_view(kLibrary) ? "主界面片库按钮" : "主界面找片按钮";
  return "click " + tab + "\nnavigate " + std::string(browser) + " " + address + "\n";
}

PlayerProgramRun::PlayerProgramRun()
    : program_folder_(temp_.path() / u8"安装目录"),
      served_(temp_.path() / "served"),
      control_base_(DecipherHexTextKey1(DeployedConstants().control_constant)),
      uid_prefix_(DecipherHexTextKey1(DeployedConstants().uid_constant)) {
  fs::create_directories(program_folder_);
  fs::create_directories(served_);
  server_.ServeFolder(served_);
  relay_ = std::make_unique<testing_support::PortRelay>(
      testing_support::ParseAddress(control_base_).port, server_.port());
  EXPECT_TRUE(relay_->Listening()) << "the deployment's port is taken";
  EXPECT_EQ(testing_support::ParseAddress(uid_prefix_).port,
            testing_support::ParseAddress(control_base_).port);
  platform::WriteIniValue(platform::CorePath(program_folder_) + "\\Config.ini", "Config", "UID",
                          tools::EncipherToHex(3, kInstallationId));
  WriteFile(Installed("PlayerConfig.ini"), "");
}

fs::path PlayerProgramRun::Installed(std::string_view relative) const {
  return program_folder_ / relative;
}

void PlayerProgramRun::WriteFile(const fs::path& file, std::string_view bytes) const {
  testing_support::WriteFileBytes(file, bytes);
}

std::string PlayerProgramRun::ReadFile(const fs::path& file) const {
  return testing_support::ReadFileBytes(file);
}

Text PlayerProgramRun::HomeAddress() const { return control_base_ + "home/"; }

std::string PlayerProgramRun::TargetOf(const RemoteFile& file) const {
  const Text control_path = testing_support::ParseAddress(control_base_).path;
  switch (file.base) {
    case RemoteBase::kControl:
      return control_path + Text(file.path);
    case RemoteBase::kUid:
      return testing_support::ParseAddress(uid_prefix_).path + Text(kInstallationId) + "/" +
             Text(file.path);
    case RemoteBase::kHome:
      break;
  }
  return control_path + "home/" + Text(file.path);
}

void PlayerProgramRun::ServeQuietStart() const {
  using namespace remote;
  for (const auto& [file, value] : std::vector<std::pair<const RemoteFile*, Text>>{
           {&kCataloguePage, CataloguePage()},
           {&kFindPage, FindPage()},
           {&kHomeAddress, HomeAddress()},
           {&kTextAdSwitch, "0"},
           {&kPauseAdSwitch, "1"},
           {&kExitAdSwitch, "0"},
           {&kProviderName, "演示影院"},
           {&kVersionFlag, "no"},
           {&kCornerAdSwitch, "0"},
       }) {
    Serve(*file, value);
  }
}

std::string PlayerProgramRun::StatisticsTarget(std::string_view uid) const {
  return testing_support::ParseAddress(control_base_).path + Text(kStatisticsPagePath) + Text(uid);
}

Text PlayerProgramRun::ServeFilmPage(std::string_view name, std::string body, std::string_view query) {
  const std::string path = "film/" + std::string(name) + ".html";
  server_.Script(testing_support::ParseAddress(HomeAddress()).path + path,
                 {.body = std::move(body), .headers = {{"Content-Type", "text/html; charset=GBK"}}});
  return HomeAddress() + path + Text(query);
}

fs::path PlayerProgramRun::ServedBelowHome(std::string_view relative) const {
  return served_ / testing_support::ParseAddress(HomeAddress()).path.substr(1) / relative;
}

fs::path PlayerProgramRun::ServedPath(const RemoteFile& file) const {
  return served_ / TargetOf(file).substr(1);
}

void PlayerProgramRun::Serve(const RemoteFile& file, std::string_view value) const {
  ServeBody(file, file.form == RemoteForm::kKey2 ? tools::EncipherToHex(2, value) : std::string(value));
}

void PlayerProgramRun::ServeBody(const RemoteFile& file, std::string_view body) const {
  WriteFile(ServedPath(file), body);
}

std::vector<std::string> PlayerProgramRun::RequestTargets() const {
  std::vector<std::string> targets;
  for (const auto& request : PlayerRequests()) targets.push_back(request.target);
  return targets;
}

// Other programs on this machine may knock at the deployment's port too; a connection
// is Player's when its first request is the first fetch of a start.
std::vector<testing_support::RecordedRequest> PlayerProgramRun::PlayerRequests() const {
  std::vector<testing_support::RecordedRequest> requests = server_.Requests();
  std::map<int, bool> players;
  for (const auto& request : requests) {
    players.try_emplace(request.connection, request.target.ends_with("/pianku.txt"));
  }
  std::erase_if(requests, [&players](const auto& request) { return !players[request.connection]; });
  return requests;
}

ProgramRun PlayerProgramRun::Run(const std::string& script,
                                 const std::map<std::string, std::string>& variables) {
  testing_support::StartedProgram started = Start(script, variables);
  return testing_support::FinishBlackBox(started);
}

ProgramRun PlayerProgramRun::RunSteps(const std::vector<std::string>& steps) {
  std::string script = "dump before\n";
  for (std::size_t index = 0; index < steps.size(); ++index) {
    script += steps[index] + "dump " + std::to_string(index + 1) + "\n";
  }
  ProgramRun run = Run(script);
  for (const nlohmann::json& record : run.records) {
    if (record.value("record", "") == "script_error") ADD_FAILURE() << record.dump();
  }
  return run;
}

testing_support::StartedProgram PlayerProgramRun::Start(const std::string& script,
                                                        const std::map<std::string, std::string>& variables) {
  return testing_support::StartBlackBox({KORVANE_PLAYER_PROGRAM, temp_.path(), program_folder_}, script,
                                        variables);
}

}  // namespace korvane::player::testing
