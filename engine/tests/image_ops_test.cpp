#include <gtest/gtest.h>

#include <tuple>

#include "engine/image_ops.h"
#include "engine/raster.h"
#include "test_skin.h"

namespace {

// A 3 by 2 image whose pixel (x, y) is RGBColour(x, y, 7).
TPixmap Numbered(int w, int h) {
  TPixmap img(w, h, 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      SetPixel(img, x, y, RGBColour(x, y, 7));
  return img;
}

TEST(ImageOps, ReplaceMagentaTouchesOnlyExactMagenta) {
  TPixmap img = SolidImage(3, 1, kMagenta);
  SetPixel(img, 1, 0, RGBColour(255, 1, 255));
  ReplaceMagenta(img, SystemColourRef(kSysBtnFace));
  EXPECT_EQ(GetPixel(img, 0, 0), DefaultSystemColour(kSysBtnFace));
  EXPECT_EQ(GetPixel(img, 1, 0), RGBColour(255, 1, 255));
  EXPECT_EQ(GetPixel(img, 2, 0), DefaultSystemColour(kSysBtnFace));
}

TEST(ImageOps, MirrorFlipRotate) {
  const TPixmap src = Numbered(3, 2);
  TPixmap m = src;
  MirrorHorizontal(m);
  TPixmap f = src;
  FlipVertical(f);
  TPixmap l = src;
  RotateLeft(l);
  TPixmap r = src;
  RotateRight(r);
  ASSERT_EQ(l.Width, 2);
  ASSERT_EQ(l.Height, 3);
  ASSERT_EQ(r.Width, 2);
  ASSERT_EQ(r.Height, 3);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(GetPixel(m, x, y), RGBColour(2 - x, y, 7));
      EXPECT_EQ(GetPixel(f, x, y), RGBColour(x, 1 - y, 7));
    }
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 2; ++x) {
      EXPECT_EQ(GetPixel(l, x, y), RGBColour(3 - 1 - y, x, 7));  // top edge read upward on the left
      EXPECT_EQ(GetPixel(r, x, y),
                RGBColour(y, 2 - 1 - x, 7));  // top edge read downward on the right
    }
  TPixmap back = l;
  RotateRight(back);
  EXPECT_EQ(back.Pixels, src.Pixels);
}

TEST(ImageOps, ConversionsAndCropping) {
  TPixmap indexed(2, 1, 8);
  indexed.Palette[0] = 0x00102030;  // 0x00RRGGBB
  indexed.Palette[1] = 0x00A0B0C0;
  indexed.Row(0)[1] = 1;
  const TPixmap c = To24Bit(indexed);
  EXPECT_EQ(GetPixel(c, 0, 0), RGBColour(0x10, 0x20, 0x30));
  EXPECT_EQ(GetPixel(c, 1, 0), RGBColour(0xA0, 0xB0, 0xC0));
  const TPixmap c32 = To32Bit(c);
  EXPECT_EQ(c32.BitsPerPixel, 32);
  EXPECT_EQ(GetPixel(c32, 1, 0), RGBColour(0xA0, 0xB0, 0xC0));

  const TPixmap crop = CropImage(Numbered(5, 5), 3, -2, 10, 4);  // clipped to (3,0)-(5,2)
  ASSERT_EQ(crop.Width, 2);
  ASSERT_EQ(crop.Height, 2);
  EXPECT_EQ(GetPixel(crop, 1, 1), RGBColour(4, 1, 7));
  EXPECT_EQ(CropImage(Numbered(5, 5), 9, 9, 3, 3).Width, 0);
}

TEST(ImageOps, GradientImageFollowsTheRamp) {
  const TPixmap g = GradientImage(2, 3, kBlack, kWhite, true);
  EXPECT_EQ(GetPixel(g, 1, 0), 0x000000u);
  EXPECT_EQ(GetPixel(g, 0, 1), 0x808080u);
  EXPECT_EQ(GetPixel(g, 1, 2), 0xFFFFFFu);
  const TPixmap h = GradientImage(3, 1, kBlack, kWhite, false);
  EXPECT_EQ(GetPixel(h, 1, 0), 0x808080u);
}

