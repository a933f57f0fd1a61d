#include "engine_win/skin_form.h"
#include "engine_win/skin_manage.h"

#include <algorithm>
#include <cwctype>

#include "framework/forms.h"
#include "framework/imglist.h"
#include "framework/menus.h"
#include "framework/messages.h"

namespace {

const char kSkinnerProp[] = "MvFormSkinner";
const char kOldProcProp[] = "MvFormSkinnerOldProc";
constexpr UINT_PTR kHoverTimer = 0x5F31;
constexpr UINT kMenuGetHandle = 0x01E1;  // MN_GETHMENU

TWinSkinForm* SkinnerOf(HWND window) {
  return static_cast<TWinSkinForm*>(GetPropA(window, kSkinnerProp));
}

RECT ToRECT(const TRect& r) {
  return RECT{r.Left, r.Top, r.Right, r.Bottom};
}

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

std::wstring WindowTextW(HWND window) {
  const int n = GetWindowTextLengthW(window);
  std::wstring s(static_cast<size_t>(std::max(0, n)) + 1, L'\0');
  const int got = GetWindowTextW(window, s.data(), n + 1);
  s.resize(static_cast<size_t>(std::max(0, got)));
  return s;
}

// State of the one dropdown open from a skinned menu bar (menus are modal:
// there is at most one per thread).
struct TMenuLoop {
  TWinSkinForm* Form = nullptr;
  HHOOK Hook = nullptr;
  int Open = -1;
  int Pending = -1;  // the item to open once the current dropdown closed
  bool First = true;
  POINT LastCursor{};
};
TMenuLoop g_loop;

BOOL CALLBACK CollectPopupMenu(HWND w, LPARAM p) {
  char cls[16]{};
  GetClassNameA(w, cls, sizeof cls);
  if (lstrcmpA(cls, "#32768") == 0 && IsWindowVisible(w)) {
    auto* out = reinterpret_cast<std::vector<HMENU>*>(p);
    out->push_back(reinterpret_cast<HMENU>(SendMessageA(w, kMenuGetHandle, 0, 0)));
  }
  return TRUE;
}

// The menus of the popup menu windows open now.
std::vector<HMENU> OpenPopupMenus() {
  std::vector<HMENU> menus;
  EnumThreadWindows(GetCurrentThreadId(), CollectPopupMenu, reinterpret_cast<LPARAM>(&menus));
  return menus;
}

// The highlighted entry of a menu, or -1.
int Highlighted(HMENU menu) {
  const int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i)
    if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return i;
  return -1;
}

// Decides from the menus themselves whether an arrow key leaves the
// dropdown for the neighbouring bar item: left only from the dropdown of the
// bar itself, right only when the highlighted entry opens no cascade.
bool ArrowLeavesDropdown(HMENU dropdown, bool right) {
  const std::vector<HMENU> open = OpenPopupMenus();
  HMENU cur = dropdown;
  for (int depth = 0; depth < 16; ++depth) {
    const int h = Highlighted(cur);
    HMENU sub = h >= 0 ? GetSubMenu(cur, h) : nullptr;
    if (sub && std::find(open.begin(), open.end(), sub) != open.end()) {
      cur = sub;
      continue;
    }
    if (!right) return cur == dropdown;
    return sub == nullptr;
  }
  return false;
}

LRESULT CALLBACK MenuFilter(int code, WPARAM wparam, LPARAM lparam) {
  MSG* msg = reinterpret_cast<MSG*>(lparam);
  if (code != MSGF_MENU || !g_loop.Form || !msg)
    return CallNextHookEx(g_loop.Hook, code, wparam, lparam);
  TWinSkinForm& form = *g_loop.Form;
  const int count = static_cast<int>(form.MenuItems().size());
  if (g_loop.First) {
    g_loop.First = false;
    PostMessageA(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
  }
  auto switch_to = [&](int index) {
    g_loop.Pending = index;
    EndMenu();
    return 1;
  };
  if (msg->message == WM_KEYDOWN && form.RightToLeft() &&
      (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT))
    msg->wParam = msg->wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;  // the bar runs leftwards
  if (msg->message == WM_KEYDOWN && count > 0 && g_loop.Open >= 0) {
    HMENU dropdown = form.MenuItems()[static_cast<size_t>(g_loop.Open)]->SubMenu;
    auto step = [&](int dir) {
      int i = g_loop.Open;
      for (int n = 0; n < count; ++n) {
        i = (i + dir + count) % count;
        // Only dropdowns: an arrow key never runs a bar item's command.
        const TMenuBtn& b = *form.MenuItems()[static_cast<size_t>(i)];
        if (b.Visible && !b.Caption.empty() && b.SubMenu && b.ItemEnabled) return i;
      }
      return g_loop.Open;
    };
    if (msg->wParam == VK_LEFT && ArrowLeavesDropdown(dropdown, false)) return switch_to(step(-1));
    if (msg->wParam == VK_RIGHT && ArrowLeavesDropdown(dropdown, true)) return switch_to(step(1));
  } else if (msg->message == WM_MOUSEMOVE) {
    POINT p;
    GetCursorPos(&p);
    if (p.x != g_loop.LastCursor.x || p.y != g_loop.LastCursor.y) {
      g_loop.LastCursor = p;
      const TPoint wp = form.WindowPoint(p);
      for (int i = 0; i < count; ++i) {
        const TMenuBtn& b = *form.MenuItems()[static_cast<size_t>(i)];
        if (i != g_loop.Open && b.Visible && !b.Caption.empty() && b.Contains(wp))
          return switch_to(i);
      }
    }
  }
  return CallNextHookEx(g_loop.Hook, code, wparam, lparam);
}

}  // namespace

// The skinner's place in a framework form's message handler. Whoever hooks
// the handler after us keeps our functor in their chain; when we go first,
// the functor only passes messages on.
struct TFormHookState {
  TWinSkinForm* Self = nullptr;
  TWndMethod Old;
};

namespace {
struct TFormHook {
  std::shared_ptr<TFormHookState> State;
  void operator()(TMessage& m) const {
    const std::shared_ptr<TFormHookState> keep = State;  // the handler may unhook us
    if (keep->Self)
      keep->Self->FormMessage(m);
    else if (keep->Old)
      keep->Old(m);
  }
};
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
void TMenuBtn::Paint() {
  Form.PaintFrame();
}

wchar_t TMenuBtn::Accelerator() const {
  for (size_t i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != L'&') continue;
    if (Caption[i + 1] == L'&') {
      ++i;
      continue;
    }
    return static_cast<wchar_t>(std::towupper(Caption[i + 1]));
  }
  return 0;
}

// ---- life cycle -----------------------------------------------------------

TWinSkinForm::TWinSkinForm(HWND window, TCustomForm* form, const TSkinContent* skin,
                           TFormSkinSettings settings)
    : handle_(window), form_(form), skin_(skin), settings_(settings) {}

TWinSkinForm::~TWinSkinForm() {
  Release();
  ClearToolbarPainters();
  if (caption_font_) DeleteObject(caption_font_);
  if (menu_font_) DeleteObject(menu_font_);
}

// ---- the framework form's message handler --------------------------------

void TWinSkinForm::HookForm() {
  if (!form_ || form_hook_) return;
  form_hook_ = std::make_shared<TFormHookState>();
  form_hook_->Self = this;
  form_hook_->Old = form_->WindowProc;
  form_->WindowProc = TFormHook{form_hook_};
}

