// Check boxes and radio buttons wearing the test skin's check and radio
// strips, with real windows and real input in a virtual desktop: which cell
// each state shows (read back from the screen by the test skin's cell
// colours), clicks and Space toggling exactly once, radio groups, the glyph
// drawn over bare windows, detaching, and skins whose strips are unusable.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/skin_stream.h"
#include "engine_controls/control_list.h"
#include "engine_controls/skin_check.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_messages.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "real_input.h"
#include "skinned_form.h"
#include "test_skin.h"
#include "window_probe.h"

namespace {

using window_probe::PumpUntil;
using window_probe::WindowPixel;

using skinned_form::EditIni;

class SkinCheckTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override { Load(MakeTestSkin({0, 0, Cells(), Cells() == 12 ? 8 : 4})); }
  void Load(TTestSkin skin) {
    InstallSystemColourResolver();
    skin_ = std::move(skin);
    check_index_ = skin_.Find("check.bmp")->Index;
    radio_index_ = skin_.Find("radio.bmp")->Index;
    form_ = new TForm(Application);
    form_->SetBounds(100, 100, 460, 320);
    data_ = new TSkinData(form_);
    data_->BeginReading();
    ASSERT_TRUE(data_->ReadSkinStream(WriteSkinStream(skin_.Package())));
    list_ = std::make_unique<TSkinControlList>(data_);
    TSkinCheckGlyph::FocusCues = saved_cues_;
  }
  void TearDown() override {
    TSkinCheckGlyph::FocusCues = saved_cues_;
    list_.reset();
    if (form_) form_->Free();
    PumpUntil([] { return false; }, 20);
  }
  int Cells() const { return GetParam(); }
  template <class T>
  T* Add(int x, int y, const char* caption) {
    auto* c = new T(form_);
    c->SetBounds(x, y, 140, 20);
    c->SetCaption(caption);
    c->SetParent(form_);
    c->OnClick = [this](TObject*) { ++clicks_; };
    return c;
  }
  void ShowAndSkin() {
    real_input::MouseAt({2, 2}, 0);
    form_->Show();
    list_->SkinFormControls(form_);
    real_input::Settle();
  }
  // The cell a window shows at glyph position x (its middle row); 0 when
  // no cell of the strip matches.
  int CellAt(HWND w, int index, int x) {
    UpdateWindow(w);
    RECT r;
    GetClientRect(w, &r);
    const TColor c = WindowPixel(w, x, r.bottom / 2);
    for (int k = 1; k <= 12; ++k)
      if (c == TestPieceColour(index, k, TTestPiece::Centre)) return k;
    return 0;
  }
  int CheckCell(HWND w) { return CellAt(w, check_index_, 6); }
  int RadioCell(HWND w) { return CellAt(w, radio_index_, 6); }
  static POINT Centre(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return {r.left + 6, (r.top + r.bottom) / 2};
  }
  static bool Skinned(HWND w) { return SendMessageW(w, kSkmIsSkinned, 0, 0) == 1; }
  // The caption area's pixels, to compare looks.
  static std::vector<COLORREF> CaptionPixels(HWND w) {
    UpdateWindow(w);
    RECT r;
    GetClientRect(w, &r);
    std::vector<COLORREF> px;
    for (int y = 0; y < r.bottom; ++y)
      for (int x = 16; x < r.right; x += 1)
        px.push_back(WindowPixel(w, x, y));
    return px;
  }
  bool Twelve() const { return Cells() == 12; }

  bool saved_cues_ = TSkinCheckGlyph::FocusCues;
  TTestSkin skin_;
  int check_index_ = 0, radio_index_ = 0;
  TForm* form_ = nullptr;
  TSkinData* data_ = nullptr;
  std::unique_ptr<TSkinControlList> list_;
  int clicks_ = 0;
};

