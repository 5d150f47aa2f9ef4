#pragma once
// The boundary between the model and whatever shows it. Commands go down through this
// interface; user input comes back up through Program's User* calls, which refuse what
// the user could not reach (a hidden or disabled control, a window behind a modal one),
// and the controls' own notifications through Program::RaiseEvent. Two backends
// implement it: the headless one (headless_backend.h), and a desktop one that maps each
// piece onto a GLib main loop: RunLoop/QuitLoop onto nested GMainLoops, Post onto idle
// callbacks, timers onto timeouts.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/message_box.h"
#include "platform/ui/timebase.h"
#include "platform/ui/unit_model.h"

namespace korvane::platform::ui {

class Program;

using Task = std::function<void()>;
using TimerId = std::uint64_t;

// One running message loop; loops nest (modal windows), each quits on its own.
struct LoopToken {
  bool quit = false;
};

struct Point {
  int x = 0;
  int y = 0;
};

// The playback engine control's commands and property writes.
enum class EngineOperation { kPlay, kPause, kStop, kPrepareEpisodeChange, kMediaAddress, kPauseAdAddress };

// The name of an operation as the unit's engine calls record it (EngineCall), in which
// the engine's properties are read back.
inline Text EngineOperationName(EngineOperation operation) {
  switch (operation) {
    case EngineOperation::kPlay: return "Play";
    case EngineOperation::kPause: return "Pause";
    case EngineOperation::kStop: return "Stop";
    case EngineOperation::kPrepareEpisodeChange: return "PrepareEpisodeChange";
    case EngineOperation::kMediaAddress: return "MediaAddress";
    case EngineOperation::kPauseAdAddress: return "PauseAdAddress";
  }
  return "?";
}

// Browser box commands.
enum class BrowserCommand { kGoBack, kGoForward, kStop, kRefresh };

// The loop: one hook into the platform. Loops nest (modal windows) and keep time.
class EventLoop {
 public:
  virtual ~EventLoop() = default;

  virtual Timebase& Time() = 0;
  // RunLoop handles messages until `token` is quit; QuitLoop may be called for any
  // running loop, also one further out than the innermost.
  virtual void RunLoop(LoopToken& token) = 0;
  virtual void QuitLoop(LoopToken& token) = 0;
  // Runs `task` from the loop once the running handler has returned.
  virtual void Post(Task task) = 0;
  // Calls `on_tick` every `interval_ms` from the loop until stopped.
  virtual TimerId StartTimer(std::int64_t interval_ms, Task on_tick) = 0;
  virtual void StopTimer(TimerId timer) = 0;
  // Handles the messages already waiting, then returns.
  virtual void ProcessPending() = 0;
  // Ends the process with `code`; the program's finaliser has run.
  [[noreturn]] virtual void EndProcess(int code) = 0;
};

// The views of the model. They show what the model holds and never change it: what the
// user or the desktop changes comes back through Program (User* calls, PageArrived,
// WindowMoved, ...), so both backends raise the same events in the same order.
class Views {
 public:
  virtual ~Views() = default;

  // The model has changed; the backend shows the change.
  virtual void WindowOpened(UnitModel& window) = 0;
  virtual void WindowClosed(UnitModel& window) = 0;
  virtual void UnitChanged(UnitModel& unit) = 0;

  // Questions to the user, answered before the call returns.
  virtual MessageBoxAnswer AskMessageBox(const MessageBoxRequest& request) = 0;
  // Pops up a menu of `window`, drawn by the window's menu skin, at `at` (screen
  // coordinates), also while the window is hidden. The path of item numbers (one per menu
  // level) of the item picked, none when dismissed.
  virtual std::optional<std::vector<int>> TrackPopupMenu(const UnitModel& window, const MenuModel& menu,
                                                         Point at) = 0;

  virtual Point MousePosition() = 0;
  virtual Point ScreenSize() = 0;
  virtual void SetWaitCursor(bool waiting) = 0;
  // Width (x) and height (y) of `text` in `font`.
  virtual Point MeasureText(const Font& font, const Text& text) = 0;

  // Browser boxes. Program keeps the history; a load ends in Program::PageArrived from
  // the loop (PageComplete follows from the loop), unless a newer load or a stop drops it.
  virtual void BrowserLoad(UnitModel& browser, const Text& address) = 0;
  virtual void BrowserStop(UnitModel& browser) = 0;
  // An address Program refused: the browser shows an empty page in place of the one it
  // showed, drops a load under way and raises nothing.
  virtual void BrowserShowBlank(UnitModel& browser) = 0;
  // Hypertext boxes show the page at their Address.
  virtual void HypertextShow(UnitModel& box) = 0;
  // Program has recorded the call in the unit's engine calls; the backend plays.
  virtual void EngineRun(UnitModel& engine, EngineOperation operation, const Text& value) = 0;
};

// A backend: a loop and the views, serving one Program.
class Backend : public EventLoop, public Views {
 public:
  // Called once by the Program that this backend serves.
  virtual void Attach(Program& program) = 0;
};

}  // namespace korvane::platform::ui
