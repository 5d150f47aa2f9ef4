#pragma once
// The shell as a recorder: every call is kept in order and nothing is started or ended.

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
    return 0;
  }
  Text GetProgramFileName() override { return program_file_name_; }

  void set_program_file_name(Text name) { program_file_name_ = std::move(name); }
  void set_starts_succeed(bool succeed) { starts_succeed_ = succeed; }

  const std::vector<ShellCall>& calls() const { return calls_; }

 private:
  std::vector<ShellCall> calls_;
  Text program_file_name_ = "Player";
  bool starts_succeed_ = true;
};

}  // namespace korvane::platform::testing
