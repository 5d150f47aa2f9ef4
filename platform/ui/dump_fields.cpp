#include "platform/ui/dump_fields.h"

namespace korvane::platform::ui {

using nlohmann::json;

std::string DumpText(const Text& gbk) { return std::string(AsChars(GbkToUtf8(gbk))); }

json DumpTexts(const std::vector<Text>& texts) {
  json list = json::array();
  for (const Text& text : texts) list.push_back(DumpText(text));
  return list;
}

json DumpFont(const Font& font) {
  return {{"face", DumpText(font.face_name)}, {"size", font.size_points}, {"weight", font.weight},
          {"italic", font.italic}, {"underline", font.underline}, {"strikeout", font.strikeout},
          {"charset", font.charset}};
}

json DumpPaint(const PaintOp& op) {
  switch (op.kind) {
    case PaintKind::kClear:
      return {{"op", "clear"}, {"colour", op.colour_from}};
    case PaintKind::kGradient:
      return {{"op", "gradient"}, {"rect", json::array({op.left, op.top, op.right, op.bottom})},
              {"mode", op.mode}, {"from", op.colour_from}, {"to", op.colour_to}};
    case PaintKind::kText:
      return {{"op", "text"}, {"x", op.x}, {"y", op.y}, {"text", DumpText(op.text)}, {"colour", op.colour_from},
              {"font", DumpFont(op.font)}};
  }
  return {};
}

}  // namespace korvane::platform::ui
