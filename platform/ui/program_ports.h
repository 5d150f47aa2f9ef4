#pragma once
// Program's faces for those who are not the program: user input as a backend or a script
// delivers it, what a backend reports back about the model, what the unit handles ask of
// their program, and what tests, the dump, the script and the backends read of it.
// Program code never sees them on Program (program.h); a backend, the automation or a test
// takes them with InputOf, ReportsOf, InspectionOf, ModelOf and BackendOf, and the unit
// handles (units.h) alone take UnitServices.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/backend.h"
#include "platform/ui/resources.h"
#include "platform/ui/units.h"

namespace korvane::platform::ui {

class Program;

// Input to a window behind a modal one, or to a hidden or disabled control, is refused:
// false, and nothing happens.
class UserInput {
 public:
  virtual bool UserClick(const Unit& unit) = 0;
  virtual bool UserLeftButtonDown(const Unit& unit, int x, int y) = 0;
  virtual bool UserKey(const Window& window, std::string_view key) = 0;
  virtual bool UserCloseBox(const Window& window) = 0;
  virtual bool UserTrayEvent(const Window& window, int value) = 0;
  // A single click on a row of a list box or an item of a tree box: it becomes the
  // selection, and Clicked is raised.
  virtual bool UserSelectItem(const Unit& list, int item) = 0;
  // A double click or Enter on a tree item: it becomes the selection, and ItemActivated
  // is raised.
  virtual bool UserActivateTreeItem(const TreeBox& tree, int item) = 0;
  // A link followed, or an address typed, inside the page of a browser box.
  virtual bool UserNavigate(const WebBrowserBox& browser, const Text& address) = 0;
  // The user asks for the context menu inside a browser box's page.
  virtual bool UserShortcutMenu(const WebBrowserBox& browser) = 0;

 protected:
  ~UserInput() = default;
};

// What a backend reports; the model changes only here.
class BackendReports {
 public:
  // Raises `event` on the unit; nothing when no handler is bound to it.
  virtual void RaiseEvent(UnitId unit, std::string_view event, std::vector<std::int64_t> values = {},
                          Text text = {}) = 0;
  // The page moved by itself (a form, a script): a history entry like any, and a load.
  virtual void BrowserMovedItself(UnitId browser, const Text& address) = 0;
  // The page of the latest load has arrived: its address and bytes are kept, and
  // Navigated is raised with the address.
  virtual void PageArrived(UnitId browser, const Text& address, std::string bytes) = 0;
  // The user or the desktop put the window at `place`.
  virtual void WindowMoved(UnitId window, Point place) = 0;

 protected:
  ~BackendReports() = default;
};

// What the unit handles (units.h) ask of their program: the model a handle stands for,
// and the changes that go through Program or to the backend's views.
class UnitServices {
 public:
  // The unit's model; nullptr once it has gone.
  virtual UnitModel* FindModel(UnitId id) = 0;
  // The handle has changed the unit's model: timers restart, the backend shows it.
  virtual void UnitChanged(UnitModel& unit) = 0;
  // Browser boxes: the history moves here, the backend only loads and stops.
  virtual void NavigateBrowser(UnitModel& browser, const Text& address) = 0;
  virtual void RunBrowser(UnitModel& browser, BrowserCommand command) = 0;
  virtual void RunEngine(UnitModel& engine, EngineOperation operation, const Text& value) = 0;
  // Text measurement and the hypertext boxes' pages.
  virtual Views& GetViews() = 0;

 protected:
  ~UnitServices() = default;
};

struct MessageBoxRecord {
  MessageBoxRequest request;
  MessageBoxAnswer answer;
};

struct MenuRecord {
  Text window;
  Text menu;
  Point at;
  Text picked;  // the caption of the item picked, empty when dismissed
};

// What tests, the dump, the script and the backends read of a program.
class ProgramInspection {
 public:
  virtual const ResourceBundle& Resources() const = 0;
  // The unit's model; nullptr once it has gone.
  virtual const UnitModel* FindModel(UnitId id) const = 0;
  // Visible, inside visible parents and a visible window: what the user can see.
  virtual bool IsShown(UnitId id) const = 0;
  // Open windows in the order they were opened.
  virtual std::vector<Window> Windows() const = 0;
  // The message boxes asked and the popup menus shown, with what the user answered.
  virtual const std::vector<MessageBoxRecord>& MessageBoxes() const = 0;
  virtual const std::vector<MenuRecord>& Menus() const = 0;
  // The run has ended (the last window closed, or EndProgram).
  virtual bool Finished() const = 0;

 protected:
  ~ProgramInspection() = default;
};

UserInput& InputOf(Program& program);
BackendReports& ReportsOf(Program& program);
const ProgramInspection& InspectionOf(const Program& program);
// The unit's model, read through InspectionOf; nullptr once it has gone or for a handle of
// no program.
const UnitModel* ModelOf(const Unit& unit);
// The backend the program runs on: for a test that drives the desktop it opened.
Backend& BackendOf(Program& program);

}  // namespace korvane::platform::ui
