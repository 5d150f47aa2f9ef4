#include "platform/ui/script.h"

#include <stdexcept>

#include "common/number.h"
#include "platform/ui/program.h"

namespace korvane::platform::ui {
namespace {

// Splits a line at blanks; "..." keeps blanks, \" and \\ inside quotes stand for " and \.
std::vector<std::string> SplitWords(std::string_view line, int line_number) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
      continue;
    }
    std::string word;
    if (line[i] == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        if (line[i] == '\\' && i + 1 < line.size()) {
          word += line[i + 1];
          i += 2;
        } else if (line[i] == '"') {
          ++i;
          closed = true;
          break;
        } else {
          word += line[i++];
        }
      }
      if (!closed) throw std::invalid_argument("script line " + std::to_string(line_number) + ": unclosed quote");
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') word += line[i++];
    }
    words.push_back(std::move(word));
  }
  return words;
}

struct VerbShape {
  std::string_view verb;
  std::size_t least;
  std::size_t most;
};

constexpr VerbShape kVerbs[] = {
    {"click", 1, 2},    {"press", 1, 2},     {"key", 1, 2},      {"close", 1, 1},
    {"tray", 1, 2},     {"menu", 1, 8},      {"answer", 1, 1},   {"navigate", 2, 3},
    {"context-menu", 1, 2}, {"activate", 2, 3}, {"tick", 1, 3},  {"select", 2, 3},
    {"advance", 1, 1},  {"idle", 0, 0},      {"dump", 0, 1},     {"mouse", 2, 2},
    {"screen", 2, 2},
};

const VerbShape* FindVerb(std::string_view verb) {
  for (const VerbShape& shape : kVerbs) {
    if (shape.verb == verb) return &shape;
  }
  return nullptr;
}

// The window the user acts on when the script names none: the newest that takes input.
std::optional<Window> ActiveWindow(Program& program) {
  std::vector<Window> windows = InspectionOf(program).Windows();
  for (auto window = windows.rbegin(); window != windows.rend(); ++window) {
    if (window->Interactive()) return *window;
  }
  return std::nullopt;
}

std::optional<Window> NamedWindow(Program& program, const Text& name) {
  std::vector<Window> windows = InspectionOf(program).Windows();
  for (auto window = windows.rbegin(); window != windows.rend(); ++window) {
    if (window->Name() == name) return *window;
  }
  return std::nullopt;
}

// A control by name, in the named window or else in the newest window that has it.
std::optional<Unit> FindControl(Program& program, const Text& name, const Text* window_name) {
  std::vector<Window> windows = InspectionOf(program).Windows();
  for (auto window = windows.rbegin(); window != windows.rend(); ++window) {
    if (window_name != nullptr && window->Name() != *window_name) continue;
    if (window->Has(name)) return window->Find<Unit>(name);
  }
  return std::nullopt;
}

int NumberArgument(const Text& text) { return static_cast<int>(ToNumber(text)); }

}  // namespace

Script Script::Parse(std::string_view utf8_text) {
  Script script;
  int line_number = 0;
  for (const Text& raw_line : SplitLines(utf8_text)) {
    ++line_number;
    std::vector<std::string> words = SplitWords(raw_line, line_number);
    if (words.empty() || words.front().starts_with('#')) continue;
    const VerbShape* shape = FindVerb(words.front());
    const std::size_t count = words.size() - 1;
    if (shape == nullptr) {
      throw std::invalid_argument("script line " + std::to_string(line_number) + ": unknown action " + words.front());
    }
    if (count < shape->least || count > shape->most) {
      throw std::invalid_argument("script line " + std::to_string(line_number) + ": wrong number of values for " +
                                  words.front());
    }
    ScriptAction action;
    action.verb = words.front();
    action.line = line_number;
    for (std::size_t i = 1; i < words.size(); ++i) action.arguments.push_back(Utf8ToGbk(AsUtf8(words[i])));
    script.actions_.push_back(std::move(action));
  }
  return script;
}

Script& Script::Add(Text verb, std::vector<Text> arguments) {
  actions_.push_back({std::move(verb), std::move(arguments), {}, 0});
  return *this;
}

Script& Script::Call(std::function<void()> action) {
  actions_.push_back({"call", {}, std::move(action), 0});
  return *this;
}

bool Script::RunNext(HeadlessBackend& backend) {
  if (actions_.empty()) return false;
  ScriptAction action = std::move(actions_.front());
  actions_.pop_front();
  Run(action, backend);
  return true;
}

std::optional<int> Script::TakeMessageBoxAnswer() {
  if (actions_.empty() || actions_.front().verb != "answer") return std::nullopt;
  int answer = NumberArgument(actions_.front().arguments.at(0));
  actions_.pop_front();
  return answer;
}

