#include "player/windows/about_window.h"

#include "common/cipher.h"
#include "deploy/deployment.h"
#include "platform/services/web_address.h"

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
  ui_.BindHandler("OnAboutWindowCreated",
                  [this](const ui::Event& event) { OnAboutWindowCreated(event.source.ParentWindow()); });
  ui_.BindHandler("OnMakerSiteLabelPressed", [this](const ui::Event&) { OnMakerSiteLabelPressed(); });
  ui_.BindHandler("OnHomeLabelPressed", [this](const ui::Event&) { OnHomeLabelPressed(); });
  for (const char* name : {"OnAboutCloseClicked", "OnAboutButton1Clicked", "OnAboutButton2Clicked"}) {
    ui_.BindHandler(name, [this](const ui::Event& event) { ui_.DestroyUnit(event.source.ParentWindow()); });
  }
  ui_.BindHandler("OnAboutOptionsTab", [this](const ui::Event& event) {
    opener_.SwitchTo(event.source.ParentWindow(), Panel::kSettings);
  });
  ui_.BindHandler("OnAboutAboutTab", [](const ui::Event&) {});
}

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
