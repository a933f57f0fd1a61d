// Combo boxes, edits, spin edits and date pickers wearing the test skin, with
// real windows and real input in a virtual desktop: the frame and button by
// state read back from the screen by the test skin's piece colours, lists
// opened by mouse and keyboard and picked from exactly as on twins left
// bare, the list's skinned bar scrolling it, typing, spin clicks, the date
// picker's calendar, a caller's device context given back as it came, and
// every procedure as before after detaching or after the windows died.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/skin_stream.h"
#include "engine_controls/control_list.h"
#include "engine_controls/skin_combo.h"
#include "engine_controls/skin_edit.h"
#include "engine_controls/skin_scrollbar.h"
#include "engine_controls/skin_updown.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_messages.h"
#include "framework/comctrls.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "real_input.h"
#include "skinned_form.h"
#include "test_skin.h"
#include "window_probe.h"

namespace {

using window_probe::PumpUntil;
using window_probe::WindowPixel;
using namespace skinned_form;

POINT WindowPoint(HWND w, int x, int y) {
  RECT r;
  GetWindowRect(w, &r);
  return {r.left + x, r.top + y};
}

void ClickAt(POINT p) {
  real_input::MouseAt(p, 0);
  real_input::Settle(3);
  real_input::MouseAt(p, MOUSEEVENTF_LEFTDOWN);
  real_input::MouseAt(p, MOUSEEVENTF_LEFTUP);
  real_input::Settle(20);
}

LONG_PTR ProcOf(HWND w) {
  return IsWindowUnicode(w) ? GetWindowLongPtrW(w, GWLP_WNDPROC)
                            : GetWindowLongPtrA(w, GWLP_WNDPROC);
}

COMBOBOXINFO InfoOf(HWND combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(combo, &info);
  return info;
}

class SkinComboTest : public ::testing::Test, protected TSkinnedForm {
 protected:
  void SetUp() override { Load(MakeTestSkin()); }
  void Load(TTestSkin skin) {
    const bool first = !form_;
    TSkinnedForm::Load(std::move(skin));
    if (first) focus_ = Add<TButton>(400, 300, 80, 25);
  }
  void TearDown() override { Release(); }
  TComboBox* AddCombo(int x, int y, TComboBoxStyle style, int items = 3) {
    auto* c = Add<TComboBox>(x, y, 140, 21);
    c->SetStyle(style);
    for (int i = 0; i < items; ++i)
      c->Items()->Add("Item " + std::to_string(i));
    c->SetItemIndex(0);
    return c;
  }
  void ShowAndSkin() {
    real_input::MouseAt({2, 2}, 0);
    form_->Show();
    SetForegroundWindow(form_->Handle());
    list_->SkinFormControls(form_);
    focus_->SetFocus();
    real_input::Settle();
  }
  // The frame the combo's border shows (the composite's sunken edge).
  int BorderFrame(HWND combo) {
    RECT r;
    GetWindowRect(combo, &r);
    return FrameAt(combo, IndexOf("sunkedge.bmp"), 4, 0, (r.bottom - r.top) / 2);
  }
  int ButtonFrame(HWND combo) {
    RECT r;
    GetWindowRect(combo, &r);
    return FrameAt(combo, IndexOf("combobutton.bmp"), 4, r.right - r.left - 17, 3);
  }
  static bool Skinned(HWND w) { return SendMessageW(w, kSkmIsSkinned, 0, 0) == 1; }
  COLORREF Shadow() const { return ToColorRef(data_->Content().Colours[kcButtonShadow]); }

