// Progress fills and chunks, track-bar channels and thumbs, spin halves,
// frames, the embedded spin's clearance and the classic arrows.
#include "engine/range_rules.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(RangeRules, MulDivRoundsHalfAwayFromZeroAndRefusesZero) {
  struct TRow {
    int A, B, C, Want;
  };
  const TRow rows[] = {
      {200, 50, 100, 100},  {7, 1, 2, 4},        {-7, 1, 2, -4},           {7, -1, 2, -4},
      {5, 1, 3, 2},         {4, 1, 3, 1},        {100, 0, 7, 0},           {1, 1, 0, -1},
      {0, 0, 0, -1},        {INT_MAX, 2, 1, -1}, {INT_MAX, 2, 2, INT_MAX}, {INT_MIN, 1, 1, INT_MIN},
      {INT_MIN, -1, 1, -1},
  };
  for (const TRow& r : rows)
    EXPECT_EQ(RangeMulDiv(r.A, r.B, r.C), r.Want) << r.A << " " << r.B << " " << r.C;
}

TEST(RangeRules, ProgressFillsInProportionForEveryRange) {
  struct TRow {
    int Length, Pos, Low, High, Want;
  };
  const TRow rows[] = {
      {200, 0, 0, 100, 0},      // the low limit: nothing
      {200, 100, 0, 100, 200},  // the high limit: the whole bar
      {200, 50, 0, 100, 100},
      {200, 1, 0, 3, 67},       // rounded like MulDiv
      {200, 75, 50, 100, 100},  // measured from the low limit
      {200, 50, 50, 100, 0},
      {200, 0, -50, 50, 100},  // a range across zero: half way at 0
      {200, -50, -50, 50, 0},
      {200, -30, -100, -10, 156},  // a wholly negative range
      {200, -10, -100, -10, 200},
      {200, 150, 0, 100, 200},  // beyond the range: clamped
      {200, -5, 0, 100, 0},
      {200, 5, 10, 10, 0},  // an empty range
      {200, 5, 10, 0, 0},   // a reversed range
      {200, 5, 0, 0, 0},
      {0, 50, 0, 100, 0},  // a bar of no length
      {-4, 50, 0, 100, 0},
      {300, INT_MAX, INT_MIN, INT_MAX, 300},  // the widest range
      {300, 0, INT_MIN, INT_MAX, 150},
      {300, INT_MIN, INT_MIN, INT_MAX, 0},
  };
  for (const TRow& r : rows)
    EXPECT_EQ(ProgressFillLength(r.Length, r.Pos, r.Low, r.High), r.Want)
        << r.Length << " " << r.Pos << " [" << r.Low << ", " << r.High << "]";
}

TEST(RangeRules, VerticalBarsAreComposedLyingDown) {
  EXPECT_EQ(ProgressWorkRect({0, 0, 17, 90}, true), (TRect{0, 0, 90, 17}));
  EXPECT_EQ(ProgressWorkRect({0, 0, 200, 17}, false), (TRect{0, 0, 200, 17}));
  EXPECT_EQ(ProgressFillRect({0, 0, 90, 17}, 70, 0, 100), (TRect{0, 0, 63, 17}));
  EXPECT_TRUE(ProgressFillRect({0, 0, 90, 17}, 0, 0, 100).IsEmpty());
  EXPECT_TRUE(ProgressFillRect({0, 0, 0, 17}, 50, 0, 100).IsEmpty());
}

TEST(RangeRules, ChunkStrips) {
  struct TRow {
    TRect Bar;
    int FillRight;
    TPoint Chunk;
    int ChunkLeft;
    bool Tiled;
    TRect Area;
    size_t Copies;
  };
  const TRow rows[] = {
      // Tiled: one chunk tall, centred, from the chunk's left margin + 2.
      {{0, 0, 200, 20}, 100, {8, 10}, 0, true, {2, 5, 102, 15}, 13},
      {{0, 0, 200, 20}, 100, {8, 10}, 3, true, {5, 5, 105, 15}, 13},
      {{0, 0, 200, 20}, 16, {8, 10}, -7, true, {2, 5, 18, 15}, 3},  // a negative margin is 0
      {{0, 0, 200, 6}, 40, {8, 10}, 0, true, {2, -2, 42, 8}, 6},    // taller than the bar
      // Not tiled: the picture 2 pixels inside the bar.
      {{0, 0, 200, 20}, 100, {8, 10}, 0, false, {2, 2, 102, 18}, 0},
      {{0, 0, 200, 4}, 100, {8, 10}, 0, false, {}, 0},  // no height left
      // Nothing filled, or nothing to draw with.
      {{0, 0, 200, 20}, 0, {8, 10}, 0, true, {}, 0},
      {{0, 0, 200, 20}, 100, {0, 10}, 0, true, {}, 0},
      {{0, 0, 200, 20}, 100, {8, 0}, 0, false, {}, 0},
  };
  for (const TRow& r : rows) {
    const TChunkStrip s = PlanChunkStrip(r.Bar, r.FillRight, r.Chunk, r.ChunkLeft, r.Tiled);
    EXPECT_EQ(s.Area, r.Area) << r.FillRight << " " << r.Tiled << " " << r.Bar.Bottom;
    ASSERT_EQ(s.Copies.size(), r.Copies) << r.FillRight << " " << r.Tiled;
    for (size_t i = 0; i < s.Copies.size(); ++i)
      EXPECT_EQ(s.Copies[i], static_cast<int>(i) * r.Chunk.X);
  }
}

