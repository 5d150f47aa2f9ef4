#include "player/windows/text_ad_labels.h"

#include "player/core/ad_sources.h"
#include "player/windows/main_window.h"

namespace korvane::player {

std::optional<TextAdLabels> TextAdLabelsFor(const PlayerGlobals& g) {
  const TextAdRow* row = RowFor(ads::kTextAds, g.text_ad_switch);
  if (row == nullptr) return std::nullopt;
  // The box switch as start-up read it: off hides both labels, any other text but on
  // leaves them as they are.
  if (row->box_switch != nullptr) {
    const Text& box = g.*row->box_switch->holder;
    if (box == remote::kBoxOff) return TextAdLabels{};
    if (box != remote::kBoxOn) return std::nullopt;
  }
  auto label = [&](std::size_t index) {
    if (!row->shown[index]) return TextAdLabel{};
    const TextAdFiles& files = (*row->texts)[index];
    return TextAdLabel{true, g.*files.caption->holder, g.*files.tip->holder};
  };
  return TextAdLabels{label(0), label(1)};
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
