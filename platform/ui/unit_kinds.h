#pragma once
// One descriptor per kind of unit, declared once (unit_kinds.cpp): its name in layouts and
// dumps, the layout keys it takes beyond the ones every control has and how they are read,
// the events it raises, the fields the dump shows of it, what a clone keeps of its state,
// and the peer that shows it on the desktop. A new property or kind is added there and in
// the backends' drawing.

#include <optional>
#include <span>
#include <string_view>

#include "platform/ui/unit_model.h"

namespace korvane::platform::ui {

struct LayoutFields;  // layout_fields.h
struct DumpFields;    // dump_fields.h

// What shows a kind in a desktop window.
enum class DesktopPeer {
  kNone,         // nothing: timers, zip units, menu skins
  kDrawn,        // painted by the backend from the model
  kListView,     // a list of text rows
  kTreeView,     // a tree of text items
  kTextView,     // read-only text, one line or several
  kCheckButton,  // a check button with its caption
  kWebView,      // a web page
  kVideo,        // the playback engine's video
};

struct KindDescriptor {
  UnitKind kind;
  std::string_view name;
  std::span<const std::string_view> keys;
  std::span<const std::string_view> events;
  DesktopPeer peer;
  UnitState (*make)();
  void (*read)(const LayoutFields& fields, UnitModel& unit);
  void (*dump)(const UnitModel& unit, DumpFields& fields);
  UnitState (*clone)(const UnitState& state);
};

const KindDescriptor& Describe(UnitKind kind);
bool Raises(UnitKind kind, std::string_view event);

}  // namespace korvane::platform::ui
