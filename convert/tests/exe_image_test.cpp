// The PE resource reader on synthetic files, on damaged files and on the
// visual style Wine installs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "convert/exe_image.h"
#include "format/bmp.h"
#include "pe_writer.h"

using pe::K;

namespace {

const char* const kLight64 = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/light.msstyles";
const char* const kLight32 = "/usr/lib/i386-linux-gnu/wine/i386-windows/light.msstyles";

TExeImage Open(std::vector<uint8_t> bytes) {
  return TExeImage(MemoryFileView(std::move(bytes)), "test.dll");
}

// Everything a user of the tree can reach, as text: names, sizes, directory
// structure, renderings. Errors of single items are part of the text.
std::string Dump(TExeImage& image) {
  std::string out;
  std::function<void(TResourceList&, int)> walk = [&](TResourceList& list, int depth) {
    for (const auto& item : list.Entries()) {
      out += std::string(static_cast<size_t>(depth) * 2, ' ') + item->DisplayName();
      out += " " + std::to_string(item->DataSize());
      if (item->IsDirectory()) {
        out += " dir\n";
        walk(item->Children(), depth + 1);
        continue;
      }
      std::vector<uint8_t> written;
      item->WriteData(written);
      out += " w" + std::to_string(written.size());
      std::vector<std::string> lines;
      try {
        item->AssignTo(lines);
        for (const std::string& l : lines)
          out += " |" + l;
      } catch (const EExeError&) {
      }
      TPixmap picture;
      try {
        item->AssignTo(picture);
        out += " img" + std::to_string(picture.Width) + "x" + std::to_string(picture.Height);
      } catch (const std::exception&) {
      }
      out += "\n";
    }
  };
  walk(image.RootList(), 0);
  return out;
}

std::vector<pe::Resource> SampleResources() {
  // An icon group of two images (ids 1, 2) and one missing (9); a cursor
  // group; a string block; a menu; a bitmap; named types and names.
  std::vector<uint8_t> icon1 =
      pe::Dib(16, 32, 32, [](int x, int) { return x < 8 ? 0xFF0000FFu : 0; });
  icon1.insert(icon1.end(), 4 * 16, 0);  // the mask
  std::vector<uint8_t> icon2 = pe::Dib(32, 64, 32, [](int, int) { return 0xFF00FF00u; });
  icon2.insert(icon2.end(), 4 * 32, 0);
  std::vector<uint8_t> group(6, 0);
  pe::Put16(group, 2, 1);
  pe::Put16(group, 4, 3);
  auto add_group_entry = [&](std::vector<uint8_t>& g, std::vector<uint8_t> e) {
    g.insert(g.end(), e.begin(), e.end());
  };
  add_group_entry(group, {16, 16, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 1, 0});
  add_group_entry(group, {32, 32, 16, 0, 1, 0, 32, 0, 0, 0, 0, 0, 2, 0});
  add_group_entry(group, {48, 48, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 9, 0});
  std::vector<uint8_t> cursor = {3, 0, 4, 0};  // hot spot
  std::vector<uint8_t> cursor_dib = pe::Dib(32, 64, 1, [](int, int) { return 0u; });
  cursor.insert(cursor.end(), cursor_dib.begin(), cursor_dib.end());
  std::vector<uint8_t> cursor_group(6, 0);
  pe::Put16(cursor_group, 2, 2);
  pe::Put16(cursor_group, 4, 1);
  add_group_entry(cursor_group, {32, 0, 64, 0, 1, 0, 1, 0, 0, 0, 0, 0, 5, 0});
  std::vector<uint8_t> menu = {0, 0, 0, 0};
  auto menu_item = [&](uint16_t flags, int id, const std::string& text) {
    menu.push_back(static_cast<uint8_t>(flags));
    menu.push_back(0);
    if (!(flags & 0x10)) {
      menu.push_back(static_cast<uint8_t>(id));
      menu.push_back(0);
    }
    std::vector<uint8_t> u = pe::Utf16(text, true);
    menu.insert(menu.end(), u.begin(), u.end());
  };
  menu_item(0x10, 0, "&File");
  menu_item(0, 100, "&Open");
  menu_item(0, 0, "");
  menu_item(0x80, 101, "E&xit");
  menu_item(0x90, 0, "&Help");
  menu_item(0x80, 200, "&About");
  return {
      {K(3), K(1), 1033, icon1},
      {K(3), K(2), 1033, icon2},
      {K(14), K("MAINICON"), 1033, group},
      {K(1), K(5), 1033, cursor},
      {K(12), K(7), 1033, cursor_group},
      {K(6), K(3), 1033, pe::StringBlock({{0, "zero"}, {5, "five"}})},
      {K(4), K(1), 1033, menu},
      {K(2), K("GREEN_BUTTON_BMP"), 1033, pe::SolidDib(4, 2, 0x00FF00)},
      {K("TEXTFILE"), K("NORMALGREEN_INI"), 1033, pe::TextResource("[a]\r\nb=1\r\n")},
      {K(17), K(1), 1033, {1, 2, 3}},
  };
}

TEST(ExeImage, OpenFailuresUseTheirTexts) {
  std::vector<uint8_t> good = pe::Build(SampleResources()).Bytes;
  auto with = [&](size_t at, uint32_t v) {
    std::vector<uint8_t> b = good;
    pe::Put32(b, at, v);
    return b;
  };
  const size_t nt = pe::Build(SampleResources()).NtHeaders;
  struct {
    const char* what;
    std::vector<uint8_t> bytes;
    const char* message;
  } cases[] = {
      {"empty", {}, "CreateFileMapping failed"},
      {"one byte", {'M'}, "unrecognized file format"},
      {"no MZ", with(0, 0x00905A4E), "unrecognized file format"},
      {"MZ only", {'M', 'Z'}, "Not a PE (WIN32 Executable) file"},
      {"e_lfanew past the end", with(60, 0x7FFFFFF0), "Not a PE (WIN32 Executable) file"},
      {"e_lfanew huge", with(60, 0xFFFFFFF0), "Not a PE (WIN32 Executable) file"},
      {"no PE signature", with(nt, 0x00004551), "Not a PE (WIN32 Executable) file"},
      {"optional header past the end", with(nt + 20, 0xFFFF), "Not a PE (WIN32 Executable) file"},
  };
  for (auto& c : cases) {
    try {
      if (c.bytes.empty()) {
        MemoryFileView({});
      } else {
        Open(c.bytes);
      }
      ADD_FAILURE() << c.what << ": opened";
    } catch (const EExeError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.what;
    }
  }
  try {
    TExeImage missing("/nonexistent/x.msstyles");
    ADD_FAILURE() << "a missing file opened";
  } catch (const EExeError& e) {
    EXPECT_STREQ(e.what(), "Couldn't open: /nonexistent/x.msstyles");
  }
  std::string empty_file = testing::TempDir() + "/empty.msstyles";
  std::ofstream(empty_file).close();
  try {
    TExeImage empty(empty_file);
    ADD_FAILURE() << "an empty file opened";
  } catch (const EExeError& e) {
    EXPECT_STREQ(e.what(), "CreateFileMapping failed");
  }
}

TEST(ExeImage, ResourceSectionIsFoundByNameIgnoringCase) {
  struct {
    const char* name;
    bool found;
  } cases[] = {{".rsrc", true},   {".RSRC", true}, {".RsRc", true},
               {".rsrc2", false}, {".rsr", false}, {"rsrc", false}};
  for (const auto& c : cases) {
    pe::Options o;
    o.SectionName = c.name;
    TExeImage image = Open(pe::Build(SampleResources(), o).Bytes);
    if (c.found) {
      EXPECT_GT(image.RootList().Count(), 0) << c.name;
    } else {
      EXPECT_THROW(
          {
            try {
              image.RootList();
            } catch (const EExeError& e) {
              EXPECT_STREQ(e.what(), "No resources in this file.");
              throw;
            }
          },
          EExeError)
          << c.name;
    }
  }
}

TEST(ExeImage, TreeOfTypesNamesAndRenderings) {
  for (bool plus : {false, true}) {
    pe::Options o;
    o.Pe32Plus = plus;
    TExeImage image = Open(pe::Build(SampleResources(), o).Bytes);
    EXPECT_EQ(image.IsPe32Plus(), plus);
    TResourceList& root = image.RootList();
    std::vector<std::string> types;
    for (const auto& item : root.Entries())
      types.push_back(item->DisplayName());
    // Named types first; single icons (3) and cursors (1) are not listed.
    EXPECT_EQ(types, (std::vector<std::string>{"TEXTFILE", "Bitmap", "Menu", "String", "Cursor",
                                               "Icon", "17"}));
    ASSERT_NE(image.IconTypeItem(), nullptr);
    ASSERT_NE(image.CursorTypeItem(), nullptr);

    TResourceItem& icons = root.Item(5);
    ASSERT_TRUE(icons.IsDirectory());
    TResourceItem& group = icons.Children().Item(0);
    EXPECT_EQ(group.DisplayName(), "MAINICON");
    ASSERT_TRUE(group.IsDirectory());
    TResourceList& images = group.Children();
    ASSERT_EQ(images.Count(), 2);  // the entry for identifier 9 has no image
    EXPECT_EQ(images.Item(0).DisplayName(), "16 X 16 0 Colors");
    EXPECT_EQ(images.Item(1).DisplayName(), "32 X 32 16 Colors");
    TPixmap icon;
    images.Item(0).AssignTo(icon);
    EXPECT_EQ(icon.Width, 16);
    EXPECT_EQ(icon.Height, 16);
    EXPECT_EQ(icon.PixelRGB(0, 0), 0x0000FFu);  // blue, as stored
    EXPECT_EQ(icon.PixelAlpha(0, 0), 255);
    EXPECT_EQ(icon.PixelAlpha(15, 0), 0);
    std::vector<uint8_t> ico;
    images.Item(1).WriteData(ico);
    EXPECT_EQ(ico.size(), 22 + images.Item(1).DataSize());
    EXPECT_EQ(ico[2], 1);   // icon file
    EXPECT_EQ(ico[6], 32);  // width

    TResourceList& cursors = root.Item(4).Children().Item(0).Children();
    ASSERT_EQ(cursors.Count(), 1);
    EXPECT_EQ(cursors.Item(0).DisplayName(), "32 X 32 1 Bit(s)");

    std::vector<std::string> lines;
    root.Item(3).Children().Item(0).AssignTo(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"32,  \"zero\"", "37,  \"five\""}));
    root.Item(2).Children().Item(0).AssignTo(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"POPUP \"&File\"", "  MENUITEM \"&Open\",  100",
                                               "  MENUITEM SEPARATOR", "  MENUITEM \"E&xit\",  101",
                                               "ENDPOPUP", "POPUP \"&Help\"", "ENDPOPUP",
                                               "MENUITEM \"&About\",  200", "ENDPOPUP"}));

    TResourceItem& bitmap = root.Item(1).Children().Item(0);
    EXPECT_EQ(bitmap.DisplayName(), "GREEN_BUTTON_BMP");
    EXPECT_FALSE(bitmap.IsDirectory());
    EXPECT_THROW(bitmap.Children(), EExeError);
    TPixmap picture;
    bitmap.AssignTo(picture);
    EXPECT_EQ(picture.PixelRGB(3, 1), 0x00FF00u);
    EXPECT_THROW(bitmap.AssignTo(lines), EExeError);
    TResourceItem& text = root.Item(0).Children().Item(0);
    EXPECT_EQ(text.DisplayName(), "NORMALGREEN_INI");
    EXPECT_EQ(text.DataSize(), 20u);
    EXPECT_THROW(text.AssignTo(picture), EExeError);
    EXPECT_EQ(root.Item(6).Children().Item(0).DisplayName(), "1");
  }
}

