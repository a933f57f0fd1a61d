// skntool check, driven through the command line: exit codes and the lines
// it prints for a clean, a broken and an unreadable package.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "format/file_io.h"
#include "format/skin_file_list.h"
#include "test_util.h"
#include "tool_runner.h"

namespace {

const char* const kLight64 = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/light.msstyles";

class CheckCommand : public ::testing::Test {
 protected:
  tooltest::Result Run(const std::string& args) {
    tooltest::Result r = tooltest::RunTool(SKNTOOL_PATH, args, dir_, runs_++);
    r.out.erase(std::remove(r.out.begin(), r.out.end(), '\r'), r.out.end());
    return r;
  }
  std::string File(const std::string& name) { return dir_.File(name); }
  static std::string Q(const std::string& path) { return "\"" + tooltest::NativePath(path) + "\""; }

  // The built-in default skin, written by the tool itself.
  std::string DefaultSkin() {
    const std::string path = File("untitle.skn");
    EXPECT_EQ(Run("default " + Q(path)).code, 0);
    return path;
  }

  testutil::ScratchDir dir_;
  int runs_ = 0;
};

TEST_F(CheckCommand, CleanPackageExitsZeroAndPrintsNothing) {
  const tooltest::Result r = Run("check " + Q(DefaultSkin()));
  EXPECT_EQ(r.code, 0) << r.out << r.err;
  EXPECT_EQ(r.out, "");
}

TEST_F(CheckCommand, BrokenPackagePrintsOneFindingALine) {
  TSkinFileList files;
  ASSERT_TRUE(files.Open(DefaultSkin())) << files.LastError();
  std::string ini_name;
  std::vector<uint8_t> ini;
  ASSERT_TRUE(files.FindIni(ini_name, ini));
  std::string text(ini.begin(), ini.end());
  text.replace(text.find("Version=200"), 11, "Version=149");
  files.ReplaceFromStream(ini_name, ini_name, std::vector<uint8_t>(text.begin(), text.end()));
  files.Delete("tabs.bmp");
  const std::string broken = File("broken.skn");
  files.SaveToFile(broken);

  const tooltest::Result r = Run("check " + Q(broken));
  EXPECT_EQ(r.code, 1) << r.err;
  EXPECT_EQ(r.out,
            "error\tSkins\tVersion\tformat version \"149\" is below 150; the editor refuses to "
            "open skins before version 150\n"
            "error\tTabs\tImage\tnames the member \"tabs.bmp\", which is missing\n");
}

TEST_F(CheckCommand, UnreadableInputExitsTwoAndSaysWhy) {
  const std::string junk = File("junk.skn");
  WriteFileAtomic(junk, std::string("not a package"));
  for (const std::string& path : {junk, File("absent.skn")}) {
    const tooltest::Result r = Run("check " + Q(path));
    EXPECT_EQ(r.code, 2) << path;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("skntool: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(std::filesystem::path(path).filename().string()), std::string::npos);
  }
  const tooltest::Result usage = Run("check");
  EXPECT_EQ(usage.code, 2);
  EXPECT_NE(usage.err.find("check PKG"), std::string::npos);
}

// The light style Wine ships, converted by our converter, has no findings:
// every strip it writes cuts evenly into the engine's frame counts and every
// margin fits its frame (the border tops are the tightest, 96 + 3 of 100).
TEST_F(CheckCommand, ConvertedLightStyleIsClean) {
  if (!std::filesystem::exists(kLight64)) GTEST_SKIP() << kLight64 << " is not installed";
  const tooltest::Result converted =
      Run("convert " + Q(kLight64) + " BLUE_INI -o " + Q(File("light")));
  ASSERT_EQ(converted.code, 0) << converted.err;
  const tooltest::Result r = Run("check " + Q(File("light/light-BLUE.skn")));
  EXPECT_EQ(r.code, 0) << r.out << r.err;
  EXPECT_EQ(r.out, "");
}

}  // namespace
