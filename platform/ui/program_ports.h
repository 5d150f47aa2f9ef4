#pragma once
// Program's faces for those who are not the program: user input as a backend or a script
// delivers it, and what a backend reports back about the model. Program code never sees
// them on Program (program.h); a backend, the automation or a test takes them with
// InputOf and ReportsOf.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/backend.h"
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

UserInput& InputOf(Program& program);
BackendReports& ReportsOf(Program& program);

}  // namespace korvane::platform::ui
