// Scroll bars wearing the test skin, with real windows and real input in a
// virtual desktop: the overlays cover the native bars and show the skin's
// cells, arrow, page, thumb and wheel input scrolls a skinned control
// exactly as an unskinned twin, the overlays follow the native position,
// presses still land after the form moved, overlays hide and return with
// their bars, the corner square, detaching, a re-created window, and a
// combo box list dragging its own thumb.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/skin_stream.h"
#include "engine_controls/control_list.h"
#include "engine_controls/skin_scrollbar.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_form.h"
#include "engine_win/skin_messages.h"
#include "framework/comctrls.h"
#include "framework/forms.h"
#include "framework/grids.h"
#include "framework/stdctrls.h"
#include "real_input.h"
#include "skinned_form.h"
#include "test_skin.h"
#include "window_probe.h"

namespace {

using window_probe::PumpUntil;
using window_probe::WindowPixel;

SCROLLBARINFO NativeBar(HWND w, LONG object) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(w, object, &info);
  return info;
}

// Queues a press and its release (and moves between) in one go: the
// native bar's tracking runs inside the press and returns on the release.
void Click(POINT down, POINT up) {
  INPUT in[3] = {real_input::MouseInput(down, MOUSEEVENTF_LEFTDOWN), real_input::MouseInput(up, 0),
                 real_input::MouseInput(up, MOUSEEVENTF_LEFTUP)};
  SendInput(3, in, sizeof(INPUT));
  real_input::Settle(20);
}

void Wheel(POINT at, int clicks) {
  INPUT in = real_input::MouseInput(at, MOUSEEVENTF_WHEEL);
  in.mi.mouseData = static_cast<DWORD>(-clicks * WHEEL_DELTA);
  SendInput(1, &in, sizeof in);
  real_input::Settle(20);
}

enum class TInput { Arrow, Page, Thumb, Wheel };

class SkinScrollbarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallSystemColourResolver();
    skin_ = MakeTestSkin();
    form_ = new TForm(Application);
    form_->SetBounds(60, 60, 620, 460);
    data_ = new TSkinData(form_);
    data_->BeginReading();
    ASSERT_TRUE(data_->ReadSkinStream(WriteSkinStream(skin_.Package())));
    list_ = std::make_unique<TSkinControlList>(data_);
    real_input::MouseAt({2, 2}, 0);
  }
  void TearDown() override {
    list_.reset();
    if (form_) form_->Free();
    PumpUntil([] { return false; }, 20);
  }
  int Index(const char* member) const { return skin_.Find(member)->Index; }
  COLORREF Piece(const char* member, int frame, TTestPiece piece = TTestPiece::Centre) const {
    return ToColorRef(TestPieceColour(Index(member), frame, piece));
  }
  COLORREF Face() const { return ToColorRef(data_->Content().Colours[kcButtonFace]); }
  template <class T>
  T* Add(int x, int y, int w, int h) {
    auto* c = new T(form_);
    c->SetBounds(x, y, w, h);
    c->SetParent(form_);
    return c;
  }
  void ShowAndSkin() {
    form_->Show();
    list_->SkinFormControls(form_);
    real_input::Settle();
  }
  TSkinScrollbar* Skinner(TWinControl* c) {
    return dynamic_cast<TSkinScrollbar*>(list_->Find(c->Handle()));
  }
  TWScrollbar* VBar(TWinControl* c) {
    TSkinScrollbar* s = Skinner(c);
    return s ? s->VertBar.get() : nullptr;
  }
  static bool Visible(TWScrollbar* bar) { return bar && IsWindowVisible(bar->Window()); }
  // A point on a part of a window's native vertical bar, in screen
  // coordinates.
  static POINT PartPoint(HWND w, TInput part) {
    const SCROLLBARINFO b = NativeBar(w, OBJID_VSCROLL);
    const int x = (b.rcScrollBar.left + b.rcScrollBar.right) / 2;
    const int a = GetSystemMetrics(SM_CXHSCROLL);
    switch (part) {
      case TInput::Arrow:
        return {x, b.rcScrollBar.bottom - a / 2};
      case TInput::Page:
        return {x, b.rcScrollBar.top +
                       (b.xyThumbBottom + b.rcScrollBar.bottom - b.rcScrollBar.top - a) / 2};
      default:
        return {x, b.rcScrollBar.top + (b.xyThumbTop + b.xyThumbBottom) / 2};
    }
  }
  static void Act(HWND w, TInput input) {
    const POINT p = PartPoint(w, input);
    if (input == TInput::Wheel) {
      SetFocus(w);
      RECT r;
      GetWindowRect(w, &r);
      Wheel({(r.left + r.right) / 2 - 20, (r.top + r.bottom) / 2}, 2);
    } else {
      Click(p, input == TInput::Thumb ? POINT{p.x, p.y + 40} : p);
    }
    real_input::MouseAt({2, 2}, 0);
    real_input::Settle();
  }
  // The overlay repainted, then its thumb compared with the native one and
  // its pixels with the skin's cells.
  void ExpectOverlayFollows(TWinControl* c) {
    TWScrollbar* bar = VBar(c);
    ASSERT_TRUE(Visible(bar));
    RedrawWindow(bar->Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const SCROLLBARINFO n = NativeBar(c->Handle(), OBJID_VSCROLL);
    EXPECT_EQ(bar->ThumbStart, n.xyThumbTop);
    EXPECT_EQ(bar->ThumbEnd, n.xyThumbBottom);
    RECT r;
    GetWindowRect(bar->Window(), &r);
    EXPECT_EQ(r.left, n.rcScrollBar.left);
    EXPECT_EQ(r.top, n.rcScrollBar.top);
    EXPECT_EQ(r.bottom, n.rcScrollBar.bottom);
    HWND o = bar->Window();
    const int h = r.bottom - r.top;
    // The mouse left the overlay; its leave notice comes late.
    EXPECT_TRUE(PumpUntil([&] { return bar->HotPart == kScrollPartNone; }, 1000));
    RedrawWindow(o, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(WindowPixel(o, 8, 8), Piece("scrollbar.bmp", 9));       // up arrow
    EXPECT_EQ(WindowPixel(o, 8, h - 8), Piece("scrollbar.bmp", 13));  // down arrow
    EXPECT_EQ(WindowPixel(o, 8, n.xyThumbTop + 1), Piece("vthumb.bmp", 1, TTestPiece::Top));
  }

  TTestSkin skin_;
  TForm* form_ = nullptr;
  TSkinData* data_ = nullptr;
  std::unique_ptr<TSkinControlList> list_;
};

// Each scrolling control twice: one skinned, one left native by its Tag.
struct TScrollingKind {
  const char* Name;
  std::function<TWinControl*(TForm*)> Make;
};

TWinControl* MakeMemo(TForm* form) {
  auto* m = new TMemo(form);
  m->SetScrollBars(TScrollStyle::ssVertical);
  std::string text;
  for (int i = 0; i < 80; ++i)
    text += "Line " + std::to_string(i) + "\r\n";
  m->SetParent(form);
  m->Lines()->SetText(text);
  return m;
}

TWinControl* MakeListBox(TForm* form) {
  auto* l = new TListBox(form);
  l->SetParent(form);
  for (int i = 0; i < 80; ++i)
    l->Items()->Add("Item " + std::to_string(i));
  return l;
}

TWinControl* MakeTreeView(TForm* form) {
  auto* t = new TTreeView(form);
  t->SetParent(form);
  for (int i = 0; i < 80; ++i)
    t->Items()->AddChild(nullptr, "Node " + std::to_string(i));
  return t;
}

TWinControl* MakeListView(TForm* form) {
  auto* v = new TListView(form);
  v->SetParent(form);
  v->AddColumn("Element", 120);
  for (int i = 0; i < 80; ++i)
    v->AddItem("Element " + std::to_string(i), {std::to_string(i)});
  return v;
}

class ScrollingControlTest : public SkinScrollbarTest,
                             public ::testing::WithParamInterface<TScrollingKind> {};

TEST_P(ScrollingControlTest, InputScrollsAsTheNativeTwinAndTheOverlayFollows) {
  TWinControl* skinned = GetParam().Make(form_);
  skinned->SetBounds(20, 20, 200, 220);
  TWinControl* native = GetParam().Make(form_);
  native->SetBounds(300, 20, 200, 220);
  native->SetTag(data_->DisableTag());
  ShowAndSkin();
  ASSERT_NE(Skinner(skinned), nullptr);
  ASSERT_EQ(list_->Find(native->Handle()), nullptr);
  ExpectOverlayFollows(skinned);
  for (TInput input : {TInput::Arrow, TInput::Page, TInput::Thumb, TInput::Wheel}) {
    const int before = GetScrollPos(skinned->Handle(), SB_VERT);
    Act(skinned->Handle(), input);
    Act(native->Handle(), input);
    const int after = GetScrollPos(skinned->Handle(), SB_VERT);
    EXPECT_GT(after, before) << static_cast<int>(input);
    EXPECT_EQ(after, GetScrollPos(native->Handle(), SB_VERT)) << static_cast<int>(input);
    // No part stays highlighted after the scroll ended.
    ExpectOverlayFollows(skinned);
  }
}

INSTANTIATE_TEST_SUITE_P(Controls, ScrollingControlTest,
                         ::testing::Values(TScrollingKind{"Memo", MakeMemo},
                                           TScrollingKind{"ListBox", MakeListBox},
                                           TScrollingKind{"TreeView", MakeTreeView},
                                           TScrollingKind{"ListView", MakeListView}),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST_F(SkinScrollbarTest, PressesLandWhereTheBarIsAfterTheFormMoved) {
  TWinControl* memo = MakeMemo(form_);
  memo->SetBounds(20, 20, 200, 220);
  ShowAndSkin();
  Act(memo->Handle(), TInput::Arrow);
  const int one = GetScrollPos(memo->Handle(), SB_VERT);
  ASSERT_GT(one, 0);
  form_->SetBounds(form_->Left() + 90, form_->Top() + 70, form_->Width(), form_->Height());
  real_input::Settle();
  Act(memo->Handle(), TInput::Arrow);
  EXPECT_EQ(GetScrollPos(memo->Handle(), SB_VERT), 2 * one);
  ExpectOverlayFollows(memo);
}

TEST_F(SkinScrollbarTest, OverlayHidesWithItsBarAndReturns) {
  auto* box = static_cast<TListBox*>(MakeListBox(form_));
  box->SetBounds(20, 20, 200, 200);
  ShowAndSkin();
  TWScrollbar* bar = VBar(box);
  ASSERT_TRUE(Visible(bar));
  box->Items()->Clear();
  EXPECT_TRUE(PumpUntil([&] { return !Visible(bar); }, 2000));
  EXPECT_FALSE(bar->Showing);
  for (int i = 0; i < 40; ++i)
    box->Items()->Add("Again " + std::to_string(i));
  EXPECT_TRUE(PumpUntil([&] { return Visible(bar); }, 2000));
  ExpectOverlayFollows(box);
  // A hidden control hides its overlays; shown again, they return.
  box->Hide();
  EXPECT_TRUE(PumpUntil([&] { return !Visible(bar); }, 2000));
  box->Show();
  EXPECT_TRUE(PumpUntil([&] { return Visible(bar); }, 2000));
  // Switched off, the control shows its native bar; on again, the skin's.
  SendMessageW(box->Handle(), kSkmSetActive, 0, 0);
  EXPECT_FALSE(Visible(bar));
  SendMessageW(box->Handle(), kSkmSetActive, 1, 0);
  EXPECT_TRUE(Visible(bar));
}

TEST_F(SkinScrollbarTest, AMemoThatNoLongerScrollsShowsTheDisabledShaft) {
  auto* memo = static_cast<TMemo*>(MakeMemo(form_));
  memo->SetBounds(20, 20, 200, 200);
  ShowAndSkin();
  TWScrollbar* bar = VBar(memo);
  ASSERT_TRUE(Visible(bar));
  const int middle = 100;
  auto shaft_at_middle = [&] {
    RedrawWindow(bar->Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return WindowPixel(bar->Window(), 8, middle);
  };
  // An edit control keeps its bar when everything fits, disabled.
  memo->Lines()->SetText("short");
  real_input::Settle();
  ASSERT_TRUE(NativeBar(memo->Handle(), OBJID_VSCROLL).rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  EXPECT_TRUE(Visible(bar));
  EXPECT_EQ(shaft_at_middle(), Piece("vscroll.bmp", 3));
  EXPECT_EQ(WindowPixel(bar->Window(), 8, 17 + 1),
            Piece("vscroll.bmp", 3, TTestPiece::Top));  // no thumb
  std::string text;
  for (int i = 0; i < 80; ++i)
    text += "Back " + std::to_string(i) + "\r\n";
  memo->Lines()->SetText(text);
  real_input::Settle();
  EXPECT_EQ(WindowPixel(bar->Window(), 8, 17 + 1), Piece("vthumb.bmp", 1, TTestPiece::Top));
  EXPECT_EQ(shaft_at_middle(), Piece("vscroll.bmp", 1));
}

TEST_F(SkinScrollbarTest, TheMouseLightsThePartUnderIt) {
  TWinControl* memo = MakeMemo(form_);
  memo->SetBounds(20, 20, 200, 200);
  ShowAndSkin();
  TWScrollbar* bar = VBar(memo);
  ASSERT_TRUE(Visible(bar));
  HWND o = bar->Window();
  auto pixel = [&](int y) {
    RedrawWindow(o, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return WindowPixel(o, 8, y);
  };
  const int bottom = bar->Length - 8;
  real_input::MouseAt(PartPoint(memo->Handle(), TInput::Arrow), 0);
  ASSERT_TRUE(PumpUntil([&] { return bar->HotPart == kScrollLastArrow; }, 1000));
  EXPECT_EQ(pixel(bottom), Piece("scrollbar.bmp", 16));
  EXPECT_EQ(pixel(8), Piece("scrollbar.bmp", 9));
  real_input::MouseAt(PartPoint(memo->Handle(), TInput::Thumb), 0);
  ASSERT_TRUE(PumpUntil([&] { return bar->HotPart == kScrollThumb; }, 1000));
  EXPECT_EQ(pixel(bar->ThumbStart + 1), Piece("vthumb.bmp", 3, TTestPiece::Top));
  EXPECT_EQ(pixel(bottom), Piece("scrollbar.bmp", 13));
  real_input::MouseAt({2, 2}, 0);
  ASSERT_TRUE(PumpUntil([&] { return bar->HotPart == kScrollPartNone; }, 1000));
  EXPECT_EQ(pixel(bar->ThumbStart + 1), Piece("vthumb.bmp", 1, TTestPiece::Top));
  // A leave notice that comes during a press (a thumb drag) is not lost:
  // when the press ends the part is taken from where the cursor is.
  real_input::MouseAt(PartPoint(memo->Handle(), TInput::Thumb), 0);
  ASSERT_TRUE(PumpUntil([&] { return bar->HotPart == kScrollThumb; }, 1000));
  bar->Pressed = true;
  SendMessageW(o, WM_MOUSELEAVE, 0, 0);
  real_input::MouseAt({2, 2}, 0);
  SendMessageW(o, WM_LBUTTONUP, 0, MAKELPARAM(8, 8));
  EXPECT_EQ(bar->HotPart, kScrollPartNone);
  EXPECT_EQ(pixel(bar->ThumbStart + 1), Piece("vthumb.bmp", 1, TTestPiece::Top));
}

using skinned_form::EditIni;

TEST_F(SkinScrollbarTest, UnusableStripsLeaveTheNativeBarsInSight) {
  for (int variant = 0; variant < 3; ++variant) {
    TTestSkin skin = MakeTestSkin();
    if (variant == 0) EditIni(skin, "Image=scrollbar.bmp", "Gone=scrollbar.bmp");
    if (variant == 1)  // narrower than its 23 cells
      for (TSkinFileEntry& m : skin.Members)
        if (m.Name == "scrollbar.bmp") m.Bytes = EncodeBmp(TPixmap(10, 17, 24));
    if (variant == 2) EditIni(skin, "Image=vthumb.bmp", "Gone=vthumb.bmp");
    auto* data = new TSkinData(form_);
    data->BeginReading();
    ASSERT_TRUE(data->ReadSkinStream(WriteSkinStream(skin.Package())));
    TSkinControlList list(data);
    TWinControl* memo = MakeMemo(form_);
    memo->SetBounds(20, 20, 200, 200);
    form_->Show();
    list.SkinFormControls(form_);
    real_input::Settle();
    auto* s = dynamic_cast<TSkinScrollbar*>(list.Find(memo->Handle()));
    ASSERT_NE(s, nullptr) << variant;
    TWScrollbar* bar = s->VertBar.get();
    if (variant < 2) {
      EXPECT_FALSE(Visible(bar)) << variant;
      Act(memo->Handle(), TInput::Arrow);  // the native bar takes the press
      EXPECT_EQ(GetScrollPos(memo->Handle(), SB_VERT), 1) << variant;
    } else {
      // Without a thumb element the bar is drawn without its thumb.
      ASSERT_TRUE(Visible(bar));
      RedrawWindow(bar->Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      EXPECT_EQ(WindowPixel(bar->Window(), 8, 17 + 1),
                ToColorRef(TestPieceColour(Index("vscroll.bmp"), 1, TTestPiece::Top)));
    }
    list.DetachAll();
    memo->Free();
    data->Free();
  }
}

TEST_F(SkinScrollbarTest, CornerSquareSitsAtTheRealClientOffset) {
  for (TBorderStyle border : {TBorderStyle::bsSingle, TBorderStyle::bsNone}) {
    auto* memo = static_cast<TMemo*>(MakeMemo(form_));
    memo->SetScrollBars(TScrollStyle::ssBoth);
    memo->SetWordWrap(false);
    memo->SetBorderStyle(border);
    memo->Lines()->Add(std::string(300, 'w'));
    memo->SetBounds(20, 20, 200, 200);
    ShowAndSkin();
    TSkinScrollbar* s = Skinner(memo);
    ASSERT_NE(s, nullptr);
    ASSERT_TRUE(Visible(s->HorzBar.get()) && Visible(s->VertBar.get()));
    memo->Invalidate();
    UpdateWindow(memo->Handle());
    const SCROLLBARINFO v = NativeBar(memo->Handle(), OBJID_VSCROLL);
    const SCROLLBARINFO h = NativeBar(memo->Handle(), OBJID_HSCROLL);
    RECT w;
    GetWindowRect(memo->Handle(), &w);
    // The square's first pixel outside both overlays (the bars' rectangles
    // overlap by a pixel) and its last pixel, in window coordinates.
    EXPECT_EQ(
        WindowPixel(memo->Handle(), h.rcScrollBar.right - w.left, v.rcScrollBar.bottom - w.top),
        Face());
    EXPECT_EQ(WindowPixel(memo->Handle(), v.rcScrollBar.right - 1 - w.left,
                          h.rcScrollBar.bottom - 1 - w.top),
              Face());
    list_->DetachAll();
    memo->Free();
  }
}

TEST_F(SkinScrollbarTest, ScrollBarControlsFollowClicks) {
  auto make = [&](int x) {
    auto* b = new TScrollBar(form_);
    b->SetKind(TScrollBarKind::sbVertical);  // before the size: a new kind swaps it
    b->SetBounds(x, 20, 17, 220);
    b->SetParent(form_);
    b->SetMax(100);
    b->SetPageSize(10);
    b->SetLargeChange(10);
    return b;
  };
  TScrollBar* skinned = make(40);
  TScrollBar* native = make(300);
  native->SetTag(data_->DisableTag());
  ShowAndSkin();
  auto* s = dynamic_cast<TSkinScControl*>(list_->Find(skinned->Handle()));
  ASSERT_NE(s, nullptr);
  ASSERT_TRUE(Visible(s->Bar.get()));
  HWND o = s->Bar->Window();
  EXPECT_EQ(WindowPixel(o, 8, 210), Piece("scrollbar.bmp", 13));
  const int a = GetSystemMetrics(SM_CXHSCROLL);
  for (int y : {220 - a / 2, 200}) {
    for (TScrollBar* b : {skinned, native}) {
      RECT r;
      GetWindowRect(b->Handle(), &r);
      Click({r.left + 8, r.top + y}, {r.left + 8, r.top + y});
    }
    EXPECT_GT(skinned->Position(), 0);
    EXPECT_EQ(skinned->Position(), native->Position()) << y;
  }
  // The thumb dragged: the skinned one from where its overlay shows it,
  // the native one from its own.
  const TThumbExtent before = EmulateThumb(220, a, {0, 100, 10, skinned->Position()});
  RECT r;
  GetWindowRect(skinned->Handle(), &r);
  const POINT grab{r.left + 8, r.top + (before.Start + before.End) / 2};
  Click(grab, {grab.x, grab.y + 40});
  const SCROLLBARINFO n = NativeBar(native->Handle(), OBJID_CLIENT);
  GetWindowRect(native->Handle(), &r);
  const POINT native_grab{r.left + 8, r.top + (n.xyThumbTop + n.xyThumbBottom) / 2};
  Click(native_grab, {native_grab.x, native_grab.y + 40});
  EXPECT_GT(skinned->Position(), 20);
  EXPECT_NEAR(skinned->Position(), native->Position(), 1);
  // The overlay's thumb sits where the position puts it.
  RedrawWindow(o, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const TThumbExtent t = EmulateThumb(220, a, {0, 100, 10, skinned->Position()});
  EXPECT_EQ(WindowPixel(o, 8, t.Start + 1), Piece("vthumb.bmp", 1, TTestPiece::Top));
  skinned->SetEnabled(false);
  real_input::Settle();
  RedrawWindow(o, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(WindowPixel(o, 8, t.Start + 1), Piece("vscroll.bmp", 3));  // no thumb when disabled
}

TEST_F(SkinScrollbarTest, DetachingGivesBackProceduresAndColours) {
  TWinControl* memo = MakeMemo(form_);
  memo->SetBounds(20, 20, 200, 200);
  auto* grid = Add<TDrawGrid>(240, 20, 200, 200);
  grid->SetRowCount(60);
  const TColor fixed = static_cast<TColor>(0x00123456), colour = static_cast<TColor>(0x00654321);
  grid->SetFixedColor(fixed);
  grid->SetColor(colour);
  const LONG_PTR memo_proc = GetWindowLongPtrW(memo->Handle(), GWLP_WNDPROC);
  ShowAndSkin();
  ASSERT_NE(Skinner(grid), nullptr);
  EXPECT_EQ(grid->FixedColor(), data_->Content().Colours[kcButtonFace]);
  // A skin change gives the fixed cells the face again; the grid's own
  // colour is never touched.
  list_->SkinChanged();
  EXPECT_EQ(grid->FixedColor(), data_->Content().Colours[kcButtonFace]);
  EXPECT_EQ(grid->Color(), colour);
  HWND overlay = VBar(memo)->Window();
  ASSERT_TRUE(IsWindow(overlay));
  list_->DetachAll();
  EXPECT_EQ(grid->FixedColor(), fixed);
  EXPECT_EQ(grid->Color(), colour);
  EXPECT_EQ(GetWindowLongPtrW(memo->Handle(), GWLP_WNDPROC), memo_proc);
  EXPECT_FALSE(IsWindow(overlay));
  EXPECT_NE(SendMessageW(memo->Handle(), kSkmIsSkinned, 0, 0), 1);
}

TEST_F(SkinScrollbarTest, ARecreatedWindowIsCoveredAgain) {
  TWinControl* memo = MakeMemo(form_);
  memo->SetBounds(20, 20, 200, 200);
  form_->Show();
  TFormSkinSettings settings;
  settings.Data = data_;
  settings.FrameOn = false;
  auto skinner =
      std::make_unique<TWinSkinForm>(form_->Handle(), form_, &data_->Content(), settings);
  skinner->Attach();
  real_input::Settle();
  HWND old = memo->Handle();
  ASSERT_NE(skinner->Controls(), nullptr);
  ASSERT_NE(dynamic_cast<TSkinScrollbar*>(skinner->Controls()->Find(old)), nullptr);
  memo->RecreateWnd();
  HWND fresh = memo->Handle();
  ASSERT_NE(fresh, old);
  ASSERT_TRUE(PumpUntil([&] { return skinner->Controls()->Find(fresh) != nullptr; }, 2000));
  auto* s = dynamic_cast<TSkinScrollbar*>(skinner->Controls()->Find(fresh));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(skinner->Controls()->Find(old), nullptr);
  EXPECT_EQ(SendMessageW(fresh, kSkmIsSkinned, 0, 0), 1);
  EXPECT_TRUE(Visible(s->VertBar.get()));
  skinner->Detach();
}

// ---- bare windows -----------------------------------------------------------------

INT_PTR CALLBACK ScrollingDialog(HWND, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_HSCROLL && lparam) {
    auto bar = reinterpret_cast<HWND>(lparam);
    const int pos = GetScrollPos(bar, SB_CTL);
    if (LOWORD(wparam) == SB_LINEDOWN) SetScrollPos(bar, SB_CTL, pos + 1, TRUE);
    return TRUE;
  }
  return msg == WM_INITDIALOG ? TRUE : FALSE;
}

class BareWindowTest : public SkinScrollbarTest {
 protected:
  void SetUp() override {
    SkinScrollbarTest::SetUp();
    dialog_ = CreateWindowExW(0, L"#32770", L"Bare", WS_POPUP | WS_CAPTION | WS_VISIBLE, 200, 200,
                              360, 260, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(dialog_, nullptr);
    SetWindowLongPtrW(dialog_, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&ScrollingDialog));
    box_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"listbox", L"",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY, 10, 10, 160, 150,
                           dialog_, nullptr, nullptr, nullptr);
    for (int i = 0; i < 60; ++i)
      SendMessageW(box_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(i).c_str()));
    bar_ = CreateWindowExW(0, L"scrollbar", L"", WS_CHILD | WS_VISIBLE | SBS_HORZ, 10, 180, 200, 17,
                           dialog_, nullptr, nullptr, nullptr);
    SetScrollRange(bar_, SB_CTL, 0, 50, TRUE);
    real_input::Settle();
  }
  void TearDown() override {
    list_.reset();
    if (IsWindow(dialog_)) DestroyWindow(dialog_);
    SkinScrollbarTest::TearDown();
  }
  HWND dialog_ = nullptr, box_ = nullptr, bar_ = nullptr;
};

TEST_F(BareWindowTest, ABareWindowsBarIsCoveredAndScrolls) {
  const LONG_PTR proc = GetWindowLongPtrW(box_, GWLP_WNDPROC);
  auto* s = new TSkinScrollbarH(nullptr);  // freed by the list
  s->AttachWindow(box_, data_, list_.get(), list_->Canvas());
  ASSERT_TRUE(s->Attached);
  real_input::Settle();
  TWScrollbar* bar = s->VertBar.get();
  ASSERT_TRUE(Visible(bar));
  EXPECT_FALSE(Visible(s->HorzBar.get()));
  const SCROLLBARINFO n = NativeBar(box_, OBJID_VSCROLL);
  RECT r;
  GetWindowRect(bar->Window(), &r);
  EXPECT_EQ(r.top, n.rcScrollBar.top);
  EXPECT_EQ(r.left, n.rcScrollBar.left);
  RedrawWindow(bar->Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(WindowPixel(bar->Window(), 8, 8), Piece("scrollbar.bmp", 9));
  Act(box_, TInput::Arrow);
  EXPECT_EQ(GetScrollPos(box_, SB_VERT), 1);
  list_->DetachAll();
  EXPECT_EQ(GetWindowLongPtrW(box_, GWLP_WNDPROC), proc);
}

TEST_F(BareWindowTest, ADestroyedWindowLeavesNoOverlayInSight) {
  auto* s = new TSkinScrollbarH(nullptr);  // freed by the list
  s->AttachWindow(box_, data_, list_.get(), list_->Canvas());
  real_input::Settle();
  ASSERT_TRUE(Visible(s->VertBar.get()));
  DestroyWindow(box_);
  EXPECT_EQ(s->LifeState, TSkinControl::kWindowGone);
  EXPECT_FALSE(Visible(s->VertBar.get()));
  list_->Purge();
  EXPECT_TRUE(list_->Items().empty());
}

TEST_F(BareWindowTest, ADialogsScrollBarIsAScrollBarControl) {
  list_->SkinChildWindows(dialog_);
  real_input::Settle();
  auto* s = dynamic_cast<TSkinScControl*>(list_->Find(bar_));
  ASSERT_NE(s, nullptr);
  ASSERT_TRUE(Visible(s->Bar.get()));
  EXPECT_FALSE(s->Bar->Vertical);
  HWND o = s->Bar->Window();
  RedrawWindow(o, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(WindowPixel(o, 8, 8), Piece("scrollbar.bmp", 1));        // left arrow
  EXPECT_EQ(WindowPixel(o, 200 - 8, 8), Piece("scrollbar.bmp", 5));  // right arrow
  RECT r;
  GetWindowRect(bar_, &r);
  const POINT right{r.right - 8, r.top + 8};
  Click(right, right);
  EXPECT_EQ(GetScrollPos(bar_, SB_CTL), 1);
}

// ---- the drop-down list of a combo box ----------------------------------------------

std::vector<WPARAM>* g_vscrolls = nullptr;
HWND g_list = nullptr;

LRESULT CALLBACK RecordScrolls(int code, WPARAM wparam, LPARAM lparam) {
  const auto* m = reinterpret_cast<const CWPSTRUCT*>(lparam);
  if (code == HC_ACTION && g_vscrolls && m->hwnd == g_list && m->message == WM_VSCROLL)
    g_vscrolls->push_back(m->wParam);
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

class ComboListTest : public SkinScrollbarTest {
 protected:
  void SetUp() override {
    SkinScrollbarTest::SetUp();
    form_->Show();
    combo_ =
        CreateWindowExW(0, L"combobox", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST,
                        20, 20, 200, 260, form_->Handle(), nullptr, nullptr, nullptr);
    ASSERT_NE(combo_, nullptr);
    for (int i = 0; i < 100; ++i)
      SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(i).c_str()));
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo_, &info));
    list_window_ = info.hwndList;
    SendMessageW(combo_, CB_SHOWDROPDOWN, TRUE, 0);
    real_input::Settle();
    skinner_ = new TComboxScrollBar(nullptr);
    skinner_->AttachWindow(list_window_, data_, list_.get(), list_->Canvas());
    ASSERT_TRUE(skinner_->Attached);
    g_list = list_window_;
    g_vscrolls = &scrolls_;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROC, RecordScrolls, nullptr, GetCurrentThreadId());
  }
  void TearDown() override {
    if (hook_) UnhookWindowsHookEx(hook_);
    g_vscrolls = nullptr;
    SkinScrollbarTest::TearDown();
  }
  SCROLLBARINFO Bar() const { return NativeBar(list_window_, OBJID_VSCROLL); }
  POINT ThumbPoint() const {
    const SCROLLBARINFO b = Bar();
    return {(b.rcScrollBar.left + b.rcScrollBar.right) / 2,
            b.rcScrollBar.top + (b.xyThumbTop + b.xyThumbBottom) / 2};
  }
  // Starts the list's own thumb dragging at the thumb; returns when it ended.
  void PressThumb() {
    const POINT p = ThumbPoint();
    SendMessageW(list_window_, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(p.x, p.y));
  }
  SCROLLINFO Info() const {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(list_window_, SB_VERT, &si);
    return si;
  }
  HWND combo_ = nullptr, list_window_ = nullptr;
  TComboxScrollBar* skinner_ = nullptr;  // freed by the list
  HHOOK hook_ = nullptr;
  std::vector<WPARAM> scrolls_;
};

TEST_F(ComboListTest, TheSkinPaintsTheListsBar) {
  RedrawWindow(list_window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  const SCROLLBARINFO b = Bar();
  RECT w;
  GetWindowRect(list_window_, &w);
  const int x = b.rcScrollBar.left - w.left + 8, top = b.rcScrollBar.top - w.top;
  EXPECT_EQ(WindowPixel(list_window_, x, top + 8), Piece("scrollbar.bmp", 9));
  EXPECT_EQ(WindowPixel(list_window_, x, b.rcScrollBar.bottom - w.top - 8),
            Piece("scrollbar.bmp", 13));
  EXPECT_EQ(WindowPixel(list_window_, x, top + b.xyThumbTop + 1),
            Piece("vthumb.bmp", 1, TTestPiece::Top));
}

TEST_F(ComboListTest, DraggedFarDownTheThumbStopsAtTheLastPosition) {
  const POINT p = ThumbPoint();
  real_input::MouseAt(p, 0);
  real_input::Settle();
  INPUT in[3] = {real_input::MouseInput({p.x, p.y + 60}, 0),
                 real_input::MouseInput({p.x, p.y + 900}, 0),
                 real_input::MouseInput({p.x, p.y + 900}, MOUSEEVENTF_LEFTUP)};
  SendInput(3, in, sizeof(INPUT));
  PressThumb();
  real_input::Settle();
  const SCROLLINFO si = Info();
  const int last = si.nMax - static_cast<int>(si.nPage) + 1;
  bool tracked = false, positioned = false;
  for (WPARAM w : scrolls_) {
    if (LOWORD(w) == SB_THUMBTRACK) {
      tracked = true;
      EXPECT_LE(static_cast<int>(HIWORD(w)), last);
    }
    if (LOWORD(w) == SB_THUMBPOSITION) {
      positioned = true;
      EXPECT_EQ(static_cast<int>(HIWORD(w)), last);
    }
  }
  EXPECT_TRUE(tracked);
  EXPECT_TRUE(positioned);
  EXPECT_EQ(si.nPos, last);
  EXPECT_NE(GetCapture(), list_window_);
}

TEST_F(ComboListTest, AClickOnTheThumbKeepsThePosition) {
  SendMessageW(list_window_, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30), 0);
  SendMessageW(list_window_, WM_VSCROLL, SB_ENDSCROLL, 0);
  real_input::Settle();
  const int before = Info().nPos;
  ASSERT_GT(before, 0);
  scrolls_.clear();
  real_input::MouseAt(ThumbPoint(), MOUSEEVENTF_LEFTUP);
  PressThumb();
  real_input::Settle();
  ASSERT_FALSE(scrolls_.empty());
  EXPECT_EQ(LOWORD(scrolls_.front()), SB_THUMBPOSITION);
  EXPECT_EQ(static_cast<int>(HIWORD(scrolls_.front())), before);
  EXPECT_EQ(Info().nPos, before);
}

// What ends a drag that waits: a quit request (handed on to the program's
// loop), or the capture going elsewhere.
VOID CALLBACK QuitSoon(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  PostQuitMessage(7);
}
HWND g_capture_to = nullptr;
VOID CALLBACK StealCapture(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  SetCapture(g_capture_to);
}

uint64_t ThreadCpuMs() {
  FILETIME created, ended, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
  auto ms = [](FILETIME f) {
    return ((static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000;
  };
  return ms(kernel) + ms(user);
}

TEST_F(ComboListTest, AWaitingDragLeavesOnQuitAndHandsTheQuitOn) {
  SetTimer(nullptr, 0, 300, QuitSoon);
  const DWORD wall = GetTickCount();
  const uint64_t cpu = ThreadCpuMs();
  PressThumb();
  const uint64_t spent = ThreadCpuMs() - cpu;
  const DWORD elapsed = GetTickCount() - wall;
  MSG quit;
  ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 7u);
  EXPECT_NE(GetCapture(), list_window_);
  // While nothing happened the drag waited instead of polling.
  EXPECT_LT(spent * 2, static_cast<uint64_t>(elapsed) + 40) << spent << " of " << elapsed;
}

TEST_F(ComboListTest, ADragLeavesWhenTheCaptureGoesElsewhere) {
  g_capture_to = form_->Handle();
  SetTimer(nullptr, 0, 100, StealCapture);
  PressThumb();
  EXPECT_EQ(GetCapture(), form_->Handle());
  ReleaseCapture();
  for (WPARAM w : scrolls_)
    EXPECT_NE(LOWORD(w), SB_THUMBPOSITION);  // not a release
}

TEST_F(ComboListTest, ARealPressOnTheThumbDragsItWithTheListOpen) {
  const POINT p = ThumbPoint();
  real_input::MouseAt(p, 0);
  real_input::Settle();
  INPUT in[4] = {real_input::MouseInput(p, MOUSEEVENTF_LEFTDOWN),
                 real_input::MouseInput({p.x, p.y + 60}, 0),
                 real_input::MouseInput({p.x, p.y + 900}, 0),
                 real_input::MouseInput({p.x, p.y + 900}, MOUSEEVENTF_LEFTUP)};
  SendInput(4, in, sizeof(INPUT));
  real_input::Settle(30);
  const SCROLLINFO si = Info();
  const int last = si.nMax - static_cast<int>(si.nPage) + 1;
  ASSERT_FALSE(scrolls_.empty());
  EXPECT_EQ(LOWORD(scrolls_.front()), SB_THUMBTRACK);
  EXPECT_EQ(LOWORD(scrolls_.back()), SB_THUMBPOSITION);
  EXPECT_EQ(static_cast<int>(HIWORD(scrolls_.back())), last);
  EXPECT_EQ(si.nPos, last);
  EXPECT_EQ(SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0), 1);
}

}  // namespace
