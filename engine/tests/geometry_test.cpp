#include <gtest/gtest.h>

#include "engine/geometry.h"
#include "engine/image_ops.h"

namespace {

TEST(Geometry, FrameRectSideBySideAndStacked) {
  struct {
    int w, h, n, k;
    bool vertical;
    TRect want;
  } cases[] = {
      {90, 20, 3, 2, false, {30, 0, 60, 20}},
      {10, 48, 2, 2, true, {0, 24, 10, 48}},  // the lower half
      {10, 48, 2, 1, true, {0, 0, 10, 24}},
      {91, 20, 3, 3, false, {60, 0, 90, 20}},  // the remainder column is never used
      {90, 20, 0, 1, false, {0, 0, 90, 20}},   // counts below 1 count as 1
      {90, 20, -4, 3, false, {0, 0, 90, 20}},
      {90, 20, 3, 7, false, {60, 0, 90, 20}},  // frame numbers clamped into 1..n
      {90, 20, 3, 0, false, {0, 0, 30, 20}},
      {2, 20, 5, 3, false, {0, 0, 0, 20}},  // more frames than columns: empty
  };
  for (const auto& c : cases)
    EXPECT_EQ(FrameRect(c.w, c.h, c.n, c.k, c.vertical), c.want) << c.n << " " << c.k;
}

TEST(Geometry, FitMarginsKeepsThemInsideTheFrame) {
  EXPECT_EQ(FitMargins({-3, 2, 4, -1}, 20, 20), (TMargins{0, 2, 4, 0}));
  EXPECT_EQ(FitMargins({30, 0, 30, 0}, 20, 10), (TMargins{20, 0, 0, 0}));
  EXPECT_EQ(FitMargins({12, 6, 12, 6}, 20, 10), (TMargins{12, 6, 8, 4}));
}

TEST(Geometry, NineSliceKeepsCornersAndStretchesEdges) {
  // Frame 2 of a 3-frame 60 by 20 strip; margins 4, 3, 5, 2; target 50 by 30.
  const TRect f = FrameRect(60, 20, 3, 2, false);
  const auto plan = PlanSliceFrame(50, 30, f, {4, 3, 5, 2}, false);
  const std::vector<TBlit> want = {
      {{0, 0, 4, 3}, {20, 0, 24, 3}},        // top-left
      {{0, 28, 4, 30}, {20, 18, 24, 20}},    // bottom-left
      {{45, 0, 50, 3}, {35, 0, 40, 3}},      // top-right
      {{0, 3, 4, 28}, {20, 3, 24, 18}},      // left edge
      {{4, 0, 45, 3}, {24, 0, 35, 3}},       // top edge
      {{4, 3, 45, 28}, {24, 3, 35, 18}},     // centre
      {{45, 28, 50, 30}, {35, 18, 40, 20}},  // bottom-right
      {{45, 3, 50, 28}, {35, 3, 40, 18}},    // right edge
      {{4, 28, 45, 30}, {24, 18, 35, 20}},   // bottom edge
  };
  EXPECT_EQ(plan, want);
}

TEST(Geometry, NineSliceDropsMarginsThatDoNotFit) {
  // A 40 by 20 target with side margins 30 and 30: both dropped, the whole
  // frame width stretched.
  auto plan = PlanSliceFrame(40, 20, {0, 0, 64, 10}, {30, 0, 30, 0}, false);
  ASSERT_EQ(plan.size(), 1u);
  EXPECT_EQ(plan[0], (TBlit{{0, 0, 40, 20}, {0, 0, 64, 10}, false}));
  // Too short for top + bottom: only those are dropped.
  plan = PlanSliceFrame(40, 5, {0, 0, 20, 20}, {2, 4, 2, 4}, false);
  ASSERT_EQ(plan.size(), 3u);
  EXPECT_EQ(plan[0].Dst, (TRect{0, 0, 2, 5}));
  EXPECT_EQ(plan[1].Dst, (TRect{2, 0, 38, 5}));
  EXPECT_EQ(plan[2].Dst, (TRect{38, 0, 40, 5}));
}

TEST(Geometry, NineSliceOfEmptyThingsIsEmpty) {
  EXPECT_TRUE(PlanSliceFrame(0, 10, {0, 0, 5, 5}, {}, false).empty());
  EXPECT_TRUE(PlanSliceFrame(10, -1, {0, 0, 5, 5}, {}, false).empty());
  EXPECT_TRUE(PlanSliceFrame(10, 10, {0, 0, 0, 5}, {}, false).empty());
}

TEST(Geometry, NineSliceTilesOnlyTheCentre) {
  const auto plan = PlanSliceFrame(30, 30, {0, 0, 20, 20}, {5, 5, 5, 5}, true);
  for (const TBlit& b : plan)
    EXPECT_EQ(b.Tiled, b.Dst == (TRect{5, 5, 25, 25})) << b.Dst.Left << "," << b.Dst.Top;
}

TEST(Geometry, NeverReadsOutsideTheBitmapWhateverTheMargins) {
  const int w = 30, h = 12;
  for (int n : {-1, 0, 1, 3, 40})
    for (int k : {-2, 1, 2, 9})
      for (TMargins m : {TMargins{-5, -5, -5, -5}, TMargins{50, 50, 50, 50}, TMargins{9, 1, 9, 1},
                         TMargins{0, 20, 0, 0}})
        for (int tw : {1, 7, 100})
          for (const TBlit& b : PlanSliceFrame(tw, tw, FrameRect(w, h, n, k, false), m, k == 2)) {
            EXPECT_GE(b.Src.Left, 0);
            EXPECT_GE(b.Src.Top, 0);
            EXPECT_LE(b.Src.Right, w);
            EXPECT_LE(b.Src.Bottom, h);
            EXPECT_FALSE(b.Src.IsEmpty());
            EXPECT_GE(b.Dst.Left, 0);
            EXPECT_LE(b.Dst.Right, tw);
          }
}

TEST(Geometry, TilePositions) {
  std::vector<TPoint> want = {{0, 0}, {7, 0}, {14, 0}};
  EXPECT_EQ(TilePositions({0, 0, 20, 5}, 7, 5), want);  // the last tile runs over
  want = {{2, 1}, {2, 4}, {5, 1}, {5, 4}};              // rows inside columns
  EXPECT_EQ(TilePositions({2, 1, 8, 7}, 3, 3), want);
  EXPECT_TRUE(TilePositions({0, 0, 20, 5}, 0, 5).empty());
  EXPECT_TRUE(TilePositions({0, 0, 20, 5}, 5, -1).empty());
}

TEST(Geometry, CappedStrip) {
  // Frame 10 wide (caps 3 and 2, middle 5) into 20: middles at 3, 8, 13.
  auto plan = PlanCappedStrip(20, 8, {10, 0, 20, 4}, 3, 2);
  std::vector<TBlit> want = {{{0, 0, 3, 8}, {10, 0, 13, 4}},
                             {{3, 0, 8, 8}, {13, 0, 18, 4}},
                             {{8, 0, 13, 8}, {13, 0, 18, 4}},
                             {{13, 0, 18, 8}, {13, 0, 18, 4}},
                             {{18, 0, 20, 8}, {18, 0, 20, 4}}};
  EXPECT_EQ(plan, want);
  // Caps that fill the frame: only the caps.
  plan = PlanCappedStrip(20, 8, {0, 0, 10, 4}, 6, 4);
  ASSERT_EQ(plan.size(), 2u);
  EXPECT_EQ(plan[0].Dst, (TRect{0, 0, 6, 8}));
  EXPECT_EQ(plan[1].Dst, (TRect{16, 0, 20, 8}));
}

TEST(Geometry, ThreePartStretch) {
  auto plan = PlanThreePartStretch({10, 5, 40, 15}, {0, 0, 12, 6}, 3, 4);
  std::vector<TBlit> want = {{{10, 5, 13, 15}, {0, 0, 3, 6}},
                             {{13, 5, 36, 15}, {3, 0, 8, 6}},
                             {{36, 5, 40, 15}, {8, 0, 12, 6}}};
  EXPECT_EQ(plan, want);
  plan = PlanThreePartStretch({0, 0, 8, 4}, {0, 0, 12, 6}, 3, 4);  // frame wider than target
  ASSERT_EQ(plan.size(), 1u);
  EXPECT_EQ(plan[0], (TBlit{{0, 0, 8, 4}, {0, 0, 12, 6}, false}));
}

TEST(Geometry, CentredOriginTruncatesTowardZero) {
  EXPECT_EQ(CentredOrigin({0, 0, 15, 15}, 20, 20), (TPoint{-2, -2}));  // -5 div 2
  EXPECT_EQ(CentredOrigin({10, 10, 31, 20}, 5, 4), (TPoint{18, 13}));
}

TEST(Geometry, RegionRuns) {
  TPixmap img = SolidImage(3, 1, RGBColour(10, 10, 10));
  SetPixel(img, 1, 0, kMagenta);
  EXPECT_EQ(RegionRuns(img, {}), (std::vector<TRect>{{0, 0, 1, 1}, {2, 0, 3, 1}}));
  EXPECT_TRUE(RegionRuns(SolidImage(4, 4, kMagenta), {}).empty());

  // Near magenta (green 1) is cut too; green 2 or red 254 are not.
  TPixmap row = SolidImage(6, 2, kMagenta);
  SetPixel(row, 0, 0, RGBColour(255, 1, 255));
  SetPixel(row, 1, 0, RGBColour(255, 2, 255));
  SetPixel(row, 2, 0, RGBColour(254, 0, 255));
  SetPixel(row, 4, 1, RGBColour(255, 0, 254));
  EXPECT_EQ(RegionRuns(row, {}, 10, 20), (std::vector<TRect>{{11, 20, 13, 21}, {14, 21, 15, 22}}));
}

}  // namespace
