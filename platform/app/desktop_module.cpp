#include "platform/app/desktop_module.h"

#include <dlfcn.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace korvane::platform::app {
namespace {

namespace fs = std::filesystem;

constexpr char kModuleFileName[] = "libkorvane_desktop.so";

fs::path ModulePath() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (!error) {
    fs::path beside = program.parent_path() / kModuleFileName;
    if (fs::exists(beside, error)) return beside;
  }
  return KORVANE_DESKTOP_MODULE;
}

}  // namespace

ui::DesktopParts LoadDesktopModule() {
  const fs::path module = ModulePath();
  // Local: the module's symbols bind inside it and are not seen by the program.
  void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    throw std::runtime_error("cannot load the desktop backend: " + std::string(::dlerror()));
  }
  auto entry = reinterpret_cast<ui::DesktopEntry>(::dlsym(handle, ui::kDesktopEntryName));
  if (entry == nullptr) {
    throw std::runtime_error("cannot load the desktop backend: " + module.string() + " has no " +
                             ui::kDesktopEntryName);
  }
  ui::DesktopParts parts;
  entry(parts);
  return parts;
}

}  // namespace korvane::platform::app
