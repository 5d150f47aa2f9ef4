#pragma once
// The two ad windows. The exit ad is shown modally by the exit road, after the main
// window has been hidden, and ends the program: its close button, its 10 s timer and the
// Esc key close the main window and the ad. The corner ad is loaded hidden by start-up,
// fetches the installation's values and its page again, shows itself at the lower right
// corner of the whole screen after three 1 s ticks and closes itself 15 s after loading.

#include <string_view>

#include "player/core/player_globals.h"
#include "player/core/player_services.h"
#include "player/core/remote_files.h"
#include "player/windows/main_window.h"

namespace korvane::player {

inline constexpr std::string_view kExitAdWindow = "ExitAdWindow";
inline constexpr std::string_view kCornerAdWindow = "CornerAdWindow";

class AdWindows {
 public:
  AdWindows(PlayerServices& services, PlayerGlobals& globals, RemoteFiles& remote,
            const MainWindow& main_window)
      : services_(services), globals_(globals), remote_(remote), main_window_(main_window) {}

  // Binds the handlers below by the names the two layouts use.
  void Bind();

  // The caption (the provider's name and "退弹广告") and the page by the exit-ad switch.
  void OnExitAdWindowCreated(const ui::Window& window);
  // The close button and the timer: the main window closes, then the ad.
  void EndExitAd(const ui::Window& window);

  void OnCornerAdWindowCreated(const ui::Window& window);
  // Counts the ticks down; at 0 the window shows itself in the corner and the count stops.
  void OnCornerAdTimer1(const ui::Window& window);
  // The second timer and the close button.
  void CloseCornerAd(const ui::Window& window);

 private:
  PlayerServices& services_;
  PlayerGlobals& globals_;
  RemoteFiles& remote_;
  const MainWindow& main_window_;
};

}  // namespace korvane::player
