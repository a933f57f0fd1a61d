// The standard controls driven with real mouse and keyboard input
// (SendInput), checking the framework's view of what the user did.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/grids.h"
#include "framework/menus.h"
#include "framework/stdctrls.h"
#include "real_input.h"
#include "test_support.h"

namespace {

using namespace real_input;

// Handles messages until `done` holds or about three seconds passed.
template <class F>
bool PumpUntil(F done) {
  for (int i = 0; i < 300; ++i) {
    Application->ProcessMessages();
    if (done()) return true;
    Sleep(10);
  }
  return done();
}

void Pump(int rounds = 20) {
  for (int i = 0; i < rounds; ++i) {
    Application->ProcessMessages();
    Sleep(10);
  }
}

// Queues a whole gesture at once: native controls run modal loops (scroll
// bars, tree views) from the button-down until the button-up arrives.
void Gesture(std::initializer_list<std::pair<POINT, DWORD>> steps) {
  std::vector<INPUT> in;
  for (const auto& [p, flags] : steps)
    in.push_back(MouseInput(p, flags));
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
  Pump(15);
}

// A left click at a client point of a control.
void Click(TControl* c, int x, int y) {
  POINT p = c->ClientToScreen(POINT{x, y});
  MouseAt(p, 0);
  Pump(3);
  Gesture({{p, MOUSEEVENTF_LEFTDOWN}, {p, MOUSEEVENTF_LEFTUP}});
}

// Timer procedures for steps that must happen inside a native modal loop
// (a scroll bar's thumb drag, a popup menu).
POINT g_drag_end;
int g_drag_stage = 0;

void CALLBACK DragTimer(HWND, UINT, UINT_PTR id, DWORD) {
  if (++g_drag_stage < 3) {
    MouseAt(POINT{g_drag_end.x - 40 + g_drag_stage * 20, g_drag_end.y}, 0);
    return;
  }
  KillTimer(nullptr, id);
  MouseAt(g_drag_end, MOUSEEVENTF_LEFTUP);
}

void CALLBACK EndMenuTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

class ControlInput : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = new TForm1(nullptr);
    form_->SetBounds(40, 40, 500, 400);
    form_->SetCaption("Input test");
  }
  void Show() {
    form_->Show();
    SetForegroundWindow(form_->Handle());
    Pump(30);
  }
  void TearDown() override {
    // Let go of any button a failed step left down.
    MouseAt(POINT{0, 0}, MOUSEEVENTF_LEFTUP);
    form_->Free();
    Pump(5);
  }
  template <class T>
  T* Add(int x, int y, int w, int h, TWinControl* parent = nullptr) {
    auto* c = new T(form_);
    c->SetBounds(x, y, w, h);
    c->SetParent(parent ? parent : form_);
    return c;
  }
  TForm1* form_ = nullptr;
};

