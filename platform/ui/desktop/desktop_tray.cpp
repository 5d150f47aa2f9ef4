#include "platform/ui/desktop/desktop_tray.h"

#include "platform/ui/desktop/desktop_backend.h"

// GtkStatusIcon is deprecated in GTK 3 but remains its only way into the X11 system tray
// (the alternative, StatusNotifierItem over D-Bus, needs a library of its own).
G_GNUC_BEGIN_IGNORE_DEPRECATIONS

namespace korvane::platform::ui::desktop {

DesktopTray::DesktopTray(DesktopBackend& backend, Program& program, PictureCache& pictures, UnitId window)
    : backend_(backend), program_(program), pictures_(pictures), window_(window) {}

DesktopTray::~DesktopTray() {
  if (icon_ == nullptr) return;
  g_signal_handlers_disconnect_by_data(icon_, this);
  gtk_status_icon_set_visible(icon_, FALSE);
  g_object_unref(icon_);
}

void DesktopTray::Show(const TrayIcon& tray) {
  if (icon_ == nullptr) {
    if (!tray.shown) return;
    icon_ = gtk_status_icon_new();
    g_signal_connect(icon_, "button-press-event", G_CALLBACK(OnButton), this);
    g_signal_connect(icon_, "button-release-event", G_CALLBACK(OnButton), this);
    g_signal_connect(icon_, "popup-menu", G_CALLBACK(OnPopupMenu), this);
  }
  if (tray.shown) {
    if (!shown_picture_ || *shown_picture_ != tray.icon) {
      GdkPixbuf* pixbuf = NewPixbuf(pictures_.Find(tray.icon));
      if (pixbuf != nullptr) {
        gtk_status_icon_set_from_pixbuf(icon_, pixbuf);
        g_object_unref(pixbuf);
      } else {
        gtk_status_icon_set_from_icon_name(icon_, "video-x-generic");  // a window without an icon
      }
      shown_picture_ = tray.icon;
    }
    gtk_status_icon_set_tooltip_text(icon_, ToUtf8(tray.tip).c_str());
  }
  if (gtk_status_icon_get_visible(icon_) != static_cast<gboolean>(tray.shown)) {
    gtk_status_icon_set_visible(icon_, tray.shown);
  }
}

int DesktopTray::EventValue(const GdkEventButton& event) {
  if (event.button == 1 && event.type == GDK_BUTTON_RELEASE) return 1;
  if (event.button == 1 && event.type == GDK_2BUTTON_PRESS) return 2;
  if (event.button == 3 && event.type == GDK_BUTTON_RELEASE) return 3;
  return 0;
}

void DesktopTray::Raise(int value) {
  Program& program = program_;
  const UnitId window = window_;
  // The handler may remove the icon or close its window: nothing of this object is used
  // after it.
  backend_.Guard([&program, window, value] { InputOf(program).UserTrayEvent(Window(program, window), value); });
}

gboolean DesktopTray::OnButton(GtkStatusIcon*, GdkEventButton* event, DesktopTray* self) {
  const int value = EventValue(*event);
  if (value != 0) self->Raise(value);
  // The right button's press is taken here too: the toolkit would raise its menu signal
  // on it, and the event comes with the release.
  return value != 0 || event->button == 3;
}

// The menu key on the icon (the right button's press never gets here, see above).
void DesktopTray::OnPopupMenu(GtkStatusIcon*, guint, guint, DesktopTray* self) { self->Raise(3); }

}  // namespace korvane::platform::ui::desktop

G_GNUC_END_IGNORE_DEPRECATIONS
