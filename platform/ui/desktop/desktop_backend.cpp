#include "platform/ui/desktop/desktop_backend.h"

#include <algorithm>
#include <stdexcept>

#include "platform/ui/desktop/desktop_window.h"
#include "platform/ui/program.h"

namespace korvane::platform::ui::desktop {
namespace {

// The caption of a message box button (GBK).
const char* CaptionOf(MessageBoxAnswer answer) {
  switch (answer) {
    case MessageBoxAnswer::kOk: return "确定";
    case MessageBoxAnswer::kCancel: return "取消";
    case MessageBoxAnswer::kAbort: return "中止(&A)";
    case MessageBoxAnswer::kRetry: return "重试(&R)";
    case MessageBoxAnswer::kIgnore: return "忽略(&I)";
    case MessageBoxAnswer::kYes: return "是(&Y)";
    case MessageBoxAnswer::kNo: return "否(&N)";
  }
  return "";
}

GtkMessageType MessageTypeOf(MessageBoxIcon icon) {
  switch (icon) {
    case MessageBoxIcon::kError: return GTK_MESSAGE_ERROR;
    case MessageBoxIcon::kQuestion: return GTK_MESSAGE_QUESTION;
    case MessageBoxIcon::kWarning: return GTK_MESSAGE_WARNING;
    case MessageBoxIcon::kInformation: return GTK_MESSAGE_INFO;
    case MessageBoxIcon::kNone: break;
  }
  return GTK_MESSAGE_OTHER;
}

// GTK shows "&" as a mnemonic underscore.
std::string MnemonicLabel(const char* caption) {
  std::string label = ToUtf8(caption);
  std::replace(label.begin(), label.end(), '&', '_');
  return label;
}

struct QuestionRun {
  DesktopBackend* backend;
  LoopToken* token;
  std::optional<MessageBoxAnswer> close_answer;
  MessageBoxAnswer answer;  // also when the loop is quit from outside
};

// Responses are the buttons' answers; a negative one is the box closed.
void OnResponse(GtkDialog*, gint response, QuestionRun* run) {
  if (response < 0) {
    if (!run->close_answer) return;
    run->answer = *run->close_answer;
  } else {
    run->answer = static_cast<MessageBoxAnswer>(response);
  }
  run->backend->QuitLoop(*run->token);
}

struct MenuRun {
  DesktopBackend* backend;
  LoopToken* token;
  std::optional<std::vector<int>> picked;
};

struct MenuItemPick {
  MenuRun* run;
  std::vector<int> path;
};

void OnMenuItemActivated(GtkMenuItem*, MenuItemPick* pick) { pick->run->picked = pick->path; }

// The menu closes before its item is activated, within the same event: quitting here
// lets that activation run before the loop returns.
void OnMenuDeactivated(GtkMenuShell*, MenuRun* run) { run->backend->QuitLoop(*run->token); }

// How the window's menu skin draws its menus: a column of the items' icons, where a
// menu has any, and the skin's font (the theme's when the window has no skin).
struct MenuLook {
  PictureCache& pictures;
  const Font* font;
};

constexpr int kMenuIconSize = 15;

const Font* MenuSkinFont(const UnitModel& window) {
  for (const auto& control : window.window_state->controls) {
    if (control->kind == UnitKind::kMenuSkin) return &control->font;
  }
  return nullptr;
}

GtkWidget* NewMenuRow(const MenuItem& item, const MenuLook& look, bool icon_column) {
  GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
  if (icon_column) {
    GtkWidget* image = gtk_image_new();
    if (GdkPixbuf* pixbuf = NewPixbuf(look.pictures.Find(item.icon))) {
      gtk_image_set_from_pixbuf(GTK_IMAGE(image), pixbuf);
      g_object_unref(pixbuf);
    }
    gtk_widget_set_size_request(image, kMenuIconSize, kMenuIconSize);
    gtk_box_pack_start(GTK_BOX(row), image, FALSE, FALSE, 0);
  }
  GtkWidget* label = gtk_label_new(ToUtf8(item.caption).c_str());
  if (look.font != nullptr) {
    PangoAttrList* attributes = pango_attr_list_new();
    PangoFontDescription* description = NewFontDescription(*look.font);
    pango_attr_list_insert(attributes, pango_attr_font_desc_new(description));
    pango_font_description_free(description);
    gtk_label_set_attributes(GTK_LABEL(label), attributes);
    pango_attr_list_unref(attributes);
  }
  gtk_box_pack_start(GTK_BOX(row), label, FALSE, FALSE, 0);
  return row;
}

GtkWidget* BuildMenu(const std::vector<MenuItem>& items, const MenuLook& look, std::vector<int>& path, MenuRun& run,
                     std::vector<std::unique_ptr<MenuItemPick>>& picks) {
  const bool icon_column =
      std::any_of(items.begin(), items.end(), [](const MenuItem& item) { return !item.icon.empty(); });
  GtkWidget* menu = gtk_menu_new();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const MenuItem& item = items[i];
    path.push_back(static_cast<int>(i));
    GtkWidget* widget = item.separator ? gtk_separator_menu_item_new() : gtk_menu_item_new();
    if (!item.separator) gtk_container_add(GTK_CONTAINER(widget), NewMenuRow(item, look, icon_column));
    gtk_widget_set_sensitive(widget, item.enabled);
    if (!item.items.empty()) {
      gtk_menu_item_set_submenu(GTK_MENU_ITEM(widget), BuildMenu(item.items, look, path, run, picks));
    } else if (!item.separator) {
      picks.push_back(std::make_unique<MenuItemPick>(MenuItemPick{&run, path}));
      g_signal_connect(widget, "activate", G_CALLBACK(OnMenuItemActivated), picks.back().get());
    }
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), widget);
    path.pop_back();
  }
  return menu;
}

