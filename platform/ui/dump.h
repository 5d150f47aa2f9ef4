#pragma once
// The state of a headless program as JSON lines (UTF-8), for black-box tests: one line
// per window, control, message box, popup menu, address opened, program started, closed
// window and script problem, after a header line. The fields are listed in
// docs/automation.md.

#include <iosfwd>

#include "platform/ui/headless_backend.h"
#include "platform/ui/program.h"

namespace korvane::platform::ui {

void WriteDump(const Program& program, const HeadlessBackend& backend, const Text& label, std::ostream& out);

}  // namespace korvane::platform::ui
