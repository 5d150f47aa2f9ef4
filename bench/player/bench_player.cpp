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

BenchPlayer::BenchPlayer(platform::HttpClient& http, platform::testing::TempProgramFolder& folder,
                         std::string_view site_root)
    : control(tools::EncipherToHex(1, site_root)),
      uid_prefix(tools::EncipherToHex(1, std::string(site_root) + "uid/")),
      backend(time, &http),
      services{ui, folder.files(), http, resolver, events, shell, settings, {control, uid_prefix, {}}, Text(kProbeHost)} {
  resolver.Resolve(std::string(kProbeHost), "127.0.0.1");
  backend.SetDriver(&script);
}

void BenchPlayer::Run() {
  player::PlayerProgram program(services);
  program.PlayerEntry();
}

void BenchPlayer::NavigateInView(bool library, const Text& address) {
  platform::ui::Window main = Main();
  platform::ui::UserInput& input = platform::ui::InputOf(ui);
  input.UserClick(main.Find<platform::ui::PictureButton>(library ? "主界面片库按钮" : "主界面找片按钮"));
  input.UserNavigate(main.Find<platform::ui::WebBrowserBox>(library ? "主界面片库浏览器" : "主界面找片浏览器"), address);
}

}  // namespace korvane::bench
