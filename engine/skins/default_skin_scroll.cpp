// The default skin's scroll bars, track-bar thumbs and spin buttons.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "default_skin_canvas.h"

namespace default_skin {

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

}  // namespace default_skin
