// Drawing panels as a self-drawn widget uses them: a clone made a child of the panel,
// rounded clipping, gradient fills through device contexts, and text measured and written
// in the panel's font and text colour.

#include <cstring>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ui/text_metric.h"
#include "tests/platform/ui/ui_test_fixture.h"

namespace korvane::platform::ui::testing {
namespace {

using ::testing::ElementsAre;

class DrawPanelTest : public HeadlessProgramTest {
 protected:
  DrawPanelTest() {
    window_ = program_.LoadWindow("Board", false);
    panel_ = window_.Find<DrawPanel>("画板_水晶进度条_1");
  }

  // A TRIVERTEX as the widget writes it: little-endian, colour in each channel's high byte.
  static std::string Vertex(std::int32_t x, std::int32_t y, Colour colour) {
    std::string bytes;
    auto put = [&bytes](std::uint32_t value, int size) {
      for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    put(static_cast<std::uint32_t>(x), 4);
    put(static_cast<std::uint32_t>(y), 4);
    put((colour & 0xFF) << 8, 2);
    put(((colour >> 8) & 0xFF) << 8, 2);
    put(((colour >> 16) & 0xFF) << 8, 2);
    put(0, 2);
    return bytes;
  }

  DrawPanel Attach() {
    panel_.SetAutoRedraw(true);
    panel_.SetBorder(Border::kNone);
    DrawPanel inner(program_, program_.CloneUnit(panel_).Id());
    program_.SetUnitParent(inner, panel_);
    program_.MoveUnit(inner, 1, 1, panel_.Width() - 2, panel_.Height() - 2);
    inner.SetVisible(true);
    return inner;
  }

  Window window_;
  DrawPanel panel_;
};

TEST_F(DrawPanelTest, CloneBecomesAChildThatMovesAndHidesWithThePanel) {
  DrawPanel inner = Attach();
  ASSERT_TRUE(inner.IsAlive());
  EXPECT_NE(inner.Id(), panel_.Id());
  EXPECT_EQ(inner.Kind(), UnitKind::kDrawPanel);
  EXPECT_EQ(ModelOf(inner)->parent, panel_.Id());
  EXPECT_EQ(inner.DrawableWidth(), 295);
  EXPECT_EQ(inner.DrawableHeight(), 18);
  EXPECT_EQ(inner.GetFont(), panel_.GetFont());
  EXPECT_TRUE(inner.Shown());
  // The finder keeps giving the layout's panel, not its clone.
  EXPECT_EQ(window_.Find<DrawPanel>("画板_水晶进度条_1"), panel_);
  window_.Find<PictureBox>("图片框_面板").SetVisible(false);
  EXPECT_FALSE(inner.Shown());
  EXPECT_TRUE(inner.Visible());
  EXPECT_FALSE(InputOf(program_).UserClick(inner)) << "the user cannot reach a control inside a hidden one";
  // A second attach makes a further board and leaves the first in place.
  DrawPanel second = Attach();
  EXPECT_THAT(ModelOf(panel_)->children, ElementsAre(inner.Id(), second.Id()));
}

TEST_F(DrawPanelTest, RoundedRegionClipsTheUnitAndBadHandlesAreRefused) {
  DrawPanel inner = Attach();
  const WindowHandle handle = program_.GetWindowHandle(inner);
  const RegionHandle region =
      program_.CreateRoundRectRgn(0, 0, inner.DrawableWidth(), inner.DrawableHeight(), 5, 5);
  EXPECT_EQ(program_.SetWindowRgn(handle, region, true), 1);
  EXPECT_EQ(ModelOf(inner)->region, (RoundRegion{0, 0, 295, 18, 5, 5}));
  // The window took the region over: it cannot be given again.
  EXPECT_EQ(program_.SetWindowRgn(program_.GetWindowHandle(panel_), region, true), 0);
  EXPECT_EQ(program_.SetWindowRgn(0, program_.CreateRoundRectRgn(0, 0, 1, 1, 0, 0), true), 0);
}

TEST_F(DrawPanelTest, GradientFillReadsTrivertexBytesWithRightAndBottomExclusive) {
  DrawPanel inner = Attach();
  const WindowHandle handle = program_.GetWindowHandle(inner);
  const GradientRect mesh{0, 1};
  struct Case {
    std::uint32_t mode;
    std::int32_t left, top, right, bottom;
    bool accepted;
  };
  const Case cases[] = {{kGradientFillRectV, 147, 0, 295, 9, true},
                        {kGradientFillRectH, 0, 9, 147, 18, true},
                        {2, 0, 0, 1, 1, false}};
  std::size_t expected_paints = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    const std::string vertices = Vertex(c.left, c.top, 0xE8F3E7) + Vertex(c.right, c.bottom, 0xE1DBE1);
    const DeviceContext context = program_.GetDC(handle);
    EXPECT_EQ(program_.GradientFill(context, vertices, 2, &mesh, 1, c.mode), c.accepted);
    EXPECT_EQ(program_.ReleaseDC(handle, context), 1);
    if (!c.accepted) continue;
    ++expected_paints;
    ASSERT_EQ(inner.Paints().size(), expected_paints);
    const PaintOp& op = inner.Paints().back();
    EXPECT_EQ(op.kind, PaintKind::kGradient);
    EXPECT_EQ((std::vector<int>{op.left, op.top, op.right, op.bottom}),
              (std::vector<int>{c.left, c.top, c.right, c.bottom}));
    EXPECT_EQ(op.mode, c.mode);
    EXPECT_EQ(op.colour_from, 0xE8F3E7u);
    EXPECT_EQ(op.colour_to, 0xE1DBE1u);
  }
  // A released context, a vertex number out of range and short vertex bytes paint nothing.
  const DeviceContext released = program_.GetDC(handle);
  program_.ReleaseDC(handle, released);
  const std::string two = Vertex(0, 0, 0) + Vertex(1, 1, 0);
  EXPECT_FALSE(program_.GradientFill(released, two, 2, &mesh, 1, 0));
  const DeviceContext context = program_.GetDC(handle);
  const GradientRect beyond{0, 2};
  EXPECT_FALSE(program_.GradientFill(context, two, 2, &beyond, 1, 0));
  EXPECT_FALSE(program_.GradientFill(context, two.substr(0, 20), 2, &mesh, 1, 0));
  EXPECT_EQ(inner.Paints().size(), expected_paints);
}

TEST_F(DrawPanelTest, TextIsMeasuredAndWrittenInThePanelsFontAndColourWithoutBackground) {
  DrawPanel inner = Attach();
  inner.SetBackColour(0xBCB8BC);
  Font font = inner.GetFont();
  struct Case {
    const char* text;
    bool bold;
    int width;
  };
  // 9 points are 12 pixels: ASCII 6 wide, a GBK character 12, bold one more each.
  for (const Case& c : {Case{"37", false, 12}, Case{"50.00%", false, 36}, Case{"水晶进度条-", false, 66},
                        Case{"37", true, 14}}) {
    SCOPED_TRACE(c.text);
    font.weight = c.bold ? 700 : 400;
    inner.SetFont(font);
    EXPECT_EQ(inner.TextWidth(c.text), c.width);
    EXPECT_EQ(inner.TextHeight(c.text), 12);
  }
  inner.SetTextColour(0xFFFFFF);
  inner.SetWritePosition(140, 4);
  inner.WriteText("37");
  inner.SetTextColour(0x000000);
  inner.SetWritePosition(139, 3);
  inner.WriteText("37");
  ASSERT_EQ(inner.Paints().size(), 3u);
  EXPECT_EQ(inner.Paints()[0].kind, PaintKind::kClear);
  EXPECT_EQ(inner.Paints()[0].colour_from, 0xBCB8BCu);
  const PaintOp& shadow = inner.Paints()[1];
  const PaintOp& text = inner.Paints()[2];
  EXPECT_EQ((std::vector<int>{shadow.x, shadow.y, text.x, text.y}), (std::vector<int>{140, 4, 139, 3}));
  EXPECT_EQ(shadow.colour_from, 0xFFFFFFu);
  EXPECT_EQ(text.colour_from, 0x000000u);
  EXPECT_EQ(text.font, font);
  EXPECT_EQ(text.text, "37");
}

}  // namespace
}  // namespace korvane::platform::ui::testing
