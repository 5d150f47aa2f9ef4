#include "tests/update/wizard/update_program_run.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "common/cipher.h"
#include "deploy/deployment.h"
#include "platform/core/path_map.h"
#include "platform/core/profile.h"
#include "tools/encipher/encipher.h"

namespace korvane::update::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kInstallationId = "E2E1";

}  // namespace

UpdateProgramRun::UpdateProgramRun()
    : program_folder_(temp_.path() / u8"安装目录"),
      served_(temp_.path() / "served"),
      control_base_(DecipherHexTextKey1(deploy::UpdateControlBase())),
      list_folder_(DecipherHexTextKey1(deploy::UpdateListFolder())) {
  fs::create_directories(program_folder_);
  fs::create_directories(served_);
  server_.ServeFolder(served_);
  relay_ = std::make_unique<testing_support::PortRelay>(testing_support::ParseAddress(control_base_).port, server_.port());
  EXPECT_TRUE(relay_->Listening()) << "the deployment's port is taken";
  platform::WriteIniValue(platform::CorePath(program_folder_) + "\\Config.ini", "Config", "UID",
                          tools::EncipherToHex(3, kInstallationId));
}

fs::path UpdateProgramRun::Installed(std::string_view relative) const {
  return program_folder_ / relative;
}

fs::path UpdateProgramRun::ServedUpdate(std::string_view relative) const {
  return served_ / testing_support::ParseAddress(list_folder_).path.substr(1) / relative;
}

fs::path UpdateProgramRun::ServedControl(std::string_view relative) const {
  return served_ / testing_support::ParseAddress(control_base_).path.substr(1) / relative;
}

void UpdateProgramRun::WriteFile(const fs::path& file, std::string_view bytes) const {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

std::string UpdateProgramRun::ReadFile(const fs::path& file) const {
  std::ifstream in(file, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void UpdateProgramRun::ServeSwitch(std::string_view value) const {
  WriteFile(ServedControl("zongkong/update/updatekg.txt"), tools::EncipherToHex(2, value));
  // The home address is the server's own "home/" folder.
  const testing_support::Address control = testing_support::ParseAddress(control_base_);
  WriteFile(ServedControl("uid/" + std::string(kInstallationId) + "/zhuye.txt"),
            tools::EncipherToHex(2, "http://127.0.0.1:" + std::to_string(control.port) +
                                        control.path + "home/"));
}

ProgramRun UpdateProgramRun::Run(const std::string& script,
                                 const std::map<std::string, std::string>& variables) {
  return testing_support::RunBlackBox({KORVANE_UPDATE_PROGRAM, temp_.path(), program_folder_}, script,
                                      variables);
}

StartedProgram UpdateProgramRun::Start(const std::string& script,
                                       const std::map<std::string, std::string>& variables) {
  return testing_support::StartBlackBox({KORVANE_UPDATE_PROGRAM, temp_.path(), program_folder_}, script,
                                        variables, std::to_string(++started_));
}

}  // namespace korvane::update::testing
