// The form skinner's tool-bar painters on a framework tool bar: background
// from the skin's Toolbar gradient, buttons from its [Buttons] strip in their
// states, the switches that turn each off, and letting go of the bar again.
#include <gtest/gtest.h>

#include "engine/skin_parse.h"
#include "engine_win/skin_form.h"
#include "framework/comctrls.h"
#include "framework/forms.h"
#include "test_skin.h"

namespace {

// A framework form with a tool bar of three buttons (plain, checked,
// disabled), shown.
struct TToolbarForm {
  TForm* Form = nullptr;
  TToolBar* Bar = nullptr;
  HWND FormWindow = nullptr, BarWindow = nullptr;
  RECT Plain{}, Down{}, Off{};  // the buttons' rectangles in the bar

  TToolbarForm() {
    Form = Create<TForm>(static_cast<TComponent*>(nullptr));
    Form->SetBounds(80, 80, 420, 300);
    Bar = new TToolBar(Form);
    Bar->SetParent(Form);
    Bar->SetButtonWidth(40);
    Bar->SetButtonHeight(30);
    auto* plain = new TToolButton(Form);
    plain->SetParent(Bar);
    auto* down = new TToolButton(Form);
    down->SetStyle(TToolButtonStyle::tbsCheck);
    down->SetParent(Bar);
    down->SetDown(true);
    auto* off = new TToolButton(Form);
    off->SetParent(Bar);
    off->SetEnabled(false);
    Form->Show();
    FormWindow = Form->Handle();
    BarWindow = Bar->Handle();
    auto rect = [&](TToolButton* b) {
      RECT r{};
      SendMessageA(BarWindow, TB_GETRECT, static_cast<WPARAM>(b->CommandId()),
                   reinterpret_cast<LPARAM>(&r));
      return r;
    };
    Plain = rect(plain);
    Down = rect(down);
    Off = rect(off);
  }
  ~TToolbarForm() { Form->Free(); }
  TToolbarForm(const TToolbarForm&) = delete;
  TToolbarForm& operator=(const TToolbarForm&) = delete;

  bool HasBackgroundPainter() const { return static_cast<bool>(Bar->OnCustomDraw); }
  bool HasButtonPainter() const { return static_cast<bool>(Bar->OnCustomDrawButton); }
};

void Pump(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  } while (GetTickCount() < end);
}

COLORREF BarPixel(HWND bar, int x, int y) {
  HDC dc = GetDC(bar);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(bar, dc);
  return c;
}

void Repaint(HWND w) {
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  Pump(30);
}

