#include "tests/update/wizard/update_program_fixture.h"

#include <stdexcept>

#include "platform/core/profile.h"
#include "tests/support/file_bytes.h"
#include "tools/encipher/encipher.h"

namespace korvane::update::testing {

namespace fs = std::filesystem;

constexpr std::string_view kInstallationId = "K0RVANE";
constexpr std::string_view kProbeHost = "probe.test";

UpdateProgramTest::UpdateProgramTest()
    : folder_(platform::CorePath(temp_.path() / u8"程序")),
      files_(platform::CreateLinuxFileSystem(temp_.path() / u8"程序")),
      http_(platform::CreateCurlHttpClient()),
      requests_(platform::CreateCurlHttpRequestFactory()),
      backend_(time_, http_.get()),
      control_base_(tools::EncipherToHex(1, server_.Url("/"))),
      list_folder_(tools::EncipherToHex(1, server_.Url("/update/"))) {
  fs::create_directories(temp_.path() / u8"程序");
  fs::create_directories(temp_.path() / "served");
  server_.ServeFolder(temp_.path() / "served");
  platform::WriteIniValue(folder_ + "\\Config.ini", "Config", "UID",
                          tools::EncipherToHex(3, kInstallationId));
  WriteFile(Served("uid/" + std::string(kInstallationId) + "/zhuye.txt"),
            tools::EncipherToHex(2, server_.Url("/home/")));
  backend_.SetDriver(&script_);
  SetNetworkReachable(true);
  services_ = std::make_unique<UpdateServices>(UpdateServices{
      ui_, watched_files_, *http_, *requests_, resolver_, instances_, platform::SystemClock(),
      [this](std::string_view verb, std::string_view file) {
        shell_runs_.push_back(std::string(verb) + " " + std::string(file));
      },
      {control_base_, list_folder_}, Text(kProbeHost)});
  program_ = std::make_unique<UpdateProgram>(*services_);
}

void UpdateProgramTest::SetNetworkReachable(bool reachable) {
  if (reachable) {
    resolver_.Resolve(std::string(kProbeHost), "127.0.0.1");
  } else {
    resolver_.Forget(std::string(kProbeHost));
  }
}

fs::path UpdateProgramTest::Installed(std::string_view relative) const {
  return temp_.path() / u8"程序" / relative;
}

fs::path UpdateProgramTest::Served(std::string_view relative) const {
  return temp_.path() / "served" / relative;
}

void UpdateProgramTest::WriteFile(const fs::path& file, std::string_view bytes) const {
  testing_support::WriteFileBytes(file, bytes);
}

std::string UpdateProgramTest::ReadFile(const fs::path& file) const {
  return testing_support::ReadFileBytes(file);
}

void UpdateProgramTest::ServeSwitch(std::string_view value) const {
  WriteFile(Served("zongkong/update/updatekg.txt"), tools::EncipherToHex(2, value));
}

void UpdateProgramTest::ServeUpdate(std::string_view version,
                                    const std::vector<ServedFile>& files) const {
  ASSERT_TRUE(PublishUpdate(Served("update"), version, files));
}

int UpdateProgramTest::Run() { return program_->UpdateEntry(); }

platform::ui::Window UpdateProgramTest::Wizard() {
  for (const platform::ui::Window& window : InspectionOf(ui_).Windows()) {
    if (window.Name() == "UpdateWizard") return window;
  }
  throw std::logic_error("the wizard is not open");
}

}  // namespace korvane::update::testing
