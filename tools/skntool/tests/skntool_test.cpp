// skntool driven as a user drives it: through its command line, exit codes,
// standard output and the files it writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "format/bmp.h"
#include "format/file_io.h"
#include "format/skin_package.h"
#include "reference/lzhuf_ref.h"
#include "test_util.h"
#include "tool_runner.h"

using namespace testutil;

namespace {

using tooltest::NativePath;
using tooltest::Result;
using tooltest::Slurp;

class Skntool : public ::testing::Test {
 protected:
  Result Run(const std::string& args) {
    return tooltest::RunTool(SKNTOOL_PATH, args, dir_, runs_++);
  }
  std::string File(const std::string& name) { return dir_.File(name); }
  std::string Q(const std::string& path) { return "\"" + path + "\""; }
  ScratchDir dir_;
  int runs_ = 0;
};

TEST_F(Skntool, UsageAndExitCodes) {
  struct {
    const char* args;
    int code;
  } cases[] = {{"", 2},          {"--help", 0},        {"frob", 2}, {"list", 2},
               {"list a b", 2},  {"extract x", 2},     {"pack", 2}, {"pack -o", 2},
               {"lzh x a b", 2}, {"lzh c onlyone", 2}, {"ini", 2}};
  for (const auto& c : cases) {
    Result r = Run(c.args);
    EXPECT_EQ(r.code, c.code) << c.args;
    const std::string& text = c.code == 0 ? r.out : r.err;
    EXPECT_NE(text.find("usage: skntool"), std::string::npos) << c.args;
  }
}

TEST_F(Skntool, BadInputIsOneLineOnStderrAndExitOne) {
  WriteFileAtomic(File("junk.skn"), Bytes("this is not a package at all"));
  TSkinWriter w;
  w.AddMember("a.bmp", Bytes("x"));
  w.SaveToFile(File("noini.skn"));
  const std::string cases[] = {"list " + Q(File("missing.skn")),
                               "list " + Q(File("junk.skn")),
                               "extract " + Q(File("junk.skn")) + " " + Q(File("out")),
                               "ini " + Q(File("noini.skn")),
                               "lzh d " + Q(File("junk.skn")) + " " + Q(File("x.bin")),
                               "pack -o " + Q(File("p.skn")) + " " + Q(File("missing.bmp"))};
  for (const std::string& args : cases) {
    Result r = Run(args);
    EXPECT_EQ(r.code, 1) << args;
    EXPECT_EQ(r.err.rfind("skntool: ", 0), 0u) << args << ": " << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
  }
  EXPECT_FALSE(FileExists(File("p.skn")));
}

TEST_F(Skntool, PackListIniAndExtractRoundTrip) {
  ASSERT_TRUE(CreateDirectoryIfMissing(File("in")));
  WriteFileAtomic(File("in/Skin.INI"), Bytes("[Skins]\r\nVersion=150\r\n"));
  WriteFileAtomic(File("in/b.bmp"), RandomBytes(5000, 1, 8));
  WriteFileAtomic(File("in/a.bmp"), std::vector<uint8_t>{});
  Result r = Run("pack -o " + Q(File("p.skn")) + " " + Q(File("in/Skin.INI")) + " " +
                 Q(File("in/b.bmp")) + " " + Q(File("in/a.bmp")));
  ASSERT_EQ(r.code, 0) << r.err;

  r = Run("list " + Q(File("p.skn")));
  ASSERT_EQ(r.code, 0) << r.err;
  std::string expected =
      "version 70000\n"
      "   0         22 skin.ini\n"
      "   1       5000 b.bmp\n"
      "   2          0 a.bmp\n";
#ifdef _WIN32
  // The C runtime writes text-mode line ends on Windows.
  for (size_t at = 0; (at = expected.find('\n', at)) != std::string::npos; at += 2) {
    expected.insert(at, "\r");
  }
#endif
  EXPECT_EQ(r.out, expected);

  r = Run("ini " + Q(File("p.skn")));
  ASSERT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "[Skins]\r\nVersion=150\r\n");  // byte for byte

  r = Run("extract " + Q(File("p.skn")) + " " + Q(File("out")));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Slurp(File("out/b.bmp")), Slurp(File("in/b.bmp")));
  EXPECT_EQ(Slurp(File("out/skin.ini")), Slurp(File("in/Skin.INI")));
  EXPECT_TRUE(FileExists(File("out/a.bmp")));
}

