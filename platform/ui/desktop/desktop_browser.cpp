#include "platform/ui/desktop/desktop_browser.h"

#include <memory>
#include <utility>

#include "common/text.h"
#include "platform/services/web_address.h"
#include "platform/services/wire_address.h"
#include "platform/ui/desktop/desktop_backend.h"

namespace korvane::platform::ui::desktop {
namespace {

std::string UriOf(const Text& address) {
  return address.empty() ? std::string("about:blank") : WireAddress(address);
}

Text AddressOf(const gchar* uri) { return uri == nullptr ? Text() : Utf8ToGbk(AsUtf8(uri)); }

// A load that ends because another one, or stop, took its place is not a failure.
bool EndedOnPurpose(const GError* error) {
  return g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) ||
         g_error_matches(error, WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE);
}

}  // namespace

struct WebPage::BytesRequest {
  WebPage* page;
  int generation;
};

WebPage::WebPage(DesktopBackend& backend, Program& program, const UnitModel& unit)
    : backend_(backend),
      program_(program),
      id_(unit.id),
      kind_(unit.kind),
      view_(WEBKIT_WEB_VIEW(g_object_ref_sink(webkit_web_view_new()))),
      cancellable_(g_cancellable_new()) {
  g_signal_connect(view_, "load-changed", G_CALLBACK(OnLoadChanged), this);
  g_signal_connect(view_, "load-failed", G_CALLBACK(OnLoadFailed), this);
  g_signal_connect(view_, "decide-policy", G_CALLBACK(OnDecidePolicy), this);
  g_signal_connect(view_, "context-menu", G_CALLBACK(OnContextMenu), this);
  const HypertextState* hypertext = unit.StateOf<HypertextState>();
  if (hypertext != nullptr && !hypertext->address.empty()) Show(unit);
}

WebPage::~WebPage() {
  // Replies still on their way find the request cancelled and leave this page alone.
  g_cancellable_cancel(cancellable_);
  g_signal_handlers_disconnect_by_data(view_, this);
  if (watched_resource_ != nullptr) {
    g_signal_handlers_disconnect_by_data(watched_resource_, this);
    g_object_unref(watched_resource_);
  }
  g_object_unref(view_);
  g_object_unref(cancellable_);
}

void WebPage::Stop() {
  load_ = Load{++generation_, {}, false};
  webkit_web_view_stop_loading(view_);
}

void WebPage::ShowBlank() {
  load_ = Load{++generation_, {}, false};
  load_.blank = true;
  error_page_coming_ = false;
  webkit_web_view_load_uri(view_, UriOf({}).c_str());
}

void WebPage::Show(const UnitModel& box) {
  webkit_web_view_load_uri(view_, UriOf(std::get<HypertextState>(box.state).address).c_str());
}

void WebPage::StartLoad(const Text& address) {
  load_ = Load{++generation_, address, true};
  error_page_coming_ = false;
  webkit_web_view_load_uri(view_, UriOf(address).c_str());
}

void WebPage::AskForBytes() {
  if (load_.bytes_asked) return;
  load_.bytes_asked = true;
  WebKitWebResource* resource = webkit_web_view_get_main_resource(view_);
  if (resource == nullptr) {
    PageArrived(load_.generation, {});
    return;
  }
  webkit_web_resource_get_data(resource, cancellable_, OnBytes, new BytesRequest{this, load_.generation});
}

void WebPage::PageArrived(int generation, std::string bytes) {
  if (generation != load_.generation || load_.navigated) return;
  if (InspectionOf(program_).FindModel(id_) == nullptr) return;
  // The handler may remove this very control: nothing of the page is touched after it
  // unless the page is still there.
  Program& program = program_;
  const UnitId id = id_;
  const Text address = load_.address;
  const std::weak_ptr<int> still_here = alive_;
  backend_.Guard([&program, id, &address, &bytes] { ReportsOf(program).PageArrived(id, address, std::move(bytes)); });
  if (still_here.expired() || generation != load_.generation) return;  // removed, or another load began
  load_.navigated = true;
  RaisePageCompleteWhenDue();
}

void WebPage::RaisePageCompleteWhenDue() {
  if (!load_.navigated || !load_.finished || load_.completed) return;
  load_.completed = true;
  Program& program = program_;
  const UnitId id = id_;
  backend_.Guard([&program, id] { ReportsOf(program).RaiseEvent(id, "PageComplete", {0}); });
}