TEST_P(SkinCheckTest, EveryCheckStateShowsItsCell) {
  struct TRow {
    TCheckBoxState State;
    bool Disabled;
    int Four, Twelve;
  };
  const TRow rows[] = {
      {TCheckBoxState::cbUnchecked, false, 1, 1}, {TCheckBoxState::cbChecked, false, 2, 5},
      {TCheckBoxState::cbGrayed, false, 4, 9},    {TCheckBoxState::cbUnchecked, true, 3, 4},
      {TCheckBoxState::cbChecked, true, 4, 8},    {TCheckBoxState::cbGrayed, true, 4, 12},
  };
  std::vector<TCheckBox*> boxes;
  int y = 10;
  for (const TRow& r : rows) {
    TCheckBox* b = Add<TCheckBox>(10, y, "Box");
    b->SetAllowGrayed(true);
    b->SetState(r.State);
    b->SetEnabled(!r.Disabled);
    boxes.push_back(b);
    y += 24;
  }
  ShowAndSkin();
  for (size_t i = 0; i < boxes.size(); ++i) {
    ASSERT_TRUE(Skinned(boxes[i]->Handle()));
    EXPECT_EQ(CheckCell(boxes[i]->Handle()), Twelve() ? rows[i].Twelve : rows[i].Four) << i;
    // The whole control is the skin's: its face behind the caption.
    EXPECT_EQ(WindowPixel(boxes[i]->Handle(), 136, 1),
              ToColorRef(data_->Content().Colours[kcButtonFace]));
  }
  // A state set by the program shows at once.
  boxes[0]->SetState(TCheckBoxState::cbChecked);
  EXPECT_EQ(CheckCell(boxes[0]->Handle()), Twelve() ? 5 : 2);
}

TEST_P(SkinCheckTest, MouseAndSpaceToggleExactlyOnce) {
  TCheckBox* b = Add<TCheckBox>(10, 10, "Toggle");
  ShowAndSkin();
  const int unchecked = 1, checked = Twelve() ? 5 : 2;
  real_input::MouseAt(Centre(b->Handle()), 0);
  real_input::Settle();
  EXPECT_EQ(CheckCell(b->Handle()), unchecked);  // hot keeps the resting cell
  real_input::MouseAt(Centre(b->Handle()), MOUSEEVENTF_LEFTDOWN);
  real_input::Settle();
  EXPECT_EQ(CheckCell(b->Handle()), unchecked);  // so does pressed
  EXPECT_EQ(clicks_, 0);
  real_input::MouseAt(Centre(b->Handle()), MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return clicks_ > 0; }, 2000));
  real_input::Settle();
  EXPECT_EQ(clicks_, 1);
  EXPECT_TRUE(b->Checked());
  EXPECT_EQ(CheckCell(b->Handle()), checked);
  b->SetFocus();
  real_input::Key(VK_SPACE);
  real_input::Settle();
  EXPECT_EQ(clicks_, 2);
  EXPECT_FALSE(b->Checked());
  EXPECT_EQ(CheckCell(b->Handle()), unchecked);
}

TEST_P(SkinCheckTest, RadioGroupsShowTheirCells) {
  TRadioButton* a = Add<TRadioButton>(10, 10, "A");
  TRadioButton* b = Add<TRadioButton>(10, 40, "B");
  TRadioButton* off = Add<TRadioButton>(10, 70, "Off");
  a->SetChecked(true);
  off->SetEnabled(false);
  ShowAndSkin();
  const int checked = Twelve() ? 5 : 2;
  EXPECT_EQ(RadioCell(a->Handle()), checked);
  EXPECT_EQ(RadioCell(b->Handle()), 1);
  EXPECT_EQ(RadioCell(off->Handle()), Twelve() ? 4 : 3);
  real_input::MouseAt(Centre(b->Handle()), MOUSEEVENTF_LEFTDOWN);
  real_input::Settle();
  real_input::MouseAt(Centre(b->Handle()), MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return clicks_ > 0; }, 2000));
  real_input::Settle();
  EXPECT_EQ(clicks_, 1);
  EXPECT_EQ(RadioCell(b->Handle()), checked);
  EXPECT_EQ(RadioCell(a->Handle()), 1);
  // Disabled and checked.
  off->SetChecked(true);
  EXPECT_EQ(RadioCell(off->Handle()), Twelve() ? 8 : 4);
  EXPECT_EQ(RadioCell(b->Handle()), 1);
}

