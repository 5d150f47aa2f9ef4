#include "player/windows/exit_road.h"

#include "platform/ui/handler_table.h"
#include "player/core/ad_sources.h"
#include "player/windows/ad_windows.h"

namespace korvane::player {

void ExitRoad::Bind() {
  static constexpr ui::HandlerRow<ExitRoad> kHandlers[] = {
      {"ExitPlayer", &ExitRoad::ExitPlayer},
      {"OnOptionsExitSelected", &ExitRoad::ExitPlayer},
      {"LaunchUpdateAndExit", &ExitRoad::LaunchUpdateAndExit},
      {"OnTrayUpdateSelected", &ExitRoad::LaunchUpdateAndExit},
  };
  ui::BindHandlers(services_.ui, *this, kHandlers);
}

void ExitRoad::ExitPlayer() {
  const MainWindowControls& c = main_window_.Controls();
  services_.ui.SetTrayIcon(c.window, false, "");
  ui::PlaybackEngine player = c.player;
  player.Stop();
  services_.shell.EndProcessByName("QvodPlayer.exe");
  services_.shell.EndProcessByName("QvodTerminal.exe");
  services_.ui.Delay(500);
  // A switch that matches none of its values ends the program as "0" does: left as it
  // was, the program would go on with no tray icon, beside an updater that replaces its
  // files.
  const AdSource* source = RowFor(ads::kExitAd, globals_.exit_ad_switch);
  if (source != nullptr && BoxSwitchAllows(remote_, source->box_switch)) return ShowExitAd();
  CloseMainWindow();
}

void ExitRoad::LaunchUpdateAndExit() {
  services_.shell.RunShellVerb("open", services_.files.GetRunDirectory() + "\\Update.exe");
  ExitPlayer();
}

void ExitRoad::ShowExitAd() {
  ui::Window window = main_window_.Controls().window;
  window.SetVisible(false);
  services_.ui.LoadWindow(kExitAdWindow, true);
  // The ad's button and timer have closed the main window already; the Esc key closes
  // only the ad, and the program must end all the same.
  CloseMainWindow();
}

void ExitRoad::CloseMainWindow() { services_.ui.DestroyUnit(main_window_.Controls().window); }

}  // namespace korvane::player
