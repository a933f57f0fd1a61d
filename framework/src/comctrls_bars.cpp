// Tool bars and their buttons, status bars and header controls.
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