TEST(RangeRules, VerticalChannelsStandUp) {
  EXPECT_EQ(VerticalChannelRect({8, 13, 150, 17}), (TRect{13, 8, 17, 150}));  // lying: turned
  EXPECT_EQ(VerticalChannelRect({13, 8, 17, 150}), (TRect{13, 8, 17, 150}));  // standing: kept
}

TEST(RangeRules, HorizontalChannelPieces) {
  // A 40 x 6 image with 3-pixel caps in a 4-pixel channel from 8 to 192.
  const std::vector<TBlit> plan = PlanTrackChannel({8, 13, 192, 17}, 40, 6, {3, 3, 3, 3}, false);
  const std::vector<TBlit> want = {{{8, 13, 11, 19}, {0, 0, 3, 6}},
                                   {{11, 13, 189, 19}, {3, 0, 37, 6}},
                                   {{189, 13, 192, 19}, {37, 0, 40, 6}}};
  EXPECT_EQ(plan, want);
  // A channel taller than the image: from half its height down.
  const std::vector<TBlit> tall = PlanTrackChannel({8, 10, 192, 30}, 40, 6, {3, 3, 3, 3}, false);
  ASSERT_EQ(tall.size(), 3u);
  for (const TBlit& b : tall) {
    EXPECT_EQ(b.Dst.Top, 20);
    EXPECT_EQ(b.Dst.Height(), 6);
  }
}

TEST(RangeRules, VerticalChannelPieces) {
  // A 6 x 40 image with 3-pixel caps, centred in a 10-pixel wide channel.
  const std::vector<TBlit> plan = PlanTrackChannel({10, 8, 20, 150}, 6, 40, {3, 3, 3, 3}, true);
  const std::vector<TBlit> want = {{{12, 8, 18, 11}, {0, 0, 6, 3}},
                                   {{12, 11, 18, 147}, {0, 3, 6, 37}},
                                   {{12, 147, 18, 150}, {0, 37, 6, 40}}};
  EXPECT_EQ(plan, want);
  // Narrower than the image: from the channel's left edge.
  const std::vector<TBlit> narrow = PlanTrackChannel({13, 8, 17, 150}, 6, 40, {}, true);
  ASSERT_EQ(narrow.size(), 1u);  // no caps without margins
  EXPECT_EQ(narrow[0], (TBlit{{13, 8, 19, 150}, {0, 0, 6, 40}}));
}

TEST(RangeRules, ChannelPiecesNeverLeaveTheImage) {
  // Margins past the image are fitted; an empty image draws nothing.
  for (const TBlit& b : PlanTrackChannel({0, 0, 100, 4}, 10, 6, {30, 0, 30, 0}, false)) {
    EXPECT_GE(b.Src.Left, 0);
    EXPECT_LE(b.Src.Right, 10);
  }
  EXPECT_TRUE(PlanTrackChannel({0, 0, 100, 4}, 0, 6, {}, false).empty());
  EXPECT_TRUE(PlanTrackChannel({0, 0, 4, 100}, 6, 0, {}, true).empty());
  // A channel shorter than both caps keeps the caps only.
  EXPECT_EQ(PlanTrackChannel({0, 0, 4, 4}, 40, 6, {3, 3, 3, 3}, false).size(), 2u);
}

TEST(RangeRules, TheThumbShowsTheSecondCell) {
  EXPECT_EQ(ThumbCellRect(55, 20), (TRect{11, 0, 22, 20}));
  EXPECT_EQ(ThumbCellRect(100, 11), (TRect{20, 0, 40, 11}));
  EXPECT_TRUE(ThumbCellRect(3, 20).IsEmpty());  // too narrow for five cells
  EXPECT_TRUE(ThumbCellRect(0, 0).IsEmpty());
}

TEST(RangeRules, SpinHalves) {
  const TSpinHalves v = SplitSpin({0, 0, 17, 25}, false);
  EXPECT_EQ(v.First.Rect, (TRect{0, 0, 17, 12}));
  EXPECT_EQ(v.First.Direction, TSpinDirection::Up);
  EXPECT_EQ(v.Second.Rect, (TRect{0, 12, 17, 25}));
  EXPECT_EQ(v.Second.Direction, TSpinDirection::Down);
  const TSpinHalves h = SplitSpin({2, 3, 36, 20}, true);
  EXPECT_EQ(h.First.Rect, (TRect{2, 3, 19, 20}));
  EXPECT_EQ(h.First.Direction, TSpinDirection::Left);
  EXPECT_EQ(h.Second.Rect, (TRect{19, 3, 36, 20}));
  EXPECT_EQ(h.Second.Direction, TSpinDirection::Right);
}

