// Replays the malformed-input corpus (fuzz/corpus) through every parser of
// this module. Each input must be refused or read without going out of bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "format/file_io.h"
#include "format/mem_ini.h"
#include "format/quick_ini.h"
#include "format/skin_file_list.h"
#include "format/skin_package.h"

namespace {

std::vector<std::filesystem::path> CorpusFiles(const char* sub) {
  std::vector<std::filesystem::path> files;
  std::filesystem::path dir = std::filesystem::path(MV_SOURCE_DIR) / "fuzz" / "corpus" / sub;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    if (e.is_regular_file()) files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(Corpus, MalformedPackagesAreRefused) {
  auto files = CorpusFiles("package");
  ASSERT_GT(files.size(), 20u);
  for (const auto& f : files) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(f.string(), bytes));
    TSkinReader r;
    bool ok = r.LoadFromStream(bytes);
    TSkinFileList list;
    bool opened = list.OpenFromBytes(bytes);
    EXPECT_EQ(ok, opened) << f.filename();
    // "ok-*" files are well-formed edge cases, "bad-*" damaged ones; "any-*"
    // (junk, flipped bits) may go either way.
    const std::string name = f.filename().string();
    if (name.rfind("ok-", 0) == 0) {
      EXPECT_TRUE(ok) << name << ": " << r.LastError();
    } else if (name.rfind("bad-", 0) == 0) {
      EXPECT_FALSE(ok) << name;
    }
    if (ok) {
      ASSERT_EQ(list.Count(), r.Count());
      for (int i = 0; i < r.Count(); ++i)
        EXPECT_EQ(list.Entry(i).Bytes.size(), r.Member(i).size());
    }
  }
}

TEST(Corpus, IniTextsLoadInBothModels) {
  auto files = CorpusFiles("ini");
  ASSERT_GT(files.size(), 5u);
  for (const auto& f : files) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(f.string(), bytes));
    TQuickIni q;
    q.LoadFromStream(bytes);
    std::vector<std::string> sections;
    q.ReadSections(sections);
    for (const auto& s : sections)
      q.ReadString(s, "Bitmap", "");
    q.WriteString("Skins", "Version", "150");
    EXPECT_EQ(q.ReadInteger("Skins", "Version", 0), 150) << f.filename();
    TMemIniFile m;
    m.LoadFromBytes(bytes);
    m.WriteString("Skins", "Version", "150");
    EXPECT_EQ(m.ReadInteger("Skins", "Version", 0), 150) << f.filename();
    TMemIniFile again;
    again.SetText(m.GetText());
    EXPECT_EQ(again.GetText(), m.GetText()) << f.filename();
  }
}

}  // namespace
