// Pixel work on 24-bit and 32-bit TPixmap bitmaps (blue, green, red, alpha
// bytes) for the style conversion. Colours are 0x00BBGGRR values, red in the
// low byte. Every copy clips to both images.
#pragma once

#include <cstdint>
#include <stdexcept>

#include "format/bmp.h"

constexpr uint32_t kMagentaKey = 0x00FF00FF;

// Raised when a conversion cannot go on (a non-numeric count, an image that
// would be too large).
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A new image filled with `fill`; EConvertError beyond the BMP size limits.
TPixmap NewImage(int width, int height, int bits_per_pixel = 24, uint32_t fill = kMagentaKey);
bool IsEmpty(const TPixmap& image);
// Any pixel format to 24 bits; the alpha channel of a 32-bit image is dropped.
void To24(TPixmap& image);

uint32_t ColourAt(const TPixmap& image, int x, int y);  // 24/32-bit only
void SetColourAt(TPixmap& image, int x, int y, uint32_t colour);
void FillRect(TPixmap& image, int left, int top, int right, int bottom, uint32_t colour);

// A scaled copy of the source rectangle into the target rectangle: pixels are
// dropped or repeated (colour on colour), or averaged when `halftone` is set
// and the copy shrinks. Empty or inverted rectangles copy nothing.
void StretchCopy(TPixmap& dst, int dx, int dy, int dw, int dh, const TPixmap& src, int sx, int sy,
                 int sw, int sh, bool halftone = false);
// An unscaled copy of src's (sx, sy, w, h) to (dx, dy).
void CopyRect(TPixmap& dst, int dx, int dy, const TPixmap& src, int sx, int sy, int w, int h);
// Draws src's (sx, sy, w, h) at (dx, dy), skipping pixels of colour `key`.
void DrawTransparent(TPixmap& dst, int dx, int dy, const TPixmap& src, int sx, int sy, int w, int h,
                     uint32_t key);
// A new size; the old content stretched over it (colour on colour).
void ResizeStretched(TPixmap& image, int width, int height);
// A new size; the old content kept at the top-left, the rest filled.
void ResizeCanvas(TPixmap& image, int width, int height, uint32_t fill = kMagentaKey);
