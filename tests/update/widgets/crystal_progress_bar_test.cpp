#include "update/widgets/crystal_progress_bar.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/ui/headless_backend.h"
#include "platform/ui/program.h"

namespace korvane::update {
namespace {

using platform::ui::DrawPanel;
using platform::ui::PaintKind;
using platform::ui::PaintOp;
using platform::ui::RoundRegion;

// The wizard's board: 297 by 20 with a border that attaching removes, so the inner board
// is 295 by 18.
constexpr const char* kLayout = R"({
  "caption": "bar",
  "size": [400, 300],
  "frame": "fixed_dialog",
  "controls": [
    {"kind": "DrawPanel", "name": "Board", "rect": [112, 219, 297, 20], "border": "single"}
  ]
})";

constexpr Colour kBlack = 0;
constexpr Colour kWhite = RgbColour(255, 255, 255);

struct Gradient {
  int left, top, right, bottom;
  std::uint32_t mode;
  Colour from, to;
  bool operator==(const Gradient&) const = default;
};

struct Write {
  Text text;
  int x, y;
  Colour colour;
  bool operator==(const Write&) const = default;
};

void PrintTo(const Gradient& g, std::ostream* out) {
  *out << "(" << g.left << "," << g.top << "," << g.right << "," << g.bottom << " mode " << g.mode
       << std::hex << " " << g.from << "->" << g.to << std::dec << ")";
}
void PrintTo(const Write& w, std::ostream* out) {
  *out << "(\"" << w.text << "\" at " << w.x << "," << w.y << std::hex << " " << w.colour << std::dec
       << ")";
}

// Colours of a style's entries, as the tests name them.
Colour StyleEntry(int style, int entry) {
  ColorTable table;
  FillStyleColors(table, style, RgbColour(0, 0, 255), 0);
  return table[entry];
}

class CrystalProgressBarTest : public testing::Test {
 protected:
  CrystalProgressBarTest() {
    resources_.AddCopy("BarWindow.layout.json", kLayout);
    window_ = program_.LoadWindow("BarWindow", false);
    panel_ = window_.Find<DrawPanel>("Board");
  }

  // The inner boards made inside the panel, oldest first.
  std::vector<DrawPanel> InnerBoards() const {
    std::vector<DrawPanel> boards;
    for (auto id : ModelOf(panel_)->children) boards.emplace_back(program_, id);
    return boards;
  }
  DrawPanel Inner() const { return InnerBoards().back(); }

  // Attached, then shown once as the wizard does: maximum 100 repaints the bar.
  void AttachAndShow() {
    bar_.Attach(panel_);
    bar_.Maximum(100);
  }

  // What the inner board was painted with since `mark`.
  std::uint64_t Mark() const { return Inner().PaintCount(); }
  std::vector<PaintOp> PaintsSince(std::uint64_t mark) const { return Inner().PaintsSince(mark); }
  std::vector<Gradient> GradientsSince(std::uint64_t mark) const {
    std::vector<Gradient> gradients;
    for (const PaintOp& op : PaintsSince(mark)) {
      if (op.kind == PaintKind::kGradient) {
        gradients.push_back({op.left, op.top, op.right, op.bottom, op.mode, op.colour_from, op.colour_to});
      }
    }
    return gradients;
  }
  std::vector<Write> WritesSince(std::uint64_t mark) const {
    std::vector<Write> writes;
    for (const PaintOp& op : PaintsSince(mark)) {
      if (op.kind == PaintKind::kText) writes.push_back({op.text, op.x, op.y, op.colour_from});
    }
    return writes;
  }
  // The writes of one repaint caused by `change`.
  std::vector<Write> WritesOf(const std::function<void()>& change) {
    const std::uint64_t mark = Mark();
    change();
    return WritesSince(mark);
  }
  std::vector<Gradient> GradientsOf(const std::function<void()>& change) {
    const std::uint64_t mark = Mark();
    change();
    return GradientsSince(mark);
  }

  platform::ui::VirtualTimebase time_;
  platform::ui::HeadlessBackend backend_{time_, nullptr};
  platform::ui::ResourceBundle resources_;
  mutable platform::ui::Program program_{backend_, resources_};
  platform::ui::Window window_;
  DrawPanel panel_;
  CrystalProgressBar bar_;
};

