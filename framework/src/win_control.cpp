// TWinControl: a control with a window of its own, its children, focus and
// tab order, alignment, and the message handling every windowed control shares.
#include <windowsx.h>

#include <algorithm>
#include <map>

#include "control_state.h"
#include "framework/controls.h"
#include "framework/forms.h"
#include "framework/menus.h"

using namespace framework_detail;

// --- TWinControl ---------------------------------------------------------------

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  // Children die with their parent, the topmost first.
  while (!controls_.empty()) {
    TControl* c = controls_.back();
    c->Free();
    if (!controls_.empty() && controls_.back() == c) controls_.pop_back();
  }
  DestroyWnd();
}

void TWinControl::PublishProperties(TClassInfo& info) {
  TPublisher<TWinControl>(info)
      .Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
      .Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
      .Boolean("ParentBackground", &TWinControl::ParentBackground,
               &TWinControl::SetParentBackground);
}

HWND TWinControl::Handle() {
  if (!handle_) CreateWnd();
  return handle_;
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.Caption = text_;
  p.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  if (Visible()) p.Style |= WS_VISIBLE;
  if (!Enabled()) p.Style |= WS_DISABLED;
  if (tab_stop_) p.Style |= WS_TABSTOP;
  if (UseRightToLeftReading()) p.ExStyle |= WS_EX_RTLREADING | WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR;
  p.X = Left();
  p.Y = Top();
  p.Width = Width();
  p.Height = Height();
  p.WndParent = Parent() ? Parent()->Handle() : nullptr;
  p.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  p.WindowClass.lpfnWndProc = DefWindowProcA;
  p.WindowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  p.WindowClass.hInstance = MainInstance();
  p.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& p, const char* name) {
  WNDCLASSA native{};
  if (!GetClassInfoA(nullptr, name, &native) && !GetClassInfoA(MainInstance(), name, &native)) {
    throw std::runtime_error(std::string("Window class not found: ") + name);
  }
  // Keep the native class's styles and extra bytes (its procedure stores
  // its state there); our class only changes the procedure and the name.
  p.WindowClass = native;
  p.WindowClass.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
  p.WindowClass.hInstance = MainInstance();
  p.WindowClass.lpszClassName = nullptr;
  p.NativeClassName = name;
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  // Making the parent's window (inside CreateParams) makes its children's
  // windows too, this one included: a second window would be an orphan.
  if (handle_) return;
  if ((p.Style & WS_CHILD) && !p.WndParent) {
    throw std::runtime_error("Control '" + Name() + "' has no parent window");
  }
  // One window class per framework class, registered on first use.
  WNDCLASSA existing{};
  if (!GetClassInfoA(MainInstance(), p.WinClassName.c_str(), &existing) ||
      existing.lpfnWndProc != FrameworkWindowProc) {
    WNDCLASSA wc = p.WindowClass;
    wc.lpfnWndProc = FrameworkWindowProc;
    wc.lpszClassName = p.WinClassName.c_str();
    if (!RegisterClassA(&wc)) {
      throw std::runtime_error("Cannot register window class " + p.WinClassName);
    }
    NativeProcs()[p.WinClassName] = p.WindowClass.lpfnWndProc;
  }
  def_wnd_proc_ = NativeProcs()[p.WinClassName];
  if (!def_wnd_proc_) def_wnd_proc_ = DefWindowProcA;

  TWinControl* outer = g_creating;
  g_creating = this;
  HWND h = CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y,
                           p.Width, p.Height, p.WndParent, p.Menu, MainInstance(), nullptr);
  if (g_creating == this) g_creating = outer;
  if (!h) {
    DetachWindow();
    throw std::runtime_error("Error creating window of class " + p.WinClassName);
  }
  if (handle_ != h) AttachWindow(h);
  SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
  CreateWindowHandle(p);
  for (TControl* c : controls_) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->HandleNeeded();
  }
  Realign();
}

void TWinControl::DestroyWnd() {
  if (!handle_) return;
  HWND h = handle_;
  DestroyWindow(h);
  if (handle_ == h) DetachWindow();  // destroyed without WM_NCDESTROY reaching us
}