// Destroys a toolkit widget when the scope ends, also when a kept failure unwinds it.
struct DestroyOnExit {
  GtkWidget* widget;
  ~DestroyOnExit() { gtk_widget_destroy(widget); }
};

}  // namespace

struct DesktopBackend::TimerSource {
  DesktopBackend* backend;
  TimerId id;
};

struct DesktopBackend::PostedTask {
  DesktopBackend* backend;
  Task task;
  guint source = 0;
};

DesktopBackend::DesktopBackend() {
  // The playback engine's video and the tray icon live on X11 windows; on a Wayland
  // desktop the programs run through its X server.
  gdk_set_allowed_backends("x11");
  if (!gtk_init_check(nullptr, nullptr)) {
    throw std::runtime_error("cannot open the display (is DISPLAY set?)");
  }
}

DesktopBackend::~DesktopBackend() {
  windows_.clear();
  for (const auto& [id, timer] : timers_) g_source_remove(timer.source);
  for (guint source : posted_) g_source_remove(source);
}

void DesktopBackend::Attach(Program& program) {
  program_ = &program;
  pictures_ = std::make_unique<PictureCache>(InspectionOf(program).Resources());
}

void DesktopBackend::Guard(const std::function<void()>& action) {
  if (kept_failure_) return;  // the run is unwinding: nothing more reaches the program
  ++handling_;
  try {
    action();
    --handling_;
    ShowChanges(handling_ == 0);
  } catch (...) {
    --handling_;
    kept_failure_ = std::current_exception();
    for (auto& [token, loop] : running_loops_) g_main_loop_quit(loop);
  }
}

void DesktopBackend::RethrowKeptFailure() {
  if (kept_failure_) std::rethrow_exception(std::exchange(kept_failure_, nullptr));
}

void DesktopBackend::RunLoop(LoopToken& token) {
  RethrowKeptFailure();
  if (token.quit) return;
  ShowChanges(false);
  GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
  running_loops_.emplace_back(&token, loop);
  g_main_loop_run(loop);
  std::erase_if(running_loops_, [loop](const auto& running) { return running.second == loop; });
  g_main_loop_unref(loop);
  RethrowKeptFailure();
}

void DesktopBackend::QuitLoop(LoopToken& token) {
  token.quit = true;
  for (auto& [running, loop] : running_loops_) {
    if (running == &token) g_main_loop_quit(loop);
  }
}

gboolean DesktopBackend::RunPosted(gpointer data) {
  auto* posted = static_cast<PostedTask*>(data);
  posted->backend->posted_.erase(posted->source);
  posted->backend->Guard(posted->task);
  return G_SOURCE_REMOVE;
}

void DesktopBackend::Post(Task task) {
  auto* posted = new PostedTask{this, std::move(task)};
  posted->source = g_idle_add_full(G_PRIORITY_DEFAULT, RunPosted, posted,
                                   [](gpointer data) { delete static_cast<PostedTask*>(data); });
  posted_.insert(posted->source);
}

gboolean DesktopBackend::Tick(gpointer data) {
  auto* source = static_cast<TimerSource*>(data);
  DesktopBackend& backend = *source->backend;
  auto timer = backend.timers_.find(source->id);
  if (timer == backend.timers_.end()) return G_SOURCE_REMOVE;
  Task tick = timer->second.on_tick;  // the tick may stop or restart its own timer
  backend.Guard(tick);
  return backend.timers_.contains(source->id) ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
}

