// Group boxes, radio groups, panels, tool bars, child dialogs, size grips
// and the media player's overlay wearing the test skin, with real windows
// and real input in a virtual desktop: pixels read back from the screen,
// colours and procedures given back when the skin lets go.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/container_rules.h"
#include "engine/skin_elements.h"
#include "engine/skin_stream.h"
#include "engine_controls/control_list.h"
#include "engine_controls/skin_mediaplayer.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_messages.h"
#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/mplayer.h"
#include "framework/stdctrls.h"
#include "real_input.h"
#include "test_skin.h"
#include "window_probe.h"

namespace {

using window_probe::PumpUntil;
using window_probe::WindowPixel;

constexpr int kDialogStatic = 201, kDialogGroup = 202;

// A child dialog with a group box and a static text, whose own procedure
// answers the statics' colour with a brush of its own.
INT_PTR CALLBACK RedStaticDialog(HWND, UINT msg, WPARAM, LPARAM) {
  static HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  if (msg == WM_CTLCOLORSTATIC) return reinterpret_cast<INT_PTR>(red);
  return msg == WM_INITDIALOG ? FALSE : 0;
}

HWND MakeChildDialog(HWND parent) {
  std::vector<WORD> t;
  auto word = [&t](unsigned w) { t.push_back(static_cast<WORD>(w)); };
  auto dword = [&](DWORD d) {
    word(LOWORD(d));
    word(HIWORD(d));
  };
  auto text = [&](const wchar_t* s) {
    for (; *s; ++s)
      word(*s);
    word(0);
  };
  dword(WS_CHILD | WS_VISIBLE | DS_CONTROL | DS_SETFONT);
  dword(0);
  word(2);
  for (unsigned v : {0u, 0u, 200u, 120u})
    word(v);
  word(0);
  word(0);
  word(0);
  word(8);
  text(L"MS Shell Dlg");
  auto item = [&](DWORD style, short x, short y, short cx, short cy, int id, const wchar_t* cls,
                  const wchar_t* caption) {
    if (t.size() % 2) word(0);
    dword(style | WS_CHILD | WS_VISIBLE);
    dword(0);
    for (short v : {x, y, cx, cy})
      word(static_cast<WORD>(v));
    word(static_cast<WORD>(id));
    text(cls);
    text(caption);
    word(0);
  };
  item(BS_GROUPBOX, 5, 5, 150, 50, kDialogGroup, L"button", L"Group");
  item(SS_LEFT, 5, 70, 150, 10, kDialogStatic, L"static", L"____________");
  return CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                    reinterpret_cast<const DLGTEMPLATE*>(t.data()), parent,
                                    RedStaticDialog, 0);
}

class SkinContainerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallSystemColourResolver();
    skin_ = MakeTestSkin();
    button_index_ = skin_.Find("button.bmp")->Index;
    form_ = new TForm(Application);
    form_->SetBounds(100, 100, 560, 400);
    data_ = new TSkinData(form_);
    data_->BeginReading();
    ASSERT_TRUE(data_->ReadSkinStream(WriteSkinStream(skin_.Package())));
    list_ = std::make_unique<TSkinControlList>(data_);
    face_ = ToColorRef(data_->Content().Colours[kcButtonFace]);
    shadow_ = ToColorRef(data_->Content().Colours[kcButtonShadow]);
  }
  void TearDown() override {
    list_.reset();
    if (form_) form_->Free();
    PumpUntil([] { return false; }, 20);
  }
  template <class T>
  T* Add(int x, int y, int w, int h, const char* caption = "") {
    auto* c = new T(form_);
    c->SetBounds(x, y, w, h);
    if (*caption) c->SetCaption(caption);
    c->SetParent(form_);
    return c;
  }
  void ShowAndSkin() {
    real_input::MouseAt({2, 2}, 0);
    form_->Show();
    list_->SkinFormControls(form_);
    real_input::Settle();
  }
  static COLORREF Pixel(HWND w, int x, int y) {
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return WindowPixel(w, x, y);
  }
  static bool Skinned(HWND w) { return SendMessageW(w, kSkmIsSkinned, 0, 0) == 1; }
  // The frame line's row: half the height of "0" in the window's font, less 1.
  static int LineRow(HWND w, HFONT font) {
    HDC dc = GetDC(w);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE s{};
    GetTextExtentPoint32A(dc, "0", 1, &s);
    SelectObject(dc, old);
    ReleaseDC(w, dc);
    return static_cast<int>(s.cy) / 2 - 1;
  }
  static POINT ScreenOf(TControl* c, int x, int y) { return c->ClientToScreen({x, y}); }

  TTestSkin skin_;
  int button_index_ = 0;
  TForm* form_ = nullptr;
  TSkinData* data_ = nullptr;
  std::unique_ptr<TSkinControlList> list_;
  COLORREF face_ = 0, shadow_ = 0;
};

