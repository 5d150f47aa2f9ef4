#include "platform/ui/desktop/desktop_window.h"

#include <algorithm>
#include <ranges>
#include <string>

#include "platform/ui/desktop/desktop_backend.h"
#include "platform/ui/desktop/desktop_cursor.h"
#include "platform/ui/desktop/desktop_item_rows.h"
#include "platform/ui/unit_kinds.h"

namespace korvane::platform::ui::desktop {
namespace {

constexpr gint kPointerEvents = GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_ENTER_NOTIFY_MASK |
                                GDK_LEAVE_NOTIFY_MASK;

// One column: the list's picture (hidden while it has none), then the item's text.
GtkWidget* NewItemView(GtkTreeModel* model, GtkCellRenderer* picture) {
  GtkWidget* view = gtk_tree_view_new_with_model(model);
  g_object_unref(model);
  gtk_tree_view_set_headers_visible(GTK_TREE_VIEW(view), FALSE);
  GtkTreeViewColumn* column = gtk_tree_view_column_new();
  g_object_set(picture, "visible", FALSE, nullptr);
  gtk_tree_view_column_pack_start(column, picture, FALSE);
  GtkCellRenderer* text = gtk_cell_renderer_text_new();
  gtk_tree_view_column_pack_start(column, text, TRUE);
  gtk_tree_view_column_add_attribute(column, text, "text", kItemText);
  // Every row is as high as the first: the view measures one row, not each of thousands.
  gtk_tree_view_column_set_sizing(column, GTK_TREE_VIEW_COLUMN_FIXED);
  gtk_tree_view_append_column(GTK_TREE_VIEW(view), column);
  gtk_tree_view_set_fixed_height_mode(GTK_TREE_VIEW(view), TRUE);
  gtk_tree_selection_set_mode(gtk_tree_view_get_selection(GTK_TREE_VIEW(view)), GTK_SELECTION_SINGLE);
  return view;
}

GtkWidget* InScrolledWindow(GtkWidget* widget, bool vertical_bar) {
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_NEVER,
                                 vertical_bar ? GTK_POLICY_AUTOMATIC : GTK_POLICY_EXTERNAL);
  // A bar that stays while the rows do not fit, not one that shows only under the pointer.
  gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(scrolled), FALSE);
  gtk_container_add(GTK_CONTAINER(scrolled), widget);
  return scrolled;
}

// Moves and sizes only what has changed: each change makes GTK lay the window out again.
void PlaceChild(GtkWidget* layout, GtkWidget* child, int x, int y) {
  int at_x = 0;
  int at_y = 0;
  gtk_container_child_get(GTK_CONTAINER(layout), child, "x", &at_x, "y", &at_y, nullptr);
  if (at_x != x || at_y != y) gtk_layout_move(GTK_LAYOUT(layout), child, x, y);
}

void SetSize(GtkWidget* widget, int width, int height) {
  int now_width = 0;
  int now_height = 0;
  gtk_widget_get_size_request(widget, &now_width, &now_height);
  if (now_width != width || now_height != height) gtk_widget_set_size_request(widget, width, height);
}

std::string CssColour(Colour colour) {
  char text[8];
  g_snprintf(text, sizeof text, "#%02x%02x%02x", colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF);
  return text;
}

