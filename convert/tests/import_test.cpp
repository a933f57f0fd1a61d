// Partial import of setting groups from another skin package.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "convert/skin_import.h"
#include "format/file_io.h"
#include "format/skin_package.h"
#include "format/text.h"

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

TEST(SkinImport, ASourceThatCannotBeOpenedSaysWhy) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(testing::TempDir()) / "import_sources";
  fs::create_directories(dir);
  TSkinWriter no_ini;
  no_ini.AddMember("a.bmp", B("A"));
  const std::string missing = (dir / "missing.skn").string();
  const std::string damaged = (dir / "damaged.skn").string();
  const std::string bare = (dir / "bare.skn").string();
  fs::remove(missing);
  WriteFileAtomic(damaged, std::string("not a skin package at all"));
  WriteFileAtomic(bare, no_ini.SaveToBytes());
  struct {
    std::string path, why;
  } cases[] = {{"", "no skin package was chosen."},
               {missing, "the file does not exist."},
               {damaged, ""},  // the reader's own words
               {bare, "the package has no INI member."}};
  for (const auto& c : cases) {
    TDest d = Dest();
    TSkinImport import(d.ini, d.files);
    EXPECT_FALSE(import.OpenSource(c.path)) << c.path;
    const std::string prefix = "Cannot import from \"" + c.path + "\": ";
    EXPECT_EQ(import.LastError().substr(0, prefix.size()), prefix);
    EXPECT_GT(import.LastError().size(), prefix.size() + 5) << c.path;
    if (!c.why.empty()) {
      EXPECT_EQ(import.LastError(), prefix + c.why);
    }
    import.Run({"Button"});
    EXPECT_EQ(d.files.Count(), 7);
    EXPECT_EQ(d.ini.ReadString("Buttons", "Bitmap", ""), "push.bmp");
  }
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

// --- Every group, one at a time, from a source and a destination that both
// have every section the groups touch.

// An image key of a group: the destination names "d_<section>_<key>.bmp", the
// source "s_<section>_<key>.bmp"; each member's bytes are its own name.
struct TImageKey {
  const char* section;
  const char* key;
};

const TImageKey kImageKeys[] = {
    {"Personality", "Left"},
    {"Personality", "Right"},
    {"Personality", "Top"},
    {"Personality", "Bottom"},
    {"Personality", "TextBack"},
    {"Personality", "menuBar"},
    {"BUTTON0", "ButtonImage"},
    {"MDICONTROLS", "Image"},
    {"MenuItem", "Image"},
    {"MenuBackground", "Image"},
    {"Buttons", "Bitmap"},
    {"Buttons", "CheckButton"},
    {"Buttons", "RadioButton"},
    {"ComboButton", "Image"},
    {"SunkEdge", "Image"},
    {"ExtraImages", "Image"},
    {"Tabs", "Image"},
    {"Tabs", "Border"},
    {"Tab.Pane", "Image"},
    {"StatusBarEdges", "Image"},
    {"Progress", "Bitmap"},
    {"Progress.Chunk", "Image"},
    {"Scrollbar", "Image"},
    {"HorzScroll", "Image"},
    {"VertScroll", "Image"},
    {"HorzScrollThumb", "Image"},
    {"VertScrollThumb", "Image"},
    {"Trackbar.ThumbDown", "Image"},
    {"Trackbar.ThumbHorz", "Image"},
    {"Trackbar.ThumbLeft", "Image"},
    {"Trackbar.ThumbRight", "Image"},
    {"Trackbar.ThumbUp", "Image"},
    {"Trackbar.ThumbVert", "Image"},
    {"Track", "Image"},
    {"Trackbar", "Image"},
    {"UpDown.Horz", "Image"},
    {"UpDown.Horz", "GlyphImage"},
    {"UpDown.Vert", "Image"},
    {"UpDown.Vert", "GlyphImage"},
    {"Headerbar", "Image"},
};

std::string MemberOf(char side, const TImageKey& k) {
  return std::string(1, side) + "_" + k.section + "_" + k.key + ".bmp";
}

