#include "platform/ui/desktop/desktop_engine.h"

#include <gdk/gdkx.h>

#include <clocale>
#include <utility>

#include "platform/services/web_address.h"
#include "platform/services/wire_address.h"
#include "platform/ui/desktop/desktop_drawing.h"

namespace korvane::platform::ui::desktop {

std::string EngineAddress(const Text& address) {
  if (address.find("://") != Text::npos) return WireAddress(address);
  return ToUtf8(address);
}

DesktopEngine::DesktopEngine()
    : overlay_(GTK_WIDGET(g_object_ref_sink(gtk_overlay_new()))), area_(gtk_drawing_area_new()) {
  gtk_container_add(GTK_CONTAINER(overlay_), area_);
  pause_ad_.PutOver(GTK_OVERLAY(overlay_));
  // Black until the video shows, as a player's screen is.
  GtkCssProvider* style = gtk_css_provider_new();
  gtk_css_provider_load_from_data(style, "* { background-color: black; }", -1, nullptr);
  gtk_style_context_add_provider(gtk_widget_get_style_context(area_), GTK_STYLE_PROVIDER(style),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(style);
  g_signal_connect(area_, "draw", G_CALLBACK(OnDraw), nullptr);
  g_signal_connect(area_, "realize", G_CALLBACK(OnRealize), this);
  g_signal_connect(area_, "unrealize", G_CALLBACK(OnUnrealize), this);
}

DesktopEngine::~DesktopEngine() {
  g_signal_handlers_disconnect_by_data(area_, this);
  EndPlayer();
  g_object_unref(overlay_);
}

void DesktopEngine::Run(EngineOperation operation, const Text& value) {
  switch (operation) {
    case EngineOperation::kMediaAddress:
      address_ = EngineAddress(value);
      address_is_new_ = true;
      break;
    case EngineOperation::kPauseAdAddress:
      pause_ad_address_ = WireAddress(GatedAddress(value, AddressUse::kPauseAd));
      break;
    case EngineOperation::kPrepareEpisodeChange: paused_ = false; break;
    case EngineOperation::kPlay:
      paused_ = false;
      if (address_is_new_) resume_.reset();
      // A player that went with the area's window comes back here, where it was.
      if (address_.empty() || !EnsurePlayer()) break;
      if (!loaded_ || address_is_new_) Load(address_, 0);
      SetPaused(false);
      address_is_new_ = false;
      break;
    case EngineOperation::kPause:
      paused_ = true;
      SetPaused(true);
      break;
    case EngineOperation::kStop:
      // Held, not idled: the picture stays until the next load's first frame.
      paused_ = false;
      SetPaused(true);
      loaded_ = false;
      resume_.reset();
      break;
  }
  ShowPauseAdWhenPaused();
}

void DesktopEngine::ShowPauseAdWhenPaused() {
  if (paused_ && loaded_ && player_ != nullptr) {
    pause_ad_.Show(pause_ad_address_);
  } else {
    pause_ad_.Hide();
  }
}

bool DesktopEngine::EnsurePlayer() {
  gtk_widget_realize(area_);  // also a hidden one's; may bring a lost player back (OnRealize)
  if (player_ != nullptr) return true;
  GdkWindow* window = gtk_widget_get_window(area_);
  if (window == nullptr || !GDK_IS_X11_WINDOW(window) || !gdk_window_ensure_native(window)) return false;
  // libmpv parses numbers with the C library and refuses any other decimal point; the
  // toolkit has set the user's locale, and nothing of ours formats numbers by locale.
  std::setlocale(LC_NUMERIC, "C");
  player_ = mpv_create();
  if (player_ == nullptr) return false;
  const std::string window_id = std::to_string(GDK_WINDOW_XID(window));
  mpv_set_option_string(player_, "wid", window_id.c_str());
  // Keys and clicks belong to the program's own window.
  mpv_set_option_string(player_, "input-cursor", "no");
  mpv_set_option_string(player_, "cursor-autohide", "no");
  // Addresses are played as given, never handed to a downloader script.
  mpv_set_option_string(player_, "ytdl", "no");
  // A clip that has played to its end holds its last frame (see the header).
  mpv_set_option_string(player_, "keep-open", "yes");
  // mpv's own output on the X window, on the GPU through EGL where there is one (its
  // probing would refuse a software renderer, and tries Wayland and DRM first), or drawn
  // by the CPU where there is not.
  mpv_set_option_string(player_, "vo", "gpu,x11");
  mpv_set_option_string(player_, "gpu-context", "x11egl");
  if (mpv_initialize(player_) < 0) {
    mpv_terminate_destroy(std::exchange(player_, nullptr));
    return false;
  }
  mpv_observe_property(player_, 0, "eof-reached", MPV_FORMAT_FLAG);
  mpv_set_wakeup_callback(player_, OnWakeup, this);
  return true;
}

void DesktopEngine::EndPlayer() {
  if (player_ == nullptr) return;
  mpv_set_wakeup_callback(player_, nullptr, nullptr);
  // Waits for mpv's threads, so no wakeup comes after this.
  mpv_terminate_destroy(std::exchange(player_, nullptr));
  std::lock_guard lock(wakeup_mutex_);
  if (drain_source_ != 0) g_source_remove(std::exchange(drain_source_, 0));
  loaded_ = false;
}

void DesktopEngine::Load(const std::string& address, double start_seconds) {
  // Named arguments: where loadfile takes its options differs between mpv versions.
  const std::string options = "start=" + std::to_string(start_seconds);
  const char* keys[] = {"name", "url", "flags", "options"};
  const char* values[] = {"loadfile", address.c_str(), "replace", options.c_str()};
  mpv_node arguments[4];
  for (int i = 0; i < 4; ++i) {
    arguments[i].format = MPV_FORMAT_STRING;
    arguments[i].u.string = const_cast<char*>(values[i]);
  }
  mpv_node_list list{start_seconds > 0 ? 4 : 3, arguments, const_cast<char**>(keys)};
  mpv_node command{};
  command.format = MPV_FORMAT_NODE_MAP;
  command.u.list = &list;
  // Asynchronous: opening an address over the network must not hold the window thread.
  mpv_command_node_async(player_, 0, &command);
  loaded_ = true;
  loaded_address_ = address;
  playing_entry_ = -1;  // until mpv reports the load
}

void DesktopEngine::SetPaused(bool paused) {
  if (resume_) resume_->paused = paused;
  if (player_ == nullptr) return;
  int flag = paused ? 1 : 0;
  mpv_set_property_async(player_, 0, "pause", MPV_FORMAT_FLAG, &flag);
}

// On one of mpv's threads.
void DesktopEngine::OnWakeup(void* data) {
  auto* self = static_cast<DesktopEngine*>(data);
  std::lock_guard lock(self->wakeup_mutex_);
  if (self->drain_source_ == 0) self->drain_source_ = g_idle_add(DrainEvents, self);
}

gboolean DesktopEngine::DrainEvents(gpointer data) {
  auto* self = static_cast<DesktopEngine*>(data);
  {
    std::lock_guard lock(self->wakeup_mutex_);
    self->drain_source_ = 0;
  }
  // The program reads nothing back: a file that cannot be played is only reported here.
  // A file that has played to its end, or failed, is loaded again by the next Play; what
  // is reported of a load replaced by a newer one (its end, or its end reached before
  // the newer load began) changes nothing.
  bool ended = false;
  for (;;) {
    mpv_event* event = mpv_wait_event(self->player_, 0);
    if (event->event_id == MPV_EVENT_NONE) break;
    if (event->event_id == MPV_EVENT_START_FILE) {
      self->playing_entry_ = static_cast<const mpv_event_start_file*>(event->data)->playlist_entry_id;
    } else if (event->event_id == MPV_EVENT_END_FILE) {
      const auto* end = static_cast<const mpv_event_end_file*>(event->data);
      if (end->reason == MPV_END_FILE_REASON_ERROR) {
        g_warning("playback engine: cannot play: %s", mpv_error_string(end->error));
      }
      const bool finished = end->reason == MPV_END_FILE_REASON_EOF || end->reason == MPV_END_FILE_REASON_ERROR;
      ended |= finished && end->playlist_entry_id == self->playing_entry_;
    } else if (event->event_id == MPV_EVENT_PROPERTY_CHANGE) {
      const auto* property = static_cast<const mpv_event_property*>(event->data);
      const bool at_end = property->format == MPV_FORMAT_FLAG && *static_cast<const int*>(property->data) != 0;
      ended |= at_end && self->playing_entry_ != -1;
    }
  }
  if (ended && self->loaded_ && self->playing_entry_ != -1) {
    self->loaded_ = false;
    self->ShowPauseAdWhenPaused();
  }
  return G_SOURCE_REMOVE;
}

gboolean DesktopEngine::OnDraw(GtkWidget* widget, cairo_t* cr, gpointer) {
  gtk_render_background(gtk_widget_get_style_context(widget), cr, 0, 0, gtk_widget_get_allocated_width(widget),
                        gtk_widget_get_allocated_height(widget));
  return FALSE;
}

// The video output draws into the area's X window: the player ends before it goes. The
// area loses its window also when the window re-stacks its controls; what played goes on
// where it was once the area has a window again.
void DesktopEngine::OnUnrealize(GtkWidget*, DesktopEngine* self) {
  if (self->player_ != nullptr && self->loaded_) {
    Resume resume{self->loaded_address_};
    int paused = 0;
    mpv_get_property(self->player_, "time-pos", MPV_FORMAT_DOUBLE, &resume.position);
    if (mpv_get_property(self->player_, "pause", MPV_FORMAT_FLAG, &paused) >= 0) resume.paused = paused != 0;
    self->resume_ = resume;
  }
  self->EndPlayer();
}

void DesktopEngine::OnRealize(GtkWidget*, DesktopEngine* self) {
  if (!self->resume_) return;
  const Resume resume = *std::exchange(self->resume_, std::nullopt);
  if (!self->EnsurePlayer()) return;
  self->SetPaused(resume.paused);
  self->Load(resume.address, resume.position);
}

}  // namespace korvane::platform::ui::desktop