// The layout's font and colours for a toolkit widget; the theme's where the layout says
// the system's.
std::string WidgetCss(const UnitModel& unit) {
  const Font& font = unit.font;
  std::string families;
  for (const auto family : std::views::split(FontFamilies(font), ',')) {
    families += (families.empty() ? "\"" : ", \"") + std::string(family.begin(), family.end()) + "\"";
  }
  std::string css = "* { font-family: " + families + ";" +
                    " font-size: " + std::to_string((font.size_points * 96 + 36) / 72) + "px;" +
                    " font-weight: " + std::to_string(std::clamp(font.weight, 100, 900)) + ";" +
                    (font.italic ? " font-style: italic;" : "");
  if (unit.text_colour != kDefaultColour) css += " color: " + CssColour(unit.text_colour) + ";";
  if (unit.back_colour != kDefaultColour) {
    css += " background-color: " + CssColour(unit.back_colour) + "; background-image: none;";
  }
  // The layout's colours are the rows' own; the selected row keeps the theme's, or no
  // row would look selected.
  std::string selected_rows;
  if (const DesktopPeer peer = Describe(unit.kind).peer; peer == DesktopPeer::kListView || peer == DesktopPeer::kTreeView) {
    css += " -GtkTreeView-vertical-separator: 0;";
    selected_rows = " *:selected { background-color: @theme_selected_bg_color; color: @theme_selected_fg_color; }";
  }
  css += " }";
  // The box as the original draws it: 13 by 13 at the left, centred in the height, with
  // no padding around it.
  if (Describe(unit.kind).peer == DesktopPeer::kCheckButton) {
    css += " checkbutton { padding: 0; margin: 0; } check { margin: 0 4px 0 0; padding: 0;"
           " min-width: 11px; min-height: 11px; }";
  }
  return css + selected_rows;
}

// Rows as high as a line of the font, or as the list's picture where that is higher, with
// no gap between them.
void FitRowsToFont(GtkTreeView* tree, const Font& font) {
  PangoLayout* layout = gtk_widget_create_pango_layout(GTK_WIDGET(tree), "Ag");
  PangoFontDescription* description = NewFontDescription(font);
  pango_layout_set_font_description(layout, description);
  pango_font_description_free(description);
  int line_width = 0;
  int line_height = 0;
  pango_layout_get_pixel_size(layout, &line_width, &line_height);
  g_object_unref(layout);
  GList* cells = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(gtk_tree_view_get_column(tree, 0)));
  for (GList* cell = cells; cell != nullptr; cell = cell->next) {
    gtk_cell_renderer_set_padding(GTK_CELL_RENDERER(cell->data), 2, 0);
    if (GTK_IS_CELL_RENDERER_TEXT(cell->data)) {
      gtk_cell_renderer_set_fixed_size(GTK_CELL_RENDERER(cell->data), -1, line_height);
    }
  }
  g_list_free(cells);
}

