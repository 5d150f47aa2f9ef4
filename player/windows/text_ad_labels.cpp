#include "player/windows/text_ad_labels.h"

#include "player/windows/main_window.h"

namespace korvane::player {

std::optional<TextAdLabels> TextAdLabelsFor(const PlayerGlobals& g) {
  const TextAdLabel hidden;
  const TextAdLabel ad1{true, g.text_ad1_caption, g.text_ad1_tip};
  const TextAdLabel ad2{true, g.text_ad2_caption, g.text_ad2_tip};
  const Text& text_ad = g.text_ad_switch;
  if (text_ad == "0") return TextAdLabels{hidden, hidden};
  if (text_ad == "1") return TextAdLabels{ad1, hidden};
  if (text_ad == "2") return TextAdLabels{hidden, ad2};
  if (text_ad == "3") return TextAdLabels{ad1, ad2};
  if (text_ad == "ok" && g.text_ad_box_switch == "开") {
    return TextAdLabels{{true, g.box_text_ad1_caption, g.box_text_ad1_tip},
                        {true, g.box_text_ad2_caption, g.box_text_ad2_tip}};
  }
  if (text_ad == "ok" && g.text_ad_box_switch == "关") return TextAdLabels{hidden, hidden};
  return std::nullopt;
}

void MainWindow::ApplyTextAdLabels() {
  const std::optional<TextAdLabels> labels = TextAdLabelsFor(globals_);
  if (!labels) return;
  // Shown or hidden first, then the caption, then the hint.
  for (auto [label, state] : {std::pair{controls_->text_ad1, labels->ad1},
                              std::pair{controls_->text_ad2, labels->ad2}}) {
    label.SetVisible(state.shown);
    if (!state.shown) continue;
    label.SetCaption(state.caption);
    SetHint(ui_, label, state.hint);
  }
}

}  // namespace korvane::player
