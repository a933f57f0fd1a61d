#include "framework/controls.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <stdexcept>

#include "framework/forms.h"
#include "framework/menus.h"
#include "control_state.h"

using namespace framework_detail;

// --- Window to control mapping ---------------------------------------------------

std::string ControlPropertyName(HINSTANCE instance, DWORD thread_id) {
  char name[40];
  // Only the low 32 bits of the instance take part, on every target.
  std::snprintf(name, sizeof name, "ControlOfs%.8X%.8X",
                static_cast<unsigned>(reinterpret_cast<uintptr_t>(instance) & 0xFFFFFFFFu),
                static_cast<unsigned>(thread_id));
  return name;
}

ATOM ControlAtom() {
  // One atom per thread: the thread id is part of the name.
  thread_local ATOM atom =
      GlobalAddAtomA(ControlPropertyName(MainInstance(), GetCurrentThreadId()).c_str());
  return atom;
}

TControl* FindControl(HWND window) {
  if (!window) return nullptr;
  return static_cast<TControl*>(GetPropA(window, MAKEINTATOM(ControlAtom())));
}

namespace framework_detail {

thread_local TWinControl* g_creating = nullptr;
thread_local TControl* g_mouse_control = nullptr;
thread_local TControl* g_capture_control = nullptr;

std::map<std::string, WNDPROC>& NativeProcs() {
  static std::map<std::string, WNDPROC> procs;
  return procs;
}

bool IsMouseMessage(UINT msg) {
  return msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK;
}

}  // namespace framework_detail

TControl* MouseControl() {
  return g_mouse_control;
}
TControl* CaptureControl() {
  return g_capture_control;
}

