#pragma once
// A progress bar that draws itself on a drawing panel of a window: two-tone gradients in
// one of ten colour styles, rounded corners, and an optional text (the position, a
// percentage or a caption) with a shadow or halo effect.
//
// The bar does not draw on the panel it is given: Attach makes an inner board inside it,
// one pixel smaller on every side, and paints there, so the given panel (the outer
// board) shows as a one-pixel frame in the background colour. The boards belong to their
// window; the bar never removes them.
//
// Settings are property operations with one optional value: given a value, the operation
// stores it after its clamps, acts on it and repaints; without one it only returns the
// current value. Every operation but Attach, copying and destruction needs an attached
// bar. Window thread only.

#include <optional>

#include "common/text.h"
#include "platform/ui/program.h"
#include "platform/ui/units.h"
#include "update/widgets/bar_colors.h"
#include "update/widgets/bar_layout.h"

namespace korvane::update {

using FontRecord = platform::ui::Font;

class CrystalProgressBar {
 public:
  // Nothing is touched or drawn until Attach.
  CrystalProgressBar();
  // A copy owns its own font, caption, colour table and mesh and paints on the same
  // boards as the original.
  CrystalProgressBar(const CrystalProgressBar&) = default;
  CrystalProgressBar& operator=(const CrystalProgressBar&) = default;

  // Makes the inner board inside `panel` and gives the bar its working settings: position
  // 50 of 0 to 100, style 8, corner radius 5, the position as centred black text with a
  // white drop shadow, filling from the left. Attaching again makes a further inner board
  // and leaves the earlier one as it is.
  void Attach(platform::ui::DrawPanel panel);

  // Kept within minimum and maximum.
  int Position(std::optional<int> value = std::nullopt);
  // At least 1 and above the minimum; lowers the position to it.
  int Maximum(std::optional<int> value = std::nullopt);
  // At least 0 and below the maximum; raises the position to it.
  int Minimum(std::optional<int> value = std::nullopt);
  // Clips both boards to corners of this width and height.
  int CornerRadius(std::optional<int> value = std::nullopt);
  // A disabled bar paints in the greys of its colours.
  bool Enabled(std::optional<bool> value = std::nullopt);
  // 1 to 10; any other style keeps the colours as they are.
  int Style(std::optional<int> value = std::nullopt);
  // 1 the position, 2 the percentage, 3 the caption, any other value no text.
  int TextMode(std::optional<int> value = std::nullopt);
  // 1 fills along the width from the left, 2 along the height from the top, any other
  // value paints no bar.
  int Direction(std::optional<int> value = std::nullopt);
  // 1 to 9 in a 3 by 3 grid, columns first; any other value the upper-left corner.
  int TextPosition(std::optional<int> value = std::nullopt);
  Text Caption(std::optional<Text> value = std::nullopt);
  Colour EffectColor(std::optional<Colour> value = std::nullopt);
  // 1 plain, 2 to 5 shadows and halos, any other value no text.
  int TextEffect(std::optional<int> value = std::nullopt);
  Colour TextColor(std::optional<Colour> value = std::nullopt);
  FontRecord Font(std::optional<FontRecord> value = std::nullopt);
  // Base colours of style 10: the filled part and the unfilled part. Setting one reloads
  // the style's colours without greying them, also on a disabled bar.
  Colour CustomColor1(std::optional<Colour> value = std::nullopt);
  Colour CustomColor2(std::optional<Colour> value = std::nullopt);

  // Draws the whole bar and its text on the inner board.
  void Paint();
  // Fills the colour table for the style.
  void FillStyleColors();
  // Fills [left, right) x [top, bottom) of the inner board with a gradient from colour a
  // at the left (or top) edge to colour b at the opposite edge.
  void GradientRect(GradientMode mode, Colour a, Colour b, int left, int top, int right,
                    int bottom);
  // Draws the text at the text position with the text effect.
  void DrawText(const Text& text);

 private:
  void InitProgressBarObject();
  bool IsAttached() const;
  platform::ui::Program& GetProgram() const;
  void RoundCorners(const platform::ui::DrawPanel& board);
  void SetBackgrounds();
  void ReloadColors();
  template <typename T>
  T StoreAndPaint(T& field, const std::optional<T>& value);
  Colour StoreCustomColor(Colour& field, std::optional<Colour> value);

  platform::ui::GradientRect mesh_;
  platform::ui::DeviceContext device_context_ = 0;
  FontRecord font_;
  bool enabled_ = false;
  Text caption_;
  Colour text_color_ = 0;
  Colour effect_color_ = 0;
  int corner_radius_ = 0;
  int minimum_ = 0;
  int position_ = 0;
  int maximum_ = 0;
  ColorTable color_table_;
  Colour custom_color1_ = 0;
  Colour custom_color2_ = 0;
  platform::ui::DrawPanel inner_board_;
  int style_ = 0;
  int text_mode_ = 0;
  int direction_ = 0;
  int text_position_ = 0;
  int text_effect_ = 0;
  platform::ui::WindowHandle inner_window_ = 0;
  platform::ui::DrawPanel outer_board_;
};

}  // namespace korvane::update
