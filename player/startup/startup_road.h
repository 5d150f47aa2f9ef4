#pragma once
// The start-up road: the main window's "created" handler. It checks the network and the
// two configuration files, fetches the remote control files, sets the title, may hand
// over to the updater, keeps the program to one instance per home address, lays out the
// player view, points the browsers at their pages and loads the statistics page.

#include "player/core/player_globals.h"
#include "player/core/player_services.h"
#include "player/core/remote_files.h"
#include "player/windows/exit_road.h"
#include "player/windows/main_window.h"

namespace korvane::player {

class StartupRoad {
 public:
  StartupRoad(PlayerServices& services, PlayerGlobals& globals, RemoteFiles& remote,
              MainWindow& main_window, ExitRoad& exit_road)
      : services_(services),
        globals_(globals),
        remote_(remote),
        main_window_(main_window),
        exit_road_(exit_road) {}

  // Binds the main window's "created" handler.
  void Bind();
  void OnMainWindowCreated(const ui::Window& window);

 private:
  // Ends start-up early: the message, then a close request for the main window.
  void EndStartup(const Text& message, ui::MessageBoxIcon icon, const Text& title);
  bool ConfigFilesExist();
  void FetchTextAdTexts();
  // Steps after the version check. When its exit road has closed the main window, or
  // asked it to close, nothing acts on the window any more: only the files are written
  // and fetched, the statistics page included.
  void FinishStartup(bool window_kept);
  void LoadCornerAd();

  PlayerServices& services_;
  PlayerGlobals& globals_;
  RemoteFiles& remote_;
  MainWindow& main_window_;
  ExitRoad& exit_road_;
  Text program_folder_;
};

}  // namespace korvane::player
