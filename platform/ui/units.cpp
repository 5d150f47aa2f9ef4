#include "platform/ui/units.h"

#include <algorithm>

#include "platform/services/web_address.h"
#include "platform/ui/layout.h"
#include "platform/ui/program.h"

namespace korvane::platform::ui {
namespace {

// A fixed dialog's frame takes a 3-pixel edge on each side and a 22-pixel caption bar.
constexpr int kFrameEdge = 3;
constexpr int kCaptionBar = 22;

const std::vector<PaintOp> kNoPaints;

// The state of a unit of the kind that holds it; nullptr for a unit gone or of another kind.
template <typename State>
State* StateOf(UnitModel* model) {
  return model == nullptr ? nullptr : model->StateOf<State>();
}
template <typename State>
const State* StateOf(const UnitModel* model) {
  return model == nullptr ? nullptr : model->StateOf<State>();
}

}  // namespace

const UnitModel* Unit::Model() const { return MutableModel(); }

UnitServices* Unit::Services() const { return program_; }

UnitModel* Unit::MutableModel() const { return program_ == nullptr ? nullptr : Services()->FindModel(id_); }

void Unit::Changed() const {
  if (UnitModel* model = MutableModel()) Services()->UnitChanged(*model);
}

UnitKind Unit::Kind() const {
  const UnitModel* model = Model();
  return model == nullptr ? UnitKind::kWindow : model->kind;
}

Text Unit::Name() const {
  const UnitModel* model = Model();
  return model == nullptr ? Text() : model->name;
}

Window Unit::ParentWindow() const {
  const UnitModel* model = Model();
  if (model == nullptr) return {};
  return Window(*program_, model->window->id);
}

// Reads and writes of one field, doing nothing once the unit has gone. Every write tells
// the backend, also of an unchanged value: a timer counts afresh from it.
#define KORVANE_UNIT_PROPERTY(Class, Getter, Setter, Type, Parameter, field) \
  Type Class::Getter() const {                                               \
    const UnitModel* model = Model();                                        \
    return model == nullptr ? Type{} : model->field;                         \
  }                                                                          \
  void Class::Setter(Parameter value) {                                      \
    UnitModel* model = MutableModel();                                       \
    if (model == nullptr) return;                                            \
    model->field = value;                                                    \
    Changed();                                                               \
  }

KORVANE_UNIT_PROPERTY(Unit, Visible, SetVisible, bool, bool, visible)
KORVANE_UNIT_PROPERTY(Unit, Enabled, SetEnabled, bool, bool, enabled)
KORVANE_UNIT_PROPERTY(Unit, Left, SetLeft, int, int, rect.left)
KORVANE_UNIT_PROPERTY(Unit, Top, SetTop, int, int, rect.top)
KORVANE_UNIT_PROPERTY(Unit, Width, SetWidth, int, int, rect.width)
KORVANE_UNIT_PROPERTY(Unit, Height, SetHeight, int, int, rect.height)
KORVANE_UNIT_PROPERTY(Unit, Caption, SetCaption, Text, const Text&, caption)
KORVANE_UNIT_PROPERTY(Unit, TextColour, SetTextColour, Colour, Colour, text_colour)
KORVANE_UNIT_PROPERTY(Unit, GetFont, SetFont, Font, const Font&, font)
KORVANE_UNIT_PROPERTY(Unit, GetAlignment, SetAlignment, Alignment, Alignment, alignment)
KORVANE_UNIT_PROPERTY(Unit, GetBorder, SetBorder, Border, Border, border)
KORVANE_UNIT_PROPERTY(PictureBox, Picture, SetPicture, Text, const Text&, pictures.normal)
KORVANE_UNIT_PROPERTY(PictureButton, NormalPicture, SetNormalPicture, Text, const Text&, pictures.normal)
KORVANE_UNIT_PROPERTY(PictureButton, HoverPicture, SetHoverPicture, Text, const Text&, pictures.hover)
KORVANE_UNIT_PROPERTY(PictureButton, PressedPicture, SetPressedPicture, Text, const Text&, pictures.pressed)
KORVANE_UNIT_PROPERTY(PictureButton, DisabledPicture, SetDisabledPicture, Text, const Text&, pictures.disabled)

#undef KORVANE_UNIT_PROPERTY

// The same for a field of the kind's own state.
#define KORVANE_STATE_PROPERTY(Class, Getter, Setter, Type, State, field) \
  Type Class::Getter() const {                                           \
    const State* state = StateOf<State>(Model());                        \
    return state == nullptr ? Type{} : state->field;                     \
  }                                                                      \
  void Class::Setter(Type value) {                                       \
    State* state = StateOf<State>(MutableModel());                       \
    if (state == nullptr) return;                                        \
    state->field = value;                                                \
    Changed();                                                           \
  }

KORVANE_STATE_PROPERTY(CheckBox, Tick, SetTick, int, CheckBoxState, tick)
KORVANE_STATE_PROPERTY(DrawPanel, AutoRedraw, SetAutoRedraw, bool, DrawingState, auto_redraw)
KORVANE_STATE_PROPERTY(Timer, Interval, SetInterval, int, TimerState, interval_ms)

#undef KORVANE_STATE_PROPERTY

bool Unit::Shown() const { return program_ != nullptr && InspectionOf(*program_).IsShown(id_); }

Text Unit::Hint() const {
  const UnitModel* model = Model();
  return model == nullptr ? Text() : model->hint;
}

Colour Unit::BackColour() const {
  const UnitModel* model = Model();
  return model == nullptr ? kDefaultColour : model->back_colour;
}

void Unit::SetBackColour(Colour colour) {
  UnitModel* model = MutableModel();
  if (model == nullptr) return;
  model->back_colour = colour;
  if (DrawingState* drawing = model->StateOf<DrawingState>()) {
    PaintOp clear;
    clear.kind = PaintKind::kClear;
    clear.colour_from = colour;
    drawing->paints.Add(clear, DrawableWidth(), DrawableHeight());
  }
  Changed();
}

int Unit::DrawableWidth() const {
  const UnitModel* model = Model();
  if (model == nullptr) return 0;
  int inset = model->IsWindow()
                  ? (model->window_state->frame == WindowFrame::kFixedDialog ? 2 * kFrameEdge : 0)
                  : 2 * BorderInset(model->border);
  return std::max(0, model->rect.width - inset);
}

int Unit::DrawableHeight() const {
  const UnitModel* model = Model();
  if (model == nullptr) return 0;
  int inset = model->IsWindow() ? (model->window_state->frame == WindowFrame::kFixedDialog
                                       ? 2 * kFrameEdge + kCaptionBar
                                       : 0)
                                : 2 * BorderInset(model->border);
  return std::max(0, model->rect.height - inset);
}

// --- Tree box ---

void TreeBox::Clear() {
  TreeBoxState* tree = StateOf<TreeBoxState>(MutableModel());
  if (tree == nullptr) return;
  tree->items.clear();
  tree->selection = -1;
  Changed();
}

int TreeBox::AddItem(int parent, const Text& text) {
  TreeBoxState* tree = StateOf<TreeBoxState>(MutableModel());
  if (tree == nullptr) return -1;
  auto& items = tree->items;
  const int count = static_cast<int>(items.size());
  if (parent < -1 || parent >= count) return -1;
  // A new last child goes after the parent's last descendant, so numbers follow list order.
  // A subtree stands in one run after its root, so when the list's last item lies in the
  // parent's subtree the child goes last, and a list filled in order grows in linear time.
  int at = count;
  if (parent >= 0) {
    auto descends = [&](int item) {
      for (int up = items[item].parent; up != -1; up = items[up].parent) {
        if (up == parent) return true;
      }
      return false;
    };
    if (count - 1 != parent && !descends(count - 1)) {
      at = parent + 1;
      while (at < count && descends(at)) ++at;
    }
  }
  if (at < count) {
    for (TreeItem& item : items) {
      if (item.parent >= at) ++item.parent;
    }
  }
  items.insert(items.begin() + at, TreeItem{text, parent, false});
  if (tree->selection >= at) ++tree->selection;
  Changed();
  return at;
}

void TreeBox::Expand(int item) {
  TreeBoxState* tree = StateOf<TreeBoxState>(MutableModel());
  if (tree == nullptr || item < 0 || item >= static_cast<int>(tree->items.size())) return;
  tree->items[item].expanded = true;
  Changed();
}

int TreeBox::GetParent(int item) const {
  const TreeBoxState* tree = StateOf<TreeBoxState>(Model());
  if (tree == nullptr || item < 0 || item >= static_cast<int>(tree->items.size())) return -1;
  return tree->items[item].parent;
}

int TreeBox::ItemCount() const {
  const TreeBoxState* tree = StateOf<TreeBoxState>(Model());
  return tree == nullptr ? 0 : static_cast<int>(tree->items.size());
}

Text TreeBox::ItemText(int item) const {
  const TreeBoxState* tree = StateOf<TreeBoxState>(Model());
  if (tree == nullptr || item < 0 || item >= static_cast<int>(tree->items.size())) return {};
  return tree->items[item].text;
}

int TreeBox::CurrentSelection() const {
  const TreeBoxState* tree = StateOf<TreeBoxState>(Model());
  return tree == nullptr ? -1 : tree->selection;
}

void TreeBox::SetCurrentSelection(int item) {
  TreeBoxState* tree = StateOf<TreeBoxState>(MutableModel());
  if (tree == nullptr) return;
  tree->selection = item >= 0 && item < static_cast<int>(tree->items.size()) ? item : -1;
  Changed();
}

// --- List box ---

void ListBox::Clear() {
  ListBoxState* list = StateOf<ListBoxState>(MutableModel());
  if (list == nullptr) return;
  list->rows.clear();
  list->selection = -1;
  Changed();
}

int ListBox::AddItem(const Text& text) { return InsertItem(-1, text); }

int ListBox::InsertItem(int index, const Text& text) {
  ListBoxState* list = StateOf<ListBoxState>(MutableModel());
  if (list == nullptr) return -1;
  const int count = static_cast<int>(list->rows.size());
  const int at = index >= 0 && index < count ? index : count;
  list->rows.insert(list->rows.begin() + at, text);
  if (list->selection >= at) ++list->selection;
  Changed();
  return at;
}

int ListBox::GetCount() const {
  const ListBoxState* list = StateOf<ListBoxState>(Model());
  return list == nullptr ? 0 : static_cast<int>(list->rows.size());
}

Text ListBox::GetItemText(int index) const {
  const ListBoxState* list = StateOf<ListBoxState>(Model());
  if (list == nullptr || index < 0 || index >= static_cast<int>(list->rows.size())) return {};
  return list->rows[index];
}

int ListBox::Selection() const {
  const ListBoxState* list = StateOf<ListBoxState>(Model());
  return list == nullptr ? -1 : list->selection;
}

void ListBox::SetSelection(int index) {
  ListBoxState* list = StateOf<ListBoxState>(MutableModel());
  if (list == nullptr) return;
  list->selection = index >= 0 && index < static_cast<int>(list->rows.size()) ? index : -1;
  Changed();
}

// --- Drawing panel ---

void DrawPanel::SetWritePosition(int x, int y) {
  DrawingState* drawing = StateOf<DrawingState>(MutableModel());
  if (drawing == nullptr) return;
  drawing->write_x = x;
  drawing->write_y = y;
}

void DrawPanel::WriteText(const Text& text) {
  UnitModel* model = MutableModel();
  DrawingState* drawing = StateOf<DrawingState>(model);
  if (drawing == nullptr) return;
  const Point size = Services()->GetViews().MeasureText(model->font, text);
  PaintOp op;
  op.kind = PaintKind::kText;
  op.x = drawing->write_x;
  op.y = drawing->write_y;
  op.left = op.x;
  op.top = op.y;
  op.right = op.x + size.x;
  op.bottom = op.y + size.y;
  op.text = text;
  op.colour_from = model->text_colour;
  op.font = model->font;
  drawing->paints.Add(op, DrawableWidth(), DrawableHeight());
  drawing->write_x = 0;
  drawing->write_y += size.y;
  Changed();
}

int DrawPanel::TextWidth(const Text& text) const {
  const UnitModel* model = Model();
  return model == nullptr ? 0 : Services()->GetViews().MeasureText(model->font, text).x;
}

int DrawPanel::TextHeight(const Text& text) const {
  const UnitModel* model = Model();
  return model == nullptr ? 0 : Services()->GetViews().MeasureText(model->font, text).y;
}

const std::vector<PaintOp>& DrawPanel::Paints() const {
  const DrawingState* drawing = StateOf<DrawingState>(Model());
  return drawing == nullptr ? kNoPaints : drawing->paints.Recent();
}

std::uint64_t DrawPanel::PaintCount() const {
  const DrawingState* drawing = StateOf<DrawingState>(Model());
  return drawing == nullptr ? 0 : drawing->paints.Count();
}

std::vector<PaintOp> DrawPanel::PaintsSince(std::uint64_t mark) const {
  const DrawingState* drawing = StateOf<DrawingState>(Model());
  return drawing == nullptr ? std::vector<PaintOp>() : drawing->paints.Since(mark);
}

// --- Browser, hypertext and engine ---

void WebBrowserBox::Navigate(const Text& address) {
  if (UnitModel* model = MutableModel(); StateOf<BrowserState>(model)) {
    Services()->NavigateBrowser(*model, address);
  }
}

namespace {

void RunBrowser(UnitServices* services, UnitModel* model, BrowserCommand command) {
  if (StateOf<BrowserState>(model) != nullptr) services->RunBrowser(*model, command);
}

}  // namespace

void WebBrowserBox::GoBack() { RunBrowser(Services(), MutableModel(), BrowserCommand::kGoBack); }
void WebBrowserBox::GoForward() { RunBrowser(Services(), MutableModel(), BrowserCommand::kGoForward); }
void WebBrowserBox::Stop() { RunBrowser(Services(), MutableModel(), BrowserCommand::kStop); }
void WebBrowserBox::Refresh() { RunBrowser(Services(), MutableModel(), BrowserCommand::kRefresh); }

Text WebBrowserBox::Address() const {
  const BrowserState* browser = StateOf<BrowserState>(Model());
  return browser == nullptr ? Text() : browser->address;
}

std::string WebBrowserBox::GetPageSource() const { return *SharedPageSource(); }

std::shared_ptr<const std::string> WebBrowserBox::SharedPageSource() const {
  const BrowserState* browser = StateOf<BrowserState>(Model());
  return browser == nullptr ? std::make_shared<const std::string>() : browser->page;
}

Text HypertextBox::Address() const {
  const HypertextState* box = StateOf<HypertextState>(Model());
  return box == nullptr ? Text() : box->address;
}

void HypertextBox::SetAddress(const Text& address) {
  UnitModel* model = MutableModel();
  HypertextState* box = StateOf<HypertextState>(model);
  if (box == nullptr) return;
  box->address = platform::GatedAddress(address, platform::AddressUse::kAdView);
  Services()->GetViews().HypertextShow(*model);
  Changed();
}

namespace {

void RunEngine(UnitServices* services, UnitModel* model, EngineOperation operation, const Text& value = {}) {
  if (StateOf<EngineState>(model) == nullptr) return;
  services->RunEngine(*model, operation, value);
}

}  // namespace

void PlaybackEngine::Play() { RunEngine(Services(), MutableModel(), EngineOperation::kPlay); }
void PlaybackEngine::Pause() { RunEngine(Services(), MutableModel(), EngineOperation::kPause); }
void PlaybackEngine::Stop() { RunEngine(Services(), MutableModel(), EngineOperation::kStop); }
void PlaybackEngine::PrepareEpisodeChange() {
  RunEngine(Services(), MutableModel(), EngineOperation::kPrepareEpisodeChange);
}
void PlaybackEngine::SetMediaAddress(const Text& address) {
  RunEngine(Services(), MutableModel(), EngineOperation::kMediaAddress, address);
}
void PlaybackEngine::SetPauseAdAddress(const Text& address) {
  RunEngine(Services(), MutableModel(), EngineOperation::kPauseAdAddress, address);
}
Text PlaybackEngine::MediaAddress() const {
  const EngineState* engine = StateOf<EngineState>(Model());
  return engine == nullptr ? Text() : engine->media_address;
}

Text PlaybackEngine::PauseAdAddress() const {
  const EngineState* engine = StateOf<EngineState>(Model());
  return engine == nullptr ? Text() : engine->pause_ad_address;
}

// --- Window ---

UnitId Window::FindId(std::string_view name, bool (*accepts)(UnitKind)) const {
  const UnitModel* model = Model();
  if (model == nullptr || !model->IsWindow()) throw LayoutError("no window to find " + Text(name) + " in");
  for (const auto& control : model->window_state->controls) {
    if (control->name != name || control->clone_of != 0) continue;
    if (!accepts(control->kind)) {
      throw LayoutError("window " + model->name + ": " + Text(name) + " is a " +
                        Text(KindName(control->kind)));
    }
    return control->id;
  }
  throw LayoutError("window " + model->name + " has no control " + Text(name));
}

bool Window::Has(std::string_view name) const {
  const UnitModel* model = Model();
  if (model == nullptr || !model->IsWindow()) return false;
  return std::any_of(model->window_state->controls.begin(), model->window_state->controls.end(),
                     [&](const auto& control) { return control->name == name; });
}

bool Window::AlwaysOnTop() const {
  const UnitModel* model = Model();
  return model != nullptr && model->IsWindow() && model->window_state->always_on_top;
}

void Window::SetAlwaysOnTop(bool on_top) {
  UnitModel* model = MutableModel();
  if (model == nullptr || !model->IsWindow()) return;
  model->window_state->always_on_top = on_top;
  Changed();
}

WindowPosition Window::Position() const {
  const UnitModel* model = Model();
  return model == nullptr || !model->IsWindow() ? WindowPosition::kNormal : model->window_state->position;
}

void Window::SetPosition(WindowPosition position) {
  UnitModel* model = MutableModel();
  if (model == nullptr || !model->IsWindow()) return;
  model->window_state->position = position;
  Changed();
}

bool Window::Interactive() const {
  const UnitModel* model = Model();
  return model != nullptr && model->IsWindow() && model->window_state->disabled_by_modal == 0;
}

bool Window::IsModal() const {
  const UnitModel* model = Model();
  return model != nullptr && model->IsWindow() && model->window_state->modal;
}

bool Window::Closing() const {
  const UnitModel* model = Model();
  return model == nullptr || (model->IsWindow() && model->window_state->close_requested);
}

}  // namespace korvane::platform::ui
