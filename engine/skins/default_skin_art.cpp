#include "default_skin_art.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "engine/colour.h"
#include "engine/image_ops.h"
#include "format/skin_package.h"

namespace {

// ---- palette --------------------------------------------------------------

constexpr TColor C(int r, int g, int b) {
  return RGBColour(r, g, b);
}

// a weighted by p per mille, b by the rest.
TColor Lerp(TColor a, TColor b, int p) {
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
              TColor fill = kMagenta) {
  TCanvas strip(n * w, h, fill);
  for (int i = 0; i < n; ++i) {
    TCanvas c(w, h, fill);
    cell(c, i);
    strip.PutAll(c.img, i * w, 0);
  }
  return strip.img;
}
// Frames stacked top to bottom.
TPixmap Stack(int n, int w, int h, const std::function<void(TCanvas&, int)>& cell) {
  TCanvas strip(w, n * h);
  for (int i = 0; i < n; ++i) {
    TCanvas c(w, h);
    cell(c, i);
    strip.PutAll(c.img, 0, i * h);
  }
  return strip.img;
}

// ---- glyphs -------------------------------------------------------------------

const std::vector<std::string> kGlyphClose = {"##     ##", "###   ###", " ### ### ",
                                              "  #####  ", "   ###   ", "  #####  ",
                                              " ### ### ", "###   ###", "##     ##"};
const std::vector<std::string> kGlyphMax = {"#########", "#########", "#       #", "#       #",
                                            "#       #", "#       #", "#       #", "#########"};
const std::vector<std::string> kGlyphMin = {"", "", "", "", "", "", "########", "########"};
const std::vector<std::string> kGlyphRestore = {"   #######", "   #######", "   #     #",
                                                "#######  #", "#######  #", "#     ####",
                                                "#     #",    "#     #",    "#######"};
const std::vector<std::string> kArrowUp = {"   #   ", "  ###  ", " ##### ", "#######"};
const std::vector<std::string> kArrowDown = {"#######", " ##### ", "  ###  ", "   #   "};
const std::vector<std::string> kArrowLeft = {"   #", "  ##", " ###", "####",
                                             " ###", "  ##", "   #"};
const std::vector<std::string> kArrowRight = {"#   ", "##  ", "### ", "####",
                                              "### ", "##  ", "#   "};
const std::vector<std::string> kSmallUp = {"  #  ", " ### ", "#####"};
const std::vector<std::string> kSmallDown = {"#####", " ### ", "  #  "};
const std::vector<std::string> kSmallLeft = {"  #", " ##", "###", " ##", "  #"};
const std::vector<std::string> kSmallRight = {"#  ", "## ", "###", "## ", "#  "};
const std::vector<std::string> kCheckMark = {"      +#", "     +##", "#+  +##+", "##++##+ ",
                                             "+####+  ", " +##+   ", "  ++    "};

// ---- shared pieces ----------------------------------------------------------------

enum TState { kNormal, kPressed, kHot, kDisabled, kFocused };

// A rounded metallic button face in the rectangle, by state.
void ButtonFace(TCanvas& c, int x1, int y1, int x2, int y2, TState s, int radius = 3) {
  switch (s) {
    case kNormal:
    case kFocused:
      c.VGrad(x1, y1, x2, y2, C(252, 253, 254), C(234, 237, 241), C(212, 217, 224));
      break;
    case kHot:
      c.VGrad(x1, y1, x2, y2, C(253, 254, 255), C(226, 236, 249), C(198, 216, 240));
      break;
    case kPressed:
      c.VGrad(x1, y1, x2, y2, C(198, 204, 213), C(214, 219, 226), C(228, 232, 237));
      break;
    case kDisabled:
      c.VGrad(x1, y1, x2, y2, C(244, 245, 247), C(238, 240, 243), C(232, 234, 237));
      break;
  }
  const TColor outline = s == kHot        ? kHotOutline
                         : s == kFocused  ? kAccent
                         : s == kDisabled ? kOutlineFaint
                         : s == kPressed  ? kOutlineDark
                                          : kOutline;
  if (s != kPressed && s != kDisabled) {  // the glint under the top edge
    c.Fill(x1 + 2, y1 + 1, x2 - 2, y1 + 2, C(255, 255, 255));
    c.Fill(x1 + 1, y1 + 2, x1 + 2, y2 - 2, C(250, 251, 252));
  }
  if (s == kFocused)
    c.RoundFrame(x1 + 1, y1 + 1, x2 - 1, y2 - 1, kAccentLight, std::max(radius - 1, 1));
  c.RoundFrame(x1, y1, x2, y2, outline, radius);
  c.RoundCorners(x1, y1, x2, y2, radius);
}

// ---- the frame ------------------------------------------------------------------

constexpr int kCaption = 30;     // height of the top border (caption included)
constexpr int kSide = 5;         // width of the side borders
constexpr int kBottom = 5;       // height of the bottom border
constexpr int kTopMiddle = 80;   // width of the top and bottom strips
constexpr int kSideMiddle = 10;  // the part of a side stretched along the window

// The engine paints the side borders over the window's whole height and the
// top and bottom borders between them. The frame is drawn here as one piece
// around the window and cut along those lines, so the sides carry the
// corners (their top and bottom margins keep them unscaled) and every stripe
// runs on from one strip into the next.

// The caption band across the whole window: the middle becomes the top
// border, its ends the tops of the side borders.
TCanvas CaptionBand(bool active) {
  TCanvas c(kSide + kTopMiddle + kSide, kCaption);
  const int w = c.img.Width, h = c.img.Height;
  if (active)
    c.VGrad(0, 0, w, h, C(232, 238, 246), C(196, 208, 224), C(170, 184, 204));
  else
    c.VGrad(0, 0, w, h, C(240, 241, 243), C(222, 224, 228), C(206, 209, 214));
  // A brushed look: faint horizontal streaks.
  for (int y = 3; y < h - 2; y += 3)
    for (int x = 1; x < w - 1; ++x)
      c.Mix(x, y, C(255, 255, 255), ((x * 7 + y * 3) % 11 < 5) ? 14 : 6);
  c.Fill(1, 1, w - 1, 2, C(252, 253, 255));                          // top glint
  c.Fill(1, 2, 2, h, active ? C(238, 242, 248) : C(246, 247, 248));  // left glint
  c.Fill(w - 2, 2, w - 1, h, active ? C(150, 162, 180) : C(196, 199, 204));
  c.Fill(kSide - 1, h - 1, w - kSide + 1, h, active ? C(132, 144, 162) : C(184, 188, 194));
  const TColor outline = active ? kOutlineDark : C(150, 155, 163);
  c.RoundFrame(0, 0, w, h + 6, outline, 5);
  c.RoundCorners(0, 0, w, h + 6, 6, true, false);
  return c;
}

TPixmap TopBorder() {
  return Stack(2, kTopMiddle, kCaption, [](TCanvas& c, int f) {
    c.PutAll(CropImage(CaptionBand(f == 0).img, kSide, 0, kTopMiddle, kCaption), 0, 0);
  });
}

// The rows of the bottom border from the client area down, and the columns
// of a side border from the outside in.
struct TFrameStripes {
  TColor Bottom[kBottom];
  TColor Left[kSide];
  TColor Right[kSide];
};

TFrameStripes Stripes(bool active) {
  const TColor outline = active ? kOutlineDark : C(150, 155, 163);
  const TColor inner = active ? C(132, 144, 162) : C(184, 188, 194);
  const TColor face = active ? C(172, 186, 206) : C(206, 209, 214);
  const TColor mid = active ? C(184, 196, 214) : C(216, 218, 222);
  const TColor shade = active ? C(150, 162, 180) : C(196, 199, 204);  // the side in shadow
  return {{inner, face, face, active ? C(156, 170, 192) : C(196, 199, 204), outline},
          {outline, active ? C(214, 222, 234) : C(234, 235, 237), mid, face, inner},
          {outline, shade, mid, face, inner}};
}

TPixmap BottomBorder() {
  return Stack(2, kTopMiddle, kBottom, [](TCanvas& c, int f) {
    const TFrameStripes s = Stripes(f == 0);
    for (int y = 0; y < kBottom; ++y)
      c.Fill(0, y, kTopMiddle, y + 1, s.Bottom[y]);
  });
}

// A side border: the caption band's end on top, the side's stripes, and the
// bottom corner where they turn into the bottom border's rows (each pixel
// takes the stripe of the nearer edge), its outer pixels cut round.
TPixmap SideBorder(bool left) {
  return Strip(2, kSide, kCaption + kSideMiddle + kBottom, [left](TCanvas& c, int f) {
    const bool active = f == 0;
    const TFrameStripes s = Stripes(active);
    const TColor* cols = left ? s.Left : s.Right;
    const int band_x = left ? 0 : kSide + kTopMiddle;
    c.PutAll(CropImage(CaptionBand(active).img, band_x, 0, kSide, kCaption), 0, 0);
    const int corner = kCaption + kSideMiddle;  // first row of the bottom corner
    for (int i = 0; i < kSide; ++i) {
      const int x = left ? i : kSide - 1 - i;
      c.Fill(x, kCaption, x + 1, corner, cols[i]);
      for (int y = 0; y < kBottom; ++y) {
        const int from_bottom = kBottom - 1 - y;
        c.Px(x, corner + y, i < from_bottom ? cols[i] : s.Bottom[y]);
      }
    }
    const int outer = left ? 0 : kSide - 1, step = left ? 1 : -1;
    const int last = corner + kBottom - 1;
    c.Px(outer, last, kMagenta);
    c.Px(outer + step, last, kMagenta);
    c.Px(outer + step, last - 1, s.Bottom[kBottom - 1]);
  });
}

TPixmap MenuBar() {
  return Stack(2, 40, 20, [](TCanvas& c, int f) {
    const bool active = f == 0;
    if (active)
      c.VGrad(0, 0, 40, 20, C(248, 249, 251), C(238, 241, 245), C(226, 230, 236));
    else
      c.VGrad(0, 0, 40, 20, C(248, 248, 249), C(242, 243, 244), C(234, 235, 237));
    c.Fill(0, 19, 40, 20, active ? C(190, 198, 210) : C(210, 213, 218));
  });
}

// Title buttons: 4 frames (normal, pressed, hot, inactive) of 21 by 19.
TPixmap TitleButton(const std::vector<std::string>& glyph, bool danger) {
  return Strip(4, 21, 19, [&](TCanvas& c, int f) {
    static constexpr TState kOrder[] = {kNormal, kPressed, kHot, kDisabled};
    const TState s = kOrder[f];
    if (danger && s == kHot) {
      c.VGrad(0, 0, 21, 19, C(246, 150, 136), C(222, 84, 70), C(186, 46, 38));
      c.Fill(2, 1, 19, 2, C(252, 196, 188));
      c.RoundFrame(0, 0, 21, 19, C(140, 36, 30), 3);
      c.RoundCorners(0, 0, 21, 19, 3);
    } else if (danger && s == kPressed) {
      c.VGrad(0, 0, 21, 19, C(168, 40, 34), C(196, 62, 52), C(214, 90, 78));
      c.RoundFrame(0, 0, 21, 19, C(120, 28, 24), 3);
      c.RoundCorners(0, 0, 21, 19, 3);
    } else {
      ButtonFace(c, 0, 0, 21, 19, s);
    }
    TColor ink = s == kDisabled ? kInkGrey : kInk;
    if (danger && (s == kHot || s == kPressed)) ink = C(255, 255, 255);
    c.Glyph(0, 0, 21, 19, glyph, ink, s == kPressed ? 1 : 0);
  });
}

// MDI child buttons: minimise, restore, close, 4 frames of 16 by 14 each.
TPixmap MdiControls() {
  const std::vector<std::string> min = {"", "", "", "", "######", "######"};
  const std::vector<std::string> restore = {" #####", " #####", " #   #", "#####",
                                            "#####",  "#   #",  "#####"};
  const std::vector<std::string> close = {"#     #", " #   # ", "  # #  ", "   #   ",
                                          "  # #  ", " #   # ", "#     #"};
  const std::vector<std::string>* glyphs[3] = {&min, &restore, &close};
  return Strip(12, 16, 14, [&](TCanvas& c, int i) {
    static constexpr TState kOrder[] = {kNormal, kPressed, kHot, kDisabled};
    const TState s = kOrder[i % 4];
    ButtonFace(c, 0, 0, 16, 14, s, 2);
    c.Glyph(0, 0, 16, 14, *glyphs[i / 4], s == kDisabled ? kInkGrey : kInk, s == kPressed ? 1 : 0);
  });
}

// ---- controls ------------------------------------------------------------------------

// Push button: normal, pressed, disabled, hot, focused.
TPixmap PushButton() {
  return Strip(5, 28, 23, [](TCanvas& c, int f) {
    static constexpr TState kOrder[] = {kNormal, kPressed, kDisabled, kHot, kFocused};
    ButtonFace(c, 0, 0, 28, 23, kOrder[f], 3);
  });
}

// The box of a check box, by state (normal, hot, pressed, disabled).
void CheckBox(TCanvas& c, TState s) {
  const TColor outline = s == kHot ? kHotOutline : s == kDisabled ? kOutlineFaint : kOutline;
  if (s == kPressed)
    c.VGrad(1, 1, 12, 12, C(206, 212, 222), C(222, 227, 234), C(236, 239, 243));
  else if (s == kDisabled)
    c.Fill(1, 1, 12, 12, C(242, 243, 245));
  else
    c.VGrad(1, 1, 12, 12, C(226, 231, 238), C(246, 248, 250), C(255, 255, 255));
  c.Frame(0, 0, 13, 13, outline);
  if (s == kHot) c.Frame(1, 1, 12, 12, kAccentLight);
}

TPixmap CheckStrip() {
  // Unchecked, checked, indeterminate; each normal, hot, pressed, disabled.
  return Strip(12, 13, 13, [](TCanvas& c, int i) {
    static constexpr TState kOrder[] = {kNormal, kHot, kPressed, kDisabled};
    const TState s = kOrder[i % 4];
    CheckBox(c, s);
    const TColor ink = s == kDisabled ? kInkGrey : kAccentDark;
    if (i / 4 == 1) c.Glyph(2, 2, 11, 11, kCheckMark, ink);
    if (i / 4 == 2) {
      c.Fill(3, 3, 10, 10, s == kDisabled ? kOutlineFaint : kAccentLight);
      c.Fill(4, 4, 9, 9, s == kDisabled ? kInkGrey : kAccent);
    }
  });
}

// Coverage (0..1000) of a w by w pixel by a disc of radius r around (6.5, 6.5),
// from 4 by 4 samples.
int DiscCover(int x, int y, double r) {
  int inside = 0;
  for (int sy = 0; sy < 4; ++sy)
    for (int sx = 0; sx < 4; ++sx) {
      const double px = x + (sx + 0.5) / 4 - 6.5, py = y + (sy + 0.5) / 4 - 6.5;
      if (px * px + py * py <= r * r) ++inside;
    }
  return inside * 1000 / 16;
}

TPixmap RadioStrip() {
  // Unchecked and checked; each normal, hot, pressed, disabled. The rim is
  // smoothed against the button face the control sits on; pixels the disc
  // barely touches stay transparent.
  return Strip(8, 13, 13, [](TCanvas& c, int i) {
    static constexpr TState kOrder[] = {kNormal, kHot, kPressed, kDisabled};
    const TState s = kOrder[i % 4];
    const TColor rim = s == kHot ? kHotOutline : s == kDisabled ? kOutlineFaint : kOutline;
    const bool checked = i / 4 == 1;
    const TColor dot = s == kDisabled ? kInkGrey : kAccent;
    for (int y = 0; y < 13; ++y)
      for (int x = 0; x < 13; ++x) {
        const int outer = DiscCover(x, y, 6.4), inner = DiscCover(x, y, 5.3);
        if (outer < 150) continue;
        TColor fill;
        if (s == kPressed)
          fill = Lerp(C(208, 214, 224), C(238, 241, 245), (12 - y) * 1000 / 12);
        else if (s == kDisabled)
          fill = C(242, 243, 245);
        else
          fill = Lerp(C(222, 228, 236), C(255, 255, 255), (12 - y) * 1000 / 12);
        if (s == kHot && inner < 1000) fill = Lerp(kAccentLight, fill, 1000 - inner);
        if (checked) {
          TColor d = dot;
          if (s != kDisabled && x + y <= 11) d = Lerp(C(120, 160, 222), dot, 600);
          fill = Lerp(d, fill, DiscCover(x, y, 3.0));
        }
        TColor px = Lerp(fill, rim, inner);
        if (outer < 1000) px = Lerp(px, kFace, outer);
        c.Px(x, y, px);
      }
  });
}

// Progress bar: empty trough, filled bar.
TPixmap Progress() {
  return Strip(2, 20, 14, [](TCanvas& c, int f) {
    if (f == 0) {
      c.VGrad(1, 1, 19, 13, C(218, 223, 230), C(236, 239, 243), C(246, 247, 249));
      c.RoundFrame(0, 0, 20, 14, kOutlineSoft, 2);
    } else {
      c.VGrad(1, 1, 19, 13, C(170, 204, 246), C(88, 138, 210), C(62, 106, 180));
      c.Fill(2, 2, 18, 3, C(206, 226, 252));
      c.RoundFrame(0, 0, 20, 14, C(54, 88, 148), 2);
    }
    c.RoundCorners(0, 0, 20, 14, 2);
  });
}

TPixmap GroupBoxEdge() {
  return Strip(2, 20, 20, [](TCanvas& c, int f) {
    const TColor line = f == 0 ? C(178, 185, 196) : C(206, 210, 216);
    c.RoundFrame(1, 1, 20, 20, C(255, 255, 255), 3);
    c.RoundFrame(0, 0, 19, 19, line, 3);
  });
}

TPixmap GroupBoxLabel() {
  TCanvas c(40, 18);
  c.VGrad(0, 0, 40, 18, C(252, 253, 254), C(240, 243, 247), C(230, 234, 240));
  c.RoundFrame(0, 0, 40, 18, C(178, 185, 196), 4);
  c.RoundCorners(0, 0, 40, 18, 4);
  return c.img;
}

// Tabs: normal, selected, disabled, hot, normal again.
TPixmap Tabs() {
  return Strip(5, 40, 22, [](TCanvas& c, int f) {
    const int top = f == 1 ? 0 : 2;
    switch (f) {
      case 1:
        c.VGrad(0, top, 40, 22, C(255, 255, 255), C(250, 251, 252), C(246, 247, 249));
        break;
      case 2:
        c.Fill(0, top, 40, 22, C(238, 240, 243));
        break;
      case 3:
        c.VGrad(0, top, 40, 22, C(252, 253, 255), C(230, 238, 249), C(214, 226, 242));
        break;
      default:
        c.VGrad(0, top, 40, 22, C(246, 247, 249), C(232, 235, 240), C(220, 224, 231));
        break;
    }
    const TColor line = f == 2 ? kOutlineFaint : kOutlineSoft;
    c.Fill(0, top + 3, 1, 22, line);
    c.Fill(39, top + 3, 40, 22, line);
    c.Fill(3, top, 37, top + 1, line);
    c.Px(1, top + 2, line);
    c.Px(2, top + 1, line);
    c.Px(38, top + 2, line);
    c.Px(37, top + 1, line);
    if (f == 1) {  // the selected tab carries an accent along its top
      c.Fill(3, top, 37, top + 1, kAccent);
      c.Fill(2, top + 1, 38, top + 2, kAccentLight);
    }
    if (f == 3) c.Fill(3, top, 37, top + 1, kHotOutline);
    if (f != 1) c.Fill(0, 21, 40, 22, kOutlineSoft);
    // Rounded top corners; everything above a lower tab is transparent.
    for (int y = 0; y < top; ++y)
      c.Fill(0, y, 40, y + 1, kMagenta);
    c.Px(0, top, kMagenta);
    c.Px(1, top, kMagenta);
    c.Px(0, top + 1, kMagenta);
    c.Px(0, top + 2, kMagenta);
    c.Px(2, top, kMagenta);
    c.Px(1, top + 1, kMagenta);
    c.Px(39, top, kMagenta);
    c.Px(38, top, kMagenta);
    c.Px(39, top + 1, kMagenta);
    c.Px(39, top + 2, kMagenta);
    c.Px(37, top, kMagenta);
    c.Px(38, top + 1, kMagenta);
  });
}

TPixmap TabPane() {
  TCanvas c(30, 30, C(250, 251, 252));
  c.VGrad(1, 1, 29, 29, C(252, 253, 254), C(248, 249, 251), C(242, 244, 247));
  c.Frame(0, 0, 30, 30, kOutlineSoft);
  return c.img;
}

// Status bar panels: lowered, raised, flat.
TPixmap StatusEdges() {
  return Strip(3, 16, 16, [](TCanvas& c, int f) {
    c.Fill(0, 0, 16, 16, C(236, 238, 242));
    if (f == 0) {
      c.Fill(0, 0, 16, 1, kOutlineSoft);
      c.Fill(0, 0, 1, 16, kOutlineSoft);
      c.Fill(0, 15, 16, 16, C(255, 255, 255));
      c.Fill(15, 0, 16, 16, C(255, 255, 255));
    } else if (f == 1) {
      c.Fill(0, 0, 16, 1, C(255, 255, 255));
      c.Fill(0, 0, 1, 16, C(255, 255, 255));
      c.Fill(0, 15, 16, 16, kOutlineSoft);
      c.Fill(15, 0, 16, 16, kOutlineSoft);
    }
  });
}

// Tool buttons: flat (transparent) normal, pressed, disabled, hot, checked.
TPixmap ToolButtons() {
  return Strip(5, 24, 24, [](TCanvas& c, int f) {
    if (f == 1) ButtonFace(c, 0, 0, 24, 24, kPressed, 3);
    if (f == 3) ButtonFace(c, 0, 0, 24, 24, kHot, 3);
    if (f == 4) {
      c.VGrad(0, 0, 24, 24, C(214, 226, 242), C(224, 234, 247), C(234, 241, 250));
      c.RoundFrame(0, 0, 24, 24, kHotOutline, 3);
      c.RoundCorners(0, 0, 24, 24, 3);
    }
  });
}

// Combo box button (drawn in the right 19 columns of the field): normal,
// hot, pressed, disabled.
TPixmap ComboButton() {
  return Strip(4, 19, 21, [](TCanvas& c, int f) {
    static constexpr TState kOrder[] = {kNormal, kHot, kPressed, kDisabled};
    const TState s = kOrder[f];
    ButtonFace(c, 0, 0, 19, 21, s, 2);
    // Flat left side where the button meets the field.
    c.Fill(0, 0, 1, 21, s == kDisabled ? kOutlineFaint : kOutlineSoft);
  });
}

// Arrows centred in the combo button (normal, hot, pressed, disabled), then
// the size grip.
TPixmap ExtraImages() {
  return Strip(5, 12, 12, [](TCanvas& c, int i) {
    if (i < 4) {
      c.Glyph(0, 0, 12, 12, kArrowDown, i == 3 ? kInkGrey : kInk, i == 2 ? 1 : 0);
      return;
    }
    for (int k = 0; k < 4; ++k)
      for (int j = 0; j <= k; ++j) {
        const int x = 10 - 3 * j, y = 10 - 3 * (k - j);
        c.Px(x, y, C(255, 255, 255));
        c.Px(x - 1, y - 1, kOutline);
        c.Px(x, y - 1, kOutlineSoft);
        c.Px(x - 1, y, kOutlineSoft);
      }
  });
}

// Edit and combo field: normal, hot, focused, disabled.
TPixmap SunkEdge() {
  return Strip(4, 20, 21, [](TCanvas& c, int f) {
    const TColor line = f == 1   ? kHotOutline
                        : f == 2 ? kAccent
                        : f == 3 ? kOutlineFaint
                                 : kOutlineSoft;
    c.Fill(1, 1, 19, 20, f == 3 ? C(244, 245, 247) : C(255, 255, 255));
    c.Fill(1, 1, 19, 2, f == 3 ? C(236, 238, 241) : C(232, 235, 240));  // inner shade
    c.RoundFrame(0, 0, 20, 21, line, 2);
    c.RoundCorners(0, 0, 20, 21, 2);
  });
}

TPixmap HeaderBar() {
  return Strip(5, 30, 20, [](TCanvas& c, int f) {
    if (f == 1)
      c.VGrad(0, 0, 30, 20, C(253, 254, 255), C(232, 240, 250), C(216, 228, 244));
    else if (f == 2)
      c.VGrad(0, 0, 30, 20, C(214, 220, 228), C(226, 230, 236), C(236, 239, 243));
    else
      c.VGrad(0, 0, 30, 20, C(254, 254, 255), C(244, 246, 248), C(228, 232, 237));
    c.Fill(0, 19, 30, 20, kOutlineSoft);
    c.Fill(28, 3, 29, 17, kOutlineFaint);
    c.Fill(29, 3, 30, 17, C(255, 255, 255));
    if (f == 1) c.Fill(0, 18, 30, 19, kHotOutline);
  });
}

// Menu entries: normal, (unused), (unused), selected, selected but disabled.
TPixmap MenuItem() {
  return Strip(5, 30, 20, [](TCanvas& c, int f) {
    c.Fill(0, 0, 30, 20, kMenu);
    if (f < 3) return;
    const bool enabled = f == 3;
    c.VGrad(1, 1, 29, 19, enabled ? C(232, 240, 251) : C(244, 245, 247),
            enabled ? C(214, 228, 247) : C(236, 238, 241),
            enabled ? C(196, 214, 240) : C(228, 231, 235));
    c.RoundFrame(0, 0, 30, 20, enabled ? C(126, 160, 214) : kOutlineFaint, 3);
    // Corners smoothed into the menu's own colour.
    for (auto [x, y] : {std::pair{0, 0}, {29, 0}, {0, 19}, {29, 19}})
      c.Px(x, y, kMenu);
    for (auto [x, y] :
         {std::pair{1, 0}, {0, 1}, {28, 0}, {29, 1}, {0, 18}, {1, 19}, {28, 19}, {29, 18}})
      c.Mix(x, y, kMenu, 60);
  });
}

TPixmap MenuBackground() {
  TCanvas c(40, 40);
  c.Fill(0, 0, 40, 40, kMenu);
  c.Frame(0, 0, 40, 40, C(150, 158, 170));
  c.Frame(1, 1, 39, 39, C(255, 255, 255));
  return c.img;
}

// Scroll bar cells: four arrows in four states (normal, pressed, disabled,
// hot), the grippers of the horizontal and vertical thumbs (normal,
// pressed, hot), and a corner cell.
TPixmap ScrollCells() {
  const std::vector<std::string>* arrows[4] = {&kArrowLeft, &kArrowRight, &kArrowUp, &kArrowDown};
  return Strip(23, 17, 17, [&](TCanvas& c, int i) {
    if (i < 16) {
      static constexpr TState kOrder[] = {kNormal, kPressed, kDisabled, kHot};
      const TState s = kOrder[i % 4];
      ButtonFace(c, 0, 0, 17, 17, s, 2);
      c.Glyph(0, 0, 17, 17, *arrows[i / 4], s == kDisabled ? kInkGrey : kInk,
              s == kPressed ? 1 : 0);
      return;
    }
    if (i < 22) {
      const bool horizontal_thumb = i < 19;
      const int state = (i - 16) % 3;
      const TColor dark = state == 2 ? kHotOutline : kOutline;
      for (int k = -1; k <= 1; ++k) {
        if (horizontal_thumb) {  // upright grooves across a horizontal thumb
          c.Fill(8 + 3 * k, 5, 9 + 3 * k, 12, dark);
          c.Fill(9 + 3 * k, 5, 10 + 3 * k, 12, C(255, 255, 255));
        } else {
          c.Fill(5, 8 + 3 * k, 12, 9 + 3 * k, dark);
          c.Fill(5, 9 + 3 * k, 12, 10 + 3 * k, C(255, 255, 255));
        }
      }
      return;
    }
    c.Fill(0, 0, 17, 17, C(232, 235, 239));
  });
}

// The shaft: normal, pressed, disabled, hot; along x, or turned for y.
TPixmap Shaft(bool vertical) {
  const int w = vertical ? 17 : 24, h = vertical ? 24 : 17;
  return Strip(4, w, h, [=](TCanvas& c, int f) {
    const TColor a = f == 1 ? C(204, 210, 218) : f == 2 ? C(240, 241, 243) : C(222, 226, 232);
    const TColor m = f == 1 ? C(214, 219, 226) : f == 2 ? C(242, 243, 245) : C(234, 237, 241);
    const TColor b = f == 2 ? C(244, 245, 246) : C(244, 246, 248);
    if (vertical) {
      c.HGrad(0, 0, w, h, a, m, b);
      c.Fill(0, 0, 1, h, kOutlineFaint);
    } else {
      c.VGrad(0, 0, w, h, a, m, b);
      c.Fill(0, 0, w, 1, kOutlineFaint);
    }
  });
}

// The thumb: normal, pressed, hot.
TPixmap Thumb(bool vertical) {
  const int w = vertical ? 17 : 24, h = vertical ? 24 : 17;
  return Strip(3, w, h, [=](TCanvas& c, int f) {
    static constexpr TState kOrder[] = {kNormal, kPressed, kHot};
    const TState s = kOrder[f];
    if (vertical) {
      // Shaded across the thumb, so turned by a quarter.
      TCanvas t(h, w);
      ButtonFace(t, 0, 0, h, w, s, 3);
      TPixmap img = t.img;
      RotateRight(img);
      c.PutAll(img, 0, 0);
    } else {
      ButtonFace(c, 0, 0, w, h, s, 3);
    }
  });
}

// Track-bar thumbs, 5 cells: normal, hot, pressed, focused, disabled. The
// pointed shape points up; the other directions are turned copies.
TCanvas ThumbCell(int cell, bool pointed) {
  static constexpr TState kOrder[] = {kNormal, kHot, kPressed, kFocused, kDisabled};
  const TState s = kOrder[cell];
  TCanvas c(11, 20);
  ButtonFace(c, 0, 0, 11, 20, s, 2);
  if (pointed) {
    // Cut the top into a point: rows 0..5 narrow toward the middle.
    const TColor outline = s == kHot        ? kHotOutline
                           : s == kFocused  ? kAccent
                           : s == kDisabled ? kOutlineFaint
                           : s == kPressed  ? kOutlineDark
                                            : kOutline;
    for (int y = 0; y < 6; ++y) {
      const int half = y;  // half-width of the row
      for (int x = 0; x < 11; ++x) {
        const int d = std::abs(x - 5);
        if (d > half)
          c.Px(x, y, kMagenta);
        else if (d == half)
          c.Px(x, y, outline);
      }
    }
    c.Fill(0, 6, 1, 18, outline);
    c.Fill(10, 6, 11, 18, outline);
  }
  // Grip lines.
  for (int k = 0; k < 3; ++k)
    c.Fill(3, 9 + 2 * k, 8, 10 + 2 * k, s == kDisabled ? kOutlineFaint : kOutlineSoft);
  return c;
}

TPixmap TrackThumbs(int direction) {  // 0 both ways, 1 up, 2 down, 3 left, 4 right, 5 vertical
  const bool wide = direction >= 3;
  return Strip(5, wide ? 20 : 11, wide ? 11 : 20, [=](TCanvas& c, int i) {
    TPixmap cell = ThumbCell(i, direction != 0 && direction != 5).img;
    if (direction == 2) FlipVertical(cell);
    if (direction == 3) RotateLeft(cell);
    if (direction == 4) RotateRight(cell);
    if (direction == 5) RotateLeft(cell);
    c.PutAll(cell, 0, 0);
  });
}

// Spin buttons (shared by both directions): first half, second half; each
// normal, pressed, hot, disabled.
TPixmap UpDownButtons() {
  return Strip(8, 16, 16, [](TCanvas& c, int i) {
    static constexpr TState kOrder[] = {kNormal, kPressed, kHot, kDisabled};
    ButtonFace(c, 0, 0, 16, 16, kOrder[i % 4], 2);
  });
}

TPixmap UpDownGlyphs(bool vertical) {
  return Strip(8, 16, 16, [=](TCanvas& c, int i) {
    const bool first = i < 4;
    const std::vector<std::string>& g =
        vertical ? (first ? kSmallUp : kSmallDown) : (first ? kSmallLeft : kSmallRight);
    const int state = i % 4;
    c.Glyph(0, 0, 16, 16, g, state == 3 ? kInkGrey : kInk, state == 1 ? 1 : 0);
  });
}

// ---- the INI ------------------------------------------------------------------------------

const char kIni[] =
    "; The built-in metallic skin. Generated by mkdefaultskin.\r\n"
    "[Skins]\r\n"
    "Version=200\r\n"
    "Name=Metallic\r\n"
    "\r\n"
    "[Personality]\r\n"
    "Left=left.bmp\r\nLeftFrame=2\r\nLeftStretch=1\r\nLeftTrans=1\r\nLeftTopHeight=30\r\n"
    "LeftBotHeight=5\r\n"
    "Right=right.bmp\r\nRightFrame=2\r\nRightStretch=1\r\nRightTrans=1\r\nRightTopHeight=30\r\n"
    "RightBotHeight=5\r\n"
    "Top=top.bmp\r\nTopFrame=2\r\nTopStretch=1\r\nTopTrans=1\r\nTopTopHeight=0\r\n"
    "TopBotHeight=0\r\n"
    "Bottom=bottom.bmp\r\nBottomFrame=2\r\nBottomStretch=1\r\nBottomTrans=1\r\n"
    "BottomTopHeight=0\r\nBottomBotHeight=0\r\n"
    "TextShift=26\r\nTextShiftVert=0\r\nTextRightClip=4\r\nTextAlignment=0\r\n"
    "menuBar=menubar.bmp\r\nTileMenu=1\r\nTileLeftMenu=2\r\nTileRightMenu=2\r\n"
    "\r\n"
    "[Colours]\r\n"
    "WindowText=20 24 30\r\n"
    "ButtonFace=228 231 236\r\n"
    "Scrollbar=232 235 239\r\n"
    "HilightText=255 255 255\r\n"
    "Hilight=74 118 186\r\n"
    "Menubar=236 239 243\r\n"
    "Menu=248 249 251\r\n"
    "MenuText=20 24 30\r\n"
    "ButtonText=20 24 30\r\n"
    "ButtonHilight=255 255 255\r\n"
    "Buttonlight=242 244 247\r\n"
    "ButtonShadow=160 167 178\r\n"
    "ButtonDkShadow=84 92 104\r\n"
    "MenuBarText=20 24 30\r\n"
    "TitleTextActive=22 30 44\r\n"
    "TitleTextNoActive=120 126 136\r\n"
    "\r\n"
    "[Colour1]\r\ncolor=74 118 186\r\n"
    "[Colour2]\r\ncolor=112 120 132\r\n"
    "\r\n"
    "[Customcolors]\r\n"
    "Color0=228 231 236\r\nColor1=196 208 224\r\nColor2=160 167 178\r\nColor3=112 120 132\r\n"
    "Color4=84 92 104\r\nColor5=74 118 186\r\nColor6=166 196 238\r\nColor7=222 84 70\r\n"
    "Color8=248 249 251\r\nColor9=20 24 30\r\n"
    "\r\n"
    "[Button0]\r\nButtonImage=close.bmp\r\nAlign=1\r\nXCoord=28\r\nYCoord=6\r\nAction=0\r\n"
    "Visibility=0\r\nFrame=4\r\n"
    "[Button1]\r\nButtonImage=max.bmp\r\nAlign=1\r\nXCoord=51\r\nYCoord=6\r\nAction=1\r\n"
    "Visibility=2\r\nVisibility1=6\r\nFrame=4\r\n"
    "[Button2]\r\nButtonImage=min.bmp\r\nAlign=1\r\nXCoord=74\r\nYCoord=6\r\nAction=2\r\n"
    "Visibility=8\r\nFrame=4\r\n"
    "[Button3]\r\nButtonImage=restore.bmp\r\nAlign=1\r\nXCoord=51\r\nYCoord=6\r\nAction=1\r\n"
    "Visibility=1\r\nVisibility1=6\r\nFrame=4\r\n"
    "[Button4]\r\nAlign=0\r\nXCoord=8\r\nYCoord=7\r\nAction=3\r\nVisibility=0\r\n"
    "\r\n"
    "[MDICONTROLS]\r\nImage=mdicontrols.bmp\r\n"
    "\r\n"
    "[Buttons]\r\nBitmap=button.bmp\r\nLeftWidth=5\r\nRightWidth=5\r\nTopHeight=5\r\n"
    "BottomHeight=5\r\nTrans=1\r\nTile=0\r\nCheckButton=check.bmp\r\nRadioButton=radio.bmp\r\n"
    "\r\n"
    "[Progress]\r\nBitmap=progress.bmp\r\nStyle=0\r\nLeftWidth=3\r\nRightWidth=3\r\nTopHeight=3\r\n"
    "BottomHeight=3\r\nTrans=1\r\nTile=0\r\n"
    "[GroupBoxEdge]\r\nImage=groupboxedge.bmp\r\nLeftWidth=6\r\nRightWidth=6\r\nTopHeight=6\r\n"
    "BottomHeight=6\r\nTrans=1\r\n"
    "[GroupBox]\r\nImage=groupbox.bmp\r\nLeftWidth=6\r\nRightWidth=6\r\nTopHeight=0\r\n"
    "BottomHeight=0\r\nTrans=1\r\nBackgroundAlignment=0\r\nBackgroundLeftShift=4\r\n"
    "BackgroundRightShift=4\r\n"
    "[Tabs]\r\nImage=tabs.bmp\r\nStyle=1\r\nLeftWidth=5\r\nRightWidth=5\r\nTopHeight=5\r\n"
    "BottomHeight=2\r\nTrans=1\r\nNormalColour2=60 66 78\r\nMouseOverColour2=20 24 30\r\n"
    "[Tab.Pane]\r\nImage=tabpane.bmp\r\nLeftWidth=2\r\nRightWidth=2\r\nTopHeight=2\r\n"
    "BottomHeight=2\r\n"
    "[StatusBarEdges]\r\nImage=statusbar.bmp\r\nLeftWidth=2\r\nRightWidth=2\r\nTopHeight=2\r\n"
    "BottomHeight=2\r\n"
    "[ToolBars]\r\nImage=toolbuttons.bmp\r\nLeftWidth=4\r\nRightWidth=4\r\nTopHeight=4\r\n"
    "BottomHeight=4\r\nTrans=1\r\n"
    "[ComboButton]\r\nImage=combobutton.bmp\r\nLeftWidth=3\r\nRightWidth=3\r\nTopHeight=3\r\n"
    "BottomHeight=3\r\nTrans=1\r\n"
    "[SunkEdge]\r\nImage=sunkedge.bmp\r\nLeftWidth=3\r\nRightWidth=3\r\nTopHeight=3\r\n"
    "BottomHeight=3\r\nTrans=1\r\n"
    "[ExtraImages]\r\nImage=extraimages.bmp\r\nTrans=1\r\n"
    "[Headerbar]\r\nImage=headerbar.bmp\r\nFrame=5\r\nLeftWidth=3\r\nRightWidth=3\r\n"
    "TopHeight=3\r\nBottomHeight=3\r\n"
    "[MenuItem]\r\nImage=menuitem.bmp\r\nLeftWidth=4\r\nRightWidth=4\r\nTopHeight=4\r\n"
    "BottomHeight=4\r\nNormalColour2=20 24 30\r\nMouseOverColour2=10 14 22\r\n"
    "[MenuBackground]\r\nImage=menuback.bmp\r\nLeftWidth=3\r\nRightWidth=3\r\nTopHeight=3\r\n"
    "BottomHeight=3\r\n"
    "[Scrollbar]\r\nImage=scrollbar.bmp\r\nTrans=1\r\n"
    "[HorzScroll]\r\nImage=hscroll.bmp\r\nLeftWidth=2\r\nRightWidth=2\r\nTopHeight=0\r\n"
    "BottomHeight=0\r\n"
    "[VertScroll]\r\nImage=vscroll.bmp\r\nLeftWidth=0\r\nRightWidth=0\r\nTopHeight=2\r\n"
    "BottomHeight=2\r\n"
    "[HorzScrollThumb]\r\nImage=hthumb.bmp\r\nFrameCount=3\r\nLeftWidth=5\r\nRightWidth=5\r\n"
    "TopHeight=4\r\nBottomHeight=4\r\nTrans=1\r\n"
    "[VertScrollThumb]\r\nImage=vthumb.bmp\r\nFrameCount=3\r\nLeftWidth=4\r\nRightWidth=4\r\n"
    "TopHeight=5\r\nBottomHeight=5\r\nTrans=1\r\n"
    "[Trackbar.ThumbHorz]\r\nImage=thumbhorz.bmp\r\nTrans=1\r\n"
    "[Trackbar.ThumbVert]\r\nImage=thumbvert.bmp\r\nTrans=1\r\n"
    "[Trackbar.ThumbLeft]\r\nImage=thumbleft.bmp\r\nTrans=1\r\n"
    "[Trackbar.ThumbRight]\r\nImage=thumbright.bmp\r\nTrans=1\r\n"
    "[Trackbar.ThumbUp]\r\nImage=thumbup.bmp\r\nTrans=1\r\n"
    "[Trackbar.ThumbDown]\r\nImage=thumbdown.bmp\r\nTrans=1\r\n"
    "[UpDown.Horz]\r\nImage=updown.bmp\r\nGlyphImage=spinglyphsh.bmp\r\nLeftWidth=3\r\n"
    "RightWidth=3\r\nTopHeight=3\r\nBottomHeight=3\r\nTrans=1\r\n"
    "[UpDown.Vert]\r\nImage=updown.bmp\r\nGlyphImage=spinglyphsv.bmp\r\nLeftWidth=3\r\n"
    "RightWidth=3\r\nTopHeight=3\r\nBottomHeight=3\r\nTrans=1\r\n";

}  // namespace

