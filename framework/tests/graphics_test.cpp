// Bitmaps, canvases, colours and image lists.
#include <gtest/gtest.h>

#include <cstring>

#include "format/bmp.h"
#include "format/file_io.h"
#include "framework/dialogs.h"
#include "framework/imglist.h"

namespace {

std::string TempFile(const char* name) {
  return TempFolder() + name;
}

// A pattern that uses every bit of every row, padding excluded.
void FillPattern(TBitmap& b) {
  int bits = BitsPerPixel(b.PixelFormat());
  size_t row_bytes = (static_cast<size_t>(b.Width()) * static_cast<size_t>(bits) + 7) / 8;
  for (int y = 0; y < b.Height(); ++y) {
    uint8_t* row = b.ScanLine(y);
    for (size_t i = 0; i < row_bytes; ++i)
      row[i] = static_cast<uint8_t>(i * 37 + y * 11 + 5);
    // Bits past the last pixel of a 1- or 4-bit row are not pixels.
    if ((b.Width() * bits) % 8)
      row[row_bytes - 1] &= static_cast<uint8_t>(0xFF00 >> ((b.Width() * bits) % 8));
  }
}

TEST(Bitmap, SaveAndLoadKeepEveryPixelFormat) {
  for (TPixelFormat f : {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit,
                         TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
    SCOPED_TRACE(BitsPerPixel(f));
    TBitmap b(13, 7, f);  // odd width: rows are padded
    FillPattern(b);
    if (f <= TPixelFormat::pf8bit) {
      std::vector<uint32_t> pal;
      for (uint32_t i = 0; i < (1u << BitsPerPixel(f)); ++i)
        pal.push_back(i * 0x010203u + 7);
      b.SetPalette(pal);
    }
    std::string path = TempFile("fw_roundtrip.bmp");
    b.SaveToFile(path);

    std::vector<uint8_t> file;
    ASSERT_TRUE(ReadFileBytes(path, file));
    TPixmap decoded = DecodeBmp(file);  // what the file says, independently
    EXPECT_EQ(decoded.BitsPerPixel, BitsPerPixel(f));

    TBitmap back;
    back.LoadFromFile(path);
    EXPECT_EQ(back.PixelFormat(), f);
    EXPECT_EQ(back.Width(), 13);
    EXPECT_EQ(back.Height(), 7);
    EXPECT_EQ(back.Palette(), b.Palette());
    for (int y = 0; y < 7; ++y) {
      EXPECT_EQ(std::memcmp(back.ScanLine(y), b.ScanLine(y), static_cast<size_t>(b.Stride())), 0)
          << "row " << y;
    }
    TBitmap copy;
    copy.Assign(back);
    EXPECT_EQ(copy.SaveToBytes(), back.SaveToBytes());
    DeleteFileA(path.c_str());
  }
}

TEST(Bitmap, AFailedLoadLeavesTheBitmapAsItWas) {
  TBitmap b(4, 4, TPixelFormat::pf24bit);
  b.Canvas().Brush().SetColor(clLime);
  b.Canvas().FillRect(RECT{0, 0, 4, 4});
  std::vector<uint8_t> junk = {'B', 'M', 1, 2, 3};
  EXPECT_THROW(b.LoadFromBytes(junk), EBmpError);
  EXPECT_EQ(b.Width(), 4);
  EXPECT_EQ(b.Canvas().Pixel(1, 1), 0x00FF00u);
  EXPECT_THROW(b.LoadFromFile(TempFile("fw_no_such_file.bmp")), EFileError);
  EXPECT_THROW(b.SetSize(-1, 5), std::invalid_argument);
}

TEST(Canvas, PenModesAndShapes) {
  TBitmap b(10, 10, TPixelFormat::pf24bit);
  TCanvas& c = b.Canvas();
  c.Brush().SetColor(0x123456);
  c.FillRect(RECT{0, 0, 10, 10});
  EXPECT_EQ(c.Pixel(9, 9), 0x123456u);

  // pmNot inverts; pmNotXor drawn twice restores.
  c.Pen().SetMode(TPenMode::pmNot);
  c.MoveTo(0, 2);
  c.LineTo(10, 2);
  EXPECT_EQ(c.Pixel(5, 2), 0xEDCBA9u);
  c.Pen().SetMode(TPenMode::pmNotXor);
  c.Pen().SetColor(0x0F0F0F);
  for (int i = 0; i < 2; ++i) {
    c.MoveTo(0, 5);
    c.LineTo(10, 5);
    if (i == 0) {
      EXPECT_EQ(c.Pixel(3, 5), ~(0x123456u ^ 0x0F0F0Fu) & 0xFFFFFFu);
    }
  }
  EXPECT_EQ(c.Pixel(3, 5), 0x123456u);

  c.Pen().SetMode(TPenMode::pmCopy);
  c.Pen().SetColor(clBlue);
  c.Brush().SetColor(clYellow);
  c.Rectangle(1, 6, 6, 10);
  EXPECT_EQ(c.Pixel(1, 6), 0xFF0000u);  // frame in the pen
  EXPECT_EQ(c.Pixel(3, 8), 0x00FFFFu);  // inside in the brush
  c.SetPixel(9, 0, clBtnFace);
  EXPECT_EQ(c.Pixel(9, 0), GetSysColor(COLOR_BTNFACE));
  EXPECT_GT(c.TextWidth("Wide text"), c.TextWidth("W"));
}

TEST(Canvas, StretchCopyAndFilledShapes) {
  TBitmap quad(2, 2, TPixelFormat::pf24bit);
  quad.Canvas().SetPixel(0, 0, clRed);
  quad.Canvas().SetPixel(1, 0, clLime);
  quad.Canvas().SetPixel(0, 1, clBlue);
  quad.Canvas().SetPixel(1, 1, clWhite);

  TBitmap big(8, 8, TPixelFormat::pf32bit);
  big.Canvas().StretchDraw(RECT{0, 0, 8, 8}, quad);
  struct Case {
    int x, y;
    COLORREF expected;
  } quadrants[] = {{1, 1, 0x0000FF}, {6, 2, 0x00FF00}, {2, 6, 0xFF0000}, {7, 7, 0xFFFFFF}};
  for (const Case& c : quadrants)
    EXPECT_EQ(big.Canvas().Pixel(c.x, c.y), c.expected);

  // CopyRect from one canvas to another, shrinking the right half.
  TBitmap dest(4, 4, TPixelFormat::pf24bit);
  dest.Canvas().CopyRect(RECT{0, 0, 2, 4}, big.Canvas(), RECT{4, 0, 8, 8});
  EXPECT_EQ(dest.Canvas().Pixel(0, 0), 0x00FF00u);
  EXPECT_EQ(dest.Canvas().Pixel(1, 3), 0xFFFFFFu);
  EXPECT_EQ(dest.Canvas().Pixel(3, 3), 0x000000u);  // untouched

  TBitmap shapes(20, 20, TPixelFormat::pf24bit);
  TCanvas& c = shapes.Canvas();
  c.Brush().SetColor(clYellow);
  c.Pen().SetColor(clYellow);
  const POINT triangle[] = {{0, 0}, {19, 0}, {0, 19}};
  c.Polygon(triangle);
  EXPECT_EQ(c.Pixel(3, 3), 0x00FFFFu);
  EXPECT_EQ(c.Pixel(17, 17), 0x000000u);
  c.Brush().SetColor(clAqua);
  c.RoundRect(10, 10, 20, 20, 6, 6);
  EXPECT_EQ(c.Pixel(15, 15), 0xFFFF00u);
  EXPECT_EQ(c.Pixel(10, 10), 0x000000u);  // the corner is rounded off

  // TextRect clips to its rectangle and paints the background there.
  c.Brush().SetColor(clWhite);
  c.Font().SetColor(clBlack);
  c.TextRect(RECT{0, 0, 5, 20}, 0, 0, "WWWWWWWWWW");
  EXPECT_EQ(c.Pixel(6, 2), 0x00FFFFu);  // outside: the triangle still
}

TEST(Colors, ColorToRGBResolvesSystemColours) {
  struct Case {
    TColor color;
    COLORREF expected;
  } cases[] = {{clRed, 0x0000FF},
               {0x00ABCDEF, 0xABCDEF},
               {0x02ABCDEF, 0xABCDEF},  // other high bytes are ignored
               {clBtnFace, GetSysColor(COLOR_BTNFACE)},
               {clWindowText, GetSysColor(COLOR_WINDOWTEXT)},
               {clHighlight, GetSysColor(COLOR_HIGHLIGHT)}};
  for (const Case& c : cases)
    EXPECT_EQ(ColorToRGB(c.color), c.expected) << std::hex << c.color;
}

TEST(Bitmap, TransparentDrawKeepsTheBackgroundWhereTheKeyColourIs) {
  TBitmap sprite(4, 4, TPixelFormat::pf24bit);
  sprite.Canvas().Brush().SetColor(clFuchsia);
  sprite.Canvas().FillRect(RECT{0, 0, 4, 4});
  sprite.Canvas().SetPixel(1, 1, clRed);
  EXPECT_EQ(sprite.TransparentColor(), clFuchsia);  // the bottom-left pixel
  sprite.SetTransparent(true);

  TBitmap back(6, 6, TPixelFormat::pf24bit);
  back.Canvas().Brush().SetColor(clGreen);
  back.Canvas().FillRect(RECT{0, 0, 6, 6});
  back.Canvas().Draw(1, 1, sprite);
  EXPECT_EQ(back.Canvas().Pixel(2, 2), 0x0000FFu);
  EXPECT_EQ(back.Canvas().Pixel(1, 1), 0x008000u);
  EXPECT_EQ(back.Canvas().Pixel(4, 4), 0x008000u);

  sprite.SetTransparentColor(clRed);
  back.Canvas().Draw(1, 1, sprite);
  EXPECT_EQ(back.Canvas().Pixel(1, 1), 0xFF00FFu);
  EXPECT_EQ(back.Canvas().Pixel(2, 2), 0x0000FFu);  // red is transparent now
}

TEST(ImageList, DrawsMaskedImagesAndAnEmbossedDisabledLook) {
  TCustomImageList list(nullptr);
  list.SetSize(8, 8);
  TBitmap strip(16, 8, TPixelFormat::pf24bit);
  strip.Canvas().Brush().SetColor(clFuchsia);
  strip.Canvas().FillRect(RECT{0, 0, 16, 8});
  strip.Canvas().Brush().SetColor(clBlue);
  strip.Canvas().FillRect(RECT{2, 2, 6, 6});    // image 0
  strip.Canvas().FillRect(RECT{10, 0, 16, 8});  // image 1
  EXPECT_EQ(list.AddMasked(strip, clFuchsia), 0);
  EXPECT_EQ(list.Count(), 2);

  TBitmap target(10, 10, TPixelFormat::pf24bit);
  auto clear = [&] {
    target.Canvas().Brush().SetColor(clWhite);
    target.Canvas().FillRect(RECT{0, 0, 10, 10});
  };
  clear();
  list.Draw(target.Canvas(), 0, 0, 0, true);
  EXPECT_EQ(target.Canvas().Pixel(3, 3), 0xFF0000u);
  EXPECT_EQ(target.Canvas().Pixel(0, 0), 0xFFFFFFu);  // masked: background stays

  clear();
  list.Draw(target.Canvas(), 0, 0, 0, false);
  COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  EXPECT_EQ(target.Canvas().Pixel(3, 3), shadow);  // the silhouette in shadow
  EXPECT_EQ(target.Canvas().Pixel(6, 6), light);   // its highlight, one pixel down-right
  EXPECT_EQ(target.Canvas().Pixel(0, 0), 0xFFFFFFu);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x)
      EXPECT_NE(target.Canvas().Pixel(x, y), 0xFF0000u);
  }
  list.Draw(target.Canvas(), 0, 0, 5, true);  // out of range: nothing, no crash
  list.Delete(0);
  EXPECT_EQ(list.Count(), 1);
}

TEST(Picture, HoldsABitmapLoadedFromAFile) {
  TBitmap b(3, 2, TPixelFormat::pf8bit);
  std::string path = TempFile("fw_picture.bmp");
  b.SaveToFile(path);
  TPicture pic;
  int changes = 0;
  pic.OnChange = [&](TObject*) { ++changes; };
  pic.LoadFromFile(path);
  EXPECT_EQ(pic.Width(), 3);
  EXPECT_EQ(pic.Bitmap().PixelFormat(), TPixelFormat::pf8bit);
  EXPECT_EQ(changes, 1);
  TPicture copy;
  copy.Assign(pic);
  EXPECT_EQ(copy.Height(), 2);
  DeleteFileA(path.c_str());
}

}  // namespace
