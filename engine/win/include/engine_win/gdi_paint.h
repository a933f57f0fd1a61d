// The drawing primitives executed with GDI: the portable plans of
// engine/geometry.h turned into StretchBlt, tiling, transparent copies and
// regions. A call that paints onto a window builds its result in a temporary
// bitmap of the target size first and copies it in one operation, so nothing
// flickers. A target that is itself a 32-bit DIB section selected into a
// memory device context (the skinners' paint buffers) is already off-screen:
// the plan is composed straight into its pixels, which is much faster than
// a temporary bitmap and StretchBlt.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "engine/colour.h"
#include "engine/geometry.h"
#include "format/bmp.h"

// A 32-bit top-down DIB section. Pixels are 0x00RRGGBB words (blue in the
// low byte, as GDI stores them).
class TNativeBitmap {
 public:
  TNativeBitmap() = default;
  TNativeBitmap(int width, int height);
  explicit TNativeBitmap(const TPixmap& image);
  ~TNativeBitmap();
  TNativeBitmap(TNativeBitmap&& other) noexcept;
  TNativeBitmap& operator=(TNativeBitmap&& other) noexcept;
  TNativeBitmap(const TNativeBitmap&) = delete;
  TNativeBitmap& operator=(const TNativeBitmap&) = delete;

  HBITMAP Handle() const { return bitmap_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return bitmap_ == nullptr; }
  // Pixel access (GdiFlush first when GDI drew into it).
  TColor Pixel(int x, int y) const;
  void SetPixelColour(int x, int y, TColor c);
  // The pixels as a 24-bit portable image.
  TPixmap ToImage() const;
  // Rows top-down, Width() words each.
  const uint32_t* Bits() const { return bits_; }

 private:
  HBITMAP bitmap_ = nullptr;
  uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// A memory device context with a bitmap selected into it for its lifetime.
class TMemoryDC {
 public:
  explicit TMemoryDC(const TNativeBitmap& bitmap);
  ~TMemoryDC();
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  HDC Handle() const { return dc_; }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

enum class TStretchQuality { ColourOnColour, Halftone };

// Installs GetSysColor as the resolver of system colour references.
void InstallSystemColourResolver();
COLORREF ToColorRef(TColor c);  // references resolved

// Frame k of n of `src` sliced to the target size (nine-slice rule).
TNativeBitmap SliceFrame(const TRect& target, const TNativeBitmap& src, TMargins m, bool vertical,
                         bool tile, int n, int k,
                         TStretchQuality quality = TStretchQuality::ColourOnColour);
void DrawElement(HDC dc, const TRect& r, const TNativeBitmap& src, bool vertical, bool tile,
                 bool transparent, int n, int k, TMargins m,
                 TStretchQuality quality = TStretchQuality::ColourOnColour);
void DrawCappedStrip(HDC dc, const TRect& r, const TNativeBitmap& src, bool vertical,
                     bool transparent, int n, int k, TMargins m);
void DrawFrameScaled(HDC dc, const TRect& r, const TNativeBitmap& src, bool transparent, int n,
                     int k);
void DrawFrameCentred(HDC dc, const TRect& r, const TNativeBitmap& src, bool transparent, int n,
                      int k);
void DrawThreePartStretch(HDC dc, const TRect& r, const TNativeBitmap& src, bool vertical, int n,
                          int k, TMargins m);
// Repeats src's rectangle unscaled over the target rectangle (clipped to it).
void TileBitmap(HDC dc, const TRect& target, const TNativeBitmap& src, const TRect& src_rect);
// Copies the bitmap to the rectangle's top-left corner; pixels of the key
// colour leave the target unchanged.
void BlitTransparent(HDC dc, const TRect& r, const TNativeBitmap& src, TColor key = kMagenta);
// The region of the pixels that are not near the key (see TKeyMatch),
// moved by (dx, dy); built in batches of 2000 rectangles. Caller owns it.
HRGN RegionFromBitmap(const TPixmap& image, int dx, int dy, int tol_blue, int tol_green,
                      int tol_red, TColor key = kMagenta);
// A vertical or horizontal gradient through the shared ramp cache; only the
// visible steps are painted.
void GradientFill(HDC dc, const TRect& r, TColor start, bool vertical, TColor end);
// Paints the parent's background (erase, then paint) behind a child window
// into dc, which is in the child's client coordinates.
void PaintParentBackground(HWND control, HDC dc);
// DrawTextW of a wide text.
int DrawTextAuto(HDC dc, std::wstring_view text, RECT* rect, UINT format);
