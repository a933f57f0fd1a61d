// The form skinner's tool-bar painters on a framework tool bar: background
// from the skin's Toolbar gradient, buttons from its [Buttons] strip in their
// states, the switches that turn each off, and letting go of the bar again.
#include <gtest/gtest.h>

#include "engine/skin_parse.h"
#include "engine_win/skin_form.h"
#include "engine_win/toolbar_painters.h"
#include "test_skin.h"
#include "toolbar_form.h"

namespace {

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
    InstallToolbarPainters(f, t.Bar);
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
  t.SetOwnBackground([&] { ++own; });
  {
    TWinSkinForm f(t.FormWindow, t.Form, &skin.Content);
    f.Attach();
    InstallToolbarPainters(f, t.Bar);
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
  t.ClearBackground();
  InstallToolbarPainters(f, t.Bar);
  EXPECT_TRUE(t.HasBackgroundPainter());
  Pump(30);
  t.FreeBar();
  Pump(30);
  f.Detach();
  EXPECT_EQ(SendMessageA(t.FormWindow, kSkmIsSkinned, 0, 0), 0);
}

}  // namespace
