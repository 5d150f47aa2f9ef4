// The about window: the settings window's panel, tabs and buttons, the logo, the name in
// large type, the versions, and the two link labels that open on the press.

#include <gtest/gtest.h>

#include "common/cipher.h"
#include "deploy/deployment.h"
#include "tests/resources/player/panel_controls.h"
#include "tests/resources/player/window_layout_check.h"

namespace korvane::player::testing {
namespace {

using platform::ui::UnitKind;

ExpectedControl LinkLabel(const char* name, platform::ui::Rect rect, const char* caption, const char* handler) {
  ExpectedControl label = WhiteLabel(name, rect, caption);
  label.events = {{"LeftButtonDown", handler}};
  return label;
}

// Character height 32 pixels (24 points), normal weight, GB2312, the default face.
platform::ui::Font NameFont() {
  platform::ui::Font font;
  font.size_points = 24;
  font.charset = 134;
  return font;
}

// The operator's site address, as the deployment builds it in, after "点击访问 ".
const Text kSiteCaption = "点击访问 " + DecipherHexTextKey1(deploy::PlayerSiteAddress());

ExpectedWindow AboutWindow() {
  ExpectedControl name = WhiteLabel("名称", {160, 35, 256, 40}, "Korvane影音系列");
  name.font = NameFont();
  return {
      .name = "AboutWindow",
      .caption = "Korvane影音系列关于窗口",
      .width = 552,
      .height = 352,
      .picture = "pictures/settings_background.jpg",
      .taskbar_button = false,
      .esc_closes = true,
      .draggable = true,
      .created = "OnAboutWindowCreated",
      .handlers = {"OnAboutWindowCreated", "OnAboutOptionsTab", "OnAboutAboutTab", "OnAboutCloseClicked",
                   "OnMakerSiteLabelPressed", "OnHomeLabelPressed", "OnAboutButton1Clicked",
                   "OnAboutButton2Clicked"},
      // The layout shows the tabs as the settings window does; the window swaps them when
      // it is created.
      .controls = Concat(
          Concat({PanelTab("选项按钮", 36, "pictures/settings_options_tab.gif", "OnAboutOptionsTab"),
                  PanelTab("关于按钮", 73, "pictures/settings_about_tab.gif", "OnAboutAboutTab"),
                  PanelClose("OnAboutCloseClicked"),
                  {.name = "LOGO",
                   .kind = UnitKind::kPictureBox,
                   .rect = {424, 40, 80, 80},
                   .pictures = {"pictures/about_logo.gif", "", "", ""}},
                  name,
                  WhiteLabel("版本", {160, 89, 264, 40}, "主程序版本：1.0.1212.29"),
                  WhiteLabel("版本1", {160, 133, 264, 40}, "广告组件程序版本：1.0.1212.18"),
                  WhiteLabel("版本2", {160, 155, 264, 40}, "视频网站程序版本：1.0.1212.20"),
                  WhiteLabel("版本3", {160, 178, 264, 40}, "软件升级程序版本：1.0.1212.22"),
                  WhiteLabel("版本4", {160, 221, 128, 40}, "软件开发商：Korvane"),
                  WhiteLabel("版本5", {160, 243, 128, 40}, "内容维护商：Korvane"),
                  LinkLabel("版本6", {296, 221, 176, 40}, kSiteCaption.c_str(), "OnMakerSiteLabelPressed"),
                  LinkLabel("版本7", {296, 247, 232, 32}, "点击访问 ", "OnHomeLabelPressed")},
                 PanelButtons("OnAboutButton1Clicked", "OnAboutButton2Clicked", "")),
          FrameEdges()),
  };
}

TEST(AboutWindowLayout, HoldsEveryControlOfTheDesign) { ExpectWindowAsDesigned(AboutWindow()); }

// Its own pair of tabs, the other way about from the settings window's, is among them.
TEST(AboutWindowLayout, PicturesDecodeAtTheirSizes) {
  const auto pictures = ExpectPicturesDecode("AboutWindow");
  for (const char* tab : {"pictures/about_options_tab.gif", "pictures/about_about_tab.gif"}) {
    EXPECT_EQ(pictures.count(tab), 1u) << tab;
  }
}

}  // namespace
}  // namespace korvane::player::testing
