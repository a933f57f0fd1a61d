// Tab controls, tab sheets and page controls.
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
