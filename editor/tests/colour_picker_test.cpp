// The colour picker's rules: colour models, layout by width, positions,
// picking and dragging with their clamping and rounding, the read-outs, and
// the screen pick's lens and magnifier.
#include "editor/colour_picker.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

int Trunc(double v) {
  return static_cast<int>(std::trunc(v));
}

struct TModelCase {
  int Red, Green, Blue;
  int H, S, V;    // RgbToHsv, truncated
  int H2, L, S2;  // RgbToHls, truncated
};

TEST(ColourModels, HsvAndHlsOnTheirScales) {
  const TModelCase cases[] = {
      {145, 209, 82, 63, 154, 209, 63, 145, 111},  // the picker's first colour
      {255, 0, 0, 0, 255, 255, 0, 127, 255},
      {255, 255, 255, 0, 0, 255, 0, 255, 0},
      {0, 0, 0, 0, 0, 0, 0, 0, 0},
      {255, 255, 0, 42, 255, 255, 42, 127, 255},  // red is tested first: hue 60 degrees
      {0, 255, 0, 85, 255, 255, 85, 127, 255},
      {0, 0, 255, 170, 255, 255, 170, 127, 255},
      {0, 255, 255, 127, 255, 255, 127, 127, 255},  // green before blue
      {255, 0, 128, 233, 255, 255, 233, 127, 255},  // a negative hue wraps
      {255, 200, 200, 0, 55, 255, 0, 227, 30},      // light: no formula of its own
      {200, 220, 255, 154, 55, 255, 154, 227, 30},
      {128, 128, 128, 0, 0, 128, 0, 128, 0},
  };
  for (const TModelCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.Red << " " << c.Green << " " << c.Blue);
    const TColourTriple hsv = RgbToHsv(c.Red, c.Green, c.Blue);
    EXPECT_EQ(Trunc(hsv.A), c.H);
    EXPECT_EQ(Trunc(hsv.B), c.S);
    EXPECT_EQ(Trunc(hsv.C), c.V);
    const TColourTriple hls = RgbToHls(c.Red, c.Green, c.Blue);
    EXPECT_EQ(Trunc(hls.A), c.H2);
    EXPECT_EQ(Trunc(hls.B), c.L);
    EXPECT_EQ(Trunc(hls.C), c.S2);
  }
}

TEST(PickerLayout, WidthsClampAndChooseSizes) {
  struct TCase {
    int Asked, Width;
    bool Drop;
    int Marker, Font;
  };
  const TCase cases[] = {
      {150, 180, false, 2, 6}, {180, 180, false, 2, 6}, {204, 204, false, 2, 6},
      {205, 205, false, 2, 7}, {229, 229, false, 2, 7}, {230, 230, false, 2, 8},
      {329, 329, false, 2, 8}, {330, 330, false, 3, 8}, {560, 560, false, 3, 8},
      {600, 560, true, 3, 8},  {-5, 180, false, 2, 6},
  };
  for (const TCase& c : cases) {
    const TPickerLayout l = PickerLayoutFor(c.Asked);
    EXPECT_EQ(l.Width, c.Width) << c.Asked;
    EXPECT_EQ(l.DropAlignment, c.Drop) << c.Asked;
    EXPECT_EQ(l.MarkerSize, c.Marker) << c.Asked;
    EXPECT_EQ(l.FontSize, c.Font) << c.Asked;
  }
}