TEST_F(SkinContainerTest, GroupBoxesDrawFrameLineAndCaptionFromTheSkin) {
  auto* left = Add<TGroupBox>(10, 10, 160, 100, "Left");
  auto* right = Add<TGroupBox>(180, 10, 160, 100, "Right");
  auto* radios = Add<TRadioGroup>(350, 10, 160, 100, "Radios");
  radios->Items()->Add("One");
  radios->Items()->Add("Two");
  HWND rw = right->Handle();
  SetWindowLongPtrW(rw, GWL_EXSTYLE, GetWindowLongPtrW(rw, GWL_EXSTYLE) | WS_EX_RIGHT);
  ShowAndSkin();
  for (TCustomGroupBox* g :
       {static_cast<TCustomGroupBox*>(left), static_cast<TCustomGroupBox*>(right),
        static_cast<TCustomGroupBox*>(radios)}) {
    HWND w = g->Handle();
    ASSERT_TRUE(Skinned(w)) << g->Caption();
    const int y = LineRow(w, g->Font()->Handle());
    EXPECT_EQ(Pixel(w, 80, 60), face_) << g->Caption();     // the inside
    EXPECT_EQ(Pixel(w, 1, 60), shadow_) << g->Caption();    // the left line
    EXPECT_EQ(Pixel(w, 158, 60), shadow_) << g->Caption();  // the right line
    EXPECT_EQ(Pixel(w, 80, 98), shadow_) << g->Caption();   // the bottom line
    EXPECT_EQ(Pixel(w, 0, 60), face_) << g->Caption();      // outside the line
    const bool is_right = g == right;
    // The line runs behind the caption's far end only; the caption's
    // cells cover it on the face colour.
    EXPECT_NE(Pixel(w, is_right ? 150 : 10, y), shadow_) << g->Caption();
    EXPECT_EQ(Pixel(w, is_right ? 40 : 120, y), shadow_) << g->Caption();
  }
  // The radio group's buttons wear the radio strip.
  EXPECT_NE(list_->FindControl(radios->Buttons(0)), nullptr);
  EXPECT_NE(list_->FindControl(radios->Buttons(1)), nullptr);
}

TEST_F(SkinContainerTest, PanelsTakeTheFaceColourAndGiveTheirOwnBackExactly) {
  auto* follows = Add<TPanel>(10, 10, 120, 60, "Follows");
  auto* own = Add<TPanel>(140, 10, 120, 60, "Own");
  own->SetColor(clWindow);
  auto* bar = new TToolBar(form_);
  bar->SetParent(form_);
  const TColor bar_colour = bar->Color();
  ASSERT_TRUE(follows->ParentColor());
  ShowAndSkin();
  const TColor skin_face = data_->Content().Colours[kcButtonFace];
  EXPECT_EQ(follows->Color(), skin_face);
  EXPECT_EQ(own->Color(), skin_face);
  EXPECT_EQ(Pixel(follows->Handle(), 60, 50), face_);
  EXPECT_FALSE(follows->ParentBackground());
  // The tool bar is marked skinned and keeps its colour.
  EXPECT_NE(list_->FindControl(bar), nullptr);
  EXPECT_EQ(bar->Color(), bar_colour);
  // A second pass attaches nothing twice.
  const size_t count = list_->Items().size();
  list_->SkinFormControls(form_);
  EXPECT_EQ(list_->Items().size(), count);
  list_.reset();
  EXPECT_EQ(own->Color(), clWindow);
  EXPECT_FALSE(own->ParentColor());
  // The panel that followed its parent's colour follows it again.
  EXPECT_TRUE(follows->ParentColor());
  EXPECT_EQ(follows->Color(), form_->Color());
  EXPECT_TRUE(follows->ParentBackground());
  form_->SetColor(clYellow);
  EXPECT_EQ(follows->Color(), clYellow);
  EXPECT_EQ(Pixel(follows->Handle(), 60, 50), ToColorRef(clYellow));
}

