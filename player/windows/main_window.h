#pragma once
// The main window: its controls, found once by their layout names, and the three views
// (player, film library, find film) with the list panel and its stored `List` setting.
// No variable holds the current view: it is the set of controls shown, which each
// switch sets completely.

#include "common/text.h"
#include "platform/ui/program.h"
#include "platform/ui/units.h"
#include "player/core/player_globals.h"

namespace korvane::player {

namespace ui = platform::ui;

struct MainWindowControls {
  explicit MainWindowControls(const ui::Window& main_window);

  ui::Window window;
  ui::PictureBox top_bar;
  ui::PictureBox left_frame;
  ui::PictureBox right_frame;
  ui::PictureBox bottom_frame;
  ui::PictureButton options_button;
  ui::PictureButton play_tab;
  ui::PictureButton catalogue_tab;
  ui::PictureButton find_tab;
  ui::PictureButton minimise_button;
  ui::PictureButton close_button;
  ui::PlaybackEngine player;
  ui::WebBrowserBox catalogue_browser;
  ui::WebBrowserBox find_browser;
  ui::WebBrowserBox statistics_browser;
  ui::TreeBox playlist;
  ui::PictureButton close_list_button;
  ui::PictureButton open_list_button;
  ui::PictureBox bottom_bar;
  ui::PictureButton pause_play_button;
  ui::PictureButton next_episode_button;
  ui::PictureButton previous_episode_button;
  ui::PictureButton service_button;
  ui::Label text_ad1;
  ui::Label text_ad2;
  ui::DrawPanel status_strip;
  ui::Label status_label;
};

// A hover hint as every hint of the player is attached: not a balloon, always shown.
void SetHint(ui::Program& ui, const ui::Unit& unit, const Text& hint);

class MainWindow {
 public:
  MainWindow(ui::Program& ui, const PlayerGlobals& globals, Text program_folder)
      : ui_(ui), globals_(globals), program_folder_(std::move(program_folder)) {}

  // Finds the controls of the loaded window; the handlers below act on them.
  void Attach(const ui::Window& main_window) { controls_.emplace(main_window); }
  const MainWindowControls& Controls() const { return *controls_; }

  // Binds the handlers below by the names the main window's layout uses.
  void Bind();
  void ShowPlayerView();
  void ShowCatalogueView();
  void ShowFindView();
  void ApplyListSetting();
  void OnOpenListClicked();
  void OnCloseListClicked();
  void RaiseFrame();
  void SetMainTooltips();
  void OnMinimiseClicked();
  // The memory timer gives back the working set.
  void OnMemoryTimer();

  // The player with the list open or closed, as the list handles leave it (no write).
  void LayOutList(bool open);
  // The text-ad labels by the text-ad switches.
  void ApplyTextAdLabels();

 private:
  enum class View { kPlayer, kCatalogue, kFind };
  void HighlightTab(View view);
  void ShowBrowserView(View view);

  ui::Program& ui_;
  const PlayerGlobals& globals_;
  Text program_folder_;
  std::optional<MainWindowControls> controls_;
};

}  // namespace korvane::player
