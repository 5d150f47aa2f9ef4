#include "platform/ui/desktop/desktop_pause_ad.h"

#include "platform/ui/desktop/desktop_browser.h"

namespace korvane::platform::ui::desktop {

PauseAd::PauseAd() : view_(WEBKIT_WEB_VIEW(g_object_ref_sink(webkit_web_view_new()))) {
  GtkWidget* widget = Widget();
  gtk_widget_set_no_show_all(widget, TRUE);  // shown only with its page
  g_signal_connect_after(widget, "realize", G_CALLBACK(OnRealize), nullptr);
  g_signal_connect(view_, "load-changed", G_CALLBACK(OnLoadChanged), this);
  g_signal_connect(view_, "load-failed", G_CALLBACK(OnLoadFailed), this);
  g_signal_connect(view_, "decide-policy", G_CALLBACK(OnDecidePolicy), this);
  g_signal_connect(view_, "context-menu", G_CALLBACK(+[](WebKitWebView*, WebKitContextMenu*, GdkEvent*,
                                                         WebKitHitTestResult*, gpointer) { return TRUE; }),
                   nullptr);
}

PauseAd::~PauseAd() {
  g_signal_handlers_disconnect_by_data(view_, this);
  g_object_unref(view_);
}

void PauseAd::PutOver(GtkOverlay* overlay) { gtk_overlay_add_overlay(overlay, Widget()); }

void PauseAd::Show(const std::string& uri) {
  if (uri.empty()) {
    Hide();
    return;
  }
  if (uri == wanted_) return;
  wanted_ = uri;
  gtk_widget_hide(Widget());
  webkit_web_view_load_uri(view_, uri.c_str());
}

void PauseAd::Hide() {
  gtk_widget_hide(Widget());
  if (wanted_.empty()) return;
  wanted_.clear();
  webkit_web_view_load_uri(view_, "about:blank");
}

void PauseAd::OnRealize(GtkWidget* widget, gpointer) {
  // Realizing again after a re-stack makes a new window, native again.
  gdk_window_ensure_native(gtk_widget_get_window(widget));
}

void PauseAd::OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, PauseAd* self) {
  if (event == WEBKIT_LOAD_STARTED) self->failed_ = false;
  if (event != WEBKIT_LOAD_FINISHED || self->failed_ || self->wanted_.empty()) return;
  const gchar* shown = webkit_web_view_get_uri(view);
  if (shown != nullptr && shown != std::string_view("about:blank")) gtk_widget_show(self->Widget());
}

gboolean PauseAd::OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar*, GError*, PauseAd* self) {
  self->failed_ = true;
  return TRUE;  // no error page: nothing shows
}

gboolean PauseAd::OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                                 PauseAd* self) {
  if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) return FALSE;
  WebKitNavigationAction* action =
      webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  const bool link = webkit_navigation_action_get_navigation_type(action) == WEBKIT_NAVIGATION_TYPE_LINK_CLICKED;
  if (!link && type != WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) return FALSE;  // the page's own loads
  webkit_policy_decision_ignore(decision);
  if (link) OpenInDesktopBrowser(self->Widget(), webkit_uri_request_get_uri(webkit_navigation_action_get_request(action)));
  return TRUE;
}

}  // namespace korvane::platform::ui::desktop
