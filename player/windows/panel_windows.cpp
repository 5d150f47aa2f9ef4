#include "player/windows/panel_windows.h"

#include <utility>

#include "platform/ui/handler_table.h"
#include "player/windows/main_window.h"

namespace korvane::player {
namespace {

std::string_view LayoutOf(Panel panel) { return panel == Panel::kSettings ? "SettingsWindow" : "AboutWindow"; }

// The tab pictures each window gives its two tabs: the settings window's pair shows the
// options tab selected, the about window's pair the about tab.
struct TabPictures {
  std::string_view options_tab;
  std::string_view about_tab;
};
constexpr TabPictures kSettingsTabs = {"pictures/settings_options_tab.gif", "pictures/settings_about_tab.gif"};
constexpr TabPictures kAboutTabs = {"pictures/about_options_tab.gif", "pictures/about_about_tab.gif"};

constexpr std::pair<std::string_view, std::string_view> kButtonHints[] = {
    {"关闭按钮", "关闭"}, {"图形按钮1", "确定"}, {"图形按钮2", "取消"}, {"图形按钮3", "应用"}};

}  // namespace

void PanelOpener::Bind() {
  static constexpr platform::ui::HandlerRow<PanelOpener> kHandlers[] = {
      {"OnTraySettingsSelected", &PanelOpener::OpenSettings},
      {"OnOptionsSettingsSelected", &PanelOpener::OpenSettings},
      {"OnTrayAboutSelected", &PanelOpener::OpenAbout},
      {"OnOptionsAboutSelected", &PanelOpener::OpenAbout},
  };
  platform::ui::BindHandlers(ui_, *this, kHandlers);
}

void PanelOpener::Open(Panel panel) {
  for (std::optional<Panel> next = panel; next; next = std::exchange(next_, std::nullopt)) {
    ui_.LoadWindow(LayoutOf(*next), true);
  }
}

void PanelOpener::SwitchTo(const platform::ui::Window& current, Panel next) {
  ui_.DestroyUnit(current);
  next_ = next;
}

void DressPanel(platform::ui::Program& ui, const platform::ui::Window& window, Panel shown) {
  const TabPictures& tabs = shown == Panel::kSettings ? kSettingsTabs : kAboutTabs;
  window.Find<platform::ui::PictureButton>("选项按钮").SetNormalPicture(Text(tabs.options_tab));
  window.Find<platform::ui::PictureButton>("关于按钮").SetNormalPicture(Text(tabs.about_tab));
  for (const auto& [button, hint] : kButtonHints) SetHint(ui, window.Find<platform::ui::Unit>(button), Text(hint));
}

}  // namespace korvane::player
