// The picker's pictures read back pixel by pixel: bars, cube corners, strip,
// grey bar, axes, frames and swatch of the static image; markers, box,
// handles, colour point and swatch of the overlay.
#include <gtest/gtest.h>

#include <algorithm>

#include "editor/colour_picker.h"

namespace {

struct TPixelCase {
  int X, Y;
  uint32_t Colour;
  const char* What;
};

void ExpectPixels(const TPixmap& img, std::initializer_list<TPixelCase> cases) {
  for (const TPixelCase& c : cases)
    EXPECT_EQ(PixelOf(img, c.X, c.Y, 0xDEADBEEF), c.Colour)
        << c.What << " at " << c.X << "," << c.Y << std::hex;
}

TPixmap StaticAt(int width, uint32_t background, uint32_t colour = kPickerInitialColour) {
  TPixmap img;
  DrawPickerStatic(img, PickerGeometryFor(width, PickerLayoutFor(width).MarkerSize), background,
                   colour);
  return img;
}

// At the editor's width 193 (s 143, o 7, x0 129, x1 142, cx 64, r 71, m 2, d -9).
TEST(PickerStatic, BarsStripFramesAndSwatch) {
  const TPixmap img = StaticAt(193, 0);
  ASSERT_EQ(img.Width, 193);
  ASSERT_EQ(img.Height, 193);
  ExpectPixels(img, {
                        {130, 7, 0x000000, "row o keeps the background"},
                        {128, 8, MakeColour(254, 0, 0), "red bar, truncated"},
                        {132, 8, MakeColour(254, 0, 0), "red bar's last column"},
                        {133, 8, MakeColour(0, 253, 0), "green bar, rounded"},
                        {137, 8, MakeColour(0, 0, 253), "blue bar, rounded"},
                        {141, 135, MakeColour(0, 0, 2), "blue bar's last row"},
                        {128, 136, 0x000000, "below the bars"},
                        {0, 0, 0x808080, "frame of the left square"},
                        {142, 50, 0x808080, "frame of the strip"},
                        {192, 192, 0x808080, "frame corner"},
                        {70, 145, 0x808080, "frame between cube and read-outs"},
                        {70, 144, 0x000000, "read-out area"},
                        {143, 50, 0x000000, "the strip starts black"},
                        {164, 50, MakeColour(0, 255, 38), "palette colour"},
                        {186, 50, MakeColour(244, 255, 246), "towards white"},
                        {188, 10, MakeColour(242, 242, 242), "grey bar"},
                        {190, 191, 0x000000, "grey bar's end"},
                        {2, 2, kPickerInitialColour, "swatch"},
                        {19, 19, kPickerInitialColour, "swatch's last pixel"},
                        {20, 20, 0x000000, "past the swatch"},
                        {64, 10, 0x000000, "blue axis"},
                    });
}

TEST(PickerStatic, HalvesRoundToEvenOnTheGreenAndBlueBars) {
  // At width 240 (o 9, s 190) row 95 has t = 86 * 255 / 172 = 127.5 exactly.
  const TPixmap img = StaticAt(240, 0);
  ExpectPixels(img, {
                        {172, 95, MakeColour(128, 0, 0), "red truncates"},
                        {178, 95, MakeColour(0, 127, 0), "green rounds to even"},
                        {184, 95, MakeColour(0, 0, 127), "blue rounds to even"},
                    });
}

TEST(PickerStatic, CubeCornersHaveTheirColours) {
  struct TCase {
    int X, Y;
    int MinRed, MaxRed, MinGreen, MaxGreen, MinBlue, MaxBlue;
    const char* What;
  };
  // Corners of the hexagon at width 193 (cx 64, e 61, h2 35, r 71).
  const TCase cases[] = {
      {65, 3, 0, 0, 0, 40, 240, 255, "blue at the top"},
      {124, 36, 0, 0, 240, 255, 240, 255, "cyan upper right"},
      {124, 107, 0, 20, 240, 255, 0, 20, "green lower right"},
      {64, 141, 240, 255, 240, 255, 0, 0, "yellow at the bottom"},
      {4, 105, 240, 255, 0, 20, 0, 20, "red lower left"},
      {4, 37, 240, 255, 0, 0, 240, 255, "magenta upper left"},
      {65, 73, 0, 10, 0, 10, 0, 10, "black in the centre"},
  };
  const TPixmap img = StaticAt(193, 0x123456);
  for (const TCase& c : cases) {
    const uint32_t p = PixelOf(img, c.X, c.Y);
    SCOPED_TRACE(::testing::Message() << c.What << std::hex << " " << p);
    EXPECT_GE(RedOf(p), c.MinRed);
    EXPECT_LE(RedOf(p), c.MaxRed);
    EXPECT_GE(GreenOf(p), c.MinGreen);
    EXPECT_LE(GreenOf(p), c.MaxGreen);
    EXPECT_GE(BlueOf(p), c.MinBlue);
    EXPECT_LE(BlueOf(p), c.MaxBlue);
  }
  // Outside the hexagon the background shows.
  ExpectPixels(img, {{100, 10, 0x123456, "right of the top"}, {20, 140, 0x123456, "lower left"}});
}

TEST(PickerStatic, FrameColourFollowsTheBackground) {
  ExpectPixels(StaticAt(193, 0x808080), {{0, 0, 0xC0C0C0, "frame on grey"}});
  ExpectPixels(StaticAt(193, 0xC0C0C0), {{0, 0, 0x808080, "frame on silver"}});
  ExpectPixels(StaticAt(193, 0xFFFFFF), {{0, 0, 0x808080, "frame on white"}});
}

TEST(PickerStatic, EveryWidthStaysInsideItsImage) {
  for (int w : {180, 193, 229, 240, 329, 330, 450, 560}) {
    const TPixmap img = StaticAt(w, 0);
    ASSERT_EQ(img.Width, w);
    ASSERT_EQ(img.Height, w);
    ASSERT_EQ(img.Pixels.size(), static_cast<size_t>(img.Stride()) * static_cast<size_t>(w));
    // The blue corner of the cube always sits at the top of the axis.
    const TPickerGeometry g = PickerGeometryFor(w, 2);
    EXPECT_GE(BlueOf(PixelOf(img, g.cx + 1, 3)), 230) << w;
    EXPECT_EQ(PixelOf(img, g.s + 21, g.W / 2), PaletteColor(static_cast<double>(g.W / 2) / g.W))
        << w;
  }
}

class PickerOverlay : public ::testing::Test {
 protected:
  void SetUp() override {
    g_ = PickerGeometryFor(193, 2);
    DrawPickerStatic(static_, g_, 0, kPickerInitialColour);
  }
  TPixmap Overlay(uint32_t colour) {
    TPixmap out;
    DrawPickerOverlay(static_, out, g_, PickerMarksFor(g_, colour), colour);
    return out;
  }
  TPickerGeometry g_;
  TPixmap static_;
};

TEST_F(PickerOverlay, MarkersBoxHandlesPointAndSwatch) {
  // The first colour: yR 63, yG 31, yB 94; handles (64, 48), (28, 92),
  // (114, 101); box corners Rtop 69, Gtop 78; P (78, 122), Q (78, 99).
  const TPixmap img = Overlay(kPickerInitialColour);
  const uint32_t white = 0xFFFFFF, silver = 0xC0C0C0, black = 0;
  ExpectPixels(img, {
                        {128, 61, white, "red marker's corner"},
                        {132, 64, white, "red marker's far corner"},
                        {130, 63, MakeColour(145, 0, 0), "inside the red marker"},
                        {133, 29, white, "green marker"},
                        {137, 92, white, "blue marker"},
                        {141, 95, white, "blue marker's right side"},
                        {142, 95, 0x808080, "the frame beside it"},
                        {28, 80, black, "the red edge of the box"},
                        {114, 90, black, "the green edge of the box"},
                        {62, 46, silver, "blue handle"},
                        {65, 49, silver, "blue handle's far corner"},
                        {26, 90, silver, "red handle"},
                        {112, 99, silver, "green handle"},
                        {77, 98, kPickerInitialColour, "colour point's middle"},
                        {76, 98, white, "colour point's rim"},
                        {2, 2, kPickerInitialColour, "swatch"},
                    });
  // The point's corner is left as it was.
  EXPECT_EQ(PixelOf(img, 76, 97), PixelOf(static_, 76, 97));
  // The strip is not drawn over.
  for (int y = 0; y < 193; y += 7)
    for (int x = 143; x < 193; ++x)
      ASSERT_EQ(PixelOf(img, x, y), PixelOf(static_, x, y)) << x << "," << y;
}

TEST_F(PickerOverlay, AColourChangeRedrawsOnlyTheOverlay) {
  const TPixmap red = Overlay(0x0000FF);
  EXPECT_EQ(PixelOf(red, 2, 2), 0x0000FFu);
  EXPECT_EQ(PixelOf(static_, 2, 2), kPickerInitialColour);
  // Pure red: the red marker at the top of its bar, the red handle at the
  // left end of the cube, the blue handle down at the centre.
  const TPickerMarks p = PickerMarksFor(g_, 0x0000FF);
  EXPECT_EQ(p.yR, 7);
  EXPECT_EQ(p.Rx, 2);
  EXPECT_EQ(p.Bz, 71);
  EXPECT_EQ(PixelOf(red, 128, 5), 0xFFFFFFu);
}

TEST_F(PickerOverlay, ExtremeColoursAndBadImagesStayInBounds) {
  for (uint32_t colour : {0x000000u, 0xFFFFFFu, 0x00FF00u, 0xFF00FFu}) {
    const TPixmap img = Overlay(colour);
    EXPECT_EQ(img.Width, 193);
    EXPECT_EQ(PixelOf(img, 2, 2), colour);
  }
  // A static image of the wrong size is copied but not drawn on.
  TPixmap small(10, 10, 24), out;
  DrawPickerOverlay(small, out, g_, PickerMarksFor(g_, 0), 0xFFFFFF);
  EXPECT_EQ(out.Width, 10);
  EXPECT_EQ(PixelOf(out, 2, 2), 0u);
  TPixmap none;
  DrawPickerStatic(none, PickerGeometryFor(0, 2), 0, 0);
  EXPECT_EQ(none.Width, 0);
  EXPECT_EQ(PixelOf(none, 0, 0, 5), 5u);
}

}  // namespace
