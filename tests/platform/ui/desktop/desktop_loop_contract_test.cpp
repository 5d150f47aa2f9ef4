// The loop contract on the desktop backend: real GLib loops and timers on the real clock,
// input as GTK events. The user's steps come from one low-priority source that may
// recurse, so a step runs only when nothing else waits, also inside the nested loop that
// the step before it opened (a modal window, a message box).

#include "tests/platform/ui/desktop/desktop_test_fixture.h"
#include "tests/platform/ui/loop_contract.h"

namespace korvane::platform::ui::desktop::testing {
namespace {

using ui::testing::kGiveUpMs;
using ui::testing::kHungExitCode;
using ui::testing::LoopBackend;
using ui::testing::LoopBackendFactory;
using ui::testing::LoopContractTest;
using ui::testing::User;

class DesktopLoop final : public LoopBackend {
 public:
  ~DesktopLoop() override {
    if (source_ != nullptr) {
      g_source_destroy(source_);
      g_source_unref(source_);
    }
  }

  Backend& Get() override { return backend_; }
  void Serve(Program& program, User& user) override {
    program_ = &program;
    user_ = &user;
    start_ms_ = backend_.Time().NowMs();
    source_ = g_timeout_source_new(1);
    g_source_set_priority(source_, G_PRIORITY_LOW);
    g_source_set_can_recurse(source_, TRUE);
    g_source_set_callback(source_, &DesktopLoop::Act, this, nullptr);
    g_source_attach(source_, nullptr);
  }
  void PressEsc(const Window& window) override { PressKey(backend_.WindowWidget(window.Id()), GDK_KEY_Escape); }
  void Click(const Unit& control) override { desktop::testing::Click(backend_.UnitWidget(control.Id())); }
  bool ExactTime() const override { return false; }
  bool ViewClosed(UnitId window, const Text&) const override { return backend_.WindowWidget(window) == nullptr; }

 private:
  static gboolean Act(gpointer data) {
    auto* self = static_cast<DesktopLoop*>(data);
    self->backend_.Guard([self] { self->RunDueStep(); });
    return G_SOURCE_CONTINUE;
  }

  void RunDueStep() {
    const std::int64_t elapsed = backend_.Time().NowMs() - start_ms_;
    const User::Step* step = user_->Due(elapsed);
    if (step == nullptr) {
      if (user_->Idle() && elapsed >= kGiveUpMs) program_->EndProgram(kHungExitCode);
      return;
    }
    if (step->answer) {
      GtkWidget* dialog = FindToplevel(GTK_TYPE_MESSAGE_DIALOG);
      if (dialog == nullptr) return;  // not up yet
      gtk_dialog_response(GTK_DIALOG(dialog), static_cast<gint>(*user_->Take().answer));
      return;
    }
    user_->Take().action();
  }

  DesktopBackend backend_;
  Program* program_ = nullptr;
  User* user_ = nullptr;
  std::int64_t start_ms_ = 0;
  GSource* source_ = nullptr;
};

INSTANTIATE_TEST_SUITE_P(Desktop, LoopContractTest,
                         ::testing::Values(LoopBackendFactory{
                             "Desktop", [] { return std::unique_ptr<LoopBackend>(new DesktopLoop); }}),
                         ui::testing::BackendName);

}  // namespace
}  // namespace korvane::platform::ui::desktop::testing
