// The thumb, parts, cells and rectangles of skinned scroll bars.
#include "engine/scroll_rules.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr int kArrow = 17;

TEST(ScrollRules, MulDivRoundsHalfAwayFromZeroAndFailsAsThePlatformDoes) {
  struct TRow {
    int A, B, C, Result;
  };
  const TRow rows[] = {
      {7, 1, 2, 4},
      {-7, 1, 2, -4},
      {7, -1, 2, -4},
      {7, 1, -2, -4},
      {-7, -1, -2, -4},
      {6, 1, 4, 2},
      {5, 1, 4, 1},
      {-6, 1, 4, -2},
      {0, 5, 3, 0},
      {5, 3, 0, -1},
      {INT_MAX, 2, 1, -1},
      {INT_MAX, 1, 1, INT_MAX},
      {100000, 100000, 100000, 100000},  // the product needs 64 bits
  };
  for (const TRow& r : rows)
    EXPECT_EQ(ScrollMulDiv(r.A, r.B, r.C), r.Result) << r.A << " " << r.B << " " << r.C;
}

TEST(ScrollRules, EmptyAndInvertedRangesDivideByTheHugeNumber) {
  EXPECT_EQ(ScrollRangeDivisor({0, 100, 0, 0}), 100);
  EXPECT_EQ(ScrollRangeDivisor({5, 5, 0, 5}), kEmptyRangeDivisor);
  EXPECT_EQ(ScrollRangeDivisor({10, 5, 0, 5}), kEmptyRangeDivisor);
  EXPECT_EQ(ScrollRangeDivisor({INT_MIN, INT_MAX, 0, 0}), INT_MAX);
}

TEST(ScrollRules, EmulatedThumbOfScrollBarControls) {
  struct TRow {
    int Length;
    TScrollRange Range;
    TThumbExtent Thumb;
  };
  const TRow rows[] = {
      // A page: proportional, from the first arrow to the second.
      {200, {0, 100, 10, 0}, {17, 32}},
      {200, {0, 100, 10, 50}, {100, 115}},
      {200, {0, 100, 10, 91}, {168, 183}},
      {200, {0, 100, 10, 200}, {168, 183}},  // beyond the end: at the end
      {200, {0, 100, 10, -50}, {17, 32}},
      // A page of 1 on a range of 1000: the 8-pixel minimum, not 0.
      {200, {0, 1000, 1, 0}, {17, 25}},
      {200, {0, 1000, 1, 500}, {96, 104}},
      {200, {0, 1000, 1, 1000}, {175, 183}},
      // No page: an arrow long, travelling over length - 3 arrows.
      {200, {0, 100, 0, 0}, {17, 34}},
      {200, {0, 100, 0, 50}, {92, 109}},
      {200, {0, 100, 0, 100}, {166, 183}},
      // An empty range: the thumb sits at the first arrow.
      {200, {5, 5, 0, 5}, {17, 34}},
      {200, {5, 5, 1, 5}, {17, 25}},
      // Huge ranges need 64-bit products.
      {200, {0, INT_MAX, 1000000, INT_MAX / 2}, {96, 104}},
      {200, {INT_MIN, INT_MAX, 1, 0}, {96, 104}},
      // A page larger than the range: longer than the track, left as it is
      // (it is not drawn).
      {200, {0, 10, 50, 0}, {17, 830}},
      // A bar shorter than its arrows.
      {20, {0, 100, 10, 0}, {17, 25}},
      {20, {0, 100, 10, 50}, {6, 14}},
  };
  for (const TRow& r : rows)
    EXPECT_EQ(EmulateThumb(r.Length, kArrow, r.Range), r.Thumb)
        << r.Length << " " << r.Range.Min << ".." << r.Range.Max << " page " << r.Range.Page
        << " pos " << r.Range.Pos;
}

TEST(ScrollRules, PartsAlongTheBar) {
  const TThumbExtent thumb{100, 115};
  struct TRow {
    int P, Part;
  };
  const TRow rows[] = {{-5, kScrollFirstArrow}, {0, kScrollFirstArrow},  {16, kScrollFirstArrow},
                       {17, kScrollPageBefore}, {99, kScrollPageBefore}, {100, kScrollThumb},
                       {114, kScrollThumb},     {115, kScrollPageAfter}, {182, kScrollPageAfter},
                       {183, kScrollLastArrow}, {199, kScrollLastArrow}, {250, kScrollLastArrow}};
  for (const TRow& r : rows)
    EXPECT_EQ(ScrollHitPart(r.P, kArrow, 200, thumb), r.Part) << r.P;
}

