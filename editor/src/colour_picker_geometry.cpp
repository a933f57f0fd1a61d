// The picker's layout and positions, the colour models of its read-outs and
// the strip's palette.
#include <algorithm>
#include <cmath>

#include "editor/colour_picker.h"

namespace {

const double kSqrt075 = std::sqrt(0.75);

int Trunc(double v) {
  return static_cast<int>(std::trunc(v));
}

}  // namespace

TPickerLayout PickerLayoutFor(int width) {
  TPickerLayout l;
  l.DropAlignment = width > kPickerMaxWidth;
  l.Width = std::clamp(width, kPickerMinWidth, kPickerMaxWidth);
  if (l.Width <= 204) {
    l.FontSize = 6;
  } else if (l.Width <= 229) {
    l.FontSize = 7;
  } else {
    l.FontSize = 8;
  }
  l.MarkerSize = l.Width >= 330 ? 3 : 2;
  return l;
}

TPickerGeometry PickerGeometryFor(int width, int marker_size, int strip_width) {
  TPickerGeometry g;
  g.W = width;
  g.s = width - strip_width;
  g.k = g.s / 510.0;
  g.r = g.s / 2;
  g.d = Trunc((kSqrt075 - 1) * g.s / 2);
  g.x0 = Trunc(g.s + 1.5 * g.d);
  g.x1 = g.s - 1;
  g.sw = g.x1 - g.x0;
  g.o = g.s / 20;
  g.m = g.s / 50;
  g.L = g.x1 - 2 * g.o;
  g.cx = g.r + g.d + g.m;
  g.e = Trunc(kSqrt075 * 255 * g.k);
  g.h2 = Trunc(127.5 * g.k);
  g.c = marker_size;
  g.GreenBarLeft = Trunc(g.x0 + g.sw / 3.0);
  g.BlueBarLeft = Trunc(g.x0 + 2 * g.sw / 3.0);
  g.GreenPressLeft = Trunc(g.x0 + g.sw / 3.0 + 1);
  g.BluePressLeft = Trunc(g.x0 + 2 * g.sw / 3.0 + 1);
  return g;
}

TPickerMarks PickerMarksFor(const TPickerGeometry& g, uint32_t colour) {
  const double red = RedOf(colour), green = GreenOf(colour), blue = BlueOf(colour);
  TPickerMarks p;
  const int bottom = g.x1 - g.o;
  p.yR = bottom - Trunc(red * g.L / 255);
  p.yG = bottom - Trunc(green * g.L / 255);
  p.yB = bottom - Trunc(blue * g.L / 255);
  p.Bz = Trunc(g.r - blue * g.r / 255);
  p.Rx = Trunc(g.r - kSqrt075 * 255 * g.k * red / 255 + g.d + g.m);
  p.Ry = Trunc(red / 255 * 127.5 * g.k + g.r + 1);
  p.Gx = Trunc(kSqrt075 * 255 * g.k * green / 255 + g.r + g.d + g.m);
  p.Gy = Trunc(green / 255 * 127.5 * g.k + g.r + 1);
  p.Rtop = p.Ry - g.r + p.Bz;
  p.Gtop = p.Gy - g.r + p.Bz;
  p.Px = p.Rx + p.Gx - g.cx;
  p.Py = p.Ry + p.Gy - g.r;
  p.Qx = p.Px;
  p.Qy = p.Ry + p.Gy + p.Bz - 2 * g.r;
  return p;
}

namespace {

// Hue in degrees from the first channel equal to the maximum.
double HueDegrees(double red, double green, double blue, double max, double diff) {
  double h;
  if (red == max) {
    h = 60 * (green - blue) / diff;
  } else if (green == max) {
    h = 60 * (blue - red) / diff + 120;
  } else {
    h = 60 * (red - green) / diff + 240;
  }
  return h < 0 ? h + 360 : h;
}

}  // namespace

TColourTriple RgbToHsv(double red, double green, double blue) {
  const double max = std::max({red, green, blue}), min = std::min({red, green, blue});
  const double diff = max - min;
  const double s = max == 0 ? 0 : diff / max;
  const double h = s == 0 ? 0 : HueDegrees(red, green, blue, max, diff);
  return {h * 255 / 360, s * 255, max};
}

TColourTriple RgbToHls(double red, double green, double blue) {
  const double max = std::max({red, green, blue}), min = std::min({red, green, blue});
  const double l = (max + min) / 2;
  if (max == min) return {0, l, 0};
  const double s = (max - min) / (max + min);
  const double h = HueDegrees(red, green, blue, max, max - min);
  return {h * 255 / 360, l, s * 255};
}

namespace {

// Each segment of the strip: per channel a start fraction and its change
// over the segment.
struct TPaletteSegment {
  double Red, RedStep, Green, GreenStep, Blue, BlueStep;
};
constexpr TPaletteSegment kPaletteSegments[] = {
    {1, -1, 0, 0, 1, 0},             // magenta to blue
    {0, 0, 0, 1, 1, 0},              // blue to cyan
    {0, 0, 1, 0, 1, -1},             // cyan to green
    {0, 1, 1, 0, 0, 0},              // green to yellow
    {1, 0, 1, -1, 0, 0},             // yellow to red
    {1, -0.15, 0, 0.5, 0, 0.85},     // red to pink
    {0.85, -0.35, 0.5, 0, 0.85, 0},  // pink to lavender
    {0.5, 0, 0.5, 0.35, 0.85, 0},    // lavender to pale cyan
    {0.5, 0, 0.85, 0, 0.85, -0.35},  // pale cyan to pale green
    {0.5, 0.35, 0.85, 0, 0.5, 0},    // pale green to pale yellow
    {0.85, 0, 0.85, -0.35, 0.5, 0},  // pale yellow to pale red
};

}  // namespace

uint32_t PaletteColor(double t) {
  const double b = 1100 * t;
  if (!(b >= 0) || b >= 1100) return 0;  // black outside the strip (and for NaN)
  const int n = Trunc(b) / 100;
  const double u = (b - 100.0 * n) / 100;
  const TPaletteSegment& p = kPaletteSegments[n];
  return MakeColour(Trunc((p.Red + p.RedStep * u) * 255), Trunc((p.Green + p.GreenStep * u) * 255),
                    Trunc((p.Blue + p.BlueStep * u) * 255));
}

uint32_t PixelOf(const TPixmap& image, int x, int y, uint32_t fallback) {
  if (image.BitsPerPixel != 24 || x < 0 || y < 0 || x >= image.Width || y >= image.Height ||
      image.Pixels.size() < static_cast<size_t>(image.Stride()) * static_cast<size_t>(image.Height))
    return fallback;
  const uint8_t* p = image.Row(y) + 3 * x;
  return MakeColour(p[2], p[1], p[0]);
}
