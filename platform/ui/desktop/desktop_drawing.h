#pragma once
// How the desktop backend paints the controls it draws itself (picture boxes and buttons,
// labels, group boxes, drawing panels and window backgrounds) with cairo and Pango, and
// the conversions at the toolkit boundary: GBK texts to UTF-8, 0x00BBGGRR colours,
// fonts, and decoded RGBA pictures to cairo surfaces.

#include <cairo.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <pango/pango.h>

#include <map>
#include <memory>
#include <string>

#include "platform/ui/backend.h"
#include "platform/ui/resources.h"
#include "platform/ui/unit_model.h"

namespace korvane::platform::ui::desktop {

// The face colour a control or window shows when its colour is the system's.
inline constexpr Colour kFaceColour = 0xF0F0F0;

// GTK takes UTF-8 in plain char strings.
std::string ToUtf8(const Text& text);

void SetSourceColour(cairo_t* cr, Colour colour);

// The families that show `font`: its face, then, where that is not installed, faces with
// SimSun's metrics (Latin half as wide as the square CJK glyphs), which the layouts'
// rectangles were measured with.
std::string FontFamilies(const Font& font);

// The Pango description of `font`: its families, the size in points, weight and slant.
PangoFontDescription* NewFontDescription(const Font& font);

// Gives `layout` the text in the font; underline and strike-out as attributes.
void SetLayoutText(PangoLayout* layout, const Font& font, const Text& text);

// Lays out a label's caption to show whole in a text area of `width` by `height`: a
// word-wrapping label breaks it into lines, as far apart as the type is high, from the
// top; any other shows one line, centred vertically. Where the layout's font does not
// fit, smaller type does (down to 3 px less); only where that fails either is the text
// cut off with an ellipsis. Returns where the layout goes in the area.
Point FitLabelText(PangoLayout* layout, const UnitModel& unit, int width, int height);

// The resource pictures as cairo surfaces, decoded on first use; a picture that is
// missing or cannot be decoded is drawn as nothing.
class PictureCache {
 public:
  explicit PictureCache(const ResourceBundle& resources) : resources_(resources) {}
  // nullptr for an empty name or a picture that cannot be shown.
  cairo_surface_t* Find(const Text& name);

 private:
  struct SurfaceFree {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
  };
  const ResourceBundle& resources_;
  std::map<Text, std::unique_ptr<cairo_surface_t, SurfaceFree>> surfaces_;
};

// A new pixbuf of `picture` (a window's or the tray's icon); nullptr for none.
GdkPixbuf* NewPixbuf(cairo_surface_t* picture);

// What a drawn control shows beyond its model: the pointer's state over a picture button.
struct PointerState {
  bool hover = false;
  bool pressed = false;
};

// Paints `unit` at the origin of `cr` in its own size: background, picture or paints,
// caption, border; clipped to its rounded region when it has one.
void PaintUnit(cairo_t* cr, const UnitModel& unit, PictureCache& pictures, PointerState pointer);

// Paints a window's client area: its back colour and picture.
void PaintWindowBackground(cairo_t* cr, const UnitModel& window, PictureCache& pictures, int width,
                           int height);

}  // namespace korvane::platform::ui::desktop
