#pragma once
// A script of user actions for the headless backend: read from a text file (UTF-8, one
// action a line; see docs/automation.md for the actions) or built in code. An action runs
// when the program's loop is idle; `answer` and `menu` lines answer the message box or
// popup menu that the action before them brings up.

#include <deque>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/headless_backend.h"

namespace korvane::platform::ui {

struct ScriptAction {
  Text verb;  // "click", "press", "key", "close", "tray", "menu", "answer", "navigate",
              // "context-menu", "activate", "tick", "select", "advance", "idle", "dump",
              // "mouse", or "call" for an action given in code
  std::vector<Text> arguments;  // GBK
  std::function<void()> call;
  int line = 0;
};

class Script final : public InputDriver {
 public:
  // Where `dump` actions write; null discards them.
  using DumpSink = std::function<void(const Text& label)>;

  // Parses a script; a line that cannot be read throws std::invalid_argument.
  static Script Parse(std::string_view utf8_text);

  Script& Add(Text verb, std::vector<Text> arguments = {});
  // An action in code: runs from the idle loop like any other action.
  Script& Call(std::function<void()> action);
  void SetDumpSink(DumpSink sink) { dump_ = std::move(sink); }
  bool Finished() const { return actions_.empty(); }

  bool RunNext(HeadlessBackend& backend) override;
  std::optional<int> TakeMessageBoxAnswer() override;
  std::optional<std::vector<Text>> TakeMenuPick() override;

 private:
  void Run(const ScriptAction& action, HeadlessBackend& backend);

  std::deque<ScriptAction> actions_;
  DumpSink dump_;
};

}  // namespace korvane::platform::ui