TEST(RangeRules, SpinFramesPerHalf) {
  struct TRow {
    bool Enabled, Pressed, Hot, InHalf;
    int State;
  };
  const TRow rows[] = {
      {true, false, false, false, 1}, {true, false, false, true, 1},
      {true, true, true, true, 2},    {true, true, true, false, 1},  // the other half
      {true, false, true, true, 4},   {true, false, true, false, 1},
      {false, true, true, true, 3},   {false, false, false, false, 3},
  };
  for (const TRow& r : rows) {
    const int state = SpinHalfState({r.Enabled, r.Pressed, r.Hot, r.InHalf});
    EXPECT_EQ(state, r.State) << r.Enabled << r.Pressed << r.Hot << r.InHalf;
    EXPECT_EQ(SpinFrame(TSpinDirection::Up, state), r.State);
    EXPECT_EQ(SpinFrame(TSpinDirection::Left, state), r.State);
    EXPECT_EQ(SpinFrame(TSpinDirection::Down, state), r.State + 4);
    EXPECT_EQ(SpinFrame(TSpinDirection::Right, state), r.State + 4);
  }
  EXPECT_EQ(SpinFrame(TSpinDirection::Down, 0), 5);  // out of range: clamped
  EXPECT_EQ(SpinFrame(TSpinDirection::Up, 9), 4);
}

TEST(RangeRules, EmbeddedSpinsKeepThreePixelsClear) {
  struct TRow {
    TRect Spin, Parent, Want;
  };
  const TRow rows[] = {
      // Flush with the edit's top, bottom and right edges: 3 pixels off each.
      {{180, 100, 197, 121}, {100, 100, 197, 121}, {0, 3, 14, 18}},
      // One pixel inside already: two more.
      {{179, 101, 196, 120}, {100, 100, 197, 121}, {0, 2, 15, 17}},
      // Far enough inside: untouched.
      {{170, 105, 187, 116}, {100, 100, 197, 121}, {0, 0, 17, 11}},
      // Sticking out of the edit: still 3 pixels inside it.
      {{185, 98, 202, 123}, {100, 100, 197, 121}, {0, 5, 9, 20}},
      // Too small to keep anything: empty, never inverted.
      {{190, 100, 197, 104}, {100, 100, 197, 104}, {0, 3, 4, 3}},
  };
  for (const TRow& r : rows) {
    const TRect rect{0, 0, r.Spin.Width(), r.Spin.Height()};
    EXPECT_EQ(EmbeddedSpinRect(rect, r.Spin, r.Parent), r.Want) << r.Spin.Left << r.Spin.Top;
  }
}

TEST(RangeRules, ClassicArrows) {
  using TLines = std::vector<std::vector<TPoint>>;
  // The upper half of a 17 x 25 spin: middle (8, 6), raised 2.
  const TLines up = ClassicSpinArrow({0, 0, 17, 12}, TSpinDirection::Up);
  const TLines want_up = {{{8, 4}, {8, 3}}, {{9, 5}, {12, 8}}, {{8, 5}, {11, 8}}, {{8, 6}, {10, 8}},
                          {{7, 5}, {4, 8}}, {{8, 6}, {5, 8}},  {{8, 5}, {6, 8}}};
  EXPECT_EQ(up, want_up);
  const TLines down = ClassicSpinArrow({0, 12, 17, 25}, TSpinDirection::Down);
  const TLines want_down = {{{8, 19}, {8, 20}},  {{9, 18}, {12, 15}}, {{8, 18}, {11, 15}},
                            {{8, 17}, {10, 16}}, {{7, 18}, {4, 15}},  {{8, 18}, {5, 15}},
                            {{8, 17}, {6, 16}}};
  EXPECT_EQ(down, want_down);
  const TLines left = ClassicSpinArrow({0, 0, 17, 17}, TSpinDirection::Left);
  EXPECT_EQ(left, (TLines{{{8, 8}, {9, 10}, {9, 6}, {7, 8}, {9, 10}}}));
  const TLines right = ClassicSpinArrow({17, 0, 34, 17}, TSpinDirection::Right);
  EXPECT_EQ(right, (TLines{{{25, 8}, {24, 10}, {24, 6}, {26, 8}, {24, 10}}}));
  EXPECT_FALSE(ClassicSpinShaded(kSpinNormal));
  EXPECT_TRUE(ClassicSpinShaded(kSpinPressed));
  EXPECT_FALSE(ClassicSpinShaded(kSpinDisabled));
  EXPECT_TRUE(ClassicSpinShaded(kSpinHot));
}

}  // namespace