TEST_F(SkinContainerTest, ChildDialogsPaintOnTheFaceColourAndGiveTheirProceduresBack) {
  form_->Show();
  HWND dialog = MakeChildDialog(form_->Handle());
  ASSERT_NE(dialog, nullptr);
  SetWindowPos(dialog, nullptr, 10, 10, 400, 250, SWP_NOZORDER);
  HWND group = GetDlgItem(dialog, kDialogGroup), text = GetDlgItem(dialog, kDialogStatic);
  const LONG_PTR dialog_proc = GetWindowLongPtrW(dialog, GWLP_WNDPROC);
  const LONG_PTR group_proc = GetWindowLongPtrW(group, GWLP_WNDPROC);
  ShowAndSkin();
  ASSERT_TRUE(Skinned(dialog));
  ASSERT_TRUE(Skinned(group));
  EXPECT_EQ(Pixel(dialog, 390, 240), face_);
  // The static's text cells and its surroundings are face-coloured, even
  // though the dialog's own procedure answers red.
  RedrawWindow(dialog, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_EQ(WindowPixel(text, 2, 1), face_);
  RECT tr;
  GetClientRect(text, &tr);
  EXPECT_EQ(WindowPixel(text, tr.right - 2, 1), face_);
  HDC dc = CreateCompatibleDC(nullptr);
  SetBkMode(dc, OPAQUE);
  EXPECT_EQ(SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(text)),
            reinterpret_cast<LRESULT>(data_->FaceBrush()));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  // Erased means erased.
  EXPECT_EQ(SendMessageW(dialog, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
  DeleteDC(dc);
  // The dialog's group box: the skin's line, its inside left to the dialog.
  EXPECT_EQ(Pixel(group, 1, 60), shadow_);
  EXPECT_EQ(WindowPixel(group, 100, 60), face_);
  list_.reset();
  EXPECT_EQ(GetWindowLongPtrW(dialog, GWLP_WNDPROC), dialog_proc);
  EXPECT_EQ(GetWindowLongPtrW(group, GWLP_WNDPROC), group_proc);
  EXPECT_FALSE(Skinned(dialog));
  EXPECT_FALSE(Skinned(group));
  DestroyWindow(dialog);
}

TEST_F(SkinContainerTest, ADestroyedDialogIsLetGoWithoutTouchingItsWindow) {
  form_->Show();
  HWND dialog = MakeChildDialog(form_->Handle());
  ASSERT_NE(dialog, nullptr);
  ShowAndSkin();
  TSkinControl* s = list_->Find(dialog);
  ASSERT_NE(s, nullptr);
  DestroyWindow(dialog);
  EXPECT_EQ(s->LifeState, TSkinControl::kWindowGone);
  list_->Purge();
  EXPECT_EQ(list_->Find(dialog), nullptr);
  list_->DetachAll();
  EXPECT_TRUE(list_->Items().empty());
}

TEST_F(SkinContainerTest, SizeGripsAreCoveredByTheFaceColour) {
  form_->Show();
  HWND grip = CreateWindowExW(0, L"scrollbar", L"", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 300, 300,
                              20, 20, form_->Handle(), nullptr, nullptr, nullptr);
  ASSERT_NE(grip, nullptr);
  list_->SkinForeignWindow(grip);
  ASSERT_TRUE(Skinned(grip));
  for (POINT p : {POINT{1, 1}, POINT{10, 10}, POINT{18, 18}})
    EXPECT_EQ(Pixel(grip, p.x, p.y), face_) << p.x << "," << p.y;
  list_.reset();
  EXPECT_FALSE(Skinned(grip));
  DestroyWindow(grip);
}

class SkinMediaPlayerTest : public SkinContainerTest {
 protected:
  void SetUp() override {
    SkinContainerTest::SetUp();
    player_ = Add<TMediaPlayer>(20, 20, 150, 30);
    player_->SetVisibleButtons(0x1F);  // play, pause, stop, next, previous
    player_->SetEnabledButtons(0x1B);  // stop disabled
    player_->OnClick = [this](TObject*, TMPBtnType b) { clicks_.push_back(b); };
    ShowAndSkin();
    auto* s = dynamic_cast<TSkinMP*>(list_->FindControl(player_));
    ASSERT_NE(s, nullptr);
    overlay_ = s->Player;
    ASSERT_NE(overlay_, nullptr);
    const TTestElement* e = skin_.Find("button.bmp");
    corner_ = TestPieceAt(0, 0, e->FrameWidth, e->FrameHeight, e->Margins);
  }
  // Presses at cell `down` and releases at cell `up` (30 pixels each).
  void Click(int down, int up) {
    real_input::MouseAt(ScreenOf(player_, down * 30 + 15, 15), 0);
    real_input::Settle(3);
    real_input::MouseAt(ScreenOf(player_, down * 30 + 15, 15), MOUSEEVENTF_LEFTDOWN);
    real_input::Settle(3);
    real_input::MouseAt(ScreenOf(player_, up * 30 + 15, 15), 0);
    real_input::Settle(3);
    real_input::MouseAt(ScreenOf(player_, up * 30 + 15, 15), MOUSEEVENTF_LEFTUP);
    real_input::Settle();
  }
  COLORREF CellCorner(int cell) { return Pixel(overlay_->Handle(), cell * 30, 0); }

  TMediaPlayer* player_ = nullptr;
  TWMediaPlayer* overlay_ = nullptr;
  TTestPiece corner_ = TTestPiece::TopLeft;
  std::vector<TMPBtnType> clicks_;
};

TEST_F(SkinMediaPlayerTest, OverlayDrawsTheButtonFramesOverThePlayer) {
  HWND w = overlay_->Handle();
  EXPECT_EQ(overlay_->BoundsRect().left, player_->Left());
  EXPECT_EQ(overlay_->Width(), player_->Width());
  for (int cell : {0, 1, 3, 4})
    EXPECT_EQ(CellCorner(cell), ToColorRef(TestPieceColour(button_index_, 1, corner_))) << cell;
  EXPECT_EQ(CellCorner(2), ToColorRef(TestPieceColour(button_index_, 3, corner_)));
  // The overlay lies where the player is: the screen shows the skin there.
  HDC screen = GetDC(nullptr);
  const POINT at = ScreenOf(player_, 0, 0);
  EXPECT_EQ(GetPixel(screen, at.x, at.y), ToColorRef(TestPieceColour(button_index_, 1, corner_)));
  ReleaseDC(nullptr, screen);
  // No visible button: a plain face.
  player_->SetVisibleButtons(0);
  EXPECT_EQ(Pixel(w, 0, 0), face_);
  EXPECT_EQ(Pixel(w, 75, 15), face_);
}

TEST_F(SkinMediaPlayerTest, RealClicksReachThePlayerOverTheButtonPressed) {
  Click(0, 0);
  ASSERT_EQ(clicks_.size(), 1u);
  EXPECT_EQ(clicks_[0], TMPBtnType::btPlay);
  Click(4, 4);
  ASSERT_EQ(clicks_.size(), 2u);
  EXPECT_EQ(clicks_[1], TMPBtnType::btPrev);
  Click(2, 2);  // stop is disabled
  EXPECT_EQ(clicks_.size(), 2u);
  Click(0, 1);  // released over another button
  EXPECT_EQ(clicks_.size(), 2u);
  // While held, the pressed frame shows.
  real_input::MouseAt(ScreenOf(player_, 45, 15), MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(PumpUntil(
      [&] { return CellCorner(1) == ToColorRef(TestPieceColour(button_index_, 2, corner_)); },
      2000));
  real_input::MouseAt(ScreenOf(player_, 45, 15), MOUSEEVENTF_LEFTUP);
  real_input::Settle();
  ASSERT_EQ(clicks_.size(), 3u);
  EXPECT_EQ(clicks_[2], TMPBtnType::btPause);
  EXPECT_EQ(CellCorner(1), ToColorRef(TestPieceColour(button_index_, 1, corner_)));
  real_input::MouseAt({2, 2}, 0);
}

TEST_F(SkinMediaPlayerTest, OverlayFollowsThePlayerAndLeavesWithTheSkin) {
  player_->SetBounds(40, 60, 200, 36);
  EXPECT_EQ(overlay_->Left(), 40);
  EXPECT_EQ(overlay_->Top(), 60);
  EXPECT_EQ(overlay_->Width(), 200);
  EXPECT_EQ(overlay_->Height(), 36);
  player_->Hide();
  EXPECT_FALSE(overlay_->Visible());
  player_->Show();
  EXPECT_TRUE(overlay_->Visible());
  SendMessageW(player_->Handle(), kSkmSetActive, 0, 0);
  EXPECT_FALSE(overlay_->Visible());
  SendMessageW(player_->Handle(), kSkmSetActive, 1, 0);
  EXPECT_TRUE(overlay_->Visible());
  const int children = form_->ControlCount();
  list_.reset();
  EXPECT_EQ(form_->ControlCount(), children - 1);
  for (int i = 0; i < form_->ControlCount(); ++i)
    EXPECT_EQ(dynamic_cast<TWMediaPlayer*>(form_->Controls(i)), nullptr);
  EXPECT_FALSE(Skinned(player_->Handle()));
}

// A skin whose [Buttons] picture is missing: the overlay shows the face and
// the glyphs, and the player still hears its clicks.
TEST_F(SkinContainerTest, MediaPlayerWithoutAButtonPictureStillWorks) {
  std::string ini(skin_.Members[0].Bytes.begin(), skin_.Members[0].Bytes.end());
  const size_t at = ini.find("Bitmap=button.bmp");
  ASSERT_NE(at, std::string::npos);
  ini.replace(at, 17, "Bitmap=missing.bmp");
  skin_.Members[0].Bytes.assign(ini.begin(), ini.end());
  list_.reset();
  data_->BeginReading();
  ASSERT_TRUE(data_->ReadSkinStream(WriteSkinStream(skin_.Package())));
  list_ = std::make_unique<TSkinControlList>(data_);
  auto* player = Add<TMediaPlayer>(20, 20, 90, 30);
  player->SetVisibleButtons(0x7);
  std::vector<TMPBtnType> clicks;
  player->OnClick = [&clicks](TObject*, TMPBtnType b) { clicks.push_back(b); };
  ShowAndSkin();
  auto* s = dynamic_cast<TSkinMP*>(list_->FindControl(player));
  ASSERT_NE(s, nullptr);
  ASSERT_NE(s->Player, nullptr);
  EXPECT_EQ(Pixel(s->Player->Handle(), 0, 0), face_);
  EXPECT_EQ(Pixel(s->Player->Handle(), 59, 29), face_);
  const POINT stop = ScreenOf(player, 75, 15);
  real_input::MouseAt(stop, 0);
  real_input::MouseAt(stop, MOUSEEVENTF_LEFTDOWN);
  real_input::Settle(3);
  real_input::MouseAt(stop, MOUSEEVENTF_LEFTUP);
  real_input::Settle();
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], TMPBtnType::btStop);
  real_input::MouseAt({2, 2}, 0);
}

}  // namespace
