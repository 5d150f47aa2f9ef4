// The road of one episode of the real `Player` on the desktop backend, in this process on
// an X server of the test's own, as a user meets it: the film library's start page in
// WebKit, a click on its link to a GBK title page, the programme list filled from the
// bytes WebKit received, and the first episode, a clip made with ffmpeg at test time and
// served over HTTP, playing in libmpv; then pause, play and next on the bottom bar, which
// stays drawn over the player's area. The clicks are a user's (xdotool); what happened is
// read from the model and from mpv's own properties, waited for with a bound, never slept
// for. With KORVANE_SCREENSHOT_FOLDER set, the library view with the title page and the
// player view playing are saved there (tools/screenshots).

#include <gtk/gtk.h>
#include <mpv/client.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <span>
#include <sstream>

#include <gtest/gtest.h>

#include "deploy/deployment.h"
#include "platform/app/program_root.h"
#include "platform/ui/desktop/desktop_backend.h"
#include "platform/ui/desktop/desktop_parts.h"
#include "player/player_program.h"
#include "resources/player_resources.h"
#include "tests/player/playback/title_pages.h"
#include "tests/player/player_screen.h"
#include "tests/player/player_program_run.h"

namespace korvane::player::testing {
namespace {

namespace fs = std::filesystem;
namespace ui = platform::ui;
using namespace remote;

constexpr char kLibrary[] = "主界面片库浏览器";
constexpr char kEngine[] = "快播播放器";
constexpr char kList[] = "主窗体播放器节目列表";
constexpr char kBar[] = "启动窗口底部按钮背景";
constexpr char kToggle[] = "主界面暂停播放按钮";
constexpr char kNext[] = "主界面下一集按钮";
constexpr char kPrevious[] = "主界面上一集按钮";
constexpr char kService[] = "主界面列表按钮";
constexpr char kLibraryTab[] = "主界面片库按钮";
// What the bar shows in front of the playing video: its picture and its buttons'.
constexpr const char* kBarControls[] = {kBar, kToggle, kNext, kPrevious, kService};
// The tabs, each in its plain or highlighted picture as the view shows it.
constexpr const char* kTabs[] = {"主界面播放按钮", kLibraryTab, "主界面找片按钮"};
// The frame lines stand in front of everything at the window's edges.
constexpr int kFrameLine = 2;
constexpr guint32 kStartPageColour = 0x2050A0;
constexpr guint32 kPauseAdColour = 0xC03080;

struct Clip {
  const char* file;    // below the home address
  const char* source;  // ffmpeg's picture source
};
constexpr Clip kClips[] = {{"film/1.mp4", "testsrc2"}, {"film/2.mp4", "smptebars"}};

bool HaveFfmpeg() { return std::system("ffmpeg -version >/dev/null 2>&1") == 0; }

// A 60 s clip of a test picture without sound, its index in front so that it plays as
// it arrives.
bool MakeClip(const Clip& clip, const fs::path& file) {
  fs::create_directories(file.parent_path());
  const std::string command = std::string("ffmpeg -v error -y -f lavfi -i ") + clip.source +
                              "=size=320x240:rate=25:duration=60 -c:v mpeg4 -q:v 5 -movflags +faststart '" +
                              file.string() + "'";
  return std::system(command.c_str()) == 0;
}

// Runs the loop until `done` holds; false after 30 s without it (a hang: a first start of
// WebKit's processes on a loaded machine is slow, and nothing here is a timing goal).
bool PumpUntil(const std::function<bool()>& done) {
  const gint64 deadline = g_get_monotonic_time() + 30 * G_USEC_PER_SEC;
  while (!done()) {
    if (g_get_monotonic_time() > deadline) return false;
    if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(1000);
  }
  return true;
}

class EpisodesDesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveFfmpeg()) GTEST_SKIP() << "ffmpeg (Debian package ffmpeg) is missing: no clip to play";
    // Xvfb has no GPU for WebKit's compositor.
    ::setenv("WEBKIT_DISABLE_COMPOSITING_MODE", "1", 1);
    for (const Clip& clip : kClips) ASSERT_TRUE(MakeClip(clip, program_.ServedBelowHome(clip.file))) << clip.file;
    program_.ServeQuietStart();
    // The operator's pause-ad page, a plain colour.
    const Text pause_ad = program_.HomeAddress() + "pause.html";
    program_.Serve(kPauseAdPage, pause_ad);
    char ad[128];
    std::snprintf(ad, sizeof ad, "<html><body style=\"margin:0;background:#%06X\"></body></html>", kPauseAdColour);
    program_.Server().Script(testing_support::ParseAddress(pause_ad).path,
                             {.body = ad, .headers = {{"Content-Type", "text/html"}}});
    const Text start_page = program_.HomeAddress() + "pianku.html";
    program_.Serve(kCataloguePage, start_page);
    film_page_ = TitlePage(TitleItem("海边"), {{ClipAddress(kClips[0]), "第1集"}, {ClipAddress(kClips[1]), "第2集"}});
    film_address_ = program_.ServeFilmPage("a", film_page_, "?id=7&type=tv");
    // The whole page is the film's link, so a click anywhere in the view follows it.
    char page[256];
    std::snprintf(page, sizeof page,
                  "<html><body style=\"margin:0;background:#%06X\"><a href=\"film/a.html?id=7&type=tv\" "
                  "style=\"display:block;height:100vh;color:white;font-size:40px\">海边</a></body></html>",
                  kStartPageColour);
    program_.Server().Script(testing_support::ParseAddress(start_page).path,
                             {.body = page, .headers = {{"Content-Type", "text/html; charset=GBK"}}});
    program_.WriteFile(program_.Installed("PlayerConfig.ini"), "[Config]\r\nList=2\r\nButton=1\r\n");
  }

  Text ClipAddress(const Clip& clip) const { return program_.HomeAddress() + clip.file; }

  // Runs `Player` as its main() does, on the desktop (the backend linked into this test,
  // not loaded from the module), with `road` run from its loop once it has started; the
  // road ends by closing the main window, which ends the program.
  void RunPlayer(const std::function<void()>& road) {
    road_ = road;
    ui::AutomationSettings settings;
    settings.program_folder = program_.Installed("");
    const int code = platform::app::RunProgram(
        {"Player", embedded::PlayerResources(),
         [this](platform::app::ProgramContext& platform) {
           ui_ = &platform.ui;
           desktop_ = dynamic_cast<ui::desktop::DesktopBackend*>(&ui::BackendOf(platform.ui));
           PlayerServices services{platform.ui,           platform.files, platform.http, platform.resolver,
                                   platform.named_events, platform.shell, platform.system_settings, DeployedConstants(),
                                   Text(deploy::ProbeHost())};
           PlayerProgram program(services);
           g_idle_add(RunRoad, this);
           return program.PlayerEntry();
         }},
        settings, ui::desktop::MakeDesktopParts);
    EXPECT_EQ(code, 0);
  }

  static gboolean RunRoad(gpointer data) {
    auto* self = static_cast<EpisodesDesktopTest*>(data);
    self->road_();
    const std::vector<ui::Window> windows = InspectionOf(*self->ui_).Windows();
    for (const ui::Window& window : windows) self->desktop_->Guard([&] { self->ui_->DestroyUnit(window); });
    return G_SOURCE_REMOVE;
  }

  ui::Window Main() const { return InspectionOf(*ui_).Windows().front(); }
  template <typename Handle = ui::Unit>
  Handle Control(std::string_view name) const {
    return Main().Find<Handle>(name);
  }

  // Where the model puts a control on the screen: its rectangle moved by its parents'
  // and the window's.
  ScreenRect OnScreen(std::string_view name) const {
    const ui::UnitModel* window = ModelOf(Main());
    const ui::UnitModel* control = ModelOf(Control(name));
    ScreenRect rect{window->rect.left, window->rect.top, control->rect.width, control->rect.height};
    for (const ui::UnitModel* at = control; at != nullptr; at = at->parent == 0 ? nullptr : InspectionOf(*ui_).FindModel(at->parent)) {
      rect.left += at->rect.left;
      rect.top += at->rect.top;
    }
    return rect;
  }
  ScreenRect InsideFrame() const {
    const ui::Rect window = ModelOf(Main())->rect;
    return {window.left + kFrameLine, window.top + kFrameLine, window.width - 2 * kFrameLine,
            window.height - 2 * kFrameLine};
  }
  ScreenRect WindowOnScreen() const {
    const ui::Rect window = ModelOf(Main())->rect;
    return {window.left, window.top, window.width, window.height};
  }
  void Click(std::string_view name) const { ClickOnScreen(OnScreen(name)); }
  guint32 AtMiddle(const ScreenRect& r) const { return Screen().At(r.left + r.width / 2, r.top + r.height / 2); }

  const ui::EngineState& Engine() const { return *ModelOf(Control(kEngine))->StateOf<ui::EngineState>(); }
  long Calls(std::string_view operation) const {
    return std::count_if(Engine().calls.begin(), Engine().calls.end(),
                         [&](const ui::EngineCall& call) { return call.operation == operation; });
  }
  std::vector<Text> Items() const {
    std::vector<Text> items;
    for (const ui::TreeItem& item : ModelOf(Control(kList))->StateOf<ui::TreeBoxState>()->items) {
      items.push_back((item.parent >= 0 ? "  " : "") + item.text);
    }
    return items;
  }

  // The user's road to the first episode: the film library's start page, a click on its
  // link, the title page scraped from the bytes WebKit received, the list filled, and the
  // first episode playing in the player view.
  void PlayFirstEpisode() const {
    // Start-up: both catalogue browsers' start pages complete, each rebuilding an empty list.
    ASSERT_TRUE(PumpUntil([&] { return Calls("Stop") == 2; })) << "the start pages did not complete";
    Click(kLibraryTab);
    ASSERT_TRUE(PumpUntil([&] { return LibraryMiddle() == kStartPageColour; })) << "the start page is not shown";
    Click(kLibrary);
    ASSERT_TRUE(PumpUntil([&] { return Plays(kClips[0], 0); })) << Property("path").value_or("(no player)");
  }
  // The browser is placed when its view is shown.
  guint32 LibraryMiddle() const {
    const ScreenRect library = OnScreen(kLibrary);
    return Screen().At(library.left + library.width / 2, library.top + library.height / 2);
  }
  // The player's area that the bottom bar leaves uncovered.
  ScreenRect VideoArea() const {
    ScreenRect area = OnScreen(kEngine).Within(InsideFrame());
    area.height = OnScreen(kBar).top - area.top;
    return area;
  }
  // Runs the loop until `done` holds, reading the video area at each turn; false when
  // `done` never held, or when the area was once (nearly) all black.
  bool NeverBlackUntil(const std::function<bool()>& done, const char* step) const {
    int black = 0;
    const bool reached = PumpUntil([&] {
      if (Screen(VideoArea()).NearlyBlack()) ++black;
      return done();
    });
    EXPECT_EQ(black, 0) << step << ": the video area went black " << black << " times";
    return reached && black == 0;
  }
  // mpv's requests come on connections of its own.
  bool Requested(std::string_view target) {
    const auto requests = program_.Server().Requests();
    return std::any_of(requests.begin(), requests.end(),
                       [&](const testing_support::RecordedRequest& request) { return request.target == target; });
  }
  // Has played to its end: mpv holds its last frame, or has gone idle.
  bool Ended() const { return Property("eof-reached") == "yes" || Property("idle-active") == "yes"; }
  void SeekNearTheEnd() const {
    const char* seek[] = {"seek", "59", "absolute", nullptr};
    ASSERT_GE(mpv_command(Player(), seek), 0);
  }

  // mpv's own account of what it plays; nullopt while there is no player or no value.
  mpv_handle* Player() const {
    ui::desktop::DesktopEngine* engine = desktop_->Engine(Control(kEngine).Id());
    return engine == nullptr ? nullptr : engine->Player();
  }
  std::optional<std::string> Property(const char* name) const {
    if (Player() == nullptr) return std::nullopt;
    char* value = mpv_get_property_string(Player(), name);
    if (value == nullptr) return std::nullopt;
    std::string text = value;
    mpv_free(value);
    return text;
  }
  std::optional<double> Position() const {
    double seconds = 0;
    if (Player() == nullptr || mpv_get_property(Player(), "time-pos", MPV_FORMAT_DOUBLE, &seconds) < 0) {
      return std::nullopt;
    }
    return seconds;
  }
  // Playing `clip` with its clock moving past `from` seconds.
  bool Plays(const Clip& clip, double from) const {
    return Property("path") == ClipAddress(clip) && Property("pause") == "no" && Position() > from;
  }

  // Which of the controls the screen does not show in their normal pictures at their
  // places, inside their parents.
  std::vector<std::string> NotShown(std::span<const char* const> names) const {
    const Screen screen;
    std::vector<std::string> missing;
    for (const char* name : names) {
      const ui::UnitModel* control = ModelOf(Control(name));
      const std::string file = std::string(KORVANE_PLAYER_RESOURCES "/") + control->pictures.normal;
      GdkPixbuf* picture = gdk_pixbuf_new_from_file(file.c_str(), nullptr);
      const ScreenRect rect = OnScreen(name);
      ScreenRect seen = rect.Within(InsideFrame());
      if (control->parent != 0) seen = seen.Within(OnScreen(InspectionOf(*ui_).FindModel(control->parent)->name));
      if (name == std::string_view(kBar)) {
        // The bar's own picture shows between its buttons.
        const ScreenRect previous = OnScreen(kPrevious);
        seen.width = OnScreen(kService).left - (previous.left + previous.width);
        seen.left = previous.left + previous.width;
      }
      if (picture == nullptr || !screen.Shows(rect, seen, picture)) {
        std::ostringstream what;
        what << AsChars(GbkToUtf8(name)) << " at " << seen << " does not show " << control->pictures.normal;
        missing.push_back(what.str());
      }
      if (picture != nullptr) g_object_unref(picture);
    }
    return missing;
  }

  void Screenshot(const char* name) const {
    if (const char* folder = std::getenv("KORVANE_SCREENSHOT_FOLDER")) {
      Screen().Save(WindowOnScreen(), fs::path(folder) / name);
    }
  }

  PlayerProgramRun program_;
  std::string film_page_;
  Text film_address_;
  std::function<void()> road_;
  ui::Program* ui_ = nullptr;
  ui::desktop::DesktopBackend* desktop_ = nullptr;
};

