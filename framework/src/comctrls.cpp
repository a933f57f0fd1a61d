#include "framework/comctrls.h"

#include <uxtheme.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "framework/forms.h"
#include "framework/imglist.h"
#include "framework/menus.h"

void InitCommonControlClasses() {
  static bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES |
                                             ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES |
                                             ICC_TREEVIEW_CLASSES | ICC_UPDOWN_CLASS |
                                             ICC_PROGRESS_CLASS};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

const TEnumInfo kProgressBarOrientationIdents{{"pbHorizontal", "pbVertical"}};
const TEnumInfo kTrackBarOrientationIdents{{"trHorizontal", "trVertical"}};
const TEnumInfo kUDOrientationIdents{{"udVertical", "udHorizontal"}};
const TEnumInfo kTabStyleIdents{{"tsTabs", "tsButtons", "tsFlatButtons"}};
const TEnumInfo kTabPositionIdents{{"tpTop", "tpBottom", "tpLeft", "tpRight"}};
const TEnumInfo kToolButtonStyleIdents{
    {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider"}};
const TEnumInfo kStatusPanelBevelIdents{{"pbNone", "pbLowered", "pbRaised"}};
const TEnumInfo kStatusPanelStyleIdents{{"psText", "psOwnerDraw"}};
const TEnumInfo kViewStyleIdents{{"vsIcon", "vsSmallIcon", "vsList", "vsReport"}};
const TEnumInfo kDateTimeKindIdents{{"dtkDate", "dtkTime"}};
const TEnumInfo kDTDateModeIdents{{"dmComboBox", "dmUpDown"}};

TCustomDrawState CustomDrawStateFromItemState(UINT state) {
  TCustomDrawState s = 0;
  if (state & CDIS_SELECTED) s |= cdsSelected;
  if (state & CDIS_GRAYED) s |= cdsGrayed;
  if (state & CDIS_DISABLED) s |= cdsDisabled;
  if (state & CDIS_CHECKED) s |= cdsChecked;
  if (state & CDIS_FOCUS) s |= cdsFocused;
  if (state & CDIS_DEFAULT) s |= cdsDefault;
  if (state & CDIS_HOT) s |= cdsHot;
  if (state & CDIS_MARKED) s |= cdsMarked;
  if (state & CDIS_INDETERMINATE) s |= cdsIndeterminate;
  return s;
}

#define MV_SUBCLASS(p, name)    \
  do {                          \
    InitCommonControlClasses(); \
    CreateSubClass(p, name);    \
  } while (0)

// --- Progress bar -------------------------------------------------------------------

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 150, 17);
}

