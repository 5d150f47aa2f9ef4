// The real `Player` program, run as a black box on the headless backend against a local
// server that holds the remote control files, enciphered with the demo keys.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/cipher.h"
#include "platform/core/path_map.h"
#include "platform/core/profile.h"
#include "platform/services/linux_named_events.h"
#include "tests/player/player_program_run.h"
#include "tools/encipher/encipher.h"

namespace korvane::player::testing {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using namespace remote;

// Icons of the message boxes, as the dump names them; every box has one OK button.
constexpr char kInformationBox[] = "information";
constexpr char kWarningBox[] = "warning";
// A run whose Player is still open when the script has run out ends as stalled.
constexpr int kStillRunning = 124;
// Dumps the state once start-up and the loads it began have run.
constexpr char kDumpRunning[] = "dump running\n";

struct ExpectedBox {
  Text text;
  Text title;
  std::string icon;
  std::string buttons;
};

std::vector<ExpectedBox> MessageBoxes(const ProgramRun& run) {
  std::vector<ExpectedBox> boxes;
  for (const json& box : run.Records("message_box")) {
    boxes.push_back({Gbk(box["text"]), Gbk(box["title"]), box["icon"], box["buttons"]});
  }
  return boxes;
}

MATCHER_P3(IsBox, text, title, icon, "") {
  return arg.text == Text(text) && arg.title == Text(title) && arg.icon == icon && arg.buttons == "ok";
}

std::vector<Text> Names(const std::vector<json>& records) {
  std::vector<Text> names;
  for (const json& record : records) names.push_back(Gbk(record["name"]));
  return names;
}

class PlayerProgramEndToEndTest : public ::testing::Test {
 protected:
  PlayerProgramEndToEndTest() {
    program_.ServeQuietStart();
    // The user had closed the list and paused in the run before.
    program_.WriteFile(program_.Installed("PlayerConfig.ini"), "[Config]\r\nList=1\r\nButton=2\r\n");
  }

  Text CataloguePage() const { return program_.CataloguePage(); }
  Text FindPage() const { return program_.FindPage(); }

  // The fetches of steps 5 to 8, then `more`.
  std::vector<std::string> StartFetches(std::initializer_list<const RemoteFile*> more = {}) const {
    std::vector<std::string> targets;
    for (const RemoteFile* file : {&kCataloguePage, &kFindPage, &kHomeAddress, &kTextAdSwitch,
                                   &kPauseAdSwitch, &kExitAdSwitch, &kProviderName, &kVersionFlag}) {
      targets.push_back(program_.TargetOf(*file));
    }
    for (const RemoteFile* file : more) targets.push_back(program_.TargetOf(*file));
    return targets;
  }
  // A whole start: the fetches, the corner-ad switch (with `corner` after it), then the
  // two catalogue browsers' pages and the statistics page.
  std::vector<std::string> WholeStart(std::initializer_list<const RemoteFile*> text_ads = {},
                                      std::initializer_list<const RemoteFile*> corner = {}) const {
    std::vector<std::string> targets = StartFetches(text_ads);
    targets.push_back(program_.TargetOf(kCornerAdSwitch));
    for (const RemoteFile* file : corner) targets.push_back(program_.TargetOf(*file));
    for (const Text& page : {CataloguePage(), FindPage()}) {
      targets.push_back(testing_support::ParseAddress(page).path);
    }
    targets.push_back(program_.StatisticsTarget(kInstallationId));
    // Each start page completes and rebuilds the empty programme list with the pause ad.
    targets.insert(targets.end(), 2, program_.TargetOf(kPauseAdPage));
    return targets;
  }

  Text PlayerConfig(std::string_view key) const {
    return platform::ReadIniValue(platform::CorePath(program_.Installed("PlayerConfig.ini")), "Config", key);
  }
  void ExpectStartWrites() const {
    EXPECT_EQ(PlayerConfig("List"), "2");
    EXPECT_EQ(PlayerConfig("Button"), "1");
  }
  void ExpectEndedEarly(const ProgramRun& run) const {
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(Names(run.Records("closed_window")), std::vector<Text>{"MainWindow"});
  }

