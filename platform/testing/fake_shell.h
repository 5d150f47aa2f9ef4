#pragma once
// The shell as a recorder: every call is kept in order and nothing is started or ended.

#include <map>
#include <string>
#include <vector>

#include "platform/services/shell.h"

namespace korvane::platform::testing {

struct ShellCall {
  enum class Kind { kRunShellVerb, kOpenUrl, kEndProcessByName };
  Kind kind;
  Text first;    // the verb, the address or the file name
  Text second;   // the program file for kRunShellVerb
  bool operator==(const ShellCall&) const = default;
};

class FakeShell final : public Shell {
 public:
  bool RunShellVerb(std::string_view verb, std::string_view file) override {
    calls_.push_back({ShellCall::Kind::kRunShellVerb, Text(verb), Text(file)});
    return starts_succeed_;
  }
  bool OpenUrl(std::string_view address) override {
    calls_.push_back({ShellCall::Kind::kOpenUrl, Text(address), {}});
    return starts_succeed_;
  }
  int EndProcessByName(std::string_view file_name) override {
    calls_.push_back({ShellCall::Kind::kEndProcessByName, Text(file_name), {}});
    auto found = running_.find(file_name);
    if (found == running_.end()) return 0;
    int ended = found->second;
    running_.erase(found);
    return ended;
  }
  Text GetProgramFileName() override { return program_file_name_; }

  void set_program_file_name(Text name) { program_file_name_ = std::move(name); }
  void set_starts_succeed(bool succeed) { starts_succeed_ = succeed; }
  // Pretends `count` processes of that file name run until they are ended.
  void SetRunning(std::string file_name, int count) { running_[std::move(file_name)] = count; }

  const std::vector<ShellCall>& calls() const { return calls_; }

 private:
  std::vector<ShellCall> calls_;
  std::map<std::string, int, std::less<>> running_;
  Text program_file_name_ = "Player";
  bool starts_succeed_ = true;
};

}  // namespace korvane::platform::testing
