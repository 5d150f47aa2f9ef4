// A modal window under a real window manager (openbox, started by the test on its own X
// server): it is transient for the window it was opened over and stays above it while the
// user clicks that window.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/platform/ui/desktop/desktop_test_fixture.h"
#include "tests/support/temp_folder.h"

// Last: Xlib's macros (None, Bool, Status) would clash with what comes after.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <gdk/gdkx.h>

namespace korvane::platform::ui::desktop::testing {
namespace {

Display* XDisplay() { return gdk_x11_display_get_xdisplay(gdk_display_get_default()); }

// A 32-bit list property of `window`; empty when it has none.
std::vector<unsigned long> WindowList(::Window window, const char* property) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> list;
  if (XGetWindowProperty(XDisplay(), window, XInternAtom(XDisplay(), property, False), 0, 4096, False, AnyPropertyType,
                         &type, &format, &count, &remaining, &data) == Success &&
      data != nullptr) {
    if (format == 32) list.assign(reinterpret_cast<unsigned long*>(data), reinterpret_cast<unsigned long*>(data) + count);
    XFree(data);
  }
  return list;
}

::Window XidOf(GtkWidget* toplevel) { return GDK_WINDOW_XID(gtk_widget_get_window(toplevel)); }

// openbox on the test's display, with its files in a folder of the test's own.
class WindowManager {
 public:
  WindowManager() {
    manager_ = ::fork();
    if (manager_ == 0) {
      ::setenv("HOME", home_.path().c_str(), 1);
      ::setenv("XDG_CONFIG_HOME", (home_.path() / "config").c_str(), 1);
      ::setenv("XDG_CACHE_HOME", (home_.path() / "cache").c_str(), 1);
      ::execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
      ::_exit(127);
    }
  }
  ~WindowManager() {
    if (manager_ <= 0) return;
    ::kill(manager_, SIGTERM);
    ::waitpid(manager_, nullptr, 0);
  }
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;

  bool Started() const { return manager_ > 0; }

 private:
  testing_support::TempFolder home_;
  pid_t manager_ = -1;
};

class DesktopModalTest : public DesktopProgramTest {
 protected:
  // Clicks the left button at (x, y) of the screen, through the X server as a user does.
  static void UserClick(int x, int y) {
    XTestFakeMotionEvent(XDisplay(), -1, x, y, CurrentTime);
    XTestFakeButtonEvent(XDisplay(), 1, True, CurrentTime);
    XTestFakeButtonEvent(XDisplay(), 1, False, CurrentTime);
    XFlush(XDisplay());
  }

  // Waits until the window manager has handled what reached it before: it answers a
  // request for a new window's frame extents in turn.
  static bool WaitForWindowManager() {
    Display* display = XDisplay();
    const ::Window probe = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = probe;
    request.xclient.message_type = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    request.xclient.format = 32;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &request);
    XFlush(display);
    const bool answered = PumpUntil([&] { return !WindowList(probe, "_NET_FRAME_EXTENTS").empty(); });
    XDestroyWindow(display, probe);
    return answered;
  }

  // The client windows bottom first, as the window manager stacks them.
  static std::vector<unsigned long> Stacking() {
    return WindowList(DefaultRootWindow(XDisplay()), "_NET_CLIENT_LIST_STACKING");
  }
};

TEST_F(DesktopModalTest, AModalWindowStaysAboveItsOwnerWhileTheUserClicksTheOwner) {
  Window desk = OpenShown("Desk", "复选框");
  GtkWidget* owner = backend_.WindowWidget(desk.Id());
  const ::Window owner_xid = XidOf(owner);
  // Started after the owner is shown, the window manager takes it over as it starts.
  WindowManager manager;
  ASSERT_TRUE(manager.Started());
  ASSERT_TRUE(PumpUntil([&] {
    const std::vector<unsigned long> stacking = Stacking();
    return std::find(stacking.begin(), stacking.end(), owner_xid) != stacking.end();
  })) << "openbox did not manage the window (Debian package openbox)";
  std::vector<std::string> failures;
  program_.BindHandler("OnDialogCreated", [&](const Event& event) {
    const Window dialog = event.source.ParentWindow();
    backend_.Post([&, dialog] {
      GtkWidget* modal = backend_.WindowWidget(dialog.Id());
      const ::Window modal_xid = XidOf(modal);
      auto above = [&] {
        const std::vector<unsigned long> stacking = Stacking();
        auto position = [&](::Window xid) { return std::find(stacking.begin(), stacking.end(), xid); };
        return position(modal_xid) != stacking.end() && position(modal_xid) > position(owner_xid);
      };
      if (!PumpUntil(above)) failures.push_back("the modal window never stood above its owner");
      ::Window transient_for = None;
      XGetTransientForHint(XDisplay(), modal_xid, &transient_for);
      if (transient_for != owner_xid) failures.push_back("WM_TRANSIENT_FOR is not the owner");
      // A corner of the owner that the modal window does not cover.
      int x = 0;
      int y = 0;
      gdk_window_get_origin(gtk_widget_get_window(owner), &x, &y);
      for (int click = 1; click <= 3; ++click) {
        UserClick(x + 5, y + 5);
        if (!WaitForWindowManager()) failures.push_back("the window manager stopped answering");
        if (!above()) failures.push_back("the owner stood above the modal window after click " + std::to_string(click));
      }
      program_.DestroyUnit(dialog);
    });
  });
  program_.LoadWindow("Dialog", true);
  for (const std::string& failure : failures) ADD_FAILURE() << failure;
}

}  // namespace
}  // namespace korvane::platform::ui::desktop::testing
