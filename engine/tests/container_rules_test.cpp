// Group-box frame and caption placement; the media player's button sets,
// cells, hit test, looks, glyph positions, resource names and glyphs.
#include "engine/container_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(ContainerRules, GroupBoxFrameLineAndCaptionPlacement) {
  struct TRow {
    int DigitHeight;
    bool Right, Rtl;
    TRect WantFrame, WantCaption;
    unsigned WantFlags;
  };
  const TRect box{0, 0, 170, 120};
  const TRow rows[] = {
      // A 13-pixel font: the line at y = 5, the caption 8 in from the left.
      {13, false, false, {1, 5, 169, 119}, {8, 0, 170, 120}, kGroupTextExpandTabs},
      // Even and odd heights truncate.
      {16, false, false, {1, 7, 169, 119}, {8, 0, 170, 120}, kGroupTextExpandTabs},
      {1, false, false, {1, -1, 169, 119}, {8, 0, 170, 120}, kGroupTextExpandTabs},
      // A font that could not be measured: the line starts at the top edge.
      {0, false, false, {1, -1, 169, 119}, {8, 0, 170, 120}, kGroupTextExpandTabs},
      {-20, false, false, {1, -1, 169, 119}, {8, 0, 170, 120}, kGroupTextExpandTabs},
      // Right-aligned: ends 8 in from the right, reads right to left on request.
      {13, true, false, {1, 5, 169, 119}, {0, 0, 162, 120}, kGroupTextRight | kGroupTextExpandTabs},
      {13,
       true,
       true,
       {1, 5, 169, 119},
       {0, 0, 162, 120},
       kGroupTextRight | kGroupTextExpandTabs | kGroupTextRtlReading},
      // Reading order alone does not move a left-aligned caption.
      {13, false, true, {1, 5, 169, 119}, {8, 0, 170, 120}, kGroupTextExpandTabs},
  };
  for (const TRow& r : rows) {
    const TGroupBoxLayout l = PlaceGroupBox(box, r.DigitHeight, r.Right, r.Rtl);
    EXPECT_EQ(l.Frame, r.WantFrame) << r.DigitHeight << " " << r.Right;
    EXPECT_EQ(l.Caption, r.WantCaption) << r.DigitHeight << " " << r.Right;
    EXPECT_EQ(l.Flags, r.WantFlags) << r.DigitHeight << " " << r.Right << " " << r.Rtl;
  }
  // A box too small for its corners still gives rectangles, never a crash.
  const TGroupBoxLayout tiny = PlaceGroupBox({0, 0, 1, 1}, 13, false, false);
  EXPECT_EQ(tiny.Frame, (TRect{1, 5, 0, 0}));
  EXPECT_TRUE(tiny.Caption.IsEmpty());
}

TEST(ContainerRules, GroupBoxCaptionFallsBackToTheProperty) {
  EXPECT_EQ(GroupBoxCaption(L"Window", L"Property"), L"Window");
  EXPECT_EQ(GroupBoxCaption(L"", L"Property"), L"Property");
  EXPECT_EQ(GroupBoxCaption(L"", L""), L"");
}

TEST(ContainerRules, MediaButtonSetsReadEachMemberOnce) {
  struct TRow {
    const char* Visible;
    int WantCount;
    std::array<bool, kMediaButtons> Want;
  };
  const TRow rows[] = {
      {"[]", 0, {}},
      {"", 0, {}},
      {"[btPlay,btStop,btEject]", 3, {true, false, true, false, false, false, false, false, true}},
      {"[btplay, BTPAUSE]", 2, {true, true, false, false, false, false, false, false, false}},
      {"[btPlay,btPause,btStop,btNext,btPrev,btStep,btBack,btRecord,btEject]",
       9,
       {true, true, true, true, true, true, true, true, true}},
      // Unknown members and fragments of identifiers name nothing.
      {"[btPla,xbtStop,btRecordx,,]", 0, {}},
      {"[btBack", 1, {false, false, false, false, false, false, true, false, false}},
  };
  for (const TRow& r : rows) {
    const TMediaButtonSets s = ReadMediaButtonSets(r.Visible, "[btPlay]", "[btStop]");
    EXPECT_EQ(s.VisibleCount, r.WantCount) << r.Visible;
    EXPECT_EQ(s.Visible, r.Want) << r.Visible;
    EXPECT_TRUE(s.Enabled[btPlay]);
    EXPECT_FALSE(s.Enabled[btStop]);
    EXPECT_TRUE(s.Coloured[btStop]);
  }
}

TMediaButtonSets Visible(std::initializer_list<int> buttons) {
  TMediaButtonSets s;
  for (int b : buttons) {
    s.Visible[static_cast<size_t>(b)] = true;
    s.Enabled[static_cast<size_t>(b)] = true;
    ++s.VisibleCount;
  }
  return s;
}

TEST(ContainerRules, MediaCellsShareTheWidthAmongVisibleButtons) {
  // 100 pixels, three visible: cells 33 wide at 0, 33, 66; the last column
  // is left over.
  const TMediaButtonSets s = Visible({btPlay, btStop, btEject});
  EXPECT_EQ(MediaCellWidth(100, 3), 33);
  EXPECT_EQ(MediaButtonCell(s, btPlay, 100, 30), (TRect{0, 0, 33, 30}));
  EXPECT_EQ(MediaButtonCell(s, btStop, 100, 30), (TRect{33, 0, 66, 30}));
  EXPECT_EQ(MediaButtonCell(s, btEject, 100, 30), (TRect{66, 0, 99, 30}));
  EXPECT_TRUE(MediaButtonCell(s, btPause, 100, 30).IsEmpty());
  EXPECT_TRUE(MediaButtonCell(s, -1, 100, 30).IsEmpty());
  EXPECT_TRUE(MediaButtonCell(s, kNoMediaButton, 100, 30).IsEmpty());
  EXPECT_EQ(MediaCellWidth(100, 0), 0);
  EXPECT_EQ(MediaCellWidth(0, 3), 0);
  EXPECT_EQ(MediaCellWidth(-5, 3), 0);
  EXPECT_EQ(MediaCellWidth(2, 3), 0);
}