TEST_P(SkinCheckTest, RightButtonsTransparencyAndFocus) {
  TCheckBox* right = Add<TCheckBox>(10, 10, "Right");
  right->SetAlignment(TLeftRight::taLeftJustify);
  right->SetChecked(true);
  TCheckBox* clear = Add<TCheckBox>(10, 40, "Clear");
  clear->SetTag(5555);
  TCheckBox* focus = Add<TCheckBox>(10, 70, "Focus");
  TCheckBox* empty = Add<TCheckBox>(10, 100, "");
  TEdit* edit = new TEdit(form_);
  edit->SetBounds(10, 140, 100, 22);
  edit->SetParent(form_);
  form_->SetColor(static_cast<TColor>(0x00305070));
  ShowAndSkin();
  EXPECT_EQ(CellAt(right->Handle(), check_index_, 140 - 7), Twelve() ? 5 : 2);
  EXPECT_EQ(CheckCell(right->Handle()), 0);  // nothing at the left edge
  EXPECT_EQ(WindowPixel(clear->Handle(), 136, 1), ToColorRef(form_->Color()));
  EXPECT_EQ(CheckCell(clear->Handle()), 1);
  // On this system no focus rectangle is drawn; with the cues on it is.
  edit->SetFocus();
  real_input::Settle();
  TSkinCheckGlyph::FocusCues = true;
  focus->Invalidate();
  const std::vector<COLORREF> resting = CaptionPixels(focus->Handle());
  const std::vector<COLORREF> empty_resting = CaptionPixels(empty->Handle());
  focus->SetFocus();
  real_input::Settle();
  EXPECT_NE(CaptionPixels(focus->Handle()), resting);
  TSkinCheckGlyph::FocusCues = false;
  focus->Invalidate();
  EXPECT_EQ(CaptionPixels(focus->Handle()), resting);
  TSkinCheckGlyph::FocusCues = true;
  empty->SetFocus();  // an empty caption has no focus rectangle
  real_input::Settle();
  EXPECT_EQ(CaptionPixels(empty->Handle()), empty_resting);
}

TEST_P(SkinCheckTest, DetachingGivesTheControlItsOwnLook) {
  TCheckBox* b = Add<TCheckBox>(10, 10, "Box");
  b->SetChecked(true);
  ShowAndSkin();
  ASSERT_EQ(CheckCell(b->Handle()), Twelve() ? 5 : 2);
  list_->DetachAll();
  b->Invalidate();
  real_input::Settle();
  EXPECT_FALSE(Skinned(b->Handle()));
  EXPECT_EQ(CheckCell(b->Handle()), 0);
  real_input::MouseAt(Centre(b->Handle()), MOUSEEVENTF_LEFTDOWN);
  real_input::Settle();
  real_input::MouseAt(Centre(b->Handle()), MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return clicks_ > 0; }, 2000));
  EXPECT_FALSE(b->Checked());
}

INSTANTIATE_TEST_SUITE_P(Strips, SkinCheckTest, ::testing::Values(4, 12));

// ---- bare windows ---------------------------------------------------------------

int g_clicks = 0;

INT_PTR CALLBACK DialogProc(HWND, UINT msg, WPARAM wparam, LPARAM) {
  if (msg == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
    ++g_clicks;
    return TRUE;
  }
  return msg == WM_INITDIALOG ? TRUE : FALSE;
}

class NativeCheckTest : public SkinCheckTest {
 protected:
  void SetUp() override {
    SkinCheckTest::SetUp();
    g_clicks = 0;
    dialog_ = CreateWindowExW(0, L"#32770", L"Native", WS_POPUP | WS_CAPTION | WS_VISIBLE, 200, 200,
                              360, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(dialog_, nullptr);
    SetWindowLongPtrW(dialog_, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&DialogProc));
    check_ = Child(L"Check", BS_AUTOCHECKBOX | WS_GROUP, 10, 101);
    three_ = Child(L"Three", BS_AUTO3STATE, 40, 102);
    one_ = Child(L"One", BS_AUTORADIOBUTTON | WS_GROUP, 70, 103);
    two_ = Child(L"Two", BS_AUTORADIOBUTTON, 100, 104);
  }
  void TearDown() override {
    list_.reset();
    if (IsWindow(dialog_)) DestroyWindow(dialog_);
    SkinCheckTest::TearDown();
  }
  HWND Child(const wchar_t* text, DWORD style, int y, int id) {
    return CreateWindowExW(0, L"button", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 10, y,
                           140, 20, dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           nullptr, nullptr);
  }
  void ClickOn(HWND w) {
    const int before = g_clicks;
    real_input::MouseAt(Centre(w), MOUSEEVENTF_LEFTDOWN);
    real_input::Settle();
    real_input::MouseAt(Centre(w), MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return g_clicks > before; }, 2000));
    real_input::Settle();
  }
  HWND dialog_ = nullptr, check_ = nullptr, three_ = nullptr, one_ = nullptr, two_ = nullptr;
};

