#include "engine/image_ops.h"

#include <algorithm>
#include <cstring>

namespace {

void Put(uint8_t* p, TColor c) {
  p[0] = static_cast<uint8_t>(BlueOf(c));
  p[1] = static_cast<uint8_t>(GreenOf(c));
  p[2] = static_cast<uint8_t>(RedOf(c));
}

TColor FromRGB(uint32_t rgb) {  // 0x00RRGGBB to 0x00BBGGRR
  return RGBColour(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                   static_cast<int>(rgb & 0xFF));
}

}  // namespace

TPixmap To24Bit(const TPixmap& src) {
  if (src.BitsPerPixel == 24) return src;
  TPixmap out(src.Width, src.Height, 24);
  for (int y = 0; y < src.Height; ++y) {
    uint8_t* row = out.Row(y);
    for (int x = 0; x < src.Width; ++x)
      Put(row + 3 * x, FromRGB(src.PixelRGB(x, y)));
  }
  return out;
}

TPixmap To32Bit(const TPixmap& src) {
  if (src.BitsPerPixel == 32) return src;
  TPixmap out(src.Width, src.Height, 32);
  for (int y = 0; y < src.Height; ++y) {
    uint8_t* row = out.Row(y);
    for (int x = 0; x < src.Width; ++x) {
      Put(row + 4 * x, FromRGB(src.PixelRGB(x, y)));
      row[4 * x + 3] = 255;
    }
  }
  return out;
}

void Ensure24Bit(TPixmap& image) {
  if (image.BitsPerPixel != 24) image = To24Bit(image);
}

TPixmap SolidImage(int width, int height, TColor colour) {
  TPixmap out(std::max(width, 0), std::max(height, 0), 24);
  FillRectangle(out, 0, 0, out.Width, out.Height, colour);
  return out;
}

TColor GetPixel(const TPixmap& image, int x, int y) {
  if (x < 0 || y < 0 || x >= image.Width || y >= image.Height) return kBlack;
  return FromRGB(image.PixelRGB(x, y));
}

void SetPixel(TPixmap& image, int x, int y, TColor colour) {
  if (x < 0 || y < 0 || x >= image.Width || y >= image.Height) return;
  if (image.BitsPerPixel != 24 && image.BitsPerPixel != 32) return;
  const int bpp = image.BitsPerPixel / 8;
  Put(image.Row(y) + bpp * x, ResolveColour(colour));
}

void FillRectangle(TPixmap& image, int x1, int y1, int x2, int y2, TColor colour) {
  if (image.BitsPerPixel != 24 && image.BitsPerPixel != 32) return;
  x1 = std::max(x1, 0);
  y1 = std::max(y1, 0);
  x2 = std::min(x2, image.Width);
  y2 = std::min(y2, image.Height);
  if (x1 >= x2 || y1 >= y2) return;
  colour = ResolveColour(colour);
  const int bpp = image.BitsPerPixel / 8;
  for (int y = y1; y < y2; ++y) {
    uint8_t* row = image.Row(y);
    for (int x = x1; x < x2; ++x)
      Put(row + bpp * x, colour);
  }
}

void ReplaceMagenta(TPixmap& image, TColor colour) {
  Ensure24Bit(image);
  colour = ResolveColour(colour);
  for (int y = 0; y < image.Height; ++y) {
    uint8_t* p = image.Row(y);
    for (int x = 0; x < image.Width; ++x, p += 3) {
      if (p[0] == 255 && p[1] == 0 && p[2] == 255) Put(p, colour);
    }
  }
}

void MirrorHorizontal(TPixmap& image) {
  Ensure24Bit(image);
  for (int y = 0; y < image.Height; ++y) {
    uint8_t* row = image.Row(y);
    for (int a = 0, b = image.Width - 1; a < b; ++a, --b) {
      for (int k = 0; k < 3; ++k)
        std::swap(row[3 * a + k], row[3 * b + k]);
    }
  }
}

void FlipVertical(TPixmap& image) {
  Ensure24Bit(image);
  const size_t n = static_cast<size_t>(image.Width) * 3;
  std::vector<uint8_t> tmp(n);
  for (int a = 0, b = image.Height - 1; a < b; ++a, --b) {
    if (n == 0) break;
    std::memcpy(tmp.data(), image.Row(a), n);
    std::memcpy(image.Row(a), image.Row(b), n);
    std::memcpy(image.Row(b), tmp.data(), n);
  }
}

namespace {

template <typename F>
void Rotate(TPixmap& image, F source_of) {
  const TPixmap src = To24Bit(image);
  TPixmap out(src.Height, src.Width, 24);
  for (int y = 0; y < out.Height; ++y) {
    uint8_t* row = out.Row(y);
    for (int x = 0; x < out.Width; ++x) {
      int sx = 0, sy = 0;
      source_of(x, y, src.Width, src.Height, sx, sy);
      std::memcpy(row + 3 * x, src.Row(sy) + 3 * sx, 3);
    }
  }
  image = std::move(out);
}

}  // namespace

void RotateLeft(TPixmap& image) {
  Rotate(image, [](int x, int y, int w, int, int& sx, int& sy) {
    sx = w - 1 - y;
    sy = x;
  });
}

void RotateRight(TPixmap& image) {
  Rotate(image, [](int x, int y, int, int h, int& sx, int& sy) {
    sx = y;
    sy = h - 1 - x;
  });
}

TPixmap CropImage(const TPixmap& src, int x, int y, int w, int h) {
  const int x1 = std::clamp(x, 0, src.Width), y1 = std::clamp(y, 0, src.Height);
  const int x2 = std::clamp(x + std::max(w, 0), x1, src.Width);
  const int y2 = std::clamp(y + std::max(h, 0), y1, src.Height);
  TPixmap out(x2 - x1, y2 - y1, 24);
  for (int yy = y1; yy < y2; ++yy) {
    uint8_t* row = out.Row(yy - y1);
    for (int xx = x1; xx < x2; ++xx)
      Put(row + 3 * (xx - x1), GetPixel(src, xx, yy));
  }
  return out;
}

TPixmap GradientImage(int width, int height, TColor start, TColor end, bool vertical) {
  TPixmap out(std::max(width, 0), std::max(height, 0), 24);
  const int n = vertical ? out.Height : out.Width;
  if (n <= 0) return out;
  const std::vector<TColor> ramp = GradientRamp(n, start, end);
  for (int i = 0; i < n; ++i) {
    if (vertical)
      FillRectangle(out, 0, i, out.Width, i + 1, ramp[static_cast<size_t>(i)]);
    else
      FillRectangle(out, i, 0, i + 1, out.Height, ramp[static_cast<size_t>(i)]);
  }
  return out;
}