POINT Centre(const RECT& r) {
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

struct TLoadedSkin {
  TTestSkin Test = MakeTestSkin();
  TSkinContent Content;
  TLoadedSkin() {
    InstallSystemColourResolver();
    EXPECT_TRUE(LoadSkinPackage(Content, Test.Package()));
  }
};

// The state rule of the tool-button painter, over the framework's own state
// set.
TEST(ToolButtonFrame, StatesPickTheStripFrame) {
  struct Row {
    unsigned state;
    int frame;
  };
  static constexpr Row kRows[] = {
      {0, 1},
      {cdsDefault, 1},
      {cdsMarked, 1},
      {cdsSelected, 2},
      {cdsChecked, 1},
      {cdsChecked | cdsHot, 4},
      {cdsSelected | cdsHot, 2},
      {cdsHot, 4},
      {cdsFocused, 4},
      {cdsGrayed, 0},
      {cdsDisabled, 0},
      {cdsDisabled | cdsHot, 0},
  };
  for (const Row& r : kRows)
    EXPECT_EQ(TWinSkinForm::ToolButtonFrame(r.state), r.frame) << r.state;
}

TEST(SkinFormToolbar, PaintsBackgroundAndButtonsFromTheSkin) {
  TLoadedSkin skin;
  const TDataSkinObject* gradient = skin.Content.Element(ksToolbar);
  ASSERT_NE(gradient, nullptr);
  const TNativeBitmap grad(gradient->Bitmap);
  const TColor grad_top = grad.Pixel(0, 0);
  const TColor grad_bottom = grad.Pixel(0, grad.Height() - 1);
  ASSERT_NE(grad_top, grad_bottom);
  const int bi = skin.Test.Find("button.bmp")->Index;

  struct Case {
    bool background, buttons;
  };
  for (const Case c : {Case{true, true}, Case{false, true}, Case{true, false}}) {
    SCOPED_TRACE(testing::Message() << "background " << c.background << " buttons " << c.buttons);
    TToolbarForm t;
    Pump(50);
    HWND bw = t.BarWindow;
    RECT client;
    GetClientRect(bw, &client);
    ASSERT_GT(client.right, 200);
    TFormSkinSettings settings;
    settings.ToolbarBackground = c.background;
    settings.ToolbarButtons = c.buttons;
    TWinSkinForm f(t.FormWindow, t.Form, &skin.Content, settings);
    f.Attach();
    f.InstallToolbarPainters(t.Bar);
    Pump(30);
    Repaint(bw);

    // The background, right of the buttons: the gradient from top to bottom.
    const int bx = client.right - 5;
    EXPECT_EQ(BarPixel(bw, bx, 0) == grad_top, c.background);
    EXPECT_EQ(BarPixel(bw, bx, client.bottom - 1) == grad_bottom, c.background);

    // Buttons: the strip's frame over the button less one pixel all round.
    const RECT plain = t.Plain;
    const POINT pc = Centre(plain);
    EXPECT_EQ(BarPixel(bw, pc.x, pc.y) == TestPieceColour(bi, 1, TTestPiece::Centre), c.buttons);
    EXPECT_EQ(
        BarPixel(bw, plain.left + 1, plain.top + 1) == TestPieceColour(bi, 1, TTestPiece::TopLeft),
        c.buttons);
    EXPECT_NE(BarPixel(bw, plain.left, plain.top), TestPieceColour(bi, 1, TTestPiece::TopLeft));
    // A disabled button keeps the bar's own look: no frame of the strip.
    const POINT oc = Centre(t.Off);
    for (int k = 1; k <= 5; ++k)
      EXPECT_NE(BarPixel(bw, oc.x, oc.y), TestPieceColour(bi, k, TTestPiece::Centre)) << k;

    // Letting go of the form takes the painters off the bar.
    f.Detach();
    EXPECT_FALSE(t.HasBackgroundPainter());
    EXPECT_FALSE(t.HasButtonPainter());
    Repaint(bw);
    EXPECT_NE(BarPixel(bw, pc.x, pc.y), TestPieceColour(bi, 1, TTestPiece::Centre));
    EXPECT_NE(BarPixel(bw, bx, 0), grad_top);
  }
}

TEST(SkinFormToolbar, KeepsTheBarsOwnHandlersAndSurvivesAFreedBar) {
  TLoadedSkin skin;
  const int bi = skin.Test.Find("button.bmp")->Index;
  TToolbarForm t;
  Pump(50);
  int own = 0;
  t.Bar->OnCustomDraw = [&](TToolBar*, const RECT&, bool&) { ++own; };
  {
    TWinSkinForm f(t.FormWindow, t.Form, &skin.Content);
    f.Attach();
    f.InstallToolbarPainters(t.Bar);
    Pump(30);
    Repaint(t.BarWindow);
    EXPECT_GT(own, 0);  // the bar's own background handler stays
    const POINT pc = Centre(t.Plain);
    EXPECT_EQ(BarPixel(t.BarWindow, pc.x, pc.y), TestPieceColour(bi, 1, TTestPiece::Centre));
  }  // the skinner freed without Detach
  ASSERT_TRUE(t.HasBackgroundPainter());
  EXPECT_FALSE(t.HasButtonPainter());
  own = 0;
  Repaint(t.BarWindow);
  EXPECT_GT(own, 0);

  // A bar freed while the skinner still lists it: letting go later must not
  // touch it.
  TWinSkinForm f(t.FormWindow, t.Form, &skin.Content);
  f.Attach();
  t.Bar->OnCustomDraw = nullptr;
  f.InstallToolbarPainters(t.Bar);
  EXPECT_TRUE(t.HasBackgroundPainter());
  Pump(30);
  t.Bar->Free();
  t.Bar = nullptr;
  Pump(30);
  f.Detach();
  EXPECT_EQ(SendMessageA(t.FormWindow, kSkmIsSkinned, 0, 0), 0);
}

}  // namespace
