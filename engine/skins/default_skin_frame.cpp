// The default skin's window frame: borders, caption band, menu bar, title
// buttons and the MDI controls.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "default_skin_canvas.h"

namespace default_skin {

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

}  // namespace default_skin