TEST(PickerGeometry, PositionsForSeveralWidths) {
  struct TCase {
    int W, s, r, d, x0, x1, sw, o, m, L, cx, e, h2, GreenBar, BlueBar, GreenPress, BluePress;
  };
  const TCase cases[] = {
      {180, 130, 65, -8, 118, 129, 11, 6, 2, 117, 59, 56, 32, 121, 125, 122, 126},
      {193, 143, 71, -9, 129, 142, 13, 7, 2, 128, 64, 61, 35, 133, 137, 134, 138},
      {240, 190, 95, -12, 172, 189, 17, 9, 3, 171, 86, 82, 47, 177, 183, 178, 184},
      {330, 280, 140, -18, 253, 279, 26, 14, 5, 251, 127, 121, 70, 261, 270, 262, 271},
      {560, 510, 255, -34, 459, 509, 50, 25, 10, 459, 231, 220, 127, 475, 492, 476, 493},
  };
  for (const TCase& c : cases) {
    const TPickerGeometry g = PickerGeometryFor(c.W, 2);
    SCOPED_TRACE(c.W);
    EXPECT_EQ(g.s, c.s);
    EXPECT_DOUBLE_EQ(g.k, c.s / 510.0);
    EXPECT_EQ(g.r, c.r);
    EXPECT_EQ(g.d, c.d);
    EXPECT_EQ(g.x0, c.x0);
    EXPECT_EQ(g.x1, c.x1);
    EXPECT_EQ(g.sw, c.sw);
    EXPECT_EQ(g.o, c.o);
    EXPECT_EQ(g.m, c.m);
    EXPECT_EQ(g.L, c.L);
    EXPECT_EQ(g.cx, c.cx);
    EXPECT_EQ(g.e, c.e);
    EXPECT_EQ(g.h2, c.h2);
    EXPECT_EQ(g.GreenBarLeft, c.GreenBar);
    EXPECT_EQ(g.BlueBarLeft, c.BlueBar);
    EXPECT_EQ(g.GreenPressLeft, c.GreenPress);
    EXPECT_EQ(g.BluePressLeft, c.BluePress);
  }
}

TEST(PickerGeometry, MarksOfTheFirstColour) {
  struct TCase {
    int W;
    int yR, yG, yB, Bz, Rx, Ry, Gx, Gy, Rtop, Gtop, Px, Py, Qy;
  };
  const TCase cases[] = {
      {193, 63, 31, 94, 48, 28, 92, 114, 101, 69, 78, 78, 122, 99},
      {560, 223, 108, 337, 173, 105, 328, 411, 360, 246, 278, 285, 433, 351},
  };
  for (const TCase& c : cases) {
    const TPickerMarks p = PickerMarksFor(PickerGeometryFor(c.W, 2), kPickerInitialColour);
    SCOPED_TRACE(c.W);
    EXPECT_EQ(p.yR, c.yR);
    EXPECT_EQ(p.yG, c.yG);
    EXPECT_EQ(p.yB, c.yB);
    EXPECT_EQ(p.Bz, c.Bz);
    EXPECT_EQ(p.Rx, c.Rx);
    EXPECT_EQ(p.Ry, c.Ry);
    EXPECT_EQ(p.Gx, c.Gx);
    EXPECT_EQ(p.Gy, c.Gy);
    EXPECT_EQ(p.Rtop, c.Rtop);
    EXPECT_EQ(p.Gtop, c.Gtop);
    EXPECT_EQ(p.Px, c.Px);
    EXPECT_EQ(p.Py, c.Py);
    EXPECT_EQ(p.Qx, c.Px);
    EXPECT_EQ(p.Qy, c.Qy);
  }
}

