// The playback engine control plays with libmpv inside its control's area: its state
// follows play, pause and stop, a new address switches, and addresses reach mpv as the
// wire and the file system take them; the pause-ad page shows over the paused video,
// read back from the X server's pixels.

#include <mpv/client.h>

#include <string>
#include <vector>

#include <webkit2/webkit2.h>

#include "platform/ui/desktop/desktop_engine.h"
#include "tests/platform/ui/desktop/desktop_test_fixture.h"
#include "tests/support/test_http_server.h"

// After the test framework, whose names Xlib's macros would take.
#include <gdk/gdkx.h>

namespace korvane::platform::ui::desktop::testing {
namespace {

constexpr char8_t kScreenLayout[] = u8R"({
  "caption": "播放",
  "size": [420, 340],
  "controls": [
    {"kind": "PlaybackEngine", "name": "播放器", "rect": [10, 10, 400, 300]},
    {"kind": "Label", "name": "标签_片名", "rect": [10, 314, 160, 20]}
  ]
})";

// Local sources of mpv's own, without files or sound.
constexpr char kTestPicture[] = "av://lavfi:testsrc=size=64x48:rate=10";
constexpr char kOtherPicture[] = "av://lavfi:smptebars=size=64x48:rate=10";

class DesktopEngineTest : public DesktopProgramTest {
 protected:
  DesktopEngineTest() { resources_.AddCopy("Screen.layout.json", std::string(AsChars(kScreenLayout))); }

  PlaybackEngine OpenEngine() {
    Window screen = OpenShown("Screen", "播放器");
    return screen.Find<PlaybackEngine>("播放器");
  }

  mpv_handle* Player(const PlaybackEngine& engine) const {
    DesktopEngine* shown = backend_.Engine(engine.Id());
    return shown == nullptr ? nullptr : shown->Player();
  }

  std::string Property(const PlaybackEngine& engine, const char* name) const {
    mpv_handle* player = Player(engine);
    if (player == nullptr) return "(no player)";
    char* value = mpv_get_property_string(player, name);
    std::string text = value == nullptr ? "(unavailable)" : value;
    mpv_free(value);
    return text;
  }

  // Playing `path`: loaded, not paused, and its clock moving.
  bool WaitPlaying(const PlaybackEngine& engine, const std::string& path) {
    return PumpUntil([&] {
      return Property(engine, "path") == path && Property(engine, "pause") == "no" &&
             Property(engine, "core-idle") == "no";
    });
  }
};

TEST_F(DesktopEngineTest, PlaybackFollowsPlayPauseAndStop) {
  PlaybackEngine engine = OpenEngine();
  engine.SetMediaAddress(kTestPicture);
  engine.Play();
  ASSERT_TRUE(WaitPlaying(engine, kTestPicture)) << Property(engine, "path");
  // The video shows inside the control: mpv's window is a child of the control's.
  EXPECT_EQ(Property(engine, "wid"),
            std::to_string(GDK_WINDOW_XID(gtk_widget_get_window(backend_.Engine(engine.Id())->VideoArea()))));
  const std::string entry = Property(engine, "playlist/0/id");

  engine.Pause();
  EXPECT_TRUE(PumpUntil([&] { return Property(engine, "pause") == "yes" && Property(engine, "core-idle") == "yes"; }));

  // Play after a pause, with no new address, resumes the same load.
  engine.Play();
  EXPECT_TRUE(WaitPlaying(engine, kTestPicture));
  EXPECT_EQ(Property(engine, "playlist/0/id"), entry);

  // Stop holds the picture where it is (the load is forgotten) until the next load.
  engine.Stop();
  EXPECT_TRUE(PumpUntil([&] { return Property(engine, "pause") == "yes" && Property(engine, "core-idle") == "yes"; }));
  EXPECT_EQ(Property(engine, "vo-configured"), "yes");

  // After a stop, play starts the address again.
  engine.Play();
  EXPECT_TRUE(WaitPlaying(engine, kTestPicture));
  EXPECT_NE(Property(engine, "playlist/0/id"), entry);
}

