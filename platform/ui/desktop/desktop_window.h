#pragma once
// One open window on the desktop: a GtkWindow whose client area is a GtkLayout, with a
// widget per control placed absolutely in its parent's layout. Every control is a
// GtkLayout of its own size, so that its children sit inside it, move and hide with it and
// are clipped to it; controls that the backend draws itself paint onto that layout, the
// others (list and tree boxes with their picture, edit and check boxes, the web views of
// browser and hypertext boxes, the playback engine) hold the widget that shows them.
// Changed() brings the widgets in step with the model: the window and the tree of
// controls (new, removed, re-parented and re-ordered ones) at once, a control's own
// properties and rows at ShowChanges(), so that a handler's many changes to a control cost
// one update of its widget. Input goes to the program's User* calls, which refuse what the
// user could not reach.

#include <gtk/gtk.h>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "platform/ui/desktop/desktop_browser.h"
#include "platform/ui/desktop/desktop_drawing.h"
#include "platform/ui/desktop/desktop_engine.h"
#include "platform/ui/desktop/desktop_tray.h"
#include "platform/ui/program.h"

namespace korvane::platform::ui::desktop {

class DesktopBackend;

class DesktopWindow {
 public:
  // `owner`: the window a modal one stays above, nullptr for none.
  DesktopWindow(DesktopBackend& backend, Program& program, PictureCache& pictures, UnitModel& window,
                GtkWindow* owner);
  ~DesktopWindow();
  DesktopWindow(const DesktopWindow&) = delete;
  DesktopWindow& operator=(const DesktopWindow&) = delete;

  void Changed(UnitModel& unit);
  // Brings the controls changed since the last call in step with the model; when `draw`,
  // lays out and draws what is invalid in this window now, without running the loop.
  void ShowChanges(bool draw);
  GtkWindow* Toplevel() const { return GTK_WINDOW(toplevel_); }
  GtkWidget* ControlWidget(UnitId unit) const;
  // The page of a browser or hypertext box; nullptr for any other unit.
  WebPage* Page(UnitId unit) const;
  // The engine of a playback engine control of this window, nullptr for another unit.
  DesktopEngine* Engine(UnitId unit) const;
  const DesktopTray& Tray() const { return tray_; }
  void SetCursor(GdkCursor* cursor);

  // The widget kinds of the controls (the rest have no widget).
  static bool HasWidget(UnitKind kind);

 private:
  struct View;

  void DrawNow();
  void SyncWindow(const UnitModel& window);
  void Reconcile(const UnitModel& window);
  View& CreateView(const UnitModel& unit);
  void SyncView(View& view, const UnitModel& unit);
  // Puts the widgets of `children` into `layout` in z-order (back first), at their places.
  void Arrange(GtkWidget* layout, const std::vector<UnitId>& children, GtkWidget* own_widget);
  // Stacks the X windows of `children` in z-order: showing a widget raises its window
  // above its siblings.
  void Restack(const std::vector<UnitId>& children);
  void DropView(UnitId id);
  // Whether a left press moves the window: on its background (`pressed` null), or on a
  // picture box or label without a handler for it, in a draggable window that takes input.
  bool DragsWindow(const UnitModel* pressed) const;
  void BeginDrag(const GdkEventButton& press);

  static gboolean OnRootDraw(GtkWidget* widget, cairo_t* cr, DesktopWindow* self);
  static gboolean OnRootPress(GtkWidget* widget, GdkEventButton* event, DesktopWindow* self);
  static gboolean OnDelete(GtkWidget* widget, GdkEvent* event, DesktopWindow* self);
  static gboolean OnKey(GtkWidget* widget, GdkEventKey* event, DesktopWindow* self);
  static gboolean OnConfigure(GtkWidget* widget, GdkEventConfigure* event, DesktopWindow* self);
  static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, View* view);
  static gboolean OnPress(GtkWidget* widget, GdkEventButton* event, View* view);
  static gboolean OnRelease(GtkWidget* widget, GdkEventButton* event, View* view);
  static gboolean OnCrossing(GtkWidget* widget, GdkEventCrossing* event, View* view);
  static void OnUnrealize(GtkWidget* widget, View* view);
  static void OnToggled(GtkToggleButton* button, View* view);
  static void OnItemSelected(GtkTreeSelection* selection, View* view);
  static void OnRowActivated(GtkTreeView* tree, GtkTreePath* path, GtkTreeViewColumn* column, View* view);

  DesktopBackend& backend_;
  Program& program_;
  PictureCache& pictures_;
  UnitId id_;
  GtkWidget* toplevel_;
  GtkWidget* root_;  // the client area
  bool shown_ = false;
  // What was last asked of the window manager: the user may move or minimise the window
  // meanwhile, and only a change in the model asks again.
  std::optional<Point> placed_;
  std::optional<WindowPosition> positioned_;
  std::map<UnitId, std::unique_ptr<View>> views_;
  std::set<UnitId> pending_;  // controls changed since ShowChanges
  DesktopTray tray_;
};

}  // namespace korvane::platform::ui::desktop
