// The real `Player` on the desktop backend, on an X server of the test's own, against the
// files the headless runs are served. A user's clicks and keys (xdotool, Debian package
// xdotool) switch the views and open the settings and about windows, and the screen must
// show each control where the headless dump of the same actions puts it. With
// KORVANE_SCREENSHOT_FOLDER set, each view's window and each of those windows is also
// saved there as a PNG (tools/screenshots).

#include <gtk/gtk.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/player/startup/player_program_run.h"

namespace korvane::player::testing {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using namespace remote;

struct ViewStep {
  const char* label;  // of the headless dump and the screenshot
  const char* click;  // the control clicked to reach it; none for the view at start
};

// List "2": the start shows the player view with the list open.
constexpr ViewStep kViews[] = {
    {"player", nullptr},
    {"list-closed", "列表关闭按钮"},
    {"film-library", "主界面片库按钮"},
    {"find-film", "主界面找片按钮"},
};

// The window's own pictures and colours: shown, each must put something other than the
// black of an empty X screen in its rectangle.
constexpr const char* kDrawnControls[] = {
    "启动窗口顶部背景", "主界面选项按钮", "主界面播放按钮", "主界面片库按钮", "主界面找片按钮",
    "启动窗口最小化按钮", "启动窗口关闭按钮", "启动窗口左边背景", "启动窗口右边背景", "启动窗口底部背景",
    "启动窗口底部按钮背景", "主界面暂停播放按钮", "主界面下一集按钮", "主界面上一集按钮", "主界面列表按钮",
    "主窗体播放器节目列表", "列表关闭按钮", "打开列表按钮", "画板1",
};

// Each catalogue browser's page is one colour, to be told apart on screen.
struct BrowserPage {
  const char* browser;
  const RemoteFile* address_file;
  const char* page;
  guint32 colour;  // 0xRRGGBB
};
constexpr BrowserPage kPages[] = {
    {"主界面片库浏览器", &kCataloguePage, "pianku.html", 0x2050A0},
    {"主界面找片浏览器", &kFindPage, "zhaopian.html", 0xA05020},
};

struct ScreenRect {
  int left = 0, top = 0, width = 0, height = 0;
};

std::ostream& operator<<(std::ostream& os, const ScreenRect& r) {
  return os << "[" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "]";
}

// The settings and about windows, opened from the options menu, and the pictures and
// boxes they draw. The window's frame edges stand in front of everything.
struct PanelStep {
  const char* label;
  const char* window;
  const char* title;
};
constexpr PanelStep kPanels[] = {
    {"player-settings", "SettingsWindow", "Korvane影音系列设置窗口"},
    {"player-about", "AboutWindow", "Korvane影音系列关于窗口"},
};
constexpr const char* kPanelControls[] = {
    "选项按钮", "关于按钮", "关闭按钮", "图形按钮1", "图形按钮2", "图形按钮3",
    "开机启动", "始终置顶", "取消置顶", "模式1", "模式2", "模式3", "屏保选择", "始终置顶4", "LOGO",
    "图片框4", "图片框3", "图片框1", "图片框2",
};
// The keys that pick " 设置" in the options menu popped up: its first item, the
// separator stepped over, then the settings item.
constexpr char kPickSettingsKeys[] = "Down Down Return";

// Where the dump puts a control of `window` on the screen: its rectangle moved by its
// parents' and the window's.
ScreenRect OnScreen(const ProgramRun& run, std::string_view label, std::string_view name,
                    std::string_view window_name = "MainWindow") {
  const json window = run.WindowIn(label, window_name);
  json control = run.Control(label, name);
  ScreenRect rect{window["rect"][0], window["rect"][1], control["rect"][2], control["rect"][3]};
  for (; control.is_object(); control = run.Control(label, testing_support::Gbk(control["parent"]))) {
    rect.left += control["rect"][0].get<int>();
    rect.top += control["rect"][1].get<int>();
    if (!control.contains("parent") || control["parent"].is_null()) break;
  }
  return rect;
}

// The part of a control on screen: inside its parent, and inside the window's frame
// lines, which stand in front of everything at its edges.
ScreenRect Seen(const ProgramRun& run, std::string_view label, std::string_view name, std::string_view window_name) {
  constexpr int kFrameLine = 2;
  const json window = run.WindowIn(label, window_name)["rect"];
  ScreenRect seen = OnScreen(run, label, name, window_name);
  const auto clip = [&seen](int left, int top, int right, int bottom) {
    const int seen_right = std::min(seen.left + seen.width, right);
    const int seen_bottom = std::min(seen.top + seen.height, bottom);
    seen.left = std::max(seen.left, left);
    seen.top = std::max(seen.top, top);
    seen.width = std::max(0, seen_right - seen.left);
    seen.height = std::max(0, seen_bottom - seen.top);
  };
  const json parent = run.Control(label, testing_support::Gbk(run.Control(label, name)["parent"]));
  if (parent.is_object()) {
    const ScreenRect p = OnScreen(run, label, testing_support::Gbk(parent["name"]), window_name);
    clip(p.left, p.top, p.left + p.width, p.top + p.height);
  }
  clip(window[0].get<int>() + kFrameLine, window[1].get<int>() + kFrameLine,
       window[0].get<int>() + window[2].get<int>() - kFrameLine, window[1].get<int>() + window[3].get<int>() - kFrameLine);
  return seen;
}

// What the X server shows, read back whole.
class Screen {
 public:
  Screen() : pixels_(gdk_pixbuf_get_from_window(gdk_get_default_root_window(), 0, 0, Width(), Height())) {}
  ~Screen() {
    if (pixels_ != nullptr) g_object_unref(pixels_);
  }
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  static int Width() { return gdk_window_get_width(gdk_get_default_root_window()); }
  static int Height() { return gdk_window_get_height(gdk_get_default_root_window()); }

