#pragma once
// Window layouts: one readable JSON file (UTF-8) per window, read into a window model that
// LoadWindow copies for each window it opens. The format is described in
// docs/automation.md ("Window layouts"). A fault in a layout (unknown key, kind, parent or
// picture, a repeated name) is reported when the layout is read, never at the first click.

#include <map>
#include <memory>
#include <stdexcept>
#include <string_view>

#include "platform/ui/resources.h"
#include "platform/ui/unit_model.h"

namespace korvane::platform::ui {

class LayoutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct PictureSize {
  int width = 0;
  int height = 0;
  bool operator==(const PictureSize&) const = default;
};

struct Layout {
  // The window with its controls. Ids are provisional: the window 0, the controls 1..n in
  // layout order, parents and children already resolved.
  std::unique_ptr<UnitModel> window;
  // Every picture the layout names, with its declared size.
  std::map<Text, PictureSize> pictures;
};

// Reads the layout of `window_name` from its JSON text. Texts become GBK.
Layout ParseLayout(std::string_view window_name, std::string_view json);

// Finds and reads the layout of `window_name` in `resources`, and checks that every
// picture it names is in `resources`.
Layout LoadLayout(const ResourceBundle& resources, std::string_view window_name);

}  // namespace korvane::platform::ui
