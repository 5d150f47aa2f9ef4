#include "platform/ui/layout.h"

#include <algorithm>
#include <set>

#include "platform/ui/layout_fields.h"
#include "platform/ui/unit_kinds.h"

namespace korvane::platform::ui {

using nlohmann::json;

[[noreturn]] void LayoutValues::Fail(std::string_view where, std::string_view message) const {
  throw LayoutError("layout " + WindowName() + ": " + std::string(where) + ": " + std::string(message));
}

void LayoutValues::CheckKeys(const json& object, std::string_view where,
                             std::initializer_list<std::string_view> allowed,
                             std::span<const std::string_view> more) const {
  if (!object.is_object()) Fail(where, "expected an object");
  for (const auto& [key, value] : object.items()) {
    const bool known = std::find(allowed.begin(), allowed.end(), key) != allowed.end() ||
                       std::find(more.begin(), more.end(), key) != more.end();
    if (!known) Fail(where, "unknown key \"" + key + "\"");
  }
}

Text LayoutValues::ReadText(const json& value, std::string_view where) const {
  if (!value.is_string()) Fail(where, "expected a text");
  return Utf8ToGbk(AsUtf8(value.get_ref<const std::string&>()));
}

int LayoutValues::ReadInt(const json& value, std::string_view where) const {
  if (!value.is_number_integer()) Fail(where, "expected a whole number");
  return value.get<int>();
}

bool LayoutValues::ReadBool(const json& value, std::string_view where) const {
  if (!value.is_boolean()) Fail(where, "expected true or false");
  return value.get<bool>();
}

std::vector<Text> LayoutValues::ReadTexts(const json& value, std::string_view where) const {
  if (!value.is_array()) Fail(where, "expected a list");
  std::vector<Text> texts;
  for (const json& text : value) texts.push_back(ReadText(text, where));
  return texts;
}

Colour LayoutValues::ReadColour(const json& value, std::string_view where) const {
  if (value.is_number_unsigned() || value.is_number_integer()) return value.get<Colour>();
  if (value.is_string()) {
    const std::string& text = value.get_ref<const std::string&>();
    if (text == "default") return kDefaultColour;
    if (text.size() > 2 && text.size() <= 10 && text.starts_with("0x")) {
      std::size_t used = 0;
      unsigned long parsed = std::stoul(text.substr(2), &used, 16);
      if (used == text.size() - 2) return static_cast<Colour>(parsed);
    }
  }
  Fail(where, "expected a colour (\"0xBBGGRR\" or \"default\")");
}

Font LayoutValues::ReadFont(const json& value, std::string_view where) const {
  CheckKeys(value, where, {"face", "size", "pixel_height", "bold", "italic", "underline", "strikeout", "charset"});
  Font font;
  if (value.contains("face")) font.face_name = ReadText(value["face"], where);
  if (value.contains("size")) font.size_points = ReadInt(value["size"], where);
  // A height in pixels at 96 dots per inch, rounded to whole points.
  if (value.contains("pixel_height")) {
    font.size_points = (ReadInt(value["pixel_height"], where) * 72 + 48) / 96;
  }
  if (value.contains("bold")) font.weight = ReadBool(value["bold"], where) ? 700 : 400;
  if (value.contains("italic")) font.italic = ReadBool(value["italic"], where);
  if (value.contains("underline")) font.underline = ReadBool(value["underline"], where);
  if (value.contains("strikeout")) font.strikeout = ReadBool(value["strikeout"], where);
  if (value.contains("charset")) font.charset = ReadInt(value["charset"], where);
  return font;
}

Rect LayoutValues::ReadRect(const json& value, std::string_view where) const {
  if (!value.is_array() || value.size() != 4) Fail(where, "rect: expected [left, top, width, height]");
  return {ReadInt(value[0], where), ReadInt(value[1], where), ReadInt(value[2], where), ReadInt(value[3], where)};
}

namespace {

class Reader : public LayoutValues {
 public:
  explicit Reader(std::string_view window_name) : LayoutValues(window_name) {}

  // Only events that the unit's kind raises can be bound: a misspelt name is a fault.
  std::map<Text, Text> ReadEvents(const json& value, UnitKind kind, std::string_view where) const {
    if (!value.is_object()) Fail(where, "events: expected an object");
    std::map<Text, Text> events;
    for (const auto& [event, handler] : value.items()) {
      if (!Raises(kind, event)) {
        Fail(where, "a " + std::string(KindName(kind)) + " raises no event \"" + event + "\"");
      }
      events[event] = ReadText(handler, where);
    }
    return events;
  }

  // Picture names are resource file names and stay as the layout spells them.
  Text ReadPicture(const json& value, std::string_view where) {
    if (!value.is_string()) Fail(where, "expected a picture name");
    Text name = value.get<std::string>();
    if (!pictures_.contains(name)) {
      Fail(where, "picture \"" + name + "\" is not declared in \"pictures\"");
    }
    return name;
  }