// A close box only: no minimise or maximise button, no resizing frame. Set once the
// window has its X window, before it is mapped.
void OfferOnlyMoveAndClose(GtkWidget* toplevel) {
  GdkWindow* frame = gtk_widget_get_window(toplevel);
  gdk_window_set_functions(frame, static_cast<GdkWMFunction>(GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
  gdk_window_set_decorations(frame, static_cast<GdkWMDecoration>(GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU));
}

void ApplyCss(GtkWidget* widget, GtkCssProvider* provider) {
  gtk_style_context_add_provider(gtk_widget_get_style_context(widget), GTK_STYLE_PROVIDER(provider),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

}  // namespace

struct DesktopWindow::View {
  DesktopWindow* owner = nullptr;
  UnitId id = 0;
  UnitKind kind = UnitKind::kPictureBox;
  DesktopPeer peer = DesktopPeer::kDrawn;
  GtkWidget* box = nullptr;    // the control's own layout; we hold a reference
  GtkWidget* outer = nullptr;  // the GTK widget inside it, if any (a scrolled window or the widget)
  GtkWidget* widget = nullptr;  // the tree view, text view, entry or check button
  GtkCssProvider* style = nullptr;  // the layout's font and colours for `widget`
  std::string css;
  PointerState pointer;
  bool syncing = false;  // set while the model's state is written into the widget
  ShownRows rows;    // list boxes
  ShownItems items;  // tree boxes
  GtkCellRenderer* picture_cell = nullptr;  // list and tree boxes: draws their picture
  Text picture;
  std::unique_ptr<WebPage> page;  // browser and hypertext boxes
  std::unique_ptr<DesktopEngine> engine;
};

bool DesktopWindow::HasWidget(UnitKind kind) { return Describe(kind).peer != DesktopPeer::kNone; }

DesktopWindow::DesktopWindow(DesktopBackend& backend, Program& program, PictureCache& pictures, UnitModel& window,
                             GtkWindow* owner)
    : backend_(backend), program_(program), pictures_(pictures), id_(window.id),
      tray_(backend, program, pictures, window.id) {
  const WindowState& state = *window.window_state;
  toplevel_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_resizable(GTK_WINDOW(toplevel_), FALSE);
  gtk_window_set_decorated(GTK_WINDOW(toplevel_), state.frame == WindowFrame::kFixedDialog);
  if (state.frame == WindowFrame::kFixedDialog) {
    gtk_window_set_type_hint(GTK_WINDOW(toplevel_), GDK_WINDOW_TYPE_HINT_DIALOG);
  }
  gtk_window_set_modal(GTK_WINDOW(toplevel_), state.modal);
  gtk_window_set_transient_for(GTK_WINDOW(toplevel_), owner);
  if (state.frame == WindowFrame::kFixedDialog) {
    g_signal_connect_after(toplevel_, "realize", G_CALLBACK(OfferOnlyMoveAndClose), nullptr);
  }
  if (GdkPixbuf* pixbuf = NewPixbuf(pictures_.Find(state.icon))) {
    gtk_window_set_icon(GTK_WINDOW(toplevel_), pixbuf);
    g_object_unref(pixbuf);
  }
  root_ = gtk_layout_new(nullptr, nullptr);
  gtk_widget_add_events(root_, GDK_BUTTON_PRESS_MASK);
  g_signal_connect(root_, "draw", G_CALLBACK(OnRootDraw), this);
  g_signal_connect(root_, "button-press-event", G_CALLBACK(OnRootPress), this);
  gtk_container_add(GTK_CONTAINER(toplevel_), root_);
  gtk_widget_show(root_);
  g_signal_connect(toplevel_, "delete-event", G_CALLBACK(OnDelete), this);
  g_signal_connect(toplevel_, "key-press-event", G_CALLBACK(OnKey), this);
  g_signal_connect(toplevel_, "configure-event", G_CALLBACK(OnConfigure), this);
  Reconcile(window);
  SyncWindow(window);
}

DesktopWindow::~DesktopWindow() {
  gtk_widget_destroy(toplevel_);
  for (auto& [id, view] : views_) {
    g_object_unref(view->box);
    if (view->style != nullptr) g_object_unref(view->style);
  }
}

GtkWidget* DesktopWindow::ControlWidget(UnitId unit) const {
  auto found = views_.find(unit);
  return found == views_.end() ? nullptr : found->second->box;
}

WebPage* DesktopWindow::Page(UnitId unit) const {
  auto found = views_.find(unit);
  return found == views_.end() ? nullptr : found->second->page.get();
}

DesktopEngine* DesktopWindow::Engine(UnitId unit) const {
  auto found = views_.find(unit);
  return found == views_.end() ? nullptr : found->second->engine.get();
}

void DesktopWindow::SetCursor(GdkCursor* cursor) {
  if (GdkWindow* window = gtk_widget_get_window(toplevel_)) gdk_window_set_cursor(window, cursor);
}

void DesktopWindow::Changed(UnitModel& unit) {
  if (unit.IsWindow()) {
    Reconcile(unit);
    SyncWindow(unit);
    return;
  }
  auto found = views_.find(unit.id);
  if (found == views_.end()) {
    if (HasWidget(unit.kind)) Reconcile(*unit.window);
    return;
  }
  pending_.insert(unit.id);
}

void DesktopWindow::ShowChanges(bool draw) {
  for (UnitId id : std::exchange(pending_, {})) {
    auto found = views_.find(id);
    const UnitModel* unit = InspectionOf(program_).FindModel(id);
    if (found == views_.end() || unit == nullptr) continue;
    View& view = *found->second;
    SyncView(view, *unit);
    if (GtkWidget* parent = gtk_widget_get_parent(view.box)) {
      PlaceChild(parent, view.box, unit->rect.left, unit->rect.top);
    }
    Arrange(view.box, unit->children, view.outer);
    const UnitModel* parent = unit->parent == 0 ? unit->window : InspectionOf(program_).FindModel(unit->parent);
    if (parent != nullptr) Restack(parent->children);
  }
  if (draw) DrawNow();
}

void DesktopWindow::DrawNow() {
  if (!gtk_widget_get_mapped(toplevel_)) return;
  gtk_container_check_resize(GTK_CONTAINER(toplevel_));  // places and sizes first
  // GTK 3 draws from its frame clock in the loop; this paints the window's invalid
  // region at once instead.
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gdk_window_process_updates(gtk_widget_get_window(toplevel_), TRUE);
  G_GNUC_END_IGNORE_DEPRECATIONS
  gdk_display_flush(gtk_widget_get_display(toplevel_));
}

void DesktopWindow::Restack(const std::vector<UnitId>& children) {
  for (UnitId child : children) {
    auto found = views_.find(child);
    if (found == views_.end() || !gtk_widget_get_realized(found->second->box)) continue;
    gdk_window_raise(gtk_widget_get_window(found->second->box));
  }
}

void DesktopWindow::SyncWindow(const UnitModel& window) {
  const WindowState& state = *window.window_state;
  GtkWindow* toplevel = GTK_WINDOW(toplevel_);
  gtk_window_set_title(toplevel, ToUtf8(window.caption).c_str());
  const Window handle(program_, window.id);
  SetSize(root_, handle.DrawableWidth(), handle.DrawableHeight());
  const Point place{window.rect.left, window.rect.top};
  if (!placed_ || placed_->x != place.x || placed_->y != place.y) {
    gtk_window_move(toplevel, place.x, place.y);
    placed_ = place;
  }
  gtk_window_set_keep_above(toplevel, state.always_on_top);
  gtk_window_set_skip_taskbar_hint(toplevel, !state.taskbar_button);
  gtk_window_set_skip_pager_hint(toplevel, !state.taskbar_button);
  // A window of no size (a program's hidden start window) has nothing to show.
  const bool show = window.visible && window.rect.width > 0 && window.rect.height > 0;
  if (show && !shown_) {
    gtk_widget_show(toplevel_);
  } else if (!show && shown_) {
    gtk_widget_hide(toplevel_);
  }
  shown_ = show;
  if (show && positioned_ != state.position) {
    positioned_ = state.position;
    switch (state.position) {
      case WindowPosition::kMinimised: gtk_window_iconify(toplevel); break;
      case WindowPosition::kMaximised: gtk_window_maximize(toplevel); break;
      case WindowPosition::kNormal:
        gtk_window_deiconify(toplevel);
        gtk_window_unmaximize(toplevel);
        break;
    }
  }
  tray_.Show(state.tray);
  gtk_widget_queue_draw(root_);
}

void DesktopWindow::Reconcile(const UnitModel& window) {
  std::vector<UnitId> gone;
  for (const auto& [id, view] : views_) {
    if (InspectionOf(program_).FindModel(id) == nullptr) gone.push_back(id);
  }
  // Out of their parents first, so that dropping one never takes another with it.
  for (UnitId id : gone) {
    GtkWidget* box = views_[id]->box;
    if (GtkWidget* parent = gtk_widget_get_parent(box)) gtk_container_remove(GTK_CONTAINER(parent), box);
  }
  for (UnitId id : gone) DropView(id);
  for (const auto& control : window.window_state->controls) {
    if (HasWidget(control->kind) && !views_.contains(control->id)) CreateView(*control);
  }
  Arrange(root_, window.children, nullptr);
  for (const auto& control : window.window_state->controls) {
    auto found = views_.find(control->id);
    if (found != views_.end()) Arrange(found->second->box, control->children, found->second->outer);
  }
}

void DesktopWindow::DropView(UnitId id) {
  auto found = views_.find(id);
  gtk_widget_destroy(found->second->box);
  g_object_unref(found->second->box);
  if (found->second->style != nullptr) g_object_unref(found->second->style);
  views_.erase(found);
}

void DesktopWindow::Arrange(GtkWidget* layout, const std::vector<UnitId>& children, GtkWidget* own_widget) {
  std::vector<std::pair<GtkWidget*, const UnitModel*>> wanted;
  for (UnitId child : children) {
    auto found = views_.find(child);
    const UnitModel* model = InspectionOf(program_).FindModel(child);
    if (found != views_.end() && model != nullptr) wanted.emplace_back(found->second->box, model);
  }
  std::vector<GtkWidget*> present;
  GList* list = gtk_container_get_children(GTK_CONTAINER(layout));
  for (GList* item = list; item != nullptr; item = item->next) {
    if (item->data != own_widget) present.push_back(GTK_WIDGET(item->data));
  }
  g_list_free(list);
  const bool in_order = std::equal(present.begin(), present.end(), wanted.begin(), wanted.end(),
                                   [](GtkWidget* widget, const auto& child) { return widget == child.first; });
  if (in_order) {
    for (const auto& [box, model] : wanted) PlaceChild(layout, box, model->rect.left, model->rect.top);
    return;
  }
  // Children are stacked in the order they are put in: put them back in z-order. The
  // views hold references, so taking a widget out does not free it.
  for (GtkWidget* widget : present) gtk_container_remove(GTK_CONTAINER(layout), widget);
  for (const auto& [box, model] : wanted) {
    if (GtkWidget* parent = gtk_widget_get_parent(box)) gtk_container_remove(GTK_CONTAINER(parent), box);
    gtk_layout_put(GTK_LAYOUT(layout), box, model->rect.left, model->rect.top);
  }
}

DesktopWindow::View& DesktopWindow::CreateView(const UnitModel& unit) {
  auto created = std::make_unique<View>();
  View& view = *created;
  view.owner = this;
  view.id = unit.id;
  view.kind = unit.kind;
  view.peer = Describe(unit.kind).peer;
  view.box = gtk_layout_new(nullptr, nullptr);
  g_object_ref_sink(view.box);
  gtk_widget_add_events(view.box, kPointerEvents);
  g_signal_connect(view.box, "draw", G_CALLBACK(OnDraw), &view);
  g_signal_connect(view.box, "button-press-event", G_CALLBACK(OnPress), &view);
  g_signal_connect(view.box, "button-release-event", G_CALLBACK(OnRelease), &view);
  g_signal_connect(view.box, "enter-notify-event", G_CALLBACK(OnCrossing), &view);
  g_signal_connect(view.box, "leave-notify-event", G_CALLBACK(OnCrossing), &view);
  g_signal_connect(view.box, "unrealize", G_CALLBACK(OnUnrealize), &view);
  switch (view.peer) {
    case DesktopPeer::kListView:
    case DesktopPeer::kTreeView: {
      GtkTreeModel* store = view.peer == DesktopPeer::kListView
                                ? GTK_TREE_MODEL(gtk_list_store_new(2, G_TYPE_STRING, G_TYPE_INT))
                                : GTK_TREE_MODEL(gtk_tree_store_new(2, G_TYPE_STRING, G_TYPE_INT));
      view.picture_cell = gtk_cell_renderer_pixbuf_new();
      view.widget = NewItemView(store, view.picture_cell);
      view.outer = InScrolledWindow(view.widget, true);
      g_signal_connect(gtk_tree_view_get_selection(GTK_TREE_VIEW(view.widget)), "changed",
                       G_CALLBACK(OnItemSelected), &view);
      if (view.peer == DesktopPeer::kTreeView) {
        g_signal_connect(view.widget, "row-activated", G_CALLBACK(OnRowActivated), &view);
      }
      break;
    }
    case DesktopPeer::kTextView: {
      // The model has no way for the user to change an edit box's text: it shows the text
      // for reading and copying.
      const EditBoxState& edit = std::get<EditBoxState>(unit.state);
      if (edit.multi_line) {
        view.widget = gtk_text_view_new();
        gtk_text_view_set_editable(GTK_TEXT_VIEW(view.widget), FALSE);
        gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view.widget), GTK_WRAP_WORD_CHAR);
        view.outer = InScrolledWindow(view.widget, edit.vertical_scroll_bar);
      } else {
        view.widget = gtk_entry_new();
        gtk_editable_set_editable(GTK_EDITABLE(view.widget), FALSE);
        view.outer = view.widget;
      }
      break;
    }
    case DesktopPeer::kCheckButton:
      view.widget = gtk_check_button_new_with_label("");
      view.outer = view.widget;
      g_signal_connect(view.widget, "toggled", G_CALLBACK(OnToggled), &view);
      break;
    case DesktopPeer::kWebView:
      view.page = std::make_unique<WebPage>(backend_, program_, unit);
      view.widget = view.page->Widget();
      view.outer = view.widget;
      break;
    case DesktopPeer::kVideo:
      view.engine = std::make_unique<DesktopEngine>();
      view.widget = view.engine->Widget();
      view.outer = view.widget;
      break;
    case DesktopPeer::kNone:
    case DesktopPeer::kDrawn: break;
  }
  if (view.outer != nullptr) {
    gtk_layout_put(GTK_LAYOUT(view.box), view.outer, 0, 0);
    gtk_widget_show_all(view.outer);
    view.style = gtk_css_provider_new();
    ApplyCss(view.widget, view.style);
    if (GTK_IS_BIN(view.widget) && gtk_bin_get_child(GTK_BIN(view.widget)) != nullptr) {
      ApplyCss(gtk_bin_get_child(GTK_BIN(view.widget)), view.style);  // a check box's label
    }
  }
  views_[unit.id] = std::move(created);
  SyncView(view, unit);
  return view;
}

void DesktopWindow::SyncView(View& view, const UnitModel& unit) {
  const int width = std::max(0, unit.rect.width);
  const int height = std::max(0, unit.rect.height);
  SetSize(view.box, width, height);
  gtk_widget_set_visible(view.box, unit.visible);
  gtk_widget_set_tooltip_text(view.box, unit.hint.empty() ? nullptr : ToUtf8(unit.hint).c_str());
  SetControlCursor(view.box, unit.cursor);
  if (view.outer != nullptr) {
    SetSize(view.outer, width, height);
    gtk_widget_set_sensitive(view.outer, unit.enabled);
    std::string css = WidgetCss(unit);
    if (view.picture_cell != nullptr && view.picture != unit.pictures.normal) {
      cairo_surface_t* picture = pictures_.Find(unit.pictures.normal);
      g_object_set(view.picture_cell, "surface", picture, "visible", picture != nullptr, nullptr);
      view.picture = unit.pictures.normal;
      gtk_tree_view_columns_autosize(GTK_TREE_VIEW(view.widget));
    }
    if (css != view.css) {
      gtk_css_provider_load_from_data(view.style, css.c_str(), -1, nullptr);
      if (GTK_IS_TREE_VIEW(view.widget)) FitRowsToFont(GTK_TREE_VIEW(view.widget), unit.font);
      view.css = std::move(css);
    }
  }
  view.syncing = true;
  switch (view.peer) {
    case DesktopPeer::kListView: {
      const ListBoxState& list = std::get<ListBoxState>(unit.state);
      ShowRows(GTK_TREE_VIEW(view.widget), view.rows, list.rows, list.selection);
      break;
    }
    case DesktopPeer::kTreeView: {
      const TreeBoxState& tree = std::get<TreeBoxState>(unit.state);
      ShowItems(GTK_TREE_VIEW(view.widget), view.items, tree.items, tree.selection);
      break;
    }
    case DesktopPeer::kTextView: {
      const std::string text = ToUtf8(unit.caption);
      if (GTK_IS_TEXT_VIEW(view.widget)) {
        gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(view.widget)), text.c_str(),
                                 static_cast<int>(text.size()));
      } else {
        gtk_entry_set_text(GTK_ENTRY(view.widget), text.c_str());
      }
      break;
    }
    case DesktopPeer::kCheckButton:
      gtk_button_set_label(GTK_BUTTON(view.widget), ToUtf8(unit.caption).c_str());
      // An empty caption takes no room: a box alone is as high as its control.
      gtk_widget_set_visible(gtk_bin_get_child(GTK_BIN(view.widget)), !unit.caption.empty());
      gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(view.widget), std::get<CheckBoxState>(unit.state).tick != 0);
      break;
    case DesktopPeer::kNone:
    case DesktopPeer::kDrawn:
    case DesktopPeer::kWebView:
    case DesktopPeer::kVideo: break;
  }
  view.syncing = false;
  gtk_widget_queue_draw(view.box);
}

