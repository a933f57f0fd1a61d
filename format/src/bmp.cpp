#include "format/bmp.h"

#include <cstring>
#include <stdexcept>

namespace {
void Put16(std::vector<uint8_t>& o, uint32_t v) {
  o.push_back(static_cast<uint8_t>(v));
  o.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& o, uint32_t v) {
  Put16(o, v & 0xFFFF);
  Put16(o, v >> 16);
}
}  // namespace

TImage::TImage(int width, int height, int bits_per_pixel)
    : Width(width), Height(height), BitsPerPixel(bits_per_pixel) {
  if (width < 0 || height < 0) throw std::invalid_argument("negative bitmap size");
  Pixels.assign(static_cast<size_t>(Stride()) * static_cast<size_t>(height), 0);
  if (bits_per_pixel <= 8) Palette.assign(static_cast<size_t>(1) << bits_per_pixel, 0);
}

std::vector<uint8_t> EncodeBmp(const TImage& image) {
  const int bpp = image.BitsPerPixel;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) {
    throw std::invalid_argument("unsupported bits per pixel");
  }
  const size_t stride = static_cast<size_t>(image.Stride());
  const size_t rows = static_cast<size_t>(image.Height);
  if (image.Pixels.size() < stride * rows) throw std::invalid_argument("bitmap pixels missing");
  const size_t colours = bpp <= 8 ? (size_t{1} << bpp) : 0;
  const size_t offset = 14 + 40 + 4 * colours;
  const size_t image_size = stride * rows;

  std::vector<uint8_t> o;
  o.reserve(offset + image_size);
  o.push_back('B');
  o.push_back('M');
  Put32(o, static_cast<uint32_t>(offset + image_size));
  Put32(o, 0);
  Put32(o, static_cast<uint32_t>(offset));
  Put32(o, 40);
  Put32(o, static_cast<uint32_t>(image.Width));
  Put32(o, static_cast<uint32_t>(image.Height));
  Put16(o, 1);
  Put16(o, static_cast<uint32_t>(bpp));
  Put32(o, 0);  // BI_RGB
  Put32(o, static_cast<uint32_t>(image_size));
  Put32(o, 2835);  // 72 dpi
  Put32(o, 2835);
  Put32(o, static_cast<uint32_t>(colours));
  Put32(o, 0);
  for (size_t i = 0; i < colours; ++i) {
    uint32_t c = i < image.Palette.size() ? image.Palette[i] : 0;
    o.push_back(static_cast<uint8_t>(c));        // blue
    o.push_back(static_cast<uint8_t>(c >> 8));   // green
    o.push_back(static_cast<uint8_t>(c >> 16));  // red
    o.push_back(0);
  }
  for (size_t y = rows; y-- > 0;) {
    const uint8_t* row = image.Pixels.data() + y * stride;
    o.insert(o.end(), row, row + stride);
  }
  return o;
}
