#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <fstream>
#include <sstream>

#include "default_skin.h"
#include "default_skin_art.h"
#include "engine/form_layout.h"
#include "engine/image_ops.h"
#include "engine/raster.h"
#include "engine/skin_parse.h"
#include "format/quick_ini.h"
#include "format/skin_package.h"

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The parsed default skin, element by element, against its golden dump
// (MV_UPDATE_GOLDEN=1 rewrites it after a deliberate change of the art).
TEST(DefaultSkin, ParsedElementsMatchGolden) {
  TSkinContent c;
  ASSERT_TRUE(LoadSkinPackage(c, DefaultSkinPackage()));
  const std::string dump = DumpSkinContent(c);
  const std::string path = std::string(MV_SOURCE_DIR) + "/engine/tests/golden/default_skin.txt";
  if (std::getenv("MV_UPDATE_GOLDEN")) {
    std::ofstream(path, std::ios::binary) << dump;
    return;
  }
  EXPECT_EQ(dump, ReadText(path));
}

TEST(DefaultSkin, CommittedPackageIsWhatTheGeneratorDraws) {
  const std::vector<uint8_t> drawn = MakeDefaultSkinPackage();
  const std::span<const uint8_t> embedded = DefaultSkinPackage();
  ASSERT_EQ(drawn.size(), embedded.size()) << "run mkdefaultskin engine/skins/untitle.skn";
  EXPECT_TRUE(std::equal(drawn.begin(), drawn.end(), embedded.begin()))
      << "run mkdefaultskin engine/skins/untitle.skn";
}

TEST(DefaultSkin, PackageShape) {
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadFromStream(DefaultSkinPackage()));
  EXPECT_EQ(reader.Version(), 20000u);
  ASSERT_EQ(reader.Count(), 41);
  EXPECT_EQ(reader.Names()[0], "metallic.ini");
  int bitmaps = 0;
  for (int i = 1; i < reader.Count(); ++i) {
    EXPECT_TRUE(reader.Names()[static_cast<size_t>(i)].ends_with(".bmp"));
    const TPixmap img = DecodeBmp(reader.Member(i));
    EXPECT_EQ(img.BitsPerPixel, 24);
    ++bitmaps;
  }
  EXPECT_EQ(bitmaps, 40);
  std::vector<uint8_t> ini_bytes;
  ASSERT_TRUE(reader.ReadMember("metallic.ini", ini_bytes));
  TQuickIni ini;
  ini.LoadFromStream(ini_bytes);
  EXPECT_GE(ini.ReadInteger("Skins", "Version", 0), 150);
  // Every bitmap the INI names is in the package, and every member is used.
  std::vector<std::string> named;
  for (const std::string& line : ini.Lines()) {
    const size_t eq = line.find('=');
    if (eq != std::string::npos && line.ends_with(".bmp")) named.push_back(line.substr(eq + 1));
  }
  for (const std::string& n : named) {
    std::vector<uint8_t> b;
    EXPECT_TRUE(reader.ReadMember(n, b)) << n;
  }
  for (int i = 1; i < reader.Count(); ++i)
    EXPECT_NE(std::find(named.begin(), named.end(), reader.Names()[static_cast<size_t>(i)]),
              named.end())
        << reader.Names()[static_cast<size_t>(i)];
}

TEST(DefaultSkin, EveryElementIsPresent) {
  TSkinContent c;
  ASSERT_TRUE(LoadSkinPackage(c, DefaultSkinPackage()));
  EXPECT_FALSE(c.SkinEmpty);
  for (int s = 0; s < kSkinSlotCount; ++s) {
    if (s == ksProgressChunk) continue;  // the bar draws its fill from its own strip (Style 0)
    const TDataSkinObject* e = c.Element(static_cast<TSkinSlot>(s));
    ASSERT_NE(e, nullptr) << SkinSlotName(static_cast<TSkinSlot>(s));
    EXPECT_FALSE(e->Bitmap.Empty()) << SkinSlotName(static_cast<TSkinSlot>(s));
    // Every frame is at least as large as its margins.
    const TRect f = e->Frame(1, c.IsVerticalStrip(e));
    EXPECT_GE(f.Width(), e->LeftWidth + e->RightWidth) << e->Name;
    EXPECT_GE(f.Height(), e->TopHeight + e->BottomHeight) << e->Name;
  }
  for (const TDataSkinBorder* b : {&c.LeftBorder, &c.RightBorder, &c.TopBorder, &c.BottomBorder})
    EXPECT_FALSE(b->Bitmap.Empty()) << b->Name;
  EXPECT_EQ(c.Buttons.CheckButtonFrame, 12);
  EXPECT_EQ(c.Buttons.RadioButtonFrame, 8);
  for (int i = 0; i < kSkinColourCount; ++i) {
    if (i == 9 || i == 10 || i == 17) continue;
    EXPECT_TRUE(c.ColourSet[static_cast<size_t>(i)] || i == kcMenubar) << i;
  }
  // Close, maximise, minimise, restore, the icon, then the MDI buttons.
  ASSERT_EQ(c.TitleButtons.size(), 8u);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(c.TitleButtons[i]->FrameCount, 4);
    EXPECT_FALSE(c.TitleButtons[i]->Bitmap.Empty());
  }
  for (size_t i = 5; i < 8; ++i)
    EXPECT_FALSE(c.TitleButtons[i]->Bitmap.Empty());
}