void TWinSkinForm::UnhookForm() {
  if (!form_hook_) return;
  const TFormHook* top = form_ ? form_->WindowProc.target<TFormHook>() : nullptr;
  if (top && top->State == form_hook_)
    form_->WindowProc = form_hook_->Old;
  else
    form_hook_->Self = nullptr;  // hooked over: stay in the chain, passing on
  form_hook_.reset();
}

bool TWinSkinForm::OpenAccelerator(wchar_t key) {
  const wchar_t up = static_cast<wchar_t>(std::towupper(key));
  for (size_t i = 0; i < menu_items_.size(); ++i) {
    const TMenuBtn& b = *menu_items_[i];
    if (b.Visible && b.ItemEnabled && b.Accelerator() == up) {
      OpenMenuItem(static_cast<int>(i));
      return true;
    }
  }
  return false;
}

// Messages the framework delivers to the form's handler without going
// through the window: Alt+letter reaches the form as CM_DIALOGCHAR.
void TWinSkinForm::FormMessage(TMessage& m) {
  const TWndMethod old = form_hook_->Old;  // a copy: the form may unhook us
  if (m.Msg != CM_DIALOGCHAR) {
    old(m);
    return;
  }
  TCustomForm* form = form_;
  old(m);
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
  SetPropA(handle_, kSkinnerProp, this);
  old_proc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinSkinForm::Proc)));
  SetPropA(handle_, kOldProcProp, reinterpret_cast<HANDLE>(old_proc_));
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

void TWinSkinForm::Setup() {
  if (life_ != 0 || !settings_.FrameOn) return;
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
  if (g_loop.Form == this) {
    EndMenu();
    g_loop.Form = nullptr;
  }
  hot_ = nullptr;
  const bool destroying = life_ == 4;
  // The client size the skinned window has now is the one to keep.
  RECT keep;
  GetClientRect(handle_, &keep);
  Unhook();
  UnhookForm();
  RestoreOwnerDraw();
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
  if (!old_proc_) return;
  // Only put the old procedure back while ours is on top: whoever subclassed
  // after us keeps their chain, and ours then just passes messages on.
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(handle_, GWLP_WNDPROC)) == &TWinSkinForm::Proc) {
    SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_proc_));
    RemovePropA(handle_, kOldProcProp);
  }
  old_proc_ = nullptr;
  RemovePropA(handle_, kSkinnerProp);
}

void TWinSkinForm::Release() {
  KillTimer(handle_, kHoverTimer);
  ClearToolbarPainters();
  if (g_loop.Form == this) {
    EndMenu();
    g_loop.Form = nullptr;
  }
  hot_ = nullptr;
  system_popup_.reset();
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
  if (form_) form_->SetColor(skin_->Colours[kcButtonFace]);
  LoadBitmaps();
  if (settings_.FrameOn) {
    ComputeMetrics();
    ApplyMdiChildMetrics();
    ResizeForFrame();
    BuildRegion(true);
  }
  life_ = 1;
  InvalidateFrame();
  SendMessageA(handle_, kSkmSkinned, 0, kSkinMagic);
  if (settings_.OnSkinned) settings_.OnSkinned();
}

// ---- region ---------------------------------------------------------------

