// The desktop module's entry point, the only symbol it exports (desktop_module.map): the
// module carries its own copy of the model's code and binds every call inside itself.

#include <string_view>
#include <type_traits>

#include "platform/ui/desktop/desktop_parts.h"

extern "C" void korvane_make_desktop(korvane::platform::ui::DesktopParts& parts) {
  parts = korvane::platform::ui::desktop::MakeDesktopParts();
}

// The loader finds the entry by its name and calls it through its type.
static_assert(std::string_view(korvane::platform::ui::kDesktopEntryName) == "korvane_make_desktop");
static_assert(std::is_same_v<decltype(&korvane_make_desktop), korvane::platform::ui::DesktopEntry>);
