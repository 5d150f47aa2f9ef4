#pragma once
// Checks of a window model's stacking: siblings are kept back first, so a control drawn
// over another stands later among its parent's children.

#include <algorithm>
#include <span>
#include <utility>

#include <gtest/gtest.h>

#include "common/text.h"
#include "platform/ui/unit_model.h"

namespace korvane::testing_support {

// For each pair, the first control stands in front of the second, both in one parent.
inline void ExpectStandsInFront(const platform::ui::UnitModel& window,
                                std::span<const std::pair<const char*, const char*>> front_over_back) {
  const auto& controls = window.window_state->controls;
  auto control = [&](std::string_view name) -> const platform::ui::UnitModel* {
    for (const auto& unit : controls) {
      if (unit->name == name) return unit.get();
    }
    return nullptr;
  };
  for (const auto& [front, back] : front_over_back) {
    SCOPED_TRACE(AsChars(GbkToUtf8(Text(front) + " over " + back)));
    const platform::ui::UnitModel* front_control = control(front);
    const platform::ui::UnitModel* back_control = control(back);
    ASSERT_NE(front_control, nullptr);
    ASSERT_NE(back_control, nullptr);
    ASSERT_EQ(front_control->parent, back_control->parent);
    const platform::ui::UnitModel* parent = &window;
    for (const auto& unit : controls) {
      if (unit->id == front_control->parent) parent = unit.get();
    }
    const std::vector<platform::ui::UnitId>& siblings = parent->children;
    auto position = [&](platform::ui::UnitId id) {
      return std::find(siblings.begin(), siblings.end(), id) - siblings.begin();
    };
    EXPECT_GT(position(front_control->id), position(back_control->id));
  }
}

}  // namespace korvane::testing_support
