#include "tests/update/wizard/update_program_run.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "common/cipher.h"
#include "deploy/deployment.h"
#include "platform/core/path_map.h"
#include "platform/core/profile.h"
#include "tools/encipher/encipher.h"

extern char** environ;

namespace korvane::update::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kInstallationId = "E2E1";

struct Address {
  int port = 0;
  std::string path;  // from the first "/" after the host, ending in "/"
};

// "http://127.0.0.1:18930/update/" -> 18930, "/update/".
Address ParseAddress(std::string_view address) {
  Address parsed;
  const std::size_t host = address.find("://");
  const std::size_t path = address.find('/', host == std::string_view::npos ? 0 : host + 3);
  const std::size_t colon = address.rfind(':', path);
  if (colon != std::string_view::npos && colon > host + 2) {
    parsed.port = std::stoi(std::string(address.substr(colon + 1, path - colon - 1)));
  }
  parsed.path = path == std::string_view::npos ? "/" : std::string(address.substr(path));
  return parsed;
}

}  // namespace

Text Gbk(const nlohmann::json& value) {
  return value.is_string() ? Utf8ToGbk(AsUtf8(value.get<std::string>())) : Text();
}

nlohmann::json ProgramRun::Control(std::string_view label, std::string_view name) const {
  bool in_dump = false;
  for (const nlohmann::json& record : records) {
    if (record.value("record", "") == "dump") in_dump = Gbk(record["label"]) == label;
    if (in_dump && record.value("record", "") == "control" && Gbk(record["name"]) == name) {
      return record;
    }
  }
  return nullptr;
}

std::vector<nlohmann::json> ProgramRun::Records(std::string_view kind) const {
  std::vector<nlohmann::json> found;
  bool in_end = false;
  for (const nlohmann::json& record : records) {
    if (record.value("record", "") == "dump") in_end = record.value("label", "") == "end";
    if (in_end && record.value("record", "") == kind) found.push_back(record);
  }
  return found;
}

UpdateProgramRun::UpdateProgramRun()
    : program_folder_(temp_.path() / u8"安装目录"),
      served_(temp_.path() / "served"),
      control_base_(DecipherHexTextKey1(deploy::UpdateControlBase())),
      list_folder_(DecipherHexTextKey1(deploy::UpdateListFolder())) {
  fs::create_directories(program_folder_);
  fs::create_directories(served_);
  server_.ServeFolder(served_);
  relay_ = std::make_unique<PortRelay>(ParseAddress(control_base_).port, server_.port());
  EXPECT_TRUE(relay_->Listening()) << "the deployment's port is taken";
  platform::WriteIniValue(platform::CorePath(program_folder_) + "\\Config.ini", "Config", "UID",
                          tools::EncipherToHex(3, kInstallationId));
}

UpdateProgramRun::~UpdateProgramRun() {
  relay_.reset();
  if (port_lock_ >= 0) ::close(port_lock_);
}

void UpdateProgramRun::StopServing() {
  if (!relay_) return;
  port_lock_ = relay_->HandOverPortLock();
  relay_.reset();
}

fs::path UpdateProgramRun::Installed(std::string_view relative) const {
  return program_folder_ / relative;
}

fs::path UpdateProgramRun::ServedUpdate(std::string_view relative) const {
  return served_ / ParseAddress(list_folder_).path.substr(1) / relative;
}

fs::path UpdateProgramRun::ServedControl(std::string_view relative) const {
  return served_ / ParseAddress(control_base_).path.substr(1) / relative;
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
  const Address control = ParseAddress(control_base_);
  WriteFile(ServedControl("uid/" + std::string(kInstallationId) + "/zhuye.txt"),
            tools::EncipherToHex(2, "http://127.0.0.1:" + std::to_string(control.port) +
                                        control.path + "home/"));
}

ProgramRun UpdateProgramRun::Run(const std::string& script,
                                 const std::map<std::string, std::string>& variables) {
  StartedProgram program = Start(script, variables);
  return Finish(program);
}

StartedProgram UpdateProgramRun::Start(const std::string& script,
                                       const std::map<std::string, std::string>& variables) {
  const std::string run = std::to_string(++started_);
  const fs::path script_file = temp_.path() / ("script-" + run + ".txt");
  StartedProgram started;
  started.dump_file = temp_.path() / ("dump-" + run + ".jsonl");
  WriteFile(script_file, AsChars(GbkToUtf8(script)));  // scripts are UTF-8
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) environment.emplace_back(*entry);
  std::map<std::string, std::string> settings = {
      {"KORVANE_UI", "headless"},
      {"KORVANE_UI_TIME", "virtual"},
      {"KORVANE_UI_SCRIPT", script_file.string()},
      {"KORVANE_UI_DUMP", started.dump_file.string()},
      {"KORVANE_PROGRAM_FOLDER", program_folder_.string()},
  };
  for (const auto& [name, value] : variables) settings[name] = value;
  for (const auto& [name, value] : settings) environment.push_back(name + "=" + value);
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);

  std::string program = KORVANE_UPDATE_PROGRAM;
  char* argv[] = {program.data(), nullptr};
  if (::posix_spawn(&started.pid, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0) {
    ADD_FAILURE() << "cannot start " << program;
    started.pid = -1;
  }
  return started;
}

ProgramRun UpdateProgramRun::Finish(StartedProgram& program) {
  ProgramRun run;
  if (program.pid < 0) return run;
  if (!program.status) {
    int status = 0;
    ::waitpid(program.pid, &status, 0);
    program.status = status;
  }
  run.exit_code = WIFEXITED(*program.status) ? WEXITSTATUS(*program.status) : -1;
  std::ifstream dump(program.dump_file);
  for (std::string line; std::getline(dump, line);) {
    run.records.push_back(nlohmann::json::parse(line, nullptr, false));
  }
  return run;
}

std::size_t UpdateProgramRun::WaitForFirst(std::vector<StartedProgram>& programs) {
  for (;;) {
    int status = 0;
    const pid_t ended = ::waitpid(-1, &status, 0);
    if (ended < 0) return programs.size();
    for (std::size_t index = 0; index < programs.size(); ++index) {
      if (programs[index].pid == ended) {
        programs[index].status = status;
        return index;
      }
    }
  }
}

}  // namespace korvane::update::testing
