// Writes the malformed-input corpus replayed by the tests and seeded into the
// fuzzers: fuzz/corpus/package/*, ini/*, bmp/* and jpeg/*. Deterministic; run it
// again after changing it and commit the result.
//
// Package file names say what the reader must do: "ok-*" loads, "bad-*" is
// refused, "any-*" may go either way but must not crash.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "editor/jpeg_file.h"
#include "format/file_io.h"
#include "format/skin_package.h"
#include "test_util.h"

#include <jpeglib.h>

using namespace testutil;

namespace {

std::string g_root;

void Put(const std::string& sub, const std::string& name, const std::vector<uint8_t>& bytes) {
  WriteFileAtomic(g_root + "/" + sub + "/" + name, bytes);
}

BodySpec Sample() {
  BodySpec s;
  s.names = "skin.ini\r\ntitle.bmp\r\nleft.bmp\r\n";
  std::string ini = "[Skins]\r\nVersion=150\r\n[Title]\r\nBitmap=title.bmp\r\n";
  s.sizes = {static_cast<uint32_t>(ini.size()), 54, 30};
  s.data.assign(ini.begin(), ini.end());
  for (int i = 0; i < 84; ++i)
    s.data.push_back(static_cast<uint8_t>(i * 7));
  return s;
}

void Packages() {
  const BodySpec sample = Sample();
  const std::vector<uint8_t> body = MakeBody(sample);
  const std::vector<uint8_t> good = Wrap(body);
  Put("package", "ok-sample", good);

  // The file cut short: inside U, right after U, and inside the coding.
  for (size_t n :
       {size_t{0}, size_t{1}, size_t{3}, size_t{4}, size_t{5}, good.size() / 2, good.size() - 1}) {
    Put("package", "bad-file-cut-" + std::to_string(n),
        std::vector<uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)));
  }
  // The body cut at every header boundary, with U telling the truth.
  const size_t list_start = 16 + 69;
  const size_t sizes_start = list_start + sample.names.size();
  for (size_t n : {size_t{4}, size_t{8}, size_t{16}, list_start, list_start + 5, sizes_start,
                   sizes_start + 4, sizes_start + 12, body.size() - 1}) {
    Put("package", "bad-body-cut-" + std::to_string(n),
        Wrap(std::vector<uint8_t>(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(n))));
  }
  // Length prefixes that lie.
  Put("package", "bad-u-one-short", Wrap(body, static_cast<int64_t>(body.size()) - 1));
  Put("package", "bad-u-one-long", Wrap(body, static_cast<int64_t>(body.size()) + 1));
  Put("package", "bad-u-huge", Wrap(body, 0xFFFFFFFFll));
  Put("package", "bad-u-zero", Wrap(body, 0));
  {
    BodySpec s = sample;
    s.sizes[2] = 31;
    Put("package", "bad-sizes-past-end", Wrap(MakeBody(s)));
    s.sizes = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    Put("package", "bad-sizes-overflow", Wrap(MakeBody(s)));
  }
  {
    BodySpec s = sample;
    s.list_length = -1000;
    s.names.clear();
    Put("package", "bad-negative-list-length", Wrap(MakeBody(s)));
    s = sample;
    s.list_length = 0x7FFFFFFF;
    Put("package", "bad-list-length-past-end", Wrap(MakeBody(s)));
  }
  {
    BodySpec s;
    for (int i = 0; i < 1002; ++i)
      s.names += "m" + std::to_string(i) + ".bmp\r\n";
    s.sizes.assign(1002, 0);
    Put("package", "bad-1002-names", Wrap(MakeBody(s)));
    BodySpec t;
    t.names = std::string(1002, '\n');
    t.sizes.assign(1002, 0);
    Put("package", "bad-1002-empty-names", Wrap(MakeBody(t)));
  }
  {
    BodySpec s = sample;
    s.version = 10000;
    Put("package", "bad-unknown-version", Wrap(MakeBody(s)));
    s.version = 0xFFFFFFFF;
    Put("package", "bad-version-all-ones", Wrap(MakeBody(s)));
  }
  {
    BodySpec s;
    Put("package", "ok-empty-name-list", Wrap(MakeBody(s)));
    s.data = {1, 2, 3};
    Put("package", "ok-empty-name-list-trailing-data", Wrap(MakeBody(s)));
  }
  {
    BodySpec s = sample;
    const char names[] = "skin.ini\r\n\0title.bmp\r\nleft.bmp\r\n";
    s.names = std::string(names, sizeof names - 1);
    Put("package", "ok-nul-in-names", Wrap(MakeBody(s)));
    s.names = std::string("\0", 1);
    Put("package", "ok-nul-only-name-list", Wrap(MakeBody(s)));
  }
  {
    BodySpec s = sample;
    s.names = "skin.ini\r\n\r\nleft.bmp";  // empty middle name, no final break
    Put("package", "ok-empty-name-unterminated", Wrap(MakeBody(s)));
  }
  for (uint32_t v : {20000u, 30000u, 40000u, 50000u, 60000u}) {
    BodySpec s = sample;
    s.version = v;
    s.filler = SkinFillerLength(v);
    Put("package", "ok-version-" + std::to_string(v), Wrap(MakeBody(s)));
    s.filler = 0;  // the filler missing: the name list reads from the wrong place
    Put("package", "any-version-" + std::to_string(v) + "-no-filler", Wrap(MakeBody(s)));
  }
  // Junk of every kind.
  std::mt19937 rng(1234);
  for (int i = 0; i < 24; ++i) {
    std::vector<uint8_t> junk(static_cast<size_t>(rng() % 400));
    for (auto& b : junk)
      b = static_cast<uint8_t>(rng());
    Put("package", "any-junk-" + std::to_string(i), junk);
  }
  for (int i = 0; i < 24; ++i) {
    std::vector<uint8_t> flipped = good;
    size_t at = 4 + rng() % (flipped.size() - 4);
    flipped[at] ^= static_cast<uint8_t>(1u << (rng() % 8));
    Put("package", "any-flip-" + std::to_string(i), flipped);
  }
}

