// The text-ad labels' presses in the real player, one process, virtual time: each switch
// with the labels it shows and what a press on each opens. A hidden label takes no press.

#include <gtest/gtest.h>

#include "tests/player/windows/ad_player.h"

namespace korvane::player::testing {
namespace {

using namespace remote;
using platform::testing::ShellCall;

struct PressCase {
  std::string name;
  Text text_ad_switch;
  Text box_switch;
  // What a press on each label opens; none: the label is hidden and takes no press.
  std::optional<Text> opens1, opens2;
  Text ad1_address = "http://ads.test/1.html";
};

void PrintTo(const PressCase& c, std::ostream* os) { *os << c.name; }

class TextAdPressTest : public ::testing::TestWithParam<PressCase>, protected AdPlayer {};

TEST_P(TextAdPressTest, APressOpensTheAddressOfItsSwitch) {
  const PressCase& c = GetParam();
  Serve(kTextAdSwitch, c.text_ad_switch);
  Serve(kTextAdBoxSwitch, c.box_switch);
  for (const auto& [file, value] : std::vector<std::pair<const RemoteFile*, Text>>{
           {&kTextAd1Address, c.ad1_address}, {&kTextAd2Address, "http://ads.test/2.html"},
           {&kBoxTextAd1Address, "http://box.test/1.html"}, {&kBoxTextAd2Address, "http://box.test/2.html"},
           {&kTextAd1Caption, "广告一"}, {&kTextAd2Caption, "广告二"},
           {&kBoxTextAd1Caption, "盒子一"}, {&kBoxTextAd2Caption, "盒子二"}}) {
    Serve(*file, value);
  }
  std::vector<ShellCall> expected;
  for (const auto& [label, opens] : {std::pair{"主界面文字广告1", c.opens1}, std::pair{"主界面文字广告2", c.opens2}}) {
    script_.Add("press", {label});
    if (opens) expected.push_back({ShellCall::Kind::kOpenUrl, *opens, {}});
  }
  RunToEnd();
  EXPECT_EQ(shell_.calls(), expected);
  // A press that a hidden label refused is a script error, so each one is counted.
  const std::size_t refused = !c.opens1 + !c.opens2;
  EXPECT_EQ(backend_.ScriptErrors().size(), refused);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, TextAdPressTest,
    ::testing::Values(
        PressCase{"Off", "0", "开", std::nullopt, std::nullopt},
        PressCase{"One", "1", "开", Text("http://ads.test/1.html"), std::nullopt},
        PressCase{"Two", "2", "开", std::nullopt, Text("http://ads.test/2.html")},
        PressCase{"Both", "3", "开", Text("http://ads.test/1.html"), Text("http://ads.test/2.html")},
        PressCase{"BoxOn", "ok", "开", Text("http://box.test/1.html"), Text("http://box.test/2.html")},
        PressCase{"BoxOff", "ok", "关", std::nullopt, std::nullopt},
        PressCase{"UpperCaseOk", "OK", "开", std::nullopt, std::nullopt},
        PressCase{"OneWithALineEnd", "1\r\n", "开", std::nullopt, std::nullopt},
        // The stored address goes on as it is, also when its file gave nothing.
        PressCase{"OneWithAnEmptyAddress", "1", "开", Text(""), std::nullopt, ""}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace korvane::player::testing
