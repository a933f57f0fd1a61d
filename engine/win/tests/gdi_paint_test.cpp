#include <gtest/gtest.h>

#include <tuple>

#include "default_skin.h"
#include "engine/image_ops.h"
#include "engine/raster.h"
#include "engine/skin_parse.h"
#include "engine_win/gdi_paint.h"
#include "test_skin.h"

namespace {

TTestElement Element(int index, int frames, int fw, int fh, TMargins m, bool vertical = false) {
  TTestElement e;
  e.Index = index;
  e.Frames = frames;
  e.FrameWidth = fw;
  e.FrameHeight = fh;
  e.Margins = m;
  e.Vertical = vertical;
  return e;
}

// The piece a target pixel must show when a fw by fh frame with margins m
// (that fit) is sliced onto a w by h target.
TTestPiece ExpectedPiece(int x, int y, int w, int h, int fw, int fh, TMargins m) {
  const bool l = x < m.Left, r = x >= w - m.Right, t = y < m.Top, b = y >= h - m.Bottom;
  if ((l || r) && (t || b))
    return TestPieceAt(l ? x : fw - (w - x), t ? y : fh - (h - y), fw, fh, m);
  if (l) return TTestPiece::Left;
  if (r) return TTestPiece::Right;
  if (t) return TTestPiece::Top;
  if (b) return TTestPiece::Bottom;
  return TTestPiece::Centre;
}

TEST(GdiPaint, SliceFrameCornersUnscaledEdgesStretched) {
  for (bool vertical : {false, true}) {
    const TTestElement e = Element(3, 3, 14, 12, {3, 2, 4, 3}, vertical);
    const TNativeBitmap src(MakeTestStrip(e));
    for (const auto& [w, h] : {std::pair{14, 12}, {50, 31}, {7, 5}, {200, 13}}) {
      for (auto quality : {TStretchQuality::ColourOnColour, TStretchQuality::Halftone}) {
        const TNativeBitmap out =
            SliceFrame({0, 0, w, h}, src, e.Margins, vertical, false, 3, 3, quality);
        ASSERT_EQ(out.Width(), w);
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x) {
            const TTestPiece p = ExpectedPiece(x, y, w, h, 14, 12, e.Margins);
            // Halftone may smooth stretched pieces at their borders; the
            // corners are copied 1:1 and stay exact either way.
            const bool corner = p >= TTestPiece::TopLeft;
            if (quality == TStretchQuality::Halftone && !corner) continue;
            ASSERT_EQ(out.Pixel(x, y), TestPieceColour(3, 3, p))
                << w << "x" << h << " at " << x << "," << y << (vertical ? " stacked" : "");
          }
      }
    }
  }
}

TEST(GdiPaint, TiledCentreRepeatsUnscaled) {
  // A 5 by 5 frame whose centre (3 by 3) has a different colour per pixel.
  TPixmap img = SolidImage(5, 5, RGBColour(10, 10, 10));
  for (int y = 1; y < 4; ++y)
    for (int x = 1; x < 4; ++x)
      SetPixel(img, x, y, RGBColour(40 * x, 40 * y, 99));
  const TNativeBitmap src(img);
  const TMargins m{1, 1, 1, 1};
  const TNativeBitmap tiled = SliceFrame({0, 0, 12, 9}, src, m, false, true, 1, 1);
  const TNativeBitmap stretched = SliceFrame({0, 0, 12, 9}, src, m, false, false, 1, 1);
  for (int y = 1; y < 8; ++y)
    for (int x = 1; x < 11; ++x) {
      const int cx = 1 + (x - 1) % 3, cy = 1 + (y - 1) % 3;
      EXPECT_EQ(tiled.Pixel(x, y), RGBColour(40 * cx, 40 * cy, 99)) << x << "," << y;
    }
  // Stretched, pixel (10, 7) comes from the last centre column and row.
  EXPECT_EQ(stretched.Pixel(10, 7), RGBColour(120, 120, 99));
  EXPECT_EQ(stretched.Pixel(1, 1), RGBColour(40, 40, 99));
  EXPECT_EQ(tiled.Pixel(11, 8), RGBColour(10, 10, 10));  // the border stays
}

// A memory DC on a DIB section is composed into directly; a clip region
// sends the same calls through GDI (temporary bitmap, StretchBlt, MaskBlt).
void ForceGdiPath(HDC dc, int w, int h) {
  HRGN all = CreateRectRgn(0, 0, w, h);
  SelectClipRgn(dc, all);
  DeleteObject(all);
}