void TWinSkinForm::BuildRegion(bool force) {
  if (life_ == 6 || !settings_.FrameOn) return;
  RECT wr;
  GetWindowRect(handle_, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (w <= 0 || h <= 0) return;
  if (kind_ == TMdiKind::Child && (!MdiChildNormal() || AnyMdiChildMaximised())) {
    // A maximised or minimised child shows no shaped frame of its own.
    if (owns_region_) SetWindowRgn(handle_, nullptr, TRUE);
    owns_region_ = false;
    region_w_ = region_h_ = -1;
    return;
  }
  if (!force && w == region_w_ && h == region_h_) return;
  region_w_ = w;
  region_h_ = h;
  const TSkinContent& s = *skin_;
  const TFrameMetrics& m = metrics_;
  const bool any_trans =
      s.LeftBorder.Trans || s.RightBorder.Trans || s.TopBorder.Trans || s.BottomBorder.Trans;
  HRGN rgn = nullptr;
  if (any_trans && border_kind_ != TBorderKind::NoCaption) {
    rgn =
        CreateRectRgn(m.Left, m.Top, std::max(m.Left, w - m.Right), std::max(m.Top, h - m.Bottom));
    auto add = [&](const TDataSkinBorder& e, const TNativeBitmap& bmp, TRect r, bool vertical,
                   bool shaped) {
      if (r.IsEmpty()) return;  // nothing to add for an empty side
      HRGN part = nullptr;
      if (shaped && e.Trans == 1 && !bmp.Empty()) {
        TNativeBitmap piece(r.Width(), r.Height());
        {
          TMemoryDC mdc(piece);
          const int n = std::max(1, e.FrameCount);
          DrawElement(mdc.Handle(), {0, 0, r.Width(), r.Height()}, bmp, vertical, e.Tile != 1,
                      false, n, 1, e.Margins());
        }
        GdiFlush();
        part = RegionFromBitmap(piece.ToImage(), r.Left, r.Top, 1, 1, 1);
      }
      if (!part) part = CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
      CombineRgn(rgn, rgn, part, RGN_OR);
      DeleteObject(part);
    };
    add(s.LeftBorder, left_, {0, 0, m.Left, h}, false, h > 1);
    add(s.RightBorder, right_, {w - m.Right, 0, w, h}, false, h > 1);
    add(s.BottomBorder, bottom_, {m.Left, h - m.Bottom, w - m.Right, h}, true, m.Bottom >= 2);
    add(s.TopBorder, top_, {m.Left, 0, w - m.Right, m.Top}, true, m.Top > 1);
  }
  // The system owns a region it accepted; only a refused one is ours to free.
  if (SetWindowRgn(handle_, rgn, TRUE)) {
    owns_region_ = rgn != nullptr;
  } else if (rgn) {
    DeleteObject(rgn);
  }
}

// ---- painting -------------------------------------------------------------

int TWinSkinForm::ButtonFrame(const TWinSysButton& b) const {
  const int n = std::max(1, b.Element->FrameCount);
  if (!b.Enabled) return n > 3 ? 4 : 1;
  if (b.State == 2) return 2;
  if (b.State == 3) return b.Element->Visibility == 100 && n > 3 ? 4 : 3;
  if (n < 4 || active_) return 1;
  return 4;
}

TTitleFacts TWinSkinForm::Facts() const {
  TTitleFacts f;
  f.State = win_state_;
  f.Active = active_;
  f.SysMenu = sys_menu_;
  f.MinBox = min_box_;
  f.MaxBox = max_box_;
  f.Help = help_;
  f.Border = border_kind_;
  f.IsDialog = is_dialog_;
  if (kind_ == TMdiKind::Frame && !menu_items_.empty()) ActiveMdiChild(&f.MdiChildMaximised);
  HWND w = handle_;
  f.Query = [w](int v, int action) {
    return static_cast<int>(SendMessageA(w, kSkmTitleQuery, static_cast<WPARAM>(v), action));
  };
  return f;
}

void TWinSkinForm::JudgeButtons() {
  const TTitleFacts f = Facts();
  right_buttons_left_ = 0;
  for (auto& b : buttons_) {
    const TTitleVisibility v = JudgeTitleButton(*b->Element, f);
    b->Visible = v.Visible;
    b->Enabled = v.Enabled;
    if (b->Visible && b->Element->Align == 1 && !b->Element->Bitmap.Empty())
      right_buttons_left_ = std::max(right_buttons_left_, b->Element->Xcoord);
  }
}

void TWinSkinForm::LayoutButtons(int width) {
  const TDataSkinObject* bar = skin_->Element(ksMenuBar);
  for (auto& b : buttons_) {
    if (!b->Visible) {
      b->Rect = {};
      continue;
    }
    const int action = b->Element->Action;
    if ((action == 3 || action == 11) && b->Element->Bitmap.Empty()) {
      // The system-menu icon: the window's small icon in the button's place.
      TDataSkinSysButton icon = *b->Element;
      icon.Bitmap =
          TSkinBitmap(TPixmap(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 24));
      icon.FrameCount = 1;
      b->Rect = LayoutTitleButton(icon, width, text_rect_, metrics_, bar ? bar->LeftWidth : 0);
      continue;
    }
    b->Rect = LayoutTitleButton(*b->Element, width, text_rect_, metrics_, bar ? bar->LeftWidth : 0);
  }
}

void TWinSkinForm::PaintCaption(HDC dc, int w) {
  const TSkinContent& s = *skin_;
  const TFrameMetrics& m = metrics_;
  const int n = std::max(1, s.TopBorder.FrameCount);
  const int k = active_ || n == 1 ? 1 : 2;
  if (!top_.Empty())
    DrawElement(dc, {m.Left, 0, w - m.Right, m.Top}, top_, true, s.TopBorder.Tile != 1, false, n, k,
                s.TopBorder.Margins());
  JudgeButtons();
  // Caption text.
  const std::wstring text = L"  " + WindowTextW(handle_) + L" ";
  const TRect c{m.Left, 0, w - m.Right, m.Top};
  HGDIOBJ old_font = SelectObject(dc, caption_font_);
  RECT calc{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &calc,
            DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE);
  TCaptionFacts cf;
  cf.RightToLeft = right_to_left_;
  cf.Popup = (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_POPUP) != 0;
  cf.Border = border_kind_;
  cf.RightButtonsLeft = right_buttons_left_;
  TRect t = LayoutCaptionText(c, calc.right, calc.bottom, s.Title, cf);
  text_rect_ = t;
  if (!textback_.Empty() && !t.IsEmpty())
    DrawCappedStrip(dc, {t.Left, c.Top, t.Right, c.Bottom}, textback_, true, true,
                    std::max(1, s.Title.FrameCount), active_ ? 1 : 2,
                    {s.Title.TXTBackleft, 0, s.Title.TXTBackRight, 0});
  RECT tr = ToRECT(t);
  tr.left += s.Title.TXTBackleft;
  tr.right -= s.Title.TXTBackRight;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(s.Colours[active_ ? kcTitleTextActive : kcTitleTextNoActive]));
  UINT fmt = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_VCENTER;
  if (right_to_left_) fmt |= DT_RIGHT | DT_RTLREADING;
  if (tr.right > tr.left) DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &tr, fmt);
  SelectObject(dc, old_font);
  // Title buttons.
  LayoutButtons(w);
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const TWinSysButton& b = *buttons_[i];
    if (!b.Visible || b.Rect.IsEmpty() || b.Element->Align == 100) continue;
    const int action = b.Element->Action;
    if (action == 3 || action == 11) {
      HICON icon = reinterpret_cast<HICON>(SendMessageA(handle_, WM_GETICON, ICON_SMALL, 0));
      if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(handle_, GCLP_HICONSM));
      if (!icon) icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
      DrawIconEx(dc, b.Rect.Left, b.Rect.Top, icon, GetSystemMetrics(SM_CXSMICON),
                 GetSystemMetrics(SM_CYSMICON), 0, nullptr, DI_NORMAL);
      continue;
    }
    if (button_bitmaps_[i].Empty()) continue;
    DrawFrameScaled(dc, b.Rect, button_bitmaps_[i], true, std::max(1, b.Element->FrameCount),
                    ButtonFrame(b));
  }
}