  guint32 At(int x, int y) const {
    const guchar* pixel = gdk_pixbuf_get_pixels(pixels_) + y * gdk_pixbuf_get_rowstride(pixels_) +
                          x * gdk_pixbuf_get_n_channels(pixels_);
    return pixel[0] << 16 | pixel[1] << 8 | pixel[2];
  }
  // Whether the screen holds `picture` at the rectangle's corner, where `seen` (the part
  // of it on screen) lies; its transparent pixels show what lies behind, and are not
  // compared.
  bool Shows(const ScreenRect& r, const ScreenRect& seen, GdkPixbuf* picture) const {
    const int channels = gdk_pixbuf_get_n_channels(picture);
    for (int y = seen.top - r.top; y < std::min(seen.top + seen.height - r.top, gdk_pixbuf_get_height(picture)); ++y) {
      for (int x = seen.left - r.left; x < std::min(seen.left + seen.width - r.left, gdk_pixbuf_get_width(picture)); ++x) {
        const guchar* pixel = gdk_pixbuf_get_pixels(picture) + y * gdk_pixbuf_get_rowstride(picture) + x * channels;
        if (channels == 4 && pixel[3] == 0) continue;
        if (At(r.left + x, r.top + y) != guint32(pixel[0] << 16 | pixel[1] << 8 | pixel[2])) return false;
      }
    }
    return true;
  }
  bool AnyNotBlack(const ScreenRect& r) const {
    for (int y = r.top; y < r.top + r.height; ++y) {
      for (int x = r.left; x < r.left + r.width; ++x) {
        if (At(x, y) != 0) return true;
      }
    }
    return false;
  }
  void Save(const ScreenRect& r, const fs::path& file) const {
    GdkPixbuf* part = gdk_pixbuf_new_subpixbuf(pixels_, r.left, r.top, r.width, r.height);
    EXPECT_TRUE(gdk_pixbuf_save(part, file.c_str(), "png", nullptr, nullptr)) << file;
    g_object_unref(part);
  }

 private:
  GdkPixbuf* pixels_;
};

std::string Output(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  std::string output;
  char buffer[256];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) output += buffer;
  return output;
}

// Waits while `done` does not hold: false after 60 s (a hang; a first start of WebKit's
// processes on a loaded machine is slow, and nothing here is a timing goal).
bool WaitFor(const std::function<bool()>& done) {
  const gint64 deadline = g_get_monotonic_time() + 60 * G_USEC_PER_SEC;
  while (!done()) {
    if (g_get_monotonic_time() > deadline) return false;
    g_usleep(100 * 1000);
  }
  return true;
}

class PlayerDesktopScreensTest : public ::testing::Test {
 protected:
  PlayerDesktopScreensTest() {
    EXPECT_TRUE(gtk_init_check(nullptr, nullptr)) << "no X server";
    for (const BrowserPage& page : kPages) {
      const Text address = program_.HomeAddress() + page.page;
      program_.Serve(*page.address_file, address);
      char html[128];
      std::snprintf(html, sizeof html, "<html><body style=\"background:#%06X\"></body></html>", page.colour);
      program_.Server().Script(testing_support::ParseAddress(address).path,
                               {200, html, {{"Content-Type", "text/html"}}});
    }
    for (const auto& [file, value] : std::vector<std::pair<const RemoteFile*, Text>>{
             {&kHomeAddress, program_.HomeAddress()}, {&kTextAdSwitch, "0"}, {&kPauseAdSwitch, "1"},
             {&kExitAdSwitch, "0"}, {&kProviderName, kTitle}, {&kVersionFlag, "no"}, {&kCornerAdSwitch, "0"}}) {
      program_.Serve(*file, value);
    }
    program_.WriteFile(program_.Installed("PlayerConfig.ini"), "[Config]\r\nList=2\r\nButton=1\r\n");
  }

