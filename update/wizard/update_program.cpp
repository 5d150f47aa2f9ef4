#include "update/wizard/update_program.h"

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "platform/core/atomic_file.h"
#include "platform/core/path_map.h"
#include "platform/ui/handler_table.h"
#include "update/wizard/update_paths.h"

namespace korvane::update {

std::string UpdateInstanceName(const Text& program_folder) {
  std::error_code ignored;
  return "korvane-update:" +
         std::filesystem::weakly_canonical(platform::NativePath(program_folder), ignored).string();
}

UpdateProgram::UpdateProgram(UpdateServices& services)
    : services_(services), wizard_(services, globals_) {}

int UpdateProgram::UpdateEntry() {
  // A second Update in the same program folder while one runs would empty and refill the
  // work folder under it and store a list it never compared: it touches nothing and ends.
  const std::unique_ptr<platform::NamedEvent> instance =
      services_.instances.CreateNamedEvent(UpdateInstanceName(services_.files.GetRunDirectory()));
  if (!instance->HoldsName()) return 0;
  // A run killed while it stored the local list left that write's temporary beside it.
  const UpdatePaths paths(services_.files.GetRunDirectory());
  platform::RemoveLeftTemporaries(platform::NativePath(paths.LocalList()));
  platform::ui::Program& ui = services_.ui;
  std::error_code ignored;
  std::filesystem::current_path(platform::NativePath(services_.files.GetRunDirectory()), ignored);
  InitUpdateGlobals(globals_, services_);
  ui.SetFinaliser([this] { FreeUpdateGlobals(globals_); });
  static constexpr platform::ui::HandlerRow<UpdateProgram> kHandlers[] = {
      {"ChooseUpdateSource", &UpdateProgram::ChooseUpdateSource},
  };
  platform::ui::BindHandlers(ui, *this, kHandlers);
  wizard_.Bind();
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
