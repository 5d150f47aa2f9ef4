// While a handler waits on a fetch that the server holds back, the windows live on: an
// uncovered window repaints from its model, a hover picture follows the pointer, the wait
// cursor shows (over a control's own cursor too), and a click made meanwhile reaches the
// program once the handler has returned; no timer ticks during the wait. The user is a
// thread of the test with an X connection of its own (pixels and the cursor read back
// from the server, the pointer and the window moved by xdotool), since the window thread
// is inside the fetch.

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/services/curl_http_client.h"
#include "platform/services/wait_pump.h"
#include "platform/ui/desktop/desktop_drawing.h"
#include "tests/platform/ui/desktop/desktop_test_fixture.h"
#include "tests/support/test_http_server.h"

// Xlib's macros (None, Status, ...) would clash with names of the headers above.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <gdk/gdkx.h>

namespace korvane::platform::ui::desktop::testing {
namespace {

constexpr char8_t kWaitLayout[] = u8R"({
  "caption": "等待",
  "size": [300, 200],
  "frame": "none",
  "back_colour": "0x404040",
  "pictures": {"next_normal.bmp": [72, 22], "next_hover.bmp": [72, 22]},
  "controls": [
    {"kind": "PictureBox", "name": "图片框_面板", "rect": [0, 0, 300, 100], "back_colour": "0x00FF00"},
    {"kind": "PictureButton", "name": "按钮_下一步", "rect": [20, 130, 72, 22], "cursor": "hand",
     "pictures": {"normal": "next_normal.bmp", "hover": "next_hover.bmp"}, "events": {"Clicked": "OnNextClicked"}},
    {"kind": "Timer", "name": "时钟", "interval": 20, "events": {"Tick": "OnTick"}}
  ]
})";

bool Xdotool(const std::string& arguments) { return std::system(("xdotool " + arguments).c_str()) == 0; }

// The user's side: an X connection of its own.
class User {
 public:
  User() : display_(XOpenDisplay(nullptr)) {}
  ~User() {
    if (display_ != nullptr) XCloseDisplay(display_);
  }
  User(const User&) = delete;
  User& operator=(const User&) = delete;

  // The colour (0x00BBGGRR) of the screen at (x, y).
  Colour ScreenPixel(int x, int y) {
    XImage* image = XGetImage(display_, DefaultRootWindow(display_), x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return 0xFFFFFFFF;
    const unsigned long rgb = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return static_cast<Colour>((rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16);
  }
  // The name of the cursor the pointer shows.
  std::string CursorName() {
    XFixesCursorImage* cursor = XFixesGetCursorImage(display_);
    if (cursor == nullptr) return {};
    std::string name = cursor->name != nullptr ? cursor->name : "";
    XFree(cursor);
    return name;
  }
  // Whether `done` holds within 5 s.
  static bool Within(const std::function<bool()>& done) {
    const gint64 deadline = g_get_monotonic_time() + 5 * G_USEC_PER_SEC;
    while (!done()) {
      if (g_get_monotonic_time() > deadline) return false;
      g_usleep(10'000);
    }
    return true;
  }

 private:
  Display* display_;
};

// The colour of the picture's first pixel that differs from `other`'s, and where.
struct Telling {
  int x = 0;
  int y = 0;
  Colour colour = 0;
};
Telling TellingPixel(cairo_surface_t* picture, cairo_surface_t* other) {
  auto at = [](cairo_surface_t* surface, int x, int y) {
    const std::uint32_t argb = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface) +
                                                                      y * cairo_image_surface_get_stride(surface))[x];
    return static_cast<Colour>((argb >> 16 & 0xFF) | (argb & 0xFF00) | (argb & 0xFF) << 16);
  };
  for (int y = 2; y < cairo_image_surface_get_height(picture) - 2; ++y) {
    for (int x = 2; x < cairo_image_surface_get_width(picture) - 2; ++x) {
      if (at(picture, x, y) != at(other, x, y)) return {x, y, at(picture, x, y)};
    }
  }
  return {};
}

class DesktopWaitTest : public DesktopProgramTest {
 protected:
  DesktopWaitTest() {
    resources_.AddCopy("Wait.layout.json", std::string(AsChars(kWaitLayout)));
    program_.BindHandler("OnNextClicked", [this](const Event&) { ++clicks_; });
    program_.BindHandler("OnTick", [this](const Event&) { ++ticks_; });
  }