  static std::string HeadlessScript() {
    std::string script;
    for (const ViewStep& view : kViews) {
      if (view.click != nullptr) script += std::string("click ") + view.click + "\n";
      script += std::string("dump ") + view.label + "\n";
    }
    return script;
  }

  // A window on the X server: the shown window of that process with the title.
  static std::string FindWindow(pid_t pid, const Text& title = kTitle) {
    std::string id;
    WaitFor([&] {
      id = Output("xdotool search --all --onlyvisible --pid " + std::to_string(pid) + " --name '^" +
                  std::string(AsChars(GbkToUtf8(title))) + "$'");
      return !id.empty();
    });
    if (!id.empty() && id.back() == '\n') id.pop_back();
    return id;
  }

  static ScreenRect WindowGeometry(const std::string& id) {
    std::istringstream shell(Output("xdotool getwindowgeometry --shell " + id));
    ScreenRect rect;
    for (std::string line; std::getline(shell, line);) {
      const std::size_t equals = line.find('=');
      if (equals == std::string::npos) continue;
      const std::string name = line.substr(0, equals);
      const int value = std::atoi(line.c_str() + equals + 1);
      if (name == "X") rect.left = value;
      if (name == "Y") rect.top = value;
      if (name == "WIDTH") rect.width = value;
      if (name == "HEIGHT") rect.height = value;
    }
    return rect;
  }

  // A user's left click in the middle of the control, the mouse then taken off the window
  // so that no hover picture stays.
  static void Click(const ScreenRect& control) {
    const std::string command = "xdotool mousemove --sync " + std::to_string(control.left + control.width / 2) +
                                " " + std::to_string(control.top + control.height / 2) +
                                " click 1 mousemove --sync 0 0";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
  }

  // What differs between the controls of `window` on the screen and in the dump labelled
  // `label`: each drawn control must put something in its rectangle, and the picture
  // buttons (and, with `boxes_too`, the picture boxes) their GIF picture; empty when
  // nothing differs.
  template <std::size_t N>
  static std::vector<std::string> Differences(const Screen& screen, const ProgramRun& run, std::string_view label,
                                              std::string_view window, const char* const (&controls)[N],
                                              bool boxes_too) {
    std::vector<std::string> differences;
    for (const char* name : controls) {
      const json control = run.Control(label, name);
      if (!control.is_object() || testing_support::Gbk(control["window"]) != window) continue;
      const ScreenRect rect = OnScreen(run, label, name, window);
      if (control["shown"].get<bool>() && !screen.AnyNotBlack(rect)) {
        std::ostringstream what;
        what << AsChars(GbkToUtf8(name)) << " at " << rect << " is not drawn";
        differences.push_back(what.str());
      }
    }
    for (const char* name : controls) {
      const json control = run.Control(label, name);
      if (!control.is_object() || testing_support::Gbk(control["window"]) != window || !control["shown"].get<bool>()) {
        continue;
      }
      const bool compared = control["kind"] == "PictureButton" || (boxes_too && control["kind"] == "PictureBox");
      if (!compared || !control.contains("pictures")) continue;
      const std::string file = control["pictures"]["normal"];
      if (!file.ends_with(".gif")) continue;  // JPEG decoders may round differently
      GdkPixbuf* picture = gdk_pixbuf_new_from_file((std::string(KORVANE_PLAYER_RESOURCES "/") + file).c_str(), nullptr);
      const ScreenRect rect = OnScreen(run, label, name, window);
      if (picture == nullptr || !screen.Shows(rect, Seen(run, label, name, window), picture)) {
        std::ostringstream what;
        what << AsChars(GbkToUtf8(name)) << " at " << rect << " does not show " << file;
        differences.push_back(what.str());
      }
      if (picture != nullptr) g_object_unref(picture);
    }
    return differences;
  }

  // The main window's controls, and each catalogue browser's page in its area.
  static std::vector<std::string> Differences(const Screen& screen, const ProgramRun& run, std::string_view label) {
    std::vector<std::string> differences = Differences(screen, run, label, "MainWindow", kDrawnControls, false);
    for (const BrowserPage& page : kPages) {
      if (!run.Control(label, page.browser)["shown"].get<bool>()) continue;
      const ScreenRect rect = OnScreen(run, label, page.browser);
      const guint32 seen = screen.At(rect.left + rect.width / 2, rect.top + rect.height / 2);
      if (seen != page.colour) {
        char what[160];
        std::snprintf(what, sizeof what, "%s at the middle of its rectangle shows #%06X, not its page's #%06X",
                      std::string(AsChars(GbkToUtf8(page.browser))).c_str(), seen, page.colour);
        differences.push_back(what);
      }
    }
    return differences;
  }