class GdiPaths : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(Both, GdiPaths, ::testing::Values(false, true),
                         [](const auto& p) { return p.param ? "ThroughGdi" : "Direct"; });

TEST_P(GdiPaths, TransparentDrawingLeavesMagentaAlone) {
  TPixmap img = SolidImage(6, 4, kMagenta);
  FillRectangle(img, 1, 1, 5, 3, RGBColour(20, 120, 220));
  SetPixel(img, 0, 0, RGBColour(255, 1, 255));  // near magenta is drawn
  const TNativeBitmap src(img);
  TNativeBitmap target(10, 8);
  TMemoryDC dc(target);
  if (GetParam()) ForceGdiPath(dc.Handle(), 10, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x)
      target.SetPixelColour(x, y, RGBColour(x * 10, y * 10, 5));
  BlitTransparent(dc.Handle(), {2, 3, 8, 7}, src);
  GdiFlush();
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) {
      const TColor s = GetPixel(img, x - 2, y - 3);
      const bool inside = x >= 2 && x < 8 && y >= 3 && y < 7;
      const TColor want = inside && s != kMagenta ? s : RGBColour(x * 10, y * 10, 5);
      EXPECT_EQ(target.Pixel(x, y), want) << x << "," << y;
    }
  // Through DrawElement: a sliced frame drawn transparently.
  TNativeBitmap back(12, 6);
  TMemoryDC bdc(back);
  if (GetParam()) ForceGdiPath(bdc.Handle(), 12, 6);
  RECT all{0, 0, 12, 6};
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  FillRect(bdc.Handle(), &all, brush);
  DeleteObject(brush);
  DrawElement(bdc.Handle(), {0, 0, 12, 6}, src, false, false, true, 1, 1, {1, 1, 1, 1});
  GdiFlush();
  EXPECT_EQ(back.Pixel(11, 0), RGBColour(1, 2, 3));
  EXPECT_EQ(back.Pixel(5, 3), RGBColour(20, 120, 220));
  EXPECT_EQ(back.Pixel(0, 0), RGBColour(255, 1, 255));
}

TEST(GdiPaint, RegionExcludesExactlyTheNearMagentaPixels) {
  TPixmap img(37, 23, 24);
  for (int y = 0; y < img.Height; ++y)
    for (int x = 0; x < img.Width; ++x) {
      const int v = (x * 7 + y * 13) % 5;
      SetPixel(img, x, y,
               v == 0   ? kMagenta
               : v == 1 ? RGBColour(255, 1, 255)
               : v == 2 ? RGBColour(255, 2, 255)
               : v == 3 ? RGBColour(254, 0, 255)
                        : RGBColour(30, 60, 90));
    }
  const TKeyMatch key;
  HRGN rgn = RegionFromBitmap(img, 5, 7, 1, 1, 1);
  ASSERT_NE(rgn, nullptr);
  for (int y = 0; y < img.Height; ++y)
    for (int x = 0; x < img.Width; ++x)
      EXPECT_EQ(PtInRegion(rgn, x + 5, y + 7) != 0, !key.Matches(GetPixel(img, x, y)))
          << x << "," << y;
  EXPECT_FALSE(PtInRegion(rgn, 4, 7));
  DeleteObject(rgn);
}

TEST(GdiPaint, RegionOfManyRunsIsBuiltInBatches) {
  // A checkerboard of 120 by 120 gives 7200 one-pixel runs (4 batches).
  TPixmap img = SolidImage(120, 120, kMagenta);
  for (int y = 0; y < 120; ++y)
    for (int x = (y % 2); x < 120; x += 2)
      SetPixel(img, x, y, kBlack);
  HRGN rgn = RegionFromBitmap(img, 0, 0, 1, 1, 1);
  for (int y = 0; y < 120; y += 7)
    for (int x = 0; x < 120; x += 3)
      EXPECT_EQ(PtInRegion(rgn, x, y) != 0, (x + y) % 2 == 0) << x << "," << y;
  RECT box;
  GetRgnBox(rgn, &box);
  EXPECT_EQ(box.right, 120);
  EXPECT_EQ(box.bottom, 120);
  DeleteObject(rgn);
  rgn = RegionFromBitmap(SolidImage(8, 8, kMagenta), 0, 0, 1, 1, 1);
  EXPECT_EQ(GetRgnBox(rgn, &box), NULLREGION);
  DeleteObject(rgn);
}

