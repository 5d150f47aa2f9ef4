// The loop contract on the headless backend, on virtual time: the user's steps are its
// input driver, and while they wait, time moves on a millisecond at a time, so every
// timer ticks at the moment it falls due.

#include <algorithm>

#include "platform/ui/headless_backend.h"
#include "tests/platform/ui/loop_contract.h"

namespace korvane::platform::ui::testing {
namespace {

class HeadlessLoop final : public LoopBackend, private InputDriver {
 public:
  HeadlessLoop() { backend_.SetDriver(this); }

  Backend& Get() override { return backend_; }
  void Serve(Program& program, User& user) override {
    program_ = &program;
    user_ = &user;
    start_ms_ = backend_.NowMs();
  }
  void PressEsc(const Window& window) override { InputOf(*program_).UserKey(window, "Esc"); }
  void Click(const Unit& control) override { InputOf(*program_).UserClick(control); }
  bool ExactTime() const override { return true; }
  bool ViewClosed(UnitId, const Text& name) const override {
    return std::ranges::count(backend_.ClosedWindows(), name) > 0;
  }

 private:
  bool RunNext(HeadlessBackend& backend) override {
    if (const User::Step* step = user_->Due(backend.NowMs() - start_ms_); step != nullptr) {
      User::Step taken = user_->Take();
      if (!taken.action) {
        ADD_FAILURE() << "an answer where no message box was asked";
        return true;
      }
      taken.action();
      return true;
    }
    if (user_->Idle() && backend.NowMs() - start_ms_ >= kGiveUpMs) program_->EndProgram(kHungExitCode);
    backend.AdvanceTime(1);
    return true;
  }
  std::optional<int> TakeMessageBoxAnswer() override {
    const User::Step* step = user_->Due(backend_.NowMs() - start_ms_);
    if (step == nullptr || !step->answer) return std::nullopt;
    return static_cast<int>(*user_->Take().answer);
  }
  std::optional<std::vector<Text>> TakeMenuPick() override { return std::nullopt; }

  VirtualTimebase time_;
  HeadlessBackend backend_{time_, nullptr};
  Program* program_ = nullptr;
  User* user_ = nullptr;
  std::int64_t start_ms_ = 0;
};

INSTANTIATE_TEST_SUITE_P(Headless, LoopContractTest,
                         ::testing::Values(LoopBackendFactory{
                             "Headless", [] { return std::unique_ptr<LoopBackend>(new HeadlessLoop); }}),
                         BackendName);

}  // namespace
}  // namespace korvane::platform::ui::testing