// --- Signals. A handler that reaches the program may close controls or the window, so
// nothing of a view is touched after the guard has run.

gboolean DesktopWindow::OnRootDraw(GtkWidget* widget, cairo_t* cr, DesktopWindow* self) {
  if (const UnitModel* window = InspectionOf(self->program_).FindModel(self->id_)) {
    PaintWindowBackground(cr, *window, self->pictures_, gtk_widget_get_allocated_width(widget),
                          gtk_widget_get_allocated_height(widget));
  }
  return FALSE;
}

bool DesktopWindow::DragsWindow(const UnitModel* pressed) const {
  const UnitModel* window = InspectionOf(program_).FindModel(id_);
  if (window == nullptr || !window->window_state->draggable || !Window(program_, id_).Interactive()) return false;
  if (pressed == nullptr) return true;  // the background
  // A picture or a text that does nothing with the press is background to the user.
  const bool background_kind = pressed->kind == UnitKind::kPictureBox || pressed->kind == UnitKind::kLabel ||
                               pressed->kind == UnitKind::kTransparentLabel;
  return background_kind && !pressed->events.contains("LeftButtonDown") && !pressed->events.contains("Clicked");
}

void DesktopWindow::BeginDrag(const GdkEventButton& press) {
  gtk_window_begin_move_drag(GTK_WINDOW(toplevel_), static_cast<gint>(press.button), static_cast<gint>(press.x_root),
                             static_cast<gint>(press.y_root), press.time);
}

