#include "engine/builtin_bitmaps.h"

#include "engine/image_ops.h"

namespace {

constexpr TColor kInk = RGBColour(0, 0, 0);

void Glyph(TPixmap& img, int cell, const char* const rows[16]) {
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16 && rows[y][x]; ++x) {
      if (rows[y][x] == '#') SetPixel(img, cell * 16 + x, y, kInk);
    }
  }
}

// A channel: dark top-left line, light bottom-right line, face in between.
TPixmap Channel(int w, int h) {
  TPixmap img = SolidImage(w, h, RGBColour(236, 238, 241));
  FillRectangle(img, 0, 0, w, 1, RGBColour(120, 124, 130));
  FillRectangle(img, 0, 0, 1, h, RGBColour(120, 124, 130));
  FillRectangle(img, 1, 1, w - 1, 2, RGBColour(168, 172, 178));
  FillRectangle(img, 1, 1, 2, h - 1, RGBColour(168, 172, 178));
  FillRectangle(img, 0, h - 1, w, h, RGBColour(255, 255, 255));
  FillRectangle(img, w - 1, 0, w, h, RGBColour(255, 255, 255));
  FillRectangle(img, 2, 2, w - 2, h - 2, RGBColour(214, 218, 224));
  return img;
}

}  // namespace

TPixmap MakeMenuGlyphs() {
  TPixmap img = SolidImage(64, 16, kWhite);
  static const char* const kRestore[16] = {"",
                                           "",
                                           "",
                                           "     ######",
                                           "     ######",
                                           "     #    #",
                                           "   ######  #",
                                           "   ######  #",
                                           "   #    ####",
                                           "   #    #",
                                           "   #    #",
                                           "   ######",
                                           "",
                                           "",
                                           "",
                                           ""};
  static const char* const kMaximise[16] = {"",
                                            "",
                                            "",
                                            "   #########",
                                            "   #########",
                                            "   #       #",
                                            "   #       #",
                                            "   #       #",
                                            "   #       #",
                                            "   #       #",
                                            "   #       #",
                                            "   #########",
                                            "",
                                            "",
                                            "",
                                            ""};
  static const char* const kMinimise[16] = {
      "", "", "", "", "", "", "", "", "", "", "    #######", "    #######", "", "", "", ""};
  static const char* const kClose[16] = {"",
                                         "",
                                         "",
                                         "   ##     ##",
                                         "    ##   ##",
                                         "     ## ##",
                                         "      ###",
                                         "      ###",
                                         "     ## ##",
                                         "    ##   ##",
                                         "   ##     ##",
                                         "",
                                         "",
                                         "",
                                         "",
                                         ""};
  Glyph(img, 0, kRestore);
  Glyph(img, 1, kMaximise);
  Glyph(img, 2, kMinimise);
  Glyph(img, 3, kClose);
  return img;
}

TPixmap MakeTrackBitmap() {
  return Channel(40, 8);
}

TPixmap MakeTrackVertBitmap() {
  return Channel(8, 40);
}
