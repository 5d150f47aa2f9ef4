#pragma once
// The about window: the provider's name, the versions of the player, the updater and the
// operator's two companion programs, the developer and the content provider, and two
// link labels that open on the press of the left button: the operator's built-in site
// address with the installation id, and the home address with "?soft".
//
// The site label and the companion lines are deployment data, set when the window is
// created and never changed afterwards; the site label shows exactly the address its
// press opens, without "?" and the id.

#include "platform/services/shell.h"
#include "platform/ui/program.h"
#include "platform/ui/units.h"
#include "player/core/player_globals.h"
#include "player/windows/panel_windows.h"

namespace korvane::player {

class AboutWindow {
 public:
  AboutWindow(platform::ui::Program& ui, platform::Shell& shell, const PlayerGlobals& globals,
              PanelOpener& opener)
      : ui_(ui), shell_(shell), globals_(globals), opener_(opener) {}

  // Binds the handlers below by the names the window's layout uses.
  void Bind();

  // Fills in the deployment's texts, the provider's name and the home address.
  void OnAboutWindowCreated(const platform::ui::Window& window);
  void OnMakerSiteLabelPressed();
  void OnHomeLabelPressed();
  // The close, OK and cancel buttons.
  void CloseAboutWindow(const platform::ui::Window& window);
  // The options tab opens the settings window in this one's place; the about tab is the
  // one shown, and its click changes nothing.
  void OnAboutOptionsTab(const platform::ui::Window& window);
  void OnAboutAboutTab() {}

 private:
  platform::ui::Program& ui_;
  platform::Shell& shell_;
  const PlayerGlobals& globals_;
  PanelOpener& opener_;
};

}  // namespace korvane::player
