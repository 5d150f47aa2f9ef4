#pragma once
// The retained model: every window of a program with its controls, their properties and
// their events. The model knows no toolkit; backends show it and feed user input into it.
// Programs never hold these structs: they use the typed handles of units.h, which find a
// unit again by its id and so stay safe after its window has closed.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
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
  std::string page;  // its raw bytes
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

struct UnitModel {
  UnitId id = 0;
  UnitKind kind = UnitKind::kPictureBox;
  Text name;
  UnitModel* window = nullptr;  // the window holding the unit; a window points to itself
  UnitId parent = 0;            // 0: the window's client area
  std::vector<UnitId> children;  // z-order, back first
  UnitId clone_of = 0;

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
  bool multi_line = false;
  bool vertical_scroll_bar = false;
  Pictures pictures;
  std::map<Text, Text> events;  // event name -> handler name

  // Check box.
  int tick = 0;
  // List box rows and tree box items share the selection (-1 none).
  std::vector<Text> rows;
  std::vector<TreeItem> tree_items;
  int selection = -1;
  // Timer.
  int interval_ms = 0;
  std::uint64_t timer = 0;  // the backend's timer while it runs
  // Browser and hypertext boxes.
  BrowserState browser;
  Text address;
  // Playback engine.
  std::vector<EngineCall> engine_calls;
  // Drawing panel.
  bool auto_redraw = false;
  int write_x = 0;
  int write_y = 0;
  std::vector<PaintOp> paints;
  std::optional<RoundRegion> region;

  std::unique_ptr<WindowState> window_state;  // windows only

  bool IsWindow() const { return kind == UnitKind::kWindow; }
};

}  // namespace korvane::platform::ui
