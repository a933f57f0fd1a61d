// skntool variants / convert on damaged copies of real style and program
// files: cut short, or with bits flipped in the headers, the section table,
// the resource tree or anywhere. Every run ends either with a readable
// package or with one "skntool: " line and exit 1, and a failed conversion
// leaves the output path as it was (absent, or the earlier file intact).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <random>

#include "format/file_io.h"
#include "format/skin_package.h"
#include "test_util.h"
#include "tool_runner.h"

using testutil::ScratchDir;

namespace {

const std::string kWineDir = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/";

using Bytes = std::vector<uint8_t>;

uint32_t Get32(const Bytes& b, size_t at) {
  if (at + 4 > b.size()) return 0;
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
void Put32(Bytes& b, size_t at, uint32_t v) {
  for (size_t i = 0; i < 4 && at + i < b.size(); ++i)
    b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Where the PE structures of an intact file lie, so damage can aim at them.
struct TPeLayout {
  size_t Nt = 0;            // "PE\0\0"
  size_t SectionTable = 0;  // the first section header
  size_t RsrcHeader = 0;    // the .rsrc section header; 0 without one
  size_t RsrcData = 0;      // the resource section's bytes in the file
  size_t RsrcSize = 0;
};

TPeLayout Layout(const Bytes& b) {
  TPeLayout l;
  l.Nt = Get32(b, 60);
  const uint32_t sections = Get32(b, l.Nt + 4) >> 16;
  const uint32_t optional_size = Get32(b, l.Nt + 20) & 0xFFFF;
  l.SectionTable = l.Nt + 24 + optional_size;
  for (uint32_t i = 0; i < sections; ++i) {
    const size_t h = l.SectionTable + 40 * size_t{i};
    if (h + 40 <= b.size() && std::string(reinterpret_cast<const char*>(&b[h]), 5) == ".rsrc") {
      l.RsrcHeader = h;
      l.RsrcData = Get32(b, h + 20);
      l.RsrcSize = std::min<size_t>(Get32(b, h + 16), b.size() - std::min(b.size(), l.RsrcData));
    }
  }
  return l;
}

void FlipBits(Bytes& b, size_t from, size_t length, int count, uint32_t seed) {
  if (length == 0) return;
  std::mt19937 rng(seed);
  for (int i = 0; i < count; ++i) {
    const size_t at = from + rng() % length;
    if (at < b.size()) b[at] ^= static_cast<uint8_t>(1u << (rng() % 8));
  }
}

// Whether the damage is certain to make the file unreadable, or may leave
// the parts the conversion uses whole.
// A file whose section table is gone opens as one without resources: it
// offers no variants, so nothing converts.
enum class TOutcome { Fails, NoVariants, EitherWay };

struct TDamage {
  const char* Name;
  TOutcome Outcome;
  std::function<void(Bytes&, const TPeLayout&)> Apply;
};

const TDamage kDamages[] = {
    {"empty", TOutcome::Fails, [](Bytes& b, const TPeLayout&) { b.clear(); }},
    {"dos header cut", TOutcome::Fails, [](Bytes& b, const TPeLayout&) { b.resize(40); }},
    {"file header cut", TOutcome::Fails, [](Bytes& b, const TPeLayout& l) { b.resize(l.Nt + 20); }},
    {"section table cut", TOutcome::NoVariants,
     [](Bytes& b, const TPeLayout& l) { b.resize(l.SectionTable + 20); }},
    {"inside resources", TOutcome::EitherWay,
     [](Bytes& b, const TPeLayout& l) { b.resize(l.RsrcData + l.RsrcSize / 3); }},
    {"last byte cut", TOutcome::EitherWay,
     [](Bytes& b, const TPeLayout&) { b.resize(b.size() - 1); }},
    {"nt offset past the end", TOutcome::Fails,
     [](Bytes& b, const TPeLayout&) { Put32(b, 60, 0x7FFFFFF0u); }},
    {"signature", TOutcome::Fails, [](Bytes& b, const TPeLayout& l) { b[l.Nt + 1] ^= 0x04; }},
    {"section count and sizes", TOutcome::EitherWay,
     [](Bytes& b, const TPeLayout& l) {
       Put32(b, l.Nt + 4, (Get32(b, l.Nt + 4) & 0xFFFF) | 0xFFFF0000u);
       for (size_t h = l.SectionTable; h < l.RsrcHeader + 40; h += 40)
         Put32(b, h + 16, 0xFFFFFFF0u);
     }},
    {"resource data past the end", TOutcome::EitherWay,
     [](Bytes& b, const TPeLayout& l) {
       if (l.RsrcHeader) Put32(b, l.RsrcHeader + 20, 0xFFFFFF00u);
     }},
    {"resource root counts", TOutcome::EitherWay,
     [](Bytes& b, const TPeLayout& l) { Put32(b, l.RsrcData + 12, 0xFFFFFFFFu); }},
    {"resource tree loops", TOutcome::EitherWay,
     [](Bytes& b, const TPeLayout& l) {
       // Every entry of the root and of its first subdirectory leads back to the root.
       const uint32_t first = Get32(b, l.RsrcData + 20) & 0x7FFFFFFFu;
       for (size_t dir : {l.RsrcData, l.RsrcData + first}) {
         const uint32_t n = (Get32(b, dir + 12) & 0xFFFF) + (Get32(b, dir + 12) >> 16);
         for (uint32_t i = 0; i < n && i < 64; ++i)
           Put32(b, dir + 16 + 8 * i + 4, 0x80000000u);
       }
     }},
    {"flips in the resource tree", TOutcome::EitherWay,
     [](Bytes& b, const TPeLayout& l) {
       FlipBits(b, l.RsrcData, std::min<size_t>(l.RsrcSize, 4096), 64, 7);
     }},
    {"flips in resource data", TOutcome::EitherWay,
     [](Bytes& b, const TPeLayout& l) { FlipBits(b, l.RsrcData, l.RsrcSize, 2000, 11); }},
    {"flips anywhere", TOutcome::EitherWay,
     [](Bytes& b, const TPeLayout&) { FlipBits(b, 0, b.size(), 500, 13); }},
};

// A style and program files of the Wine installation, from big to small.
const char* const kSources[] = {"light.msstyles", "comctl32.dll", "shell32.dll", "winver.exe"};

class DamagedStyles : public ::testing::TestWithParam<const char*> {
 protected:
  tooltest::Result Run(const std::string& args) {
    std::string command = args;
#ifndef _WIN32
    command = "--kill-after=5 60 \"" + tooltest::NativePath(SKNTOOL_PATH) + "\" " + args;
    return tooltest::RunTool("timeout", command, dir_, runs_++);
#else
    return tooltest::RunTool(SKNTOOL_PATH, command, dir_, runs_++);
#endif
  }
  static std::string Q(const std::string& path) {
    return "\"" + tooltest::NativePath(path) + "\"";
  }

  // One run: exit 0, or exit 1 with the reason as the last line of stderr
  // (the conversion's own notes about missing parts may come before it).
  static void ExpectCleanEnd(const tooltest::Result& r, TOutcome outcome, const std::string& what) {
    if (outcome == TOutcome::Fails) {
      EXPECT_EQ(r.code, 1) << what;
    }
    if (outcome == TOutcome::NoVariants && r.code == 0) {
      EXPECT_EQ(r.out, "") << what;
    }
    EXPECT_TRUE(r.code == 0 || r.code == 1) << what << ": exit " << r.code << "\n" << r.err;
    if (r.code != 1) return;
    std::string err = r.err;
    err.erase(std::remove(err.begin(), err.end(), '\r'), err.end());
    ASSERT_FALSE(err.empty()) << what << ": no message";
    EXPECT_EQ(err.back(), '\n') << what << ": " << err;
    const size_t last = err.rfind('\n', err.size() - 2);
    const std::string line = err.substr(last == std::string::npos ? 0 : last + 1);
    EXPECT_EQ(line.rfind("skntool: ", 0), 0u) << what << ": " << err;
    EXPECT_GT(line.size(), std::string("skntool: \n").size()) << what;
  }

  // The variant the intact file offers first; files without one are asked
  // for a variant they do not have.
  std::string FirstVariant(const std::string& style) {
    tooltest::Result r = Run("variants " + Q(style));
    EXPECT_EQ(r.code, 0) << style << ": " << r.err;
    const std::string first = r.out.substr(0, r.out.find_first_of("\r\n"));
    return first.empty() ? "NORMALGREEN_INI" : first;
  }

  // `package` is where the conversion of the intact file would write.
  void CheckConvert(const std::string& style, const std::string& variant,
                    const std::string& package, TOutcome outcome, const std::string& what,
                    int index) {
    const std::string folder = std::filesystem::path(package).parent_path().string();
    // Half the runs find an earlier package at the output path.
    const bool earlier = index % 2 == 0;
    if (earlier) {
      std::filesystem::create_directories(folder);
      WriteFileAtomic(package, std::string("earlier"));
    }
    tooltest::Result r = Run("convert " + Q(style) + " " + variant + " -o " + Q(folder));
    ExpectCleanEnd(r, outcome == TOutcome::NoVariants ? TOutcome::Fails : outcome,
                   what + " convert");
    if (r.code == 0) {
      TSkinReader reader;
      EXPECT_TRUE(reader.LoadFromFile(package)) << what << ": " << reader.LastError();
    } else if (earlier) {
      EXPECT_EQ(tooltest::Slurp(package), "earlier") << what;
    } else {
      EXPECT_FALSE(std::filesystem::exists(package)) << what;
    }
    if (std::filesystem::exists(folder)) {
      int files = 0;
      for (const auto& e : std::filesystem::directory_iterator(folder))
        files += e.is_regular_file() ? 1 : 0;
      EXPECT_LE(files, 1) << what << ": a stray file in the output folder";
    }
  }

  ScratchDir dir_;
  int runs_ = 0;
};

TEST_P(DamagedStyles, EndCleanly) {
  const std::string file = GetParam();
  Bytes intact;
  if (!ReadFileBytes(kWineDir + file, intact)) GTEST_SKIP() << file << " is absent";
  const TPeLayout layout = Layout(intact);
  ASSERT_GT(layout.RsrcHeader, 0u) << file << " has no resource section";
  const std::string style = dir_.File(file);
  WriteFileAtomic(style, intact);
  const std::string variant = FirstVariant(style);
  // Where the intact file converts to (and whether it does).
  tooltest::Result r = Run("convert " + Q(style) + " " + variant + " -o " + Q(dir_.File("intact")));
  std::string package = r.out.substr(0, r.out.find_first_of("\r\n"));
  if (r.code != 0) package = dir_.File("intact/none.skn");
  const std::string name = std::filesystem::path(package).filename().string();
  int index = 0;
  for (const TDamage& damage : kDamages) {
    Bytes copy = intact;
    damage.Apply(copy, layout);
    WriteFileAtomic(style, copy);
    const std::string what = file + ", " + damage.Name;
    ExpectCleanEnd(Run("variants " + Q(style)), damage.Outcome, what + " variants");
    const std::string out = dir_.File("out" + std::to_string(index)) + "/" + name;
    CheckConvert(style, variant, out, damage.Outcome, what, index);
    ++index;
  }
}

INSTANTIATE_TEST_SUITE_P(WineFiles, DamagedStyles, ::testing::ValuesIn(kSources),
                         [](const ::testing::TestParamInfo<const char*>& param_info) {
                           std::string name = param_info.param;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
