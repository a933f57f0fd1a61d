// List views, tree views and date and time pickers.
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
