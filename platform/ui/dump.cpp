#include "platform/ui/dump.h"

#include <algorithm>
#include <ostream>

#include "platform/ui/dump_fields.h"
#include "platform/ui/unit_kinds.h"

namespace korvane::platform::ui {
namespace {

using nlohmann::json;

json RectJson(const Rect& rect) { return json::array({rect.left, rect.top, rect.width, rect.height}); }

json MenuItemsJson(const std::vector<MenuItem>& items) {
  json list = json::array();
  for (const MenuItem& item : items) {
    if (item.separator) {
      list.push_back({{"separator", true}});
      continue;
    }
    json entry{{"caption", DumpText(item.caption)}, {"enabled", item.enabled}};
    if (!item.icon.empty()) entry["icon"] = item.icon;
    if (!item.items.empty()) entry["items"] = MenuItemsJson(item.items);
    list.push_back(entry);
  }
  return list;
}

json WindowJson(const UnitModel& window) {
  const WindowState& state = *window.window_state;
  json line{{"record", "window"}, {"id", window.id}, {"name", DumpText(window.name)},
            {"caption", DumpText(window.caption)}, {"visible", window.visible},
            {"interactive", state.disabled_by_modal == 0}, {"modal", state.modal},
            {"rect", RectJson(window.rect)},
            {"frame", state.frame == WindowFrame::kFixedDialog ? "fixed_dialog" : "none"},
            {"taskbar_button", state.taskbar_button}, {"esc_closes", state.esc_closes},
            {"always_on_top", state.always_on_top}, {"position", WindowPositionName(state.position)},
            {"close_requested", state.close_requested}};
  if (state.tray.shown) line["tray"] = {{"icon", state.tray.icon}, {"tip", DumpText(state.tray.tip)}};
  json menus = json::object();
  for (const MenuModel& menu : state.menus) menus[DumpText(menu.name)] = MenuItemsJson(menu.items);
  if (!menus.empty()) line["menus"] = menus;
  return line;
}

json ControlJson(const Program& program, const UnitModel& unit) {
  json line{{"record", "control"}, {"window", DumpText(unit.window->name)}, {"id", unit.id},
            {"name", DumpText(unit.name)}, {"kind", std::string(KindName(unit.kind))},
            {"visible", unit.visible}, {"shown", InspectionOf(program).IsShown(unit.id)}, {"enabled", unit.enabled},
            {"rect", RectJson(unit.rect)}};
  const UnitModel& parent = unit.parent == 0 ? *unit.window : *InspectionOf(program).FindModel(unit.parent);
  if (unit.parent != 0) line["parent"] = DumpText(parent.name);
  // The place among the parent's children, back first.
  line["z"] = std::find(parent.children.begin(), parent.children.end(), unit.id) - parent.children.begin();
  if (unit.clone_of != 0) line["clone_of"] = unit.clone_of;
  if (!unit.caption.empty()) line["caption"] = DumpText(unit.caption);
  if (!unit.hint.empty()) line["hint"] = DumpText(unit.hint);
  json pictures = json::object();
  if (!unit.pictures.normal.empty()) pictures["normal"] = unit.pictures.normal;
  if (!unit.pictures.hover.empty()) pictures["hover"] = unit.pictures.hover;
  if (!unit.pictures.pressed.empty()) pictures["pressed"] = unit.pictures.pressed;
  if (!unit.pictures.disabled.empty()) pictures["disabled"] = unit.pictures.disabled;
  if (!pictures.empty()) line["pictures"] = pictures;
  DumpFields fields{line};
  Describe(unit.kind).dump(unit, fields);
  if (unit.region) {
    const RoundRegion& region = *unit.region;
    line["region"] = json::array({region.left, region.top, region.right, region.bottom, region.corner_width,
                                  region.corner_height});
  }
  return line;
}

void WriteLine(std::ostream& out, const json& line) { out << line.dump() << '\n'; }

}  // namespace

void WriteDump(const Program& program, const HeadlessBackend& backend, const Text& label, std::ostream& out) {
  WriteLine(out, {{"record", "dump"}, {"label", DumpText(label)}, {"time_ms", backend.NowMs()},
                  {"finished", InspectionOf(program).Finished()}, {"stalled", backend.Stalled()},
                  {"wait_cursor", backend.WaitCursorShown()}});
  for (const Window& window : InspectionOf(program).Windows()) {
    const UnitModel& model = *ModelOf(window);
    WriteLine(out, WindowJson(model));
    for (const auto& control : model.window_state->controls) WriteLine(out, ControlJson(program, *control));
  }
  for (const MessageBoxRecord& box : InspectionOf(program).MessageBoxes()) {
    WriteLine(out, {{"record", "message_box"}, {"text", DumpText(box.request.text)}, {"title", DumpText(box.request.title)},
                    {"buttons", ButtonsName(box.request.style.buttons)}, {"icon", IconName(box.request.style.icon)},
                    {"answer", AnswerName(box.answer)}});
  }
  for (const MenuRecord& menu : InspectionOf(program).Menus()) {
    WriteLine(out, {{"record", "menu"}, {"window", DumpText(menu.window)}, {"menu", DumpText(menu.menu)},
                    {"at", json::array({menu.at.x, menu.at.y})}, {"picked", DumpText(menu.picked)}});
  }
  for (const Text& address : backend.AddressesOpened()) {
    WriteLine(out, {{"record", "address_opened"}, {"address", DumpText(address)}});
  }
  for (const ProgramStart& start : backend.ProgramsStarted()) {
    WriteLine(out, {{"record", "program_started"}, {"verb", DumpText(start.verb)}, {"file", DumpText(start.file)},
                    {"parameters", DumpText(start.parameters)}});
  }
  for (const Text& name : backend.ProcessesEnded()) {
    WriteLine(out, {{"record", "processes_ended"}, {"file", DumpText(name)}});
  }
  for (const Text& window : backend.ClosedWindows()) {
    WriteLine(out, {{"record", "closed_window"}, {"name", DumpText(window)}});
  }
  for (const Text& error : backend.ScriptErrors()) {
    WriteLine(out, {{"record", "script_error"}, {"error", DumpText(error)}});
  }
}

}  // namespace korvane::platform::ui
