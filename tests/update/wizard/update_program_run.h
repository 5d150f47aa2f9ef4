#pragma once
// Runs the real `Update` program as a black box: a program folder and a served update
// folder of the test's own, a local HTTP server reached at the deployment's built-in
// addresses, a script of user actions, and the JSON-lines dump the program leaves.

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "common/text.h"
#include "tests/support/black_box_run.h"
#include "tests/support/port_relay.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_http_server.h"

namespace korvane::update::testing {

using testing_support::Gbk;
using testing_support::ProgramRun;
using testing_support::StartedProgram;
using testing_support::WaitForFirst;

class UpdateProgramRun {
 public:
  UpdateProgramRun();

  std::filesystem::path Installed(std::string_view relative) const;
  // A path below the deployment's update list folder, or below its control base.
  std::filesystem::path ServedUpdate(std::string_view relative) const;
  std::filesystem::path ServedControl(std::string_view relative) const;
  void WriteFile(const std::filesystem::path& file, std::string_view bytes) const;
  std::string ReadFile(const std::filesystem::path& file) const;

  // The update switch and the home address, as the operator publishes them.
  void ServeSwitch(std::string_view value) const;
  testing_support::TestHttpServer& Server() { return server_; }
  // Nothing answers at the deployment's addresses any more: the control server is unreachable.
  void StopServing() { relay_->Stop(); }
  // The deployment's list folder address (switch "1").
  const std::string& ListFolder() const { return list_folder_; }

  // Runs Update with `script` (GBK lines, as this program's texts are) and the extra environment `variables`.
  ProgramRun Run(const std::string& script, const std::map<std::string, std::string>& variables = {});
  // The same in two steps, so that several programs run at once.
  testing_support::StartedProgram Start(const std::string& script,
                                        const std::map<std::string, std::string>& variables = {});
  ProgramRun Finish(testing_support::StartedProgram& program) {
    return testing_support::FinishBlackBox(program);
  }

 private:
  testing_support::TempFolder temp_;
  std::filesystem::path program_folder_;
  std::filesystem::path served_;
  std::string control_base_;
  std::string list_folder_;
  testing_support::TestHttpServer server_;
  std::unique_ptr<testing_support::PortRelay> relay_;
  int started_ = 0;
};

}  // namespace korvane::update::testing
