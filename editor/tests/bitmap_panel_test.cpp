#include "editor/bitmap_panel.h"

#include <gtest/gtest.h>

#include "editor/element_tree.h"
#include "test_files.h"

namespace {

TEST(FrameCount, EveryElementOfTheTree) {
  TEditorSchema schema;
  schema.Load(SchemaResourceText());
  TMemIniFile skin;
  skin.SetText(
      "[Personality]\nLeftFrame=2\nTopFrame=2\nBottomFrame=3\n"
      "[Progress]\nBitmap=progress.bmp\nStyle=1\n"
      "[Headerbar]\nImage=header.bmp\nFrame=0\n"
      "[HorzScrollThumb]\nFrameCount=4\n"
      "[BUTTON0]\nAction=0\nframe=4\n"
      "[BUTTON1]\nAction=5\n"
      "[BUTTON2]\nAction=-1\nVisibility=0\n");
  BuildElementTree(skin, schema);
  const struct {
    const char* Caption;
    int Frames;
  } cases[] = {
      {"Left Border", 2},
      {"Right Border", 1},
      {"Top Border", 32},
      {"Bottom Border", 33},
      {"MDIButton", 12},
      {"Button", 5},
      {"MenuItem", 5},
      {"TrackBar Horz", 5},
      {"TrackBar Bottom", 5},
      {"Combobox Button Arrow", 5},
      {"Tab", 5},
      {"Combobox Border", 4},
      {"Combobox Button", 4},
      {"HorzScroll", 4},
      {"VertScroll", 4},
      {"StatusBar", 3},
      {"MainMenuBar", 32},
      {"Caption", 32},
      {"Spin Horz", 8},
      {"Spin Vert", 8},
      {"MenuItem Background", 1},
      {"TabSheet", 1},
      {"Progress Chunk", 1},
      {"Arrow", 23},
      {"Progress", 1},
      {"Header Control", 5},
      {"HorzScrollThumb", 4},
      {"VertScrollThumb", 3},
      {"CheckBox", -1},
      {"Colors", -1},
      {"Border", -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GetFrameCount(c.Caption, false, skin, schema, 10, 10), c.Frames) << c.Caption;

  // Title buttons read their own section, whatever the node is called.
  EXPECT_EQ(GetFrameCount("Close Button", true, skin, schema, 96, 24), 4);
  EXPECT_EQ(GetFrameCount("BUTTON1", true, skin, schema, 96, 24), 6);          // ratio 4
  EXPECT_EQ(GetFrameCount("BUTTON1", true, skin, schema, 72, 24), 3);          // ratio 3
  EXPECT_EQ(GetFrameCount("BUTTON1", true, skin, schema, 91, 24), 3);          // ratio 3.79
  EXPECT_EQ(GetFrameCount("BUTTON1", true, skin, schema, 92, 24), 6);          // ratio 3.83
  EXPECT_EQ(GetFrameCount("BUTTON2 Nothing", true, skin, schema, 72, 24), 6);  // no action
  EXPECT_EQ(GetFrameCount("Unknown Button", true, skin, schema, 72, 24), 6);
}

TEST(FrameCount, EngineRulesForProgressAndHeader) {
  TEditorSchema schema;
  schema.Load(SchemaResourceText());
  const struct {
    const char* Ini;
    const char* Caption;
    int Frames;
  } cases[] = {
      {"[Progress]\nBitmap=p.bmp\n", "Progress", 2},
      {"[Progress]\nBitmap=p.bmp\nStyle=0\n", "Progress", 2},
      {"[Progress]\nBitmap=p.bmp\nStyle=0x1\n", "Progress", 1},
      {"[Progress]\nStyle=1\n", "Progress", kNoFrameLayout},  // no element without a bitmap
      {"[Headerbar]\nImage=h.bmp\n", "Header Control", 5},
      {"[Headerbar]\nImage=h.bmp\nFrame=3\n", "Header Control", 3},
      {"[controlbar]\nFrameCount=2\n", "Header Control", 5},  // not the key the engine reads
      {"", "Top Border", 31},
      {"", "HorzScrollThumb", 3},
  };
  for (const auto& c : cases) {
    TMemIniFile skin;
    skin.SetText(c.Ini);
    EXPECT_EQ(GetFrameCount(c.Caption, false, skin, schema, 10, 10), c.Frames) << c.Ini;
  }
}

TEST(FrameCount, CutSideBySideOrStacked) {
  EXPECT_EQ(CutOf(5).Count, 5);
  EXPECT_FALSE(CutOf(5).Stacked);
  EXPECT_EQ(CutOf(32).Count, 2);
  EXPECT_TRUE(CutOf(32).Stacked);
  EXPECT_EQ(CutOf(30).Count, 0);
  EXPECT_EQ(CutOf(-1).Count, -1);
}

TEST(BitmapPage, LayoutAndCentring) {
  // Page 510 x 230: halves of 250 x 110.
  TPanelLayout wide = LayoutBitmapPage(510, 230, 100, 20);
  EXPECT_EQ(wide.Bitmap, (TBox{3, 3, 500, 110}));
  EXPECT_EQ(wide.Margins, (TBox{3, 116, 500, 110}));
  TPanelLayout tall = LayoutBitmapPage(511, 231, 20, 20);  // square counts as tall
  EXPECT_EQ(tall.Bitmap, (TBox{3, 3, 250, 220}));
  EXPECT_EQ(tall.Margins, (TBox{256, 3, 250, 220}));
  TPanelLayout tiny = LayoutBitmapPage(4, 4, 1, 1);
  EXPECT_EQ(tiny.Bitmap.Width, 0);

  const struct {
    int BoxW, BoxH, ImgW, ImgH;
    TPos At;
  } cases[] = {
      {500, 110, 100, 20, {200, 54}},  // 19 + (110 - 20 - 19) / 2
      {500, 110, 101, 21, {199, 54}},  // halves round toward zero
      {500, 110, 500, 91, {1, 19}},    // as wide as the box; no room below the bar
      {500, 110, 800, 300, {1, 19}},   // larger than the box
      {500, 110, 10, 90, {245, 19}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CentreInBox(c.BoxW, c.BoxH, c.ImgW, c.ImgH), c.At) << c.ImgW << "x" << c.ImgH;
}

TEST(MarginPreview, MarginsFromTheGridCells) {
  TMargins m;
  std::string error;
  const TMarginCell cells[] = {{vtBitmap, "BitMap"},    {vtLeftMargin, "3"},    {vtRightMargin, ""},
                               {vtTopMargin, " 0x10 "}, {vtBottomMargin, "-2"}, {vtNumber, "x"}};
  ASSERT_TRUE(ReadMargins(cells, m, error));
  EXPECT_EQ(m, (TMargins{3, 16, 0, -2}));
  EXPECT_EQ(FormatMargins(m), "3,16,0,-2");

  const TMarginCell bad[] = {{vtLeftMargin, "4"}, {vtRightMargin, "abc"}};
  EXPECT_FALSE(ReadMargins(bad, m, error));
  EXPECT_EQ(error, "'abc' is not a valid integer value");
  const TMarginCell huge[] = {{vtTopMargin, "99999999999"}};
  EXPECT_FALSE(ReadMargins(huge, m, error));
}

// A strip of `frames` frames of 20 x 20 side by side, each filled with its
// own colour (frame i: red i + 1).
TPixmap Strip(int frames, bool stacked) {
  TPixmap p(stacked ? 20 : 20 * frames, stacked ? 20 * frames : 20, 24);
  for (int y = 0; y < p.Height; ++y)
    for (int x = 0; x < p.Width; ++x)
      p.Row(y)[x * 3 + 2] = static_cast<uint8_t>(1 + (stacked ? y : x) / 20);
  return p;
}

constexpr uint32_t kFace = 0xF0F0F0;

TEST(MarginPreview, FirstFrameBordersAndBars) {
  TPixmap out;
  ASSERT_TRUE(MakeMarginPreview(Strip(5, false), 5, TMargins{3, 0, 0, 0}, kFace, out));
  ASSERT_EQ(out.Width, 28);
  ASSERT_EQ(out.Height, 28);
  EXPECT_EQ(out.BitsPerPixel, 24);
  // The grey border all round.
  for (int i = 0; i < 28; ++i) {
    EXPECT_EQ(out.PixelRGB(i, 0), kPreviewBorderRGB) << i;
    EXPECT_EQ(out.PixelRGB(i, 27), kPreviewBorderRGB) << i;
    EXPECT_EQ(out.PixelRGB(0, i), kPreviewBorderRGB) << i;
    EXPECT_EQ(out.PixelRGB(27, i), kPreviewBorderRGB) << i;
  }
  // Left margin 3: bars 7 pixels long along the top and the bottom edge.
  for (int x = 1; x < 7; ++x)
    for (int y : {1, 2, 3, 24, 25, 26})
      EXPECT_EQ(out.PixelRGB(x, y), kMarginBarRGB) << x << "," << y;
  EXPECT_EQ(out.PixelRGB(7, 2), kFace);
  EXPECT_EQ(out.PixelRGB(2, 10), kFace);  // no top or bottom margin: the sides stay
  EXPECT_EQ(out.PixelRGB(20, 2), kFace);
  // The first frame only, at (4, 4).
  EXPECT_EQ(out.PixelRGB(4, 4), 0x010000u);
  EXPECT_EQ(out.PixelRGB(23, 23), 0x010000u);
}

TEST(MarginPreview, EveryMarginAndStackedFrames) {
  TPixmap out;
  ASSERT_TRUE(MakeMarginPreview(Strip(2, true), 32, TMargins{2, 5, 6, 7}, kFace, out));
  ASSERT_EQ(out.Width, 28);
  ASSERT_EQ(out.Height, 28);
  const struct {
    int X, Y;
    uint32_t RGB;
  } probes[] = {
      {5, 2, kMarginBarRGB},   {6, 2, kFace},           // left: (0,0)-(6,4)
      {17, 2, kFace},          {18, 2, kMarginBarRGB},  // right: (28-6-4,0)-(28,4)
      {2, 8, kMarginBarRGB},   {2, 9, kFace},           // top: (0,0)-(4,9)
      {25, 8, kMarginBarRGB},  {25, 9, kFace},
      {2, 16, kFace},          {2, 17, kMarginBarRGB},  // bottom: (0,28-7-4)-(4,28)
      {25, 17, kMarginBarRGB}, {5, 25, kMarginBarRGB},
      {4, 4, 0x010000},        {23, 23, 0x010000},  // frame 1 of the stack
  };
  for (const auto& p : probes)
    EXPECT_EQ(out.PixelRGB(p.X, p.Y), p.RGB) << p.X << "," << p.Y;

  // Margins larger than the frame are clipped, negative ones draw nothing.
  ASSERT_TRUE(MakeMarginPreview(Strip(1, false), 1, TMargins{1000000, -5, 0, 0}, kFace, out));
  EXPECT_EQ(out.PixelRGB(26, 2), kMarginBarRGB);
  EXPECT_EQ(out.PixelRGB(2, 10), kFace);
}

TEST(MarginPreview, NothingToPreview) {
  TPixmap out(3, 3, 24);
  const TPixmap strip = Strip(2, false);
  EXPECT_FALSE(MakeMarginPreview(TPixmap(), 1, {}, kFace, out));
  EXPECT_FALSE(MakeMarginPreview(strip, 30, {}, kFace, out));  // zero stacked frames
  EXPECT_FALSE(MakeMarginPreview(strip, 0, {}, kFace, out));
  EXPECT_FALSE(MakeMarginPreview(strip, kNoFrameLayout, {}, kFace, out));
  EXPECT_FALSE(MakeMarginPreview(strip, 51, {}, kFace, out));  // 21 stacked in 20 rows
  EXPECT_EQ(out.Width, 3);
  // An indexed bitmap previews in its colours.
  TPixmap indexed(4, 2, 8);
  indexed.Palette[1] = 0x123456;
  indexed.Row(0)[0] = 1;
  ASSERT_TRUE(MakeMarginPreview(indexed, 1, {}, kFace, out));
  EXPECT_EQ(out.PixelRGB(4, 4), 0x123456u);
}

TEST(ReadOut, CornersAndThePreviewBorder) {
  const struct {
    int X, Y, Corner;
    bool Preview;
    TPos Want;
  } cases[] = {
      {0, 0, kTopLeft, false, {0, 0}},    {9, 4, kTopRight, false, {0, 4}},
      {9, 4, kBottomLeft, false, {9, 0}}, {9, 4, kBottomRight, false, {0, 0}},
      {2, 1, 0, false, {2, 1}},  // none down: top left
      {4, 4, kTopLeft, true, {1, 1}},     {5, 1, kBottomRight, true, {1, 0}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReadOutPosition(c.X, c.Y, 10, 5, c.Corner, c.Preview), c.Want)
        << c.X << "," << c.Y << " corner " << c.Corner;
}

TEST(Zoom, SourceSquareAndCrossHair) {
  TZoomView v = ZoomViewAt(500, 300, 200, 102);  // q 50, r 25
  EXPECT_EQ(v.Source, (TBox{475, 288, 50, 25}));
  EXPECT_EQ(v.VertFrom, (TPos{102, 25}));
  EXPECT_EQ(v.VertTo, (TPos{102, 75}));
  EXPECT_EQ(v.HorzFrom, (TPos{50, 51}));
  EXPECT_EQ(v.HorzTo, (TPos{150, 51}));
}

TEST(FitPicture, ShrinksKeepsShapeAndMagnifiesSmallOnes) {
  EXPECT_EQ(FitPicture(100, 100, 200, 50), (TBox{0, 37, 100, 25}));
  EXPECT_EQ(FitPicture(100, 100, 50, 200), (TBox{37, 0, 25, 100}));
  EXPECT_EQ(FitPicture(100, 100, 10, 10), (TBox{30, 30, 40, 40}));  // at most 4 times
  EXPECT_EQ(FitPicture(100, 100, 40, 30), (TBox{10, 20, 80, 60}));
  EXPECT_EQ(FitPicture(100, 100, 100000, 1), (TBox{0, 49, 100, 1}));
  EXPECT_EQ(FitPicture(100, 100, 0, 10), TBox{});
}

std::vector<uint8_t> BmpHeader(int32_t width, int32_t height) {
  std::vector<uint8_t> b(54, 0);
  b[0] = 'B';
  b[1] = 'M';
  b[14] = 40;
  for (int i = 0; i < 4; ++i) {
    b[18 + i] = static_cast<uint8_t>(static_cast<uint32_t>(width) >> (8 * i));
    b[22 + i] = static_cast<uint8_t>(static_cast<uint32_t>(height) >> (8 * i));
  }
  b[26] = 1;
  b[28] = 24;
  return b;
}

TEST(EditorBitmap, DecodesRealBitmapsAndRefusesTheRest) {
  TPixmap small(3, 2, 24);
  small.Row(1)[2] = 200;
  TPixmap back = DecodeEditorBitmap(EncodeBmp(small));
  EXPECT_EQ(back.Width, 3);
  EXPECT_EQ(back.PixelRGB(0, 1), 0xC80000u);

  const std::vector<uint8_t> refused[] = {
      {},
      {'B', 'M'},
      {'G', 'I', 'F', '8', '9', 'a'},
      BmpHeader(10000, 10),    // too wide (no pixels are read)
      BmpHeader(4096, -4097),  // top-down, too many pixels
      BmpHeader(INT32_MIN, 1),
      BmpHeader(16, 16),  // the pixels are missing
  };
  for (const auto& bytes : refused)
    EXPECT_THROW(DecodeEditorBitmap(bytes), EBmpError);

  TPixmap indexed(2, 1, 4);
  indexed.Palette[3] = 0x00FF00;
  indexed.Row(0)[0] = 0x30;
  TPixmap full = To24BitPixmap(indexed);
  EXPECT_EQ(full.BitsPerPixel, 24);
  EXPECT_EQ(full.PixelRGB(0, 0), 0x00FF00u);
}

}  // namespace
