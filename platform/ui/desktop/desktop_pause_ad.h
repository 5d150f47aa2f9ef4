#pragma once
// The pause-ad page over the paused video: a WebKitWebView over the engine's whole area,
// in which the page lays out its ad. It shows once the page has loaded, so that neither
// a blank page nor WebKit's error page covers the picture; hidden, it holds an empty
// page, so that nothing of the ad runs behind the video. Links in the page open in the desktop's browser, as an ad's clicks are meant
// to; the page opens no windows and has no context menu.
//
// mpv draws into a native X window, which covers any window of the toolkit's own drawn
// beside it: the view has a native window too, stacked above the video's.

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <string>

namespace korvane::platform::ui::desktop {

class PauseAd {
 public:
  PauseAd();
  ~PauseAd();
  PauseAd(const PauseAd&) = delete;
  PauseAd& operator=(const PauseAd&) = delete;

  // Puts the page over the main child of `overlay` (the video).
  void PutOver(GtkOverlay* overlay);
  GtkWidget* Widget() const { return GTK_WIDGET(view_); }
  // `uri` as WebKit takes it, of an address that has passed the gate (web_address.h);
  // empty: nothing shows.
  void Show(const std::string& uri);
  void Hide();

 private:
  static void OnRealize(GtkWidget* widget, gpointer);
  static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, PauseAd* self);
  static gboolean OnLoadFailed(WebKitWebView* view, WebKitLoadEvent event, gchar* uri, GError* error, PauseAd* self);
  static gboolean OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                                 PauseAd* self);

  WebKitWebView* view_;  // we hold a reference
  std::string wanted_;   // the page to show; empty while hidden
  bool failed_ = false;  // the load under way has failed
};

}  // namespace korvane::platform::ui::desktop
