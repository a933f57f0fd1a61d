// Push buttons wearing the test skin, with real windows and real input in a
// virtual desktop: which [Buttons] frame each state shows (read back from
// the screen and identified by the test skin's piece colours), clicks that
// reach the application exactly once, capture loss, detaching and
// destruction, and the bare child windows of a native dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "engine/skin_stream.h"
#include "engine_controls/control_list.h"
#include "engine_controls/skin_button.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_messages.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "real_input.h"
#include "test_skin.h"
#include "window_probe.h"

namespace {

using window_probe::PumpUntil;
using window_probe::WindowPixel;

class TFancyButton : public TButton {
  MV_CLASS(TFancyButton, TButton)
 public:
  using TButton::TButton;
};

class SkinButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallSystemColourResolver();
    skin_ = MakeTestSkin();
    button_index_ = skin_.Find("button.bmp")->Index;
    form_ = new TForm(Application);
    form_->SetBounds(100, 100, 420, 300);
    data_ = new TSkinData(form_);
    data_->BeginReading();
    ASSERT_TRUE(data_->ReadSkinStream(WriteSkinStream(skin_.Package())));
    ASSERT_FALSE(data_->SkinEmpty());
    list_ = std::make_unique<TSkinControlList>(data_);
  }
  void TearDown() override {
    list_.reset();
    form_->Free();
    PumpUntil([] { return false; }, 20);
  }
  TButton* AddButton(int x, const char* caption, TButton* b = nullptr) {
    if (!b) b = new TButton(form_);
    b->SetBounds(x, 20, 90, 30);
    b->SetCaption(caption);
    b->SetParent(form_);
    b->OnClick = [this](TObject*) { ++clicks_; };
    return b;
  }
  void ShowAndSkin() {
    // No button starts under the cursor (an earlier test may have left it
    // where this one places a button).
    real_input::MouseAt({2, 2}, 0);
    form_->Show();
    list_->SkinFormControls(form_);
    real_input::Settle();
  }
  // The frame of the [Buttons] strip a window shows, from a pixel of its
  // left edge piece (the caption never reaches it); 0 when none matches.
  int FrameShown(HWND w) {
    UpdateWindow(w);
    const TColor c = WindowPixel(w, 1, 15);
    for (int k = 1; k <= 5; ++k)
      if (c == TestPieceColour(button_index_, k, TTestPiece::Left)) return k;
    return 0;
  }
  static POINT Centre(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  static bool Skinned(HWND w) { return SendMessageW(w, kSkmIsSkinned, 0, 0) == 1; }

  TTestSkin skin_;
  int button_index_ = 0;
  TForm* form_ = nullptr;
  TSkinData* data_ = nullptr;
  std::unique_ptr<TSkinControlList> list_;
  int clicks_ = 0;
};

TEST_F(SkinButtonTest, EveryStateShowsItsFrame) {
  TButton* plain = AddButton(10, "Plain");
  TButton* def = AddButton(110, "Default");
  def->SetDefault(true);
  TButton* off = AddButton(210, "Off");
  off->SetEnabled(false);
  TEdit* edit = new TEdit(form_);
  edit->SetBounds(10, 80, 100, 22);
  edit->SetParent(form_);
  ShowAndSkin();
  edit->SetFocus();
  real_input::Settle();
  EXPECT_EQ(FrameShown(plain->Handle()), 1);
  EXPECT_EQ(FrameShown(def->Handle()), 5);  // the default button
  EXPECT_EQ(FrameShown(off->Handle()), 3);
  plain->SetFocus();
  real_input::Settle();
  EXPECT_EQ(FrameShown(plain->Handle()), 5);  // focused
  // The focused push button shows the default look meanwhile.
  EXPECT_EQ(FrameShown(def->Handle()), 1);
  real_input::MouseAt(Centre(plain->Handle()), 0);
  ASSERT_TRUE(PumpUntil([&] { return FrameShown(plain->Handle()) == 4; }, 2000));  // hot
  // Disabled wins over hot.
  real_input::MouseAt(Centre(off->Handle()), 0);
  real_input::Settle();
  EXPECT_EQ(FrameShown(off->Handle()), 3);
  real_input::MouseAt(Centre(plain->Handle()), MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return FrameShown(plain->Handle()) == 2; }, 2000));  // pressed
  real_input::MouseAt(Centre(plain->Handle()), MOUSEEVENTF_LEFTUP);
  real_input::Settle();
  EXPECT_EQ(clicks_, 1);
  // Leaving clears hot.
  real_input::MouseAt({5, 5}, 0);
  ASSERT_TRUE(PumpUntil([&] { return FrameShown(plain->Handle()) == 5; }, 2000));
  // Switched off the button looks native; switched on it is skinned at once.
  SendMessageW(plain->Handle(), kSkmSetActive, 0, 0);
  plain->Invalidate();
  real_input::Settle();
  EXPECT_EQ(FrameShown(plain->Handle()), 0);
  SendMessageW(plain->Handle(), kSkmSetActive, 1, 0);
  EXPECT_EQ(FrameShown(plain->Handle()), 5);
}

