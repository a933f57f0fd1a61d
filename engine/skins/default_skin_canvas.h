// The drawing kit of the built-in default skin: its palette, a small canvas
// over an engine pixmap, strips of cells, the glyph patterns and the shared
// button face. Private to the skin's drawing routines.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/colour.h"
#include "engine/image_ops.h"

namespace default_skin {

// ---- palette --------------------------------------------------------------

constexpr TColor C(int r, int g, int b) {
  return RGBColour(r, g, b);
}

// a weighted by p per mille, b by the rest.
inline TColor Lerp(TColor a, TColor b, int p) {
  p = std::clamp(p, 0, 1000);
  auto ch = [&](int x, int y) { return (x * p + y * (1000 - p) + 500) / 1000; };
  return C(ch(RedOf(a), RedOf(b)), ch(GreenOf(a), GreenOf(b)), ch(BlueOf(a), BlueOf(b)));
}

constexpr TColor kOutline = C(112, 120, 132);
constexpr TColor kOutlineDark = C(84, 92, 104);
constexpr TColor kOutlineSoft = C(160, 167, 178);
constexpr TColor kOutlineFaint = C(192, 197, 205);
constexpr TColor kFace = C(228, 231, 236);
constexpr TColor kMenu = C(248, 249, 251);
constexpr TColor kInk = C(36, 42, 52);
constexpr TColor kInkGrey = C(150, 156, 166);
constexpr TColor kAccent = C(70, 116, 188);
constexpr TColor kAccentDark = C(46, 84, 150);
constexpr TColor kAccentLight = C(166, 196, 238);
constexpr TColor kHotOutline = C(96, 140, 206);

// ---- a small canvas ---------------------------------------------------------

struct TCanvas {
  TPixmap img;
  TCanvas(int w, int h, TColor fill = kMagenta) : img(SolidImage(w, h, fill)) {}

