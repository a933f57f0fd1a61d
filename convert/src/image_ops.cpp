#include "convert/image_ops.h"

#include <algorithm>

namespace {

bool Inside(const TPixmap& image, int x, int y) {
  return x >= 0 && y >= 0 && x < image.Width && y < image.Height;
}

int Bpp(const TPixmap& image) {
  return image.BitsPerPixel / 8;
}

}  // namespace

TPixmap NewImage(int width, int height, int bits_per_pixel, uint32_t fill) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width > kMaxBmpDimension || height > kMaxBmpDimension ||
      int64_t{width} * height > kMaxBmpPixels) {
    throw EConvertError("image too large: " + std::to_string(width) + " x " +
                        std::to_string(height));
  }
  TPixmap image(width, height, bits_per_pixel);
  FillRect(image, 0, 0, width, height, fill);
  return image;
}

bool IsEmpty(const TPixmap& image) {
  return image.Width <= 0 || image.Height <= 0;
}

void To24(TPixmap& image) {
  if (image.BitsPerPixel == 24) return;
  TPixmap out(image.Width, image.Height, 24);
  for (int y = 0; y < image.Height; ++y) {
    uint8_t* row = out.Row(y);
    for (int x = 0; x < image.Width; ++x) {
      uint32_t rgb = image.PixelRGB(x, y);
      row[3 * x] = static_cast<uint8_t>(rgb);
      row[3 * x + 1] = static_cast<uint8_t>(rgb >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(rgb >> 16);
    }
  }
  image = std::move(out);
}

uint32_t ColourAt(const TPixmap& image, int x, int y) {
  if (!Inside(image, x, y) || image.BitsPerPixel < 24) return 0;
  const uint8_t* p = image.Row(y) + static_cast<size_t>(x) * static_cast<size_t>(Bpp(image));
  return uint32_t{p[2]} | uint32_t{p[1]} << 8 | uint32_t{p[0]} << 16;
}

void SetColourAt(TPixmap& image, int x, int y, uint32_t colour) {
  if (!Inside(image, x, y) || image.BitsPerPixel < 24) return;
  uint8_t* p = image.Row(y) + static_cast<size_t>(x) * static_cast<size_t>(Bpp(image));
  p[0] = static_cast<uint8_t>(colour >> 16);
  p[1] = static_cast<uint8_t>(colour >> 8);
  p[2] = static_cast<uint8_t>(colour);
  if (image.BitsPerPixel == 32) p[3] = 255;
}

void FillRect(TPixmap& image, int left, int top, int right, int bottom, uint32_t colour) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, image.Width);
  bottom = std::min(bottom, image.Height);
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x)
      SetColourAt(image, x, y, colour);
  }
}

namespace {

// Copies one pixel (with its alpha when both images have one).
void Put(TPixmap& dst, int x, int y, const TPixmap& src, int sx, int sy) {
  int db = Bpp(dst), sb = Bpp(src);
  uint8_t* d = dst.Row(y) + static_cast<size_t>(x) * static_cast<size_t>(db);
  const uint8_t* s = src.Row(sy) + static_cast<size_t>(sx) * static_cast<size_t>(sb);
  d[0] = s[0];
  d[1] = s[1];
  d[2] = s[2];
  if (db == 4) d[3] = sb == 4 ? s[3] : 255;
}

}  // namespace

void StretchCopy(TPixmap& dst, int dx, int dy, int dw, int dh, const TPixmap& src, int sx, int sy,
                 int sw, int sh, bool halftone) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  if (dst.BitsPerPixel < 24 || src.BitsPerPixel < 24) return;
  int64_t dw64 = dw, dh64 = dh;
  for (int j = 0; j < dh; ++j) {
    int y = dy + j;
    if (y < 0 || y >= dst.Height) continue;
    int y0 = sy + static_cast<int>(int64_t{j} * sh / dh64);
    int y1 = std::max(y0 + 1, sy + static_cast<int>((int64_t{j} + 1) * sh / dh64));
    for (int i = 0; i < dw; ++i) {
      int x = dx + i;
      if (x < 0 || x >= dst.Width) continue;
      int x0 = sx + static_cast<int>(int64_t{i} * sw / dw64);
      if (!halftone || (sw <= dw && sh <= dh)) {
        if (Inside(src, x0, y0)) Put(dst, x, y, src, x0, y0);
        continue;
      }
      // Averaging the source block that maps onto this pixel.
      int x1 = std::max(x0 + 1, sx + static_cast<int>((int64_t{i} + 1) * sw / dw64));
      uint32_t sum[4] = {0, 0, 0, 0}, n = 0;
      for (int v = std::max(y0, 0); v < std::min(y1, src.Height); ++v) {
        const uint8_t* row = src.Row(v);
        for (int u = std::max(x0, 0); u < std::min(x1, src.Width); ++u) {
          const uint8_t* s = row + static_cast<size_t>(u) * static_cast<size_t>(Bpp(src));
          for (int c = 0; c < Bpp(src); ++c)
            sum[c] += s[c];
          ++n;
        }
      }
      if (n == 0) continue;
      uint8_t* d = dst.Row(y) + static_cast<size_t>(x) * static_cast<size_t>(Bpp(dst));
      for (int c = 0; c < 3; ++c)
        d[c] = static_cast<uint8_t>((sum[c] + n / 2) / n);
      if (Bpp(dst) == 4) d[3] = static_cast<uint8_t>(Bpp(src) == 4 ? (sum[3] + n / 2) / n : 255u);
    }
  }
}

void CopyRect(TPixmap& dst, int dx, int dy, const TPixmap& src, int sx, int sy, int w, int h) {
  StretchCopy(dst, dx, dy, w, h, src, sx, sy, w, h);
}

void DrawTransparent(TPixmap& dst, int dx, int dy, const TPixmap& src, int sx, int sy, int w, int h,
                     uint32_t key) {
  if (dst.BitsPerPixel < 24 || src.BitsPerPixel < 24) return;
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      int x = dx + i, y = dy + j, u = sx + i, v = sy + j;
      if (!Inside(dst, x, y) || !Inside(src, u, v)) continue;
      if (ColourAt(src, u, v) == key) continue;
      Put(dst, x, y, src, u, v);
    }
  }
}

void ResizeStretched(TPixmap& image, int width, int height) {
  TPixmap out = NewImage(width, height, image.BitsPerPixel == 32 ? 32 : 24);
  StretchCopy(out, 0, 0, width, height, image, 0, 0, image.Width, image.Height);
  image = std::move(out);
}

void ResizeCanvas(TPixmap& image, int width, int height, uint32_t fill) {
  TPixmap out = NewImage(width, height, image.BitsPerPixel == 32 ? 32 : 24, fill);
  CopyRect(out, 0, 0, image, 0, 0, image.Width, image.Height);
  image = std::move(out);
}
