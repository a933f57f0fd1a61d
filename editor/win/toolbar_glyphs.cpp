#include "toolbar_glyphs.h"

namespace {

void Box(TCanvas& c, int x, const RECT& r, TColor fill, TColor edge) {
  c.Brush().SetColor(fill);
  c.Pen().SetColor(edge);
  c.Rectangle(RECT{x + r.left, r.top, x + r.right, r.bottom});
}

void Line(TCanvas& c, int x, int x0, int y0, int x1, int y1, TColor colour) {
  c.Pen().SetColor(colour);
  c.MoveTo(x + x0, y0);
  c.LineTo(x + x1, y1);
}

void Page(TCanvas& c, int x) {
  Box(c, x, RECT{3, 1, 13, 15}, 0xFFFFFF, 0x606060);
  for (int y = 4; y <= 11; y += 3)
    Line(c, x, 5, y, 11, y, 0xB0B0B0);
}

void Folder(TCanvas& c, int x) {
  Box(c, x, RECT{1, 4, 8, 7}, 0x40C0F0, 0x2080A0);
  Box(c, x, RECT{1, 6, 15, 14}, 0x50D0FF, 0x2080A0);
}

void Disk(TCanvas& c, int x) {
  Box(c, x, RECT{2, 2, 14, 14}, 0xA05020, 0x602000);
  Box(c, x, RECT{4, 2, 12, 7}, 0xFFFFFF, 0x602000);
  Box(c, x, RECT{5, 10, 11, 14}, 0xC0C0C0, 0x602000);
}

void Arrows(TCanvas& c, int x) {
  c.Pen().SetWidth(2);
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.Pen().SetColor(0x20A020);
  ::Arc(c.Handle(), x + 2, 2, x + 14, 14, x + 14, 8, x + 8, 2);
  c.Pen().SetWidth(1);
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  Line(c, x, 11, 1, 14, 4, 0x20A020);
  Line(c, x, 14, 4, 10, 5, 0x20A020);
}

void Camera(TCanvas& c, int x) {
  Box(c, x, RECT{1, 4, 15, 13}, 0x505050, 0x202020);
  c.Brush().SetColor(0xE0A060);
  c.Ellipse(x + 5, 5, x + 11, 11);
}

void Window(TCanvas& c, int x) {
  Box(c, x, RECT{1, 2, 15, 14}, 0xFFFFFF, 0x804000);
  Box(c, x, RECT{1, 2, 15, 5}, 0xC06020, 0x804000);
}

void Plus(TCanvas& c, int x, TColor colour) {
  Box(c, x, RECT{7, 2, 9, 14}, colour, colour);
  Box(c, x, RECT{2, 7, 14, 9}, colour, colour);
}

void Cross(TCanvas& c, int x) {
  c.Pen().SetWidth(2);
  Line(c, x, 3, 3, 13, 13, 0x2020D0);
  Line(c, x, 13, 3, 3, 13, 0x2020D0);
  c.Pen().SetWidth(1);
}

void Import(TCanvas& c, int x) {
  Page(c, x);
  Box(c, x, RECT{6, 7, 10, 12}, 0x20A020, 0x20A020);
  Line(c, x, 4, 11, 8, 15, 0x20A020);
  Line(c, x, 12, 11, 8, 15, 0x20A020);
}

void Text(TCanvas& c, int x) {
  Page(c, x);
  Box(c, x, RECT{5, 3, 7, 6}, 0x804000, 0x804000);
}

void Tick(TCanvas& c, int x) {
  Page(c, x);
  c.Pen().SetWidth(2);
  Line(c, x, 4, 9, 7, 12, 0x20A020);
  Line(c, x, 7, 12, 13, 4, 0x20A020);
  c.Pen().SetWidth(1);
}

}  // namespace

void PaintToolbarGlyphs(TBitmap& strip) {
  strip.SetSize(16 * kToolbarGlyphCount, 16);
  TCanvas& c = strip.Canvas();
  c.Brush().SetColor(kToolbarGlyphKey);
  c.FillRect(RECT{0, 0, strip.Width(), 16});
  int x = 0;
  Window(c, x), Plus(c, x + 4, 0x20A020);  // convert
  Page(c, x += 16);                        // new
  Folder(c, x += 16);                      // open
  Disk(c, x += 16);                        // save
  Arrows(c, x += 16);                      // refresh
  Window(c, x += 16);                      // test
  Camera(c, x += 16);                      // snapshot
  Page(c, x += 16);                        // help commands (hidden)
  Page(c, x += 16);
  Disk(c, x += 16);
  Plus(c, x += 16, 0x20A020);  // add title button
  Plus(c, x += 16, 0xC06020);  // add preset colour (hidden)
  Cross(c, x += 16);           // delete
  Import(c, x += 16);          // import
  Text(c, x += 16);            // INI
  Tick(c, x += 16);            // check
}
