#include "engine_controls/skin_control.h"

#include <windowsx.h>

#include <vector>

#include "engine/control_rules.h"
#include "engine_controls/control_list.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_messages.h"
#include "framework/controls.h"
#include "framework/messages.h"
#include "framework/props.h"

namespace {

const TSkinContent& EmptySkin() {
  static const TSkinContent* empty = new TSkinContent;
  return *empty;
}

}  // namespace

std::wstring WidenText(const std::string& text) {
  if (text.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(std::max(n, 0)), L'\0');
  if (n > 0)
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

// ---- paint buffer --------------------------------------------------------------

TPaintBuffer::~TPaintBuffer() {
  if (dc_) {
    SelectObject(dc_, old_bitmap_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
}

HDC TPaintBuffer::Prepare(int width, int height) {
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
  if (!dc_) {
    dc_ = CreateCompatibleDC(nullptr);
    if (!dc_) return nullptr;
  }
  if (width > width_ || height > height_) {
    const int w = std::max(width, width_), h = std::max(height, height_);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP fresh = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!fresh) return nullptr;
    HGDIOBJ prev = SelectObject(dc_, fresh);
    if (!old_bitmap_) old_bitmap_ = prev;
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = fresh;
    width_ = w;
    height_ = h;
  }
  busy_ = true;
  saved_dc_ = SaveDC(dc_);
  return dc_;
}

void TPaintBuffer::Release(HDC dc) {
  if (dc != dc_) return;
  RestoreDC(dc_, saved_dc_);
  busy_ = false;
}

TPaintBuffer::TLease::TLease(TPaintBuffer* owner, int width, int height)
    : owner_(owner), width_(width), height_(height) {
  if (!owner_ || owner_->busy_) {
    own_ = new TPaintBuffer;
    owner_ = own_;
  }
  dc_ = owner_->Prepare(width, height);
}

TPaintBuffer::TLease::~TLease() {
  if (dc_) owner_->Release(dc_);
  delete own_;
}

void TPaintBuffer::TLease::CopyTo(HDC dc, int x, int y) const {
  if (dc_ && dc) BitBlt(dc, x, y, width_, height_, dc_, 0, 0, SRCCOPY);
}

// ---- life -------------------------------------------------------------------------

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner) {}

TSkinControl::~TSkinControl() {
  Unhook();
  if (Form) Form->Remove(this);
}

void TSkinControl::Unhook() {
  control_sub_.Detach();
  window_sub_.Detach();
}

void TSkinControl::AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                                 TPaintBuffer* canvas) {
  if (Attached) return;
  auto* control = dynamic_cast<TControl*>(Owner());
  if (!control) return;
  OwnColor = own_color;
  SkinData = data;
  Form = form;
  Canvas = canvas;
  Control = control;
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    Handle = win->Handle();
    Unicode = Handle && IsWindowUnicode(Handle);
  }
  control_sub_.Attach(control, [this](TMessage& m) { WindowProc(m); });
  if (Form) Form->Add(this);
  if (OwnColor) {
    SwitchParentBackground(true);
    SaveColour();
    control->SetColor(Skin().Colours[kcButtonFace]);
  }
  if (ParentBackgroundOff) Mode = 1;
  control->Invalidate();
  Attached = true;
  LifeState = kAttached;
}

void TSkinControl::AttachWindow(HWND window, TSkinData* data, TSkinControlList* form,
                                TPaintBuffer* canvas) {
  if (Attached || !window) return;
  SkinData = data;
  Canvas = canvas;
  Form = form;
  Handle = window;
  Enabled = true;
  Mode = 0;
  if (Form) Form->Add(this);
  Unicode = IsWindowUnicode(window) != FALSE;
  Caption = WindowText(window);
  if (!window_sub_.Attach(window, [this](UINT msg, WPARAM wparam, LPARAM lparam) {
        TMessage m{msg, wparam, lparam, 0};
        WindowProc(m);
        return m.Result;
      }))
    return;
  InvalidateRect(window, nullptr, TRUE);
  Attached = true;
  LifeState = kAttached;
}

