#include "player/player_program.h"

#include <filesystem>
#include <system_error>

#include "platform/core/atomic_file.h"
#include "platform/core/config_files.h"
#include "platform/core/path_map.h"
#include "player/core/player_config.h"

namespace korvane::player {

PlayerProgram::PlayerProgram(PlayerServices& services)
    : services_(services),
      remote_(services.http, services.constants, globals_),
      main_window_(services.ui, globals_, services.files.GetRunDirectory()),
      ad_windows_(services, globals_, remote_, main_window_),
      exit_road_(services, globals_, remote_, main_window_),
      startup_road_(services, globals_, remote_, main_window_, exit_road_),
      scraper_(services.ui, globals_, main_window_),
      programme_list_(services.ui, globals_, remote_, main_window_, services.files.GetRunDirectory()),
      browser_menus_(services.ui, main_window_),
      tray_and_menus_(services, globals_, remote_, main_window_),
      text_ad_presses_(services.ui, services.shell, globals_),
      panel_opener_(services.ui),
      settings_window_({services.ui, services.shell, services.system_settings, services.files.GetRunDirectory()},
                       globals_, main_window_, panel_opener_),
      about_window_(services.ui, services.shell, globals_, panel_opener_) {}

int PlayerProgram::PlayerEntry() {
  platform::ui::Program& ui = services_.ui;
  std::error_code ignored;
  const Text folder = services_.files.GetRunDirectory();
  std::filesystem::current_path(platform::NativePath(folder), ignored);
  // A run killed while it wrote its settings left that write's temporary beside them.
  platform::RemoveLeftTemporaries(
      platform::NativePath(platform::ConfigFilePath(folder, kPlayerConfigFileName)));
  InitPlayerGlobals(globals_);
  ui.SetFinaliser([this] { FreePlayerGlobals(globals_); });
  BindHandlers();
  return ui.Run([&ui] { ui.LoadWindow("MainWindow", false); });
}

// Every road and window binds its own table of the handlers its layouts name.
void PlayerProgram::BindHandlers() {
  startup_road_.Bind();
  main_window_.Bind();
  scraper_.Bind();
  exit_road_.Bind();
  programme_list_.Bind();
  browser_menus_.Bind();
  tray_and_menus_.Bind();
  ad_windows_.Bind();
  text_ad_presses_.Bind();
  panel_opener_.Bind();
  settings_window_.Bind();
  about_window_.Bind();
}

}  // namespace korvane::player
