// The real `Player` on the desktop backend, on an X server of the test's own, against the
// files the headless runs are served. A user's clicks and keys (xdotool, Debian package
// xdotool) switch the views and open the ad, settings and about windows and the menus,
// and the screen must show each where the headless dump of the same actions puts it.
// With KORVANE_SCREENSHOT_FOLDER set, each is also saved there as a PNG
// (tools/screenshots).

#include <gtk/gtk.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/player/player_screen.h"
#include "tests/player/player_program_run.h"

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
ScreenRect Seen(const ProgramRun& run, std::string_view label, std::string_view name,
                std::string_view window_name = "MainWindow") {
  constexpr int kFrameLine = 2;
  const json window = run.WindowIn(label, window_name)["rect"];
  const ScreenRect seen = OnScreen(run, label, name, window_name);
  const json parent = run.Control(label, testing_support::Gbk(run.Control(label, name)["parent"]));
  const ScreenRect inside =
      parent.is_object() ? seen.Within(OnScreen(run, label, testing_support::Gbk(parent["name"]), window_name)) : seen;
  return inside.Within({window[0].get<int>() + kFrameLine, window[1].get<int>() + kFrameLine,
                        window[2].get<int>() - 2 * kFrameLine, window[3].get<int>() - 2 * kFrameLine});
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
  static std::string FindShownWindow(pid_t pid, const Text& title) {
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
  const std::string window = FindShownWindow(player.pid, kTitle);
  ASSERT_FALSE(window.empty()) << "no main window shown";
  const json expected = headless.WindowIn(kViews[0].label, "MainWindow")["rect"];
  const ScreenRect shown = WindowGeometry(window);
  EXPECT_EQ(json::array({shown.left, shown.top, shown.width, shown.height}), expected);

  const char* screenshots = std::getenv("KORVANE_SCREENSHOT_FOLDER");
  const char* previous = nullptr;
  for (const ViewStep& view : kViews) {
    SCOPED_TRACE(view.label);
    if (view.click != nullptr) ClickOnScreen(OnScreen(headless, previous, view.click));
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

// ---- The ad windows ------------------------------------------------------------------

// An ad window's page is one colour, its close button the same picture in both.
struct AdWindowShot {
  const char* label;        // of the headless dump and the screenshot "player-LABEL.png"
  const char* window;       // layout name
  const char* page;         // below the home address
  guint32 colour;           // 0xRRGGBB
};
constexpr AdWindowShot kAdShots[] = {
    {"corner-ad", "CornerAdWindow", "corner-ad.html", 0x30A040},
    {"exit-ad", "ExitAdWindow", "exit-ad.html", 0xC04080},
};

// A control of the named window (both ad windows name theirs alike), in the dump labelled
// `label`; its rectangle on screen, the window's moved by the control's.
ScreenRect AdControlOnScreen(const ProgramRun& run, std::string_view label, std::string_view window,
                             std::string_view name) {
  const json shown = run.WindowIn(label, window)["rect"];
  bool in_label = false;
  for (const json& record : run.records) {
    if (record["record"] == "dump") in_label = record["label"] == label;
    if (!in_label || record["record"] != "control" || testing_support::Gbk(record["window"]) != window ||
        testing_support::Gbk(record["name"]) != name) {
      continue;
    }
    return {shown[0].get<int>() + record["rect"][0].get<int>(), shown[1].get<int>() + record["rect"][1].get<int>(),
            record["rect"][2], record["rect"][3]};
  }
  return {};
}

// What differs between the screen and the ad window of the dump: its page's colour in the
// middle, the close button's picture at its place.
std::vector<std::string> AdDifferences(const Screen& screen, const ProgramRun& run, const AdWindowShot& shot) {
  std::vector<std::string> differences;
  const ScreenRect page = AdControlOnScreen(run, shot.label, shot.window, "超文本浏览框1");
  const guint32 seen = screen.At(page.left + page.width / 2, page.top + page.height / 2);
  if (seen != shot.colour) {
    char what[120];
    std::snprintf(what, sizeof what, "the page shows #%06X, not #%06X", seen, shot.colour);
    differences.push_back(what);
  }
  const ScreenRect button = AdControlOnScreen(run, shot.label, shot.window, "图形按钮1");
  GdkPixbuf* picture =
      gdk_pixbuf_new_from_file(KORVANE_PLAYER_RESOURCES "/pictures/ad_close_normal.jpg", nullptr);
  if (picture == nullptr || !screen.Shows(button, button, picture, 8)) {
    std::ostringstream what;
    what << "the close button at " << button << " does not show its picture";
    differences.push_back(what.str());
  }
  if (picture != nullptr) g_object_unref(picture);
  return differences;
}

// The corner ad shows itself after 3 s; the user then leaves by the options menu (the
// keyboard picks its last item, " 退出"), and the exit ad shows over it until the two have
// ended the program.
TEST_F(PlayerDesktopScreensTest, TheAdWindowsAreOnScreenWhereTheHeadlessDumpOfTheSameStepsPutsThem) {
  program_.Serve(kCornerAdSwitch, "1");
  program_.Serve(kExitAdSwitch, "1");
  for (const auto& [file, shot] : {std::pair{&kCornerAdPage, kAdShots[0]}, std::pair{&kExitAdPage, kAdShots[1]}}) {
    const Text address = program_.HomeAddress() + shot.page;
    program_.Serve(*file, address);
    char html[128];
    std::snprintf(html, sizeof html, "<html><body style=\"background:#%06X\"></body></html>", shot.colour);
    program_.Server().Script(testing_support::ParseAddress(address).path, {200, html, {{"Content-Type", "text/html"}}});
  }
  const ProgramRun headless = program_.Run(
      "screen " + std::to_string(Screen::Width()) + " " + std::to_string(Screen::Height()) +
      "\nadvance 3000\ndump corner-ad\nclick 主界面选项按钮\nmenu \" 退出\"\ndump exit-ad\n");
  ASSERT_FALSE(headless.WindowIn("exit-ad", "ExitAdWindow").is_null()) << headless.error_output;

  testing_support::StartedProgram player =
      program_.Start("", {{"KORVANE_UI", "desktop"}, {"KORVANE_UI_TIME", "real"}, {"KORVANE_UI_SCRIPT", ""}});
  const char* screenshots = std::getenv("KORVANE_SCREENSHOT_FOLDER");
  for (const AdWindowShot& shot : kAdShots) {
    SCOPED_TRACE(shot.label);
    if (&shot == &kAdShots[1]) {
      const std::string shown_before = Output("xdotool search --onlyvisible --pid " + std::to_string(player.pid));
      ClickOnScreen(OnScreen(headless, "corner-ad", "主界面选项按钮"));
      EXPECT_TRUE(WaitFor([&] {
        return Output("xdotool search --onlyvisible --pid " + std::to_string(player.pid)) != shown_before;
      })) << "no menu shown";
      EXPECT_EQ(std::system("xdotool key Up Return"), 0);
    }
    const Text title = Gbk(headless.WindowIn(shot.label, shot.window)["caption"]);
    const std::string window = FindShownWindow(player.pid, title);
    ASSERT_FALSE(window.empty()) << shot.window << " not shown";
    const ScreenRect shown = WindowGeometry(window);
    EXPECT_EQ(json::array({shown.left, shown.top, shown.width, shown.height}),
              headless.WindowIn(shot.label, shot.window)["rect"]);
    std::vector<std::string> differences;
    WaitFor([&] { return (differences = AdDifferences(Screen(), headless, shot)).empty(); });
    EXPECT_TRUE(differences.empty()) << Joined(differences);
    if (screenshots != nullptr) {
      Screen().Save(shown, fs::path(screenshots) / ("player-" + std::string(shot.label) + ".png"));
    }
  }
  // The exit ad ends at 10 s, the corner ad 15 s after the start: the program ends.
  const ProgramRun ended = testing_support::FinishBlackBox(player);
  EXPECT_EQ(ended.exit_code, 0) << ended.error_output;
}

// ---- The settings and about windows -----------------------------------------------

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
  ASSERT_FALSE(FindShownWindow(player.pid, kTitle).empty()) << "no main window shown";
  const std::string shown_before = Output("xdotool search --onlyvisible --pid " + std::to_string(player.pid));
  ClickOnScreen(OnScreen(headless, kPanels[0].label, "主界面选项按钮"));
  EXPECT_TRUE(WaitFor([&] {
    return Output("xdotool search --onlyvisible --pid " + std::to_string(player.pid)) != shown_before;
  })) << "no menu shown";
  const std::string keys = std::string("xdotool key --delay 100 ") + kPickSettingsKeys;
  EXPECT_EQ(std::system(keys.c_str()), 0) << keys;

  const char* screenshots = std::getenv("KORVANE_SCREENSHOT_FOLDER");
  const PanelStep* previous = nullptr;
  for (const PanelStep& panel : kPanels) {
    SCOPED_TRACE(panel.label);
    if (previous != nullptr) ClickOnScreen(OnScreen(headless, previous->label, "关于按钮", previous->window));
    previous = &panel;
    const std::string window = FindShownWindow(player.pid, panel.title);
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

// ---- The options and tray menus ----------------------------------------------------

struct ScreenPoint {
  int x = 0, y = 0;
};

// The popup menus on the desktop, with a notification area on the X server (trayer,
// Debian package trayer) for the tray icon: each menu opens at the mouse, where the
// headless dump of the same input records it.
class PlayerDesktopMenusTest : public PlayerDesktopScreensTest {
 protected:
  PlayerDesktopMenusTest() {
    tray_ = ::fork();
    if (tray_ == 0) {
      const char* argv[] = {"trayer", "--edge", "top", "--align", "left", "--widthtype", "pixel", "--width", "120",
                            "--height", "24", nullptr};
      ::execvp("trayer", const_cast<char**>(argv));
      ::_exit(127);
    }
  }
  ~PlayerDesktopMenusTest() override {
    if (tray_ <= 0) return;
    ::kill(tray_, SIGTERM);
    ::waitpid(tray_, nullptr, 0);
  }

  // The ids of the windows shown at the top of the X server: a popup menu is one.
  static std::vector<std::string> ShownWindows() {
    std::istringstream ids(Output("xdotool search --onlyvisible --maxdepth 1 --class ''"));
    std::vector<std::string> shown;
    for (std::string id; ids >> id;) shown.push_back(id);
    return shown;
  }
  // The window that shows after `before` was taken, once it is shown; empty after 60 s.
  static std::string NewWindow(const std::vector<std::string>& before) {
    std::string found;
    WaitFor([&] {
      for (const std::string& id : ShownWindows()) {
        if (std::find(before.begin(), before.end(), id) == before.end()) found = id;
      }
      return !found.empty();
    });
    return found;
  }
  static bool Xdotool(const std::string& arguments) { return std::system(("xdotool " + arguments).c_str()) == 0; }
  static std::string At(ScreenPoint point) { return std::to_string(point.x) + " " + std::to_string(point.y); }
  // The rectangle that holds both.
  static ScreenRect Union(const ScreenRect& a, const ScreenRect& b) {
    const int left = std::min(a.left, b.left);
    const int top = std::min(a.top, b.top);
    return {left, top, std::max(a.left + a.width, b.left + b.width) - left,
            std::max(a.top + a.height, b.top + b.height) - top};
  }
  // Where the dump labelled `label` records the latest menu popped up.
  static ScreenPoint MenuAt(const ProgramRun& run, std::string_view label) {
    json at;
    bool in_dump = false;
    for (const json& record : run.records) {
      if (record.value("record", "") == "dump") in_dump = record.value("label", "") == label;
      if (in_dump && record.value("record", "") == "menu") at = record["at"];
    }
    return at.is_array() ? ScreenPoint{at[0], at[1]} : ScreenPoint{-1, -1};
  }
  // Saves the rectangle once its drawing has ended (two looks in a row see the same).
  static void Save(const ScreenRect& rect, const char* name) {
    const char* folder = std::getenv("KORVANE_SCREENSHOT_FOLDER");
    if (folder == nullptr) return;
    std::vector<guint32> last;
    EXPECT_TRUE(WaitFor([&] {
      const Screen screen;
      std::vector<guint32> now;
      for (int y = rect.top; y < rect.top + rect.height; ++y) {
        for (int x = rect.left; x < rect.left + rect.width; ++x) now.push_back(screen.At(x, y));
      }
      const bool steady = now == last;
      last = std::move(now);
      return steady;
    })) << name << " never stops changing";
    Screen().Save(rect, fs::path(folder) / name);
  }
  // Whether a window of process `pid` is shown inside `area` (the tray icon docked there).
  static bool ShownInside(pid_t pid, const ScreenRect& area) {
    std::istringstream ids(Output("xdotool search --onlyvisible --pid " + std::to_string(pid)));
    for (std::string id; ids >> id;) {
      const ScreenRect shown = WindowGeometry(id);
      if (shown.left >= area.left && shown.top >= area.top && shown.left + shown.width <= area.left + area.width &&
          shown.top + shown.height <= area.top + area.height) {
        return true;
      }
    }
    return false;
  }

  pid_t tray_ = -1;
};

// The menu's window lies at the point the menu was popped up at.
void ExpectMenuAt(const ScreenRect& menu, ScreenPoint at) {
  EXPECT_EQ(menu.left, at.x);
  EXPECT_EQ(menu.top, at.y);
  EXPECT_GT(menu.width, 60);
  EXPECT_GT(menu.height, 60);
}

TEST_F(PlayerDesktopMenusTest, TheOptionsAndTrayMenusOpenAtTheMouseWhereTheHeadlessDumpPutsThem) {
  const ProgramRun start = program_.Run("dump start\n");
  const ScreenRect options = OnScreen(start, "start", "主界面选项按钮");
  const ScreenRect close = OnScreen(start, "start", "启动窗口关闭按钮");
  const ScreenPoint options_at{options.left + options.width / 2, options.top + options.height / 2};

  testing_support::StartedProgram player =
      program_.Start("", {{"KORVANE_UI", "desktop"}, {"KORVANE_UI_TIME", "real"}, {"KORVANE_UI_SCRIPT", ""}});
  const std::string window = FindShownWindow(player.pid, kTitle);
  ASSERT_FALSE(window.empty()) << "no main window shown";
  const ScreenRect shown = WindowGeometry(window);
  std::string panel = Output("xdotool search --onlyvisible --name '^panel$'");
  ASSERT_FALSE(panel.empty()) << "no notification area (trayer)";
  panel.erase(panel.find('\n'));
  const ScreenRect tray_area = WindowGeometry(panel);

  // The options menu, its submenu opened by the pointer resting on its first item.
  std::vector<std::string> before = ShownWindows();
  ASSERT_TRUE(Xdotool("mousemove --sync " + At(options_at) + " click 1"));
  const std::string menu = NewWindow(before);
  ASSERT_FALSE(menu.empty()) << "no options menu";
  const ScreenRect options_menu = WindowGeometry(menu);
  before = ShownWindows();
  ASSERT_TRUE(Xdotool("mousemove --sync " + At({options_menu.left + 40, options_menu.top + 14})));
  const std::string submenu = NewWindow(before);
  ASSERT_FALSE(submenu.empty()) << "no submenu";
  const ScreenRect display_submenu = WindowGeometry(submenu);
  EXPECT_GE(display_submenu.left, options_menu.left + options_menu.width / 2);  // beside its item
  Save(Union(Union(shown, options_menu), display_submenu), "player-options-menu.png");
  ASSERT_TRUE(Xdotool("key Escape key Escape mousemove --sync 0 300"));
  EXPECT_TRUE(WaitFor([&] {
    const std::vector<std::string> now = ShownWindows();
    return std::find(now.begin(), now.end(), menu) == now.end() && std::find(now.begin(), now.end(), submenu) == now.end();
  })) << "the menus stay open";

  // Into the tray, and the tray menu at a right click on the icon.
  ASSERT_TRUE(Xdotool("mousemove --sync " + At({close.left + close.width / 2, close.top + close.height / 2}) +
                      " click 1 mousemove --sync 0 300"));
  EXPECT_TRUE(WaitFor([&] { return Output("xdotool search --onlyvisible --name '^" +
                                          std::string(AsChars(GbkToUtf8(kTitle))) + "$'").empty(); }));
  const ScreenPoint icon_at{tray_area.left + 12, tray_area.top + 12};
  EXPECT_TRUE(WaitFor([&] { return ShownInside(player.pid, tray_area); })) << "the icon is not docked";
  before = ShownWindows();
  ASSERT_TRUE(Xdotool("mousemove --sync " + At(icon_at) + " click 3"));
  const std::string tray_menu_window = NewWindow(before);
  ASSERT_FALSE(tray_menu_window.empty()) << "no tray menu";
  const ScreenRect tray_menu = WindowGeometry(tray_menu_window);
  Save(Union(tray_area, tray_menu), "player-tray-menu.png");

  // "退出", the menu's last item, runs the exit road: the program ends by itself.
  ASSERT_TRUE(Xdotool("mousemove --sync " + At({tray_menu.left + 30, tray_menu.top + tray_menu.height - 12}) +
                      " click 1"));
  int status = 0;
  const bool ended = WaitFor([&] { return ::waitpid(player.pid, &status, WNOHANG) == player.pid; });
  if (ended) {
    player.status = status;
  } else {
    ::kill(player.pid, SIGTERM);
  }
  const ProgramRun run = testing_support::FinishBlackBox(player);
  EXPECT_TRUE(ended) << "the exit item did not end the program";
  EXPECT_EQ(run.exit_code, 0) << run.error_output;

  // The same input headless (with the desktop program ended, whose single-instance event
  // would end this one): the menus where the dump records them.
  const ProgramRun same = program_.Run("mouse " + At(options_at) + "\nclick 主界面选项按钮\ndump options\n" +
                                       "click 启动窗口关闭按钮\nmouse " + At(icon_at) + "\ntray 3\ndump tray\n");
  EXPECT_EQ(json::array({shown.left, shown.top, shown.width, shown.height}), same.WindowIn("options", "MainWindow")["rect"]);
  {
    SCOPED_TRACE("options menu");
    ExpectMenuAt(options_menu, MenuAt(same, "options"));
  }
  {
    SCOPED_TRACE("tray menu");
    ExpectMenuAt(tray_menu, MenuAt(same, "tray"));
    EXPECT_FALSE(same.WindowIn("tray", "MainWindow")["visible"].get<bool>());
  }
}

}  // namespace
}  // namespace korvane::player::testing
