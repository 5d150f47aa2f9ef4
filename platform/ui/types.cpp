#include "platform/ui/types.h"

#include <array>
#include <utility>

namespace korvane::platform::ui {
namespace {

constexpr std::array<std::pair<UnitKind, std::string_view>, 17> kKindNames{{
    {UnitKind::kWindow, "Window"},
    {UnitKind::kPictureBox, "PictureBox"},
    {UnitKind::kPictureButton, "PictureButton"},
    {UnitKind::kTransparentLabel, "TransparentLabel"},
    {UnitKind::kLabel, "Label"},
    {UnitKind::kCheckBox, "CheckBox"},
    {UnitKind::kTreeBox, "TreeBox"},
    {UnitKind::kListBox, "ListBox"},
    {UnitKind::kEditBox, "EditBox"},
    {UnitKind::kGroupBox, "GroupBox"},
    {UnitKind::kDrawPanel, "DrawPanel"},
    {UnitKind::kTimer, "Timer"},
    {UnitKind::kWebBrowserBox, "WebBrowserBox"},
    {UnitKind::kHypertextBox, "HypertextBox"},
    {UnitKind::kPlaybackEngine, "PlaybackEngine"},
    {UnitKind::kZipUnit, "ZipUnit"},
    {UnitKind::kMenuSkin, "MenuSkin"},
}};

}  // namespace

std::string_view KindName(UnitKind kind) {
  for (const auto& [k, name] : kKindNames) {
    if (k == kind) return name;
  }
  return "?";
}

std::optional<UnitKind> KindFromName(std::string_view name) {
  for (const auto& [k, kind_name] : kKindNames) {
    if (kind_name == name) return k;
  }
  return std::nullopt;
}

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
