#pragma once
// The model shown in real windows with GTK 3. Loops are GLib main loops: RunLoop runs a
// nested GMainLoop per token, Post adds an idle callback, timers are GLib timeouts on the
// real clock. Message boxes and popup menus run nested loops of their own.
//
// Whatever reaches the program from the toolkit (input, ticks, posted tasks) goes through
// one guard: an exception (EndProgram's ProgramEnded, a faulty layout) never crosses the
// toolkit's C frames; the guard keeps it, quits every running loop, and the innermost
// RunLoop throws it on, so it unwinds through the program's own frames as it does on the
// headless backend.
//
// The changes a handler makes are shown once it has made them: when it returns, when it
// waits on a blocking service, and otherwise at most every few milliseconds while it runs;
// only the changed windows' pending layout and drawing run, never input, timers or posted
// tasks, which wait until the handler returns.
//
// The backend is the pump of blocking services (platform/services/wait_pump.h): while a
// handler waits it takes the display's events itself, passes on those that only show
// (exposure, moves, the pointer's motion and crossings, so that hover pictures follow),
// keeps the user's input (buttons, keys, scrolling, closing) in order for after the
// handler, repaints, and after 0.2 s shows the wait cursor over every window.
//
// Browser and hypertext boxes are WebKit views (desktop_browser.h), the playback engine
// plays with libmpv (desktop_engine.h), a window's tray icon is a GtkStatusIcon
// (desktop_tray.h).

#include <gtk/gtk.h>

#include <exception>
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "platform/services/wait_pump.h"
#include "platform/ui/backend.h"
#include "platform/ui/desktop/desktop_drawing.h"
#include "platform/ui/desktop/desktop_engine.h"
#include "platform/ui/desktop/desktop_tray.h"

namespace korvane::platform::ui::desktop {

class DesktopWindow;
class WebPage;

class DesktopBackend final : public Backend, public WaitPump {
 public:
  // Opens the default display; throws std::runtime_error when there is none.
  DesktopBackend();
  ~DesktopBackend() override;
  DesktopBackend(const DesktopBackend&) = delete;
  DesktopBackend& operator=(const DesktopBackend&) = delete;

  // Runs `action` for the toolkit: exceptions are kept for the running loop (see above).
  void Guard(const std::function<void()>& action);

  // The GtkWindow of an open window and the widget of a control; nullptr when there is
  // none (a timer, zip unit or menu skin has no widget).
  GtkWidget* WindowWidget(UnitId window) const;
  GtkWidget* UnitWidget(UnitId unit) const;
  // The engine of a playback engine control and the tray of an open window; nullptr for
  // none.
  DesktopEngine* Engine(UnitId engine) const;
  const DesktopTray* Tray(UnitId window) const;

  // Backend:
  void Attach(Program& program) override;
  Timebase& Time() override { return RealTimebase(); }
  void RunLoop(LoopToken& token) override;
  void QuitLoop(LoopToken& token) override;
  void Post(Task task) override;
  TimerId StartTimer(std::int64_t interval_ms, Task on_tick) override;
  void StopTimer(TimerId timer) override;
  void ProcessPending() override;
  [[noreturn]] void EndProcess(int code) override;
  void WindowOpened(UnitModel& window) override;
  void WindowClosed(UnitModel& window) override;
  void UnitChanged(UnitModel& unit) override;
  MessageBoxAnswer AskMessageBox(const MessageBoxRequest& request) override;
  std::optional<std::vector<int>> TrackPopupMenu(const UnitModel& window, const MenuModel& menu,
                                                 Point at) override;
  Point MousePosition() override;
  Point ScreenSize() override;
  void SetWaitCursor(bool waiting) override;
  Point MeasureText(const Font& font, const Text& text) override;
  void BrowserLoad(UnitModel& browser, const Text& address) override;
  void BrowserStop(UnitModel& browser) override;
  void BrowserShowBlank(UnitModel& browser) override;
  void HypertextShow(UnitModel& box) override;
  void EngineRun(UnitModel& engine, EngineOperation operation, const Text& value) override;

  // WaitPump:
  void WaitBegins() override;
  void Waiting() override;
  void WaitEnds() override;

 private:
  struct TimerEntry {
    guint source = 0;
    Task on_tick;
  };
  struct TimerSource;
  struct PostedTask;

  void RethrowKeptFailure();
  // Shows the windows' pending changes; draws them now when `draw`.
  void ShowChanges(bool draw);
  // Puts the wait cursor on every X window of the program's windows, or puts theirs back.
  void ShowWaitCursorEverywhere(bool shown);
  // The newest open window that is shown and not closing: the owner of dialogs, modal
  // windows and menus.
  GtkWindow* ActiveWindow() const;
  WebPage& PageOf(const UnitModel& unit) const;
  static gboolean RunPosted(gpointer task);
  static gboolean Tick(gpointer source);

  Program* program_ = nullptr;
  std::unique_ptr<PictureCache> pictures_;
  std::vector<std::pair<LoopToken*, GMainLoop*>> running_loops_;
  std::exception_ptr kept_failure_;
  std::map<TimerId, TimerEntry> timers_;
  std::set<guint> posted_;  // idle sources not run yet
  TimerId next_timer_ = 1;
  std::vector<std::pair<UnitId, std::unique_ptr<DesktopWindow>>> windows_;  // opening order
  bool wait_cursor_ = false;
  int handling_ = 0;  // depth of Guard: the program is running a handler
  gint64 drawn_at_ = 0;  // when a handler's changes were last drawn (monotonic us)
  int wait_depth_ = 0;
  gint64 wait_began_ = 0;
  std::vector<GdkEvent*> kept_input_;  // owned copies, in order
  std::vector<std::pair<GdkWindow*, GdkCursor*>> own_cursors_;  // referenced; under the wait cursor
};

}  // namespace korvane::platform::ui::desktop