TEST_F(SkinButtonTest, ClicksByMouseAndKeyboardArriveOnce) {
  TButton* ok = AddButton(10, "OK");
  ShowAndSkin();
  ASSERT_TRUE(Skinned(ok->Handle()));
  real_input::MouseAt(Centre(ok->Handle()), MOUSEEVENTF_LEFTDOWN);
  real_input::Settle();
  EXPECT_EQ(GetFocus(), ok->Handle());  // a press focuses the button
  real_input::MouseAt(Centre(ok->Handle()), MOUSEEVENTF_LEFTUP);
  real_input::Settle();
  EXPECT_EQ(clicks_, 1);
  real_input::Key(VK_SPACE);
  EXPECT_EQ(clicks_, 2);
  // A release outside the button still clicks: the press belongs to it.
  real_input::MouseAt(Centre(ok->Handle()), MOUSEEVENTF_LEFTDOWN);
  real_input::Settle();
  real_input::MouseAt({Centre(ok->Handle()).x + 200, Centre(ok->Handle()).y + 100},
                      MOUSEEVENTF_LEFTUP);
  real_input::Settle();
  EXPECT_EQ(clicks_, 3);
}

TEST_F(SkinButtonTest, DefaultAndCancelButtonsAnswerEnterAndEscape) {
  TButton* ok = AddButton(10, "OK");
  ok->SetDefault(true);
  TButton* cancel = AddButton(110, "Cancel");
  cancel->SetCancel(true);
  int cancels = 0;
  cancel->OnClick = [&](TObject*) { ++cancels; };
  TEdit* edit = new TEdit(form_);
  edit->SetBounds(10, 80, 100, 22);
  edit->SetParent(form_);
  ShowAndSkin();
  edit->SetFocus();
  real_input::Settle();
  real_input::Key(VK_RETURN);
  EXPECT_EQ(clicks_, 1);
  real_input::Key(VK_ESCAPE);
  EXPECT_EQ(cancels, 1);
  EXPECT_EQ(clicks_, 1);
}

