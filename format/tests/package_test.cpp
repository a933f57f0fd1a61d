#include <gtest/gtest.h>

#include <string>

#include "format/file_io.h"
#include "format/skin_file_list.h"
#include "format/skin_package.h"
#include "test_util.h"

using namespace testutil;

namespace {

TEST(NameList, SplitsLikeTheFormatSays) {
  struct {
    const char* text;
    size_t len;
    std::vector<std::string> names;
  } cases[] = {
      {"", 0, {}},
      {"a", 1, {"a"}},
      {"a\r\n", 3, {"a"}},
      {"a\r\nb", 4, {"a", "b"}},
      {"a\nb\rc\r\n", 7, {"a", "b", "c"}},
      {"a\r\n\r\nb\r\n", 8, {"a", "", "b"}},
      {"a\n\rb", 4, {"a", "", "b"}},
      {"\r\n", 2, {""}},
      {"a\r\nb\0c\r\n", 8, {"a", "b"}},
      {"\0a", 2, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitNameList(std::string_view(c.text, c.len)), c.names) << c.text;
  }
}

TEST(Package, VersionsDifferOnlyInTheirFiller) {
  const std::pair<uint32_t, int> versions[] = {{20000, 0},  {30000, 256}, {40000, 80},
                                               {50000, 48}, {60000, 117}, {70000, 69}};
  for (auto [version, filler] : versions) {
    EXPECT_EQ(SkinFillerLength(version), filler);
    BodySpec s;
    s.version = version;
    s.filler = filler;
    s.filler_byte = 0xA5;
    s.reserved = 0x5A;
    s.names = "Skin.INI\r\nTitle.bmp\r\n";
    s.sizes = {3, 2};
    s.data = Bytes("abcXY");
    TSkinReader r;
    ASSERT_TRUE(r.LoadFromStream(Wrap(MakeBody(s)))) << version << ": " << r.LastError();
    EXPECT_EQ(r.Version(), version);
    EXPECT_EQ(r.Names(), (std::vector<std::string>{"skin.ini", "title.bmp"}));
    std::vector<uint8_t> out;
    EXPECT_TRUE(r.ReadMember("TITLE.BMP", out));
    EXPECT_EQ(Text(out), "XY");
  }
  for (uint32_t bad : {0u, 10000u, 69999u, 80000u})
    EXPECT_EQ(SkinFillerLength(bad), -1);
}

TEST(Package, Version20000WithFortyOneMembersFindsEveryMemberInAnyCase) {
  BodySpec s;
  s.version = 20000;
  s.filler = 0;
  s.reserved = 0xFF;
  for (int i = 0; i < 41; ++i) {
    std::string name = i == 0 ? "metallic.ini" : "bmp" + std::to_string(i) + ".bmp";
    s.names += name + "\r\n";
    std::string content = "member " + std::to_string(i);
    s.sizes.push_back(static_cast<uint32_t>(content.size()));
    s.data.insert(s.data.end(), content.begin(), content.end());
  }
  TSkinReader r;
  ASSERT_TRUE(r.LoadFromStream(Wrap(MakeBody(s))));
  ASSERT_EQ(r.Count(), 41);
  std::vector<uint8_t> out;
  for (int i = 1; i < 41; ++i) {
    ASSERT_TRUE(r.ReadMember("BMP" + std::to_string(i) + ".Bmp", out));
    EXPECT_EQ(Text(out), "member " + std::to_string(i));
  }
  EXPECT_FALSE(r.ReadMember("missing.bmp", out));
  EXPECT_TRUE(out.empty());
}

TEST(Package, WrittenPackagesReadBackInOrder) {
  TSkinWriter w;
  w.AddMember("Skin.ini", Bytes("[Skins]\r\nVersion=150\r\n"));
  w.AddMember("Empty.bmp", {});
  w.AddMember("Big.BMP", RandomBytes(100000, 1));
  w.AddMember("skin.ini", Bytes("second"));
  std::vector<uint8_t> file = w.SaveToBytes();

  TSkinReader r;
  ASSERT_TRUE(r.LoadFromStream(file));
  EXPECT_EQ(r.Version(), 70000u);
  EXPECT_EQ(r.Names(), (std::vector<std::string>{"skin.ini", "empty.bmp", "big.bmp", "skin.ini"}));
  EXPECT_EQ(r.NameListLength(), 40);
  EXPECT_TRUE(std::ranges::equal(r.Member(2), RandomBytes(100000, 1)));
  EXPECT_EQ(r.Member(1).size(), 0u);
  // Same name twice: lookups find the first, positions keep their own bytes.
  std::vector<uint8_t> out;
  r.ReadMember("SKIN.INI", out);
  EXPECT_EQ(Text(out), "[Skins]\r\nVersion=150\r\n");
  EXPECT_EQ(Text({r.Member(3).begin(), r.Member(3).end()}), "second");

  // The body as written: header, zero reserved and filler, names, sizes.
  TLzhUnpacked body =
      LzhUnpack(std::span(file).subspan(4),
                static_cast<uint32_t>(file[0] | file[1] << 8 | file[2] << 16 | file[3] << 24));
  ASSERT_FALSE(body.Overrun);
  const auto& b = body.Bytes;
  EXPECT_EQ(b[0] | b[1] << 8 | b[2] << 16, 70000);
  EXPECT_TRUE(std::all_of(b.begin() + 8, b.begin() + 16 + 69, [](uint8_t x) { return x == 0; }));
  EXPECT_EQ(std::string(b.begin() + 85, b.begin() + 85 + 40),
            "Skin.ini\r\nEmpty.bmp\r\nBig.BMP\r\nskin.ini\r\n");
}

TEST(Package, FindMemberMatchesSubstringsOfLowercasedNames) {
  TSkinWriter w;
  w.AddMember("a.ini.bmp", Bytes("bitmap"));
  w.AddMember("Real.INI", Bytes("ini"));
  TSkinReader r;
  ASSERT_TRUE(r.LoadFromStream(w.SaveToBytes()));
  std::vector<uint8_t> out;
  std::string name = "unchanged";
  EXPECT_TRUE(r.FindMember(".ini", out, name));
  EXPECT_EQ(name, "a.ini.bmp");
  EXPECT_EQ(Text(out), "bitmap");
  name = "unchanged";
  EXPECT_FALSE(r.FindMember(".INI", out, name));  // the text is not lowercased
  EXPECT_EQ(name, "unchanged");
  EXPECT_FALSE(r.FindMember("", out, name));
  EXPECT_TRUE(r.FindMember("real", out, name));
  EXPECT_EQ(name, "real.ini");
}

TEST(Package, EmptyPackageAndUnterminatedNameList) {
  TSkinWriter empty;
  TSkinReader r;
  ASSERT_TRUE(r.LoadFromStream(empty.SaveToBytes()));
  EXPECT_EQ(r.Count(), 0);
  EXPECT_EQ(r.NameListLength(), 0);

  BodySpec s;
  s.names = "one.ini\r\ntwo.bmp";
  s.sizes = {1, 1};
  s.data = Bytes("12");
  ASSERT_TRUE(r.LoadFromStream(Wrap(MakeBody(s))));
  EXPECT_EQ(r.Names().back(), "two.bmp");
}

TEST(Package, UnknownVersionsAreRefusedWithTheNoticeOnlyForTheReadThatAsks) {
  BodySpec s;
  s.version = 10000;
  const std::vector<uint8_t> old = Wrap(MakeBody(s));
  std::vector<std::string> seen;
  TPackageNotice notice = [&](const std::string& text) { seen.push_back(text); };
  TSkinReader r;
  EXPECT_FALSE(r.LoadFromStream(old, notice));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], "This is Older Skin File\rPlease update to new version !");
  EXPECT_EQ(r.LastError(), seen[0]);
  // A read without a notice is refused in silence, whatever another read
  // asked for before; a known version gives no notice.
  EXPECT_FALSE(r.LoadFromStream(old));
  TSkinFileList list;
  EXPECT_FALSE(list.OpenFromBytes(old));
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_FALSE(list.OpenFromBytes(old, notice));
  EXPECT_EQ(seen.size(), 2u);
  s.version = 70000;
  EXPECT_TRUE(r.LoadFromStream(Wrap(MakeBody(s)), notice));
  EXPECT_EQ(seen.size(), 2u);
}