// Both packages: every image key with its member, "Mark" in every section
// (the source's says "s", the destination's "d"), and the plain keys the
// groups copy. The destination has some the source lacks.
TSkinFileList SidePackage(char side) {
  TMemIniFile ini;
  std::vector<std::pair<std::string, std::string>> members;
  for (const TImageKey& k : kImageKeys) {
    ini.WriteString(k.section, k.key, MemberOf(side, k));
    ini.WriteString(k.section, "Mark", std::string(1, side));
    members.push_back({MemberOf(side, k), MemberOf(side, k)});
  }
  const std::string v(1, side);
  for (const char* k : {"LeftTopHeight", "TopFrame", "TextShift", "ActiveText", "TileMenu"})
    ini.WriteString("Personality", k, v);
  for (const char* k : {"TitleTextActive", "TitleTextNoActive", "Menubar", "MenuBarText",
                        "HilightText", "MenuText", "ButtonFace", "WindowText"})
    ini.WriteString("Colours", k, v);
  ini.WriteString("BUTTON0", "Action", v);
  if (side == 'd') {
    ini.WriteString("Personality", "TXTBackleft", "d");
    ini.WriteString("BUTTON7", "ButtonImage", "d_b7.bmp");
    members.push_back({"d_b7.bmp", "B7"});
    ini.WriteString("Colours", "Window", "d");  // no group copies it
  }
  const std::vector<uint8_t> text = ini.SaveToBytes();
  members.push_back(
      {side == 'd' ? "skin.ini" : "source.ini", std::string(text.begin(), text.end())});
  return Package(members);
}

struct TGroupCase {
  const char* group;
  std::vector<std::string> sections;  // image sections, erased before the copy ("" for none)
  std::vector<TImageKey> images;      // the image keys it takes
  std::vector<std::array<const char*, 3>> keys;  // section, key, value afterwards
};

// What each group takes; the rows are in the groups' order.
std::vector<TGroupCase> GroupCases() {
  return {
      {"Border",
       {},
       {{"Personality", "Left"},
        {"Personality", "Right"},
        {"Personality", "Top"},
        {"Personality", "Bottom"},
        {"Personality", "TextBack"}},
       {{"Personality", "LeftTopHeight", "s"},
        {"Personality", "TopFrame", "s"},
        {"Personality", "TextShift", "s"},
        {"Personality", "ActiveText", "s"},
        {"Personality", "TXTBackleft", ""},
        {"Personality", "TileMenu", "d"},
        {"Colours", "TitleTextActive", "s"},
        {"Colours", "TitleTextNoActive", "s"},
        {"Colours", "Menubar", "d"}}},
      {"Caption-Button",
       {"BUTTON0"},
       {{"BUTTON0", "ButtonImage"}, {"MDICONTROLS", "Image"}},
       {{"BUTTON0", "Action", "s"}, {"BUTTON0", "Align", ""}, {"MDICONTROLS", "Mark", "d"}}},
      {"Menubar",
       {},
       {{"Personality", "menuBar"}},
       {{"Personality", "TileMenu", "s"},
        {"Personality", "TileLeftMenu", ""},
        {"Colours", "Menubar", "s"},
        {"Colours", "MenuBarText", "s"},
        {"Personality", "TextShift", "d"}}},
      {"Menuitem",
       {"MenuItem", "MenuBackground"},
       {{"MenuItem", "Image"}, {"MenuBackground", "Image"}},
       {{"Colours", "HilightText", "s"}, {"Colours", "MenuText", "s"}, {"Colours", "Menu", ""}}},
      {"Button",
       {"Buttons"},
       {{"Buttons", "Bitmap"}, {"Buttons", "CheckButton"}, {"Buttons", "RadioButton"}},
       {}},
      {"CheckBox", {}, {{"Buttons", "CheckButton"}}, {{"Buttons", "Mark", "d"}}},
      {"Radiobutton", {}, {{"Buttons", "RadioButton"}}, {{"Buttons", "Mark", "d"}}},
      {"Combobox",
       {"ComboButton", "SunkEdge", "ExtraImages"},
       {{"ComboButton", "Image"}, {"SunkEdge", "Image"}, {"ExtraImages", "Image"}},
       {}},
      {"Tab",
       {"Tabs", "Tab.Pane"},
       {{"Tabs", "Image"}, {"Tabs", "Border"}, {"Tab.Pane", "Image"}},
       {}},
      {"Statusbar", {"StatusBarEdges"}, {{"StatusBarEdges", "Image"}}, {}},
      {"Progressbar",
       {"Progress", "Progress.Chunk"},
       {{"Progress", "Bitmap"}, {"Progress.Chunk", "Image"}},
       {}},
      {"Scrollbar",
       {"Scrollbar", "HorzScroll", "VertScroll", "HorzScrollThumb", "VertScrollThumb"},
       {{"Scrollbar", "Image"},
        {"HorzScroll", "Image"},
        {"VertScroll", "Image"},
        {"HorzScrollThumb", "Image"},
        {"VertScrollThumb", "Image"}},
       {}},
      {"Trackbar",
       {"Trackbar.ThumbDown", "Trackbar.ThumbHorz", "Trackbar.ThumbLeft", "Trackbar.ThumbRight",
        "Trackbar.ThumbUp", "Trackbar.ThumbVert", "Track", "Trackbar"},
       {{"Trackbar.ThumbDown", "Image"},
        {"Trackbar.ThumbHorz", "Image"},
        {"Trackbar.ThumbLeft", "Image"},
        {"Trackbar.ThumbRight", "Image"},
        {"Trackbar.ThumbUp", "Image"},
        {"Trackbar.ThumbVert", "Image"},
        {"Track", "Image"},
        {"Trackbar", "Image"}},
       {}},
      {"UpDown",
       {"UpDown.Horz", "UpDown.Vert"},
       {{"UpDown.Horz", "Image"},
        {"UpDown.Horz", "GlyphImage"},
        {"UpDown.Vert", "Image"},
        {"UpDown.Vert", "GlyphImage"}},
       {}},
      {"HeaderControl", {"Headerbar"}, {{"Headerbar", "Image"}}, {}},
      {"Colors",
       {},
       {},
       {{"Colours", "ButtonFace", "s"},
        {"Colours", "WindowText", "s"},
        {"Colours", "ButtonShadow", ""},
        {"Colours", "Window", "d"},
        {"Colours", "Menubar", "d"}}},
  };
}

