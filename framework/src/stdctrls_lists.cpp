// List boxes and scroll bars.
#include "framework/stdctrls.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "framework/forms.h"

// --- List boxes ------------------------------------------------------------------------

TCustomListBox::TCustomListBox(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TStrings>()) {
  click_events_ = false;  // LBN_SELCHANGE reports the choice
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetColor(clWindow);
  items_->OnChange = [this](TObject*) { ItemsChanged(); };
}

TCustomListBox::~TCustomListBox() {
  DestroyWnd();
}

void TCustomListBox::PublishProperties(TClassInfo& info) {
  TPublisher<TCustomListBox>(info)
      .Object("Items", &TCustomListBox::Items, &TCustomListBox::SetItems)
      .Integer("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex)
      .Integer("Columns", &TCustomListBox::Columns, &TCustomListBox::SetColumns)
      .Boolean("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted)
      .Enumeration("BorderStyle", kBorderStyleIdents, &TCustomListBox::BorderStyle,
                   &TCustomListBox::SetBorderStyle);
}

void TCustomListBox::SetItems(TStrings* v) {
  if (v && v != items_.get()) items_->Assign(*v);
}

int TCustomListBox::ItemIndex() const {
  if (WindowHandle()) return static_cast<int>(SendMessageA(WindowHandle(), LB_GETCURSEL, 0, 0));
  return item_index_;
}

void TCustomListBox::SetItemIndex(int v) {
  if (v < -1 || v >= items_->Count()) v = -1;
  item_index_ = v;
  if (HandleAllocated()) SendMessageA(WindowHandle(), LB_SETCURSEL, static_cast<WPARAM>(v), 0);
}

void TCustomListBox::SetColumns(int v) {
  v = std::max(v, 0);
  if (v == columns_) return;
  columns_ = v;
  RecreateWnd();
}

void TCustomListBox::SetSorted(bool v) {
  if (v == sorted_) return;
  sorted_ = v;
  RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TBorderStyle v) {
  if (v == border_style_) return;
  border_style_ = v;
  RecreateWnd();
}

int TCustomListBox::ItemHeight() const {
  if (WindowHandle()) return static_cast<int>(SendMessageA(WindowHandle(), LB_GETITEMHEIGHT, 0, 0));
  return 16;
}

int TCustomListBox::ItemAtPos(POINT p) const {
  if (!WindowHandle()) return -1;
  LRESULT r = SendMessageA(WindowHandle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(p.x, p.y));
  if (HIWORD(r) != 0) return -1;
  int index = LOWORD(r);
  return index < items_->Count() ? index : -1;
}

RECT TCustomListBox::ItemRect(int index) const {
  RECT r{};
  if (WindowHandle()) {
    SendMessageA(WindowHandle(), LB_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&r));
  }
  return r;
}

void TCustomListBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, "LISTBOX");
  p.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | LBS_HASSTRINGS;
  if (sorted_) p.Style |= LBS_SORT;
  if (columns_ > 0)
    p.Style = (p.Style & ~static_cast<DWORD>(WS_VSCROLL)) | LBS_MULTICOLUMN | WS_HSCROLL;
  if (owner_draw_) p.Style |= LBS_OWNERDRAWFIXED;
  if (border_style_ == TBorderStyle::bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWindowHandle(const TCreateParams&) {
  if (owner_draw_)
    SendMessageA(WindowHandle(), LB_SETITEMHEIGHT, 0, std::max(16, -Font()->Height() + 5));
  FillWindow();
  if (item_index_ >= 0)
    SendMessageA(WindowHandle(), LB_SETCURSEL, static_cast<WPARAM>(item_index_), 0);
}

void TCustomListBox::FillWindow() {
  if (!HandleAllocated()) return;
  HWND h = WindowHandle();
  int index = static_cast<int>(SendMessageA(h, LB_GETCURSEL, 0, 0));
  SendMessageA(h, WM_SETREDRAW, FALSE, 0);
  SendMessageA(h, LB_RESETCONTENT, 0, 0);
  for (int i = 0; i < items_->Count(); ++i) {
    SendMessageA(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_->Strings(i).c_str()));
  }
  UpdateColumnWidth();
  if (index >= 0 && index < items_->Count())
    SendMessageA(h, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(h, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(h, nullptr, TRUE);
}

void TCustomListBox::UpdateColumnWidth() {
  if (columns_ <= 0 || !HandleAllocated()) return;
  RECT c;
  GetClientRect(WindowHandle(), &c);
  SendMessageA(WindowHandle(), LB_SETCOLUMNWIDTH,
               static_cast<WPARAM>(std::max(1L, c.right / columns_)), 0);
}

void TCustomListBox::DrawItem(HDC dc, int index, const RECT& rect, UINT state) {
  bool selected = (state & ODS_SELECTED) != 0;
  HBRUSH bg = CreateSolidBrush(ColorToRGB(selected ? clHighlight : Color()));
  FillRect(dc, &rect, bg);
  DeleteObject(bg);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(selected ? clHighlightText : Font()->Color()));
  RECT text = rect;
  text.left += 2;
  const std::string& s = items_->Strings(index);
  ::DrawTextA(dc, s.c_str(), static_cast<int>(s.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, old);
  if (state & ODS_FOCUS) ::DrawFocusRect(dc, &rect);
}

void TCustomListBox::WndProc(TMessage& msg) {
  if (msg.Msg == CN_COMMAND) {
    if (HIWORD(msg.WParam) == LBN_SELCHANGE) {
      item_index_ = ItemIndex();
      if (OnChange) OnChange(this);
      Click();
    } else if (HIWORD(msg.WParam) == LBN_DBLCLK && OnDblClick) {
      OnDblClick(this);
    }
    return;
  }
  if (msg.Msg == CN_DRAWITEM) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(msg.LParam);
    if (dis && static_cast<int>(dis->itemID) >= 0 &&
        static_cast<int>(dis->itemID) < items_->Count()) {
      DrawItem(dis->hDC, static_cast<int>(dis->itemID), dis->rcItem, dis->itemState);
    }
    msg.Result = 1;
    return;
  }
  if (msg.Msg == WM_LBUTTONDBLCLK) {
    // The native class reports double clicks through LBN_DBLCLK.
    DefaultHandler(msg);
    return;
  }
  TWinControl::WndProc(msg);
  if (msg.Msg == WM_SIZE && columns_ > 0) {
    UpdateColumnWidth();
    InvalidateRect(WindowHandle(), nullptr, TRUE);
  }
}

TCheckListBox::TCheckListBox(TComponent* owner) : TCustomListBox(owner) {
  owner_draw_ = true;
}

void TCheckListBox::ItemsChanged() {
  checked_.resize(static_cast<size_t>(Items()->Count()), false);
  FillWindow();
}

bool TCheckListBox::Checked(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= checked_.size()) {
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  }
  return checked_[static_cast<size_t>(index)];
}

