// Every text of both programs' layouts shows whole inside its control's rectangle in the
// type the desktop draws it with: measured as the backend lays it out, glyph ink included.

#include <pango/pango.h>

#include <string>

#include "platform/ui/desktop/desktop_drawing.h"
#include "platform/ui/layout.h"
#include "tests/platform/ui/desktop/desktop_test_fixture.h"

namespace korvane::embedded {
std::span<const platform::ui::ResourceFile> PlayerLayouts();
std::span<const platform::ui::ResourceFile> UpdateLayouts();
}  // namespace korvane::embedded

namespace korvane::platform::ui::desktop::testing {
namespace {

// Where nothing else fits the rectangle, smaller type does, or, failing that, the text is
// cut off with an ellipsis. A label's text of its own, set when its window is created, is
// measured with the demo deployment's value.
enum class Fit { kSmallerType, kEllipsis };
struct Exception {
  const char* window;
  const char* control;
  const char* text_at_run_time;  // nullptr: the layout's
  Fit fit;
};
constexpr Exception kExceptions[] = {
    // Two lines of 12 px type in a box 24 high.
    {"UpdateWizard", "标签2", nullptr, Fit::kSmallerType},
    // The site address (deployment data) after "点击访问 ", on one line of 176 px: 222 px
    // at 12 px, 181 at 9.
    {"AboutWindow", "版本6", "点击访问 http://127.0.0.1:18930/site/", Fit::kEllipsis},
};

const Exception* ExceptionOf(const Text& window, const UnitModel& control) {
  for (const Exception& exception : kExceptions) {
    if (window == exception.window && control.name == exception.control) return &exception;
  }
  return nullptr;
}

int LayoutPixels(const Font& font) { return (font.size_points * 96 + 36) / 72; }

int TypePixels(PangoLayout* layout) {
  return pango_font_description_get_size(pango_layout_get_font_description(layout)) / PANGO_SCALE;
}

// The ink of `text` in the control's type, as the backend places it in its text area.
void ExpectWhole(PangoContext* context, const Text& window, const UnitModel& control, const Text& text) {
  SCOPED_TRACE(AsChars(GbkToUtf8(window + "/" + control.name + ": " + text)));
  const int inset = BorderInset(control.border);
  int width = control.rect.width - 2 * inset;
  const int height = control.rect.height - 2 * inset;
  PangoLayout* layout = pango_layout_new(context);
  SetLayoutText(layout, control.font, text);
  Point at{};
  switch (control.kind) {
    case UnitKind::kLabel:
    case UnitKind::kTransparentLabel: at = FitLabelText(layout, control, width, height); break;
    case UnitKind::kCheckBox: width -= 13 + 4; break;  // after the box and its gap
    case UnitKind::kGroupBox: width -= 2 * 8; break;   // inside the frame, from x 8
    default: FAIL() << "not a text control";
  }
  PangoRectangle ink;
  pango_layout_get_pixel_extents(layout, &ink, nullptr);
  EXPECT_GE(at.x + ink.x, 0);
  EXPECT_LE(at.x + ink.x + ink.width, width);
  EXPECT_GE(at.y + ink.y, 0);
  EXPECT_LE(at.y + ink.y + ink.height, height);
  const Exception* exception = ExceptionOf(window, control);
  EXPECT_EQ(pango_layout_is_ellipsized(layout), exception != nullptr && exception->fit == Fit::kEllipsis);
  if (exception != nullptr && exception->fit == Fit::kSmallerType) {
    EXPECT_LT(TypePixels(layout), LayoutPixels(control.font));
  } else {
    EXPECT_EQ(TypePixels(layout), LayoutPixels(control.font));
  }
  g_object_unref(layout);
}

TEST(DesktopTextFitTest, EveryTextOfBothProgramsShowsWholeInItsRectangle) {
  DesktopBackend backend;  // the display and the toolkit's fonts
  PangoContext* context = gdk_pango_context_get();
  int measured = 0;
  for (auto files : {korvane::embedded::PlayerLayouts(), korvane::embedded::UpdateLayouts()}) {
    const ResourceBundle resources(files);
    for (const Text& window : resources.LayoutNames()) {
      const Layout layout = LoadLayout(resources, window);
      for (const auto& control : layout.window->window_state->controls) {
        const UnitKind kind = control->kind;
        if (kind != UnitKind::kLabel && kind != UnitKind::kTransparentLabel && kind != UnitKind::kCheckBox &&
            kind != UnitKind::kGroupBox) {
          continue;
        }
        const Exception* exception = ExceptionOf(window, *control);
        const Text text =
            exception != nullptr && exception->text_at_run_time ? exception->text_at_run_time : control->caption;
        if (text.empty()) continue;
        ExpectWhole(context, window, *control, text);
        ++measured;
      }
    }
  }
  EXPECT_GT(measured, 30);  // both programs' layouts were read
  g_object_unref(context);
}

}  // namespace
}  // namespace korvane::platform::ui::desktop::testing