gboolean DesktopWindow::OnRootPress(GtkWidget*, GdkEventButton* event, DesktopWindow* self) {
  if (event->button != 1 || event->type != GDK_BUTTON_PRESS || !self->DragsWindow(nullptr)) return FALSE;
  self->BeginDrag(*event);
  return TRUE;
}

gboolean DesktopWindow::OnDelete(GtkWidget*, GdkEvent*, DesktopWindow* self) {
  // The model decides: a close box the window has closes it from the loop.
  Program& program = self->program_;
  const UnitId id = self->id_;
  self->backend_.Guard([&program, id] { InputOf(program).UserCloseBox(Window(program, id)); });
  return TRUE;
}

gboolean DesktopWindow::OnKey(GtkWidget*, GdkEventKey* event, DesktopWindow* self) {
  if (event->keyval != GDK_KEY_Escape) return FALSE;
  Program& program = self->program_;
  const UnitId id = self->id_;
  self->backend_.Guard([&program, id] { InputOf(program).UserKey(Window(program, id), "Esc"); });
  return TRUE;
}

// A window the user has moved (a draggable one, or by its caption bar) is where the model
// says it is.
gboolean DesktopWindow::OnConfigure(GtkWidget*, GdkEventConfigure*, DesktopWindow* self) {
  if (InspectionOf(self->program_).FindModel(self->id_) == nullptr) return FALSE;
  Point place;
  gtk_window_get_position(GTK_WINDOW(self->toplevel_), &place.x, &place.y);
  ReportsOf(self->program_).WindowMoved(self->id_, place);
  self->placed_ = place;
  return FALSE;
}

