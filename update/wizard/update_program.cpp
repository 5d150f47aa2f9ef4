#include "update/wizard/update_program.h"

#include <filesystem>
#include <system_error>

#include "platform/core/path_map.h"

namespace korvane::update {

UpdateProgram::UpdateProgram(UpdateServices& services)
    : services_(services), wizard_(services, globals_) {}

int UpdateProgram::UpdateEntry() {
  platform::ui::Program& ui = services_.ui;
  std::error_code ignored;
  std::filesystem::current_path(platform::NativePath(services_.files.GetRunDirectory()), ignored);
  InitUpdateGlobals(globals_, services_);
  ui.SetFinaliser([this] { FreeUpdateGlobals(globals_); });
  ui.BindHandler("ChooseUpdateSource", [this](const platform::ui::Event& event) {
    ChooseUpdateSource(platform::ui::Window(*event.source.GetProgram(), event.source.Id()));
  });
  wizard_.BindHandlers();
  return ui.Run([&ui] { ui.LoadWindow("UpdateStartWindow", false); });
}

void UpdateProgram::ChooseUpdateSource(const platform::ui::Window& start_window) {
  UpdateSource source = ChooseUpdateSourceFrom(services_.http, services_.addresses,
                                               services_.files.GetRunDirectory());
  globals_.installation_id = source.installation_id;
  globals_.uid_base = source.uid_base;
  globals_.update_switch = source.update_switch;
  globals_.home_address = source.home_address;
  if (source.update_base) OpenUpdateWizard(*source.update_base);
  services_.ui.DestroyUnit(start_window);
}

void UpdateProgram::OpenUpdateWizard(const Text& address) {
  globals_.update_base = address;
  services_.ui.LoadWindow("UpdateWizard", true);
}

}  // namespace korvane::update