std::string Joined(const std::vector<std::string>& lines) {
  std::string joined;
  for (const std::string& line : lines) joined += line + "\n";
  return joined;
}

TEST_F(EpisodesDesktopTest, ATitlePageInWebKitPlaysItsEpisodesInMpvUnderTheBottomBar) {
  RunPlayer([&] {
    ASSERT_NO_FATAL_FAILURE(PlayFirstEpisode());
    const ui::WebBrowserBox browser = Control<ui::WebBrowserBox>(kLibrary);
    EXPECT_EQ(browser.Address(), film_address_);
    EXPECT_EQ(browser.GetPageSource(), film_page_);
    EXPECT_EQ(Items(), (std::vector<Text>{"海边", "  第1集", "  第2集"}));
    EXPECT_EQ(Control<ui::TreeBox>(kList).CurrentSelection(), 1);
    EXPECT_EQ(Control<ui::PlaybackEngine>(kEngine).MediaAddress(), ClipAddress(kClips[0]));
    EXPECT_FALSE(ModelOf(browser)->visible);
    EXPECT_TRUE(ModelOf(Control(kEngine))->visible);
    const double started = *Position();
    EXPECT_TRUE(PumpUntil([&] { return Position() > started + 0.5; })) << "the position does not advance";

    // The player's area reaches under the bottom bar, which is drawn in front of the video
    // the engine shows in the rest of it.
    const ScreenRect player = OnScreen(kEngine);
    const ScreenRect bar = OnScreen(kBar);
    ASSERT_GT(player.top + player.height, bar.top);
    std::vector<std::string> missing;
    PumpUntil([&] { return (missing = NotShown(kBarControls)).empty(); });
    EXPECT_TRUE(missing.empty()) << Joined(missing);
    // The tab clicked for the film library left with the pointer, before its view was gone.
    EXPECT_TRUE((missing = NotShown(kTabs)).empty()) << Joined(missing);
    EXPECT_NE(Screen().At(player.left + player.width / 2, (player.top + bar.top) / 2), 0u)
        << "no video in the player's area";
    Screenshot("player-playing.png");

    // Pause holds the position; play goes on from there.
    Click(kToggle);
    ASSERT_TRUE(PumpUntil([&] { return Property("pause") == "yes" && Property("core-idle") == "yes"; }));
    // The operator's pause-ad page shows over the held picture.
    EXPECT_TRUE(PumpUntil([&] { return AtMiddle(player) == kPauseAdColour; })) << "no pause ad";
    const std::optional<double> paused = Position();
    ASSERT_TRUE(paused);
    const gint64 held_until = g_get_monotonic_time() + G_USEC_PER_SEC;
    PumpUntil([&] { return g_get_monotonic_time() > held_until || Position() != paused; });
    EXPECT_EQ(Position(), paused) << "the position moved while paused";
    Click(kToggle);
    EXPECT_TRUE(PumpUntil([&] { return Plays(kClips[0], *paused); })) << "play does not go on";
    EXPECT_TRUE(PumpUntil([&] { return AtMiddle(player) != kPauseAdColour; })) << "the pause ad stays";
    EXPECT_LT(*Position(), *paused + 5);

    // Next plays the second episode.
    Click(kNext);
    ASSERT_TRUE(PumpUntil([&] { return Plays(kClips[1], 0.5); })) << Property("path").value_or("(no player)");
    EXPECT_EQ(Control<ui::TreeBox>(kList).CurrentSelection(), 2);
    EXPECT_EQ(Control<ui::PlaybackEngine>(kEngine).MediaAddress(), ClipAddress(kClips[1]));

    // With the list closed the player is as wide as the bar, which stays in front of the
    // video at its new size, and the clip plays on.
    const double before_closing = *Position();
    Click("列表关闭按钮");
    ASSERT_TRUE(PumpUntil([&] { return OnScreen(kEngine).width > player.width; }));
    PumpUntil([&] { return (missing = NotShown(kBarControls)).empty(); });
    EXPECT_TRUE(missing.empty()) << Joined(missing);
    EXPECT_TRUE(PumpUntil([&] { return Plays(kClips[1], before_closing + 0.5); })) << "the clip does not play on";

    // The film library still shows the title page.
    Click(kLibraryTab);
    EXPECT_TRUE(PumpUntil([&] { return LibraryMiddle() == 0xFFFFFF; })) << "the title page is not shown";
    Screenshot("player-library-view.png");
  });
}

