#pragma once
// The loop rules that both backends keep, as one suite (loop_contract_test.cpp) over a
// backend that each backend's test program makes: the headless one on virtual time, the
// desktop one on the tests' own X server. A test drives the program as a person would:
// the user's steps run one at a time when the loop is idle, also inside a nested loop,
// and time passes while the loop is idle.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui/program.h"

namespace korvane::platform::ui::testing {

// A test whose user has nothing left to do and whose program has not ended this long
// after the test's start has hung: the backend ends the program with kHungExitCode.
inline constexpr std::int64_t kGiveUpMs = 30000;
inline constexpr int kHungExitCode = 125;

class User {
 public:
  struct Step {
    std::int64_t not_before_ms = 0;  // on the backend's time, from the test's start
    std::function<void()> action;
    std::optional<MessageBoxAnswer> answer;  // answers the message box the step before asked
  };

  User& Then(std::function<void()> action) { return At(0, std::move(action)); }
  User& At(std::int64_t ms, std::function<void()> action) {
    steps_.push_back({ms, std::move(action), std::nullopt});
    return *this;
  }
  User& Answer(MessageBoxAnswer answer) {
    steps_.push_back({0, nullptr, answer});
    return *this;
  }

  bool Idle() const { return steps_.empty(); }
  // The next step once it is due at `elapsed_ms`; nullptr while there is none.
  const Step* Due(std::int64_t elapsed_ms) const {
    return steps_.empty() || steps_.front().not_before_ms > elapsed_ms ? nullptr : &steps_.front();
  }
  Step Take() {
    Step step = std::move(steps_.front());
    steps_.pop_front();
    return step;
  }

 private:
  std::deque<Step> steps_;
};

// One backend as the suite drives it.
class LoopBackend {
 public:
  virtual ~LoopBackend() = default;
  virtual Backend& Get() = 0;
  // From now on the loop runs the user's steps for `program` when it is idle.
  virtual void Serve(Program& program, User& user) = 0;
  // The user's input, as this backend takes it from the user.
  virtual void PressEsc(const Window& window) = 0;
  virtual void Click(const Unit& control) = 0;
  // Virtual time: ticks come exactly on time; real time: never early.
  virtual bool ExactTime() const = 0;
  // The backend has let go of the window's view.
  virtual bool ViewClosed(UnitId window, const Text& name) const = 0;
};

struct LoopBackendFactory {
  const char* name;
  std::unique_ptr<LoopBackend> (*make)();
};

std::string BackendName(const ::testing::TestParamInfo<LoopBackendFactory>& info);

class LoopContractTest : public ::testing::TestWithParam<LoopBackendFactory> {
 protected:
  LoopContractTest();

  const ProgramInspection& Inspect() const { return InspectionOf(program_); }
  Window Top() const { return Inspect().Windows().back(); }
  std::int64_t Elapsed() { return backend_->Get().Time().NowMs() - start_ms_; }
  // Each time against the time it was due, from the test's start.
  void ExpectOnTime(const std::vector<std::int64_t>& times, const std::vector<std::int64_t>& due) const;

  std::unique_ptr<LoopBackend> backend_;
  ResourceBundle resources_;
  Program program_;
  User user_;
  std::int64_t start_ms_;
  std::vector<std::string> trace_;
};

}  // namespace korvane::platform::ui::testing
