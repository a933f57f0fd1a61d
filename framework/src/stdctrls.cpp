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
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(Color());
    c.FillRect(r);
  }
  // The canvas sets the background mode from its brush on every call: a
  // clear brush keeps the text from painting boxes over what is behind it.
  c.Brush().SetStyle(TBrushStyle::bsClear);
  SetBkMode(dc, TRANSPARENT);
  UINT format = DT_NOPREFIX * 0 | (word_wrap_ ? DT_WORDBREAK : DT_SINGLELINE);
  if (alignment_ == TAlignment::taRightJustify) format |= DT_RIGHT;
  if (alignment_ == TAlignment::taCenter) format |= DT_CENTER;
  if (UseRightToLeftReading()) format |= DT_RTLREADING;
  c.Font().SetColor(Enabled() ? Font()->Color() : clGrayText);
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
