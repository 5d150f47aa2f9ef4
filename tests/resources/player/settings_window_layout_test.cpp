// The settings window: the dark panel with its two tabs, every check box unticked beside
// its own label, the renderer hint in green, and the OK, cancel and apply buttons.

#include <gtest/gtest.h>

#include "tests/resources/player/panel_controls.h"
#include "tests/resources/player/window_layout_check.h"

namespace korvane::player::testing {
namespace {

using platform::ui::UnitKind;

ExpectedControl Box(const char* name, platform::ui::Rect rect, const char* handler = "") {
  ExpectedControl box = {.name = name, .kind = UnitKind::kCheckBox, .rect = rect};
  if (*handler != '\0') box.events = {{"Clicked", handler}};
  return box;
}

const ExpectedWindow kSettingsWindow = {
    .name = "SettingsWindow",
    .caption = "Korvane影音系列设置窗口",
    .width = 552,
    .height = 352,
    .picture = "pictures/settings_background.jpg",
    .taskbar_button = false,
    .esc_closes = true,
    .draggable = true,
    .created = "OnSettingsWindowCreated",
    .handlers = {"OnSettingsWindowCreated", "OnSettingsOptionsTab", "OnSettingsAboutTab",
                 "OnSettingsCloseClicked", "OnAlwaysOnTopBoxClicked", "OnNotOnTopBoxClicked",
                 "OnMode1Clicked", "OnMode2Clicked", "OnMode3Clicked", "OnSettingsOkClicked",
                 "OnSettingsCancelClicked", "ApplySettings"},
    .controls = Concat(
        Concat({PanelTab("选项按钮", 36, "pictures/settings_options_tab.gif", "OnSettingsOptionsTab"),
                PanelTab("关于按钮", 73, "pictures/settings_about_tab.gif", "OnSettingsAboutTab"),
                PanelClose("OnSettingsCloseClicked"),
                WhiteLabel("透明标签1", {160, 53, 52, 16}, "开机启动"),
                Box("开机启动", {248, 53, 13, 13}),
                WhiteLabel("透明标签2", {272, 48, 88, 24}, "开机启动本程序"),
                WhiteLabel("透明标签3", {160, 77, 52, 16}, "软件置顶"),
                Box("始终置顶", {248, 78, 13, 13}, "OnAlwaysOnTopBoxClicked"),
                WhiteLabel("透明标签4", {273, 73, 56, 24}, "始终置顶"),
                Box("取消置顶", {342, 78, 13, 13}, "OnNotOnTopBoxClicked"),
                WhiteLabel("取消置顶标签", {369, 73, 88, 24}, "取消置顶"),
                WhiteLabel("透明标签5", {160, 118, 52, 16}, "渲染模式"),
                Box("模式1", {248, 120, 13, 13}, "OnMode1Clicked"),
                WhiteLabel("透明标签6", {272, 115, 64, 24}, "VMR9(窗口)"),
                Box("模式2", {342, 120, 13, 13}, "OnMode2Clicked"),
                WhiteLabel("透明标签7", {369, 115, 71, 24}, "VMR9(无窗口)"),
                Box("模式3", {452, 120, 13, 13}, "OnMode3Clicked"),
                WhiteLabel("透明标签8", {479, 115, 56, 24}, "EVR"),
                {.name = "透明标签9",
                 .kind = UnitKind::kTransparentLabel,
                 .rect = {160, 138, 368, 24},
                 .caption = "选择合适的渲染器，能有效提升视频画质，重启本软件后生效",
                 .text_colour = 0x00E080},
                WhiteLabel("透明标签10", {160, 161, 232, 24}, "WindowsXP系统，推荐使用VMR9"),
                WhiteLabel("透明标签11", {160, 184, 232, 24}, "WindowsVista/7/8系统，推荐使用VMR9"),
                WhiteLabel("屏幕保护", {160, 225, 52, 16}, "屏幕保护"),
                Box("屏保选择", {248, 225, 13, 13}),
                WhiteLabel("透明标签14", {272, 220, 232, 24}, "播放时禁用屏幕保护（仅对XP有效）"),
                WhiteLabel("透明标签12", {160, 248, 52, 16}, "赞助计划"),
                Box("始终置顶4", {248, 250, 13, 13}),
                WhiteLabel("透明标签13", {272, 245, 232, 24}, "设置软件官方网站为首页")},
               PanelButtons("OnSettingsOkClicked", "OnSettingsCancelClicked", "ApplySettings")),
        FrameEdges()),
};

TEST(SettingsWindowLayout, HoldsEveryControlOfTheDesign) { ExpectWindowAsDesigned(kSettingsWindow); }

TEST(SettingsWindowLayout, PicturesDecodeAtTheirSizes) { ExpectPicturesDecode(kSettingsWindow.name); }

}  // namespace
}  // namespace korvane::player::testing