TEST(ExeImage, BitmapFileHeaderOffsetOfPixels) {
  auto header = [](uint32_t size, uint32_t bits, uint32_t compression, uint32_t used) {
    std::vector<uint8_t> d(size + 64, 0);
    pe::Put32(d, 0, size);
    if (size == 12) {
      pe::Put16(d, 10, bits);
    } else {
      pe::Put16(d, 14, bits);
      pe::Put32(d, 16, compression);
      pe::Put32(d, 32, used);
    }
    return d;
  };
  struct {
    const char* what;
    std::vector<uint8_t> data;
    uint32_t off_bits;
  } cases[] = {
      {"info 8-bit", header(40, 8, 0, 0), 1078},
      {"info 24-bit", header(40, 24, 0, 0), 54},
      {"info 8-bit, 16 used", header(40, 8, 0, 16), 54 + 64},
      {"info 4-bit", header(40, 4, 0, 0), 54 + 64},
      {"info 16-bit bit fields", header(40, 16, 3, 0), 54 + 12},
      {"info 32-bit alpha bit fields", header(40, 32, 6, 0), 54 + 16},
      {"core 8-bit", header(12, 8, 0, 0), 14 + 12 + 768},
      {"V4 32-bit", header(108, 32, 3, 0), 14 + 108},
      {"V5 32-bit", header(124, 32, 0, 0), 14 + 124},
      {"V5 8-bit", header(124, 8, 0, 0), 14 + 124 + 1024},
  };
  for (auto& c : cases) {
    TExeImage image = Open(pe::Build({{K(2), K(1), 0, c.data}}).Bytes);
    std::vector<uint8_t> file;
    image.RootList().Item(0).Children().Item(0).WriteData(file);
    ASSERT_EQ(file.size(), c.data.size() + 14) << c.what;
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(pe::Get32(file, 2), c.data.size() + 14) << c.what;
    EXPECT_EQ(pe::Get32(file, 10), c.off_bits) << c.what;
  }
}

