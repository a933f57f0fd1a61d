#include "engine/combo_rules.h"

#include <algorithm>

int ComboFrame(const TComboState& s) {
  if (!s.Enabled) return kComboDisabled;
  if (s.Pressed) return kComboPressed;
  if (s.Focused || s.Hot) return kComboHot;
  return kComboNormal;
}

int MirroredFrame(int frame, int frames) {
  const int n = std::max(frames, 1);
  return n + 1 - std::clamp(frame, 1, n);
}

TComboLook ComboLookOfStyle(int style) {
  switch (style) {
    case 1:
      return TComboLook::SingleButton;
    case 2:
      return TComboLook::Composite;
    default:
      return TComboLook::Classic;
  }
}

TComboClassicParts PlanClassicCombo(const TRect& r, int arrow_width, bool left_button) {
  const int a = std::max(arrow_width, 0);
  TComboClassicParts p;
  if (left_button) {
    p.EditArea = {a + 4, 2, r.Right - 2, r.Bottom - 2};
    p.Button = {0, 0, a + 2, r.Bottom};
    p.ArrowArea = {2, 0, a + 2, r.Bottom};
  } else {
    p.EditArea = {2, 2, r.Right - a - 4, r.Bottom - 2};
    p.Button = {r.Right - a - 2, 0, r.Right, r.Bottom};
    p.ArrowArea = {r.Right - a - 2, 0, r.Right - 2, r.Bottom};
  }
  return p;
}

TRect CentreCell(const TRect& area, TPoint cell) {
  const int x = area.Left + (area.Width() - cell.X) / 2;
  const int y = area.Top + (area.Height() - cell.Y) / 2;
  return {x, y, x + cell.X, y + cell.Y};
}

TComboSingleParts PlanSingleButtonCombo(const TRect& r, TPoint cell, int strip, bool left_button) {
  TComboSingleParts p;
  p.Outer = r;
  p.Inner = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  const TRect in{r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2};
  const int t = std::clamp(strip, 0, std::max(in.Width(), 0));
  const int w = std::clamp(cell.X, 0, std::max(in.Width(), 0));
  if (left_button) {
    p.Strip = {in.Left, in.Top, in.Left + t, in.Bottom};
    p.Button = {in.Left, in.Top, in.Left + w, in.Bottom};
  } else {
    p.Strip = {in.Right - t, in.Top, in.Right, in.Bottom};
    p.Button = {in.Right - w, in.Top, in.Right, in.Bottom};
  }
  if (cell.Y > 0 && cell.Y < strip) p.Button.Bottom = std::min(p.Button.Bottom, in.Top + cell.Y);
  return p;
}

namespace {

bool SameWidthOrHeight(TPoint window, TPoint client) {
  return window.X == client.X || window.Y == client.Y;
}

TRect Ring(TPoint window, int inset) {
  return {inset, inset, window.X - inset, window.Y - inset};
}

}  // namespace

std::vector<TFrameRing> EditFrameRings(TPoint window, TPoint client) {
  if (SameWidthOrHeight(window, client) || window.X < 6 || window.Y < 6) return {};
  return {{Ring(window, 0), TFrameInk::Shadow},
          {Ring(window, 1), TFrameInk::White},
          {Ring(window, 2), TFrameInk::White}};
}

std::vector<TFrameRing> PickerFrameRings(TPoint window, TPoint client) {
  if (SameWidthOrHeight(window, client) || window.X < 4 || window.Y < 4) return {};
  return {{Ring(window, 0), TFrameInk::Shadow}, {Ring(window, 1), TFrameInk::White}};
}

std::vector<TFrameRing> PrintFrameRings(TPoint window, TPoint client) {
  if (window.X - client.X < 2 || window.Y - client.Y < 2 || window.X < 4 || window.Y < 4) return {};
  return {{Ring(window, 1), TFrameInk::ControlBrush}, {Ring(window, 0), TFrameInk::Shadow}};
}

TRect PickerButtonRect(TPoint picker, int button_width, bool left_button) {
  const int h = picker.Y - 4;
  const int left = left_button ? 2 : picker.X - button_width - 4;
  if (button_width <= 0 || h <= 0 || left < 0) return {};
  return {left, 0, left + button_width, h};
}
