// The overlay over a native scroll bar and the picture of a skinned bar.
#include <windows.h>

#include <windowsx.h>

#include <cctype>
#include <string>

#include "engine/skin_elements.h"
#include "engine_controls/control_list.h"
#include "engine_controls/skin_scrollbar.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "framework/controls.h"
#include "framework/props.h"

namespace {

constexpr wchar_t kOverlayClass[] = L"MvScrollOverlay";

std::string Lower(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool RegisterOverlayClass(WNDPROC proc) {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = kOverlayClass;
  registered = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return registered;
}

const TDataSkinObject* UsableElement(const TSkinContent& skin, TSkinSlot slot) {
  const TDataSkinObject* e = skin.Element(slot);
  return e && !e->Bitmap.Empty() ? e : nullptr;
}

void DrawStripCell(HDC dc, const TRect& r, const TNativeBitmap& strip, int cell) {
  if (!r.IsEmpty()) DrawFrameScaled(dc, r, strip, true, kScrollStripCells, cell);
}

// The thumb and its gripper, when the thumb lies inside the bar.
void DrawThumb(HDC dc, const TScrollBarLook& look, TSkinControlList* form, const TSkinContent& skin,
               int length) {
  const TThumbExtent& t = look.Thumb;
  if (t.Length() <= 0 || t.Start < 0 || t.End > length) return;
  if (const TDataSkinObject* e =
          UsableElement(skin, look.Vertical ? ksVertScrollThumb : ksHorzScrollThumb))
    DrawElement(dc, ScrollThumbRect(t, look.Thickness, look.Vertical), form->Native(e->Bitmap),
                false, false, e->Trans != 0, e->FrameCount,
                ScrollThumbFrame(look.HotPart, look.Pressed), e->Margins());
  const TDataSkinObject* strip = skin.Element(ksScrollbar);
  const TRect grip = ScrollGripperRect(t, strip->Bitmap.Height, look.Thickness, look.Vertical);
  DrawStripCell(dc, grip, form->Native(strip->Bitmap),
                ScrollGripperCell(look.Vertical, look.HotPart, look.Pressed));
}

}  // namespace

bool ScrollSkinUsable(const TSkinContent& skin) {
  const TDataSkinObject* strip = skin.Element(ksScrollbar);
  return strip && strip->Bitmap.Height > 0 && strip->Bitmap.Width >= kScrollStripCells;
}

void DrawScrollBarLook(HDC dc, const TScrollBarLook& look, TSkinControlList* form,
                       const TSkinContent& skin, COLORREF face) {
  if (!form || !ScrollSkinUsable(skin)) return;
  const RECT all{0, 0, look.Width, look.Height};
  HBRUSH brush = CreateSolidBrush(face);
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  const int length = look.Vertical ? look.Height : look.Width;
  if (const TDataSkinObject* shaft =
          UsableElement(skin, look.Vertical ? ksVertScroll : ksHorzScroll)) {
    const TRect r = ScrollShaftRect(length, look.Arrow, look.Thickness, look.Vertical);
    if (!r.IsEmpty())
      DrawElement(dc, r, form->Native(shaft->Bitmap), false, shaft->Tile != 0, shaft->Trans != 0,
                  shaft->FrameCount, ScrollShaftFrame(look.Enabled), shaft->Margins());
  }
  const TNativeBitmap& strip = form->Native(skin.Element(ksScrollbar)->Bitmap);
  const TArrowRects arrows = ScrollArrowRects(length, look.Arrow, look.Thickness, look.Vertical);
  DrawStripCell(dc, arrows.First, strip,
                ScrollArrowCell(look.Vertical, false, look.HotPart, look.Pressed));
  DrawStripCell(dc, arrows.Last, strip,
                ScrollArrowCell(look.Vertical, true, look.HotPart, look.Pressed));
  if (look.Enabled) DrawThumb(dc, look, form, skin, length);
}

// ---- the overlay ----------------------------------------------------------------

TWScrollbar::TWScrollbar(TSkinControl* owner)
    : ArrowSize(GetSystemMetrics(SM_CXHSCROLL)), OwnerSkinner(owner) {}

TWScrollbar::~TWScrollbar() {
  if (window_ && IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

void TWScrollbar::Create(HWND parent) {
  if (window_ || !parent || !RegisterOverlayClass(&OverlayProc)) return;
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kOverlayClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0,
                            0, 0, parent, nullptr, GetModuleHandleW(nullptr), this);
}

void TWScrollbar::AttachToControl(TControl* control, int kind) {
  auto* win = dynamic_cast<TWinControl*>(control);
  if (!win || !win->Handle()) return;
  Target = win->Handle();
  TargetControl = control;
  Kind = kind;
  colour_ = OwnerSkinner->ParentColor(OwnerSkinner->SkinColour(kcButtonFace));
  Vertical = kind == kControl ? Lower(GetEnumPropByName(control, "Kind")) != "sbhorizontal"
                              : kind == kVertical;
  Create(GetParent(Target));
  Reposition(Target);
}

void TWScrollbar::AttachToWindow(HWND target, int kind) {
  if (!target) return;
  Target = target;
  Kind = kind;
  colour_ = OwnerSkinner->SkinColour(kcButtonFace);
  Vertical =
      kind == kControl ? (GetWindowLongPtrW(target, GWL_STYLE) & SBS_VERT) != 0 : kind == kVertical;
  Create(GetParent(Target));
  Reposition(Target);
}

bool TWScrollbar::BarInfo(SCROLLBARINFO& info) const {
  info = SCROLLBARINFO{};
  info.cbSize = sizeof info;
  if (!Target || !IsWindow(Target)) return false;
  if (Kind == kControl) return EmulateBarInfo(info);
  return GetScrollBarInfo(Target, Kind == kVertical ? OBJID_VSCROLL : OBJID_HSCROLL, &info) != 0;
}

bool TWScrollbar::EmulateBarInfo(SCROLLBARINFO& info) const {
  RECT r;
  if (!GetWindowRect(Target, &r)) return false;
  MapWindowPoints(nullptr, GetParent(Target), reinterpret_cast<POINT*>(&r), 2);
  info.rcScrollBar = r;
  const int length = Vertical ? r.bottom - r.top : r.right - r.left;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  if (!GetScrollInfo(Target, SB_CTL, &si)) return false;
  const TThumbExtent t =
      EmulateThumb(length, ArrowSize, {si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos});
  info.dxyLineButton = ArrowSize;
  info.xyThumbTop = t.Start;
  info.xyThumbBottom = t.End;
  if (!IsWindowEnabled(Target)) info.rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
  return true;
}

void TWScrollbar::Reposition(HWND target) {
  if (target) Target = target;
  SCROLLBARINFO info;
  if (!window_ || !BarInfo(info)) {
    HideBar();
    return;
  }
  const bool visible = (GetWindowLongPtrW(Target, GWL_STYLE) & WS_VISIBLE) != 0;
  RECT r = info.rcScrollBar;
  const int w = r.right - r.left, h = r.bottom - r.top;
  // Without a strip to draw from the native bar stays in sight.
  if (!visible || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) || w <= 0 || h <= 0 ||
      !ScrollSkinUsable(OwnerSkinner->Skin())) {
    HideBar();
    return;
  }
  POINT pos{r.left, r.top};
  if (Kind == kControl) {
    ClientRect = {0, 0, w, h};
    POINT screen = pos;
    ClientToScreen(GetParent(Target), &screen);
    BarLeft = screen.x;
    BarTop = screen.y;
  } else {
    ClientRect = r;
    MapWindowPoints(nullptr, Target, reinterpret_cast<POINT*>(&ClientRect), 2);
    BarLeft = r.left;
    BarTop = r.top;
    ScreenToClient(GetParent(Target), &pos);
  }
  Length = Vertical ? h : w;
  HWND above = GetWindow(Target, GW_HWNDPREV);
  UINT flags = SWP_NOACTIVATE | SWP_SHOWWINDOW;
  if (above == window_) flags |= SWP_NOZORDER;
  SetWindowPos(window_, above ? above : HWND_TOP, pos.x, pos.y, w, h, flags);
  Showing = true;
  InvalidateRect(window_, nullptr, FALSE);
}

void TWScrollbar::HideBar() {
  Showing = false;
  if (window_ && IsWindowVisible(window_)) ShowWindow(window_, SW_HIDE);
}

int TWScrollbar::HitPart(POINT p) const {
  return ScrollHitPart(Vertical ? p.y : p.x, ArrowSize, Length, {ThumbStart, ThumbEnd});
}

void TWScrollbar::Invalidate() const {
  if (window_ && Showing) InvalidateRect(window_, nullptr, FALSE);
}

void TWScrollbar::SetEnabled(bool enabled) const {
  if (window_) EnableWindow(window_, enabled ? TRUE : FALSE);
}

// ---- overlay messages -------------------------------------------------------------

LRESULT CALLBACK TWScrollbar::OverlayProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<TWScrollbar*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (msg == WM_NCDESTROY && self) {
    self->window_ = nullptr;
    self->Showing = false;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  }
  if (!self || msg == WM_NCCREATE || msg == WM_NCDESTROY)
    return DefWindowProcW(window, msg, wparam, lparam);
  return self->Dispatch(msg, wparam, lparam);
}

