// Edits, memos and combo boxes.
#include "framework/stdctrls.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "framework/forms.h"

// --- Edits -------------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetColor(clWindow);
}

void TCustomEdit::PublishProperties(TClassInfo& info) {
  TPublisher<TCustomEdit>(info)
      .Boolean("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly)
      .Integer("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength)
      .Enumeration("BorderStyle", kBorderStyleIdents, &TCustomEdit::BorderStyle,
                   &TCustomEdit::SetBorderStyle)
      .Boolean("Modified", &TCustomEdit::Modified, &TCustomEdit::SetModified);
}

void TCustomEdit::SetReadOnly(bool v) {
  read_only_ = v;
  if (HandleAllocated()) SendMessageA(WindowHandle(), EM_SETREADONLY, v, 0);
}

void TCustomEdit::SetMaxLength(int v) {
  max_length_ = std::max(v, 0);
  if (HandleAllocated())
    SendMessageA(WindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(max_length_), 0);
}

void TCustomEdit::SetBorderStyle(TBorderStyle v) {
  if (v == border_style_) return;
  border_style_ = v;
  RecreateWnd();
}

void TCustomEdit::SetPasswordChar(char v) {
  password_char_ = v;
  if (HandleAllocated()) {
    SendMessageA(WindowHandle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(v), 0);
    Invalidate();
  }
}

bool TCustomEdit::Modified() const {
  return const_cast<TCustomEdit*>(this)->HandleAllocated() &&
         SendMessageA(WindowHandle(), EM_GETMODIFY, 0, 0) != 0;
}

void TCustomEdit::SetModified(bool v) {
  if (HandleAllocated()) SendMessageA(WindowHandle(), EM_SETMODIFY, v, 0);
}

void TCustomEdit::SelectAll() {
  SetSel(0, -1);
}

int TCustomEdit::SelStart() const {
  DWORD start = 0;
  if (WindowHandle()) SendMessageA(WindowHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

int TCustomEdit::SelLength() const {
  DWORD start = 0, end = 0;
  if (WindowHandle()) {
    SendMessageA(WindowHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
  }
  return static_cast<int>(end - start);
}

void TCustomEdit::SetSel(int start, int length) {
  if (!HandleAllocated()) return;
  SendMessageA(WindowHandle(), EM_SETSEL, static_cast<WPARAM>(start),
               length < 0 ? -1 : static_cast<LPARAM>(start + length));
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, "EDIT");
  p.Style |= ES_AUTOHSCROLL | ES_LEFT;
  if (read_only_) p.Style |= ES_READONLY;
  if (password_char_) p.Style |= ES_PASSWORD;
  if (border_style_ == TBorderStyle::bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWindowHandle(const TCreateParams&) {
  if (max_length_) SendMessageA(WindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(max_length_), 0);
  if (password_char_) {
    SendMessageA(WindowHandle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(password_char_), 0);
  }
}

void TCustomEdit::WndProc(TMessage& msg) {
  if (msg.Msg == CN_COMMAND) {
    if (HIWORD(msg.WParam) == EN_CHANGE) Change();
    return;
  }
  TWinControl::WndProc(msg);
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

TCustomMemo::TCustomMemo(TComponent* owner)
    : TCustomEdit(owner), lines_(std::make_unique<TStrings>()) {
  SetBounds(0, 0, 185, 89);
  lines_->OnChange = [this](TObject*) {
    if (syncing_) return;
    SetText(lines_->Text());
  };
}

void TCustomMemo::PublishProperties(TClassInfo& info) {
  TPublisher<TCustomMemo>(info)
      .Object("Lines", &TCustomMemo::Lines, &TCustomMemo::SetLines)
      .Enumeration("ScrollBars", kScrollStyleIdents, &TCustomMemo::ScrollBars,
                   &TCustomMemo::SetScrollBars)
      .Boolean("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap);
}

TStrings* TCustomMemo::Lines() const {
  // The window holds the truth once it exists (the user types into it).
  auto* self = const_cast<TCustomMemo*>(this);
  self->syncing_ = true;
  lines_->Load(SplitLines(Text()));
  self->syncing_ = false;
  return lines_.get();
}

void TCustomMemo::SetLines(TStrings* v) {
  if (v && v != lines_.get()) lines_->Assign(*v);
}

void TCustomMemo::SetScrollBars(TScrollStyle v) {
  if (v == scroll_bars_) return;
  scroll_bars_ = v;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool v) {
  if (v == word_wrap_) return;
  word_wrap_ = v;
  RecreateWnd();
}

void TCustomMemo::CreateParams(TCreateParams& p) {
  TCustomEdit::CreateParams(p);
  p.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  p.Style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
  if (!word_wrap_) p.Style |= ES_AUTOHSCROLL;
  if (scroll_bars_ == TScrollStyle::ssVertical || scroll_bars_ == TScrollStyle::ssBoth) {
    p.Style |= WS_VSCROLL;
  }
  if (scroll_bars_ == TScrollStyle::ssHorizontal || scroll_bars_ == TScrollStyle::ssBoth) {
    p.Style |= WS_HSCROLL;
  }
}

// --- Combo box -----------------------------------------------------------------------

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TStrings>()) {
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetColor(clWindow);
  items_->OnChange = [this](TObject*) { FillWindow(); };
}

TCustomComboBox::~TCustomComboBox() {
  DestroyWnd();
}

void TCustomComboBox::PublishProperties(TClassInfo& info) {
  TPublisher<TCustomComboBox>(info)
      .Enumeration("Style", kComboBoxStyleIdents, &TCustomComboBox::Style,
                   &TCustomComboBox::SetStyle)
      .Object("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems)
      .Integer("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex)
      .Integer("DropDownCount", &TCustomComboBox::DropDownCount,
               &TCustomComboBox::SetDropDownCount);
}

void TCustomComboBox::SetStyle(TComboBoxStyle v) {
  if (v == style_) return;
  item_index_ = ItemIndex();
  style_ = v;
  RecreateWnd();
}

void TCustomComboBox::SetItems(TStrings* v) {
  if (v && v != items_.get()) items_->Assign(*v);
}

int TCustomComboBox::ItemIndex() const {
  if (WindowHandle()) return static_cast<int>(SendMessageA(WindowHandle(), CB_GETCURSEL, 0, 0));
  return item_index_;
}

void TCustomComboBox::SetItemIndex(int v) {
  if (v < -1 || v >= items_->Count()) v = -1;
  item_index_ = v;
  if (HandleAllocated()) SendMessageA(WindowHandle(), CB_SETCURSEL, static_cast<WPARAM>(v), 0);
}

bool TCustomComboBox::DroppedDown() const {
  return WindowHandle() && SendMessageA(WindowHandle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool v) {
  SendMessageA(Handle(), CB_SHOWDROPDOWN, v, 0);
}

void TCustomComboBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, "COMBOBOX");
  p.Style |= WS_VSCROLL | CBS_AUTOHSCROLL;
  switch (style_) {
    case TComboBoxStyle::csSimple:
      p.Style |= CBS_SIMPLE;
      break;
    case TComboBoxStyle::csDropDown:
      p.Style |= CBS_DROPDOWN;
      break;
    default:
      p.Style |= CBS_DROPDOWNLIST;
  }
  // The window's height includes the dropped-down list.
  if (style_ != TComboBoxStyle::csSimple) p.Height += drop_down_count_ * 16 + 4;
}

void TCustomComboBox::CreateWindowHandle(const TCreateParams&) {
  std::string text = TControl::Text();
  FillWindow();
  if (item_index_ >= 0) {
    SendMessageA(WindowHandle(), CB_SETCURSEL, static_cast<WPARAM>(item_index_), 0);
  } else if (!text.empty() && style_ != TComboBoxStyle::csDropDownList) {
    SetWindowTextA(WindowHandle(), text.c_str());
  }
}

void TCustomComboBox::FillWindow() {
  if (!HandleAllocated()) return;
  HWND h = WindowHandle();
  int index = static_cast<int>(SendMessageA(h, CB_GETCURSEL, 0, 0));
  SendMessageA(h, CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < items_->Count(); ++i) {
    SendMessageA(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_->Strings(i).c_str()));
  }
  if (index >= 0 && index < items_->Count())
    SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TCustomComboBox::WndProc(TMessage& msg) {
  if (msg.Msg == CN_COMMAND) {
    switch (HIWORD(msg.WParam)) {
      case CBN_SELCHANGE:
        item_index_ = ItemIndex();
        if (OnSelect) OnSelect(this);
        if (OnChange) OnChange(this);
        Click();
        break;
      case CBN_EDITCHANGE:
        if (OnChange) OnChange(this);
        break;
      case CBN_DROPDOWN:
        if (OnDropDown) OnDropDown(this);
        break;
      case CBN_CLOSEUP:
        if (OnCloseUp) OnCloseUp(this);
        break;
      default:
        break;
    }
    return;
  }
  TWinControl::WndProc(msg);
}