TimerId DesktopBackend::StartTimer(std::int64_t interval_ms, Task on_tick) {
  const TimerId id = next_timer_++;
  const guint interval = static_cast<guint>(std::clamp<std::int64_t>(interval_ms, 1, G_MAXUINT));
  const guint source = g_timeout_add_full(G_PRIORITY_DEFAULT, interval, Tick, new TimerSource{this, id},
                                          [](gpointer data) { delete static_cast<TimerSource*>(data); });
  timers_[id] = {source, std::move(on_tick)};
  return id;
}

void DesktopBackend::StopTimer(TimerId timer) {
  auto found = timers_.find(timer);
  if (found == timers_.end()) return;
  g_source_remove(found->second.source);
  timers_.erase(found);
}

void DesktopBackend::ProcessPending() {
  ShowChanges(false);
  while (!kept_failure_ && g_main_context_iteration(nullptr, FALSE)) {
  }
  RethrowKeptFailure();
}

void DesktopBackend::EndProcess(int code) { throw ProgramEnded{code}; }

void DesktopBackend::WindowOpened(UnitModel& window) {
  // A modal window belongs to the window it was opened over: the window manager keeps it
  // above that one, whichever the user clicks.
  GtkWindow* owner = window.window_state->modal ? ActiveWindow() : nullptr;
  auto shown = std::make_unique<DesktopWindow>(*this, *program_, *pictures_, window, owner);
  windows_.emplace_back(window.id, std::move(shown));
  if (wait_cursor_) SetWaitCursor(true);
}

void DesktopBackend::WindowClosed(UnitModel& window) {
  GtkWindow* closing = GTK_WINDOW(WindowWidget(window.id));
  std::vector<GtkWindow*> orphans;
  for (const auto& [id, shown] : windows_) {
    if (closing != nullptr && gtk_window_get_transient_for(shown->Toplevel()) == closing) {
      orphans.push_back(shown->Toplevel());
    }
  }
  std::erase_if(windows_, [&](const auto& open) { return open.first == window.id; });
  // A modal window whose owner has gone (the about and settings windows open each other)
  // keeps above the newest window left below it.
  for (GtkWindow* orphan : orphans) {
    GtkWindow* owner = nullptr;
    for (const auto& [id, shown] : windows_) {
      if (shown->Toplevel() == orphan) break;
      if (gtk_widget_get_visible(GTK_WIDGET(shown->Toplevel()))) owner = shown->Toplevel();
    }
    gtk_window_set_transient_for(orphan, owner);
  }
}

// A handler that runs long (a copy, a big fill) is seen at work, but a handler's every
// change does not cost a draw.
constexpr gint64 kDrawEveryUs = 10'000;

void DesktopBackend::UnitChanged(UnitModel& unit) {
  for (auto& [id, shown] : windows_) {
    if (id == unit.window->id) shown->Changed(unit);
  }
  if (handling_ == 0) {
    ShowChanges(false);
  } else if (g_get_monotonic_time() - drawn_at_ >= kDrawEveryUs) {
    ShowChanges(true);
  }
}

void DesktopBackend::ShowChanges(bool draw) {
  for (auto& [id, shown] : windows_) shown->ShowChanges(draw);
  if (draw) drawn_at_ = g_get_monotonic_time();
}

GtkWidget* DesktopBackend::WindowWidget(UnitId window) const {
  for (const auto& [id, shown] : windows_) {
    if (id == window) return GTK_WIDGET(shown->Toplevel());
  }
  return nullptr;
}

GtkWidget* DesktopBackend::UnitWidget(UnitId unit) const {
  for (const auto& [id, shown] : windows_) {
    if (GtkWidget* widget = shown->ControlWidget(unit)) return widget;
  }
  return nullptr;
}

GtkWindow* DesktopBackend::ActiveWindow() const {
  for (auto open = windows_.rbegin(); open != windows_.rend(); ++open) {
    GtkWindow* window = open->second->Toplevel();
    const UnitModel* model = InspectionOf(*program_).FindModel(open->first);
    const bool closing = model == nullptr || model->window_state->close_requested;
    if (gtk_widget_get_visible(GTK_WIDGET(window)) && !closing) return window;
  }
  return nullptr;
}

MessageBoxAnswer DesktopBackend::AskMessageBox(const MessageBoxRequest& request) {
  const std::span<const MessageBoxAnswer> answers = ButtonAnswers(request.style.buttons);
  GtkWidget* dialog = gtk_message_dialog_new(ActiveWindow(), GTK_DIALOG_MODAL, MessageTypeOf(request.style.icon),
                                             GTK_BUTTONS_NONE, "%s", ToUtf8(request.text).c_str());
  DestroyOnExit destroy{dialog};
  gtk_window_set_title(GTK_WINDOW(dialog), ToUtf8(request.title).c_str());
  for (MessageBoxAnswer answer : answers) {
    gtk_dialog_add_button(GTK_DIALOG(dialog), MnemonicLabel(CaptionOf(answer)).c_str(), static_cast<gint>(answer));
  }
  LoopToken token;
  const std::optional<MessageBoxAnswer> close_answer = CloseAnswer(request.style.buttons);
  QuestionRun run{this, &token, close_answer, close_answer.value_or(answers.front())};
  gtk_window_set_deletable(GTK_WINDOW(dialog), close_answer.has_value());
  g_signal_connect(dialog, "response", G_CALLBACK(OnResponse), &run);
  gtk_widget_show(dialog);
  RunLoop(token);
  return run.answer;
}