gboolean DesktopWindow::OnDraw(GtkWidget*, cairo_t* cr, View* view) {
  if (view->outer != nullptr) return FALSE;
  if (const UnitModel* unit = InspectionOf(view->owner->program_).FindModel(view->id)) {
    PaintUnit(cr, *unit, view->owner->pictures_, view->pointer);
  }
  return FALSE;
}

gboolean DesktopWindow::OnPress(GtkWidget* widget, GdkEventButton* event, View* view) {
  if (event->button != 1 || event->type != GDK_BUTTON_PRESS) return FALSE;
  if (const UnitModel* unit = InspectionOf(view->owner->program_).FindModel(view->id); unit != nullptr && view->owner->DragsWindow(unit)) {
    view->owner->BeginDrag(*event);
    return TRUE;
  }
  view->pointer.pressed = true;
  gtk_widget_queue_draw(widget);
  Program& program = view->owner->program_;
  const UnitId id = view->id;
  const int x = static_cast<int>(event->x);
  const int y = static_cast<int>(event->y);
  view->owner->backend_.Guard([&program, id, x, y] { InputOf(program).UserLeftButtonDown(Unit(program, id), x, y); });
  return TRUE;
}

gboolean DesktopWindow::OnRelease(GtkWidget* widget, GdkEventButton* event, View* view) {
  if (event->button != 1) return FALSE;
  const bool was_pressed = std::exchange(view->pointer.pressed, false);
  gtk_widget_queue_draw(widget);
  const bool inside = event->x >= 0 && event->y >= 0 && event->x < gtk_widget_get_allocated_width(widget) &&
                      event->y < gtk_widget_get_allocated_height(widget);
  if (!was_pressed || !inside) return TRUE;
  Program& program = view->owner->program_;
  const UnitId id = view->id;
  view->owner->backend_.Guard([&program, id] { InputOf(program).UserClick(Unit(program, id)); });
  return TRUE;
}