TEST(GdiPaint, GradientStartsAtTheFirstVisibleStepWithTheFullRamp) {
  TNativeBitmap target(4, 20);
  TMemoryDC dc(target);
  GradientFill(dc.Handle(), {0, -10, 4, 30}, kBlack, true, RGBColour(0, 0, 200));
  GdiFlush();
  TRampCache cache;
  const std::vector<TColor> ramp = cache.Ramp(cache.GetRamp(40, kBlack, RGBColour(0, 0, 200)));
  for (int y = 0; y < 20; ++y)
    EXPECT_EQ(target.Pixel(2, y), ramp[static_cast<size_t>(y + 10)]) << y;
  TNativeBitmap wide(30, 2);
  TMemoryDC wdc(wide);
  GradientFill(wdc.Handle(), {0, 0, 30, 2}, RGBColour(100, 0, 0), false, RGBColour(200, 0, 0));
  GdiFlush();
  EXPECT_EQ(wide.Pixel(0, 1), RGBColour(100, 0, 0));
  EXPECT_EQ(wide.Pixel(29, 1), RGBColour(200, 0, 0));
}

TEST_P(GdiPaths, StripsCentredCappedAndThreePart) {
  const TTestElement e = Element(8, 2, 10, 6, {3, 0, 2, 0});
  const TNativeBitmap src(MakeTestStrip(e));
  TNativeBitmap target(30, 10);
  TMemoryDC dc(target);
  if (GetParam()) ForceGdiPath(dc.Handle(), 30, 10);
  // Centred: frame 2 (10 by 6) in a 30 by 10 rectangle sits at (10, 2).
  DrawFrameCentred(dc.Handle(), {0, 0, 30, 10}, src, false, 2, 2);
  GdiFlush();
  EXPECT_EQ(target.Pixel(10, 2), TestPieceColour(8, 2, TTestPiece::Left));
  EXPECT_EQ(target.Pixel(19, 7), TestPieceColour(8, 2, TTestPiece::Right));
  EXPECT_EQ(target.Pixel(9, 2), 0u);
  // Capped strip: caps 3 and 2 at the ends, middle repeated.
  DrawCappedStrip(dc.Handle(), {0, 0, 30, 10}, src, false, false, 2, 1, e.Margins);
  GdiFlush();
  for (int x = 0; x < 30; ++x) {
    const TTestPiece p = x < 3     ? TTestPiece::Left
                         : x >= 28 ? TTestPiece::Right
                                   : TTestPiece::Centre;
    EXPECT_EQ(target.Pixel(x, 9), TestPieceColour(8, 1, p)) << x;
  }
  // Three parts into (5, 1)-(25, 9): caps stretched to the full height.
  DrawThreePartStretch(dc.Handle(), {5, 1, 25, 9}, src, false, 2, 2, e.Margins);
  GdiFlush();
  EXPECT_EQ(target.Pixel(5, 8), TestPieceColour(8, 2, TTestPiece::Left));
  EXPECT_EQ(target.Pixel(24, 1), TestPieceColour(8, 2, TTestPiece::Right));
  EXPECT_EQ(target.Pixel(15, 4), TestPieceColour(8, 2, TTestPiece::Centre));
  // Frame scaled into a rectangle.
  DrawFrameScaled(dc.Handle(), {0, 0, 20, 4}, src, false, 2, 1);
  GdiFlush();
  EXPECT_EQ(target.Pixel(0, 0), TestPieceColour(8, 1, TTestPiece::Left));
  EXPECT_EQ(target.Pixel(19, 3), TestPieceColour(8, 1, TTestPiece::Right));
}

TEST_P(GdiPaths, EmptyAndReversedRectanglesDrawNothing) {
  const TNativeBitmap src(SolidImage(10, 10, RGBColour(9, 9, 9)));
  TNativeBitmap target(10, 10);
  TMemoryDC dc(target);
  if (GetParam()) ForceGdiPath(dc.Handle(), 10, 10);
  for (const TRect& r : {TRect{5, 5, 4, 9}, TRect{5, 5, 9, 4}, TRect{3, 3, 3, 3}}) {
    DrawElement(dc.Handle(), r, src, false, false, false, 1, 1, {});
    DrawCappedStrip(dc.Handle(), r, src, false, false, 1, 1, {});
    DrawFrameScaled(dc.Handle(), r, src, true, 1, 1);
    DrawThreePartStretch(dc.Handle(), r, src, false, 1, 1, {});
  }
  DrawFrameCentred(dc.Handle(), {5, 5, 4, 9}, src, false, 1, 1);
  TileBitmap(dc.Handle(), {0, 0, 10, 10}, src, {0, 0, 0, 4});
  GdiFlush();
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      ASSERT_EQ(target.Pixel(x, y), 0u) << x << "," << y;
}