  TButton* focus_ = nullptr;
};

// ---- combo boxes --------------------------------------------------------------------

struct TComboCase {
  const char* Name;
  TComboBoxStyle Style;
};

class ComboStyleTest : public SkinComboTest, public ::testing::WithParamInterface<TComboCase> {};

TEST_P(ComboStyleTest, FrameAndButtonFollowTheState) {
  TComboBox* combo = AddCombo(10, 10, GetParam().Style);
  ShowAndSkin();
  HWND w = combo->Handle();
  ASSERT_TRUE(Skinned(w));
  EXPECT_EQ(BorderFrame(w), 1);
  EXPECT_EQ(ButtonFrame(w), 1);
  // The button lights only under the mouse.
  const COMBOBOXINFO info = InfoOf(w);
  RECT r;
  GetWindowRect(w, &r);
  real_input::MouseAt({r.left + 30, r.top + 10}, 0);
  real_input::Settle();
  EXPECT_EQ(ButtonFrame(w), 1);
  real_input::MouseAt({r.left + (info.rcButton.left + info.rcButton.right) / 2, r.top + 10}, 0);
  ASSERT_TRUE(PumpUntil([&] { return ButtonFrame(w) == 4; }, 2000));
  real_input::MouseAt({2, 2}, 0);
  ASSERT_TRUE(PumpUntil([&] { return ButtonFrame(w) == 1; }, 2000));
  combo->SetEnabled(false);
  real_input::Settle();
  EXPECT_EQ(BorderFrame(w), 3);
  EXPECT_EQ(ButtonFrame(w), 3);
}

TEST_P(ComboStyleTest, OpensAndPicksLikeABareTwin) {
  TComboBox* skinned = AddCombo(10, 10, GetParam().Style, 12);
  ShowAndSkin();
  TComboBox* bare = AddCombo(200, 10, GetParam().Style, 12);
  real_input::Settle();
  ASSERT_TRUE(Skinned(skinned->Handle()));
  ASSERT_FALSE(Skinned(bare->Handle()));
  std::vector<int> picked;
  std::vector<std::string> texts;
  for (TComboBox* c : {skinned, bare}) {
    // By mouse: the button opens the list, a click on the third entry picks it.
    const COMBOBOXINFO info = InfoOf(c->Handle());
    ClickAt(WindowPoint(c->Handle(), (info.rcButton.left + info.rcButton.right) / 2, 10));
    ASSERT_TRUE(PumpUntil([&] { return c->DroppedDown(); }, 2000)) << c->Left();
    const int item = static_cast<int>(SendMessageW(info.hwndList, LB_GETITEMHEIGHT, 0, 0));
    ClickAt(WindowPoint(info.hwndList, 20, item * 2 + item / 2));
    ASSERT_TRUE(PumpUntil([&] { return !c->DroppedDown(); }, 2000));
    EXPECT_EQ(c->ItemIndex(), 2) << c->Left();
    picked.push_back(c->ItemIndex());
    texts.push_back(c->Text());
    // By keyboard: F4 opens the list.
    real_input::MouseAt({2, 2}, 0);
    c->SetFocus();
    real_input::Key(VK_F4);
    EXPECT_TRUE(c->DroppedDown()) << c->Left();
    c->SetDroppedDown(false);
    focus_->SetFocus();
  }
  ASSERT_EQ(picked.size(), 2u);
  EXPECT_EQ(picked[0], picked[1]);
  EXPECT_EQ(texts[0], texts[1]);
  EXPECT_EQ(texts[0], "Item 2");
}

TEST_P(ComboStyleTest, TheListScrollsByItsSkinnedBar) {
  TComboBox* skinned = AddCombo(10, 10, GetParam().Style, 40);
  ShowAndSkin();
  TComboBox* bare = AddCombo(200, 10, GetParam().Style, 40);
  real_input::Settle();
  auto* s = dynamic_cast<TSkinComBox*>(list_->Find(skinned->Handle()));
  ASSERT_NE(s, nullptr);
  ASSERT_NE(s->DropScroll, nullptr);
  EXPECT_EQ(s->DropScroll->Handle, InfoOf(skinned->Handle()).hwndList);
  int tops[2] = {};
  int i = 0;
  for (TComboBox* c : {skinned, bare}) {
    c->SetDroppedDown(true);
    real_input::Settle();
    HWND lw = InfoOf(c->Handle()).hwndList;
    SCROLLBARINFO b{};
    b.cbSize = sizeof b;
    ASSERT_TRUE(GetScrollBarInfo(lw, OBJID_VSCROLL, &b));
    const POINT down{(b.rcScrollBar.left + b.rcScrollBar.right) / 2, b.rcScrollBar.bottom - 6};
    for (int k = 0; k < 3; ++k)
      ClickAt(down);
    tops[i++] = static_cast<int>(SendMessageW(lw, LB_GETTOPINDEX, 0, 0));
    c->SetDroppedDown(false);
    real_input::Settle();
  }
  EXPECT_GT(tops[0], 0);
  EXPECT_EQ(tops[0], tops[1]);
}

INSTANTIATE_TEST_SUITE_P(Styles, ComboStyleTest,
                         ::testing::Values(TComboCase{"DropDown", TComboBoxStyle::csDropDown},
                                           TComboCase{"DropDownList",
                                                      TComboBoxStyle::csDropDownList}),
                         [](const auto& param_info) { return std::string(param_info.param.Name); });

TEST_F(SkinComboTest, APressOnTheEditPartShowsThePressedFrame) {
  TComboBox* combo = AddCombo(10, 10, TComboBoxStyle::csDropDown);
  ShowAndSkin();
  HWND w = combo->Handle();
  const POINT p = WindowPoint(w, 30, 10);
  real_input::MouseAt(p, 0);
  real_input::MouseAt(p, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return BorderFrame(w) == 2; }, 2000));
  real_input::MouseAt(p, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return BorderFrame(w) == 1; }, 2000));
}