TEST_F(SkinButtonTest, LosingTheCaptureCancelsThePressWithoutAClick) {
  TButton* b = AddButton(10, "Press");
  ShowAndSkin();
  for (UINT cancel : {static_cast<UINT>(WM_CANCELMODE), static_cast<UINT>(WM_CAPTURECHANGED)}) {
    real_input::MouseAt(Centre(b->Handle()), MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(PumpUntil([&] { return FrameShown(b->Handle()) == 2; }, 2000));
    EXPECT_EQ(GetCapture(), b->Handle());
    if (cancel == WM_CANCELMODE)
      SendMessageW(b->Handle(), WM_CANCELMODE, 0, 0);
    else
      SetCapture(form_->Handle());  // someone else takes the mouse
    real_input::Settle();
    EXPECT_NE(FrameShown(b->Handle()), 2);
    real_input::MouseAt(Centre(b->Handle()), MOUSEEVENTF_LEFTUP);
    real_input::Settle();
    ReleaseCapture();
    EXPECT_EQ(clicks_, 0) << cancel;
  }
}

TEST_F(SkinButtonTest, DetachingGivesBackHandlerColourAndBackground) {
  TButton* b = AddButton(10, "Colour");
  b->SetColor(clRed);
  b->SetParentBackground(true);
  struct TMarker {
    TWndMethod Old;
    void operator()(TMessage& m) const { Old(m); }
  };
  b->WindowProc = TMarker{b->WindowProc};
  form_->Show();
  auto* s = new TSkinButton(b);
  s->AttachControl(list_.get(), data_, true, list_->Canvas());
  s->AttachControl(list_.get(), data_, true, list_->Canvas());  // a second call does nothing
  ASSERT_EQ(list_->Items().size(), 1u);
  EXPECT_EQ(b->Color(), data_->Content().Colours[kcButtonFace]);
  EXPECT_FALSE(b->ParentBackground());
  EXPECT_TRUE(Skinned(b->Handle()));
  list_->DetachAll();
  EXPECT_TRUE(list_->Items().empty());
  EXPECT_EQ(b->Color(), static_cast<TColor>(clRed));
  EXPECT_TRUE(b->ParentBackground());
  EXPECT_NE(b->WindowProc.target<TMarker>(), nullptr);
  EXPECT_FALSE(Skinned(b->Handle()));
}

TEST_F(SkinButtonTest, TheControlPassAttachesOnceAndHonoursTagsAndKeywords) {
  TButton* plain = AddButton(10, "Plain");
  TButton* tagged = AddButton(110, "Tagged");
  tagged->SetTag(data_->DisableTag());
  auto* group = new TRadioGroup(form_);
  group->SetBounds(10, 80, 200, 100);
  group->SetParent(form_);
  group->SetTag(data_->DisableTag());
  auto* inner = new TButton(form_);
  inner->SetBounds(10, 40, 80, 25);
  inner->SetParent(group);
  TButton* fancy = AddButton(210, "Fancy", new TFancyButton(form_));
  data_->SetSkin3rd({"TFancyButton=menubtn", "TButtonX=nil"});
  ShowAndSkin();
  list_->SkinFormControls(form_);  // twice: nothing attached twice
  EXPECT_TRUE(Skinned(plain->Handle()));
  EXPECT_FALSE(Skinned(tagged->Handle()));
  EXPECT_FALSE(Skinned(inner->Handle()));
  EXPECT_EQ(inner->Tag(), 0);  // the application's Tag is left alone
  ASSERT_NE(list_->FindControl(fancy), nullptr);
  EXPECT_NE(dynamic_cast<TSkinMenuButton*>(list_->FindControl(fancy)), nullptr);
  EXPECT_EQ(list_->Items().size(), 2u);
  data_->SetSkin3rd({"TFancyButton=nil"});
  list_->DetachAll();
  list_->SkinFormControls(form_);
  EXPECT_EQ(list_->FindControl(fancy), nullptr);
  // A control freed while skinned takes its skinner with it.
  plain->Free();
  EXPECT_EQ(list_->Items().size(), 0u);
}

TEST_F(SkinButtonTest, SpeedAndBitButtonsWearTheStripToo) {
  auto speed = [&](int x, bool flat, bool down) {
    auto* b = new TSpeedButton(form_);
    b->SetBounds(x, 120, 40, 30);
    b->SetFlat(flat);
    b->SetGroupIndex(down ? 1 : 0);
    b->SetDown(down);
    b->SetParent(form_);
    return b;
  };
  TSpeedButton* raised = speed(10, false, false);
  TSpeedButton* flat = speed(60, true, false);
  TSpeedButton* down = speed(110, true, true);
  auto* bit = new TBitBtn(form_);
  bit->SetBounds(10, 20, 90, 30);
  bit->SetCaption("Bit");
  bit->SetParent(form_);
  ShowAndSkin();
  ASSERT_NE(list_->FindControl(raised), nullptr);
  // A windowless button is painted on its parent: read the parent's pixels.
  auto frame_at = [&](TControl* c) {
    UpdateWindow(form_->Handle());
    HDC dc = GetDC(form_->Handle());
    const TColor px = GetPixel(dc, c->Left() + 1, c->Top() + 15);
    ReleaseDC(form_->Handle(), dc);
    for (int k = 1; k <= 5; ++k)
      if (px == TestPieceColour(button_index_, k, TTestPiece::Left)) return k;
    return 0;
  };
  EXPECT_EQ(frame_at(raised), 1);
  EXPECT_EQ(frame_at(flat), 0);  // a flat button shows no face until hovered
  EXPECT_EQ(frame_at(down), 2);
  POINT p = flat->ClientToScreen({20, 15});
  real_input::MouseAt(p, 0);
  ASSERT_TRUE(PumpUntil([&] { return frame_at(flat) == 4; }, 2000));
  EXPECT_EQ(FrameShown(bit->Handle()), 1);
}

TEST_F(SkinButtonTest, TheApplicationsChoiceComesFirst) {
  TButton* mine = AddButton(10, "Mine");
  TButton* refused = AddButton(110, "Refused");
  TEdit* edit = new TEdit(form_);
  edit->SetBounds(10, 80, 100, 22);
  edit->SetParent(form_);
  TComponent* junk = new TComponent(form_);
  std::vector<std::string> asked;
  data_->OnSkinControl = [&](TComponent*, TSkinData*, TControl* container, TControl* control,
                             const std::string& cls, TComponent*& made) {
    asked.push_back(cls + (container == form_ ? " form" : " other"));
    if (control == edit) made = new TSkinButton(edit);  // an edit wearing a button's look
    if (control == refused) made = junk;                // not a skinner: nothing at all
  };
  ShowAndSkin();
  EXPECT_NE(dynamic_cast<TSkinButton*>(list_->FindControl(edit)), nullptr);
  EXPECT_TRUE(Skinned(edit->Handle()));
  EXPECT_TRUE(Skinned(mine->Handle()));
  EXPECT_FALSE(Skinned(refused->Handle()));
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked.front(), "TBUTTON form");
}

// ---- bare windows -------------------------------------------------------------------

int g_commands = 0;
int g_last_id = 0;