void TCheckListBox::SetChecked(int index, bool v) {
  Checked(index);  // range check
  checked_[static_cast<size_t>(index)] = v;
  if (HandleAllocated()) {
    RECT r = ItemRect(index);
    InvalidateRect(WindowHandle(), &r, FALSE);
  }
}

void TCheckListBox::ToggleAt(int index) {
  if (index < 0 || index >= Items()->Count()) return;
  SetChecked(index, !Checked(index));
  if (OnClickCheck) OnClickCheck(this);
}

void TCheckListBox::WndProc(TMessage& msg) {
  if (msg.Msg == WM_LBUTTONDOWN || msg.Msg == WM_LBUTTONDBLCLK) {
    POINT p{GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)};
    int index = ItemAtPos(p);
    TCustomListBox::WndProc(msg);
    if (index >= 0) {
      RECT r = ItemRect(index);
      if (p.x < r.left + ItemHeight()) ToggleAt(index);
    }
    return;
  }
  if (msg.Msg == WM_CHAR && msg.WParam == ' ') {
    ToggleAt(ItemIndex());
    return;
  }
  TCustomListBox::WndProc(msg);
}

void TCheckListBox::DrawItem(HDC dc, int index, const RECT& rect, UINT state) {
  if (static_cast<size_t>(index) >= checked_.size()) return;
  bool selected = (state & ODS_SELECTED) != 0;
  HBRUSH bg = CreateSolidBrush(ColorToRGB(selected ? clHighlight : Color()));
  FillRect(dc, &rect, bg);
  DeleteObject(bg);
  int box = std::min(13, static_cast<int>(rect.bottom - rect.top) - 2);
  RECT check{rect.left + 2, rect.top + (rect.bottom - rect.top - box) / 2, 0, 0};
  check.right = check.left + box;
  check.bottom = check.top + box;
  DrawFrameControl(dc, &check, DFC_BUTTON,
                   DFCS_BUTTONCHECK | (checked_[static_cast<size_t>(index)] ? DFCS_CHECKED : 0) |
                       (Enabled() ? 0 : DFCS_INACTIVE));
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(selected ? clHighlightText : Font()->Color()));
  RECT text = rect;
  text.left = check.right + 4;
  const std::string& s = Items()->Strings(index);
  ::DrawTextA(dc, s.c_str(), static_cast<int>(s.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, old);
  if (state & ODS_FOCUS) ::DrawFocusRect(dc, &rect);
}

