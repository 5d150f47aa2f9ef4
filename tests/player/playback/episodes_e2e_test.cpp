// The episode road of the real `Player` on the headless backend: catalogue title pages
// in GBK served by a local server, scraped when a browser reaches them, the programme
// list rebuilt when they complete, and the engine's calls as the dump records them.

#include <gtest/gtest.h>

#include "platform/core/path_map.h"
#include "platform/core/profile.h"
#include "tests/player/playback/title_pages.h"
#include "tests/player/player_program_run.h"

namespace korvane::player::testing {
namespace {

using nlohmann::json;
using namespace remote;

constexpr char kPauseAd[] = "http://ads.example/pause.html";

const std::vector<Link> kThreeEpisodes = {
    {"http://v.example/1.mp4", "第1集"}, {"http://v.example/2.mp4", "第2集"}, {"http://v.example/3.mp4", "第3集"}};

json Call(std::string_view property, std::string_view value) {
  return json::array({property, AsChars(GbkToUtf8(value))});
}

// A rebuild that plays: the engine calls in their order.
std::vector<json> PlayedRebuild(std::string_view address) {
  return {"PrepareEpisodeChange", "Stop", Call("PauseAdAddress", kPauseAd), Call("MediaAddress", address), "Play"};
}
const std::vector<json> kSilentRebuild = {"PrepareEpisodeChange", "Stop", Call("PauseAdAddress", kPauseAd)};

class EpisodesEndToEndTest : public ::testing::Test {
 protected:
  EpisodesEndToEndTest() {
    program_.ServeQuietStart();
    program_.Serve(kPauseAdPage, kPauseAd);
    program_.Serve(kBoxPauseAdPage, "http://box.example/pause.html");
    program_.WriteFile(program_.Installed("PlayerConfig.ini"), "[Config]\r\nList=2\r\nButton=1\r\n");
  }

  Text ServePage(std::string_view name, std::string body, std::string_view query = "?id=7&type=tv") {
    return program_.ServeFilmPage(name, std::move(body), query);
  }
  ProgramRun RunActions(const std::vector<std::string>& actions) { return program_.RunSteps(actions); }

  static std::vector<json> Calls(const ProgramRun& run, std::string_view label) {
    return run.Control(label, "快播播放器")["calls"].get<std::vector<json>>();
  }
  // The engine calls made between two dumps.
  static std::vector<json> CallsBetween(const ProgramRun& run, std::string_view from, std::string_view to) {
    const std::vector<json> before = Calls(run, from);
    const std::vector<json> after = Calls(run, to);
    EXPECT_GE(after.size(), before.size());
    return {after.begin() + std::min(before.size(), after.size()), after.end()};
  }
  static std::vector<Text> Items(const ProgramRun& run, std::string_view label) {
    std::vector<Text> items;
    const json list = run.Control(label, "主窗体播放器节目列表");
    for (const json& item : list["items"]) {
      items.push_back((item["parent"].get<int>() >= 0 ? "  " : "") + Gbk(item["text"]));
    }
    return items;
  }
  static int Selection(const ProgramRun& run, std::string_view label) {
    return run.Control(label, "主窗体播放器节目列表")["selection"].get<int>();
  }
  static long TimeOf(const ProgramRun& run, std::string_view label) {
    for (const json& record : run.records) {
      if (record.value("record", "") == "dump" && record.value("label", "") == label) return record["time_ms"];
    }
    return -1;
  }
  Text Button() const {
    return platform::ReadIniValue(platform::CorePath(program_.Installed("PlayerConfig.ini")), "Config", "Button");
  }

