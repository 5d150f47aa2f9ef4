#include "player/windows/later_handlers.h"

#include <string_view>

namespace korvane::player {
namespace {

constexpr std::string_view kLaterHandlers[] = {
    // The settings and about windows.
    "OnTraySettingsSelected",
    "OnOptionsSettingsSelected",
    "OnTrayAboutSelected",
    "OnOptionsAboutSelected",
};

}  // namespace

void BindLaterHandlers(platform::ui::Program& ui) {
  for (std::string_view name : kLaterHandlers) ui.BindHandler(name, [](const platform::ui::Event&) {});
}

}  // namespace korvane::player
