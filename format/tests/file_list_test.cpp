#include <gtest/gtest.h>

#include "format/bmp.h"
#include "format/file_io.h"
#include "format/mem_ini.h"
#include "format/skin_file_list.h"
#include "format/skin_package.h"
#include "format/text.h"
#include "test_util.h"

using namespace testutil;

namespace {

std::vector<uint8_t> Version20000Package() {
  BodySpec s;
  s.version = 20000;
  s.filler = 0;
  s.names = "skin.ini\r\ntitle.bmp\r\nleft.bmp\r\ntitle.bmp\r\n";
  s.sizes = {20, 5, 4, 6};
  s.data = Bytes("[Skins]\r\nVersion=150TITLEleftTITLE2");
  return Wrap(MakeBody(s));
}

TEST(FileList, OpenKeepsOrderAndEachMembersOwnBytes) {
  TSkinFileList list;
  ASSERT_TRUE(list.OpenFromBytes(Version20000Package()));
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Entry(0).Name, "skin.ini");
  EXPECT_EQ(Text(list.Entry(1).Bytes), "TITLE");
  EXPECT_EQ(Text(list.Entry(3).Bytes), "TITLE2");  // not a copy of the first "title.bmp"
  EXPECT_EQ(Text(*list.Find("TITLE.BMP")), "TITLE");
  EXPECT_EQ(list.Find("nothing"), nullptr);
}

TEST(FileList, SavingAVersion20000SetWritesVersion70000WithTheEditedIni) {
  ScratchDir dir;
  const std::string path = dir.File("old.skn");
  WriteFileAtomic(path, Version20000Package());

  TSkinFileList list;
  ASSERT_TRUE(list.Open(path));
  std::string ini_name;
  std::vector<uint8_t> ini_bytes;
  ASSERT_TRUE(list.FindIni(ini_name, ini_bytes));
  TMemIniFile ini;
  ini.LoadFromBytes(ini_bytes);
  ini.WriteString("Skins", "Author", "me");
  list.ReplaceFromStream(ini_name, ini_name, ini.SaveToBytes());
  list.SaveToFile(path);

  TSkinReader r;
  ASSERT_TRUE(r.LoadFromFile(path));
  EXPECT_EQ(r.Version(), 70000u);
  EXPECT_EQ(r.Names(),
            (std::vector<std::string>{"skin.ini", "title.bmp", "left.bmp", "title.bmp"}));
  EXPECT_EQ(Text({r.Member(0).begin(), r.Member(0).end()}),
            "[Skins]\r\nVersion=150\r\nAuthor=me\r\n\r\n");
  EXPECT_EQ(Text({r.Member(3).begin(), r.Member(3).end()}), "TITLE2");
}

TEST(FileList, ReplaceDeleteAndAppend) {
  TSkinFileList list;
  ASSERT_TRUE(list.OpenFromBytes(Version20000Package()));
  // Import a bitmap over "left.bmp": the member takes the file's name and keeps its place.
  TPixmap img(2, 2, 24);
  img.Row(0)[0] = 0xFF;
  list.ReplaceWithBitmap("LEFT.bmp", "Imported.BMP", img);
  EXPECT_EQ(list.Entry(2).Name, "Imported.BMP");
  EXPECT_EQ(list.Entry(2).Bytes, EncodeBmp(img));
  // An empty or unknown old name appends.
  list.ReplaceFromStream("", "new1.bmp", Bytes("n1"));
  list.ReplaceFromStream("absent.bmp", "title.bmp", Bytes("n2"));
  ASSERT_EQ(list.Count(), 6);
  EXPECT_EQ(list.Entry(5).Name, "title.bmp");
  EXPECT_EQ(Text(*list.Find("title.bmp")), "TITLE");  // the first one still wins
  // Replacing an entry with its own bytes is safe.
  list.ReplaceFromStream("new1.bmp", "new1.bmp", list.Entry(4).Bytes);
  EXPECT_EQ(Text(list.Entry(4).Bytes), "n1");
  list.Delete("TITLE.BMP");
  list.Delete("");
  list.Delete("absent");
  ASSERT_EQ(list.Count(), 5);
  EXPECT_EQ(Text(*list.Find("title.bmp")), "TITLE2");
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(FileList, ExtractIniNeverLeavesTheFolder) {
  ScratchDir dir;
  const std::string inner = dir.File("inner");
  ASSERT_TRUE(CreateDirectoryIfMissing(inner));
  for (const char* evil : {"..\\..\\evil.ini", "../evil.ini", "C:\\evil.ini", "/tmp/evil.ini"}) {
    TSkinWriter w;
    w.AddMember(evil, Bytes("[Skins]"));
    TSkinFileList list;
    ASSERT_TRUE(list.OpenFromBytes(w.SaveToBytes()));
    std::string name;
    std::string written = list.ExtractIni(inner, name);
    EXPECT_EQ(name, LowerAscii(evil)) << evil;
    EXPECT_EQ(ExtractFilePath(written), IncludeTrailingSeparator(inner)) << evil;
    EXPECT_TRUE(FileExists(written)) << evil;
    EXPECT_FALSE(FileExists(dir.File("evil.ini"))) << evil;
  }
  TSkinFileList none;
  std::string name = "x";
  EXPECT_EQ(none.ExtractIni(inner, name), "");
  EXPECT_EQ(name, "");
}

TEST(FileList, FailedOpenLeavesTheSetEmpty) {
  TSkinFileList list;
  ASSERT_TRUE(list.OpenFromBytes(Version20000Package()));
  EXPECT_FALSE(list.Open("/no/such/file.skn"));
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(list.OpenFromBytes(Bytes("garbage")));
  EXPECT_FALSE(list.LastError().empty());
}

TEST(SafeFileName, MakesNamesThatStayInTheirFolder) {
  struct {
    const char* in;
    const char* out;
  } cases[] = {{"title.bmp", "title.bmp"},
               {"..\\x.ini", "_._x.ini"},
               {"../x", "_._x"},
               {"a/b\\c", "a_b_c"},
               {"c:evil", "c_evil"},
               {"..", "__"},
               {".", "_"},
               {"", "member"},
               {"con", "_con"},
               {"CON.bmp", "_CON.bmp"},
               {"lpt1.txt", "_lpt1.txt"},
               {"com10", "com10"},
               {"a?b*c|d", "a_b_c_d"},
               {"trailing. ", "trailing__"},
               {"x\ty", "x_y"}};
  for (const auto& c : cases)
    EXPECT_EQ(SafeFileName(c.in), c.out) << c.in;
}

}  // namespace
