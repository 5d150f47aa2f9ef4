#pragma once
// A fresh folder under the system's temporary folder for one benchmark's files, removed
// with everything in it.

#include <filesystem>

namespace korvane::bench {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // `name` in the folder, removed if it was there.
  std::filesystem::path FreshFile(const std::filesystem::path& name) const;
  // The folder `name` in the folder, emptied.
  std::filesystem::path FreshFolder(const std::filesystem::path& name) const;

 private:
  std::filesystem::path path_;
};

}  // namespace korvane::bench