// Imports one group into a fresh destination and checks every image key,
// the replaced sections, the copied keys and the members.
void CheckGroup(const TGroupCase& c, const TSkinFileList& source) {
  SCOPED_TRACE(c.group);
  TSkinFileList files = SidePackage('d');
  TMemIniFile ini;
  std::string ini_name;
  std::vector<uint8_t> ini_bytes;
  ASSERT_TRUE(files.FindIni(ini_name, ini_bytes));
  ini.LoadFromBytes(ini_bytes);
  TSkinImport import(ini, files);
  ASSERT_TRUE(import.SetSource(source));
  import.Run({c.group});
  auto taken = [&](const TImageKey& k) {
    for (const TImageKey& t : c.images) {
      if (std::string(t.section) == k.section && std::string(t.key) == k.key) return true;
    }
    return false;
  };
  for (const TImageKey& k : kImageKeys) {
    const char side = taken(k) ? 's' : 'd';
    EXPECT_EQ(ini.ReadString(k.section, k.key, ""), MemberOf(side, k)) << k.section << k.key;
    EXPECT_EQ(Bytes(files, MemberOf(side, k).c_str()), MemberOf(side, k));
    if (taken(k)) {
      EXPECT_EQ(Bytes(files, MemberOf('d', k).c_str()), "<none>");
    }
  }
  // A replaced section keeps only the source's keys.
  for (const std::string& s : c.sections)
    EXPECT_EQ(ini.ReadString(s, "Mark", ""), s == "BUTTON0" ? "" : "s") << s;
  for (const auto& [section, key, value] : c.keys)
    EXPECT_EQ(ini.ReadString(section, key, "<absent>"), value) << section << " " << key;
  // The destination's other caption button goes with the caption buttons.
  const bool buttons = std::string(c.group) == "Caption-Button";
  EXPECT_EQ(ini.SectionExists("BUTTON7"), !buttons);
  EXPECT_EQ(Bytes(files, "d_b7.bmp") == "<none>", buttons);
  EXPECT_EQ(Bytes(files, "skin.ini"), std::string(ini_bytes.begin(), ini_bytes.end()));
}

TEST(SkinImport, EveryGroupTakesItsKeysAndImagesAndNothingElse) {
  const std::vector<TGroupCase> cases = GroupCases();
  ASSERT_EQ(cases.size(), static_cast<size_t>(kImportGroupCount));
  for (int i = 0; i < kImportGroupCount; ++i)
    EXPECT_STREQ(cases[static_cast<size_t>(i)].group, kImportGroups[i]);
  const TSkinFileList source = SidePackage('s');
  for (const TGroupCase& c : cases)
    CheckGroup(c, source);
}