TEST_P(NativeCheckTest, TheGlyphIsDrawnOverBareButtons) {
  SendMessageW(three_, BM_SETCHECK, BST_INDETERMINATE, 0);
  SendMessageW(one_, BM_SETCHECK, BST_CHECKED, 0);
  const LONG_PTR before = GetWindowLongPtrW(check_, GWLP_WNDPROC);
  list_->SkinChildWindows(dialog_);
  list_->SkinChildWindows(dialog_);  // again: nothing twice
  real_input::Settle();
  ASSERT_EQ(list_->Items().size(), 4u);
  const int checked = Twelve() ? 5 : 2;
  EXPECT_EQ(CheckCell(check_), 1);
  EXPECT_EQ(CheckCell(three_), Twelve() ? 9 : 4);
  EXPECT_EQ(RadioCell(one_), checked);
  EXPECT_EQ(RadioCell(two_), 1);
  ClickOn(check_);
  EXPECT_EQ(g_clicks, 1);
  EXPECT_EQ(SendMessageW(check_, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(CheckCell(check_), checked);
  real_input::Key(VK_SPACE);
  real_input::Settle();
  EXPECT_EQ(g_clicks, 2);
  EXPECT_EQ(SendMessageW(check_, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(CheckCell(check_), 1);
  ClickOn(two_);
  EXPECT_EQ(RadioCell(two_), checked);
  EXPECT_EQ(RadioCell(one_), 1);
  EnableWindow(one_, FALSE);
  EXPECT_EQ(RadioCell(one_), Twelve() ? 4 : 3);
  list_->DetachAll();
  EXPECT_EQ(GetWindowLongPtrW(check_, GWLP_WNDPROC), before);
  EXPECT_FALSE(Skinned(check_));
}

INSTANTIATE_TEST_SUITE_P(Strips, NativeCheckTest, ::testing::Values(4, 12));

// ---- unusable strips -------------------------------------------------------------

class BadStripTest : public SkinCheckTest {
 protected:
  void SetUp() override {}
};

TEST_P(BadStripTest, MissingOrTooManyCellsLeaveTheNativeLook) {
  TTestSkin skin = MakeTestSkin();
  if (GetParam() == 0)
    EditIni(skin, "CheckButton=check.bmp", "CheckButtonGone=check.bmp");
  else
    EditIni(skin, "[Buttons]", "[Buttons]\r\nCheckButtonFrame=1000000\r\nRadioButtonFrame=-4");
  Load(std::move(skin));
  if (HasFailure()) return;
  TCheckBox* b = Add<TCheckBox>(10, 10, "Native");
  b->SetChecked(true);
  TRadioButton* r = Add<TRadioButton>(10, 40, "Radio");
  ShowAndSkin();
  b->SetEnabled(false);
  real_input::Settle();
  EXPECT_EQ(CheckCell(b->Handle()), 0);
  // The native look paints the caption (not the skin's face everywhere).
  const std::vector<COLORREF> px = CaptionPixels(b->Handle());
  bool varied = false;
  for (COLORREF c : px)
    varied = varied || c != px.front();
  EXPECT_TRUE(varied);
  if (GetParam() == 1) {
    EXPECT_EQ(RadioCell(r->Handle()), 1);  // a negative count: one cell
  }
}

INSTANTIATE_TEST_SUITE_P(Skins, BadStripTest, ::testing::Values(0, 1));

}  // namespace