void WebPage::OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, WebPage* self) {
  if (!self->IsBrowser()) return;
  Load& load = self->load_;
  if (load.blank) return;
  switch (event) {
    case WEBKIT_LOAD_STARTED:
      if (std::exchange(self->error_page_coming_, false)) return;
      if (!load.requested || load.started) {
        // Not one of ours (a form, a script moving the page): a history entry like any.
        if (InspectionOf(self->program_).FindModel(self->id_) == nullptr) return;
        const Text address = AddressOf(webkit_web_view_get_uri(view));
        ReportsOf(self->program_).BrowserMovedItself(self->id_, address);
        load = Load{++self->generation_, address, true};
      }
      load.started = true;
      break;
    case WEBKIT_LOAD_REDIRECTED: break;
    case WEBKIT_LOAD_COMMITTED: {
      if (!load.started) return;
      WebKitWebResource* resource = webkit_web_view_get_main_resource(view);
      if (resource == nullptr || resource == self->watched_resource_) return;
      if (self->watched_resource_ != nullptr) {
        g_signal_handlers_disconnect_by_data(self->watched_resource_, self);
        g_object_unref(self->watched_resource_);
      }
      self->watched_resource_ = WEBKIT_WEB_RESOURCE(g_object_ref(resource));
      g_signal_connect(resource, "finished", G_CALLBACK(OnMainResourceFinished), self);
      break;
    }
    case WEBKIT_LOAD_FINISHED:
      if (!load.started || load.finished) return;
      load.finished = true;
      if (load.failed && !load.bytes_asked) {
        self->PageArrived(load.generation, {});
      } else if (!load.bytes_asked) {
        self->AskForBytes();
      } else {
        self->RaisePageCompleteWhenDue();
      }
      break;
  }
}

gboolean WebPage::OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar*, GError* error, WebPage* self) {
  if (!self->IsBrowser() || !self->load_.started || EndedOnPurpose(error)) return FALSE;
  self->load_.failed = true;
  self->error_page_coming_ = true;
  return FALSE;  // WebKit shows its error page
}

void WebPage::OnMainResourceFinished(WebKitWebResource* resource, WebPage* self) {
  if (resource == self->watched_resource_ && self->load_.started) self->AskForBytes();
}

void WebPage::OnBytes(GObject* resource, GAsyncResult* result, gpointer data) {
  std::unique_ptr<BytesRequest> request(static_cast<BytesRequest*>(data));
  gsize size = 0;
  GError* error = nullptr;
  guchar* bytes = webkit_web_resource_get_data_finish(WEBKIT_WEB_RESOURCE(resource), result, &size, &error);
  if (error != nullptr) {
    const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
    g_error_free(error);
    if (cancelled) return;  // the page is gone
  }
  std::string page = bytes == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(bytes), size);
  g_free(bytes);
  request->page->PageArrived(request->generation, std::move(page));
}

gboolean WebPage::OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                                 WebPage* self) {
  if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
    // What the view cannot show is not saved either: no download starts behind the user.
    if (webkit_response_policy_decision_is_mime_type_supported(WEBKIT_RESPONSE_POLICY_DECISION(decision))) {
      return FALSE;
    }
    webkit_policy_decision_ignore(decision);
    return TRUE;
  }
  WebKitNavigationAction* action =
      webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  const bool link = webkit_navigation_action_get_navigation_type(action) == WEBKIT_NAVIGATION_TYPE_LINK_CLICKED;
  const bool new_window = type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION;
  if (!link) {
    // Pages open no windows of their own (pop-ups).
    if (new_window) webkit_policy_decision_ignore(decision);
    return new_window;
  }
  const gchar* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
  if (!self->IsBrowser()) {
    if (!new_window) return FALSE;  // followed in place
    // An ad asking for a window of its own opens in the desktop's browser; the address
    // comes from the network, so it passes the gate first.
    webkit_policy_decision_ignore(decision);
    if (uri == nullptr || GatedAddress(uri, AddressUse::kOpen).empty()) return TRUE;
    GtkWidget* toplevel = gtk_widget_get_toplevel(GTK_WIDGET(self->view_));
    gtk_show_uri_on_window(GTK_IS_WINDOW(toplevel) ? GTK_WINDOW(toplevel) : nullptr, uri, GDK_CURRENT_TIME, nullptr);
    return TRUE;
  }
  // The browser's own history holds the page, and the program may refuse the click.
  webkit_policy_decision_ignore(decision);
  Program& program = self->program_;
  self->backend_.Post([&program, id = self->id_, address = AddressOf(uri)] {
    InputOf(program).UserNavigate(WebBrowserBox(program, id), address);
  });
  return TRUE;
}

gboolean WebPage::OnContextMenu(WebKitWebView*, WebKitContextMenu*, GdkEvent*, WebKitHitTestResult*, WebPage* self) {
  if (self->IsBrowser()) {
    Program& program = self->program_;
    self->backend_.Post([&program, id = self->id_] { InputOf(program).UserShortcutMenu(WebBrowserBox(program, id)); });
  }
  return TRUE;  // never the view's own menu
}

}  // namespace korvane::platform::ui::desktop
