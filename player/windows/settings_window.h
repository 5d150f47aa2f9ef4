#pragma once
// The settings window: start with the desktop session, the main window always on top or
// not, the renderer mode (stored and shown again), the screen saver switched off, and the
// home address as the browser's start page. It reads PlayerConfig.ini when created and
// writes the choices back on Apply and OK; cancel, close and Esc store nothing.

#include "platform/services/shell.h"
#include "platform/services/system_settings.h"
#include "platform/ui/program.h"
#include "platform/ui/units.h"
#include "player/core/player_globals.h"
#include "player/windows/main_window.h"
#include "player/windows/panel_windows.h"

namespace korvane::player {

// The window's check boxes, found by their layout names.
struct SettingsBoxes {
  explicit SettingsBoxes(const ui::Window& window);

  ui::CheckBox start;          // 开机启动
  ui::CheckBox always_on_top;  // 始终置顶
  ui::CheckBox not_on_top;     // 取消置顶
  ui::CheckBox mode1;
  ui::CheckBox mode2;
  ui::CheckBox mode3;
  ui::CheckBox screen_saver;   // 屏保选择
  ui::CheckBox start_page;     // 始终置顶4: the home address as the browser's start page
};

struct SettingsServices {
  ui::Program& ui;
  platform::Shell& shell;
  platform::SystemSettings& system_settings;
  Text program_folder;
};

class SettingsWindow {
 public:
  SettingsWindow(SettingsServices services, const PlayerGlobals& globals, const MainWindow& main_window,
                 PanelOpener& opener)
      : services_(std::move(services)), globals_(globals), main_window_(main_window), opener_(opener) {}

  // Binds the handlers below by the names the window's layout uses.
  void Bind();

  // Ticks the boxes by the stored `Start`, `Sticky`, `Rendering` and `Screen`.
  void OnSettingsWindowCreated(const ui::Window& window);
  // Stores and applies each box in turn; a ticked 始终置顶 also closes the window once
  // Apply has finished.
  void ApplySettings(const ui::Window& window);
  // OK applies, then closes; cancel and the close button close storing nothing.
  void OnSettingsOkClicked(const ui::Window& window);
  void CloseSettingsWindow(const ui::Window& window);
  // The options tab is the one shown, and its click changes nothing; the about tab opens
  // the about window in this one's place.
  void OnSettingsOptionsTab() {}
  void OnSettingsAboutTab(const ui::Window& window);
  // Each box of a group unticks the others.
  void OnMode1Clicked(const ui::Window& window);
  void OnMode2Clicked(const ui::Window& window);
  void OnMode3Clicked(const ui::Window& window);
  void OnAlwaysOnTopBoxClicked(const ui::Window& window);
  void OnNotOnTopBoxClicked(const ui::Window& window);

 private:
  ui::Window MainWindowOf() const { return main_window_.Controls().window; }

  SettingsServices services_;
  const PlayerGlobals& globals_;
  const MainWindow& main_window_;
  PanelOpener& opener_;
};

}  // namespace korvane::player