TEST_F(SkinComboTest, SimpleCombosCoverTheirListsBar) {
  auto* combo = AddCombo(10, 10, TComboBoxStyle::csSimple, 30);
  combo->SetBounds(10, 10, 140, 120);
  ShowAndSkin();
  auto* s = dynamic_cast<TSkinComBox*>(list_->Find(combo->Handle()));
  ASSERT_NE(s, nullptr);
  ASSERT_NE(s->ListScroll, nullptr);
  EXPECT_EQ(s->ListHandle, InfoOf(combo->Handle()).hwndList);
  EXPECT_FALSE(s->EditHooked());  // a simple combo's edit keeps its procedure
  ASSERT_TRUE(s->ListScroll->VertBar);
  EXPECT_TRUE(IsWindowVisible(s->ListScroll->VertBar->Window()));
}

TEST_F(SkinComboTest, ACallersDeviceContextComesBackAsItWent) {
  // Without SunkEdge the skin draws the classic button, which clips the
  // edit area out while drawing.
  TTestSkin skin = MakeTestSkin();
  EditIni(skin, "[SunkEdge]", "[SunkEdgeUnused]");
  Load(std::move(skin));
  TComboBox* combo = AddCombo(10, 10, TComboBoxStyle::csDropDownList);
  ShowAndSkin();
  HWND w = combo->Handle();
  ASSERT_TRUE(Skinned(w));
  RECT r;
  GetWindowRect(w, &r);
  // The classic button cell shows at the right.
  EXPECT_NE(FrameAt(w, IndexOf("combobutton.bmp"), 4, r.right - r.left - 6, 3), 0);
  TNativeBitmap picture(r.right - r.left, r.bottom - r.top);
  TMemoryDC dc(picture);
  HRGN clip = CreateRectRgn(0, 0, 50, 50);
  SelectClipRgn(dc.Handle(), clip);
  SendMessageW(w, WM_PAINT, reinterpret_cast<WPARAM>(dc.Handle()), 0);
  HRGN after = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetClipRgn(dc.Handle(), after), 1);
  EXPECT_TRUE(EqualRgn(clip, after));
  DeleteObject(after);
  DeleteObject(clip);
}

// ---- procedures given back ------------------------------------------------------------

struct TBareCombo {
  const char* Name;
  DWORD Style;
  bool Unicode;
};

class BareComboTest : public SkinComboTest, public ::testing::WithParamInterface<TBareCombo> {};

TEST_P(BareComboTest, DetachingGivesEveryProcedureBack) {
  ShowAndSkin();
  const TBareCombo& c = GetParam();
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | c.Style;
  HWND combo = c.Unicode ? CreateWindowExW(0, L"combobox", L"", style, 10, 10, 150, 200,
                                           form_->Handle(), nullptr, nullptr, nullptr)
                         : CreateWindowExA(0, "combobox", "", style, 10, 10, 150, 200,
                                           form_->Handle(), nullptr, nullptr, nullptr);
  ASSERT_NE(combo, nullptr);
  for (int i = 0; i < 20; ++i)
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"entry"));
  const COMBOBOXINFO info = InfoOf(combo);
  HWND child = GetWindow(combo, GW_CHILD);
  const LONG_PTR combo_proc = ProcOf(combo), list_proc = ProcOf(info.hwndList);
  const LONG_PTR child_proc = child ? ProcOf(child) : 0;
  list_->SkinChildWindows(form_->Handle());
  auto* s = dynamic_cast<TSkinComBox*>(list_->Find(combo));
  if ((c.Style & 3) == CBS_SIMPLE) {
    EXPECT_EQ(s, nullptr);  // a dialog's simple combo box stays native
  } else {
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->EditHooked(), child != nullptr);
    InvalidateRect(combo, nullptr, TRUE);
    UpdateWindow(combo);
    EXPECT_EQ(BorderFrame(combo), 1);
  }
  // Detached twice over: everything as it was, once.
  if (s) s->Detach();
  list_->DetachAll();
  EXPECT_EQ(ProcOf(combo), combo_proc);
  EXPECT_EQ(ProcOf(info.hwndList), list_proc);
  if (child) {
    EXPECT_EQ(ProcOf(child), child_proc);
  }
  DestroyWindow(combo);
}

