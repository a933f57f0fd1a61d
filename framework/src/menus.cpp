#include "framework/menus.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <stdexcept>

#include "framework/forms.h"
#include "framework/imglist.h"

namespace {

// Command numbers in use, and their items. WM_COMMAND carries 16 bits.
std::map<UINT, TMenuItem*>& Commands() {
  static std::map<UINT, TMenuItem*> commands;
  return commands;
}

UINT AllocateCommand(TMenuItem* item) {
  static UINT next = 0x100;
  auto& commands = Commands();
  for (UINT tries = 0; tries < 0xFF00; ++tries) {
    UINT c = next;
    next = next >= 0xFFFF ? 0x100 : next + 1;
    if (!commands.count(c)) {
      commands[c] = item;
      return c;
    }
  }
  throw std::runtime_error("Out of menu command numbers");
}

bool IsKnownItem(const void* p) {
  for (auto& [c, item] : Commands()) {
    if (item == p) return true;
  }
  return false;
}

// The font menus are drawn with.
void SetMenuFont(TCanvas& canvas) {
  NONCLIENTMETRICSA ncm{};
  ncm.cbSize = sizeof ncm;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) return;
  HFONT f = CreateFontIndirectA(&ncm.lfMenuFont);
  canvas.Font().SetFromHandle(f);
  DeleteObject(f);
}

const std::pair<WORD, const char*> kKeyNames[] = {
    {VK_BACK, "BkSp"},   {VK_TAB, "Tab"},    {VK_ESCAPE, "Esc"}, {VK_RETURN, "Enter"},
    {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},  {VK_END, "End"},
    {VK_HOME, "Home"},   {VK_LEFT, "Left"},  {VK_UP, "Up"},      {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},   {VK_INSERT, "Ins"}, {VK_DELETE, "Del"}};

std::string KeyName(WORD key) {
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, char(key));
  if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
  for (auto& [k, name] : kKeyNames) {
    if (k == key) return name;
  }
  return {};
}

bool StartsWithNoCase(const std::string& s, size_t at, const char* prefix) {
  for (size_t i = 0; prefix[i]; ++i) {
    if (at + i >= s.size() || std::tolower(static_cast<unsigned char>(s[at + i])) !=
                                  std::tolower(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

TShortCut ShortCut(WORD key, TShiftState shift) {
  if (key == 0 || key > 0xFF || key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) return 0;
  TShortCut sc = key;
  if (shift & ssShift) sc |= scShift;
  if (shift & ssCtrl) sc |= scCtrl;
  if (shift & ssAlt) sc |= scAlt;
  return sc;
}

std::string ShortCutToText(TShortCut sc) {
  std::string name = KeyName(sc & 0xFF);
  if (name.empty()) return {};
  std::string out;
  if (sc & scShift) out += "Shift+";
  if (sc & scCtrl) out += "Ctrl+";
  if (sc & scAlt) out += "Alt+";
  return out + name;
}

TShortCut TextToShortCut(const std::string& text) {
  TShortCut mods = 0;
  size_t at = 0;
  for (;;) {
    if (StartsWithNoCase(text, at, "Shift+")) {
      mods |= scShift;
      at += 6;
    } else if (StartsWithNoCase(text, at, "Ctrl+")) {
      mods |= scCtrl;
      at += 5;
    } else if (StartsWithNoCase(text, at, "Alt+")) {
      mods |= scAlt;
      at += 4;
    } else {
      break;
    }
  }
  std::string key = text.substr(at);
  for (WORD k = 1; k <= 0xFF; ++k) {
    std::string name = KeyName(k);
    if (!name.empty() && name.size() == key.size() && StartsWithNoCase(key, 0, name.c_str())) {
      return static_cast<TShortCut>(mods | k);
    }
  }
  return 0;
}

char GetHotkey(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
  }
  return 0;
}

std::string StripHotkey(const std::string& caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') {
      out += caption[i];
    } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
      out += '&';
      ++i;
    }
  }
  return out;
}

// --- TMenuItem -------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(AllocateCommand(this)) {}

TMenuItem::~TMenuItem() {
  while (!items_.empty()) {
    TMenuItem* c = items_.back();
    c->Free();  // removes itself
    if (!items_.empty() && items_.back() == c) items_.pop_back();
  }
  if (parent_) parent_->Remove(this);
  Commands().erase(command_);
  if (handle_) DestroyMenu(handle_);
}

