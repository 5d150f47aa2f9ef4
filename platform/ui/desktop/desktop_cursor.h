#pragma once
// The pointer over a control, as its `cursor` property names it: "hand", "arrow", "wait",
// "cross" and "ibeam" as the layouts write them, or a cursor name of the desktop's theme
// ("pointer", "help", ...). Empty, or a name the display has no cursor for: the window's.

#include <gtk/gtk.h>

#include "platform/ui/types.h"

namespace korvane::platform::ui::desktop {

// A new cursor of `name`, or nullptr for none.
GdkCursor* NewNamedCursor(GdkDisplay* display, const Text& name);

// Sets the cursor of `box` (a control's GtkLayout) now if it is realized, else once it is.
void SetControlCursor(GtkWidget* box, const Text& name);

}  // namespace korvane::platform::ui::desktop
