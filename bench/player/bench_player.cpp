#include "bench/player/bench_player.h"

#include "platform/ui/program_ports.h"
#include "tools/encipher/encipher.h"

namespace korvane::bench {

SiteFile ServedRemoteFile(const player::RemoteFile& file, std::string_view value) {
  std::string path;
  switch (file.base) {
    case player::RemoteBase::kControl: path = std::string(file.path); break;
    case player::RemoteBase::kUid: path = "uid/" + std::string(kInstallationId) + "/" + std::string(file.path); break;
    case player::RemoteBase::kHome: path = "home/" + std::string(file.path); break;
  }
  return {path, file.form == player::RemoteForm::kKey2 ? tools::EncipherToHex(2, value) : std::string(value)};
}

void WriteInstallation(const platform::testing::TempProgramFolder& folder) {
  folder.Write("\\Config.ini", "[Config]\r\nUID=" + tools::EncipherToHex(3, kInstallationId) + "\r\n");
  folder.Write("\\PlayerConfig.ini", "");
}

PlayerInProcess::PlayerInProcess(platform::ui::Backend& backend, platform::HttpClient& http,
                                 platform::testing::TempProgramFolder& folder, std::string_view site_root)
    : control(tools::EncipherToHex(1, site_root)),
      uid_prefix(tools::EncipherToHex(1, std::string(site_root) + "uid/")),
      ui(backend, resources),
      services{ui, folder.files(), http, resolver, events, shell, settings, {control, uid_prefix, {}}, Text(kProbeHost)} {
  resolver.Resolve(std::string(kProbeHost), "127.0.0.1");
}

void PlayerInProcess::Run() {
  player::PlayerProgram program(services);
  program.PlayerEntry();
}

void PlayerInProcess::OpenView(bool library) {
  platform::ui::Window main = Main();
  platform::ui::InputOf(ui).UserClick(main.Find<platform::ui::PictureButton>(library ? "主界面片库按钮" : "主界面找片按钮"));
}

void PlayerInProcess::NavigateInView(bool library, const Text& address) {
  OpenView(library);
  platform::ui::InputOf(ui).UserNavigate(
      Main().Find<platform::ui::WebBrowserBox>(library ? "主界面片库浏览器" : "主界面找片浏览器"), address);
}

}  // namespace korvane::bench
