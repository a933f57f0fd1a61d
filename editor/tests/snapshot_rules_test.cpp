#include "editor/snapshot_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(SnapshotRules, ProposedNameNeverIsThePackage) {
  struct Row {
    const char* skin_file;
    const char* proposed;
  };
  const Row rows[] = {
      {"C:\\skins\\blue.skn", "C:\\skins\\blue.jpg"},
      {"C:\\skins\\BLUE.SKN", "C:\\skins\\BLUE.jpg"},
      {"C:\\skins\\blue", "C:\\skins\\blue.jpg"},
      {"C:\\my.skins\\blue", "C:\\my.skins\\blue.jpg"},  // the folder's dot is not an extension
      {"C:\\skins\\blue.v2.skn", "C:\\skins\\blue.v2.jpg"},
      {"C:\\skins\\odd.jpg", "C:\\skins\\odd_preview.jpg"},
      {"C:\\skins\\odd.JPG", "C:\\skins\\odd_preview.jpg"},
      {"blue.skn", "blue.jpg"},
      {"", ""},
  };
  for (const Row& r : rows) {
    const std::string proposed = ProposedSnapshotName(r.skin_file);
    EXPECT_EQ(proposed, r.proposed) << r.skin_file;
    if (*r.skin_file) {
      EXPECT_FALSE(SameWindowsPath(proposed, r.skin_file)) << r.skin_file;
    }
  }
}

TEST(SnapshotRules, TypedNameGetsTheDefaultExtension) {
  struct Row {
    const char* typed;
    const char* result;
  };
  const Row rows[] = {
      {"C:\\shots\\preview", "C:\\shots\\preview.Jpg"},
      {"C:\\shots.d\\preview", "C:\\shots.d\\preview.Jpg"},
      {"C:\\shots\\preview.jpg", "C:\\shots\\preview.jpg"},
      {"C:\\shots\\preview.png", "C:\\shots\\preview.png"},
      {"preview", "preview.Jpg"},
      {"C:\\shots\\", "C:\\shots\\"},
      {"", ""},
  };
  for (const Row& r : rows)
    EXPECT_EQ(WithSnapshotExtension(r.typed), r.result) << r.typed;
}

TEST(SnapshotRules, ChosenPathVerdicts) {
  struct Row {
    const char* path;
    const char* skin_file;
    bool exists;
    TSnapshotVerdict verdict;
  };
  const char* skn = "C:\\Skins\\Blue.skn";
  const Row rows[] = {
      {"C:\\Skins\\Blue.jpg", skn, false, TSnapshotVerdict::Write},
      {"C:\\Skins\\Blue.jpg", skn, true, TSnapshotVerdict::AskReplace},
      {"C:\\Skins\\Blue.skn", skn, true, TSnapshotVerdict::RefuseOverPackage},
      {"c:\\skins\\BLUE.SKN", skn, true, TSnapshotVerdict::RefuseOverPackage},
      {"c:/skins/blue.skn", skn, true, TSnapshotVerdict::RefuseOverPackage},
      {"C:\\Skins\\Blue.skn.jpg", skn, false, TSnapshotVerdict::Write},
      {"", skn, false, TSnapshotVerdict::Nothing},
      {"C:\\a.jpg", "", true, TSnapshotVerdict::AskReplace},
  };
  for (const Row& r : rows)
    EXPECT_EQ(JudgeSnapshotPath(r.path, r.skin_file, r.exists), r.verdict) << r.path;
}

}  // namespace