  void ReadPictureTable(const json& value) {
    if (!value.is_object()) Fail("pictures", "expected an object");
    for (const auto& [name, size] : value.items()) {
      if (!size.is_array() || size.size() != 2) Fail("pictures", name + ": expected [width, height]");
      pictures_[name] = {ReadInt(size[0], name), ReadInt(size[1], name)};
    }
  }

  MenuItem ReadMenuItem(const json& value, std::string_view where) {
    CheckKeys(value, where, {"caption", "event", "icon", "separator", "enabled", "items"});
    MenuItem item;
    if (value.contains("separator")) item.separator = ReadBool(value["separator"], where);
    if (value.contains("caption")) item.caption = ReadText(value["caption"], where);
    if (value.contains("event")) item.handler = ReadText(value["event"], where);
    if (value.contains("icon")) item.icon = ReadPicture(value["icon"], where);
    if (value.contains("enabled")) item.enabled = ReadBool(value["enabled"], where);
    if (value.contains("items")) item.items = ReadMenuItems(value["items"], where);
    return item;
  }

  std::vector<MenuItem> ReadMenuItems(const json& value, std::string_view where) {
    if (!value.is_array()) Fail(where, "items: expected a list");
    std::vector<MenuItem> items;
    for (const json& item : value) items.push_back(ReadMenuItem(item, where));
    return items;
  }

  void ReadCommon(const json& value, UnitModel& unit, std::string_view where) {
    if (value.contains("visible")) unit.visible = ReadBool(value["visible"], where);
    if (value.contains("enabled")) unit.enabled = ReadBool(value["enabled"], where);
    if (value.contains("caption")) unit.caption = ReadText(value["caption"], where);
    if (value.contains("back_colour")) unit.back_colour = ReadColour(value["back_colour"], where);
    if (value.contains("text_colour")) unit.text_colour = ReadColour(value["text_colour"], where);
    if (value.contains("font")) unit.font = ReadFont(value["font"], where);
    if (value.contains("picture")) unit.pictures.normal = ReadPicture(value["picture"], where);
    if (value.contains("events")) unit.events = ReadEvents(value["events"], unit.kind, where);
  }

  UnitKind KindOf(const json& control, std::string_view where) const {
    if (!control.contains("kind")) Fail(where, "no kind");
    std::optional<UnitKind> kind = KindFromName(ReadText(control["kind"], where));
    if (!kind || *kind == UnitKind::kWindow) Fail(where, "unknown kind " + control["kind"].dump());
    return *kind;
  }

  std::unique_ptr<UnitModel> ReadControl(const json& value, std::size_t index) {
    std::string where = "control " + std::to_string(index + 1);
    if (!value.is_object()) Fail(where, "expected an object");
    const KindDescriptor& descriptor = Describe(KindOf(value, where));
    CheckKeys(value, where,
              {"kind", "name", "rect", "parent", "visible", "enabled", "caption", "hint", "cursor",
               "back_colour", "text_colour", "font", "alignment", "border", "word_wrap",
               "picture", "pictures", "events"},
              descriptor.keys);
    auto unit = std::make_unique<UnitModel>();
    unit->kind = descriptor.kind;
    unit->state = descriptor.make();
    if (!value.contains("name")) Fail(where, "no name");
    unit->name = ReadText(value["name"], where);
    where = value["name"].get<std::string>();
    if (value.contains("rect")) unit->rect = ReadRect(value["rect"], where);
    ReadCommon(value, *unit, where);
    if (value.contains("hint")) unit->hint = ReadText(value["hint"], where);
    if (value.contains("cursor")) unit->cursor = ReadText(value["cursor"], where);
    if (value.contains("alignment")) {
      unit->alignment = ReadChoice<Alignment>(value["alignment"], where,
          {{"left", Alignment::kLeft}, {"centre", Alignment::kCentre}, {"right", Alignment::kRight}});
    }
    if (value.contains("border")) {
      unit->border = ReadChoice<Border>(value["border"], where,
          {{"none", Border::kNone}, {"single", Border::kSingle},
           {"static_edge", Border::kStaticEdge}, {"sunken", Border::kSunken}});
    }
    if (value.contains("word_wrap")) unit->word_wrap = ReadBool(value["word_wrap"], where);
    if (value.contains("pictures")) {
      const json& pictures = value["pictures"];
      CheckKeys(pictures, where, {"normal", "hover", "pressed", "disabled"});
      if (pictures.contains("normal")) unit->pictures.normal = ReadPicture(pictures["normal"], where);
      if (pictures.contains("hover")) unit->pictures.hover = ReadPicture(pictures["hover"], where);
      if (pictures.contains("pressed")) unit->pictures.pressed = ReadPicture(pictures["pressed"], where);
      if (pictures.contains("disabled")) unit->pictures.disabled = ReadPicture(pictures["disabled"], where);
    }
    descriptor.read(LayoutFields{*this, value, where}, *unit);
    if (value.contains("parent")) parent_names_[index] = ReadText(value["parent"], where);
    return unit;
  }