  void Px(int x, int y, TColor c) { SetPixel(img, x, y, c); }
  TColor At(int x, int y) const { return GetPixel(img, x, y); }
  void Fill(int x1, int y1, int x2, int y2, TColor c) { FillRectangle(img, x1, y1, x2, y2, c); }
  // Mixes c into the pixel with `percent` weight.
  void Mix(int x, int y, TColor c, int percent) {
    if (x < 0 || y < 0 || x >= img.Width || y >= img.Height) return;
    Px(x, y, Lerp(c, At(x, y), percent * 10));
  }
  // A vertical gradient through up to three stops (top, middle, bottom).
  void VGrad(int x1, int y1, int x2, int y2, TColor top, TColor mid, TColor bottom) {
    const int h = y2 - y1;
    if (h <= 0) return;
    for (int y = y1; y < y2; ++y) {
      const int t = h == 1 ? 0 : (y - y1) * 1000 / (h - 1);
      const TColor c =
          t < 450 ? Lerp(mid, top, t * 1000 / 450) : Lerp(bottom, mid, (t - 450) * 1000 / 550);
      Fill(x1, y, x2, y + 1, c);
    }
  }
  void HGrad(int x1, int y1, int x2, int y2, TColor left, TColor mid, TColor right) {
    const int w = x2 - x1;
    if (w <= 0) return;
    for (int x = x1; x < x2; ++x) {
      const int t = w == 1 ? 0 : (x - x1) * 1000 / (w - 1);
      const TColor c =
          t < 450 ? Lerp(mid, left, t * 1000 / 450) : Lerp(right, mid, (t - 450) * 1000 / 550);
      Fill(x, y1, x + 1, y2, c);
    }
  }
  // Knocks the corners of a rectangle out to magenta in a quarter-circle of
  // radius r; `soft` blends the edge pixels with that colour instead of
  // leaving them hard (used where the background is known).
  void RoundCorners(int x1, int y1, int x2, int y2, int r, bool top = true, bool bottom = true) {
    for (int dy = 0; dy < r; ++dy) {
      for (int dx = 0; dx < r; ++dx) {
        const double ox = r - dx - 0.5, oy = r - dy - 0.5;
        if (ox * ox + oy * oy <= (r - 0.35) * (r - 0.35)) continue;
        if (top) {
          Px(x1 + dx, y1 + dy, kMagenta);
          Px(x2 - 1 - dx, y1 + dy, kMagenta);
        }
        if (bottom) {
          Px(x1 + dx, y2 - 1 - dy, kMagenta);
          Px(x2 - 1 - dx, y2 - 1 - dy, kMagenta);
        }
      }
    }
  }
  void Frame(int x1, int y1, int x2, int y2, TColor c) {
    Fill(x1, y1, x2, y1 + 1, c);
    Fill(x1, y2 - 1, x2, y2, c);
    Fill(x1, y1, x1 + 1, y2, c);
    Fill(x2 - 1, y1, x2, y2, c);
  }
  // A rounded outline: the frame with its corner pixels pulled inward.
  void RoundFrame(int x1, int y1, int x2, int y2, TColor c, int r) {
    Fill(x1 + r, y1, x2 - r, y1 + 1, c);
    Fill(x1 + r, y2 - 1, x2 - r, y2, c);
    Fill(x1, y1 + r, x1 + 1, y2 - r, c);
    Fill(x2 - 1, y1 + r, x2, y2 - r, c);
    for (int i = 1; i < r; ++i) {  // the diagonal steps of the corner
      Px(x1 + i, y1 + r - i, c);
      Px(x2 - 1 - i, y1 + r - i, c);
      Px(x1 + i, y2 - 1 - r + i, c);
      Px(x2 - 1 - i, y2 - 1 - r + i, c);
    }
  }
  // A pattern of '#' (ink) and '+' (half ink) centred in the rectangle.
  void Glyph(int x1, int y1, int x2, int y2, const std::vector<std::string>& rows, TColor ink,
             int shift = 0) {
    const int gh = static_cast<int>(rows.size());
    int gw = 0;
    for (const auto& r : rows)
      gw = std::max(gw, static_cast<int>(r.size()));
    const int ox = x1 + (x2 - x1 - gw) / 2 + shift, oy = y1 + (y2 - y1 - gh) / 2 + shift;
    for (int y = 0; y < gh; ++y)
      for (int x = 0; x < static_cast<int>(rows[static_cast<size_t>(y)].size()); ++x) {
        const char ch = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
        if (ch == '#') Px(ox + x, oy + y, ink);
        if (ch == '+') Mix(ox + x, oy + y, ink, 45);
      }
  }
  // Another canvas copied in at (x, y), magenta pixels left out.
  void Put(const TCanvas& other, int x, int y) {
    for (int yy = 0; yy < other.img.Height; ++yy)
      for (int xx = 0; xx < other.img.Width; ++xx) {
        const TColor c = other.At(xx, yy);
        if (c != kMagenta) Px(x + xx, y + yy, c);
      }
  }
  void PutAll(const TPixmap& other, int x, int y) {
    for (int yy = 0; yy < other.Height; ++yy)
      for (int xx = 0; xx < other.Width; ++xx)
        Px(x + xx, y + yy, GetPixel(other, xx, yy));
  }
};
// A strip of n cells side by side, each drawn by `cell`(canvas, index 0..n-1).
TPixmap Strip(int n, int w, int h, const std::function<void(TCanvas&, int)>& cell,
              TColor fill = kMagenta);
// Frames stacked top to bottom.
TPixmap Stack(int n, int w, int h, const std::function<void(TCanvas&, int)>& cell);

// ---- glyphs -------------------------------------------------------------------

extern const std::vector<std::string> kGlyphClose;
extern const std::vector<std::string> kGlyphMax;
extern const std::vector<std::string> kGlyphMin;
extern const std::vector<std::string> kGlyphRestore;
extern const std::vector<std::string> kArrowUp;
extern const std::vector<std::string> kArrowDown;
extern const std::vector<std::string> kArrowLeft;
extern const std::vector<std::string> kArrowRight;
extern const std::vector<std::string> kSmallUp;
extern const std::vector<std::string> kSmallDown;
extern const std::vector<std::string> kSmallLeft;
extern const std::vector<std::string> kSmallRight;
extern const std::vector<std::string> kCheckMark;

// ---- shared pieces ----------------------------------------------------------------

enum TState { kNormal, kPressed, kHot, kDisabled, kFocused };
// A rounded metallic button face in the rectangle, by state.
void ButtonFace(TCanvas& c, int x1, int y1, int x2, int y2, TState s, int radius = 3);

// ---- the pieces, one function per member bitmap ------------------------------

TPixmap TopBorder();
TPixmap BottomBorder();
TPixmap SideBorder(bool left);
TPixmap MenuBar();
TPixmap TitleButton(const std::vector<std::string>& glyph, bool danger);
TPixmap MdiControls();
TPixmap PushButton();
TPixmap CheckStrip();
TPixmap RadioStrip();
TPixmap Progress();
TPixmap GroupBoxEdge();
TPixmap GroupBoxLabel();
TPixmap Tabs();
TPixmap TabPane();
TPixmap StatusEdges();
TPixmap ToolButtons();
TPixmap ComboButton();
TPixmap ExtraImages();
TPixmap SunkEdge();
TPixmap HeaderBar();
TPixmap MenuItem();
TPixmap MenuBackground();
TPixmap ScrollCells();
TPixmap Shaft(bool vertical);
TPixmap Thumb(bool vertical);
TPixmap TrackThumbs(int direction);  // 0 both ways, 1 up, 2 down, 3 left, 4 right, 5 vertical
TPixmap UpDownButtons();
TPixmap UpDownGlyphs(bool vertical);

}  // namespace default_skin
