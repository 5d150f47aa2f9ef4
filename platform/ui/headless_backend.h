#pragma once
// The model running without a display. Its loop runs posted tasks and due timers; when
// nothing is waiting it takes the next action of its input driver (a script). When the
// driver has nothing left, real time waits for the next timer, and virtual time, which
// would never move again, ends the run with kStalledExitCode.
// Browser boxes load pages through the injected HttpClient; the playback engine records
// its calls; message boxes and popup menus are answered by the driver.

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/services/http.h"
#include "platform/ui/backend.h"

namespace korvane::platform::ui {

inline constexpr int kStalledExitCode = 124;

class HeadlessBackend;

// Where the headless backend's user input comes from.
class InputDriver {
 public:
  virtual ~InputDriver() = default;
  // Runs the next action; false when none is left.
  virtual bool RunNext(HeadlessBackend& backend) = 0;
  // The answers that the actions right after a message box or popup menu give it.
  virtual std::optional<int> TakeMessageBoxAnswer() = 0;
  virtual std::optional<std::vector<Text>> TakeMenuPick() = 0;
};

struct ProgramStart {
  Text verb;
  Text file;
  Text parameters;
};

class HeadlessBackend final : public Backend {
 public:
  // `http` may be null: browser boxes then load empty pages.
  HeadlessBackend(Timebase& time, HttpClient* http);

  void SetDriver(InputDriver* driver) { driver_ = driver; }
  Program& GetProgram() { return *program_; }
  Timebase& Time() override { return time_; }
  std::int64_t NowMs() const { return time_.NowMs(); }

  // Runs posted tasks and timers on virtual time until `ms` later (real time: waits).
  void AdvanceTime(std::int64_t ms);
  void SetMousePosition(Point at) { mouse_ = at; }
  void SetScreenSize(Point size) { screen_ = size; }

  // The activity a black-box test checks, recorded by the shell seam of the programs.
  void RecordAddressOpened(const Text& address) { addresses_opened_.push_back(address); }
  void RecordProgramStarted(ProgramStart start) { programs_started_.push_back(std::move(start)); }
  void RecordProcessesEnded(const Text& file_name) { processes_ended_.push_back(file_name); }
  const std::vector<Text>& AddressesOpened() const { return addresses_opened_; }
  const std::vector<Text>& ProcessesEnded() const { return processes_ended_; }
  const std::vector<ProgramStart>& ProgramsStarted() const { return programs_started_; }
  const std::vector<Text>& ClosedWindows() const { return closed_windows_; }
  bool Stalled() const { return stalled_; }
  bool WaitCursorShown() const { return wait_cursor_; }
  // Problems with the script's actions (a control that is not there, refused input).
  void RecordScriptError(const Text& error) { script_errors_.push_back(error); }
  const std::vector<Text>& ScriptErrors() const { return script_errors_; }

  // Backend:
  void Attach(Program& program) override { program_ = &program; }
  void RunLoop(LoopToken& token) override;
  void QuitLoop(LoopToken& token) override { token.quit = true; }
  void Post(Task task) override { tasks_.push_back(std::move(task)); }
  TimerId StartTimer(std::int64_t interval_ms, Task on_tick) override;
  void StopTimer(TimerId timer) override { timers_.erase(timer); }
  void ProcessPending() override;
  [[noreturn]] void EndProcess(int code) override;
  void WindowOpened(UnitModel&) override {}
  void WindowClosed(UnitModel& window) override { closed_windows_.push_back(window.name); }
  void UnitChanged(UnitModel&) override {}
  // The script's answer, or the box's first button when it gives none.
  MessageBoxAnswer AskMessageBox(const MessageBoxRequest& request) override;
  std::optional<std::vector<int>> TrackPopupMenu(const UnitModel& window, const MenuModel& menu,
                                                 Point at) override;
  Point MousePosition() override { return mouse_; }
  Point ScreenSize() override { return screen_; }
  void SetWaitCursor(bool waiting) override { wait_cursor_ = waiting; }
  Point MeasureText(const Font& font, const Text& text) override;
  void BrowserLoad(UnitModel& browser, const Text& address) override;
  void BrowserStop(UnitModel& browser) override;
  void BrowserShowBlank(UnitModel& browser) override { BrowserStop(browser); }  // no page is shown
  void HypertextShow(UnitModel&) override {}
  void EngineRun(UnitModel&, EngineOperation, const Text&) override {}

 private:
  struct TimerEntry {
    std::int64_t interval_ms = 0;
    std::int64_t due_ms = 0;
    Task on_tick;
  };

  // Runs one posted task, or else the earliest due timer; false when nothing is waiting.
  bool RunOneWaiting();
  std::optional<std::int64_t> NextTimerDue() const;

  Timebase& time_;
  HttpClient* http_;
  Program* program_ = nullptr;
  InputDriver* driver_ = nullptr;
  std::deque<Task> tasks_;
  std::map<TimerId, TimerEntry> timers_;
  TimerId next_timer_ = 1;
  std::map<UnitId, int> load_generation_;  // a stop or a newer load drops a pending one
  Point mouse_{0, 0};
  Point screen_{1024, 768};
  bool wait_cursor_ = false;
  bool stalled_ = false;
  std::vector<Text> addresses_opened_;
  std::vector<ProgramStart> programs_started_;
  std::vector<Text> processes_ended_;
  std::vector<Text> closed_windows_;
  std::vector<Text> script_errors_;
};

}  // namespace korvane::platform::ui
