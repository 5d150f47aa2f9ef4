#pragma once
// What the settings and about windows share: the opener that loads them and passes the
// user between them through their tabs, and the tabs and hints each sets when created.
//
// Each window's tab to the other asks its own window to close and leaves the other to
// the opener, which loads it once the first has closed. So any number of tab switches
// runs one modal loop at a time, and the handler that opened the first window returns
// when the last one has closed.

#include <optional>
#include <string_view>

#include "platform/ui/program.h"
#include "platform/ui/units.h"

namespace korvane::player {

enum class Panel { kSettings, kAbout };

class PanelOpener {
 public:
  explicit PanelOpener(platform::ui::Program& ui) : ui_(ui) {}

  // Binds the tray and options menu items that open the two windows.
  void Bind();
  // Loads `panel` with no parent, modal, and then each window a tab passed on to; returns
  // when the last has closed.
  void Open(Panel panel);
  void OpenSettings() { Open(Panel::kSettings); }
  void OpenAbout() { Open(Panel::kAbout); }
  // A tab's click: closes `current` and has `next` loaded once it has closed.
  void SwitchTo(const platform::ui::Window& current, Panel next);

 private:
  platform::ui::Program& ui_;
  std::optional<Panel> next_;
};

// The window's tab pictures (options tab, about tab) and the hints of its close, OK,
// cancel and apply buttons.
void DressPanel(platform::ui::Program& ui, const platform::ui::Window& window, Panel shown);

}  // namespace korvane::player
