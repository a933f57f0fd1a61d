#include "framework/stdctrls.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "framework/forms.h"

// --- TStrings --------------------------------------------------------------------

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> out;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      out.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) out.push_back(line);
  return out;
}

void TStrings::Assign(const TPersistent& source) {
  auto* s = dynamic_cast<const TStrings*>(&source);
  if (!s) {
    TPersistent::Assign(source);
    return;
  }
  if (s == this) return;
  items_ = s->items_;
  objects_ = s->objects_;
  Changed();
}

size_t TStrings::Index(int i) const {
  if (i < 0 || i >= Count())
    throw std::out_of_range("List index out of bounds (" + std::to_string(i) + ")");
  return static_cast<size_t>(i);
}

void TStrings::SetStrings(int i, const std::string& s) {
  items_.at(Index(i)) = s;
  Changed();
}

int TStrings::Add(const std::string& s, TObject* o) {
  items_.push_back(s);
  objects_.push_back(o);
  Changed();
  return Count() - 1;
}

void TStrings::Insert(int i, const std::string& s, TObject* o) {
  if (i < 0 || i > Count())
    throw std::out_of_range("List index out of bounds (" + std::to_string(i) + ")");
  items_.insert(items_.begin() + i, s);
  objects_.insert(objects_.begin() + i, o);
  Changed();
}

void TStrings::Delete(int i) {
  size_t at = Index(i);
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(at));
  objects_.erase(objects_.begin() + static_cast<std::ptrdiff_t>(at));
  Changed();
}

void TStrings::Clear() {
  if (items_.empty()) return;
  items_.clear();
  objects_.clear();
  Changed();
}

int TStrings::IndexOf(const std::string& s) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, items_[i].c_str(), -1, s.c_str(),
                       -1) == CSTR_EQUAL) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::string TStrings::Text() const {
  std::string out;
  for (const std::string& s : items_) {
    out += s;
    out += "\r\n";
  }
  return out;
}

void TStrings::SetText(const std::string& text) {
  Load(SplitLines(text));
  Changed();
}

