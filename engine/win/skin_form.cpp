#include "engine_win/skin_form.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_manage.h"

#include <algorithm>

#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/messages.h"
#include "skin_form_shared.h"

namespace {

// Sent by some systems to paint the themed caption over ours.
constexpr UINT kNcUahDrawCaption = 0xAE;

TNativeBitmap Native(const TSkinBitmap& b) {
  return b.Empty() ? TNativeBitmap() : TNativeBitmap(b);
}

HFONT NonClientFont(bool menu) {
  NONCLIENTMETRICSW m{};
  m.cbSize = sizeof(m);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(m), &m, 0))
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  return CreateFontIndirectW(menu ? &m.lfMenuFont : &m.lfCaptionFont);
}

}  // namespace

// ---- hot spots ----------------------------------------------------------

void TNCObject::MouseDown() {
  if (Form.HotObject() && Form.HotObject() != this) Form.HotObject()->MouseLeave();
  if (!Visible) return;
  Form.SetHotObject(this);
  State = 2;
  Paint();
}

void TNCObject::MouseUp() {
  if (!Visible) return;
  State = 3;
  Paint();
}

void TNCObject::MouseMove() {
  if (Form.HotObject() == this) return;
  if (Form.HotObject()) Form.HotObject()->MouseLeave();
  if (!Visible) return;
  Form.SetHotObject(this);
  State = 3;
  Paint();
}

void TNCObject::MouseLeave() {
  if (!Visible) return;
  if (Form.HotObject() == this) Form.SetHotObject(nullptr);
  State = 1;
  Paint();
}

void TWinSysButton::Paint() {
  Form.PaintFrame();
}

// ---- life cycle -----------------------------------------------------------

TWinSkinForm::TWinSkinForm(HWND window, TCustomForm* form, const TSkinContent* skin,
                           TFormSkinSettings settings)
    : handle_(window), form_(form), skin_(skin), settings_(settings) {}

TWinSkinForm::~TWinSkinForm() {
  Release();
  controls_.reset();
  ClearToolbarPainters();
  if (caption_font_) DeleteObject(caption_font_);
  if (menu_font_) DeleteObject(menu_font_);
  if (face_brush_) DeleteObject(face_brush_);
}

// ---- the framework form's message handler --------------------------------

void TWinSkinForm::HookForm() {
  if (!form_ || form_sub_.Attached()) return;
  form_sub_.Attach(form_, [this](TMessage& m) { FormMessage(m); });
}

void TWinSkinForm::UnhookForm() {
  form_sub_.Detach();
}

// Messages the framework delivers to the form's handler without going
// through the window: Alt+letter reaches the form as CM_DIALOGCHAR.
void TWinSkinForm::FormMessage(TMessage& m) {
  if (m.Msg != CM_DIALOGCHAR) {
    form_sub_.CallOld(m);
    return;
  }
  TCustomForm* form = form_;
  form_sub_.CallOld(m);
  if (m.Result != 0) return;
  const bool alt_alone =
      GetKeyState(VK_MENU) < 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_SHIFT) >= 0;
  if (alt_alone && !tracking_ && GetCapture() == nullptr &&
      OpenAccelerator(static_cast<wchar_t>(m.WParam))) {
    m.Result = 1;
    return;
  }
  // A secondary, modeless form shares the main form's menu keys.
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  if (main && main != form && !form->Modal())
    m.Result = main->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
}

