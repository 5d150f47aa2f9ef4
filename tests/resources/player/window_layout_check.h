#pragma once
// Holds one of Player's window layouts to its design: the window's own keys, every control
// in layout order (later ones stand in front) with its look and events, and every picture
// it names, decoded from the embedded resources at its declared size and format.

#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ui/program.h"

namespace korvane::player::testing {

struct ExpectedControl {
  const char* name;
  platform::ui::UnitKind kind;
  platform::ui::Rect rect;  // none for a timer
  const char* parent = "";  // the window
  bool visible = true;
  const char* caption = "";
  platform::ui::Colour text_colour = platform::ui::kDefaultColour;
  platform::ui::Font font = {};
  const char* cursor = "";
  platform::ui::Pictures pictures = {};
  int interval_ms = 0;
  std::vector<std::pair<const char*, const char*>> events = {};  // event, handler
};

struct ExpectedWindow {
  const char* name;
  const char* caption;
  int width;
  int height;
  platform::ui::Colour back_colour = platform::ui::kDefaultColour;
  const char* picture = "";  // background
  bool taskbar_button = true;
  bool esc_closes = true;
  bool draggable = false;
  bool centred = true;
  bool visible = true;
  const char* icon = "";
  const char* created = "";  // handler of Created
  std::vector<ExpectedControl> controls = {};
  // Pairs of siblings where the design draws the first over the second.
  std::vector<std::pair<const char*, const char*>> in_front_of = {};
};

// The window, loaded through Program on the headless backend, matches `expected`. Every
// handler that `expected` names is bound to nothing first, so loading fails on any other.
void ExpectWindowAsDesigned(const ExpectedWindow& expected);

// Every picture the window's layout declares decodes at its declared size, in the format
// its name ends with (.jpg, .gif or .ico). Returns the declared pictures.
std::map<Text, platform::ui::PictureSize> ExpectPicturesDecode(std::string_view window);

// The embedded bytes of one of Player's resource files (empty when missing).
std::string_view PlayerResource(std::string_view name);

}  // namespace korvane::player::testing
