#include "update/wizard/update_wizard.h"

#include "platform/ui/handler_table.h"

namespace korvane::update {

UpdateWizard::UpdateWizard(UpdateServices& services, UpdateGlobals& globals)
    : services_(services), globals_(globals) {}

void UpdateWizard::Bind() {
  static constexpr platform::ui::HandlerRow<UpdateWizard> kHandlers[] = {
      {"OnWizardCreated", &UpdateWizard::OnWizardCreated},
      {"OnNextClicked", &UpdateWizard::OnNextClicked},
      {"OnRetestClicked", &UpdateWizard::OnRetestClicked},
      {"LaunchPlayerAndExit", &UpdateWizard::LaunchPlayerAndExit},
  };
  platform::ui::BindHandlers(services_.ui, *this, kHandlers);
}

void UpdateWizard::OnWizardCreated(const platform::ui::Window& window) {
  controls_.emplace(window);
  CheckInternet();
  globals_.wizard_state = WizardState::kConnectivityPage;
}

bool UpdateWizard::IsInternetReachable() {
  return !services_.resolver.HostNameToIp(services_.probe_host).empty();
}

void UpdateWizard::CheckInternet() {
  WizardControls& c = *controls_;
  if (IsInternetReachable()) {
    c.network_status.SetCaption("连接Internet正常，可以进行在线升级操作。");
    c.guide.SetCaption("点击下一步将开始查询可用的更新。");
    c.next.SetEnabled(true);
  } else {
    c.network_status.SetCaption("连接Internet失败，请检查网络连接后重新测试。");
    c.guide.SetCaption("点击取消将退出在线升级。");
    c.next.SetEnabled(false);
  }
}

void UpdateWizard::OnRetestClicked() { CheckInternet(); }

void UpdateWizard::LaunchPlayerAndExit() {
  services_.run_shell_verb("open", Paths().PlayerProgram());
  services_.ui.EndProgram(0);
}

UpdatePaths UpdateWizard::Paths() const { return UpdatePaths(services_.files.GetRunDirectory()); }

}  // namespace korvane::update
