// The conversion of a style variant into a skin package, read back member by
// member.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "convert/style_convert.h"
#include "format/file_io.h"
#include "format/quick_ini.h"
#include "format/skin_package.h"
#include "pe_writer.h"

using pe::K;

namespace {

const char* const kLight64 = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/light.msstyles";

struct TPackage {
  TSkinReader reader;
  TQuickIni ini;
  std::string Get(const char* section, const char* key) const {
    return ini.ReadString(section, key, "<none>");
  }
  int Int(const char* section, const char* key) const {
    return ini.ReadInteger(section, key, -999);
  }
  TPixmap Image(const std::string& member) const {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(reader.ReadMember(member, bytes)) << member;
    return bytes.empty() ? TPixmap() : DecodeBmp(bytes);
  }
};

std::vector<std::string> Lower(std::vector<std::string> names) {
  for (std::string& n : names) {
    for (char& c : n)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return names;
}

TPackage Read(const std::vector<uint8_t>& bytes) {
  TPackage p;
  EXPECT_TRUE(p.reader.LoadFromStream(bytes)) << p.reader.LastError();
  std::vector<uint8_t> ini;
  std::string name;
  EXPECT_TRUE(p.reader.FindMember(".ini", ini, name));
  p.ini.LoadFromStream(ini);
  return p;
}

// A small style: a frame, one title button, a push button and a check box,
// all with alpha where a real style has it.
std::vector<pe::Resource> SmallStyle(const std::string& theme,
                                     const char* variant = "NORMALGREEN_INI") {
  auto soft = [](int w, int h) {
    return pe::Dib(w, h, 32, [w, h](int x, int y) -> uint32_t {
      bool corner = (x == 0 || x == w - 1) && (y == 0 || y == h - 1);
      return corner ? 0x00000000u : 0xFF3060C0u;  // transparent corners
    });
  };
  return {
      {K("TEXTFILE"), K(variant), 0, pe::TextResource(theme)},
      {K("TEXTFILE"), K("THEMES_INI"), 0, pe::TextResource("[documentation]\r\n")},
      {K(2), K("CAPTION_BMP"), 0, soft(120, 40)},
      {K(2), K("LEFT_BMP"), 0, soft(8, 60)},
      {K(2), K("RIGHT_BMP"), 0, soft(8, 60)},
      {K(2), K("BOTTOM_BMP"), 0, soft(120, 8)},
      {K(2), K("CLOSE_BMP"), 0, pe::SolidDib(20, 160, 0x808080)},
      {K(2), K("CLOSE_GLYPH_BMP"), 0,
       pe::Dib(10, 80, 24, [](int x, int) -> uint32_t { return x < 5 ? 0xFF00FF : 0x000000; })},
      {K(2), K("PUSH_BMP"), 0, pe::SolidDib(10, 50, 0xC0C0C0)},
      {K(2), K("CHECK_BMP"), 0, pe::SolidDib(13, 13 * 12, 0xFFFFFF)},
      {K(2), K("ARROWS_BMP"), 0,
       pe::Dib(17, 17 * 20, 24, [](int, int y) { return static_cast<uint32_t>(y / 17 + 1); })},
  };
}

const char* const kTheme =
    "[SysMetrics]\r\nBtnface=236 233 216\r\nHighlight=1 2 3\r\nMenuText=9 9 9\r\n"
    "[Window.Caption]\r\nImageFile=caption.bmp\r\nImageCount=2\r\nSizingMargins=200, 200, 1000, "
    "0\r\n"
    "[Window.FrameLeft]\r\nImageFile=left.bmp\r\nImageCount=2\r\nSizingMargins=1, 1, 500, 500\r\n"
    "[Window.FrameRight]\r\nImageFile=right.bmp\r\nImageCount=2\r\n"
    "[Window.FrameBottom]\r\nImageFile=bottom.bmp\r\nImageCount=2\r\n"
    "[Window.CloseButton]\r\nImageFile=close.bmp\r\nImageFile3=close_glyph.bmp\r\nImageCount=8\r\n"
    "[Window.MinButton]\r\nOffset=5\r\n"
    "[Window.HelpButton]\r\nOffset=0, 0\r\n"
    "[Button.PushButton]\r\nImageFile=push.bmp\r\nImageCount=5\r\nSizingMargins=30, 3, 3, 30\r\n"
    "[Button.CheckBox]\r\nImageFile1=check.bmp\r\nImageCount=12\r\n"
    "[ScrollBar.ArrowBtn]\r\nImageFile=arrows.bmp\r\nImageCount=20\r\n";

std::unique_ptr<TStyleFile> OpenStyle(const std::vector<pe::Resource>& resources,
                                      const std::string& path = "C:\\styles\\Sample.msstyles") {
  return std::make_unique<TStyleFile>(MemoryFileView(pe::Build(resources).Bytes), path);
}

TEST(StyleConvert, SmallStylePackage) {
  auto style = OpenStyle(SmallStyle(kTheme));
  ASSERT_EQ(style->Variants(), std::vector<std::string>{"NORMALGREEN_INI"});
  std::string name;
  TPackage p = Read(style->ConvertToBytes("NORMALGREEN_INI", name));
  EXPECT_EQ(name, "Sample-GREEN");
  std::vector<std::string> expected = {
      "Buttons.bmp",        "CheckBox.bmp",       "StatusBar.bmp",   "ScrollbarArrow.bmp",
      "MenuBackground.bmp", "MenuItem.bmp",       "CloseButton.bmp", "MaxButton.bmp",
      "MinButton.bmp",      "RestroreButton.bmp", "HelpButton.bmp",  "FrameLeft.bmp",
      "FrameRight.bmp",     "FrameTop.bmp",       "FrameBottom.bmp", "Sample-GREEN.ini"};
  EXPECT_EQ(p.reader.Names(), Lower(expected));  // the reader lowercases names
  EXPECT_EQ(p.Get("TitlebarSkin", "SkinName"), "Sample-GREEN");
  EXPECT_EQ(p.Get("Skins", "Version"), "200");
  EXPECT_EQ(p.Get("Buttons", "CheckButton"), "Checkbox.bmp");
  EXPECT_EQ(p.Get("Buttons", "RadioButton"), "<none>");
  EXPECT_EQ(p.Get("Colours", "MenuText"), "0 0 0");
  EXPECT_EQ(p.Get("Colours", "MenuBarText"), "9 9 9");
  EXPECT_EQ(p.Get("Colours", "Hilight"), "1 2 3");
  EXPECT_EQ(p.Get("Colours", "HilightText"), "<none>");
  EXPECT_EQ(p.Get("Button4", "ButtonImage"), "<none>");
  EXPECT_EQ(p.Int("Button4", "XCoord"), 8);

  // Title buttons: no offset and a malformed one are placed like "0, 0".
  struct {
    const char* section;
    int x, y;
  } buttons[] = {{"Button0", 25, 5},
                 {"Button1", 49, 5},
                 {"Button2", 73, 5},
                 {"Button3", 49, 5},
                 {"Button5", 0, 5}};
  for (const auto& b : buttons) {
    EXPECT_EQ(p.Int(b.section, "XCoord"), b.x) << b.section;
    EXPECT_EQ(p.Int(b.section, "YCoord"), b.y) << b.section;
  }

  // The frame: a 120-wide caption makes a 150-wide canvas; 8-pixel sides
  // become 2 states of 4.
  TPixmap left = p.Image("FrameLeft.bmp"), top = p.Image("FrameTop.bmp");
  EXPECT_EQ(left.Width, 8);
  EXPECT_EQ(left.Height, 100);
  EXPECT_EQ(top.Width, 150 - 8);
  EXPECT_EQ(top.Height, 40);
  // Soft corners of 32-bit frame parts stay see-through, the rest is the
  // blended colour, not grey.
  EXPECT_EQ(left.PixelRGB(0, 0), 0xFF00FFu);              // the caption's top-left corner
  EXPECT_EQ(top.PixelRGB(top.Width / 2, 10), 0x3060C0u);  // darker than the face: exact
  // Margins never exceed the images they describe.
  EXPECT_LT(p.Int("Personality", "LeftTopHeight") + p.Int("Personality", "LeftBotHeight"),
            left.Height);
  EXPECT_LT(p.Int("Personality", "TopTopHeight") + p.Int("Personality", "TopBotHeight"), top.Width);
  // 500 + caption at the top, 500 + bottom edge below: the smaller end
  // stays whole as far as it fits, one row is left to stretch.
  EXPECT_EQ(p.Int("Personality", "LeftBotHeight"), left.Height - 1);
  EXPECT_EQ(p.Int("Personality", "LeftTopHeight"), 0);
  TPixmap push = p.Image("Buttons.bmp");
  EXPECT_LE(p.Int("Buttons", "LeftWidth") + p.Int("Buttons", "Rightwidth"), push.Width / 5);
  EXPECT_LE(p.Int("Buttons", "TopHeight") + p.Int("Buttons", "BottomHeight"), push.Height);

  // Twenty arrow frames: 16 reordered, widened to 23 frames of the real
  // width; frame 1 is the source's ninth.
  TPixmap arrows = p.Image("ScrollbarArrow.bmp");
  EXPECT_EQ(arrows.Width, 23 * 17);
  EXPECT_EQ(arrows.PixelRGB(8, 8), 0x000009u);
  EXPECT_EQ(arrows.PixelRGB(15 * 17 + 8, 8), 0x000006u);
  EXPECT_EQ(arrows.PixelRGB(22 * 17 + 8, 8), 0xFF00FFu);

  // The close button: glyph drawn where it is not magenta.
  TPixmap close = p.Image("CloseButton.bmp");
  EXPECT_EQ(close.Width, 6 * 20);
  EXPECT_EQ(close.PixelRGB(2, 10), 0x808080u);
  EXPECT_EQ(close.PixelRGB(12, 10), 0u);
}

TEST(StyleConvert, VariantsAndNames) {
  struct {
    std::vector<const char*> texts;
    std::vector<std::string> variants;
  } cases[] = {
      {{"NORMALBLUE_INI", "normalx_ini", "THEMES_INI", "NORMALSILVER_INI"},
       {"NORMALBLUE_INI", "NORMALSILVER_INI"}},
      {{"BLUE_INI", "THEMES_INI"}, {"BLUE_INI"}},
      {{"THEMES_INI"}, {}},
  };
  for (const auto& c : cases) {
    std::vector<pe::Resource> r;
    for (const char* t : c.texts)
      r.push_back({K("TEXTFILE"), K(t), 0, pe::TextResource("[x]\r\n")});
    EXPECT_EQ(OpenStyle(r)->Variants(), c.variants);
  }
  // With a file-name list, only the texts it names are offered.
  std::vector<uint8_t> names = pe::Utf16("GREEN_INI", true);
  std::vector<uint8_t> more = pe::Utf16("MISSING_INI", true);
  names.insert(names.end(), more.begin(), more.end());
  names.insert(names.end(), {0, 0});
  EXPECT_EQ(OpenStyle({{K("FILERESNAMES"), K(1), 0, names},
                       {K("TEXTFILE"), K("GREEN_INI"), 0, {}},
                       {K("TEXTFILE"), K("OTHER_INI"), 0, {}}})
                ->Variants(),
            std::vector<std::string>{"GREEN_INI"});

  EXPECT_EQ(VariantName("NORMALGREEN_INI"), "GREEN");
  EXPECT_EQ(VariantName("blue_ini"), "blue");
  EXPECT_EQ(VariantName("X_INI_INI"), "X_INI");
  EXPECT_EQ(StyleBaseName("C:\\a.b\\Luna.Plus.msstyles"), "Luna");
  EXPECT_EQ(StyleBaseName("/x/noext"), "");
  EXPECT_EQ(MakeSkinName("", "GREEN"), "-GREEN");
  for (const char* hostile : {"..\\..\\evil", "a/b", "x\r\ny", "C:evil", "..", "con"}) {
    std::string n = MakeSkinName("", hostile);
    EXPECT_EQ(n.find_first_of("/\\:\r\n"), std::string::npos) << hostile;
    EXPECT_EQ(n.find(".."), std::string::npos) << hostile;
  }
}

TEST(StyleConvert, HostileVariantNameStaysInTheFolder) {
  namespace fs = std::filesystem;
  fs::path dir = fs::path(testing::TempDir()) / "convert_out";
  fs::remove_all(dir);
  fs::create_directories(dir / "inner");
  auto style = OpenStyle(SmallStyle(kTheme, "..\\..\\EVIL_INI"), "/x/y.msstyles");
  ASSERT_EQ(style->Variants().size(), 1u);
  std::string path = style->Convert(style->Variants()[0], (dir / "inner").string());
  EXPECT_EQ(fs::path(path).parent_path(), dir / "inner");
  EXPECT_TRUE(fs::exists(path));
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadFromFile(path));
  EXPECT_EQ(reader.Names().back(), Lower({fs::path(path).stem().string() + ".ini"})[0]);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST(StyleConvert, FailuresWriteNothing) {
  namespace fs = std::filesystem;
  fs::path dir = fs::path(testing::TempDir()) / "convert_fail";
  fs::remove_all(dir);
  fs::create_directories(dir);
  auto style = OpenStyle(SmallStyle("[Button.PushButton]\r\nImageCount=many\r\n"));
  EXPECT_THROW(style->Convert("NORMALGREEN_INI", dir.string()), EConvertError);
  EXPECT_THROW(style->Convert("NORMALRED_INI", dir.string()), EConvertError);
  EXPECT_TRUE(fs::is_empty(dir));
  // A folder that cannot be written: an error, not silence.
  auto good = OpenStyle(SmallStyle(kTheme));
  EXPECT_THROW(good->Convert("NORMALGREEN_INI", (dir / "missing" / "deeper").string()), EFileError);
  // A failed conversion leaves a package of the same name as it was.
  const std::string earlier = (dir / "Sample-GREEN.skn").string();
  WriteFileAtomic(earlier, std::string("earlier package"));
  EXPECT_THROW(style->Convert("NORMALGREEN_INI", dir.string()), EConvertError);
  std::vector<uint8_t> kept;
  ASSERT_TRUE(ReadFileBytes(earlier, kept));
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "earlier package");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST(StyleConvert, AFileWithoutResourcesSaysSo) {
  pe::Options no_rsrc;
  no_rsrc.SectionName = ".data";
  TStyleFile bare(MemoryFileView(pe::Build(SmallStyle(kTheme), no_rsrc).Bytes), "bare.msstyles");
  EXPECT_TRUE(bare.Variants().empty());
  EXPECT_EQ(bare.ResourceError(), "No resources in this file.");
  EXPECT_EQ(OpenStyle(SmallStyle(kTheme))->ResourceError(), "");
}

TEST(StyleConvert, BadCountsAndSizesDoNotBreakTheConversion) {
  for (const char* count : {"0", "-2", "100000", "1"}) {
    // Every frame count of the theme replaced.
    std::string patched = std::regex_replace(std::string(kTheme), std::regex("ImageCount=[0-9]+"),
                                             std::string("ImageCount=") + count);
    std::string name;
    auto style = OpenStyle(SmallStyle(patched));
    TPackage p = Read(style->ConvertToBytes("NORMALGREEN_INI", name));
    EXPECT_EQ(p.reader.Names().back(), "sample-green.ini") << count;
  }
}

TEST(LightStyle, Conversion) {
  if (!std::filesystem::exists(kLight64)) GTEST_SKIP() << kLight64 << " is not installed";
  TStyleFile style(kLight64);
  ASSERT_EQ(style.Variants(), std::vector<std::string>{"BLUE_INI"});
  std::vector<std::string> messages;
  style.OnMessage = [&](const std::string& m) { messages.push_back(m); };
  std::string name;
  TPackage p = Read(style.ConvertToBytes("BLUE_INI", name));
  EXPECT_EQ(name, "light-BLUE");
  EXPECT_TRUE(messages.empty());
  std::vector<std::string> expected = {
      "Buttons.bmp",         "CheckBox.bmp",      "RadioButton.bmp",    "Progress.bmp",
      "ProgressChunk.bmp",   "Tab.bmp",           "TabSheet.bmp",       "ComboboxBtn.bmp",
      "StatusBar.bmp",       "Header.bmp",        "ScrollbarArrow.bmp", "ScrollbarHThumb.bmp",
      "ScrollbarVThumb.bmp", "ScrollbarHBar.bmp", "ScrollbarVBar.bmp",  "MenuBackground.bmp",
      "MenuItem.bmp",        "ExtraImages.bmp",   "TrackThumbH.bmp",    "TrackBot.bmp",
      "TrackBar.bmp",        "TrackBarV.bmp",     "Mdibutton.bmp",      "Spin.bmp",
      "SpinArrow.bmp",       "Spinh.bmp",         "SpinhArrow.bmp",     "CloseButton.bmp",
      "MaxButton.bmp",       "MinButton.bmp",     "RestroreButton.bmp", "HelpButton.bmp",
      "FrameLeft.bmp",       "FrameRight.bmp",    "FrameTop.bmp",       "FrameBottom.bmp",
      "MinCaption.bmp",      "light-BLUE.ini"};
  EXPECT_EQ(p.reader.Names(), Lower(expected));  // the reader lowercases names
  // Every image is a 24-bit bitmap whose width holds its frames.
  struct {
    const char* member;
    int frames;
  } frames[] = {{"Buttons.bmp", 5},     {"CheckBox.bmp", 12},       {"RadioButton.bmp", 8},
                {"Tab.bmp", 5},         {"ComboboxBtn.bmp", 4},     {"StatusBar.bmp", 3},
                {"Header.bmp", 5},      {"ScrollbarArrow.bmp", 23}, {"ScrollbarHThumb.bmp", 4},
                {"CloseButton.bmp", 6}, {"Mdibutton.bmp", 12},      {"Spin.bmp", 8},
                {"SpinArrow.bmp", 8},   {"TrackThumbH.bmp", 5},     {"FrameLeft.bmp", 2},
                {"ExtraImages.bmp", 5}};
  for (const auto& f : frames) {
    TPixmap image = p.Image(f.member);
    EXPECT_EQ(image.BitsPerPixel, 24) << f.member;
    EXPECT_GT(image.Width, 0) << f.member;
    EXPECT_EQ(image.Width % f.frames, 0) << f.member;
  }
  // The status gripper (chosen by resolution in this style) sits in the
  // fifth frame of the extra images, the rest is see-through.
  TPixmap extra = p.Image("ExtraImages.bmp");
  EXPECT_EQ(extra.PixelRGB(0, 0), 0xFF00FFu);
  EXPECT_EQ(extra.Height, extra.Width / 5);  // one square frame of the stacked strip
  // Check boxes: the unchecked normal frame has a visible box, and the
  // checked frames differ from the unchecked ones.
  TPixmap check = p.Image("CheckBox.bmp");
  int fw = check.Width / 12;
  bool differs = false;
  for (int y = 0; y < check.Height; ++y) {
    for (int x = 0; x < fw; ++x)
      differs = differs || check.PixelRGB(x, y) != check.PixelRGB(4 * fw + x, y);
  }
  EXPECT_TRUE(differs);
  // Title buttons show their glyph: the close button's first frame is not
  // a single colour.
  TPixmap close = p.Image("CloseButton.bmp");
  std::set<uint32_t> colours;
  for (int y = 0; y < close.Height; ++y) {
    for (int x = 0; x < close.Width / 6; ++x)
      colours.insert(close.PixelRGB(x, y));
  }
  EXPECT_GT(colours.size(), 3u);
  // Frame margins stay inside their images.
  TPixmap left = p.Image("FrameLeft.bmp"), top = p.Image("FrameTop.bmp");
  EXPECT_LT(p.Int("Personality", "LeftTopHeight") + p.Int("Personality", "LeftBotHeight"),
            left.Height);
  EXPECT_LT(p.Int("Personality", "TopTopHeight") + p.Int("Personality", "TopBotHeight"), top.Width);
  // The style's top margin (91) and the caption overflow the side images:
  // the bottom edge is kept whole, one row is left to stretch.
  int bottom = p.Image("FrameBottom.bmp").Height / 2;
  EXPECT_EQ(p.Int("Personality", "LeftBotHeight"), bottom);
  EXPECT_EQ(p.Int("Personality", "LeftTopHeight"), left.Height - 1 - bottom);
  EXPECT_EQ(p.Get("Colours", "ButtonFace"), "245 245 245");
  EXPECT_EQ(p.Int("Button0", "XCoord"), 25);
}

}  // namespace
