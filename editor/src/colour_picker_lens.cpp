// The screen pick's magnifier: the captured pixel under the cursor, the lens
// around it, where the magnifier goes and its hexadecimal label.
#include <algorithm>
#include <cstdio>

#include "editor/colour_picker.h"

uint32_t CapturedPixelAt(const TPixmap& screen, int x, int y) {
  if (screen.Width <= 0 || screen.Height <= 0) return 0;
  return PixelOf(screen, std::clamp(x, 0, screen.Width - 1), std::clamp(y, 0, screen.Height - 1));
}

namespace {

void Invert(TPixmap& img, int x, int y) {
  uint8_t* p = img.Row(y) + 3 * x;
  for (int n = 0; n < 3; ++n)
    p[n] = static_cast<uint8_t>(~p[n]);
}

}  // namespace

void DrawLens(const TPixmap& screen, int x, int y, TPixmap& lens) {
  lens = TPixmap(kLensSize, kLensSize, 24);
  const int left = x - kLensCursorCell, top = y - kLensCursorCell;
  for (int ly = 0; ly < kLensSize; ++ly) {
    uint8_t* row = lens.Row(ly);
    for (int lx = 0; lx < kLensSize; ++lx) {
      const uint32_t c = PixelOf(screen, left + lx / kLensZoom, top + ly / kLensZoom, kLensOutside);
      row[3 * lx] = static_cast<uint8_t>(BlueOf(c));
      row[3 * lx + 1] = static_cast<uint8_t>(GreenOf(c));
      row[3 * lx + 2] = static_cast<uint8_t>(RedOf(c));
    }
  }
  // The crosshair: (50, 30)-(50, 70) and (30, 50)-(70, 50), each pixel
  // inverted; (50, 50) lies on both and keeps its colour.
  for (int n = 30; n < 70; ++n) {
    Invert(lens, 50, n);
    Invert(lens, n, 50);
  }
}

TMagnifierPlace PlaceMagnifier(int x, int y, int screen_width, int screen_height, int panel_width,
                               int panel_height) {
  TMagnifierPlace p{x + 10, y + 8};
  if (p.Left + panel_width > screen_width) p.Left = x - 10 - panel_width;
  if (p.Top + panel_height > screen_height) p.Top = y - 8 - panel_height;
  p.Left = std::clamp(p.Left, 0, std::max(0, screen_width - panel_width));
  p.Top = std::clamp(p.Top, 0, std::max(0, screen_height - panel_height));
  return p;
}

std::string HexColourLabel(uint32_t colour) {
  char text[16];
  std::snprintf(text, sizeof text, "$00%02X%02X%02X", RedOf(colour), GreenOf(colour),
                BlueOf(colour));
  return text;
}
