// The picker's pictures, drawn straight into 24-bit pixel rows: the static
// image (bars, cube, strip, axes, frames, swatch) and the overlay (markers,
// the colour's box, handles, point and swatch). Every write is clipped to the
// image.
//
// Drawing conventions: a rectangle (left, top)-(right, bottom) excludes its
// right column and bottom row; an outline covers its first and last columns
// and rows; a line from A to B covers A but not B.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "editor/colour_picker.h"

namespace {

const double kSqrt075 = std::sqrt(0.75);
constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kGray = 0x808080, kSilver = 0xC0C0C0;

int Trunc(double v) {
  return static_cast<int>(std::trunc(v));
}
// Nearest integer, halves to even.
int RoundEven(double v) {
  return static_cast<int>(std::nearbyint(v));
}

void Put(TPixmap& img, int x, int y, uint32_t colour) {
  if (x < 0 || y < 0 || x >= img.Width || y >= img.Height) return;
  uint8_t* p = img.Row(y) + 3 * x;
  p[0] = static_cast<uint8_t>(BlueOf(colour));
  p[1] = static_cast<uint8_t>(GreenOf(colour));
  p[2] = static_cast<uint8_t>(RedOf(colour));
}

void FillRect(TPixmap& img, int left, int top, int right, int bottom, uint32_t colour) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, img.Width);
  bottom = std::min(bottom, img.Height);
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x)
      Put(img, x, y, colour);
}

void FrameRect(TPixmap& img, int left, int top, int right, int bottom, uint32_t colour) {
  if (right <= left || bottom <= top) return;
  for (int x = left; x < right; ++x) {
    Put(img, x, top, colour);
    Put(img, x, bottom - 1, colour);
  }
  for (int y = top; y < bottom; ++y) {
    Put(img, left, y, colour);
    Put(img, right - 1, y, colour);
  }
}

void Line(TPixmap& img, int x0, int y0, int x1, int y1, uint32_t colour) {
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  while (x0 != x1 || y0 != y1) {
    Put(img, x0, y0, colour);
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

// An ellipse in (left, top)-(right, bottom): pixels whose centres lie inside
// it are filled with `fill`; those of them next to an outside pixel are the
// outline in `pen`.
void Ellipse(TPixmap& img, int left, int top, int right, int bottom, uint32_t pen, uint32_t fill) {
  const double rx = (right - left) / 2.0, ry = (bottom - top) / 2.0;
  if (rx <= 0 || ry <= 0) return;
  const double cx = left + rx, cy = top + ry;
  auto inside = [&](int x, int y) {
    const double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
    return u * u + v * v <= 1.0;
  };
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) {
      if (!inside(x, y)) continue;
      const bool edge =
          !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
      Put(img, x, y, edge ? pen : fill);
    }
}

void DrawSliderBars(TPixmap& img, const TPickerGeometry& g) {
  for (int y = g.o + 1; y <= g.x1 - g.o; ++y) {
    const double t = (y - g.o) * 255.0 / (g.s - 2 * g.o);
    const int red = 255 - Trunc(t), other = 255 - RoundEven(t);
    for (int x = g.x0; x <= g.x1; ++x) {
      uint32_t colour;
      if (x < g.x0 + g.sw / 3.0) {
        colour = MakeColour(red, 0, 0);
      } else if (x < g.x0 + 2 * g.sw / 3.0) {
        colour = MakeColour(0, other, 0);
      } else {
        colour = MakeColour(0, 0, other);
      }
      Put(img, x - 1, y, colour);
    }
  }
}

// Three faces, each whole before the next: blue-cyan at the upper right,
// blue-magenta-red at the left, red-yellow-green at the bottom.
void DrawCube(TPixmap& img, const TPickerGeometry& g) {
  const double k = g.k;
  for (int i = 0; i <= 255; ++i)
    for (int j = 0; j <= 255; ++j)
      Put(img, g.cx + Trunc(kSqrt075 * j * k), 1 + Trunc((i + j / 2.0) * k),
          MakeColour(0, j, 255 - i));
  for (int i = 0; i <= 255; ++i)
    for (int j = 0; j <= 255; ++j)
      Put(img, g.cx - g.e + Trunc(kSqrt075 * j * k), 1 + g.h2 + Trunc((i - j / 2.0) * k),
          MakeColour(255 - j, 0, 255 - i));
  for (int i = 0; i <= 255; ++i)
    for (int j = 0; j <= 255; ++j)
      Put(img, g.cx - g.e + Trunc((kSqrt075 * (i + j) - 1) * k),
          1 + g.r + g.h2 + Trunc((j - i) / 2.0 * k), MakeColour(255 - i, j, 0));
}

// Per row: black, through the row's palette colour, to white; then the grey
// bar from white at the top to black.
void DrawStrip(TPixmap& img, const TPickerGeometry& g) {
  const int s = g.s;
  for (int y = 0; y < g.W; ++y) {
    const uint32_t p = PaletteColor(static_cast<double>(y) / g.W);
    const int ch[3] = {RedOf(p), GreenOf(p), BlueOf(p)};
    for (int x = s; x <= s + 43; ++x) {
      int v[3];
      for (int n = 0; n < 3; ++n)
        v[n] = x < s + 22 ? Trunc(ch[n] * (x - s) / 21.0)
                          : 255 + Trunc((ch[n] - 255) * (1 - (x - s - 22) / 22.0));
      Put(img, x, y, MakeColour(v[0], v[1], v[2]));
    }
    const int grey = std::clamp(255 - Trunc(255.0 * y / (s + 48)), 0, 255);
    for (int x = s + 44; x < g.W; ++x)
      Put(img, x, y, MakeColour(grey, grey, grey));
  }
}

void DrawSwatch(TPixmap& img, const TPickerGeometry& g, uint32_t colour) {
  FillRect(img, g.m, g.m, g.m - 2 * g.d, g.m - 2 * g.d, colour);
}

}  // namespace

