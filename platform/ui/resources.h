#pragma once
// The resources a program carries: window layouts ("Name.layout.json") and pictures, by
// file name. Programs embed a folder of them at build with the CMake function
// korvane_embed_ui_resources (platform/ui/cmake/EmbedUiResources.cmake), which defines
//   std::span<const korvane::platform::ui::ResourceFile> korvane::embedded::SYMBOL();

#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/text.h"

namespace korvane::platform::ui {

struct ResourceFile {
  std::string_view name;
  std::string_view bytes;
};

inline constexpr std::string_view kLayoutSuffix = ".layout.json";

class ResourceBundle {
 public:
  ResourceBundle() = default;
  explicit ResourceBundle(std::span<const ResourceFile> files) { Add(files); }

  // Adds files that outlive the bundle (embedded data); a later file of the same name wins.
  void Add(std::span<const ResourceFile> files);
  // Adds a file whose bytes the bundle keeps (tests).
  void AddCopy(std::string_view name, std::string bytes);

  std::optional<std::string_view> Find(std::string_view name) const;
  // The windows that have a layout, by the name LoadWindow takes ("UpdateWizard").
  std::vector<Text> LayoutNames() const;
  std::optional<std::string_view> FindLayout(std::string_view window_name) const;

 private:
  std::map<std::string, std::string_view, std::less<>> files_;
  std::vector<std::unique_ptr<std::string>> owned_;
};

}  // namespace korvane::platform::ui
