// The main window's layout loads with every control of its design where the design puts
// it, with its look, pictures and handlers; what the design draws over what stands in
// front; and every picture decodes at its declared size in its own format.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "platform/ui/headless_backend.h"
#include "platform/ui/layout.h"
#include "platform/ui/picture.h"
#include "platform/ui/program.h"
#include "platform/ui/text_metric.h"
#include "resources/player_resources.h"
#include "tests/support/stacking_checks.h"

namespace korvane::platform::ui {
namespace {

struct ControlRow {
  const char* name;
  UnitKind kind;
  Rect rect;
  const char* parent;  // "" for the window
  bool visible;
  const char* caption;
  Colour text_colour;
  Colour back_colour;
  Pictures pictures;
  std::map<Text, Text> events;
};

constexpr const char* kTopBar = "启动窗口顶部背景";
constexpr const char* kBottomBar = "启动窗口底部按钮背景";
constexpr const char* kStatusStrip = "画板1";
constexpr Colour kDefault = kDefaultColour;
constexpr Colour kAdText = 0x0060C0;  // red 192, green 96, blue 0

// A place as left, top, width, height, so that a failure prints it readably.
std::array<int, 4> Place(const Rect& rect) { return {rect.left, rect.top, rect.width, rect.height}; }

Text File(const char* file) { return Text("pictures/") + file; }

Pictures Three(const char* stem) {
  const Text base = Text("pictures/") + stem;
  return {base + "_normal.gif", base + "_hover.gif", base + "_pressed.gif", ""};
}

// The design's control table, back to front as the window stacks its siblings.
const std::vector<ControlRow>& Rows() {
  static const std::vector<ControlRow> rows = {
      {"快播播放器", UnitKind::kPlaybackEngine, {0, 0, 0, 0}, "", true, "", kDefault, kDefault, {}, {}},
      {"主界面片库浏览器", UnitKind::kWebBrowserBox, {0, 0, 0, 0}, "", true, "", kDefault, kDefault, {},
       {{"Navigated", "OnCataloguePageLoaded"},
        {"PageComplete", "LoadCataloguePlaylist"},
        {"ShortcutMenuRequested", "PopupCatalogueMenu"}}},
      {"主界面找片浏览器", UnitKind::kWebBrowserBox, {0, 0, 0, 0}, "", true, "", kDefault, kDefault, {},
       {{"Navigated", "OnFindPageLoaded"},
        {"PageComplete", "LoadFindPlaylist"},
        {"ShortcutMenuRequested", "PopupFindMenu"}}},
      {"软件统计", UnitKind::kWebBrowserBox, {0, 0, 0, 0}, "", true, "", kDefault, kDefault, {}, {}},
      {"主窗体播放器节目列表", UnitKind::kTreeBox, {774, 34, 204, 532}, "", true, "", 0xFFFFFF, 0x181818,
       {File("playlist_play.gif"), "", "", ""}, {{"ItemActivated", "OnPlaylistItemActivated"}}},
      {"列表关闭按钮", UnitKind::kPictureButton, {774, 240, 9, 54}, "", true, "", kDefault, kDefault,
       {File("list_close.jpg"), "", "", ""}, {{"Clicked", "OnCloseListClicked"}}},
      {"打开列表按钮", UnitKind::kPictureButton, {970, 240, 9, 54}, "", false, "", kDefault, kDefault,
       {File("list_open.jpg"), "", "", ""}, {{"Clicked", "OnOpenListClicked"}}},
      {kBottomBar, UnitKind::kPictureBox, {2, 566, 976, 34}, "", true, "", kDefault, kDefault,
       {File("bottom_bar.gif"), "", "", ""}, {}},
      {"主界面暂停播放按钮", UnitKind::kPictureButton, {6, 3, 60, 29}, kBottomBar, true, "", kDefault, kDefault,
       {File("play_normal.gif"), File("play_hover.gif"), File("play_normal.gif"), ""},
       {{"Clicked", "OnPausePlayClicked"}}},
      {"主界面下一集按钮", UnitKind::kPictureButton, {79, -3, 56, 35}, kBottomBar, true, "", kDefault, kDefault,
       Three("next_episode"), {{"Clicked", "OnNextEpisodeClicked"}}},
      {"主界面上一集按钮", UnitKind::kPictureButton, {135, -3, 56, 35}, kBottomBar, true, "", kDefault, kDefault,
       Three("previous_episode"), {{"Clicked", "OnPreviousEpisodeClicked"}}},
      {"主界面列表按钮", UnitKind::kPictureButton, {916, -3, 56, 35}, kBottomBar, true, "", kDefault, kDefault,
       Three("list_button"), {{"Clicked", "OnServiceButtonClicked"}}},
      {"主界面文字广告1", UnitKind::kTransparentLabel, {246, 8, 272, 16}, kBottomBar, false, "文字广告1", kAdText,
       kDefault, {}, {{"LeftButtonDown", "OnTextAd1Pressed"}}},
      {"主界面文字广告2", UnitKind::kTransparentLabel, {576, 8, 272, 16}, kBottomBar, false, "文字广告2", kAdText,
       kDefault, {}, {{"LeftButtonDown", "OnTextAd2Pressed"}}},
      {kTopBar, UnitKind::kPictureBox, {0, 0, 980, 34}, "", true, "", kDefault, kDefault,
       {File("top_bar.gif"), "", "", ""}, {}},
      {"主界面选项按钮", UnitKind::kPictureButton, {40, 0, 15, 34}, kTopBar, true, "", kDefault, kDefault,
       Three("options"), {{"Clicked", "OnOptionsButtonClicked"}}},
      {"主界面播放按钮", UnitKind::kPictureButton, {69, 1, 87, 31}, kTopBar, true, "", kDefault, kDefault,
       {File("tab_play_plain.gif"), "", "", ""}, {{"Clicked", "ShowPlayerView"}}},
      {"主界面片库按钮", UnitKind::kPictureButton, {158, 1, 87, 31}, kTopBar, true, "", kDefault, kDefault,
       {File("tab_library_plain.gif"), "", "", ""}, {{"Clicked", "ShowCatalogueView"}}},
      {"主界面找片按钮", UnitKind::kPictureButton, {247, 1, 87, 31}, kTopBar, true, "", kDefault, kDefault,
       {File("tab_find_plain.gif"), "", "", ""}, {{"Clicked", "ShowFindView"}}},
      {"启动窗口最小化按钮", UnitKind::kPictureButton, {886, 1, 27, 30}, kTopBar, true, "", kDefault, kDefault,
       Three("minimise"), {{"Clicked", "OnMinimiseClicked"}}},
      {"启动窗口关闭按钮", UnitKind::kPictureButton, {944, 1, 35, 30}, kTopBar, true, "", kDefault, kDefault,
       {File("close_normal.gif"), File("close_hover.gif"), "", ""}, {{"Clicked", "OnCloseButtonClicked"}}},
      {"启动窗口左边背景", UnitKind::kPictureBox, {0, 2, 2, 600}, "", true, "", kDefault, kDefault,
       {File("frame_left.gif"), "", "", ""}, {}},
      {"启动窗口右边背景", UnitKind::kPictureBox, {978, 2, 2, 600}, "", true, "", kDefault, kDefault,
       {File("frame_right.gif"), "", "", ""}, {}},
      {"启动窗口底部背景", UnitKind::kPictureBox, {1, 598, 978, 2}, "", true, "", kDefault, kDefault,
       {File("frame_bottom.gif"), "", "", ""}, {}},
      {kStatusStrip, UnitKind::kDrawPanel, {832, 41, 130, 18}, "", true, "", kDefault, kDefault,
       {File("status_strip.gif"), "", "", ""}, {}},
      {"点击播放标签", UnitKind::kTransparentLabel, {3, 1, 125, 16}, kStatusStrip, true, "程序准备就绪......",
       0xFF8800, kDefault, {}, {}},
      {"全局内存优化时钟", UnitKind::kTimer, {0, 0, 0, 0}, "", true, "", kDefault, kDefault, {},
       {{"Tick", "OnMemoryTimer"}}},
      {"子夹1超级菜单", UnitKind::kMenuSkin, {0, 0, 0, 0}, "", false, "", kDefault, kDefault, {}, {}},
  };
  return rows;
}

const std::map<Text, Text> kWindowEvents = {{"Created", "OnMainWindowCreated"},
                                            {"TrayIconEvent", "OnTrayIconEvent"}};

// The menus' items in order: caption, handler, icon and submenu; an empty caption is a
// separator.
struct MenuRow {
  Text caption;
  Text handler;
  Text icon;
  std::vector<MenuRow> items = {};
};
const std::map<Text, std::vector<MenuRow>> kMenus = {
    {"托盘菜单",
     {{"打开软件", "OnTrayOpenSelected", "pictures/menu_open.gif"},
      {"", "", ""},
      {"设置", "OnTraySettingsSelected", ""},
      {"", "", ""},
      {"官方网站", "OnTraySiteSelected", ""},
      {"程序升级", "OnTrayUpdateSelected", ""},
      {"关于本程序", "OnTrayAboutSelected", ""},
      {"", "", ""},
      {"退出", "ExitPlayer", "pictures/menu_exit.gif"}}},
    {"选项菜单",
     {{" 显示设置 ", "", "pictures/menu_open.gif",
       {{"总是置顶", "OnAlwaysOnTopSelected", ""}, {"取消置顶", "OnNotOnTopSelected", ""}}},
      {"", "", ""},
      {" 设置", "OnOptionsSettingsSelected", ""},
      {"", "", ""},
      {" 官方网站", "OnOptionsSiteSelected", ""},
      {" 程序升级", "LaunchUpdateAndExit", ""},
      {" 关于本程序", "OnOptionsAboutSelected", ""},
      {"", "", ""},
      {" 退出", "OnOptionsExitSelected", "pictures/menu_exit.gif"}}},
    {"浏览器菜单A",
     {{" 返回", "OnCatalogueMenuBack", "pictures/menu_open.gif"},
      {" 前进", "OnCatalogueMenuForward", ""},
      {" 停止", "OnCatalogueMenuStop", ""},
      {"", "", ""},
      {" 刷新", "OnCatalogueMenuRefresh", ""},
      {"", "", ""},
      {" 返回播放器", "OnCatalogueMenuBackToPlayer", "pictures/menu_exit.gif"}}},
    {"浏览器菜单B",
     {{"返回", "OnFindMenuBack", "pictures/menu_open.gif"},
      {"前进", "OnFindMenuForward", ""},
      {"停止", "OnFindMenuStop", ""},
      {"", "", ""},
      {"刷新", "OnFindMenuRefresh", ""},
      {"", "", ""},
      {"返回播放器", "OnFindMenuBackToPlayer", "pictures/menu_exit.gif"}}},
};

class MainWindowLayoutTest : public ::testing::Test {
 protected:
  // Every handler the design names, bound to nothing: loading refuses a layout that names
  // any other.
  MainWindowLayoutTest() {
    std::set<Text> handlers;
    for (const auto& [event, handler] : kWindowEvents) handlers.insert(handler);
    for (const ControlRow& row : Rows()) {
      for (const auto& [event, handler] : row.events) handlers.insert(handler);
    }
    for (const auto& [menu, rows] : kMenus) AddHandlers(rows, handlers);
    for (const Text& handler : handlers) program_.BindHandler(handler, [](const Event&) {});
    window_ = program_.LoadWindow("MainWindow", false);
  }

