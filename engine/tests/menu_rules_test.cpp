#include "engine/menu_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(MenuRules, NativeEntrySizes) {
  struct Row {
    TMenuMeasureFacts facts;
    TMenuSize want;
  };
  const Row rows[] = {
      {{40, 13, true, false, 0, false}, {66, 17}},  // no MenuItem element
      {{40, 13, true, true, 6, false}, {72, 17}},   // its LeftWidth widens
      {{40, 13, true, false, 6, false}, {66, 17}},  // LeftWidth without element: ignored
      {{0, 13, false, false, 0, false}, {26, 8}},   // separator
      {{0, 13, false, false, 0, true}, {26, 12}},   // separator, 95 family
      {{40, 13, true, false, 0, true}, {66, 21}},   // text, 95 family
      {{-5, -3, true, true, -2, false}, {26, 4}},   // nonsense sizes never negative
  };
  for (const Row& r : rows) {
    EXPECT_EQ(MeasureNativeEntry(r.facts), r.want) << r.facts.TextWidth << " " << r.facts.HasText;
  }
}

TEST(MenuRules, FrameworkItemWidening) {
  EXPECT_EQ(WidenForSkinA(50, true, 6, false), 50 + 6 + 25 + 10);
  EXPECT_EQ(WidenForSkinA(50, true, 6, true), 50 + 6 + 10);
  EXPECT_EQ(WidenForSkinA(50, false, 6, false), 50 + 25 + 10);
  EXPECT_EQ(WidenForSkinB(50, true, 6, false), 50 + 6 + 23 + 12);
  EXPECT_EQ(WidenForSkinB(50, false, 0, true), 50 + 12);
  EXPECT_EQ(WidenForSkinB(-10, true, -3, true), 12);
}

TEST(MenuRules, FrameAndGlyphSize) {
  EXPECT_EQ(MenuItemFrame(true), 4);
  EXPECT_EQ(MenuItemFrame(false), 1);
  const struct {
    int width;
    bool checked;
    int want;
  } rows[] = {{0, false, 16}, {0, true, 16},  {24, false, 24}, {12, false, 12},
              {12, true, 16}, {-4, true, 16}, {32, true, 32}};
  for (const auto& r : rows)
    EXPECT_EQ(MenuGlyphSize(r.width, r.checked), r.want) << r.width;
}

TEST(MenuRules, EntryLayoutLeftToRight) {
  TMenuEntryFacts f;
  f.HasElement = true;
  f.LeftWidth = 4;
  f.GlyphSize = 16;
  f.GlyphHeight = 16;
  f.TextWidth = 50;
  f.TextHeight = 14;
  const TRect r{0, 20, 200, 40};
  const TMenuEntryLayout l = LayoutMenuEntry(r, f);
  ASSERT_TRUE(l.HasGlyph);
  EXPECT_EQ(l.Glyph.Left, 5);  // 1 + LeftWidth
  EXPECT_EQ(l.Glyph.Top, 21);
  EXPECT_EQ(l.Glyph.Right, 21);
  EXPECT_EQ(l.Text.Left, 24);  // glyph right + 3
  EXPECT_EQ(l.Text.Right, 199);
  EXPECT_EQ(l.Text.Top, 23);  // centred: (20 - 14) / 2
  EXPECT_EQ(l.Shortcut.Left, 74);
  EXPECT_EQ(l.Shortcut.Right, 190);  // R.right - 10
  EXPECT_TRUE(l.Arrow.IsEmpty());
  // Without the element the glyph starts one pixel in.
  f.HasElement = false;
  EXPECT_EQ(LayoutMenuEntry(r, f).Glyph.Left, 1);
}

TEST(MenuRules, EntryLayoutMirrorsRightToLeft) {
  TMenuEntryFacts f;
  f.GlyphSize = 20;
  f.GlyphHeight = 20;
  f.TextWidth = 40;
  f.TextHeight = 14;
  f.HasSubmenu = true;
  f.ArrowWidth = 8;
  const TRect r{10, 0, 210, 24};
  const TMenuEntryLayout ltr = LayoutMenuEntry(r, f);
  f.RightToLeft = true;
  const TMenuEntryLayout rtl = LayoutMenuEntry(r, f);
  const TRect TMenuEntryLayout::*parts[] = {&TMenuEntryLayout::Glyph, &TMenuEntryLayout::Text,
                                            &TMenuEntryLayout::Shortcut, &TMenuEntryLayout::Arrow};
  for (auto part : parts) {
    EXPECT_EQ((rtl.*part).Left, r.Left + r.Right - (ltr.*part).Right);
    EXPECT_EQ((rtl.*part).Right, r.Left + r.Right - (ltr.*part).Left);
    EXPECT_EQ((rtl.*part).Top, (ltr.*part).Top);
  }
  EXPECT_GT(rtl.Glyph.Left, rtl.Text.Right - 1);  // glyph on the right
  EXPECT_LE(rtl.Arrow.Right, rtl.Text.Left);  // arrow on the left
  // The text and short cut keep clear of the arrow.
  EXPECT_LE(ltr.Text.Right, ltr.Arrow.Left);
  EXPECT_LE(ltr.Shortcut.Right, ltr.Arrow.Left);
}

