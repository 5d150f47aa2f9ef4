#include "player/windows/main_window.h"

#include <array>

#include "platform/services/memory_trim.h"
#include "platform/ui/handler_table.h"
#include "player/core/player_config.h"

namespace korvane::player {
namespace {

// Each tab's plain and highlighted pictures.
struct TabPictures {
  ui::PictureButton MainWindowControls::*tab;
  std::string_view plain;
  std::string_view highlighted;
};

constexpr std::array<TabPictures, 3> kTabs = {{
    {&MainWindowControls::play_tab, "pictures/tab_play_plain.gif", "pictures/tab_play_lit.gif"},
    {&MainWindowControls::catalogue_tab, "pictures/tab_library_plain.gif",
     "pictures/tab_library_lit.gif"},
    {&MainWindowControls::find_tab, "pictures/tab_find_plain.gif", "pictures/tab_find_lit.gif"},
}};

void SetPictures(ui::PictureButton& button, std::string_view normal, std::string_view hover,
                 std::string_view pressed) {
  button.SetNormalPicture(Text(normal));
  button.SetHoverPicture(Text(hover));
  button.SetPressedPicture(Text(pressed));
}

}  // namespace

MainWindowControls::MainWindowControls(const ui::Window& main_window)
    : window(main_window),
      top_bar(window.Find<ui::PictureBox>("启动窗口顶部背景")),
      left_frame(window.Find<ui::PictureBox>("启动窗口左边背景")),
      right_frame(window.Find<ui::PictureBox>("启动窗口右边背景")),
      bottom_frame(window.Find<ui::PictureBox>("启动窗口底部背景")),
      options_button(window.Find<ui::PictureButton>("主界面选项按钮")),
      play_tab(window.Find<ui::PictureButton>("主界面播放按钮")),
      catalogue_tab(window.Find<ui::PictureButton>("主界面片库按钮")),
      find_tab(window.Find<ui::PictureButton>("主界面找片按钮")),
      minimise_button(window.Find<ui::PictureButton>("启动窗口最小化按钮")),
      close_button(window.Find<ui::PictureButton>("启动窗口关闭按钮")),
      player(window.Find<ui::PlaybackEngine>("快播播放器")),
      catalogue_browser(window.Find<ui::WebBrowserBox>("主界面片库浏览器")),
      find_browser(window.Find<ui::WebBrowserBox>("主界面找片浏览器")),
      statistics_browser(window.Find<ui::WebBrowserBox>("软件统计")),
      playlist(window.Find<ui::TreeBox>("主窗体播放器节目列表")),
      close_list_button(window.Find<ui::PictureButton>("列表关闭按钮")),
      open_list_button(window.Find<ui::PictureButton>("打开列表按钮")),
      bottom_bar(window.Find<ui::PictureBox>("启动窗口底部按钮背景")),
      pause_play_button(window.Find<ui::PictureButton>("主界面暂停播放按钮")),
      next_episode_button(window.Find<ui::PictureButton>("主界面下一集按钮")),
      previous_episode_button(window.Find<ui::PictureButton>("主界面上一集按钮")),
      service_button(window.Find<ui::PictureButton>("主界面列表按钮")),
      text_ad1(window.Find<ui::Label>("主界面文字广告1")),
      text_ad2(window.Find<ui::Label>("主界面文字广告2")),
      status_strip(window.Find<ui::DrawPanel>("画板1")),
      status_label(window.Find<ui::Label>("点击播放标签")) {}

void SetHint(ui::Program& ui, const ui::Unit& unit, const Text& hint) {
  ui.SetHoverHint(ui.GetWindowHandle(unit), hint, false, true);
}

void MainWindow::Bind() {
  static constexpr ui::HandlerRow<MainWindow> kHandlers[] = {
      {"ShowPlayerView", &MainWindow::ShowPlayerView},
      {"ShowCatalogueView", &MainWindow::ShowCatalogueView},
      {"ShowFindView", &MainWindow::ShowFindView},
      {"OnOpenListClicked", &MainWindow::OnOpenListClicked},
      {"OnCloseListClicked", &MainWindow::OnCloseListClicked},
      {"OnMinimiseClicked", &MainWindow::OnMinimiseClicked},
      {"OnMemoryTimer", &MainWindow::OnMemoryTimer},
  };
  ui::BindHandlers(ui_, *this, kHandlers);
}

void MainWindow::OnMemoryTimer() { platform::TrimWorkingSet(); }

void MainWindow::ShowPlayerView() {
  MainWindowControls& c = *controls_;
  c.status_strip.SetVisible(false);
  SetHint(ui_, c.status_label, "暂无加载影片......");
  HighlightTab(View::kPlayer);
  c.open_list_button.SetVisible(false);
  c.close_list_button.SetVisible(true);
  ApplyListSetting();
  c.bottom_bar.SetVisible(true);
  ApplyTextAdLabels();
}

void MainWindow::ShowCatalogueView() { ShowBrowserView(View::kCatalogue); }

void MainWindow::ShowFindView() { ShowBrowserView(View::kFind); }

void MainWindow::ShowBrowserView(View view) {
  MainWindowControls& c = *controls_;
  c.status_strip.SetVisible(true);
  c.open_list_button.SetVisible(false);
  c.close_list_button.SetVisible(false);
  HighlightTab(view);
  ui::WebBrowserBox& shown = view == View::kCatalogue ? c.catalogue_browser : c.find_browser;
  c.player.SetVisible(false);
  c.catalogue_browser.SetVisible(view == View::kCatalogue);
  c.find_browser.SetVisible(view == View::kFind);
  // Below the tab row, over the frame lines: RaiseFrame brings those back in front.
  ui_.MoveUnit(shown, 0, 32, 980, 568);
  ui_.SetUnitZOrder(shown, ui::ZOrder::kBack);
  RaiseFrame();
  c.playlist.SetVisible(false);
  c.bottom_bar.SetVisible(false);
}

// The tab of the view shown is highlighted in all three pictures; the others are plain
// and light up under the mouse.
void MainWindow::HighlightTab(View view) {
  for (std::size_t index = 0; index < kTabs.size(); ++index) {
    const TabPictures& tab = kTabs[index];
    ui::PictureButton& button = controls_.value().*tab.tab;
    if (index == static_cast<std::size_t>(view)) {
      SetPictures(button, tab.highlighted, tab.highlighted, tab.highlighted);
    } else {
      SetPictures(button, tab.plain, tab.highlighted, tab.plain);
    }
  }
}

void MainWindow::ApplyListSetting() {
  const Text list = platform::ReadConfigValue(program_folder_, kListKey);
  if (list == kListClosed) LayOutList(false);
  if (list == kListOpen) LayOutList(true);
}

void MainWindow::LayOutList(bool open) {
  MainWindowControls& c = *controls_;
  c.player.SetVisible(true);
  ui_.MoveUnit(c.player, 2, 34, open ? 774 : 976, 571);
  c.catalogue_browser.SetVisible(false);
  c.find_browser.SetVisible(false);
  c.open_list_button.SetVisible(!open);
  c.close_list_button.SetVisible(open);
  c.playlist.SetVisible(open);
  if (open) {
    SetHint(ui_, c.close_list_button, "关闭列表");
  } else {
    SetHint(ui_, c.open_list_button, "打开列表");
  }
}

void MainWindow::OnOpenListClicked() {
  LayOutList(true);
  platform::WriteConfigValue(program_folder_, kListKey, kListOpen);
}

void MainWindow::OnCloseListClicked() {
  LayOutList(false);
  platform::WriteConfigValue(program_folder_, kListKey, kListClosed);
}

void MainWindow::RaiseFrame() {
  MainWindowControls& c = *controls_;
  // Handles copied as plain units: each names its control by id.
  const ui::Unit in_front_order[] = {c.top_bar,         c.bottom_frame, c.left_frame,
                                     c.right_frame,     c.minimise_button, c.close_button,
                                     c.play_tab,        c.catalogue_tab, c.find_tab};
  for (const ui::Unit& unit : in_front_order) ui_.SetUnitZOrder(unit, ui::ZOrder::kFront);
}

void MainWindow::SetMainTooltips() {
  MainWindowControls& c = *controls_;
  SetHint(ui_, c.close_button, "关闭");
  SetHint(ui_, c.minimise_button, "最小化");
  SetHint(ui_, c.play_tab, "播放");
  SetHint(ui_, c.catalogue_tab, "片库");
  SetHint(ui_, c.find_tab, "找片");
  SetHint(ui_, c.next_episode_button, "下一集");
  SetHint(ui_, c.previous_episode_button, "上一集");
  SetHint(ui_, c.options_button, "软件菜单");
  SetHint(ui_, c.service_button, "联系" + globals_.provider_name + "客服");
}

void MainWindow::OnMinimiseClicked() { controls_->window.SetPosition(ui::WindowPosition::kMinimised); }

}  // namespace korvane::player
