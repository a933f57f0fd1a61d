#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "engine/image_ops.h"
#include "engine/skin_parse.h"
#include "format/skin_package.h"
#include "test_skin.h"

namespace {

struct TPkg {
  std::string ini;
  std::vector<std::pair<std::string, std::vector<uint8_t>>> members;
  TPkg& Bmp(const std::string& name, int w, int h, TColor c = RGBColour(10, 200, 30)) {
    members.push_back({name, EncodeBmp(SolidImage(w, h, c))});
    return *this;
  }
  std::vector<uint8_t> Bytes(const std::string& ini_name = "skin.ini") const {
    TSkinWriter w;
    if (!ini_name.empty()) w.AddMember(ini_name, std::vector<uint8_t>(ini.begin(), ini.end()));
    for (const auto& [n, b] : members)
      w.AddMember(n, b);
    return w.SaveToBytes();
  }
};

TSkinContent Parse(const TPkg& p) {
  TSkinContent c;
  EXPECT_TRUE(LoadSkinPackage(c, p.Bytes()));
  return c;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Compares a dump with a golden file under engine/tests/golden; with
// MV_UPDATE_GOLDEN set the file is rewritten instead.
void ExpectGolden(const std::string& dump, const std::string& name) {
  const std::string path = std::string(MV_SOURCE_DIR) + "/engine/tests/golden/" + name;
  if (std::getenv("MV_UPDATE_GOLDEN")) {
    std::ofstream(path, std::ios::binary) << dump;
    return;
  }
  EXPECT_EQ(dump, ReadText(path)) << "golden " << path;
}

TEST(SkinParse, TestSkinMatchesGolden) {
  TSkinContent c;
  ASSERT_TRUE(LoadSkinPackage(c, MakeTestSkin().Package()));
  ExpectGolden(DumpSkinContent(c), "test_skin.txt");
}

TEST(SkinParse, BitmapsOfTheTestSkinArriveWhole) {
  const TTestSkin skin = MakeTestSkin({.Grow = 3, .ColourVariant = 2});
  TSkinContent c;
  ASSERT_TRUE(LoadSkinPackage(c, skin.Package()));
  const TTestElement* top = skin.Find("top.bmp");
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(c.TopBorder.Bitmap.Width, top->FrameWidth);
  EXPECT_EQ(c.TopBorder.Bitmap.Height, 2 * top->FrameHeight);
  // Frame 2 of the stacked top strip is the lower half, in frame 2's colour.
  const TRect f2 = c.TopBorder.Frame(2, true);
  EXPECT_EQ(GetPixel(c.TopBorder.Bitmap, f2.Left + 30, f2.Top + 5),
            TestPieceColour(top->Index, 2, TTestPiece::Centre, 2));
  const TTestElement* sb = skin.Find("scrollbar.bmp");
  ASSERT_NE(sb, nullptr);
  const TDataSkinObject* scroll = c.Element(ksScrollbar);
  ASSERT_NE(scroll, nullptr);
  EXPECT_EQ(GetPixel(scroll->Bitmap, scroll->Frame(17).Left + 8, 8),
            TestPieceColour(sb->Index, 17, TTestPiece::Centre, 2));
}

TEST(SkinParse, CheckAndRadioCellCounts) {
  for (const auto& [check, radio] : {std::pair{4, 4}, {12, 8}}) {
    TSkinContent c;
    ASSERT_TRUE(
        LoadSkinPackage(c, MakeTestSkin({.CheckCells = check, .RadioCells = radio}).Package()));
    EXPECT_EQ(c.Buttons.CheckButtonFrame, check);
    EXPECT_EQ(c.Buttons.RadioButtonFrame, radio);
  }
  // Cells 16 wide when the strip is 16 or more high; at least 4 cells.
  TPkg p;
  p.ini = "[Buttons]\r\nCheckButton=c.bmp\r\nRadioButton=r.bmp\r\n";
  p.Bmp("c.bmp", 16 * 6, 16).Bmp("r.bmp", 20, 10);
  const TSkinContent c = Parse(p);
  EXPECT_EQ(c.Buttons.CheckButtonFrame, 6);
  EXPECT_EQ(c.Buttons.RadioButtonFrame, 4);
}

TEST(SkinParse, ColoursDefaultToSystemReferences) {
  TPkg p;
  p.ini = "[Skins]\r\nVersion=200\r\n";
  TSkinContent c = Parse(p);
  const struct {
    TSkinColourSlot slot;
    int sys;
  } want[] = {{kcWindowText, kSysWindowText},
              {kcTitleTextActive, kSysCaptionText},
              {kcTitleTextNoActive, kSysInactiveCaptionText},
              {kcButtonFace, kSysBtnFace},
              {kcButtonText, kSysBtnText},
              {kcButtonHilight, kSysBtnHighlight},
              {kcButtonlight, kSysBtnHighlight},
              {kcButtonShadow, kSysBtnShadow},
              {kcButtonDkShadow, kSys3DDkShadow},
              {kcHilightText, kSysHighlightText},
              {kcHilight, kSysHighlight},
              {kcMenubar, kSysBtnFace},
              {kcMenuBarText, kSysMenuText},
              {kcMenuText, kSysMenuText},
              {kcMenu, kSysMenu},
              {kcScrollbar, kSysScrollbar}};
  for (const auto& w : want) {
    EXPECT_EQ(c.Colours[w.slot], SystemColourRef(w.sys)) << w.slot;
    EXPECT_FALSE(c.ColourSet[w.slot]);
  }
  EXPECT_EQ(c.CustomColors[9], kWhite);

  p.ini =
      "[Colours]\r\nButtonFace=1 2 3\r\nMenu=4,5,6\r\n[Colour7]\r\ncolor=9 9 9\r\n[COLOURS2]\r\n"
      "[Customcolors]\r\nColor3=7 8 9\r\n";
  c = Parse(p);
  EXPECT_EQ(c.Colours[kcMenubar], RGBColour(1, 2, 3));  // the skin's ButtonFace
  EXPECT_TRUE(c.ColourSet[kcButtonFace]);
  EXPECT_FALSE(c.ColourSet[kcMenubar]);
  EXPECT_EQ(c.Colours[kcMenu], RGBColour(4, 5, 6));
  EXPECT_EQ(c.Palette, (std::vector<TColor>{RGBColour(9, 9, 9), SystemColourRef(kSysWindowText)}));
  EXPECT_EQ(c.CustomColors[3], RGBColour(7, 8, 9));
  // Without a top border the frame sample is the button face.
  EXPECT_EQ(c.FrameSample, RGBColour(1, 2, 3));
}

TEST(SkinParse, TitleButtonSelectionAndFrameCounts) {
  TPkg p;
  p.ini =
      "[BUTTON]\r\nButtonImage=a.bmp\r\n"
      "[Buttons]\r\n"
      "[Button.Radio]\r\nButtonImage=a.bmp\r\n"
      "[button.checkbox]\r\nButtonImage=a.bmp\r\n"
      "[ButtonWide]\r\nButtonImage=wide.bmp\r\nAction=0\r\n"
      "[ButtonNarrow]\r\nButtonImage=narrow.bmp\r\nAction=2\r\n"
      "[ButtonFixed]\r\nButtonImage=wide.bmp\r\nframe=2\r\n"
      "[ButtonDeco]\r\nButtonImage=narrow.bmp\r\nAction=-1\r\n"
      "[ButtonDecoShown]\r\nButtonImage=narrow.bmp\r\nAction=-1\r\nVisibility=0\r\n"
      "[ButtonMax]\r\nButtonImage=narrow.bmp\r\nAction=1\r\nVisibility=2\r\nXcoord=40\r\nYcoord="
      "3\r\n"
      "[ButtonHelp]\r\nButtonImage=narrow.bmp\r\nAction=4\r\nXcoord=90\r\nYcoord=9\r\n"
      "[ButtonIcon]\r\nButtonImage=narrow.bmp\r\nAction=3\r\n"
      "[ButtonNoImage]\r\nAction=5\r\n";
  p.Bmp("a.bmp", 10, 10).Bmp("wide.bmp", 96, 24).Bmp("narrow.bmp", 72, 24);
  const TSkinContent c = Parse(p);
  std::vector<std::string> names;
  for (const auto& b : c.TitleButtons)
    names.push_back(b->Name);
  EXPECT_EQ(names,
            (std::vector<std::string>{"BUTTONWIDE", "BUTTONNARROW", "BUTTONFIXED",
                                      "BUTTONDECOSHOWN", "BUTTONMAX", "BUTTONHELP", "BUTTONICON",
                                      "BUTTONNOIMAGE", "MDIMINIMIZE", "MDIRESTORE", "MDICLOSE"}));
  auto find = [&](const std::string& n) -> const TDataSkinSysButton& {
    for (const auto& b : c.TitleButtons)
      if (b->Name == n) return *b;
    throw std::runtime_error(n);
  };
  EXPECT_EQ(find("BUTTONWIDE").FrameCount, 6);    // ratio 4
  EXPECT_EQ(find("BUTTONNARROW").FrameCount, 3);  // ratio 3
  EXPECT_EQ(find("BUTTONFIXED").FrameCount, 2);
  EXPECT_EQ(find("BUTTONDECOSHOWN").FrameCount, 6);  // negative action
  EXPECT_EQ(find("BUTTONDECOSHOWN").Visibility1, -1);
  EXPECT_EQ(find("BUTTONNARROW").Visibility1, 0);
  EXPECT_EQ(find("BUTTONNARROW").CombineOp, -1);
  EXPECT_EQ(find("BUTTONHELP").Xcoord, 40);  // the maximise button's place
  EXPECT_EQ(find("BUTTONHELP").Ycoord, 3);
  EXPECT_TRUE(find("BUTTONICON").Bitmap.Empty());
  EXPECT_EQ(find("BUTTONNOIMAGE").FrameCount, 6);
  const TDataSkinSysButton& close = find("MDICLOSE");
  EXPECT_EQ(close.Action, 9);
  EXPECT_EQ(close.Align, 100);
  EXPECT_EQ(close.FrameCount, 4);
  EXPECT_TRUE(close.Bitmap.Empty());
}

TEST(SkinParse, MdiButtonsCutFromTheirStrip) {
  TPkg p;
  p.ini = "[MDICONTROLS]\r\nImage=mdi.bmp\r\n";
  TPixmap strip(12 * 10, 9, 24);
  for (int x = 0; x < strip.Width; ++x)
    FillRectangle(strip, x, 0, x + 1, 9, RGBColour(x, 100, 100));
  p.members.push_back({"mdi.bmp", EncodeBmp(strip)});
  const TSkinContent c = Parse(p);
  ASSERT_EQ(c.TitleButtons.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    const auto& b = *c.TitleButtons[static_cast<size_t>(i)];
    EXPECT_EQ(b.Bitmap.Width, 40);
    EXPECT_EQ(GetPixel(b.Bitmap, 0, 0), RGBColour(40 * i, 100, 100));
    EXPECT_EQ(b.Xcoord, 14 * (3 - i));
    EXPECT_EQ(b.Visibility, 100);
    EXPECT_EQ(b.Visibility1, 100);
  }
}

TEST(SkinParse, ReadMemberBitmapNames) {
  TPkg p;
  p.Bmp("frame.bmp", 3, 2);
  p.members.push_back({"broken.bmp", {'B', 'M', 1, 2, 3}});
  p.members.push_back({"empty.bmp", {}});
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadFromStream(p.Bytes()));
  const struct {
    const char* value;
    int width;
  } cases[] = {{"frame.bmp", 3},      {"FRAME.bmp", 3}, {"skins\\frame.bmp", 3},
               {"a/b\\frame.bmp", 3}, {"frame.BMP", 0}, {"frame", 0},
               {"skins\\", 0},        {"", 0},          {"missing.bmp", 0},
               {"broken.bmp", 0},     {"empty.bmp", 0}};
  for (const auto& c : cases) {
    TSkinBitmap b = SolidImage(5, 5, kWhite);  // the previous picture must go
    ReadMemberBitmap(reader, b, c.value);
    EXPECT_EQ(b.Width, c.width) << c.value;
    EXPECT_EQ(b.Empty(), c.width == 0) << c.value;
  }
}

TEST(SkinParse, ForcedFrameCounts) {
  // Every section says Frame=7; the engine knows better for most of them.
  const struct {
    TSkinSlot slot;
    int want;
  } table[] = {
      {ksProgress, 2},       {ksProgressChunk, 7},   {ksGroupBoxEdge, 2},    {ksGroupBox, 1},
      {ksTabs, 5},           {ksStatusBarEdges, 3},  {ksTabPane, 1},         {ksToolBars, 5},
      {ksComboButton, 4},    {ksSunkEdge, 4},        {ksExtraImages, 5},     {ksHeaderbar, 7},
      {ksMenuItem, 5},       {ksMenuBackground, 1},  {ksScrollbar, 23},      {ksHorzScroll, 4},
      {ksVertScroll, 4},     {ksHorzScrollThumb, 3}, {ksVertScrollThumb, 9}, {ksTrackThumbHorz, 5},
      {ksTrackThumbDown, 5}, {ksUpDownHorz, 8},      {ksUpDownVert, 8},      {ksTrack, 7},
      {ksTrackVert, 1},      {ksMenuBar, 2},         {ksToolbar, 1}};
  TPkg p;
  p.Bmp("x.bmp", 40, 20);
  p.ini = "[Personality]\r\nmenuBar=x.bmp\r\n";
  for (int s = 0; s < kSkinSlotCount; ++s) {
    const std::string name(SkinSlotName(static_cast<TSkinSlot>(s)));
    if (s == ksMenuBar || s == ksComboxArrow || s == ksToolbar || s == ksTrackVert) continue;
    p.ini +=
        "[" + name + "]\r\n" + (s == ksProgress ? "Bitmap" : "Image") + "=x.bmp\r\nFrame=7\r\n";
    if (s == ksVertScrollThumb) p.ini += "FrameCount=9\r\n";
  }
  // SunkEdge and ComboButton make the combo composite; its strip keeps 4 frames.
  const TSkinContent c = Parse(p);
  for (const auto& t : table) {
    ASSERT_NE(c.Element(t.slot), nullptr) << SkinSlotName(t.slot);
    EXPECT_EQ(c.Element(t.slot)->FrameCount, t.want) << SkinSlotName(t.slot);
  }
  EXPECT_EQ(c.Title.FrameCount, 2);
  EXPECT_EQ(c.Buttons.FrameCount, 5);
  // The built-in vertical track: margins 3, not tiled.
  EXPECT_EQ(c.Element(ksTrackVert)->Margins(), (TMargins{3, 3, 3, 3}));
}

TEST(SkinParse, ProgressStyleAndHeaderbarDefaults) {
  TPkg p;
  p.Bmp("x.bmp", 40, 20);
  p.ini =
      "[Progress]\r\nBitmap=x.bmp\r\nStyle=1\r\nTile=5\r\n[Headerbar]\r\nImage=x.bmp\r\nFrame=0\r\n"
      "[Tab.Pane]\r\nImage=x.bmp\r\nLeftWidth=6\r\nTopHeight=2\r\nRightWidth=9\r\nBottomHeight="
      "4\r\n"
      "[MenuItem]\r\nImage=x.bmp\r\nTile=3\r\nNormalColour2=1 2 3\r\n";
  const TSkinContent c = Parse(p);
  EXPECT_EQ(c.Element(ksProgress)->FrameCount, 1);
  EXPECT_EQ(c.Element(ksProgress)->Tile, 1);  // progress caps Tile at 1
  EXPECT_EQ(c.Element(ksHeaderbar)->FrameCount, 5);
  EXPECT_EQ(c.Element(ksTabPane)->Margins(), (TMargins{4, 2, 4, 4}));
  EXPECT_EQ(c.Element(ksMenuItem)->Tile, 0);  // other readers make it 0
  EXPECT_EQ(c.Element(ksMenuItem)->NormalColour2, RGBColour(1, 2, 3));
  EXPECT_EQ(c.Element(ksMenuItem)->PressedColour2, SystemColourRef(kSysBtnText));
  EXPECT_EQ(c.Element(ksMenuItem)->NormalColour, -1);
}

// The header bar's strip holds five frames unless its section gives another
// count: without the key, with 0, or with a value that is no number. Other
// image sections without the key hold one frame.
TEST(SkinParse, HeaderbarFramesWithoutAFrameKey) {
  const struct {
    const char* frame_line;
    int want;
  } table[] = {{"", 5},
               {"Frame=0\r\n", 5},
               {"Frame=\r\n", 5},
               {"Frame=many\r\n", 5},
               {"Frame=1\r\n", 1},
               {"Frame=3\r\n", 3}};
  for (const auto& t : table) {
    TPkg p;
    p.Bmp("x.bmp", 150, 20);
    p.ini = std::string("[Headerbar]\r\nImage=x.bmp\r\n") + t.frame_line +
            "[MenuBackground]\r\nImage=x.bmp\r\n[Progress.Chunk]\r\nImage=x.bmp\r\n";
    const TSkinContent c = Parse(p);
    ASSERT_NE(c.Element(ksHeaderbar), nullptr) << t.frame_line;
    EXPECT_EQ(c.Element(ksHeaderbar)->FrameCount, t.want) << "'" << t.frame_line << "'";
    EXPECT_EQ(c.Element(ksProgressChunk)->FrameCount, 1) << t.frame_line;
  }
}

TEST(SkinParse, ComboCompositeAndArrow) {
  const TTestSkin skin = MakeTestSkin();
  TSkinContent c;
  ASSERT_TRUE(LoadSkinPackage(c, skin.Package(), {.HScrollWidth = 17}));
  const TDataSkinBorder* button = c.Border(ksComboButton);
  const TDataSkinObject* sunk = c.Element(ksSunkEdge);
  ASSERT_TRUE(button && sunk);
  EXPECT_EQ(button->Style, 2);
  EXPECT_EQ(button->Bitmap.Width, 200);
  EXPECT_EQ(button->Bitmap.Height, 21);
  EXPECT_EQ(button->Margins(), (TMargins{2, 2, 21, 2}));
  EXPECT_EQ(sunk->Margins(), (TMargins{21, 2, 2, 2}));
  // The inner field of every cell is magenta; the button occupies the right
  // 19 columns; the sunk edge strip is the mirror image.
  const TTestElement* cb = skin.Find("combobutton.bmp");
  for (int k = 1; k <= 4; ++k) {
    const int x0 = 50 * (k - 1);
    EXPECT_EQ(GetPixel(button->Bitmap, x0 + 10, 10), kMagenta);
    EXPECT_EQ(GetPixel(button->Bitmap, x0 + 40, 1), TestPieceColour(cb->Index, k, TTestPiece::Top));
    EXPECT_EQ(GetPixel(sunk->Bitmap, 199 - x0 - 40, 1), GetPixel(button->Bitmap, x0 + 40, 1));
  }
  const TDataSkinObject* arrow = c.Element(ksComboxArrow);
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(arrow->Bitmap.Width, 68);
  EXPECT_EQ(arrow->Bitmap.Height, 17);
  EXPECT_EQ(arrow->FrameCount, 4);
  // Arrow cell 2 is the button strip's (81..98, 2..19).
  EXPECT_EQ(GetPixel(arrow->Bitmap, 17 + 5, 3), GetPixel(button->Bitmap, 81 + 5, 5));
}

TEST(SkinParse, ComboArrowWithoutSunkEdgeFillsMagentaWithButtonFace) {
  TPkg p;
  p.ini = "[Colours]\r\nButtonFace=1 2 3\r\n[ComboButton]\r\nImage=cb.bmp\r\n";
  TPixmap cb = SolidImage(40, 10, kMagenta);
  FillRectangle(cb, 0, 0, 40, 2, RGBColour(7, 7, 7));
  p.members.push_back({"cb.bmp", EncodeBmp(cb)});
  const TSkinContent c = Parse(p);
  const TDataSkinObject* arrow = c.Element(ksComboxArrow);
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(arrow->FrameCount, 4);
  EXPECT_EQ(GetPixel(arrow->Bitmap, 3, 5), RGBColour(1, 2, 3));
  EXPECT_EQ(GetPixel(arrow->Bitmap, 3, 0), RGBColour(7, 7, 7));
  // The combo button's mirrored copy.
  EXPECT_EQ(c.Border(ksComboButton)->SecondBitmap.Width, 40);
}

TEST(SkinParse, ToolbarGradientFromTheFrameSample) {
  TPkg p;
  // Top border stacked 2 frames of 30 by 12; sample at (30 div 3, 12 div 3).
  p.ini = "[Colours]\r\nButtonFace=200 200 200\r\n[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\n";
  TPixmap top = SolidImage(30, 24, RGBColour(90, 90, 90));
  SetPixel(top, 10, 4, RGBColour(40, 80, 200));
  p.members.push_back({"top.bmp", EncodeBmp(top)});
  const TSkinContent c = Parse(p);
  EXPECT_EQ(c.FrameSample, RGBColour(40, 80, 200));
  const TDataSkinObject* tb = c.Element(ksToolbar);
  ASSERT_NE(tb, nullptr);
  EXPECT_EQ(tb->Bitmap.Width, 10);
  EXPECT_EQ(tb->Bitmap.Height, 40);
  const TColor s = Blend(RGBColour(200, 200, 200), kWhite, 150);
  const int sat = SaturationMeasure(RGBColour(40, 80, 200));
  ASSERT_GT(sat, 110);
  const TColor e = Blend(RGBColour(40, 80, 200), kWhite, (225 - sat) * 25 / 140 + 50);
  // A falling channel may end one step short of e: the ramp decides.
  TRampCache ramps;
  const std::vector<TColor> ramp = ramps.Ramp(ramps.GetRamp(40, s, e));
  for (int y : {0, 17, 39})
    EXPECT_EQ(GetPixel(tb->Bitmap, 5, y), ramp[static_cast<size_t>(y)]) << y;
  EXPECT_EQ(GetPixel(tb->Bitmap, 5, 0), s);
}

TEST(SkinParse, SecondSkinDropsMissingSectionsButKeepsDerivedElements) {
  TSkinContent c;
  ASSERT_TRUE(LoadSkinPackage(c, MakeTestSkin().Package()));
  const TDataSkinObject* arrow = c.Element(ksComboxArrow);
  const TDataSkinObject* toolbar = c.Element(ksToolbar);
  ASSERT_TRUE(arrow && toolbar);
  TPkg p;
  p.ini = "[Skins]\r\nVersion=200\r\n";
  ASSERT_TRUE(LoadSkinPackage(c, p.Bytes()));
  EXPECT_EQ(c.Element(ksScrollbar), nullptr);
  EXPECT_EQ(c.Element(ksMenuBar), nullptr);
  EXPECT_TRUE(c.TopBorder.Bitmap.Empty());
  EXPECT_EQ(c.Element(ksComboxArrow), arrow);
  EXPECT_EQ(c.Element(ksToolbar), toolbar);
  EXPECT_NE(c.Element(ksTrack), nullptr);  // built in
  EXPECT_EQ(c.TitleButtons.size(), 3u);    // only the MDI buttons
}

TEST(SkinParse, RefusedPackagesLeaveThePreviousSkin) {
  TSkinContent c;
  ASSERT_TRUE(LoadSkinPackage(c, MakeTestSkin().Package()));
  const std::string before = DumpSkinContent(c);
  TPkg no_ini;
  no_ini.Bmp("a.bmp", 2, 2);
  std::vector<uint8_t> garbage = MakeTestSkin().Package();
  garbage.resize(garbage.size() / 2);
  for (const std::vector<uint8_t>& bytes :
       {no_ini.Bytes(""), garbage, std::vector<uint8_t>{}, std::vector<uint8_t>{1, 2, 3}}) {
    EXPECT_FALSE(LoadSkinPackage(c, bytes));
    EXPECT_EQ(DumpSkinContent(c), before);
  }
  TSkinContent fresh;
  EXPECT_FALSE(LoadSkinPackage(fresh, no_ini.Bytes("")));
  EXPECT_TRUE(fresh.SkinEmpty);
}

TEST(SkinParse, MalformedValuesAreMended) {
  TPkg p;
  p.Bmp("x.bmp", 40, 20).Bmp("tiny.bmp", 1, 1);
  p.ini =
      "[Personality]\r\nLeft=x.bmp\r\nLeftFrame=0\r\nTop=x.bmp\r\nTopFrame=-5\r\nTopTopHeight="
      "900\r\n"
      "[ProgresS.chunk]\r\nimage=x.bmp\r\nFrame=-2\r\nLeftWidth=-7\r\n"
      "[Trackbar.ThumbHorz]\r\nImage=tiny.bmp\r\n"
      "[ButtonA]\r\nButtonImage=x.bmp\r\nframe=-1\r\n"
      "[SunkEdge]\r\nImage=tiny.bmp\r\n[ComboButton]\r\nImage=tiny.bmp\r\n";
  const TSkinContent c = Parse(p);
  EXPECT_EQ(c.LeftBorder.FrameCount, 1);
  EXPECT_EQ(c.TopBorder.FrameCount, 1);
  EXPECT_EQ(c.Element(ksProgressChunk)->FrameCount, 1);
  EXPECT_EQ(c.TitleButtons[0]->FrameCount, 1);
  // A 1 by 1 thumb strip of 5 frames has empty frames; plans stay empty.
  const TDataSkinObject* t = c.Element(ksTrackThumbHorz);
  EXPECT_TRUE(t->Frame(3).IsEmpty());
  EXPECT_TRUE(PlanSliceFrame(10, 10, t->Frame(3), t->Margins(), false).empty());
  EXPECT_EQ(c.Element(ksComboButton)->Bitmap.Width, 200);
}

}  // namespace