TEST_F(DesktopEngineTest, ANewAddressPlaysWhenPlayed) {
  PlaybackEngine engine = OpenEngine();
  engine.SetMediaAddress(kTestPicture);
  engine.Play();
  ASSERT_TRUE(WaitPlaying(engine, kTestPicture));
  // As the program changes episodes: prepare, stop, the pause-ad page, the new address.
  engine.PrepareEpisodeChange();
  engine.Stop();
  engine.SetPauseAdAddress("http://ads.test/pause");
  engine.SetMediaAddress(kOtherPicture);
  engine.Play();
  EXPECT_TRUE(WaitPlaying(engine, kOtherPicture)) << Property(engine, "path");
  // And over a paused one, without a stop.
  engine.Pause();
  engine.SetMediaAddress(kTestPicture);
  engine.Play();
  EXPECT_TRUE(WaitPlaying(engine, kTestPicture)) << Property(engine, "path");
  EXPECT_EQ(engine.MediaAddress(), kTestPicture);
  EXPECT_EQ(engine.PauseAdAddress(), "http://ads.test/pause");
}

TEST_F(DesktopEngineTest, PlaybackGoesOnWhereItWasWhenTheWindowRestacksItsControls) {
  PlaybackEngine engine = OpenEngine();
  engine.SetMediaAddress(kTestPicture);
  engine.Play();
  ASSERT_TRUE(WaitPlaying(engine, kTestPicture));
  ASSERT_TRUE(PumpUntil([&] { return std::stod(Property(engine, "time-pos")) >= 0.5; }));
  engine.Pause();
  ASSERT_TRUE(PumpUntil([&] { return Property(engine, "core-idle") == "yes"; }));
  const double paused_at = std::stod(Property(engine, "time-pos"));
  const std::string window_before = Property(engine, "wid");

  // The engine's control is taken out of its window and put back in: a new X window.
  program_.SetUnitZOrder(engine.ParentWindow().Find<Label>("标签_片名"), ZOrder::kBack);
  EXPECT_TRUE(PumpUntil([&] {
    const std::string at = Property(engine, "time-pos");
    return Property(engine, "path") == kTestPicture && at.find_first_of("0123456789") == 0 &&
           std::stod(at) >= paused_at - 0.2;
  })) << Property(engine, "time-pos");
  EXPECT_EQ(Property(engine, "pause"), "yes");
  EXPECT_NE(Property(engine, "wid"), window_before);
  EXPECT_EQ(Property(engine, "wid"),
            std::to_string(GDK_WINDOW_XID(gtk_widget_get_window(backend_.Engine(engine.Id())->VideoArea()))));
  engine.Play();
  EXPECT_TRUE(WaitPlaying(engine, kTestPicture));
}

TEST_F(DesktopEngineTest, PlayWithoutAnAddressStartsNothing) {
  PlaybackEngine engine = OpenEngine();
  engine.Play();
  engine.Pause();
  engine.Stop();
  EXPECT_EQ(Player(engine), nullptr);
}

// The pause-ad page: a plain colour, served on loopback.
constexpr guint32 kAdColour = 0xC03080;

class PauseAdTest : public DesktopEngineTest {
 protected:
  PauseAdTest() {
    char page[128];
    std::snprintf(page, sizeof page, "<html><body style=\"margin:0;background:#%06X\"></body></html>", kAdColour);
    server_.Script("/pause.html", {.body = page, .headers = {{"Content-Type", "text/html"}}});
  }

  // Playing, then paused as the program pauses: pause, then the pause-ad page's address.
  PlaybackEngine PlayThenPause(const Text& ad_address) {
    PlaybackEngine engine = OpenEngine();
    engine.SetMediaAddress(kTestPicture);
    engine.Play();
    EXPECT_TRUE(WaitPlaying(engine, kTestPicture));
    engine.Pause();
    engine.SetPauseAdAddress(ad_address);
    return engine;
  }

  WebKitWebView* AdView(const PlaybackEngine& engine) const {
    GList* children = gtk_container_get_children(GTK_CONTAINER(backend_.Engine(engine.Id())->Widget()));
    WebKitWebView* view = nullptr;
    for (GList* child = children; child != nullptr; child = child->next) {
      if (WEBKIT_IS_WEB_VIEW(child->data)) view = WEBKIT_WEB_VIEW(child->data);
    }
    g_list_free(children);
    return view;
  }

