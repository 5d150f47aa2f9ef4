#include "platform/ui/headless_backend.h"

#include <functional>

#include "platform/ui/program.h"
#include "platform/ui/text_metric.h"

namespace korvane::platform::ui {
namespace {

// Depth first: the path to the first item whose caption chain ends with `captions`.
bool FindMenuPath(const std::vector<MenuItem>& items, const std::vector<Text>& captions, std::size_t next,
                  std::vector<int>& path) {
  if (next >= captions.size()) return false;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const MenuItem& item = items[i];
    if (item.separator) continue;
    path.push_back(static_cast<int>(i));
    const bool matches = item.caption == captions[next];
    if (matches && next + 1 == captions.size() && item.items.empty()) return true;
    if (FindMenuPath(item.items, captions, matches ? next + 1 : next, path)) return true;
    path.pop_back();
  }
  return false;
}

}  // namespace

HeadlessBackend::HeadlessBackend(Timebase& time, HttpClient* http) : time_(time), http_(http) {}

TimerId HeadlessBackend::StartTimer(std::int64_t interval_ms, Task on_tick) {
  TimerId id = next_timer_++;
  timers_[id] = {interval_ms, time_.NowMs() + interval_ms, std::move(on_tick)};
  return id;
}

std::optional<std::int64_t> HeadlessBackend::NextTimerDue() const {
  std::optional<std::int64_t> due;
  for (const auto& [id, timer] : timers_) {
    if (!due || timer.due_ms < *due) due = timer.due_ms;
  }
  return due;
}

bool HeadlessBackend::RunOneWaiting() {
  if (!tasks_.empty()) {
    Task task = std::move(tasks_.front());
    tasks_.pop_front();
    task();
    return true;
  }
  const std::int64_t now = time_.NowMs();
  auto earliest = timers_.end();
  for (auto timer = timers_.begin(); timer != timers_.end(); ++timer) {
    if (timer->second.due_ms <= now && (earliest == timers_.end() || timer->second.due_ms < earliest->second.due_ms)) {
      earliest = timer;
    }
  }
  if (earliest == timers_.end()) return false;
  // As with system timers, ticks that fell due meanwhile are not made up.
  earliest->second.due_ms = now + earliest->second.interval_ms;
  Task tick = earliest->second.on_tick;  // the tick may stop or restart its own timer
  tick();
  return true;
}

void HeadlessBackend::RunLoop(LoopToken& token) {
  while (!token.quit) {
    if (RunOneWaiting()) continue;
    if (driver_ != nullptr && driver_->RunNext(*this)) continue;
    std::optional<std::int64_t> due = NextTimerDue();
    if (!time_.IsVirtual() && due) {
      time_.WaitMs(*due - time_.NowMs());
      continue;
    }
    stalled_ = true;
    program_->EndProgram(kStalledExitCode);
  }
}

void HeadlessBackend::ProcessPending() {
  while (RunOneWaiting()) {
  }
}

void HeadlessBackend::AdvanceTime(std::int64_t ms) {
  const std::int64_t target = time_.NowMs() + ms;
  // Real time passes all at once; virtual time stops at each timer that falls due, so
  // that ticks run in the order and at the times they would have.
  for (;;) {
    ProcessPending();
    std::optional<std::int64_t> due = NextTimerDue();
    if (!time_.IsVirtual() || !due || *due > target) break;
    time_.WaitMs(*due - time_.NowMs());
  }
  time_.WaitMs(target - time_.NowMs());
  ProcessPending();
}

void HeadlessBackend::EndProcess(int code) { throw ProgramEnded{code}; }

MessageBoxAnswer HeadlessBackend::AskMessageBox(const MessageBoxRequest& request) {
  const std::span<const MessageBoxAnswer> answers = ButtonAnswers(request.style.buttons);
  const std::optional<int> code = driver_ == nullptr ? std::nullopt : driver_->TakeMessageBoxAnswer();
  if (!code) return answers.front();
  for (MessageBoxAnswer answer : answers) {
    if (static_cast<int>(answer) == *code) return answer;
  }
  // A person could not have given it: no such button.
  RecordScriptError("message box " + request.title + " has no button " + std::to_string(*code));
  return answers.front();
}

std::optional<std::vector<int>> HeadlessBackend::TrackPopupMenu(const UnitModel&, const MenuModel& menu, Point) {
  std::optional<std::vector<Text>> pick = driver_ == nullptr ? std::nullopt : driver_->TakeMenuPick();
  if (!pick || pick->empty()) return std::nullopt;
  std::vector<int> path;
  if (!FindMenuPath(menu.items, *pick, 0, path)) {
    RecordScriptError("menu " + menu.name + " has no item " + pick->back());
    return std::nullopt;
  }
  return path;
}

Point HeadlessBackend::MeasureText(const Font& font, const Text& text) {
  return {HeadlessTextWidth(font, text), HeadlessTextHeight(font, text)};
}

void HeadlessBackend::BrowserLoad(UnitModel& browser, const Text& address) {
  const int generation = ++load_generation_[browser.id];
  Post([this, id = browser.id, address, generation] {
    if (InspectionOf(*program_).FindModel(id) == nullptr || load_generation_[id] != generation) return;
    ReportsOf(*program_).PageArrived(id, address, http_ == nullptr ? std::string() : http_->HttpGetBytes(address, kPageLimits));
    Post([this, id, generation] {
      if (load_generation_[id] == generation) ReportsOf(*program_).RaiseEvent(id, "PageComplete", {0});
    });
  });
}

void HeadlessBackend::BrowserStop(UnitModel& browser) { ++load_generation_[browser.id]; }


}  // namespace korvane::platform::ui