INSTANTIATE_TEST_SUITE_P(
    Combos, BareComboTest,
    ::testing::Values(TBareCombo{"DropDownAnsi", CBS_DROPDOWN, false},
                      TBareCombo{"DropDownUnicode", CBS_DROPDOWN, true},
                      TBareCombo{"DropDownListUnicode", CBS_DROPDOWNLIST, true},
                      TBareCombo{"OwnerDrawnList", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, true},
                      TBareCombo{"Simple", CBS_SIMPLE, true}),
    [](const auto& param_info) { return std::string(param_info.param.Name); });

TEST_F(SkinComboTest, ALeftScrollBarComboShowsTheMirroredButtonOnTheLeft) {
  ShowAndSkin();
  HWND combo = CreateWindowExW(WS_EX_LEFTSCROLLBAR, L"combobox", L"",
                               WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 10, 10, 150,
                               200, form_->Handle(), nullptr, nullptr, nullptr);
  ASSERT_NE(combo, nullptr);
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"entry"));
  list_->SkinChildWindows(form_->Handle());
  ASSERT_TRUE(Skinned(combo));
  SetFocus(focus_->Handle());
  real_input::Settle();
  InvalidateRect(combo, nullptr, TRUE);
  UpdateWindow(combo);
  RECT r;
  GetWindowRect(combo, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int button = IndexOf("combobutton.bmp"), sunk = IndexOf("sunkedge.bmp");
  EXPECT_EQ(FrameAt(combo, button, 4, 16, 3), 1);
  EXPECT_EQ(FrameAt(combo, button, 4, w - 17, 3), 0);
  EXPECT_EQ(FrameAt(combo, sunk, 4, w - 1, h / 2), 1);
  // The edit area keeps what the control painted.
  EXPECT_EQ(FrameAt(combo, sunk, 4, w / 2, h / 2), 0);
  EXPECT_EQ(FrameAt(combo, button, 4, w / 2, h / 2), 0);
  list_->DetachAll();
  DestroyWindow(combo);
}

LRESULT CALLBACK PassOn(HWND w, UINT msg, WPARAM wparam, LPARAM lparam);
WNDPROC g_after_us = nullptr;
LRESULT CALLBACK PassOn(HWND w, UINT msg, WPARAM wparam, LPARAM lparam) {
  return CallWindowProcW(g_after_us, w, msg, wparam, lparam);
}

TEST_F(SkinComboTest, AnEditSubclassedAfterUsKeepsItsProcedure) {
  TComboBox* combo = AddCombo(10, 10, TComboBoxStyle::csDropDown);
  ShowAndSkin();
  auto* s = dynamic_cast<TSkinComBox*>(list_->Find(combo->Handle()));
  ASSERT_NE(s, nullptr);
  ASSERT_TRUE(s->EditHooked());
  HWND edit = s->EditHandle;
  g_after_us = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PassOn)));
  list_->DetachAll();
  EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(PassOn));
  // Our handler stays in the chain, passing on: typing still works.
  combo->SetFocus();
  real_input::Type("ab");
  EXPECT_NE(combo->Text().find("ab"), std::string::npos);
  SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_after_us));
}

TEST_F(SkinComboTest, DestroyedListsAndEditsAreNeverWrittenTo) {
  TComboBox* combo = AddCombo(10, 10, TComboBoxStyle::csDropDown);
  ShowAndSkin();
  auto* s = dynamic_cast<TSkinComBox*>(list_->Find(combo->Handle()));
  ASSERT_NE(s, nullptr);
  HWND edit = s->EditHandle, drop = InfoOf(combo->Handle()).hwndList;
  ASSERT_TRUE(TWindowSubclass::Knows(edit));
  combo->Free();  // the combo, its edit and its list die; the skinner with them
  real_input::Settle();
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_FALSE(IsWindow(drop));
  EXPECT_FALSE(TWindowSubclass::Knows(edit));
  EXPECT_FALSE(TWindowSubclass::Knows(drop));
  list_->Purge();
  list_->DetachAll();
  EXPECT_TRUE(list_->Items().empty());
}

