#pragma once
// The playback engine control on the desktop: libmpv playing into the X11 window of a
// GtkDrawingArea that fills the control (mpv's "wid": mpv opens its video output as a
// child of that window, with its own X connection, and follows its size), with the
// pause-ad page over it (desktop_pause_ad.h). The player is made at the first Play and
// ends when the area loses its X window, before that window is destroyed (the control or
// its window closes, or the window re-stacks its controls, after which what played goes
// on where it was).
//
// The operations as the program uses them: MediaAddress keeps the address; Play loads
// it when it is new or nothing is loaded (after Stop, or once it has played to its end),
// otherwise resumes; Pause holds; Stop ends playback. PrepareEpisodeChange needs nothing
// of mpv, since loading an address replaces what played. No result goes back to the
// program.
//
// The area never goes black between two episodes: mpv's output goes when mpv falls idle,
// and a network clip takes seconds to its first frame. So a clip that has played to its
// end holds its last frame (keep-open), and Stop holds the picture where it is (paused,
// the load forgotten) rather than idling mpv; the next load replaces it with its first
// frame.
//
// The pause-ad page shows while the program has paused a loaded clip, at the newest
// PauseAdAddress (the program writes it just after the pause), and goes on play, stop and
// an episode change; an empty address, or one the address gate refuses, shows nothing.
//
// mpv works on threads of its own. Its wakeup callback only adds an idle source to the
// GLib loop; the events are drained there, on the window thread.

#include <gtk/gtk.h>
#include <mpv/client.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "platform/ui/backend.h"
#include "platform/ui/desktop/desktop_pause_ad.h"

namespace korvane::platform::ui::desktop {

// The address as mpv takes it: an address with a scheme goes percent-encoded byte for
// byte as on the wire (ASCII), a local path in UTF-8.
std::string EngineAddress(const Text& address);

class DesktopEngine {
 public:
  DesktopEngine();
  ~DesktopEngine();
  DesktopEngine(const DesktopEngine&) = delete;
  DesktopEngine& operator=(const DesktopEngine&) = delete;

  // What the control's view holds: the video with the pause ad over it.
  GtkWidget* Widget() const { return overlay_; }
  // The drawing area the video shows in.
  GtkWidget* VideoArea() const { return area_; }
  void Run(EngineOperation operation, const Text& value);

  // The player while there is one (tests read its state through libmpv).
  mpv_handle* Player() const { return player_; }

 private:
  // False when no player can be made here (no X window, libmpv refused).
  bool EnsurePlayer();
  void EndPlayer();
  // Loads `address` (as mpv takes it), from `start_seconds` on.
  void Load(const std::string& address, double start_seconds);
  void SetPaused(bool paused);
  // The pause ad follows whether the program holds a loaded clip paused.
  void ShowPauseAdWhenPaused();

  static void OnWakeup(void* self);
  static gboolean DrainEvents(gpointer self);
  static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer);
  static void OnRealize(GtkWidget* widget, DesktopEngine* self);
  static void OnUnrealize(GtkWidget* widget, DesktopEngine* self);

  GtkWidget* overlay_;  // we hold a reference
  GtkWidget* area_;
  PauseAd pause_ad_;
  std::string pause_ad_address_;  // as WebKit takes it; empty when refused
  bool paused_ = false;  // by the program's Pause, until its Play or Stop
  mpv_handle* player_ = nullptr;
  std::string address_;  // as mpv takes it
  bool address_is_new_ = false;
  bool loaded_ = false;  // an address is loaded, not stopped and not played to its end
  std::string loaded_address_;  // that address
  std::int64_t playing_entry_ = -1;  // mpv's playlist entry of that load, once reported
  struct Resume {
    std::string address;
    double position = 0;
    bool paused = false;
  };
  std::optional<Resume> resume_;  // what played when the area lost its window
  std::mutex wakeup_mutex_;
  guint drain_source_ = 0;  // under wakeup_mutex_
};

}  // namespace korvane::platform::ui::desktop
