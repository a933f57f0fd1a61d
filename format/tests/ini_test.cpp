#include <gtest/gtest.h>

#include "format/file_io.h"
#include "format/mem_ini.h"
#include "format/quick_ini.h"
#include "format/text.h"
#include "test_util.h"

using testutil::Bytes;

namespace {

const char kSkin[] =
    "stray=before any section\r\n"
    "; a comment\r\n"
    "[Skins]\r\n"
    "  Version = 150  \r\n"
    "Empty=\r\n"
    "Hex=0x1F\r\n"
    "Dollar=$10\r\n"
    "Colour=10 20 30\r\n"
    "\r\n"
    "[Title]\n"
    "Bitmap=title.bmp\n"
    "bitmap=second.bmp\r"
    "NoEquals\r\n"
    "[ Spaced ]\r\n"
    "key=v\r\n"
    "[Skins]\r\n"
    "Version=999\r\n";

struct ReadCase {
  const char* section;
  const char* key;
  const char* quick;  // what TQuickIni reads (default "D")
  const char* mem;    // what TMemIniFile reads (default "D")
};

const ReadCase kReads[] = {
    {"Skins", "Version", "150", "150"},
    {"SKINS", "version", "150", "150"},  // other letter case, first section wins
    {"Skins", "Empty", "D", ""},         // empty value: default vs empty
    {"Skins", "Missing", "D", "D"},
    {"Title", "BITMAP", "title.bmp", "title.bmp"},  // first occurrence
    {"Nope", "Bitmap", "D", "D"},
    {"Spaced", "key", "D", "v"},  // TQuickIni matches the bracket text exactly
    {" Spaced ", "key", "v", "D"},
    {"Title", "NoEquals", "D", "D"},
};

TEST(Ini, BothModelsReadTheSameTextTheirOwnWay) {
  TQuickIni q;
  q.SetText(kSkin);
  TMemIniFile m;
  m.SetText(kSkin);
  for (const ReadCase& c : kReads) {
    EXPECT_EQ(q.ReadString(c.section, c.key, "D"), c.quick) << c.section << "/" << c.key;
    EXPECT_EQ(m.ReadString(c.section, c.key, "D"), c.mem) << c.section << "/" << c.key;
  }
}

TEST(Ini, IntegersAcceptDecimalDollarAndZeroX) {
  struct {
    const char* text;
    int32_t value;
  } cases[] = {{"0x1F", 31},
               {"0X1f", 31},
               {"$10", 16},
               {"-42", -42},
               {"+7", 7},
               {"2147483647", 2147483647},
               {"-2147483648", INT32_MIN},
               {"2147483648", -1},
               {"$80000000", -1},
               {"0x", -1},
               {"$", -1},
               {"", -1},
               {"10 20 30", -1},
               {"12a", -1},
               {"-$10", -1},
               {"0x-1", -1},
               {"007", 7}};
  for (const auto& c : cases) {
    EXPECT_EQ(IniStrToIntDef(c.text, -1), c.value) << c.text;
    TQuickIni q;
    q.WriteString("S", "K", c.text);
    TMemIniFile m;
    m.WriteString("S", "K", c.text);
    EXPECT_EQ(q.ReadInteger("S", "K", -1), c.value) << c.text;
    EXPECT_EQ(m.ReadInteger("S", "K", -1), c.value) << c.text;
  }
}

TEST(QuickIni, KeepsTrimmedLinesAndDropsCommentsAndBlanks) {
  TQuickIni q;
  q.SetText(kSkin);
  EXPECT_EQ(q.Lines().front(), "stray=before any section");  // kept, never reached
  EXPECT_EQ(q.Lines()[2], "Version = 150");
  std::vector<std::string> sections;
  q.ReadSections(sections);
  EXPECT_EQ(sections, (std::vector<std::string>{"Skins", "Title", "Spaced", "Skins"}));
  std::string text = q.Text();
  EXPECT_EQ(text.find(';'), std::string::npos);
  EXPECT_EQ(text.find("\r\n\r\n"), std::string::npos);
  EXPECT_NE(text.find("Version = 150\r\n"), std::string::npos);  // not rebuilt
}

TEST(QuickIni, NulEndsTheTextAndLineBreaksOfEveryKindSplit) {
  TQuickIni q;
  const char text[] = "[A]\rx=1\ny=2\r\nz=3\0[B]\r\nw=4";
  q.SetText(std::string_view(text, sizeof text - 1));
  EXPECT_EQ(q.Lines(), (std::vector<std::string>{"[A]", "x=1", "y=2", "z=3"}));
}

TEST(QuickIni, InsertingKeysKeepsEveryLaterSectionFindable) {
  TQuickIni q;
  q.SetText("[A]\r\na=1\r\n[B]\r\nb=1\r\n[C]\r\nc=1\r\n");
  q.WriteString("A", "New", "x");
  q.WriteString("A", "Other", "y");
  q.WriteString("B", "b", "2");       // replaces in place
  q.WriteString("D", "d", "4");       // appends a section
  q.WriteString("E", "", "ignored");  // empty key: only the section
  q.WriteInteger("C", "n", -5);
  EXPECT_EQ(q.ReadString("A", "new", ""), "x");
  EXPECT_EQ(q.ReadString("A", "other", ""), "y");
  EXPECT_EQ(q.ReadString("B", "b", ""), "2");
  EXPECT_EQ(q.ReadString("C", "c", ""), "1");
  EXPECT_EQ(q.ReadInteger("C", "n", 0), -5);
  EXPECT_EQ(q.ReadString("D", "d", ""), "4");
  EXPECT_EQ(q.FindSection("E"), static_cast<int>(q.Lines().size()) - 1);
  for (const auto& e : q.SectionIndex())
    EXPECT_EQ(q.Lines()[static_cast<size_t>(e.Line)], e.Header);
  EXPECT_EQ(q.Text(),
            "[A]\r\na=1\r\nNew=x\r\nOther=y\r\n[B]\r\nb=2\r\n[C]\r\nc=1\r\nn=-5\r\n[D]\r\nd=4\r\n"
            "[E]\r\n");
  // Loading what was saved gives the same model.
  std::vector<uint8_t> saved;
  q.SaveToStream(saved);
  TQuickIni again;
  again.LoadFromStream(saved);
  EXPECT_EQ(again.Lines(), q.Lines());
}

TEST(MemIni, NormalisesLinesAndWritesSectionsWithABlankAfterEach) {
  TMemIniFile m;
  m.SetText("junk\r\n[A]\r\n k = v \r\nplain\r\n\r\n[B]\r\nx=1\r\n");
  EXPECT_EQ(m.GetText(), "[A]\r\nk=v\r\nplain\r\n\r\n[B]\r\nx=1\r\n\r\n");
  std::vector<std::string> keys;
  m.ReadSection("a", keys);
  EXPECT_EQ(keys, (std::vector<std::string>{"k", ""}));
}

TEST(MemIni, EditingOperations) {
  TMemIniFile m;
  m.SetText("[A]\r\nk=v\r\n[Empty]\r\n[B]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n");
  EXPECT_FALSE(m.SectionExists("Empty"));
  EXPECT_TRUE(m.SectionExists("a"));
  m.WriteString("empty", "ButtonImage", "");
  EXPECT_TRUE(m.SectionExists("Empty"));
  EXPECT_EQ(m.ReadString("Empty", "buttonimage", "D"), "");
  m.WriteString("A", "K", "new");  // replaced with the caller's spelling
  m.WriteString("New", "key", "1");
  m.DeleteKey("B", "X");
  m.DeleteKey("B", "missing");
  EXPECT_TRUE(m.ValueExists("b", "Y"));
  EXPECT_FALSE(m.ValueExists("b", "z"));  // in the second [B], which lookups never reach
  std::vector<std::string> names;
  m.ReadSections(names);
  EXPECT_EQ(names, (std::vector<std::string>{"A", "Empty", "B", "B", "New"}));
  m.EraseSection("b");
  m.ReadSections(names);
  EXPECT_EQ(names, (std::vector<std::string>{"A", "Empty", "B", "New"}));
  EXPECT_EQ(m.ReadString("B", "z", ""), "3");
  EXPECT_EQ(m.GetText(),
            "[A]\r\nK=new\r\n\r\n[Empty]\r\nButtonImage=\r\n\r\n[B]\r\nz=3\r\n\r\n[New]\r\nkey="
            "1\r\n\r\n");
}

TEST(MemIni, FileRoundTrip) {
  testutil::ScratchDir dir;
  const std::string path = dir.File("tessaly.ini");
  {
    TMemIniFile missing(path);  // absent file: empty document
    EXPECT_FALSE(missing.SectionExists("Edit"));
    missing.WriteString("Edit", "Program", "mspaint.exe");
    missing.UpdateFile();
  }
  TMemIniFile back(path);
  EXPECT_EQ(back.ReadString("edit", "program", ""), "mspaint.exe");
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadFileBytes(path, bytes));
  EXPECT_EQ(testutil::Text(bytes), "[Edit]\r\nProgram=mspaint.exe\r\n\r\n");
  TMemIniFile nameless;
  EXPECT_THROW(nameless.UpdateFile(), EFileError);
}

}  // namespace
