#include "editor/jpeg_file.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>
#include <jpeglib.h>

namespace {

// A smooth picture (JPEG keeps gentle gradients close) in the given pixel format.
TPixmap Gradient(int w, int h, int bpp) {
  TPixmap img(w, h, bpp);
  if (bpp == 8) {
    for (int i = 0; i < 256; ++i)
      img.Palette[i] = static_cast<uint32_t>((i << 16) | ((255 - i) << 8) | 96);
  }
  for (int y = 0; y < h; ++y) {
    uint8_t* row = img.Row(y);
    for (int x = 0; x < w; ++x) {
      // Distinct channels (red < green < blue) so a swap shows.
      const int r = std::min(255, 40 + x / 3), g = std::min(255, 90 + y / 3);
      if (bpp == 8) {
        row[x] = static_cast<uint8_t>((x + y) * 255 / std::max(1, w + h - 2));
      } else {
        uint8_t* p = row + x * (bpp / 8);
        p[0] = 180, p[1] = static_cast<uint8_t>(g), p[2] = static_cast<uint8_t>(r);
        if (bpp == 32) p[3] = static_cast<uint8_t>(x);  // alpha is ignored
      }
    }
  }
  return img;
}

struct THeader {
  int width, height, components;
  J_COLOR_SPACE colour;
  bool progressive;
};

THeader ReadHeader(const std::vector<uint8_t>& jpeg) {
  jpeg_decompress_struct d{};
  jpeg_error_mgr err{};
  d.err = jpeg_std_error(&err);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&d, TRUE);
  THeader h{static_cast<int>(d.image_width), static_cast<int>(d.image_height), d.num_components,
            d.jpeg_color_space, d.progressive_mode != 0};
  jpeg_destroy_decompress(&d);
  return h;
}

std::vector<uint8_t> EncodeGrey(int w, int h, uint8_t level) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = w, c.image_height = h, c.input_components = 1;
  c.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(w, level);
  while (c.next_scanline < c.image_height) {
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&c, &p, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::vector<uint8_t> bytes(out, out + size);
  std::free(out);
  return bytes;
}

TEST(Jpeg, RoundTripKeepsSizeAndColoursWithinTolerance) {
  struct {
    int w, h, bpp;
  } cases[] = {{1, 1, 24}, {3, 5, 24}, {17, 9, 32}, {31, 2, 8}, {513, 326, 24}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + "@" + std::to_string(c.bpp));
    const TPixmap src = Gradient(c.w, c.h, c.bpp);
    const std::vector<uint8_t> jpeg = EncodeJpeg(src);
    const THeader h = ReadHeader(jpeg);
    EXPECT_EQ(h.width, c.w);
    EXPECT_EQ(h.height, c.h);
    EXPECT_EQ(h.components, 3);
    EXPECT_EQ(h.colour, JCS_YCbCr);
    EXPECT_FALSE(h.progressive);

    const TPixmap back = DecodeJpeg(jpeg);
    ASSERT_EQ(back.Width, c.w);
    ASSERT_EQ(back.Height, c.h);
    ASSERT_EQ(back.BitsPerPixel, 24);
    int worst = 0;
    for (int y = 0; y < c.h; ++y) {
      for (int x = 0; x < c.w; ++x) {
        const uint32_t a = src.PixelRGB(x, y), b = back.PixelRGB(x, y);
        for (int shift = 0; shift < 24; shift += 8)
          worst = std::max(worst, std::abs(int((a >> shift) & 255) - int((b >> shift) & 255)));
      }
    }
    EXPECT_LE(worst, 24);
  }
}

TEST(Jpeg, QualityChangesTheSize) {
  const TPixmap src = Gradient(64, 64, 24);
  EXPECT_LT(EncodeJpeg(src, 10).size(), EncodeJpeg(src, 100).size());
}

TEST(Jpeg, GreyPictureDecodesAs24Bit) {
  const TPixmap back = DecodeJpeg(EncodeGrey(9, 4, 200));
  ASSERT_EQ(back.BitsPerPixel, 24);
  ASSERT_EQ(back.Width, 9);
  const uint32_t c = back.PixelRGB(8, 3);
  EXPECT_NEAR(int(c & 255), 200, 2);
  EXPECT_EQ(c & 255, (c >> 8) & 255);
  EXPECT_EQ(c & 255, (c >> 16) & 255);
}

TEST(Jpeg, EncoderRefusesImagesWithoutPixels) {
  TPixmap empty;
  EXPECT_THROW(EncodeJpeg(empty), EJpegError);
  TPixmap short_pixels(8, 8, 24);
  short_pixels.Pixels.resize(10);
  EXPECT_THROW(EncodeJpeg(short_pixels), EJpegError);
}

TEST(Jpeg, DamagedDataThrowsAndNeverCrashes) {
  const std::vector<uint8_t> good = EncodeJpeg(Gradient(40, 30, 24));
  const size_t n = good.size();
  const std::vector<std::vector<uint8_t>> refused = {
      {},
      {'B', 'M', 0, 0, 0, 0},
      {0xFF, 0xD8},
      std::vector<uint8_t>(good.begin(), good.begin() + 100),
      std::vector<uint8_t>(good.begin(), good.begin() + n / 2),
      std::vector<uint8_t>(good.begin(), good.end() - 2),  // no end marker
  };
  for (size_t i = 0; i < refused.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_THROW(DecodeJpeg(refused[i]), EJpegError);
  }
  // Flipped bits: a marker flip is refused; a flip in coded data may still
  // decode, but only to a whole picture of the declared size.
  std::vector<uint8_t> bad_start = good;
  bad_start[1] ^= 0x10;
  EXPECT_THROW(DecodeJpeg(bad_start), EJpegError);
  for (size_t pos = 2; pos < n; pos += 13) {
    for (int bit : {0, 7}) {
      std::vector<uint8_t> flipped = good;
      flipped[pos] ^= static_cast<uint8_t>(1 << bit);
      try {
        const TPixmap img = DecodeJpeg(flipped);
        EXPECT_EQ(img.Pixels.size(), size_t(img.Stride()) * img.Height) << pos;
      } catch (const EJpegError& e) {
        EXPECT_STRNE(e.what(), "") << pos;
      }
    }
  }
}

// Sets the frame size in a JPEG's start-of-frame marker.
std::vector<uint8_t> WithDeclaredSize(std::vector<uint8_t> jpeg, int w, int h) {
  for (size_t i = 0; i + 8 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = uint8_t(h >> 8), jpeg[i + 6] = uint8_t(h);
      jpeg[i + 7] = uint8_t(w >> 8), jpeg[i + 8] = uint8_t(w);
      return jpeg;
    }
  }
  ADD_FAILURE() << "no frame marker";
  return jpeg;
}

TEST(Jpeg, HugeDeclaredSizeIsRefusedBeforeDecoding) {
  const std::vector<uint8_t> good = EncodeJpeg(Gradient(8, 8, 24));
  const struct { int w, h; } sizes[] = {{40000, 8}, {8, 65000}, {30000, 30000}};
  for (const auto& s : sizes) {
    try {
      DecodeJpeg(WithDeclaredSize(good, s.w, s.h));
      ADD_FAILURE() << s.w << "x" << s.h << " decoded";
    } catch (const EJpegError& e) {
      EXPECT_NE(std::string(e.what()).find("too large"), std::string::npos) << e.what();
    }
  }
}

}  // namespace
