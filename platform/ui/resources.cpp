#include "platform/ui/resources.h"

namespace korvane::platform::ui {

void ResourceBundle::Add(std::span<const ResourceFile> files) {
  for (const ResourceFile& file : files) files_[std::string(file.name)] = file.bytes;
}

void ResourceBundle::AddCopy(std::string_view name, std::string bytes) {
  owned_.push_back(std::make_unique<std::string>(std::move(bytes)));
  files_[std::string(name)] = *owned_.back();
}

std::optional<std::string_view> ResourceBundle::Find(std::string_view name) const {
  auto found = files_.find(name);
  if (found == files_.end()) return std::nullopt;
  return found->second;
}

std::vector<Text> ResourceBundle::LayoutNames() const {
  std::vector<Text> names;
  for (const auto& [name, bytes] : files_) {
    if (name.size() > kLayoutSuffix.size() && name.ends_with(kLayoutSuffix)) {
      names.push_back(name.substr(0, name.size() - kLayoutSuffix.size()));
    }
  }
  return names;
}

std::optional<std::string_view> ResourceBundle::FindLayout(std::string_view window_name) const {
  return Find(std::string(window_name) + std::string(kLayoutSuffix));
}

}  // namespace korvane::platform::ui
