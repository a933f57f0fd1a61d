#include "framework/mplayer.h"

#include <algorithm>

const TEnumInfo kMPBtnTypeIdents{
    {"btPlay", "btPause", "btStop", "btNext", "btPrev", "btStep", "btBack", "btRecord", "btEject"}};

namespace {

constexpr int kButtonCount = 9;

bool Has(TButtonSet set, int i) {
  return (set >> i) & 1u;
}

// A small mark per button: the classic tape-deck symbols as polygons.
void DrawMark(HDC dc, int button, const RECT& r, COLORREF ink) {
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  HBRUSH brush = CreateSolidBrush(ink);
  HPEN pen = CreatePen(PS_SOLID, 1, ink);
  HGDIOBJ old_brush = SelectObject(dc, brush), old_pen = SelectObject(dc, pen);
  auto triangle = [dc, cy](int x0, int x1) {
    POINT p[3] = {{x0, cy - 4}, {x0, cy + 4}, {x1, cy}};
    Polygon(dc, p, 3);
  };
  auto bar = [dc, cy](int x) { Rectangle(dc, x, cy - 4, x + 2, cy + 5); };
  switch (static_cast<TMPBtnType>(button)) {
    case TMPBtnType::btPlay:
      triangle(cx - 2, cx + 3);
      break;
    case TMPBtnType::btPause:
      bar(cx - 3);
      bar(cx + 1);
      break;
    case TMPBtnType::btStop:
      Rectangle(dc, cx - 3, cy - 3, cx + 4, cy + 4);
      break;
    case TMPBtnType::btNext:
      triangle(cx - 4, cx + 1);
      bar(cx + 2);
      break;
    case TMPBtnType::btPrev:
      bar(cx - 4);
      triangle(cx + 3, cx - 2);
      break;
    case TMPBtnType::btStep:
      triangle(cx - 4, cx);
      triangle(cx, cx + 4);
      break;
    case TMPBtnType::btBack:
      triangle(cx, cx - 4);
      triangle(cx + 4, cx);
      break;
    case TMPBtnType::btRecord:
      Ellipse(dc, cx - 4, cy - 4, cx + 5, cy + 5);
      break;
    case TMPBtnType::btEject: {
      POINT p[3] = {{cx - 4, cy}, {cx + 4, cy}, {cx, cy - 4}};
      Polygon(dc, p, 3);
      Rectangle(dc, cx - 4, cy + 2, cx + 5, cy + 4);
      break;
    }
  }
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  DeleteObject(brush);
  DeleteObject(pen);
}

}  // namespace

TMediaPlayer::TMediaPlayer(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 253, 30);
}

void TMediaPlayer::PublishProperties(TClassInfo& info) {
  TPublisher<TMediaPlayer>(info)
      .Set("VisibleButtons", kMPBtnTypeIdents, &TMediaPlayer::VisibleButtons,
           &TMediaPlayer::SetVisibleButtons)
      .Set("EnabledButtons", kMPBtnTypeIdents, &TMediaPlayer::EnabledButtons,
           &TMediaPlayer::SetEnabledButtons)
      .Set("ColoredButtons", kMPBtnTypeIdents, &TMediaPlayer::ColoredButtons,
           &TMediaPlayer::SetColoredButtons);
}

void TMediaPlayer::SetVisibleButtons(TButtonSet v) {
  visible_ = v & kAllMediaButtons;
  Invalidate();
}

void TMediaPlayer::SetEnabledButtons(TButtonSet v) {
  enabled_ = v & kAllMediaButtons;
  Invalidate();
}

void TMediaPlayer::SetColoredButtons(TButtonSet v) {
  coloured_ = v & kAllMediaButtons;
  Invalidate();
}

int TMediaPlayer::VisibleCount() const {
  int n = 0;
  for (int i = 0; i < kButtonCount; ++i)
    n += Has(visible_, i) ? 1 : 0;
  return n;
}

int TMediaPlayer::ButtonAt(int x) const {
  const int count = VisibleCount();
  if (count == 0 || x < 0) return -1;
  const int w = std::max(Width() / count, 1);
  int left = 0;
  for (int i = 0; i < kButtonCount; ++i) {
    if (!Has(visible_, i)) continue;
    if (x <= left + w) return i;  // a border belongs to the left button
    left += w;
  }
  return -1;
}

void TMediaPlayer::Paint() {
  TCanvas& c = Canvas();
  c.Brush().SetColor(Color());
  c.FillRect(RECT{0, 0, Width(), Height()});
  const int count = VisibleCount();
  if (count == 0) return;
  const int w = Width() / count;
  int left = 0;
  for (int i = 0; i < kButtonCount; ++i) {
    if (!Has(visible_, i)) continue;
    RECT cell{left, 0, left + w, Height()};
    DrawEdge(c.Handle(), &cell, i == down_ ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const bool on = Enabled() && Has(enabled_, i);
    const COLORREF ink = !on                 ? GetSysColor(COLOR_GRAYTEXT)
                         : Has(coloured_, i) ? RGB(0, 128, 0)
                                             : GetSysColor(COLOR_BTNTEXT);
    DrawMark(c.Handle(), i, cell, ink);
    left += w;
  }
}

void TMediaPlayer::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  const int hit = ButtonAt(x);
  down_ = hit >= 0 && Has(enabled_, hit) ? hit : -1;
  Invalidate();
}

void TMediaPlayer::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  const int pressed = down_;
  down_ = -1;
  Invalidate();
  if (pressed >= 0 && ButtonAt(x) == pressed && OnClick)
    OnClick(this, static_cast<TMPBtnType>(pressed));
}
