#include "editor/bitmap_commands.h"

#include <gtest/gtest.h>

namespace {

TEST(ExportName, PrefixRule) {
  const struct {
    const char* Skin;
    const char* Member;
    const char* Want;
  } cases[] = {
      {"C:\\skins\\untitle.skn", "silver_close.bmp", "untitle__silver_close.bmp"},
      {"C:\\skins\\untitle.skn", "untitle__silver_close.bmp", "untitle__silver_close.bmp"},
      {"C:\\skins\\Untitle.skn", "untitle__silver_close.bmp", "untitle__silver_close.bmp"},
      {"/tmp/blue.v2.skn", "top.bmp", "blue__top.bmp"},
      {"C:\\skins\\noext", "top.bmp", "top.bmp"},  // no "." in the file name: no prefix
      {"", "top.bmp", "top.bmp"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MakeExportName(c.Skin, c.Member), c.Want) << c.Member;
}

TEST(ExportName, HostileMemberNamesStayInTheFolderAndAreBitmaps) {
  const struct {
    const char* Member;
    const char* Want;
  } cases[] = {
      {"..\\..\\Windows\\evil.bmp", "s__evil.bmp"},
      {"../../etc/passwd", "s__passwd.bmp"},
      {"C:\\autoexec.bat", "s__autoexec.bmp"},
      {"c:evil.exe", "s__evil.bmp"},
      {"run.exe", "s__run.bmp"},
      {"page.htm", "s__page.bmp"},
      {"a<b>c|d?e*f\"g.bmp", "s__abcdefg.bmp"},
      {"tab\tname\r\n.bmp", "s__tabname.bmp"},
      {"shout.BMP", "s__shout.bmp"},
      {"dots....", "s__dots.bmp"},
      {"..", "s__bitmap.bmp"},
      {"", "s__bitmap.bmp"},
      {"x/", "s__bitmap.bmp"},
      {"  padded .bmp", "s__padded.bmp"},
      {"archive.tar.gz", "s__archive.tar.bmp"},
  };
  for (const auto& c : cases) {
    const std::string name = MakeExportName("D:\\s.skn", c.Member);
    EXPECT_EQ(name, c.Want) << c.Member;
    EXPECT_EQ(name.find_first_of("\\/:*?\"<>|"), std::string::npos) << c.Member;
  }
  // Device names never come through, with or without a prefix.
  for (const char* device : {"con.bmp", "NUL", "com1.x.bmp", "lpt9.bmp", "aux .bmp"}) {
    EXPECT_EQ(BareBitmapName(device)[0], '_') << device;
    EXPECT_EQ(MakeExportName("noprefix", device)[0], '_') << device;
  }
  EXPECT_EQ(BareBitmapName("com10.bmp"), "com10.bmp");
  EXPECT_EQ(BareBitmapName(std::string(500, 'a') + ".bmp").size(), 124u);
}

TEST(ExportName, EditorGetsProgramAndPathQuoted) {
  EXPECT_EQ(EditorCommandLine("C:\\Program Files\\Paint\\paint.exe", "C:\\My Skins\\skin\\a b.bmp"),
            "\"C:\\Program Files\\Paint\\paint.exe\" \"C:\\My Skins\\skin\\a b.bmp\"");
}

TEST(ImportName, LowerCaseSafeBitmapName) {
  EXPECT_EQ(ImportedMemberName("C:\\Pictures\\My Close.BMP"), "my close.bmp");
  EXPECT_EQ(ImportedMemberName("/home/u/Top.bmp"), "top.bmp");
  EXPECT_EQ(ImportedMemberName("Z:\\x\\picture.dib"), "picture.bmp");
}

std::vector<uint8_t> Bytes(const std::string& s) {
  return {s.begin(), s.end()};
}

class SharedMembers : public ::testing::Test {
 protected:
  void SetUp() override {
    skin.SetText(
        "[Personality]\nLeft=left.bmp\nRight=Skins\\LEFT.bmp\nTop=top.bmp\n"
        "[Buttons]\nBitmap=button.bmp\n");
    for (const char* name : {"skin.ini", "left.bmp", "top.bmp", "button.bmp", "other.bmp"})
      list.ReplaceFromStream("", name, Bytes(name));
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const TSkinFileEntry& e : list.Entries())
      names.push_back(e.Name);
    return names;
  }
  TMemIniFile skin;
  TSkinFileList list;
  TPixmap picture{2, 2, 24};
};

TEST_F(SharedMembers, NamedElsewhereByFileNameInAnyCase) {
  EXPECT_TRUE(MemberNamedElsewhere(skin, "left.bmp", "Personality", "Left"));
  EXPECT_TRUE(MemberNamedElsewhere(skin, "LEFT.BMP", "personality", "RIGHT"));
  EXPECT_FALSE(MemberNamedElsewhere(skin, "top.bmp", "Personality", "Top"));
  EXPECT_TRUE(MemberNamedElsewhere(skin, "top.bmp", "Buttons", "Bitmap"));
  EXPECT_FALSE(MemberNamedElsewhere(skin, "", "Buttons", "Bitmap"));
}

TEST_F(SharedMembers, ImportPlans) {
  const struct {
    const char* Key;
    const char* Current;
    const char* File;
    const char* Replace;
    const char* NewName;
  } cases[] = {
      // Its own member: replaced in place, renamed after the file.
      {"Top", "top.bmp", "C:\\in\\New Top.BMP", "top.bmp", "new top.bmp"},
      {"Top", "top.bmp", "C:\\in\\TOP.bmp", "top.bmp", "top.bmp"},
      // The file's name is another member's: the new name is made unique.
      {"Top", "top.bmp", "C:\\in\\other.bmp", "top.bmp", "other_1.bmp"},
      // A shared member is left alone: a new member is added.
      {"Left", "left.bmp", "C:\\in\\mine.bmp", "", "mine.bmp"},
      {"Left", "left.bmp", "C:\\in\\left.bmp", "", "left_1.bmp"},
      // No member yet (empty key, or a name the package lacks).
      {"Bottom", "", "C:\\in\\bottom.bmp", "", "bottom.bmp"},
      {"Bottom", "gone.bmp", "C:\\in\\button.bmp", "", "button_1.bmp"},
  };
  for (const auto& c : cases) {
    TImportPlan plan = PlanImport(skin, list, "Personality", c.Key, c.Current, c.File);
    EXPECT_EQ(plan.Replace, c.Replace) << c.Key << " " << c.File;
    EXPECT_EQ(plan.NewName, c.NewName) << c.Key << " " << c.File;
  }
}

TEST_F(SharedMembers, ImportKeepsOrderAndTheOtherKeysBitmap) {
  EXPECT_EQ(ImportBitmap(skin, list, "Personality", "Top", "top.bmp", "C:\\x\\Fresh.bmp", picture),
            "fresh.bmp");
  EXPECT_EQ(skin.ReadString("Personality", "Top", ""), "fresh.bmp");
  EXPECT_EQ(Names(), (std::vector<std::string>{"skin.ini", "left.bmp", "fresh.bmp", "button.bmp",
                                               "other.bmp"}));
  const std::vector<uint8_t>* fresh = list.Find("fresh.bmp");
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(DecodeBmp(*fresh).Width, 2);

  ImportBitmap(skin, list, "Personality", "Left", "left.bmp", "C:\\x\\left.bmp", picture);
  EXPECT_EQ(skin.ReadString("Personality", "Left", ""), "left_1.bmp");
  EXPECT_EQ(*list.Find("left.bmp"), Bytes("left.bmp"));  // Right still has its bitmap
  EXPECT_EQ(Names().back(), "left_1.bmp");
}

TEST_F(SharedMembers, ClearRemovesOnlyAMemberNoOtherKeyNames) {
  ClearBitmap(skin, list, "Personality", "Left", "left.bmp");
  EXPECT_TRUE(skin.ValueExists("Personality", "Left"));
  EXPECT_EQ(skin.ReadString("Personality", "Left", "?"), "");
  EXPECT_NE(list.Find("left.bmp"), nullptr);  // Right names it
  ClearBitmap(skin, list, "Personality", "Right", "left.bmp");
  EXPECT_EQ(list.Find("left.bmp"), nullptr);  // now nobody does
  ClearBitmap(skin, list, "Personality", "Top", "");
  EXPECT_EQ(list.Count(), 4);
  ClearBitmap(skin, list, "Buttons", "Bitmap", "button.bmp");
  EXPECT_EQ(Names(), (std::vector<std::string>{"skin.ini", "top.bmp", "other.bmp"}));
}

TEST_F(SharedMembers, UniqueNames) {
  EXPECT_EQ(UniqueMemberName(list, "new.bmp"), "new.bmp");
  EXPECT_EQ(UniqueMemberName(list, "TOP.bmp"), "TOP_1.bmp");
  list.ReplaceFromStream("", "top_1.bmp", Bytes("x"));
  EXPECT_EQ(UniqueMemberName(list, "top.bmp"), "top_2.bmp");
}

}  // namespace
