// The multiple-document side of the form skinner: an MDI frame (a window
// with an "MDIClient" child) and its MDI children.
//
// The frame subclasses its MDI client to follow children being created,
// destroyed, tiled and maximised, and to keep its skinned menu bar in step
// with menus given through WM_MDISETMENU. A maximised child has no frame of
// its own (its native frame lies outside the MDI client); its minimise,
// restore and close buttons then show at the right of the frame's menu bar.
#include <algorithm>

#include "engine_win/skin_form.h"
#include "engine_win/skin_manage.h"
#include "framework/forms.h"

namespace {

bool IsMdiSysCommand(UINT id) {
  return id == SC_CLOSE || id == SC_RESTORE || id == SC_MINIMIZE;
}

// Takes out of a frame menu what the platform adds to it for a maximised
// child: the child's system menu as a bitmap item in front and the
// minimise / restore / close bitmaps at the end. Those are drawn by the
// skinned bar's own MDI buttons instead.
void StripChildEntries(HMENU menu) {
  if (!menu || !IsMenu(menu)) return;
  for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_BITMAP;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mi)) continue;
    const bool bitmap = (mi.fType & MFT_BITMAP) != 0 || mi.hbmpItem != nullptr;
    if (!bitmap) continue;
    if (!mi.hSubMenu && IsMdiSysCommand(mi.wID & 0xFFF0)) {
      RemoveMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
      continue;
    }
    // The child's system menu: a popup whose entries are system commands.
    if (i == 0 && mi.hSubMenu &&
        GetMenuState(mi.hSubMenu, SC_CLOSE, MF_BYCOMMAND) != static_cast<UINT>(-1))
      RemoveMenu(menu, 0, MF_BYPOSITION);
  }
}

}  // namespace

// ---- kind and the MDI client --------------------------------------------------

void TWinSkinForm::ReadMdiKind() {
  kind_ = TMdiKind::None;
  mdi_client_ = nullptr;
  if (GetWindowLongPtrA(handle_, GWL_EXSTYLE) & WS_EX_MDICHILD) {
    kind_ = TMdiKind::Child;
    if (MdiChildBorder()) settings_.FrameOn = false;
    mdi_maximised_ = IsZoomed(handle_) != FALSE;
    return;
  }
  HWND client = FindWindowExA(handle_, nullptr, "MDIClient", nullptr);
  if (!client) return;
  kind_ = TMdiKind::Frame;
  mdi_client_ = client;
  saved_menu_update_ = MenuUpdate();
  if (SkinManager) {
    SkinManager->MdiClient = client;
    SkinManager->MdiFrameControl = form_;
  }
}

