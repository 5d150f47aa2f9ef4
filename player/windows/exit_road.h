#pragma once
// The one way out of the player, and the hand-over to the updater.

#include "player/core/player_globals.h"
#include "player/core/player_services.h"
#include "player/core/remote_files.h"
#include "player/windows/main_window.h"

namespace korvane::player {

class ExitRoad {
 public:
  ExitRoad(PlayerServices& services, PlayerGlobals& globals, RemoteFiles& remote,
           const MainWindow& main_window)
      : services_(services), globals_(globals), remote_(remote), main_window_(main_window) {}

  // Binds the ways out by the names the main window's layout and menus use.
  void Bind();
  // Removes the tray icon, stops playback, ends the engine's processes, waits 500 ms and
  // then acts on the exit-ad switch.
  void ExitPlayer();
  // Starts the program folder's "\Update.exe", then the exit road.
  void LaunchUpdateAndExit();

 private:
  void ShowExitAd();
  void CloseMainWindow();

  PlayerServices& services_;
  PlayerGlobals& globals_;
  RemoteFiles& remote_;
  const MainWindow& main_window_;
};

}  // namespace korvane::player
