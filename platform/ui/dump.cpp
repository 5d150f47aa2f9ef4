#include "platform/ui/dump.h"

#include <nlohmann/json.hpp>
#include <ostream>

namespace korvane::platform::ui {
namespace {

using nlohmann::json;

std::string Utf8(const Text& gbk) { return std::string(AsChars(GbkToUtf8(gbk))); }

json TextList(const std::vector<Text>& texts) {
  json list = json::array();
  for (const Text& text : texts) list.push_back(Utf8(text));
  return list;
}

json RectJson(const Rect& rect) { return json::array({rect.left, rect.top, rect.width, rect.height}); }

json FontJson(const Font& font) {
  return {{"face", Utf8(font.face_name)}, {"size", font.size_points}, {"weight", font.weight},
          {"italic", font.italic}, {"underline", font.underline}, {"strikeout", font.strikeout},
          {"charset", font.charset}};
}

json PaintJson(const PaintOp& op) {
  switch (op.kind) {
    case PaintKind::kClear:
      return {{"op", "clear"}, {"colour", op.colour_from}};
    case PaintKind::kGradient:
      return {{"op", "gradient"}, {"rect", json::array({op.left, op.top, op.right, op.bottom})},
              {"mode", op.mode}, {"from", op.colour_from}, {"to", op.colour_to}};
    case PaintKind::kText:
      return {{"op", "text"}, {"x", op.x}, {"y", op.y}, {"text", Utf8(op.text)}, {"colour", op.colour_from},
              {"font", FontJson(op.font)}};
  }
  return {};
}

json MenuItemsJson(const std::vector<MenuItem>& items) {
  json list = json::array();
  for (const MenuItem& item : items) {
    if (item.separator) {
      list.push_back({{"separator", true}});
      continue;
    }
    json entry{{"caption", Utf8(item.caption)}, {"enabled", item.enabled}};
    if (!item.icon.empty()) entry["icon"] = item.icon;
    if (!item.items.empty()) entry["items"] = MenuItemsJson(item.items);
    list.push_back(entry);
  }
  return list;
}

json WindowJson(const UnitModel& window) {
  const WindowState& state = *window.window_state;
  json line{{"record", "window"}, {"id", window.id}, {"name", Utf8(window.name)},
            {"caption", Utf8(window.caption)}, {"visible", window.visible},
            {"interactive", state.disabled_by_modal == 0}, {"modal", state.modal},
            {"rect", RectJson(window.rect)},
            {"frame", state.frame == WindowFrame::kFixedDialog ? "fixed_dialog" : "none"},
            {"taskbar_button", state.taskbar_button}, {"esc_closes", state.esc_closes},
            {"always_on_top", state.always_on_top}, {"position", WindowPositionName(state.position)},
            {"close_requested", state.close_requested}};
  if (state.tray.shown) line["tray"] = {{"icon", state.tray.icon}, {"tip", Utf8(state.tray.tip)}};
  json menus = json::object();
  for (const MenuModel& menu : state.menus) menus[Utf8(menu.name)] = MenuItemsJson(menu.items);
  if (!menus.empty()) line["menus"] = menus;
  return line;
}

json ControlJson(const Program& program, const UnitModel& unit) {
  json line{{"record", "control"}, {"window", Utf8(unit.window->name)}, {"id", unit.id},
            {"name", Utf8(unit.name)}, {"kind", std::string(KindName(unit.kind))},
            {"visible", unit.visible}, {"shown", program.IsShown(unit.id)}, {"enabled", unit.enabled},
            {"rect", RectJson(unit.rect)}};
  if (unit.parent != 0) line["parent"] = Utf8(program.FindModel(unit.parent)->name);
  if (unit.clone_of != 0) line["clone_of"] = unit.clone_of;
  if (!unit.caption.empty()) line["caption"] = Utf8(unit.caption);
  if (!unit.hint.empty()) line["hint"] = Utf8(unit.hint);
  json pictures = json::object();
  if (!unit.pictures.normal.empty()) pictures["normal"] = unit.pictures.normal;
  if (!unit.pictures.hover.empty()) pictures["hover"] = unit.pictures.hover;
  if (!unit.pictures.pressed.empty()) pictures["pressed"] = unit.pictures.pressed;
  if (!unit.pictures.disabled.empty()) pictures["disabled"] = unit.pictures.disabled;
  if (!pictures.empty()) line["pictures"] = pictures;
  switch (unit.kind) {
    case UnitKind::kCheckBox:
      line["tick"] = unit.tick;
      break;
    case UnitKind::kListBox:
      line["rows"] = TextList(unit.rows);
      line["selection"] = unit.selection;
      break;
    case UnitKind::kTreeBox: {
      json items = json::array();
      for (const TreeItem& item : unit.tree_items) {
        items.push_back({{"text", Utf8(item.text)}, {"parent", item.parent}, {"expanded", item.expanded}});
      }
      line["items"] = items;
      line["selection"] = unit.selection;
      break;
    }
    case UnitKind::kTimer:
      line["interval"] = unit.interval_ms;
      line["running"] = unit.timer != 0;
      break;
    case UnitKind::kWebBrowserBox:
      line["address"] = Utf8(unit.browser.address);
      line["history"] = TextList(unit.browser.history);
      line["history_position"] = unit.browser.history_position;
      line["loads"] = unit.browser.loads;
      break;
    case UnitKind::kHypertextBox:
      line["address"] = Utf8(unit.address);
      break;
    case UnitKind::kPlaybackEngine: {
      json calls = json::array();
      for (const EngineCall& call : unit.engine_calls) {
        calls.push_back(call.value.empty() && call.operation.find("Address") == Text::npos
                            ? json(call.operation)
                            : json::array({call.operation, Utf8(call.value)}));
      }
      line["calls"] = calls;
      break;
    }
    case UnitKind::kDrawPanel: {
      line["auto_redraw"] = unit.auto_redraw;
      json paints = json::array();
      for (const PaintOp& op : unit.paints) paints.push_back(PaintJson(op));
      line["paints"] = paints;
      break;
    }
    default:
      break;
  }
  if (unit.kind == UnitKind::kDrawPanel || unit.kind == UnitKind::kLabel ||
      unit.kind == UnitKind::kTransparentLabel || unit.kind == UnitKind::kPictureBox) {
    line["back_colour"] = unit.back_colour;
    line["text_colour"] = unit.text_colour;
    line["font"] = FontJson(unit.font);
    line["border"] = static_cast<int>(unit.border);
  }
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
  WriteLine(out, {{"record", "dump"}, {"label", Utf8(label)}, {"time_ms", backend.NowMs()},
                  {"finished", program.Finished()}, {"stalled", backend.Stalled()},
                  {"wait_cursor", backend.WaitCursorShown()}});
  for (const Window& window : program.Windows()) {
    const UnitModel& model = *window.Model();
    WriteLine(out, WindowJson(model));
    for (const auto& control : model.window_state->controls) WriteLine(out, ControlJson(program, *control));
  }
  for (const MessageBoxRecord& box : program.MessageBoxes()) {
    WriteLine(out, {{"record", "message_box"}, {"text", Utf8(box.request.text)}, {"title", Utf8(box.request.title)},
                    {"buttons", ButtonsName(box.request.style.buttons)}, {"icon", IconName(box.request.style.icon)},
                    {"answer", AnswerName(box.answer)}});
  }
  for (const MenuRecord& menu : program.Menus()) {
    WriteLine(out, {{"record", "menu"}, {"window", Utf8(menu.window)}, {"menu", Utf8(menu.menu)},
                    {"at", json::array({menu.at.x, menu.at.y})}, {"picked", Utf8(menu.picked)}});
  }
  for (const Text& address : backend.AddressesOpened()) {
    WriteLine(out, {{"record", "address_opened"}, {"address", Utf8(address)}});
  }
  for (const ProgramStart& start : backend.ProgramsStarted()) {
    WriteLine(out, {{"record", "program_started"}, {"verb", Utf8(start.verb)}, {"file", Utf8(start.file)},
                    {"parameters", Utf8(start.parameters)}});
  }
  for (const Text& name : backend.ProcessesEnded()) {
    WriteLine(out, {{"record", "processes_ended"}, {"file", Utf8(name)}});
  }
  for (const Text& window : backend.ClosedWindows()) {
    WriteLine(out, {{"record", "closed_window"}, {"name", Utf8(window)}});
  }
  for (const Text& error : backend.ScriptErrors()) {
    WriteLine(out, {{"record", "script_error"}, {"error", Utf8(error)}});
  }
}

}  // namespace korvane::platform::ui
