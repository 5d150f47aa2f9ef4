#pragma once
// Runs a real program as a black box on the headless backend: a script of user actions
// (GBK lines, as the programs' texts are; written as UTF-8), virtual time, the program
// folder given, and the JSON-lines dump the program leaves.

#include <sys/types.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "common/text.h"

namespace korvane::testing_support {

struct ProgramRun {
  int exit_code = -1;
  std::vector<nlohmann::json> records;
  std::string error_output;  // what the program wrote on stderr

  // The control `name` (GBK) as the dump labelled `label` shows it; null when absent.
  nlohmann::json Control(std::string_view label, std::string_view name) const;
  // The window of that layout name in the dump labelled `label`; null when absent.
  nlohmann::json WindowIn(std::string_view label, std::string_view name) const;
  // Every record of a kind ("program_started", "closed_window", ...), from the final dump.
  std::vector<nlohmann::json> Records(std::string_view kind) const;
};

struct BlackBox {
  std::string program;                  // the executable
  std::filesystem::path work_folder;    // script, dump and error output go here
  std::filesystem::path program_folder;
};

// A started program that has not been waited for yet.
struct StartedProgram {
  pid_t pid = -1;
  std::filesystem::path dump_file;
  std::filesystem::path error_file;
  std::optional<int> status;  // the wait status, once it has ended
};

// The instance scope (KORVANE_INSTANCE_SCOPE) of every black-box run of this test
// process: its own, so that its programs find each other but never a program outside it.
std::string InstanceScope();

// `variables` add to or replace the automation settings in the environment.
StartedProgram StartBlackBox(const BlackBox& box, const std::string& script,
                             const std::map<std::string, std::string>& variables = {});
// Waits for the program (unless WaitForFirst saw it end) and reads what it left.
ProgramRun FinishBlackBox(StartedProgram& program);
// Waits until one of `programs` ends; its number, or programs.size() when none is left.
std::size_t WaitForFirst(std::vector<StartedProgram>& programs);
// StartBlackBox, then FinishBlackBox.
ProgramRun RunBlackBox(const BlackBox& box, const std::string& script,
                       const std::map<std::string, std::string>& variables = {});

// A deployment's address as a local server serves it.
struct Address {
  int port = 0;
  std::string path;  // from the first "/" after the host, ending in "/"
};
// "http://127.0.0.1:18930/update/" -> 18930, "/update/".
Address ParseAddress(std::string_view address);

// GBK text of a dump's UTF-8 string.
Text Gbk(const nlohmann::json& value);

}  // namespace korvane::testing_support
