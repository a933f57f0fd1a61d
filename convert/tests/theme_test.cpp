// Parsers and image operations of the theme model, on exact pixels.
#include <gtest/gtest.h>

#include "convert/theme.h"
#include "pe_writer.h"

namespace {

constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

TEST(ThemeParsers, Margins) {
  struct {
    const char* text;
    TSizingMargins m;  // Left, Top, Right, Bottom
  } cases[] = {
      {"3, 4, 5, 6", {3, 5, 4, 6}},
      {"2, 2, 2", {2, 0, 2, 0}},  // the third number is dropped
      {"", {0, 0, 0, 0}},
      {"  7 ,-8,, 9 ;10 ", {7, 9, 8, 10}},  // runs of separators and signs count once
      {"1,2,3,4,5", {1, 3, 2, 4}},
      {"99999999999, 1, 2, 3", {0, 2, 1, 3}},  // too long: 0, but takes its slot
  };
  for (const auto& c : cases) {
    TSizingMargins m = ParseMargins(c.text);
    EXPECT_EQ(m.Left, c.m.Left) << c.text;
    EXPECT_EQ(m.Top, c.m.Top) << c.text;
    EXPECT_EQ(m.Right, c.m.Right) << c.text;
    EXPECT_EQ(m.Bottom, c.m.Bottom) << c.text;
  }
}

TEST(ThemeParsers, NumbersAndColours) {
  EXPECT_EQ(SplitNumbers("25, 5"), (std::vector<std::string>{"25", "5"}));
  EXPECT_EQ(SplitNumbers("25, 5,"), (std::vector<std::string>{"25", "5", ""}));
  EXPECT_TRUE(SplitNumbers("  ").empty());
  struct {
    const char* text;
    uint32_t colour;
  } cases[] = {
      {"236 233 216", 0xD8E9EC}, {" 1 2 3 ", 0x030201},
      {"1  2 3", 0x020001},  // two separators skip a slot
      {"300 0 0", 44},           {"1 2", 0x000001},
      {"1 2 3 4", 0x030201},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ParseColour(c.text), c.colour) << c.text;
}

TPixmap Pixels32(std::vector<std::array<uint8_t, 4>> bgra) {
  TPixmap image(static_cast<int>(bgra.size()), 1, 32);
  for (size_t i = 0; i < bgra.size(); ++i)
    std::copy(bgra[i].begin(), bgra[i].end(),
              image.Pixels.begin() + static_cast<std::ptrdiff_t>(4 * i));
  return image;
}

TEST(ThemeImages, FlattenAlpha) {
  const uint32_t bg = 0x102030;  // red 0x30, green 0x20, blue 0x10
  TPixmap image = Pixels32({{200, 100, 50, 20},
                            {200, 100, 50, 21},
                            {200, 100, 50, 255},
                            {255, 0, 255, 255},
                            {0, 0, 0, 128},
                            {0x10, 0x20, 0x30, 255}});
  FlattenAlpha(image, bg);
  ASSERT_EQ(image.BitsPerPixel, 24);
  EXPECT_EQ(ColourAt(image, 0, 0), kMagentaKey);  // alpha 20
  // k + floor((c - k) * a / 256) per channel
  auto blend = [](int k, int c, int a) {
    int d = (c - k) * a;
    return k + (d >= 0 ? d / 256 : -((-d + 255) / 256));
  };
  auto colour = [&](int b, int g, int r, int a) {
    return static_cast<uint32_t>(blend(0x30, r, a) | blend(0x20, g, a) << 8 |
                                 blend(0x10, b, a) << 16);
  };
  EXPECT_EQ(ColourAt(image, 1, 0), colour(200, 100, 50, 21));
  EXPECT_EQ(ColourAt(image, 2, 0), colour(200, 100, 50, 255));
  EXPECT_EQ(ColourAt(image, 2, 0), 0xC76331u);    // one step short of its own colour
  EXPECT_EQ(ColourAt(image, 3, 0), kMagentaKey);  // magenta whatever its alpha
  EXPECT_EQ(ColourAt(image, 4, 0), 0x081018u);    // darker than the background, never below 0
  EXPECT_EQ(ColourAt(image, 5, 0), bg);

  TPixmap m = NewImage(2, 1, 24, kMagentaKey);
  SetColourAt(m, 1, 0, kRed);
  MagentaToBackground(m, kGreen);
  EXPECT_EQ(ColourAt(m, 0, 0), kGreen);
  EXPECT_EQ(ColourAt(m, 1, 0), kRed);
}

// A strip of `n` frames of 2 x 2 pixels, frame k filled with colour k + 1.
TPixmap Strip(int n, bool vertical) {
  TPixmap image = NewImage(vertical ? 2 : 2 * n, vertical ? 2 * n : 2);
  for (int k = 0; k < n; ++k) {
    if (vertical) {
      FillRect(image, 0, 2 * k, 2, 2 * k + 2, static_cast<uint32_t>(k + 1));
    } else {
      FillRect(image, 2 * k, 0, 2 * k + 2, 2, static_cast<uint32_t>(k + 1));
    }
  }
  return image;
}

TEST(ThemeImages, ReorderFrames) {
  struct {
    bool vertical;
    int frames;  // the part's FrameCount
    std::vector<int> map;
    std::vector<uint32_t> expected;  // colour of each output frame
  } cases[] = {
      {true, 5, {1, 3, 4, 2, 5}, {1, 3, 4, 2, 5}},
      {false, 4, {4, 1}, {4, 1}},
      {true, 0, {1}, {1}},  // a count of 0 is one frame: the whole strip
  };
  for (const auto& c : cases) {
    TThemeContext ctx;
    TStyleObj part;
    part.Vertical = c.vertical;
    part.FrameCount = c.frames;
    TPixmap image = Strip(c.frames > 0 ? c.frames : 1, c.vertical);
    ctx.FrameMap = c.map;
    ctx.ReorderFrames(part, image, false);
    ASSERT_EQ(image.Width, 2 * static_cast<int>(c.map.size()));
    for (size_t i = 0; i < c.expected.size(); ++i)
      EXPECT_EQ(ColourAt(image, 2 * static_cast<int>(i) + 1, 1), c.expected[i]) << i;
    EXPECT_EQ(part.FrameCount, c.frames);
  }
  // Counts that do not divide the image, and maps past its frames, stay
  // inside it.
  for (int count : {-3, 7, 1000}) {
    TThemeContext ctx;
    TStyleObj part;
    part.Vertical = 1;
    part.FrameCount = count;
    TPixmap image = Strip(3, true);
    ctx.FrameMap = {1, 2, 9, -4};
    ctx.ReorderFrames(part, image, true);
    EXPECT_EQ(image.Width, 8);  // four frames of the strip's width
  }
  // 32-bit sources are flattened and become transparent parts.
  TThemeContext ctx;
  TStyleObj part;
  TPixmap alpha = Pixels32({{1, 2, 3, 255}, {1, 2, 3, 0}});
  ctx.FrameMap = {2, 1};
  part.Vertical = 0;
  part.FrameCount = 2;
  ctx.ReorderFrames(part, alpha, false);
  EXPECT_EQ(part.Transparent, 1);
  EXPECT_EQ(ColourAt(alpha, 0, 0), kMagentaKey);
}

TEST(ThemeImages, NineSlice) {
  // A 6 x 6 frame: a 1-pixel red border (left), blue (right), green (top),
  // white (bottom), and black inside; frame 2 of a horizontal strip.
  TPixmap strip = NewImage(12, 6, 24, kMagentaKey);
  FillRect(strip, 6, 0, 12, 6, 0);
  FillRect(strip, 6, 0, 7, 6, kRed);
  FillRect(strip, 11, 0, 12, 6, kBlue);
  FillRect(strip, 7, 0, 11, 1, kGreen);
  FillRect(strip, 7, 5, 11, 6, kWhite);
  TPixmap big = NineSlice(10, 8, strip, {1, 1, 1, 1}, false, 2, 2);
  ASSERT_EQ(big.Width, 10);
  EXPECT_EQ(ColourAt(big, 0, 4), kRed);
  EXPECT_EQ(ColourAt(big, 9, 4), kBlue);
  EXPECT_EQ(ColourAt(big, 5, 0), kGreen);
  EXPECT_EQ(ColourAt(big, 5, 7), kWhite);
  EXPECT_EQ(ColourAt(big, 5, 4), 0u);
  // Narrower than the two side margins: the whole frame width goes into the
  // centre, so both sides still show.
  TPixmap narrow = NineSlice(1, 8, strip, {1, 1, 1, 1}, false, 2, 2);
  EXPECT_EQ(ColourAt(narrow, 0, 4), kRed);
  TPixmap narrow6 = NineSlice(6, 8, strip, {4, 1, 4, 1}, false, 2, 2);
  EXPECT_EQ(ColourAt(narrow6, 0, 4), kRed);
  EXPECT_EQ(ColourAt(narrow6, 5, 4), kBlue);
  // Margins larger than the frame, bad counts and frame numbers never read
  // outside the source.
  for (TSizingMargins m : {TSizingMargins{100, 100, 100, 100}, TSizingMargins{0, 0, 1000000, 7}}) {
    for (int frames : {0, -1, 2, 50}) {
      for (int n : {-1, 0, 1, 3, 99}) {
        TPixmap out = NineSlice(30, 20, strip, m, frames % 2 == 0, frames, n);
        EXPECT_EQ(out.Width, 30);
      }
    }
  }
}

TEST(ThemeImages, ComposeGlyphSkipsNearMagenta) {
  // The glyph comes from a style file's bitmap resource.
  std::vector<uint8_t> glyph = pe::Dib(3, 1, 24, [](int x, int) -> uint32_t {
    return x == 0 ? 0xFF03FF : x == 1 ? 0xFF04FF : 0x0000FF;  // 0x00RRGGBB
  });
  std::vector<uint8_t> glyph32 = pe::Dib(1, 1, 32, [](int, int) { return 0x80FFFFFFu; });
  TExeImage image(MemoryFileView(pe::Build({{pe::K(2), pe::K("G_BMP"), 0, glyph},
                                            {pe::K(2), pe::K("H_BMP"), 0, glyph32}})
                                     .Bytes),
                  "x");
  TThemeContext ctx;
  ctx.BitmapList = &image.RootList().Item(0).Children();
  ctx.LoadThemeText("[Part]\r\nglyph=g.bmp\r\nhalf=H.BMP ; a comment after the value\r\n");
  TStyleObj part;
  part.Section = "Part";
  part.Vertical = 0;
  part.FrameCount = 1;
  part.Bitmap = NewImage(3, 1, 24, kGreen);
  ctx.ComposeGlyph(part, "glyph");
  EXPECT_EQ(ColourAt(part.Bitmap, 0, 0), kGreen);     // 252/3/255: near magenta, skipped
  EXPECT_EQ(ColourAt(part.Bitmap, 1, 0), 0xFF04FFu);  // green 4 is drawn
  EXPECT_EQ(ColourAt(part.Bitmap, 2, 0), kBlue);
  part.Bitmap = NewImage(1, 1, 24, 0);
  ctx.ComposeGlyph(part, "half");  // white at alpha 128 over black
  EXPECT_EQ(ColourAt(part.Bitmap, 0, 0), 0x7F7F7Fu);
}

TEST(ThemeImages, CaptionButtonGrowsToItsGlyphBySlicing) {
  // A 5 x 5 background (red border 1 pixel, white inside) and a 9 x 9 glyph
  // of see-through magenta with one black pixel in the middle.
  std::vector<uint8_t> glyph = pe::Dib(
      9, 9, 24, [](int x, int y) -> uint32_t { return x == 4 && y == 4 ? 0x000000 : 0xFF00FF; });
  TExeImage image(MemoryFileView(pe::Build({{pe::K(2), pe::K("G_BMP"), 0, glyph}}).Bytes), "x");
  TThemeContext ctx;
  ctx.BitmapList = &image.RootList().Item(0).Children();
  ctx.LoadThemeText("[Window.MinButton]\r\nImageFile1=g.bmp\r\n");
  TStyleObj part;
  part.Section = "Window.MinButton";
  part.Vertical = 1;
  part.FrameCount = 1;
  part.Margins = {1, 1, 1, 1};
  part.Bitmap = NewImage(5, 5, 24, kRed);
  FillRect(part.Bitmap, 1, 1, 4, 4, kWhite);
  ctx.ComposeGlyph(part, "ImageFile1");
  ASSERT_EQ(part.Bitmap.Width, 9);
  ASSERT_EQ(part.Bitmap.Height, 9);
  EXPECT_EQ(ColourAt(part.Bitmap, 0, 4), kRed);  // the border stays one pixel wide
  EXPECT_EQ(ColourAt(part.Bitmap, 1, 4), kWhite);
  EXPECT_EQ(ColourAt(part.Bitmap, 8, 8), kRed);
  EXPECT_EQ(ColourAt(part.Bitmap, 4, 4), 0u);  // the glyph, centred
  EXPECT_EQ(ColourAt(part.Bitmap, 3, 4), kWhite);
}

TEST(ThemeImages, LookupReadPartAndBadCounts) {
  std::vector<uint8_t> dib = pe::SolidDib(4, 8, 0x00FF00);
  TExeImage image(MemoryFileView(pe::Build({{pe::K(2), pe::K("GREEN_BUTTON_BMP"), 0, dib},
                                            {pe::K(2), pe::K("BAD_BMP"), 0, {1, 2, 3}}})
                                     .Bytes),
                  "x");
  TThemeContext ctx;
  ctx.BitmapList = &image.RootList().Item(0).Children();
  std::vector<std::string> messages;
  ctx.OnMessage = [&](const std::string& m) { messages.push_back(m); };
  ctx.LoadThemeText(
      "[A]\r\nImageFile=green\\button.bmp;c\r\nImageCount=2\r\nSizingMargins=1,2,3,4\r\n"
      "SizingType=Tile\r\nImageLayout=horizontal\r\nTransparent=TRUE\r\n"
      "[B]\r\nimagefile=Green\\Button.bmp\r\nimagecount=x\r\n"
      "[C]\r\nimagefile=bad.bmp\r\n");
  TStyleObj a;
  a.Section = "a";
  ctx.ReadPart(a);
  EXPECT_EQ(a.Bitmap.Width, 4);
  EXPECT_EQ(a.FrameCount, 2);
  EXPECT_EQ(a.Margins.Top, 3);
  EXPECT_EQ(a.Tiled, 1);
  EXPECT_EQ(a.Vertical, 0);
  EXPECT_EQ(a.Transparent, 1);
  TStyleObj b;
  b.Section = "B";
  EXPECT_THROW(ctx.ReadPart(b), EConvertError);
  EXPECT_EQ(b.Bitmap.Width, 4);  // the same resource, whatever the letter case
  TStyleObj c;
  c.Section = "C";
  ctx.ReadPart(c);
  EXPECT_TRUE(IsEmpty(c.Bitmap));
  EXPECT_EQ(messages, (std::vector<std::string>{"Read Image error:C-imagefile"}));
  EXPECT_TRUE(ctx.HasVisibleImage("A", "ImageFile"));
  EXPECT_FALSE(ctx.HasVisibleImage("A", "none"));
}

}  // namespace