TShiftState MouseShiftState(WPARAM wparam) {
  TShiftState s = 0;
  if (wparam & MK_SHIFT) s |= ssShift;
  if (wparam & MK_CONTROL) s |= ssCtrl;
  if (wparam & MK_LBUTTON) s |= ssLeft;
  if (wparam & MK_RBUTTON) s |= ssRight;
  if (wparam & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TShiftState KeyboardShiftState() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

// The one window procedure of every framework window class. It maps the
// window to its control through the "ControlOfs" property (no executable
// thunks) and hands the message to the control's WindowProc.
LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* control = static_cast<TWinControl*>(FindControl(window));
  if (!control) {
    if (!g_creating) return DefWindowProcA(window, msg, wparam, lparam);
    control = g_creating;
    g_creating = nullptr;
    control->AttachWindow(window);
  }
  TMessage m{msg, wparam, lparam, 0};
  try {
    // A copy: the handler may free the control (and its WindowProc with it).
    TWndMethod proc = control->WindowProc;
    proc(m);
  } catch (...) {
    // The control may be gone by now; only the application is touched.
    Application->HandleException(nullptr);
  }
  return m.Result;
}

// --- TControl ------------------------------------------------------------------

const TEnumInfo kAlignIdents{{"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}};
const TEnumInfo kBiDiModeIdents{
    {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"}};

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  font_->OnChange = [this](TObject*) {
    parent_font_ = false;  // set again when the change came from the parent
    Perform(CM_FONTCHANGED);
  };
}

TControl::~TControl() {
  if (g_mouse_control == this) g_mouse_control = nullptr;
  if (g_capture_control == this) g_capture_control = nullptr;
  if (parent_) {
    if (TCustomForm* f = ParentForm()) f->ControlRemoved(this);
    parent_->RemoveControl(this);
  }
}

void TControl::PublishProperties(TClassInfo& info) {
  TPublisher<TControl>(info)
      .Integer("Left", &TControl::Left, &TControl::SetLeft)
      .Integer("Top", &TControl::Top, &TControl::SetTop)
      .Integer("Width", &TControl::Width, &TControl::SetWidth)
      .Integer("Height", &TControl::Height, &TControl::SetHeight)
      .Integer("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth)
      .Integer("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight)
      .Boolean("Visible", &TControl::Visible, &TControl::SetVisible)
      .Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled)
      .Integer("Color", &TControl::Color, &TControl::SetColor)
      .Boolean("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
      .Boolean("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
      .Object("Font", &TControl::Font, &TControl::SetFont)
      .String("Caption", &TControl::Caption, &TControl::SetCaption)
      .String("Text", &TControl::Text, &TControl::SetText)
      .String("Hint", &TControl::Hint, &TControl::SetHint)
      .Boolean("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
      .Enumeration("BiDiMode", kBiDiModeIdents, &TControl::BiDiMode, &TControl::SetBiDiMode)
      .Integer("Cursor", &TControl::Cursor, &TControl::SetCursor)
      .Enumeration("Align", kAlignIdents, &TControl::Align, &TControl::SetAlign)
      .Object("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (menu == popup_menu_) return;
  if (popup_menu_) RemoveFreeNotification(popup_menu_);
  popup_menu_ = menu;
  if (popup_menu_) FreeNotification(popup_menu_);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == popup_menu_) popup_menu_ = nullptr;
}

LRESULT TControl::Perform(UINT msg, WPARAM wparam, LPARAM lparam) {
  TMessage m{msg, wparam, lparam, 0};
  TWndMethod proc = WindowProc;  // the handler may free this control
  proc(m);
  return m.Result;
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw std::invalid_argument("A control cannot be its own parent");
  if (parent_) parent_->RemoveControl(this);
  if (parent) {
    parent->InsertControl(this);
    Perform(CM_PARENTCOLORCHANGED);
    Perform(CM_PARENTFONTCHANGED);
  }
}

TCustomForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->parent_)
    c = c->parent_;
  return c->Is<TCustomForm>() ? const_cast<TCustomForm*>(static_cast<const TCustomForm*>(c))
                              : nullptr;
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  Invalidate();
  left_ = left;
  top_ = top;
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  Invalidate();
  if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

void TControl::SetClientSize(int width, int height) {
  RECT c = ClientRect();
  SetBounds(left_, top_, width_ + width - c.right, height_ + height - c.bottom);
}

POINT TControl::ClientToScreen(POINT p) const {
  if (auto* w = dynamic_cast<const TWinControl*>(this); w && w->handle_) {
    ::ClientToScreen(w->handle_, &p);
    return p;
  }
  if (parent_) return parent_->ClientToScreen(POINT{p.x + left_, p.y + top_});
  return p;
}

POINT TControl::ScreenToClient(POINT p) const {
  if (auto* w = dynamic_cast<const TWinControl*>(this); w && w->handle_) {
    ::ScreenToClient(w->handle_, &p);
    return p;
  }
  if (parent_) {
    POINT q = parent_->ScreenToClient(p);
    return POINT{q.x - left_, q.y - top_};
  }
  return p;
}

void TControl::SetVisible(bool v) {
  if (v == visible_) return;
  if (!v) Invalidate();
  visible_ = v;
  Perform(CM_VISIBLECHANGED, v ? 1 : 0);
  if (v) Invalidate();
  if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

bool TControl::Showing() const {
  if (!visible_) return false;
  if (parent_) return parent_->Showing();
  auto* w = dynamic_cast<const TWinControl*>(this);
  return w && w->handle_ && IsWindowVisible(w->handle_);
}

void TControl::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor v) {
  parent_color_ = false;
  if (v == color_) return;
  color_ = v;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool v) {
  parent_color_ = v;
  if (v) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetParentFont(bool v) {
  parent_font_ = v;
  if (v) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetFont(TFont* v) {
  if (v && v != font_.get()) font_->Assign(*v);
}

void TControl::SetText(const std::string& v) {
  if (v == text_) return;
  text_ = v;
  Perform(CM_TEXTCHANGED);
}

void TControl::SetShowHint(bool v) {
  if (v == show_hint_) return;
  show_hint_ = v;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetBiDiMode(TBiDiMode v) {
  if (v == bidi_mode_) return;
  bidi_mode_ = v;
  Perform(CM_BIDIMODECHANGED);
}

void TControl::SetAlign(TAlign v) {
  if (v == align_) return;
  align_ = v;
  if (parent_) parent_->Realign();
}

void TControl::Invalidate() {
  if (parent_ && parent_->handle_ && width_ > 0 && height_ > 0) {
    RECT r = BoundsRect();
    InvalidateRect(parent_->handle_, &r, TRUE);
  }
}

void TControl::Repaint() {
  Invalidate();
  if (parent_) parent_->Update();
}

void TControl::BringToFront() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.push_back(this);
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->handle_) {
    SetWindowPos(w->handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  Invalidate();
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

bool TControl::MouseInControl() const {
  return g_mouse_control == this;
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::OnMouseButtonDown(TMessage& msg) {
  const int x = GET_X_LPARAM(msg.LParam), y = GET_Y_LPARAM(msg.LParam);
  DefaultHandler(msg);
  if (!enabled_) return;
  TMouseButton b = msg.Msg <= WM_LBUTTONDBLCLK   ? TMouseButton::mbLeft
                   : msg.Msg <= WM_RBUTTONDBLCLK ? TMouseButton::mbRight
                                                 : TMouseButton::mbMiddle;
  TShiftState s = MouseShiftState(msg.WParam);
  if (msg.Msg == WM_LBUTTONDBLCLK || msg.Msg == WM_RBUTTONDBLCLK || msg.Msg == WM_MBUTTONDBLCLK) {
    s |= ssDouble;
  }
  if (b == TMouseButton::mbLeft) clicked_ = true;
  MouseDown(b, s, x, y);
  if (msg.Msg == WM_LBUTTONDBLCLK && OnDblClick) OnDblClick(this);
}

void TControl::OnMouseButtonUp(TMessage& msg) {
  const int x = GET_X_LPARAM(msg.LParam), y = GET_Y_LPARAM(msg.LParam);
  DefaultHandler(msg);
  if (!enabled_) return;
  TMouseButton b = msg.Msg == WM_LBUTTONUP   ? TMouseButton::mbLeft
                   : msg.Msg == WM_RBUTTONUP ? TMouseButton::mbRight
                                             : TMouseButton::mbMiddle;
  bool click = b == TMouseButton::mbLeft && clicked_;
  if (b == TMouseButton::mbLeft) clicked_ = false;
  RECT r = ClientRect();
  POINT p{x, y};
  MouseUp(b, MouseShiftState(msg.WParam), x, y);
  // A click needs the button to go down and up inside the control; the
  // handlers above may have freed it, so this is the last use of `this`.
  if (click && click_events_ && PtInRect(&r, p)) Click();
}

void TControl::OnMouseMoveMessage(TMessage& msg) {
  const int x = GET_X_LPARAM(msg.LParam), y = GET_Y_LPARAM(msg.LParam);
  DefaultHandler(msg);
  MouseMove(MouseShiftState(msg.WParam), x, y);
}

void TControl::OnParentColorChanged() {
  if (parent_color_ && parent_ && parent_->Color() != color_) {
    color_ = parent_->Color();
    Perform(CM_COLORCHANGED);
  }
}

void TControl::OnParentFontChanged() {
  if (parent_font_ && parent_) {
    font_->Assign(*parent_->Font());
    parent_font_ = true;
  }
}

void TControl::WndProc(TMessage& msg) {
  switch (msg.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      OnMouseButtonDown(msg);
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      OnMouseButtonUp(msg);
      break;
    case WM_MOUSEMOVE:
      OnMouseMoveMessage(msg);
      break;
    case CM_MOUSEENTER:
      if (OnMouseEnter) OnMouseEnter(this);
      break;
    case CM_MOUSELEAVE:
      if (OnMouseLeave) OnMouseLeave(this);
      break;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
      Invalidate();
      break;
    case CM_PARENTCOLORCHANGED:
      OnParentColorChanged();
      break;
    case CM_PARENTFONTCHANGED:
      OnParentFontChanged();
      break;
    case CM_TEXTCHANGED:
      TextChanged();
      break;
    default:
      DefaultHandler(msg);
  }
}

void TControl::DefaultHandler(TMessage&) {}

// --- TGraphicControl -----------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), canvas_(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() = default;

TCanvas& TGraphicControl::Canvas() {
  return *canvas_;
}

void TGraphicControl::WndProc(TMessage& msg) {
  if (msg.Msg == WM_PAINT && msg.WParam) {
    canvas_->Font().Assign(*Font());
    canvas_->Brush().SetColor(Color());
    canvas_->SetHandle(reinterpret_cast<HDC>(msg.WParam));
    try {
      Paint();
    } catch (...) {
      canvas_->SetHandle(nullptr);
      throw;
    }
    canvas_->SetHandle(nullptr);
    return;
  }
  TControl::WndProc(msg);
}

void TGraphicControl::Paint() {
  if (OnPaint) OnPaint(this);
}

// --- TCustomControl ------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {}

TCustomControl::~TCustomControl() {
  DestroyWnd();
}

void TCustomControl::PaintWindow(HDC dc) {
  canvas_->Font().Assign(*Font());
  canvas_->Brush().SetColor(Color());
  canvas_->SetHandle(dc);
  try {
    Paint();
  } catch (...) {
    canvas_->SetHandle(nullptr);
    throw;
  }
  canvas_->SetHandle(nullptr);
}

void TCustomControl::Paint() {
  if (OnPaint) OnPaint(this);
}