// ---- the damaged corpus: every file opens or fails with the reader's own
// texts, and the whole tree can be walked.

const std::set<std::string>& Texts() {
  static const std::set<std::string> t = {"unrecognized file format",
                                          "Not a PE (WIN32 Executable) file",
                                          "No resources in this file.", "CreateFileMapping failed"};
  return t;
}

void Survives(const std::vector<uint8_t>& bytes, const std::string& what) {
  try {
    TExeImage image = Open(bytes);
    (void)Dump(image);
  } catch (const EExeError& e) {
    EXPECT_TRUE(Texts().count(e.what())) << what << ": " << e.what();
  }
}

TEST(ExeImageCorpus, TruncatedAtEveryHeaderBoundary) {
  pe::File f = pe::Build(SampleResources());
  std::set<size_t> cuts = {0, 1, 2, 59, 60, 63, 64};
  for (size_t at : {f.NtHeaders, f.NtHeaders + 4, f.NtHeaders + 24, f.SectionTable,
                    f.ResourceHeader, f.ResourceHeader + 20, f.ResourceHeader + 40, f.RawData}) {
    for (int d = -2; d <= 2; ++d)
      cuts.insert(at + static_cast<size_t>(d));
  }
  for (size_t d : f.Resources.Directories) {
    for (size_t x : {size_t{0}, size_t{12}, size_t{14}, size_t{16}, size_t{20}, size_t{24}})
      cuts.insert(f.RawData + d + x);
  }
  for (size_t d : f.Resources.DataEntries) {
    for (size_t x : {size_t{0}, size_t{4}, size_t{8}})
      cuts.insert(f.RawData + d + x);
  }
  cuts.insert(f.RawData + f.Resources.NamesStart + 1);
  for (size_t at = f.RawData + f.Resources.DataStart; at < f.Bytes.size(); at += 7)
    cuts.insert(at);
  for (size_t cut : cuts) {
    if (cut > f.Bytes.size()) continue;
    Survives({f.Bytes.begin(), f.Bytes.begin() + static_cast<std::ptrdiff_t>(cut)},
             "cut at " + std::to_string(cut));
  }
}

