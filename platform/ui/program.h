#pragma once
// A program's user interface: its windows, the handlers that their events are bound to,
// and the message loop with the rules the programs rely on:
// - LoadWindow raises Created at once; a modal load disables the program's other windows,
//   runs a nested loop and returns only when the window has closed.
// - DestroyUnit on a window is a request: the window closes once the running handler has
//   returned to a loop, so the rest of the handler still sees it open.
// - The program ends when its last window has closed; a hidden window counts as open.
// - Timers tick from load at their Interval, from the loop, also behind a modal window.
// - EndProgram runs the finaliser, closes the windows and ends the process.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/backend.h"
#include "platform/ui/layout.h"
#include "platform/ui/program_ports.h"
#include "platform/ui/resources.h"
#include "platform/ui/units.h"

namespace korvane::platform::ui {

struct Event {
  Unit source;  // the window or control; for a menu item, its window
  Text name;    // "Created", "Clicked", "Tick", "Selected", "TrayIconEvent", ...
  std::vector<std::int64_t> values;  // tray event value, tree item, x and y, ...
  Text text;    // Navigated: the address; Selected: the menu item's caption
};
using Handler = std::function<void(const Event&)>;

// How a backend that unwinds ends the run: thrown by Backend::EndProcess and caught by
// Program::Run, which returns `code`.
struct ProgramEnded {
  int code = 0;
};

// Handles of the device-context style drawing calls.
using WindowHandle = std::uintptr_t;
using DeviceContext = std::uintptr_t;
using RegionHandle = std::uintptr_t;

// The 16-byte TRIVERTEX record: colour channels hold the 8-bit component in the high byte.
struct TriVertex {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::uint16_t red = 0;
  std::uint16_t green = 0;
  std::uint16_t blue = 0;
  std::uint16_t alpha = 0;
};
static_assert(sizeof(TriVertex) == 16);

// GRADIENT_RECT: vertex numbers of the upper-left and lower-right corners.
struct GradientRect {
  std::uint32_t upper_left = 0;
  std::uint32_t lower_right = 1;
};

inline constexpr std::uint32_t kGradientFillRectH = 0;
inline constexpr std::uint32_t kGradientFillRectV = 1;

class Program : private UserInput, private BackendReports, private UnitServices, private ProgramInspection {
 public:
  Program(Backend& backend, const ResourceBundle& resources);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Handlers are bound by the names the layouts use, before the windows are loaded.
  void BindHandler(std::string_view name, Handler handler);
  // Runs once, at the normal end of the program or in EndProgram.
  void SetFinaliser(std::function<void()> finaliser);

  // Runs `start` (which loads the start window), then the message loop until the last
  // window has closed, then the finaliser. Returns the exit code: 0, or EndProgram's.
  int Run(const std::function<void()>& start);

  // Opens a window from its layout. Throws LayoutError for a faulty layout or a handler
  // name that is not bound.
  Window LoadWindow(std::string_view layout_name, bool modal);
  // A window: a close request, carried out from the loop. A control: removed at once.
  void DestroyUnit(const Unit& unit);
  // Waits without handling messages: timers fall due but tick only afterwards.
  void Delay(int ms);
  void ProcessPendingMessages();
  [[noreturn]] void EndProgram(int code);

  void MoveUnit(const Unit& unit, int left, int top, int width, int height);
  void SetUnitZOrder(const Unit& unit, ZOrder order);
  // A new, hidden unit with the properties of `unit` (not its children or paint), in the
  // same parent, at the front.
  Unit CloneUnit(const Unit& unit);
  // Makes `unit` a child of `parent` (a control of the same window, or the window).
  void SetUnitParent(const Unit& unit, const Unit& parent);

  WindowHandle GetWindowHandle(const Unit& unit) const;
  void SetHoverHint(WindowHandle handle, const Text& hint, bool balloon, bool always);

  MessageBoxAnswer ShowMessageBox(const Text& text, MessageBoxStyle style, const Text& title);
  // Pops up the window's menu at `at` (the mouse position when left out); the picked
  // item's Selected handler runs from the loop after this returns, unless the window is
  // behind a modal one by then (a pick is input, refused there as a click is).
  void PopupMenu(const Window& window, std::string_view menu_name, std::optional<Point> at = {});
  int GetMouseX();
  int GetMouseY();
  int GetScreenWidth();
  int GetScreenHeight();
  void SetWaitCursor();
  void RestoreCursor();
  // The notification-area icon of `window`, with the window's icon and `tip`.
  void SetTrayIcon(const Window& window, bool shown, const Text& tip);