std::vector<TSkinFileEntry> MakeDefaultSkinMembers() {
  std::vector<TSkinFileEntry> m;
  const std::string ini = kIni;
  m.push_back({"metallic.ini", std::vector<uint8_t>(ini.begin(), ini.end())});
  auto add = [&](const char* name, const TPixmap& img) { m.push_back({name, EncodeBmp(img)}); };
  add("left.bmp", SideBorder(true));
  add("right.bmp", SideBorder(false));
  add("top.bmp", TopBorder());
  add("bottom.bmp", BottomBorder());
  add("menubar.bmp", MenuBar());
  add("close.bmp", TitleButton(kGlyphClose, true));
  add("max.bmp", TitleButton(kGlyphMax, false));
  add("min.bmp", TitleButton(kGlyphMin, false));
  add("restore.bmp", TitleButton(kGlyphRestore, false));
  add("mdicontrols.bmp", MdiControls());
  add("button.bmp", PushButton());
  add("check.bmp", CheckStrip());
  add("radio.bmp", RadioStrip());
  add("progress.bmp", Progress());
  add("groupboxedge.bmp", GroupBoxEdge());
  add("groupbox.bmp", GroupBoxLabel());
  add("tabs.bmp", Tabs());
  add("tabpane.bmp", TabPane());
  add("statusbar.bmp", StatusEdges());
  add("toolbuttons.bmp", ToolButtons());
  add("combobutton.bmp", ComboButton());
  add("sunkedge.bmp", SunkEdge());
  add("extraimages.bmp", ExtraImages());
  add("headerbar.bmp", HeaderBar());
  add("menuitem.bmp", MenuItem());
  add("menuback.bmp", MenuBackground());
  add("scrollbar.bmp", ScrollCells());
  add("hscroll.bmp", Shaft(false));
  add("vscroll.bmp", Shaft(true));
  add("hthumb.bmp", Thumb(false));
  add("vthumb.bmp", Thumb(true));
  add("thumbhorz.bmp", TrackThumbs(0));
  add("thumbvert.bmp", TrackThumbs(5));
  add("thumbleft.bmp", TrackThumbs(3));
  add("thumbright.bmp", TrackThumbs(4));
  add("thumbup.bmp", TrackThumbs(1));
  add("thumbdown.bmp", TrackThumbs(2));
  add("updown.bmp", UpDownButtons());
  add("spinglyphsh.bmp", UpDownGlyphs(false));
  add("spinglyphsv.bmp", UpDownGlyphs(true));
  return m;
}

std::vector<uint8_t> MakeDefaultSkinPackage() {
  TSkinWriter w;
  for (const TSkinFileEntry& e : MakeDefaultSkinMembers())
    w.AddMember(e.Name, e.Bytes);
  return w.SaveToBytes(20000);
}