  PlayerProgramRun program_;
};

TEST_F(PlayerProgramEndToEndTest, WithoutNetworkTheFirstMessageEndsTheProgramBeforeAnyFetch) {
  fs::remove(program_.Installed("Config.ini"));  // not even looked for
  ProgramRun run = program_.Run("", {{"KORVANE_PROBE_UNRESOLVABLE", "1"}});
  ExpectEndedEarly(run);
  EXPECT_THAT(MessageBoxes(run),
              ::testing::ElementsAre(IsBox("请接入网络后，再运行本程序！", "警告", kInformationBox)));
  EXPECT_TRUE(program_.RequestTargets().empty());
  EXPECT_EQ(PlayerConfig("List"), "1");
}

// A run killed while it wrote its settings left the write's temporary beside them; the
// next start removes it, even one that ends at once, and nothing else.
TEST_F(PlayerProgramEndToEndTest, TheNextStartRemovesTheTemporaryOfAKilledSettingsWrite) {
  program_.WriteFile(program_.Installed("PlayerConfig.ini.tmp-Ab12Cd"), "[Config]\r\nList=2\r\n");
  program_.WriteFile(program_.Installed("PlayerConfig.ini.tmp-notours"), "not a temporary");
  program_.WriteFile(program_.Installed("Config.ini.tmp-Ab12Cd"), "not Player's");
  ProgramRun run = program_.Run("", {{"KORVANE_PROBE_UNRESOLVABLE", "1"}});
  ExpectEndedEarly(run);
  EXPECT_FALSE(fs::exists(program_.Installed("PlayerConfig.ini.tmp-Ab12Cd")));
  EXPECT_TRUE(fs::exists(program_.Installed("PlayerConfig.ini.tmp-notours")));
  EXPECT_TRUE(fs::exists(program_.Installed("Config.ini.tmp-Ab12Cd")));
  EXPECT_EQ(PlayerConfig("List"), "1");
}

// The user's write protection holds: a whole start over a read-only PlayerConfig.ini
// runs, and the file keeps its bytes and its mode.
TEST_F(PlayerProgramEndToEndTest, AReadOnlyPlayerConfigIsLeftAsItIs) {
  const fs::path settings = program_.Installed("PlayerConfig.ini");
  const std::string stored = program_.ReadFile(settings);
  fs::permissions(settings, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  ProgramRun run = program_.Run(kDumpRunning);
  EXPECT_EQ(run.exit_code, kStillRunning);
  EXPECT_TRUE(MessageBoxes(run).empty());
  EXPECT_EQ(program_.ReadFile(settings), stored);
  EXPECT_EQ(fs::status(settings).permissions(),
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  for (const fs::directory_entry& entry : fs::directory_iterator(settings.parent_path())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with("PlayerConfig.ini.tmp-")) << entry.path();
  }
}

TEST_F(PlayerProgramEndToEndTest, AMissingConfigurationFileEndsTheProgramWithItsMessage) {
  for (const char* missing : {"Config.ini", "PlayerConfig.ini"}) {
    SCOPED_TRACE(missing);
    const std::string kept = program_.ReadFile(program_.Installed(missing));
    fs::remove(program_.Installed(missing));
    ProgramRun run = program_.Run(kDumpRunning);
    ExpectEndedEarly(run);
    EXPECT_THAT(MessageBoxes(run),
                ::testing::ElementsAre(IsBox("配置文件丢失，程序启动失败！", "", kWarningBox)));
    program_.WriteFile(program_.Installed(missing), kept);
  }
  EXPECT_TRUE(program_.RequestTargets().empty());
}

TEST_F(PlayerProgramEndToEndTest, EmptyConfigurationFilesStartWithAnEmptyInstallationId) {
  program_.WriteFile(program_.Installed("Config.ini"), "");
  program_.WriteFile(program_.Installed("PlayerConfig.ini"), "");
  ProgramRun run = program_.Run(kDumpRunning);
  EXPECT_EQ(run.exit_code, kStillRunning);
  std::vector<std::string> targets = program_.RequestTargets();
  ASSERT_GE(targets.size(), 3u);
  const std::string uid_folder = testing_support::ParseAddress(
      DecipherHexTextKey1(DeployedConstants().uid_constant)).path + "/";
  EXPECT_EQ(targets[0], uid_folder + "pianku.txt");
  EXPECT_NE(std::find(targets.begin(), targets.end(), program_.StatisticsTarget("")), targets.end());
  EXPECT_TRUE(MessageBoxes(run).empty());
  ExpectStartWrites();
}

TEST_F(PlayerProgramEndToEndTest, AWholeStartFetchesOnOneConnectionAndLaysOutThePlayerView) {
  program_.Serve(kProviderName, "演示影院\r\n");
  ProgramRun run = program_.Run(kDumpRunning);
  EXPECT_EQ(run.exit_code, kStillRunning);
  EXPECT_EQ(program_.RequestTargets(), WholeStart());
  const std::vector<testing_support::RecordedRequest> requests = program_.PlayerRequests();
  for (const auto& request : requests) EXPECT_EQ(request.connection, requests[0].connection);
  // The title is name.txt's body byte for byte, its line end included.
  EXPECT_EQ(Gbk(run.WindowIn("running", "MainWindow")["caption"]), "演示影院\r\n");
  ExpectStartWrites();
  const json player = run.Control("running", "快播播放器");
  EXPECT_EQ(player["rect"], json::array({2, 34, 774, 571}));
  EXPECT_TRUE(player["visible"].get<bool>());
  for (const char* hidden : {"主界面片库浏览器", "主界面找片浏览器", "打开列表按钮", "画板1"}) {
    EXPECT_FALSE(run.Control("running", hidden)["visible"].get<bool>()) << hidden;
  }
  EXPECT_EQ(Gbk(run.Control("running", "列表关闭按钮")["hint"]), "关闭列表");
  EXPECT_EQ(Gbk(run.Control("running", "主界面列表按钮")["hint"]), "联系演示影院\r\n客服");
  EXPECT_EQ(Gbk(run.Control("running", "主界面暂停播放按钮")["hint"]), "点击播放");
  EXPECT_EQ(Gbk(run.Control("running", "软件统计")["address"]),
            DecipherHexTextKey1(DeployedConstants().control_constant) +
                "zongkong/tongji/azltj.html?" + Text(kInstallationId));
}

struct TextAdCase {
  std::string name;
  Text text_ad_switch;
  Text box_switch;  // served as wzkg.txt
  std::vector<const RemoteFile*> fetched;
  // Caption and hint of each label; empty caption: hidden.
  Text caption1, hint1, caption2, hint2;
};

void PrintTo(const TextAdCase& c, std::ostream* os) { *os << c.name; }

class TextAdSwitchTest : public PlayerProgramEndToEndTest,
                         public ::testing::WithParamInterface<TextAdCase> {};

TEST_P(TextAdSwitchTest, FetchesItsTextsInOrderAndShowsItsLabels) {
  const TextAdCase& c = GetParam();
  program_.Serve(kTextAdSwitch, c.text_ad_switch);
  program_.Serve(kTextAdBoxSwitch, c.box_switch);
  for (const auto& [file, value] : std::vector<std::pair<const RemoteFile*, Text>>{
           {&kTextAd1Address, "http://a1/"}, {&kTextAd1Caption, "广告一"}, {&kTextAd1Tip, "提示一"},
           {&kTextAd2Address, "http://a2/"}, {&kTextAd2Caption, "广告二"}, {&kTextAd2Tip, "提示二"},
           {&kBoxTextAd1Address, "http://b1/"}, {&kBoxTextAd1Caption, "盒子一"}, {&kBoxTextAd1Tip, "盒提示一"},
           {&kBoxTextAd2Address, "http://b2/"}, {&kBoxTextAd2Caption, "盒子二"}, {&kBoxTextAd2Tip, "盒提示二"}}) {
    program_.Serve(*file, value);
  }
  ProgramRun run = program_.Run(kDumpRunning);
  std::vector<std::string> expected = StartFetches();
  for (const RemoteFile* file : c.fetched) expected.push_back(program_.TargetOf(*file));
  std::vector<std::string> targets = program_.RequestTargets();
  targets.resize(std::min(targets.size(), expected.size()));
  EXPECT_EQ(targets, expected);
  int label = 0;
  for (const auto& [caption, hint] : {std::pair{c.caption1, c.hint1}, std::pair{c.caption2, c.hint2}}) {
    const json control = run.Control("running", label++ == 0 ? "主界面文字广告1" : "主界面文字广告2");
    EXPECT_EQ(control["visible"].get<bool>(), !caption.empty());
    EXPECT_EQ(Gbk(control["caption"]), caption.empty() ? Gbk(control["caption"]) : caption);
    if (!caption.empty()) {
      EXPECT_EQ(Gbk(control["hint"]), hint);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, TextAdSwitchTest,
    ::testing::Values(
        TextAdCase{"Off", "0", "开", {}, "", "", "", ""},
        TextAdCase{"One", "1", "开", {&kTextAd1Address, &kTextAd1Caption, &kTextAd1Tip},
                   "广告一", "提示一", "", ""},
        TextAdCase{"Two", "2", "开", {&kTextAd2Address, &kTextAd2Caption, &kTextAd2Tip},
                   "", "", "广告二", "提示二"},
        TextAdCase{"Both", "3", "开",
                   {&kTextAd1Address, &kTextAd2Address, &kTextAd1Caption, &kTextAd2Caption,
                    &kTextAd1Tip, &kTextAd2Tip},
                   "广告一", "提示一", "广告二", "提示二"},
        TextAdCase{"BoxOn", "ok", "开",
                   {&kTextAdBoxSwitch, &kBoxTextAd1Address, &kBoxTextAd2Address,
                    &kBoxTextAd1Caption, &kBoxTextAd2Caption, &kBoxTextAd1Tip, &kBoxTextAd2Tip},
                   "盒子一", "盒提示一", "盒子二", "盒提示二"},
        TextAdCase{"BoxOff", "ok", "关", {&kTextAdBoxSwitch}, "", "", "", ""},
        TextAdCase{"BoxOnWithALineEnd", "ok", "开\r\n", {&kTextAdBoxSwitch}, "", "", "", ""},
        TextAdCase{"UpperCaseOk", "OK", "开", {}, "", "", "", ""},
        TextAdCase{"Empty", "", "开", {}, "", "", "", ""}),
    [](const auto& info) { return info.param.name; });

struct CornerAdCase {
  std::string name;
  Text corner_switch;
  Text box_switch;
  bool box_fetched;
  bool loaded;  // the window fetches its values and page again, and waits hidden
};

void PrintTo(const CornerAdCase& c, std::ostream* os) { *os << c.name; }

class CornerAdSwitchTest : public PlayerProgramEndToEndTest,
                           public ::testing::WithParamInterface<CornerAdCase> {};

TEST_P(CornerAdSwitchTest, FetchesItsSwitchesAndLoadsTheWindowWhenTheyAgree) {
  const CornerAdCase& c = GetParam();
  program_.Serve(kCornerAdSwitch, c.corner_switch);
  program_.Serve(kCornerAdBoxSwitch, c.box_switch);
  ProgramRun run = program_.Run(kDumpRunning);
  std::vector<const RemoteFile*> corner;
  if (c.box_fetched) corner.push_back(&kCornerAdBoxSwitch);
  if (c.loaded) {
    corner.insert(corner.end(), {&kHomeAddress, &kCornerAdSwitch,
                                 c.corner_switch == "1" ? &kCornerAdPage : &kBoxCornerAdPage});
  }
  std::vector<std::string> expected = WholeStart();
  auto after_switch = std::find(expected.begin(), expected.end(), program_.TargetOf(kCornerAdSwitch)) + 1;
  for (const RemoteFile* file : corner) after_switch = expected.insert(after_switch, program_.TargetOf(*file)) + 1;
  EXPECT_EQ(program_.RequestTargets(), expected);
  const json window = run.WindowIn("running", "CornerAdWindow");
  EXPECT_EQ(window.is_object(), c.loaded);
  if (c.loaded) {
    EXPECT_FALSE(window["visible"].get<bool>());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, CornerAdSwitchTest,
    ::testing::Values(CornerAdCase{"ControlServer", "1", "关", false, true},
                      CornerAdCase{"BoxOn", "2", "开", true, true},
                      CornerAdCase{"BoxOff", "2", "关", true, false},
                      CornerAdCase{"Off", "0", "开", false, false},
                      CornerAdCase{"Other", "3", "开", false, false}),
    [](const auto& info) { return info.param.name; });

struct VersionCase {
  std::string name;
  std::string body;  // of the version file, exactly
  bool prompt;
};

void PrintTo(const VersionCase& c, std::ostream* os) { *os << c.name; }

class VersionFlagTest : public PlayerProgramEndToEndTest,
                        public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionFlagTest, OnlyTheExactFlagPromptsForTheUpdate) {
  const VersionCase& c = GetParam();
  program_.ServeBody(kVersionFlag, c.body);
  ProgramRun run = program_.Run(kDumpRunning);
  EXPECT_EQ(run.Records("program_started").size(), c.prompt ? 1u : 0u);
  EXPECT_EQ(MessageBoxes(run).size(), c.prompt ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Values, VersionFlagTest,
    ::testing::Values(VersionCase{"Up", tools::EncipherToHex(2, "up"), true},
                      VersionCase{"UpAndASingleLineFeed", tools::EncipherToHex(2, "up") + "\n", true},
                      VersionCase{"UpAndCrLfAfterTheHex", tools::EncipherToHex(2, "up") + "\r\n", false},
                      VersionCase{"UpWithALineEnd", tools::EncipherToHex(2, "up\r\n"), false},
                      VersionCase{"UpperCase", tools::EncipherToHex(2, "UP"), false}),
    [](const auto& info) { return info.param.name; });

struct ExitCase {
  std::string name;
  Text exit_switch;
  Text box_switch;
  bool box_fetched;
  const RemoteFile* exit_ad_page;  // none: no exit ad
};

void PrintTo(const ExitCase& c, std::ostream* os) { *os << c.name; }

class UpdateHandOverTest : public PlayerProgramEndToEndTest,
                           public ::testing::WithParamInterface<ExitCase> {};

TEST_P(UpdateHandOverTest, StartsUpdateAndRunsTheExitRoad) {
  const ExitCase& c = GetParam();
  program_.Serve(kVersionFlag, "up");
  program_.Serve(kExitAdSwitch, c.exit_switch);
  program_.Serve(kExitAdBoxSwitch, c.box_switch);
  // The exit ad is shown inside start-up and ends it 10 s later.
  ProgramRun run = program_.Run(std::string(kDumpRunning) + "advance 10000\n");
  EXPECT_THAT(MessageBoxes(run),
              ::testing::ElementsAre(IsBox("程序已经有新版本，请升级！", "警告", kInformationBox)));
  std::vector<json> started = run.Records("program_started");
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(Gbk(started[0]["verb"]), "open");
  EXPECT_EQ(Gbk(started[0]["file"]), platform::CorePath(program_.Installed("Update.exe")));
  std::vector<std::string> targets = StartFetches();
  if (c.box_fetched) targets.push_back(program_.TargetOf(kExitAdBoxSwitch));
  targets.push_back(program_.TargetOf(kCornerAdSwitch));
  // The window has been closed or asked to close: nothing acts on it, the statistics
  // page is still fetched, and the program ends when the handler has returned.
  targets.insert(targets.end() - 1, program_.StatisticsTarget(kInstallationId));
  EXPECT_EQ(run.exit_code, 0);
  if (c.exit_ad_page != nullptr) {
    targets.insert(targets.end() - 2, program_.TargetOf(*c.exit_ad_page));
    const json ad = run.WindowIn("running", "ExitAdWindow");
    EXPECT_TRUE(ad["modal"].get<bool>());
    EXPECT_FALSE(run.WindowIn("running", "MainWindow")["visible"].get<bool>());
    EXPECT_EQ(Names(run.Records("closed_window")), (std::vector<Text>{"MainWindow", "ExitAdWindow"}));
  } else {
    EXPECT_EQ(Names(run.Records("closed_window")), std::vector<Text>{"MainWindow"});
  }
  EXPECT_EQ(program_.RequestTargets(), targets);
  ExpectStartWrites();
}

INSTANTIATE_TEST_SUITE_P(
    Values, UpdateHandOverTest,
    ::testing::Values(ExitCase{"Close", "0", "开", false, nullptr},
                      ExitCase{"ExitAd", "1", "关", false, &kExitAdPage},
                      ExitCase{"BoxOn", "2", "开", true, &kBoxExitAdPage},
                      ExitCase{"BoxOff", "2", "关", true, nullptr},
                      ExitCase{"BoxOther", "2", "", true, nullptr},
                      ExitCase{"Empty", "", "开", false, nullptr},
                      ExitCase{"CrLfMatchesNothing", "0\r\n", "开", false, nullptr}),
    [](const auto& info) { return info.param.name; });

// The test process holds the event that a running Player of its runs holds.
TEST_F(PlayerProgramEndToEndTest, ARunningInstanceWithTheSameHomeAddressEndsTheStartAfterTheVersionCheck) {
  std::unique_ptr<platform::NamedEvents> events =
      platform::CreateLinuxNamedEvents(testing_support::InstanceScope());
  std::unique_ptr<platform::NamedEvent> running = events->CreateNamedEvent(program_.HomeAddress());
  program_.Serve(kVersionFlag, "up");
  program_.Serve(kExitAdSwitch, "9");
  ProgramRun run = program_.Run(kDumpRunning);
  ExpectEndedEarly(run);
  EXPECT_THAT(MessageBoxes(run),
              ::testing::ElementsAre(IsBox("程序已经有新版本，请升级！", "警告", kInformationBox),
                                     IsBox("程序已经运行", "警告", kInformationBox)));
  EXPECT_EQ(program_.RequestTargets(), StartFetches());
  EXPECT_EQ(PlayerConfig("List"), "1");
}

// A Player outside the run (the user's own, another checkout's demo) holds the same
// home address's event: the run's program does not meet it.
TEST_F(PlayerProgramEndToEndTest, ARunningInstanceOutsideTheRunsScopeIsNotMet) {
  for (const std::string& scope : {std::string(), testing_support::InstanceScope() + "-other"}) {
    SCOPED_TRACE("scope \"" + scope + "\"");
    std::unique_ptr<platform::NamedEvent> running =
        platform::CreateLinuxNamedEvents(scope)->CreateNamedEvent(program_.HomeAddress());
    ProgramRun run = program_.Run(kDumpRunning);
    EXPECT_EQ(run.exit_code, kStillRunning);
    EXPECT_TRUE(MessageBoxes(run).empty());
  }
}

TEST_F(PlayerProgramEndToEndTest, StartsWithAnEmptyHomeAddressNeverFindEachOther) {
  std::unique_ptr<platform::NamedEvents> events =
      platform::CreateLinuxNamedEvents(testing_support::InstanceScope());
  std::unique_ptr<platform::NamedEvent> running = events->CreateNamedEvent("");
  program_.Serve(kHomeAddress, "");
  for (int start = 0; start < 2; ++start) {
    ProgramRun run = program_.Run(kDumpRunning);
    EXPECT_EQ(run.exit_code, kStillRunning);
    EXPECT_TRUE(MessageBoxes(run).empty());
  }
}

}  // namespace
}  // namespace korvane::player::testing