TEST(ScrollRules, RequestCodesThatNameNoPart) {
  const int parts[] = {0, 1, 2, 3, -1, 5, -1, -1, -1};
  for (int code = 0; code <= 8; ++code)
    EXPECT_EQ(ScrollPartOfRequest(code), parts[code]) << code;
  EXPECT_EQ(ScrollPartOfRequest(-1), kScrollPartNone);
  EXPECT_EQ(ScrollPartOfRequest(0x10005), kScrollPartNone);
}

TEST(ScrollRules, ArrowsAndShaftShareShortBars) {
  struct TRow {
    int Length, Thickness;
    bool Vertical;
    TRect First, Last, Shaft;
  };
  const TRow rows[] = {
      {200, 17, true, {0, 0, 17, 17}, {0, 183, 17, 200}, {0, 17, 17, 183}},
      {200, 15, false, {0, 0, 17, 15}, {183, 0, 200, 15}, {17, 0, 183, 15}},
      {34, 17, true, {0, 0, 17, 17}, {0, 17, 17, 34}, {0, 17, 17, 17}},
      // Shorter than two arrows: half each, no shaft.
      {30, 17, true, {0, 0, 17, 15}, {0, 15, 17, 30}, {}},
      {31, 17, false, {0, 0, 15, 17}, {16, 0, 31, 17}, {}},
      {0, 17, true, {0, 0, 17, 0}, {0, 0, 17, 0}, {}},
  };
  for (const TRow& r : rows) {
    const TArrowRects a = ScrollArrowRects(r.Length, kArrow, r.Thickness, r.Vertical);
    EXPECT_EQ(a.First, r.First) << r.Length;
    EXPECT_EQ(a.Last, r.Last) << r.Length;
    EXPECT_EQ(ScrollShaftRect(r.Length, kArrow, r.Thickness, r.Vertical), r.Shaft) << r.Length;
  }
}

TEST(ScrollRules, CellsAndFramesFollowTheHotAndPressedPart) {
  struct TRow {
    bool Vertical, Last;
    int Hot;
    bool Pressed;
    int Cell;
  };
  const TRow arrows[] = {
      {false, false, -1, false, 1}, {false, false, 0, false, 4}, {false, false, 0, true, 2},
      {false, true, 0, true, 5},    {false, true, 1, true, 6},   {false, true, 1, false, 8},
      {true, false, 0, false, 12},  {true, false, 0, true, 10},  {true, true, 1, false, 16},
      {true, true, 1, true, 14},    {true, true, 5, true, 13},   {true, false, 8, true, 9},
  };
  for (const TRow& r : arrows)
    EXPECT_EQ(ScrollArrowCell(r.Vertical, r.Last, r.Hot, r.Pressed), r.Cell)
        << r.Vertical << r.Last << r.Hot << r.Pressed;
  EXPECT_EQ(ScrollThumbFrame(-1, false), 1);
  EXPECT_EQ(ScrollThumbFrame(0, true), 1);
  EXPECT_EQ(ScrollThumbFrame(5, false), 3);
  EXPECT_EQ(ScrollThumbFrame(5, true), 2);
  EXPECT_EQ(ScrollGripperCell(false, -1, false), 17);
  EXPECT_EQ(ScrollGripperCell(false, 5, true), 18);
  EXPECT_EQ(ScrollGripperCell(false, 5, false), 19);
  EXPECT_EQ(ScrollGripperCell(true, 2, true), 20);
  EXPECT_EQ(ScrollGripperCell(true, 5, true), 21);
  EXPECT_EQ(ScrollGripperCell(true, 5, false), 22);
  // A disabled bar shows the shaft's disabled frame.
  EXPECT_EQ(ScrollShaftFrame(true), 1);
  EXPECT_EQ(ScrollShaftFrame(false), 3);
}

