#include "framework/forms.h"

#include <algorithm>
#include <stdexcept>

#include "framework/dialogs.h"
#include "framework/menus.h"

TApplication* Application = new TApplication();

const TEnumInfo kFormBorderStyleIdents{
    {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
const TEnumInfo kPositionIdents{{"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                                 "poScreenCenter", "poDesktopCenter", "poMainFormCenter",
                                 "poOwnerFormCenter"}};
const TEnumInfo kWindowStateIdents{{"wsNormal", "wsMinimized", "wsMaximized"}};

// --- TCustomForm ---------------------------------------------------------------

namespace {
// ShowWindow commands for wsNormal, wsMinimized, wsMaximized.
const int kShowCommands[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
}  // namespace

TCustomForm::TCustomForm(TComponent* owner)
    : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {
  SetVisibleFlag(false);
  SetParentColor(false);
  SetParentFont(false);
  SetBounds(100, 100, 320, 240);
  Application->forms_.push_back(this);
}

TCustomForm::~TCustomForm() {
  auto& forms = Application->forms_;
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  if (Application->main_form_ == this) Application->main_form_ = nullptr;
  if (menu_) menu_->SetWindowHandle(nullptr);
  DestroyWnd();
}

void TCustomForm::PublishProperties(TClassInfo& info) {
  TPublisher<TCustomForm>(info)
      .Enumeration("BorderStyle", kFormBorderStyleIdents, &TCustomForm::BorderStyle,
                   &TCustomForm::SetBorderStyle)
      .Enumeration("Position", kPositionIdents, &TCustomForm::Position, &TCustomForm::SetPosition)
      .Enumeration("WindowState", kWindowStateIdents, &TCustomForm::WindowState,
                   &TCustomForm::SetWindowState)
      .Object("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu)
      .Integer("ModalResult", &TCustomForm::ModalResult, &TCustomForm::SetModalResult)
      .Boolean("AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll)
      .Boolean("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview);
}

void TCustomForm::AfterConstruction() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::BeforeDestruction() {
  if (OnDestroy) OnDestroy(this);
}

void TCustomForm::FrameStyles(DWORD& style, DWORD& ex) const {
  switch (border_style_) {
    case TFormBorderStyle::bsNone:
      style |= WS_POPUP;
      break;
    case TFormBorderStyle::bsSingle:
      style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
      break;
    case TFormBorderStyle::bsSizeable:
      style |= WS_OVERLAPPEDWINDOW;
      break;
    case TFormBorderStyle::bsDialog:
      style |= WS_POPUP | WS_CAPTION | WS_SYSMENU;
      ex |= WS_EX_DLGMODALFRAME;
      break;
    case TFormBorderStyle::bsToolWindow:
      style |= WS_CAPTION | WS_SYSMENU;
      ex |= WS_EX_TOOLWINDOW;
      break;
    case TFormBorderStyle::bsSizeToolWin:
      style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
      ex |= WS_EX_TOOLWINDOW;
      break;
  }
}

RECT TCustomForm::ClientRect() const {
  if (HandleAllocated()) return TWinControl::ClientRect();
  DWORD style = 0, ex = 0;
  FrameStyles(style, ex);
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, style, menu_ != nullptr, ex);
  return RECT{0, 0, std::max<LONG>(0, Width() - (frame.right - frame.left)),
              std::max<LONG>(0, Height() - (frame.bottom - frame.top))};
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  p.ExStyle &= ~static_cast<DWORD>(WS_EX_RIGHT);
  FrameStyles(p.Style, p.ExStyle);
  if (!Enabled()) p.Style |= WS_DISABLED;
  // Secondary forms are owned by the main form: they stay above it and have
  // no taskbar button of their own.
  p.WndParent = nullptr;
  TCustomForm* main = Application->MainForm();
  if (main && main != this && main->HandleAllocated()) p.WndParent = main->WindowHandle();
  if (position_ == TPosition::poDefault || position_ == TPosition::poDefaultPosOnly) {
    p.X = p.Y = CW_USEDEFAULT;
  }
  p.WindowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
}

void TCustomForm::CreateWindowHandle(const TCreateParams&) {
  if (menu_) {
    menu_->SetWindowHandle(WindowHandle());
    ::SetMenu(WindowHandle(), menu_->Handle());
  }
  // A re-created window of a visible form (RecreateWnd) shows at once.
  if (Visible()) ShowWindow(WindowHandle(), kShowCommands[static_cast<int>(window_state_)]);
}

void TCustomForm::DestroyWnd() {
  // DestroyWindow also destroys the window's menu, which belongs to the
  // TMainMenu: take it off first.
  if (HandleAllocated() && GetMenu(WindowHandle())) ::SetMenu(WindowHandle(), nullptr);
  TWinControl::DestroyWnd();
}

void TCustomForm::PlaceWindow() {
  if (placed_) return;
  placed_ = true;
  RECT area{};
  switch (position_) {
    case TPosition::poScreenCenter:
    case TPosition::poDesktopCenter:
      SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
      break;
    case TPosition::poMainFormCenter:
    case TPosition::poOwnerFormCenter: {
      TCustomForm* center_on = Application->MainForm();
      if (position_ == TPosition::poOwnerFormCenter) {
        if (auto* f = dynamic_cast<TCustomForm*>(Owner())) center_on = f;
      }
      if (!center_on || center_on == this || !center_on->HandleAllocated()) {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
      } else {
        GetWindowRect(center_on->WindowHandle(), &area);
      }
      break;
    }
    default:
      return;
  }
  SetBounds(area.left + (area.right - area.left - Width()) / 2,
            area.top + (area.bottom - area.top - Height()) / 2, Width(), Height());
}

void TCustomForm::SetVisible(bool v) {
  if (v == Visible()) return;
  if (v) {
    HandleNeeded();
    PlaceWindow();
    TControl::SetVisible(true);
    ShowWindow(WindowHandle(), kShowCommands[static_cast<int>(window_state_)]);
    DoShow();
  } else {
    DoHide();
    TControl::SetVisible(false);
    if (HandleAllocated()) ShowWindow(WindowHandle(), SW_HIDE);
  }
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == menu_) {
    menu_ = nullptr;
    if (HandleAllocated()) ::SetMenu(WindowHandle(), nullptr);
  }
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
  if (v == border_style_) return;
  border_style_ = v;
  RecreateWnd();
}

TWindowState TCustomForm::WindowState() const {
  HWND h = WindowHandle();
  if (h && IsWindowVisible(h)) {
    if (IsIconic(h)) return TWindowState::wsMinimized;
    if (IsZoomed(h)) return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
  }
  return window_state_;
}

void TCustomForm::SetWindowState(TWindowState v) {
  window_state_ = v;
  if (HandleAllocated() && Visible()) {
    static const int kShow[] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
    ShowWindow(WindowHandle(), kShow[static_cast<int>(v)]);
  }
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  if (menu_) {
    RemoveFreeNotification(menu_);
    menu_->SetWindowHandle(nullptr);
  }
  menu_ = menu;
  if (menu_) FreeNotification(menu_);
  if (HandleAllocated()) {
    if (menu_) menu_->SetWindowHandle(WindowHandle());
    // Through the window, so that code watching it learns of the change.
    SendMessageA(WindowHandle(), CM_MENUCHANGED, 0, 0);
  }
}

bool TCustomForm::Active() const {
  return WindowHandle() && GetActiveWindow() == WindowHandle();
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control && control->CanFocus() && HandleAllocated()) {
    control->SetFocus();
  } else {
    active_control_ = control;
  }
}

void TCustomForm::SetFocusedControl(TWinControl* control) {
  if (control == active_control_) return;
  TWinControl* old = active_control_;
  active_control_ = control;
  if (old) old->Perform(CM_EXIT);
  if (control && active_control_ == control) control->Perform(CM_ENTER);
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

void TCustomForm::ControlRemoved(TControl* control) {
  if (control == active_control_) active_control_ = nullptr;
}

bool TCustomForm::IsShortCut(WORD key, TShiftState shift) {
  return menu_ && menu_->IsShortCut(key, shift);
}

void TCustomForm::Show() {
  SetVisible(true);
  if (HandleAllocated()) {
    BringWindowToTop(WindowHandle());
    SetForegroundWindow(WindowHandle());
  }
}

int TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || modal_) {
    throw std::runtime_error("Cannot make a visible window modal");
  }
  if (GetCapture()) ReleaseCapture();
  HWND previous_active = GetActiveWindow();
  // Disable the other forms while this one runs.
  std::vector<HWND> disabled;
  for (TCustomForm* f : Application->Forms()) {
    HWND h = f->WindowHandle();
    if (f != this && h && IsWindowVisible(h) && IsWindowEnabled(h)) {
      EnableWindow(h, FALSE);
      disabled.push_back(h);
    }
  }
  modal_ = true;
  modal_result_ = mrNone;
  auto restore = [&] {
    modal_ = false;
    for (HWND h : disabled) {
      if (IsWindow(h)) EnableWindow(h, TRUE);
    }
    // Re-activate the previous window before hiding this one, so that the
    // activation does not go to some other program's window.
    if (previous_active && IsWindow(previous_active)) SetActiveWindow(previous_active);
    SetVisible(false);
  };
  try {
    Show();
    while (modal_result_ == mrNone) {
      Application->HandleMessage();
      if (Application->Terminated()) {
        modal_result_ = mrCancel;
      } else if (modal_result_ != mrNone) {
        // Closing may be refused: OnCloseQuery or OnClose with caNone.
        TCloseAction action = CloseQuery() ? TCloseAction::caHide : TCloseAction::caNone;
        if (action != TCloseAction::caNone && OnClose) OnClose(this, action);
        if (action == TCloseAction::caNone) modal_result_ = mrNone;
      }
    }
  } catch (...) {
    restore();
    throw;
  }
  restore();
  return modal_result_;
}

bool TCustomForm::CloseQuery() {
  bool can_close = true;
  if (OnCloseQuery) OnCloseQuery(this, can_close);
  return can_close;
}

void TCustomForm::Close() {
  if (modal_) {
    modal_result_ = mrCancel;  // the modal loop asks OnCloseQuery and OnClose
    return;
  }
  if (!CloseQuery()) return;
  bool is_main = Application->MainForm() == this;
  TCloseAction action = TCloseAction::caHide;
  if (OnClose) OnClose(this, action);
  if (action == TCloseAction::caNone) return;
  if (is_main) {
    Application->Terminate();
  } else if (action == TCloseAction::caHide) {
    SetVisible(false);
  } else if (action == TCloseAction::caMinimize) {
    SetWindowState(TWindowState::wsMinimized);
  } else {
    Release();
  }
}

void TCustomForm::Release() {
  PostMessageA(Handle(), CM_RELEASE, 0, 0);
}

void TCustomForm::PaintWindow(HDC dc) {
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

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::WndProc(TMessage& msg) {
  switch (msg.Msg) {
    case WM_CLOSE:
      Close();  // the default would destroy the window
      return;
    case CM_RELEASE:
      Free();  // nothing of this form may be touched after this
      return;
    case CM_MENUCHANGED:
      if (HandleAllocated()) {
        ::SetMenu(WindowHandle(), menu_ ? menu_->Handle() : nullptr);
        DrawMenuBar(WindowHandle());
      }
      return;
    case WM_ACTIVATE:
      TWinControl::WndProc(msg);
      if (LOWORD(msg.WParam) != WA_INACTIVE) {
        if (active_control_ && active_control_->CanFocus() && !HIWORD(msg.WParam)) {
          ::SetFocus(active_control_->Handle());
        }
        if (OnActivate) OnActivate(this);
      } else if (OnDeactivate) {
        OnDeactivate(this);
      }
      return;
    case WM_SIZE:
      TWinControl::WndProc(msg);
      if (OnResize) OnResize(this);
      return;
    case CM_DIALOGKEY: {
      WPARAM key = msg.WParam;
      if (key == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
        SelectNext(active_control_, GetKeyState(VK_SHIFT) >= 0, true);
        msg.Result = 1;
        return;
      }
      if (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) {
        if (active_control_ && active_control_->Parent()) {
          active_control_->Parent()->SelectNext(active_control_, key == VK_RIGHT || key == VK_DOWN,
                                                false);
          msg.Result = 1;
        }
        return;
      }
      Broadcast(msg);
      return;
    }
    case CM_DIALOGCHAR:
      Broadcast(msg);
      return;
    default:
      TWinControl::WndProc(msg);
  }
}

// --- TApplication ---------------------------------------------------------------

TApplication::TApplication() : TComponent(nullptr) {}

void TApplication::Run() {
  terminated_ = false;
  if (main_form_) main_form_->Show();
  while (!terminated_)
    HandleMessage();
}

bool TApplication::IsKeyMsg(MSG& msg) {
  UINT m = msg.message;
  if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN && m != WM_CHAR && m != WM_SYSCHAR) return false;
  TControl* c = nullptr;
  for (HWND h = msg.hwnd; h && !c; h = GetParent(h))
    c = FindControl(h);
  TCustomForm* form = c ? c->ParentForm() : nullptr;
  if (!form) return false;
  if (m == WM_KEYDOWN || m == WM_SYSKEYDOWN) {
    WORD key = static_cast<WORD>(msg.wParam);
    if (form->IsShortCut(key, KeyboardShiftState())) return true;
    bool arrow = key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
    if (m == WM_KEYDOWN && (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || arrow)) {
      // Keys the focused control does not want become dialog keys.
      LRESULT code = SendMessageA(msg.hwnd, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg));
      bool wants = (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) ||
                   (key == VK_TAB && (code & DLGC_WANTTAB)) || (arrow && (code & DLGC_WANTARROWS));
      if (!wants && form->Perform(CM_DIALOGKEY, key, msg.lParam) != 0) return true;
    }
    return false;
  }
  if (m == WM_SYSCHAR) return form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
  LRESULT code = SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
  if (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
  return form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  bool handled = false;
  try {
    handled = IsKeyMsg(msg);
  } catch (...) {
    HandleException(this);
    handled = true;
  }
  if (!handled) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

void TApplication::Idle() {
  bool done = true;
  if (OnIdle) {
    // A copy: the handler may replace or clear OnIdle while it runs.
    TIdleEvent handler = OnIdle;
    try {
      handler(this, done);
    } catch (...) {
      HandleException(this);
    }
  }
  if (done && !terminated_) WaitMessage();
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) Idle();
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
    if (msg.message == WM_QUIT) break;
  }
}

void TApplication::Terminate() {
  PostQuitMessage(0);
}

void TApplication::HandleException(TObject* sender) {
  try {
    try {
      throw;
    } catch (const std::exception& e) {
      if (OnException) {
        OnException(sender, e);
      } else {
        ShowException(e);
      }
    } catch (...) {
      std::runtime_error unknown("Unknown error");
      if (OnException) {
        OnException(sender, unknown);
      } else {
        ShowException(unknown);
      }
    }
  } catch (...) {
    // An exception handler that fails has nowhere left to report to.
  }
}

void TApplication::ShowException(const std::exception& e) {
  std::string text = e.what();
  if (!text.empty() && text.back() != '.') text += '.';
  std::string title = title_;
  if (title.empty()) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    title = path;
    title = title.substr(title.find_last_of("\\/") + 1);
    title = title.substr(0, title.find_last_of('.'));
  }
  ShowMessageBox(text, title, MB_OK | MB_ICONSTOP);
}

