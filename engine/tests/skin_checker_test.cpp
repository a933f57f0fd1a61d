// The skin checker over the default skin and copies of it broken one fault at
// a time, and over damaged packages that must be reported, never crash.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>

#include "default_skin.h"
#include "engine/skin_checker.h"
#include "format/bmp.h"
#include "format/file_io.h"
#include "format/lzh.h"

namespace {

std::string Describe(const std::vector<TSkinFinding>& findings) {
  std::string out;
  for (const TSkinFinding& f : findings)
    out += FormatFinding(f) + "\n";
  return out;
}

// The default skin as an editable member set.
class TSkinEdit {
 public:
  TSkinEdit() { EXPECT_TRUE(files_.OpenFromBytes(DefaultSkinPackage())) << files_.LastError(); }

  // Replaces the first occurrence of `from` in the INI text.
  void Ini(const std::string& from, const std::string& to) {
    std::string name;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(files_.FindIni(name, bytes));
    std::string text(bytes.begin(), bytes.end());
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    files_.ReplaceFromStream(name, name, std::vector<uint8_t>(text.begin(), text.end()));
  }
  void Put(const std::string& member, const std::vector<uint8_t>& bytes) {
    files_.ReplaceFromStream(member, member, bytes);
  }
  void Append(const std::string& member, const std::vector<uint8_t>& bytes) {
    files_.ReplaceFromStream("", member, bytes);
  }
  void PutImage(const std::string& member, int width, int height, int bits = 24) {
    Put(member, EncodeBmp(TPixmap(width, height, bits)));
  }
  void Delete(const std::string& member) { files_.Delete(member); }
  const TSkinFileList& Files() const { return files_; }