TEST(Package, MalformedPackagesAreRefusedAndKeepNothing) {
  TSkinWriter w;
  w.AddMember("keep.ini", Bytes("kept"));
  const std::vector<uint8_t> good = w.SaveToBytes();

  BodySpec base;
  base.names = "a\r\nb\r\n";
  base.sizes = {2, 2};
  base.data = Bytes("1234");

  std::vector<std::pair<std::string, std::vector<uint8_t>>> bad;
  bad.push_back({"empty file", {}});
  bad.push_back({"three bytes", {1, 0, 0}});
  bad.push_back({"U only", {20, 0, 0, 0}});
  bad.push_back({"U below header", Wrap(std::vector<uint8_t>(8, 0))});
  {
    auto f = Wrap(MakeBody(base));
    f[0] = static_cast<uint8_t>(f[0] - 1);  // U one short: decoding passes it
    bad.push_back({"U too small", f});
  }
  bad.push_back({"U one more than the data",
                 Wrap(MakeBody(base), static_cast<int64_t>(MakeBody(base).size()) + 1)});
  bad.push_back({"huge U", Wrap(MakeBody(base), 0xFFFFFFF0)});
  {
    BodySpec s = base;
    s.sizes = {2, 3};
    bad.push_back({"sizes past the body", Wrap(MakeBody(s))});
  }
  {
    BodySpec s = base;
    s.sizes = {0xFFFFFFFF, 0xFFFFFFFF};
    bad.push_back({"sizes overflow", Wrap(MakeBody(s))});
  }
  {
    BodySpec s = base;
    s.list_length = -5;
    bad.push_back({"negative name list length", Wrap(MakeBody(s))});
  }
  {
    BodySpec s = base;
    s.list_length = 100000;
    bad.push_back({"name list past the body", Wrap(MakeBody(s))});
  }
  {
    BodySpec s;
    for (int i = 0; i < 1002; ++i)
      s.names += "n\r\n";
    s.sizes.assign(1002, 0);
    bad.push_back({"1002 names", Wrap(MakeBody(s))});
  }
  {
    BodySpec s = base;
    s.sizes = {2};  // two names, one size, data too short for the table
    s.data.clear();
    bad.push_back({"size table past the body", Wrap(MakeBody(s))});
  }
  {
    auto f = Wrap(MakeBody(base));
    f.resize(f.size() - 1);
    bad.push_back({"truncated coding", f});
  }

  for (const auto& [what, bytes] : bad) {
    TSkinReader r;
    ASSERT_TRUE(r.LoadFromStream(good));
    EXPECT_FALSE(r.LoadFromStream(bytes)) << what;
    EXPECT_FALSE(r.LastError().empty()) << what;
    // The refused package left the previous one untouched.
    EXPECT_EQ(r.Count(), 1) << what;
    std::vector<uint8_t> out;
    EXPECT_TRUE(r.ReadMember("keep.ini", out)) << what;
  }
}