TEST_F(CrystalProgressBarTest, ConstructionTouchesNothing) {
  EXPECT_EQ(bar_.Position(), 0);
  EXPECT_EQ(bar_.Maximum(), 0);
  EXPECT_EQ(bar_.Style(), 0);
  EXPECT_EQ(bar_.TextMode(), 0);
  EXPECT_FALSE(bar_.Enabled());
  EXPECT_EQ(bar_.Caption(), "");
  EXPECT_EQ(bar_.Font().face_name, "宋体");
  EXPECT_EQ(bar_.Font().size_points, 9);
  EXPECT_EQ(bar_.Font().weight, 0);
  EXPECT_TRUE(ModelOf(panel_)->children.empty());
  EXPECT_TRUE(panel_.Paints().empty());
}

TEST_F(CrystalProgressBarTest, ABarThatWasNeverAttachedStoresSettingsAndPaintsNowhere) {
  bar_.Direction(1);
  bar_.TextMode(2);
  bar_.CornerRadius(4);
  bar_.Style(3);
  EXPECT_EQ(bar_.Maximum(100), 100);
  EXPECT_EQ(bar_.Position(30), 30);
  EXPECT_TRUE(panel_.Paints().empty());
  EXPECT_FALSE(ModelOf(panel_)->region.has_value());
}

TEST_F(CrystalProgressBarTest, SettingsGivenBeforeAttachingShowAnEmptyBarUntilTheRangeIsSet) {
  bar_.Direction(1);
  bar_.TextMode(2);
  bar_.TextEffect(1);
  bar_.Attach(panel_);
  // The corner paint still has no range; the style paint has the range that attaching gives.
  EXPECT_EQ(GradientsSince(0), (std::vector<Gradient>{
                                   {0, 0, 295, 9, 1, 0, 0},
                                   {0, 9, 295, 18, 1, 0, 0},
                                   {147, 0, 295, 9, 1, StyleEntry(8, 1), StyleEntry(8, 3)},
                                   {147, 9, 295, 18, 1, StyleEntry(8, 5), StyleEntry(8, 7)},
                                   {0, 0, 147, 9, 1, StyleEntry(8, 9), StyleEntry(8, 11)},
                                   {0, 9, 147, 18, 1, StyleEntry(8, 13), StyleEntry(8, 15)}}));
  const auto writes = WritesSince(0);
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[0].text, "0.00%");
  EXPECT_EQ(writes[1].text, "50.00%");
}

TEST_F(CrystalProgressBarTest, AttachMakesARoundedInnerBoardAndTheWorkingSettings) {
  bar_.Attach(panel_);

  EXPECT_TRUE(panel_.AutoRedraw());
  EXPECT_EQ(panel_.GetBorder(), platform::ui::Border::kNone);
  ASSERT_EQ(InnerBoards().size(), 1u);
  const DrawPanel inner = Inner();
  EXPECT_EQ(inner.Kind(), platform::ui::UnitKind::kDrawPanel);
  // A frame of exactly one pixel on every side, in the background colour.
  EXPECT_EQ(ModelOf(inner)->rect, (platform::ui::Rect{1, 1, 295, 18}));
  EXPECT_TRUE(inner.Shown());
  EXPECT_EQ(ModelOf(panel_)->region, (RoundRegion{0, 0, 297, 20, 5, 5}));
  EXPECT_EQ(ModelOf(inner)->region, (RoundRegion{0, 0, 295, 18, 5, 5}));
  EXPECT_EQ(inner.BackColour(), RgbColour(23, 139, 211));
  EXPECT_EQ(panel_.BackColour(), RgbColour(23, 139, 211));
  EXPECT_EQ(bar_.Font(), inner.GetFont());

  EXPECT_EQ(bar_.Minimum(), 0);
  EXPECT_EQ(bar_.Position(), 50);
  EXPECT_EQ(bar_.Maximum(), 100);
  EXPECT_EQ(bar_.Style(), 8);
  EXPECT_EQ(bar_.CornerRadius(), 5);
  EXPECT_TRUE(bar_.Enabled());
  EXPECT_EQ(bar_.Caption(), "水晶进度条-");
  EXPECT_EQ(bar_.TextColor(), kBlack);
  EXPECT_EQ(bar_.EffectColor(), kWhite);
  EXPECT_EQ(bar_.CustomColor1(), RgbColour(0, 0, 255));
  EXPECT_EQ(bar_.CustomColor2(), kBlack);
  EXPECT_EQ(bar_.TextMode(), 1);
  EXPECT_EQ(bar_.Direction(), 1);
  EXPECT_EQ(bar_.TextPosition(), 5);
  EXPECT_EQ(bar_.TextEffect(), 5);
  // The first attach's own paints draw nothing: direction and text mode were still 0.
  EXPECT_TRUE(GradientsSince(0).empty());
  EXPECT_TRUE(WritesSince(0).empty());
}

