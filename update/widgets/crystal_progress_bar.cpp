#include "update/widgets/crystal_progress_bar.h"

#include <string_view>

#include "update/widgets/gradient_vertex.h"

namespace korvane::update {

using platform::ui::DrawPanel;

namespace {

constexpr int kBackgroundEntry = 17;

}  // namespace

CrystalProgressBar::CrystalProgressBar() {
  font_ = FontRecord{.weight = 0,
                     .italic = false,
                     .underline = false,
                     .strikeout = false,
                     .charset = 0,
                     .size_points = 9,
                     .face_name = "宋体"};
  InitProgressBarObject();
}

void CrystalProgressBar::InitProgressBarObject() { mesh_ = {.upper_left = 0, .lower_right = 1}; }

bool CrystalProgressBar::IsAttached() const { return inner_board_.GetProgram() != nullptr; }

platform::ui::Program& CrystalProgressBar::GetProgram() const { return *inner_board_.GetProgram(); }

void CrystalProgressBar::Attach(DrawPanel panel) {
  platform::ui::Program& program = *panel.GetProgram();
  panel.SetAutoRedraw(true);
  panel.SetBorder(platform::ui::Border::kNone);
  outer_board_ = panel;
  inner_board_ = DrawPanel(program, program.CloneUnit(panel).Id());
  program.SetUnitParent(inner_board_, panel);
  program.MoveUnit(inner_board_, 1, 1, panel.Width() - 2, panel.Height() - 2);
  inner_board_.SetVisible(true);
  inner_window_ = program.GetWindowHandle(inner_board_);

  caption_ = "水晶进度条-";
  text_color_ = 0;
  font_ = inner_board_.GetFont();
  effect_color_ = RgbColour(255, 255, 255);
  CornerRadius(5);

  minimum_ = 0;
  position_ = 50;
  maximum_ = 100;
  enabled_ = true;
  custom_color1_ = RgbColour(0, 0, 255);
  custom_color2_ = 0;
  Style(8);

  text_position_ = 5;
  text_effect_ = 5;
  text_mode_ = 1;
  direction_ = 1;
}

template <typename T>
T CrystalProgressBar::StoreAndPaint(T& field, const std::optional<T>& value) {
  if (value) {
    field = *value;
    Paint();
  }
  return field;
}

// Each clamp tests the value given, not what the test before it stored.
int CrystalProgressBar::Position(std::optional<int> value) {
  if (value) {
    int stored = *value;
    if (*value > maximum_) stored = maximum_;
    if (*value < minimum_) stored = minimum_;
    position_ = stored;
    Paint();
  }
  return position_;
}

int CrystalProgressBar::Maximum(std::optional<int> value) {
  if (value) {
    int stored = *value;
    if (*value < 1) stored = 1;
    if (*value <= minimum_) stored = minimum_ + 1;
    maximum_ = stored;
    if (position_ > maximum_) position_ = maximum_;
    Paint();
  }
  return maximum_;
}

int CrystalProgressBar::Minimum(std::optional<int> value) {
  if (value) {
    int stored = *value;
    if (*value >= maximum_) stored = maximum_ - 1;
    if (*value < 0) stored = 0;
    minimum_ = stored;
    if (position_ < minimum_) position_ = minimum_;
    Paint();
  }
  return minimum_;
}

int CrystalProgressBar::CornerRadius(std::optional<int> value) {
  if (value) {
    corner_radius_ = *value;
    RoundCorners(outer_board_);
    RoundCorners(inner_board_);
    Paint();
  }
  return corner_radius_;
}

void CrystalProgressBar::RoundCorners(const DrawPanel& board) {
  if (!IsAttached()) return;
  platform::ui::Program& program = GetProgram();
  const auto region = program.CreateRoundRectRgn(0, 0, board.DrawableWidth(),
                                                 board.DrawableHeight(), corner_radius_,
                                                 corner_radius_);
  program.SetWindowRgn(program.GetWindowHandle(board), region, true);
}

bool CrystalProgressBar::Enabled(std::optional<bool> value) {
  if (value) {
    enabled_ = *value;
    ReloadColors();
  }
  return enabled_;
}

int CrystalProgressBar::Style(std::optional<int> value) {
  if (value) {
    style_ = *value;
    ReloadColors();
  }
  return style_;
}

void CrystalProgressBar::ReloadColors() {
  FillStyleColors();
  if (!enabled_) GreyColorTable(color_table_);
  SetBackgrounds();
  Paint();
}

void CrystalProgressBar::SetBackgrounds() {
  inner_board_.SetBackColour(color_table_[kBackgroundEntry]);
  outer_board_.SetBackColour(color_table_[kBackgroundEntry]);
}

Colour CrystalProgressBar::CustomColor1(std::optional<Colour> value) {
  return StoreCustomColor(custom_color1_, value);
}

Colour CrystalProgressBar::CustomColor2(std::optional<Colour> value) {
  return StoreCustomColor(custom_color2_, value);
}

// The style's colours come back ungreyed, also on a disabled bar.
Colour CrystalProgressBar::StoreCustomColor(Colour& field, std::optional<Colour> value) {
  if (value) {
    field = *value;
    FillStyleColors();
    SetBackgrounds();
    Paint();
  }
  return field;
}

FontRecord CrystalProgressBar::Font(std::optional<FontRecord> value) {
  if (value) {
    font_ = *value;
    inner_board_.SetFont(font_);
    Paint();
  }
  return font_;
}

Text CrystalProgressBar::Caption(std::optional<Text> value) { return StoreAndPaint(caption_, value); }
int CrystalProgressBar::TextMode(std::optional<int> value) { return StoreAndPaint(text_mode_, value); }
int CrystalProgressBar::Direction(std::optional<int> value) { return StoreAndPaint(direction_, value); }
int CrystalProgressBar::TextPosition(std::optional<int> value) {
  return StoreAndPaint(text_position_, value);
}
Colour CrystalProgressBar::EffectColor(std::optional<Colour> value) {
  return StoreAndPaint(effect_color_, value);
}
int CrystalProgressBar::TextEffect(std::optional<int> value) {
  return StoreAndPaint(text_effect_, value);
}
Colour CrystalProgressBar::TextColor(std::optional<Colour> value) {
  return StoreAndPaint(text_color_, value);
}

void CrystalProgressBar::FillStyleColors() {
  update::FillStyleColors(color_table_, style_, custom_color1_, custom_color2_);
}

void CrystalProgressBar::Paint() {
  // A bar that was never attached has nowhere to paint.
  if (!IsAttached()) return;
  for (const BarRectangle& r : BarRectangles(direction_, position_, maximum_,
                                             inner_board_.DrawableWidth(),
                                             inner_board_.DrawableHeight())) {
    GradientRect(r.mode, color_table_[r.entry_a], color_table_[r.entry_b], r.left, r.top,
                 r.right, r.bottom);
  }
  if (const auto text = BarText(text_mode_, position_, maximum_, caption_)) DrawText(*text);
}

void CrystalProgressBar::GradientRect(GradientMode mode, Colour a, Colour b, int left, int top,
                                      int right, int bottom) {
  platform::ui::Program& program = GetProgram();
  device_context_ = program.GetDC(inner_window_);
  const auto vertices = BuildVertices(VertexAt(left, top, a), VertexAt(right, bottom, b));
  program.GradientFill(
      device_context_,
      std::string_view(reinterpret_cast<const char*>(vertices.data()), vertices.size()), 2,
      &mesh_, 1, static_cast<std::uint32_t>(mode));
  program.ReleaseDC(inner_window_, device_context_);
  device_context_ = 0;
}

void CrystalProgressBar::DrawText(const Text& text) {
  const Colour a = enabled_ ? text_color_ : GreyColor(text_color_);
  const Colour b = enabled_ ? effect_color_ : GreyColor(effect_color_);
  inner_board_.SetTextColour(a);
  const TextPlace place =
      PlaceText(text_position_, inner_board_.DrawableWidth(), inner_board_.DrawableHeight(),
                inner_board_.TextWidth(text), inner_board_.TextHeight(text));
  Colour current = a;
  for (const TextWrite& write : EffectWrites(text_effect_, place, a, b)) {
    if (write.colour != current) {
      inner_board_.SetTextColour(write.colour);
      current = write.colour;
    }
    inner_board_.SetWritePosition(write.x, write.y);
    inner_board_.WriteText(text);
  }
}

}  // namespace korvane::update
