#include "platform/ui/unit_kinds.h"

#include <algorithm>
#include <array>

#include "platform/ui/dump_fields.h"
#include "platform/ui/layout_fields.h"

namespace korvane::platform::ui {
namespace {

using nlohmann::json;

// --- Layout keys, read into the kind's state.

template <typename State>
UnitState Make() {
  return State{};
}

void ReadNothing(const LayoutFields&, UnitModel&) {}

// The kind's one key, when the layout gives it, into a field of its state.
template <typename State, typename Value>
void ReadKey(const LayoutFields& fields, UnitModel& unit, const std::string& key, Value State::*field,
             Value (LayoutValues::*read)(const json&, std::string_view) const) {
  if (fields.object.contains(key)) {
    std::get<State>(unit.state).*field = (fields.values.*read)(fields.object[key], fields.where);
  }
}

void ReadCheckBox(const LayoutFields& fields, UnitModel& unit) {
  ReadKey(fields, unit, "tick", &CheckBoxState::tick, &LayoutValues::ReadInt);
}

void ReadEditBox(const LayoutFields& fields, UnitModel& unit) {
  ReadKey(fields, unit, "multi_line", &EditBoxState::multi_line, &LayoutValues::ReadBool);
  ReadKey(fields, unit, "vertical_scroll_bar", &EditBoxState::vertical_scroll_bar, &LayoutValues::ReadBool);
}

void ReadListBox(const LayoutFields& fields, UnitModel& unit) {
  ReadKey(fields, unit, "rows", &ListBoxState::rows, &LayoutValues::ReadTexts);
}

void ReadTimer(const LayoutFields& fields, UnitModel& unit) {
  ReadKey(fields, unit, "interval", &TimerState::interval_ms, &LayoutValues::ReadInt);
}

void ReadHypertext(const LayoutFields& fields, UnitModel& unit) {
  ReadKey(fields, unit, "address", &HypertextState::address, &LayoutValues::ReadText);
}

void ReadDrawing(const LayoutFields& fields, UnitModel& unit) {
  ReadKey(fields, unit, "auto_redraw", &DrawingState::auto_redraw, &LayoutValues::ReadBool);
}

// --- Dump fields.

void DumpNothing(const UnitModel&, DumpFields&) {}

// The look of the units the backend draws with text.
void DumpLook(const UnitModel& unit, DumpFields& fields) {
  fields.line["back_colour"] = unit.back_colour;
  fields.line["text_colour"] = unit.text_colour;
  fields.line["font"] = DumpFont(unit.font);
  fields.line["border"] = static_cast<int>(unit.border);
}

void DumpCheckBox(const UnitModel& unit, DumpFields& fields) {
  fields.line["tick"] = std::get<CheckBoxState>(unit.state).tick;
}

void DumpListBox(const UnitModel& unit, DumpFields& fields) {
  const auto& list = std::get<ListBoxState>(unit.state);
  fields.line["rows"] = DumpTexts(list.rows);
  fields.line["selection"] = list.selection;
}

void DumpTreeBox(const UnitModel& unit, DumpFields& fields) {
  const auto& tree = std::get<TreeBoxState>(unit.state);
  json items = json::array();
  for (const TreeItem& item : tree.items) {
    items.push_back({{"text", DumpText(item.text)}, {"parent", item.parent}, {"expanded", item.expanded}});
  }
  fields.line["items"] = items;
  fields.line["selection"] = tree.selection;
}

void DumpTimer(const UnitModel& unit, DumpFields& fields) {
  const auto& timer = std::get<TimerState>(unit.state);
  fields.line["interval"] = timer.interval_ms;
  fields.line["running"] = timer.timer != 0;
}

void DumpBrowser(const UnitModel& unit, DumpFields& fields) {
  const auto& browser = std::get<BrowserState>(unit.state);
  fields.line["address"] = DumpText(browser.address);
  fields.line["history"] = DumpTexts(browser.history);
  fields.line["history_position"] = browser.history_position;
  fields.line["loads"] = browser.loads;
}

void DumpHypertext(const UnitModel& unit, DumpFields& fields) {
  fields.line["address"] = DumpText(std::get<HypertextState>(unit.state).address);
}

void DumpEngine(const UnitModel& unit, DumpFields& fields) {
  json calls = json::array();
  for (const EngineCall& call : std::get<EngineState>(unit.state).calls) {
    calls.push_back(call.value.empty() && call.operation.find("Address") == Text::npos
                        ? json(call.operation)
                        : json::array({call.operation, DumpText(call.value)}));
  }
  fields.line["calls"] = calls;
}

void DumpDrawPanel(const UnitModel& unit, DumpFields& fields) {
  const auto& drawing = std::get<DrawingState>(unit.state);
  fields.line["auto_redraw"] = drawing.auto_redraw;
  json paints = json::array();
  for (const PaintOp& op : drawing.paints.Recent()) paints.push_back(DumpPaint(op));
  fields.line["paints"] = paints;
  DumpLook(unit, fields);
}

// --- Clones keep a kind's settings, not its content.

template <typename State>
UnitState CloneSame(const UnitState& state) {
  return std::get<State>(state);
}

template <typename State>
UnitState CloneFresh(const UnitState&) {
  return State{};
}

UnitState CloneTimer(const UnitState& state) {
  TimerState timer;
  timer.interval_ms = std::get<TimerState>(state).interval_ms;
  return timer;
}

UnitState CloneDrawing(const UnitState& state) {
  DrawingState drawing;
  drawing.auto_redraw = std::get<DrawingState>(state).auto_redraw;
  return drawing;
}

// --- The kinds.

constexpr std::string_view kCheckBoxKeys[] = {"tick"};
constexpr std::string_view kEditBoxKeys[] = {"multi_line", "vertical_scroll_bar"};
constexpr std::string_view kListBoxKeys[] = {"rows"};
constexpr std::string_view kTimerKeys[] = {"interval"};
constexpr std::string_view kHypertextKeys[] = {"address"};
constexpr std::string_view kDrawPanelKeys[] = {"auto_redraw"};

constexpr std::string_view kWindowEvents[] = {"Created", "TrayIconEvent"};
constexpr std::string_view kPointerEvents[] = {"Clicked", "LeftButtonDown"};
constexpr std::string_view kTreeBoxEvents[] = {"Clicked", "LeftButtonDown", "ItemActivated"};
constexpr std::string_view kBrowserEvents[] = {"Clicked", "LeftButtonDown", "Navigated", "PageComplete",
                                               "ShortcutMenuRequested"};
constexpr std::string_view kTimerEvents[] = {"Tick"};

constexpr std::span<const std::string_view> kNone;

constexpr std::array kKinds{
    KindDescriptor{UnitKind::kWindow, "Window", kNone, kWindowEvents, DesktopPeer::kNone, Make<PlainState>,
                   ReadNothing, DumpNothing, CloneSame<PlainState>},
    KindDescriptor{UnitKind::kPictureBox, "PictureBox", kNone, kPointerEvents, DesktopPeer::kDrawn,
                   Make<DrawingState>, ReadNothing, DumpLook, CloneDrawing},
    KindDescriptor{UnitKind::kPictureButton, "PictureButton", kNone, kPointerEvents, DesktopPeer::kDrawn,
                   Make<PlainState>, ReadNothing, DumpNothing, CloneSame<PlainState>},
    KindDescriptor{UnitKind::kTransparentLabel, "TransparentLabel", kNone, kPointerEvents, DesktopPeer::kDrawn,
                   Make<PlainState>, ReadNothing, DumpLook, CloneSame<PlainState>},
    KindDescriptor{UnitKind::kLabel, "Label", kNone, kPointerEvents, DesktopPeer::kDrawn, Make<PlainState>,
                   ReadNothing, DumpLook, CloneSame<PlainState>},
    KindDescriptor{UnitKind::kCheckBox, "CheckBox", kCheckBoxKeys, kPointerEvents, DesktopPeer::kCheckButton,
                   Make<CheckBoxState>, ReadCheckBox, DumpCheckBox, CloneFresh<CheckBoxState>},
    KindDescriptor{UnitKind::kTreeBox, "TreeBox", kNone, kTreeBoxEvents, DesktopPeer::kTreeView,
                   Make<TreeBoxState>, ReadNothing, DumpTreeBox, CloneFresh<TreeBoxState>},
    KindDescriptor{UnitKind::kListBox, "ListBox", kListBoxKeys, kPointerEvents, DesktopPeer::kListView,
                   Make<ListBoxState>, ReadListBox, DumpListBox, CloneFresh<ListBoxState>},
    KindDescriptor{UnitKind::kEditBox, "EditBox", kEditBoxKeys, kPointerEvents, DesktopPeer::kTextView,
                   Make<EditBoxState>, ReadEditBox, DumpNothing, CloneSame<EditBoxState>},
    KindDescriptor{UnitKind::kGroupBox, "GroupBox", kNone, kPointerEvents, DesktopPeer::kDrawn, Make<PlainState>,
                   ReadNothing, DumpNothing, CloneSame<PlainState>},
    KindDescriptor{UnitKind::kDrawPanel, "DrawPanel", kDrawPanelKeys, kPointerEvents, DesktopPeer::kDrawn,
                   Make<DrawingState>, ReadDrawing, DumpDrawPanel, CloneDrawing},
    KindDescriptor{UnitKind::kTimer, "Timer", kTimerKeys, kTimerEvents, DesktopPeer::kNone, Make<TimerState>,
                   ReadTimer, DumpTimer, CloneTimer},
    KindDescriptor{UnitKind::kWebBrowserBox, "WebBrowserBox", kNone, kBrowserEvents, DesktopPeer::kWebView,
                   Make<BrowserState>, ReadNothing, DumpBrowser, CloneFresh<BrowserState>},
    KindDescriptor{UnitKind::kHypertextBox, "HypertextBox", kHypertextKeys, kPointerEvents, DesktopPeer::kWebView,
                   Make<HypertextState>, ReadHypertext, DumpHypertext, CloneFresh<HypertextState>},
    KindDescriptor{UnitKind::kPlaybackEngine, "PlaybackEngine", kNone, kPointerEvents, DesktopPeer::kVideo,
                   Make<EngineState>, ReadNothing, DumpEngine, CloneFresh<EngineState>},
    KindDescriptor{UnitKind::kZipUnit, "ZipUnit", kNone, kNone, DesktopPeer::kNone, Make<PlainState>, ReadNothing,
                   DumpNothing, CloneSame<PlainState>},
    KindDescriptor{UnitKind::kMenuSkin, "MenuSkin", kNone, kNone, DesktopPeer::kNone, Make<PlainState>, ReadNothing,
                   DumpNothing, CloneSame<PlainState>},
};

static_assert([] {
  if (kKinds.size() != static_cast<std::size_t>(UnitKind::kMenuSkin) + 1) return false;
  for (std::size_t i = 0; i < kKinds.size(); ++i) {
    if (static_cast<std::size_t>(kKinds[i].kind) != i) return false;
  }
  return true;
}());

}  // namespace

// Every kind is in the table, in the order of UnitKind.
const KindDescriptor& Describe(UnitKind kind) { return kKinds[static_cast<std::size_t>(kind)]; }

bool Raises(UnitKind kind, std::string_view event) {
  const auto events = Describe(kind).events;
  return std::find(events.begin(), events.end(), event) != events.end();
}

std::string_view KindName(UnitKind kind) { return Describe(kind).name; }

std::optional<UnitKind> KindFromName(std::string_view name) {
  for (const KindDescriptor& descriptor : kKinds) {
    if (descriptor.name == name) return descriptor.kind;
  }
  return std::nullopt;
}

}  // namespace korvane::platform::ui