TEST_F(ControlInput, ButtonsCheckBoxesAndRadioButtonsReportEachClickOnce) {
  auto* button = Add<TButton>(10, 10, 80, 25);
  auto* check = Add<TCheckBox>(10, 50, 120, 20);
  auto* r1 = Add<TRadioButton>(10, 80, 120, 20);
  auto* r2 = Add<TRadioButton>(10, 105, 120, 20);
  check->SetCaption("check");
  r1->SetChecked(true);
  int clicks[4] = {};
  button->OnClick = [&](TObject*) { ++clicks[0]; };
  check->OnClick = [&](TObject*) { ++clicks[1]; };
  r1->OnClick = [&](TObject*) { ++clicks[2]; };
  r2->OnClick = [&](TObject*) { ++clicks[3]; };
  Show();

  Click(button, 40, 12);
  EXPECT_EQ(clicks[0], 1);
  // The keyboard path: space on the focused button.
  button->SetFocus();
  Key(VK_SPACE);
  EXPECT_EQ(clicks[0], 2);

  Click(check, 8, 10);
  EXPECT_EQ(clicks[1], 1);
  EXPECT_TRUE(check->Checked());
  EXPECT_EQ(SendMessageA(check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  Click(check, 8, 10);
  EXPECT_EQ(clicks[1], 2);
  EXPECT_EQ(check->State(), TCheckBoxState::cbUnchecked);

  Click(r2, 8, 10);
  EXPECT_EQ(clicks[3], 1);
  EXPECT_EQ(clicks[2], 0);
  EXPECT_TRUE(r2->Checked());
  EXPECT_FALSE(r1->Checked());
  EXPECT_EQ(SendMessageA(r1->Handle(), BM_GETCHECK, 0, 0), 0);
}

TEST_F(ControlInput, ModalFormClosesWithTheClickedButtonsResult) {
  auto* ok = Add<TButton>(10, 10, 80, 25);
  ok->SetModalResult(mrOk);
  int clicks = 0;
  ok->OnClick = [&](TObject*) { ++clicks; };
  // The click arrives while the modal loop runs.
  auto* timer = new TTimer(form_);
  timer->SetInterval(300);
  timer->OnTimer = [&](TObject*) {
    timer->SetEnabled(false);
    SetForegroundWindow(form_->Handle());
    Click(ok, 40, 12);
  };
  EXPECT_EQ(form_->ShowModal(), mrOk);
  EXPECT_EQ(clicks, 1);
}

TEST_F(ControlInput, CheckListBoxInColumnsTicksByBoxClickAndSpace) {
  auto* list = Add<TCheckListBox>(10, 10, 300, 300);  // tall enough for one column
  list->SetColumns(2);
  for (int i = 0; i < 16; ++i)
    list->Items()->Add("Item " + std::to_string(i));
  int ticks = 0;
  list->OnClickCheck = [&](TObject*) { ++ticks; };
  Show();
  list->SetHeight(8 * list->ItemHeight() + list->Height() - list->ClientHeight());
  Pump(5);
  // Eight rows a column: the items fill the first column, then the second.
  const RECT first = list->ItemRect(0), ninth = list->ItemRect(8);
  EXPECT_EQ(ninth.top, first.top);
  EXPECT_EQ(ninth.left, list->ClientWidth() / 2);
  const RECT r = list->ItemRect(9);
  const int middle = (r.top + r.bottom) / 2;
  Click(list, r.left + 6, middle);  // the box
  EXPECT_TRUE(list->Checked(9));
  EXPECT_EQ(ticks, 1);
  Click(list, r.left + 60, middle);  // the caption selects only
  EXPECT_TRUE(list->Checked(9));
  EXPECT_EQ(list->ItemIndex(), 9);
  Key(VK_SPACE);
  EXPECT_FALSE(list->Checked(9));
  EXPECT_EQ(ticks, 2);
  EXPECT_FALSE(list->Checked(0));
  // A wider list shares the new width between its columns.
  list->SetWidth(420);
  Pump(5);
  EXPECT_EQ(list->ItemRect(8).left, list->ClientWidth() / 2);
}

TEST_F(ControlInput, TypingComboSelectionAndSpinArrows) {
  auto* edit = Add<TEdit>(10, 10, 150, 21);
  auto* combo = Add<TComboBox>(10, 40, 150, 21);
  combo->SetStyle(TComboBoxStyle::csDropDownList);
  for (const char* t : {"zero", "one", "two"})
    combo->Items()->Add(t);
  combo->SetItemIndex(0);
  auto* spin = Add<TSpinEdit>(10, 80, 80, 24);
  spin->SetIncrement(5);
  spin->SetValue(10);
  int edit_changes = 0, combo_changes = 0;
  edit->OnChange = [&](TObject*) { ++edit_changes; };
  combo->OnChange = [&](TObject*) { ++combo_changes; };
  Show();

  Click(edit, 20, 8);
  Type("abc");
  EXPECT_EQ(edit->Text(), "abc");
  EXPECT_EQ(edit_changes, 3);

  combo->SetFocus();
  Key(VK_DOWN);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->Text(), "one");
  EXPECT_EQ(combo_changes, 1);

  // The arrows are the up-down inside the edit: upper half up, lower down.
  ASSERT_NE(spin->UpDownHandle(), nullptr);
  EXPECT_EQ(GetParent(spin->UpDownHandle()), spin->Handle());
  RECT ud;
  GetWindowRect(spin->UpDownHandle(), &ud);
  POINT up{(ud.left + ud.right) / 2, ud.top + 3}, down{(ud.left + ud.right) / 2, ud.bottom - 3};
  for (POINT p : {up, up, down})
    Gesture({{p, MOUSEEVENTF_LEFTDOWN}, {p, MOUSEEVENTF_LEFTUP}});
  EXPECT_EQ(spin->Value(), 15);
  EXPECT_EQ(spin->Text(), "15");
}

TEST_F(ControlInput, ScrollAndTrackBarsFollowReflectedNotifications) {
  auto* bar = Add<TScrollBar>(10, 10, 300, 20);
  bar->SetParams(0, 0, 100);
  bar->SetLargeChange(10);
  auto* track = Add<TTrackBar>(10, 60, 200, 40);
  track->SetMax(20);
  int bar_changes = 0, track_changes = 0;
  bar->OnChange = [&](TObject*) { ++bar_changes; };
  track->OnChange = [&](TObject*) { ++track_changes; };
  Show();

  int arrow = GetSystemMetrics(SM_CXHSCROLL);
  Click(bar, 300 - arrow / 2, 10);  // right arrow
  EXPECT_EQ(bar->Position(), 1);
  Click(bar, 250, 10);  // the track right of the thumb
  EXPECT_EQ(bar->Position(), 11);
  EXPECT_EQ(bar_changes, 2);
  // Drag the thumb to the far right: tracking moves the position as it goes.
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetScrollBarInfo(bar->Handle(), OBJID_CLIENT, &info));
  RECT r;
  GetWindowRect(bar->Handle(), &r);
  POINT thumb{r.left + (info.xyThumbTop + info.xyThumbBottom) / 2, (r.top + r.bottom) / 2};
  std::vector<int> tracked;
  bar->OnScroll = [&](TObject*, TScrollCode code, int& pos) {
    if (code == TScrollCode::scTrack) tracked.push_back(pos);
  };
  POINT beyond{r.right - arrow - 1, thumb.y};  // the end of the track
  POINT step{thumb.x + 20, thumb.y};
  // The bar tracks the thumb in a loop of its own until the button goes up:
  // the moves come one by one from a timer, the release last.
  g_drag_end = beyond;
  g_drag_stage = 0;
  SetTimer(nullptr, 0, 100, DragTimer);
  Gesture({{thumb, MOUSEEVENTF_LEFTDOWN}, {step, 0}});
  ASSERT_FALSE(tracked.empty());
  EXPECT_EQ(tracked.back(), 100);  // reported while the thumb was dragged
  EXPECT_EQ(bar->Position(), 100);
  EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), 100);

  track->SetFocus();
  Key(VK_RIGHT);
  Key(VK_RIGHT);
  EXPECT_EQ(track->Position(), 2);
  EXPECT_EQ(track_changes, 2);
  Key(VK_END);
  EXPECT_EQ(track->Position(), 20);
}