std::optional<std::vector<int>> DesktopBackend::TrackPopupMenu(const UnitModel& window, const MenuModel& menu,
                                                               Point at) {
  // A shown window owns the menu; with none (the main window in the tray) the screen does.
  GtkWindow* owner = ActiveWindow();
  GdkWindow* surface = owner == nullptr ? gdk_get_default_root_window() : gtk_widget_get_window(GTK_WIDGET(owner));
  if (surface == nullptr) return std::nullopt;
  LoopToken token;
  MenuRun run{this, &token, std::nullopt};
  std::vector<std::unique_ptr<MenuItemPick>> picks;
  std::vector<int> path;
  GtkWidget* popup = BuildMenu(menu.items, MenuLook{*pictures_, MenuSkinFont(window)}, path, run, picks);
  DestroyOnExit destroy{popup};
  g_signal_connect(popup, "deactivate", G_CALLBACK(OnMenuDeactivated), &run);
  gtk_widget_show_all(popup);
  int origin_x = 0;
  int origin_y = 0;
  gdk_window_get_origin(surface, &origin_x, &origin_y);
  const GdkRectangle where{at.x - origin_x, at.y - origin_y, 1, 1};
  gtk_menu_popup_at_rect(GTK_MENU(popup), surface, &where, GDK_GRAVITY_NORTH_WEST, GDK_GRAVITY_NORTH_WEST, nullptr);
  if (gtk_widget_get_visible(popup)) RunLoop(token);
  return run.picked;
}

Point DesktopBackend::MousePosition() {
  GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default()));
  Point at;
  if (pointer != nullptr) gdk_device_get_position(pointer, nullptr, &at.x, &at.y);
  return at;
}

Point DesktopBackend::ScreenSize() {
  GdkDisplay* display = gdk_display_get_default();
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (monitor == nullptr) monitor = gdk_display_get_monitor(display, 0);
  if (monitor == nullptr) return {};
  GdkRectangle area;
  gdk_monitor_get_geometry(monitor, &area);
  return {area.width, area.height};
}

void DesktopBackend::SetWaitCursor(bool waiting) {
  wait_cursor_ = waiting;
  GdkCursor* cursor = waiting ? gdk_cursor_new_from_name(gdk_display_get_default(), "wait") : nullptr;
  for (auto& [id, shown] : windows_) shown->SetCursor(cursor);
  if (cursor != nullptr) g_object_unref(cursor);
}

Point DesktopBackend::MeasureText(const Font& font, const Text& text) {
  PangoContext* context = gdk_pango_context_get();
  PangoLayout* layout = pango_layout_new(context);
  SetLayoutText(layout, font, text);
  Point size;
  pango_layout_get_pixel_size(layout, &size.x, &size.y);
  g_object_unref(layout);
  g_object_unref(context);
  return size;
}

WebPage& DesktopBackend::PageOf(const UnitModel& unit) const {
  for (const auto& [id, shown] : windows_) {
    if (id != unit.window->id) continue;
    if (WebPage* page = shown->Page(unit.id)) return *page;
  }
  throw std::logic_error("no page for " + unit.name);  // every open browser or hypertext box has one
}

void DesktopBackend::BrowserLoad(UnitModel& browser, const Text& address) { PageOf(browser).StartLoad(address); }

void DesktopBackend::BrowserStop(UnitModel& browser) { PageOf(browser).Stop(); }

void DesktopBackend::BrowserShowBlank(UnitModel& browser) { PageOf(browser).ShowBlank(); }

void DesktopBackend::HypertextShow(UnitModel& box) { PageOf(box).Show(box); }

void DesktopBackend::EngineRun(UnitModel& engine, EngineOperation operation, const Text& value) {
  if (DesktopEngine* shown = Engine(engine.id)) shown->Run(operation, value);
}

DesktopEngine* DesktopBackend::Engine(UnitId engine) const {
  for (const auto& [id, shown] : windows_) {
    if (DesktopEngine* found = shown->Engine(engine)) return found;
  }
  return nullptr;
}

const DesktopTray* DesktopBackend::Tray(UnitId window) const {
  for (const auto& [id, shown] : windows_) {
    if (id == window) return &shown->Tray();
  }
  return nullptr;
}

}  // namespace korvane::platform::ui::desktop
