#include "editor/ini_viewer.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

TMemIniFile Skin() {
  TMemIniFile ini;
  ini.SetText(
      "[Skins]\nVersion=150\n"
      "[Buttons]\nBitmap=button.bmp\nLeftWidth=3\nCaption=a=b\nEmpty=\n"
      "[Colours]\nMenu=1 2 3\n");
  return ini;
}

TEST(IniViewer, ShowsTheSectionsKeysInItsOrder) {
  const TMemIniFile ini = Skin();
  EXPECT_EQ(SectionAsLines(ini, "buttons"),
            (Lines{"Bitmap=button.bmp", "LeftWidth=3", "Caption=a=b", "Empty="}));
  EXPECT_TRUE(SectionAsLines(ini, "Missing").empty());
}

TEST(IniViewer, TypedLinesAsKeysAndValues) {
  const struct {
    const char* Line;
    std::optional<TIniEntry> Entry;
  } cases[] = {
      {"Key=value", TIniEntry{"Key", "value"}},
      {" Key = value ", TIniEntry{"Key", "value"}},
      {"\tKey\t=\t1 2 3\t", TIniEntry{"Key", "1 2 3"}},
      {"Key=a=b", TIniEntry{"Key", "a=b"}},  // "=" inside the value stays there
      {"Key=", TIniEntry{"Key", ""}},
      {"Key = ", TIniEntry{"Key", ""}},
      {"no equals sign", std::nullopt},
      {"", std::nullopt},
      {"=value", std::nullopt},
      {"   =value", std::nullopt},
      {"; note=text", std::nullopt},
  };
  for (const auto& c : cases) {
    std::optional<TIniEntry> got = ParseIniLine(c.Line);
    ASSERT_EQ(got.has_value(), c.Entry.has_value()) << c.Line;
    if (!got) continue;
    EXPECT_EQ(got->Key, c.Entry->Key) << c.Line;
    EXPECT_EQ(got->Value, c.Entry->Value) << c.Line;
  }
}

// What the document holds once it was saved and read again, as the
// package would give it back.
TMemIniFile Reloaded(const TMemIniFile& ini) {
  TMemIniFile again;
  again.LoadFromBytes(ini.SaveToBytes());
  return again;
}

TEST(IniViewer, SavedLinesReachTheirKeysWithoutShadowCopies) {
  const struct {
    const char* Name;
    Lines Typed;
    Lines After;  // the section once written, saved and read again
  } cases[] = {
      {"unchanged",
       {"Bitmap=button.bmp", "LeftWidth=3", "Caption=a=b", "Empty="},
       {"Bitmap=button.bmp", "LeftWidth=3", "Caption=a=b", "Empty="}},
      {"spaces around the sign edit the key that is there",
       {"LeftWidth = 7", " Caption =x=y "},
       {"Bitmap=button.bmp", "LeftWidth=7", "Caption=x=y", "Empty="}},
      {"a deleted line keeps its key",
       {"LeftWidth=4"},
       {"Bitmap=button.bmp", "LeftWidth=4", "Caption=a=b", "Empty="}},
      {"a renamed key is a new key beside the old",
       {"RightWidth=3"},
       {"Bitmap=button.bmp", "LeftWidth=3", "Caption=a=b", "Empty=", "RightWidth=3"}},
      {"letter case names the same key",
       {"leftwidth=9"},
       {"Bitmap=button.bmp", "leftwidth=9", "Caption=a=b", "Empty="}},
      {"lines that are no keys are skipped",
       {"just text", "=5", " = 6", ";LeftWidth=8"},
       {"Bitmap=button.bmp", "LeftWidth=3", "Caption=a=b", "Empty="}},
  };
  for (const auto& c : cases) {
    TMemIniFile ini = Skin();
    WriteIniLines(c.Typed, "Buttons", ini);
    EXPECT_EQ(SectionAsLines(Reloaded(ini), "Buttons"), c.After) << c.Name;
    EXPECT_EQ(Reloaded(ini).ReadString("Colours", "Menu", ""), "1 2 3") << c.Name;
  }
}

TEST(IniViewer, NothingIsWrittenWithoutASection) {
  TMemIniFile ini = Skin();
  const std::string before = ini.GetText();
  EXPECT_EQ(WriteIniLines({"Key=1"}, "", ini), 0);
  EXPECT_EQ(WriteIniLines({"Key=1"}, "  ", ini), 0);
  EXPECT_EQ(ini.GetText(), before);
  EXPECT_EQ(WriteIniLines({"Key=1", "text", "Other=2"}, "New", ini), 2);
  EXPECT_EQ(SectionAsLines(ini, "New"), (Lines{"Key=1", "Other=2"}));
}

}  // namespace