TEST_F(EpisodesDesktopTest, TheVideoAreaHoldsAPictureFromOneEpisodeToTheNext) {
  RunPlayer([&] {
    ASSERT_NO_FATAL_FAILURE(PlayFirstEpisode());
    ASSERT_TRUE(PumpUntil([&] { return !Screen(VideoArea()).NearlyBlack(); })) << "no video";
    // An episode changed while it plays.
    // The next episode's clip is held back 2 s, as a slow network holds it.
    const Text next = ClipAddress(kClips[1]);
    const std::string target = testing_support::ParseAddress(next).path;
    program_.Server().ScriptNext(target, {.body = program_.ReadFile(program_.ServedBelowHome(kClips[1].file)),
                                          .headers = {{"Content-Type", "video/mp4"}},
                                          .stall = true});
    Click(kNext);
    ASSERT_TRUE(NeverBlackUntil([&] { return Requested(target); }, "the next episode asked for"))
        << target << " " << Property("path").value_or("-") << " " << program_.Server().Requests().size();
    const gint64 held_until = g_get_monotonic_time() + 2 * G_USEC_PER_SEC;
    NeverBlackUntil([&] { return g_get_monotonic_time() > held_until; }, "while the next episode opens");
    program_.Server().ReleaseStalls();
    ASSERT_TRUE(NeverBlackUntil([&] { return Plays(kClips[1], 0); }, "next"));
    // An episode that has played to its end, and the change after it.
    ASSERT_NO_FATAL_FAILURE(SeekNearTheEnd());
    ASSERT_TRUE(NeverBlackUntil([&] { return Ended(); }, "the end"));
    Click(kPrevious);
    EXPECT_TRUE(NeverBlackUntil([&] { return Plays(kClips[0], 0); }, "previous"));
  });
}

}  // namespace
}  // namespace korvane::player::testing
