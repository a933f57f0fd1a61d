// The skin data component: published properties, loading from a file and
// from a stored stream, refusals that keep the previous skin, and what
// Loaded sets up.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "default_skin.h"
#include "engine/image_ops.h"
#include "engine/skin_parse.h"
#include "engine/skin_stream.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_manage.h"
#include "format/skin_package.h"
#include "framework/dialogs.h"
#include "framework/props.h"
#include "test_skin.h"

namespace {

std::vector<uint8_t> DefaultBytes() {
  auto s = DefaultSkinPackage();
  return {s.begin(), s.end()};
}

std::string WriteTemp(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::string path = TempFolder() + "skd_" + name;
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

// The elements of a skin, without the SkinEmpty flag.
std::string Elements(const TSkinContent& content) {
  std::string dump = DumpSkinContent(content);
  return dump.substr(dump.find(' '));
}

// What an independent parse of the same package gives.
std::string ExpectedDump(const std::vector<uint8_t>& package) {
  TSkinContent content;
  TParseEnvironment env;
  env.HScrollWidth = GetSystemMetrics(SM_CXHSCROLL);
  EXPECT_TRUE(LoadSkinPackage(content, package, env));
  return DumpSkinContent(content);
}

std::vector<uint8_t> StoredWithCount(int32_t count, const std::vector<uint8_t>& data) {
  const auto u = static_cast<uint32_t>(count);
  std::vector<uint8_t> out;
  out.reserve(data.size() + 4);
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<uint8_t>(u >> shift));
  for (uint8_t b : data)
    out.push_back(b);
  return out;
}

class SkinDataTest : public ::testing::Test {
 protected:
  void TearDown() override { FreeSkinManager(); }
};

TEST_F(SkinDataTest, PublishedPropertiesReadAndWriteByName) {
  TSkinData* d = Create<TSkinData>(nullptr);
  struct Case {
    const char* name;
    const char* text;
  };
  const Case defaults[] = {
      {"Active", "False"},       {"DisableTag", "99"},    {"Options", "[xoPreview,xoToolbarBK]"},
      {"SkinFile", ""},          {"SkinStore", "(none)"}, {"SkinFormtype", "sfMainform"},
      {"Version", "5.03.07.12"}, {"MenuUpdate", "True"},  {"MenuMerge", "False"},
  };
  for (const Case& c : defaults) {
    const TPropInfo* p = GetPropInfo(d, c.name);
    ASSERT_NE(p, nullptr) << c.name;
    EXPECT_EQ(GetPropText(*d, *p), c.text) << c.name;
  }
  const std::string controls = GetPropText(*d, *GetPropInfo(d, "SkinControls"));
  EXPECT_NE(controls.find("xcMainMenu"), std::string::npos);
  EXPECT_NE(controls.find("xcSystemMenu"), std::string::npos);
  EXPECT_EQ(controls.find("xcMenuItem"), std::string::npos);
  EXPECT_EQ(controls.find("xcFastReport"), std::string::npos);

  // Writes by name; the read-only indicators ignore writes.
  EXPECT_TRUE(SetPropFromText(d, "DisableTag", "5"));
  EXPECT_EQ(d->DisableTag(), 5);
  EXPECT_TRUE(SetPropFromText(d, "SkinFormtype", "sfDialog"));
  EXPECT_EQ(d->SkinFormtype(), sfDialog);
  SetPropFromText(d, "Version", "1.0");
  EXPECT_EQ(d->Version(), "5.03.07.12");
  SetPropFromText(d, "SkinStore", "(Good)");
  EXPECT_EQ(d->SkinStore(), "(none)");
  EXPECT_TRUE(SetPropText(*d, *GetPropInfo(d, "Options"), "[xoMDIScrollbar,xoMenuBG]"));
  EXPECT_EQ(d->Options(), (TSkinOptions{xoMDIScrollbar, xoMenuBG}));
  EXPECT_TRUE(SetPropText(*d, *GetPropInfo(d, "SkinControls"), "[xcCombo,xcFastReport]"));
  EXPECT_EQ(d->SkinControls(), (TSkinControlTypes{xcCombo, xcFastReport}));
  d->Free();
}

TEST_F(SkinDataTest, Skin3rdRowsAsText) {
  TSkinData* d = Create<TSkinData>(nullptr);
  EXPECT_EQ(d->Skin3rd().size(), 118u);
  EXPECT_EQ(d->Skin3rd().front(), "TCategoryButtons=scrollbar");
  struct Case {
    std::string text;
    std::vector<std::string> rows;
  };
  const Case cases[] = {
      {"TA=edit\r\nTB=combobox\r\n", {"TA=edit", "TB=combobox"}},
      {"TA=edit\nTB=panel", {"TA=edit", "TB=panel"}},
      {"TA=edit\r\n\r\nTC=button", {"TA=edit", "", "TC=button"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(SetPropFromText(d, "Skin3rd", c.text));
    EXPECT_EQ(d->Skin3rd(), c.rows) << c.text;
  }
  d->SetSkin3rd({"TX=edit", "TY=panel"});
  EXPECT_EQ(GetTextPropByName(d, "Skin3rd"), "TX=edit\r\nTY=panel\r\n");
  d->Free();
}

TEST_F(SkinDataTest, LoadsPackagesFromFilesAndStoredStreams) {
  TSkinData* d = Create<TSkinData>(nullptr);
  EXPECT_TRUE(d->SkinEmpty());
  const std::vector<uint8_t> def = DefaultBytes();
  const std::vector<uint8_t> test = MakeTestSkin().Package();

  d->SetSkinFile(WriteTemp("default.skn", def));
  ASSERT_FALSE(d->SkinEmpty());
  EXPECT_EQ(DumpSkinContent(d->Content()), ExpectedDump(def));
  EXPECT_EQ(d->SkinBuffer(), def);
  ASSERT_NE(d->FaceBrush(), nullptr);
  LOGBRUSH lb{};
  GetObjectA(d->FaceBrush(), sizeof lb, &lb);
  EXPECT_EQ(lb.lbColor, ToColorRef(d->Colours(kcButtonFace)));

  // A second skin replaces the first; its stored form reads back into
  // another component as the same skin.
  d->SetSkinFile(WriteTemp("test.skn", test));
  ASSERT_FALSE(d->SkinEmpty());
  EXPECT_EQ(DumpSkinContent(d->Content()), ExpectedDump(test));
  const std::vector<uint8_t> stored = d->WriteSkinStream();
  ASSERT_EQ(stored.size(), test.size() + 4);
  EXPECT_EQ(stored[0] | stored[1] << 8 | stored[2] << 16 | stored[3] << 24,
            static_cast<int>(test.size()));

  TSkinData* e = Create<TSkinData>(nullptr);
  EXPECT_TRUE(e->ReadSkinStream(stored));
  EXPECT_FALSE(e->SkinEmpty());
  EXPECT_EQ(DumpSkinContent(e->Content()), ExpectedDump(test));
  EXPECT_EQ(e->WriteSkinStream(), stored);

  // An empty component stores a bare zero count.
  TSkinData* empty = Create<TSkinData>(nullptr);
  EXPECT_EQ(empty->WriteSkinStream(), std::vector<uint8_t>(4, 0));
  EXPECT_FALSE(empty->ReadSkinStream(empty->WriteSkinStream()));
  EXPECT_TRUE(empty->SkinEmpty());
  d->Free();
  e->Free();
  empty->Free();
}

TEST_F(SkinDataTest, RefusedPackagesKeepThePreviousSkin) {
  const std::vector<uint8_t> def = DefaultBytes();
  TSkinWriter no_ini;
  const TTestSkin ts = MakeTestSkin();
  for (const auto& m : ts.Members)
    if (m.Name.find(".ini") == std::string::npos) no_ini.AddMember(m.Name, m.Bytes);
  std::vector<uint8_t> truncated(def.begin(), def.begin() + static_cast<long>(def.size() / 2));
  std::vector<uint8_t> garbage(300, 0x5A);
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"garbage", garbage},
      {"truncated", truncated},
      {"no INI member", no_ini.SaveToBytes()},
      {"empty file", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TSkinData* d = Create<TSkinData>(nullptr);
    d->SetSkinFile(WriteTemp("good.skn", def));
    ASSERT_FALSE(d->SkinEmpty());
    const std::string before = Elements(d->Content());

    const std::string bad = WriteTemp("bad.skn", c.bytes);
    d->SetSkinFile(bad);
    EXPECT_EQ(d->SkinFile(), bad);
    EXPECT_TRUE(d->SkinEmpty());  // a refused skin never activates the component
    EXPECT_EQ(Elements(d->Content()), before);
    EXPECT_EQ(d->SkinBuffer(), def);

    // The same bytes arriving as a stored stream change nothing either.
    TSkinData* e = Create<TSkinData>(nullptr);
    EXPECT_TRUE(e->ReadSkinStream(::WriteSkinStream(def)));
    EXPECT_FALSE(e->ReadSkinStream(::WriteSkinStream(c.bytes)));
    EXPECT_FALSE(e->SkinEmpty());
    EXPECT_EQ(Elements(e->Content()), before);
    EXPECT_EQ(e->SkinBuffer(), def);
    d->Free();
    e->Free();
  }
}

TEST_F(SkinDataTest, StoredStreamsWithBadCountsAreIgnored) {
  const std::vector<uint8_t> def = DefaultBytes();
  struct Case {
    const char* name;
    std::vector<uint8_t> stored;
  };
  const Case cases[] = {
      {"negative", StoredWithCount(-5, def)},
      {"beyond the data", StoredWithCount(static_cast<int32_t>(def.size() + 1), def)},
      {"huge", StoredWithCount(0x7FFFFFFF, def)},
      {"count cut short", {0x10, 0x00}},
      {"nothing", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TSkinData* d = Create<TSkinData>(nullptr);
    EXPECT_FALSE(d->ReadSkinStream(c.stored));
    EXPECT_TRUE(d->SkinEmpty());
    EXPECT_TRUE(d->SkinBuffer().empty());
    d->Free();
  }
}

TEST_F(SkinDataTest, AMissingFileOnlyChangesTheProperty) {
  TSkinData* d = Create<TSkinData>(nullptr);
  const std::vector<uint8_t> def = DefaultBytes();
  d->SetSkinFile(WriteTemp("good2.skn", def));
  d->SetSkinFile(TempFolder() + "skd_no_such_file.skn");
  EXPECT_EQ(d->SkinFile(), TempFolder() + "skd_no_such_file.skn");
  EXPECT_TRUE(d->SkinEmpty());
  EXPECT_EQ(d->SkinBuffer(), def);
  d->Free();
}

TEST_F(SkinDataTest, BuiltInResources) {
  TSkinData* d = Create<TSkinData>(nullptr);
  ASSERT_NE(d->MenuGlyphs(), nullptr);
  EXPECT_EQ(d->MenuGlyphs()->Count(), 4);
  EXPECT_EQ(d->MenuGlyphs()->Width(), 16);
  // Each glyph leaves its white background out and draws something.
  for (int i = 0; i < 4; ++i) {
    TBitmap target;
    target.FromImage(SolidImage(16, 16, RGBColour(255, 0, 0)));
    d->MenuGlyphs()->Draw(target.Canvas(), 0, 0, i);
    const TPixmap img = target.ToImage();
    EXPECT_EQ(GetPixel(img, 0, 0), RGBColour(255, 0, 0)) << i;
    int drawn = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        drawn += GetPixel(img, x, y) != RGBColour(255, 0, 0);
    EXPECT_GT(drawn, 8) << i;
  }
  EXPECT_EQ(d->MaxWidth(), GetSystemMetrics(SM_CXMAXIMIZED));
  EXPECT_EQ(d->CaptionFont(), nullptr);  // made when loaded
  d->Free();
}

TEST_F(SkinDataTest, LoadedSetsUpTheMainComponent) {
  TForm* form = Application->CreateForm<TForm>();
  HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
  SendMessageA(form->Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  TSkinData* d = Create<TSkinData>(form);
  d->BeginReading();
  d->SetActive(true);  // while reading only stored
  EXPECT_EQ(SkinManager, nullptr);
  d->ReadSkinStream(::WriteSkinStream(DefaultBytes()));
  d->Loaded();
  ASSERT_NE(SkinManager, nullptr);
  EXPECT_TRUE(SkinManager->HookInstalled());
  EXPECT_EQ(SkinManager->MainSkinData, d);
  EXPECT_TRUE(d->Active());
  // Nothing was activated yet: skinning is switched on at once, no timer.
  EXPECT_TRUE(SkinManager->SkinningOn);
  EXPECT_FALSE(SkinManager->ActionTimer()->Enabled());
  EXPECT_FALSE(d->SkinControls().Has(xcMenuItem));
  EXPECT_TRUE(d->SkinControls().Has(xcSystemMenu));
  ASSERT_NE(d->CaptionFont(), nullptr);
  EXPECT_FALSE(d->CaptionFont()->Name().empty());
  ASSERT_NE(d->AppIcon(), nullptr);
  EXPECT_EQ(d->AppIcon()->Width(), GetSystemMetrics(SM_CXSMICON));
  // The icon was drawn over the magenta background.
  const TPixmap img = d->AppIcon()->ToImage();
  bool drawn = false;
  for (int y = 0; y < img.Height; ++y)
    for (int x = 0; x < img.Width; ++x)
      if (GetPixel(img, x, y) != kMagenta) drawn = true;
  EXPECT_TRUE(drawn);

  // An empty main component that asks to be active is switched off.
  TSkinData* empty = Create<TSkinData>(form);
  empty->SetActive(true);
  empty->Loaded();
  EXPECT_FALSE(empty->Active());
  EXPECT_EQ(SkinManager->MainSkinData, d);
  EXPECT_EQ(SkinManager->SkinDataList().size(), 2u);
  form->Free();  // frees both components: they leave the manager
  ASSERT_NE(SkinManager, nullptr);
  EXPECT_TRUE(SkinManager->SkinDataList().empty());
  EXPECT_EQ(SkinManager->MainSkinData, nullptr);
}

TEST_F(SkinDataTest, AComponentMadeInCodeSetsItselfUpWhenGivenASkin) {
  TForm* form = Application->CreateForm<TForm>();
  TSkinData* d = Create<TSkinData>(form);
  d->SetActive(true);  // not set up yet: only stored
  EXPECT_EQ(SkinManager, nullptr);
  d->SetSkinFile(WriteTemp("code.skn", DefaultBytes()));
  ASSERT_NE(SkinManager, nullptr);
  EXPECT_TRUE(d->IsLoaded());
  EXPECT_TRUE(SkinManager->IsRegistered(d));
  EXPECT_TRUE(SkinManager->HookInstalled());
  EXPECT_TRUE(SkinManager->SkinningOn);
  EXPECT_EQ(SkinManager->ActionTarget, d);
  form->Free();
  EXPECT_EQ(SkinManager->ActionTarget, nullptr);
}

}  // namespace
