#include "player/player_program.h"

#include <filesystem>
#include <functional>
#include <system_error>
#include <utility>

#include "platform/core/atomic_file.h"
#include "platform/core/config_files.h"
#include "platform/core/path_map.h"
#include "platform/services/memory_trim.h"
#include "player/windows/browser_menus.h"
#include "player/windows/text_ad_press.h"

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
      tray_and_menus_(services, globals_, remote_, main_window_),
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
      platform::NativePath(platform::ConfigFilePath(folder, platform::ConfigFile::kPlayerConfig)));
  InitPlayerGlobals(globals_);
  ui.SetFinaliser([this] { FreePlayerGlobals(globals_); });
  BindHandlers();
  return ui.Run([&ui] { ui.LoadWindow("MainWindow", false); });
}

void PlayerProgram::BindHandlers() {
  platform::ui::Program& ui = services_.ui;
  ui.BindHandler("OnMainWindowCreated", [this](const platform::ui::Event& event) {
    startup_road_.OnMainWindowCreated(platform::ui::Window(*event.source.GetProgram(), event.source.Id()));
  });
  ui.BindHandler("OnCataloguePageLoaded",
                 [this](const platform::ui::Event& event) { scraper_.OnCataloguePageLoaded(event.text); });
  ui.BindHandler("OnFindPageLoaded",
                 [this](const platform::ui::Event& event) { scraper_.OnFindPageLoaded(event.text); });
  const std::pair<std::string_view, std::function<void()>> handlers[] = {
      {"ShowPlayerView", [this] { main_window_.ShowPlayerView(); }},
      {"ShowCatalogueView", [this] { main_window_.ShowCatalogueView(); }},
      {"ShowFindView", [this] { main_window_.ShowFindView(); }},
      {"OnOpenListClicked", [this] { main_window_.OnOpenListClicked(); }},
      {"OnCloseListClicked", [this] { main_window_.OnCloseListClicked(); }},
      {"OnMinimiseClicked", [this] { main_window_.OnMinimiseClicked(); }},
      {"OnMemoryTimer", [] { platform::TrimWorkingSet(); }},
      {"ExitPlayer", [this] { exit_road_.ExitPlayer(); }},
      {"OnOptionsExitSelected", [this] { exit_road_.ExitPlayer(); }},
      {"LaunchUpdateAndExit", [this] { exit_road_.LaunchUpdateAndExit(); }},
      {"OnTrayUpdateSelected", [this] { exit_road_.LaunchUpdateAndExit(); }},
      {"LoadCataloguePlaylist", [this] { programme_list_.LoadCataloguePlaylist(); }},
      {"LoadFindPlaylist", [this] { programme_list_.LoadFindPlaylist(); }},
      {"OnPlaylistItemActivated", [this] { programme_list_.OnPlaylistItemActivated(); }},
      {"OnPreviousEpisodeClicked", [this] { programme_list_.OnPreviousEpisodeClicked(); }},
      {"OnNextEpisodeClicked", [this] { programme_list_.OnNextEpisodeClicked(); }},
      {"OnPausePlayClicked", [this] { programme_list_.OnPausePlayClicked(); }},
  };
  for (const auto& [name, handler] : handlers) {
    ui.BindHandler(name, [handler](const platform::ui::Event&) { handler(); });
  }
  BindBrowserMenus(ui, main_window_);
  tray_and_menus_.Bind();
  ad_windows_.Bind();
  BindTextAdPresses(ui, services_.shell, globals_);
  panel_opener_.Bind();
  settings_window_.Bind();
  about_window_.Bind();
}

}  // namespace korvane::player
