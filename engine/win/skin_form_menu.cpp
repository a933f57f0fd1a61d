// The form skinner's menus: the skinned menu bar and the dropdowns it opens
// (arrow keys and the mouse move between bar items while one is open), the
// entries of those dropdowns (owner drawn while skinned), the bar's keys
// (Alt+letter from the window and from a framework form's handler) and the
// system menu shown as an owner-drawn framework popup with the skin's glyphs.
#include <algorithm>
#include <cwctype>

#include "engine_win/skin_data.h"
#include "engine_win/skin_form.h"
#include "engine_win/skin_manage.h"
#include "engine_win/skin_menu_item.h"
#include "framework/forms.h"
#include "framework/imglist.h"
#include "framework/menus.h"
#include "framework/messages.h"
#include "skin_form_shared.h"

namespace {

constexpr UINT kMenuGetHandle = 0x01E1;  // MN_GETHMENU

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

void TWinSkinForm::LeaveMenuLoop(bool close_menu) {
  if (g_loop.Form != this) return;
  if (close_menu) EndMenu();
  g_loop.Form = nullptr;
}

// ---- bar items ------------------------------------------------------------

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
    // The item's own command goes first: an item without dropdown is just
    // that command, and a framework item can fill its dropdown when clicked.
    // (A native dropdown entry made by handle has the handle as identifier,
    // no command of its own.)
    const bool own_command =
        !item.SubMenu ||
        (item.Command != 0 &&
         item.Command != static_cast<UINT>(reinterpret_cast<UINT_PTR>(item.SubMenu)));
    if (item.ItemEnabled && own_command) PostMessageW(handle_, WM_COMMAND, item.Command, 0);
    if (!item.SubMenu) return true;
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

// ---- dropdown entries ------------------------------------------------------

namespace {

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
    // Entries drawn by someone else keep their look; separators are ours.
    if (mi.fType & (MFT_OWNERDRAW | MFT_BITMAP)) continue;
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

// Entries are measured and drawn from the skin (skin_menu_item.cpp).
bool TWinSkinForm::MeasureEntry(MEASUREITEMSTRUCT& mis) {
  const auto it = std::find_if(owner_drawn_.begin(), owner_drawn_.end(),
                               [&](const TOwnerDrawn& e) { return e.Id == mis.itemID; });
  if (it == owner_drawn_.end()) return false;
  const int pos = EntryPosition(it->Menu, it->Id, it->Position, false);
  TMenuEntry entry;
  if (pos < 0 || !ReadNativeEntry(it->Menu, static_cast<UINT>(pos), entry)) return false;
  const TMenuSize size = MeasureSkinnedEntry(*skin_, entry);
  mis.itemWidth = static_cast<UINT>(size.Width);
  mis.itemHeight = static_cast<UINT>(size.Height);
  return true;
}

bool TWinSkinForm::DrawEntry(const DRAWITEMSTRUCT& dis) {
  HMENU menu = reinterpret_cast<HMENU>(dis.hwndItem);
  const auto it = std::find_if(owner_drawn_.begin(), owner_drawn_.end(), [&](const TOwnerDrawn& e) {
    return e.Menu == menu && e.Id == dis.itemID;
  });
  if (it == owner_drawn_.end()) return false;
  const int pos = EntryPosition(it->Menu, it->Id, it->Position, false);
  TMenuEntry entry;
  if (pos < 0 || !ReadNativeEntry(it->Menu, static_cast<UINT>(pos), entry)) return false;
  entry.RightToLeft = right_to_left_;
  entry.HidePrefix = (dis.itemState & ODS_NOACCEL) != 0;
  if (dis.itemState & (ODS_DISABLED | ODS_GRAYED)) entry.Enabled = false;
  if (SkinManager) SkinManager->BindPopupMenu(menu);
  DrawSkinnedEntry(dis.hDC, dis.rcItem, entry, (dis.itemState & ODS_SELECTED) != 0, *skin_, menu,
                   true);
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
  SetSkinHandlers(*popup, skin_, TMenuMeasureKind::B, false);
  if (right_to_left_) DropRightOrderFlag(popup->Handle());
  system_popup_ = std::move(popup);
  return true;
}

// ---- keys and messages of the menus ----------------------------------------------

bool TWinSkinForm::KeyMenu(wchar_t key) {
  if (key == L' ') {
    RECT wr;
    GetWindowRect(handle_, &wr);
    ShowSystemMenu({wr.left + metrics_.Left, wr.top + metrics_.Top + metrics_.Menu});
    return true;
  }
  if (key == 0) {  // Alt or F10 alone: the first bar item
    for (size_t i = 0; i < menu_items_.size(); ++i)
      if (menu_items_[i]->Visible && !menu_items_[i]->Caption.empty()) {
        OpenMenuItem(static_cast<int>(i));
        break;
      }
    return true;
  }
  return key != L'-' && OpenAccelerator(key);
}

LRESULT TWinSkinForm::OnNcPress(WPARAM wparam, LPARAM lparam) {
  if (!settings_.FrameOn) return Default(kSkmNcPress, wparam, lparam);
  const POINT pt{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  TNCObject* o = ObjectAt(WindowPoint(pt));
  for (size_t i = 0; i < menu_items_.size(); ++i)
    if (menu_items_[i].get() == o) OpenMenuItem(static_cast<int>(i));
  return 0;
}

// While the window's own handling puts the changed menu on the window, the
// frame is not painted (the component's NcPaintEnabled is off meanwhile and
// back to what it was afterwards, also when the handling throws).
LRESULT TWinSkinForm::OnMenuChanged(WPARAM wparam, LPARAM lparam) {
  struct TPause {
    bool& Flag;
    const bool Was;
    explicit TPause(bool& flag) : Flag(flag), Was(flag) { Flag = false; }
    ~TPause() { Flag = Was; }
    TPause(const TPause&) = delete;
    TPause& operator=(const TPause&) = delete;
  };
  LRESULT r = 0;
  {
    TPause pause(settings_.Data ? settings_.Data->NcPaintEnabled : nc_paint_enabled_);
    r = Default(CM_MENUCHANGED, wparam, lparam);
  }
  if (!settings_.FrameOn) return r;
  HMENU now = GetMenu(handle_);
  if (!now) {
    // The frame may have changed meanwhile (a menu taken off) unpainted.
    if (PaintsFrame() && NcPaintEnabled()) PaintFrame();
    return r;
  }
  if (MenuUpdate()) {
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
  return r;
}

LRESULT TWinSkinForm::OnMenuEntryMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (wparam != 0 || !lparam) return Default(msg, wparam, lparam);
  const bool draw = msg == WM_DRAWITEM;
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lparam);
  auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
  // The skinned system menu's entries, drawn by their framework items.
  if (system_popup_) {
    const UINT type = draw ? dis->CtlType : mis->CtlType;
    const UINT id = draw ? dis->itemID : mis->itemID;
    if (type == ODT_MENU && system_popup_->FindItem(id)) {
      TMessage m{msg, wparam, lparam, 0};
      if (DispatchMenuMessage(m)) return m.Result;
    }
  }
  if (!owner_drawn_.empty()) {
    // Dropdown entries: the form's framework items and the native entries
    // are painted from the skin; an item with a painter of its own draws
    // itself.
    if (MainMenuEntry(msg, lparam)) return 1;
    TMessage m{msg, wparam, lparam, 0};
    if (DispatchMenuMessage(m)) return m.Result;
    if (!draw && mis->CtlType == ODT_MENU && MeasureEntry(*mis)) return 1;
    if (draw && dis->CtlType == ODT_MENU && DrawEntry(*dis)) return 1;
  }
  return Default(msg, wparam, lparam);
}

bool TWinSkinForm::MainMenuEntry(UINT msg, LPARAM lparam) {
  TMainMenu* menu = form_ ? form_->Menu() : nullptr;
  if (!menu) return false;
  if (msg == WM_MEASUREITEM) {
    auto& mis = *reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
    TMenuItem* item = mis.CtlType == ODT_MENU ? menu->FindItem(mis.itemID) : nullptr;
    if (!item || (item->OnDrawItem && !HasSkinDrawHandler(*item))) return false;
    // The item's own measurement (our handler off meanwhile), widened.
    TMenuMeasureItemEvent own = std::move(item->OnMeasureItem);
    item->OnMeasureItem = nullptr;
    item->MeasureItem(mis);
    item->OnMeasureItem = std::move(own);
    int w = static_cast<int>(mis.itemWidth), h = static_cast<int>(mis.itemHeight);
    MeasureSkinnedItem(*item, *skin_, TMenuMeasureKind::A, w, h);
    mis.itemWidth = static_cast<UINT>(w);
    mis.itemHeight = static_cast<UINT>(h);
    return true;
  }
  const auto& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
  TMenuItem* item = dis.CtlType == ODT_MENU ? menu->FindItem(dis.itemID) : nullptr;
  if (!item || (item->OnDrawItem && !HasSkinDrawHandler(*item))) return false;
  DrawSkinnedItem(*item, dis.hDC, dis.rcItem, (dis.itemState & ODS_SELECTED) != 0, *skin_);
  return true;
}
