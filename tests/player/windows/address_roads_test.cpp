// Addresses from the operator's files on each of their roads through the real player (one
// process, virtual time) into their use: a browser view, the engine, an ad view, the
// desktop's handler, the stored start page. Each use gets the address as the road forms
// it, or, when the address gate refuses it, what it gets for an empty address.

#include <gtest/gtest.h>

#include "common/cipher.h"
#include "tests/player/playback/title_pages.h"
#include "tests/player/windows/ad_player.h"

namespace korvane::player::testing {
namespace {

using namespace remote;
using platform::testing::ShellCall;

constexpr char kStartPageKey[] = "Software\\Microsoft\\Internet Explorer\\Main\\Start Page";
constexpr char kOldStartPage[] = "http://old.test/";
constexpr char kTitlePage[] = "http://pages.test/film?id=7&type=tv";

// The last address handed to the desktop's handler.
Text LastOpened(AdPlayer& player) {
  Text opened = "(none)";
  for (const ShellCall& call : player.shell_.calls()) {
    if (call.kind == ShellCall::Kind::kOpenUrl) opened = call.first;
  }
  return opened;
}

Text ChatLink(const Text& number) {
  return DecipherHexTextKey1(DeployedConstants().chat_prefix) + number + "&Site=" + kProvider + "&Menu=yes";
}

struct Road {
  std::string_view name;
  const RemoteFile* file;              // the file the address comes from; none: a title page
  void (*travel)(AdPlayer&);           // the rest of the road: other files, the user's actions
  Text (*read)(AdPlayer&);             // what the use holds at the end
  Text (*formed)(const Text& address); // what it holds when the address passes
  Text kept;                           // what it holds when the address is refused
};

Text AsItCame(const Text& address) { return address; }

const Road kCatalogueBrowser{
    "CatalogueBrowser", &kCataloguePage, [](AdPlayer&) {},
    [](AdPlayer& p) { return p.Main().Find<ui::WebBrowserBox>("主界面片库浏览器").Address(); }, AsItCame, ""};

// A title page whose one episode link is the address; the rebuild plays it.
const Road kEpisode{"Episode", nullptr, [](AdPlayer& p) { p.Serve(kCataloguePage, kTitlePage); },
                    [](AdPlayer& p) { return p.Main().Find<ui::PlaybackEngine>("快播播放器").MediaAddress(); },
                    AsItCame, ""};

// The rebuild when the start page completes fetches the pause-ad page.
const Road kPauseAd{"PauseAd", &kPauseAdPage,
                    [](AdPlayer& p) {
                      p.Serve(kPauseAdSwitch, "1");
                      p.Serve(kCataloguePage, "http://pages.test/lib.html");
                    },
                    [](AdPlayer& p) { return p.Main().Find<ui::PlaybackEngine>("快播播放器").PauseAdAddress(); },
                    AsItCame, ""};

const Road kCornerAd{
    "CornerAd", &kCornerAdPage, [](AdPlayer& p) { p.Serve(kCornerAdSwitch, "1"); },
    [](AdPlayer& p) { return p.WindowNamed("CornerAdWindow")->Find<ui::HypertextBox>("超文本浏览框1").Address(); },
    AsItCame, ""};

const Road kExitAd{"ExitAd", &kExitAdPage,
                   [](AdPlayer& p) {
                     p.Serve(kExitAdSwitch, "1");
                     p.Exit();
                   },
                   [](AdPlayer& p) {
                     return p.WindowNamed("ExitAdWindow")->Find<ui::HypertextBox>("超文本浏览框1").Address();
                   },
                   AsItCame, ""};

const Road kTextAd{"TextAd", &kTextAd1Address,
                   [](AdPlayer& p) {
                     p.Serve(kTextAdSwitch, "1");
                     p.Serve(kTextAd1Caption, "广告一");
                     p.script_.Add("press", {"主界面文字广告1"});
                   },
                   LastOpened, AsItCame, ""};

const Road kHomeLink{"HomeLink", &kHomeAddress,
                     [](AdPlayer& p) {
                       p.script_.Add("click", {"主界面选项按钮"});
                       p.script_.Add("menu", {" 官方网站"});
                     },
                     LastOpened, AsItCame, ""};

// The address is the number put into the chat link.
const Road kChat{"ChatLink", &kServiceQq, [](AdPlayer& p) { p.script_.Add("click", {"主界面列表按钮"}); }, LastOpened,
                 ChatLink, ""};

const Road kStartPage{"StartPage", &kHomeAddress,
                      [](AdPlayer& p) {
                        p.settings_.WriteRegistryValue(platform::RegistryRoot::kCurrentUser, kStartPageKey,
                                                       kOldStartPage);
                        p.script_.Add("click", {"主界面选项按钮"});
                        p.script_.Add("menu", {" 设置"});
                        p.script_.Add("click", {"始终置顶4", "SettingsWindow"});
                        p.script_.Add("click", {"图形按钮3", "SettingsWindow"});
                      },
                      [](AdPlayer& p) { return p.settings_.registry().at(kStartPageKey); },
                      [](const Text& address) { return address + "?soft"; }, kOldStartPage};

struct RoadCase {
  const Road* road;
  std::string address;
  bool passes;
  bool raw = false;  // served as the body stands, not in its file's form
};

void PrintTo(const RoadCase& c, std::ostream* os) { *os << c.road->name << " " << ::testing::PrintToString(c.address); }

class AddressRoadTest : public ::testing::TestWithParam<RoadCase>, protected AdPlayer {};

TEST_P(AddressRoadTest, TheUseGetsTheAddressOrWhatItGetsForAnEmptyOne) {
  const RoadCase& c = GetParam();
  if (c.road->file == nullptr) {
    http_.Answer(kTitlePage, TitlePage(TitleItem("片"), {{c.address, "第1集"}}, ""));
  } else if (c.raw) {
    http_.Answer(AddressOf(*c.road->file), c.address);
  } else {
    Serve(*c.road->file, c.address);
  }
  c.road->travel(*this);
  Text reached = "(not read)";
  Check([&] { reached = c.road->read(*this); });
  RunToEnd();
  EXPECT_EQ(reached, c.passes ? c.road->formed(c.address) : c.road->kept);
}

// Each road with an address that passes, so that it is seen to reach its use, and the
// addresses the gate refuses there.
INSTANTIATE_TEST_SUITE_P(
    Roads, AddressRoadTest,
    ::testing::Values(
        RoadCase{&kCatalogueBrowser, "http://pages.test/lib.html", true},
        RoadCase{&kCatalogueBrowser, "http://pages.test/a\r\nb", false},
        RoadCase{&kCatalogueBrowser, "javascript:alert(1)", false},
        RoadCase{&kEpisode, "http://v.test/1.mp4", true},
        RoadCase{&kEpisode, "qvod://1|ABC|1.rmvb|", true},
        RoadCase{&kEpisode, "file:///etc/passwd", false},
        RoadCase{&kEpisode, "javascript:alert(1)", false},
        RoadCase{&kPauseAd, "http://ads.test/pause.html", true},
        RoadCase{&kPauseAd, "javascript:alert(1)", false},
        RoadCase{&kPauseAd, "file:///etc/passwd", false},
        RoadCase{&kPauseAd, "http://ads.test/a\r\nb", false},
        RoadCase{&kPauseAd, "qvod://1|ABC|1.rmvb|", false},
        RoadCase{&kCornerAd, "http://ads.test/corner.html", true},
        RoadCase{&kCornerAd, "http://ads.test/a\r\nb", false},
        RoadCase{&kExitAd, "http://ads.test/exit.html", true},
        RoadCase{&kExitAd, "http://ads.test/a\r\nb", false},
        RoadCase{&kTextAd, "http://ads.test/1.html", true},
        RoadCase{&kTextAd, "file:///etc/passwd", false},
        RoadCase{&kTextAd, "data:text/html,<script>alert(1)</script>", false},
        RoadCase{&kTextAd, "http://ads.test/a\r\nb", false},
        RoadCase{&kHomeLink, "http://home2.test/", true},
        RoadCase{&kHomeLink, "javascript:alert(1)", false},
        // An error page where a key-2 file should be deciphers to no address.
        RoadCase{&kHomeLink, "<html><body>404 Not Found</body></html>", false, true},
        RoadCase{&kChat, "10001", true},
        RoadCase{&kChat, "10001\r\n", false},
        RoadCase{&kStartPage, "http://home2.test/", true},
        RoadCase{&kStartPage, "javascript:alert(1)", false},
        RoadCase{&kStartPage, "file:///etc/passwd", false}),
    [](const auto& info) { return std::string(info.param.road->name) + std::to_string(info.index); });

}  // namespace
}  // namespace korvane::player::testing