// --- Scroll bar --------------------------------------------------------------------------

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
}

void TScrollBar::PublishProperties(TClassInfo& info) {
  TPublisher<TScrollBar>(info)
      .Enumeration("Kind", kScrollBarKindIdents, &TScrollBar::Kind, &TScrollBar::SetKind)
      .Integer("Min", &TScrollBar::Min, &TScrollBar::SetMin)
      .Integer("Max", &TScrollBar::Max, &TScrollBar::SetMax)
      .Integer("Position", &TScrollBar::Position, &TScrollBar::SetPosition)
      .Integer("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange)
      .Integer("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange)
      .Integer("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize);
}

void TScrollBar::SetKind(TScrollBarKind v) {
  if (v == kind_) return;
  kind_ = v;
  // Turning the bar turns its bounds.
  SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TScrollBar::SetPageSize(int v) {
  page_size_ = std::max(v, 0);
  UpdateWindow();
}

void TScrollBar::SetParams(int position, int min, int max) {
  if (max < min) max = min;
  position = std::clamp(position, min, max);
  bool changed = position != position_;
  min_ = min;
  max_ = max;
  position_ = position;
  UpdateWindow();
  if (changed && OnChange) OnChange(this);
}

void TScrollBar::UpdateWindow() {
  if (!HandleAllocated()) return;
  SCROLLINFO si{sizeof si, SIF_ALL | SIF_DISABLENOSCROLL, min_,
                max_,      static_cast<UINT>(page_size_), position_,
                0};
  SetScrollInfo(WindowHandle(), SB_CTL, &si, TRUE);
}

void TScrollBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, "SCROLLBAR");
  p.Style |= kind_ == TScrollBarKind::sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateWindowHandle(const TCreateParams&) {
  UpdateWindow();
}

void TScrollBar::Scroll(int code) {
  int pos = position_;
  TScrollCode sc = TScrollCode::scEndScroll;
  switch (code) {
    case SB_LINEUP:
      sc = TScrollCode::scLineUp;
      pos -= small_change_;
      break;
    case SB_LINEDOWN:
      sc = TScrollCode::scLineDown;
      pos += small_change_;
      break;
    case SB_PAGEUP:
      sc = TScrollCode::scPageUp;
      pos -= large_change_;
      break;
    case SB_PAGEDOWN:
      sc = TScrollCode::scPageDown;
      pos += large_change_;
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      sc = code == SB_THUMBTRACK ? TScrollCode::scTrack : TScrollCode::scPosition;
      // The 32-bit track position; the message's 16-bit one overflows.
      SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      if (GetScrollInfo(WindowHandle(), SB_CTL, &si)) pos = si.nTrackPos;
      break;
    }
    case SB_TOP:
      sc = TScrollCode::scTop;
      pos = min_;
      break;
    case SB_BOTTOM:
      sc = TScrollCode::scBottom;
      pos = max_;
      break;
    default:
      break;
  }
  int limit = page_size_ > 0 ? max_ - page_size_ + 1 : max_;
  pos = std::clamp(pos, min_, std::max(min_, limit));
  if (OnScroll) OnScroll(this, sc, pos);
  if (sc == TScrollCode::scTrack) {
    // The native bar is dragging its thumb; setting its state now would
    // disturb the drag. The position follows, the bar is updated at the end.
    pos = std::clamp(pos, min_, max_);
    if (pos != position_) {
      position_ = pos;
      if (OnChange) OnChange(this);
    }
    return;
  }
  SetPosition(pos);
}

void TScrollBar::WndProc(TMessage& msg) {
  if (msg.Msg == CN_HSCROLL || msg.Msg == CN_VSCROLL) {
    Scroll(LOWORD(msg.WParam));
    return;
  }
  TWinControl::WndProc(msg);
}