TEST(PaletteColor, SegmentsAndEnds) {
  struct TCase {
    double T;
    uint32_t Colour;
  };
  const TCase cases[] = {
      {0, MakeColour(255, 0, 255)},
      {0.05, MakeColour(114, 0, 255)},
      {0.1, MakeColour(0, 25, 255)},
      {50.0 / 193, MakeColour(0, 255, 38)},
      {0.45, MakeColour(255, 12, 0)},
      {0.5, MakeColour(235, 63, 108)},
      {0.95, MakeColour(216, 176, 127)},
      {0.99999, MakeColour(216, 127, 127)},
      {1.0, 0},
      {-0.1, 0},
      {std::nan(""), 0},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(PaletteColor(c.T), c.Colour) << c.T;
}

// The picker at the editor's width, black background, first colour.
class PickerDrag : public ::testing::Test {
 protected:
  void SetUp() override { picker_.AdjustLayout(193); }
  const TPickerGeometry& G() const { return picker_.Geometry(); }
  const TPickerMarks& P() const { return picker_.Marks(); }
  // A press at (x, y), a move to (x2, y2) and the release; the colour after
  // the move.
  uint32_t Drag(int x, int y, int x2, int y2) {
    picker_.MouseDown(x, y);
    picker_.MouseMove(x2, y2);
    const uint32_t c = picker_.CurrentColor();
    picker_.MouseUp();
    return c;
  }
  TColourPicker picker_;
};

TEST_F(PickerDrag, SlidersTakeTheirChannelAndClampAtTheEnds) {
  struct TCase {
    int Channel;  // 0 red, 1 green, 2 blue
    int ToY, Value;
  };
  const TCase cases[] = {
      {0, -40, 255}, {0, 1000, 0}, {0, 7, 255},  {0, 135, 0},  {0, 71, 128},  // 127.5 truncated
      {1, -40, 255}, {1, 1000, 0}, {1, 40, 190}, {2, -1, 255}, {2, 300, 0},  {2, 8, 254},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.Channel << " to " << c.ToY);
    picker_.SetCurrentColor(kPickerInitialColour);
    const int marker_y[3] = {P().yR, P().yG, P().yB};
    const int marker_x[3] = {G().x0 + 1, G().GreenPressLeft + 1, G().BluePressLeft + 1};
    const uint32_t after = Drag(marker_x[c.Channel], marker_y[c.Channel], 0, c.ToY);
    const int got[3] = {RedOf(after), GreenOf(after), BlueOf(after)};
    const int kept[3] = {145, 209, 82};
    for (int n = 0; n < 3; ++n)
      EXPECT_EQ(got[n], n == c.Channel ? c.Value : kept[n]) << "channel " << n;
  }
}

TEST_F(PickerDrag, HandlesTakeTheirChannelAndClamp) {
  struct TCase {
    int Handle;  // 0 red, 1 green, 2 blue
    int ToX, ToY, Value;
  };
  const int cx = 64, e = 61, r = 71;
  const TCase cases[] = {
      {0, cx + 50, 0, 0},       {0, -100, 0, 255}, {0, cx - e, 0, 255},  {0, cx - 30, 0, 126},
      {1, cx + e + 50, 0, 255}, {1, -100, 0, 0},   {1, cx + 30, 0, 126}, {2, 0, -10, 255},
      {2, 0, 500, 0},           {2, 0, r, 0},      {2, 0, 36, 128},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.Handle << " to " << c.ToX << "," << c.ToY);
    picker_.SetCurrentColor(kPickerInitialColour);
    const int hx[3] = {P().Rx, P().Gx, G().cx}, hy[3] = {P().Ry, P().Gy, P().Bz};
    const uint32_t after = Drag(hx[c.Handle] + 1, hy[c.Handle] - 1, c.ToX, c.ToY);
    const int got[3] = {RedOf(after), GreenOf(after), BlueOf(after)};
    const int kept[3] = {145, 209, 82};
    for (int n = 0; n < 3; ++n)
      EXPECT_EQ(got[n], n == c.Handle ? c.Value : kept[n]) << "channel " << n;
  }
}

TEST_F(PickerDrag, APressAloneChangesNothingAndTheReleaseEndsTheDrag) {
  EXPECT_FALSE(picker_.MouseDown(P().Rx, P().Ry));
  EXPECT_EQ(picker_.PickMode(), pmRedHandle);
  EXPECT_EQ(picker_.CurrentColor(), kPickerInitialColour);
  picker_.MouseUp();
  EXPECT_EQ(picker_.PickMode(), pmIdle);
  EXPECT_FALSE(picker_.MouseMove(0, 0));
  EXPECT_EQ(picker_.CurrentColor(), kPickerInitialColour);
  // A press on nothing is idle too.
  EXPECT_FALSE(picker_.MouseDown(5, 140));
  EXPECT_EQ(picker_.PickMode(), pmIdle);
  EXPECT_FALSE(picker_.MouseMove(G().cx, 10));
  EXPECT_EQ(picker_.CurrentColor(), kPickerInitialColour);
}

