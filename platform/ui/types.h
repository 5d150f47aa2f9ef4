#pragma once
// Value types of the user interface: colours, rectangles, fonts and the kinds of unit
// that a window layout can hold.

#include <cstdint>
#include <optional>
#include <string_view>

#include "common/text.h"

namespace korvane::platform::ui {

// 0x00BBGGRR, as the programs store colours; kDefaultColour stands for "the system's".
using Colour = std::uint32_t;
inline constexpr Colour kDefaultColour = 0xFF000000;

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
};

// A font as a drawing panel's Font property gives and takes it: five attribute fields,
// the size in points and the face name. Callers copy it whole.
struct Font {
  int weight = 400;  // 700 is bold
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  int charset = 0;
  int size_points = 9;
  Text face_name = "宋体";
  bool operator==(const Font&) const = default;
};

enum class UnitKind {
  kWindow,
  kPictureBox,
  kPictureButton,
  kTransparentLabel,
  kLabel,
  kCheckBox,
  kTreeBox,
  kListBox,
  kEditBox,
  kGroupBox,
  kDrawPanel,
  kTimer,
  kWebBrowserBox,
  kHypertextBox,
  kPlaybackEngine,
  kZipUnit,
  kMenuSkin,
};

// The kind's name in layouts and dumps ("PictureButton").
std::string_view KindName(UnitKind kind);
std::optional<UnitKind> KindFromName(std::string_view name);

enum class Alignment { kLeft = 0, kCentre = 1, kRight = 2 };

// 0 none, 1 a single line, 2 the shallow sunken "static edge", 3 the deep sunken frame.
enum class Border { kNone = 0, kSingle = 1, kStaticEdge = 2, kSunken = 3 };

// Pixels that a border takes from each side of a unit's drawable area.
int BorderInset(Border border);

enum class WindowFrame {
  kNone,         // no system frame: a skinned window
  kFixedDialog,  // caption bar with a close box, not resizable
};

// How a window stands: the Position property.
enum class WindowPosition { kNormal, kMinimised, kMaximised };
// "normal", "minimised", "maximised": the dump's names.
std::string_view WindowPositionName(WindowPosition position);

enum class ZOrder { kFront = 0, kBack = 1 };

// Values of a tray-icon event.
enum class TrayEvent { kLeftButtonUp = 1, kLeftDoubleClick = 2, kContextMenu = 3 };

}  // namespace korvane::platform::ui