 private:
  TSkinFileList files_;
};

TEST(SkinChecker, DefaultSkinIsClean) {
  const TSkinCheckReport r = CheckSkinPackage(DefaultSkinPackage());
  ASSERT_TRUE(r.Readable) << r.Why;
  EXPECT_TRUE(r.Findings.empty()) << Describe(r.Findings);
}

struct TBrokenRow {
  const char* Name;
  std::function<void(TSkinEdit&)> Break;
  TFindingSeverity Severity;
  const char* Section;
  const char* Key;
  const char* MessagePart;
};

constexpr TFindingSeverity kError = TFindingSeverity::Error;
constexpr TFindingSeverity kWarning = TFindingSeverity::Warning;

// Each row breaks one thing of the default skin and expects exactly one
// finding, located at the section and key the editor would select.
const TBrokenRow kBrokenRows[] = {
    {"version below 150", [](TSkinEdit& s) { s.Ini("Version=200", "Version=149"); }, kError,
     "Skins", "Version", "\"149\" is below 150"},
    {"version not a number", [](TSkinEdit& s) { s.Ini("Version=200", "Version=2.0"); }, kError,
     "Skins", "Version", "\"2.0\" is no version number"},
    {"version missing", [](TSkinEdit& s) { s.Ini("Version=200\r\n", ""); }, kError, "Skins",
     "Version", "gives no format version"},
    {"named member missing", [](TSkinEdit& s) { s.Delete("tabs.bmp"); }, kError, "Tabs", "Image",
     "\"tabs.bmp\", which is missing"},
    {"other key names a missing bitmap",
     [](TSkinEdit& s) { s.Ini("Name=Metallic", "Name=Metallic\r\nPreview=shot.bmp"); }, kWarning,
     "Skins", "Preview", "\"shot.bmp\", which is missing"},
    {"member no key names",
     [](TSkinEdit& s) { s.Append("spare.bmp", EncodeBmp(TPixmap(4, 4, 24))); }, kWarning, "", "",
     "names the member \"spare.bmp\""},
    {"two members of one name",
     [](TSkinEdit& s) { s.Append("Close.bmp", EncodeBmp(TPixmap(4, 4, 24))); }, kError, "", "",
     "2 members are named \"close.bmp\""},
    {"bitmap name not in lower-case .bmp",
     [](TSkinEdit& s) { s.Ini("Image=tabs.bmp", "Image=tabs.BMP"); }, kError, "Tabs", "Image",
     "does not end in \".bmp\" in lower case"},
    {"member does not decode",
     [](TSkinEdit& s) {
       s.Put("tabs.bmp", {'B', 'M', 1, 2, 3});
     },
     kError, "Tabs", "Image", "\"tabs.bmp\" does not decode"},
    {"member empty", [](TSkinEdit& s) { s.Put("tabs.bmp", {}); }, kError, "Tabs", "Image",
     "is empty"},
    {"bitmap not 24-bit", [](TSkinEdit& s) { s.PutImage("tabs.bmp", 200, 22, 8); }, kWarning,
     "Tabs", "Image", "8 bits per pixel"},
    {"strip width not a multiple of its frames",
     [](TSkinEdit& s) { s.PutImage("menuitem.bmp", 151, 20); }, kError, "MenuItem", "Image",
     "151 pixels wide, which does not divide into the 5 frames"},
    {"stacked strip height not a multiple", [](TSkinEdit& s) { s.Ini("TopFrame=2", "TopFrame=7"); },
     kError, "Personality", "Top", "(TopFrame) stacked"},
    {"frame count from its key", [](TSkinEdit& s) { s.Ini("LeftFrame=2", "LeftFrame=3"); }, kError,
     "Personality", "Left", "10 pixels wide, which does not divide into the 3 frames"},
    {"more frames than pixels",
     [](TSkinEdit& s) { s.Ini("FrameCount=3\r\nLeftWidth=5", "FrameCount=999\r\nLeftWidth=5"); },
     kError, "HorzScrollThumb", "Image", "too few for the 999 frames (FrameCount)"},
    {"title button frames",
     [](TSkinEdit& s) { s.Ini("Visibility=0\r\nFrame=4", "Visibility=0\r\nFrame=5"); }, kError,
     "Button0", "ButtonImage", "84 pixels wide"},
    {"title button frames guessed from its shape",
     [](TSkinEdit& s) {
       s.Ini("Visibility=0\r\nFrame=4", "Visibility=0");
       s.PutImage("close.bmp", 80, 19);
     },
     kError, "Button0", "ButtonImage",
     "80 pixels wide, which does not divide into the 6 frames the"},
    {"check cells from their key",
     [](TSkinEdit& s) {
       s.Ini("CheckButton=check.bmp", "CheckButton=check.bmp\r\nCheckButtonFrame=5");
     },
     kError, "Buttons", "CheckButton", "156 pixels wide, which does not divide into the 5 frames"},
    {"MDI buttons strip", [](TSkinEdit& s) { s.PutImage("mdicontrols.bmp", 193, 14); }, kError,
     "MDICONTROLS", "Image", "into the 12 frames"},
    {"spin glyphs", [](TSkinEdit& s) { s.PutImage("spinglyphsh.bmp", 129, 16); }, kError,
     "UpDown.Horz", "GlyphImage", "into the 8 frames"},
    {"menu bar frames stacked", [](TSkinEdit& s) { s.PutImage("menubar.bmp", 40, 41); }, kError,
     "Personality", "menuBar", "41 pixels high"},
    {"combo edge margins as the skin gives them",
     [](TSkinEdit& s) {
       s.Ini("Image=sunkedge.bmp\r\nLeftWidth=3", "Image=sunkedge.bmp\r\nLeftWidth=18");
     },
     kError, "SunkEdge", "LeftWidth", "do not fit the 20-pixel width"},
    {"margins wider than a frame",
     [](TSkinEdit& s) {
       s.Ini("Bitmap=button.bmp\r\nLeftWidth=5", "Bitmap=button.bmp\r\nLeftWidth=30");
     },
     kError, "Buttons", "LeftWidth", "LeftWidth 30 and RightWidth 5 do not fit the 28-pixel width"},
    {"border margins taller than a frame",
     [](TSkinEdit& s) { s.Ini("LeftTopHeight=30", "LeftTopHeight=41"); }, kError, "Personality",
     "LeftTopHeight", "do not fit the 45-pixel height"},
    {"negative margin",
     [](TSkinEdit& s) {
       s.Ini("Image=menuitem.bmp\r\nLeftWidth=4", "Image=menuitem.bmp\r\nLeftWidth=-4");
     },
     kError, "MenuItem", "LeftWidth", "negative"},
    {"number that is not a number", [](TSkinEdit& s) { s.Ini("LeftFrame=2", "LeftFrame=two"); },
     kError, "Personality", "LeftFrame", "\"two\" is not a whole number"},
    {"colour of two numbers",
     [](TSkinEdit& s) { s.Ini("ButtonFace=228 231 236", "ButtonFace=228 231"); }, kError, "Colours",
     "ButtonFace", "reads it as R G B = 228 0 0"},
    {"colour component above 255",
     [](TSkinEdit& s) { s.Ini("Color3=112 120 132", "Color3=112 300 132"); }, kError,
     "Customcolors", "Color3", "above 255; the engine reads it as R G B = 112 44 132"},
    {"colour without numbers", [](TSkinEdit& s) { s.Ini("color=74 118 186", "color=blue"); },
     kError, "Colour1", "color", "not three numbers"},
    {"element colour with commas",
     [](TSkinEdit& s) { s.Ini("NormalColour2=60 66 78", "NormalColour2=60,66,78"); }, kWarning,
     "Tabs", "NormalColour2", "R G B = 60 66 78"},
    {"title button without a bitmap",
     [](TSkinEdit& s) {
       s.Ini("ButtonImage=close.bmp", "ButtonImage=");
       s.Delete("close.bmp");
     },
     kError, "Button0", "ButtonImage", "no bitmap"},
    {"title button action unknown", [](TSkinEdit& s) { s.Ini("Action=0", "Action=5"); }, kWarning,
     "Button0", "Action", "action 5 is none the engine knows"},
    {"section given twice",
     [](TSkinEdit& s) { s.Ini("[Tab.Pane]", "[Tabs]\r\nStyle=1\r\n[Tab.Pane]"); }, kWarning, "Tabs",
     "", "appears more than once"},
    {"key given twice", [](TSkinEdit& s) { s.Ini("Image=tabs.bmp", "Image=tabs.bmp\r\nTrans=0"); },
     kWarning, "Tabs", "Trans", "more than once in its section"},
};

TEST(SkinChecker, EachBrokenSkinGivesItsOneFinding) {
  for (const TBrokenRow& row : kBrokenRows) {
    SCOPED_TRACE(row.Name);
    TSkinEdit skin;
    row.Break(skin);
    const TSkinCheckReport r = CheckSkinFiles(skin.Files());
    ASSERT_TRUE(r.Readable) << r.Why;
    ASSERT_EQ(r.Findings.size(), 1u) << Describe(r.Findings);
    const TSkinFinding& f = r.Findings[0];
    EXPECT_EQ(f.Severity, row.Severity);
    EXPECT_EQ(f.Section, row.Section);
    EXPECT_EQ(f.Key, row.Key);
    EXPECT_NE(f.Message.find(row.MessagePart), std::string::npos) << f.Message;
  }
}

TEST(SkinChecker, FindingsNameTheMemberConcerned) {
  TSkinEdit skin;
  skin.PutImage("menuitem.bmp", 151, 20);
  skin.Append("spare.bmp", EncodeBmp(TPixmap(4, 4, 24)));
  const TSkinCheckReport r = CheckSkinFiles(skin.Files());
  ASSERT_EQ(r.Findings.size(), 2u) << Describe(r.Findings);
  EXPECT_EQ(r.Findings[0].Member, "menuitem.bmp");
  EXPECT_EQ(r.Findings[1].Member, "spare.bmp");
  EXPECT_EQ(FormatFinding(r.Findings[1]),
            "warning\t-\t-\tno key of the INI names the member \"spare.bmp\"");
}

TEST(SkinChecker, FindingLinesKeepFourFields) {
  const struct {
    TSkinFinding Finding;
    const char* Line;
  } rows[] = {
      {{kError, "Tabs", "Image", "tabs.bmp", "bad"}, "error\tTabs\tImage\tbad"},
      {{kWarning, "", "", "x.bmp", "unused"}, "warning\t-\t-\tunused"},
      {{kError, "Ta\tbs",
        "Im\x01"
        "age",
        "", "two\r\nlines"},
       "error\tTa bs\tIm age\ttwo  lines"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(FormatFinding(row.Finding), row.Line);
}

TEST(SkinChecker, EditorTextReplacesTheIniMember) {
  TSkinEdit skin;
  std::string name;
  std::vector<uint8_t> ini;
  ASSERT_TRUE(skin.Files().FindIni(name, ini));
  std::string text(ini.begin(), ini.end());
  EXPECT_TRUE(CheckSkinFiles(skin.Files(), text).Clean());
  text.replace(text.find("Version=200"), 11, "Version=120");
  const TSkinCheckReport r = CheckSkinFiles(skin.Files(), text);
  ASSERT_EQ(r.Findings.size(), 1u) << Describe(r.Findings);
  EXPECT_EQ(r.Findings[0].Key, "Version");
}

TEST(SkinChecker, UnreadablePackagesSayWhy) {
  const std::vector<uint8_t> garbage = {1, 2, 3};
  TSkinCheckReport r = CheckSkinPackage(garbage);
  EXPECT_FALSE(r.Readable);
  EXPECT_FALSE(r.Why.empty());
  EXPECT_TRUE(r.Findings.empty());

  TSkinEdit skin;
  skin.Delete("metallic.ini");
  r = CheckSkinFiles(skin.Files());
  EXPECT_FALSE(r.Readable);
  EXPECT_NE(r.Why.find("no INI member"), std::string::npos) << r.Why;
}

// Damaged input is reported, never thrown or crashed on (run under the
// sanitizers): truncated and bit-flipped packages, members with flipped
// bytes, and the fuzz corpora of packages and skin INI texts.
TEST(SkinChecker, DamagedInputIsReported) {
  const std::span<const uint8_t> good = DefaultSkinPackage();
  std::mt19937 rng(7);
  for (size_t cut : {size_t{0}, size_t{3}, size_t{40}, good.size() / 2, good.size() - 1}) {
    const TSkinCheckReport r = CheckSkinPackage(good.first(cut));
    EXPECT_TRUE(r.Readable || !r.Why.empty()) << cut;
  }
  for (int round = 0; round < 20; ++round) {
    TSkinFileList files;
    ASSERT_TRUE(files.OpenFromBytes(good));
    const TSkinFileEntry& victim = files.Entry(static_cast<int>(rng() % files.Count()));
    std::vector<uint8_t> bytes = victim.Bytes;
    for (int flips = 0; flips < 8 && !bytes.empty(); ++flips)
      bytes[rng() % bytes.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
    if (round % 5 == 0) bytes.resize(bytes.size() / 3);
    files.ReplaceFromStream(victim.Name, victim.Name, bytes);
    (void)CheckSkinFiles(files);
  }
  const std::string corpus = std::string(MV_SOURCE_DIR) + "/fuzz/corpus/";
  int seen = 0;
  for (const char* dir : {"package", "skin"}) {
    for (const auto& entry : std::filesystem::directory_iterator(corpus + dir)) {
      std::vector<uint8_t> bytes;
      ASSERT_TRUE(ReadFileBytes(entry.path().string(), bytes));
      const TSkinCheckReport r = CheckSkinPackage(bytes);
      EXPECT_TRUE(r.Readable || !r.Why.empty()) << entry.path();
      ++seen;
      if (std::string_view(dir) != "skin") continue;
      // An INI text of the corpus inside the default skin's members.
      TSkinFileList files;
      ASSERT_TRUE(files.OpenFromBytes(good));
      files.ReplaceFromStream("metallic.ini", "metallic.ini", bytes);
      EXPECT_TRUE(CheckSkinFiles(files).Readable) << entry.path();
    }
  }
  EXPECT_GT(seen, 10);
}

}  // namespace