  Layout Read(std::string_view text) {
    json document = json::parse(text, nullptr, false);
    if (document.is_discarded()) Fail("file", "not valid JSON");
    CheckKeys(document, "window",
              {"caption", "size", "frame", "back_colour", "text_colour", "font", "picture",
               "taskbar_button", "esc_closes", "draggable", "centred", "always_on_top", "visible",
               "enabled", "icon", "events", "pictures", "controls", "menus"});
    if (document.contains("pictures")) ReadPictureTable(document["pictures"]);

    Layout layout;
    layout.pictures = pictures_;
    auto window = std::make_unique<UnitModel>();
    window->kind = UnitKind::kWindow;
    window->name = WindowName();
    window->window = window.get();
    window->window_state = std::make_unique<WindowState>();
    WindowState& state = *window->window_state;
    state.layout_name = WindowName();
    ReadCommon(document, *window, "window");
    if (document.contains("size")) {
      const json& size = document["size"];
      if (!size.is_array() || size.size() != 2) Fail("window", "size: expected [width, height]");
      window->rect.width = ReadInt(size[0], "window");
      window->rect.height = ReadInt(size[1], "window");
    }
    if (document.contains("frame")) {
      state.frame = ReadChoice<WindowFrame>(document["frame"], "window",
          {{"none", WindowFrame::kNone}, {"fixed_dialog", WindowFrame::kFixedDialog}});
    }
    if (document.contains("taskbar_button")) state.taskbar_button = ReadBool(document["taskbar_button"], "window");
    if (document.contains("esc_closes")) state.esc_closes = ReadBool(document["esc_closes"], "window");
    if (document.contains("draggable")) state.draggable = ReadBool(document["draggable"], "window");
    if (document.contains("centred")) state.centred = ReadBool(document["centred"], "window");
    if (document.contains("always_on_top")) state.always_on_top = ReadBool(document["always_on_top"], "window");
    if (document.contains("icon")) state.icon = ReadPicture(document["icon"], "window");

    if (document.contains("controls")) {
      const json& controls = document["controls"];
      if (!controls.is_array()) Fail("controls", "expected a list");
      std::set<Text> names;
      for (std::size_t i = 0; i < controls.size(); ++i) {
        auto unit = ReadControl(controls[i], i);
        if (!names.insert(unit->name).second) Fail(controls[i]["name"].get<std::string>(), "name used twice");
        unit->id = static_cast<UnitId>(i + 1);
        unit->window = window.get();
        state.controls.push_back(std::move(unit));
      }
    }
    ResolveParents(*window);

    if (document.contains("menus")) {
      const json& menus = document["menus"];
      if (!menus.is_object()) Fail("menus", "expected an object of named menus");
      for (const auto& [name, items] : menus.items()) {
        state.menus.push_back({ReadText(json(name), "menus"), ReadMenuItems(items, name)});
      }
    }
    layout.window = std::move(window);
    return layout;
  }

 private:
  void ResolveParents(UnitModel& window) {
    auto& controls = window.window_state->controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
      UnitModel& unit = *controls[i];
      auto named = parent_names_.find(i);
      if (named == parent_names_.end()) {
        window.children.push_back(unit.id);
        continue;
      }
      UnitModel* parent = nullptr;
      for (auto& candidate : controls) {
        if (candidate->name == named->second) parent = candidate.get();
      }
      if (parent == nullptr || parent == &unit) {
        Fail(controls[i]->name, "unknown parent \"" + named->second + "\"");
      }
      for (UnitModel* up = parent; up != nullptr;) {
        if (up == &unit) Fail(unit.name, "parent chain loops");
        up = up->parent == 0 ? nullptr : controls[up->parent - 1].get();
      }
      unit.parent = parent->id;
      parent->children.push_back(unit.id);
    }
  }

  std::map<Text, PictureSize> pictures_;
  std::map<std::size_t, Text> parent_names_;
};

}  // namespace

Layout ParseLayout(std::string_view window_name, std::string_view json_text) {
  return Reader(window_name).Read(json_text);
}

Layout LoadLayout(const ResourceBundle& resources, std::string_view window_name) {
  std::optional<std::string_view> text = resources.FindLayout(window_name);
  if (!text) throw LayoutError("no layout for window " + std::string(window_name));
  Layout layout = ParseLayout(window_name, *text);
  for (const auto& [picture, size] : layout.pictures) {
    if (!resources.Find(picture)) {
      throw LayoutError("layout " + std::string(window_name) + ": picture \"" + picture +
                        "\" is not among the resources");
    }
  }
  return layout;
}

}  // namespace korvane::platform::ui
