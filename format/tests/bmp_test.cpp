#include "format/bmp.h"

#include <gtest/gtest.h>

#include <string>

#include "test_util.h"

using testutil::PutU32;

namespace {

void PutU16(std::vector<uint8_t>& o, uint32_t v) {
  o.push_back(static_cast<uint8_t>(v));
  o.push_back(static_cast<uint8_t>(v >> 8));
}

// Builds BMP files field by field, so tests can say what our encoder never
// writes: other headers, masks, palettes, offsets, compressions.
struct Bmp {
  uint32_t header_size = 40;
  int32_t width = 2, height = 2;
  uint16_t bpp = 24;
  uint32_t compression = 0;
  uint32_t colours = 0;
  std::vector<uint32_t> masks;    // written after a 40-byte header, or inside V4/V5
  std::vector<uint32_t> palette;  // 0x00RRGGBB
  std::vector<uint8_t> pixels;    // as stored
  int64_t offset = -1;            // bfOffBits; -1: right after the palette
  bool file_header = true;

  std::vector<uint8_t> Build() const {
    std::vector<uint8_t> h;
    PutU32(h, header_size);
    if (header_size == 12) {
      PutU16(h, static_cast<uint32_t>(width));
      PutU16(h, static_cast<uint32_t>(height));
      PutU16(h, 1);
      PutU16(h, bpp);
    } else {
      PutU32(h, static_cast<uint32_t>(width));
      PutU32(h, static_cast<uint32_t>(height));
      PutU16(h, 1);
      PutU16(h, bpp);
      PutU32(h, compression);
      PutU32(h, static_cast<uint32_t>(pixels.size()));
      PutU32(h, 2835);
      PutU32(h, 2835);
      PutU32(h, colours);
      PutU32(h, 0);
      if (header_size > 40) {
        for (size_t i = 0; i < 4; ++i)
          PutU32(h, i < masks.size() ? masks[i] : 0);
        h.resize(header_size, 0);
      } else {
        for (uint32_t m : masks)
          PutU32(h, m);
      }
    }
    for (uint32_t c : palette) {
      h.push_back(static_cast<uint8_t>(c));
      h.push_back(static_cast<uint8_t>(c >> 8));
      h.push_back(static_cast<uint8_t>(c >> 16));
      if (header_size != 12) h.push_back(0);
    }
    std::vector<uint8_t> f;
    if (file_header) {
      f = {'B', 'M'};
      uint32_t off =
          offset >= 0 ? static_cast<uint32_t>(offset) : 14 + static_cast<uint32_t>(h.size());
      PutU32(f, static_cast<uint32_t>(14 + h.size() + pixels.size()));
      PutU32(f, 0);
      PutU32(f, off);
      f.insert(f.end(), h.begin(), h.end());
      if (offset >= 0 && static_cast<size_t>(offset) > f.size())
        f.resize(static_cast<size_t>(offset), 0xEE);
    } else {
      f = h;
    }
    f.insert(f.end(), pixels.begin(), pixels.end());
    return f;
  }
};

TEST(Bmp, EncodeThenDecodeKeepsEveryPixelFormat) {
  for (int bpp : {1, 4, 8, 24, 32}) {
    for (int w : {1, 3, 7, 33}) {
      TPixmap img(w, 5, bpp);
      for (size_t i = 0; i < img.Palette.size(); ++i)
        img.Palette[i] = static_cast<uint32_t>(i * 0x010203) & 0xFFFFFF;
      for (int y = 0; y < img.Height; ++y) {
        for (int x = 0; x < (w * bpp + 7) / 8; ++x)
          img.Row(y)[x] = static_cast<uint8_t>(x * 37 + y * 11);
      }
      // Padding bytes of rows stay zero, as the encoder and decoder keep them.
      for (int y = 0; y < img.Height; ++y) {
        int used = (w * bpp + 7) / 8;
        std::fill(img.Row(y) + used, img.Row(y) + img.Stride(), 0);
        if ((w * bpp) % 8)
          img.Row(y)[used - 1] &= static_cast<uint8_t>(0xFF << (8 - (w * bpp) % 8));
      }
      TPixmap back = DecodeBmp(EncodeBmp(img));
      EXPECT_EQ(back.BitsPerPixel, bpp);
      EXPECT_EQ(back.Width, w);
      EXPECT_EQ(back.Height, 5);
      EXPECT_EQ(back.Pixels, img.Pixels) << bpp << "/" << w;
      if (bpp <= 8) {
        EXPECT_EQ(back.Palette, img.Palette);
      }
    }
  }
}

TEST(Bmp, HeaderKindsAndLayouts) {
  // Core header, 24 bits, bottom-up: the first stored row is the bottom one.
  Bmp core;
  core.header_size = 12;
  core.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
  TPixmap a = DecodeBmp(core.Build());
  EXPECT_EQ(a.PixelRGB(0, 1), 0x030201u);
  EXPECT_EQ(a.PixelRGB(1, 0), 0x0C0B0Au);

  // Top-down info header.
  Bmp top = core;
  top.header_size = 40;
  top.height = -2;
  TPixmap b = DecodeBmp(top.Build());
  EXPECT_EQ(b.PixelRGB(0, 0), 0x030201u);

  // Core header palettes have 3-byte entries.
  Bmp pal;
  pal.header_size = 12;
  pal.bpp = 8;
  pal.palette.assign(256, 0);
  pal.palette[5] = 0x112233;
  pal.pixels = {5, 0, 0, 0, 0, 5, 0, 0};
  TPixmap c = DecodeBmp(pal.Build());
  EXPECT_EQ(c.PixelRGB(0, 1), 0x112233u);
  EXPECT_EQ(c.PixelRGB(1, 0), 0x112233u);
  EXPECT_EQ(c.PixelRGB(0, 0), 0u);

  // A short palette (colours used) and a gap before the pixels (bfOffBits).
  Bmp gap;
  gap.bpp = 4;
  gap.colours = 2;
  gap.palette = {0xFF0000, 0x00FF00};
  gap.pixels = {0x10, 0, 0, 0, 0x01, 0, 0, 0};
  gap.offset = 14 + 40 + 8 + 30;
  TPixmap d = DecodeBmp(gap.Build());
  EXPECT_EQ(d.PixelRGB(0, 1), 0x00FF00u);
  EXPECT_EQ(d.PixelRGB(1, 1), 0xFF0000u);
  EXPECT_EQ(d.PixelRGB(1, 0), 0x00FF00u);

  // V5, 32 bits with an alpha mask: kept as stored.
  Bmp v5;
  v5.header_size = 124;
  v5.bpp = 32;
  v5.compression = 3;
  v5.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
  v5.width = 1;
  v5.height = 1;
  v5.pixels = {0x10, 0x20, 0x30, 0x80};
  TPixmap e = DecodeBmp(v5.Build());
  EXPECT_EQ(e.BitsPerPixel, 32);
  EXPECT_EQ(e.PixelRGB(0, 0), 0x302010u);
  EXPECT_EQ(e.PixelAlpha(0, 0), 0x80);

  // The same pixels as a resource DIB (no file header).
  Bmp dib = v5;
  dib.file_header = false;
  EXPECT_EQ(DecodeDib(dib.Build()).Pixels, e.Pixels);
}

TEST(Bmp, SixteenBitsAndOddMasksBecomeTrueColour) {
  // 5-5-5 without masks, and 5-6-5 with masks after a 40-byte header.
  Bmp rgb555;
  rgb555.bpp = 16;
  rgb555.width = 2;
  rgb555.height = 1;
  rgb555.pixels = {0x00, 0x7C, 0x1F, 0x00};  // red, blue
  TPixmap a = DecodeBmp(rgb555.Build());
  EXPECT_EQ(a.BitsPerPixel, 24);
  EXPECT_EQ(a.PixelRGB(0, 0), 0xFF0000u);
  EXPECT_EQ(a.PixelRGB(1, 0), 0x0000FFu);

  Bmp rgb565 = rgb555;
  rgb565.compression = 3;
  rgb565.masks = {0xF800, 0x07E0, 0x001F};
  rgb565.pixels = {0xE0, 0x07, 0x10, 0x84};  // full green; 1000 0100 0001 0000
  TPixmap b = DecodeBmp(rgb565.Build());
  EXPECT_EQ(b.PixelRGB(0, 0), 0x00FF00u);
  EXPECT_EQ(b.PixelRGB(1, 0), 0x848284u);

  // 32 bits with swapped masks and an alpha mask (alpha bit fields).
  Bmp odd;
  odd.bpp = 32;
  odd.compression = 6;
  odd.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
  odd.width = 1;
  odd.height = 1;
  odd.pixels = {0x11, 0x22, 0x33, 0x44};
  TPixmap c = DecodeBmp(odd.Build());
  EXPECT_EQ(c.BitsPerPixel, 32);
  EXPECT_EQ(c.PixelRGB(0, 0), 0x112233u);
  EXPECT_EQ(c.PixelAlpha(0, 0), 0x44);
}

TEST(Bmp, RunLengthCoding) {
  // RLE8, 4x3: a run, an absolute run, a delta, end of line, end of bitmap.
  Bmp r8;
  r8.bpp = 8;
  r8.compression = 1;
  r8.width = 4;
  r8.height = 3;
  r8.palette.assign(256, 0);
  for (int i = 0; i < 256; ++i)
    r8.palette[static_cast<size_t>(i)] = static_cast<uint32_t>(i);
  r8.pixels = {3, 7,              // row 0 (bottom): 7 7 7
               0, 0,              // end of line
               0, 3, 1, 2, 3, 0,  // row 1: absolute 1 2 3, padded
               0, 2, 1, 1,        // delta: x 4, row 2
               2, 9,              // two pixels past the right edge: dropped
               0, 1};             // end of bitmap
  TPixmap a = DecodeBmp(r8.Build());
  EXPECT_EQ(a.PixelRGB(0, 2), 7u);
  EXPECT_EQ(a.PixelRGB(2, 2), 7u);
  EXPECT_EQ(a.PixelRGB(3, 2), 0u);
  EXPECT_EQ(a.PixelRGB(0, 1), 1u);
  EXPECT_EQ(a.PixelRGB(2, 1), 3u);
  EXPECT_EQ(a.PixelRGB(3, 0), 0u);

  // RLE4: a run alternates the two nibbles.
  Bmp r4;
  r4.bpp = 4;
  r4.compression = 2;
  r4.width = 5;
  r4.height = 1;
  r4.palette = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  r4.pixels = {5, 0x12, 0, 1};
  TPixmap b = DecodeBmp(r4.Build());
  const uint32_t want[] = {1, 2, 1, 2, 1};
  for (int x = 0; x < 5; ++x)
    EXPECT_EQ(b.PixelRGB(x, 0), want[x]) << x;
}

TEST(Bmp, MalformedFilesFailWithAReason) {
  Bmp good;
  good.pixels.assign(16, 0x40);
  const std::vector<uint8_t> ok = good.Build();
  ASSERT_NO_THROW(DecodeBmp(ok));

  std::vector<std::pair<std::string, std::vector<uint8_t>>> bad;
  for (size_t n : std::vector<size_t>{0, 1, 2, 13, 14, 17, 18, 30, 53, 54, 60, ok.size() - 1}) {
    bad.push_back(
        {"cut at " + std::to_string(n), {ok.begin(), ok.begin() + static_cast<std::ptrdiff_t>(n)}});
  }
  auto with = [&](const char* what, auto change) {
    Bmp b = good;
    change(b);
    bad.push_back({what, b.Build()});
  };
  with("not BM", [](Bmp& b) { b.file_header = false; });
  with("header size 41", [](Bmp& b) { b.header_size = 41; });
  with("zero width", [](Bmp& b) { b.width = 0; });
  with("negative width", [](Bmp& b) { b.width = -2; });
  with("zero height", [](Bmp& b) { b.height = 0; });
  with("height INT_MIN", [](Bmp& b) { b.height = INT32_MIN; });
  with("huge", [](Bmp& b) { b.width = 40000; });
  with("too many pixels", [](Bmp& b) {
    b.width = 30000;
    b.height = 30000;
  });
  with("2 bits", [](Bmp& b) { b.bpp = 2; });
  with("64 bits", [](Bmp& b) { b.bpp = 64; });
  with("RLE8 on 24 bits", [](Bmp& b) { b.compression = 1; });
  with("JPEG", [](Bmp& b) { b.compression = 4; });
  with("bit fields on 24 bits", [](Bmp& b) { b.compression = 3; });
  with("bit fields without masks", [](Bmp& b) {
    b.bpp = 16;
    b.compression = 3;
    b.pixels.clear();
  });
  with("palette too long", [](Bmp& b) {
    b.bpp = 1;
    b.colours = 3;
  });
  with("palette past the end", [](Bmp& b) {
    b.bpp = 8;
    b.colours = 200;
    b.pixels.clear();
  });
  with("offset past the end", [](Bmp& b) {
    b.offset = 100000;
    b.pixels.clear();
  });
  with("pixels short", [](Bmp& b) { b.pixels.resize(15); });
  for (const auto& [what, bytes] : bad) {
    try {
      DecodeBmp(bytes);
      ADD_FAILURE() << what << ": decoded";
    } catch (const EBmpError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Invalid bitmap: ", 0), 0u) << what;
    }
  }
}

TEST(Bmp, RunawayRunLengthDataStaysInsideTheImage) {
  Bmp r;
  r.bpp = 8;
  r.compression = 1;
  r.width = 3;
  r.height = 2;
  r.palette.assign(256, 0x123456);
  // Deltas far past the image, absolute runs past the data, no end marker.
  r.pixels = {0, 2, 255, 255, 200, 1, 0, 2, 0, 0, 0, 255, 1, 2};
  TPixmap img = DecodeBmp(r.Build());
  EXPECT_EQ(img.Width, 3);
  EXPECT_EQ(img.PixelRGB(0, 0), 0x123456u);  // untouched pixels are index 0
}

}  // namespace