void TWinSkinForm::ReadStyles() {
  const LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
  const LONG_PTR ex = GetWindowLongPtrA(handle_, GWL_EXSTYLE);
  saved_style_ = style;
  right_to_left_ = (ex & WS_EX_LEFTSCROLLBAR) != 0;
  sys_menu_ = (style & WS_SYSMENU) != 0;
  min_box_ = (style & WS_MINIMIZEBOX) != 0;
  max_box_ = (style & WS_MAXIMIZEBOX) != 0;
  help_ = (ex & WS_EX_CONTEXTHELP) != 0;
  char cls[64]{};
  GetClassNameA(handle_, cls, sizeof cls);
  is_dialog_ = lstrcmpA(cls, "#32770") == 0 || lstrcmpA(cls, "TMessageForm") == 0;
  if ((style & WS_CAPTION) != WS_CAPTION)
    border_kind_ = TBorderKind::NoCaption;
  else if (style & WS_THICKFRAME)
    border_kind_ = TBorderKind::Sizeable;
  else if (style & DS_MODALFRAME)
    border_kind_ = TBorderKind::Dialog;
  else
    border_kind_ = TBorderKind::Fixed;
  if (border_kind_ != TBorderKind::NoCaption && ((ex & WS_EX_DLGMODALFRAME) || is_dialog_))
    border_kind_ = TBorderKind::Dialog;
  unicode_ = IsWindowUnicode(handle_) != FALSE;
  UpdateWinState();
}

void TWinSkinForm::UpdateWinState() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(handle_, &wp)) return;
  if (IsIconic(handle_))
    win_state_ = TWinState::Minimised;
  else if (IsZoomed(handle_))
    win_state_ = TWinState::Maximised;
  else
    win_state_ = TWinState::Normal;
}

void TWinSkinForm::LoadBitmaps() {
  left_ = Native(skin_->LeftBorder.Bitmap);
  right_ = Native(skin_->RightBorder.Bitmap);
  top_ = Native(skin_->TopBorder.Bitmap);
  bottom_ = Native(skin_->BottomBorder.Bitmap);
  textback_ = Native(skin_->Title.Bitmap);
  const TDataSkinObject* bar = skin_->Element(ksMenuBar);
  menubar_ = bar ? Native(bar->Bitmap) : TNativeBitmap();
}

void TWinSkinForm::ComputeMetrics() {
  if (skin_->SkinEmpty) return;
  const bool bar = !menu_items_.empty() || native_menu_ != nullptr;
  metrics_ = ComputeFrameMetrics(*skin_, border_kind_, bar ? GetSystemMetrics(SM_CYMENU) : 0);
  BuildTitleButtons();
}

void TWinSkinForm::BuildTitleButtons() {
  DropTitleButtons();
  int index = 0;
  for (const auto& e : skin_->TitleButtons) {
    buttons_.push_back(std::make_unique<TWinSysButton>(*this, *e, index++));
    button_bitmaps_.push_back(Native(e->Bitmap));
  }
}

void TWinSkinForm::DropTitleButtons() {
  if (hot_ &&
      std::any_of(buttons_.begin(), buttons_.end(), [&](const auto& b) { return b.get() == hot_; }))
    hot_ = nullptr;
  buttons_.clear();
  button_bitmaps_.clear();
}

// The platform's own frame size and the client size, before any skin.
void TWinSkinForm::MeasureNativeFrame() {
  RECT wr, cr;
  GetWindowRect(handle_, &wr);
  GetClientRect(handle_, &cr);
  std_width_ = (wr.right - wr.left) - cr.right;
  std_height_ = (wr.bottom - wr.top) - cr.bottom;
  client_w_ = cr.right;
  client_h_ = cr.bottom;
}

void TWinSkinForm::Attach(bool setup_now) {
  if (Attached() || !IsWindow(handle_) || !skin_) return;
  // Whether the frame is skinned is decided now, from the component as it is
  // (its OnBeforeSkinForm may just have changed it).
  if (settings_.Data) settings_.FrameOn = settings_.Data->SkinControls().Has(xcMainMenu);
  ReadStyles();
  ReadMdiKind();
  MeasureNativeFrame();
  if (form_) {
    saved_color_ = form_->Color();
    form_->SetColor(skin_->Colours[kcButtonFace]);
  }
  caption_font_ = NonClientFont(false);
  menu_font_ = NonClientFont(true);
  LoadBitmaps();
  if (!window_sub_.Attach(handle_, [this](UINT msg, WPARAM wparam, LPARAM lparam) {
        return Dispatch(msg, wparam, lparam);
      })) {
    if (form_) form_->SetColor(saved_color_);
    return;
  }
  HookMdiClient();
  if (settings_.FrameOn) {
    HookForm();
    native_menu_ = kind_ == TMdiKind::Child ? nullptr : GetMenu(handle_);
    if (native_menu_ && kind_ == TMdiKind::Frame)
      RebuildMenuBarForMdi();
    else if (native_menu_)
      BuildMenuBar();
    ComputeMetrics();
    ApplyMdiChildMetrics();
    if (kind_ == TMdiKind::Child && mdi_maximised_) TellMdiMaximized(true);
  } else {
    life_ = 1;
  }
  active_ = GetActiveWindow() == handle_;
  if (kind_ == TMdiKind::Child)
    active_ =
        reinterpret_cast<HWND>(SendMessageA(GetParent(handle_), WM_MDIGETACTIVE, 0, 0)) == handle_;
  if (setup_now) Setup();
}