TEST(MenuRules, SeparatorHasALineAndNoGlyph) {
  TMenuEntryFacts f;
  f.Separator = true;
  f.TextHeight = 14;
  const TRect r{0, 30, 120, 38};
  const TMenuEntryLayout l = LayoutMenuEntry(r, f);
  EXPECT_FALSE(l.HasGlyph);
  EXPECT_TRUE(l.Glyph.IsEmpty());
  EXPECT_GE(l.Line.Top, r.Top);
  EXPECT_LE(l.Line.Bottom, r.Bottom);
  EXPECT_EQ(l.Line.Left, 1);
  EXPECT_EQ(l.Line.Right, 119);
}

TEST(MenuRules, SeparatorPieceFromFrameTwo) {
  struct Row {
    int fw, fh;
    TRect r;
    int lw, rw;
    bool valid;
    TRect src_mid, dst_mid;
  };
  const Row rows[] = {
      // Frame 30 x 20, entry 8 high: the bottom 8 rows of frame 2.
      {30, 20, {0, 0, 100, 8}, 5, 6, true, {35, 12, 54, 20}, {5, 0, 94, 8}},
      // A taller entry takes the whole frame, at the entry's bottom.
      {30, 20, {0, 10, 100, 40}, 5, 6, true, {35, 0, 54, 20}, {5, 20, 94, 40}},
      // Caps wider than the target share it.
      {30, 20, {0, 0, 6, 8}, 5, 6, true, {33, 12, 57, 20}, {3, 0, 3, 8}},
      {0, 20, {0, 0, 100, 8}, 5, 6, false, {}, {}},
      {30, 0, {0, 0, 100, 8}, 5, 6, false, {}, {}},
      {30, 20, {0, 0, 0, 8}, 5, 6, false, {}, {}},
  };
  for (const Row& row : rows) {
    const TSeparatorPiece p = CutSeparatorPiece(row.fw, row.fh, row.r, row.lw, row.rw);
    EXPECT_EQ(p.Valid, row.valid) << row.fw << "x" << row.fh << " w" << row.r.Width();
    if (!p.Valid) continue;
    EXPECT_EQ(p.Source[1].Left, row.src_mid.Left);
    EXPECT_EQ(p.Source[1].Top, row.src_mid.Top);
    EXPECT_EQ(p.Source[1].Bottom, row.src_mid.Bottom);
    EXPECT_EQ(p.Target[1].Left, row.dst_mid.Left);
    EXPECT_EQ(p.Target[1].Right, row.dst_mid.Right);
    EXPECT_EQ(p.Target[1].Top, row.dst_mid.Top);
    EXPECT_EQ(p.Target[0].Left, row.r.Left);
    EXPECT_EQ(p.Target[2].Right, row.r.Right);
    for (const TRect& s : p.Source) {  // never outside frame 2
      EXPECT_GE(s.Left, row.fw);
      EXPECT_LE(s.Right, 2 * row.fw);
      EXPECT_GE(s.Top, 0);
    }
  }
}

TEST(MenuRules, PopupClipAndClientOffset) {
  const TRect clip = PopupEntryClip(200, 100, 3);
  EXPECT_EQ(clip.Left, 3);
  EXPECT_EQ(clip.Top, 3);
  EXPECT_EQ(clip.Right, 197);
  EXPECT_EQ(clip.Bottom, 97);
  EXPECT_TRUE(PopupEntryClip(6, 100, 3).IsEmpty());
  EXPECT_TRUE(PopupEntryClip(0, 0, 3).IsEmpty());
  EXPECT_EQ(PopupEntryClip(10, 10, -2).Right, 10);
  // The client offset is what the window really has, not a constant.
  EXPECT_EQ(PopupClientOffset({100, 50}, {103, 53}, 200, 100), (TPoint{3, 3}));
  EXPECT_EQ(PopupClientOffset({100, 50}, {100, 50}, 200, 100), (TPoint{0, 0}));
  EXPECT_EQ(PopupClientOffset({100, 50}, {102, 51}, 200, 100), (TPoint{2, 1}));
  EXPECT_EQ(PopupClientOffset({100, 50}, {90, 40}, 200, 100), (TPoint{0, 0}));
  EXPECT_EQ(PopupClientOffset({0, 0}, {500, 500}, 200, 100), (TPoint{200, 100}));
}

TEST(MenuRules, FrameDeviceContextChoice) {
  struct Row {
    uintptr_t region;
    bool nt;
    int major, minor;
    TFrameDc want;
  };
  const Row rows[] = {
      {0x1234, true, 6, 1, TFrameDc::UpdateRegion},
      {0x1234, true, 5, 2, TFrameDc::Window},
      {0x1234, true, 6, 2, TFrameDc::Window},
      {0x1234, true, 5, 1, TFrameDc::UpdateRegion},
      {0x1234, true, 6, 0, TFrameDc::UpdateRegion},
      {0x1234, false, 5, 2, TFrameDc::UpdateRegion},
      // 0 and 1 name no region: the whole window, whatever the version.
      {0, true, 6, 1, TFrameDc::Window},
      {1, true, 6, 1, TFrameDc::Window},
      {1, false, 4, 0, TFrameDc::Window},
  };
  for (const Row& r : rows)
    EXPECT_EQ(ChoosePopupFrameDc(r.region, r.nt, r.major, r.minor), r.want)
        << r.region << " " << r.major << "." << r.minor;
  EXPECT_TRUE(PopupBackgroundUsable(false, 10, 10));
  EXPECT_FALSE(PopupBackgroundUsable(true, 10, 10));
  EXPECT_FALSE(PopupBackgroundUsable(false, 0, 10));
  EXPECT_FALSE(PopupBackgroundUsable(false, 10, -1));
}

}  // namespace