TEST_F(PickerDrag, SliderPressesFollowTheBarBounds) {
  struct TCase {
    int X;
    TPickMode Mode;
  };
  // The red marker's press area reaches trunc(x0 + sw / 3 + 1) = 134, where
  // the green one starts; with all channels equal, the first test wins.
  picker_.SetCurrentColor(MakeColour(100, 100, 100));
  const TCase cases[] = {{128, pmIdle},        {129, pmRedSlider},   {134, pmRedSlider},
                         {135, pmGreenSlider}, {138, pmGreenSlider}, {139, pmBlueSlider},
                         {142, pmBlueSlider},  {143, pmIdle}};
  for (const TCase& c : cases) {
    picker_.MouseDown(c.X, P().yR);
    EXPECT_EQ(picker_.PickMode(), c.Mode) << c.X;
    picker_.MouseUp();
  }
  picker_.MouseDown(130, P().yR + 3);  // past the marker's half height
  EXPECT_EQ(picker_.PickMode(), pmIdle);
}

TEST_F(PickerDrag, TheStripGivesThePixelClicked) {
  struct TCase {
    int X, Y;
    uint32_t Colour;
  };
  const int s = 143;
  const TCase cases[] = {
      {s + 10, 50, MakeColour(0, 121, 18)},     // black to the palette colour
      {s + 21, 50, MakeColour(0, 255, 38)},     // the palette colour itself
      {s + 43, 50, MakeColour(244, 255, 246)},  // towards white
      {s + 46, 10, MakeColour(242, 242, 242)},  // the grey bar
      {192, 50, MakeColour(128, 128, 128)},     // the frame line along the edge
      {s + 10, 0, MakeColour(128, 128, 128)},
  };
  for (const TCase& c : cases) {
    picker_.SetCurrentColor(kPickerInitialColour);
    EXPECT_TRUE(picker_.MouseDown(c.X, c.Y));
    EXPECT_EQ(picker_.PickMode(), pmStrip);
    EXPECT_EQ(picker_.CurrentColor(), c.Colour) << c.X << "," << c.Y;
    picker_.MouseUp();
  }
  // Dragging along the strip keeps picking.
  picker_.MouseDown(s + 10, 50);
  EXPECT_TRUE(picker_.MouseMove(s + 21, 50));
  EXPECT_EQ(picker_.CurrentColor(), MakeColour(0, 255, 38));
  // ... but not at its first two columns.
  EXPECT_FALSE(picker_.MouseMove(s + 1, 50));
  EXPECT_EQ(picker_.CurrentColor(), MakeColour(0, 255, 38));
}

TEST_F(PickerDrag, PointsOutsideTheSquareTakeNoColour) {
  const int s = 143, W = 193;
  // A click below the square (the editor's control is taller than wide).
  EXPECT_FALSE(picker_.MouseDown(s + 10, W + 5));
  EXPECT_EQ(picker_.PickMode(), pmIdle);
  EXPECT_EQ(picker_.CurrentColor(), kPickerInitialColour);
  EXPECT_FALSE(picker_.MouseDown(W + 3, 50));
  EXPECT_EQ(picker_.CurrentColor(), kPickerInitialColour);
  // A strip drag leaving the control.
  picker_.MouseDown(s + 21, 50);
  const uint32_t taken = picker_.CurrentColor();
  for (auto [x, y] : {std::pair{s + 21, -1}, std::pair{s + 21, W}, std::pair{W, 50},
                      std::pair{100000, 100000}, std::pair{s + 21, -100000}}) {
    EXPECT_FALSE(picker_.MouseMove(x, y)) << x << "," << y;
    EXPECT_EQ(picker_.CurrentColor(), taken);
  }
  EXPECT_FALSE(picker_.CrossCursorAt(s + 10, W + 5));
  EXPECT_TRUE(picker_.CrossCursorAt(s + 10, W - 1));
  EXPECT_TRUE(picker_.CrossCursorAt(P().Rx, P().Ry));
  EXPECT_FALSE(picker_.CrossCursorAt(5, 140));
}