TEST(ExeImageCorpus, BadOffsetsCyclesAndHugeCounts) {
  pe::File f = pe::Build(SampleResources());
  const size_t raw = f.RawData;
  const std::vector<size_t>& dirs = f.Resources.Directories;
  std::vector<std::pair<std::string, std::function<void(std::vector<uint8_t>&)>>> damage;
  for (uint32_t v : {0u, 0x7FFFFFFFu, 0xFFFFFFFFu, 0x80000000u, 0xFFFFFFF0u, 12u}) {
    std::string sv = std::to_string(v);
    damage.push_back(
        {"section raw pointer " + sv, [&, v](auto& b) { pe::Put32(b, f.ResourceHeader + 20, v); }});
    damage.push_back(
        {"section rva " + sv, [&, v](auto& b) { pe::Put32(b, f.ResourceHeader + 12, v); }});
    damage.push_back(
        {"section count " + sv, [&, v](auto& b) { pe::Put16(b, f.NtHeaders + 6, v & 0xFFFF); }});
    damage.push_back(
        {"optional size " + sv, [&, v](auto& b) { pe::Put16(b, f.NtHeaders + 20, v & 0xFFFF); }});
    for (size_t d : dirs) {
      std::string sd = " dir " + std::to_string(d);
      damage.push_back(
          {"entry name" + sv + sd, [&, v, d](auto& b) { pe::Put32(b, raw + d + 16, v); }});
      damage.push_back(
          {"entry offset" + sv + sd, [&, v, d](auto& b) { pe::Put32(b, raw + d + 20, v); }});
    }
    for (size_t e : f.Resources.DataEntries) {
      damage.push_back({"data rva " + sv, [&, v, e](auto& b) { pe::Put32(b, raw + e, v); }});
      damage.push_back({"data size " + sv, [&, v, e](auto& b) { pe::Put32(b, raw + e + 4, v); }});
    }
  }
  for (size_t d : dirs) {
    std::string sd = std::to_string(d);
    damage.push_back({"huge count " + sd, [&, d](auto& b) {
                        pe::Put16(b, raw + d + 12, 0xFFFF);
                        pe::Put16(b, raw + d + 14, 0xFFFF);
                      }});
    // Every directory made to point at itself and at the root.
    damage.push_back({"self loop " + sd, [&, d](auto& b) {
                        pe::Put32(b, raw + d + 20, 0x80000000u | static_cast<uint32_t>(d));
                      }});
    damage.push_back(
        {"root loop " + sd, [&, d](auto& b) { pe::Put32(b, raw + d + 20, 0x80000000u); }});
  }
  // Every entry of every directory pointing at the same directory: a tree
  // that would grow without end if it were expanded naively.
  damage.push_back({"shared directories", [&](auto& b) {
                      for (size_t d : dirs) {
                        pe::Put16(b, raw + d + 12, 0);
                        pe::Put16(b, raw + d + 14, 64);
                        for (int i = 0; i < 64; ++i) {
                          size_t e = raw + d + 16 + 8 * static_cast<size_t>(i);
                          if (e + 8 > b.size()) break;
                          pe::Put32(b, e, static_cast<uint32_t>(i));
                          pe::Put32(b, e + 4, 0x80000000u | static_cast<uint32_t>(dirs[1]));
                        }
                      }
                    }});
  for (auto& [what, change] : damage) {
    std::vector<uint8_t> b = f.Bytes;
    change(b);
    Survives(b, what);
  }
}