// The portable painter against the test skin: every pixel of a sliced frame
// is the piece colour the plan says it should be.
TEST(Raster, SliceFrameOfTestStripPixelByPixel) {
  TTestElement e;
  e.Index = 5;
  e.Frames = 3;
  e.FrameWidth = 12;
  e.FrameHeight = 10;
  e.Margins = {3, 2, 4, 3};
  const TPixmap strip = MakeTestStrip(e);
  const TMargins m = e.Margins;
  for (const auto& [w, h, tile] : {std::tuple{40, 30, false},
                                   {40, 30, true},
                                   {12, 10, false},
                                   {7, 5, true},
                                   {100, 11, false}}) {
    const TPixmap out = SliceFrameImage(w, h, strip, m, false, tile, 3, 2);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        // Corners are unscaled: a corner pixel maps to the same offset from
        // its corner of the frame, markers included. Edges and the centre
        // keep their piece colour however they are stretched or tiled.
        const bool l = x < m.Left, r = x >= w - m.Right, t = y < m.Top, b = y >= h - m.Bottom;
        TTestPiece want = TTestPiece::Centre;
        if ((l || r) && (t || b))
          want = TestPieceAt(l ? x : 12 - (w - x), t ? y : 10 - (h - y), 12, 10, m);
        else if (l)
          want = TTestPiece::Left;
        else if (r)
          want = TTestPiece::Right;
        else if (t)
          want = TTestPiece::Top;
        else if (b)
          want = TTestPiece::Bottom;
        ASSERT_EQ(GetPixel(out, x, y), TestPieceColour(5, 2, want))
            << w << "x" << h << " at " << x << "," << y;
      }
  }
}

TEST(Raster, SliceFrameDropsMarginsTooWideForTheTarget) {
  TTestElement e;
  e.Index = 6;
  e.FrameWidth = 12;
  e.FrameHeight = 10;
  e.Margins = {3, 2, 4, 3};
  const TPixmap strip = MakeTestStrip(e);
  // 6 wide: left and right dropped, the whole frame width squeezed in, so
  // the first column shows the frame's left pieces and the last its right.
  const TPixmap out = SliceFrameImage(6, 30, strip, e.Margins, false, false, 1, 1);
  EXPECT_EQ(GetPixel(out, 0, 0), TestPieceColour(6, 1, TTestPiece::TopLeft));
  EXPECT_EQ(GetPixel(out, 0, 15), TestPieceColour(6, 1, TTestPiece::Left));
  EXPECT_EQ(GetPixel(out, 5, 15), TestPieceColour(6, 1, TTestPiece::Right));
  EXPECT_EQ(GetPixel(out, 5, 29), TestPieceColour(6, 1, TTestPiece::BottomRight));
}

TEST(Raster, TransparentCopyKeepsTheTargetUnderMagenta) {
  TPixmap dst = SolidImage(4, 1, RGBColour(1, 2, 3));
  TPixmap src = SolidImage(2, 1, kMagenta);
  SetPixel(src, 1, 0, RGBColour(9, 9, 9));
  StretchCopy(dst, {0, 0, 4, 1}, src, {0, 0, 2, 1}, true);
  EXPECT_EQ(GetPixel(dst, 0, 0), RGBColour(1, 2, 3));
  EXPECT_EQ(GetPixel(dst, 1, 0), RGBColour(1, 2, 3));
  EXPECT_EQ(GetPixel(dst, 2, 0), RGBColour(9, 9, 9));
  EXPECT_EQ(GetPixel(dst, 3, 0), RGBColour(9, 9, 9));
}

TEST(Raster, CentredFrameMayStickOut) {
  TPixmap dst = SolidImage(15, 15, kBlack);
  TPixmap src = SolidImage(40, 20, RGBColour(50, 60, 70));
  SetPixel(src, 22, 2, RGBColour(1, 1, 1));                      // frame 2 pixel (2, 2)
  DrawFrameCentredImage(dst, {0, 0, 15, 15}, src, false, 2, 2);  // origin (-2, -2)
  EXPECT_EQ(GetPixel(dst, 0, 0), RGBColour(1, 1, 1));
  EXPECT_EQ(GetPixel(dst, 14, 14), RGBColour(50, 60, 70));
}

}  // namespace