gboolean DesktopWindow::OnCrossing(GtkWidget* widget, GdkEventCrossing* event, View* view) {
  // Moving onto a child control does not leave this one.
  if (event->detail == GDK_NOTIFY_INFERIOR) return FALSE;
  // A control re-stacked under the pointer gets a new window, which the toolkit enters
  // from where it last saw the pointer, though it may have gone since: the X server says
  // where it is.
  bool hover = event->type == GDK_ENTER_NOTIFY;
  if (hover) {
    int x = 0;
    int y = 0;
    gdk_window_get_device_position(event->window, gdk_event_get_device(reinterpret_cast<GdkEvent*>(event)), &x, &y,
                                   nullptr);
    hover = x >= 0 && y >= 0 && x < gtk_widget_get_allocated_width(widget) && y < gtk_widget_get_allocated_height(widget);
  }
  view->pointer.hover = hover;
  if (view->kind == UnitKind::kPictureButton) gtk_widget_queue_draw(widget);
  return FALSE;
}

// A control's window goes when it is re-stacked, and the pointer's leaving it with it.
void DesktopWindow::OnUnrealize(GtkWidget*, View* view) { view->pointer = {}; }

void DesktopWindow::OnToggled(GtkToggleButton* button, View* view) {
  if (view->syncing) return;
  // The box shows the model's tick: undo the toolkit's toggle; a click the program takes
  // flips the tick and the model's change shows it.
  view->syncing = true;
  gtk_toggle_button_set_active(button, !gtk_toggle_button_get_active(button));
  view->syncing = false;
  Program& program = view->owner->program_;
  const UnitId id = view->id;
  view->owner->backend_.Guard([&program, id] { InputOf(program).UserClick(Unit(program, id)); });
}

