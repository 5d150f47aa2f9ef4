#pragma once
// The page of a browser box or hypertext box: a WebKitWebView (WebKitGTK 4.1) inside the
// control's layout.
//
// A browser box keeps its history in the model, as on the headless backend: navigating,
// back, forward and refresh each load one address of it. Once the page has arrived, the
// model holds its address and bytes and Navigated is raised with the address; when
// loading has finished (pictures and frames too) PageComplete follows, never before the
// Navigated handler has returned. The bytes are WebKit's own copy of the main resource
// as it came off the wire, so they are exactly those the page was built from (GBK for
// the catalogue pages), and no second request reaches the server. A page that cannot be
// reached raises both events with no bytes, as an empty answer does headless. A link the
// user follows (also one that asks for a new window) goes through Program::UserNavigate,
// and a right click through Program::UserShortcutMenu, so the refusal rules apply; the
// view's own context menu is never shown. Stop ends the load: nothing more is raised
// for it. An address the program refuses shows an empty page and raises nothing.
//
// A hypertext box shows the page at its Address; links in it are followed in place.
//
// Addresses are GBK texts; they reach WebKit as WireAddress gives them to the network.

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <memory>
#include <string>

#include "platform/ui/backend.h"
#include "platform/ui/program.h"

namespace korvane::platform::ui::desktop {

class DesktopBackend;

// Hands a link of an ad page to the desktop's browser; the address comes from the
// network, so only web addresses are handed on.
void OpenInDesktopBrowser(GtkWidget* from, const char* uri);

class WebPage {
 public:
  WebPage(DesktopBackend& backend, Program& program, const UnitModel& unit);
  ~WebPage();
  WebPage(const WebPage&) = delete;
  WebPage& operator=(const WebPage&) = delete;

  GtkWidget* Widget() const { return GTK_WIDGET(view_); }

  // Browser boxes: a load that Program asked for (its history has moved), stop, and the
  // empty page of a refused address, which is no load of the program's.
  void StartLoad(const Text& address);
  void Stop();
  void ShowBlank();
  // Hypertext boxes: loads the box's Address.
  void Show(const UnitModel& box);

 private:
  // The load under way; a new load, or stop, starts another generation, and whatever
  // WebKit still reports for an older one is dropped.
  struct Load {
    int generation = 0;
    Text address;
    bool requested = false;      // asked for by the program (navigate, back, ...)
    bool started = false;        // WebKit has begun it
    bool bytes_asked = false;    // the main resource's bytes are on their way
    bool failed = false;         // no page came
    bool finished = false;       // WebKit has finished it
    bool navigated = false;      // the Navigated handler has returned
    bool completed = false;      // PageComplete raised
    bool blank = false;          // the empty page: nothing is reported
  };
  struct BytesRequest;

  void AskForBytes();
  void PageArrived(int generation, std::string bytes);
  void RaisePageCompleteWhenDue();
  bool IsBrowser() const { return kind_ == UnitKind::kWebBrowserBox; }

  static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, WebPage* self);
  static gboolean OnLoadFailed(WebKitWebView* view, WebKitLoadEvent event, gchar* uri, GError* error, WebPage* self);
  static void OnMainResourceFinished(WebKitWebResource* resource, WebPage* self);
  static void OnBytes(GObject* resource, GAsyncResult* result, gpointer request);
  static gboolean OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                                 WebPage* self);
  static gboolean OnContextMenu(WebKitWebView* view, WebKitContextMenu* menu, GdkEvent* event,
                                WebKitHitTestResult* hit, WebPage* self);

  DesktopBackend& backend_;
  Program& program_;
  UnitId id_;
  UnitKind kind_;
  WebKitWebView* view_;  // we hold a reference
  GCancellable* cancellable_;
  WebKitWebResource* watched_resource_ = nullptr;  // whose "finished" we wait for
  Load load_;
  bool error_page_coming_ = false;  // WebKit's page for a failed load is part of that load
  int generation_ = 0;
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);  // handlers see whether the page outlived them
};

}  // namespace korvane::platform::ui::desktop