// ---- edits ---------------------------------------------------------------------------

TEST_F(SkinComboTest, EditsGetThreeFlatRingsAndTypeLikeBareOnes) {
  auto* edit = Add<TEdit>(10, 10, 150, 24);
  auto* flat = Add<TEdit>(10, 50, 150, 24);
  flat->SetBorderStyle(TBorderStyle::bsNone);
  ShowAndSkin();
  auto* bare = Add<TEdit>(200, 10, 150, 24);
  real_input::Settle();
  HWND w = edit->Handle();
  ASSERT_TRUE(Skinned(w));
  InvalidateRect(w, nullptr, TRUE);
  UpdateWindow(w);
  EXPECT_EQ(WindowPixel(w, 0, 12), Shadow());
  EXPECT_EQ(WindowPixel(w, 1, 12), RGB(255, 255, 255));
  EXPECT_EQ(WindowPixel(w, 2, 12), RGB(255, 255, 255));
  EXPECT_EQ(WindowPixel(w, 75, 0), Shadow());
  // Without a border nothing is drawn over the text.
  const COLORREF flat_before = WindowPixel(flat->Handle(), 0, 12);
  InvalidateRect(flat->Handle(), nullptr, TRUE);
  UpdateWindow(flat->Handle());
  EXPECT_EQ(WindowPixel(flat->Handle(), 0, 12), flat_before);
  EXPECT_NE(flat_before, Shadow());
  for (TEdit* e : {edit, bare}) {
    e->SetText("");
    e->SetFocus();
    real_input::Type("skin 42");
  }
  EXPECT_EQ(edit->Text(), "skin 42");
  EXPECT_EQ(edit->Text(), bare->Text());
  // The rings stay after the border was drawn again.
  SetWindowPos(w, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_DRAWFRAME);
  real_input::Settle();
  EXPECT_EQ(WindowPixel(w, 0, 12), Shadow());
}

TEST_F(SkinComboTest, TheSpinEditsSpinIsSkinnedOnceAndClicksLikeABareOne) {
  auto* spin = Add<TSpinEdit>(10, 10, 90, 24);
  spin->SetValue(42);
  ShowAndSkin();
  auto* bare = Add<TSpinEdit>(200, 10, 90, 24);
  bare->SetValue(42);
  real_input::Settle();
  HWND updown = spin->UpDownHandle();
  ASSERT_NE(updown, nullptr);
  InvalidateRect(spin->Handle(), nullptr, TRUE);
  UpdateWindow(spin->Handle());
  ASSERT_TRUE(PumpUntil([&] { return Skinned(updown); }, 2000));
  auto* s = dynamic_cast<TSkinEdit*>(list_->Find(spin->Handle()));
  ASSERT_NE(s, nullptr);
  ASSERT_NE(s->UpDown, nullptr);
  EXPECT_TRUE(s->UpDown->Embedded);
  TSkinUpDown* first = s->UpDown;
  InvalidateRect(spin->Handle(), nullptr, TRUE);
  UpdateWindow(spin->Handle());
  EXPECT_EQ(s->UpDown, first);  // once
  EXPECT_FALSE(Skinned(bare->UpDownHandle()));
  for (TSpinEdit* e : {spin, bare}) {
    RECT r;
    GetWindowRect(e->UpDownHandle(), &r);
    ClickAt({(r.left + r.right) / 2, r.top + 4});
    ClickAt({(r.left + r.right) / 2, r.top + 4});
    ClickAt({(r.left + r.right) / 2, r.bottom - 4});
  }
  EXPECT_EQ(spin->Value(), 43);
  EXPECT_EQ(spin->Value(), bare->Value());
  const LONG_PTR skinned_proc = ProcOf(updown);
  list_->DetachAll();
  EXPECT_NE(ProcOf(updown), skinned_proc);
  EXPECT_FALSE(Skinned(updown));
}

// ---- date pickers ----------------------------------------------------------------------