INT_PTR CALLBACK DialogProc(HWND, UINT msg, WPARAM wparam, LPARAM) {
  if (msg == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
    ++g_commands;
    g_last_id = LOWORD(wparam);
    return TRUE;
  }
  return msg == WM_INITDIALOG ? TRUE : FALSE;
}

LRESULT CALLBACK OnTopProc(HWND w, UINT msg, WPARAM wparam, LPARAM lparam);
WNDPROC g_below_on_top = nullptr;
int g_on_top_seen = 0;
LRESULT CALLBACK OnTopProc(HWND w, UINT msg, WPARAM wparam, LPARAM lparam) {
  ++g_on_top_seen;
  return CallWindowProcW(g_below_on_top, w, msg, wparam, lparam);
}

class NativeButtonTest : public SkinButtonTest {
 protected:
  void SetUp() override {
    SkinButtonTest::SetUp();
    g_commands = 0;
    g_last_id = 0;
    // A dialog of its own class with native children.
    dialog_ = CreateWindowExW(0, L"#32770", L"Native", WS_POPUP | WS_CAPTION | WS_VISIBLE, 200, 200,
                              360, 160, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(dialog_, nullptr);
    SetWindowLongPtrW(dialog_, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&DialogProc));
    push_ = Child(L"Push", BS_PUSHBUTTON, 10, 101);
    check_ = Child(L"Check", BS_AUTOCHECKBOX, 110, 102);
    link_ = Child(L"Link", 0xE /* command link */, 210, 103);
  }
  void TearDown() override {
    list_.reset();
    if (IsWindow(dialog_)) DestroyWindow(dialog_);
    SkinButtonTest::TearDown();
  }
  HWND Child(const wchar_t* text, DWORD style, int x, int id) {
    return CreateWindowExW(0, L"button", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, 20,
                           90, 30, dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           nullptr, nullptr);
  }
  HWND dialog_ = nullptr, push_ = nullptr, check_ = nullptr, link_ = nullptr;
};

TEST_F(NativeButtonTest, DialogChildrenAreSkinnedAsBareWindows) {
  const LONG_PTR before = GetWindowLongPtrW(push_, GWLP_WNDPROC);
  list_->SkinChildWindows(dialog_);
  list_->SkinChildWindows(dialog_);  // again: nothing twice
  real_input::Settle();
  EXPECT_TRUE(Skinned(push_));
  EXPECT_FALSE(Skinned(link_));  // command links keep their own look
  EXPECT_TRUE(Skinned(check_));  // by the check-box family
  EXPECT_EQ(FrameShown(push_), 1);
  EXPECT_EQ(list_->Items().size(), 2u);
  real_input::MouseAt(Centre(push_), MOUSEEVENTF_LEFTDOWN);
  real_input::Settle();
  real_input::MouseAt(Centre(push_), MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([] { return g_commands > 0; }, 2000));
  real_input::Settle();
  EXPECT_EQ(g_commands, 1);
  EXPECT_EQ(g_last_id, 101);
  SetFocus(push_);
  real_input::Key(VK_SPACE);
  EXPECT_EQ(g_commands, 2);
  list_->DetachAll();
  EXPECT_EQ(GetWindowLongPtrW(push_, GWLP_WNDPROC), before);
  EXPECT_FALSE(Skinned(push_));
}

TEST_F(NativeButtonTest, AnotherSubclassOnTopSurvivesOurDetach) {
  list_->SkinChildWindows(dialog_);
  ASSERT_TRUE(Skinned(push_));
  g_below_on_top = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(push_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OnTopProc)));
  list_->DetachAll();
  EXPECT_EQ(GetWindowLongPtrW(push_, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&OnTopProc));
  g_on_top_seen = 0;
  SetWindowTextW(push_, L"Still");
  EXPECT_GT(g_on_top_seen, 0);
  EXPECT_FALSE(Skinned(push_));  // ours only passes messages on now
  wchar_t text[16] = {};
  GetWindowTextW(push_, text, 16);
  EXPECT_STREQ(text, L"Still");
  SetWindowLongPtrW(push_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_below_on_top));
}

TEST_F(NativeButtonTest, ADestroyedButtonIsFreedAtTheNextPass) {
  list_->SkinChildWindows(dialog_);
  ASSERT_EQ(list_->Items().size(), 2u);  // the push button and the check box
  TSkinControl* s = list_->Find(push_);
  ASSERT_NE(s, nullptr);
  DestroyWindow(push_);
  EXPECT_EQ(s->LifeState, TSkinControl::kWindowGone);
  list_->Purge();
  ASSERT_EQ(list_->Items().size(), 1u);
  EXPECT_EQ(list_->Items()[0]->Handle, check_);
  DestroyWindow(dialog_);
  list_->DetachAll();  // nothing left to touch
}

}  // namespace