TEST(ColourPicker, LayoutAndBackgroundInvalidateTheStaticImage) {
  TColourPicker picker;
  EXPECT_EQ(picker.LaidOutWidth(), 240);
  EXPECT_EQ(picker.CurrentColor(), kPickerInitialColour);
  EXPECT_EQ(picker.PickMode(), pmIdle);
  EXPECT_FALSE(picker.StaticValid());
  EXPECT_EQ(picker.Render().Width, 240);
  EXPECT_TRUE(picker.StaticValid());
  picker.SetCurrentColor(0x0000FF);
  EXPECT_TRUE(picker.StaticValid());  // a colour change keeps it
  picker.SetBackGround(0x808080);
  EXPECT_FALSE(picker.StaticValid());
  EXPECT_EQ(picker.LaidOutWidth(), 240);
  const TPickerLayout l = picker.AdjustLayout(150);
  EXPECT_EQ(l.Width, 180);
  EXPECT_EQ(picker.FontSize(), 6);
  EXPECT_EQ(picker.Render().Width, 180);
  EXPECT_EQ(picker.Render().Height, 180);
}

TEST(PickerReadouts, LettersValuesAndColours) {
  const TPickerGeometry g = PickerGeometryFor(193, 2);
  const TReadoutMetrics metrics{8, 6, 30};
  const std::vector<TPickerReadout> out = PickerReadouts(g, 0, kPickerInitialColour, metrics);
  ASSERT_EQ(out.size(), 24u);
  const int kRows[3] = {148, 158, 168};  // s + 5, s + 7 + h, s + 9 + 2 h
  const char* const texts[24] = {"R", "145", "G", "209", "B", "82", "H", "63",
                                 "S", "154", "V", "209", "H", "63", "L", "145",
                                 "S", "111", "R", "91",  "G", "D1", "B", "52"};
  for (size_t i = 0; i < out.size(); ++i) {
    const int col = static_cast<int>(i / 6), row = static_cast<int>(i % 6 / 2);
    const bool value = i % 2 == 1;
    SCOPED_TRACE(i);
    EXPECT_EQ(out[i].Text, texts[i]);
    EXPECT_EQ(out[i].X, 2 + 30 * col + (value ? 6 : 0));
    EXPECT_EQ(out[i].Y, kRows[row]);
    EXPECT_EQ(out[i].Colour, value ? 0xFFFFFFu : 0xC0C0C0u);
  }
  struct TCase {
    uint32_t Background, Letter, Value;
  };
  for (const TCase& c : {TCase{0xC0C0C0, 0x808080, 0xFFFFFF}, TCase{0xFFFFFF, 0xC0C0C0, 0xC0C0C0},
                         TCase{0x808080, 0xC0C0C0, 0xFFFFFF}}) {
    const auto o = PickerReadouts(g, c.Background, 0x0000FF, metrics);
    EXPECT_EQ(o[0].Colour, c.Letter) << std::hex << c.Background;
    EXPECT_EQ(o[1].Colour, c.Value) << std::hex << c.Background;
  }
  const auto red = PickerReadouts(g, 0, 0x0000FF, metrics);
  EXPECT_EQ(red[19].Text, "FF");
  EXPECT_EQ(red[21].Text, "00");
}

// A capture where every pixel tells where it is: red x, green y, blue 7.
TPixmap NumberedScreen(int w, int h) {
  TPixmap img(w, h, 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = img.Row(y) + 3 * x;
      p[0] = 7;
      p[1] = static_cast<uint8_t>(y);
      p[2] = static_cast<uint8_t>(x);
    }
  return img;
}

uint32_t Inverted(uint32_t c) {
  return ~c & 0xFFFFFF;
}