void TProgressBar::PublishProperties(TClassInfo& info) {
  TPublisher<TProgressBar>(info)
      .Integer("Min", &TProgressBar::Min, &TProgressBar::SetMin)
      .Integer("Max", &TProgressBar::Max, &TProgressBar::SetMax)
      .Integer("Position", &TProgressBar::Position, &TProgressBar::SetPosition)
      .Integer("Step", &TProgressBar::Step, &TProgressBar::SetStep)
      .Enumeration("Orientation", kProgressBarOrientationIdents, &TProgressBar::Orientation,
                   &TProgressBar::SetOrientation)
      .Boolean("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth);
}

void TProgressBar::SetMin(int v) {
  min_ = v;
  if (max_ < min_) max_ = min_;
  SetPosition(position_);
  if (HandleAllocated())
    SendMessageA(WindowHandle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TProgressBar::SetMax(int v) {
  max_ = std::max(v, min_);
  SetPosition(position_);
  if (HandleAllocated())
    SendMessageA(WindowHandle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TProgressBar::SetPosition(int v) {
  position_ = std::clamp(v, min_, max_);
  if (HandleAllocated())
    SendMessageA(WindowHandle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetOrientation(TProgressBarOrientation v) {
  if (v == orientation_) return;
  orientation_ = v;
  RecreateWnd();
}

void TProgressBar::SetSmooth(bool v) {
  if (v == smooth_) return;
  smooth_ = v;
  RecreateWnd();
}

void TProgressBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  MV_SUBCLASS(p, PROGRESS_CLASSA);
  if (orientation_ == TProgressBarOrientation::pbVertical) p.Style |= PBS_VERTICAL;
  if (smooth_) p.Style |= PBS_SMOOTH;
}

void TProgressBar::CreateWindowHandle(const TCreateParams&) {
  SendMessageA(WindowHandle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SendMessageA(WindowHandle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

// --- Track bar ------------------------------------------------------------------------

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 150, 45);
  SetTabStop(true);
}

void TTrackBar::PublishProperties(TClassInfo& info) {
  TPublisher<TTrackBar>(info)
      .Integer("Min", &TTrackBar::Min, &TTrackBar::SetMin)
      .Integer("Max", &TTrackBar::Max, &TTrackBar::SetMax)
      .Integer("Position", &TTrackBar::Position, &TTrackBar::SetPosition)
      .Integer("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency)
      .Integer("PageSize", &TTrackBar::PageSize, &TTrackBar::SetPageSize)
      .Enumeration("Orientation", kTrackBarOrientationIdents, &TTrackBar::Orientation,
                   &TTrackBar::SetOrientation);
}

void TTrackBar::SetMin(int v) {
  min_ = v;
  if (max_ < min_) max_ = min_;
  if (HandleAllocated()) SendMessageA(WindowHandle(), TBM_SETRANGEMIN, TRUE, min_);
  SetPosition(position_);
}

void TTrackBar::SetMax(int v) {
  max_ = std::max(v, min_);
  if (HandleAllocated()) SendMessageA(WindowHandle(), TBM_SETRANGEMAX, TRUE, max_);
  SetPosition(position_);
}

int TTrackBar::Position() const {
  if (WindowHandle()) return static_cast<int>(SendMessageA(WindowHandle(), TBM_GETPOS, 0, 0));
  return position_;
}

void TTrackBar::SetPosition(int v) {
  v = std::clamp(v, min_, max_);
  bool changed = v != Position();
  position_ = v;
  if (HandleAllocated()) SendMessageA(WindowHandle(), TBM_SETPOS, TRUE, v);
  if (changed && OnChange) OnChange(this);
}

void TTrackBar::SetFrequency(int v) {
  frequency_ = std::max(v, 1);
  if (HandleAllocated())
    SendMessageA(WindowHandle(), TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
}

void TTrackBar::SetPageSize(int v) {
  page_size_ = std::max(v, 1);
  if (HandleAllocated()) SendMessageA(WindowHandle(), TBM_SETPAGESIZE, 0, page_size_);
}

void TTrackBar::SetOrientation(TTrackBarOrientation v) {
  if (v == orientation_) return;
  orientation_ = v;
  SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TTrackBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  MV_SUBCLASS(p, TRACKBAR_CLASSA);
  p.Style |=
      TBS_AUTOTICKS | (orientation_ == TTrackBarOrientation::trVertical ? TBS_VERT : TBS_HORZ);
}

void TTrackBar::CreateWindowHandle(const TCreateParams&) {
  HWND h = WindowHandle();
  SendMessageA(h, TBM_SETRANGEMIN, FALSE, min_);
  SendMessageA(h, TBM_SETRANGEMAX, FALSE, max_);
  SendMessageA(h, TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
  SendMessageA(h, TBM_SETPAGESIZE, 0, page_size_);
  SendMessageA(h, TBM_SETPOS, TRUE, position_);
}

void TTrackBar::WndProc(TMessage& msg) {
  if (msg.Msg == CN_HSCROLL || msg.Msg == CN_VSCROLL) {
    int pos = static_cast<int>(SendMessageA(WindowHandle(), TBM_GETPOS, 0, 0));
    if (pos != position_) {
      position_ = pos;
      if (OnChange) OnChange(this);
    }
    return;
  }
  TWinControl::WndProc(msg);
}

// --- Up-down ---------------------------------------------------------------------------

TCustomUpDown::TCustomUpDown(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 17, 25);
}

void TCustomUpDown::PublishProperties(TClassInfo& info) {
  TPublisher<TCustomUpDown>(info)
      .Integer("Min", &TCustomUpDown::Min, &TCustomUpDown::SetMin)
      .Integer("Max", &TCustomUpDown::Max, &TCustomUpDown::SetMax)
      .Integer("Position", &TCustomUpDown::Position, &TCustomUpDown::SetPosition)
      .Integer("Increment", &TCustomUpDown::Increment, &TCustomUpDown::SetIncrement)
      .Boolean("Wrap", &TCustomUpDown::Wrap, &TCustomUpDown::SetWrap)
      .Enumeration("Orientation", kUDOrientationIdents, &TCustomUpDown::Orientation,
                   &TCustomUpDown::SetOrientation);
}

void TCustomUpDown::SetMin(int v) {
  min_ = v;
  if (HandleAllocated())
    SendMessageA(WindowHandle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SetPosition(position_);
}

void TCustomUpDown::SetMax(int v) {
  max_ = v;
  if (HandleAllocated())
    SendMessageA(WindowHandle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SetPosition(position_);
}

int TCustomUpDown::Position() const {
  if (WindowHandle()) return static_cast<int>(SendMessageA(WindowHandle(), UDM_GETPOS32, 0, 0));
  return position_;
}

void TCustomUpDown::SetPosition(int v) {
  position_ = std::clamp(v, std::min(min_, max_), std::max(min_, max_));
  if (HandleAllocated()) SendMessageA(WindowHandle(), UDM_SETPOS32, 0, position_);
}

void TCustomUpDown::SetIncrement(int v) {
  increment_ = std::max(v, 1);
  if (HandleAllocated()) {
    UDACCEL accel{0, static_cast<UINT>(increment_)};
    SendMessageA(WindowHandle(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  }
}

void TCustomUpDown::SetWrap(bool v) {
  if (v == wrap_) return;
  wrap_ = v;
  RecreateWnd();
}

void TCustomUpDown::SetOrientation(TUDOrientation v) {
  if (v == orientation_) return;
  orientation_ = v;
  SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TCustomUpDown::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  MV_SUBCLASS(p, UPDOWN_CLASSA);
  p.Style |= UDS_ARROWKEYS;
  if (orientation_ == TUDOrientation::udHorizontal) p.Style |= UDS_HORZ;
  if (wrap_) p.Style |= UDS_WRAP;
}

void TCustomUpDown::CreateWindowHandle(const TCreateParams&) {
  SendMessageA(WindowHandle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SendMessageA(WindowHandle(), UDM_SETPOS32, 0, position_);
  SetIncrement(increment_);
}

void TCustomUpDown::WndProc(TMessage& msg) {
  if (msg.Msg == CN_HSCROLL || msg.Msg == CN_VSCROLL) {
    if (LOWORD(msg.WParam) == SB_THUMBPOSITION) {
      position_ = Position();
      if (OnChange) OnChange(this);
      Click();
    }
    return;
  }
  TWinControl::WndProc(msg);
}

// --- Spin edit ---------------------------------------------------------------------------

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner) {
  SetText("0");
}

void TSpinEdit::PublishProperties(TClassInfo& info) {
  TPublisher<TSpinEdit>(info)
      .Integer("Value", &TSpinEdit::Value, &TSpinEdit::SetValue)
      .Integer("MinValue", &TSpinEdit::MinValue, &TSpinEdit::SetMinValue)
      .Integer("MaxValue", &TSpinEdit::MaxValue, &TSpinEdit::SetMaxValue)
      .Integer("Increment", &TSpinEdit::Increment, &TSpinEdit::SetIncrement);
}

int TSpinEdit::Value() const {
  const std::string& text = Text();
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || end == text.c_str()) return min_;
  return static_cast<int>(std::clamp<long>(v, min_, max_));
}

void TSpinEdit::SetValue(int v) {
  v = std::clamp(v, min_, std::max(min_, max_));
  SetText(std::to_string(v));
  if (updown_) SendMessageA(updown_, UDM_SETPOS32, 0, v);
}

void TSpinEdit::SetMinValue(int v) {
  min_ = v;
  if (updown_) SendMessageA(updown_, UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SetValue(Value());
}

void TSpinEdit::SetMaxValue(int v) {
  max_ = v;
  if (updown_) SendMessageA(updown_, UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SetValue(Value());
}

void TSpinEdit::SetIncrement(int v) {
  increment_ = std::max(v, 1);
  if (updown_) {
    UDACCEL accel{0, static_cast<UINT>(increment_)};
    SendMessageA(updown_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  }
}

void TSpinEdit::CreateWindowHandle(const TCreateParams& p) {
  TCustomEdit::CreateWindowHandle(p);
  InitCommonControlClasses();
  HWND edit = WindowHandle();
  updown_ =
      CreateWindowExA(0, UPDOWN_CLASSA, "",
                      WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS | UDS_SETBUDDYINT | UDS_NOTHOUSANDS, 0,
                      0, 16, 16, edit, nullptr, MainInstance(), nullptr);
  if (!updown_) return;
  SendMessageA(updown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
  SendMessageA(updown_, UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SendMessageA(updown_, UDM_SETPOS32, 0, Value());
  SetIncrement(increment_);
  PlaceUpDown();
}

void TSpinEdit::PlaceUpDown() {
  if (!updown_) return;
  RECT c;
  GetClientRect(WindowHandle(), &c);
  int w = std::min(16, static_cast<int>(c.right) / 2);
  SetWindowPos(updown_, nullptr, c.right - w, 0, w, c.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(WindowHandle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, w + 1));
}

void TSpinEdit::WndProc(TMessage& msg) {
  switch (msg.Msg) {
    case WM_SIZE:
      TCustomEdit::WndProc(msg);
      PlaceUpDown();
      return;
    case WM_NCDESTROY:
      updown_ = nullptr;
      break;
    case WM_KILLFOCUS:
      // Leaving the edit puts the number back in range.
      TCustomEdit::WndProc(msg);
      if (HandleAllocated() && std::to_string(Value()) != Text()) SetValue(Value());
      return;
    default:
      break;
  }
  TCustomEdit::WndProc(msg);
}

// --- Tab controls ----------------------------------------------------------------------------

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
}

TCustomTabControl::~TCustomTabControl() = default;

void TCustomTabControl::PublishProperties(TClassInfo& info) {
  TPublisher<TCustomTabControl>(info)
      .Enumeration("Style", kTabStyleIdents, &TCustomTabControl::Style,
                   &TCustomTabControl::SetStyle)
      .Enumeration("TabPosition", kTabPositionIdents, &TCustomTabControl::TabPosition,
                   &TCustomTabControl::SetTabPosition)
      .Boolean("MultiLine", &TCustomTabControl::MultiLine, &TCustomTabControl::SetMultiLine);
}

void TCustomTabControl::SetStyle(TTabStyle v) {
  if (v == style_) return;
  style_ = v;
  RecreateWnd();
}

void TCustomTabControl::SetTabPosition(TTabPosition v) {
  if (v == tab_position_) return;
  tab_position_ = v;
  RecreateWnd();
}

void TCustomTabControl::SetMultiLine(bool v) {
  if (v == multi_line_) return;
  multi_line_ = v;
  RecreateWnd();
}

RECT TCustomTabControl::ClientRect() const {
  RECT r{0, 0, Width(), Height()};
  if (WindowHandle()) {
    GetClientRect(WindowHandle(), &r);
    if (style_ == TTabStyle::tsTabs) {
      SendMessageA(WindowHandle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    } else {
      // Button styles have no frame: the area below the buttons.
      RECT item{};
      int rows = static_cast<int>(SendMessageA(WindowHandle(), TCM_GETROWCOUNT, 0, 0));
      if (SendMessageA(WindowHandle(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item))) {
        int band = (item.bottom - item.top + 3) * std::max(rows, 1);
        if (tab_position_ == TTabPosition::tpBottom) {
          r.bottom -= band;
        } else {
          r.top += band;
        }
      }
    }
  } else {
    InflateRect(&r, -4, -4);
    r.top += 20;
  }
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

int TCustomTabControl::IndexOfTabAt(int x, int y) const {
  if (!WindowHandle()) return -1;
  TCHITTESTINFO hit{{x, y}, 0};
  return static_cast<int>(
      SendMessageA(WindowHandle(), TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

RECT TCustomTabControl::TabRect(int index) const {
  RECT r{};
  if (WindowHandle()) {
    SendMessageA(WindowHandle(), TCM_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&r));
  }
  return r;
}

void TCustomTabControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  MV_SUBCLASS(p, WC_TABCONTROLA);
  if (style_ == TTabStyle::tsButtons) p.Style |= TCS_BUTTONS;
  if (style_ == TTabStyle::tsFlatButtons) p.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
  if (multi_line_) p.Style |= TCS_MULTILINE;
  switch (tab_position_) {
    case TTabPosition::tpBottom:
      p.Style |= TCS_BOTTOM;
      break;
    case TTabPosition::tpLeft:
      p.Style |= TCS_VERTICAL | TCS_MULTILINE;
      break;
    case TTabPosition::tpRight:
      p.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
      break;
    default:
      break;
  }
}

void TCustomTabControl::CreateWindowHandle(const TCreateParams&) {
  // Themed tab controls draw their background through the parent; the
  // classic look paints the control itself.
  SetWindowTheme(WindowHandle(), L" ", L" ");
  UpdateTabs();
}

void TCustomTabControl::UpdateTabs() {
  if (!HandleAllocated()) return;
  HWND h = WindowHandle();
  SendMessageA(h, TCM_DELETEALLITEMS, 0, 0);
  std::vector<std::string> captions = TabCaptions();
  for (size_t i = 0; i < captions.size(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = captions[i].data();
    SendMessageA(h, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageA(h, TCM_SETCURSEL, static_cast<WPARAM>(CurrentTab()), 0);
  Realign();
  Invalidate();
}

void TCustomTabControl::WndProc(TMessage& msg) {
  if (msg.Msg == CN_NOTIFY && msg.LParam) {
    auto* hdr = reinterpret_cast<NMHDR*>(msg.LParam);
    if (hdr->code == TCN_SELCHANGING) {
      bool allow = true;
      if (OnChanging) OnChanging(this, allow);
      msg.Result = allow ? FALSE : TRUE;
      return;
    }
    if (hdr->code == TCN_SELCHANGE) {
      TabChosen(static_cast<int>(SendMessageA(WindowHandle(), TCM_GETCURSEL, 0, 0)));
      if (OnChange) OnChange(this);
      return;
    }
  }
  if (msg.Msg == CM_DIALOGKEY) {
    HWND focus = GetFocus();
    const bool inside =
        HandleAllocated() && focus && (focus == WindowHandle() || IsChild(WindowHandle(), focus));
    if (msg.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && inside) {
      SelectNextTab(GetKeyState(VK_SHIFT) >= 0);
      msg.Result = 1;
      return;
    }
    Broadcast(msg);
    return;
  }
  TWinControl::WndProc(msg);
  if (msg.Msg == WM_SIZE) Realign();
}

void TCustomTabControl::SelectNextTab(bool forward) {
  if (!HandleAllocated()) return;
  HWND h = WindowHandle();
  const int count = static_cast<int>(SendMessageA(h, TCM_GETITEMCOUNT, 0, 0));
  if (count <= 0) return;
  const int current = static_cast<int>(SendMessageA(h, TCM_GETCURSEL, 0, 0));
  const int next = ((current < 0 ? 0 : current) + (forward ? 1 : count - 1)) % count;
  if (next == current) return;
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  if (!allow) return;
  SendMessageA(h, TCM_SETCURSEL, static_cast<WPARAM>(next), 0);
  TabChosen(next);
  if (OnChange) OnChange(this);
}

TTabControl::TTabControl(TComponent* owner)
    : TCustomTabControl(owner), tabs_(std::make_unique<TStrings>()) {
  tabs_->OnChange = [this](TObject*) {
    if (tab_index_ >= tabs_->Count()) tab_index_ = tabs_->Count() - 1;
    if (tab_index_ < 0 && tabs_->Count() > 0) tab_index_ = 0;
    UpdateTabs();
  };
}

TTabControl::~TTabControl() {
  DestroyWnd();
}

void TTabControl::PublishProperties(TClassInfo& info) {
  TPublisher<TTabControl>(info)
      .Object("Tabs", &TTabControl::Tabs, &TTabControl::SetTabs)
      .Integer("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex);
}

void TTabControl::SetTabs(TStrings* v) {
  if (v && v != tabs_.get()) tabs_->Assign(*v);
}

void TTabControl::SetTabIndex(int v) {
  if (v < -1 || v >= tabs_->Count()) return;
  tab_index_ = v;
  if (HandleAllocated()) SendMessageA(WindowHandle(), TCM_SETCURSEL, static_cast<WPARAM>(v), 0);
}

std::vector<std::string> TTabControl::TabCaptions() const {
  std::vector<std::string> out;
  for (int i = 0; i < tabs_->Count(); ++i)
    out.push_back(tabs_->Strings(i));
  return out;
}

void TTabControl::TabChosen(int index) {
  tab_index_ = index;
}

TTabSheet::TTabSheet(TComponent* owner) : TCustomControl(owner) {
  SetVisibleFlag(false);
  SetAlign(TAlign::alClient);
}

TTabSheet::~TTabSheet() {
  if (page_control_) page_control_->RemovePage(this);
}

void TTabSheet::PublishProperties(TClassInfo& info) {
  TPublisher<TTabSheet>(info)
      .Object("PageControl", &TTabSheet::PageControlBase, &TTabSheet::SetPageControlBase)
      .Integer("PageIndex", &TTabSheet::PageIndex)
      .Boolean("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible);
}

void TTabSheet::SetPageControl(TPageControl* v) {
  if (v == page_control_) return;
  if (page_control_) page_control_->RemovePage(this);
  page_control_ = nullptr;
  SetParent(v);
  if (v) v->InsertPage(this);
}

TCustomTabControl* TTabSheet::PageControlBase() const {
  return page_control_;
}

void TTabSheet::SetPageControlBase(TCustomTabControl* v) {
  SetPageControl(dynamic_cast<TPageControl*>(v));
}

int TTabSheet::PageIndex() const {
  if (!page_control_) return -1;
  const auto& pages = page_control_->pages_;
  auto it = std::find(pages.begin(), pages.end(), this);
  return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

void TTabSheet::SetTabVisible(bool v) {
  if (v == tab_visible_) return;
  tab_visible_ = v;
  if (page_control_) {
    if (!v && page_control_->active_ == this) {
      TTabSheet* next = nullptr;
      for (TTabSheet* s : page_control_->pages_) {
        if (s != this && s->tab_visible_) {
          next = s;
          break;
        }
      }
      page_control_->SetActivePage(next);
    }
    page_control_->UpdateTabs();
  }
}

void TTabSheet::TextChanged() {
  TCustomControl::TextChanged();
  if (page_control_) page_control_->UpdateTabs();
}

void TTabSheet::WndProc(TMessage& msg) {
  if (msg.Msg == CM_DIALOGKEY) {
    Broadcast(msg);
    return;
  }
  TCustomControl::WndProc(msg);
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
  // The sheets die with their parent; they need not tell us.
  for (TTabSheet* s : pages_)
    s->page_control_ = nullptr;
  pages_.clear();
  active_ = nullptr;
}

void TPageControl::PublishProperties(TClassInfo& info) {
  TPublisher<TPageControl>(info)
      .Object("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage)
      .Integer("ActivePageIndex", &TPageControl::ActivePageIndex, &TPageControl::SetActivePageIndex)
      .Integer("PageCount", &TPageControl::PageCount);
}

TTabSheet* TPageControl::AddSheet(const std::string& caption) {
  auto* sheet = new TTabSheet(Owner() ? Owner() : this);
  sheet->SetCaption(caption);
  sheet->SetPageControl(this);
  return sheet;
}

void TPageControl::InsertPage(TTabSheet* page) {
  page->page_control_ = this;
  pages_.push_back(page);
  if (!active_) {
    SetActivePage(page);
  } else {
    page->SetVisible(false);
  }
  UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* page) {
  pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
  page->page_control_ = nullptr;
  if (active_ == page) {
    active_ = nullptr;
    if (!pages_.empty()) SetActivePage(pages_.front());
  }
  UpdateTabs();
}

void TPageControl::SetActivePage(TTabSheet* v) {
  if (v && v->page_control_ != this) return;
  active_ = v;
  for (TTabSheet* s : pages_) {
    if (s != v) s->SetVisible(false);
  }
  if (v) {
    v->SetVisible(true);
    v->BringToFront();
  }
  if (HandleAllocated())
    SendMessageA(WindowHandle(), TCM_SETCURSEL, static_cast<WPARAM>(CurrentTab()), 0);
  Realign();
}

int TPageControl::ActivePageIndex() const {
  return active_ ? active_->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int v) {
  if (v >= 0 && v < PageCount()) SetActivePage(Pages(v));
}

std::vector<std::string> TPageControl::TabCaptions() const {
  std::vector<std::string> out;
  for (TTabSheet* s : pages_) {
    if (s->TabVisible()) out.push_back(s->Caption());
  }
  return out;
}

int TPageControl::CurrentTab() const {
  int tab = 0;
  for (TTabSheet* s : pages_) {
    if (s == active_) return tab;
    if (s->TabVisible()) ++tab;
  }
  return -1;
}

void TPageControl::TabChosen(int index) {
  int tab = 0;
  for (TTabSheet* s : pages_) {
    if (!s->TabVisible()) continue;
    if (tab++ == index) {
      SetActivePage(s);
      return;
    }
  }
}

// --- Tool bar ---------------------------------------------------------------------------------

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 23, 22);
}

TToolButton::~TToolButton() {
  if (TToolBar* bar = ToolBar()) bar->ButtonRemoved(this);
}

void TToolButton::PublishProperties(TClassInfo& info) {
  TPublisher<TToolButton>(info)
      .Enumeration("Style", kToolButtonStyleIdents, &TToolButton::Style, &TToolButton::SetStyle)
      .Integer("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex)
      .Boolean("Down", &TToolButton::Down, &TToolButton::SetDown)
      .Boolean("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped)
      .Boolean("AllowAllUp", &TToolButton::AllowAllUp, &TToolButton::SetAllowAllUp)
      .Object("DropdownMenu", &TToolButton::DropdownMenu, &TToolButton::SetDropdownMenu)
      .Object("MenuItem", &TToolButton::MenuItem, &TToolButton::SetMenuItem);
}

TToolBar* TToolButton::ToolBar() const {
  return dynamic_cast<TToolBar*>(Parent());
}

void TToolButton::SetParent(TWinControl* parent) {
  if (parent == Parent()) return;
  if (TToolBar* old = ToolBar()) old->ButtonRemoved(this);
  TGraphicControl::SetParent(parent);
  if (TToolBar* bar = ToolBar()) bar->ButtonAdded(this);
}

void TToolButton::SetStyle(TToolButtonStyle v) {
  style_ = v;
  if (TToolBar* bar = ToolBar()) bar->RebuildButtons();
}

void TToolButton::SetImageIndex(int v) {
  image_index_ = v;
  if (TToolBar* bar = ToolBar()) bar->RebuildButtons();
}

void TToolButton::SetDown(bool v) {
  down_ = v;
  if (TToolBar* bar = ToolBar()) bar->SyncButtonState(this);
}

void TToolButton::SetDropdownMenu(TPopupMenu* v) {
  if (dropdown_menu_) RemoveFreeNotification(dropdown_menu_);
  dropdown_menu_ = v;
  if (v) FreeNotification(v);
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == dropdown_menu_) dropdown_menu_ = nullptr;
}

int TToolButton::Index() const {
  TToolBar* bar = ToolBar();
  if (!bar) return -1;
  auto it = std::find(bar->buttons_.begin(), bar->buttons_.end(), this);
  return it == bar->buttons_.end() ? -1 : static_cast<int>(it - bar->buttons_.begin());
}

void TToolButton::SetVisible(bool v) {
  TGraphicControl::SetVisible(v);
  if (TToolBar* bar = ToolBar()) bar->RebuildButtons();
}

void TToolButton::SetEnabled(bool v) {
  TGraphicControl::SetEnabled(v);
  if (TToolBar* bar = ToolBar()) bar->SyncButtonState(this);
}

void TToolButton::TextChanged() {
  if (TToolBar* bar = ToolBar()) bar->RebuildButtons();
}

void TToolButton::Click() {
  if (style_ == TToolButtonStyle::tbsCheck) {
    TToolBar* bar = ToolBar();
    if (grouped_) {
      bool v = allow_all_up_ ? !down_ : true;
      if (v && bar) {
        for (TToolButton* b : bar->buttons_) {
          if (b != this && b->grouped_ && b->down_) b->SetDown(false);
        }
      }
      SetDown(v);
    } else {
      SetDown(!down_);
    }
  }
  TGraphicControl::Click();
  if (menu_item_) menu_item_->Click();
}

bool TToolButton::CheckMenuDropdown() {
  TToolBar* bar = ToolBar();
  if (!dropdown_menu_ || !bar || !bar->HandleAllocated()) return false;
  RECT r{};
  SendMessageA(bar->WindowHandle(), TB_GETRECT, static_cast<WPARAM>(command_),
               reinterpret_cast<LPARAM>(&r));
  POINT p{r.left, r.bottom};
  ::ClientToScreen(bar->WindowHandle(), &p);
  dropdown_menu_->SetPopupComponent(this);
  dropdown_menu_->Popup(p.x, p.y);
  return true;
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {
  SetBounds(0, 0, 150, 29);
  SetAlign(TAlign::alTop);
}

TToolBar::~TToolBar() {
  for (TToolButton* b : buttons_)
    b->command_ = 0;
  DestroyWnd();
}

void TToolBar::PublishProperties(TClassInfo& info) {
  TPublisher<TToolBar>(info)
      .Boolean("Flat", &TToolBar::Flat, &TToolBar::SetFlat)
      .Boolean("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions)
      .Boolean("List", &TToolBar::List, &TToolBar::SetList)
      .Object("Images", &TToolBar::Images, &TToolBar::SetImages)
      .Integer("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth)
      .Integer("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight);
}

void TToolBar::SetFlat(bool v) {
  if (v == flat_) return;
  flat_ = v;
  RecreateWnd();
}

void TToolBar::SetShowCaptions(bool v) {
  if (v == show_captions_) return;
  show_captions_ = v;
  RecreateWnd();
}

void TToolBar::SetList(bool v) {
  if (v == list_) return;
  list_ = v;
  RecreateWnd();
}

void TToolBar::SetImages(TCustomImageList* v) {
  if (images_) RemoveFreeNotification(images_);
  images_ = v;
  if (v) FreeNotification(v);
  RecreateWnd();
}

void TToolBar::SetButtonWidth(int v) {
  button_width_ = std::max(v, 1);
  RebuildButtons();
}

void TToolBar::SetButtonHeight(int v) {
  button_height_ = std::max(v, 1);
  RebuildButtons();
}

TToolButton* TToolBar::FindButton(int command) const {
  for (TToolButton* b : buttons_) {
    if (b->command_ == command) return b;
  }
  return nullptr;
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == images_) {
    images_ = nullptr;
    if (HandleAllocated() && !Destroying()) SendMessageA(WindowHandle(), TB_SETIMAGELIST, 0, 0);
  }
}

void TToolBar::ButtonAdded(TToolButton* b) {
  b->command_ = next_command_++;
  buttons_.push_back(b);
  RebuildButtons();
}

void TToolBar::ButtonRemoved(TToolButton* b) {
  buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), b), buttons_.end());
  if (HandleAllocated() && b->command_) {
    LRESULT index =
        SendMessageA(WindowHandle(), TB_COMMANDTOINDEX, static_cast<WPARAM>(b->command_), 0);
    if (index >= 0) SendMessageA(WindowHandle(), TB_DELETEBUTTON, static_cast<WPARAM>(index), 0);
  }
}

void TToolBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  MV_SUBCLASS(p, TOOLBARCLASSNAMEA);
  p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | CCS_TOP;
  if (flat_) p.Style |= TBSTYLE_FLAT;
  if (list_) p.Style |= TBSTYLE_LIST;
}

void TToolBar::CreateWindowHandle(const TCreateParams&) {
  HWND h = WindowHandle();
  SendMessageA(h, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(h, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  if (images_) {
    SendMessageA(h, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_->Handle()));
    SendMessageA(h, TB_SETBITMAPSIZE, 0, MAKELPARAM(images_->Width(), images_->Height()));
  } else {
    SendMessageA(h, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
  }
  RebuildButtons();
}

void TToolBar::RebuildButtons() {
  if (!HandleAllocated()) return;
  HWND h = WindowHandle();
  while (SendMessageA(h, TB_BUTTONCOUNT, 0, 0) > 0)
    SendMessageA(h, TB_DELETEBUTTON, 0, 0);
  for (TToolButton* b : buttons_) {
    TBBUTTON tb{};
    tb.idCommand = b->command_;
    tb.fsState =
        static_cast<BYTE>((b->Enabled() ? TBSTATE_ENABLED : 0) | (b->down_ ? TBSTATE_CHECKED : 0) |
                          (b->Visible() ? 0 : TBSTATE_HIDDEN));
    switch (b->style_) {
      case TToolButtonStyle::tbsCheck:
        tb.fsStyle = BTNS_CHECK;
        break;
      case TToolButtonStyle::tbsDropDown:
        tb.fsStyle = BTNS_DROPDOWN;
        break;
      case TToolButtonStyle::tbsSeparator:
      case TToolButtonStyle::tbsDivider:
        tb.fsStyle = BTNS_SEP;
        break;
      default:
        tb.fsStyle = BTNS_BUTTON;
    }
    bool sep = tb.fsStyle == BTNS_SEP;
    if (sep) {
      tb.iBitmap = 8;
    } else {
      tb.iBitmap = images_ && b->image_index_ >= 0 ? b->image_index_ : I_IMAGENONE;
      if (show_captions_ && !b->Caption().empty()) {
        tb.iString = reinterpret_cast<INT_PTR>(b->Caption().c_str());
        tb.fsStyle |= BTNS_AUTOSIZE;
      } else {
        tb.iString = -1;
      }
    }
    SendMessageA(h, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&tb));
  }
  if (!show_captions_) {
    SendMessageA(h, TB_SETBUTTONSIZE, 0, MAKELPARAM(button_width_, button_height_));
  }
  SendMessageA(h, TB_AUTOSIZE, 0, 0);
  for (TToolButton* b : buttons_) {
    RECT r{};
    if (SendMessageA(h, TB_GETRECT, static_cast<WPARAM>(b->command_),
                     reinterpret_cast<LPARAM>(&r))) {
      b->TControl::SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
  }
  InvalidateRect(h, nullptr, TRUE);
}

void TToolBar::SyncButtonState(TToolButton* b) {
  if (!HandleAllocated()) return;
  HWND h = WindowHandle();
  SendMessageA(h, TB_CHECKBUTTON, static_cast<WPARAM>(b->command_), MAKELPARAM(b->down_, 0));
  SendMessageA(h, TB_ENABLEBUTTON, static_cast<WPARAM>(b->command_), MAKELPARAM(b->Enabled(), 0));
}

LRESULT TToolBar::CustomDraw(NMTBCUSTOMDRAW& cd) {
  LRESULT result = CDRF_DODEFAULT;
  bool default_draw = true;
  switch (cd.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      if (OnCustomDraw) {
        canvas_->SetHandle(cd.nmcd.hdc);
        canvas_->Font().Assign(*Font());
        try {
          OnCustomDraw(this, cd.nmcd.rc, default_draw);
        } catch (...) {
          canvas_->SetHandle(nullptr);
          throw;
        }
        canvas_->SetHandle(nullptr);
        if (!default_draw) result |= CDRF_SKIPDEFAULT;
      }
      if (OnCustomDrawButton) result |= CDRF_NOTIFYITEMDRAW;
      break;
    case CDDS_ITEMPREPAINT:
      if (OnCustomDrawButton) {
        TToolButton* b = FindButton(static_cast<int>(cd.nmcd.dwItemSpec));
        if (!b) break;
        canvas_->SetHandle(cd.nmcd.hdc);
        canvas_->Font().Assign(*Font());
        const TColor text_colour = canvas_->Font().Color();
        try {
          OnCustomDrawButton(this, b, CustomDrawStateFromItemState(cd.nmcd.uItemState),
                             default_draw);
        } catch (...) {
          canvas_->SetHandle(nullptr);
          throw;
        }
        canvas_->SetHandle(nullptr);
        // A font colour the handler chose is the one the bar draws the text in.
        if (canvas_->Font().Color() != text_colour)
          cd.clrText = ColorToRGB(canvas_->Font().Color());
        if (!default_draw) result = CDRF_SKIPDEFAULT;
      }
      break;
    default:
      break;
  }
  return result;
}

void TToolBar::WndProc(TMessage& msg) {
  // The native bar tracks the mouse over its buttons and paints them.
  if ((msg.Msg >= WM_MOUSEFIRST && msg.Msg <= WM_MOUSELAST) || msg.Msg == WM_MOUSELEAVE ||
      msg.Msg == WM_PAINT) {
    DefaultHandler(msg);
    return;
  }
  switch (msg.Msg) {
    case CN_COMMAND:
      if (TToolButton* b = FindButton(LOWORD(msg.WParam))) b->Click();
      return;
    case CN_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(msg.LParam);
      if (!hdr) return;
      if (hdr->code == NM_CUSTOMDRAW) {
        msg.Result = CustomDraw(*reinterpret_cast<NMTBCUSTOMDRAW*>(msg.LParam));
        return;
      }
      if (hdr->code == TBN_DROPDOWN) {
        auto* tb = reinterpret_cast<NMTOOLBARA*>(msg.LParam);
        if (TToolButton* b = FindButton(tb->iItem)) b->CheckMenuDropdown();
        msg.Result = TBDDRET_DEFAULT;
        return;
      }
      break;
    }
    default:
      break;
  }
  TWinControl::WndProc(msg);
}

// --- Status bar ---------------------------------------------------------------------------------

void TStatusPanel::PublishProperties(TClassInfo& info) {
  TPublisher<TStatusPanel>(info)
      .String("Text", &TStatusPanel::Text, &TStatusPanel::SetText)
      .Integer("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth)
      .Enumeration("Alignment", kAlignmentIdents, &TStatusPanel::Alignment,
                   &TStatusPanel::SetAlignment)
      .Enumeration("Bevel", kStatusPanelBevelIdents, &TStatusPanel::Bevel, &TStatusPanel::SetBevel)
      .Enumeration("Style", kStatusPanelStyleIdents, &TStatusPanel::Style, &TStatusPanel::SetStyle);
}

void TStatusPanel::SetText(const std::string& v) {
  text_ = v;
  Changed();
}
void TStatusPanel::SetWidth(int v) {
  width_ = std::max(v, 0);
  Changed();
}
void TStatusPanel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Changed();
}
void TStatusPanel::SetBevel(TStatusPanelBevel v) {
  bevel_ = v;
  Changed();
}
void TStatusPanel::SetStyle(TStatusPanelStyle v) {
  style_ = v;
  Changed();
}
void TStatusPanel::Changed() {
  if (bar_) bar_->UpdatePanels();
}

TCustomStatusBar::TCustomStatusBar(TComponent* owner)
    : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {
  SetBounds(0, 0, 150, 19);
  SetAlign(TAlign::alBottom);
}

TCustomStatusBar::~TCustomStatusBar() {
  DestroyWnd();
}

void TCustomStatusBar::PublishProperties(TClassInfo& info) {
  TPublisher<TCustomStatusBar>(info)
      .Boolean("SimplePanel", &TCustomStatusBar::SimplePanel, &TCustomStatusBar::SetSimplePanel)
      .String("SimpleText", &TCustomStatusBar::SimpleText, &TCustomStatusBar::SetSimpleText)
      .Boolean("SizeGrip", &TCustomStatusBar::SizeGrip, &TCustomStatusBar::SetSizeGrip);
}

TStatusPanel* TCustomStatusBar::AddPanel() {
  auto panel = std::make_unique<TStatusPanel>();
  panel->bar_ = this;
  panel->index_ = PanelCount();
  panels_.push_back(std::move(panel));
  UpdatePanels();
  return panels_.back().get();
}

void TCustomStatusBar::ClearPanels() {
  panels_.clear();
  UpdatePanels();
}

void TCustomStatusBar::SetSimplePanel(bool v) {
  simple_panel_ = v;
  UpdatePanels();
}

void TCustomStatusBar::SetSimpleText(const std::string& v) {
  simple_text_ = v;
  UpdatePanels();
}

void TCustomStatusBar::SetSizeGrip(bool v) {
  if (v == size_grip_) return;
  size_grip_ = v;
  RecreateWnd();
}

void TCustomStatusBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  MV_SUBCLASS(p, STATUSCLASSNAMEA);
  p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE;
  if (size_grip_) p.Style |= SBARS_SIZEGRIP;
}

void TCustomStatusBar::CreateWindowHandle(const TCreateParams&) {
  UpdatePanels();
}

void TCustomStatusBar::UpdatePanels() {
  if (!HandleAllocated()) return;
  HWND h = WindowHandle();
  if (simple_panel_ || panels_.empty()) {
    SendMessageA(h, SB_SIMPLE, TRUE, 0);
    SendMessageA(h, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simple_text_.c_str()));
    return;
  }
  SendMessageA(h, SB_SIMPLE, FALSE, 0);
  std::vector<int> edges;
  int x = 0;
  for (size_t i = 0; i < panels_.size(); ++i) {
    x += panels_[i]->Width();
    edges.push_back(i + 1 == panels_.size() ? -1 : x);
  }
  SendMessageA(h, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (size_t i = 0; i < panels_.size(); ++i) {
    TStatusPanel* p = panels_[i].get();
    p->index_ = static_cast<int>(i);
    WPARAM flags = i;
    if (p->Bevel() == TStatusPanelBevel::pbNone) flags |= SBT_NOBORDERS;
    if (p->Bevel() == TStatusPanelBevel::pbRaised) flags |= SBT_POPOUT;
    if (p->Style() == TStatusPanelStyle::psOwnerDraw) {
      SendMessageA(h, SB_SETTEXTA, flags | SBT_OWNERDRAW, reinterpret_cast<LPARAM>(p));
      continue;
    }
    std::string text = p->Text();
    if (p->Alignment() == TAlignment::taCenter) text = "\t" + text;
    if (p->Alignment() == TAlignment::taRightJustify) text = "\t\t" + text;
    SendMessageA(h, SB_SETTEXTA, flags, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void TCustomStatusBar::WndProc(TMessage& msg) {
  if (msg.Msg == CN_DRAWITEM && msg.LParam) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(msg.LParam);
    int index = static_cast<int>(dis->itemID);
    if (index >= 0 && index < PanelCount() && OnDrawPanel) {
      canvas_->SetHandle(dis->hDC);
      canvas_->Font().Assign(*Font());
      try {
        OnDrawPanel(this, Panels(index), dis->rcItem);
      } catch (...) {
        canvas_->SetHandle(nullptr);
        throw;
      }
      canvas_->SetHandle(nullptr);
    }
    msg.Result = 1;
    return;
  }
  TWinControl::WndProc(msg);
}

// --- Header control
// -------------------------------------------------------------------------------

THeaderControl::THeaderControl(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 150, 17);
  SetAlign(TAlign::alTop);
}

void THeaderControl::AddSection(const std::string& text, int width) {
  sections_.emplace_back(text, std::max(width, 0));
  InsertNative(SectionCount() - 1);
}

int THeaderControl::SectionWidth(int i) const {
  int w = sections_.at(static_cast<size_t>(i)).second;
  if (WindowHandle()) {
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    if (SendMessageA(WindowHandle(), HDM_GETITEMA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item))) {
      w = item.cxy;
    }
  }
  return w;
}

void THeaderControl::InsertNative(int i) {
  if (!HandleAllocated()) return;
  HDITEMA item{};
  item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
  item.fmt = HDF_LEFT | HDF_STRING;
  item.cxy = sections_[static_cast<size_t>(i)].second;
  item.pszText = sections_[static_cast<size_t>(i)].first.data();
  SendMessageA(WindowHandle(), HDM_INSERTITEMA, static_cast<WPARAM>(i),
               reinterpret_cast<LPARAM>(&item));
}

void THeaderControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  MV_SUBCLASS(p, WC_HEADERA);
  p.Style |= HDS_BUTTONS | HDS_HORZ;
}

void THeaderControl::CreateWindowHandle(const TCreateParams&) {
  for (int i = 0; i < SectionCount(); ++i)
    InsertNative(i);
}

void THeaderControl::WndProc(TMessage& msg) {
  if (msg.Msg == CN_NOTIFY && msg.LParam) {
    auto* hdr = reinterpret_cast<NMHEADERA*>(msg.LParam);
    if (hdr->hdr.code == HDN_ITEMCLICKA || hdr->hdr.code == HDN_ITEMCLICKW) {
      if (OnSectionClick) OnSectionClick(this, hdr->iItem);
      return;
    }
  }
  TWinControl::WndProc(msg);
}

// --- List view
// --------------------------------------------------------------------------------------

TListView::TListView(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 250, 150);
  SetTabStop(true);
  SetColor(clWindow);
}

void TListView::PublishProperties(TClassInfo& info) {
  TPublisher<TListView>(info)
      .Enumeration("ViewStyle", kViewStyleIdents, &TListView::ViewStyle, &TListView::SetViewStyle)
      .Boolean("RowSelect", &TListView::RowSelect, &TListView::SetRowSelect)
      .Boolean("GridLines", &TListView::GridLines, &TListView::SetGridLines)
      .Integer("ItemIndex", &TListView::ItemIndex, &TListView::SetItemIndex);
}

void TListView::SetViewStyle(TViewStyle v) {
  if (v == view_style_) return;
  view_style_ = v;
  RecreateWnd();
}

void TListView::SetRowSelect(bool v) {
  if (v == row_select_) return;
  row_select_ = v;
  RecreateWnd();
}

void TListView::SetGridLines(bool v) {
  if (v == grid_lines_) return;
  grid_lines_ = v;
  RecreateWnd();
}

void TListView::AddColumn(const std::string& caption, int width) {
  columns_.emplace_back(caption, width);
  InsertColumnNative(ColumnCount() - 1);
}

int TListView::AddItem(const std::string& caption, const std::vector<std::string>& sub_items) {
  std::vector<std::string> row{caption};
  row.insert(row.end(), sub_items.begin(), sub_items.end());
  items_.push_back(std::move(row));
  InsertItemNative(ItemCount() - 1);
  return ItemCount() - 1;
}

std::string TListView::ItemText(int item, int column) const {
  const auto& row = items_.at(static_cast<size_t>(item));
  return column >= 0 && static_cast<size_t>(column) < row.size() ? row[static_cast<size_t>(column)]
                                                                 : std::string();
}

void TListView::ClearItems() {
  items_.clear();
  if (HandleAllocated()) SendMessageA(WindowHandle(), LVM_DELETEALLITEMS, 0, 0);
}

int TListView::ItemIndex() const {
  if (!WindowHandle()) return -1;
  return static_cast<int>(
      SendMessageA(WindowHandle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TListView::SetItemIndex(int v) {
  if (!HandleAllocated()) return;
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  SendMessageA(WindowHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
               reinterpret_cast<LPARAM>(&item));
  if (v >= 0 && v < ItemCount()) {
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(WindowHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(v),
                 reinterpret_cast<LPARAM>(&item));
  }
}

HWND TListView::HeaderHandle() const {
  return WindowHandle() ? reinterpret_cast<HWND>(SendMessageA(WindowHandle(), LVM_GETHEADER, 0, 0))
                        : nullptr;
}

void TListView::InsertColumnNative(int i) {
  if (!HandleAllocated()) return;
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  col.cx = columns_[static_cast<size_t>(i)].second;
  col.pszText = columns_[static_cast<size_t>(i)].first.data();
  col.iSubItem = i;
  SendMessageA(WindowHandle(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
               reinterpret_cast<LPARAM>(&col));
}

void TListView::InsertItemNative(int i) {
  if (!HandleAllocated()) return;
  auto& row = items_[static_cast<size_t>(i)];
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = i;
  item.pszText = row[0].data();
  SendMessageA(WindowHandle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  for (size_t c = 1; c < row.size(); ++c) {
    LVITEMA sub{};
    sub.iSubItem = static_cast<int>(c);
    sub.pszText = row[c].data();
    SendMessageA(WindowHandle(), LVM_SETITEMTEXTA, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(&sub));
  }
}

void TListView::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  MV_SUBCLASS(p, WC_LISTVIEWA);
  static const DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  p.Style |= kViews[static_cast<size_t>(view_style_)] | LVS_SHOWSELALWAYS | LVS_SINGLESEL;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::CreateWindowHandle(const TCreateParams&) {
  DWORD ex = (row_select_ ? LVS_EX_FULLROWSELECT : 0) | (grid_lines_ ? LVS_EX_GRIDLINES : 0);
  SendMessageA(WindowHandle(), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(ex));
  for (int i = 0; i < ColumnCount(); ++i)
    InsertColumnNative(i);
  for (int i = 0; i < ItemCount(); ++i)
    InsertItemNative(i);
}

void TListView::WndProc(TMessage& msg) {
  if (msg.Msg == CN_NOTIFY && msg.LParam) {
    auto* hdr = reinterpret_cast<NMHDR*>(msg.LParam);
    if (hdr->code == LVN_ITEMCHANGED) {
      auto* lv = reinterpret_cast<NMLISTVIEW*>(msg.LParam);
      if ((lv->uChanged & LVIF_STATE) && ((lv->uNewState ^ lv->uOldState) & LVIS_SELECTED) &&
          OnChange) {
        OnChange(this);
      }
      return;
    }
  }
  TWinControl::WndProc(msg);
}

// --- Tree view
// ------------------------------------------------------------------------------------

void TTreeNode::SetText(const std::string& v) {
  text_ = v;
  TCustomTreeView* view = owner_ ? owner_->Owner() : nullptr;
  if (view && item_ && view->HandleAllocated()) {
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = item_;
    item.pszText = text_.data();
    SendMessageA(view->WindowHandle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
}

int TTreeNode::Index() const {
  const auto& list = parent_ ? parent_->children_ : owner_->roots_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

int TTreeNode::Level() const {
  int level = 0;
  for (TTreeNode* p = parent_; p; p = p->parent_)
    ++level;
  return level;
}

bool TTreeNode::Expanded() const {
  TCustomTreeView* view = owner_->Owner();
  if (view && item_ && view->WindowHandle()) {
    return (SendMessageA(view->WindowHandle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item_),
                         TVIS_EXPANDED) &
            TVIS_EXPANDED) != 0;
  }
  return expanded_;
}

void TTreeNode::SetExpanded(bool v) {
  expanded_ = v;
  TCustomTreeView* view = owner_->Owner();
  if (view && item_ && view->HandleAllocated()) {
    SendMessageA(view->WindowHandle(), TVM_EXPAND, v ? TVE_EXPAND : TVE_COLLAPSE,
                 reinterpret_cast<LPARAM>(item_));
  }
}

void TTreeNode::Expand(bool recurse) {
  SetExpanded(true);
  if (recurse) {
    for (TTreeNode* c : children_)
      c->Expand(true);
  }
}

bool TTreeNode::Selected() const {
  return owner_->Owner()->Selected() == this;
}

void TTreeNode::SetSelected(bool v) {
  if (v) owner_->Owner()->SetSelected(this);
}

void TTreeNode::Delete() {
  owner_->Delete(this);
}

TTreeNodes::~TTreeNodes() {
  std::vector<TTreeNode*> all;
  Collect(all);
  for (TTreeNode* n : all)
    delete n;
}

void TTreeNodes::Collect(std::vector<TTreeNode*>& out) const {
  std::vector<TTreeNode*> stack(roots_.rbegin(), roots_.rend());
  while (!stack.empty()) {
    TTreeNode* n = stack.back();
    stack.pop_back();
    out.push_back(n);
    stack.insert(stack.end(), n->children_.rbegin(), n->children_.rend());
  }
}

int TTreeNodes::Count() const {
  std::vector<TTreeNode*> all;
  Collect(all);
  return static_cast<int>(all.size());
}

TTreeNode* TTreeNodes::Item(int i) const {
  std::vector<TTreeNode*> all;
  Collect(all);
  if (i < 0 || static_cast<size_t>(i) >= all.size()) {
    throw std::out_of_range("Tree node index out of bounds (" + std::to_string(i) + ")");
  }
  return all[static_cast<size_t>(i)];
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text) {
  return AddObject(sibling, text, nullptr);
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const std::string& text, void* data) {
  return AddChildObject(sibling ? sibling->parent_ : nullptr, text, data);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) {
  return AddChildObject(parent, text, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const std::string& text, void* data) {
  if (parent && parent->owner_ != this) throw std::invalid_argument("Tree node of another tree");
  auto* node = new TTreeNode();
  node->owner_ = this;
  node->parent_ = parent;
  node->text_ = text;
  node->data_ = data;
  (parent ? parent->children_ : roots_).push_back(node);
  InsertNative(node);
  return node;
}

void TTreeNodes::InsertNative(TTreeNode* node) {
  if (!view_ || !view_->HandleAllocated()) return;
  if (node->parent_ && !node->parent_->item_) return;
  TVINSERTSTRUCTA ins{};
  ins.hParent = node->parent_ ? node->parent_->item_ : TVI_ROOT;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_PARAM;
  ins.item.pszText = node->text_.data();
  ins.item.lParam = reinterpret_cast<LPARAM>(node);
  node->item_ = reinterpret_cast<HTREEITEM>(
      SendMessageA(view_->WindowHandle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
  for (TTreeNode* c : node->children_)
    InsertNative(c);
  if (node->expanded_) node->SetExpanded(true);
}

void TTreeNodes::InsertAllNative() {
  for (TTreeNode* n : roots_)
    InsertNative(n);
}

void TTreeNodes::Delete(TTreeNode* node) {
  if (!node || node->owner_ != this) return;
  std::vector<TTreeNode*> doomed;
  {
    std::vector<TTreeNode*> stack{node};
    while (!stack.empty()) {
      TTreeNode* n = stack.back();
      stack.pop_back();
      doomed.push_back(n);
      stack.insert(stack.end(), n->children_.begin(), n->children_.end());
    }
  }
  TTreeNode* selected = view_ ? view_->Selected() : nullptr;
  bool lost_selection = std::find(doomed.begin(), doomed.end(), selected) != doomed.end();
  if (view_ && node->item_ && view_->HandleAllocated()) {
    // The native control may move the selection while it deletes: those
    // notifications name dying nodes and are not passed on.
    ++view_->deleting_;
    SendMessageA(view_->WindowHandle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->item_));
    --view_->deleting_;
  }
  auto& list = node->parent_ ? node->parent_->children_ : roots_;
  list.erase(std::remove(list.begin(), list.end(), node), list.end());
  for (TTreeNode* n : doomed)
    delete n;
  if (lost_selection && view_ && view_->OnChange) view_->OnChange(view_, view_->Selected());
}

void TTreeNodes::Clear() {
  while (!roots_.empty())
    Delete(roots_.back());
}

void TTreeNodes::BeginUpdate() {
  if (view_ && view_->HandleAllocated())
    SendMessageA(view_->WindowHandle(), WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate() {
  if (view_ && view_->HandleAllocated()) {
    SendMessageA(view_->WindowHandle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(view_->WindowHandle(), nullptr, TRUE);
  }
}

TCustomTreeView::TCustomTreeView(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TTreeNodes>(this)) {
  click_events_ = false;  // NM_CLICK reports clicks
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetColor(clWindow);
}

TCustomTreeView::~TCustomTreeView() {
  DestroyWnd();
}

void TCustomTreeView::PublishProperties(TClassInfo& info) {
  TPublisher<TCustomTreeView>(info)
      .Object("Items", &TCustomTreeView::Items)
      .Object("Selected", &TCustomTreeView::Selected, &TCustomTreeView::SetSelected)
      .Boolean("ReadOnly", &TCustomTreeView::ReadOnly, &TCustomTreeView::SetReadOnly)
      .Boolean("ShowLines", &TCustomTreeView::ShowLines, &TCustomTreeView::SetShowLines)
      .Boolean("ShowRoot", &TCustomTreeView::ShowRoot, &TCustomTreeView::SetShowRoot)
      .Boolean("ShowButtons", &TCustomTreeView::ShowButtons, &TCustomTreeView::SetShowButtons)
      .Boolean("HideSelection", &TCustomTreeView::HideSelection, &TCustomTreeView::SetHideSelection)
      .Enumeration("BorderStyle", kBorderStyleIdents, &TCustomTreeView::BorderStyle,
                   &TCustomTreeView::SetBorderStyle);
}

TTreeNode* TCustomTreeView::Selected() const {
  if (!WindowHandle()) return nullptr;
  auto item =
      reinterpret_cast<HTREEITEM>(SendMessageA(WindowHandle(), TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!item) return nullptr;
  TVITEMA tv{};
  tv.mask = TVIF_PARAM;
  tv.hItem = item;
  if (!SendMessageA(WindowHandle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return nullptr;
  return reinterpret_cast<TTreeNode*>(tv.lParam);
}

void TCustomTreeView::SetSelected(TTreeNode* node) {
  if (!HandleAllocated()) HandleNeeded();
  SendMessageA(WindowHandle(), TVM_SELECTITEM, TVGN_CARET,
               reinterpret_cast<LPARAM>(node ? node->item_ : nullptr));
}

#define MV_TREE_FLAG(Name, member)          \
  void TCustomTreeView::Set##Name(bool v) { \
    if (v == member) return;                \
    member = v;                             \
    RecreateWnd();                          \
  }
MV_TREE_FLAG(ReadOnly, read_only_)
MV_TREE_FLAG(ShowLines, show_lines_)
MV_TREE_FLAG(ShowRoot, show_root_)
MV_TREE_FLAG(ShowButtons, show_buttons_)
MV_TREE_FLAG(HideSelection, hide_selection_)
#undef MV_TREE_FLAG

void TCustomTreeView::SetBorderStyle(TBorderStyle v) {
  if (v == border_style_) return;
  border_style_ = v;
  RecreateWnd();
}

TTreeNode* TCustomTreeView::GetNodeAt(int x, int y) const {
  if (!WindowHandle()) return nullptr;
  TVHITTESTINFO hit{{x, y}, 0, nullptr};
  auto item = reinterpret_cast<HTREEITEM>(
      SendMessageA(WindowHandle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (!item || !(hit.flags & TVHT_ONITEM)) return nullptr;
  TVITEMA tv{};
  tv.mask = TVIF_PARAM;
  tv.hItem = item;
  SendMessageA(WindowHandle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
  return reinterpret_cast<TTreeNode*>(tv.lParam);
}

void TCustomTreeView::FullExpand() {
  std::vector<TTreeNode*> all;
  items_->Collect(all);
  for (TTreeNode* n : all) {
    if (n->HasChildren()) n->SetExpanded(true);
  }
}

void TCustomTreeView::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  MV_SUBCLASS(p, WC_TREEVIEWA);
  if (show_lines_) p.Style |= TVS_HASLINES;
  if (show_root_) p.Style |= TVS_LINESATROOT;
  if (show_buttons_) p.Style |= TVS_HASBUTTONS;
  if (!read_only_) p.Style |= TVS_EDITLABELS;
  if (!hide_selection_) p.Style |= TVS_SHOWSELALWAYS;
  if (border_style_ == TBorderStyle::bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::CreateWindowHandle(const TCreateParams&) {
  ++deleting_;  // inserting selects nothing the user chose
  items_->InsertAllNative();
  --deleting_;
}

void TCustomTreeView::DestroyWnd() {
  if (!HandleAllocated()) return;
  // Keep what the window knew (expansion) for the next window.
  std::vector<TTreeNode*> all;
  items_->Collect(all);
  for (TTreeNode* n : all) {
    n->expanded_ = n->Expanded();
    n->item_ = nullptr;
  }
  ++deleting_;
  TWinControl::DestroyWnd();
  --deleting_;
}

void TCustomTreeView::WndProc(TMessage& msg) {
  if (msg.Msg == CN_NOTIFY && msg.LParam) {
    auto* hdr = reinterpret_cast<NMHDR*>(msg.LParam);
    if (hdr->code == TVN_SELCHANGEDA || hdr->code == TVN_SELCHANGEDW) {
      if (deleting_ == 0 && OnChange) {
        auto* tv = reinterpret_cast<NMTREEVIEWA*>(msg.LParam);
        OnChange(this, reinterpret_cast<TTreeNode*>(tv->itemNew.lParam));
      }
      return;
    }
    if (hdr->code == NM_CLICK) {
      Click();
      return;
    }
    if (hdr->code == NM_DBLCLK) {
      if (OnDblClick) OnDblClick(this);
      return;
    }
  }
  TWinControl::WndProc(msg);
}

// --- Date and time picker ------------------------------------------------------------------------

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 186, 21);
  SetTabStop(true);
  GetLocalTime(&time_);
}

void TDateTimePicker::PublishProperties(TClassInfo& info) {
  TPublisher<TDateTimePicker>(info)
      .Enumeration("Kind", kDateTimeKindIdents, &TDateTimePicker::Kind, &TDateTimePicker::SetKind)
      .Enumeration("DateMode", kDTDateModeIdents, &TDateTimePicker::DateMode,
                   &TDateTimePicker::SetDateMode);
}

void TDateTimePicker::SetKind(TDateTimeKind v) {
  if (v == kind_) return;
  time_ = DateTime();
  kind_ = v;
  RecreateWnd();
}

void TDateTimePicker::SetDateMode(TDTDateMode v) {
  if (v == date_mode_) return;
  time_ = DateTime();
  date_mode_ = v;
  RecreateWnd();
}

SYSTEMTIME TDateTimePicker::DateTime() const {
  SYSTEMTIME t = time_;
  if (WindowHandle())
    SendMessageA(WindowHandle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
  return t;
}

void TDateTimePicker::SetDateTime(const SYSTEMTIME& v) {
  time_ = v;
  if (HandleAllocated()) {
    SendMessageA(WindowHandle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time_));
  }
}

void TDateTimePicker::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  MV_SUBCLASS(p, DATETIMEPICK_CLASSA);
  if (kind_ == TDateTimeKind::dtkTime) p.Style |= DTS_TIMEFORMAT;
  if (date_mode_ == TDTDateMode::dmUpDown && kind_ == TDateTimeKind::dtkDate) p.Style |= DTS_UPDOWN;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TDateTimePicker::CreateWindowHandle(const TCreateParams&) {
  SendMessageA(WindowHandle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time_));
}

void TDateTimePicker::WndProc(TMessage& msg) {
  if (msg.Msg == CN_NOTIFY && msg.LParam) {
    auto* hdr = reinterpret_cast<NMHDR*>(msg.LParam);
    if (hdr->code == DTN_DATETIMECHANGE) {
      if (OnChange) OnChange(this);
      return;
    }
  }
  TWinControl::WndProc(msg);
}