// The frame as the form skinner lays it out: the sides over the whole height,
// the top and bottom strips between them.
TPixmap ComposeFrame(const TSkinContent& c, int w, int h, int k) {
  const TFrameMetrics m = ComputeFrameMetrics(c, TBorderKind::Sizeable, 0);
  TPixmap img = SolidImage(w, h, kMagenta);
  auto draw = [&](const TDataSkinBorder& e, TRect r, bool vertical) {
    DrawElementImage(img, r, e.Bitmap, vertical, e.Tile != 1, false, e.FrameCount, k, e.Margins());
  };
  draw(c.LeftBorder, {0, 0, m.Left, h}, false);
  draw(c.RightBorder, {w - m.Right, 0, w, h}, false);
  draw(c.BottomBorder, {m.Left, h - m.Bottom, w - m.Right, h}, true);
  draw(c.TopBorder, {m.Left, 0, w - m.Right, m.Top}, true);
  return img;
}

bool Near(TColor a, TColor b) {
  auto d = [](int x, int y) { return std::abs(x - y); };
  return d(RedOf(a), RedOf(b)) <= 16 && d(GreenOf(a), GreenOf(b)) <= 16 &&
         d(BlueOf(a), BlueOf(b)) <= 16;
}

// At every window size the outline runs round the window unbroken (only the
// rounded outer corners are cut away) and each stripe of a side border runs
// on into the top and bottom strips: no notch where the strips meet.
TEST(DefaultSkin, FrameStripsJoinAtTheCorners) {
  TSkinContent c;
  ASSERT_TRUE(LoadSkinPackage(c, DefaultSkinPackage()));
  const TFrameMetrics m = ComputeFrameMetrics(c, TBorderKind::Sizeable, 0);
  ASSERT_GT(m.Left, 0);
  ASSERT_GT(m.Bottom, 0);
  const std::pair<int, int> sizes[] = {{120, 60}, {260, 140}, {522, 348}, {1280, 1000}};
  for (const auto& [w, h] : sizes) {
    for (int k : {1, 2}) {
      const TPixmap img = ComposeFrame(c, w, h, k);
      const TColor outline = GetPixel(img, 0, h / 2);
      std::ostringstream where;
      where << w << "x" << h << " frame " << k;
      for (int x = 6; x < w - 6; ++x) {
        EXPECT_EQ(GetPixel(img, x, 0), outline) << where.str() << " top at " << x;
        EXPECT_EQ(GetPixel(img, x, h - 1), outline) << where.str() << " bottom at " << x;
      }
      for (int y = 6; y < h - 2; ++y) {
        EXPECT_EQ(GetPixel(img, 0, y), outline) << where.str() << " left at " << y;
        EXPECT_EQ(GetPixel(img, w - 1, y), outline) << where.str() << " right at " << y;
      }
      // Across the joints between a side and the strips next to it.
      for (int y = 0; y < h; ++y) {
        if (y < 6 || (y >= m.Top && y < h - m.Bottom)) continue;  // (the top corners are round)
        for (const int x : {m.Left - 1, w - m.Right - 1})
          EXPECT_TRUE(Near(GetPixel(img, x, y), GetPixel(img, x + 1, y)))
              << where.str() << " joint at " << x << "," << y;
      }
    }
  }
}

TEST(DefaultSkin, NothingButTheKeyIsNearMagenta) {
  // A near-magenta pixel that is not exactly magenta would be cut out of a
  // window region yet drawn by the painters: the art must not have any.
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadFromStream(DefaultSkinPackage()));
  for (int i = 1; i < reader.Count(); ++i) {
    const TPixmap img = DecodeBmp(reader.Member(i));
    for (int y = 0; y < img.Height; ++y)
      for (int x = 0; x < img.Width; ++x) {
        const TColor c = GetPixel(img, x, y);
        if (c != kMagenta && RedOf(c) > 215 && GreenOf(c) < 40 && BlueOf(c) > 215)
          ADD_FAILURE() << reader.Names()[static_cast<size_t>(i)] << " at " << x << "," << y;
      }
  }
}

}  // namespace