LRESULT TWScrollbar::Dispatch(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_MOUSEMOVE:
      OnMouseMove(lparam);
      return 0;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(lparam);
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(lparam);
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    default:
      return DefWindowProcW(window_, msg, wparam, lparam);
  }
}

void TWScrollbar::OnMouseMove(LPARAM lparam) {
  const int part = HitPart({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
  if (part != HotPart) {
    HotPart = part;
    InvalidateRect(window_, nullptr, FALSE);
  }
  if (!tracking_leave_) {
    TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, window_, 0};
    tracking_leave_ = TrackMouseEvent(&t) != FALSE;
  }
}

void TWScrollbar::OnMouseLeave() {
  tracking_leave_ = false;
  if (Pressed) return;
  HotPart = kScrollPartNone;
  InvalidateRect(window_, nullptr, FALSE);
}

LPARAM TWScrollbar::TargetPoint(LPARAM overlay_point) const {
  POINT p{GET_X_LPARAM(overlay_point), GET_Y_LPARAM(overlay_point)};
  // Where the overlay is now, not where the bar was at the last
  // positioning: the form may have moved since.
  if (Kind == kControl)
    MapWindowPoints(window_, Target, &p, 1);
  else
    ClientToScreen(window_, &p);
  return MAKELPARAM(p.x, p.y);
}

void TWScrollbar::OnButtonDown(LPARAM lparam) {
  GetCursorPos(&DragCursor);
  SCROLLBARINFO info;
  if (BarInfo(info)) {
    ThumbStart = info.xyThumbTop;
    ThumbEnd = info.xyThumbBottom;
  }
  DragThumbStart = ThumbStart;
  HotPart = HitPart({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
  Pressed = true;
  InvalidateRect(window_, nullptr, FALSE);
  UpdateWindow(window_);
  ReleaseCapture();
  HWND self = window_;
  const LPARAM point = TargetPoint(lparam);
  // Returns when the native bar's own tracking has ended.
  if (Kind == kControl)
    SendMessageW(Target, WM_LBUTTONDOWN, MK_LBUTTON, point);
  else
    SendMessageW(Target, WM_NCLBUTTONDOWN, Vertical ? HTVSCROLL : HTHSCROLL, point);
  if (!IsWindow(self) || GetWindowLongPtrW(self, GWLP_USERDATA) != reinterpret_cast<LONG_PTR>(this))
    return;  // the skinner went while the bar was tracking
  Pressed = false;
  if (GetCapture() == window_) ReleaseCapture();
  HotPartFromCursor();
}

void TWScrollbar::OnButtonUp(LPARAM lparam) {
  Pressed = false;
  if (GetCapture() == window_) ReleaseCapture();
  if (Kind == kControl)
    PostMessageW(Target, WM_LBUTTONUP, MK_LBUTTON, TargetPoint(lparam));
  else
    PostMessageW(Target, WM_NCLBUTTONUP, Vertical ? HTVSCROLL : HTHSCROLL, TargetPoint(lparam));
  HotPartFromCursor();
}

// After a press the leave notice may already have come and gone (it is
// ignored while pressed), so the hot part is taken from where the cursor
// is now and the leave tracking armed again.
void TWScrollbar::HotPartFromCursor() {
  POINT p;
  GetCursorPos(&p);
  const bool over = WindowFromPoint(p) == window_;
  ScreenToClient(window_, &p);
  HotPart = over ? HitPart(p) : kScrollPartNone;
  tracking_leave_ = false;
  if (over) {
    TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, window_, 0};
    tracking_leave_ = TrackMouseEvent(&t) != FALSE;
  }
  InvalidateRect(window_, nullptr, FALSE);
}

void TWScrollbar::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  if (dc) {
    try {
      Paint(dc);
    } catch (...) {
      // The overlay keeps what it showed.
    }
  }
  EndPaint(window_, &ps);
}

void TWScrollbar::Paint(HDC dc) {
  RECT client;
  GetClientRect(window_, &client);
  SCROLLBARINFO info;
  const TSkinContent& skin = OwnerSkinner->Skin();
  const TDataSkinObject* strip = skin.Element(ksScrollbar);
  const bool got = BarInfo(info);
  const int w = info.rcScrollBar.right - info.rcScrollBar.left;
  const int h = info.rcScrollBar.bottom - info.rcScrollBar.top;
  if (!got || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) || !ScrollSkinUsable(skin) ||
      !OwnerSkinner->Form || w > client.right || h > client.bottom) {
    HBRUSH b = CreateSolidBrush(colour_);
    FillRect(dc, &client, b);
    DeleteObject(b);
    return;
  }
  TScrollBarLook look;
  look.Width = w;
  look.Height = h;
  look.Vertical = Vertical;
  look.Arrow = ArrowSize;
  look.Thickness = ScrollBarThickness(strip->Bitmap.Height, ArrowSize);
  if (Kind == kControl) (Vertical ? look.Width : look.Height) = look.Thickness;
  look.HotPart = HotPart;
  look.Pressed = Pressed;
  look.Enabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) && IsWindowEnabled(Target);
  Length = Vertical ? h : w;
  look.Thumb = {static_cast<int>(info.xyThumbTop), static_cast<int>(info.xyThumbBottom)};
  if (Pressed && HotPart == kScrollThumb && Kind != kControl) {
    POINT cursor;
    GetCursorPos(&cursor);
    const int travel = Vertical ? cursor.y - DragCursor.y : cursor.x - DragCursor.x;
    look.Thumb = DragScrollThumb(DragThumbStart, travel, ArrowSize, Length, look.Thumb);
  }
  ThumbStart = look.Thumb.Start;
  ThumbEnd = look.Thumb.End;
  TPaintBuffer::TLease lease(OwnerSkinner->Canvas, look.Width, look.Height);
  if (!lease.Dc()) return;
  DrawScrollBarLook(lease.Dc(), look, OwnerSkinner->Form, skin,
                    OwnerSkinner->SkinColour(kcButtonFace));
  if (Kind != kControl) {
    lease.CopyTo(dc, 0, 0);
    return;
  }
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, client.right, client.bottom, lease.Dc(), 0, 0, look.Width, look.Height,
             SRCCOPY);
}
