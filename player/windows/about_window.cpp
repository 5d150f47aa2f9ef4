#include "player/windows/about_window.h"

#include "common/cipher.h"
#include "deploy/deployment.h"
#include "platform/services/web_address.h"
#include "platform/ui/handler_table.h"

namespace korvane::player {
namespace {

namespace ui = platform::ui;

constexpr std::string_view kVisitPrefix = "点击访问 ";

void SetCaption(const ui::Window& window, std::string_view label, const Text& caption) {
  window.Find<ui::Label>(label).SetCaption(caption);
}

// The operator's built-in site address, ending in "/".
Text SiteAddress() { return DecipherHexTextKey1(deploy::PlayerSiteAddress()); }

}  // namespace

void AboutWindow::Bind() {
  static constexpr ui::HandlerRow<AboutWindow> kHandlers[] = {
      {"OnAboutWindowCreated", &AboutWindow::OnAboutWindowCreated},
      {"OnMakerSiteLabelPressed", &AboutWindow::OnMakerSiteLabelPressed},
      {"OnHomeLabelPressed", &AboutWindow::OnHomeLabelPressed},
      {"OnAboutCloseClicked", &AboutWindow::CloseAboutWindow},
      {"OnAboutButton1Clicked", &AboutWindow::CloseAboutWindow},
      {"OnAboutButton2Clicked", &AboutWindow::CloseAboutWindow},
      {"OnAboutOptionsTab", &AboutWindow::OnAboutOptionsTab},
      {"OnAboutAboutTab", &AboutWindow::OnAboutAboutTab},
  };
  ui::BindHandlers(ui_, *this, kHandlers);
}

void AboutWindow::CloseAboutWindow(const ui::Window& window) { ui_.DestroyUnit(window); }

void AboutWindow::OnAboutOptionsTab(const ui::Window& window) { opener_.SwitchTo(window, Panel::kSettings); }

void AboutWindow::OnAboutWindowCreated(const ui::Window& window) {
  SetCaption(window, "版本1", Text(deploy::CompanionProgram1()));
  SetCaption(window, "版本2", Text(deploy::CompanionProgram2()));
  SetCaption(window, "版本6", Text(kVisitPrefix) + SiteAddress());
  DressPanel(ui_, window, Panel::kAbout);
  SetCaption(window, "版本5", "内容提供商：" + globals_.provider_name);
  SetCaption(window, "版本7", Text(kVisitPrefix) + globals_.home_address);
  SetCaption(window, "名称", globals_.provider_name);
}

void AboutWindow::OnMakerSiteLabelPressed() {
  shell_.OpenUrl(platform::GatedAddress(SiteAddress() + "?" + globals_.uid, platform::AddressUse::kOpen));
}

void AboutWindow::OnHomeLabelPressed() {
  shell_.OpenUrl(platform::GatedAddress(globals_.home_address + "?soft", platform::AddressUse::kOpen));
}

}  // namespace korvane::player
