#include "platform/ui/program.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <utility>

#include "platform/services/web_address.h"
#include "platform/ui/browser_history.h"
#include "platform/ui/layout.h"
#include "platform/ui/unit_kinds.h"

namespace korvane::platform::ui {
namespace {

Colour ColourOfVertex(const TriVertex& vertex) {
  return static_cast<Colour>(vertex.red >> 8) | static_cast<Colour>(vertex.green >> 8) << 8 |
         static_cast<Colour>(vertex.blue >> 8) << 16;
}

void ForEachMenuItem(const std::vector<MenuItem>& items, const std::function<void(const MenuItem&)>& visit) {
  for (const MenuItem& item : items) {
    visit(item);
    ForEachMenuItem(item.items, visit);
  }
}

}  // namespace

Program::Program(Backend& backend, const ResourceBundle& resources)
    : backend_(backend), resources_(resources) {
  backend_.Attach(*this);
}

Program::~Program() = default;

void Program::BindHandler(std::string_view name, Handler handler) {
  handlers_[Text(name)] = std::make_shared<Handler>(std::move(handler));
}

void Program::SetFinaliser(std::function<void()> finaliser) { finaliser_ = std::move(finaliser); }

void Program::RunFinaliser() {
  if (finaliser_ran_) return;
  finaliser_ran_ = true;
  if (finaliser_) finaliser_();
}

int Program::Run(const std::function<void()>& start) {
  int code = 0;
  try {
    start();
    if (!windows_.empty()) {
      main_loop_.quit = false;
      backend_.RunLoop(main_loop_);
    }
    RunFinaliser();
  } catch (const ProgramEnded& ended) {
    code = ended.code;
  }
  finished_ = true;
  return code;
}

void Program::CheckHandlersBound(const UnitModel& window) const {
  auto check = [&](const Text& handler, const Text& where) {
    if (!handler.empty() && !handlers_.contains(handler)) {
      throw LayoutError("window " + window.name + ": " + where + " is bound to " + handler +
                        ", which the program does not define");
    }
  };
  for (const auto& [event, handler] : window.events) check(handler, event);
  for (const auto& control : window.window_state->controls) {
    for (const auto& [event, handler] : control->events) check(handler, control->name + "." + event);
  }
  for (const MenuModel& menu : window.window_state->menus) {
    ForEachMenuItem(menu.items, [&](const MenuItem& item) { check(item.handler, menu.name + "." + item.caption); });
  }
}

void Program::Register(UnitModel& unit) { units_[unit.id] = &unit; }

Window Program::LoadWindow(std::string_view layout_name, bool modal) {
  Layout layout = LoadLayout(resources_, layout_name);
  CheckHandlersBound(*layout.window);

  // The layout's ids are 0 for the window and 1..n for the controls: move them up.
  const UnitId base = next_id_;
  auto renumber = [base](UnitId id) { return id + base; };
  std::unique_ptr<UnitModel> window = std::move(layout.window);
  window->id = renumber(0);
  for (UnitId& child : window->children) child = renumber(child);
  for (auto& control : window->window_state->controls) {
    control->id = renumber(control->id);
    if (control->parent != 0) control->parent = renumber(control->parent);
    for (UnitId& child : control->children) child = renumber(child);
  }
  next_id_ = base + static_cast<UnitId>(window->window_state->controls.size()) + 1;

  WindowState& state = *window->window_state;
  state.modal = modal;
  if (state.centred) {
    Point screen = backend_.ScreenSize();
    window->rect.left = (screen.x - window->rect.width) / 2;
    window->rect.top = (screen.y - window->rect.height) / 2;
  }
  UnitModel& opened = *window;
  Register(opened);
  for (auto& control : state.controls) Register(*control);
  windows_.push_back(std::move(window));
  backend_.WindowOpened(opened);
  for (auto& control : state.controls) {
    if (control->kind == UnitKind::kTimer) StartTimer(*control);
  }

  const UnitId id = opened.id;
  if (!modal) {
    RaiseEvent(id, "Created");
    return Window(*this, id);
  }
  RunModal(opened);
  return Window(*this, id);
}

void Program::RunModal(UnitModel& window) {
  const UnitId id = window.id;
  std::vector<UnitId> disabled;
  for (auto& other : windows_) {
    if (other->id == id) continue;
    ++other->window_state->disabled_by_modal;
    disabled.push_back(other->id);
    backend_.UnitChanged(*other);
  }
  LoopToken token;
  modal_loops_.push_back({id, &token});
  // Leaves the loop stack and re-enables the windows also when EndProgram unwinds.
  struct Restore {
    Program& program;
    LoopToken& token;
    std::vector<UnitId>& disabled;
    ~Restore() {
      std::erase_if(program.modal_loops_, [&](const ModalLoop& loop) { return loop.token == &token; });
      for (UnitId other : disabled) {
        if (UnitModel* unit = program.FindModel(other)) {
          --unit->window_state->disabled_by_modal;
          program.backend_.UnitChanged(*unit);
        }
      }
    }
  } restore{*this, token, disabled};

  RaiseEvent(id, "Created");
  if (FindModel(id) != nullptr && !token.quit) backend_.RunLoop(token);
}

void Program::DestroyUnit(const Unit& unit) {
  UnitModel* model = FindModel(unit.Id());
  if (model == nullptr) return;
  if (!model->IsWindow()) {
    RemoveUnit(*model);
    return;
  }
  if (model->window_state->close_requested) return;
  model->window_state->close_requested = true;
  backend_.Post([this, id = model->id] { CloseWindowNow(id); });
}

void Program::RemoveUnit(UnitModel& unit) {
  UnitModel& window = *unit.window;
  while (!unit.children.empty()) RemoveUnit(*FindModel(unit.children.back()));
  StopTimer(unit);
  UnitModel* parent = unit.parent == 0 ? &window : FindModel(unit.parent);
  std::erase(parent->children, unit.id);
  units_.erase(unit.id);
  auto& controls = window.window_state->controls;
  std::erase_if(controls, [&](const std::unique_ptr<UnitModel>& control) { return control.get() == &unit; });
  backend_.UnitChanged(window);
}

void Program::CloseWindowNow(UnitId id) {
  auto found = std::find_if(windows_.begin(), windows_.end(),
                            [id](const std::unique_ptr<UnitModel>& window) { return window->id == id; });
  if (found == windows_.end()) return;
  std::unique_ptr<UnitModel> window = std::move(*found);
  windows_.erase(found);
  for (auto& control : window->window_state->controls) {
    StopTimer(*control);
    units_.erase(control->id);
  }
  units_.erase(id);
  window->window_state->tray.shown = false;
  for (ModalLoop& loop : modal_loops_) {
    if (loop.window == id) backend_.QuitLoop(*loop.token);
  }
  backend_.WindowClosed(*window);
  if (windows_.empty()) QuitAllLoops();
}

void Program::QuitAllLoops() {
  for (ModalLoop& loop : modal_loops_) backend_.QuitLoop(*loop.token);
  backend_.QuitLoop(main_loop_);
}

void Program::Delay(int ms) { backend_.Time().WaitMs(ms); }

void Program::ProcessPendingMessages() { backend_.ProcessPending(); }

void Program::EndProgram(int code) {
  RunFinaliser();
  while (!windows_.empty()) CloseWindowNow(windows_.back()->id);
  finished_ = true;
  backend_.EndProcess(code);
  std::terminate();  // a backend whose EndProcess returns has broken its contract
}

void Program::StartTimer(UnitModel& unit) {
  StopTimer(unit);
  TimerState* timer = unit.StateOf<TimerState>();
  if (timer == nullptr || timer->interval_ms <= 0 || !unit.enabled) return;
  timer->timer = backend_.StartTimer(timer->interval_ms, [this, id = unit.id] { RaiseEvent(id, "Tick"); });
}

void Program::StopTimer(UnitModel& unit) {
  TimerState* timer = unit.StateOf<TimerState>();
  if (timer == nullptr || timer->timer == 0) return;
  backend_.StopTimer(timer->timer);
  timer->timer = 0;
}

UnitModel* Program::FindModel(UnitId id) {
  auto found = units_.find(id);
  return found == units_.end() ? nullptr : found->second;
}

const UnitModel* Program::FindModel(UnitId id) const { return const_cast<Program&>(*this).FindModel(id); }

bool Program::IsShown(UnitId id) const {
  const UnitModel* unit = FindModel(id);
  for (const UnitModel* up = unit; up != nullptr;
       up = up->IsWindow() ? nullptr : (up->parent == 0 ? up->window : FindModel(up->parent))) {
    if (!up->visible) return false;
  }
  return unit != nullptr;
}

std::vector<Window> Program::Windows() const {
  std::vector<Window> windows;
  for (const auto& window : windows_) windows.emplace_back(const_cast<Program&>(*this), window->id);
  return windows;
}

void Program::UnitChanged(UnitModel& unit) {
  if (const TimerState* timer = unit.StateOf<TimerState>()) {
    if (timer->interval_ms > 0 && unit.enabled) {
      StartTimer(unit);
    } else {
      StopTimer(unit);
    }
  }
  backend_.UnitChanged(unit);
}

void Program::RaiseEvent(UnitId unit, std::string_view event, std::vector<std::int64_t> values, Text text) {
  UnitModel* model = FindModel(unit);
  if (model == nullptr) return;
  auto bound = model->events.find(Text(event));
  if (bound == model->events.end()) return;
  auto handler = handlers_.find(bound->second);
  if (handler == handlers_.end()) return;
  // Held while it runs: the handler may bind another in its place.
  std::shared_ptr<Handler> run = handler->second;
  (*run)(Event{Unit(*this, unit), Text(event), std::move(values), std::move(text)});
}

void Program::MoveUnit(const Unit& unit, int left, int top, int width, int height) {
  UnitModel* model = FindModel(unit.Id());
  if (model == nullptr) return;
  model->rect = {left, top, width, height};
  backend_.UnitChanged(*model);
}

void Program::SetUnitZOrder(const Unit& unit, ZOrder order) {
  UnitModel* model = FindModel(unit.Id());
  if (model == nullptr || model->IsWindow()) return;
  UnitModel* parent = model->parent == 0 ? model->window : FindModel(model->parent);
  std::erase(parent->children, model->id);
  if (order == ZOrder::kFront) {
    parent->children.push_back(model->id);
  } else {
    parent->children.insert(parent->children.begin(), model->id);
  }
  backend_.UnitChanged(*parent);
}

Unit Program::CloneUnit(const Unit& unit) {
  UnitModel* model = FindModel(unit.Id());
  if (model == nullptr || model->IsWindow()) return {};
  auto clone = std::make_unique<UnitModel>();
  UnitModel& copy = *clone;
  static_cast<UnitProperties&>(copy) = *model;
  copy.visible = false;
  copy.id = next_id_++;
  copy.kind = model->kind;
  copy.name = model->name;
  copy.window = model->window;
  copy.parent = model->parent;
  copy.clone_of = model->id;
  copy.state = Describe(model->kind).clone(model->state);
  UnitModel* parent = copy.parent == 0 ? copy.window : FindModel(copy.parent);
  parent->children.push_back(copy.id);
  Register(copy);
  model->window->window_state->controls.push_back(std::move(clone));
  if (copy.kind == UnitKind::kTimer) StartTimer(copy);
  backend_.UnitChanged(*copy.window);
  return Unit(*this, copy.id);
}

void Program::SetUnitParent(const Unit& unit, const Unit& parent) {
  UnitModel* model = FindModel(unit.Id());
  UnitModel* new_parent = FindModel(parent.Id());
  if (model == nullptr || new_parent == nullptr || model->IsWindow()) return;
  if (new_parent->window != model->window) return;
  for (UnitModel* up = new_parent; up != nullptr && !up->IsWindow();
       up = up->parent == 0 ? nullptr : FindModel(up->parent)) {
    if (up == model) return;  // a unit cannot go inside itself
  }
  UnitModel* old_parent = model->parent == 0 ? model->window : FindModel(model->parent);
  std::erase(old_parent->children, model->id);
  model->parent = new_parent->IsWindow() ? 0 : new_parent->id;
  new_parent->children.push_back(model->id);
  backend_.UnitChanged(*model->window);
}

WindowHandle Program::GetWindowHandle(const Unit& unit) const {
  return FindModel(unit.Id()) == nullptr ? 0 : static_cast<WindowHandle>(unit.Id());
}

void Program::SetHoverHint(WindowHandle handle, const Text& hint, bool, bool) {
  UnitModel* model = FindModel(static_cast<UnitId>(handle));
  if (model == nullptr) return;
  model->hint = hint;
  backend_.UnitChanged(*model);
}

MessageBoxAnswer Program::ShowMessageBox(const Text& text, MessageBoxStyle style, const Text& title) {
  MessageBoxRequest request{text, title, style};
  const MessageBoxAnswer answer = backend_.AskMessageBox(request);
  message_boxes_.push_back({request, answer});
  return answer;
}

void Program::PopupMenu(const Window& window, std::string_view menu_name, std::optional<Point> at) {
  UnitModel* model = FindModel(window.Id());
  if (model == nullptr || !model->IsWindow()) return;
  const MenuModel* menu = nullptr;
  for (const MenuModel& candidate : model->window_state->menus) {
    if (candidate.name == menu_name) menu = &candidate;
  }
  if (menu == nullptr) throw LayoutError("window " + model->name + " has no menu " + Text(menu_name));
  Point where = at ? *at : backend_.MousePosition();
  MenuRecord record{model->name, menu->name, where, {}};
  std::optional<std::vector<int>> path = backend_.TrackPopupMenu(*model, *menu, where);
  const MenuItem* picked = nullptr;
  if (path) {
    const std::vector<MenuItem>* items = &menu->items;
    for (int index : *path) {
      if (index < 0 || index >= static_cast<int>(items->size())) {
        picked = nullptr;
        break;
      }
      picked = &(*items)[index];
      items = &picked->items;
    }
  }
  if (picked != nullptr && (picked->separator || !picked->enabled || !picked->items.empty())) picked = nullptr;
  if (picked != nullptr) record.picked = picked->caption;
  menus_.push_back(record);
  if (picked == nullptr || picked->handler.empty()) return;
  backend_.Post([this, window_id = model->id, handler = picked->handler, caption = picked->caption] {
    // As a click: a window behind a modal one takes no pick, also from a menu that was
    // open before the modal window.
    const UnitModel* owner = FindModel(window_id);
    if (owner == nullptr || owner->window_state->disabled_by_modal > 0) return;
    auto found = handlers_.find(handler);
    if (found == handlers_.end()) return;
    std::shared_ptr<Handler> run = found->second;
    (*run)(Event{Unit(*this, window_id), "Selected", {}, caption});
  });
}

int Program::GetMouseX() { return backend_.MousePosition().x; }
int Program::GetMouseY() { return backend_.MousePosition().y; }
int Program::GetScreenWidth() { return backend_.ScreenSize().x; }
int Program::GetScreenHeight() { return backend_.ScreenSize().y; }

void Program::SetWaitCursor() {
  if (wait_cursor_++ == 0) backend_.SetWaitCursor(true);
}

void Program::RestoreCursor() {
  if (wait_cursor_ == 0) return;
  if (--wait_cursor_ == 0) backend_.SetWaitCursor(false);
}

void Program::SetTrayIcon(const Window& window, bool shown, const Text& tip) {
  UnitModel* model = FindModel(window.Id());
  if (model == nullptr || !model->IsWindow()) return;
  TrayIcon& tray = model->window_state->tray;
  tray.shown = shown;
  tray.tip = tip;
  tray.icon = model->window_state->icon;
  backend_.UnitChanged(*model);
}

DeviceContext Program::GetDC(WindowHandle window) {
  if (FindModel(static_cast<UnitId>(window)) == nullptr) return 0;
  DeviceContext context = next_context_++;
  contexts_[context] = window;
  return context;
}

int Program::ReleaseDC(WindowHandle window, DeviceContext context) {
  auto found = contexts_.find(context);
  if (found == contexts_.end() || found->second != window) return 0;
  contexts_.erase(found);
  return 1;
}

bool Program::GradientFill(DeviceContext context, std::string_view vertex_bytes, std::uint32_t vertex_count,
                           const GradientRect* rects, std::uint32_t rect_count, std::uint32_t mode) {
  auto found = contexts_.find(context);
  if (found == contexts_.end()) return false;
  UnitModel* unit = FindModel(static_cast<UnitId>(found->second));
  DrawingState* drawing = unit == nullptr ? nullptr : unit->StateOf<DrawingState>();
  if (drawing == nullptr || rects == nullptr) return false;
  if (mode != kGradientFillRectH && mode != kGradientFillRectV) return false;
  if (vertex_bytes.size() < std::size_t{vertex_count} * sizeof(TriVertex)) return false;
  std::vector<TriVertex> vertices(vertex_count);
  std::memcpy(vertices.data(), vertex_bytes.data(), vertices.size() * sizeof(TriVertex));
  for (std::uint32_t i = 0; i < rect_count; ++i) {
    if (rects[i].upper_left >= vertex_count || rects[i].lower_right >= vertex_count) return false;
  }
  for (std::uint32_t i = 0; i < rect_count; ++i) {
    const TriVertex& from = vertices[rects[i].upper_left];
    const TriVertex& to = vertices[rects[i].lower_right];
    PaintOp op;
    op.kind = PaintKind::kGradient;
    op.left = from.x;
    op.top = from.y;
    op.right = to.x;
    op.bottom = to.y;
    op.mode = mode;
    op.colour_from = ColourOfVertex(from);
    op.colour_to = ColourOfVertex(to);
    const Unit panel(*this, unit->id);
    drawing->paints.Add(op, panel.DrawableWidth(), panel.DrawableHeight());
  }
  backend_.UnitChanged(*unit);
  return true;
}

RegionHandle Program::CreateRoundRectRgn(int left, int top, int right, int bottom, int corner_width,
                                         int corner_height) {
  RegionHandle region = next_region_++;
  regions_[region] = {left, top, right, bottom, corner_width, corner_height};
  return region;
}

int Program::SetWindowRgn(WindowHandle window, RegionHandle region, bool) {
  UnitModel* unit = FindModel(static_cast<UnitId>(window));
  auto found = regions_.find(region);
  if (unit == nullptr || found == regions_.end()) return 0;
  unit->region = found->second;
  regions_.erase(found);
  backend_.UnitChanged(*unit);
  return 1;
}

bool Program::AcceptsInput(const UnitModel& unit) const {
  const UnitModel& window = *unit.window;
  if (window.window_state->disabled_by_modal > 0 || !window.enabled || !window.visible) return false;
  for (const UnitModel* up = &unit; up != nullptr && !up->IsWindow();
       up = up->parent == 0 ? nullptr : FindModel(up->parent)) {
    if (!up->visible || !up->enabled) return false;
  }
  return true;
}

bool Program::UserClick(const Unit& unit) {
  UnitModel* model = FindModel(unit.Id());
  if (model == nullptr || !AcceptsInput(*model)) return false;
  if (CheckBoxState* box = model->StateOf<CheckBoxState>()) {
    box->tick = box->tick == 0 ? 1 : 0;
    backend_.UnitChanged(*model);
  }
  RaiseEvent(model->id, "Clicked");
  return true;
}

bool Program::UserLeftButtonDown(const Unit& unit, int x, int y) {
  UnitModel* model = FindModel(unit.Id());
  if (model == nullptr || !AcceptsInput(*model)) return false;
  RaiseEvent(model->id, "LeftButtonDown", {x, y, 1});
  return true;
}

bool Program::UserKey(const Window& window, std::string_view key) {
  UnitModel* model = FindModel(window.Id());
  if (model == nullptr || !model->IsWindow() || !AcceptsInput(*model)) return false;
  if (key == "Esc" && model->window_state->esc_closes) DestroyUnit(window);
  return true;
}

bool Program::UserCloseBox(const Window& window) {
  UnitModel* model = FindModel(window.Id());
  if (model == nullptr || !model->IsWindow() || !AcceptsInput(*model)) return false;
  if (model->window_state->frame != WindowFrame::kFixedDialog) return false;
  DestroyUnit(window);
  return true;
}

bool Program::UserTrayEvent(const Window& window, int value) {
  UnitModel* model = FindModel(window.Id());
  if (model == nullptr || !model->IsWindow() || !model->window_state->tray.shown) return false;
  // The icon of a window behind a modal one is as disabled as the window: a tray menu
  // there would open a second modal window or end the program inside the modal loop.
  if (model->window_state->disabled_by_modal > 0) return false;
  RaiseEvent(model->id, "TrayIconEvent", {value});
  return true;
}

bool Program::SelectForUser(UnitModel* list, int item) {
  if (list == nullptr || !AcceptsInput(*list)) return false;
  int* selection = nullptr;
  std::size_t count = 0;
  if (ListBoxState* rows = list->StateOf<ListBoxState>()) {
    selection = &rows->selection;
    count = rows->rows.size();
  } else if (TreeBoxState* tree = list->StateOf<TreeBoxState>()) {
    selection = &tree->selection;
    count = tree->items.size();
  }
  if (selection == nullptr || item < 0 || static_cast<std::size_t>(item) >= count) return false;
  *selection = item;
  backend_.UnitChanged(*list);
  return true;
}

bool Program::UserSelectItem(const Unit& list, int item) {
  if (!SelectForUser(FindModel(list.Id()), item)) return false;
  RaiseEvent(list.Id(), "Clicked");
  return true;
}

bool Program::UserActivateTreeItem(const TreeBox& tree, int item) {
  UnitModel* model = FindModel(tree.Id());
  if (model == nullptr || model->kind != UnitKind::kTreeBox || !SelectForUser(model, item)) return false;
  RaiseEvent(model->id, "ItemActivated", {item});
  return true;
}

bool Program::UserNavigate(const WebBrowserBox& browser, const Text& address) {
  UnitModel* model = FindModel(browser.Id());
  if (model == nullptr || model->kind != UnitKind::kWebBrowserBox || !AcceptsInput(*model)) return false;
  NavigateBrowser(*model, address);
  return true;
}

void Program::NavigateBrowser(UnitModel& browser, const Text& address) {
  BrowserState& state = std::get<BrowserState>(browser.state);
  const Text page = platform::GatedAddress(address, platform::AddressUse::kBrowser);
  if (page.empty()) {
    state.address.clear();
    state.page = std::make_shared<const std::string>();
    backend_.BrowserShowBlank(browser);
    UnitChanged(browser);
    return;
  }
  PushHistory(state, page);
  ++state.loads;
  backend_.BrowserLoad(browser, page);
}

void Program::RunBrowser(UnitModel& browser, BrowserCommand command) {
  BrowserState& state = std::get<BrowserState>(browser.state);
  if (command == BrowserCommand::kStop) {
    backend_.BrowserStop(browser);
  } else if (std::optional<Text> address = MoveInHistory(state, command)) {
    ++state.loads;
    backend_.BrowserLoad(browser, *address);
  }
}

void Program::BrowserMovedItself(UnitId browser, const Text& address) {
  UnitModel* model = FindModel(browser);
  BrowserState* state = model == nullptr ? nullptr : model->StateOf<BrowserState>();
  if (state == nullptr) return;
  PushHistory(*state, address);
  ++state->loads;
}

void Program::PageArrived(UnitId browser, const Text& address, std::string bytes) {
  UnitModel* model = FindModel(browser);
  BrowserState* state = model == nullptr ? nullptr : model->StateOf<BrowserState>();
  if (state == nullptr) return;
  state->address = address;
  state->page = std::make_shared<const std::string>(std::move(bytes));
  UnitChanged(*model);
  RaiseEvent(browser, "Navigated", {}, address);
}

void Program::RunEngine(UnitModel& engine, EngineOperation operation, const Text& value) {
  std::get<EngineState>(engine.state).Record({EngineOperationName(operation), value});  // the properties read back
  backend_.EngineRun(engine, operation, value);
}

UserInput& InputOf(Program& program) { return program; }
BackendReports& ReportsOf(Program& program) { return program; }
const ProgramInspection& InspectionOf(const Program& program) { return program; }
const UnitModel* ModelOf(const Unit& unit) {
  return unit.GetProgram() == nullptr ? nullptr : InspectionOf(*unit.GetProgram()).FindModel(unit.Id());
}
Backend& BackendOf(Program& program) { return program.backend_; }

void Program::WindowMoved(UnitId window, Point place) {
  UnitModel* model = FindModel(window);
  if (model == nullptr || !model->IsWindow()) return;
  model->rect.left = place.x;
  model->rect.top = place.y;
}

bool Program::UserShortcutMenu(const WebBrowserBox& browser) {
  UnitModel* model = FindModel(browser.Id());
  if (model == nullptr || model->kind != UnitKind::kWebBrowserBox || !AcceptsInput(*model)) return false;
  RaiseEvent(model->id, "ShortcutMenuRequested", {0, 0, 0});
  return true;
}

}  // namespace korvane::platform::ui