void DrawPickerStatic(TPixmap& image, const TPickerGeometry& g, uint32_t background,
                      uint32_t colour) {
  if (g.W <= 0) {
    image = TPixmap();
    return;
  }
  if (image.Width != g.W || image.Height != g.W || image.BitsPerPixel != 24)
    image = TPixmap(g.W, g.W, 24);
  FillRect(image, 0, 0, g.W, g.W, background & 0xFFFFFF);
  DrawSliderBars(image, g);
  DrawCube(image, g);
  DrawStrip(image, g);
  Line(image, g.cx, 1, g.cx, g.r + 1, kBlack);
  Line(image, g.cx - g.e, g.h2 + g.r + 1, g.cx, g.r + 1, kBlack);
  Line(image, g.cx + g.e, g.h2 + g.r + 1, g.cx, g.r + 1, kBlack);
  const uint32_t frame = (background & 0xFFFFFF) == kGray ? kSilver : kGray;
  FrameRect(image, 0, 0, g.s, g.s + 3, frame);
  FrameRect(image, 0, g.s + 2, g.s, g.W, frame);
  FrameRect(image, g.s - 1, 0, g.W, g.W, frame);
  DrawSwatch(image, g, colour);
}

void DrawPickerOverlay(const TPixmap& static_image, TPixmap& overlay, const TPickerGeometry& g,
                       const TPickerMarks& p, uint32_t colour) {
  overlay = static_image;
  if (overlay.Width != g.W || overlay.Height != g.W || overlay.BitsPerPixel != 24) return;
  const int c = g.c;
  FrameRect(overlay, g.x0 - 1, p.yR - c, g.GreenBarLeft, p.yR + c, kWhite);
  FrameRect(overlay, g.GreenBarLeft, p.yG - c, g.BlueBarLeft, p.yG + c, kWhite);
  FrameRect(overlay, g.BlueBarLeft, p.yB - c, g.x1, p.yB + c, kWhite);

  Line(overlay, g.cx, p.Bz, p.Rx, p.Rtop, kBlack);
  Line(overlay, g.cx, p.Bz, p.Gx, p.Gtop, kBlack);
  Line(overlay, p.Rx, p.Rtop, p.Rx, p.Ry, kBlack);
  Line(overlay, p.Gx, p.Gtop, p.Gx, p.Gy, kBlack);
  Line(overlay, p.Rx, p.Ry, p.Px, p.Py, kBlack);
  Line(overlay, p.Gx, p.Gy, p.Px, p.Py, kBlack);
  Line(overlay, p.Rx, p.Rtop, p.Qx, p.Qy, kBlack);
  Line(overlay, p.Gx, p.Gtop, p.Qx, p.Qy, kBlack);
  Line(overlay, p.Px, p.Py, p.Qx, p.Qy, kBlack);

  for (auto [x, y] : {std::pair{g.cx, p.Bz}, std::pair{p.Rx, p.Ry}, std::pair{p.Gx, p.Gy}})
    FrameRect(overlay, x - c, y - c, x + c, y + c, kSilver);
  Ellipse(overlay, p.Qx - c, p.Qy - c, p.Qx + c, p.Qy + c, kWhite, colour & 0xFFFFFF);
  DrawSwatch(overlay, g, colour & 0xFFFFFF);
}
