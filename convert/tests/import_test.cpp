// Partial import of setting groups from another skin package.
#include <gtest/gtest.h>

#include <filesystem>

#include "convert/skin_import.h"
#include "format/skin_package.h"

namespace {

std::vector<uint8_t> B(const std::string& s) {
  return {s.begin(), s.end()};
}

// A package built from (name, bytes) members; the INI is one of them.
TSkinFileList Package(const std::vector<std::pair<std::string, std::string>>& members) {
  TSkinWriter w;
  for (const auto& [name, bytes] : members)
    w.AddMember(name, B(bytes));
  TSkinFileList list;
  EXPECT_TRUE(list.OpenFromBytes(w.SaveToBytes()));
  return list;
}

std::vector<std::string> Names(const TSkinFileList& list) {
  std::vector<std::string> n;
  for (const auto& e : list.Entries())
    n.push_back(e.Name);
  return n;
}

std::string Bytes(const TSkinFileList& list, const char* name) {
  const std::vector<uint8_t>* b = list.Find(name);
  return b ? std::string(b->begin(), b->end()) : "<none>";
}

struct TDest {
  TMemIniFile ini;
  TSkinFileList files;
  TDest(const std::string& ini_text,
        const std::vector<std::pair<std::string, std::string>>& members) {
    ini.SetText(ini_text);
    files = Package(members);
  }
  void Import(const TSkinFileList& source, const std::vector<std::string>& groups) {
    TSkinImport import(ini, files);
    ASSERT_TRUE(import.SetSource(source));
    import.Run(groups);
  }
};

const char* const kDestIni =
    "[Buttons]\r\nBitmap=push.bmp\r\nCheckButton=check.bmp\r\nRadioButton=radio.bmp\r\n"
    "[Button0]\r\nButtonImage=b0.bmp\r\n[Button1]\r\nButtonImage=b1.bmp\r\n[Button5]"
    "\r\nButtonImage=b5.bmp\r\n"
    "[Button.Checkbox]\r\nX=1\r\n[Personality]\r\nTXTBackleft=7\r\n";

TDest Dest() {
  return TDest(kDestIni, {{"push.bmp", "P"},
                          {"check.bmp", "C"},
                          {"radio.bmp", "R"},
                          {"b0.bmp", "0"},
                          {"b1.bmp", "1"},
                          {"b5.bmp", "5"},
                          {"skin.ini", "dest ini"}});
}

TEST(SkinImport, ButtonReplacesTheWholeSection) {
  TSkinFileList source = Package(
      {{"src.ini", "[Buttons]\r\nBitmap=newpush.bmp\r\nTrans=1\r\n"}, {"newpush.bmp", "NP"}});
  TDest d = Dest();
  d.Import(source, {"Button"});
  EXPECT_EQ(d.ini.ReadString("Buttons", "Bitmap", ""), "newpush.bmp");
  EXPECT_EQ(d.ini.ReadString("Buttons", "Trans", ""), "1");
  EXPECT_FALSE(d.ini.ValueExists("Buttons", "CheckButton"));
  EXPECT_EQ(Names(d.files),
            (std::vector<std::string>{"b0.bmp", "b1.bmp", "b5.bmp", "skin.ini", "newpush.bmp"}));
}

TEST(SkinImport, CheckBoxReplacesInPlaceAndTakesTheSourceName) {
  TSkinFileList source =
      Package({{"src.ini", "[Buttons]\r\nCheckButton=Tick.bmp\r\n"}, {"Tick.bmp", "T"}});
  TDest d = Dest();
  d.Import(source, {"CheckBox"});
  EXPECT_EQ(d.ini.ReadString("Buttons", "CheckButton", ""), "Tick.bmp");
  EXPECT_EQ(Names(d.files)[1], "Tick.bmp");
  EXPECT_EQ(Bytes(d.files, "tick.bmp"), "T");
  EXPECT_EQ(d.files.Count(), 7);
}

TEST(SkinImport, CaptionButtonsAreReplacedAsAWhole) {
  TSkinFileList source = Package({{"src.ini",
                                   "[BUTTON0]\r\nButtonImage=s0.bmp\r\nAction=0\r\nOther=9\r\n"
                                   "[BUTTON2]\r\nButtonImage=s2.bmp\r\nAction=2\r\n"},
                                  {"s0.bmp", "S0"},
                                  {"s2.bmp", "S2"}});
  TDest d = Dest();
  d.Import(source, {"Caption-Button"});
  std::vector<std::string> sections;
  d.ini.ReadSections(sections);
  std::vector<std::string> buttons;
  for (const std::string& s : sections) {
    if (s.rfind("BUTTON", 0) == 0 || s.rfind("Button", 0) == 0) buttons.push_back(s);
  }
  EXPECT_EQ(buttons,
            (std::vector<std::string>{"Buttons", "Button.Checkbox", "BUTTON0", "BUTTON2"}));
  EXPECT_EQ(d.ini.ReadString("BUTTON0", "Other", "-"), "-");  // only the known keys
  EXPECT_EQ(d.ini.ReadString("BUTTON2", "Action", ""), "2");
  EXPECT_EQ(Bytes(d.files, "s0.bmp"), "S0");
  EXPECT_EQ(Bytes(d.files, "s2.bmp"), "S2");
  for (const char* gone : {"b0.bmp", "b1.bmp", "b5.bmp"})
    EXPECT_EQ(Bytes(d.files, gone), "<none>") << gone;
  EXPECT_EQ(Bytes(d.files, "check.bmp"), "C");
}

TEST(SkinImport, SharedMembersSurvive) {
  // Two keys of the destination name the same member; replacing one section
  // must not take the image from the other.
  TDest d("[Tabs]\r\nImage=shared.bmp\r\n[Tab.Pane]\r\nImage=shared.bmp\r\n",
          {{"shared.bmp", "S"}, {"skin.ini", "i"}});
  TSkinFileList source = Package({{"src.ini", "[Tabs]\r\nImage=tab.bmp\r\n"}, {"tab.bmp", "T"}});
  TSkinImport import(d.ini, d.files);
  ASSERT_TRUE(import.SetSource(source));
  import.ImportSection("Tabs", {"Image", "Border"});
  import.Finish();
  EXPECT_EQ(Bytes(d.files, "shared.bmp"), "S");
  EXPECT_EQ(Bytes(d.files, "tab.bmp"), "T");
  // Replacing a shared member by key keeps it for the other key too.
  TDest e("[Buttons]\r\nCheckButton=shared.bmp\r\nRadioButton=shared.bmp\r\n",
          {{"shared.bmp", "S"}, {"skin.ini", "i"}});
  TSkinFileList s2 =
      Package({{"src.ini", "[Buttons]\r\nCheckButton=tick.bmp\r\n"}, {"tick.bmp", "T"}});
  e.Import(s2, {"CheckBox"});
  EXPECT_EQ(Bytes(e.files, "shared.bmp"), "S");
  EXPECT_EQ(Bytes(e.files, "tick.bmp"), "T");
}

TEST(SkinImport, GroupsCopyKeysEvenWhenEmpty) {
  TSkinFileList source = Package({{"src.ini",
                                   "[Personality]\r\nLeft=l.bmp\r\nLeftFrame=2\r\n"
                                   "[Colours]\r\nTitleTextActive=1 2 3\r\nButtonFace=4 5 6\r\n"
                                   "[Buttons]\r\nCheckButton=missing.bmp\r\n"},
                                  {"l.bmp", "L"}});
  TDest d = Dest();
  d.Import(source, {"Colors", "Border", "CheckBox", "NoSuchGroup"});
  EXPECT_TRUE(d.ini.ValueExists("Personality", "TXTBackleft"));
  EXPECT_EQ(d.ini.ReadString("Personality", "TXTBackleft", "x"), "");  // written empty
  EXPECT_EQ(d.ini.ReadString("Personality", "Left", ""), "l.bmp");
  EXPECT_EQ(d.ini.ReadString("Colours", "ButtonFace", ""), "4 5 6");
  EXPECT_EQ(Bytes(d.files, "l.bmp"), "L");
  // A source image that names no member leaves the destination alone.
  EXPECT_EQ(d.ini.ReadString("Buttons", "CheckButton", ""), "check.bmp");
  EXPECT_EQ(Bytes(d.files, "check.bmp"), "C");
}

TEST(SkinImport, SourceWithoutIniImportsNothing) {
  TSkinFileList source = Package({{"a.bmp", "A"}});
  TDest d = Dest();
  TSkinImport import(d.ini, d.files);
  EXPECT_FALSE(import.SetSource(source));
  EXPECT_FALSE(import.OpenSource("/nonexistent/x.skn"));
  import.Run({"Button"});
  EXPECT_EQ(d.files.Count(), 7);
  EXPECT_EQ(d.ini.ReadString("Buttons", "Bitmap", ""), "push.bmp");
}

}  // namespace