// --- TTimer ----------------------------------------------------------------------

namespace {
thread_local std::vector<std::pair<UINT_PTR, TTimer*>> g_timers;
}

void CALLBACK FrameworkTimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  for (auto& [timer_id, timer] : g_timers) {
    if (timer_id != id) continue;
    TTimer* t = timer;
    try {
      t->Timer();
    } catch (...) {
      Application->HandleException(nullptr);
    }
    return;
  }
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  UpdateTimer();
}

TTimer::~TTimer() {
  enabled_ = false;
  UpdateTimer();
}

void TTimer::PublishProperties(TClassInfo& info) {
  TPublisher<TTimer>(info)
      .Boolean("Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
      .Integer("Interval", &TTimer::Interval, &TTimer::SetInterval);
}

void TTimer::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned ms) {
  if (ms == interval_) return;
  interval_ = ms;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (id_) {
    KillTimer(nullptr, id_);
    g_timers.erase(std::remove_if(g_timers.begin(), g_timers.end(),
                                  [this](auto& e) { return e.second == this; }),
                   g_timers.end());
    id_ = 0;
  }
  if (!enabled_ || interval_ == 0) return;
  id_ = SetTimer(nullptr, 0, interval_, FrameworkTimerProc);
  if (!id_) throw std::runtime_error("Not enough timers available");
  g_timers.emplace_back(id_, this);
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}
