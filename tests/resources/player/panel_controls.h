#pragma once
// The controls that the settings and about windows share: the two tabs, the close button,
// the three buttons at the bottom and the four frame edges, with the pictures of the
// settings window.

#include <vector>

#include "tests/resources/player/window_layout_check.h"

namespace korvane::player::testing {

inline constexpr platform::ui::Colour kWhite = 0xFFFFFF;

inline ExpectedControl PanelTab(const char* name, int top, const char* picture, const char* handler) {
  return {.name = name,
          .kind = platform::ui::UnitKind::kPictureButton,
          .rect = {10, top, 102, 36},
          .pictures = {picture, "", "", ""},
          .events = {{"Clicked", handler}}};
}

// A picture button whose pressed picture is its normal one.
inline ExpectedControl PanelButton(const char* name, platform::ui::Rect rect, const Text& stem,
                                   const char* extension, const char* handler) {
  const Text normal = "pictures/" + stem + "_normal." + extension;
  ExpectedControl button = {.name = name,
                            .kind = platform::ui::UnitKind::kPictureButton,
                            .rect = rect,
                            .pictures = {normal, "pictures/" + stem + "_hover." + extension, normal, ""}};
  if (*handler != '\0') button.events = {{"Clicked", handler}};
  return button;
}

inline ExpectedControl PanelClose(const char* handler) {
  return PanelButton("关闭按钮", {520, 8, 26, 20}, "settings_close", "jpg", handler);
}

// OK, cancel and apply; an empty handler leaves a button without one.
inline std::vector<ExpectedControl> PanelButtons(const char* ok, const char* cancel, const char* apply) {
  return {PanelButton("图形按钮1", {186, 300, 81, 27}, "settings_ok", "gif", ok),
          PanelButton("图形按钮2", {291, 300, 81, 27}, "settings_cancel", "gif", cancel),
          PanelButton("图形按钮3", {398, 300, 81, 27}, "settings_apply", "gif", apply)};
}

inline std::vector<ExpectedControl> FrameEdges() {
  auto edge = [](const char* name, platform::ui::Rect rect, const char* picture) {
    return ExpectedControl{.name = name,
                           .kind = platform::ui::UnitKind::kPictureBox,
                           .rect = rect,
                           .pictures = {picture, "", "", ""}};
  };
  return {edge("图片框4", {0, 0, 552, 2}, "pictures/settings_frame_top.gif"),
          edge("图片框3", {0, 350, 552, 2}, "pictures/settings_frame_bottom.gif"),
          edge("图片框1", {0, 0, 2, 352}, "pictures/settings_frame_left.gif"),
          edge("图片框2", {550, 0, 2, 352}, "pictures/settings_frame_right.gif")};
}

inline ExpectedControl WhiteLabel(const char* name, platform::ui::Rect rect, const char* caption) {
  return {.name = name,
          .kind = platform::ui::UnitKind::kTransparentLabel,
          .rect = rect,
          .caption = caption,
          .text_colour = kWhite};
}

// The design's order: the controls of a window, then the frame edges in front.
inline std::vector<ExpectedControl> Concat(std::vector<ExpectedControl> first,
                                           const std::vector<ExpectedControl>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

}  // namespace korvane::player::testing
