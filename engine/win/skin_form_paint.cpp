// The form skinner's painting: the frame's borders, caption text and title
// buttons into an off-screen buffer copied to the window's frame strips, and
// the window region cut along the borders' magenta pixels.
#include <algorithm>

#include "engine_win/skin_form.h"
#include "skin_form_shared.h"

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
