#pragma once
// The programme list: rebuilt from the last scrape whenever a catalogue page completes,
// and the episode changes through the engine — previous, next, activation and the
// pause/play toggle. Every change of episode stops the engine, hands it the pause-ad
// page and the episode's address, then plays.

#include "common/text.h"
#include "platform/ui/program.h"
#include "player/core/player_globals.h"
#include "player/core/remote_files.h"
#include "player/windows/main_window.h"

namespace korvane::player {

class ProgrammeList {
 public:
  ProgrammeList(platform::ui::Program& ui, PlayerGlobals& globals, RemoteFiles& remote,
                MainWindow& main_window, Text program_folder)
      : ui_(ui),
        globals_(globals),
        remote_(remote),
        main_window_(main_window),
        program_folder_(std::move(program_folder)) {}

  // Binds the handlers below by the names the main window's layout uses.
  void Bind();
  // PageComplete of either catalogue browser: the same rebuild, whichever page it was.
  void LoadCataloguePlaylist() { RebuildPlaylist(); }
  void LoadFindPlaylist() { RebuildPlaylist(); }
  void OnPlaylistItemActivated();
  void OnPreviousEpisodeClicked() { StepEpisode(-1); }
  void OnNextEpisodeClicked() { StepEpisode(+1); }
  void OnPausePlayClicked();
  // The pause-ad page by the pause-ad switch, fetched anew and written as it came.
  void LoadPauseAdPage();

 private:
  void RebuildPlaylist();
  void StepEpisode(int step);
  // Writes episode k's address, once it has passed the gate, into the engine when k is
  // one of the addresses; a refused address is written as empty text, which plays nothing.
  void SetEpisodeAddress(int k);
  platform::ui::PlaybackEngine Engine() const { return main_window_.Controls().player; }

  platform::ui::Program& ui_;
  PlayerGlobals& globals_;
  RemoteFiles& remote_;
  MainWindow& main_window_;
  Text program_folder_;
};

}  // namespace korvane::player