void TWinSkinForm::PaintMenuBar(HDC dc, const TRect& bar) {
  if (bar.IsEmpty()) return;
  const TSkinContent& s = *skin_;
  const TDataSkinObject* e = s.Element(ksMenuBar);
  int x0 = 6;
  if (e && !menubar_.Empty()) {
    const TRect r = bar;
    if (e->Tile == 1)
      DrawElement(dc, r, menubar_, true, false, false, 2, active_ ? 1 : 2, e->Margins());
    else
      DrawCappedStrip(dc, r, menubar_, true, false, 2, active_ ? 1 : 2, e->Margins());
    x0 = right_to_left_ ? e->RightWidth + 8 : e->LeftWidth + 4;
    if (bar.Width() < x0) x0 = 12;
  } else {
    HBRUSH brush = CreateSolidBrush(ToColorRef(s.Colours[kcMenubar]));
    RECT r = ToRECT(bar);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
  HGDIOBJ old_font = SelectObject(dc, menu_font_);
  SetBkMode(dc, TRANSPARENT);
  int x = right_to_left_ ? bar.Right - x0 : bar.Left + x0;
  // Right to left, the items start left of a maximised MDI child's buttons.
  if (right_to_left_)
    for (size_t i = 0; i < buttons_.size(); ++i) {
      const TWinSysButton& b = *buttons_[i];
      if (b.Visible && b.Element->Align == 100 && !button_bitmaps_[i].Empty() && !b.Rect.IsEmpty())
        x = std::min(x, b.Rect.Left - 5);
    }
  for (auto& item : menu_items_) {
    if (!item->Visible) {
      item->Rect = {};
      continue;
    }
    RECT calc{0, 0, 0, 0};
    DrawTextW(dc, item->Caption.c_str(), static_cast<int>(item->Caption.size()), &calc,
              DT_CALCRECT | DT_SINGLELINE);
    const int tw = calc.right;
    const int iw = tw > 0 ? tw + 10 : tw;
    if (right_to_left_) {
      item->Rect = {x - iw, bar.Top, x, bar.Bottom - 1};
      x -= iw;
    } else {
      item->Rect = {x, bar.Top, x + iw, bar.Bottom - 1};
      x += iw;
    }
    RECT r = ToRECT(item->Rect);
    if (item->State != 1) {
      HBRUSH brush = CreateSolidBrush(ToColorRef(s.Colours[kcButtonHilight]));
      FrameRect(dc, &r, brush);
      DeleteObject(brush);
    }
    SetTextColor(dc, item->ItemEnabled ? ToColorRef(s.Colours[kcMenuBarText])
                                       : GetSysColor(COLOR_BTNSHADOW));
    DrawTextW(dc, item->Caption.c_str(), static_cast<int>(item->Caption.size()), &r,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  }
  SelectObject(dc, old_font);
  // MDI child buttons in the bar (shown for a maximised MDI child).
  bool mdi_buttons = false;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const TWinSysButton& b = *buttons_[i];
    if (b.Visible && b.Element->Align == 100 && !button_bitmaps_[i].Empty() && !b.Rect.IsEmpty()) {
      DrawFrameScaled(dc, b.Rect, button_bitmaps_[i], true, std::max(1, b.Element->FrameCount),
                      ButtonFrame(b));
      mdi_buttons = true;
    }
  }
  if (mdi_buttons && SkinManager && !SkinManager->MdiMaximized) TellMdiMaximized(true);
}

void TWinSkinForm::PaintInto(HDC dc, int w, int h) {
  const TSkinContent& s = *skin_;
  const TFrameMetrics& m = metrics_;
  auto frame = [&](const TDataSkinBorder& e) {
    const int n = std::max(1, e.FrameCount);
    return active_ || n == 1 ? 1 : 2;
  };
  if (win_state_ != TWinState::Minimised) {
    if (!left_.Empty() && m.Left > 0)
      DrawElement(dc, {0, 0, m.Left, h}, left_, false, s.LeftBorder.Tile != 1, false,
                  std::max(1, s.LeftBorder.FrameCount), frame(s.LeftBorder),
                  s.LeftBorder.Margins());
    if (!right_.Empty() && m.Right > 0)
      DrawElement(dc, {w - m.Right, 0, w, h}, right_, false, s.RightBorder.Tile != 1, false,
                  std::max(1, s.RightBorder.FrameCount), frame(s.RightBorder),
                  s.RightBorder.Margins());
    if (!bottom_.Empty() && m.Bottom > 0)
      DrawElement(dc, {m.Left, h - m.Bottom, w - m.Right, h}, bottom_, true,
                  s.BottomBorder.Tile != 1, false, std::max(1, s.BottomBorder.FrameCount),
                  frame(s.BottomBorder), s.BottomBorder.Margins());
  } else {
    HBRUSH brush = CreateSolidBrush(ToColorRef(s.Colours[kcButtonFace]));
    RECT r{0, 0, w, h};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
  PaintCaption(dc, w);
  if (m.Menu > 0 && win_state_ != TWinState::Minimised) {
    if (kind_ == TMdiKind::Child && menu_items_.empty()) {
      HBRUSH brush = CreateSolidBrush(ToColorRef(s.Colours[kcButtonFace]));
      RECT r{m.Left, m.Top, w - m.Right, m.Top + m.Menu};
      FillRect(dc, &r, brush);
      DeleteObject(brush);
    } else {
      PaintMenuBar(dc, {m.Left, m.Top, w - m.Right, m.Top + m.Menu});
    }
  }
}

void TWinSkinForm::PaintFrame(HDC given) {
  if ((life_ != 1 && life_ != 3) || border_kind_ == TBorderKind::NoCaption || !settings_.FrameOn)
    return;
  // A maximised MDI child's frame lies outside the MDI client.
  if (kind_ == TMdiKind::Child && IsZoomed(handle_)) return;
  RECT wr;
  GetWindowRect(handle_, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (w <= 0 || h <= 0) return;
  try {
    // One off-screen buffer of the window's size, kept between paints; only
    // the frame's strips are painted into it and copied out.
    if (buffer_.Width() != w || buffer_.Height() != h) buffer_ = TNativeBitmap(w, h);
    if (buffer_.Empty()) return;
    TMemoryDC mdc(buffer_);
    PaintInto(mdc.Handle(), w, h);
    HDC dc = given ? given : GetWindowDC(handle_);
    if (!dc) return;
    if (win_state_ == TWinState::Minimised) {
      BitBlt(dc, 0, 0, w, h, mdc.Handle(), 0, 0, SRCCOPY);
    } else {
      const TRect c = ClientFromWindow(0, 0, w, h, metrics_);
      const TRect strips[] = {{0, 0, w, c.Top},
                              {0, c.Top, c.Left, c.Bottom},
                              {c.Right, c.Top, w, c.Bottom},
                              {0, c.Bottom, w, h}};
      for (const TRect& r : strips)
        if (!r.IsEmpty())
          BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), mdc.Handle(), r.Left, r.Top, SRCCOPY);
    }
    if (!given) ReleaseDC(handle_, dc);
  } catch (...) {
    // A frame that cannot be painted stays as it was.
  }
}

void TWinSkinForm::PaintFrameTo(HDC dc) {
  RECT wr;
  GetWindowRect(handle_, &wr);
  RECT r{0, 0, wr.right - wr.left, wr.bottom - wr.top};
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  PaintFrame(dc);
}

void TWinSkinForm::InvalidateFrame() {
  SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  PaintFrame();
}

// ---- menu bar -------------------------------------------------------------

void TWinSkinForm::BuildMenuBar() {
  DropMenuBar();
  HMENU menu = native_menu_;
  if (!menu) return;
  TMainMenu* fw = form_ ? form_->Menu() : nullptr;
  const int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    wchar_t text[81]{};
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    mi.dwTypeData = text;
    mi.cch = 80;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mi)) continue;
    auto b = std::make_unique<TMenuBtn>(*this);
    b->Index = i;
    b->Visible = true;
    b->SubMenu = mi.hSubMenu;
    b->Command = mi.wID;
    b->ItemEnabled = !(mi.fState & (MFS_GRAYED | MFS_DISABLED));
    b->Caption = text;
    if (fw && !mi.hSubMenu) b->Item = fw->FindItem(mi.wID);
    if (fw && mi.hSubMenu && !b->Item) b->Item = fw->FindItemByHandle(mi.hSubMenu);
    menu_items_.push_back(std::move(b));
  }
  SetMenu(handle_, nullptr);
}

void TWinSkinForm::DropMenuBar() {
  if (hot_ && std::any_of(menu_items_.begin(), menu_items_.end(),
                          [&](const auto& b) { return b.get() == hot_; }))
    hot_ = nullptr;
  menu_items_.clear();
}

bool TWinSkinForm::OpenMenuItem(int index) {
  if (g_loop.Form) return false;  // one dropdown at a time
  while (index >= 0 && index < static_cast<int>(menu_items_.size())) {
    TMenuBtn& item = *menu_items_[static_cast<size_t>(index)];
    if (!item.SubMenu) {
      if (item.ItemEnabled) PostMessageW(handle_, WM_COMMAND, item.Command, 0);
      return true;
    }
    if (hot_ && hot_ != &item) hot_->MouseLeave();
    hot_ = &item;
    item.State = 2;
    PaintFrame();
    RECT wr;
    GetWindowRect(handle_, &wr);
    const int x = wr.left + (right_to_left_ ? item.Rect.Right : item.Rect.Left);
    const int y = wr.top + item.Rect.Bottom;
    OwnerDrawEntries(item.SubMenu);
    if (SkinManager) SkinManager->PopupKind = 1;
    g_loop.Form = this;
    g_loop.Open = index;
    g_loop.Pending = -1;
    g_loop.First = true;
    GetCursorPos(&g_loop.LastCursor);
    g_loop.Hook = SetWindowsHookExW(WH_MSGFILTER, MenuFilter, nullptr, GetCurrentThreadId());
    tracking_ = true;
    UINT cmd = 0;
    if (item.ItemEnabled) {
      UINT flags = TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY;
      if (right_to_left_) flags |= TPM_RIGHTALIGN;
      cmd = static_cast<UINT>(TrackPopupMenu(item.SubMenu, flags, x, y, 0, handle_, nullptr));
    }
    if (g_loop.Hook) UnhookWindowsHookEx(g_loop.Hook);
    g_loop.Hook = nullptr;
    const int next = g_loop.Pending;
    g_loop.Form = nullptr;
    g_loop.Open = -1;
    tracking_ = false;
    if (!IsWindow(handle_) || !Attached()) return true;
    if (hot_ == &item) {
      item.State = 1;
      hot_ = nullptr;
    }
    PaintFrame();
    // The framework item runs through the window's command, as from a
    // native menu bar.
    if (cmd) PostMessageW(handle_, WM_COMMAND, cmd, 0);
    index = next;
  }
  return true;
}