void Inis() {
  auto put = [](const std::string& name, const std::string& text) {
    Put("ini", name, std::vector<uint8_t>(text.begin(), text.end()));
  };
  put("empty", "");
  put("nul-only", std::string(1, '\0'));
  const char nul_inside[] = "[Skins]\r\nVersion=1\0[Title]\r\nx=1\r\n";
  put("nul-inside", std::string(nul_inside, sizeof nul_inside - 1));
  put("brackets", "[\r\n]\r\n[]\r\n[[]]\r\n[ ]\r\n[=]\r\n=\r\n==\r\n[Skins]=1\r\n");
  put("controls", "\x01\x02[Skins]\x03\r\n\tVersion\t=\t1\t\r\n\x7f\r\n");
  put("cr-only", "[Skins]\rVersion=150\r[Title]\rBitmap=a.bmp\r");
  put("lf-cr", "[Skins]\n\rVersion=150\n\r");
  put("high-bytes", "[Sk\xe9ns]\r\nV\xe9rsion=\xff\xfe\r\n\xa0[X]\xa0\r\n");
  put("unterminated", "[Skins]\r\nVersion=15");
  put("long-line", "[Skins]\r\nKey=" + std::string(100000, 'v') + "\r\n");
  std::string many;
  for (int i = 0; i < 5000; ++i)
    many += "[S" + std::to_string(i) + "]\r\nk=" + std::to_string(i) + "\r\n";
  put("many-sections", many);
  std::string repeated;
  for (int i = 0; i < 2000; ++i)
    repeated += "[Skins]\r\nVersion=" + std::to_string(i) + "\r\n";
  put("repeated-section", repeated);
  put("comments", ";[Skins]\r\n ; x\r\n[Skins];\r\n;Version=1\r\n");
  put("hex", "[Skins]\r\nVersion=0x\r\nA=0xFFFFFFFFFF\r\nB=$\r\nC=-\r\nD=+\r\n");
}