TEST(ScreenLens, CentredOnTheCursorPixelEvenAtTheEdges) {
  const TPixmap screen = NumberedScreen(100, 60);
  struct TCase {
    int X, Y;  // cursor
    int LensX, LensY;
    uint32_t Colour;
  };
  const TCase cases[] = {
      {50, 30, 50, 50, MakeColour(50, 30, 7)},  // the centre keeps its colour
      {50, 30, 48, 48, MakeColour(50, 30, 7)},  // the cursor's 4 x 4 block
      {50, 30, 51, 51, MakeColour(50, 30, 7)},
      {50, 30, 52, 51, MakeColour(51, 30, 7)},
      {50, 30, 0, 0, MakeColour(38, 18, 7)},
      {50, 30, 79, 79, MakeColour(57, 37, 7)},
      {50, 30, 50, 40, Inverted(MakeColour(50, 28, 7))},  // the crosshair
      {50, 30, 30, 50, Inverted(MakeColour(45, 30, 7))},
      {50, 30, 70, 50, MakeColour(55, 30, 7)},  // lines end before 70
      {0, 0, 50, 50, MakeColour(0, 0, 7)},      // at the top-left corner
      {0, 0, 47, 47, kLensOutside},
      {0, 0, 0, 0, kLensOutside},
      {99, 59, 50, 50, MakeColour(99, 59, 7)},  // bottom-right corner
      {99, 59, 52, 52, kLensOutside},
      {99, 59, 47, 47, MakeColour(98, 58, 7)},
      {-500, 9000, 10, 10, kLensOutside},
  };
  for (const TCase& c : cases) {
    TPixmap lens;
    DrawLens(screen, c.X, c.Y, lens);
    ASSERT_EQ(lens.Width, kLensSize);
    ASSERT_EQ(lens.Height, kLensSize);
    EXPECT_EQ(PixelOf(lens, c.LensX, c.LensY), c.Colour)
        << "cursor " << c.X << "," << c.Y << " lens " << c.LensX << "," << c.LensY;
  }
  TPixmap lens;
  DrawLens(TPixmap(), 5, 5, lens);  // no capture at all
  EXPECT_EQ(PixelOf(lens, 48, 48), kLensOutside);
}

TEST(ScreenLens, ThePickIsTheCapturedPixelClampedToTheCapture) {
  const TPixmap screen = NumberedScreen(100, 60);
  struct TCase {
    int X, Y;
    uint32_t Colour;
  };
  const TCase cases[] = {
      {50, 30, MakeColour(50, 30, 7)}, {0, 0, MakeColour(0, 0, 7)},
      {3, 2, MakeColour(3, 2, 7)},     {-5, -5, MakeColour(0, 0, 7)},
      {99, 59, MakeColour(99, 59, 7)}, {500, 500, MakeColour(99, 59, 7)},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(CapturedPixelAt(screen, c.X, c.Y), c.Colour) << c.X << "," << c.Y;
  EXPECT_EQ(CapturedPixelAt(TPixmap(), 1, 1), 0u);
}

TEST(ScreenLens, TheMagnifierFlipsToStayOnTheScreen) {
  struct TCase {
    int X, Y, Left, Top;
  };
  const TCase cases[] = {
      {100, 100, 110, 108},  {0, 0, 10, 8},          {1109, 100, 1119, 108},
      {1110, 100, 939, 108}, {1200, 100, 1029, 108}, {100, 924, 110, 932},
      {100, 925, 110, 825},  {100, 1000, 110, 900},  {1279, 1023, 1108, 923},
  };
  for (const TCase& c : cases) {
    const TMagnifierPlace p = PlaceMagnifier(c.X, c.Y, 1280, 1024, 161, 92);
    EXPECT_EQ(p.Left, c.Left) << c.X << "," << c.Y;
    EXPECT_EQ(p.Top, c.Top) << c.X << "," << c.Y;
  }
  // A screen smaller than the magnifier keeps it at the top-left.
  const TMagnifierPlace small = PlaceMagnifier(50, 20, 100, 50, 161, 92);
  EXPECT_EQ(small.Left, 0);
  EXPECT_EQ(small.Top, 0);
}

TEST(ScreenLens, HexLabelReadsRedFirst) {
  EXPECT_EQ(HexColourLabel(0x0000FF), "$00FF0000");
  EXPECT_EQ(HexColourLabel(kPickerInitialColour), "$0091D152");
  EXPECT_EQ(HexColourLabel(0xFFFFFFFF), "$00FFFFFF");
}

}  // namespace
