#include "editor/skin_document.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "default_skin.h"
#include "format/file_io.h"
#include "format/skin_package.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) {
  return {s.begin(), s.end()};
}

std::vector<uint8_t> Package(const std::vector<std::pair<std::string, std::string>>& members,
                             uint32_t version = kSkinPackageVersion) {
  TSkinWriter w;
  for (const auto& [name, text] : members)
    w.AddMember(name, Bytes(text));
  return w.SaveToBytes(version);
}

std::vector<uint8_t> VersionedSkin(const std::string& version, const std::string& ini = "a.ini") {
  return Package({{"top.bmp", "BMtop"}, {ini, "[Skins]\r\nVersion=" + version + "\r\n"}});
}

class SkinDocument : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("mv_doc_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::string p = (dir / name).string();
    WriteFileAtomic(p, bytes);
    return p;
  }
  std::filesystem::path dir;
};

// Opens a good skin, then tries each candidate: only an editable one replaces it.
TEST_F(SkinDocument, RefusedOpensLeaveTheOpenSkinAsItWas) {
  std::vector<uint8_t> damaged = VersionedSkin("150");
  damaged.resize(damaged.size() / 2);
  const struct {
    const char* Name;
    std::vector<uint8_t> Bytes;
    TOpenResult Result;
  } cases[] = {
      {"v150.skn", VersionedSkin("150"), TOpenResult::orOpened},
      {"v0x96.skn", VersionedSkin("0x96"), TOpenResult::orOpened},  // 150 in hexadecimal
      {"v20000pkg.skn", Package({{"s.ini", "[Skins]\r\nVersion=200\r\n"}}, 20000),
       TOpenResult::orOpened},
      {"skin_ini.skn", VersionedSkin("150", "skin.ini"), TOpenResult::orOpened},
      {"v149.skn", VersionedSkin("149"), TOpenResult::orNotSupported},
      {"vnone.skn", Package({{"a.ini", "[Skins]\r\nName=x\r\n"}}), TOpenResult::orNotSupported},
      {"vtext.skn", VersionedSkin("high"), TOpenResult::orNotSupported},
      {"noini.skn", Package({{"a.bmp", "BM"}, {"b.txt", "[Skins]\r\nVersion=200\r\n"}}),
       TOpenResult::orNotSupported},
      {"damaged.skn", damaged, TOpenResult::orRefused},
      {"garbage.skn", Bytes("not a package at all"), TOpenResult::orRefused},
      {"empty.skn", {}, TOpenResult::orRefused},
  };
  const std::string good = Write("good.skn", Package({{"first.bmp", "BM1"},
                                                      {"good.ini",
                                                       "[Skins]\r\nVersion=150\r\n"
                                                       "[Colours]\r\nMenu=1 2 3\r\n"}}));
  for (const auto& c : cases) {
    TSkinDocument doc;
    ASSERT_EQ(doc.Open(good), TOpenResult::orOpened);
    doc.Ini().WriteString("Colours", "Menu", "4 5 6");
    doc.SetModified(true);
    const std::string path = Write(c.Name, c.Bytes);
    EXPECT_EQ(doc.Open(path), c.Result) << c.Name;
    if (c.Result == TOpenResult::orOpened) {
      EXPECT_EQ(doc.FileName(), path) << c.Name;
      EXPECT_FALSE(doc.Modified()) << c.Name;
      EXPECT_NE(doc.IniMemberName(), "good.ini") << c.Name;
      EXPECT_GE(doc.Ini().ReadInteger("Skins", "Version", 0), 150) << c.Name;
      continue;
    }
    EXPECT_FALSE(doc.LastError().empty()) << c.Name;
    EXPECT_EQ(doc.FileName(), good) << c.Name;
    EXPECT_TRUE(doc.Modified()) << c.Name;
    EXPECT_EQ(doc.IniMemberName(), "good.ini") << c.Name;
    EXPECT_EQ(doc.Ini().ReadString("Colours", "Menu", ""), "4 5 6") << c.Name;
    ASSERT_EQ(doc.FileList().Count(), 2) << c.Name;
    EXPECT_EQ(doc.FileList().Entry(0).Name, "first.bmp") << c.Name;
  }
  TSkinDocument doc;
  EXPECT_EQ(doc.Open((dir / "missing.skn").string()), TOpenResult::orMissing);
  EXPECT_FALSE(doc.IsOpen());
  EXPECT_EQ(doc.Open(Write("v149b.skn", VersionedSkin("149"))), TOpenResult::orNotSupported);
  EXPECT_EQ(doc.LastError(), "Skin format version not support !");
  EXPECT_FALSE(doc.IsOpen());
}