void TWinControl::RecreateWnd() {
  if (handle_) Perform(CM_RECREATEWND);
}

void TWinControl::AttachWindow(HWND window) {
  handle_ = window;
  SetPropA(window, MAKEINTATOM(ControlAtom()), static_cast<TControl*>(this));
}

void TWinControl::DetachWindow() {
  if (handle_) RemovePropA(handle_, MAKEINTATOM(ControlAtom()));
  handle_ = nullptr;
}

void TWinControl::InsertControl(TControl* c) {
  controls_.push_back(c);
  c->parent_ = this;
  auto* w = dynamic_cast<TWinControl*>(c);
  if (w) {
    tab_list_.push_back(w);
    if (handle_) w->HandleNeeded();
  } else {
    c->Invalidate();
  }
  if (c->Align() != TAlign::alNone) Realign();
}

void TWinControl::RemoveControl(TControl* c) {
  c->Invalidate();
  controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
  tab_list_.erase(std::remove(tab_list_.begin(), tab_list_.end(), c), tab_list_.end());
  c->parent_ = nullptr;
  if (c->Align() != TAlign::alNone) Realign();
}

void TWinControl::SetParent(TWinControl* parent) {
  if (parent == Parent()) return;
  TControl::SetParent(parent);
  if (!handle_) return;
  if (parent && parent->handle_) {
    ::SetParent(handle_, parent->handle_);
  } else {
    DestroyWnd();
  }
}

TControl* TWinControl::ControlAtPos(POINT p, bool allow_disabled, bool allow_windowed) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    bool windowed = dynamic_cast<TWinControl*>(c) != nullptr;
    if (windowed && !allow_windowed) continue;
    if (!c->Visible() || (!c->Enabled() && !allow_disabled)) continue;
    RECT r = c->BoundsRect();
    if (PtInRect(&r, p)) return c;
  }
  return nullptr;
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  auto it = controls_.begin();
  if (first) it = std::find(controls_.begin(), controls_.end(), first);
  for (; it != controls_.end(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
    RECT r = c->BoundsRect();
    if (!RectVisible(dc, &r)) continue;
    int saved = SaveDC(dc);
    // The child paints in its own coordinates, clipped to its bounds.
    POINT org{};
    GetViewportOrgEx(dc, &org);
    SetViewportOrgEx(dc, org.x + c->Left(), org.y + c->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
  }
}

void TWinControl::NotifyControls(UINT msg) {
  for (size_t i = 0; i < controls_.size(); ++i)
    controls_[i]->Perform(msg);
}

void TWinControl::Broadcast(TMessage& msg) {
  for (size_t i = 0; i < controls_.size(); ++i) {
    controls_[i]->WindowProc(msg);
    if (msg.Result != 0) return;
  }
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tab_list_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!Parent()) return;
  auto& list = Parent()->tab_list_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  size_t at = order < 0 ? list.size() : std::min(static_cast<size_t>(order), list.size());
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), this);
}

void TWinControl::SetParentBackground(bool v) {
  if (v == parent_background_) return;
  parent_background_ = v;
  Invalidate();
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent()) {
    if (!c->Visible() || !c->Enabled()) return false;
  }
  return true;
}

bool TWinControl::Focused() const {
  return handle_ && GetFocus() == handle_;
}

void TWinControl::SetFocus() {
  if (!CanFocus()) throw std::runtime_error("Cannot focus a disabled or invisible window");
  ::SetFocus(Handle());
}