// ---- dropdown entries ------------------------------------------------------

namespace {

std::wstring EntryText(HMENU menu, UINT position) {
  wchar_t text[256]{};
  MENUITEMINFOW mi{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIIM_STRING;
  mi.dwTypeData = text;
  mi.cch = 255;
  if (!GetMenuItemInfoW(menu, position, TRUE, &mi)) return {};
  return text;
}

// Where the entry with this identifier is, trying the remembered position
// first: the menu may have changed since (an MDI client adds and removes its
// window list). -1 when it is gone.
int EntryPosition(HMENU menu, UINT id, UINT hint, bool owner_drawn) {
  auto is = [&](UINT pos) {
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE | MIIM_ID;
    return GetMenuItemInfoW(menu, pos, TRUE, &mi) && mi.wID == id &&
           (!owner_drawn || (mi.fType & MFT_OWNERDRAW));
  };
  if (is(hint)) return static_cast<int>(hint);
  const int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i)
    if (is(static_cast<UINT>(i))) return i;
  return -1;
}

// "&Open\tCtrl+O" -> caption and short-cut text.
void SplitEntry(const std::wstring& text, std::wstring& caption, std::wstring& shortcut) {
  const size_t tab = text.find(L'\t');
  caption = text.substr(0, tab);
  shortcut = tab == std::wstring::npos ? std::wstring() : text.substr(tab + 1);
}

}  // namespace

void TWinSkinForm::OwnerDrawEntries(HMENU menu, int depth) {
  if (depth == 0)  // records of menus destroyed since are of no use
    owner_drawn_.erase(std::remove_if(owner_drawn_.begin(), owner_drawn_.end(),
                                      [](const TOwnerDrawn& e) { return !IsMenu(e.Menu); }),
                       owner_drawn_.end());
  if (!menu || depth > 16 || !IsMenu(menu)) return;
  const int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_ID;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mi)) continue;
    if (mi.hSubMenu) OwnerDrawEntries(mi.hSubMenu, depth + 1);
    // Separators and entries drawn by someone else keep their look.
    if (mi.fType & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP)) continue;
    MENUITEMINFOW set{};
    set.cbSize = sizeof set;
    set.fMask = MIIM_FTYPE;
    // Our painter lays the entry out for the window's reading order; the
    // right-order flag is left off meanwhile (it shares its bit with the
    // system-menu flag, and some systems then draw the window icon instead).
    set.fType = (mi.fType | MFT_OWNERDRAW) & ~static_cast<UINT>(MFT_RIGHTORDER);
    if (SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &set))
      owner_drawn_.push_back({menu, static_cast<UINT>(i), mi.wID, mi.fType});
  }
}

void TWinSkinForm::RestoreOwnerDraw() {
  for (const TOwnerDrawn& e : owner_drawn_) {
    if (!IsMenu(e.Menu)) continue;
    // Only the entry we switched, wherever it is now.
    const int pos = EntryPosition(e.Menu, e.Id, e.Position, true);
    if (pos < 0) continue;
    MENUITEMINFOW set{};
    set.cbSize = sizeof set;
    set.fMask = MIIM_FTYPE;
    set.fType = e.Type;
    SetMenuItemInfoW(e.Menu, static_cast<UINT>(pos), TRUE, &set);
  }
  owner_drawn_.clear();
}

// Entries that a framework item draws go to it; the others get a plain look
// in the system's menu colours.
bool TWinSkinForm::MeasureEntry(MEASUREITEMSTRUCT& mis) {
  const auto it = std::find_if(owner_drawn_.begin(), owner_drawn_.end(),
                               [&](const TOwnerDrawn& e) { return e.Id == mis.itemID; });
  if (it == owner_drawn_.end()) return false;
  const int pos = EntryPosition(it->Menu, it->Id, it->Position, false);
  if (pos < 0) return false;
  std::wstring caption, shortcut;
  SplitEntry(EntryText(it->Menu, static_cast<UINT>(pos)), caption, shortcut);
  HDC dc = GetDC(handle_);
  HGDIOBJ old = SelectObject(dc, menu_font_);
  RECT c{0, 0, 0, 0}, k{0, 0, 0, 0};
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &c, DT_CALCRECT | DT_SINGLELINE);
  if (!shortcut.empty())
    DrawTextW(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &k,
              DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, old);
  ReleaseDC(handle_, dc);
  const int mark = GetSystemMetrics(SM_CXMENUCHECK);
  mis.itemWidth = static_cast<UINT>(mark + 8 + c.right + (k.right ? 24 + k.right : 0) + 8);
  mis.itemHeight = static_cast<UINT>(std::max<int>(GetSystemMetrics(SM_CYMENU) - 1, c.bottom + 6));
  return true;
}

bool TWinSkinForm::DrawEntry(const DRAWITEMSTRUCT& dis) {
  HMENU menu = reinterpret_cast<HMENU>(dis.hwndItem);
  const auto it = std::find_if(owner_drawn_.begin(), owner_drawn_.end(), [&](const TOwnerDrawn& e) {
    return e.Menu == menu && e.Id == dis.itemID;
  });
  if (it == owner_drawn_.end()) return false;
  const int pos = EntryPosition(it->Menu, it->Id, it->Position, false);
  if (pos < 0) return false;
  std::wstring caption, shortcut;
  SplitEntry(EntryText(it->Menu, static_cast<UINT>(pos)), caption, shortcut);
  const bool selected = (dis.itemState & ODS_SELECTED) != 0;
  const bool disabled = (dis.itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
  HDC dc = dis.hDC;
  RECT r = dis.rcItem;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  const int mark = GetSystemMetrics(SM_CXMENUCHECK);
  if (dis.itemState & ODS_CHECKED) {
    RECT m = right_to_left_ ? RECT{r.right - 2 - mark, r.top, r.right - 2, r.bottom}
                            : RECT{r.left + 2, r.top, r.left + 2 + mark, r.bottom};
    const int top = (r.top + r.bottom - mark) / 2;
    m.top = top;
    m.bottom = top + mark;
    // The check mark in the text colour, as the system draws it.
    HDC mdc = CreateCompatibleDC(dc);
    HBITMAP mono = CreateBitmap(mark, mark, 1, 1, nullptr);
    HGDIOBJ old_bmp = SelectObject(mdc, mono);
    RECT mr{0, 0, mark, mark};
    DrawFrameControl(mdc, &mr, DFC_MENU, DFCS_MENUCHECK);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    HBRUSH brush = GetSysColorBrush(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    HGDIOBJ old_brush = SelectObject(dc, brush);
    constexpr DWORD kMaskPaint = 0x00B8074A;  // PSDPxax: brush where the mask is black
    BitBlt(dc, m.left, m.top, mark, mark, mdc, 0, 0, kMaskPaint);
    SelectObject(dc, old_brush);
    SelectObject(mdc, old_bmp);
    DeleteObject(mono);
    DeleteDC(mdc);
  }
  HGDIOBJ old_font = SelectObject(dc, menu_font_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(disabled   ? COLOR_GRAYTEXT
                               : selected ? COLOR_HIGHLIGHTTEXT
                                          : COLOR_MENUTEXT));
  UINT flags = DT_SINGLELINE | DT_VCENTER;
  if (dis.itemState & ODS_NOACCEL) flags |= DT_HIDEPREFIX;
  RECT t = r;
  if (right_to_left_) {
    t.right -= mark + 8;
    t.left += 8;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &t,
              flags | DT_RIGHT | DT_RTLREADING);
    if (!shortcut.empty())
      DrawTextW(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &t, flags | DT_LEFT);
  } else {
    t.left += mark + 8;
    t.right -= 8;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &t, flags | DT_LEFT);
    if (!shortcut.empty())
      DrawTextW(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &t, flags | DT_RIGHT);
  }
  SelectObject(dc, old_font);
  return true;
}

