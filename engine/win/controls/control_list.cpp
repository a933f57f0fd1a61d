#include "engine_controls/control_list.h"

#include <algorithm>
#include <cctype>

#include "engine/skin_elements.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_manage.h"
#include "engine_win/skin_messages.h"
#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/grids.h"
#include "framework/menus.h"
#include "framework/props.h"
#include "framework/stdctrls.h"

namespace {

std::string Upper(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}
std::string Lower(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

template <class T>
bool Is(const TControl* c) {
  return dynamic_cast<const T*>(c) != nullptr;
}

bool AnswersSkinned(HWND window) {
  return window && IsWindow(window) && SendMessageW(window, kSkmIsSkinned, 0, 0) == 1;
}

// A group whose Tag is the disabled tag keeps its buttons native too.
bool InDisabledGroup(const TControl* c, int disable_tag) {
  for (const TWinControl* p = c->Parent(); p; p = p->Parent()) {
    if (p->Tag() != disable_tag) continue;
    const std::string cls = Lower(p->ClassName());
    if (cls.find("radiogroup") != std::string::npos || cls.find("checkgroup") != std::string::npos)
      return true;
  }
  return false;
}

// Framework containers whose own child windows of other libraries (a
// native dialog placed on a page, say) are offered as bare windows.
bool HostsForeignWindows(const TControl* c) {
  return Is<TCustomForm>(c) || Is<TTabSheet>(c) || Is<TCustomPanel>(c) || Is<TScrollBox>(c) ||
         Is<TCustomGroupBox>(c) || Is<TPage>(c);
}

}  // namespace

TSkinControlList::TSkinControlList(TSkinData* data, TControlHost* host)
    : data_(data), host_(host) {}

TSkinControlList::~TSkinControlList() {
  DetachAll();
}

// ---- hosting ------------------------------------------------------------------

void TSkinControlList::Add(TSkinControl* s) {
  if (s && std::find(items_.begin(), items_.end(), s) == items_.end()) items_.push_back(s);
}

void TSkinControlList::Remove(TSkinControl* s) {
  items_.erase(std::remove(items_.begin(), items_.end(), s), items_.end());
  owned_.erase(std::remove(owned_.begin(), owned_.end(), s), owned_.end());
}

TSkinControl* TSkinControlList::Find(HWND window) const {
  if (!window) return nullptr;
  for (TSkinControl* s : items_)
    if (s->Handle == window) return s;
  return nullptr;
}

TSkinControl* TSkinControlList::FindControl(const TControl* control) const {
  if (!control) return nullptr;
  for (TSkinControl* s : items_)
    if (s->Control == control || s->GraphicControl == control) return s;
  return nullptr;
}

void TSkinControlList::Purge() {
  std::vector<TSkinControl*> dead;
  for (TSkinControl* s : items_)
    if (s->LifeState == TSkinControl::kWindowGone) dead.push_back(s);
  for (TSkinControl* s : dead)
    s->Free();  // leaves the list in its destructor
}

void TSkinControlList::DetachAll() {
  if (detaching_) return;
  detaching_ = true;
  while (!items_.empty()) {
    TSkinControl* s = items_.back();
    if (s->LifeState != TSkinControl::kWindowGone) s->Detach();
    s->Free();
    if (!items_.empty() && items_.back() == s) items_.pop_back();
  }
  owned_.clear();
  natives_.clear();
  detaching_ = false;
}

void TSkinControlList::SkinChanged() {
  natives_.clear();
  const std::vector<TSkinControl*> items = items_;  // a skinner may leave while told
  for (TSkinControl* s : items)
    if (std::find(items_.begin(), items_.end(), s) != items_.end() &&
        s->LifeState != TSkinControl::kWindowGone)
      s->SkinChanged();
}

const TNativeBitmap& TSkinControlList::Native(const TSkinBitmap& bitmap) {
  auto it = natives_.find(&bitmap);
  if (it == natives_.end())
    it = natives_.emplace(&bitmap, bitmap.Empty() ? TNativeBitmap() : TNativeBitmap(bitmap)).first;
  return it->second;
}

TSkinControlTypes TSkinControlList::Gates() const {
  return data_ ? data_->SkinControls() : TSkinControlTypes();
}

// ---- making skinners --------------------------------------------------------------

TSkinControl* TSkinControlList::Attach(const TSkinnerChoice& choice, TControl* control) {
  TSkinnerMaker make = FindSkinnerMaker(choice.Kind);
  if (!make || !control || FindControl(control)) return nullptr;
  auto* win = dynamic_cast<TWinControl*>(control);
  if (win && AnswersSkinned(win->WindowHandle())) return nullptr;
  if (choice.Transparent) SetPropFromText(control, "Transparent", "True");
  if (choice.NeedsBorder && win) {
    RECT wr, cr;
    GetWindowRect(win->Handle(), &wr);
    GetClientRect(win->Handle(), &cr);
    if (wr.right - wr.left == cr.right && wr.bottom - wr.top == cr.bottom) return nullptr;
  }
  TSkinControl* s = make(control, choice);
  if (!s) return nullptr;
  if (choice.Mode >= 0) s->Mode = choice.Mode;
  if (choice.Action == TSelectAction::AttachWindow && win)
    s->AttachWindow(win->Handle(), data_, this, &canvas_);
  else
    s->AttachControl(this, data_, choice.OwnColor, &canvas_);
  if (!s->Attached) {
    s->Free();
    return nullptr;
  }
  return s;
}

TSkinControl* TSkinControlList::AttachBare(const TSkinnerChoice& choice, HWND window) {
  TSkinnerMaker make = FindSkinnerMaker(choice.Kind);
  if (!make || !window || Find(window) || AnswersSkinned(window)) return nullptr;
  TSkinControl* s = make(nullptr, choice);
  if (!s) return nullptr;
  if (choice.Mode >= 0) s->Mode = choice.Mode;
  owned_.push_back(s);
  s->AttachWindow(window, data_, this, &canvas_);
  if (!s->Attached) {
    s->Free();
    return nullptr;
  }
  return s;
}

// ---- the framework control pass ------------------------------------------------

void TSkinControlList::SkinFormControls(TWinControl* form) {
  if (!form || !data_) return;
  Purge();
  SkinComponents(form);
  const std::vector<TWinControl*> tab_list = form->TabList();
  for (TWinControl* c : tab_list) {
    if (!c->HandleAllocated() || c->Tag() == data_->DisableTag()) continue;
    if (AnswersSkinned(c->WindowHandle())) continue;
    SkinControl(c, form);
  }
  SkinForeignWindowsUnder(form, 0);
}

void TSkinControlList::SkinForeignWindowsUnder(TWinControl* parent, int depth) {
  constexpr int kDeepest = 32;
  if (!parent || depth > kDeepest) return;
  SkinForeignChildren(parent);
  for (int i = 0; i < parent->ControlCount(); ++i)
    SkinForeignWindowsUnder(dynamic_cast<TWinControl*>(parent->Controls(i)), depth + 1);
}

void TSkinControlList::SkinComponents(TComponent* container) {
  if (!container) return;
  std::vector<TControl*> controls;
  for (int i = 0; i < container->ComponentCount(); ++i)
    if (auto* c = dynamic_cast<TControl*>(container->Components(i))) controls.push_back(c);
  for (TControl* c : controls)
    SkinControl(c, container);
  if (host_ && Gates().Has(xcPopupMenu)) host_->OwnerDrawPopupMenus(container);
}

void TSkinControlList::SkinChildControls(TWinControl* parent) {
  if (!parent) return;
  std::vector<TControl*> children;
  for (int i = 0; i < parent->ControlCount(); ++i)
    children.push_back(parent->Controls(i));
  for (TControl* c : children)
    SkinControl(c, parent);
  SkinForeignChildren(parent);
}

void TSkinControlList::SkinForeignChildren(TWinControl* parent) {
  if (!parent->HandleAllocated() || !HostsForeignWindows(parent)) return;
  for (HWND w = GetWindow(parent->WindowHandle(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (!FormOfWindow(w)) SkinForeignWindow(w);
}

bool TSkinControlList::HasScrollBars(TControl* control) {
  if (auto* win = dynamic_cast<TWinControl*>(control); win && win->HandleAllocated()) {
    const LONG_PTR style = GetWindowLongPtrW(win->WindowHandle(), GWL_STYLE);
    if (style & (WS_VSCROLL | WS_HSCROLL)) return true;
  }
  return Is<TCustomListBox>(control) || Is<TCustomMemo>(control) || Is<TCustomTreeView>(control) ||
         Is<TScrollBox>(control);
}

TControlFacts TSkinControlList::FactsOf(TControl* c, const std::string& upper_class) const {
  TControlFacts f;
  f.ClassName = upper_class;
  struct TTraitTest {
    uint32_t Trait;
    bool (*Test)(const TControl*);
  };
  static const TTraitTest kTests[] = {
      {ctTabControl, Is<TCustomTabControl>},
      {ctPageControl, Is<TPageControl>},
      {ctToolButton, Is<TToolButton>},
      {ctTabSheet, Is<TTabSheet>},
      {ctHeader, Is<THeaderControl>},
      {ctCheckBox, Is<TCustomCheckBox>},
      {ctTrackBar, Is<TTrackBar>},
      {ctRadioGroup, Is<TCustomRadioGroup>},
      {ctGroupBox, Is<TCustomGroupBox>},
      {ctRadioButton, Is<TRadioButton>},
      {ctToolBar, Is<TToolBar>},
      {ctStatusBar, Is<TCustomStatusBar>},
      {ctProgressBar, Is<TProgressBar>},
      {ctScrollBar, Is<TScrollBar>},
      {ctComboBox, Is<TCustomComboBox>},
      {ctDateTimePicker, Is<TDateTimePicker>},
      {ctBitBtn, Is<TBitBtn>},
      {ctSpeedButton, Is<TSpeedButton>},
      {ctPanel, Is<TCustomPanel>},
      {ctListView, Is<TListView>},
      {ctMemo, Is<TCustomMemo>},
      {ctGrid, Is<TCustomGrid>},
      {ctButton, Is<TButton>},
      {ctEdit, Is<TCustomEdit>},
      {ctForm, Is<TCustomForm>},
  };
  for (const TTraitTest& t : kTests)
    if (t.Test(c)) f.Traits |= t.Trait;
  if (f.Traits & ctPageControl) {
    const std::string style = Lower(GetEnumPropByName(c, "Style"));
    if (style == "tsbuttons" || style == "tsflatbuttons") f.Traits |= ctButtonTabs;
  }
  // A time picker, and a date picker in up-down mode, spin instead of
  // dropping a calendar down.
  if (auto* picker = dynamic_cast<TDateTimePicker*>(c);
      picker && (picker->Kind() == TDateTimeKind::dtkTime ||
                 picker->DateMode() == TDTDateMode::dmUpDown))
    f.Traits |= ctUpDownDate;
  if (HasScrollBars(c)) f.Traits |= ctHasScrollBars;
  if (data_ && data_->Content().Element(ksTabs) &&
      !data_->Content().Element(ksTabs)->Bitmap.Empty())
    f.Traits |= ctHasTabsElement;
  f.NumButtons = static_cast<int>(GetOrdPropByName(c, "NumButtons"));
  return f;
}

void TSkinControlList::SkinControl(TControl* control, TComponent* container) {
  if (!control || !data_) return;
  const int disable_tag = data_->DisableTag();
  // A control with the disabled tag, and the buttons of such a group, keep
  // their own look (their Tag is the application's and stays untouched).
  if (control->Tag() == disable_tag || InDisabledGroup(control, disable_tag)) return;
  if (!control->Parent() || FindControl(control)) return;
  auto* win = dynamic_cast<TWinControl*>(control);
  if (win && AnswersSkinned(win->WindowHandle())) return;
  const std::string upper = Upper(control->ClassName());
  if (win && !win->Handle()) return;
  if (data_->OnSkinControl) {
    TComponent* made = nullptr;
    data_->OnSkinControl(nullptr, data_, dynamic_cast<TControl*>(container), control, upper, made);
    if (made) {
      if (auto* s = dynamic_cast<TSkinControl*>(made);
          s && std::find(items_.begin(), items_.end(), s) == items_.end()) {
        Add(s);
        s->AttachControl(this, data_, s->OwnColor, &canvas_);
      }
      if (auto* panel = dynamic_cast<TCustomPanel*>(control)) SkinChildControls(panel);
      return;
    }
  }
  if (SkinByKeyword(upper, control) || IsExcludedClass(upper)) return;
  RunChoice(ChooseFrameworkSkinner(FactsOf(control, upper), Gates()), control, container);
}

bool TSkinControlList::SkinByKeyword(const std::string& upper_class, TControl* control) {
  const TKeywordMatch match = FindSkinKeyword(data_->Skin3rd(), upper_class);
  if (!match.Found) return false;
  TSkinControlTypes gates = Gates();
  const TDataSkinObject* tabs = data_->Content().Element(ksTabs);
  if (match.Keyword == "tab" && (!tabs || tabs->Bitmap.Empty())) gates.Exclude(xcTab);
  const TSkinnerChoice choice = ChooseKeywordSkinner(match.Keyword, Lower(upper_class),
                                                     GetEnumPropByName(control, "Kind"), gates);
  auto* win = dynamic_cast<TWinControl*>(control);
  if (choice.Action == TSelectAction::RadioGroup || choice.Action == TSelectAction::CheckGroup) {
    const bool radio = choice.Action == TSelectAction::RadioGroup;
    if (win && gates.Has(xcRadioButton))
      SkinGroupChildren(win, radio ? TSkinnerKind::RadioButton : TSkinnerKind::CheckBox,
                        upper_class, radio ? 2 : 1);
    if (radio || gates.Has(xcGroupBox)) Attach(choice, control);
    return true;
  }
  if (choice.Action == TSelectAction::EmbedScrollbars && win) {
    for (int i = 0; i < win->ControlCount(); ++i) {
      TControl* child = win->Controls(i);
      TSkinnerChoice c;
      c.Action = TSelectAction::Attach;
      c.Kind = Is<TScrollBar>(child)  ? TSkinnerKind::ScControl
               : HasScrollBars(child) ? TSkinnerKind::Scrollbar
                                      : TSkinnerKind::None;
      if (c.Kind != TSkinnerKind::None) Attach(c, child);
    }
    return true;
  }
  RunChoice(choice, control, nullptr);
  return true;
}

void TSkinControlList::SkinGroupChildren(TWinControl* group, TSkinnerKind kind,
                                         const std::string& upper_class, int obj_kind) {
  const bool other_library = upper_class.find("TRZ") != std::string::npos;
  for (int i = 0; i < group->ControlCount(); ++i) {
    TSkinnerChoice c;
    c.Action = TSelectAction::Attach;
    c.Kind = other_library ? TSkinnerKind::ObjImage : kind;
    c.ObjKind = other_library ? obj_kind : 0;
    c.OwnColor = other_library;
    Attach(c, group->Controls(i));
  }
}

void TSkinControlList::RunChoice(const TSkinnerChoice& choice, TControl* control,
                                 TComponent* container) {
  (void)container;
  auto* win = dynamic_cast<TWinControl*>(control);
  switch (choice.Action) {
    case TSelectAction::Attach:
    case TSelectAction::AttachWindow:
      Attach(choice, control);
      break;
    case TSelectAction::ChildrenThenAttach:
      SkinChildControls(win);
      Attach(choice, control);
      break;
    case TSelectAction::ChildrenOnly:
      SkinChildControls(win);
      break;
    case TSelectAction::AttachThenChildren:
      Attach(choice, control);
      SkinChildControls(win);
      break;
    case TSelectAction::ComponentsOnly:
      SkinComponents(control);
      break;
    case TSelectAction::AttachThenComponents:
      Attach(choice, control);
      SkinComponents(control);
      break;
    case TSelectAction::RadioGroup:
      if (win) SkinGroupChildren(win, TSkinnerKind::RadioButton, Upper(control->ClassName()), 2);
      Attach(choice, control);
      break;
    case TSelectAction::Navigator:
      Attach(choice, control);
      if (win)
        for (int i = 0; i < win->ControlCount(); ++i)
          SkinControl(win->Controls(i), nullptr);
      break;
    case TSelectAction::ToolBar:
      if (auto* bar = dynamic_cast<TToolBar*>(control)) {
        SetPropFromText(bar, "Flat", "True");
        if (host_) host_->InstallToolbarPainters(bar);
      }
      Attach(choice, control);
      break;
    case TSelectAction::ToolButtonMenu:
      if (auto* button = dynamic_cast<TToolButton*>(control);
          button && host_ && button->DropdownMenu())
        host_->OwnerDrawMenuItem(button->DropdownMenu()->Items());
      break;
    default:
      break;
  }
}

// ---- bare windows ---------------------------------------------------------------

void TSkinControlList::SkinChildWindows(HWND parent) {
  if (!parent) return;
  std::vector<HWND> children;
  for (HWND w = GetTopWindow(parent); w; w = GetWindow(w, GW_HWNDNEXT))
    if (GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD) children.push_back(w);
  for (HWND w : children)
    SkinForeignWindow(w);
}

void TSkinControlList::SkinForeignWindow(HWND window) {
  if (!window || !data_ || Find(window)) return;
  const std::string cls = Lower(WindowClassName(window));
  const auto style = static_cast<uint32_t>(GetWindowLongPtrW(window, GWL_STYLE));
  HWND first_child = GetWindow(window, GW_CHILD);
  const TSkinnerChoice choice = ChooseNativeSkinner(cls, style, first_child != nullptr, Gates());
  auto recolour = [&] {
    if (TWinControl* c = FormOfWindow(window)) c->SetColor(data_->Content().Colours[kcButtonFace]);
  };
  switch (choice.Action) {
    case TSelectAction::Attach:
      AttachBare(choice, window);
      break;
    case TSelectAction::ChildrenThenAttach:
      SkinChildWindows(window);
      AttachBare(choice, window);
      break;
    case TSelectAction::AttachFirstChild:
      AttachBare(choice, first_child);
      break;
    case TSelectAction::ChildrenRecolour:
      SkinChildWindows(window);
      recolour();
      break;
    case TSelectAction::RecolourFace:
      recolour();
      break;
    default:
      break;
  }
}
