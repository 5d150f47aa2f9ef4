// What a drawing panel keeps of its paints: what still shows, and a bounded tail.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/paint.h"

namespace korvane::platform::ui {
namespace {

constexpr int kSide = 10;

PaintOp Clear() { return PaintOp{}; }

PaintOp Fill(int left, int top, int right, int bottom) {
  PaintOp op;
  op.kind = PaintKind::kGradient;
  op.left = left;
  op.top = top;
  op.right = right;
  op.bottom = bottom;
  return op;
}

PaintOp Write(int left, int top, int right, int bottom) {
  PaintOp op = Fill(left, top, right, bottom);
  op.kind = PaintKind::kText;
  op.text = "37";
  return op;
}

struct CoverCase {
  const char* name;
  std::vector<PaintOp> paints;  // on a kSide by kSide panel
  std::vector<std::size_t> shown;  // the paints still shown
};

class PaintCoverTest : public ::testing::TestWithParam<CoverCase> {};

TEST_P(PaintCoverTest, KeepsWhatStillShows) {
  PaintRecord record;
  for (const PaintOp& op : GetParam().paints) record.Add(op, kSide, kSide);
  std::vector<PaintOp> expected;
  for (std::size_t index : GetParam().shown) expected.push_back(GetParam().paints[index]);
  EXPECT_EQ(record.Shown(), expected);
  EXPECT_EQ(record.Recent(), GetParam().paints);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PaintCoverTest,
    ::testing::Values(
        CoverCase{"AClearDropsEverythingBefore", {Fill(0, 0, 10, 10), Write(2, 2, 5, 5), Clear()}, {2}},
        CoverCase{"AWholeFillDropsWhatItCovers", {Clear(), Fill(0, 0, 5, 10), Write(1, 1, 4, 4), Fill(0, 0, 10, 10)},
                  {3}},
        CoverCase{"APartFillKeepsWhatShowsBeside", {Fill(0, 0, 10, 10), Write(3, 3, 7, 7), Fill(0, 0, 5, 10)},
                  {0, 1, 2}},
        CoverCase{"FillsTogetherCover", {Write(2, 2, 8, 8), Fill(0, 0, 5, 10), Fill(5, 0, 10, 10)}, {1, 2}},
        CoverCase{"TextCoversNothing", {Fill(0, 0, 10, 10), Write(0, 0, 10, 10)}, {0, 1}},
        CoverCase{"WhatLiesOutsideThePanelNeverShows", {Write(-9, -9, -1, -1), Write(8, 8, 15, 15), Fill(8, 8, 10, 10)},
                  {2}},
        CoverCase{"AnEmptyFillDrawsNothing", {Fill(10, 0, 10, 10), Fill(0, 0, 10, 10)}, {1}}),
    [](const ::testing::TestParamInfo<CoverCase>& info) { return std::string(info.param.name); });

TEST(PaintRecordTest, APanelPaintedOverAndOverKeepsOnePaintAndABoundedTail) {
  PaintRecord record;
  for (int position = 0; position <= 1000; ++position) {
    const int split = position / 100;
    for (const PaintOp& op : {Fill(split, 0, 10, 5), Fill(split, 5, 10, 10), Fill(0, 0, split, 5),
                              Fill(0, 5, split, 10), Write(4, 3, 6, 7)}) {
      record.Add(op, kSide, kSide);
    }
  }
  // The last paint, whose two empty fills drew nothing.
  EXPECT_EQ(record.Shown(), (std::vector<PaintOp>{Fill(0, 0, 10, 5), Fill(0, 5, 10, 10), Write(4, 3, 6, 7)}));
  EXPECT_EQ(record.Recent().size(), PaintRecord::kRecentKept);
  EXPECT_EQ(record.Count(), 1001u * 5);
  EXPECT_EQ(record.Since(record.Count() - 2), (std::vector<PaintOp>{Fill(0, 5, 10, 10), Write(4, 3, 6, 7)}));
  EXPECT_EQ(record.Since(0), record.Recent());
}

}  // namespace
}  // namespace korvane::platform::ui