void TWinSkinForm::SkinControls() {
  if (!settings_.Data || !Attached()) return;
  if (!controls_) controls_ = std::make_unique<TSkinControlList>(settings_.Data, this);
  if (form_)
    controls_->SkinFormControls(form_);
  else
    controls_->SkinChildWindows(handle_);
}

void TWinSkinForm::Setup() {
  if (life_ != 0 || !settings_.FrameOn) {
    SkinControls();
    return;
  }
  system_menu_ = GetSystemMenu(handle_, FALSE);
  const LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
  bool resize = !(style & WS_CHILD) && border_kind_ != TBorderKind::NoCaption &&
                win_state_ != TWinState::Minimised;
  if (kind_ == TMdiKind::Child) {
    // Skinned while being created: the size it was given is the native one.
    if (client_w_ <= 0 && client_h_ <= 0) MeasureNativeFrame();
    resize = MdiChildNormal();
    if (IsZoomed(handle_))
      PostMessageA(GetParent(handle_), kSkmMdiRedraw, reinterpret_cast<WPARAM>(handle_), 0);
  }
  if (resize) {
    life_ = 5;
    ResizeForFrame();
  }
  life_ = 1;
  BuildRegion(true);
  InvalidateFrame();
  if (active_) SetTimer(handle_, kHoverTimer, 250, nullptr);
  SkinControls();
  SendMessageA(handle_, kSkmSkinned, 0, kSkinMagic);
  if (settings_.OnSkinned) settings_.OnSkinned();
}

