// The vertical scroll bar of a combo box's drop-down list: painted from the
// skin into the list's non-client area after the list painted its frame,
// without the native hot tracking, and with the thumb dragged by the skinner
// (the native drag would paint the native thumb over the skin's).
#include <windows.h>

#include <windowsx.h>

#include "engine/skin_elements.h"
#include "engine_controls/control_list.h"
#include "engine_controls/skin_scrollbar.h"
#include "engine_win/skin_data.h"

namespace {

constexpr UINT kNcUahDrawFrame = 0x1AE;

}  // namespace

TComboxScrollBar::TComboxScrollBar(TComponent* owner)
    : TSkinControl(owner), ArrowSize(GetSystemMetrics(SM_CXHSCROLL)) {}

void TComboxScrollBar::Detach() {
  TSkinControl::Detach();
  // The list's own bar again.
  if (LifeState != kWindowGone && Handle && IsWindow(Handle))
    RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

bool TComboxScrollBar::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCMOUSEMOVE:
      if (m.WParam != HTHSCROLL && m.WParam != HTVSCROLL) return true;
      m.Result = 0;
      return false;
    case WM_NCLBUTTONDOWN:
      if (!ThumbDrag(m)) return true;
      m.Result = 0;
      return false;
    case WM_CAPTURECHANGED:
      if (dragging_) {
        capture_lost_ = true;
        PostMessageW(Handle, WM_NULL, 0, 0);  // wakes the drag's loop
      }
      return true;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TComboxScrollBar::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
    case kNcUahDrawFrame:
      PaintWindow(nullptr);
      break;
    case WM_PAINT:
      // The list scrolled (keys, wheel, a new selection): the native bar
      // was drawn again with it.
      PaintWindow(nullptr);
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TComboxScrollBar::DrawSkin(HDC dc, const RECT&) {
  const TSkinContent& skin = Skin();
  if (!Form || !ScrollSkinUsable(skin)) return;
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  if (!GetScrollBarInfo(Handle, OBJID_VSCROLL, &info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE))
    return;
  RECT window;
  GetWindowRect(Handle, &window);
  TScrollBarLook look;
  look.Width = info.rcScrollBar.right - info.rcScrollBar.left;
  look.Height = info.rcScrollBar.bottom - info.rcScrollBar.top;
  if (look.Width <= 0 || look.Height <= 0) return;
  look.Vertical = true;
  look.Arrow = ArrowSize;
  look.Thickness = ScrollBarThickness(skin.Element(ksScrollbar)->Bitmap.Height, ArrowSize);
  look.Enabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  look.Thumb = {static_cast<int>(info.xyThumbTop), static_cast<int>(info.xyThumbBottom)};
  ThumbStart = look.Thumb.Start;
  ThumbEnd = look.Thumb.End;
  TPaintBuffer::TLease lease(Canvas, look.Width, look.Height);
  if (!lease.Dc()) return;
  DrawScrollBarLook(lease.Dc(), look, Form, skin, SkinColour(kcButtonFace));
  lease.CopyTo(dc, info.rcScrollBar.left - window.left, info.rcScrollBar.top - window.top);
}

bool TComboxScrollBar::ThumbDrag(const TMessage& m) {
  if (m.WParam != HTVSCROLL || dragging_) return false;
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  if (!GetScrollBarInfo(Handle, OBJID_VSCROLL, &info)) return false;
  const int p = GET_Y_LPARAM(m.LParam) - info.rcScrollBar.top;
  if (p < info.xyThumbTop || p > info.xyThumbBottom) return false;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  if (!GetScrollInfo(Handle, SB_VERT, &si)) return false;
  SetCapture(Handle);
  // Travel is measured between the points the messages carry, so moves
  // already queued behind the press count from the press.
  const POINT start{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  const int track = info.rcScrollBar.bottom - info.rcScrollBar.top - 2 * ArrowSize;
  DragLoop(info.xyThumbTop - ArrowSize, track, info.xyThumbBottom - info.xyThumbTop,
           {si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos}, start);
  return true;
}

void TComboxScrollBar::DragLoop(int offset0, int track, int thumb, const TScrollRange& range,
                                POINT start) {
  HWND list = Handle;
  int last = range.Pos;
  dragging_ = true;
  capture_lost_ = false;
  while (!capture_lost_ && GetCapture() == list) {
    MSG msg;
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the program's own loop ends
      break;
    }
    if (got < 0) break;
    if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) {
      SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, last), 0);
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    if (!IsWindow(list)) return;
    if (msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE) continue;
    const int pos = ComboThumbPosition(offset0 + msg.pt.y - start.y, track, thumb, range);
    if (pos != last) {
      SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, pos), 0);
      last = pos;
    }
  }
  dragging_ = false;
  PostMessageW(list, WM_VSCROLL, SB_ENDSCROLL, 0);
  if (GetCapture() == list) ReleaseCapture();
}