  static void AddHandlers(const std::vector<MenuRow>& rows, std::set<Text>& handlers) {
    for (const MenuRow& row : rows) {
      if (!row.handler.empty()) handlers.insert(row.handler);
      AddHandlers(row.items, handlers);
    }
  }

  const UnitModel& WindowModel() const { return *InspectionOf(program_).FindModel(window_.Id()); }

  const UnitModel* Control(std::string_view name) const {
    for (const auto& control : WindowModel().window_state->controls) {
      if (control->name == name) return control.get();
    }
    return nullptr;
  }

  Text ParentName(const UnitModel& control) const {
    return control.parent == 0 ? Text() : InspectionOf(program_).FindModel(control.parent)->name;
  }

  VirtualTimebase time_;
  HeadlessBackend backend_{time_, nullptr};
  ResourceBundle resources_{korvane::embedded::PlayerResources()};
  Program program_{backend_, resources_};
  Window window_;
};

TEST_F(MainWindowLayoutTest, TheWindowIsTheFramelessBlackStartWindow) {
  const UnitModel& window = WindowModel();
  const WindowState& state = *window.window_state;
  EXPECT_EQ(window.caption, "Korvane影音系列启动窗口");
  EXPECT_EQ(window.rect.width, 980);
  EXPECT_EQ(window.rect.height, 600);
  EXPECT_EQ(window.back_colour, 0x000000u);
  EXPECT_EQ(state.frame, WindowFrame::kNone);
  EXPECT_TRUE(state.centred);
  EXPECT_TRUE(state.taskbar_button);
  EXPECT_TRUE(state.draggable);
  EXPECT_FALSE(state.esc_closes);
  EXPECT_FALSE(state.always_on_top);
  EXPECT_EQ(state.icon, "pictures/player.ico");
  EXPECT_EQ(window.events, kWindowEvents);
}

TEST_F(MainWindowLayoutTest, EveryControlStandsWhereTheDesignPutsIt) {
  EXPECT_EQ(WindowModel().window_state->controls.size(), Rows().size());
  for (const ControlRow& row : Rows()) {
    SCOPED_TRACE(AsChars(GbkToUtf8(row.name)));
    const UnitModel* control = Control(row.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->kind, row.kind);
    EXPECT_EQ(Place(control->rect), Place(row.rect));
    EXPECT_EQ(ParentName(*control), row.parent);
    EXPECT_EQ(control->visible, row.visible);
    EXPECT_TRUE(control->enabled);
    EXPECT_EQ(control->caption, row.caption);
    EXPECT_EQ(control->text_colour, row.text_colour);
    EXPECT_EQ(control->back_colour, row.back_colour);
    EXPECT_EQ(control->pictures, row.pictures);
    EXPECT_EQ(control->events, row.events);
  }
}

// The bars carry their buttons and labels, so these move and hide with their bar.
TEST_F(MainWindowLayoutTest, BarsHoldTheirButtons) {
  const std::pair<const char*, std::set<Text>> bars[] = {
      {kTopBar, {"主界面选项按钮", "主界面播放按钮", "主界面片库按钮", "主界面找片按钮",
                 "启动窗口最小化按钮", "启动窗口关闭按钮"}},
      {kBottomBar, {"主界面暂停播放按钮", "主界面下一集按钮", "主界面上一集按钮", "主界面列表按钮",
                    "主界面文字广告1", "主界面文字广告2"}}};
  for (const auto& [bar, buttons] : bars) {
    SCOPED_TRACE(AsChars(GbkToUtf8(bar)));
    std::set<Text> children;
    for (UnitId id : Control(bar)->children) children.insert(InspectionOf(program_).FindModel(id)->name);
    EXPECT_EQ(children, buttons);
  }
}

void ExpectItems(const std::vector<MenuItem>& items, const std::vector<MenuRow>& rows) {
  ASSERT_EQ(items.size(), rows.size());
  for (std::size_t index = 0; index < rows.size(); ++index) {
    const MenuItem& item = items[index];
    EXPECT_EQ(item.separator, rows[index].caption.empty()) << index;
    EXPECT_EQ(item.caption, rows[index].caption) << index;
    EXPECT_EQ(item.handler, rows[index].handler) << index;
    EXPECT_EQ(item.icon, rows[index].icon) << index;
    ExpectItems(item.items, rows[index].items);
  }
}

TEST_F(MainWindowLayoutTest, MenusHoldTheirItemsInOrder) {
  const auto& menus = WindowModel().window_state->menus;
  EXPECT_EQ(menus.size(), kMenus.size());
  for (const auto& [name, rows] : kMenus) {
    SCOPED_TRACE(AsChars(GbkToUtf8(name)));
    const auto menu = std::find_if(menus.begin(), menus.end(), [&](const auto& m) { return m.name == name; });
    ASSERT_NE(menu, menus.end());
    ExpectItems(menu->items, rows);
  }
}

TEST_F(MainWindowLayoutTest, ListAndMenusUseTheirFonts) {
  const Font& list = Control("主窗体播放器节目列表")->font;
  EXPECT_EQ(list.face_name, "宋体");
  EXPECT_EQ(FontPixelHeight(list), 12);
  EXPECT_EQ(list.charset, 134);  // GB2312
  const Font& menus = Control("子夹1超级菜单")->font;
  EXPECT_EQ(menus.face_name, "微软雅黑");
  EXPECT_EQ(FontPixelHeight(menus), 12);
  EXPECT_EQ(Control("全局内存优化时钟")->StateOf<platform::ui::TimerState>()->interval_ms, 200);
}

// Where controls overlap, what the design draws on top stands in front: the bars over the
// playback control, the frame lines over the bars, the list handles over the list and
// the player, the status strip over the list and the browsers.
TEST_F(MainWindowLayoutTest, WhatTheDesignDrawsOverStandsInFront) {
  const std::pair<const char*, const char*> front_over_back[] = {
      {kBottomBar, "快播播放器"},         {kTopBar, "主界面片库浏览器"},
      {kBottomBar, "主窗体播放器节目列表"}, {"列表关闭按钮", "主窗体播放器节目列表"},
      {"打开列表按钮", "快播播放器"},       {"启动窗口底部背景", kBottomBar},
      {"启动窗口左边背景", kTopBar},        {"启动窗口右边背景", kTopBar},
      {kStatusStrip, "主窗体播放器节目列表"}, {kStatusStrip, "主界面找片浏览器"},
      {kStatusStrip, "快播播放器"}};
  testing_support::ExpectStandsInFront(WindowModel(), front_over_back);
}

// The tab highlights, the pause sign and the menu icons are set by the program later, so
// the layout declares them beside what its controls name; each decodes at the declared
// size, a GIF unless named .jpg, the icon with its eight images.
TEST_F(MainWindowLayoutTest, EveryPictureDecodesAtItsSizeInItsFormat) {
  const Layout layout = LoadLayout(resources_, "MainWindow");
  for (const char* later : {"tab_play_lit.gif", "tab_library_lit.gif", "tab_find_lit.gif", "pause_normal.gif",
                            "pause_hover.gif", "menu_open.gif", "menu_exit.gif"}) {
    EXPECT_TRUE(layout.pictures.contains(File(later))) << later;
  }
  for (const auto& [name, size] : layout.pictures) {
    SCOPED_TRACE(name);
    const std::string_view bytes = *resources_.Find(name);
    std::optional<Picture> picture = DecodePicture(bytes);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ((PictureSize{picture->width, picture->height}), size);
    if (name.ends_with(".gif")) {
      EXPECT_TRUE(bytes.starts_with("GIF89a") || bytes.starts_with("GIF87a"));
    } else if (name.ends_with(".jpg")) {
      EXPECT_TRUE(bytes.starts_with("\xFF\xD8\xFF"));
    } else {
      EXPECT_EQ(name, "pictures/player.ico");
    }
  }
  const std::string_view icon = *resources_.Find("pictures/player.ico");
  ASSERT_EQ(IcoImageCount(icon), 8);
  const int sides[] = {48, 32, 16, 128, 48, 32, 16, 128};
  for (int index = 0; index < 8; ++index) {
    std::optional<Picture> image = DecodeIco(icon, index);
    ASSERT_TRUE(image.has_value()) << index;
    EXPECT_EQ((PictureSize{image->width, image->height}), (PictureSize{sides[index], sides[index]})) << index;
  }
}

}  // namespace
}  // namespace korvane::platform::ui
