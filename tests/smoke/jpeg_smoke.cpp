#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>
#include <jpeglib.h>

namespace {

TEST(JpegSmoke, EncodesAndDecodesA16By16Image) {
  const int w = 16, h = 16;
  std::vector<unsigned char> rgb(w * h * 3);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      unsigned char* p = &rgb[(y * w + x) * 3];
      p[0] = static_cast<unsigned char>(x * 16);
      p[1] = static_cast<unsigned char>(y * 16);
      p[2] = 128;
    }
  }

  jpeg_compress_struct c{};
  jpeg_error_mgr cerr{};
  c.err = jpeg_std_error(&cerr);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long out_size = 0;
  jpeg_mem_dest(&c, &out, &out_size);
  c.image_width = w;
  c.image_height = h;
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 90, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = &rgb[c.next_scanline * w * 3];
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  ASSERT_GT(out_size, 100u);
  EXPECT_EQ(out[0], 0xFF);
  EXPECT_EQ(out[1], 0xD8);

  jpeg_decompress_struct d{};
  jpeg_error_mgr derr{};
  d.err = jpeg_std_error(&derr);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, out, out_size);
  ASSERT_EQ(jpeg_read_header(&d, TRUE), JPEG_HEADER_OK);
  jpeg_start_decompress(&d);
  EXPECT_EQ(d.output_width, 16u);
  EXPECT_EQ(d.output_height, 16u);
  EXPECT_EQ(d.output_components, 3);
  std::vector<unsigned char> back(w * h * 3);
  while (d.output_scanline < d.output_height) {
    JSAMPROW row = &back[d.output_scanline * w * 3];
    jpeg_read_scanlines(&d, &row, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  std::free(out);

  int worst = 0;
  for (size_t i = 0; i < rgb.size(); ++i)
    worst = std::max(worst, std::abs(rgb[i] - back[i]));
  EXPECT_LT(worst, 24);  // lossy, but close at quality 90
}

}  // namespace