void TWinSkinForm::ShowSystemMenu(POINT pt) {
  if (tracking_) return;  // the popup being shown is not rebuilt under its own loop
  const DWORD now = GetTickCount();
  if (last_click_ && now - last_click_ <= GetDoubleClickTime()) {
    last_click_ = 0;
    if (hot_) {
      KillTimer(handle_, kHoverTimer);
      PostMessageA(handle_, WM_CLOSE, 0, 0);
    }
    return;
  }
  last_click_ = now;
  if (!BuildSystemPopup()) return;
  if (SkinManager) SkinManager->PopupKind = 2;
  // Tracked for this window (not the framework's hidden popup owner), so the
  // window stays active while the menu is open; the owner-drawn entries'
  // measure and draw messages come here and go on to the framework items.
  tracking_ = true;
  const UINT cmd = static_cast<UINT>(TrackPopupMenu(
      system_popup_->Handle(), TPM_RIGHTBUTTON | TPM_RETURNCMD, pt.x, pt.y, 0, handle_, nullptr));
  tracking_ = false;
  if (!cmd || !system_popup_) return;
  if (TMenuItem* item = system_popup_->FindItem(cmd))
    PostMessageA(handle_, WM_SYSCOMMAND, static_cast<WPARAM>(item->Tag()), 0);
}

bool TWinSkinForm::BuildSystemPopup() {
  HMENU sys = GetSystemMenu(handle_, FALSE);
  if (!sys) return false;
  // A copy of the system menu with the entries enabled for the window's
  // state and the skin's glyphs; each entry's tag is its system command.
  auto popup = std::make_unique<TPopupMenu>(nullptr);
  popup->SetTag(kSystemPopupTag);
  popup->SetOwnerDraw(true);
  popup->SetImages(settings_.MenuGlyphs);
  popup->SetBiDiMode(right_to_left_ ? TBiDiMode::bdRightToLeft : TBiDiMode::bdLeftToRight);
  const int n = GetMenuItemCount(sys);
  for (int i = 0; i < n; ++i) {
    char text[81]{};
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_STATE | MIIM_ID | MIIM_FTYPE | MIIM_STRING;
    mi.dwTypeData = text;
    mi.cch = 80;
    if (!GetMenuItemInfoA(sys, static_cast<UINT>(i), TRUE, &mi)) continue;
    auto* item = new TMenuItem(popup.get());
    popup->Items()->Add(item);
    if (mi.fType & MFT_SEPARATOR || !text[0]) {
      item->SetCaption("-");
      continue;
    }
    // "Close\tAlt+F4": the caption, then the short cut drawn in its column.
    std::string caption = text;
    if (const size_t tab = caption.find('\t'); tab != std::string::npos) {
      item->SetShortCut(TextToShortCut(caption.substr(tab + 1)));
      caption.resize(tab);
    }
    item->SetCaption(caption);
    item->SetTag(static_cast<intptr_t>(mi.wID));
    bool enabled = !(mi.fState & MFS_GRAYED);
    int glyph = -1;
    switch (mi.wID & 0xFFF0) {
      case SC_SIZE:
      case SC_MOVE:
        enabled = win_state_ != TWinState::Maximised;
        break;
      case SC_MINIMIZE:
        glyph = 2;
        enabled = win_state_ != TWinState::Minimised && min_box_;
        break;
      case SC_MAXIMIZE:
        glyph = 1;
        enabled = win_state_ != TWinState::Maximised && max_box_;
        break;
      case SC_CLOSE:
        glyph = 3;
        break;
      case SC_RESTORE:
        glyph = 0;
        enabled = win_state_ != TWinState::Normal;
        break;
      default:
        break;
    }
    item->SetImageIndex(glyph);
    item->SetEnabled(enabled);
    item->SetChecked((mi.fState & MFS_CHECKED) != 0);
  }
  system_popup_ = std::move(popup);
  return true;
}

// ---- actions and mouse ------------------------------------------------------