TEST_F(SkinDocument, SaveWritesVersion70000WithTheIniTextInPlace) {
  TSkinDocument doc;
  ASSERT_EQ(doc.OpenFromBytes(DefaultSkinPackage(), "untitle.skn"), TOpenResult::orOpened);
  TSkinReader original;
  ASSERT_TRUE(original.LoadFromStream(DefaultSkinPackage()));
  doc.Ini().WriteString("Colours", "Menu", "1 2 3");
  doc.SetModified(true);
  doc.SetUntitled(true);
  const std::string out = (dir / "saved").string();  // no extension: used as given
  doc.Save(out);
  EXPECT_FALSE(doc.Modified());
  EXPECT_FALSE(doc.Untitled());
  EXPECT_EQ(doc.FileName(), out);

  TSkinReader saved;
  ASSERT_TRUE(saved.LoadFromFile(out));
  EXPECT_EQ(saved.Version(), 70000u);
  ASSERT_EQ(saved.Names(), original.Names());
  for (int i = 0; i < saved.Count(); ++i) {
    auto a = saved.Member(i), b = original.Member(i);
    if (saved.Names()[static_cast<size_t>(i)] == doc.IniMemberName()) {
      std::string text(a.begin(), a.end());
      EXPECT_NE(text.find("Menu=1 2 3"), std::string::npos);
    } else {
      EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end())) << saved.Names()[i];
    }
  }
  // Opening what was saved gives the same document.
  TSkinDocument again;
  ASSERT_EQ(again.Open(out), TOpenResult::orOpened);
  EXPECT_EQ(again.Ini().GetText(), doc.Ini().GetText());
}

TEST_F(SkinDocument, SameNameMembersKeepTheirOwnBytes) {
  TSkinDocument doc;
  ASSERT_EQ(
      doc.Open(Write(
          "dup.skn",
          Package({{"a.bmp", "one"}, {"s.ini", "[Skins]\r\nVersion=150\r\n"}, {"a.bmp", "two"}}))),
      TOpenResult::orOpened);
  doc.Save((dir / "dup2.skn").string());
  TSkinReader r;
  ASSERT_TRUE(r.LoadFromFile((dir / "dup2.skn").string()));
  ASSERT_EQ(r.Count(), 3);
  EXPECT_EQ(std::string(r.Member(0).begin(), r.Member(0).end()), "one");
  EXPECT_EQ(std::string(r.Member(2).begin(), r.Member(2).end()), "two");
}

TEST_F(SkinDocument, FailedSavesChangeNothing) {
  TSkinDocument doc;
  const std::vector<uint8_t> before = VersionedSkin("150");
  const std::string path = Write("keep.skn", before);
  ASSERT_EQ(doc.Open(path), TOpenResult::orOpened);
  doc.SetModified(true);
  // Too many members for a package.
  for (int i = 0; i < kMaxSkinMembers; ++i)
    doc.FileList().ReplaceFromStream("", "m" + std::to_string(i) + ".bmp", Bytes("BM"));
  EXPECT_THROW(doc.Save(path), ESkinPackageError);
  // A folder that does not exist.
  TSkinDocument small;
  ASSERT_EQ(small.Open(path), TOpenResult::orOpened);
  small.SetModified(true);
  EXPECT_THROW(small.Save((dir / "no" / "such" / "x.skn").string()), EFileError);
  EXPECT_TRUE(doc.Modified());
  EXPECT_TRUE(small.Modified());
  EXPECT_EQ(doc.FileName(), path);
  EXPECT_EQ(small.FileName(), path);
  std::vector<uint8_t> after;
  ASSERT_TRUE(ReadFileBytes(path, after));
  EXPECT_EQ(after, before);
  EXPECT_FALSE(FileExists((dir / "no" / "such" / "x.skn").string()));
}

}  // namespace

namespace {

TEST(SkinDocumentRule, ToolsMayOpenAnyVersionThatHasAnIni) {
  TSkinDocument doc;
  EXPECT_EQ(doc.OpenFromBytes(VersionedSkin("149"), "p", TVersionRule::vrAny),
            TOpenResult::orOpened);
  EXPECT_EQ(doc.OpenFromBytes(Package({{"a.bmp", "BM"}}), "q", TVersionRule::vrAny),
            TOpenResult::orNotSupported);
  EXPECT_EQ(doc.FileName(), "p");
  EXPECT_EQ(doc.OpenFromBytes(VersionedSkin("149"), "r"), TOpenResult::orNotSupported);
  EXPECT_EQ(doc.FileName(), "p");
}

}  // namespace