// Source and destination caption buttons with the same member names: the
// imported images replace the old ones, in place, one member per name.
TEST(SkinImport, SameNamedCaptionButtonsTakeTheSourceImages) {
  TDest d(
      "[BUTTON0]\r\nButtonImage=close.bmp\r\n[BUTTON1]\r\nButtonImage=max.bmp\r\n"
      "[MDICONTROLS]\r\nImage=mdi.bmp\r\n",
      {{"close.bmp", "old close"},
       {"max.bmp", "old max"},
       {"mdi.bmp", "old mdi"},
       {"skin.ini", "i"}});
  TSkinFileList source = Package({{"src.ini",
                                   "[BUTTON0]\r\nButtonImage=Close.bmp\r\n[BUTTON1]\r\n"
                                   "ButtonImage=MAX.bmp\r\n[MDICONTROLS]\r\nImage=mdi.bmp\r\n"},
                                  {"Close.bmp", "new close"},
                                  {"MAX.bmp", "new max"},
                                  {"mdi.bmp", "new mdi"}});
  d.Import(source, {"Caption-Button"});
  EXPECT_EQ(Bytes(d.files, "close.bmp"), "new close");
  EXPECT_EQ(Bytes(d.files, "max.bmp"), "new max");
  EXPECT_EQ(Bytes(d.files, "mdi.bmp"), "new mdi");
  EXPECT_EQ(d.files.Count(), 4);  // no member twice
  EXPECT_EQ(d.ini.ReadString("BUTTON0", "ButtonImage", ""), "Close.bmp");
}

// An imported image whose name a different, still used member of the skin
// has: it comes in under a name of its own, and its key names that.
TEST(SkinImport, CollidingNameGetsAUniqueOne) {
  TDest d(
      "[Tabs]\r\nImage=shared.bmp\r\n[Headerbar]\r\nImage=hdr.bmp\r\n"
      "[Buttons]\r\nCheckButton=box.bmp\r\nRadioButton=box.bmp\r\n",
      {{"shared.bmp", "tab"},
       {"hdr.bmp", "old header"},
       {"box.bmp", "box"},
       {"shared_1.bmp", "taken"},
       {"skin.ini", "i"}});
  TSkinFileList source = Package({{"src.ini",
                                   "[Headerbar]\r\nImage=Shared.bmp\r\n"
                                   "[Buttons]\r\nCheckButton=box.bmp\r\n"},
                                  {"Shared.bmp", "header"},
                                  {"box.bmp", "tick"}});
  d.Import(source, {"CheckBox", "HeaderControl"});
  const std::string header = d.ini.ReadString("Headerbar", "Image", "");
  EXPECT_FALSE(EqualsIgnoreCase(header, "shared.bmp"));
  EXPECT_FALSE(EqualsIgnoreCase(header, "shared_1.bmp"));
  EXPECT_EQ(Bytes(d.files, header.c_str()), "header");
  EXPECT_EQ(Bytes(d.files, "shared.bmp"), "tab");
  EXPECT_EQ(Bytes(d.files, "shared_1.bmp"), "taken");
  EXPECT_EQ(Bytes(d.files, "hdr.bmp"), "<none>");
  // The check box shares its old member with the radio button.
  const std::string check = d.ini.ReadString("Buttons", "CheckButton", "");
  EXPECT_FALSE(EqualsIgnoreCase(check, "box.bmp"));
  EXPECT_EQ(Bytes(d.files, check.c_str()), "tick");
  EXPECT_EQ(Bytes(d.files, "box.bmp"), "box");
  // The same image twice in the source stays one member.
  TDest e("[Tabs]\r\nImage=a.bmp\r\n", {{"a.bmp", "A"}, {"skin.ini", "i"}});
  TSkinFileList twice = Package(
      {{"src.ini", "[Tabs]\r\nImage=t.bmp\r\n[Tab.Pane]\r\nImage=t.bmp\r\n"}, {"t.bmp", "T"}});
  e.Import(twice, {"Tab"});
  EXPECT_EQ(e.ini.ReadString("Tab.Pane", "Image", ""), "t.bmp");
  EXPECT_EQ(Names(e.files), (std::vector<std::string>{"skin.ini", "t.bmp"}));
}

}  // namespace