void TWinSkinForm::RunAction(TWinSysButton& b, POINT pt) {
  const int action = b.Element->Action;
  auto maximise = [&] {
    if (win_state_ == TWinState::Maximised) {
      win_state_ = TWinState::Normal;
      PostMessageA(handle_, WM_SYSCOMMAND, SC_RESTORE, 0);
    } else {
      if (kind_ == TMdiKind::Child) TellMdiMaximized(true);
      win_state_ = TWinState::Maximised;
      hot_ = nullptr;
      b.State = 1;
      PostMessageA(handle_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    }
  };
  auto minimise = [&] {
    if (win_state_ == TWinState::Minimised) {
      win_state_ = TWinState::Normal;
      PostMessageA(handle_, WM_SYSCOMMAND, SC_RESTORE, 0);
    } else {
      win_state_ = TWinState::Minimised;
      hot_ = nullptr;
      b.State = 1;
      PostMessageA(handle_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    }
  };
  switch (action) {
    case 0: {
      HMENU sys = GetSystemMenu(handle_, FALSE);
      if (sys && GetMenuState(sys, SC_CLOSE, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
        KillTimer(handle_, kHoverTimer);
        PostMessageA(handle_, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      break;
    }
    case 1:
    case 22:
      if (b.Enabled) maximise();
      break;
    case 2:
    case 23:
      if (b.Enabled) minimise();
      break;
    case 3:
    case 11:
    case 12:
      ShowSystemMenu({pt.x + 1, pt.y + 1});
      break;
    case 4:
      PostMessageA(handle_, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
      break;
    case 7:
    case 8:
    case 9:
    case 60:
    case 61:
    case 62:
      RunMdiAction(b);
      break;
    default:
      PostMessageA(handle_, kSkmTitleAction, static_cast<WPARAM>(action), 0);
      break;
  }
}

TPoint TWinSkinForm::WindowPoint(POINT screen) const {
  RECT wr;
  GetWindowRect(handle_, &wr);
  return {screen.x - wr.left, screen.y - wr.top};
}

TNCObject* TWinSkinForm::ObjectAt(TPoint p) const {
  for (const auto& b : buttons_)
    if (b->Visible && b->Element->Action >= 0 && !b->Rect.IsEmpty() && b->Contains(p))
      return b.get();
  for (const auto& m : menu_items_)
    if (m->Visible && !m->Caption.empty() && m->Contains(p)) return m.get();
  return nullptr;
}

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

LRESULT TWinSkinForm::NcMouse(UINT msg, WPARAM wparam, LPARAM lparam) {
  const POINT screen{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  const TPoint p = WindowPoint(screen);
  TNCObject* o = ObjectAt(p);
  switch (msg) {
    case WM_NCMOUSEMOVE:
      if (!active_) break;
      if (o) {
        o->MouseMove();
        return 0;
      }
      if (hot_) LeaveHot();
      break;
    case WM_NCLBUTTONDOWN:
      if (o) {
        if (!active_) SetForegroundWindow(handle_);
        o->MouseDown();
        for (size_t i = 0; i < menu_items_.size(); ++i)
          if (menu_items_[i].get() == o) OpenMenuItem(static_cast<int>(i));
        return 0;
      }
      if (win_state_ == TWinState::Maximised && active_ && wparam == HTCAPTION) wparam = HTMENU;
      break;
    case WM_NCLBUTTONUP:
      if (hot_ && hot_ == o) {
        if (auto* b = dynamic_cast<TWinSysButton*>(o)) {
          b->MouseUp();
          RunAction(*b, screen);
          return 0;
        }
      }
      if (o) return 0;
      break;
    case WM_NCLBUTTONDBLCLK:
      if (auto* b = dynamic_cast<TWinSysButton*>(o)) {
        if (b->Element->Action == 3 || b->Element->Action == 11) {
          KillTimer(handle_, kHoverTimer);
          PostMessageA(handle_, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
      }
      if (o) return 0;
      if (wparam == HTCAPTION) {
        if (win_state_ != TWinState::Normal) {
          PostMessageA(handle_, WM_SYSCOMMAND, SC_RESTORE, 0);
          return 0;
        }
        if (max_box_) {
          PostMessageA(handle_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
          return 0;
        }
      }
      break;
    case WM_NCRBUTTONDOWN:
      if (wparam == HTCAPTION && kind_ != TMdiKind::Child) {
        ShowSystemMenu(screen);
        return 0;
      }
      break;
    default:
      break;
  }
  return Default(msg, wparam, lparam);
}

LRESULT TWinSkinForm::SysCommand(WPARAM wparam, LPARAM lparam) {
  const UINT cmd = static_cast<UINT>(wparam & 0xFFF0);
  if (cmd == SC_KEYMENU && !tracking_ && GetCapture() == nullptr) {
    const wchar_t key = static_cast<wchar_t>(lparam);
    if (key == L' ') {
      RECT wr;
      GetWindowRect(handle_, &wr);
      ShowSystemMenu({wr.left + metrics_.Left, wr.top + metrics_.Top + metrics_.Menu});
      return 0;
    }
    if (key == 0) {
      for (size_t i = 0; i < menu_items_.size(); ++i)
        if (menu_items_[i]->Visible && !menu_items_[i]->Caption.empty()) {
          OpenMenuItem(static_cast<int>(i));
          break;
        }
      return 0;
    }
    if (key != L'-' && OpenAccelerator(key)) return 0;
  }
  if (cmd == SC_MINIMIZE) win_state_ = TWinState::Minimised;
  if (cmd == SC_MAXIMIZE) win_state_ = TWinState::Maximised;
  if (cmd == SC_RESTORE) {
    win_state_ = TWinState::Normal;
    if (kind_ == TMdiKind::Child && IsZoomed(handle_)) TellMdiMaximized(false);
  }
  return Default(WM_SYSCOMMAND, wparam, lparam);
}

// ---- window procedure -------------------------------------------------------

LRESULT CALLBACK TWinSkinForm::Proc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  TWinSkinForm* self = SkinnerOf(window);
  if (!self || !self->old_proc_) {
    // Released while another procedure subclassed the window after ours:
    // ours stays in the chain and only passes messages on.
    auto old = reinterpret_cast<WNDPROC>(GetPropA(window, kOldProcProp));
    return old ? CallWindowProcA(old, window, msg, wparam, lparam)
               : DefWindowProcA(window, msg, wparam, lparam);
  }
  return self->Dispatch(msg, wparam, lparam);
}

LRESULT TWinSkinForm::Default(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (!old_proc_) return DefWindowProcA(handle_, msg, wparam, lparam);
  return CallWindowProcA(old_proc_, handle_, msg, wparam, lparam);
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

LRESULT TWinSkinForm::Dispatch(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (life_ == 0 && msg == WM_NCPAINT) return 0;
  switch (msg) {
    case WM_NCDESTROY: {
      life_ = 4;
      KillTimer(handle_, kHoverTimer);
      if (g_loop.Form == this) g_loop.Form = nullptr;
      WNDPROC old = old_proc_;
      Unhook();
      UnhookForm();
      RestoreOwnerDraw();
      system_popup_.reset();
      RemovePropA(handle_, kOldProcProp);
      hot_ = nullptr;
      menu_items_.clear();
      buttons_.clear();
      // A bare window's menu is no longer on the window: it is ours to free.
      if (native_menu_ && !form_ && GetMenu(handle_) != native_menu_) DestroyMenu(native_menu_);
      native_menu_ = nullptr;
      const LRESULT r = CallWindowProcA(old, handle_, msg, wparam, lparam);
      life_ = 6;
      return r;
    }
    case WM_NCACTIVATE:
      if (life_ == 0 && kind_ != TMdiKind::Child) return 0;
      break;
    case 0xAE:
      return 0;
    case WM_INITMENUPOPUP:
      // Tells the popup skinners which kind of menu opens.
      if (SkinManager)
        SkinManager->PopupKind = reinterpret_cast<HMENU>(wparam) == system_menu_ ? 2 : 1;
      break;
    case WM_TIMER:
      if (wparam == kHoverTimer) {
        HoverTick();
        return 0;
      }
      break;
    case kSkmSetup:
      Setup();
      return 0;
    case kSkmIsSkinned:
      PostMessageA(handle_, kSkmSkinned, 0, kSkinMagic);
      return 1;
    case kSkmPaintFrame:
      if (lparam == kSkinMagic) {
        PaintFrameTo(reinterpret_cast<HDC>(wparam));
        return kSkinMagic;
      }
      break;
    case kSkmProbe:
      return lparam == kSkinMagic ? kSkinMagic : 1;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      // The skinned system menu's entries, drawn by their framework items.
      if (system_popup_ && wparam == 0 && lparam) {
        const UINT type = msg == WM_DRAWITEM
                              ? reinterpret_cast<DRAWITEMSTRUCT*>(lparam)->CtlType
                              : reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)->CtlType;
        const UINT id = msg == WM_DRAWITEM ? reinterpret_cast<DRAWITEMSTRUCT*>(lparam)->itemID
                                           : reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)->itemID;
        if (type == ODT_MENU && system_popup_->FindItem(id)) {
          TMessage m{msg, wparam, lparam, 0};
          if (DispatchMenuMessage(m)) return m.Result;
        }
      }
      if (!owner_drawn_.empty() && wparam == 0 && lparam) {
        // Dropdown entries: a framework item draws itself, others get ours.
        TMessage m{msg, wparam, lparam, 0};
        if (DispatchMenuMessage(m)) return m.Result;
        if (msg == WM_MEASUREITEM) {
          auto& mis = *reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
          if (mis.CtlType == ODT_MENU && MeasureEntry(mis)) return 1;
        } else {
          const auto& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
          if (dis.CtlType == ODT_MENU && DrawEntry(dis)) return 1;
        }
      }
      break;
    case WM_ERASEBKGND:
      if (!form_) {
        RECT r;
        GetClientRect(handle_, &r);
        HBRUSH brush = CreateSolidBrush(ToColorRef(skin_->Colours[kcButtonFace]));
        FillRect(reinterpret_cast<HDC>(wparam), &r, brush);
        DeleteObject(brush);
        return 1;
      }
      break;
    default:
      break;
  }
  if (!settings_.FrameOn) return Default(msg, wparam, lparam);
  return Stage2(msg, wparam, lparam);
}

LRESULT TWinSkinForm::Stage2(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_SYSCOMMAND:
      return SysCommand(wparam, lparam);
    case WM_WINDOWPOSCHANGED:
    case WM_GETMINMAXINFO: {
      const LRESULT r = Default(msg, wparam, lparam);
      UpdateWinState();
      return r;
    }
    case WM_ACTIVATE:
      active_ = LOWORD(wparam) != WA_INACTIVE;
      break;
    case WM_NCACTIVATE:
      active_ = (wparam & 0xFF) != 0;
      break;
    case WM_MDIACTIVATE:
      if (kind_ == TMdiKind::Child) {
        // Sent to the child losing (wParam) and the one gaining (lParam)
        // the MDI activation.
        active_ = reinterpret_cast<HWND>(lparam) == handle_;
        const LRESULT r = Default(msg, wparam, lparam);
        PaintFrame();
        return r;
      }
      break;
    case WM_SIZE:
      SizeHandler(wparam);
      break;
    case WM_SETTEXT: {
      // The default paints the platform's caption: paint ours over it.
      const LRESULT r = Default(msg, wparam, lparam);
      // A maximised MDI child's title shows in its frame's caption.
      if (kind_ == TMdiKind::Child && IsZoomed(handle_))
        PostMessageA(GetParent(handle_), kSkmMdiRedraw, reinterpret_cast<WPARAM>(handle_), 0);
      else if (IsWindowVisible(handle_))
        PaintFrame();
      return r;
    }
    case WM_SETICON: {
      const LRESULT r = Default(msg, wparam, lparam);
      PaintFrame();
      return r;
    }
    case kSkmNcPress: {
      const POINT pt{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      TNCObject* o = ObjectAt(WindowPoint(pt));
      for (size_t i = 0; i < menu_items_.size(); ++i)
        if (menu_items_[i].get() == o) OpenMenuItem(static_cast<int>(i));
      return 0;
    }
    case CM_MENUCHANGED: {
      const LRESULT r = Default(msg, wparam, lparam);
      HMENU now = GetMenu(handle_);
      if (now) {
        if (settings_.MenuUpdate) {
          native_menu_ = now;
          BuildMenuBar();
          const int menu = menu_items_.empty() ? 0 : GetSystemMetrics(SM_CYMENU);
          if (menu != metrics_.Menu) {
            metrics_.Menu = menu;
            ResizeForFrame();
          }
        }
        SetMenu(handle_, nullptr);
        InvalidateFrame();
      }
      return r;
    }
    case kSkmRecolour:
      if (form_) form_->SetColor(skin_->Colours[kcButtonFace]);
      return 0;
    default:
      break;
  }
  return Stage3(msg, wparam, lparam);
}

LRESULT TWinSkinForm::Stage3(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (life_ == 0) return Default(msg, wparam, lparam);
  // A maximised MDI child keeps the platform's handling: its frame is hidden.
  if (kind_ == TMdiKind::Child && IsZoomed(handle_)) return Default(msg, wparam, lparam);
  switch (msg) {
    case WM_NCACTIVATE:
      active_ = wparam != 0;
      if (active_)
        SetTimer(handle_, kHoverTimer, 250, nullptr);
      else
        KillTimer(handle_, kHoverTimer);
      // The active child's caption follows the frame's.
      if (kind_ == TMdiKind::Frame && mdi_client_)
        SendMessageA(mdi_client_, WM_NCACTIVATE, wparam, lparam);
      if (kind_ == TMdiKind::Child) Default(msg, wparam, lparam);
      PaintFrame();
      return 1;
    case WM_SIZE: {
      const LRESULT r = Default(msg, wparam, lparam);
      SizeHandler(wparam);
      return r;
    }
    case WM_NCCALCSIZE: {
      const LRESULT r = Default(msg, wparam, lparam);
      if (!wparam) return r;
      auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lparam);
      if (border_kind_ == TBorderKind::NoCaption ||
          (kind_ == TMdiKind::Child && !MdiChildNormal())) {
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
    case WM_NCHITTEST: {
      const LRESULT r = Default(msg, wparam, lparam);
      if (border_kind_ == TBorderKind::NoCaption) return r;
      const POINT pt{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      return RefineHitTest(static_cast<int>(r), WindowPoint(pt), metrics_);
    }
    case WM_NCPAINT:
      if (border_kind_ == TBorderKind::NoCaption) return Default(msg, wparam, lparam);
      PaintFrame();
      return 0;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
      return NcMouse(msg, wparam, lparam);
    case WM_COMMAND: {
      const UINT id = LOWORD(wparam) & 0xFFF0;
      if (lparam == 0 && (id == SC_SIZE || id == SC_MOVE || id == SC_MINIMIZE ||
                          id == SC_MAXIMIZE || id == SC_CLOSE || id == SC_RESTORE)) {
        PostMessageA(handle_, WM_SYSCOMMAND, id, 0);
        return 0;
      }
      break;
    }
    case kSkmRepaintFrame:
      PaintFrame();
      return 0;
    default:
      break;
  }
  return Default(msg, wparam, lparam);
}

// --- Tool-bar painters ------------------------------------------------------------------

void TWinSkinForm::PaintToolbarBackground(HDC dc, const RECT& rect) {
  if (!dc || !skin_ || !settings_.ToolbarBackground) return;
  const TDataSkinObject* e = skin_->Element(ksToolbar);
  if (!e || e->Bitmap.Empty()) return;
  const TRect r{rect.left, rect.top, rect.right, rect.bottom};
  if (r.Width() <= 0 || r.Height() <= 0) return;
  const TNativeBitmap bmp(e->Bitmap);
  DrawFrameScaled(dc, r, bmp, false, 1, 1);
}

bool TWinSkinForm::PaintToolButton(HDC dc, const RECT& bounds, unsigned state, COLORREF* text) {
  if (!dc || !skin_ || !settings_.ToolbarButtons || life_ != 1) return false;
  const TDataSkinButton& e = skin_->Buttons;
  if (e.Bitmap.Empty()) return false;
  const int frame = ToolButtonFrame(state);
  if (frame == 0) return false;
  const TRect r{bounds.left + 1, bounds.top + 1, bounds.right - 1, bounds.bottom - 1};
  if (r.Width() <= 0 || r.Height() <= 0) return false;
  const TNativeBitmap bmp(e.Bitmap);
  DrawFrameScaled(dc, r, bmp, e.Trans != 0, std::max(1, e.FrameCount), frame);
  const bool has = frame == 1   ? e.HasNormalColour2
                   : frame == 4 ? e.HasMouseOverColour2
                                : e.HasPressedColour2;
  if (!has || !text) return false;
  const TColor c = frame == 1   ? e.NormalColour2
                   : frame == 4 ? e.MouseOverColour2
                                : e.PressedColour2;
  *text = ToColorRef(c);
  return true;
}
