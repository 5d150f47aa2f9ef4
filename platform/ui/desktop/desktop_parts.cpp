#include "platform/ui/desktop/desktop_parts.h"

#include "platform/ui/desktop/desktop_backend.h"

namespace korvane::platform::ui::desktop {

DesktopParts MakeDesktopParts() { return {std::make_unique<DesktopBackend>()}; }

}  // namespace korvane::platform::ui::desktop
