#include <gtest/gtest.h>

#include "engine/skin_options.h"
#include "engine/skin_rules.h"

namespace {

TWindowFacts Form(const std::string& cls) {
  TWindowFacts w;
  w.ClassName = cls;
  w.HasForm = true;
  return w;
}

TEST(SkinRules, JudgeWindow) {
  TJudgeContext on;
  on.SkinningOn = true;
  on.HasMainSkinData = true;
  on.MainOptions = DefaultSkinOptions();
  TJudgeContext no_preview = on;
  no_preview.MainOptions.Exclude(xoPreview);
  TJudgeContext all_pass = on;
  all_pass.SkinAllPass = true;
  TJudgeContext off = on;
  off.SkinningOn = false;
  TJudgeContext filter = on;
  filter.Filter = [](std::string_view cls, bool d) { return cls == "TVeto" ? false : d; };
  TJudgeContext overrule = on;  // a filter that skins whatever it is shown
  overrule.Filter = [](std::string_view, bool) { return true; };

  TWindowFacts child = Form("TPanelForm");
  child.Style = kWsChild;
  TWindowFacts mdi_child = child;
  mdi_child.ExStyle = kWsExMdiChild;
  mdi_child.HasArea = false;
  TWindowFacts in_mdi_client = child;
  in_mdi_client.ParentClass = "MDIClient";
  TWindowFacts tag99 = Form("TForm1");
  tag99.FormTag = 99;
  TWindowFacts tag5 = Form("TForm1");
  tag5.FormTag = 5;
  TWindowFacts foreign;
  foreign.ClassName = "SomeoneElses";
  TWindowFacts own_bare = foreign;
  own_bare.OwnModule = true;
  TWindowFacts dialog;
  dialog.ClassName = "#32770";
  TWindowFacts fg_dialog = dialog;
  fg_dialog.Style = kDsSetForeground;
  TWindowFacts empty_area = Form("TForm1");
  empty_area.HasArea = false;
  TWindowFacts skinned = Form("TForm1");
  skinned.Skinned = true;

  using V = TSkinVerdict;
  const struct {
    const char* what;
    TWindowFacts w;
    const TJudgeContext& ctx;
    V want;
  } cases[] = {
      {"plain form", Form("TForm1"), on, V::Skin},
      {"skinning off", Form("TForm1"), off, V::SkinningOff},
      {"already skinned", skinned, on, V::AlreadySkinned},
      {"child window", child, on, V::ChildWindow},
      {"child during skin-all", child, all_pass, V::Skin},
      {"MDI child without area", mdi_child, on, V::Skin},
      {"child of the MDI client", in_mdi_client, on, V::Skin},
      {"foreign bare window", foreign, on, V::NotOurs},
      {"own bare window", own_bare, on, V::Skin},
      {"system dialog", dialog, on, V::Skin},
      {"set-foreground dialog", fg_dialog, on, V::Filtered},
      {"empty window", empty_area, on, V::NoArea},
      {"Tag 99", tag99, on, V::FixedTag},
      {"Tag 5", tag5, on, V::Skin},
      {"dev popup", Form("TcxPopupEditPopupWindowX"), on, V::ExcludedClass},
      {"render window", Form("TTERenderWindow"), on, V::ExcludedClass},
      {"application", Form("TApplication"), on, V::ExcludedClass},
      {"preview allowed", Form("TPrintPreViewForm"), on, V::Skin},
      {"preview refused", Form("TPrintPreViewForm"), no_preview, V::Filtered},
      {"db tree popup", Form("TPopupDBTreeView"), on, V::Filtered},
      {"filter veto", Form("TVeto"), filter, V::Filtered},
      {"filter passes", Form("TForm2"), filter, V::Skin},
      {"filter sees the decision so far", Form("TPreviewX"), overrule, V::Skin},
  };
  for (const auto& c : cases)
    EXPECT_EQ(JudgeWindow(c.w, c.ctx), c.want) << c.what;

  // Without a main component no filter runs at all.
  TJudgeContext bare = no_preview;
  bare.HasMainSkinData = false;
  EXPECT_EQ(JudgeWindow(Form("TPreviewForm"), bare), V::Skin);
}

TEST(SkinRules, ChooseSkinData) {
  const TSkinDataFacts main1{sfMainform}, main2{sfMainform}, dlg{sfDialog},
      only{sfOnlyThisForm, true}, only_other{sfOnlyThisForm, false}, dll{sfDLL};
  const struct {
    std::vector<TSkinDataFacts> list;
    const char* cls;
    int want;
  } cases[] = {
      {{}, "TForm1", -1},
      {{main1, main2}, "TForm1", 1},  // the later main component skins
      {{main1, only, main2}, "TForm1", 1},
      {{main1, only_other}, "TForm1", 0},
      {{main1, dlg}, "#32770", 1},
      {{main1, dlg}, "TMessageForm", 1},
      {{main1, dlg}, "TForm1", 0},
      {{dll, dlg}, "TForm1", 0},  // nothing matches: the first registered
      {{dll, main1}, "#32770", 1},
      {{only, dlg}, "#32770", 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ChooseSkinData(c.list, c.cls), c.want) << c.cls << " of " << c.list.size();
  EXPECT_EQ(ChooseMainSkinData({dll, main1, main2}), 1);
  EXPECT_EQ(ChooseMainSkinData({dll, dlg}), -1);
}

TEST(SkinRules, PopupGate) {
  TSkinControlTypes none;
  EXPECT_FALSE(PopupKindAllowed(0, none));
  EXPECT_TRUE(PopupKindAllowed(0, {xcPopupMenu}));
  EXPECT_FALSE(PopupKindAllowed(0, {xcMainMenu}));
  EXPECT_TRUE(PopupKindAllowed(1, {xcMainMenu}));
  EXPECT_TRUE(PopupKindAllowed(1, {xcMenuItem}));
  EXPECT_FALSE(PopupKindAllowed(1, {xcPopupMenu}));
  EXPECT_TRUE(PopupKindAllowed(2, {xcSystemMenu}));
  EXPECT_FALSE(PopupKindAllowed(2, {xcMainMenu, xcPopupMenu}));
  EXPECT_FALSE(PopupKindAllowed(3, TSkinControlTypes::All()));
}

TEST(SkinRules, ActionsBeforeAndAfterTheFirstActivation) {
  for (int kind : {1, 2, 3}) {
    const TActionStart running = StartAction(kind, 1);
    EXPECT_TRUE(running.StartTimer);
    EXPECT_FALSE(running.SetsSkinning);
    const TActionStart idle = StartAction(kind, 0);
    EXPECT_FALSE(idle.StartTimer);
    EXPECT_EQ(idle.SetsSkinning, kind != 3);
    EXPECT_EQ(idle.SkinningValue, kind == 1);
  }
}

TEST(SkinOptions, DefaultsAndStoredForms) {
  const TSkinControlTypes c = DefaultSkinControls();
  EXPECT_FALSE(c.Has(xcMenuItem));
  EXPECT_FALSE(c.Has(xcFastReport));
  EXPECT_TRUE(c.Has(xcSystemMenu));
  EXPECT_EQ(StoredSkinControls(c), 0x1FFFFBu);
  EXPECT_EQ(StoredSkinOptions(DefaultSkinOptions()), (1u << 3) | (1u << 6));
}

TEST(SkinOptions, BuiltinSkin3rdTable) {
  const auto& rows = BuiltinSkin3rd();
  ASSERT_EQ(rows.size(), 118u);
  EXPECT_EQ(rows.front(), "TCategoryButtons=scrollbar");
  EXPECT_EQ(rows[7], "TComboboxex=combobox");
  EXPECT_EQ(rows.back(), "TOVCDBNUMERICFIELD=Edit");
  for (const std::string& r : rows) {
    const size_t eq = r.find('=');
    ASSERT_NE(eq, std::string::npos) << r;
    EXPECT_TRUE(r.starts_with("T")) << r;
    EXPECT_GT(r.size(), eq + 1) << r;
  }
  EXPECT_EQ(LookupSkin3rd(rows, "tcomboboxex"), "combobox");
  EXPECT_EQ(LookupSkin3rd(rows, "TLMDCheckBox"), "Checkbox");
  EXPECT_EQ(LookupSkin3rd(rows, "TDBCheckboxEh"), "Checkbox");  // listed twice: first wins
  EXPECT_EQ(LookupSkin3rd(rows, "TRzGroup"), "panel");
  EXPECT_EQ(LookupSkin3rd(rows, "TNothing"), "");
  EXPECT_EQ(LookupSkin3rd({"broken row", " TMine = edit "}, "TMine"), "edit");
}

TEST(SkinOptions, DefaultFormFilter) {
  const TSkinControlTypes with_fr = TSkinControlTypes::All();
  const TSkinControlTypes without_fr = DefaultSkinControls();
  const struct {
    const char* cls;
    TSkinControlTypes controls;
    bool in, want;
  } cases[] = {
      {"SysMonthCal32", without_fr, true, false}, {"sysmonthcal32", without_fr, true, true},
      {"TfrPreviewForm", with_fr, true, false},   {"TfrPreviewForm", without_fr, true, true},
      {"TFRPreviewForm", with_fr, true, true},    {"TForm1", with_fr, true, true},
      {"TForm1", with_fr, false, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DefaultFormFilter(c.cls, c.controls, c.in), c.want) << c.cls;
}

}  // namespace

#include "engine/builtin_bitmaps.h"
#include "engine/image_ops.h"
#include "engine/skin_stream.h"

namespace {

TEST(SkinStream, RoundTripAndRefusals) {
  const std::vector<uint8_t> pkg = {9, 8, 7, 6, 5};
  const std::vector<uint8_t> stored = WriteSkinStream(pkg);
  EXPECT_EQ(stored, (std::vector<uint8_t>{5, 0, 0, 0, 9, 8, 7, 6, 5}));
  EXPECT_EQ(ReadSkinStream(stored), pkg);
  EXPECT_EQ(ReadSkinStream(WriteSkinStream({})), std::vector<uint8_t>{});
  // Extra bytes after the package are not part of it.
  std::vector<uint8_t> longer = stored;
  longer.push_back(1);
  EXPECT_EQ(ReadSkinStream(longer), pkg);
  const std::vector<std::vector<uint8_t>> refused = {
      {},                           // no count
      {5, 0, 0},                    // short count
      {6, 0, 0, 0, 9, 8, 7, 6, 5},  // count past the data
      {0xFF, 0xFF, 0xFF, 0xFF, 1},  // negative
      {0, 0, 0, 0x80},              // negative, nothing after it
  };
  for (const auto& r : refused)
    EXPECT_FALSE(ReadSkinStream(r).has_value()) << r.size();
}

TEST(BuiltinBitmaps, GlyphsOnWhiteAndTrackChannels) {
  const TPixmap glyphs = MakeMenuGlyphs();
  ASSERT_EQ(glyphs.Width, 64);
  ASSERT_EQ(glyphs.Height, 16);
  EXPECT_EQ(GetPixel(glyphs, 0, 0), kWhite);  // white is the mask colour
  for (int cell = 0; cell < 4; ++cell) {
    int ink = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        ink += GetPixel(glyphs, cell * 16 + x, y) != kWhite;
    EXPECT_GT(ink, 8) << cell;
  }
  const TPixmap h = MakeTrackBitmap(), v = MakeTrackVertBitmap();
  EXPECT_GT(h.Width, h.Height);
  EXPECT_GT(v.Height, v.Width);
  EXPECT_GE(h.Height, 7);  // room for margins of 3 on both sides
  EXPECT_GE(v.Width, 7);
}

}  // namespace