  // The colour (0xRRGGBB) the X server shows in the middle of the video's area.
  guint32 MiddleOfVideo(const PlaybackEngine& engine) const {
    GtkWidget* area = backend_.Engine(engine.Id())->VideoArea();
    int x = 0, y = 0;
    gdk_window_get_origin(gtk_widget_get_window(area), &x, &y);
    GdkPixbuf* pixel = gdk_pixbuf_get_from_window(gdk_get_default_root_window(),
                                                  x + gtk_widget_get_allocated_width(area) / 2,
                                                  y + gtk_widget_get_allocated_height(area) / 2, 1, 1);
    const guchar* rgb = gdk_pixbuf_get_pixels(pixel);
    const guint32 colour = rgb[0] << 16 | rgb[1] << 8 | rgb[2];
    g_object_unref(pixel);
    return colour;
  }

  bool AdShown(const PlaybackEngine& engine) const {
    return gtk_widget_get_mapped(GTK_WIDGET(AdView(engine))) && MiddleOfVideo(engine) == kAdColour;
  }
  bool AdGone(const PlaybackEngine& engine) const {
    return !gtk_widget_get_mapped(GTK_WIDGET(AdView(engine))) && MiddleOfVideo(engine) != kAdColour;
  }

  testing_support::TestHttpServer server_;
};

TEST_F(PauseAdTest, ThePageShowsOverThePausedVideoUntilPlayStopOrAnEpisodeChange) {
  PlaybackEngine engine = PlayThenPause(server_.Url("/pause.html"));
  ASSERT_TRUE(PumpUntil([&] { return AdShown(engine); })) << std::hex << MiddleOfVideo(engine);
  // The page covers the video's area.
  GtkWidget* ad = GTK_WIDGET(AdView(engine));
  GtkWidget* area = backend_.Engine(engine.Id())->VideoArea();
  int x = -1, y = -1;
  gtk_widget_translate_coordinates(ad, area, 0, 0, &x, &y);
  EXPECT_EQ(std::vector<int>({x, y, gtk_widget_get_allocated_width(ad), gtk_widget_get_allocated_height(ad)}),
            std::vector<int>({0, 0, gtk_widget_get_allocated_width(area), gtk_widget_get_allocated_height(area)}));
  const struct {
    const char* name;
    void (PlaybackEngine::*call)();
  } kWaysOn[] = {{"play", &PlaybackEngine::Play},
                 {"stop", &PlaybackEngine::Stop},
                 {"an episode change", &PlaybackEngine::PrepareEpisodeChange}};
  for (const auto& way : kWaysOn) {
    (engine.*way.call)();
    EXPECT_TRUE(PumpUntil([&] { return AdGone(engine); })) << way.name;
    // Paused again, the page comes back.
    engine.Play();
    ASSERT_TRUE(WaitPlaying(engine, kTestPicture));
    engine.Pause();
    engine.SetPauseAdAddress(server_.Url("/pause.html"));
    ASSERT_TRUE(PumpUntil([&] { return AdShown(engine); })) << "after " << way.name;
  }
}

TEST_F(PauseAdTest, NothingShowsWithoutAWebAddress) {
  for (const Text& address : {Text(), Text("ftp://127.0.0.1/pause.html"), Text("file:///etc/hostname"),
                              Text("javascript:alert(1)")}) {
    PlaybackEngine engine = PlayThenPause(address);
    ASSERT_TRUE(PumpUntil([&] { return Property(engine, "core-idle") == "yes"; }));
    EXPECT_FALSE(gtk_widget_get_mapped(GTK_WIDGET(AdView(engine)))) << address;
    // Not even handed to WebKit.
    const gchar* loaded = webkit_web_view_get_uri(AdView(engine));
    EXPECT_TRUE(loaded == nullptr || std::string_view(loaded) == "about:blank") << loaded;
    program_.DestroyUnit(engine.ParentWindow());
  }
}

TEST(EngineAddressTest, NetworkAddressesGoAsOnTheWireLocalPathsInUtf8) {
  const struct {
    Text address;
    std::string expected;
  } kCases[] = {
      {"http://host/电影 1.rmvb", "http://host/%B5%E7%D3%B0%201.rmvb"},
      {"qvod://123|ABC|第1集.rmvb|", "qvod://123|ABC|%B5%DA1%BC%AF.rmvb|"},
      {kTestPicture, kTestPicture},
      {"/home/用户/电影.mp4", "/home/\xe7\x94\xa8\xe6\x88\xb7/\xe7\x94\xb5\xe5\xbd\xb1.mp4"},
  };
  for (const auto& item : kCases) EXPECT_EQ(EngineAddress(item.address), item.expected) << item.address;
}

}  // namespace
}  // namespace korvane::platform::ui::desktop::testing