// Bitmaps: one of each kind the decoder reads, and damaged variants.
void Bitmaps() {
  auto u16 = [](std::vector<uint8_t>& o, uint32_t v) {
    o.push_back(static_cast<uint8_t>(v));
    o.push_back(static_cast<uint8_t>(v >> 8));
  };
  // header size, width, height, bpp, compression, colours, masks, palette entries, pixel bytes
  auto make = [&](uint32_t hsize, int32_t w, int32_t h, uint16_t bpp, uint32_t comp,
                  uint32_t colours, std::vector<uint32_t> masks, int palette,
                  std::vector<uint8_t> pixels) {
    std::vector<uint8_t> hd;
    PutU32(hd, hsize);
    if (hsize == 12) {
      u16(hd, static_cast<uint32_t>(w));
      u16(hd, static_cast<uint32_t>(h));
      u16(hd, 1);
      u16(hd, bpp);
    } else {
      PutU32(hd, static_cast<uint32_t>(w));
      PutU32(hd, static_cast<uint32_t>(h));
      u16(hd, 1);
      u16(hd, bpp);
      PutU32(hd, comp);
      PutU32(hd, static_cast<uint32_t>(pixels.size()));
      PutU32(hd, 2835);
      PutU32(hd, 2835);
      PutU32(hd, colours);
      PutU32(hd, 0);
      if (hsize > 40) {
        for (size_t i = 0; i < 4; ++i)
          PutU32(hd, i < masks.size() ? masks[i] : 0);
        hd.resize(hsize, 0);
      } else {
        for (uint32_t m : masks)
          PutU32(hd, m);
      }
    }
    for (int i = 0; i < palette; ++i) {
      hd.push_back(static_cast<uint8_t>(i * 3));
      hd.push_back(static_cast<uint8_t>(i * 5));
      hd.push_back(static_cast<uint8_t>(i * 7));
      if (hsize != 12) hd.push_back(0);
    }
    std::vector<uint8_t> f = {'B', 'M'};
    PutU32(f, static_cast<uint32_t>(14 + hd.size() + pixels.size()));
    PutU32(f, 0);
    PutU32(f, static_cast<uint32_t>(14 + hd.size()));
    f.insert(f.end(), hd.begin(), hd.end());
    f.insert(f.end(), pixels.begin(), pixels.end());
    return f;
  };
  std::mt19937 rng(99);
  auto noise = [&](size_t n) {
    std::vector<uint8_t> v(n);
    for (auto& b : v)
      b = static_cast<uint8_t>(rng());
    return v;
  };
  std::vector<std::pair<std::string, std::vector<uint8_t>>> kinds = {
      {"core-24", make(12, 5, 3, 24, 0, 0, {}, 0, noise(48))},
      {"core-8", make(12, 5, 3, 8, 0, 0, {}, 256, noise(24))},
      {"info-1", make(40, 33, 4, 1, 0, 0, {}, 2, noise(32))},
      {"info-4", make(40, 9, 3, 4, 0, 16, {}, 16, noise(24))},
      {"info-8-topdown", make(40, 6, -4, 8, 0, 0, {}, 256, noise(32))},
      {"info-16", make(40, 5, 5, 16, 0, 0, {}, 0, noise(60))},
      {"info-16-565", make(40, 5, 5, 16, 3, 0, {0xF800, 0x7E0, 0x1F}, 0, noise(60))},
      {"info-24", make(40, 7, 7, 24, 0, 0, {}, 0, noise(196))},
      {"info-32", make(40, 4, 4, 32, 0, 0, {}, 0, noise(64))},
      {"info-32-alphafields",
       make(40, 4, 4, 32, 6, 0, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, 0, noise(64))},
      {"v4-32", make(108, 4, 4, 32, 3, 0, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, 0, noise(64))},
      {"v5-32", make(124, 4, -4, 32, 3, 0, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, 0, noise(64))},
      {"rle8",
       make(40, 8, 4, 8, 1, 0, {}, 256, {4, 1, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 1, 3, 9, 0, 1})},
      {"rle4", make(40, 8, 4, 4, 2, 0, {}, 16,
                    {4, 0x12, 0, 3, 0x12, 0x30, 0, 0, 0, 2, 2, 1, 3, 0x99, 0, 1})},
  };
  for (const auto& [name, bytes] : kinds) {
    Put("bmp", "ok-" + name, bytes);
    for (size_t cut : {size_t{14}, size_t{30}, bytes.size() / 2, bytes.size() - 1}) {
      if (cut < bytes.size()) {
        Put("bmp", "cut-" + std::to_string(cut) + "-" + name,
            std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)));
      }
    }
    for (int i = 0; i < 3; ++i) {
      std::vector<uint8_t> flipped = bytes;
      flipped[14 + rng() % 40] ^= static_cast<uint8_t>(1u << (rng() % 8));
      Put("bmp", "flip-" + std::to_string(i) + "-" + name, flipped);
    }
  }
  Put("bmp", "huge", make(40, 30000, 30000, 24, 0, 0, {}, 0, {}));
  Put("bmp", "int-min-height", make(40, 1, INT32_MIN, 24, 0, 0, {}, 0, {0, 0, 0, 0}));
  Put("bmp", "palette-count-huge", make(40, 1, 1, 24, 0, 0xFFFFFFFF, {}, 0, {0, 0, 0, 0}));
}

