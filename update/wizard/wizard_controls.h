#pragma once
// The controls of `UpdateWizard`, found once by their layout names when it opens.

#include "platform/ui/units.h"

namespace korvane::update {

struct WizardControls {
  explicit WizardControls(const platform::ui::Window& wizard);

  platform::ui::Window window;
  platform::ui::PictureButton next;
  platform::ui::PictureButton cancel;
  platform::ui::PictureButton retest;
  platform::ui::ListBox status_list;
  platform::ui::ListBox size_list;
  platform::ui::ListBox file_list;
  platform::ui::PictureBox file_table;
  platform::ui::PictureBox error_panel;
  platform::ui::EditBox error_text;
  platform::ui::Label description;
  platform::ui::Label network_status;
  platform::ui::Label guide;
  platform::ui::DrawPanel main_panel;
  platform::ui::DrawPanel file_panel;
  platform::ui::ZipUnit zip;
};

}  // namespace korvane::update