void TWinSkinForm::HookMdiClient() {
  if (kind_ != TMdiKind::Frame || !mdi_client_ || client_sub_.Attached()) return;
  if (!client_sub_.Attach(mdi_client_, [this](UINT msg, WPARAM wparam, LPARAM lparam) {
        return MdiClientDispatch(msg, wparam, lparam);
      }))
    return;
  // The scroll bars go at once when the skin does not want them.
  if (settings_.FrameOn && !MdiScrollbar())
    SetWindowPos(mdi_client_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::UnhookMdiClient() {
  if (SkinManager && kind_ == TMdiKind::Frame && mdi_client_ &&
      SkinManager->MdiClient == mdi_client_) {
    SkinManager->MdiClient = nullptr;
    SkinManager->MdiFrameControl = nullptr;
    SkinManager->MdiMaximized = false;
  }
  // A later subclass of the client keeps its chain; ours then passes every
  // message on.
  client_sub_.Detach();
}

LRESULT TWinSkinForm::MdiClientDefault(UINT msg, WPARAM wparam, LPARAM lparam) {
  return client_sub_.CallOld(msg, wparam, lparam);
}

LRESULT TWinSkinForm::MdiClientDispatch(UINT msg, WPARAM wparam, LPARAM lparam) {
  const bool frame_on = settings_.FrameOn;
  switch (msg) {
    case WM_NCDESTROY:
      // The client's procedure is given back once its own handled this.
      UnhookMdiClient();
      mdi_client_ = nullptr;
      return MdiClientDefault(msg, wparam, lparam);
    case WM_NCCALCSIZE:
      if (frame_on && !MdiScrollbar()) {
        const LONG_PTR style = GetWindowLongPtrA(mdi_client_, GWL_STYLE);
        if (style & (WS_HSCROLL | WS_VSCROLL))
          SetWindowLongPtrA(mdi_client_, GWL_STYLE, style & ~(WS_HSCROLL | WS_VSCROLL));
      }
      break;
    case WM_MDICREATE:
      // The bar follows the frame's menu again once the last child went.
      SetMenuUpdate(false);
      break;
    case WM_MDIDESTROY: {
      const LRESULT r = MdiClientDefault(msg, wparam, lparam);
      if (frame_on && mdi_client_) {
        bool maximised = false;
        HWND active = ActiveMdiChild(&maximised);
        TellMdiMaximized(maximised);
        if (!active) {
          SetMenuUpdate(saved_menu_update_);
          RebuildMenuBarForMdi();
        }
        RedrawMdiFrame();
      }
      return r;
    }
    case WM_MDITILE:
    case WM_MDICASCADE: {
      bool maximised = false;
      ActiveMdiChild(&maximised);
      if (frame_on && ((SkinManager && SkinManager->MdiMaximized) || maximised))
        TellMdiMaximized(false);
      break;
    }
    case WM_MDISETMENU: {
      const LRESULT r = MdiClientDefault(msg, wparam, lparam);
      if (frame_on && wparam && mdi_client_) {
        HMENU now = GetMenu(handle_);
        if (now) native_menu_ = now;
        StripChildEntries(native_menu_);
        RebuildMenuBarForMdi();
        RedrawMdiFrame();
      }
      return r;
    }
    case kSkmMdiRedraw:
      RedrawMdiFrame();
      return 0;
    default:
      break;
  }
  return MdiClientDefault(msg, wparam, lparam);
}

// ---- the frame --------------------------------------------------------------

HWND TWinSkinForm::ActiveMdiChild(bool* maximised) const {
  if (maximised) *maximised = false;
  if (kind_ != TMdiKind::Frame || !mdi_client_ || !IsWindow(mdi_client_)) return nullptr;
  BOOL max = FALSE;
  HWND active = reinterpret_cast<HWND>(
      SendMessageA(mdi_client_, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&max)));
  if (active && !IsWindow(active)) active = nullptr;
  if (maximised) *maximised = active && max;
  return active;
}

void TWinSkinForm::RedrawMdiFrame() {
  if (!IsWindow(handle_) || !Attached()) return;
  RedrawWindow(handle_, nullptr, nullptr,
               RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TWinSkinForm::RebuildMenuBarForMdi() {
  if (!settings_.FrameOn || !native_menu_ || !IsMenu(native_menu_)) return;
  BuildMenuBar();
  // Entries without text (bitmaps a program put there) have nothing to show
  // in the skinned bar and take no room in it.
  for (auto& item : menu_items_)
    if (item->Caption.empty()) item->Visible = false;
  const int menu = menu_items_.empty() ? 0 : GetSystemMetrics(SM_CYMENU);
  if (menu != metrics_.Menu && life_ != 0) {
    metrics_.Menu = menu;
    ResizeForFrame();
  }
}

void TWinSkinForm::RunMdiAction(TWinSysButton& b) {
  HWND child = ActiveMdiChild();
  if (!child) return;
  const int action = b.Element->Action;
  const UINT cmd = (action == 7 || action == 60)   ? SC_MINIMIZE
                   : (action == 8 || action == 61) ? SC_RESTORE
                                                   : SC_CLOSE;
  b.State = 1;
  if (hot_ == &b) hot_ = nullptr;
  if (cmd == SC_RESTORE) TellMdiMaximized(false);
  SendMessageA(child, WM_SYSCOMMAND, cmd, 0);
  if (IsWindow(handle_)) RedrawMdiFrame();
}

void TWinSkinForm::TellMdiMaximized(bool maximised) {
  if (SkinManager) SkinManager->SetMdiMaximized(maximised);
}

// ---- children ------------------------------------------------------------------

bool TWinSkinForm::MdiChildNormal() const {
  return !IsZoomed(handle_) && !IsIconic(handle_);
}

bool TWinSkinForm::AnyMdiChildMaximised() const {
  HWND client = kind_ == TMdiKind::Child ? GetParent(handle_) : mdi_client_;
  if (!client) return false;
  BOOL max = FALSE;
  HWND active = reinterpret_cast<HWND>(
      SendMessageA(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&max)));
  return active && max;
}

void TWinSkinForm::ApplyMdiChildMetrics() {
  if (kind_ != TMdiKind::Child || !settings_.FrameOn) return;
  if (border_kind_ == TBorderKind::NoCaption) return;
  // A thin skinned caption still gives the child the platform's caption
  // height: the rest is an empty row below it.
  const int least = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
  if (metrics_.Top < least) metrics_.Menu = least - metrics_.Top;
}

void TWinSkinForm::MdiChildStateChanged() {
  if (kind_ != TMdiKind::Child) return;
  const bool now = IsZoomed(handle_) != FALSE;
  if (now == mdi_maximised_) return;
  mdi_maximised_ = now;
  if (now && owns_region_) {
    SetWindowRgn(handle_, nullptr, TRUE);
    owns_region_ = false;
    region_w_ = region_h_ = -1;
  }
  TellMdiMaximized(now || AnyMdiChildMaximised());
  // The frame's bar shows or hides the child's buttons.
  if (HWND client = GetParent(handle_))
    PostMessageA(client, kSkmMdiRedraw, reinterpret_cast<WPARAM>(handle_), 0);
}

void TWinSkinForm::MdiMaximizedChanged(bool maximised) {
  if (kind_ != TMdiKind::Child || !settings_.FrameOn || !Attached() || life_ != 1) return;
  if (maximised) {
    SetWindowRgn(handle_, nullptr, TRUE);
    owns_region_ = false;
    region_w_ = region_h_ = -1;
    return;
  }
  if (IsIconic(handle_)) return;
  if (!IsZoomed(handle_)) win_state_ = TWinState::Normal;
  BuildRegion(true);
  InvalidateFrame();
}