TEST_F(SkinComboTest, TheDatePickersButtonOpensItsCalendarAndGivesTheFocusBack) {
  auto* picker = Add<TDateTimePicker>(10, 10, 160, 24);
  auto* time = Add<TDateTimePicker>(10, 50, 160, 24);
  time->SetKind(TDateTimeKind::dtkTime);
  const LONG_PTR style = GetWindowLongPtrW(picker->Handle(), GWL_STYLE);
  ShowAndSkin();
  HWND w = picker->Handle();
  auto* s = dynamic_cast<TSkinDateTime*>(list_->Find(w));
  ASSERT_NE(s, nullptr);
  ASSERT_NE(s->ArrowButton, nullptr);
  EXPECT_NE(dynamic_cast<TSkinEdit*>(list_->Find(time->Handle())), nullptr);
  HWND button = s->ArrowButton->Window();
  ASSERT_TRUE(IsWindowVisible(button));
  InvalidateRect(w, nullptr, TRUE);
  UpdateWindow(w);
  EXPECT_EQ(WindowPixel(w, 0, 12), Shadow());
  EXPECT_EQ(WindowPixel(w, 1, 12), RGB(255, 255, 255));
  // The button shows the drop arrow's normal cell, the hot one under the mouse.
  RECT b;
  GetWindowRect(button, &b);
  const COLORREF normal = WindowPixel(button, 8, 8);
  real_input::MouseAt({(b.left + b.right) / 2, (b.top + b.bottom) / 2}, 0);
  ASSERT_TRUE(PumpUntil([&] { return WindowPixel(button, 8, 8) != normal; }, 2000));
  HWND calendar = reinterpret_cast<HWND>(SendMessageW(w, DTM_GETMONTHCAL, 0, 0));
  EXPECT_TRUE(calendar == nullptr || !IsWindowVisible(calendar));
  ClickAt({(b.left + b.right) / 2, (b.top + b.bottom) / 2});
  ASSERT_TRUE(PumpUntil(
      [&] {
        HWND c = reinterpret_cast<HWND>(SendMessageW(w, DTM_GETMONTHCAL, 0, 0));
        return c && IsWindowVisible(c);
      },
      2000));
  EXPECT_EQ(GetFocus(), w);
  real_input::Key(VK_ESCAPE);
  list_->DetachAll();
  EXPECT_FALSE(IsWindow(button));
  EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE) & WS_CLIPCHILDREN, style & WS_CLIPCHILDREN);
}

TEST_F(SkinComboTest, APickerKeepsItsOwnButtonWhenTheSkinHasNoArrow) {
  // A skin read for the first time without ComboButton has no drop arrow.
  TTestSkin skin = MakeTestSkin();
  EditIni(skin, "[ComboButton]", "[ComboButtonUnused]");
  auto* form = new TForm(Application);
  form->SetBounds(100, 100, 300, 200);
  auto* data = new TSkinData(form);
  data->BeginReading();
  ASSERT_TRUE(data->ReadSkinStream(WriteSkinStream(skin.Package())));
  auto* picker = new TDateTimePicker(form);
  picker->SetBounds(10, 10, 160, 24);
  picker->SetParent(form);
  form->Show();
  {
    TSkinControlList list(data);
    list.SkinFormControls(form);
    real_input::Settle();
    auto* s = dynamic_cast<TSkinDateTime*>(list.Find(picker->Handle()));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->ArrowButton, nullptr);
    EXPECT_EQ(GetWindow(picker->Handle(), GW_CHILD), nullptr);
    // Its own button still opens the calendar.
    RECT r;
    GetWindowRect(picker->Handle(), &r);
    ClickAt({r.right - 10, (r.top + r.bottom) / 2});
    EXPECT_TRUE(PumpUntil(
        [&] {
          HWND c = reinterpret_cast<HWND>(SendMessageW(picker->Handle(), DTM_GETMONTHCAL, 0, 0));
          return c && IsWindowVisible(c);
        },
        2000));
    real_input::Key(VK_ESCAPE);
  }
  form->Free();
}

TEST_F(SkinComboTest, UpDownDatePickersSpinLikeTimePickers) {
  auto* updown = Add<TDateTimePicker>(10, 10, 160, 24);
  updown->SetDateMode(TDTDateMode::dmUpDown);
  ShowAndSkin();
  auto* s = dynamic_cast<TSkinEdit*>(list_->Find(updown->Handle()));
  ASSERT_NE(s, nullptr);
  InvalidateRect(updown->Handle(), nullptr, TRUE);
  UpdateWindow(updown->Handle());
  // Its spin child is skinned as an embedded spin.
  ASSERT_NE(s->UpDown, nullptr);
  EXPECT_TRUE(s->UpDown->Embedded);
}

}  // namespace
