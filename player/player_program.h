#pragma once
// The player program: its start code, the handlers bound by the names its layouts use,
// and the finaliser.

#include "player/catalogue/catalogue_scraper.h"
#include "player/playback/programme_list.h"
#include "player/core/player_globals.h"
#include "player/core/player_services.h"
#include "player/core/remote_files.h"
#include "player/startup/startup_road.h"
#include "player/windows/about_window.h"
#include "player/windows/ad_windows.h"
#include "player/windows/browser_menus.h"
#include "player/windows/exit_road.h"
#include "player/windows/main_window.h"
#include "player/windows/panel_windows.h"
#include "player/windows/settings_window.h"
#include "player/windows/text_ad_press.h"
#include "player/windows/tray_and_menus.h"

namespace korvane::player {

class PlayerProgram {
 public:
  explicit PlayerProgram(PlayerServices& services);
  PlayerProgram(const PlayerProgram&) = delete;
  PlayerProgram& operator=(const PlayerProgram&) = delete;

  // The start code: runs the program to its end and gives the exit code.
  int PlayerEntry();

  const PlayerGlobals& Globals() const { return globals_; }

 private:
  void BindHandlers();

  PlayerServices& services_;
  PlayerGlobals globals_;
  RemoteFiles remote_;
  MainWindow main_window_;
  AdWindows ad_windows_;
  ExitRoad exit_road_;
  StartupRoad startup_road_;
  CatalogueScraper scraper_;
  ProgrammeList programme_list_;
  BrowserMenus browser_menus_;
  TrayAndMenus tray_and_menus_;
  TextAdPresses text_ad_presses_;
  PanelOpener panel_opener_;
  SettingsWindow settings_window_;
  AboutWindow about_window_;
};

}  // namespace korvane::player