// Drawing straight into a memory DIB and drawing through GDI give the same
// pixels, stretched or tiled, plain or transparent, at any offset.
TEST(GdiPaint, DirectCompositionMatchesGdi) {
  TPixmap strip = MakeTestStrip(Element(4, 2, 16, 12, {4, 3, 5, 2}));
  FillRectangle(strip, 20, 0, 23, 3, kMagenta);  // a transparent corner in frame 2
  const TNativeBitmap src(strip);
  for (const auto& [w, h, tile, transparent] : {std::tuple{40, 30, false, false},
                                                {40, 30, true, false},
                                                {57, 12, true, true},
                                                {16, 12, false, true},
                                                {100, 70, false, true}}) {
    TNativeBitmap a(120, 90), b(120, 90);
    TMemoryDC adc(a), bdc(b);
    ForceGdiPath(bdc.Handle(), 120, 90);
    for (TNativeBitmap* t : {&a, &b})
      for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x)
          t->SetPixelColour(x, y, RGBColour(x, y, 77));
    for (HDC dc : {adc.Handle(), bdc.Handle()})
      for (const auto& [x, y] : {std::pair{7, 5}, {-9, -4}, {100, 80}})
        DrawElement(dc, {x, y, x + w, y + h}, src, false, tile, transparent, 2, 2, {4, 3, 5, 2});
    GdiFlush();
    for (int y = 0; y < 90; ++y)
      for (int x = 0; x < 120; ++x)
        ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y)) << w << "x" << h << " at " << x << "," << y;
  }
}

// A frame scaled into a rectangle or centred in one (title buttons, glyphs)
// comes out the same straight into a memory DIB as through GDI, shrunk or
// grown, plain or transparent, partly outside the target or not.
TEST(GdiPaint, ScaledAndCentredFramesDirectMatchGdi) {
  TPixmap strip = MakeTestStrip(Element(5, 3, 13, 11, {3, 2, 4, 2}));
  FillRectangle(strip, 13, 0, 17, 4, kMagenta);  // a transparent corner in frame 2
  const TNativeBitmap src(strip);
  struct TCase {
    TRect R;
    bool Transparent, Centred;
  };
  for (const TCase& c : {TCase{{4, 3, 30, 20}, false, false},
                         {{4, 3, 30, 20}, true, false},
                         {{10, 8, 17, 13}, true, false},
                         {{-6, -5, 15, 9}, true, false},
                         {{50, 40, 75, 61}, false, false},
                         {{0, 0, 40, 30}, true, true},
                         {{-8, 20, 5, 33}, false, true},
                         {{30, 2, 36, 6}, true, true}}) {
    TNativeBitmap a(64, 48), b(64, 48);
    TMemoryDC adc(a), bdc(b);
    ForceGdiPath(bdc.Handle(), 64, 48);
    for (TNativeBitmap* t : {&a, &b})
      for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
          t->SetPixelColour(x, y, RGBColour(x * 3, y * 5, 91));
    for (HDC dc : {adc.Handle(), bdc.Handle()}) {
      if (c.Centred)
        DrawFrameCentred(dc, c.R, src, c.Transparent, 3, 2);
      else
        DrawFrameScaled(dc, c.R, src, c.Transparent, 3, 2);
    }
    GdiFlush();
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64; ++x)
        ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y))
            << c.R.Left << "," << c.R.Top << " " << c.R.Width() << "x" << c.R.Height()
            << (c.Centred ? " centred" : " scaled") << " at " << x << "," << y;
  }
}