std::string TStrings::Names(int i) const {
  const std::string& s = Strings(i);
  size_t eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStrings::Values(const std::string& name) const {
  for (const std::string& s : items_) {
    size_t eq = s.find('=');
    if (eq != std::string::npos && s.compare(0, eq, name) == 0) return s.substr(eq + 1);
  }
  return {};
}

void TStrings::SetValues(const std::string& name, const std::string& value) {
  for (size_t i = 0; i < items_.size(); ++i) {
    size_t eq = items_[i].find('=');
    if (eq != std::string::npos && items_[i].compare(0, eq, name) == 0) {
      items_[i] = name + "=" + value;
      Changed();
      return;
    }
  }
  Add(name + "=" + value);
}

void TStrings::EndUpdate() {
  if (update_ > 0 && --update_ == 0 && pending_) Changed();
}

void TStrings::Load(std::vector<std::string> items) {
  items_ = std::move(items);
  objects_.assign(items_.size(), nullptr);
}

void TStrings::Changed() {
  if (update_ > 0) {
    pending_ = true;
    return;
  }
  pending_ = false;
  if (OnChange) OnChange(this);
}

// --- Identifiers ------------------------------------------------------------------

const TEnumInfo kAlignmentIdents{{"taLeftJustify", "taRightJustify", "taCenter"}};
const TEnumInfo kLeftRightIdents{{"taLeftJustify", "taRightJustify"}};
const TEnumInfo kScrollStyleIdents{{"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};
const TEnumInfo kBorderStyleIdents{{"bsNone", "bsSingle"}};
const TEnumInfo kCheckBoxStateIdents{{"cbUnchecked", "cbChecked", "cbGrayed"}};
const TEnumInfo kComboBoxStyleIdents{
    {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"}};
const TEnumInfo kScrollBarKindIdents{{"sbHorizontal", "sbVertical"}};

// --- Buttons ---------------------------------------------------------------------

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
  click_events_ = false;  // BN_CLICKED reports clicks, mouse and keyboard alike
  SetTabStop(true);
}

void TButtonControl::WndProc(TMessage& msg) {
  if (msg.Msg == CN_COMMAND) {
    if (HIWORD(msg.WParam) == BN_CLICKED) Clicked();
    return;
  }
  TWinControl::WndProc(msg);
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
  SetBounds(0, 0, 75, 25);
}

void TButton::PublishProperties(TClassInfo& info) {
  TPublisher<TButton>(info)
      .Boolean("Default", &TButton::Default, &TButton::SetDefault)
      .Boolean("Cancel", &TButton::Cancel, &TButton::SetCancel)
      .Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult);
}

void TButton::SetDefault(bool v) {
  if (v == default_) return;
  default_ = v;
  if (HandleAllocated()) {
    SendMessageA(WindowHandle(), BM_SETSTYLE, v ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  }
}

void TButton::Click() {
  // The form may be closed by the result; the event runs first.
  TCustomForm* form = ParentForm();
  TButtonControl::Click();
  if (modal_result_ != mrNone && form) form->SetModalResult(modal_result_);
}

void TButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  CreateSubClass(p, "BUTTON");
  p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::WndProc(TMessage& msg) {
  if (msg.Msg == CM_DIALOGKEY) {
    if (((msg.WParam == VK_RETURN && default_) || (msg.WParam == VK_ESCAPE && cancel_)) &&
        Showing() && Enabled()) {
      Click();
      msg.Result = 1;
    }
    return;
  }
  TButtonControl::WndProc(msg);
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
  SetBounds(0, 0, 97, 17);
}

void TCustomCheckBox::PublishProperties(TClassInfo& info) {
  TPublisher<TCustomCheckBox>(info)
      .Enumeration("State", kCheckBoxStateIdents, &TCustomCheckBox::State,
                   &TCustomCheckBox::SetState)
      .Boolean("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked)
      .Boolean("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed)
      .Enumeration("Alignment", kLeftRightIdents, &TCustomCheckBox::Alignment,
                   &TCustomCheckBox::SetAlignment);
}

TCheckBoxState TCustomCheckBox::State() const {
  return state_;
}

void TCustomCheckBox::SetState(TCheckBoxState v) {
  if (v == TCheckBoxState::cbGrayed && !allow_grayed_) v = TCheckBoxState::cbChecked;
  state_ = v;
  if (HandleAllocated()) SendMessageA(WindowHandle(), BM_SETCHECK, static_cast<WPARAM>(v), 0);
}

void TCustomCheckBox::SetAllowGrayed(bool v) {
  allow_grayed_ = v;
  if (!v && state_ == TCheckBoxState::cbGrayed) SetState(TCheckBoxState::cbChecked);
  RecreateWnd();
}

void TCustomCheckBox::SetAlignment(TLeftRight v) {
  if (v == alignment_) return;
  alignment_ = v;
  RecreateWnd();
}

void TCustomCheckBox::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  CreateSubClass(p, "BUTTON");
  p.Style |= allow_grayed_ ? BS_3STATE : BS_CHECKBOX;
  if (alignment_ == TLeftRight::taLeftJustify) p.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWindowHandle(const TCreateParams&) {
  SendMessageA(WindowHandle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCustomCheckBox::Clicked() {
  switch (state_) {
    case TCheckBoxState::cbUnchecked:
      SetState(TCheckBoxState::cbChecked);
      break;
    case TCheckBoxState::cbChecked:
      SetState(allow_grayed_ ? TCheckBoxState::cbGrayed : TCheckBoxState::cbUnchecked);
      break;
    default:
      SetState(TCheckBoxState::cbUnchecked);
  }
  Click();
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::PublishProperties(TClassInfo& info) {
  TPublisher<TRadioButton>(info)
      .Boolean("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked)
      .Enumeration("Alignment", kLeftRightIdents, &TRadioButton::Alignment,
                   &TRadioButton::SetAlignment);
}

bool TRadioButton::Checked() const {
  return checked_;
}

void TRadioButton::SetChecked(bool v) {
  checked_ = v;
  if (HandleAllocated()) SendMessageA(WindowHandle(), BM_SETCHECK, v ? BST_CHECKED : 0, 0);
  if (v && Parent()) {
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
      auto* other = dynamic_cast<TRadioButton*>(Parent()->Controls(i));
      if (other && other != this && other->checked_) other->SetChecked(false);
    }
  }
}

void TRadioButton::SetAlignment(TLeftRight v) {
  if (v == alignment_) return;
  alignment_ = v;
  RecreateWnd();
}

void TRadioButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  CreateSubClass(p, "BUTTON");
  p.Style |= BS_RADIOBUTTON;
  if (alignment_ == TLeftRight::taLeftJustify) p.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWindowHandle(const TCreateParams&) {
  SendMessageA(WindowHandle(), BM_SETCHECK, checked_ ? BST_CHECKED : 0, 0);
}

void TRadioButton::Clicked() {
  if (!checked_) SetChecked(true);
  Click();
}

// --- Group boxes -------------------------------------------------------------------

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 185, 105);
}

RECT TCustomGroupBox::ClientRect() const {
  RECT r = TCustomControl::ClientRect();
  // The caption's line and the frame take a margin.
  int caption = std::max(8, -Font()->Height() + 4);
  r.top += caption;
  InflateRect(&r, -2, 0);
  r.bottom -= 2;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

void TCustomGroupBox::Paint() {
  TCanvas& c = Canvas();
  RECT all{0, 0, Width(), Height()};
  c.Brush().SetColor(Color());
  c.FillRect(all);
  SIZE text = c.TextExtent(Caption().empty() ? std::string("0") : Caption());
  RECT frame{0, text.cy / 2, Width(), Height()};
  HDC dc = c.Handle();
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (!Caption().empty()) {
    RECT t{8, 0, 8 + c.TextWidth(Caption()) + 4, text.cy};
    c.FillRect(t);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
    c.TextOut(10, 0, Caption());
  }
  TCustomControl::Paint();
}

void TCustomGroupBox::WndProc(TMessage& msg) {
  if (msg.Msg == CM_DIALOGKEY) {
    Broadcast(msg);  // nested default and cancel buttons
    return;
  }
  TCustomControl::WndProc(msg);
}

// --- Labels ------------------------------------------------------------------------

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 65, 13);
}

void TCustomLabel::PublishProperties(TClassInfo& info) {
  TPublisher<TCustomLabel>(info)
      .Enumeration("Alignment", kAlignmentIdents, &TCustomLabel::Alignment,
                   &TCustomLabel::SetAlignment)
      .Boolean("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent)
      .Boolean("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize)
      .Boolean("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap);
}

void TCustomLabel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}

void TCustomLabel::SetTransparent(bool v) {
  transparent_ = v;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool v) {
  auto_size_ = v;
  AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool v) {
  word_wrap_ = v;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::TextChanged() {
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::WndProc(TMessage& msg) {
  TGraphicControl::WndProc(msg);
  if (msg.Msg == CM_FONTCHANGED) AdjustBounds();
}

void TCustomLabel::AdjustBounds() {
  if (!auto_size_) return;
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  RECT r{0, 0, word_wrap_ ? Width() : 0, 0};
  std::string text = Caption().empty() ? std::string(" ") : Caption();
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | (word_wrap_ ? DT_WORDBREAK : 0));
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  SetBounds(Left(), Top(), word_wrap_ ? Width() : r.right, r.bottom);
}

void TCustomLabel::Paint() {
  TCanvas& c = Canvas();
  RECT r = ClientRect();
  HDC dc = c.Handle();
  if (!transparent_) {
    c.Brush().SetColor(Color());
    c.FillRect(r);
  }
  SetBkMode(dc, TRANSPARENT);
  UINT format = DT_NOPREFIX * 0 | (word_wrap_ ? DT_WORDBREAK : DT_SINGLELINE);
  if (alignment_ == TAlignment::taRightJustify) format |= DT_RIGHT;
  if (alignment_ == TAlignment::taCenter) format |= DT_CENTER;
  if (UseRightToLeftReading()) format |= DT_RTLREADING;
  if (!Enabled()) {
    SetTextColor(dc, ColorToRGB(clGrayText));
  } else {
    SetTextColor(dc, ColorToRGB(Font()->Color()));
  }
  c.DrawText(Caption(), r, format);
  TGraphicControl::Paint();
}

TStaticText::TStaticText(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 65, 17);
}

void TStaticText::PublishProperties(TClassInfo& info) {
  TPublisher<TStaticText>(info)
      .Enumeration("Alignment", kAlignmentIdents, &TStaticText::Alignment,
                   &TStaticText::SetAlignment)
      .Enumeration("BorderStyle", kBorderStyleIdents, &TStaticText::BorderStyle,
                   &TStaticText::SetBorderStyle);
}

void TStaticText::SetAlignment(TAlignment v) {
  alignment_ = v;
  RecreateWnd();
}

void TStaticText::SetBorderStyle(TBorderStyle v) {
  border_style_ = v;
  RecreateWnd();
}

void TStaticText::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, "STATIC");
  p.Style |= SS_NOTIFY | (alignment_ == TAlignment::taCenter         ? SS_CENTER
                          : alignment_ == TAlignment::taRightJustify ? SS_RIGHT
                                                                     : SS_LEFT);
  if (border_style_ == TBorderStyle::bsSingle) p.Style |= SS_SUNKEN;
}

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
  if (columns_ > 0) {
    RECT c;
    GetClientRect(h, &c);
    SendMessageA(h, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(std::max(1L, c.right / columns_)), 0);
  }
  if (index >= 0 && index < items_->Count())
    SendMessageA(h, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(h, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(h, nullptr, TRUE);
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
