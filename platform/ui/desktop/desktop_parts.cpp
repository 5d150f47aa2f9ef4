#include "platform/ui/desktop/desktop_parts.h"

#include "platform/ui/desktop/desktop_backend.h"

namespace korvane::platform::ui::desktop {

DesktopParts MakeDesktopParts() {
  auto backend = std::make_unique<DesktopBackend>();
  WaitPump* pump = backend.get();
  return {std::move(backend), pump};
}

}  // namespace korvane::platform::ui::desktop