TEST_F(CrystalProgressBarTest, TheFirstSettingAfterAttachPaintsAHalfBarWithItsPosition) {
  bar_.Attach(panel_);
  const std::uint64_t mark = Mark();
  bar_.Maximum(100);

  auto entry = [](int n) { return StyleEntry(8, n); };
  EXPECT_EQ(GradientsSince(mark), (std::vector<Gradient>{
                                      {147, 0, 295, 9, 1, entry(1), entry(3)},
                                      {147, 9, 295, 18, 1, entry(5), entry(7)},
                                      {0, 0, 147, 9, 1, entry(9), entry(11)},
                                      {0, 9, 147, 18, 1, entry(13), entry(15)}}));
  // "50" is 12 by 12 in the 9-point font: centred at (140, 2), a white shadow below right.
  EXPECT_EQ(WritesSince(mark), (std::vector<Write>{{"50", 141, 3, kWhite}, {"50", 140, 2, kBlack}}));
}

struct PaintCase {
  const char* name;
  int direction, position, maximum;
  std::vector<Gradient> expected;  // colours of style 9, entry numbers below
};

class BarPaintTest : public CrystalProgressBarTest,
                     public testing::WithParamInterface<PaintCase> {};

TEST_P(BarPaintTest, PaintsTheRectanglesOfItsDirection) {
  AttachAndShow();
  bar_.Style(9);
  bar_.Direction(GetParam().direction);
  bar_.Maximum(GetParam().maximum);
  EXPECT_EQ(GradientsOf([&] { bar_.Position(GetParam().position); }), GetParam().expected);
}

Colour E(int entry) { return StyleEntry(9, entry); }

