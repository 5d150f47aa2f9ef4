#pragma once
// The JSON values of a dump (UTF-8), shared by the dump and the kinds' descriptors.

#include <nlohmann/json.hpp>
#include <vector>

#include "platform/ui/unit_model.h"

namespace korvane::platform::ui {

std::string DumpText(const Text& gbk);
nlohmann::json DumpTexts(const std::vector<Text>& texts);
nlohmann::json DumpFont(const Font& font);
nlohmann::json DumpPaint(const PaintOp& op);

// The line of one control, to which its kind adds its own fields.
struct DumpFields {
  nlohmann::json& line;
};

}  // namespace korvane::platform::ui
