// skntool variants / convert / import, driven through the command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "format/file_io.h"
#include "format/skin_file_list.h"
#include "format/skin_package.h"
#include "pe_writer.h"
#include "test_util.h"
#include "tool_runner.h"

using testutil::ScratchDir;

namespace {

const char* const kLight64 = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/light.msstyles";

using tooltest::NativePath;
using tooltest::Result;
using tooltest::Slurp;

class StyleCommands : public ::testing::Test {
 protected:
  Result Run(const std::string& args) {
    Result r = tooltest::RunTool(SKNTOOL_PATH, args, dir_, runs_++);
    r.out.erase(std::remove(r.out.begin(), r.out.end(), '\r'), r.out.end());
    return r;
  }
  std::string File(const std::string& name) { return dir_.File(name); }
  static std::string Q(const std::string& path) { return "\"" + NativePath(path) + "\""; }

  // A style file with one NORMAL variant and a push-button image.
  std::string WriteStyle(const std::string& name) {
    std::string theme =
        "[SysMetrics]\r\nBtnFace=1 2 "
        "3\r\n[Button.PushButton]\r\nImageFile=push.bmp\r\nImageCount=5\r\n";
    pe::File f =
        pe::Build({{pe::K("TEXTFILE"), pe::K("NORMALGREEN_INI"), 0, pe::TextResource(theme)},
                   {pe::K(2), pe::K("PUSH_BMP"), 0, pe::SolidDib(8, 40, 0x808080)}});
    WriteFileAtomic(File(name), f.Bytes);
    return File(name);
  }

  ScratchDir dir_;
  int runs_ = 0;
};

TEST_F(StyleCommands, Usage) {
  for (const char* args :
       {"variants", "variants a b", "convert x", "convert a b c", "convert a b -o", "import a b"}) {
    Result r = Run(args);
    EXPECT_EQ(r.code, 2) << args;
    EXPECT_NE(r.err.find("usage: skntool"), std::string::npos) << args;
  }
  Result help = Run("--help");
  for (const char* cmd : {"variants STYLE", "convert STYLE VARIANT", "import DEST SRC GROUP"})
    EXPECT_NE(help.out.find(cmd), std::string::npos) << cmd;
}

TEST_F(StyleCommands, VariantsAndConvert) {
  std::string style = WriteStyle("Sample.msstyles");
  Result r = Run("variants " + Q(style));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "NORMALGREEN_INI\n");

  r = Run("convert " + Q(style) + " NORMALGREEN_INI -o " + Q(File("out")));
  ASSERT_EQ(r.code, 0) << r.err;
  std::string package = File("out/Sample-GREEN.skn");
  EXPECT_NE(r.out.find("Sample-GREEN.skn"), std::string::npos) << r.out;
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadFromFile(package)) << reader.LastError();
  EXPECT_EQ(reader.Names().front(), "buttons.bmp");
  EXPECT_EQ(reader.Names().back(), "sample-green.ini");

  // Bad input: one line on stderr, exit 1, nothing written.
  WriteFileAtomic(File("junk.msstyles"), std::string("MZ"));
  const std::string bad[] = {"variants " + Q(File("missing.msstyles")),
                             "variants " + Q(File("junk.msstyles")),
                             "convert " + Q(style) + " NORMALRED_INI -o " + Q(File("out2")),
                             "convert " + Q(File("junk.msstyles")) + " X -o " + Q(File("out2"))};
  for (const std::string& args : bad) {
    Result b = Run(args);
    EXPECT_EQ(b.code, 1) << args;
    EXPECT_EQ(b.err.rfind("skntool: ", 0), 0u) << b.err;
  }
  EXPECT_NE(Run(bad[1]).err.find("Not a PE (WIN32 Executable) file"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(File("out2")));
}

TEST_F(StyleCommands, ConvertLightStyle) {
  if (!std::filesystem::exists(kLight64)) GTEST_SKIP() << kLight64 << " is not installed";
  Result r = Run("variants " + Q(kLight64));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "BLUE_INI\n");
  r = Run("convert " + Q(kLight64) + " BLUE_INI -o " + Q(File("light")));
  ASSERT_EQ(r.code, 0) << r.err;
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadFromFile(File("light/light-BLUE.skn")));
  EXPECT_EQ(reader.Count(), 38);
#ifdef _WIN32
  // The engine loads the converted skin and paints its elements.
  for (const char* element :
       {"Top 300 29 1", "Left 4 200 2", "Buttons 80 24 1", "CheckButton 13 13 5", "Button0 23 23 1",
        "HorzScrollThumb 60 17 1", "Tabs 80 22 1"}) {
    std::string out = File("render.bmp");
    Result rr = Run("render " + Q(File("light/light-BLUE.skn")) + " " + element + " " + Q(out));
    ASSERT_EQ(rr.code, 0) << element << ": " << rr.err;
    std::vector<uint8_t> bmp;
    ASSERT_TRUE(ReadFileBytes(out, bmp)) << element;
    EXPECT_GT(bmp.size(), 54u) << element;
  }
#endif
}

TEST_F(StyleCommands, Import) {
  TSkinWriter dest;
  dest.AddMember("push.bmp", std::vector<uint8_t>{'P'});
  dest.AddMember("check.bmp", std::vector<uint8_t>{'C'});
  std::string dest_ini =
      "[Buttons]\r\nBitmap=push.bmp\r\nCheckButton=check.bmp\r\n[Other]\r\nKeep=1\r\n";
  dest.AddMember("skin.ini", std::vector<uint8_t>(dest_ini.begin(), dest_ini.end()));
  dest.SaveToFile(File("dest.skn"));
  TSkinWriter src;
  std::string src_ini = "[Buttons]\r\nBitmap=new.bmp\r\n[Colours]\r\nButtonFace=1 2 3\r\n";
  src.AddMember("src.ini", std::vector<uint8_t>(src_ini.begin(), src_ini.end()));
  src.AddMember("new.bmp", std::vector<uint8_t>{'N'});
  src.SaveToFile(File("src.skn"));

  Result r = Run("import " + Q(File("dest.skn")) + " " + Q(File("src.skn")) + " Colors Button");
  ASSERT_EQ(r.code, 0) << r.err;
  TSkinFileList out;
  ASSERT_TRUE(out.Open(File("dest.skn")));
  std::vector<std::string> names;
  for (const auto& e : out.Entries())
    names.push_back(e.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"skin.ini", "new.bmp"}));
  std::string ini(out.Find("skin.ini")->begin(), out.Find("skin.ini")->end());
  EXPECT_NE(ini.find("Bitmap=new.bmp"), std::string::npos) << ini;
  EXPECT_EQ(ini.find("CheckButton"), std::string::npos) << ini;
  EXPECT_NE(ini.find("ButtonFace=1 2 3"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Keep=1"), std::string::npos) << ini;
  // The source's INI is never written beside the tool or the packages.
  EXPECT_FALSE(std::filesystem::exists(File("src.ini")));

  std::string before = Slurp(File("dest.skn"));
  for (const std::string& args :
       {"import " + Q(File("dest.skn")) + " " + Q(File("src.skn")) + " Buttons",
        "import " + Q(File("dest.skn")) + " " + Q(File("missing.skn")) + " Button",
        "import " + Q(File("missing.skn")) + " " + Q(File("src.skn")) + " Button"}) {
    Result b = Run(args);
    EXPECT_EQ(b.code, 1) << args;
  }
  EXPECT_EQ(Slurp(File("dest.skn")), before);
}

}  // namespace
