// The real `Player` on the desktop backend, on an X server of the test's own, against the
// files the headless runs are served. A user's clicks (xdotool, Debian package xdotool)
// switch the views, and the screen must show each control where the headless dump of the
// same clicks puts it; the ad windows likewise. With KORVANE_SCREENSHOT_FOLDER set, each
// view's window and each ad window is also saved there as a PNG (tools/screenshots).

#include <gtk/gtk.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/player/player_screen.h"
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

// Where the dump puts a control on the screen: its rectangle moved by its parents' and
// the window's.
ScreenRect OnScreen(const ProgramRun& run, std::string_view label, std::string_view name) {
  const json window = run.WindowIn(label, "MainWindow");
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
ScreenRect Seen(const ProgramRun& run, std::string_view label, std::string_view name) {
  constexpr int kFrameLine = 2;
  const json window = run.WindowIn(label, "MainWindow")["rect"];
  const ScreenRect seen = OnScreen(run, label, name);
  const json parent = run.Control(label, testing_support::Gbk(run.Control(label, name)["parent"]));
  const ScreenRect inside =
      parent.is_object() ? seen.Within(OnScreen(run, label, testing_support::Gbk(parent["name"]))) : seen;
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

  // What differs between the screen and the dump labelled `label`; empty when none does.
  static std::vector<std::string> Differences(const Screen& screen, const ProgramRun& run, std::string_view label) {
    std::vector<std::string> differences;
    for (const char* name : kDrawnControls) {
      const ScreenRect rect = OnScreen(run, label, name);
      if (run.Control(label, name)["shown"].get<bool>() && !screen.AnyNotBlack(rect)) {
        std::ostringstream what;
        what << AsChars(GbkToUtf8(name)) << " at " << rect << " is not drawn";
        differences.push_back(what.str());
      }
    }
    for (const char* name : kDrawnControls) {
      const json control = run.Control(label, name);
      if (!control["shown"].get<bool>() || control["kind"] != "PictureButton") continue;
      const std::string file = control["pictures"]["normal"];
      GdkPixbuf* picture = gdk_pixbuf_new_from_file((std::string(KORVANE_PLAYER_RESOURCES "/") + file).c_str(), nullptr);
      const ScreenRect rect = OnScreen(run, label, name);
      if (picture == nullptr || !screen.Shows(rect, Seen(run, label, name), picture)) {
        std::ostringstream what;
        what << AsChars(GbkToUtf8(name)) << " at " << rect << " does not show " << file;
        differences.push_back(what.str());
      }
      if (picture != nullptr) g_object_unref(picture);
    }
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
      ClickOnScreen(OnScreen(headless, "corner-ad", "主界面选项按钮"));
      EXPECT_EQ(std::system("xdotool sleep 0.5 key Up Return"), 0);
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

}  // namespace
}  // namespace korvane::player::testing
