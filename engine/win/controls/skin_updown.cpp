#include "engine_controls/skin_updown.h"

#include <commctrl.h>

#include "engine/skin_elements.h"
#include "engine_controls/control_list.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "framework/messages.h"

namespace {

constexpr int kSpinFrames = 8;

bool Contains(const TRect& r, POINT p) {
  return p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom;
}

TRect ScreenRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

TSkinUpDown::TSkinUpDown(TComponent* owner) : TSkinControl(owner) {}

bool TSkinUpDown::BeforeMessage(TMessage& m) {
  // Without a skin the spin keeps its own look.
  if (!HasSkin()) return TSkinControl::BeforeMessage(m);
  switch (m.Msg) {
    case WM_PAINT:
      PaintMessage(m);
      return false;
    case WM_ERASEBKGND:
      if (!Control) {
        RECT r;
        GetClientRect(Handle, &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r,
                 static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      }
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      CallOriginal(m);
      SetStateBit(kPressed, true);
      PaintWindow(nullptr);
      return false;
    case WM_LBUTTONUP:
      SetStateBit(kPressed, false);
      CallOriginal(m);
      PaintWindow(nullptr);
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinUpDown::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      OnMouseMove();
      break;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      break;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      OnCaptureLost();
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinUpDown::OnMouseMove() {
  if (!Hot()) {
    SetStateBit(kHot, true);
    TRACKMOUSEEVENT t{};
    t.cbSize = sizeof(t);
    t.dwFlags = TME_LEAVE;
    t.hwndTrack = Handle;
    TrackMouseEvent(&t);
  }
  const int half = HalfUnderCursor();
  if (half == hot_half_) return;
  hot_half_ = half;
  PaintWindow(nullptr);
}

void TSkinUpDown::OnMouseLeave() {
  SetStateBit(kHot, false);
  hot_half_ = 0;
  PaintWindow(nullptr);
}

void TSkinUpDown::OnCaptureLost() {
  // The press ends with the capture (another window took it, a menu opened).
  if (!Pressed() || GetCapture() == Handle) return;
  SetStateBit(kPressed, false);
  PaintWindow(nullptr);
}

bool TSkinUpDown::Horizontal() const {
  return ForceHorizontal || (GetLong(Handle, GWL_STYLE) & UDS_HORZ) != 0;
}

const TDataSkinBorder* TSkinUpDown::Strip(bool horizontal) const {
  if (!HasSkin() || !Form) return nullptr;
  const TDataSkinBorder* e = Skin().Border(horizontal ? ksUpDownHorz : ksUpDownVert);
  // A strip narrower than its eight frames has nothing to show.
  return e && e->Bitmap.Height > 0 && e->Bitmap.Width >= kSpinFrames ? e : nullptr;
}

POINT TSkinUpDown::CursorInWindow() const {
  POINT p{};
  GetCursorPos(&p);
  const TRect w = ScreenRect(Handle);
  return {p.x - w.Left, p.y - w.Top};
}

int TSkinUpDown::HalfUnderCursor() const {
  const TRect w = ScreenRect(Handle);
  const TSpinHalves halves = SplitSpin({0, 0, w.Width(), w.Height()}, Horizontal());
  const POINT p = CursorInWindow();
  if (Contains(halves.First.Rect, p)) return 1;
  if (Contains(halves.Second.Rect, p)) return 2;
  return 0;
}

void TSkinUpDown::DrawSkin(HDC dc, const RECT& rect) {
  if (!dc || !Handle) return;
  ReadWindowState();
  TRect area{rect.left, rect.top, rect.right, rect.bottom};
  if (Embedded) {
    RECT client;
    GetClientRect(Handle, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (HWND parent = GetParent(Handle))
      area = EmbeddedSpinRect(area, ScreenRect(Handle), ScreenRect(parent));
  }
  if (area.IsEmpty()) return;
  TPaintBuffer::TLease lease(Canvas, area.Width(), area.Height());
  HDC buffer = lease.Dc();
  if (!buffer) return;
  const RECT all{0, 0, area.Width(), area.Height()};
  FillFace(buffer, all);
  POINT cursor = CursorInWindow();
  cursor.x -= area.Left;
  cursor.y -= area.Top;
  const bool horizontal = Horizontal();
  const TDataSkinBorder* strip = Strip(horizontal);
  const TSpinHalves halves = SplitSpin({0, 0, all.right, all.bottom}, horizontal);
  for (const TSpinHalf* half : {&halves.First, &halves.Second}) {
    const int state = SpinHalfState({Enabled, Pressed(), Hot(), Contains(half->Rect, cursor)});
    if (strip)
      DrawSpinButton(buffer, *half, state, *strip);
    else
      DrawClassicSpin(buffer, *half, state);
  }
  lease.CopyTo(dc, area.Left, area.Top);
}

void TSkinUpDown::DrawSpinButton(HDC dc, const TSpinHalf& half, int state,
                                 const TDataSkinBorder& strip) {
  const int frame = SpinFrame(half.Direction, state);
  DrawFrameScaled(dc, half.Rect, Form->Native(strip.Bitmap), true, kSpinFrames, frame);
  if (!strip.SecondBitmap.Empty())
    DrawFrameCentred(dc, half.Rect, Form->Native(strip.SecondBitmap), true, kSpinFrames, frame);
}

void TSkinUpDown::DrawClassicSpin(HDC dc, const TSpinHalf& half, int state) {
  const COLORREF fill = SkinColour(ClassicSpinShaded(state) ? kcButtonShadow : kcButtonFace);
  HBRUSH brush = CreateSolidBrush(fill);
  HPEN pen = CreatePen(PS_SOLID, 1, SkinColour(kcButtonDkShadow));
  HGDIOBJ old_brush = SelectObject(dc, brush);
  HGDIOBJ old_pen = SelectObject(dc, pen);
  const TRect& r = half.Rect;
  Rectangle(dc, r.Left, r.Top, r.Right, r.Bottom);
  for (const std::vector<TPoint>& line : ClassicSpinArrow(r, half.Direction)) {
    if (line.empty()) continue;
    MoveToEx(dc, line.front().X, line.front().Y, nullptr);
    for (size_t i = 1; i < line.size(); ++i)
      LineTo(dc, line[i].X, line[i].Y);
  }
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(pen);
  DeleteObject(brush);
}