TEST(ScrollRules, ThumbAndGripperRectangles) {
  EXPECT_EQ(ScrollThumbRect({100, 140}, 17, true), (TRect{0, 100, 17, 140}));
  EXPECT_EQ(ScrollThumbRect({100, 140}, 15, false), (TRect{100, 0, 140, 15}));
  struct TRow {
    TThumbExtent Thumb;
    int Grip;
    bool Vertical;
    TRect Rect;
  };
  const TRow rows[] = {
      {{100, 140}, 17, true, {0, 111, 17, 128}},
      {{100, 140}, 17, false, {111, 0, 128, 17}},
      {{100, 119}, 17, true, {0, 101, 17, 118}},  // a pixel to spare at each end
      {{100, 118}, 17, true, {}},                 // does not fit inside the thumb
      {{100, 140}, 0, true, {}},
  };
  for (const TRow& r : rows)
    EXPECT_EQ(ScrollGripperRect(r.Thumb, r.Grip, 17, r.Vertical), r.Rect) << r.Thumb.Start;
}

TEST(ScrollRules, DraggedThumbStaysBetweenTheArrows) {
  struct TRow {
    int StartAtPress, Travel;
    TThumbExtent Current, Result;
  };
  const TRow rows[] = {
      {100, 20, {100, 115}, {120, 135}},  {100, -200, {100, 115}, {17, 32}},
      {100, 500, {100, 115}, {168, 183}}, {100, 0, {120, 135}, {100, 115}},
      {17, 10, {17, 250}, {17, 250}},  // longer than the track: at the first arrow
  };
  for (const TRow& r : rows)
    EXPECT_EQ(DragScrollThumb(r.StartAtPress, r.Travel, kArrow, 200, r.Current), r.Result)
        << r.StartAtPress << " " << r.Travel;
}

TEST(ScrollRules, ThicknessIsTheStripsUnlessFarFromTheSystemWidth) {
  const int rows[][2] = {{17, 17}, {19, 19}, {15, 15}, {20, 17}, {14, 17}, {40, 17}, {0, 17}};
  for (const auto& r : rows)
    EXPECT_EQ(ScrollBarThickness(r[0], 17), r[1]) << r[0];
}

TEST(ScrollRules, ComboListThumbPositions) {
  struct TRow {
    int Offset, Track, Thumb;
    TScrollRange Range;
    int Pos;
  };
  const TRow rows[] = {
      {0, 166, 15, {0, 100, 10, 0}, 0},
      {-5, 166, 15, {0, 100, 10, 0}, 0},
      {75, 166, 15, {0, 100, 10, 0}, 45},
      {151, 166, 15, {0, 100, 10, 0}, 91},  // at the end: the last position
      {400, 166, 15, {0, 100, 10, 0}, 91},
      {0, 166, 15, {10, 110, 10, 10}, 10},
      // No page: the whole range over the thumb's travel, the end reached.
      {74, 166, 17, {0, 100, 0, 0}, 50},
      {149, 166, 17, {0, 100, 0, 0}, 100},
      {300, 166, 17, {0, 100, 0, 0}, 100},
      // No room to move: the first position.
      {10, 10, 10, {5, 50, 3, 20}, 5},
      {10, 8, 10, {5, 50, 3, 20}, 5},
  };
  for (const TRow& r : rows)
    EXPECT_EQ(ComboThumbPosition(r.Offset, r.Track, r.Thumb, r.Range), r.Pos) << r.Offset;
  // Every offset gives a position that never passes the last one a page
  // allows and never goes back as the thumb moves down.
  const TScrollRange big{0, 1000, 37, 0};
  int last = 0;
  for (int offset = -20; offset < 400; ++offset) {
    const int pos = ComboThumbPosition(offset, 166, 20, big);
    EXPECT_LE(pos, 1000 - 37 + 1) << offset;
    EXPECT_GE(pos, last) << offset;
    last = pos;
  }
  EXPECT_EQ(last, 1000 - 37 + 1);
}

TEST(ScrollRules, CornerSquareFollowsTheClientOffset) {
  const TRect vertical{183, 0, 200, 83}, horizontal{0, 83, 183, 100};
  EXPECT_EQ(ScrollCornerRect(vertical, horizontal, {2, 2}), (TRect{185, 85, 202, 102}));
  EXPECT_EQ(ScrollCornerRect(vertical, horizontal, {1, 1}), (TRect{184, 84, 201, 101}));
  EXPECT_EQ(ScrollCornerRect(vertical, horizontal, {0, 0}), (TRect{183, 83, 200, 100}));
}

}  // namespace