TEST(Package, ExactlyTheLimitsStillLoad) {
  BodySpec s;
  for (int i = 0; i < 1001; ++i)
    s.names += "m" + std::to_string(i) + "\r\n";
  s.sizes.assign(1001, 0);
  s.sizes.back() = 3;
  s.data = Bytes("end");
  TSkinReader r;
  ASSERT_TRUE(r.LoadFromStream(Wrap(MakeBody(s))));
  EXPECT_EQ(r.Count(), 1001);
  std::vector<uint8_t> out;
  EXPECT_TRUE(r.ReadMember("m1000", out));
  EXPECT_EQ(Text(out), "end");
}

TEST(Package, WriterRefusesWhatTheFormatCannotHold) {
  TSkinWriter w;
  for (int i = 0; i < 1001; ++i)
    w.AddMember("m", {});
  EXPECT_THROW(w.AddMember("one.too.many", {}), ESkinPackageError);
  EXPECT_EQ(w.Count(), 1001);
  TSkinWriter names;
  EXPECT_THROW(names.AddMember("a\r\nb", {}), ESkinPackageError);
  EXPECT_THROW(names.AddMember(std::string("a\0b", 3), {}), ESkinPackageError);
  EXPECT_EQ(names.Count(), 0);
}

TEST(Package, FilesAreReplacedWholeOrNotAtAll) {
  ScratchDir dir;
  const std::string path = dir.File("skin.skn");
  TSkinReader r;
  EXPECT_FALSE(r.LoadFromFile(path));  // missing: false, silently

  TSkinWriter first;
  first.AddMember("first.ini", Bytes("1"));
  first.SaveToFile(path);
  TSkinWriter second;
  second.AddMember("second.ini", Bytes("2"));
  second.SaveToFile(path);
  ASSERT_TRUE(r.LoadFromFile(path));
  EXPECT_EQ(r.Names(), std::vector<std::string>{"second.ini"});

  // A write into a folder that does not exist fails and says so.
  EXPECT_THROW(second.SaveToFile(dir.File("no-such-folder/x.skn")), EFileError);
  // No temporary files are left behind.
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.Path())) {
    (void)e;
    ++files;
  }
  EXPECT_EQ(files, 1);
}

}  // namespace