TEST_F(Skntool, ExtractKeepsHostileNamesInsideTheFolder) {
  TSkinWriter w;
  const char* names[] = {"..\\..\\escape.bmp",
                         "../escape.bmp",
                         "C:\\escape.bmp",
                         "/escape.bmp",
                         "dup.bmp",
                         "DUP.bmp",
                         "con",
                         "",
                         "a:b.bmp"};
  int i = 0;
  for (const char* n : names)
    w.AddMember(n, Bytes(std::to_string(i++)));
  ASSERT_TRUE(CreateDirectoryIfMissing(File("deep")));
  w.SaveToFile(File("deep/evil.skn"));
  Result r = Run("extract " + Q(File("deep/evil.skn")) + " " + Q(File("deep/out")));
  ASSERT_EQ(r.code, 0) << r.err;
  int files = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir_.Path())) {
    if (!e.is_regular_file()) continue;
    std::string name = e.path().filename().string();
    if (e.path().parent_path().filename() == "out") {
      ++files;
    } else {  // nothing was written anywhere else
      const bool output = (name.starts_with("stdout") || name.starts_with("stderr")) &&
                          name.ends_with(".txt") && e.path().parent_path() == dir_.Path();
      EXPECT_TRUE(name == "evil.skn" || output) << e.path();
    }
  }
  EXPECT_EQ(files, 9);  // one file per member: duplicates are numbered
  EXPECT_EQ(Slurp(File("deep/out/dup.bmp")), "4");
  EXPECT_EQ(Slurp(File("deep/out/dup_2.bmp")), "5");
}

TEST_F(Skntool, LzhMatchesTheReferenceCoderBothWays) {
  for (uint32_t seed : {1u, 2u, 3u}) {
    std::vector<uint8_t> data = RandomBytes(20000 * seed, seed, 1 << (seed * 2));
    WriteFileAtomic(File("raw.bin"), data);
    Result r = Run("lzh c " + Q(File("raw.bin")) + " " + Q(File("coded.lzh")));
    ASSERT_EQ(r.code, 0) << r.err;
    std::vector<uint8_t> coded;
    ASSERT_TRUE(ReadFileBytes(File("coded.lzh"), coded));
    std::vector<uint8_t> expected;
    PutU32(expected, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> ref = lzhuf_ref::Encode(data);
    expected.insert(expected.end(), ref.begin(), ref.end());
    EXPECT_TRUE(coded == expected);

    r = Run("lzh d " + Q(File("coded.lzh")) + " " + Q(File("back.bin")));
    ASSERT_EQ(r.code, 0) << r.err;
    std::vector<uint8_t> back;
    ASSERT_TRUE(ReadFileBytes(File("back.bin"), back));
    EXPECT_TRUE(back == data);
  }
  // A length prefix that the data cannot hold.
  WriteFileAtomic(File("short.lzh"), std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x7F, 1, 2});
  EXPECT_EQ(Run("lzh d " + Q(File("short.lzh")) + " " + Q(File("x.bin"))).code, 1);
}

TEST_F(Skntool, EveryMalformedPackageOfTheCorpusIsRefused) {
  std::filesystem::path dir = std::filesystem::path(MV_SOURCE_DIR) / "fuzz" / "corpus" / "package";
  int checked = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    std::string name = e.path().filename().string();
    if (name.rfind("bad-", 0) != 0) continue;
    Result r = Run("list " + Q(NativePath(e.path().string())));
    EXPECT_EQ(r.code, 1) << name;
    ++checked;
  }
  EXPECT_GT(checked, 20);
}

}  // namespace

namespace {

TEST_F(Skntool, DefaultWritesTheBuiltInSkin) {
  const std::string out = File("untitle.skn");
  const Result r = Run("default " + Q(out));
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Slurp(out), Slurp(std::string(MV_SOURCE_DIR) + "/engine/skins/untitle.skn"));
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadFromFile(out));
  EXPECT_EQ(reader.Version(), 20000u);
  // A folder that does not exist: a failure, and nothing half-written.
  const Result bad = Run("default " + Q(File("missing/dir/x.skn")));
  EXPECT_EQ(bad.code, 1);
  EXPECT_FALSE(bad.err.empty());
}

TEST_F(Skntool, RenderDrawsAnElement) {
  const std::string pkg = File("untitle.skn");
  ASSERT_EQ(Run("default " + Q(pkg)).code, 0);
  const std::string bmp = File("top.bmp");
  const Result r = Run("render " + Q(pkg) + " Top 300 30 1 " + Q(bmp));
#ifdef _WIN32
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string bytes = Slurp(bmp);
  const TPixmap img =
      DecodeBmp(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  EXPECT_EQ(img.Width, 300);
  EXPECT_EQ(img.Height, 30);
  EXPECT_EQ(img.BitsPerPixel, 24);
  // Unknown elements, bad sizes and bad packages fail with a reason.
  for (const std::string& args :
       {"render " + Q(pkg) + " NoSuchThing 10 10 1 " + Q(bmp),
        "render " + Q(pkg) + " Top 0 10 1 " + Q(bmp), "render " + Q(pkg) + " Top x 10 1 " + Q(bmp),
        "render " + Q(bmp) + " Top 10 10 1 " + Q(bmp)}) {
    const Result f = Run(args);
    EXPECT_EQ(f.code, 1) << args;
    EXPECT_FALSE(f.err.empty()) << args;
  }
#else
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Windows"), std::string::npos);
#endif
}

}  // namespace