namespace {

void CollectTabOrder(const TWinControl* c, std::vector<TWinControl*>& out) {
  for (TWinControl* w : c->TabList()) {
    out.push_back(w);
    CollectTabOrder(w, out);
  }
}

}  // namespace

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward,
                                          bool check_tab_stop) const {
  std::vector<TWinControl*> list;
  CollectTabOrder(this, list);
  if (list.empty()) return nullptr;
  size_t n = list.size();
  size_t start = 0;
  auto it = std::find(list.begin(), list.end(), current);
  if (it != list.end()) {
    start = static_cast<size_t>(it - list.begin());
  } else {
    start = forward ? n - 1 : 0;
  }
  for (size_t step = 1; step <= n; ++step) {
    size_t i = forward ? (start + step) % n : (start + n - step) % n;
    TWinControl* w = list[i];
    if (w->CanFocus() && (!check_tab_stop || w->TabStop())) return w;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool check_tab_stop) {
  if (TWinControl* next = FindNextControl(current, forward, check_tab_stop)) next->SetFocus();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (handle_) {
    // The window reports its new place through WM_WINDOWPOSCHANGED.
    SetWindowPos(handle_, nullptr, left, top, std::max(width, 0), std::max(height, 0),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  bool resized = width != Width() || height != Height();
  TControl::SetBounds(left, top, width, height);
  if (resized) Realign();
}

RECT TWinControl::ClientRect() const {
  RECT r{0, 0, Width(), Height()};
  if (handle_) GetClientRect(handle_, &r);
  return r;
}

void TWinControl::SetVisible(bool v) {
  if (v == Visible()) return;
  TControl::SetVisible(v);
  if (handle_) ShowWindow(handle_, v ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool v) {
  if (v == Enabled()) return;
  if (handle_) EnableWindow(handle_, v);
  TControl::SetEnabled(v);
}

const std::string& TWinControl::Text() const {
  if (!handle_) return TControl::Text();
  int n = GetWindowTextLengthA(handle_);
  window_text_.assign(static_cast<size_t>(std::max(n, 0)) + 1, '\0');
  int got = GetWindowTextA(handle_, window_text_.data(), n + 1);
  window_text_.resize(static_cast<size_t>(std::max(got, 0)));
  return window_text_;
}

void TWinControl::SetText(const std::string& v) {
  if (handle_) {
    if (v == Text()) return;
    SetWindowTextA(handle_, v.c_str());
  }
  TControl::SetText(v);
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

void TWinControl::Realign() {
  if (aligning_) return;
  aligning_ = true;
  RECT r = ClientRect();
  static const TAlign kOrder[] = {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight,
                                  TAlign::alClient};
  try {
    for (TAlign a : kOrder) {
      for (TControl* c : controls_) {
        if (c->Align() != a || !c->Visible()) continue;
        int w = r.right - r.left, h = r.bottom - r.top;
        switch (a) {
          case TAlign::alTop:
            c->SetBounds(r.left, r.top, w, c->Height());
            r.top += c->Height();
            break;
          case TAlign::alBottom:
            c->SetBounds(r.left, r.bottom - c->Height(), w, c->Height());
            r.bottom -= c->Height();
            break;
          case TAlign::alLeft:
            c->SetBounds(r.left, r.top, c->Width(), h);
            r.left += c->Width();
            break;
          case TAlign::alRight:
            c->SetBounds(r.right - c->Width(), r.top, c->Width(), h);
            r.right -= c->Width();
            break;
          default:
            c->SetBounds(r.left, r.top, w, h);
        }
      }
    }
  } catch (...) {
    aligning_ = false;
    throw;
  }
  aligning_ = false;
}

void TWinControl::EraseBackground(HDC dc) {
  RECT r;
  GetClientRect(handle_, &r);
  HBRUSH b = CreateSolidBrush(ColorToRGB(Color()));
  ::FillRect(dc, &r, b);
  DeleteObject(b);
}

void TWinControl::PaintWindow(HDC dc) {
  if (def_wnd_proc_ == DefWindowProcA) return;  // our own class: the background is all
  TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintHandler(TMessage& msg) {
  if (msg.WParam) {
    HDC dc = reinterpret_cast<HDC>(msg.WParam);
    PaintWindow(dc);
    PaintControls(dc);
    return;
  }
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(handle_, &ps);
  try {
    PaintWindow(dc);
    PaintControls(dc);
  } catch (...) {
    EndPaint(handle_, &ps);
    throw;
  }
  EndPaint(handle_, &ps);
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::UpdateMouseControl(TControl* control) {
  if (control != g_mouse_control) {
    TControl* old = g_mouse_control;
    g_mouse_control = control;
    if (old) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
    if (control && g_mouse_control == control) {
      control->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(control));
    }
  }
  // Ask for WM_MOUSELEAVE when the mouse leaves this window (again after
  // each delivery; asking twice is harmless).
  if (handle_) {
    TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, handle_, 0};
    TrackMouseEvent(&t);
  }
}

// Routes mouse messages to windowless children (the captured one first, else
// the topmost under the mouse) and keeps CM_MOUSEENTER/CM_MOUSELEAVE going.
// Returns true when a child took the message.
bool TWinControl::RouteMouseMessage(TMessage& msg) {
  if (msg.Msg == WM_MOUSELEAVE) {
    TControl* m = g_mouse_control;
    if (m && (m == this || (m->parent_ == this && !dynamic_cast<TWinControl*>(m)))) {
      g_mouse_control = nullptr;
      m->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(m));
    }
    return false;
  }
  if (!IsMouseMessage(msg.Msg)) return false;
  POINT p{GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)};
  TControl* target = nullptr;
  if (g_capture_control && g_capture_control->parent_ == this) {
    target = g_capture_control;
  } else {
    target = ControlAtPos(p, false);
  }
  {
    // Every mouse message tells where the mouse is (tests and synthesized
    // input may skip the WM_MOUSEMOVE before a click).
    TControl* hit = ControlAtPos(p, false);
    RECT client = ClientRect();
    UpdateMouseControl(hit ? hit : (PtInRect(&client, p) ? this : nullptr));
  }
  if (!target) return false;
  bool down = msg.Msg == WM_LBUTTONDOWN || msg.Msg == WM_RBUTTONDOWN || msg.Msg == WM_MBUTTONDOWN ||
              msg.Msg == WM_LBUTTONDBLCLK || msg.Msg == WM_RBUTTONDBLCLK ||
              msg.Msg == WM_MBUTTONDBLCLK;
  bool up = msg.Msg == WM_LBUTTONUP || msg.Msg == WM_RBUTTONUP || msg.Msg == WM_MBUTTONUP;
  if (down) {
    g_capture_control = target;
    if (handle_) SetCapture(handle_);
  }
  TMessage m{msg.Msg, msg.WParam, MAKELPARAM(p.x - target->Left(), p.y - target->Top()), 0};
  HWND h = handle_;
  // Release before dispatching the button-up: its handler may free `target`
  // or this control.
  if (up && !(msg.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
    g_capture_control = nullptr;
    if (GetCapture() == h) ReleaseCapture();
  }
  target->WindowProc(m);
  msg.Result = m.Result;
  return true;
}

bool TWinControl::ReflectToChild(TMessage& msg) {
  HWND child = nullptr;
  switch (msg.Msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      child = reinterpret_cast<HWND>(msg.LParam);
      break;
    case WM_NOTIFY:
      if (msg.LParam) child = reinterpret_cast<NMHDR*>(msg.LParam)->hwndFrom;
      break;
    case WM_DRAWITEM:
      if (msg.LParam) child = reinterpret_cast<DRAWITEMSTRUCT*>(msg.LParam)->hwndItem;
      break;
    case WM_MEASUREITEM:
      if (msg.LParam && handle_) {
        child = GetDlgItem(
            handle_, static_cast<int>(reinterpret_cast<MEASUREITEMSTRUCT*>(msg.LParam)->CtlID));
      }
      break;
    default:
      return false;
  }
  TControl* c = FindControl(child);
  if (!c || c == this) return false;
  msg.Result = c->Perform(CN_BASE + msg.Msg, msg.WParam, msg.LParam);
  return true;
}

bool TWinControl::OnFocusChanged(TMessage& msg) {
  // Every control of the form hears where the focus went (a default
  // button gives up its look while another button has the focus).
  const std::vector<TControl*> children = controls_;
  for (TControl* c : children) {
    if (std::find(controls_.begin(), controls_.end(), c) == controls_.end()) continue;
    TMessage copy = msg;
    c->WindowProc(copy);
  }
  return false;
}

bool TWinControl::OnPaintMessage(TMessage& msg) {
  bool has_graphic = std::any_of(controls_.begin(), controls_.end(), [](TControl* c) {
    return dynamic_cast<TWinControl*>(c) == nullptr;
  });
  if (def_wnd_proc_ != DefWindowProcA && !has_graphic && msg.WParam == 0) {
    DefaultHandler(msg);  // a native control paints itself
  } else {
    PaintHandler(msg);
  }
  return true;
}

void TWinControl::OnCtlColor(TMessage& msg) {
  HDC dc = reinterpret_cast<HDC>(msg.WParam);
  SetTextColor(dc, ColorToRGB(Font()->Color()));
  SetBkColor(dc, ColorToRGB(Color()));
  if (!brush_) brush_ = std::make_unique<TBrush>();
  brush_->SetColor(Color());
  msg.Result = reinterpret_cast<LRESULT>(brush_->Handle());
}

bool TWinControl::OnKeyMessage(TMessage& msg) {
  // A form with KeyPreview sees its controls' keys first; setting the key
  // to 0 consumes it.
  bool down = msg.Msg == WM_KEYDOWN || msg.Msg == WM_SYSKEYDOWN;
  WORD key = static_cast<WORD>(msg.WParam);
  TShiftState shift = KeyboardShiftState();
  TWinControl* form = ParentForm();
  if (form && form != this && static_cast<TCustomForm*>(form)->KeyPreview()) {
    down ? form->KeyDown(key, shift) : form->KeyUp(key, shift);
  }
  if (key != 0) down ? KeyDown(key, shift) : KeyUp(key, shift);
  if (key == 0) return true;
  msg.WParam = key;
  return false;
}

bool TWinControl::OnCharMessage(TMessage& msg) {
  char c = static_cast<char>(msg.WParam);
  TWinControl* form = ParentForm();
  if (form && form != this && static_cast<TCustomForm*>(form)->KeyPreview()) {
    form->KeyPress(c);
  }
  if (c != 0) KeyPress(c);
  if (c == 0) return true;
  msg.WParam = static_cast<unsigned char>(c);
  return false;
}

bool TWinControl::OnWindowPosChanged(TMessage& msg) {
  DefaultHandler(msg);
  RECT r;
  GetWindowRect(handle_, &r);
  if (HWND parent = GetParent(handle_); parent && (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD)) {
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  }
  bool resized = r.right - r.left != Width() || r.bottom - r.top != Height();
  left_ = r.left;
  top_ = r.top;
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
  if (resized) Realign();
  return true;
}

bool TWinControl::OnSetCursor(TMessage& msg) {
  if (LOWORD(msg.LParam) != HTCLIENT) return false;
  POINT p;
  GetCursorPos(&p);
  ::ScreenToClient(handle_, &p);
  TControl* c = ControlAtPos(p, false);
  int cursor = c && c->Cursor() != crDefault ? c->Cursor() : Cursor();
  if (cursor == crDefault || reinterpret_cast<HWND>(msg.WParam) != handle_) return false;
  static const std::map<int, LPCSTR> kCursors = {
      {crArrow, IDC_ARROW},       {crCross, IDC_CROSS},    {crIBeam, IDC_IBEAM},
      {crSizeNESW, IDC_SIZENESW}, {crSizeNS, IDC_SIZENS},  {crSizeNWSE, IDC_SIZENWSE},
      {crSizeWE, IDC_SIZEWE},     {crHourGlass, IDC_WAIT}, {crHandPoint, IDC_HAND}};
  auto it = kCursors.find(cursor);
  if (it == kCursors.end()) return false;
  ::SetCursor(LoadCursorA(nullptr, it->second));
  msg.Result = 1;
  return true;
}

bool TWinControl::OnContextMenu(TMessage& msg) {
  // lParam is the mouse in screen coordinates, or -1,-1 from the keyboard
  // (then the menu opens at the control's top-left corner).
  POINT screen{GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)};
  bool keyboard = msg.LParam == -1;
  TControl* target = this;
  if (!keyboard) {
    POINT p = screen;
    ::ScreenToClient(handle_, &p);
    if (TControl* child = ControlAtPos(p, false)) target = child;
  } else {
    screen = ClientToScreen(POINT{0, 0});
  }
  // The windowless child's menu, else this control's; without either
  // the default passes the message on to the parent window.
  TPopupMenu* menu = target->PopupMenu() ? target->PopupMenu() : PopupMenu();
  if (!menu) return false;
  menu->SetPopupComponent(target);
  menu->Popup(screen.x, screen.y);
  msg.Result = 1;
  return true;
}

bool TWinControl::OnEraseBackgroundMessage(TMessage& msg) {
  // A native class erases its own background.
  if (def_wnd_proc_ != DefWindowProcA) return false;
  EraseBackground(reinterpret_cast<HDC>(msg.WParam));
  msg.Result = 1;
  return true;
}

bool TWinControl::OnColourMessage(TMessage& msg) {
  // The WM_CTLCOLOR* family goes to the child it is about, which answers it
  // as CN_CTLCOLOR*.
  if (msg.Msg >= WM_CTLCOLORMSGBOX && msg.Msg <= WM_CTLCOLORSTATIC) return ReflectToChild(msg);
  if (msg.Msg < CN_CTLCOLORMSGBOX || msg.Msg > CN_CTLCOLORSTATIC) return false;
  OnCtlColor(msg);
  return true;
}

bool TWinControl::OnSetFocusMessage() {
  if (TCustomForm* f = ParentForm(); f && f != this) f->SetFocusedControl(this);
  return false;
}

bool TWinControl::OnNcDestroyMessage(TMessage& msg) {
  DefaultHandler(msg);
  DetachWindow();
  return true;
}

bool TWinControl::OnNotifyFormatMessage(TMessage& msg) {
  msg.Result = NFR_ANSI;  // native children ask which notifications we want
  return true;
}

bool TWinControl::OnRecreateWndMessage() {
  DestroyWnd();
  CreateWnd();
  return true;
}

bool TWinControl::OnFontChangedMessage() {
  if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 1);
  Invalidate();
  NotifyControls(CM_PARENTFONTCHANGED);
  return true;
}

bool TWinControl::OnColorChangedMessage() {
  Invalidate();
  NotifyControls(CM_PARENTCOLORCHANGED);
  return true;
}

bool TWinControl::OnBiDiModeChangedMessage() {
  RecreateWnd();
  return true;
}

bool TWinControl::OnEnterExitMessage(TMessage& msg) {
  const TNotifyEvent& event = msg.Msg == CM_ENTER ? OnEnter : OnExit;
  if (event) event(this);
  return true;
}

bool TWinControl::HandleOwnMessage(TMessage& msg) {
  switch (msg.Msg) {
    case CM_FOCUSCHANGED:
      return OnFocusChanged(msg);
    case WM_PAINT:
      return OnPaintMessage(msg);
    case WM_ERASEBKGND:
      return OnEraseBackgroundMessage(msg);
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      // Menus send these without a child window: to the menu item.
      return DispatchMenuMessage(msg) || ReflectToChild(msg);
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
      return ReflectToChild(msg);
    case WM_SETFOCUS:
      return OnSetFocusMessage();
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return OnKeyMessage(msg);
    case WM_CHAR:
      return OnCharMessage(msg);
    case WM_WINDOWPOSCHANGED:
      return OnWindowPosChanged(msg);
    case WM_SETCURSOR:
      return OnSetCursor(msg);
    case WM_NCDESTROY:
      return OnNcDestroyMessage(msg);
    case WM_CONTEXTMENU:
      return OnContextMenu(msg);
    case WM_NOTIFYFORMAT:
      return OnNotifyFormatMessage(msg);
    case CM_RECREATEWND:
      return OnRecreateWndMessage();
    case CM_FONTCHANGED:
      return OnFontChangedMessage();
    case CM_COLORCHANGED:
      return OnColorChangedMessage();
    case CM_BIDIMODECHANGED:
      return OnBiDiModeChangedMessage();
    case CM_ENTER:
    case CM_EXIT:
      return OnEnterExitMessage(msg);
    default:
      return OnColourMessage(msg);
  }
}

void TWinControl::WndProc(TMessage& msg) {
  if (RouteMouseMessage(msg) || HandleOwnMessage(msg)) return;
  TControl::WndProc(msg);
}

void TWinControl::DefaultHandler(TMessage& msg) {
  if (!handle_) return;
  msg.Result = CallWindowProcA(def_wnd_proc_, handle_, msg.Msg, msg.WParam, msg.LParam);
}
