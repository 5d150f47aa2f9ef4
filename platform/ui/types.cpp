#include "platform/ui/types.h"

namespace korvane::platform::ui {

std::string_view WindowPositionName(WindowPosition position) {
  switch (position) {
    case WindowPosition::kNormal: return "normal";
    case WindowPosition::kMinimised: return "minimised";
    case WindowPosition::kMaximised: return "maximised";
  }
  return "?";
}

int BorderInset(Border border) {
  switch (border) {
    case Border::kNone: return 0;
    case Border::kSingle: return 1;
    case Border::kStaticEdge: return 1;
    case Border::kSunken: return 2;
  }
  return 0;
}

}  // namespace korvane::platform::ui