void TMenuItem::PublishProperties(TClassInfo& info) {
  TPublisher<TMenuItem>(info)
      .String("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
      .Boolean("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
      .Boolean("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
      .Boolean("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
      .Boolean("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem)
      .Boolean("Default", &TMenuItem::Default, &TMenuItem::SetDefault)
      .Integer("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut)
      .Integer("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
      .String("Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
}

HMENU TMenuItem::Handle() {
  if (!handle_) {
    handle_ = menu_ ? menu_->CreateMenuHandle() : CreatePopupMenu();
    if (!handle_) throw std::runtime_error("Cannot create a menu");
    for (TMenuItem* c : items_) {
      if (c->visible_) c->AppendTo(handle_);
    }
  }
  return handle_;
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item) {
  Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item || item == this) return;
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  RebuildHandle();
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  RebuildHandle();
}

void TMenuItem::Delete(int index) {
  Items(index)->Free();
}

void TMenuItem::Clear() {
  while (!items_.empty())
    items_.back()->Free();
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* i = this;
  while (i->parent_)
    i = i->parent_;
  return i->menu_;
}

bool TMenuItem::IsTopLevel() const {
  return parent_ && parent_->menu_ && parent_->menu_->Is<TMainMenu>();
}

bool TMenuItem::OwnerDrawn() const {
  TMenu* m = GetParentMenu();
  return m && (m->OwnerDraw() || (m->Images() && !IsTopLevel()));
}

void TMenuItem::AppendTo(HMENU menu) {
  TMenu* m = GetParentMenu();
  MENUITEMINFOA mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
  std::string text = caption_;
  if (IsLine()) {
    mii.fType = MFT_SEPARATOR;
  } else {
    // The text is stored also for owner-drawn items, so that others can read
    // it back with GetMenuItemInfo.
    mii.fMask |= MIIM_STRING;
    if (shortcut_ && !IsTopLevel()) text += "\t" + ShortCutToText(shortcut_);
    mii.dwTypeData = text.data();
    mii.cch = static_cast<UINT>(text.size());
    mii.fType = MFT_STRING;
  }
  if (OwnerDrawn()) mii.fType |= MFT_OWNERDRAW;
  if (radio_item_) mii.fType |= MFT_RADIOCHECK;
  if (m && m->IsRightToLeft()) {
    mii.fType |= MFT_RIGHTORDER;
    if (IsTopLevel()) mii.fType |= MFT_RIGHTJUSTIFY;
  }
  mii.fState = (enabled_ ? MFS_ENABLED : MFS_DISABLED) | (checked_ ? MFS_CHECKED : 0) |
               (default_ ? MFS_DEFAULT : 0);
  mii.wID = command_;
  mii.dwItemData = reinterpret_cast<ULONG_PTR>(this);
  mii.hSubMenu = items_.empty() ? nullptr : Handle();
  InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &mii);
}

void TMenuItem::RebuildHandle() {
  if (handle_) {
    // RemoveMenu keeps the submenus, which belong to the child items.
    while (GetMenuItemCount(handle_) > 0)
      RemoveMenu(handle_, 0, MF_BYPOSITION);
    for (TMenuItem* c : items_) {
      if (c->visible_) c->AppendTo(handle_);
    }
  }
  if (TMenu* m = GetParentMenu()) m->MenuChanged();
}

void TMenuItem::Changed() {
  if (parent_) {
    parent_->RebuildHandle();
  } else if (TMenu* m = GetParentMenu()) {
    m->MenuChanged();
  }
}

void TMenuItem::SetCaption(const std::string& v) {
  if (v == caption_) return;
  caption_ = v;
  Changed();
}
void TMenuItem::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Changed();
}
void TMenuItem::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Changed();
}
void TMenuItem::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  Changed();
}
void TMenuItem::SetRadioItem(bool v) {
  if (v == radio_item_) return;
  radio_item_ = v;
  Changed();
}
void TMenuItem::SetDefault(bool v) {
  if (v == default_) return;
  default_ = v;
  Changed();
}
void TMenuItem::SetShortCut(TShortCut v) {
  if (v == shortcut_) return;
  shortcut_ = v;
  Changed();
}
void TMenuItem::SetImageIndex(int v) {
  if (v == image_index_) return;
  image_index_ = v;
  Changed();
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

void TMenuItem::DefaultMeasure(TCanvas& canvas, int& width, int& height) {
  if (IsLine()) {
    width = 10;
    height = std::max(GetSystemMetrics(SM_CYMENU) / 2, 5);
    return;
  }
  SIZE s = canvas.TextExtent(StripHotkey(caption_));
  if (IsTopLevel()) {
    width = s.cx + 8;
    height = std::max(static_cast<int>(s.cy), GetSystemMetrics(SM_CYMENU) - 1);
    return;
  }
  TMenu* m = GetParentMenu();
  int glyph = GetSystemMetrics(SM_CXMENUCHECK);
  int glyph_h = 0;
  if (m && m->Images()) {
    glyph = std::max(glyph, m->Images()->Width());
    glyph_h = m->Images()->Height();
  }
  width = 2 + glyph + 8 + s.cx + 8;
  if (shortcut_) width += 16 + canvas.TextWidth(ShortCutToText(shortcut_));
  height = std::max<int>({s.cy + 6, glyph_h + 4, GetSystemMetrics(SM_CYMENU) - 1});
}

void TMenuItem::DefaultDraw(TCanvas& canvas, const RECT& rect, UINT state) {
  bool selected = state & ODS_SELECTED;
  bool disabled = !enabled_ || (state & (ODS_DISABLED | ODS_GRAYED));
  TMenu* m = GetParentMenu();
  bool rtl = m && m->IsRightToLeft();
  canvas.Brush().SetColor(selected && !IsLine() ? clHighlight : clMenu);
  canvas.FillRect(rect);
  if (IsLine()) {
    RECT r = rect;
    r.top += (rect.bottom - rect.top) / 2 - 1;
    DrawEdge(canvas.Handle(), &r, EDGE_ETCHED, BF_TOP);
    return;
  }
  canvas.Font().SetColor(disabled ? clGrayText : selected ? clHighlightText : clMenuText);
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  UINT flags = DT_SINGLELINE | DT_VCENTER | ((state & ODS_NOACCEL) ? DT_HIDEPREFIX : 0);
  if (IsTopLevel()) {
    RECT r = rect;
    canvas.DrawText(caption_, r, flags | DT_CENTER);
    return;
  }
  int glyph = GetSystemMetrics(SM_CXMENUCHECK);
  TCustomImageList* images = m ? m->Images() : nullptr;
  if (images) glyph = std::max(glyph, images->Width());
  // The glyph column is on the reading side: left, or right for RTL menus.
  int gx = rtl ? rect.right - 2 - glyph : rect.left + 2;
  int mid = (rect.top + rect.bottom) / 2;
  if (images && image_index_ >= 0 && image_index_ < images->Count()) {
    images->Draw(canvas, gx + (glyph - images->Width()) / 2, mid - images->Height() / 2,
                 image_index_, !disabled);
    if (checked_) {
      canvas.Brush().SetColor(clHighlight);
      RECT f{gx - 1, mid - images->Height() / 2 - 1, gx + glyph + 1,
             mid + images->Height() / 2 + 1};
      canvas.FrameRect(f);
      canvas.Brush().SetStyle(TBrushStyle::bsClear);
    }
  } else if (checked_) {
    canvas.Pen().SetColor(canvas.Font().Color());
    int cx = gx + glyph / 2;
    if (radio_item_) {
      canvas.Brush().SetColor(canvas.Font().Color());
      canvas.Ellipse(cx - 3, mid - 3, cx + 4, mid + 4);
      canvas.Brush().SetStyle(TBrushStyle::bsClear);
    } else {
      for (int d = 0; d < 2; ++d) {  // a two-pixel tick
        POINT tick[] = {{cx - 4, mid - 1 + d}, {cx - 1, mid + 2 + d}, {cx + 4, mid - 3 + d}};
        canvas.Polyline(tick);
      }
    }
  }
  RECT text = rect;
  if (rtl) {
    text.right = gx - 6;
    text.left += 8;
    canvas.DrawText(caption_, text, flags | DT_RIGHT | DT_RTLREADING);
    if (shortcut_) canvas.DrawText(ShortCutToText(shortcut_), text, flags | DT_LEFT);
  } else {
    text.left = gx + glyph + 6;
    text.right -= 8;
    canvas.DrawText(caption_, text, flags | DT_LEFT);
    if (shortcut_) canvas.DrawText(ShortCutToText(shortcut_), text, flags | DT_RIGHT);
  }
}

void TMenuItem::MeasureItem(MEASUREITEMSTRUCT& mis) {
  HDC dc = GetDC(nullptr);
  TCanvas canvas;
  canvas.SetHandle(dc);
  int width = 0, height = 0;
  try {
    SetMenuFont(canvas);
    DefaultMeasure(canvas, width, height);
    if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
  } catch (...) {
    canvas.SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
    throw;
  }
  canvas.SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  mis.itemWidth = static_cast<UINT>(std::max(width, 0));
  mis.itemHeight = static_cast<UINT>(std::max(height, 0));
}

void TMenuItem::DrawItem(const DRAWITEMSTRUCT& dis) {
  int saved = SaveDC(dis.hDC);
  TCanvas canvas;
  canvas.SetHandle(dis.hDC);
  try {
    SetMenuFont(canvas);
    if (OnDrawItem) {
      OnDrawItem(this, canvas, dis.rcItem, (dis.itemState & ODS_SELECTED) != 0);
    } else {
      DefaultDraw(canvas, dis.rcItem, dis.itemState);
    }
  } catch (...) {
    canvas.SetHandle(nullptr);
    RestoreDC(dis.hDC, saved);
    throw;
  }
  canvas.SetHandle(nullptr);
  RestoreDC(dis.hDC, saved);
}

// --- TMenu -----------------------------------------------------------------------

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) {
  items_->menu_ = this;
}

TMenu::~TMenu() {
  items_->Free();
}

void TMenu::PublishProperties(TClassInfo& info) {
  TPublisher<TMenu>(info)
      .Object("Images", &TMenu::Images, &TMenu::SetImages)
      .Boolean("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw)
      .Enumeration("BiDiMode", kBiDiModeIdents, &TMenu::BiDiMode, &TMenu::SetBiDiMode)
      .Object("Items", &TMenu::Items);
}

void TMenu::RebuildAll(TMenuItem* item) {
  for (TMenuItem* c : item->items_)
    RebuildAll(c);
  item->RebuildHandle();
}

void TMenu::SetImages(TCustomImageList* v) {
  if (v == images_) return;
  if (images_) RemoveFreeNotification(images_);
  images_ = v;
  if (images_) FreeNotification(images_);
  RebuildAll(items_);
  MenuChanged();
}

void TMenu::SetOwnerDraw(bool v) {
  if (v == owner_draw_) return;
  owner_draw_ = v;
  RebuildAll(items_);
  MenuChanged();
}

void TMenu::SetBiDiMode(TBiDiMode v) {
  if (v == bidi_mode_) return;
  bidi_mode_ = v;
  RebuildAll(items_);
  MenuChanged();
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == images_) {
    images_ = nullptr;
    RebuildAll(items_);
  }
}

namespace {
TMenuItem* Find(TMenuItem* item, const std::function<bool(TMenuItem*)>& match) {
  for (int i = 0; i < item->Count(); ++i) {
    TMenuItem* c = item->Items(i);
    if (match(c)) return c;
    if (TMenuItem* found = Find(c, match)) return found;
  }
  return nullptr;
}
}  // namespace

TMenuItem* TMenu::FindItem(UINT command) const {
  return Find(items_, [command](TMenuItem* i) { return i->Command() == command; });
}

TMenuItem* TMenu::FindItemByHandle(HMENU submenu) const {
  return Find(items_, [submenu](TMenuItem* i) { return i->HasHandle() && i->Handle() == submenu; });
}

bool TMenu::DispatchCommand(UINT command) {
  TMenuItem* item = FindItem(command);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::IsShortCut(WORD key, TShiftState shift) {
  TShortCut sc = ::ShortCut(key, shift);
  if (!sc) return false;
  std::function<TMenuItem*(TMenuItem*)> search = [&](TMenuItem* parent) -> TMenuItem* {
    for (int i = 0; i < parent->Count(); ++i) {
      TMenuItem* c = parent->Items(i);
      if (!c->Enabled() || !c->Visible()) continue;
      if (c->ShortCut() == sc) return c;
      if (TMenuItem* found = search(c)) return found;
    }
    return nullptr;
  };
  TMenuItem* item = search(items_);
  if (!item) return false;
  item->Click();
  return true;
}

TMainMenu::~TMainMenu() {
  // Off the window before the native menu is destroyed with the items.
  if (window_ && IsWindow(window_)) ::SetMenu(window_, nullptr);
}

void TMainMenu::MenuChanged() {
  if (window_ && IsWindow(window_)) SendMessageA(window_, CM_MENUCHANGED, 0, 0);
}

// --- Popup menus -----------------------------------------------------------------

namespace {

LRESULT CALLBACK PopupWindowProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  TMessage m{msg, wparam, lparam, 0};
  try {
    if (DispatchMenuMessage(m)) return m.Result;
  } catch (...) {
    Application->HandleException(nullptr);
    return 0;
  }
  return DefWindowProcA(window, msg, wparam, lparam);
}

// A hidden window per thread that owns tracked popup menus and receives
// their messages.
HWND PopupWindow() {
  thread_local HWND window = nullptr;
  if (window && IsWindow(window)) return window;
  static const char* kClass = "TPUtilWindow";
  WNDCLASSA wc{};
  if (!GetClassInfoA(MainInstance(), kClass, &wc)) {
    wc.lpfnWndProc = PopupWindowProc;
    wc.hInstance = MainInstance();
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
  }
  window = CreateWindowExA(WS_EX_TOOLWINDOW, kClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           MainInstance(), nullptr);
  return window;
}

}  // namespace

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}
TPopupMenu::~TPopupMenu() = default;

namespace {
thread_local TPopupMenu* g_showing_popup = nullptr;

// Marks a menu as the one shown for as long as it is tracked.
struct TShowingPopup {
  explicit TShowingPopup(TPopupMenu* menu) : outer(g_showing_popup) { g_showing_popup = menu; }
  ~TShowingPopup() { g_showing_popup = outer; }
  TPopupMenu* outer;
};
}  // namespace

TPopupMenu* TPopupMenu::Showing() {
  return g_showing_popup;
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  HWND owner = PopupWindow();
  TShowingPopup showing(this);
  UINT flags = TPM_LEFTBUTTON | TPM_RIGHTBUTTON;
  if (IsRightToLeft()) flags |= TPM_RIGHTALIGN | TPM_LAYOUTRTL;
  // The owner must be the foreground window or the menu does not close when
  // the user clicks elsewhere; the WM_NULL afterwards lets it switch back.
  SetForegroundWindow(owner);
  TrackPopupMenu(Handle(), flags, x, y, 0, owner, nullptr);
  PostMessageA(owner, WM_NULL, 0, 0);
}

// --- Routing -----------------------------------------------------------------------

namespace {
TMenuItem* ItemOf(UINT id, ULONG_PTR data) {
  auto& commands = Commands();
  if (auto it = commands.find(id); it != commands.end()) return it->second;
  // Items with a submenu may report the submenu's handle instead.
  for (auto& [c, item] : commands) {
    if (item->HasHandle() && reinterpret_cast<UINT_PTR>(item->Handle()) == id) return item;
  }
  auto* p = reinterpret_cast<TMenuItem*>(data);
  return p && IsKnownItem(p) ? p : nullptr;
}
}  // namespace

bool DispatchMenuMessage(TMessage& msg) {
  switch (msg.Msg) {
    case WM_COMMAND: {
      if (msg.LParam != 0 || HIWORD(msg.WParam) != 0) return false;
      auto it = Commands().find(LOWORD(msg.WParam));
      if (it == Commands().end()) return false;
      it->second->Click();
      msg.Result = 0;
      return true;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(msg.LParam);
      if (!mis || mis->CtlType != ODT_MENU) return false;
      TMenuItem* item = ItemOf(mis->itemID, mis->itemData);
      if (!item) return false;
      item->MeasureItem(*mis);
      msg.Result = 1;
      return true;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(msg.LParam);
      if (!dis || dis->CtlType != ODT_MENU) return false;
      TMenuItem* item = ItemOf(dis->itemID, dis->itemData);
      if (!item) return false;
      item->DrawItem(*dis);
      msg.Result = 1;
      return true;
    }
    default:
      return false;
  }
}
