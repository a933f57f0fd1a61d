// The default skin's controls: buttons, check and radio strips, progress,
// group boxes, tabs, status bar, tool bar, combo button, header, menus.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "default_skin_canvas.h"

namespace default_skin {

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
    if (f == 1) {
      // The separator: an etched line low in the frame (an 8-pixel entry
      // shows the frame's bottom rows), the rest transparent.
      c.Fill(2, 15, 28, 16, kOutlineSoft);
      c.Fill(2, 16, 28, 17, C(255, 255, 255));
      return;
    }
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

}  // namespace default_skin