  const InstalledWaitPump pump_{backend_};
  int clicks_ = 0;
  int ticks_ = 0;
};

TEST_F(DesktopWaitTest, WhileAHandlerWaitsTheWindowsShowAndInputWaitsForTheHandler) {
  Window window = OpenShown("Wait", "按钮_下一步");
  GtkWidget* button = Widget(window, "按钮_下一步");
  GtkWidget* toplevel = backend_.WindowWidget(window.Id());
  PictureCache pictures(resources_);
  const Telling hover = TellingPixel(pictures.Find("next_hover.bmp"), pictures.Find("next_normal.bmp"));
  ASSERT_NE(hover.x, 0);
  Point origin;
  gdk_window_get_origin(gtk_widget_get_window(toplevel), &origin.x, &origin.y);
  Point at_button;
  gdk_window_get_origin(gtk_layout_get_bin_window(GTK_LAYOUT(button)), &at_button.x, &at_button.y);
  const Point panel{origin.x + 250, origin.y + 50};  // in the half that goes off the screen
  User user;
  ASSERT_TRUE(PumpUntil([&] { return user.ScreenPixel(panel.x, panel.y) == 0x00FF00u; }));
  const std::string xid = std::to_string(gdk_x11_window_get_xid(gtk_widget_get_window(toplevel)));

  testing_support::TestHttpServer server;
  server.Script("/held", {.body = "late", .stall = true});
  std::unique_ptr<HttpClient> http = CreateCurlHttpClient();
  struct Seen {
    bool repainted = false;
    bool hover = false;
    std::string cursor;
    bool clicked = false;
  } seen;
  std::thread user_thread([&] {
    User::Within([&] { return !server.Requests().empty(); });
    Xdotool("windowmove --sync " + xid + " 874 " + std::to_string(origin.y));
    Xdotool("windowmove --sync " + xid + " " + std::to_string(origin.x) + " " + std::to_string(origin.y));
    seen.repainted = User::Within([&] { return user.ScreenPixel(panel.x, panel.y) == 0x00FF00u; });
    Xdotool("mousemove --sync " + std::to_string(at_button.x + hover.x) + " " + std::to_string(at_button.y + hover.y));
    seen.hover = User::Within([&] { return user.ScreenPixel(at_button.x + hover.x, at_button.y + hover.y) == hover.colour; });
    User::Within([&] {
      seen.cursor = user.CursorName();
      return seen.cursor == "watch";
    });
    seen.clicked = Xdotool("click 1");
    server.ReleaseStalls();
  });
  std::string body;
  int clicks_when_fetched = -1;
  int ticks_during_wait = -1;
  backend_.Guard([&] {
    const int ticks = ticks_;
    body = http->HttpGetBytes(server.Url("/held"), kPageLimits);
    clicks_when_fetched = clicks_;
    ticks_during_wait = ticks_ - ticks;
  });
  user_thread.join();
  EXPECT_EQ(body, "late");
  EXPECT_TRUE(seen.repainted) << "the window uncovered during the wait was not repainted";
  EXPECT_TRUE(seen.hover) << "no hover picture during the wait";
  EXPECT_EQ(seen.cursor, "watch");
  EXPECT_EQ(ticks_during_wait, 0);
  ASSERT_TRUE(seen.clicked);
  EXPECT_EQ(clicks_when_fetched, 0);
  EXPECT_TRUE(PumpUntil([&] { return clicks_ == 1; }));
  // The program's own cursor is back once the wait is over.
  EXPECT_TRUE(PumpUntil([&] { return user.CursorName() != "watch"; }));
}

}  // namespace
}  // namespace korvane::platform::ui::desktop::testing