// A click (or the arrow keys) on a row: the program takes it as the selection, or refuses.
void DesktopWindow::OnItemSelected(GtkTreeSelection* selection, View* view) {
  if (view->syncing) return;
  const int item = SelectedItem(selection);
  Program& program = view->owner->program_;
  const UnitId id = view->id;
  // Shows the model's selection again until the program has taken the user's.
  if (const UnitModel* unit = InspectionOf(program).FindModel(id)) view->owner->SyncView(*view, *unit);
  if (item < 0) return;
  view->owner->backend_.Guard([&program, id, item] { InputOf(program).UserSelectItem(Unit(program, id), item); });
}

void DesktopWindow::OnRowActivated(GtkTreeView* tree, GtkTreePath* path, GtkTreeViewColumn*, View* view) {
  GtkTreeModel* model = gtk_tree_view_get_model(tree);
  GtkTreeIter iter;
  if (!gtk_tree_model_get_iter(model, &iter, path)) return;
  int item = -1;
  gtk_tree_model_get(model, &iter, kItemNumber, &item, -1);
  Program& program = view->owner->program_;
  const UnitId id = view->id;
  view->owner->backend_.Guard([&program, id, item] { InputOf(program).UserActivateTreeItem(TreeBox(program, id), item); });
}

}  // namespace korvane::platform::ui::desktop