// A grey or progressive picture, which EncodeJpeg does not write.
std::vector<uint8_t> EncodeWithLibjpeg(int w, int h, bool grey, bool progressive) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = static_cast<JDIMENSION>(w);
  c.image_height = static_cast<JDIMENSION>(h);
  c.input_components = grey ? 1 : 3;
  c.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&c);
  if (progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(w) * static_cast<size_t>(c.input_components));
  while (c.next_scanline < c.image_height) {
    for (size_t i = 0; i < row.size(); ++i)
      row[i] = static_cast<uint8_t>(i * 11 + c.next_scanline * 5);
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&c, &p, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::vector<uint8_t> bytes(out, out + size);
  std::free(out);
  return bytes;
}

void Jpegs() {
  TPixmap colour(21, 13, 24);
  for (size_t i = 0; i < colour.Pixels.size(); ++i)
    colour.Pixels[i] = static_cast<uint8_t>(i * 3);
  std::mt19937 rng(7);
  const std::vector<std::pair<std::string, std::vector<uint8_t>>> kinds = {
      {"baseline", EncodeJpeg(colour)},
      {"grey", EncodeWithLibjpeg(9, 7, true, false)},
      {"progressive", EncodeWithLibjpeg(16, 16, false, true)},
  };
  for (const auto& [name, bytes] : kinds) {
    Put("jpeg", "ok-" + name, bytes);
    for (size_t cut : {size_t{2}, size_t{20}, bytes.size() / 2, bytes.size() - 2})
      Put("jpeg", "cut-" + std::to_string(cut) + "-" + name,
          std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)));
    for (int i = 0; i < 3; ++i) {
      std::vector<uint8_t> flipped = bytes;
      flipped[2 + rng() % (bytes.size() - 2)] ^= static_cast<uint8_t>(1u << (rng() % 8));
      Put("jpeg", "flip-" + std::to_string(i) + "-" + name, flipped);
    }
  }
  std::vector<uint8_t> huge = EncodeJpeg(colour);
  for (size_t i = 0; i + 8 < huge.size(); ++i) {
    if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
      huge[i + 5] = huge[i + 6] = huge[i + 7] = huge[i + 8] = 0x7F;  // 32639 x 32639
      break;
    }
  }
  Put("jpeg", "huge", huge);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: make_corpus FUZZ_CORPUS_DIR\n", stderr);
    return 2;
  }
  g_root = argv[1];
  CreateDirectoryIfMissing(g_root);
  CreateDirectoryIfMissing(g_root + "/package");
  CreateDirectoryIfMissing(g_root + "/ini");
  CreateDirectoryIfMissing(g_root + "/bmp");
  CreateDirectoryIfMissing(g_root + "/jpeg");
  Packages();
  Inis();
  Bitmaps();
  Jpegs();
  return 0;
}
