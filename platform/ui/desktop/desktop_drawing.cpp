#include "platform/ui/desktop/desktop_drawing.h"

#include <gdk/gdk.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

#include "platform/ui/picture.h"

namespace korvane::platform::ui::desktop {
namespace {

constexpr Colour kShadowColour = 0xA0A0A0;
constexpr Colour kDarkShadowColour = 0x696969;
constexpr Colour kHighlightColour = 0xFFFFFF;
constexpr Colour kBlack = 0x000000;

double Channel(Colour colour, int shift) { return ((colour >> shift) & 0xFF) / 255.0; }

Colour OrDefault(Colour colour, Colour fallback) { return colour == kDefaultColour ? fallback : colour; }

void FillRect(cairo_t* cr, Colour colour, double x, double y, double width, double height) {
  SetSourceColour(cr, colour);
  cairo_rectangle(cr, x, y, width, height);
  cairo_fill(cr);
}

// A one-pixel frame whose top and left edges are `top_left`, bottom and right `bottom_right`.
void Frame(cairo_t* cr, int x, int y, int width, int height, Colour top_left, Colour bottom_right) {
  if (width <= 0 || height <= 0) return;
  FillRect(cr, top_left, x, y, width, 1);
  FillRect(cr, top_left, x, y, 1, height);
  FillRect(cr, bottom_right, x, y + height - 1, width, 1);
  FillRect(cr, bottom_right, x + width - 1, y, 1, height);
}

void PaintBorder(cairo_t* cr, Border border, int width, int height) {
  switch (border) {
    case Border::kNone: return;
    case Border::kSingle: Frame(cr, 0, 0, width, height, kBlack, kBlack); return;
    case Border::kStaticEdge: Frame(cr, 0, 0, width, height, kShadowColour, kHighlightColour); return;
    case Border::kSunken:
      Frame(cr, 0, 0, width, height, kShadowColour, kHighlightColour);
      Frame(cr, 1, 1, width - 2, height - 2, kDarkShadowColour, kFaceColour);
      return;
  }
}

// A control's own colour; with the default colour it shows what lies behind it (its
// parent, the window), as far as its picture does not cover it.
void PaintGround(cairo_t* cr, const UnitModel& unit, int width, int height) {
  if (unit.back_colour != kDefaultColour) FillRect(cr, unit.back_colour, 0, 0, width, height);
}

void PaintPicture(cairo_t* cr, cairo_surface_t* picture, int x, int y) {
  if (picture == nullptr) return;
  cairo_set_source_surface(cr, picture, x, y);
  cairo_paint(cr);
}

void PaintGradient(cairo_t* cr, const PaintOp& op) {
  if (op.right <= op.left || op.bottom <= op.top) return;
  cairo_pattern_t* pattern = op.mode == 0 ? cairo_pattern_create_linear(op.left, 0, op.right, 0)
                                          : cairo_pattern_create_linear(0, op.top, 0, op.bottom);
  cairo_pattern_add_color_stop_rgb(pattern, 0, Channel(op.colour_from, 0), Channel(op.colour_from, 8),
                                   Channel(op.colour_from, 16));
  cairo_pattern_add_color_stop_rgb(pattern, 1, Channel(op.colour_to, 0), Channel(op.colour_to, 8),
                                   Channel(op.colour_to, 16));
  cairo_set_source(cr, pattern);
  cairo_rectangle(cr, op.left, op.top, op.right - op.left, op.bottom - op.top);
  cairo_fill(cr);
  cairo_pattern_destroy(pattern);
}

PangoLayout* NewTextLayout(cairo_t* cr, const Font& font, const Text& text, Colour colour) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  SetLayoutText(layout, font, text);
  SetSourceColour(cr, OrDefault(colour, kBlack));
  return layout;
}

void ShowLayout(cairo_t* cr, PangoLayout* layout, double x, double y) {
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
}

void PaintText(cairo_t* cr, const Font& font, const Text& text, Colour colour, double x, double y) {
  ShowLayout(cr, NewTextLayout(cr, font, text, colour), x, y);
}

void PaintDrawPanel(cairo_t* cr, const UnitModel& unit, int inset, int width, int height) {
  const DrawingState* drawing = unit.StateOf<DrawingState>();
  if (drawing == nullptr) return;
  cairo_save(cr);
  cairo_translate(cr, inset, inset);
  for (const PaintOp& op : drawing->paints.Shown()) {
    switch (op.kind) {
      case PaintKind::kClear: FillRect(cr, op.colour_from, 0, 0, width, height); break;
      case PaintKind::kGradient: PaintGradient(cr, op); break;
      case PaintKind::kText: PaintText(cr, op.font, op.text, op.colour_from, op.x, op.y); break;
    }
  }
  cairo_restore(cr);
}

void PaintLabel(cairo_t* cr, const UnitModel& unit, int inset, int width, int height) {
  const int text_width = std::max(1, width - 2 * inset);
  const int text_height = std::max(0, height - 2 * inset);
  PangoLayout* layout = NewTextLayout(cr, unit.font, unit.caption, unit.text_colour);
  const Point place = FitLabelText(layout, unit, text_width, text_height);
  cairo_save(cr);
  cairo_rectangle(cr, inset, inset, text_width, text_height);
  cairo_clip(cr);
  ShowLayout(cr, layout, inset + place.x, inset + place.y);
  cairo_restore(cr);
}

// The layout's font at `pixels` high, its lines `pixels` apart.
void SetTypeSize(PangoLayout* layout, const Font& font, int pixels) {
  PangoFontDescription* description = NewFontDescription(font);
  pango_font_description_set_absolute_size(description, pixels * PANGO_SCALE);
  pango_layout_set_font_description(layout, description);
  pango_font_description_free(description);
  pango_layout_set_spacing(layout, 0);
  PangoRectangle line;
  pango_layout_line_get_pixel_extents(pango_layout_get_line_readonly(layout, 0), nullptr, &line);
  pango_layout_set_spacing(layout, (pixels - line.height) * PANGO_SCALE);
}

// An etched frame; a group box two pixels high or wide shows as an etched line.
void PaintGroupBox(cairo_t* cr, const UnitModel& unit, int width, int height) {
  Frame(cr, 0, 0, width - 1, height - 1, kShadowColour, kShadowColour);
  Frame(cr, 1, 1, width - 1, height - 1, kHighlightColour, kHighlightColour);
  if (unit.caption.empty()) return;
  PangoLayout* layout = pango_cairo_create_layout(cr);
  SetLayoutText(layout, unit.font, unit.caption);
  int text_width = 0;
  int text_height = 0;
  pango_layout_get_pixel_size(layout, &text_width, &text_height);
  FillRect(cr, OrDefault(unit.back_colour, kFaceColour), 6, 0, text_width + 4, text_height);
  SetSourceColour(cr, OrDefault(unit.text_colour, kBlack));
  ShowLayout(cr, layout, 8, 0);
}

void ClipToRegion(cairo_t* cr, const RoundRegion& region) {
  const double width = region.right - region.left;
  const double height = region.bottom - region.top;
  const double rx = std::min(region.corner_width / 2.0, width / 2);
  const double ry = std::min(region.corner_height / 2.0, height / 2);
  cairo_new_path(cr);
  if (rx <= 0 || ry <= 0) {
    cairo_rectangle(cr, region.left, region.top, width, height);
  } else {
    // Four quarter ellipses joined by the straight edges.
    auto corner = [&](double cx, double cy, double from, double to) {
      cairo_save(cr);
      cairo_translate(cr, cx, cy);
      cairo_scale(cr, rx, ry);
      cairo_arc(cr, 0, 0, 1, from, to);
      cairo_restore(cr);
    };
    corner(region.right - rx, region.top + ry, -M_PI / 2, 0);
    corner(region.right - rx, region.bottom - ry, 0, M_PI / 2);
    corner(region.left + rx, region.bottom - ry, M_PI / 2, M_PI);
    corner(region.left + rx, region.top + ry, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
  }
  cairo_clip(cr);
}

const Text& ButtonPicture(const UnitModel& unit, PointerState pointer) {
  const Pictures& pictures = unit.pictures;
  const Text* chosen = &pictures.normal;
  if (!unit.enabled) {
    chosen = &pictures.disabled;
  } else if (pointer.pressed && pointer.hover) {
    chosen = &pictures.pressed;
  } else if (pointer.hover || pointer.pressed) {
    chosen = &pictures.hover;
  }
  return chosen->empty() ? pictures.normal : *chosen;
}

}  // namespace

std::string ToUtf8(const Text& text) { return std::string(AsChars(GbkToUtf8(text))); }

void SetSourceColour(cairo_t* cr, Colour colour) {
  cairo_set_source_rgb(cr, Channel(colour, 0), Channel(colour, 8), Channel(colour, 16));
}

std::string FontFamilies(const Font& font) {
  // The face names of the layouts are Windows fonts (宋体 is SimSun); WenQuanYi Zen Hei
  // Mono has SimSun's advances: 6 px for a Latin letter, 12 for a CJK glyph at 12 px.
  return ToUtf8(font.face_name) + ",SimSun,WenQuanYi Zen Hei Mono,WenQuanYi Zen Hei,Sans";
}

PangoFontDescription* NewFontDescription(const Font& font) {
  PangoFontDescription* description = pango_font_description_new();
  pango_font_description_set_family(description, FontFamilies(font).c_str());
  // Points at 96 dots per inch, as the programs size their text.
  pango_font_description_set_absolute_size(description, font.size_points * 96.0 / 72.0 * PANGO_SCALE);
  pango_font_description_set_weight(description, static_cast<PangoWeight>(std::clamp(font.weight, 100, 1000)));
  pango_font_description_set_style(description, font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  return description;
}

void SetLayoutText(PangoLayout* layout, const Font& font, const Text& text) {
  PangoFontDescription* description = NewFontDescription(font);
  pango_layout_set_font_description(layout, description);
  pango_font_description_free(description);
  if (font.underline || font.strikeout) {
    PangoAttrList* attributes = pango_attr_list_new();
    if (font.underline) pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (font.strikeout) pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
  }
  const std::string utf8 = ToUtf8(text);
  pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
}

Point FitLabelText(PangoLayout* layout, const UnitModel& unit, int width, int height) {
  const PangoAlignment alignment = unit.alignment == Alignment::kCentre  ? PANGO_ALIGN_CENTER
                                   : unit.alignment == Alignment::kRight ? PANGO_ALIGN_RIGHT
                                                                         : PANGO_ALIGN_LEFT;
  pango_layout_set_alignment(layout, alignment);
  // Where the layout goes, and whether its ink then lies inside the area.
  auto place = [&](bool from_top) {
    PangoRectangle ink;
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    const int free_width = width - logical.width;
    Point at{alignment == PANGO_ALIGN_CENTER  ? free_width / 2
             : alignment == PANGO_ALIGN_RIGHT ? free_width
                                              : 0,
             from_top ? 0 : (height - logical.height) / 2};
    if (unit.word_wrap) at.x = 0;  // a wrapped layout lines up its own lines
    // Glyphs whose ink reaches past the area's edges (a stroke left of its advance, type
    // centred in a box hardly its height) move inside it where there is room.
    at.x = std::clamp(at.x, -ink.x, std::max(-ink.x, width - ink.x - ink.width));
    if (!from_top) at.y = std::clamp(at.y, -ink.y, std::max(-ink.y, height - ink.y - ink.height));
    const bool whole = at.x + ink.x >= 0 && at.x + ink.x + ink.width <= width && at.y + ink.y >= 0 &&
                       at.y + ink.y + ink.height <= height;
    return std::pair{at, whole};
  };
  const int layout_pixels = static_cast<int>(std::lround(unit.font.size_points * 96.0 / 72.0));
  if (unit.word_wrap) {
    pango_layout_set_width(layout, width * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  } else {
    pango_layout_set_single_paragraph_mode(layout, TRUE);
  }
  // Of the programs' texts, Update's two-line error note in a box 24 high takes smaller
  // type, and Player's about window cuts the operator's site address (after "点击访问 ")
  // where it is longer than its 176 px allow: the demo's is.
  for (int pixels = layout_pixels; pixels >= std::max(1, layout_pixels - 3); --pixels) {
    SetTypeSize(layout, unit.font, pixels);
    if (auto [at, whole] = place(unit.word_wrap); whole) return at;
  }
  SetTypeSize(layout, unit.font, layout_pixels);
  pango_layout_set_width(layout, width * PANGO_SCALE);
  if (unit.word_wrap) pango_layout_set_height(layout, height * PANGO_SCALE);
  pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
  return place(unit.word_wrap).first;
}

GdkPixbuf* NewPixbuf(cairo_surface_t* picture) {
  if (picture == nullptr) return nullptr;
  return gdk_pixbuf_get_from_surface(picture, 0, 0, cairo_image_surface_get_width(picture),
                                     cairo_image_surface_get_height(picture));
}

cairo_surface_t* PictureCache::Find(const Text& name) {
  if (name.empty()) return nullptr;
  auto cached = surfaces_.find(name);
  if (cached != surfaces_.end()) return cached->second.get();
  cairo_surface_t* surface = nullptr;
  std::optional<std::string_view> bytes = resources_.Find(name);
  std::optional<Picture> picture = bytes ? DecodePicture(*bytes) : std::nullopt;
  if (picture && picture->width > 0 && picture->height > 0) {
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, picture->width, picture->height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    // cairo wants native-endian ARGB with the colour premultiplied by alpha.
    for (int y = 0; y < picture->height; ++y) {
      auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
      for (int x = 0; x < picture->width; ++x) {
        const std::uint8_t* rgba = &picture->rgba[(static_cast<std::size_t>(y) * picture->width + x) * 4];
        const std::uint32_t alpha = rgba[3];
        auto premultiply = [alpha](std::uint32_t channel) { return (channel * alpha + 127) / 255; };
        row[x] = alpha << 24 | premultiply(rgba[0]) << 16 | premultiply(rgba[1]) << 8 | premultiply(rgba[2]);
      }
    }
    cairo_surface_mark_dirty(surface);
  }
  surfaces_[name].reset(surface);
  return surface;
}

void PaintUnit(cairo_t* cr, const UnitModel& unit, PictureCache& pictures, PointerState pointer) {
  const int width = unit.rect.width;
  const int height = unit.rect.height;
  const int inset = BorderInset(unit.border);
  cairo_save(cr);
  if (unit.region) ClipToRegion(cr, *unit.region);
  switch (unit.kind) {
    case UnitKind::kPictureBox:
    case UnitKind::kDrawPanel:
      PaintGround(cr, unit, width, height);
      PaintPicture(cr, pictures.Find(unit.pictures.normal), inset, inset);
      PaintDrawPanel(cr, unit, inset, width - 2 * inset, height - 2 * inset);
      break;
    case UnitKind::kPictureButton:
      PaintPicture(cr, pictures.Find(ButtonPicture(unit, pointer)), 0, 0);
      break;
    case UnitKind::kLabel:
      PaintGround(cr, unit, width, height);
      PaintLabel(cr, unit, inset, width, height);
      break;
    case UnitKind::kTransparentLabel: PaintLabel(cr, unit, inset, width, height); break;
    case UnitKind::kGroupBox: PaintGroupBox(cr, unit, width, height); break;
    default: break;
  }
  PaintBorder(cr, unit.border, width, height);
  cairo_restore(cr);
}

void PaintWindowBackground(cairo_t* cr, const UnitModel& window, PictureCache& pictures, int width,
                           int height) {
  FillRect(cr, OrDefault(window.back_colour, kFaceColour), 0, 0, width, height);
  PaintPicture(cr, pictures.Find(window.pictures.normal), 0, 0);
}

}  // namespace korvane::platform::ui::desktop
