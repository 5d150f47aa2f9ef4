#include "player/playback/pause_play_toggle.h"

#include "player/core/player_config.h"
#include "player/windows/main_window.h"

namespace korvane::player {
namespace {

struct ToggleLook {
  std::string_view hint;
  std::string_view sign;   // normal and pressed picture
  std::string_view glow;   // hover picture
  std::string_view button_value;
};

constexpr ToggleLook kLooks[] = {
    {"点击播放", "pictures/play_normal.gif", "pictures/play_hover.gif", kButtonPlays},
    {"点击暂停", "pictures/pause_normal.gif", "pictures/pause_hover.gif", kButtonPauses},
};

}  // namespace

void SetToggleState(platform::ui::Program& ui, platform::ui::PictureButton& toggle,
                    std::string_view program_folder, ToggleState state) {
  const ToggleLook& look = kLooks[static_cast<int>(state)];
  SetHint(ui, toggle, Text(look.hint));
  toggle.SetNormalPicture(Text(look.sign));
  toggle.SetPressedPicture(Text(look.sign));
  toggle.SetHoverPicture(Text(look.glow));
  platform::WriteConfigValue(program_folder, kButtonKey, look.button_value);
}

}  // namespace korvane::player