void TSkinControl::HookGraphic(TControl* control) {
  GraphicControl = control;
  control_sub_.Attach(control, [this](TMessage& m) { WindowProc(m); });
}

void TSkinControl::Detach() {
  if (!OwnColor || !Control) return;
  SwitchParentBackground(false);
  RestoreColour();
}

void TSkinControl::SaveColour() {
  if (!Control) return;
  SavedColor = Control->Color();
  SavedParentColor = Control->ParentColor();
}

// Setting a colour stops a control following its parent's; one that
// followed it follows it again.
void TSkinControl::RestoreColour() {
  if (!Control) return;
  Control->SetColor(SavedColor);
  if (SavedParentColor) Control->SetParentColor(true);
}

void TSkinControl::SkinChanged() {
  if (OwnColor && Control) Control->SetColor(Skin().Colours[kcButtonFace]);
  Refresh();
}

// ---- messages ------------------------------------------------------------------

void TSkinControl::WindowProc(TMessage& m) {
  if (m.Msg == kSkmSetActive) {
    Active = static_cast<int>(m.WParam) > 0;
    ActiveChanged();
    if (Active) Refresh();
    return;
  }
  if (!Active || LifeState == kWindowGone) {
    CallOriginal(m);
    return;
  }
  if (BeforeMessage(m)) {
    CallOriginal(m);
    AfterMessage(m);
  }
}

void TSkinControl::CallOriginal(TMessage& m) {
  if (control_sub_.Attached() || GraphicControl || Control) {
    control_sub_.CallOld(m);
    return;
  }
  m.Result = window_sub_.CallOld(m.Msg, m.WParam, m.LParam);
}

bool TSkinControl::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCDESTROY:
      CallOriginal(m);
      Active = false;
      LifeState = kWindowGone;
      Detach();
      return false;
    case kSkmIsSkinned:
      m.Result = 1;
      return false;
    default:
      return true;
  }
}

void TSkinControl::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
      Refresh();
      break;
    case WM_PAINT:
      PaintWindow(reinterpret_cast<HDC>(m.WParam));
      break;
    default:
      break;
  }
}

// ---- painting -----------------------------------------------------------------

void TSkinControl::PaintWindow(HDC dc) {
  RECT r;
  if (!Handle || !GetWindowRect(Handle, &r)) return;
  OffsetRect(&r, -r.left, -r.top);
  try {
    if (dc) {
      DrawSkin(dc, r);
      return;
    }
    HDC own = GetWindowDC(Handle);
    if (!own) return;
    DrawSkin(own, r);
    ReleaseDC(Handle, own);
  } catch (...) {
    // The window keeps what the control painted.
  }
}

void TSkinControl::DrawSkin(HDC, const RECT&) {}

void TSkinControl::PaintMessage(TMessage& m) {
  PAINTSTRUCT ps{};
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  const bool began = dc == nullptr;
  if (began) dc = BeginPaint(Handle, &ps);
  RECT r;
  if (dc && GetWindowRect(Handle, &r)) {
    OffsetRect(&r, -r.left, -r.top);
    try {
      DrawSkin(dc, r);
    } catch (...) {
    }
  }
  if (began) EndPaint(Handle, &ps);
  m.Result = 0;
}

void TSkinControl::Refresh() {
  if (GraphicControl) {
    GraphicControl->Invalidate();
    return;
  }
  if (!Handle || !IsWindow(Handle)) return;
  InvalidateRect(Handle, nullptr, TRUE);
  UpdateWindow(Handle);
}

void TSkinControl::EraseToParent(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (Control && Handle) {
    PaintParentBackground(Handle, dc);
  } else if (Handle) {
    RECT r;
    GetClientRect(Handle, &r);
    FillParentColor(dc, r);
  }
  m.Result = 1;
}

const TSkinContent& TSkinControl::Skin() const {
  return SkinData ? SkinData->Content() : EmptySkin();
}

bool TSkinControl::HasSkin() const {
  return SkinData && !SkinData->SkinEmpty();
}