INSTANTIATE_TEST_SUITE_P(
    Directions, BarPaintTest,
    testing::Values(
        PaintCase{"AlongTheWidth", 1, 30, 100,
                  {{88, 0, 295, 9, 1, E(1), E(3)},
                   {88, 9, 295, 18, 1, E(5), E(7)},
                   {0, 0, 88, 9, 1, E(9), E(11)},
                   {0, 9, 88, 18, 1, E(13), E(15)}}},
        PaintCase{"EmptyAlongTheWidth", 1, 0, 100,
                  {{0, 0, 295, 9, 1, E(1), E(3)}, {0, 9, 295, 18, 1, E(5), E(7)}}},
        PaintCase{"FullAlongTheWidth", 1, 7, 7,
                  {{295, 0, 295, 9, 1, E(1), E(3)},
                   {295, 9, 295, 18, 1, E(5), E(7)},
                   {0, 0, 295, 9, 1, E(9), E(11)},
                   {0, 9, 295, 18, 1, E(13), E(15)}}},
        PaintCase{"AlongTheHeight", 2, 50, 100,
                  {{0, 9, 147, 18, 0, E(1), E(3)},
                   {147, 9, 295, 18, 0, E(5), E(7)},
                   {0, 0, 147, 9, 0, E(9), E(11)},
                   {147, 0, 295, 9, 0, E(13), E(15)}}},
        PaintCase{"EmptyAlongTheHeight", 2, 0, 100,
                  {{0, 0, 147, 18, 0, E(1), E(3)}, {147, 0, 295, 18, 0, E(5), E(7)}}},
        PaintCase{"NoBarInAnotherDirection", 3, 50, 100, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CrystalProgressBarTest, AnotherDirectionStillDrawsTheText) {
  AttachAndShow();
  bar_.Direction(3);
  EXPECT_EQ(WritesOf([&] { bar_.Position(7); }).back(), (Write{"7", 143, 2, kBlack}));
}

TEST_F(CrystalProgressBarTest, TheMinimumTakesNoPartInTheFilledLength) {
  AttachAndShow();
  bar_.Minimum(40);
  const auto gradients = GradientsOf([&] { bar_.Position(50); });
  ASSERT_EQ(gradients.size(), 4u);
  EXPECT_EQ(gradients[2].right, 147);
}

struct ClampCase {
  const char* name;
  std::function<void(CrystalProgressBar&)> before;
  std::function<int(CrystalProgressBar&)> set;
  int stored, position;
};

class BarClampTest : public CrystalProgressBarTest,
                     public testing::WithParamInterface<ClampCase> {};

TEST_P(BarClampTest, KeepsTheRangeAndThePositionInside) {
  AttachAndShow();
  GetParam().before(bar_);
  EXPECT_EQ(GetParam().set(bar_), GetParam().stored);
  EXPECT_EQ(bar_.Position(), GetParam().position);
  EXPECT_GE(bar_.Maximum(), 1);
  EXPECT_LT(bar_.Minimum(), bar_.Maximum());
}

void Nothing(CrystalProgressBar&) {}

INSTANTIATE_TEST_SUITE_P(
    Clamps, BarClampTest,
    testing::Values(
        ClampCase{"PositionAboveMaximum", Nothing, [](auto& b) { return b.Position(150); }, 100, 100},
        ClampCase{"PositionBelowMinimum", Nothing, [](auto& b) { return b.Position(-5); }, 0, 0},
        ClampCase{"PositionBelowARaisedMinimum", [](auto& b) { b.Minimum(40); },
                  [](auto& b) { return b.Position(30); }, 40, 40},
        ClampCase{"PositionInside", Nothing, [](auto& b) { return b.Position(37); }, 37, 37},
        ClampCase{"MaximumZero", Nothing, [](auto& b) { return b.Maximum(0); }, 1, 1},
        ClampCase{"MaximumZeroAboveMinimumOne", [](auto& b) { b.Minimum(1); },
                  [](auto& b) { return b.Maximum(0); }, 2, 2},
        ClampCase{"MaximumBelowMinimum", [](auto& b) { b.Minimum(10); },
                  [](auto& b) { return b.Maximum(5); }, 11, 11},
        ClampCase{"MaximumLowersThePosition", Nothing, [](auto& b) { return b.Maximum(30); }, 30, 30},
        ClampCase{"MaximumAboveThePosition", Nothing, [](auto& b) { return b.Maximum(500); }, 500, 50},
        ClampCase{"MinimumAboveMaximum", Nothing, [](auto& b) { return b.Minimum(200); }, 99, 99},
        ClampCase{"MinimumNegative", Nothing, [](auto& b) { return b.Minimum(-3); }, 0, 50},
        ClampCase{"MinimumRaisesThePosition", Nothing, [](auto& b) { return b.Minimum(60); }, 60, 60}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CrystalProgressBarTest, ReadingASettingNeitherChangesNorPaints) {
  AttachAndShow();
  const std::size_t outer_paints = panel_.Paints().size();
  const std::uint64_t mark = Mark();
  bar_.Position();
  bar_.Maximum();
  bar_.Minimum();
  bar_.CornerRadius();
  bar_.Enabled();
  bar_.Style();
  bar_.TextMode();
  bar_.Direction();
  bar_.TextPosition();
  bar_.Caption();
  bar_.EffectColor();
  bar_.TextEffect();
  bar_.TextColor();
  bar_.Font();
  bar_.CustomColor1();
  bar_.CustomColor2();
  EXPECT_EQ(Mark(), mark);
  EXPECT_EQ(panel_.Paints().size(), outer_paints);
  EXPECT_EQ(bar_.Position(), 50);
}

TEST_F(CrystalProgressBarTest, EverySettingWithAValueRepaints) {
  AttachAndShow();
  const std::vector<std::function<void()>> settings = {
      [&] { bar_.Position(20); },     [&] { bar_.Maximum(90); },
      [&] { bar_.Minimum(1); },       [&] { bar_.CornerRadius(3); },
      [&] { bar_.Enabled(true); },    [&] { bar_.Style(2); },
      [&] { bar_.TextMode(2); },      [&] { bar_.Direction(1); },
      [&] { bar_.TextPosition(4); },  [&] { bar_.Caption("c"); },
      [&] { bar_.EffectColor(1); },   [&] { bar_.TextEffect(1); },
      [&] { bar_.TextColor(2); },     [&] { bar_.Font(bar_.Font()); },
      [&] { bar_.CustomColor1(3); },  [&] { bar_.CustomColor2(4); }};
  for (std::size_t i = 0; i < settings.size(); ++i) {
    EXPECT_EQ(GradientsOf(settings[i]).size(), 4u) << "setting " << i;
  }
}

TEST_F(CrystalProgressBarTest, CornerRadiusClipsBothBoards) {
  AttachAndShow();
  bar_.CornerRadius(0);
  EXPECT_EQ(ModelOf(panel_)->region, (RoundRegion{0, 0, 297, 20, 0, 0}));
  EXPECT_EQ(ModelOf(Inner())->region, (RoundRegion{0, 0, 295, 18, 0, 0}));
  bar_.CornerRadius(12);
  EXPECT_EQ(ModelOf(Inner())->region, (RoundRegion{0, 0, 295, 18, 12, 12}));
}

TEST_F(CrystalProgressBarTest, DisablingGreysColoursUntilACustomColourReloadsThem) {
  AttachAndShow();
  const auto greyed = GradientsOf([&] { bar_.Enabled(false); });
  ASSERT_EQ(greyed.size(), 4u);
  EXPECT_EQ(greyed[2].from, GreyColor(StyleEntry(8, 9)));
  EXPECT_EQ(greyed[3].to, GreyColor(StyleEntry(8, 15)));
  EXPECT_EQ(Inner().BackColour(), GreyColor(RgbColour(23, 139, 211)));
  EXPECT_EQ(panel_.BackColour(), GreyColor(RgbColour(23, 139, 211)));

  // A custom colour reloads the style in colour although the bar stays disabled.
  const auto reloaded = GradientsOf([&] { bar_.CustomColor2(RgbColour(1, 2, 3)); });
  ASSERT_EQ(reloaded.size(), 4u);
  EXPECT_EQ(reloaded[2].from, StyleEntry(8, 9));
  EXPECT_EQ(Inner().BackColour(), RgbColour(23, 139, 211));
  EXPECT_FALSE(bar_.Enabled());

  EXPECT_EQ(GradientsOf([&] { bar_.Style(8); })[2].from, GreyColor(StyleEntry(8, 9)));
}

TEST_F(CrystalProgressBarTest, AStyleOutsideTheTablesKeepsTheColours) {
  AttachAndShow();
  bar_.Style(9);
  const auto before = GradientsOf([&] { bar_.Position(50); });
  EXPECT_EQ(GradientsOf([&] { bar_.Style(11); }), before);
  EXPECT_EQ(GradientsOf([&] { bar_.Style(0); }), before);

  bar_.Enabled(false);
  const auto grey = GradientsOf([&] { bar_.Style(11); });
  EXPECT_EQ(GradientsOf([&] { bar_.Style(0); }), grey);  // grey stays the same grey
  // Enabling reloads nothing while the style names no table.
  EXPECT_EQ(GradientsOf([&] { bar_.Enabled(true); }), grey);
  EXPECT_EQ(GradientsOf([&] { bar_.Style(9); }), before);
}

TEST_F(CrystalProgressBarTest, StyleTenPaintsTheCustomColours) {
  AttachAndShow();
  const auto gradients = GradientsOf([&] { bar_.Style(10); });
  EXPECT_EQ(gradients, (std::vector<Gradient>{
                           {147, 0, 295, 9, 1, RgbColour(180, 180, 180), RgbColour(50, 50, 50)},
                           {147, 9, 295, 18, 1, RgbColour(0, 0, 0), RgbColour(80, 80, 80)},
                           {0, 0, 147, 9, 1, RgbColour(180, 180, 255), RgbColour(50, 50, 255)},
                           {0, 9, 147, 18, 1, RgbColour(0, 0, 255), RgbColour(80, 80, 255)}}));
  EXPECT_EQ(Inner().BackColour(), RgbColour(0, 0, 255));
  const auto green = GradientsOf([&] { bar_.CustomColor1(RgbColour(0, 255, 0)); });
  EXPECT_EQ(green[2].from, RgbColour(180, 255, 180));
  EXPECT_EQ(Inner().BackColour(), RgbColour(0, 255, 0));
}

struct TextCase {
  int text_mode, position, maximum;
  std::vector<Text> texts;  // what the paint writes, effect 1
};

class BarTextTest : public CrystalProgressBarTest,
                    public testing::WithParamInterface<TextCase> {};

TEST_P(BarTextTest, WritesTheTextOfItsMode) {
  AttachAndShow();
  bar_.TextEffect(1);
  bar_.Caption("完成");
  bar_.TextMode(GetParam().text_mode);
  bar_.Maximum(GetParam().maximum);
  std::vector<Text> texts;
  for (const Write& write : WritesOf([&] { bar_.Position(GetParam().position); })) {
    texts.push_back(write.text);
  }
  EXPECT_EQ(texts, GetParam().texts);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, BarTextTest,
    testing::Values(TextCase{1, 37, 100, {"37"}}, TextCase{2, 50, 100, {"50.00%"}},
                    TextCase{2, 1, 3, {"33.33%"}}, TextCase{2, 2, 3, {"66.66%"}},
                    TextCase{2, 1, 8, {"12.50%"}}, TextCase{2, 49, 400, {"12.25%"}},
                    TextCase{2, 0, 100, {"0.00%"}}, TextCase{2, 100, 100, {"100.00%"}},
                    TextCase{2, 1, 2000000, {"0.00%"}}, TextCase{3, 37, 100, {"完成"}},
                    TextCase{0, 37, 100, {}}, TextCase{4, 37, 100, {}}));

TEST_F(CrystalProgressBarTest, PlacesTheTextInTheNineCellsOfTheBoard) {
  AttachAndShow();
  bar_.TextEffect(1);
  // "50" is 12 by 12 on the 295 by 18 board.
  const std::pair<int, int> places[] = {{0, 0},   {1, 0},   {1, 2},   {1, 5},   {140, 0}, {140, 2},
                                        {140, 5}, {280, 0}, {280, 2}, {280, 5}, {0, 0}};
  for (int position = 0; position <= 10; ++position) {
    const auto writes = WritesOf([&] { bar_.TextPosition(position); });
    ASSERT_EQ(writes.size(), 1u) << position;
    EXPECT_EQ(std::make_pair(writes[0].x, writes[0].y), places[position]) << position;
  }
}

TEST_F(CrystalProgressBarTest, MeasuresTheTextInTheBoardsFont) {
  AttachAndShow();
  bar_.TextEffect(1);
  FontRecord large = bar_.Font();
  large.size_points = 18;  // 24 pixels high, 12 wide a character
  const auto writes = WritesOf([&] { bar_.Font(large); });
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(std::make_pair(writes[0].x, writes[0].y), std::make_pair(134, -4));
  EXPECT_EQ(Inner().GetFont().size_points, 18);
}

struct EffectCase {
  int effect;
  bool enabled;
  std::vector<Write> writes;
};

class BarEffectTest : public CrystalProgressBarTest,
                      public testing::WithParamInterface<EffectCase> {};

constexpr Colour kRed = RgbColour(255, 0, 0);
constexpr Colour kYellow = RgbColour(255, 255, 0);
constexpr Colour kGrey = RgbColour(128, 128, 128);
constexpr Colour kRedGrey = RgbColour(85, 85, 85);
constexpr Colour kYellowGrey = RgbColour(170, 170, 170);

TEST_P(BarEffectTest, WritesTheCopiesThenTheText) {
  AttachAndShow();
  bar_.TextColor(kRed);
  bar_.EffectColor(kYellow);
  bar_.Enabled(GetParam().enabled);
  EXPECT_EQ(WritesOf([&] { bar_.TextEffect(GetParam().effect); }), GetParam().writes);
}

INSTANTIATE_TEST_SUITE_P(
    Effects, BarEffectTest,
    testing::Values(
        EffectCase{1, true, {{"50", 140, 2, kRed}}},
        EffectCase{2, true, {{"50", 139, 1, kYellow}, {"50", 141, 3, kGrey}, {"50", 140, 2, kRed}}},
        EffectCase{3, true, {{"50", 141, 3, kYellow}, {"50", 139, 2, kGrey}, {"50", 140, 2, kRed}}},
        EffectCase{4, true,
                   {{"50", 141, 2, kYellow},
                    {"50", 139, 2, kYellow},
                    {"50", 139, 2, kYellow},
                    {"50", 141, 2, kYellow},
                    {"50", 140, 2, kRed}}},
        EffectCase{5, true, {{"50", 141, 3, kYellow}, {"50", 140, 2, kRed}}},
        EffectCase{0, true, {}},
        EffectCase{6, true, {}},
        // A disabled bar greys both colours, but not the shadows' fixed grey.
        EffectCase{2, false,
                   {{"50", 139, 1, kYellowGrey}, {"50", 141, 3, kGrey}, {"50", 140, 2, kRedGrey}}},
        EffectCase{5, false, {{"50", 141, 3, kYellowGrey}, {"50", 140, 2, kRedGrey}}}));

TEST_F(CrystalProgressBarTest, WithoutTextTheTextColourIsStillSet) {
  AttachAndShow();
  bar_.TextColor(kRed);
  bar_.TextEffect(0);
  EXPECT_EQ(Inner().TextColour(), kRed);
  bar_.Enabled(false);
  EXPECT_EQ(Inner().TextColour(), kRedGrey);
}

TEST_F(CrystalProgressBarTest, ACopyPaintsOnTheSameBoardsWithSettingsOfItsOwn) {
  AttachAndShow();
  CrystalProgressBar copy = bar_;
  const auto gradients = GradientsOf([&] { copy.Position(20); });
  ASSERT_EQ(gradients.size(), 4u);
  EXPECT_EQ(gradients[2].right, 59);
  EXPECT_EQ(InnerBoards().size(), 1u);
  EXPECT_EQ(bar_.Position(), 50);
  copy.Caption("x");
  EXPECT_EQ(bar_.Caption(), "水晶进度条-");
}

TEST_F(CrystalProgressBarTest, AttachingAgainPaintsANewBoardAndLeavesTheOldOne) {
  AttachAndShow();
  bar_.Style(9);
  bar_.Position(0);
  const DrawPanel first = Inner();
  const std::size_t first_paints = first.Paints().size();

  bar_.Attach(panel_);
  ASSERT_EQ(InnerBoards().size(), 2u);
  EXPECT_EQ(first.Paints().size(), first_paints);
  EXPECT_TRUE(first.IsAlive());
  // The corner paint still had style 9's colours and position 0; the style paint style 8's,
  // at the position 50 that attaching gives.
  const auto gradients = GradientsSince(0);
  ASSERT_EQ(gradients.size(), 6u);
  EXPECT_EQ(gradients[0], (Gradient{0, 0, 295, 9, 1, StyleEntry(9, 1), StyleEntry(9, 3)}));
  EXPECT_EQ(gradients[2], (Gradient{147, 0, 295, 9, 1, StyleEntry(8, 1), StyleEntry(8, 3)}));
  EXPECT_EQ(bar_.Position(), 50);
  EXPECT_EQ(bar_.Style(), 8);
}

TEST_F(CrystalProgressBarTest, TheWizardsDownloadStepShowsAnEmptyGreenBar) {
  bar_.Attach(panel_);
  bar_.Maximum(100);
  bar_.Style(9);
  const std::uint64_t mark = Mark();
  bar_.Position(0);
  EXPECT_EQ(GradientsSince(mark), (std::vector<Gradient>{{0, 0, 295, 9, 1, E(1), E(3)},
                                                         {0, 9, 295, 18, 1, E(5), E(7)}}));
  EXPECT_EQ(WritesSince(mark), (std::vector<Write>{{"0", 144, 3, kWhite}, {"0", 143, 2, kBlack}}));
  EXPECT_EQ(Inner().BackColour(), RgbColour(188, 184, 188));
}

}  // namespace
}  // namespace korvane::update
