#pragma once
// The retained model: every window of a program with its controls, their properties and
// their events. The model knows no toolkit; backends show it and feed user input into it.
// Programs never hold these structs: they use the typed handles of units.h, which find a
// unit again by its id and so stay safe after its window has closed.

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/ui/paint.h"
#include "platform/ui/types.h"

namespace korvane::platform::ui {

using UnitId = std::uint32_t;

struct Pictures {
  Text normal;  // also the picture of a picture box, drawing panel or window background
  Text hover;
  Text pressed;
  Text disabled;
  bool operator==(const Pictures&) const = default;
};

struct MenuItem {
  Text caption;
  Text handler;  // bound to the item's Selected event
  Text icon;     // picture name, drawn by the menu skin
  bool separator = false;
  bool enabled = true;
  std::vector<MenuItem> items;  // a submenu when not empty
};

struct MenuModel {
  Text name;
  std::vector<MenuItem> items;
};

struct TreeItem {
  Text text;
  int parent = -1;  // item number, -1 for a top-level item
  bool expanded = false;
};

struct BrowserState {
  std::vector<Text> history;
  int history_position = -1;
  Text address;      // of the page shown
  // Its raw bytes, shared with those who keep them (never null): a page can be many
  // megabytes.
  std::shared_ptr<const std::string> page = std::make_shared<const std::string>();
  int loads = 0;     // navigations started, refreshes included
};

struct EngineCall {
  Text operation;  // "Play", "Pause", "Stop", "PrepareEpisodeChange", "MediaAddress", ...
  Text value;      // the value written, for a property
  bool operator==(const EngineCall&) const = default;
};

struct TrayIcon {
  bool shown = false;
  Text icon;
  Text tip;
};

struct WindowState {
  Text layout_name;
  WindowFrame frame = WindowFrame::kNone;
  bool taskbar_button = true;
  bool esc_closes = false;
  bool draggable = false;
  bool centred = true;
  bool always_on_top = false;
  bool modal = false;
  WindowPosition position = WindowPosition::kNormal;
  Text icon;
  int disabled_by_modal = 0;  // modal windows open above this one
  bool close_requested = false;
  std::vector<MenuModel> menus;
  TrayIcon tray;
  std::vector<std::unique_ptr<struct UnitModel>> controls;  // in layout order
};

// --- The state of one kind of control, beside the properties every unit has. Each kind's
// descriptor (unit_kinds.h) says which of these it holds, how a layout fills it, what the
// dump shows of it and what a clone keeps.

// Picture boxes, labels, group boxes and the rest: the common properties only.
struct PlainState {
  bool operator==(const PlainState&) const = default;
};

struct CheckBoxState {
  int tick = 0;  // 1 ticked, 0 not
};

struct EditBoxState {
  bool multi_line = false;
  bool vertical_scroll_bar = false;
};

struct ListBoxState {
  std::vector<Text> rows;
  int selection = -1;
};

struct TreeBoxState {
  std::vector<TreeItem> items;
  int selection = -1;
};

struct TimerState {
  int interval_ms = 0;
  std::uint64_t timer = 0;  // the backend's timer while it runs
};

struct HypertextState {
  Text address;
};

// The playback engine records its calls for the dump: only the newest are kept, and the
// addresses written are kept apart for reading back.
struct EngineState {
  static constexpr std::size_t kCallsKept = 64;
  std::deque<EngineCall> calls;
  Text media_address;
  Text pause_ad_address;
  void Record(EngineCall call);
};

// Drawing panels and picture boxes keep what was painted on them.
struct DrawingState {
  bool auto_redraw = false;
  int write_x = 0;
  int write_y = 0;
  PaintRecord paints;
};

using UnitState = std::variant<PlainState, CheckBoxState, EditBoxState, ListBoxState, TreeBoxState, TimerState, BrowserState,
                               HypertextState, EngineState, DrawingState>;

// What every unit has and a clone copies whole.
struct UnitProperties {
  Rect rect;
  bool visible = true;
  bool enabled = true;
  Text caption;  // also the text of an edit box
  Text hint;
  Text cursor;
  Colour back_colour = kDefaultColour;
  Colour text_colour = kDefaultColour;
  Font font;
  Alignment alignment = Alignment::kLeft;
  Border border = Border::kNone;
  bool word_wrap = false;
  Pictures pictures;
  std::map<Text, Text> events;  // event name -> handler name
};

struct UnitModel : UnitProperties {
  UnitId id = 0;
  UnitKind kind = UnitKind::kPictureBox;
  Text name;
  UnitModel* window = nullptr;  // the window holding the unit; a window points to itself
  UnitId parent = 0;            // 0: the window's client area
  std::vector<UnitId> children;  // z-order, back first
  UnitId clone_of = 0;
  std::optional<RoundRegion> region;

  UnitState state;                            // the kind's own state
  std::unique_ptr<WindowState> window_state;  // windows only

  bool IsWindow() const { return kind == UnitKind::kWindow; }
  // The kind's state, nullptr for a unit of another kind.
  template <typename State>
  State* StateOf() {
    return std::get_if<State>(&state);
  }
  template <typename State>
  const State* StateOf() const {
    return std::get_if<State>(&state);
  }
};

}  // namespace korvane::platform::ui