  // Device-context drawing on a unit's window (drawing panels). GradientFill takes the
  // vertices as TRIVERTEX bytes; right and bottom are exclusive; false on bad input.
  DeviceContext GetDC(WindowHandle window);
  int ReleaseDC(WindowHandle window, DeviceContext context);
  bool GradientFill(DeviceContext context, std::string_view vertex_bytes, std::uint32_t vertex_count,
                    const GradientRect* rects, std::uint32_t rect_count, std::uint32_t mode);
  RegionHandle CreateRoundRectRgn(int left, int top, int right, int bottom, int corner_width,
                                  int corner_height);
  // The window keeps the region; returns 0 when either handle is unknown.
  int SetWindowRgn(WindowHandle window, RegionHandle region, bool redraw);

 private:
  friend UserInput& InputOf(Program& program);
  friend BackendReports& ReportsOf(Program& program);
  friend class Unit;  // the handles alone take UnitServices (Unit::Services)
  friend const ProgramInspection& InspectionOf(const Program& program);
  friend Backend& BackendOf(Program& program);

  // UserInput (program_ports.h):
  bool UserClick(const Unit& unit) override;
  bool UserLeftButtonDown(const Unit& unit, int x, int y) override;
  bool UserKey(const Window& window, std::string_view key) override;
  bool UserCloseBox(const Window& window) override;
  bool UserTrayEvent(const Window& window, int value) override;
  bool UserSelectItem(const Unit& list, int item) override;
  bool UserActivateTreeItem(const TreeBox& tree, int item) override;
  bool UserNavigate(const WebBrowserBox& browser, const Text& address) override;
  bool UserShortcutMenu(const WebBrowserBox& browser) override;
  // BackendReports (program_ports.h):
  void RaiseEvent(UnitId unit, std::string_view event, std::vector<std::int64_t> values = {},
                  Text text = {}) override;
  void BrowserMovedItself(UnitId browser, const Text& address) override;
  void PageArrived(UnitId browser, const Text& address, std::string bytes) override;
  void WindowMoved(UnitId window, Point place) override;
  // UnitServices (program_ports.h):
  UnitModel* FindModel(UnitId id) override;
  void UnitChanged(UnitModel& unit) override;
  void NavigateBrowser(UnitModel& browser, const Text& address) override;
  void RunBrowser(UnitModel& browser, BrowserCommand command) override;
  void RunEngine(UnitModel& engine, EngineOperation operation, const Text& value) override;
  Views& GetViews() override { return backend_; }
  // ProgramInspection (program_ports.h):
  const ResourceBundle& Resources() const override { return resources_; }
  const UnitModel* FindModel(UnitId id) const override;
  bool IsShown(UnitId id) const override;
  std::vector<Window> Windows() const override;
  const std::vector<MessageBoxRecord>& MessageBoxes() const override { return message_boxes_; }
  const std::vector<MenuRecord>& Menus() const override { return menus_; }
  bool Finished() const override { return finished_; }

  struct ModalLoop {
    UnitId window;
    LoopToken* token;
  };

  void CheckHandlersBound(const UnitModel& window) const;
  void Register(UnitModel& unit);
  void StartTimer(UnitModel& timer);
  void StopTimer(UnitModel& timer);
  void CloseWindowNow(UnitId window);
  void RemoveUnit(UnitModel& unit);
  void QuitAllLoops();
  void RunFinaliser();
  bool AcceptsInput(const UnitModel& unit) const;
  // Selects row or item `item` of a list or tree box the user can reach; false for
  // another unit, one the user cannot reach, or an item it lacks.
  bool SelectForUser(UnitModel* list, int item);
  void RunModal(UnitModel& window);

  Backend& backend_;
  const ResourceBundle& resources_;
  std::map<Text, std::shared_ptr<Handler>, std::less<>> handlers_;
  std::function<void()> finaliser_;
  bool finaliser_ran_ = false;
  bool finished_ = false;
  std::vector<std::unique_ptr<UnitModel>> windows_;
  std::map<UnitId, UnitModel*> units_;
  UnitId next_id_ = 1;
  LoopToken main_loop_;
  std::vector<ModalLoop> modal_loops_;
  std::map<DeviceContext, WindowHandle> contexts_;
  DeviceContext next_context_ = 1;
  std::map<RegionHandle, RoundRegion> regions_;
  RegionHandle next_region_ = 1;
  std::vector<MessageBoxRecord> message_boxes_;
  std::vector<MenuRecord> menus_;
  int wait_cursor_ = 0;
};

}  // namespace korvane::platform::ui