std::optional<std::vector<Text>> Script::TakeMenuPick() {
  if (actions_.empty() || actions_.front().verb != "menu") return std::nullopt;
  std::vector<Text> captions = std::move(actions_.front().arguments);
  actions_.pop_front();
  return captions;
}

void Script::Run(const ScriptAction& action, HeadlessBackend& backend) {
  Program& program = backend.GetProgram();
  const auto& args = action.arguments;
  const Text where = action.line > 0 ? "line " + std::to_string(action.line) + ": " : Text();
  auto fail = [&](const Text& problem) { backend.RecordScriptError(where + action.verb + ": " + problem); };
  auto control = [&](std::size_t window_argument) -> std::optional<Unit> {
    const Text* window = args.size() > window_argument ? &args[window_argument] : nullptr;
    std::optional<Unit> unit = FindControl(program, args.at(0), window);
    if (!unit) fail("no control " + args.at(0));
    return unit;
  };
  auto window = [&](std::size_t argument) -> std::optional<Window> {
    std::optional<Window> found =
        args.size() > argument ? NamedWindow(program, args[argument]) : ActiveWindow(program);
    if (!found) fail("no such window");
    return found;
  };
  auto refused = [&](bool accepted) {
    if (!accepted) fail("input refused");
  };

  const Text& verb = action.verb;
  if (verb == "call") {
    action.call();
  } else if (verb == "click") {
    if (auto unit = control(1)) refused(InputOf(program).UserClick(*unit));
  } else if (verb == "press") {
    if (auto unit = control(1)) refused(InputOf(program).UserLeftButtonDown(*unit, 0, 0));
  } else if (verb == "key") {
    if (auto target = window(1)) refused(InputOf(program).UserKey(*target, args.at(0)));
  } else if (verb == "close") {
    if (auto target = window(0)) refused(InputOf(program).UserCloseBox(*target));
  } else if (verb == "tray") {
    std::optional<Window> target = args.size() > 1 ? window(1) : std::nullopt;
    if (!target) {
      for (const Window& candidate : InspectionOf(program).Windows()) {
        if (ModelOf(candidate)->window_state->tray.shown) target = candidate;
      }
    }
    if (!target) {
      fail("no tray icon");
    } else {
      refused(InputOf(program).UserTrayEvent(*target, NumberArgument(args.at(0))));
    }
  } else if (verb == "menu" || verb == "answer") {
    fail("nothing to answer");
  } else if (verb == "navigate") {
    if (auto unit = control(2)) {
      if (unit->Kind() != UnitKind::kWebBrowserBox) {
        fail("not a browser box");
      } else {
        refused(InputOf(program).UserNavigate(WebBrowserBox(program, unit->Id()), args.at(1)));
      }
    }
  } else if (verb == "context-menu") {
    if (auto unit = control(1)) {
      if (unit->Kind() != UnitKind::kWebBrowserBox) {
        fail("not a browser box");
      } else {
        refused(InputOf(program).UserShortcutMenu(WebBrowserBox(program, unit->Id())));
      }
    }
  } else if (verb == "activate") {
    if (auto unit = control(2)) refused(InputOf(program).UserActivateTreeItem(TreeBox(program, unit->Id()), NumberArgument(args.at(1))));
  } else if (verb == "select") {
    if (auto unit = control(2)) refused(InputOf(program).UserSelectItem(*unit, NumberArgument(args.at(1))));
  } else if (verb == "tick") {
    // "tick NAME" clicks the box; "tick NAME 0|1" clicks it when it is not in that state.
    if (auto unit = control(2)) {
      CheckBox box(program, unit->Id());
      if (args.size() < 2 || box.Tick() != NumberArgument(args[1])) refused(InputOf(program).UserClick(box));
    }
  } else if (verb == "advance") {
    backend.AdvanceTime(NumberArgument(args.at(0)));
  } else if (verb == "idle") {
    backend.ProcessPending();
  } else if (verb == "dump") {
    if (dump_) dump_(args.empty() ? Text() : args[0]);
  } else if (verb == "mouse") {
    backend.SetMousePosition({NumberArgument(args.at(0)), NumberArgument(args.at(1))});
  } else if (verb == "screen") {
    const Point size{NumberArgument(args.at(0)), NumberArgument(args.at(1))};
    // A screen without area would put every centred window off it.
    if (size.x > 0 && size.y > 0) {
      backend.SetScreenSize(size);
    } else {
      fail("the screen needs a width and a height above 0");
    }
  } else {
    fail("unknown action");
  }
}

}  // namespace korvane::platform::ui
