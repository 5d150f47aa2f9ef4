#include "platform/services/wait_pump.h"

#include <atomic>

namespace korvane::platform {
namespace {

struct Installed {
  std::atomic<WaitPump*> pump{nullptr};
  std::atomic<std::thread::id> thread{};
};

Installed& TheInstalled() {
  static Installed installed;
  return installed;
}

}  // namespace

InstalledWaitPump::InstalledWaitPump(WaitPump& pump) {
  TheInstalled().thread = std::this_thread::get_id();
  TheInstalled().pump = &pump;
}

InstalledWaitPump::~InstalledWaitPump() { TheInstalled().pump = nullptr; }

WaitScope::WaitScope()
    : pump_(TheInstalled().thread.load() == std::this_thread::get_id() ? TheInstalled().pump.load() : nullptr) {
  if (pump_ != nullptr) pump_->WaitBegins();
}

WaitScope::~WaitScope() {
  if (pump_ != nullptr) pump_->WaitEnds();
}

void WaitScope::Waiting() {
  if (pump_ != nullptr) pump_->Waiting();
}

}  // namespace korvane::platform
