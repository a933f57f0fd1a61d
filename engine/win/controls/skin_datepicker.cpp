// Date pickers: a flat frame over the picker's border and the skin's drop
// arrow over its drop button, in a small child window that hands a press on
// to the picker at the same place (so the picker's own calendar opens) and
// gives the focus back to the picker afterwards.
#include <windowsx.h>

#include "engine/combo_rules.h"
#include "engine/skin_elements.h"
#include "engine_controls/control_list.h"
#include "engine_controls/skin_combo.h"
#include "engine_controls/skin_edit.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"

namespace {

const wchar_t kArrowButtonClass[] = L"MvSkinArrowButton";

bool RegisterArrowButtonClass(WNDPROC proc) {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = kArrowButtonClass;
  registered = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return registered;
}

const TDataSkinObject* UsableArrow(const TSkinContent& skin) {
  const TDataSkinObject* a = skin.Element(ksComboxArrow);
  return a && !a->Bitmap.Empty() && a->FrameCount > 0 ? a : nullptr;
}

}  // namespace

// ---- the arrow button ---------------------------------------------------------------

TArrowButton::TArrowButton(TSkinDateTime* owner)
    : ButtonWidth(GetSystemMetrics(SM_CXHSCROLL)), Owner(owner) {}

TArrowButton::~TArrowButton() {
  if (window_ && IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  if (added_clip_children_ && PickerHandle && IsWindow(PickerHandle))
    SetWindowLongPtrW(PickerHandle, GWL_STYLE,
                      GetWindowLongPtrW(PickerHandle, GWL_STYLE) & ~WS_CLIPCHILDREN);
}

bool TArrowButton::Attach(HWND picker) {
  if (window_ || !picker || !RegisterArrowButtonClass(Proc)) return false;
  PickerHandle = picker;
  const LONG_PTR style = GetWindowLongPtrW(picker, GWL_STYLE);
  if (!(style & WS_CLIPCHILDREN)) {
    SetWindowLongPtrW(picker, GWL_STYLE, style | WS_CLIPCHILDREN);
    added_clip_children_ = true;
  }
  window_ = CreateWindowExW(0, kArrowButtonClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, picker,
                            nullptr, GetModuleHandleW(nullptr), this);
  Place();
  return window_ != nullptr;
}

void TArrowButton::Place() {
  if (!window_ || !PickerHandle) return;
  RECT w{};
  GetWindowRect(PickerHandle, &w);
  const bool left = (GetWindowLongPtrW(PickerHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  const TRect r = PickerButtonRect({w.right - w.left, w.bottom - w.top}, ButtonWidth, left);
  RECT now{};
  GetWindowRect(window_, &now);
  MapWindowPoints(nullptr, PickerHandle, reinterpret_cast<POINT*>(&now), 2);
  if (now.left == r.Left && now.top == r.Top && now.right == r.Right && now.bottom == r.Bottom &&
      IsWindowVisible(window_) == !r.IsEmpty())
    return;
  SetWindowPos(window_, HWND_TOP, r.Left, r.Top, r.Width(), r.Height(),
               SWP_NOACTIVATE | (r.IsEmpty() ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
}

void TArrowButton::Repaint() const {
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

bool TArrowButton::PickerEnabled() const {
  return PickerHandle && IsWindowEnabled(PickerHandle);
}

LRESULT CALLBACK TArrowButton::Proc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<TArrowButton*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, msg, wparam, lparam);
  if (msg == WM_NCCREATE) self->window_ = window;
  if (msg == WM_NCDESTROY) {
    self->window_ = nullptr;
    return DefWindowProcW(window, msg, wparam, lparam);
  }
  return self->Dispatch(msg, wparam, lparam);
}

LRESULT TArrowButton::Dispatch(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_MOUSEMOVE:
      OnMouseMove();
      return 0;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(lparam);
      return 0;
    case WM_LBUTTONUP:
      if (PickerHandle) SetFocus(PickerHandle);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      OnPaint();
      return 0;
    default:
      return DefWindowProcW(window_, msg, wparam, lparam);
  }
}

void TArrowButton::OnMouseMove() {
  if (!tracking_) {
    TRACKMOUSEEVENT t{};
    t.cbSize = sizeof t;
    t.dwFlags = TME_LEAVE;
    t.hwndTrack = window_;
    tracking_ = TrackMouseEvent(&t) != FALSE;
  }
  if (Hot || !PickerEnabled()) return;
  Hot = true;
  Repaint();
}

void TArrowButton::OnMouseLeave() {
  tracking_ = false;
  if (!Hot) return;
  Hot = false;
  Repaint();
}

void TArrowButton::OnButtonDown(LPARAM lparam) {
  if (!PickerHandle) return;
  // The press in the picker's coordinates: its own drop-down opens.
  POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  MapWindowPoints(window_, PickerHandle, &p, 1);
  PostMessageW(PickerHandle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  PostMessageW(PickerHandle, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  Repaint();
}

void TArrowButton::OnPaint() {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(window_, &ps);
  if (!dc) return;
  RECT r{};
  GetClientRect(window_, &r);
  if (Owner) {
    Owner->FillFace(dc, r);
    const TDataSkinObject* arrow = UsableArrow(Owner->Skin());
    if (arrow && Owner->Form)
      DrawFrameScaled(dc, {0, 0, r.right, r.bottom}, Owner->Form->Native(arrow->Bitmap), false,
                      arrow->FrameCount, Hot ? kComboHot : kComboNormal);
  }
  EndPaint(window_, &ps);
}

// ---- the date picker --------------------------------------------------------------

TSkinDateTime::TSkinDateTime(TComponent* owner) : TSkinControl(owner) {}

TSkinDateTime::~TSkinDateTime() {
  FreeArrowButton();
}

void TSkinDateTime::AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                                  TPaintBuffer* canvas) {
  if (Attached) return;
  TSkinControl::AttachControl(form, data, own_color, canvas);
  if (Attached) MakeArrowButton();
}

void TSkinDateTime::MakeArrowButton() {
  if (ArrowButton || !Handle || !UsableArrow(Skin())) return;
  ArrowButton = new TArrowButton(this);
  if (!ArrowButton->Attach(Handle)) FreeArrowButton();
}

void TSkinDateTime::FreeArrowButton() {
  delete ArrowButton;
  ArrowButton = nullptr;
}

void TSkinDateTime::Detach() {
  TSkinControl::Detach();
  FreeArrowButton();
  if (LifeState != kWindowGone && Handle && IsWindow(Handle))
    RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

void TSkinDateTime::SkinChanged() {
  if (!UsableArrow(Skin())) FreeArrowButton();
  MakeArrowButton();
  if (ArrowButton) ArrowButton->Repaint();
  TSkinControl::SkinChanged();
}

void TSkinDateTime::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
      if (ArrowButton) {
        ArrowButton->Place();
        ArrowButton->Repaint();
      }
      break;
    case WM_NCPAINT:
      PaintWindow(nullptr);
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinDateTime::DrawSkin(HDC dc, const RECT& rect) {
  if (!dc || !Handle) return;
  if (ArrowButton) ArrowButton->Place();
  RECT client{};
  GetClientRect(Handle, &client);
  const int saved = SaveDC(dc);
  DrawFrameRings(dc,
                 PickerFrameRings({rect.right - rect.left, rect.bottom - rect.top},
                                  {client.right, client.bottom}),
                 SkinColour(kcButtonShadow), nullptr);
  RestoreDC(dc, saved);
}