TEST(ExeImageCorpus, ByteFlips) {
  pe::File f = pe::Build(SampleResources());
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return seed >> 8;
  };
  for (int round = 0; round < 400; ++round) {
    std::vector<uint8_t> b = f.Bytes;
    int flips = 1 + static_cast<int>(next() % 8);
    for (int i = 0; i < flips; ++i) {
      // Mostly in the headers and directories, where a flip changes most.
      size_t span = (next() % 4 == 0) ? b.size() : f.RawData + f.Resources.DataStart;
      b[next() % span] ^= static_cast<uint8_t>(1u << (next() % 8));
    }
    Survives(b, "flip round " + std::to_string(round));
  }
}

// ---- the installed visual style

TEST(LightStyle, ResourceTree) {
  if (!std::filesystem::exists(kLight64)) GTEST_SKIP() << kLight64 << " is not installed";
  TExeImage image(kLight64);
  EXPECT_TRUE(image.IsPe32Plus());
  TResourceList& root = image.RootList();
  std::vector<std::string> types;
  for (const auto& item : root.Entries())
    types.push_back(item->DisplayName());
  EXPECT_EQ(types,
            (std::vector<std::string>{"COLORNAMES", "FILERESNAMES", "PACKTHEM_VERSION", "SIZENAMES",
                                      "TEXTFILE", "Bitmap", "String", "Version"}));
  TResourceList& texts = root.Item(4).Children();
  ASSERT_EQ(texts.Count(), 2);
  EXPECT_EQ(texts.Item(0).DisplayName(), "BLUE_INI");
  EXPECT_EQ(texts.Item(0).DataSize(), 147294u);
  EXPECT_EQ(texts.Item(1).DisplayName(), "THEMES_INI");
  EXPECT_EQ(texts.Item(1).DataSize(), 136u);
  EXPECT_EQ(WideToAnsi(texts.Item(0).Data(), 9), "[Globals]");

  TResourceList& bitmaps = root.Item(5).Children();
  ASSERT_EQ(bitmaps.Count(), 482);
  EXPECT_EQ(bitmaps.Item(0).DisplayName(), "BLUE_BUTTON_BMP");
  int alpha = 0;
  for (const auto& item : bitmaps.Entries()) {
    TPixmap picture;
    ASSERT_NO_THROW(item->AssignTo(picture)) << item->DisplayName();
    EXPECT_GT(picture.Width, 0) << item->DisplayName();
    alpha += picture.BitsPerPixel == 32;
  }
  EXPECT_GT(alpha, 100);

  TResourceList& strings = root.Item(6).Children();
  EXPECT_EQ(strings.Count(), 4);
  std::vector<std::string> lines;
  strings.Item(0).AssignTo(lines);
  EXPECT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].rfind("1000,  \"", 0), 0u) << lines[0];  // block 63, slot 8
}