  PlayerProgramRun program_;
};

// Start-up: each start page completes and rebuilds an empty list, nothing plays.
TEST_F(EpisodesEndToEndTest, TheStartPagesRebuildAnEmptyListAndPlayNothing) {
  ProgramRun run = RunActions({});
  EXPECT_EQ(Items(run, "before"), std::vector<Text>{""});
  std::vector<json> twice = kSilentRebuild;
  twice.insert(twice.end(), kSilentRebuild.begin(), kSilentRebuild.end());
  EXPECT_EQ(Calls(run, "before"), twice);
  EXPECT_EQ(Gbk(run.Control("before", "点击播放标签")["caption"]), "程序准备就绪......");
}

struct TitlePageCase {
  std::string name;
  std::string page;
  std::string query;
  std::vector<Text> items;  // the list after the page, children indented
  Text played;               // the address the engine is given; empty: refused by the gate
  bool waited;               // the status texts and the 500 ms pause
};

void PrintTo(const TitlePageCase& c, std::ostream* os) { *os << c.name; }

class TitlePageTest : public EpisodesEndToEndTest,
                      public ::testing::WithParamInterface<std::tuple<TitlePageCase, const char*>> {};

TEST_P(TitlePageTest, FillsTheListAndPlaysTheFirstEpisode) {
  const auto& [c, browser] = GetParam();
  ProgramRun run = RunActions({Navigate(browser, ServePage("a", c.page, c.query))});
  EXPECT_EQ(Items(run, "1"), c.items);
  const json list = run.Control("1", "主窗体播放器节目列表");
  for (const json& item : list["items"]) {
    if (item["parent"].get<int>() < 0) {
      EXPECT_TRUE(item["expanded"].get<bool>());
    }
  }
  // Only a list with an episode plays, a refused address as empty text.
  EXPECT_EQ(CallsBetween(run, "before", "1"), c.items.size() > 1 ? PlayedRebuild(c.played) : kSilentRebuild);
  EXPECT_EQ(TimeOf(run, "1") - TimeOf(run, "before"), c.waited ? 500 : 0);
  const json label = run.Control("1", "点击播放标签");
  const Text title = c.items.empty() ? Text() : c.items.front();
  // With an episode the rebuild goes on to the player view, also when its address is
  // refused (reported on stderr).
  EXPECT_EQ(run.error_output.find("episode address refused") != std::string::npos,
            c.items.size() > 1 && c.played.empty());
  if (c.items.size() > 1) {
    EXPECT_EQ(Gbk(label["caption"]), "正在播放 [" + title + "]...");
    EXPECT_EQ(Gbk(label["hint"]), "正在播放[" + title + "] 高清版");
    EXPECT_EQ(Selection(run, "1"), 1);
    // The player view with the list, and the toggle offers pause.
    EXPECT_TRUE(run.Control("1", "快播播放器")["visible"].get<bool>());
    EXPECT_TRUE(run.Control("1", "主窗体播放器节目列表")["visible"].get<bool>());
    EXPECT_FALSE(run.Control("1", browser)["visible"].get<bool>());
    EXPECT_EQ(Gbk(run.Control("1", "主界面暂停播放按钮")["hint"]), "点击暂停");
    EXPECT_EQ(Button(), "2");
  } else if (c.waited) {
    EXPECT_EQ(Gbk(label["caption"]), "获取影片点播数据成功...");
    EXPECT_EQ(Gbk(label["hint"]), "已获取[" + title + "]影片点播地址");
    EXPECT_EQ(Button(), "1");
  } else {
    EXPECT_EQ(Gbk(label["caption"]), "程序准备就绪......");
    EXPECT_EQ(Button(), "1");
  }
}

const std::string kMixedLinks =
    "<ul><LI><a href='http://v.example/a.mp4\">单开双闭</a>"
    "<LI> <a href=\"http://v.example/blank.mp4\">空格</a>"
    "<LI><a href=\"http://v.example/attr.mp4\" target=\"_blank\">属性</a>"
    "<LI><a href=\"http://v.example/empty.mp4\"></a>"
    "<LI><a href=\"http://v.example/b.mp4\">双引号</a></ul>";

INSTANTIATE_TEST_SUITE_P(
    Pages, TitlePageTest,
    ::testing::Combine(
        ::testing::Values(
            TitlePageCase{"TitleStatusAndEpisodes", TitlePage(TitleItem("海边"), kThreeEpisodes), "?id=7&type=tv",
                          {"海边", "  第1集", "  第2集", "  第3集"}, "http://v.example/1.mp4", true},
            TitlePageCase{"TypeInCapitals", TitlePage(TitleItem("海边"), kThreeEpisodes), "?id=7&TYPE=tv",
                          {"海边", "  第1集", "  第2集", "  第3集"}, "http://v.example/1.mp4", true},
            TitlePageCase{"CapitalTOnly", TitlePage(TitleItem("海边"), kThreeEpisodes), "?id=7&Type=tv",
                          {"海边", "  第1集", "  第2集", "  第3集"}, "http://v.example/1.mp4", true},
            TitlePageCase{"TypeAfterAQuestionMarkIsNotScraped", TitlePage(TitleItem("海边"), kThreeEpisodes),
                          "?type=tv", {""}, "", false},
            TitlePageCase{"NoTitleItem", TitlePage("", kThreeEpisodes), "?id=7&type=tv", {""}, "", false},
            TitlePageCase{"NoStatusItemNoWait", TitlePage(TitleItem("海边"), kThreeEpisodes, ""), "?id=7&type=tv",
                          {"海边", "  第1集", "  第2集", "  第3集"}, "http://v.example/1.mp4", false},
            TitlePageCase{"NoLinkItems", TitlePage(TitleItem("空片"), {}), "?id=7&type=tv", {"空片"}, "", true},
            TitlePageCase{"TwoTitlesTheFirstCounts",
                          TitlePage(TitleItem("<b>第一</b>") + TitleItem("第二"), kThreeEpisodes),
                          "?id=7&type=tv", {"<b>第一</b>", "  第1集", "  第2集", "  第3集"},
                          "http://v.example/1.mp4", true},
            TitlePageCase{"MixedQuotesMatchOtherFormsDoNot", TitleItem("混合") + "<li>状　　态：连载</li>" + kMixedLinks,
                          "?id=7&type=tv", {"混合", "  单开双闭", "  双引号"}, "http://v.example/a.mp4", true},
            // Only addresses the gate passes reach the engine: the list still shows the episode.
            TitlePageCase{"ALocalFileIsNotPlayed", TitlePage(TitleItem("本地"), {{"file:///etc/passwd", "第1集"}}),
                          "?id=7&type=tv", {"本地", "  第1集"}, "", true}),
        ::testing::Values(kLibrary, kFind)),
    [](const auto& info) {
      return std::get<0>(info.param).name + (std::get<1>(info.param) == std::string(kLibrary) ? "Library" : "Find");
    });

TEST_F(EpisodesEndToEndTest, EveryCompletedPageReplaysEpisodeOneAndAPageWithoutTitleKeepsTheFilm) {
  const Text film = ServePage("film", TitlePage(TitleItem("海边"), kThreeEpisodes));
  const Text other = ServePage("other", "<html>目录</html>", "?page=2");
  const Text untitled = ServePage("untitled", TitlePage("", {{"http://v.example/x.mp4", "别的"}}));
  ProgramRun run = RunActions({Navigate(kLibrary, film), "click 主界面下一集按钮\n", Navigate(kFind, other),
                               Navigate(kLibrary, untitled)});
  for (const char* label : {"3", "4"}) {
    EXPECT_EQ(Items(run, label), (std::vector<Text>{"海边", "  第1集", "  第2集", "  第3集"})) << label;
    EXPECT_EQ(Selection(run, label), 1) << label;
  }
  EXPECT_EQ(CallsBetween(run, "2", "3"), PlayedRebuild("http://v.example/1.mp4"));
  EXPECT_EQ(CallsBetween(run, "3", "4"), PlayedRebuild("http://v.example/1.mp4"));
}

struct StepCase {
  std::string name;
  std::vector<std::string> actions;  // after the film has started
  std::vector<json> calls;           // made by the last action
  int selection;                     // after it
};

void PrintTo(const StepCase& c, std::ostream* os) { *os << c.name; }

class EpisodeStepTest : public EpisodesEndToEndTest, public ::testing::WithParamInterface<StepCase> {};

std::vector<json> Stepped(std::string_view address) {
  return {"PrepareEpisodeChange", "Stop", "Stop", Call("PauseAdAddress", kPauseAd), Call("MediaAddress", address),
          "Play"};
}
std::vector<json> Activated(std::string_view address) {
  return {"PrepareEpisodeChange", "Stop", Call("PauseAdAddress", kPauseAd), Call("MediaAddress", address), "Play"};
}

TEST_P(EpisodeStepTest, MovesAsTheListSelects) {
  const StepCase& c = GetParam();
  std::vector<std::string> actions = {Navigate(kLibrary, ServePage("film", TitlePage(TitleItem("海边"), kThreeEpisodes)))};
  actions.insert(actions.end(), c.actions.begin(), c.actions.end());
  ProgramRun run = RunActions(actions);
  const std::string last = std::to_string(actions.size());
  const std::string before_last = std::to_string(actions.size() - 1);
  EXPECT_EQ(CallsBetween(run, before_last, last), c.calls);
  EXPECT_EQ(Selection(run, last), c.selection);
}

const std::string kNext = "click 主界面下一集按钮\n";
const std::string kPrevious = "click 主界面上一集按钮\n";

INSTANTIATE_TEST_SUITE_P(
    Moves, EpisodeStepTest,
    ::testing::Values(
        StepCase{"Next", {kNext}, Stepped("http://v.example/2.mp4"), 2},
        StepCase{"NextThenPrevious", {kNext, kPrevious}, Stepped("http://v.example/1.mp4"), 1},
        // Previous and next have not played yet: the title item is what was played.
        StepCase{"PreviousFromTheFirstEpisodeSelectsTheTitle", {kPrevious, kPrevious}, {"PrepareEpisodeChange"}, 0},
        StepCase{"NextPastTheLastGoesBackToThePlayedEpisode", {kNext, kNext, kNext}, {"PrepareEpisodeChange"}, 3},
        StepCase{"ActivatingAnEpisode", {"activate 主窗体播放器节目列表 3\n"}, Activated("http://v.example/3.mp4"), 3},
        StepCase{"ActivatingTheTitleDoesNothing", {"activate 主窗体播放器节目列表 0\n"}, {}, 0},
        // After a pause the next episode starts while the toggle still offers play.
        StepCase{"NextAfterAPause", {"click 主界面暂停播放按钮\n", kNext}, Stepped("http://v.example/2.mp4"), 2}),
    [](const auto& info) { return info.param.name; });

TEST_F(EpisodesEndToEndTest, MovesOnAnEmptyListPlayNothing) {
  ProgramRun run = RunActions({kNext, kPrevious, "activate 主窗体播放器节目列表 0\n"});
  EXPECT_EQ(CallsBetween(run, "before", "3"),
            (std::vector<json>{"PrepareEpisodeChange", "PrepareEpisodeChange"}));
}

TEST_F(EpisodesEndToEndTest, TheToggleClickedTwicePlaysThenPausesWithThePauseAd) {
  ProgramRun run = RunActions({"click 主界面暂停播放按钮\n", "click 主界面暂停播放按钮\n"});
  EXPECT_EQ(CallsBetween(run, "before", "1"), std::vector<json>{"Play"});
  EXPECT_EQ(Gbk(run.Control("1", "主界面暂停播放按钮")["hint"]), "点击暂停");
  EXPECT_EQ(Gbk(run.Control("1", "主界面暂停播放按钮")["pictures"]["normal"]), "pictures/pause_normal.gif");
  EXPECT_EQ(CallsBetween(run, "1", "2"), (std::vector<json>{"Pause", Call("PauseAdAddress", kPauseAd)}));
  EXPECT_EQ(Gbk(run.Control("2", "主界面暂停播放按钮")["hint"]), "点击播放");
  EXPECT_EQ(Gbk(run.Control("2", "主界面暂停播放按钮")["pictures"]["hover"]), "pictures/play_hover.gif");
  EXPECT_EQ(Button(), "1");
}

struct PauseAdCase {
  std::string name;
  Text pause_ad_switch;
  const RemoteFile* fetched;  // nullptr: none
  Text written;
};

void PrintTo(const PauseAdCase& c, std::ostream* os) { *os << c.name; }

class PauseAdTest : public EpisodesEndToEndTest, public ::testing::WithParamInterface<PauseAdCase> {};

TEST_P(PauseAdTest, EachRebuildFetchesThePauseAdBySwitch) {
  const PauseAdCase& c = GetParam();
  program_.Serve(kPauseAdSwitch, c.pause_ad_switch);
  ProgramRun run = RunActions({});
  std::vector<json> rebuild = {"PrepareEpisodeChange", "Stop"};
  if (c.fetched != nullptr) rebuild.push_back(Call("PauseAdAddress", c.written));
  std::vector<json> twice = rebuild;
  twice.insert(twice.end(), rebuild.begin(), rebuild.end());
  EXPECT_EQ(Calls(run, "before"), twice);
  const std::vector<std::string> targets = program_.RequestTargets();
  for (const RemoteFile* file : {&kPauseAdPage, &kBoxPauseAdPage}) {
    EXPECT_EQ(std::count(targets.begin(), targets.end(), program_.TargetOf(*file)), file == c.fetched ? 2 : 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Switches, PauseAdTest,
                         ::testing::Values(PauseAdCase{"Control", "1", &kPauseAdPage, kPauseAd},
                                           PauseAdCase{"Box", "2", &kBoxPauseAdPage, "http://box.example/pause.html"},
                                           PauseAdCase{"Off", "0", nullptr, ""},
                                           PauseAdCase{"LineEnd", "1\r\n", nullptr, ""}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace korvane::player::testing
