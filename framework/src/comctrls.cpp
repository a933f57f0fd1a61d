#include "framework/comctrls.h"

#include <uxtheme.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "framework/forms.h"
#include "framework/imglist.h"
#include "framework/menus.h"

#include "comctrls_subclass.h"

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
