// The non-client mouse of a skinned window: which title button or menu-bar
// item is under a point, the hover, press and release of those hot spots,
// the title buttons' actions, double and right clicks on the caption, and the
// system commands the skinner follows.
#include "engine_win/skin_form.h"
#include "engine_win/skin_manage.h"
#include "skin_form_shared.h"

// ---- title-button actions --------------------------------------------------------

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

// ---- mouse and system commands --------------------------------------------------

LRESULT TWinSkinForm::OnNcMouse(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (!PaintsFrame()) return Default(msg, wparam, lparam);
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

LRESULT TWinSkinForm::OnSysCommand(WPARAM wparam, LPARAM lparam) {
  if (!settings_.FrameOn) return Default(WM_SYSCOMMAND, wparam, lparam);
  const UINT cmd = static_cast<UINT>(wparam & 0xFFF0);
  if (cmd == SC_KEYMENU && !tracking_ && GetCapture() == nullptr &&
      KeyMenu(static_cast<wchar_t>(lparam)))
    return 0;
  if (cmd == SC_MINIMIZE) win_state_ = TWinState::Minimised;
  if (cmd == SC_MAXIMIZE) win_state_ = TWinState::Maximised;
  if (cmd == SC_RESTORE) {
    win_state_ = TWinState::Normal;
    if (kind_ == TMdiKind::Child && IsZoomed(handle_)) TellMdiMaximized(false);
  }
  return Default(WM_SYSCOMMAND, wparam, lparam);
}
