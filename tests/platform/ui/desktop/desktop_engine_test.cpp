// The playback engine control plays with libmpv inside its control's area: its state
// follows play, pause and stop, a new address switches, and addresses reach mpv as the
// wire and the file system take them.

#include <mpv/client.h>

#include <string>

#include "platform/ui/desktop/desktop_engine.h"
#include "tests/platform/ui/desktop/desktop_test_fixture.h"

// After the test framework, whose names Xlib's macros would take.
#include <gdk/gdkx.h>

namespace korvane::platform::ui::desktop::testing {
namespace {

constexpr char8_t kScreenLayout[] = u8R"({
  "caption": "播放",
  "size": [200, 160],
  "controls": [
    {"kind": "PlaybackEngine", "name": "播放器", "rect": [10, 10, 160, 120]},
    {"kind": "Label", "name": "标签_片名", "rect": [10, 134, 160, 20]}
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
            std::to_string(GDK_WINDOW_XID(gtk_widget_get_window(backend_.Engine(engine.Id())->Widget()))));
  const std::string entry = Property(engine, "playlist/0/id");

  engine.Pause();
  EXPECT_TRUE(PumpUntil([&] { return Property(engine, "pause") == "yes" && Property(engine, "core-idle") == "yes"; }));

  // Play after a pause, with no new address, resumes the same load.
  engine.Play();
  EXPECT_TRUE(WaitPlaying(engine, kTestPicture));
  EXPECT_EQ(Property(engine, "playlist/0/id"), entry);

  engine.Stop();
  EXPECT_TRUE(PumpUntil([&] { return Property(engine, "idle-active") == "yes"; }));

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
            std::to_string(GDK_WINDOW_XID(gtk_widget_get_window(backend_.Engine(engine.Id())->Widget()))));
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
