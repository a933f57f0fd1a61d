#include "engine/form_layout.h"

#include <gtest/gtest.h>

namespace {

TSkinBitmap Blank(int w, int h) {
  return TSkinBitmap(TPixmap(w, h, 24));
}

TSkinContent BorderSkin(int top_frames, int side_frames) {
  TSkinContent s;
  s.TopBorder.Bitmap = Blank(60, 30 * top_frames);
  s.TopBorder.FrameCount = top_frames;
  s.BottomBorder.Bitmap = Blank(60, 4 * top_frames);
  s.BottomBorder.FrameCount = top_frames;
  s.LeftBorder.Bitmap = Blank(4 * side_frames, 40);
  s.LeftBorder.FrameCount = side_frames;
  s.RightBorder.Bitmap = Blank(5 * side_frames, 40);
  s.RightBorder.FrameCount = side_frames;
  return s;
}

TEST(FormLayout, MetricsFromStripsAndBorderKinds) {
  for (int frames : {1, 2}) {
    const TSkinContent s = BorderSkin(frames, frames);
    const TFrameMetrics m = ComputeFrameMetrics(s, TBorderKind::Sizeable, 19);
    EXPECT_EQ(m.Top, 30);
    EXPECT_EQ(m.Bottom, 4);
    EXPECT_EQ(m.Left, 4);
    EXPECT_EQ(m.Right, 5);
    EXPECT_EQ(m.Menu, 19);
    const TFrameMetrics none = ComputeFrameMetrics(s, TBorderKind::NoCaption, 19);
    EXPECT_EQ(none.Top + none.Bottom + none.Left + none.Right + none.Menu, 0);
  }
  // Zero frame counts count as one; missing bitmaps give 0.
  TSkinContent s = BorderSkin(1, 1);
  s.TopBorder.FrameCount = 0;
  s.LeftBorder.Bitmap.Clear();
  const TFrameMetrics m = ComputeFrameMetrics(s, TBorderKind::Dialog, 0);
  EXPECT_EQ(m.Top, 30);
  EXPECT_EQ(m.Left, 0);
}

TEST(FormLayout, ClientRectKeepsSizeAndNeverGoesNegative) {
  const TFrameMetrics m{4, 30, 5, 4, 19};
  struct Row {
    int cx, cy;
    TRect want;
  } rows[] = {
      {400, 300, {14, 69, 405, 316}},
      {9, 53, {14, 69, 14, 69}},  // exactly the borders: empty
      {3, 10, {14, 69, 14, 69}},  // smaller than the borders
      {0, 0, {14, 69, 14, 69}},
  };
  for (const Row& r : rows) {
    const TRect c = ClientFromWindow(10, 20, r.cx, r.cy, m);
    EXPECT_EQ(c, r.want) << r.cx << "x" << r.cy;
    EXPECT_GE(c.Width(), 0);
    EXPECT_GE(c.Height(), 0);
  }
  // Outer size for a client size and back.
  EXPECT_EQ(OuterWidth(391, m), 400);
  EXPECT_EQ(OuterHeight(237, m), 290);
  const TRect c = ClientFromWindow(0, 0, OuterWidth(391, m), OuterHeight(237, m), m);
  EXPECT_EQ(c.Width(), 391);
  EXPECT_EQ(c.Height(), 237);
}

TEST(FormLayout, HitTestRefinement) {
  const TFrameMetrics m{4, 30, 4, 4, 19};
  const TFrameMetrics no_menu{4, 30, 4, 4, 0};
  struct Row {
    int platform, y;
    const TFrameMetrics* metrics;
    int want;
  } rows[] = {
      {kHitNowhere, 2, &m, kHitNowhere},  // top 3 pixels: the platform's answer
      {kHitCaption, 3, &m, kHitCaption},
      {kHitNowhere, 4, &m, kHitCaption},
      {kHitNowhere, 29, &m, kHitCaption},
      {kHitNowhere, 30, &m, kHitMenu},
      {kHitCaption, 48, &m, kHitMenu},
      {kHitNowhere, 30, &no_menu, kHitNowhere},  // below the caption, no menu row
      {20 /*close*/, 10, &m, kHitCaption},       // the platform's own button
      {5 /*menu*/, 10, &m, kHitCaption},
      {kHitClient, 10, &m, kHitClient},  // other answers stand
      {13 /*top edge*/, 10, &m, 13},
      {12 /*top*/, 1, &m, 12},
  };
  for (const Row& r : rows)
    EXPECT_EQ(RefineHitTest(r.platform, {50, r.y}, *r.metrics), r.want)
        << "platform " << r.platform << " y " << r.y;
}

TDataSkinSysButton Button(int action, int vis, int vis1) {
  TDataSkinSysButton b;
  b.Action = action;
  b.Visibility = vis;
  b.Visibility1 = vis1;
  return b;
}

TEST(FormLayout, TitleButtonVisibility) {
  TTitleFacts normal;
  TTitleFacts maxed;
  maxed.State = TWinState::Maximised;
  TTitleFacts inactive;
  inactive.Active = false;
  TTitleFacts no_sys;
  no_sys.SysMenu = false;
  TTitleFacts no_boxes;
  no_boxes.MinBox = no_boxes.MaxBox = false;
  no_boxes.Help = true;
  TTitleFacts dialog;
  dialog.Border = TBorderKind::Dialog;
  TTitleFacts queried;
  queried.Query = [](int v, int action) { return v == 1500 && action == 1000 ? 1 : 0; };

  struct Row {
    const char* name;
    TDataSkinSysButton b;
    const TTitleFacts* f;
    bool visible, enabled;
  } rows[] = {
      {"maximise vis 2, normal", Button(1, 2, 6), &normal, true, true},
      {"maximise vis 2, maximised", Button(1, 2, 6), &maxed, false, true},
      {"restore vis 1, normal", Button(1, 1, 6), &normal, false, true},
      {"restore vis 1, maximised", Button(1, 1, 6), &maxed, true, true},
      {"maximise without boxes", Button(1, 0, 0), &no_boxes, true, false},
      {"minimise without sys menu", Button(2, 0, 0), &no_sys, true, false},
      {"close without sys menu", Button(0, 0, 0), &no_sys, false, true},
      {"close", Button(0, 0, 0), &normal, true, true},
      {"active only", Button(1000, 3, 0), &inactive, false, true},
      {"inactive only", Button(1000, 4, 0), &inactive, true, true},
      {"never", Button(1000, 5, 0), &normal, false, true},
      {"help: vis 10 needs no boxes", Button(4, 10, 0), &normal, false, true},
      {"help without boxes", Button(4, 10, 10), &no_boxes, true, true},
      {"icon on a dialog frame", Button(3, 0, 0), &dialog, false, true},
      {"icon", Button(3, 0, 0), &normal, true, true},
      {"decorative without Visibility1", Button(-1, 0, -1), &normal, false, true},
      {"decorative with Visibility1 0", Button(-1, 0, 0), &normal, true, true},
      {"query answered", Button(1000, 1500, 0), &queried, true, true},
      {"query refused", Button(1001, 1500, 0), &queried, false, true},
      {"query without handler", Button(1000, 1500, 0), &normal, false, true},
      {"first 201..999 always", Button(1000, 500, 0), &normal, true, true},
      {"second 1500 always", Button(1000, 0, 1500), &normal, true, true},
      {"second out of range", Button(1000, 0, 2001), &normal, false, true},
      {"unknown first", Button(1000, 3000, 0), &normal, false, true},
      {"MDI buttons without a maximised child", Button(7, 100, 100), &normal, false, true},
  };
  for (const Row& r : rows) {
    const TTitleVisibility v = JudgeTitleButton(r.b, *r.f);
    EXPECT_EQ(v.Visible, r.visible) << r.name;
    EXPECT_EQ(v.Enabled, r.enabled) << r.name;
  }
  // Exactly one of maximise (Visibility 2) and restore (Visibility 1).
  for (const TTitleFacts* f : {&normal, &maxed})
    EXPECT_NE(JudgeTitleButton(Button(1, 2, 6), *f).Visible,
              JudgeTitleButton(Button(1, 1, 6), *f).Visible);
}

TEST(FormLayout, TitleButtonLayout) {
  const TFrameMetrics m{4, 30, 5, 4, 20};
  const TRect text{40, 5, 140, 25};
  struct Row {
    int align, x, y, frames;
    TRect want;
  } rows[] = {
      {0, 6, 4, 3, {6, 4, 24, 20}},        {1, 24, 4, 3, {376, 4, 394, 20}},
      {2, 3, 5, 3, {19, 5, 37, 21}},       {8, 3, 5, 3, {19, 5, 37, 21}},
      {3, 3, 5, 3, {143, 5, 161, 21}},     {9, 3, 5, 3, {143, 5, 161, 21}},
      {100, 40, 0, 3, {351, 32, 369, 48}},  // menu row, centred, before the bar's end
      {1, 24, 4, 0, {376, 4, 430, 20}},     // zero frames count as one
  };
  for (const Row& r : rows) {
    TDataSkinSysButton b = Button(0, 0, 0);
    b.Bitmap = Blank(54, 16);
    b.FrameCount = r.frames;
    b.Align = r.align;
    b.Xcoord = r.x;
    b.Ycoord = r.y;
    EXPECT_EQ(LayoutTitleButton(b, 400, text, m, 4), r.want) << "align " << r.align;
  }
  TDataSkinSysButton empty = Button(0, 0, 0);
  EXPECT_TRUE(LayoutTitleButton(empty, 400, text, m, 4).IsEmpty());
}

TEST(FormLayout, CaptionTextPlacement) {
  const TRect c{4, 0, 396, 30};
  TDataSkinTitle t;
  t.LeftWidth = 6;    // TextShift
  t.TopHeight = 4;    // TextShiftVert
  t.RightWidth = 50;  // TextRightClip
  struct Row {
    const char* name;
    int align, width;
    TCaptionFacts f;
    TRect want;
  } rows[] = {
      {"left", 0, 100, {}, {10, 10, 110, 24}},
      {"centre", 1, 100, {}, {150, 10, 250, 24}},
      {"right", 2, 100, {}, {246, 10, 346, 24}},
      {"long text clipped at TextRightClip", 0, 500, {}, {10, 10, 346, 24}},
      {"dialog moves left 16 but stays in the strip",
       0,
       100,
       {false, false, TBorderKind::Dialog, 0},
       {4, 10, 110, 24}},
      {"popup clipped by the buttons",
       0,
       500,
       {false, true, TBorderKind::Sizeable, 80},
       {10, 10, 311, 24}},
      {"right to left", 0, 100, {true, false, TBorderKind::Sizeable, 80}, {226, 10, 326, 24}},
  };
  for (const Row& r : rows) {
    t.TextAlignment = r.align;
    EXPECT_EQ(LayoutCaptionText(c, r.width, 14, t, r.f), r.want) << r.name;
  }
}

}  // namespace
