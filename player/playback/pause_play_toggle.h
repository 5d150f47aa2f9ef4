#pragma once
// The pause/play toggle's two states. The state lives only in `Button` of
// PlayerConfig.ini, which names what the next click does (`kButtonPlays`, `kButtonPauses`).

#include <string_view>

#include "platform/ui/program.h"
#include "platform/ui/units.h"

namespace korvane::player {

enum class ToggleState { kClickToPlay, kClickToPause };

// Sets the toggle's hint and pictures for `state` and writes its `Button` value; the
// result of the write is not examined.
void SetToggleState(platform::ui::Program& ui, platform::ui::PictureButton& toggle,
                    std::string_view program_folder, ToggleState state);

inline void SetButtonClickToPlay(platform::ui::Program& ui, platform::ui::PictureButton& toggle,
                                 std::string_view program_folder) {
  SetToggleState(ui, toggle, program_folder, ToggleState::kClickToPlay);
}

inline void SetButtonClickToPause(platform::ui::Program& ui, platform::ui::PictureButton& toggle,
                                  std::string_view program_folder) {
  SetToggleState(ui, toggle, program_folder, ToggleState::kClickToPause);
}

}  // namespace korvane::player