COLORREF TSkinControl::SkinColour(int slot) const {
  if (slot < 0 || slot >= kSkinColourCount) return GetSysColor(COLOR_BTNFACE);
  return ToColorRef(Skin().Colours[static_cast<size_t>(slot)]);
}

void TSkinControl::FillFace(HDC dc, const RECT& r) const {
  HBRUSH b = CreateSolidBrush(SkinColour(kcButtonFace));
  FillRect(dc, &r, b);
  DeleteObject(b);
}

void TSkinControl::FillParentColor(HDC dc, const RECT& r) const {
  HBRUSH b = CreateSolidBrush(ParentColor(SkinColour(kcButtonFace)));
  FillRect(dc, &r, b);
  DeleteObject(b);
}

COLORREF TSkinControl::ParentColor(COLORREF fallback) const {
  TControl* c = Control ? Control : GraphicControl;
  if (!c || !c->Parent()) return fallback;
  const int64_t v = GetOrdPropByName(c->Parent(), "Color");
  return v == -1 ? fallback : ToColorRef(static_cast<TColor>(v));
}

UINT TSkinControl::ReadingFlags(UINT flags) const {
  TControl* c = Control ? Control : GraphicControl;
  if (c && c->BiDiMode() == TBiDiMode::bdRightToLeft) flags |= DT_RTLREADING;
  return flags;
}

void TSkinControl::DrawTextFocus(HDC dc, UINT flags, const RECT& rect) {
  RECT measured = rect;
  DrawTextW(dc, Caption.c_str(), static_cast<int>(Caption.size()), &measured,
            flags | DT_CALCRECT | DT_NOCLIP);
  const TRect f = CaptionFocusRect({rect.left, rect.top, rect.right, rect.bottom},
                                   {measured.right - measured.left, measured.bottom - measured.top},
                                   flags & (DT_CENTER | DT_RIGHT));
  if (f.IsEmpty()) return;
  RECT fr{f.Left, f.Top, f.Right, f.Bottom};
  DrawFocusRect(dc, &fr);
}

void TSkinControl::ForwardMouseDown(const TMessage& m) {
  if (!Control) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  const POINT client = Control->ScreenToClient(cursor);
  const TPoint p = MouseDownPosition(Control->Width(), Control->Height(),
                                     static_cast<uint32_t>(m.LParam), {client.x, client.y});
  Control->NotifyMouseDown(TMouseButton::mbLeft, MouseShiftState(m.WParam), p.X, p.Y);
}

void TSkinControl::SwitchParentBackground(bool off) {
  if (!Control || (SkinData && SkinData->Options().Has(xoParentBackGround))) return;
  const std::string value = GetEnumPropByName(Control, "ParentBackground");
  if (value.empty()) return;
  if (off) {
    if (value == "True" || value == "true") {
      ParentBackgroundOff = true;
      SetPropFromText(Control, "ParentBackground", "False");
    }
  } else if (ParentBackgroundOff) {
    SetPropFromText(Control, "ParentBackground", "True");
    ParentBackgroundOff = false;
  }
}

LONG_PTR TSkinControl::GetLong(HWND window, int index) {
  return IsWindowUnicode(window) ? GetWindowLongPtrW(window, index)
                                 : GetWindowLongPtrA(window, index);
}

std::wstring TSkinControl::WindowText(HWND window) {
  const int n = GetWindowTextLengthW(window);
  if (n <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(window, buffer.data(), n + 1);
  return std::wstring(buffer.data(), static_cast<size_t>(std::max(got, 0)));
}

void TSkinControl::ReadWindowState() {
  if (!Handle) return;
  Enabled = (GetLong(Handle, GWL_STYLE) & WS_DISABLED) == 0;
  Focused = GetFocus() == Handle;
}

std::wstring TSkinControl::CurrentCaption() const {
  if (Control) return WidenText(Control->Caption());
  if (GraphicControl) return WidenText(GraphicControl->Caption());
  return Handle ? WindowText(Handle) : std::wstring();
}
