#include "tests/support/black_box_run.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <ctime>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

extern char** environ;

namespace korvane::testing_support {
namespace {

namespace fs = std::filesystem;

bool IsRecord(const nlohmann::json& record, std::string_view kind) {
  return record.is_object() && record.value("record", "") == kind;
}

nlohmann::json FindInDump(const std::vector<nlohmann::json>& records, std::string_view label,
                          std::string_view kind, std::string_view name) {
  bool in_dump = false;
  for (const nlohmann::json& record : records) {
    if (IsRecord(record, "dump")) in_dump = Gbk(record["label"]) == label;
    if (in_dump && IsRecord(record, kind) && Gbk(record["name"]) == name) return record;
  }
  return nullptr;
}

}  // namespace

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

Text Gbk(const nlohmann::json& value) {
  return value.is_string() ? Utf8ToGbk(AsUtf8(value.get<std::string>())) : Text();
}

nlohmann::json ProgramRun::Control(std::string_view label, std::string_view name) const {
  return FindInDump(records, label, "control", name);
}

nlohmann::json ProgramRun::WindowIn(std::string_view label, std::string_view name) const {
  return FindInDump(records, label, "window", name);
}

std::vector<nlohmann::json> ProgramRun::Records(std::string_view kind) const {
  std::vector<nlohmann::json> found;
  bool in_end = false;
  for (const nlohmann::json& record : records) {
    if (IsRecord(record, "dump")) in_end = record.value("label", "") == "end";
    if (in_end && IsRecord(record, kind)) found.push_back(record);
  }
  return found;
}

std::string InstanceScope() {
  // The process id keeps it apart from every running test; the start time from a program
  // left behind by an earlier process of the same id.
  static const std::string scope =
      "test-" + std::to_string(::getpid()) + "-" + std::to_string(::time(nullptr));
  return scope;
}

StartedProgram StartBlackBox(const BlackBox& box, const std::string& script,
                             const std::map<std::string, std::string>& variables) {
  // Each start has files of its own, so several programs can run side by side.
  static int starts = 0;
  const std::string run = std::to_string(++starts);
  const fs::path script_file = box.work_folder / ("script-" + run + ".txt");
  StartedProgram started;
  started.dump_file = box.work_folder / ("dump-" + run + ".jsonl");
  started.error_file = box.work_folder / ("stderr-" + run + ".txt");
  std::ofstream(script_file, std::ios::binary) << AsChars(GbkToUtf8(script));
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) environment.emplace_back(*entry);
  std::map<std::string, std::string> settings = {
      {"KORVANE_UI", "headless"},
      {"KORVANE_UI_TIME", "virtual"},
      {"KORVANE_UI_SCRIPT", script_file.string()},
      {"KORVANE_UI_DUMP", started.dump_file.string()},
      {"KORVANE_PROGRAM_FOLDER", box.program_folder.string()},
      {"KORVANE_INSTANCE_SCOPE", InstanceScope()},
  };
  for (const auto& [name, value] : variables) settings[name] = value;
  for (const auto& [name, value] : settings) environment.push_back(name + "=" + value);
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);

  std::string program = box.program;
  char* argv[] = {program.data(), nullptr};
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_addopen(&actions, 2, started.error_file.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int spawned = ::posix_spawn(&started.pid, program.c_str(), &actions, nullptr, argv, envp.data());
  ::posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << program;
    started.pid = -1;
  }
  return started;
}

ProgramRun FinishBlackBox(StartedProgram& program) {
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
  std::ifstream errors(program.error_file, std::ios::binary);
  std::stringstream error_text;
  error_text << errors.rdbuf();
  run.error_output = error_text.str();
  return run;
}

std::size_t WaitForFirst(std::vector<StartedProgram>& programs) {
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

ProgramRun RunBlackBox(const BlackBox& box, const std::string& script,
                       const std::map<std::string, std::string>& variables) {
  StartedProgram program = StartBlackBox(box, script, variables);
  return FinishBlackBox(program);
}

}  // namespace korvane::testing_support