  static std::string Joined(const std::vector<std::string>& lines) {
    std::string joined;
    for (const std::string& line : lines) joined += line + "\n";
    return joined;
  }

  static constexpr char kTitle[] = "演示影院";
  PlayerProgramRun program_;
};

TEST_F(PlayerDesktopScreensTest, EachViewIsOnScreenWhereTheHeadlessDumpOfTheSameClicksPutsIt) {
  const ProgramRun headless = program_.Run(HeadlessScript());
  ASSERT_FALSE(headless.WindowIn(kViews[0].label, "MainWindow").is_null()) << headless.error_output;

  testing_support::StartedProgram player =
      program_.Start("", {{"KORVANE_UI", "desktop"}, {"KORVANE_UI_TIME", "real"}, {"KORVANE_UI_SCRIPT", ""}});
  const std::string window = FindWindow(player.pid);
  ASSERT_FALSE(window.empty()) << "no main window shown";
  const json expected = headless.WindowIn(kViews[0].label, "MainWindow")["rect"];
  const ScreenRect shown = WindowGeometry(window);
  EXPECT_EQ(json::array({shown.left, shown.top, shown.width, shown.height}), expected);

  const char* screenshots = std::getenv("KORVANE_SCREENSHOT_FOLDER");
  const char* previous = nullptr;
  for (const ViewStep& view : kViews) {
    SCOPED_TRACE(view.label);
    if (view.click != nullptr) Click(OnScreen(headless, previous, view.click));
    previous = view.label;
    std::vector<std::string> differences;
    WaitFor([&] { return (differences = Differences(Screen(), headless, view.label)).empty(); });
    EXPECT_TRUE(differences.empty()) << Joined(differences);
    if (screenshots != nullptr) Screen().Save(shown, fs::path(screenshots) / (std::string(view.label) + ".png"));
  }

  // The window has no user way out yet (the close box and the options menu come with the
  // windows around it): the test ends the process it started.
  ::kill(player.pid, SIGTERM);
  testing_support::FinishBlackBox(player);
}

// The options button's menu opens the settings window and its about tab the about window,
// each centred over the main window as the headless dump of the same actions has it.
TEST_F(PlayerDesktopScreensTest, TheSettingsAndAboutWindowsAreOnScreenWhereTheHeadlessDumpPutsThem) {
  const ProgramRun headless = program_.Run(std::string("click 主界面选项按钮\nmenu \" 设置\"\ndump ") + kPanels[0].label +
                                           "\nclick 关于按钮\ndump " + kPanels[1].label + "\n");
  for (const PanelStep& panel : kPanels) {
    ASSERT_TRUE(headless.WindowIn(panel.label, panel.window).is_object()) << panel.label << headless.error_output;
  }

  testing_support::StartedProgram player =
      program_.Start("", {{"KORVANE_UI", "desktop"}, {"KORVANE_UI_TIME", "real"}, {"KORVANE_UI_SCRIPT", ""}});
  ASSERT_FALSE(FindWindow(player.pid).empty()) << "no main window shown";
  const std::string shown_before = Output("xdotool search --onlyvisible --pid " + std::to_string(player.pid));
  Click(OnScreen(headless, kPanels[0].label, "主界面选项按钮"));
  EXPECT_TRUE(WaitFor([&] {
    return Output("xdotool search --onlyvisible --pid " + std::to_string(player.pid)) != shown_before;
  })) << "no menu shown";
  const std::string keys = std::string("xdotool key --delay 100 ") + kPickSettingsKeys;
  EXPECT_EQ(std::system(keys.c_str()), 0) << keys;

  const char* screenshots = std::getenv("KORVANE_SCREENSHOT_FOLDER");
  const PanelStep* previous = nullptr;
  for (const PanelStep& panel : kPanels) {
    SCOPED_TRACE(panel.label);
    if (previous != nullptr) Click(OnScreen(headless, previous->label, "关于按钮", previous->window));
    previous = &panel;
    const std::string window = FindWindow(player.pid, panel.title);
    ASSERT_FALSE(window.empty()) << "not shown";
    const json expected = headless.WindowIn(panel.label, panel.window)["rect"];
    const ScreenRect shown = WindowGeometry(window);
    EXPECT_EQ(json::array({shown.left, shown.top, shown.width, shown.height}), expected);
    std::vector<std::string> differences;
    WaitFor([&] {
      return (differences = Differences(Screen(), headless, panel.label, panel.window, kPanelControls, true)).empty();
    });
    EXPECT_TRUE(differences.empty()) << Joined(differences);
    if (screenshots != nullptr) Screen().Save(shown, fs::path(screenshots) / (std::string(panel.label) + ".png"));
  }

  ::kill(player.pid, SIGTERM);
  testing_support::FinishBlackBox(player);
}

}  // namespace
}  // namespace korvane::player::testing
