#include "platform/ui/unit_model.h"

#include <utility>

namespace korvane::platform::ui {

void EngineState::Record(EngineCall call) {
  if (call.operation == "MediaAddress") media_address = call.value;
  if (call.operation == "PauseAdAddress") pause_ad_address = call.value;
  calls.push_back(std::move(call));
  if (calls.size() > kCallsKept) calls.pop_front();
}

}  // namespace korvane::platform::ui