TEST(ContainerRules, MediaHitTestGivesBordersToTheLeftCell) {
  const TMediaButtonSets s = Visible({btPlay, btStop, btEject});
  struct TRow {
    unsigned X;
    int Want;
  };
  const TRow rows[] = {{0, btPlay},   {32, btPlay},          {33, btPlay},
                       {34, btStop},  {66, btStop},          {67, btEject},
                       {99, btEject}, {100, kNoMediaButton}, {65535, kNoMediaButton}};
  for (const TRow& r : rows)
    EXPECT_EQ(MediaHitTest(s, 33, r.X), r.Want) << r.X;
  EXPECT_EQ(MediaHitTest(TMediaButtonSets{}, 33, 0), kNoMediaButton);
  // Cells of no width: only x = 0 hits, the first visible button.
  EXPECT_EQ(MediaHitTest(s, 0, 0), btPlay);
  EXPECT_EQ(MediaHitTest(s, 0, 1), kNoMediaButton);
}

TEST(ContainerRules, MediaButtonLookFollowsStateAndDisabledWins) {
  TMediaButtonSets s = Visible({btPlay, btPause, btStop});
  s.Enabled[btStop] = false;
  s.Coloured[btPause] = true;
  s.Coloured[btStop] = true;
  struct TRow {
    int Button;
    bool Pressed;
    int Down, WantFrame, WantGlyph;
  };
  const TRow rows[] = {
      {btPlay, false, kNoMediaButton, 1, kGlyphEnabled},
      {btPlay, true, btPlay, 2, kGlyphEnabled},
      {btPlay, true, btPause, 1, kGlyphEnabled},  // another button is down
      {btPlay, false, btPlay, 1, kGlyphEnabled},  // released: up again
      {btPause, false, kNoMediaButton, 1, kGlyphColoured},
      {btPause, true, btPause, 2, kGlyphColoured},
      {btStop, false, kNoMediaButton, 3, kGlyphDisabled},  // disabled beats coloured
      {btStop, true, btStop, 3, kGlyphDisabled},           // ... and pressed
  };
  for (const TRow& r : rows) {
    const TMediaButtonLook l = MediaButtonLook(s, r.Button, r.Pressed, r.Down);
    EXPECT_EQ(l.Frame, r.WantFrame) << r.Button << " " << r.Pressed << " " << r.Down;
    EXPECT_EQ(l.Glyph, r.WantGlyph) << r.Button;
  }
}

TEST(ContainerRules, MediaGlyphSitsCentredAndMovesWhenPressed) {
  struct TRow {
    TRect Cell;
    TPoint Glyph;
    int Frame;
    TPoint Want;
  };
  const TRow rows[] = {
      {{0, 0, 33, 30}, {12, 12}, 1, {10, 9}},   {{33, 0, 66, 30}, {12, 12}, 1, {43, 9}},
      {{33, 0, 66, 30}, {12, 12}, 2, {44, 10}}, {{33, 0, 66, 30}, {12, 12}, 3, {43, 9}},
      {{0, 0, 33, 30}, {0, 0}, 1, {16, 15}},    {{0, 0, 10, 8}, {12, 12}, 1, {-1, -2}},
  };
  for (const TRow& r : rows)
    EXPECT_EQ(MediaGlyphPosition(r.Cell, r.Glyph, r.Frame), r.Want)
        << r.Cell.Left << " " << r.Frame;
}

TEST(ContainerRules, MediaGlyphResourcesAndPictures) {
  EXPECT_EQ(MediaGlyphResource(kGlyphEnabled, btPlay), "EN_MPPLAY");
  EXPECT_EQ(MediaGlyphResource(kGlyphDisabled, btRecord), "DI_MPRECORD");
  EXPECT_EQ(MediaGlyphResource(kGlyphColoured, btEject), "CL_MPEJECT");
  EXPECT_EQ(MediaGlyphResource(3, btPlay), "");
  EXPECT_EQ(MediaGlyphResource(0, 9), "");
  EXPECT_STREQ(MediaButtonIdent(btBack), "btBack");
  EXPECT_STREQ(MediaButtonIdent(-1), "");
  for (int b = 0; b < kMediaButtons; ++b) {
    for (int g = 0; g < kMediaGlyphs; ++g) {
      const TPixmap p = MakeMediaGlyph(g, b);
      ASSERT_EQ(p.Width, 12);
      ASSERT_EQ(p.Height, 12);
      int marks = 0;
      for (int y = 0; y < p.Height; ++y)
        for (int x = 0; x < p.Width; ++x)
          if (const uint32_t c = p.PixelRGB(x, y); c != kMediaGlyphKey) {
            ++marks;
            if (g == kGlyphEnabled) {
              EXPECT_EQ(c, 0u);
            }
            if (g == kGlyphDisabled) {
              EXPECT_EQ(c, 0x808080u);
            }
          }
      // Every glyph shows a mark and keeps a key-coloured surround.
      EXPECT_GT(marks, 10) << b << " " << g;
      EXPECT_EQ(p.PixelRGB(0, 0), kMediaGlyphKey) << b << " " << g;
    }
  }
  EXPECT_EQ(MakeMediaGlyph(0, kMediaButtons).Width, 0);
  EXPECT_EQ(MakeMediaGlyph(-1, 0).Width, 0);
}

}  // namespace