TEST_F(ControlInput, TreeSelectionAndPageSwitching) {
  auto* pages = Add<TPageControl>(10, 10, 460, 330);
  TTabSheet* first = pages->AddSheet("First");
  TTabSheet* second = pages->AddSheet("Second");
  auto* tree = Add<TTreeView>(10, 10, 200, 200, first);
  TTreeNode* root = tree->Items()->AddChild(nullptr, "Root");
  TTreeNode* child = tree->Items()->AddChild(root, "Child");
  tree->Items()->AddChild(nullptr, "Other");
  root->Expand(false);
  std::vector<TTreeNode*> changed;
  int tree_clicks = 0;
  tree->OnChange = [&](TObject*, TTreeNode* n) { changed.push_back(n); };
  tree->OnClick = [&](TObject*) { ++tree_clicks; };
  int page_changes = 0;
  pages->OnChange = [&](TObject*) { ++page_changes; };
  Show();

  RECT item{};
  HTREEITEM id = child->ItemId();
  std::memcpy(&item, &id, sizeof id);
  ASSERT_TRUE(SendMessageA(tree->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&item)));
  changed.clear();
  Click(tree, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
  ASSERT_FALSE(changed.empty());
  EXPECT_EQ(changed.back(), child);
  EXPECT_EQ(tree->Selected(), child);
  EXPECT_EQ(tree_clicks, 1);

  EXPECT_EQ(pages->ActivePage(), first);
  RECT tab = pages->TabRect(1);
  Click(pages, (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  EXPECT_EQ(pages->ActivePage(), second);
  EXPECT_EQ(page_changes, 1);
  EXPECT_TRUE(second->Visible());
  EXPECT_FALSE(first->Visible());
  EXPECT_FALSE(IsWindowVisible(first->Handle()));
}

TEST_F(ControlInput, StatusBarDrawsOwnerPanelsAndToolButtonsClickAndDropDown) {
  auto* status = new TStatusBar(form_);
  status->SetParent(form_);
  status->AddPanel()->SetText("text");
  TStatusPanel* owner = status->AddPanel();
  owner->SetStyle(TStatusPanelStyle::psOwnerDraw);
  std::vector<int> drawn;
  status->OnDrawPanel = [&](TCustomStatusBar* sb, TStatusPanel* p, const RECT& r) {
    drawn.push_back(p->Index());
    sb->Canvas().Brush().SetColor(clRed);
    sb->Canvas().FillRect(r);
  };
  auto* bar = new TToolBar(form_);
  bar->SetParent(form_);
  bar->SetShowCaptions(true);
  auto* plain = new TToolButton(form_);
  plain->SetCaption("Plain");
  plain->SetParent(bar);
  auto* drop = new TToolButton(form_);
  drop->SetCaption("Drop");
  drop->SetStyle(TToolButtonStyle::tbsDropDown);
  drop->SetParent(bar);
  auto* menu = new TPopupMenu(form_);
  auto* item = new TMenuItem(form_);
  item->SetCaption("Recent");
  menu->Items()->Add(item);
  drop->SetDropdownMenu(menu);
  int plain_clicks = 0;
  plain->OnClick = [&](TObject*) { ++plain_clicks; };
  // The custom-draw events the engine installs: the whole bar, then each button.
  int bar_draws = 0;
  std::vector<TToolButton*> button_draws;
  bar->OnCustomDraw = [&](TToolBar* sender, const RECT& r, bool& default_draw) {
    ++bar_draws;
    EXPECT_EQ(sender, bar);
    EXPECT_GT(r.right, r.left);
    default_draw = true;
  };
  bar->OnCustomDrawButton = [&](TToolBar*, TToolButton* b, TCustomDrawState, bool&) {
    button_draws.push_back(b);
  };
  bool menu_window_seen = false;
  int popups = 0;
  menu->OnPopup = [&](TObject*) {
    ++popups;
    // Once the menu is up, look for its window and close it.
    SetTimer(nullptr, 0, 300, EndMenuTimer);
  };
  Show();

  UpdateWindow(status->Handle());
  Pump(5);
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.front(), 1);
  RECT part{};
  SendMessageA(status->Handle(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part));
  HDC dc = GetDC(status->Handle());
  COLORREF pixel = GetPixel(dc, (part.left + part.right) / 2, (part.top + part.bottom) / 2);
  ReleaseDC(status->Handle(), dc);
  EXPECT_EQ(pixel, RGB(255, 0, 0));

  InvalidateRect(bar->Handle(), nullptr, TRUE);
  UpdateWindow(bar->Handle());
  EXPECT_GE(bar_draws, 1);
  EXPECT_NE(std::find(button_draws.begin(), button_draws.end(), plain), button_draws.end());
  EXPECT_NE(std::find(button_draws.begin(), button_draws.end(), drop), button_draws.end());

  Click(plain, plain->Width() / 2, plain->Height() / 2);
  EXPECT_EQ(plain_clicks, 1);
  // The arrow at the right end of the drop-down button opens its menu.
  HWND menu_window = nullptr;
  auto* watch = new TTimer(form_);
  watch->SetInterval(100);
  watch->OnTimer = [&](TObject*) {
    menu_window = FindWindowA("#32768", nullptr);
    if (menu_window && IsWindowVisible(menu_window)) menu_window_seen = true;
  };
  Click(drop, drop->Width() - 4, drop->Height() / 2);
  PumpUntil([&] { return popups > 0; });
  EXPECT_EQ(popups, 1);
  EXPECT_TRUE(menu_window_seen);
  watch->SetEnabled(false);
}

// --- The key/value grid -------------------------------------------------------------

class GridInput : public ControlInput {
 public:
  void SetUp() override {
    ControlInput::SetUp();
    grid_ = Add<TValueListEditor>(10, 10, 400, 200);
    grid_->InsertRow("Alpha", "1");
    grid_->InsertRow("Beta", "2");
    grid_->InsertRow("Gamma", "3");
    grid_->InsertRow("Locked", "BitMap");
    grid_->ItemProps(4).ReadOnly = true;
    grid_->ItemProps(4).EditStyle = TEditStyle::esEllipsis;
    grid_->ItemProps(2).EditStyle = TEditStyle::esEllipsis;
    other_ = Add<TEdit>(10, 250, 100, 21);
    grid_->OnValidate = [this](TObject*, int col, int row, const std::string& key,
                               const std::string& value) {
      validated_.push_back(std::to_string(col) + ":" + std::to_string(row) + ":" + key + "=" +
                           value);
    };
    grid_->OnEditButtonClick = [this](TObject*) { ++buttons_; };
    Show();
  }
  // A client point inside the value cell of `row`.
  POINT ValueCell(int row) const {
    RECT r = grid_->CellRect(1, row);
    return POINT{r.left + 20, (r.top + r.bottom) / 2};
  }
  void ClickValue(int row) {
    POINT p = ValueCell(row);
    Click(grid_, p.x, p.y);
  }
  TValueListEditor* grid_ = nullptr;
  TEdit* other_ = nullptr;
  std::vector<std::string> validated_;
  int buttons_ = 0;
};

TEST_F(GridInput, EditingAndLeavingTheCellValidatesOnce) {
  struct Case {
    const char* how;
    std::function<void(GridInput*)> leave;
    int row_after;
  } cases[] = {
      {"click", [](GridInput* t) { t->ClickValue(3); }, 3},
      {"arrow", [](GridInput*) { Key(VK_DOWN); }, 2},
      {"tab", [](GridInput*) { Key(VK_TAB); }, 2},
      {"enter", [](GridInput*) { Key(VK_RETURN); }, 1},
      {"focus", [](GridInput* t) { Click(t->other_, 10, 8); }, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    grid_->SetValues(1, "1");
    ClickValue(1);
    ASSERT_EQ(grid_->Row(), 1);
    ASSERT_TRUE(grid_->InplaceEditor()->Focused());
    validated_.clear();
    Key(VK_END);
    Type("5");
    EXPECT_TRUE(validated_.empty());  // typing alone commits nothing
    c.leave(this);
    ASSERT_EQ(validated_.size(), 1u);
    EXPECT_EQ(validated_[0], "1:1:Alpha=15");
    EXPECT_EQ(grid_->Values(1), "15");
    EXPECT_EQ(grid_->Row(), c.row_after);
    // Leaving again without a change validates nothing more.
    ClickValue(3);
    Key(VK_UP);
    Click(other_, 10, 8);
    EXPECT_EQ(validated_.size(), 1u);
  }
}

TEST_F(GridInput, EllipsisButtonsAndReadOnlyRows) {
  ClickValue(2);
  ASSERT_TRUE(grid_->EditButton()->Visible());
  TButton* button = grid_->EditButton();
  Click(button, button->Width() / 2, button->Height() / 2);
  EXPECT_EQ(buttons_, 1);
  // A read-only row shows its button but takes no typing.
  ClickValue(4);
  EXPECT_EQ(grid_->Row(), 4);
  EXPECT_FALSE(grid_->InplaceEditor()->Visible());
  EXPECT_TRUE(grid_->EditButton()->Visible());
  Type("xy");
  Key(VK_RETURN);
  EXPECT_EQ(grid_->Values(4), "BitMap");
  EXPECT_TRUE(validated_.empty());
  // Rows without the ellipsis style hide the button.
  ClickValue(1);
  EXPECT_FALSE(grid_->EditButton()->Visible());
  EXPECT_EQ(buttons_, 1);
}

}  // namespace