// Every element of the default skin, sliced at its own frame size, gives its
// frame back unchanged; the GDI and portable painters agree at any size on
// where every corner pixel goes.
TEST(GdiPaint, DefaultSkinElementsAtFrameSizeAndLarger) {
  TSkinContent c;
  ASSERT_TRUE(LoadSkinPackage(c, DefaultSkinPackage()));
  std::vector<const TDataSkinObject*> all = {&c.LeftBorder, &c.RightBorder, &c.TopBorder,
                                             &c.BottomBorder, &c.Buttons};
  for (const auto& e : c.Slots)
    if (e) all.push_back(e.get());
  for (const TDataSkinObject* e : all) {
    const bool vertical = c.IsVerticalStrip(e);
    const TNativeBitmap src(e->Bitmap);
    const TRect f = e->Frame(e->FrameCount, vertical);
    const TNativeBitmap same = SliceFrame({0, 0, f.Width(), f.Height()}, src, e->Margins(),
                                          vertical, e->Tile == 1, e->FrameCount, e->FrameCount);
    for (int y = 0; y < f.Height(); ++y)
      for (int x = 0; x < f.Width(); ++x)
        ASSERT_EQ(same.Pixel(x, y), GetPixel(e->Bitmap, f.Left + x, f.Top + y)) << e->Name;
    const int w = f.Width() * 3 + 1, h = f.Height() * 2 + 3;
    const TNativeBitmap big =
        SliceFrame({0, 0, w, h}, src, e->Margins(), vertical, e->Tile == 1, e->FrameCount, 1);
    const TPixmap ref =
        SliceFrameImage(w, h, e->Bitmap, e->Margins(), vertical, e->Tile == 1, e->FrameCount, 1);
    const TMargins m = FitMargins(e->Margins(), f.Width(), f.Height());
    for (const auto& [x, y] : {std::pair{0, 0},
                               {w - 1, 0},
                               {0, h - 1},
                               {w - 1, h - 1},
                               {m.Left - 1, m.Top - 1},
                               {w - m.Right, h - m.Bottom}}) {
      if (x >= 0 && y >= 0 && x < w && y < h && m.Left + m.Top > 0) {
        EXPECT_EQ(big.Pixel(x, y), GetPixel(ref, x, y)) << e->Name << " " << x << "," << y;
      }
    }
  }
}

}  // namespace

namespace {

// A parent that paints its client area with a colour per position, on the
// device context it is given in wParam.
LRESULT CALLBACK ParentProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND && wp) {
    HDC dc = reinterpret_cast<HDC>(wp);
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 120; ++x)
        SetPixelV(dc, x, y, RGB(x * 2, y * 3, 50));
    return 1;
  }
  if (msg == WM_PAINT && wp) {
    HDC dc = reinterpret_cast<HDC>(wp);
    RECT spot{40, 30, 44, 34};  // drawn over the background
    HBRUSH b = CreateSolidBrush(RGB(250, 1, 2));
    FillRect(dc, &spot, b);
    DeleteObject(b);
    return 0;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

TEST(GdiPaint, ParentBackgroundLandsUnderTheChild) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ParentProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"MvPaintParent";
  RegisterClassW(&wc);
  HWND parent = CreateWindowExW(0, L"MvPaintParent", L"", WS_POPUP, 0, 0, 120, 80, nullptr, nullptr,
                                wc.hInstance, nullptr);
  ASSERT_NE(parent, nullptr);
  HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 30, 20, 40, 30, parent, nullptr,
                               wc.hInstance, nullptr);
  ASSERT_NE(child, nullptr);
  TNativeBitmap buffer(40, 30);
  TMemoryDC dc(buffer);
  PaintParentBackground(child, dc.Handle());
  GdiFlush();
  // The child's (x, y) is the parent's (x + 30, y + 20).
  for (const auto& [x, y] : {std::pair{0, 0}, {39, 29}, {5, 7}})
    EXPECT_EQ(buffer.Pixel(x, y), RGBColour((x + 30) * 2, (y + 20) * 3, 50)) << x << "," << y;
  EXPECT_EQ(buffer.Pixel(11, 11), RGBColour(250, 1, 2));
  // The device context is left as it was: no origin shift, no clipping.
  POINT org;
  GetViewportOrgEx(dc.Handle(), &org);
  EXPECT_EQ(org.x, 0);
  EXPECT_EQ(org.y, 0);
  HRGN clip = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(dc.Handle(), clip), 0);
  DeleteObject(clip);
  // A window without a parent paints nothing.
  TNativeBitmap other(4, 4);
  TMemoryDC odc(other);
  PaintParentBackground(parent, odc.Handle());
  GdiFlush();
  EXPECT_EQ(other.Pixel(1, 1), 0u);
  DestroyWindow(parent);
}

TEST(GdiPaint, DrawTextAutoDrawsWideText) {
  TNativeBitmap buffer(200, 40);
  TMemoryDC dc(buffer);
  RECT all{0, 0, 200, 40};
  FillRect(dc.Handle(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetTextColor(dc.Handle(), RGB(0, 0, 0));
  SetBkMode(dc.Handle(), TRANSPARENT);
  RECT r = all;
  const int h = DrawTextAuto(dc.Handle(), L"Skin \u00e9t\u00e9", &r, DT_SINGLELINE | DT_NOPREFIX);
  GdiFlush();
  EXPECT_GT(h, 0);
  int ink = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x)
      ink += buffer.Pixel(x, y) != kWhite;
  EXPECT_GT(ink, 20);
  RECT calc{0, 0, 0, 0};
  DrawTextAuto(dc.Handle(), L"abc", &calc, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_GT(calc.right, 0);
}

}  // namespace
