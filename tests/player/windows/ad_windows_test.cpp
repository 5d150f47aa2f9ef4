// The exit-ad and corner-ad windows of the real player in one process, on virtual time:
// the exit road by each switch, the ways the exit ad ends the program, and the corner ad's
// own fetches, its place and its timers.

#include <gtest/gtest.h>

#include "tests/player/windows/ad_player.h"

namespace korvane::player::testing {
namespace {

using namespace remote;
using platform::testing::ShellCall;

constexpr char kExitPage[] = "http://ads.test/exit.html";
constexpr char kBoxExitPage[] = "http://ads.test/box-exit.html";
constexpr char kCornerPage[] = "http://ads.test/corner.html";
constexpr char kBoxCornerPage[] = "http://ads.test/box-corner.html";

std::vector<Text> Closed(const AdPlayer& player) { return player.backend_.ClosedWindows(); }

// ---- The exit road ------------------------------------------------------------------

struct ExitCase {
  std::string name;
  Text exit_switch;
  Text box_switch;  // served only once start-up is over: read at exit time
  bool exit_ad;  // else the main window closes
  Text page;  // the exit ad's address
};

void PrintTo(const ExitCase& c, std::ostream* os) { *os << c.name; }

class ExitRoadTest : public ::testing::TestWithParam<ExitCase>, protected AdPlayer {};

TEST_P(ExitRoadTest, WaitsHalfASecondThenActsOnTheSwitchReadAtThatTime) {
  const ExitCase& c = GetParam();
  Serve(kExitAdSwitch, c.exit_switch);
  Serve(kExitAdBoxSwitch, c.box_switch == "开" ? "关" : "开");
  Serve(kExitAdPage, kExitPage);
  Serve(kBoxExitAdPage, c.page == kBoxExitPage ? kBoxExitPage : "");
  std::int64_t exit_at = 0;
  Check([&] {
    EXPECT_EQ(FetchCount(kExitAdBoxSwitch), 0) << "the box switch is read at exit time only";
    Serve(kExitAdBoxSwitch, c.box_switch);
    exit_at = backend_.NowMs();
  });
  Exit();
  bool after_exit = false;
  Check([&] {
    after_exit = true;
    EXPECT_EQ(backend_.NowMs() - exit_at, 500);
    EXPECT_FALSE(ModelOf(Main())->window_state->tray.shown);
    std::optional<ui::Window> ad = WindowNamed("ExitAdWindow");
    ASSERT_TRUE(ad.has_value());
    EXPECT_FALSE(Main().Visible());
    EXPECT_TRUE(ModelOf(*ad)->window_state->modal);
    EXPECT_EQ(ad->Caption(), Text(kProvider) + "退弹广告");
    EXPECT_EQ(ad->Find<ui::HypertextBox>("超文本浏览框1").Address(), c.page);
  });
  const int code = RunToEnd();
  EXPECT_EQ(FetchCount(kExitAdBoxSwitch), c.exit_switch == "2" ? 1 : 0);
  const std::vector<ShellCall> ends = {{ShellCall::Kind::kEndProcessByName, "QvodPlayer.exe", {}},
                                       {ShellCall::Kind::kEndProcessByName, "QvodTerminal.exe", {}}};
  EXPECT_EQ(shell_.calls(), ends);
  if (!c.exit_ad) {
    // The close takes effect once the menu's handler has returned: nothing after it runs.
    EXPECT_FALSE(after_exit);
    EXPECT_EQ(backend_.NowMs() - exit_at, 500);
    EXPECT_EQ(Closed(*this), std::vector<Text>{"MainWindow"});
    EXPECT_EQ(code, 0);
  } else {
    EXPECT_TRUE(after_exit);
    EXPECT_EQ(code, platform::ui::kStalledExitCode);  // the exit ad waits for its 10 s
  }
}

INSTANTIATE_TEST_SUITE_P(
    Switches, ExitRoadTest,
    ::testing::Values(ExitCase{"Close", "0", "开", false, ""},
                      ExitCase{"ExitAd", "1", "关", true, kExitPage},
                      ExitCase{"BoxOn", "2", "开", true, kBoxExitPage},
                      ExitCase{"BoxOnEmptyPage", "2", "开", true, ""},
                      ExitCase{"BoxOff", "2", "关", false, ""},
                      // Left as they were, the program would go on without a tray icon.
                      ExitCase{"BoxOther", "2", "开\r\n", false, ""},
                      ExitCase{"Other", "3", "开", false, ""},
                      ExitCase{"Empty", "", "开", false, ""}),
    [](const auto& info) { return info.param.name; });

// ---- How the exit ad ends the program -------------------------------------------------

struct EndingCase {
  std::string name;
  int wait_ms;  // from the ad's load to the user's action
  std::optional<std::pair<Text, Text>> action;  // script verb and value; none: the timer
  std::vector<Text> closed;
};

void PrintTo(const EndingCase& c, std::ostream* os) { *os << c.name; }

class ExitAdEndingTest : public ::testing::TestWithParam<EndingCase>, protected AdPlayer {};

TEST_P(ExitAdEndingTest, ClosesTheMainWindowAndItselfAndTheProgramEnds) {
  const EndingCase& c = GetParam();
  Serve(kExitAdSwitch, "1");
  Exit();
  Advance(c.wait_ms);
  Check([this] {
    EXPECT_TRUE(WindowNamed("ExitAdWindow").has_value());
    EXPECT_TRUE(Closed(*this).empty());
  });
  if (c.action) {
    script_.Add(c.action->first, {c.action->second, "ExitAdWindow"});
  } else {
    Advance(1);
  }
  bool ran_on = false;
  Check([&] { ran_on = true; });
  EXPECT_EQ(RunToEnd(), 0);
  EXPECT_FALSE(ran_on);
  EXPECT_EQ(Closed(*this), c.closed);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, ExitAdEndingTest,
    ::testing::Values(EndingCase{"After10Seconds", 9999, std::nullopt, {"MainWindow", "ExitAdWindow"}},
                      EndingCase{"CloseButton", 2000, std::pair<Text, Text>{"click", "图形按钮1"},
                                 {"MainWindow", "ExitAdWindow"}},
                      EndingCase{"EscKey", 2000, std::pair<Text, Text>{"key", "Esc"}, {"ExitAdWindow", "MainWindow"}}),
    [](const auto& info) { return info.param.name; });

// ---- The corner ad --------------------------------------------------------------------

struct CornerCase {
  std::string name;
  Text corner_switch;      // as start-up reads it
  Text refetched_switch;   // as the window reads it
  Text page;               // shown; empty: the window closes at once
};

void PrintTo(const CornerCase& c, std::ostream* os) { *os << c.name; }

class CornerAdTest : public ::testing::TestWithParam<CornerCase>, protected AdPlayer {
 protected:
  CornerAdTest() {
    backend_.SetScreenSize({1920, 1080});
    Serve(kCornerAdBoxSwitch, "开");
    Serve(kCornerAdPage, kCornerPage);
    Serve(kBoxCornerAdPage, kBoxCornerPage);
  }
  std::optional<ui::Window> CornerAd() { return WindowNamed("CornerAdWindow"); }
};

TEST_P(CornerAdTest, FollowsItsOwnSwitchShowsInTheCornerAtThreeSecondsAndGoesAtFifteen) {
  const CornerCase& c = GetParam();
  Serve(kCornerAdSwitch, c.corner_switch);
  ServeLater(kCornerAdSwitch, c.refetched_switch);
  Check([&] {
    EXPECT_EQ(backend_.NowMs(), 0);
    EXPECT_EQ(FetchCount(kCornerAdSwitch), 2);
    EXPECT_EQ(FetchCount(kCornerAdBoxSwitch), c.corner_switch == "2" ? 1 : 0);
    std::optional<ui::Window> ad = CornerAd();
    ASSERT_EQ(ad.has_value(), !c.page.empty());
    if (c.page.empty()) {
      EXPECT_EQ(Closed(*this), std::vector<Text>{"CornerAdWindow"});
      return;
    }
    EXPECT_FALSE(ad->Visible());
    EXPECT_EQ(ad->Find<ui::HypertextBox>("超文本浏览框1").Address(), c.page);
  });
  if (c.page.empty()) return (void)RunToEnd();
  Advance(2999);
  Check([this] { EXPECT_FALSE(CornerAd()->Visible()); });
  Advance(1);
  Check([this] {
    ui::Window ad = *CornerAd();
    EXPECT_TRUE(ad.Visible());
    EXPECT_EQ((std::array{ad.Left(), ad.Top(), ad.Width(), ad.Height()}), (std::array{1620, 830, 300, 250}));
    EXPECT_EQ(ad.Find<ui::Timer>("时钟1").Interval(), 0);
  });
  Advance(11999);
  Check([this] { EXPECT_TRUE(CornerAd().has_value()); });
  Advance(1);
  Check([this] {
    EXPECT_EQ(Closed(*this), std::vector<Text>{"CornerAdWindow"});
    EXPECT_TRUE(Main().Visible());
  });
  EXPECT_EQ(RunToEnd(), platform::ui::kStalledExitCode);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, CornerAdTest,
    ::testing::Values(CornerCase{"ControlServer", "1", "1", kCornerPage},
                      CornerCase{"Box", "2", "2", kBoxCornerPage},
                      CornerCase{"TurnedToTheBox", "1", "2", kBoxCornerPage},
                      // No empty ad for 12 s: the window closes before it is ever shown.
                      CornerCase{"TurnedOff", "1", "0", ""},
                      CornerCase{"Unreadable", "1", "", ""},
                      CornerCase{"WithALineEnd", "1", "1\r\n", ""}),
    [](const auto& info) { return info.param.name; });

class CornerAdValuesTest : public AdPlayer, public ::testing::Test {
 protected:
  CornerAdValuesTest() {
    Serve(kCornerAdSwitch, "2");
    Serve(kCornerAdBoxSwitch, "开");
  }
};

TEST_F(CornerAdValuesTest, ItsHomeAddressFetchReplacesTheHomeAddress) {
  static constexpr char kNewHome[] = "http://home2.test/";
  ServeLater(kHomeAddress, kNewHome);
  http_.Answer(AddressOf(kBoxCornerAdPage, kNewHome), kBoxCornerPage);
  Check([&] {
    EXPECT_EQ(Globals().home_address, kNewHome);
    EXPECT_EQ(WindowNamed("CornerAdWindow")->Find<ui::HypertextBox>("超文本浏览框1").Address(), kBoxCornerPage);
  });
  RunToEnd();
}

// A failed fetch would otherwise leave the box ads, the chat link, the site items and the
// about window without the operator's address for the rest of the run.
TEST_F(CornerAdValuesTest, AFailedHomeAddressFetchKeepsTheHomeAddress) {
  ServeLater(kHomeAddress, "");
  Serve(kBoxCornerAdPage, kBoxCornerPage);
  Check([this] {
    EXPECT_EQ(FetchCount(kHomeAddress), 2);
    EXPECT_EQ(Globals().home_address, kHome);
    EXPECT_EQ(FetchCount(kBoxCornerAdPage), 1);
    EXPECT_TRUE(WindowNamed("CornerAdWindow").has_value());
  });
  RunToEnd();
}

TEST_F(CornerAdValuesTest, WithoutNetworkItClosesUnseenAndKeepsStartUpsValues) {
  resolver_after_start_.GoAfter(1);
  ServeLater(kHomeAddress, "http://home2.test/");
  Check([this] {
    EXPECT_EQ(Closed(*this), std::vector<Text>{"CornerAdWindow"});
    EXPECT_EQ(Globals().home_address, kHome);
    EXPECT_EQ(FetchCount(kHomeAddress), 1);
    EXPECT_EQ(FetchCount(kCornerAdSwitch), 1);
  });
  EXPECT_EQ(RunToEnd(), platform::ui::kStalledExitCode);
}

TEST_F(CornerAdValuesTest, ItsCloseButtonClosesOnlyIt) {
  Serve(kBoxCornerAdPage, kBoxCornerPage);
  Advance(3000);
  script_.Add("click", {"图形按钮1", "CornerAdWindow"});
  Check([this] {
    EXPECT_EQ(Closed(*this), std::vector<Text>{"CornerAdWindow"});
    EXPECT_TRUE(Main().Shown());
    EXPECT_TRUE(Main().Find<ui::PlaybackEngine>("快播播放器").Visible());
    EXPECT_TRUE(shell_.calls().empty());
  });
  EXPECT_EQ(RunToEnd(), platform::ui::kStalledExitCode);
}

// ---- Both ads -------------------------------------------------------------------------

struct OutlivingCase {
  std::string name;
  std::vector<std::pair<Text, std::vector<Text>>> after_exit;  // script lines from 4.5 s
  std::int64_t ends_at_ms;
  std::vector<Text> closed_by_exit;  // the order in which the exit ad's end closes them
};

void PrintTo(const OutlivingCase& c, std::ostream* os) { *os << c.name; }

class CornerAdOutlivesTheExitAdTest : public ::testing::TestWithParam<OutlivingCase>, protected AdPlayer {};

TEST_P(CornerAdOutlivesTheExitAdTest, TheProcessEndsWhenTheCornerAdCloses) {
  const OutlivingCase& c = GetParam();
  Serve(kCornerAdSwitch, "1");
  Serve(kCornerAdPage, kCornerPage);
  Serve(kExitAdSwitch, "1");
  Advance(4000);
  Exit();
  for (const auto& [verb, values] : c.after_exit) script_.Add(verb, values);
  Check([&] {
    EXPECT_EQ(Closed(*this), c.closed_by_exit);
    EXPECT_EQ(InspectionOf(ui_).Windows().size(), 1u);
  });
  if (c.ends_at_ms > 0) Advance(static_cast<int>(c.ends_at_ms - 14600));
  script_.Add("click", {"图形按钮1", "CornerAdWindow"});
  bool ran_on = false;
  Check([&] { ran_on = true; });
  EXPECT_EQ(RunToEnd(), 0);
  EXPECT_FALSE(ran_on);
  std::vector<Text> closed = c.closed_by_exit;
  closed.push_back("CornerAdWindow");
  EXPECT_EQ(Closed(*this), closed);
  if (c.ends_at_ms > 0) {
    EXPECT_EQ(backend_.NowMs(), c.ends_at_ms);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Endings, CornerAdOutlivesTheExitAdTest,
    ::testing::Values(
        // The exit ad loads at 4.5 s and ends at 14.5 s; the corner ad closes at 15 s.
        OutlivingCase{"ByTheirTimers", {{"advance", {"10100"}}}, 15000,
                      {"MainWindow", "ExitAdWindow"}},
        // The exit ad goes by the Esc key, the corner ad by its close button.
        OutlivingCase{"ByTheUser", {{"key", {"Esc", "ExitAdWindow"}}}, 0,
                      {"ExitAdWindow", "MainWindow"}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace korvane::player::testing