void TWinSkinForm::ResizeForFrame() {
  if (win_state_ == TWinState::Maximised) {
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return;
  }
  // The client size from before the skin (the menu bar taken off the window
  // already made the platform's client area taller), or the current one.
  if (life_ != 5 || is_dialog_) {
    RECT cr;
    GetClientRect(handle_, &cr);
    client_w_ = cr.right;
    client_h_ = cr.bottom;
  }
  int w = OuterWidth(client_w_, metrics_);
  const int h = OuterHeight(client_h_, metrics_);
  if (is_dialog_ && life_ == 5) {
    // A dialog grows to show its whole caption; its controls stay centred.
    HDC dc = GetDC(handle_);
    HGDIOBJ old = SelectObject(dc, caption_font_);
    std::wstring text = L"  " + WindowTextW(handle_) + L" ";
    RECT tr{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &tr,
              DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(handle_, dc);
    const int need = skin_->Title.LeftWidth + tr.right + skin_->Title.RightWidth;
    if (need > w) {
      const int shift = (need - w) / 2;
      for (HWND c = GetWindow(handle_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(c, nullptr, r.left + shift, r.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      w = need;
    }
  }
  SetWindowPos(handle_, nullptr, 0, 0, w, h,
               SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
}

void TWinSkinForm::Detach() {
  KillTimer(handle_, kHoverTimer);
  ClearToolbarPainters();
  system_popup_.reset();
  if (!Attached()) return;
  LeaveMenuLoop(true);
  hot_ = nullptr;
  const bool destroying = life_ == 4;
  if (controls_) controls_->DetachAll();
  // The client size the skinned window has now is the one to keep.
  RECT keep;
  GetClientRect(handle_, &keep);
  Unhook();
  UnhookForm();
  RestoreOwnerDraw();
  if (!destroying) RestorePopupMenus();
  if (form_ && !destroying) form_->SetColor(saved_color_);
  const LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
  if ((saved_style_ & WS_SYSMENU) && !(style & WS_SYSMENU))
    SetWindowLongPtrA(handle_, GWL_STYLE, style | WS_SYSMENU);
  if (native_menu_ && !destroying) SetMenu(handle_, native_menu_);
  DropMenuBar();
  DropTitleButtons();
  if (!destroying) {
    SetWindowRgn(handle_, nullptr, TRUE);
    owns_region_ = false;
    if ((!(style & WS_CHILD) || kind_ == TMdiKind::Child) && settings_.FrameOn &&
        !IsIconic(handle_) && !IsZoomed(handle_)) {
      SetWindowPos(handle_, nullptr, 0, 0, keep.right + std_width_, keep.bottom + std_height_,
                   SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
    } else {
      SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    RedrawWindow(handle_, nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
  native_menu_ = nullptr;
}

void TWinSkinForm::Unhook() {
  UnhookMdiClient();
  // Whoever subclassed the window after us keeps their chain; ours then
  // just passes messages on.
  window_sub_.Detach();
}

void TWinSkinForm::Release() {
  KillTimer(handle_, kHoverTimer);
  ClearToolbarPainters();
  LeaveMenuLoop(true);
  hot_ = nullptr;
  system_popup_.reset();
  if (controls_) controls_->DetachAll();
  if (!Attached()) return;
  Unhook();
  UnhookForm();
  RestoreOwnerDraw();
  // A bare window being destroyed frees the menu it has: give it back.
  if (!form_ && native_menu_ && IsWindow(handle_) && !GetMenu(handle_))
    SetMenu(handle_, native_menu_);
  native_menu_ = nullptr;
  menu_items_.clear();
  buttons_.clear();
  button_bitmaps_.clear();
  life_ = 6;
}

void TWinSkinForm::Reload(const TSkinContent* skin) {
  if (!skin || !Attached()) return;
  skin_ = skin;
  life_ = 3;
  LoadBitmaps();
  if (settings_.FrameOn) {
    ComputeMetrics();
    ApplyMdiChildMetrics();
  }
  Recolour();
  life_ = 1;
  InvalidateFrame();
  if (controls_) controls_->SkinChanged();
  SkinControls();
  SendMessageA(handle_, kSkmSkinned, 0, kSkinMagic);
  if (settings_.OnSkinned) settings_.OnSkinned();
}

// ---- hover ------------------------------------------------------------------

void TWinSkinForm::LeaveHot() {
  if (hot_) hot_->MouseLeave();
  hot_ = nullptr;
}

void TWinSkinForm::HoverTick() {
  if (!active_ || tracking_ || !hot_) return;
  POINT pt;
  GetCursorPos(&pt);
  if (!hot_->Contains(WindowPoint(pt))) LeaveHot();
}

// ---- window procedure -------------------------------------------------------

LRESULT TWinSkinForm::Default(UINT msg, WPARAM wparam, LPARAM lparam) {
  return window_sub_.CallOld(msg, wparam, lparam);
}

bool TWinSkinForm::PaintsFrame() const {
  // A maximised MDI child keeps the platform's handling: its frame is hidden.
  return settings_.FrameOn && life_ != 0 && !(kind_ == TMdiKind::Child && IsZoomed(handle_));
}

// The one message switch of the skinned window. Each handler gives its
// message to the window's own procedure when it has nothing to do: messages
// about the frame while the frame is not skinned (FrameOn off), and those
// that measure or paint it while it is not painted (PaintsFrame).
LRESULT TWinSkinForm::Dispatch(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (life_ == 0 && msg == WM_NCPAINT) return 0;
  switch (msg) {
    case WM_NCDESTROY:
      return OnNcDestroy(wparam, lparam);
    case WM_NCACTIVATE:
      return OnNcActivate(wparam, lparam);
    case kNcUahDrawCaption:
      return 0;
    case WM_INITMENUPOPUP:
      return OnInitMenuPopup(wparam, lparam);
    case WM_TIMER:
      return OnTimer(wparam, lparam);
    case kSkmSetup:
      Setup();
      return 0;
    case kSkmIsSkinned:
      PostMessageA(handle_, kSkmSkinned, 0, kSkinMagic);
      return 1;
    case kSkmPaintFrame:
      return OnPaintFrameRequest(wparam, lparam);
    case kSkmProbe:
      return lparam == kSkinMagic ? kSkinMagic : 1;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      return OnMenuEntryMessage(msg, wparam, lparam);
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      return OnControlColour(msg, wparam, lparam);
    case WM_ERASEBKGND:
      return OnEraseBackground(wparam, lparam);
    case WM_SIZE:
      return OnSize(wparam, lparam);
    case WM_SYSCOMMAND:
      return OnSysCommand(wparam, lparam);
    case WM_WINDOWPOSCHANGED:
    case WM_GETMINMAXINFO:
      return OnPlacementChanged(msg, wparam, lparam);
    case WM_ACTIVATE:
      return OnActivate(wparam, lparam);
    case WM_MDIACTIVATE:
      return OnMdiActivate(wparam, lparam);
    case WM_SETTEXT:
      return OnSetText(wparam, lparam);
    case WM_SETICON:
      return OnSetIcon(wparam, lparam);
    case kSkmNcPress:
      return OnNcPress(wparam, lparam);
    case CM_MENUCHANGED:
      return OnMenuChanged(wparam, lparam);
    case kSkmRecolour:
      return OnRecolour(wparam, lparam);
    case WM_NCCALCSIZE:
      return OnNcCalcSize(wparam, lparam);
    case WM_NCHITTEST:
      return OnNcHitTest(wparam, lparam);
    case WM_NCPAINT:
      return OnNcPaint(wparam, lparam);
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
      return OnNcMouse(msg, wparam, lparam);
    case WM_COMMAND:
      return OnCommand(wparam, lparam);
    case kSkmRepaintFrame:
      return OnRepaintFrame(wparam, lparam);
    case kSkmReskin:
      return OnReskin(wparam, lparam);
    default:
      return Default(msg, wparam, lparam);
  }
}

// ---- handlers of the message switch ---------------------------------------------

LRESULT TWinSkinForm::OnNcDestroy(WPARAM wparam, LPARAM lparam) {
  life_ = 4;
  KillTimer(handle_, kHoverTimer);
  LeaveMenuLoop(false);
  // The window procedure is given back once the window's own handled this.
  Unhook();
  UnhookForm();
  RestoreOwnerDraw();
  system_popup_.reset();
  if (controls_) controls_->DetachAll();  // the child windows are gone already
  hot_ = nullptr;
  menu_items_.clear();
  buttons_.clear();
  // A bare window's menu is no longer on the window: it is ours to free.
  if (native_menu_ && !form_ && GetMenu(handle_) != native_menu_) DestroyMenu(native_menu_);
  native_menu_ = nullptr;
  const LRESULT r = Default(WM_NCDESTROY, wparam, lparam);
  life_ = 6;
  return r;
}

LRESULT TWinSkinForm::OnNcActivate(WPARAM wparam, LPARAM lparam) {
  if (life_ == 0 && kind_ != TMdiKind::Child) return 0;
  if (settings_.FrameOn) active_ = (wparam & 0xFF) != 0;
  if (!PaintsFrame()) return Default(WM_NCACTIVATE, wparam, lparam);
  active_ = wparam != 0;
  if (active_)
    SetTimer(handle_, kHoverTimer, 250, nullptr);
  else
    KillTimer(handle_, kHoverTimer);
  // The active child's caption follows the frame's.
  if (kind_ == TMdiKind::Frame && mdi_client_)
    SendMessageA(mdi_client_, WM_NCACTIVATE, wparam, lparam);
  if (kind_ == TMdiKind::Child) Default(WM_NCACTIVATE, wparam, lparam);
  PaintFrame();
  return 1;
}

LRESULT TWinSkinForm::OnInitMenuPopup(WPARAM wparam, LPARAM lparam) {
  // Tells the popup skinners which kind of menu opens.
  if (SkinManager) SkinManager->PopupKind = reinterpret_cast<HMENU>(wparam) == system_menu_ ? 2 : 1;
  return Default(WM_INITMENUPOPUP, wparam, lparam);
}

LRESULT TWinSkinForm::OnTimer(WPARAM wparam, LPARAM lparam) {
  if (wparam != kHoverTimer) return Default(WM_TIMER, wparam, lparam);
  HoverTick();
  return 0;
}

LRESULT TWinSkinForm::OnPaintFrameRequest(WPARAM wparam, LPARAM lparam) {
  if (lparam != kSkinMagic) return Default(kSkmPaintFrame, wparam, lparam);
  PaintFrameTo(reinterpret_cast<HDC>(wparam));
  return kSkinMagic;
}

LRESULT TWinSkinForm::OnEraseBackground(WPARAM wparam, LPARAM lparam) {
  // A framework form paints its own background in the skin's colour.
  if (form_) return Default(WM_ERASEBKGND, wparam, lparam);
  HDC dc = reinterpret_cast<HDC>(wparam);
  RECT r;
  GetClientRect(handle_, &r);
  HBRUSH brush = CreateSolidBrush(ToColorRef(skin_->Colours[kcButtonFace]));
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  return 1;
}

void TWinSkinForm::SizeHandler(WPARAM wparam) {
  if (wparam == SIZE_RESTORED) win_state_ = TWinState::Normal;
  if (wparam == SIZE_MINIMIZED) win_state_ = TWinState::Minimised;
  if (wparam == SIZE_MAXIMIZED) win_state_ = TWinState::Maximised;
  if (kind_ == TMdiKind::Child) {
    MdiChildStateChanged();
    if (!MdiChildNormal() || AnyMdiChildMaximised()) {
      if (life_ == 1 || life_ == 3) BuildRegion(true);  // drops the shaped frame
      return;
    }
  }
  if (win_state_ == TWinState::Minimised) return;
  if (life_ == 1 || life_ == 3) BuildRegion(kind_ == TMdiKind::Child);
}

LRESULT TWinSkinForm::OnSize(WPARAM wparam, LPARAM lparam) {
  if (!settings_.FrameOn) return Default(WM_SIZE, wparam, lparam);
  // Once before the platform sized the window's content and, while the frame
  // is painted, once after.
  SizeHandler(wparam);
  if (!PaintsFrame()) return Default(WM_SIZE, wparam, lparam);
  const LRESULT r = Default(WM_SIZE, wparam, lparam);
  SizeHandler(wparam);
  return r;
}

LRESULT TWinSkinForm::OnPlacementChanged(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (!settings_.FrameOn) return Default(msg, wparam, lparam);
  const LRESULT r = Default(msg, wparam, lparam);
  UpdateWinState();
  return r;
}

LRESULT TWinSkinForm::OnActivate(WPARAM wparam, LPARAM lparam) {
  if (settings_.FrameOn) active_ = LOWORD(wparam) != WA_INACTIVE;
  return Default(WM_ACTIVATE, wparam, lparam);
}

LRESULT TWinSkinForm::OnMdiActivate(WPARAM wparam, LPARAM lparam) {
  if (!settings_.FrameOn || kind_ != TMdiKind::Child)
    return Default(WM_MDIACTIVATE, wparam, lparam);
  // Sent to the child losing (wParam) and the one gaining (lParam) the MDI
  // activation.
  active_ = reinterpret_cast<HWND>(lparam) == handle_;
  const LRESULT r = Default(WM_MDIACTIVATE, wparam, lparam);
  PaintFrame();
  return r;
}

LRESULT TWinSkinForm::OnSetText(WPARAM wparam, LPARAM lparam) {
  if (!settings_.FrameOn) return Default(WM_SETTEXT, wparam, lparam);
  // The default paints the platform's caption: paint ours over it.
  const LRESULT r = Default(WM_SETTEXT, wparam, lparam);
  // A maximised MDI child's title shows in its frame's caption.
  if (kind_ == TMdiKind::Child && IsZoomed(handle_))
    PostMessageA(GetParent(handle_), kSkmMdiRedraw, reinterpret_cast<WPARAM>(handle_), 0);
  else if (IsWindowVisible(handle_))
    PaintFrame();
  return r;
}

LRESULT TWinSkinForm::OnSetIcon(WPARAM wparam, LPARAM lparam) {
  const LRESULT r = Default(WM_SETICON, wparam, lparam);
  if (settings_.FrameOn) PaintFrame();
  return r;
}

LRESULT TWinSkinForm::OnRecolour(WPARAM wparam, LPARAM lparam) {
  // A framework form asks for its colours again: the skin is applied anew,
  // as after a change.
  if (!settings_.FrameOn || !form_) return Default(kSkmRecolour, wparam, lparam);
  Reload(skin_);
  return 0;
}

LRESULT TWinSkinForm::OnNcCalcSize(WPARAM wparam, LPARAM lparam) {
  if (!PaintsFrame()) return Default(WM_NCCALCSIZE, wparam, lparam);
  const LRESULT r = Default(WM_NCCALCSIZE, wparam, lparam);
  if (!wparam) return r;
  auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lparam);
  if (border_kind_ == TBorderKind::NoCaption || (kind_ == TMdiKind::Child && !MdiChildNormal())) {
    p->rgrc[1] = p->rgrc[0];
    return WVR_VALIDRECTS;
  }
  const WINDOWPOS* pos = p->lppos;
  const RECT win = p->rgrc[0];
  const int x = pos ? pos->x : win.left, y = pos ? pos->y : win.top;
  const int cx = pos ? pos->cx : win.right - win.left;
  const int cy = pos ? pos->cy : win.bottom - win.top;
  TFrameMetrics m = metrics_;
  if (IsIconic(handle_)) m.Menu = 0;
  const TRect c = ClientFromWindow(x, y, cx, cy, m);
  p->rgrc[0] = ToRECT(c);
  p->rgrc[1] = ToRECT(c);
  return WVR_VALIDRECTS;
}

LRESULT TWinSkinForm::OnNcHitTest(WPARAM wparam, LPARAM lparam) {
  if (!PaintsFrame()) return Default(WM_NCHITTEST, wparam, lparam);
  const LRESULT r = Default(WM_NCHITTEST, wparam, lparam);
  if (border_kind_ == TBorderKind::NoCaption) return r;
  const POINT pt{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  return RefineHitTest(static_cast<int>(r), WindowPoint(pt), metrics_);
}

LRESULT TWinSkinForm::OnNcPaint(WPARAM wparam, LPARAM lparam) {
  if (border_kind_ == TBorderKind::NoCaption || !PaintsFrame())
    return Default(WM_NCPAINT, wparam, lparam);
  // Not while the window's own handling of a menu change puts the menu on
  // and takes it off again: the frame is painted once that is over.
  if (NcPaintEnabled()) PaintFrame();
  return 0;
}

LRESULT TWinSkinForm::OnCommand(WPARAM wparam, LPARAM lparam) {
  // A command (not from a control) carrying a system command's identifier
  // runs as that system command.
  const UINT id = LOWORD(wparam) & 0xFFF0;
  const bool system = id == SC_SIZE || id == SC_MOVE || id == SC_MINIMIZE || id == SC_MAXIMIZE ||
                      id == SC_CLOSE || id == SC_RESTORE;
  if (lparam != 0 || !system || !PaintsFrame()) return Default(WM_COMMAND, wparam, lparam);
  PostMessageA(handle_, WM_SYSCOMMAND, id, 0);
  return 0;
}

LRESULT TWinSkinForm::OnRepaintFrame(WPARAM wparam, LPARAM lparam) {
  if (!PaintsFrame()) return Default(kSkmRepaintFrame, wparam, lparam);
  PaintFrame();
  return 0;
}
