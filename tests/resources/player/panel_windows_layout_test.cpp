// The settings and about windows: one dark panel with two tabs, a close button, OK, cancel
// and apply at the bottom and four frame edges. The settings window holds its check boxes,
// each unticked beside its own label, and the renderer hint in green; the about window the
// logo, the name in large type, the versions and the two link labels that open on the press.

#include <gtest/gtest.h>

#include <vector>

#include "tests/resources/player/window_layout_check.h"

namespace korvane::player::testing {
namespace {

using platform::ui::Rect;
using platform::ui::UnitKind;

constexpr platform::ui::Colour kWhite = 0xFFFFFF;

// 552 by 352, borderless over the panel picture, no taskbar button, closed by Esc, dragged
// by its background.
ExpectedWindow PanelWindow(const char* name, const char* caption, const char* created) {
  return {.name = name,
          .caption = caption,
          .width = 552,
          .height = 352,
          .picture = "pictures/settings_background.jpg",
          .taskbar_button = false,
          .esc_closes = true,
          .draggable = true,
          .created = created};
}

// Both windows' layouts show the options tab selected; the about window swaps the tabs'
// pictures when it is created.
ExpectedControl Tab(const char* name, int top, const char* picture, const char* handler) {
  return {.name = name,
          .kind = UnitKind::kPictureButton,
          .rect = {10, top, 102, 36},
          .pictures = {picture, "", "", ""},
          .events = {{"Clicked", handler}}};
}

// A picture button whose pressed picture is its normal one; an empty handler leaves it
// without one.
ExpectedControl Button(const char* name, Rect rect, const Text& stem, const char* extension,
                       const char* handler) {
  const Text normal = "pictures/" + stem + "_normal." + extension;
  ExpectedControl button = {.name = name,
                            .kind = UnitKind::kPictureButton,
                            .rect = rect,
                            .pictures = {normal, "pictures/" + stem + "_hover." + extension, normal, ""}};
  if (*handler != '\0') button.events = {{"Clicked", handler}};
  return button;
}

ExpectedControl CloseButton(const char* handler) {
  return Button("关闭按钮", {520, 8, 26, 20}, "settings_close", "jpg", handler);
}

ExpectedControl Label(const char* name, Rect rect, const char* caption,
                      platform::ui::Colour colour = kWhite) {
  return {.name = name, .kind = UnitKind::kTransparentLabel, .rect = rect, .caption = caption,
          .text_colour = colour};
}

ExpectedControl Box(const char* name, Rect rect, const char* handler = "") {
  ExpectedControl box = {.name = name, .kind = UnitKind::kCheckBox, .rect = rect};
  if (*handler != '\0') box.events = {{"Clicked", handler}};
  return box;
}

ExpectedControl LinkLabel(const char* name, Rect rect, const char* caption, const char* handler) {
  ExpectedControl label = Label(name, rect, caption);
  label.events = {{"LeftButtonDown", handler}};
  return label;
}

// OK, cancel and apply, then the frame edges in front of everything.
std::vector<ExpectedControl> WithFooter(std::vector<ExpectedControl> controls, const char* ok,
                                        const char* cancel, const char* apply) {
  auto edge = [](const char* name, Rect rect, const char* picture) {
    return ExpectedControl{.name = name, .kind = UnitKind::kPictureBox, .rect = rect,
                           .pictures = {picture, "", "", ""}};
  };
  controls.insert(controls.end(),
                  {Button("图形按钮1", {186, 300, 81, 27}, "settings_ok", "gif", ok),
                   Button("图形按钮2", {291, 300, 81, 27}, "settings_cancel", "gif", cancel),
                   Button("图形按钮3", {398, 300, 81, 27}, "settings_apply", "gif", apply),
                   edge("图片框4", {0, 0, 552, 2}, "pictures/settings_frame_top.gif"),
                   edge("图片框3", {0, 350, 552, 2}, "pictures/settings_frame_bottom.gif"),
                   edge("图片框1", {0, 0, 2, 352}, "pictures/settings_frame_left.gif"),
                   edge("图片框2", {550, 0, 2, 352}, "pictures/settings_frame_right.gif")});
  return controls;
}

ExpectedWindow SettingsWindow() {
  ExpectedWindow window = PanelWindow("SettingsWindow", "Korvane影音系列设置窗口", "OnSettingsWindowCreated");
  window.controls = WithFooter(
      {Tab("选项按钮", 36, "pictures/settings_options_tab.gif", "OnSettingsOptionsTab"),
       Tab("关于按钮", 73, "pictures/settings_about_tab.gif", "OnSettingsAboutTab"),
       CloseButton("OnSettingsCloseClicked"),
       Label("透明标签1", {160, 53, 52, 16}, "开机启动"),
       Box("开机启动", {248, 53, 13, 13}),
       Label("透明标签2", {272, 48, 88, 24}, "开机启动本程序"),
       Label("透明标签3", {160, 77, 52, 16}, "软件置顶"),
       Box("始终置顶", {248, 78, 13, 13}, "OnAlwaysOnTopBoxClicked"),
       Label("透明标签4", {273, 73, 56, 24}, "始终置顶"),
       Box("取消置顶", {342, 78, 13, 13}, "OnNotOnTopBoxClicked"),
       Label("取消置顶标签", {369, 73, 88, 24}, "取消置顶"),
       Label("透明标签5", {160, 118, 52, 16}, "渲染模式"),
       Box("模式1", {248, 120, 13, 13}, "OnMode1Clicked"),
       Label("透明标签6", {272, 115, 64, 24}, "VMR9(窗口)"),
       Box("模式2", {342, 120, 13, 13}, "OnMode2Clicked"),
       Label("透明标签7", {369, 115, 71, 24}, "VMR9(无窗口)"),
       Box("模式3", {452, 120, 13, 13}, "OnMode3Clicked"),
       Label("透明标签8", {479, 115, 56, 24}, "EVR"),
       Label("透明标签9", {160, 138, 368, 24}, "选择合适的渲染器，能有效提升视频画质，重启本软件后生效",
             0x00E080),  // red 128, green 224, blue 0
       Label("透明标签10", {160, 161, 232, 24}, "WindowsXP系统，推荐使用VMR9"),
       Label("透明标签11", {160, 184, 232, 24}, "WindowsVista/7/8系统，推荐使用VMR9"),
       Label("屏幕保护", {160, 225, 52, 16}, "屏幕保护"),
       Box("屏保选择", {248, 225, 13, 13}),
       Label("透明标签14", {272, 220, 232, 24}, "播放时禁用屏幕保护（仅对XP有效）"),
       Label("透明标签12", {160, 248, 52, 16}, "赞助计划"),
       Box("始终置顶4", {248, 250, 13, 13}),
       Label("透明标签13", {272, 245, 232, 24}, "设置软件官方网站为首页")},
      "OnSettingsOkClicked", "OnSettingsCancelClicked", "ApplySettings");
  return window;
}

ExpectedWindow AboutWindow() {
  // Character height 32 pixels (24 points), normal weight, GB2312, the default face.
  ExpectedControl name = Label("名称", {160, 35, 256, 40}, "Korvane影音系列");
  name.font.size_points = 24;
  name.font.charset = 134;
  ExpectedWindow window = PanelWindow("AboutWindow", "Korvane影音系列关于窗口", "OnAboutWindowCreated");
  window.controls = WithFooter(
      {Tab("选项按钮", 36, "pictures/settings_options_tab.gif", "OnAboutOptionsTab"),
       Tab("关于按钮", 73, "pictures/settings_about_tab.gif", "OnAboutAboutTab"),
       CloseButton("OnAboutCloseClicked"),
       {.name = "LOGO", .kind = UnitKind::kPictureBox, .rect = {424, 40, 80, 80},
        .pictures = {"pictures/about_logo.gif", "", "", ""}},
       name,
       Label("版本", {160, 89, 264, 40}, "主程序版本：1.0.1212.29"),
       // The companion programs' lines and the site label are the deployment's, set when
       // the window is created.
       Label("版本1", {160, 133, 264, 40}, ""),
       Label("版本2", {160, 155, 264, 40}, ""),
       Label("版本3", {160, 178, 264, 40}, "软件升级程序版本：1.0.1212.22"),
       Label("版本4", {160, 221, 128, 40}, "软件开发商：Korvane"),
       Label("版本5", {160, 243, 128, 40}, "内容维护商：Korvane"),
       LinkLabel("版本6", {296, 221, 176, 40}, "点击访问 ", "OnMakerSiteLabelPressed"),
       LinkLabel("版本7", {296, 247, 232, 32}, "点击访问 ", "OnHomeLabelPressed")},
      "OnAboutButton1Clicked", "OnAboutButton2Clicked", "");
  return window;
}

TEST(SettingsWindowLayout, HoldsEveryControlOfTheDesign) { ExpectWindowAsDesigned(SettingsWindow()); }

TEST(SettingsWindowLayout, PicturesDecodeAtTheirSizes) { ExpectPicturesDecode("SettingsWindow"); }

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