// The i386 copy has the same resources; where it is not installed, the same
// resource section is wrapped in a PE32 file here.
TEST(LightStyle, ThirtyTwoAndSixtyFourBitCopiesGiveTheSameTree) {
  if (!std::filesystem::exists(kLight64)) GTEST_SKIP() << kLight64 << " is not installed";
  TExeImage wide(kLight64);
  std::string expected = Dump(wide);
  std::vector<uint8_t> narrow_bytes;
  if (std::filesystem::exists(kLight32)) {
    std::ifstream in(kLight32, std::ios::binary);
    narrow_bytes.assign(std::istreambuf_iterator<char>(in), {});
  } else {
    int64_t header = wide.FindSection(".rsrc");
    ASSERT_GE(header, 0);
    uint32_t raw = wide.U32(header + 20), size = wide.U32(header + 16), rva = wide.U32(header + 12);
    std::vector<uint8_t> section(wide.Bytes().begin() + raw, wide.Bytes().begin() + raw + size);
    pe::Options o;
    o.Rva = rva;
    narrow_bytes = pe::BuildFile(section, o).Bytes;
  }
  TExeImage narrow = Open(narrow_bytes);
  EXPECT_FALSE(narrow.IsPe32Plus());
  EXPECT_EQ(Dump(narrow), expected);
}

TEST(WideToAnsi, CodePageAndBounds) {
  struct {
    std::vector<uint8_t> utf16;
    size_t count;
    std::string ansi;
  } cases[] = {
      {pe::Utf16("abc", true), 0, "abc"},
      {pe::Utf16("abc"), 0, "abc"},  // no NUL: stops at the end
      {pe::Utf16("abcdef"), 2, "ab"},
      {pe::Utf16("ab"), 9, "ab"},  // a count past the data stops at the end
      {{0xE9, 0x00, 0xAC, 0x20, 0x14, 0x20}, 3, "\xE9\x80\x97"},
      {{0x16, 0x04, 0x3D, 0xD8, 0x00, 0xDE}, 3, "??"},
      {{0x41}, 1, ""},
  };
  for (const auto& c : cases) {
#ifndef _WIN32
    EXPECT_EQ(WideToAnsi(c.utf16, c.count), c.ansi);
#else
    EXPECT_EQ(WideToAnsi(c.utf16, c.count).size() > 0, !c.ansi.empty());
#endif
  }
}

}  // namespace
