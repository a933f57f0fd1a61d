#include "format/bmp.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

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

TPixmap::TPixmap(int width, int height, int bits_per_pixel)
    : Width(width), Height(height), BitsPerPixel(bits_per_pixel) {
  if (width < 0 || height < 0) throw std::invalid_argument("negative bitmap size");
  Pixels.assign(static_cast<size_t>(Stride()) * static_cast<size_t>(height), 0);
  if (bits_per_pixel <= 8) Palette.assign(static_cast<size_t>(1) << bits_per_pixel, 0);
}

uint32_t TPixmap::PixelRGB(int x, int y) const {
  const uint8_t* row = Row(y);
  switch (BitsPerPixel) {
    case 24:
    case 32: {
      const uint8_t* p = row + x * (BitsPerPixel / 8);
      return static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
    }
    default: {
      const int bpp = BitsPerPixel;
      const int bit = x * bpp;
      const unsigned index = (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
      return index < Palette.size() ? Palette[index] : 0;
    }
  }
}

uint8_t TPixmap::PixelAlpha(int x, int y) const {
  return BitsPerPixel == 32 ? Row(y)[x * 4 + 3] : 255;
}

namespace {

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6;

class Bytes {
 public:
  explicit Bytes(std::span<const uint8_t> d) : d_(d) {}
  size_t Size() const { return d_.size(); }
  bool Has(uint64_t off, uint64_t n) const { return off <= d_.size() && n <= d_.size() - off; }
  // Offsets are 64-bit so that arithmetic on them cannot wrap on 32-bit
  // builds; callers check them with Has() first.
  uint8_t U8(uint64_t off) const { return d_[static_cast<size_t>(off)]; }
  uint16_t U16(uint64_t off) const {
    const size_t o = static_cast<size_t>(off);
    return static_cast<uint16_t>(d_[o] | d_[o + 1] << 8);
  }
  uint32_t U32(uint64_t off) const {
    const size_t o = static_cast<size_t>(off);
    return static_cast<uint32_t>(d_[o]) | static_cast<uint32_t>(d_[o + 1]) << 8 |
           static_cast<uint32_t>(d_[o + 2]) << 16 | static_cast<uint32_t>(d_[o + 3]) << 24;
  }
  const uint8_t* At(uint64_t off) const { return d_.data() + static_cast<size_t>(off); }

 private:
  std::span<const uint8_t> d_;
};

[[noreturn]] void Fail(const std::string& why) {
  throw EBmpError("Invalid bitmap: " + why);
}

// One colour channel described by a bit mask, scaled to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;
  explicit Channel(uint32_t m) : mask(m) {
    if (m == 0) return;
    while (((m >> shift) & 1) == 0)
      ++shift;
    uint32_t v = m >> shift;
    max = v;  // (gaps in a mask are tolerated: the value is read as it stands)
  }
  uint8_t Get(uint32_t px) const {
    if (max == 0) return 0;
    uint64_t v = (px & mask) >> shift;
    return static_cast<uint8_t>((v * 255 + max / 2) / max);
  }
};

void PutIndex(TPixmap& img, int x, int row, unsigned v) {
  if (x < 0 || x >= img.Width || row < 0 || row >= img.Height) return;
  uint8_t* r = img.Row(row);
  if (img.BitsPerPixel == 8) {
    r[x] = static_cast<uint8_t>(v);
  } else {  // 4 bits
    uint8_t& b = r[x / 2];
    if (x % 2 == 0) {
      b = static_cast<uint8_t>((b & 0x0F) | (v & 0x0F) << 4);
    } else {
      b = static_cast<uint8_t>((b & 0xF0) | (v & 0x0F));
    }
  }
}

// Run-length coded pixels (8 or 4 bits): runs, absolute runs, line ends,
// deltas. Anything that runs off the image or the data stops drawing there.
void DecodeRle(const Bytes& d, size_t at, TPixmap& img, bool top_down) {
  const bool four = img.BitsPerPixel == 4;
  int x = 0, y = 0;
  auto row_of = [&](int yy) { return top_down ? yy : img.Height - 1 - yy; };
  while (d.Has(at, 2) && y < img.Height) {
    const unsigned n = d.U8(at), v = d.U8(at + 1);
    at += 2;
    if (n > 0) {
      for (unsigned i = 0; i < n; ++i, ++x) {
        PutIndex(img, x, row_of(y), four ? ((i % 2 == 0) ? v >> 4 : v & 0x0F) : v);
      }
      continue;
    }
    if (v == 0) {  // end of line
      x = 0;
      ++y;
    } else if (v == 1) {  // end of bitmap
      return;
    } else if (v == 2) {  // delta
      if (!d.Has(at, 2)) return;
      x += d.U8(at);
      y += d.U8(at + 1);
      at += 2;
    } else {  // absolute run of v pixels, padded to a 16-bit boundary
      const size_t bytes = four ? (v + 1) / 2 : v;
      if (!d.Has(at, bytes)) return;
      for (unsigned i = 0; i < v; ++i, ++x) {
        unsigned b = d.U8(at + (four ? i / 2 : i));
        PutIndex(img, x, row_of(y), four ? ((i % 2 == 0) ? b >> 4 : b & 0x0F) : b);
      }
      at += bytes + (bytes & 1);
    }
  }
}

// `pixel_offset` is where the file header says the pixels are (0: right
// after the header, masks and palette).
TPixmap Decode(const Bytes& d, size_t dib, uint64_t pixel_offset) {
  if (!d.Has(dib, 4)) Fail("the header is missing");
  const uint32_t hsize = d.U32(dib);
  const bool core = hsize == 12;
  if (!(core || hsize == 16 || hsize == 40 || hsize == 52 || hsize == 56 || hsize == 64 ||
        hsize == 108 || hsize == 124)) {
    Fail("unknown header size " + std::to_string(hsize));
  }
  if (!d.Has(dib, hsize)) Fail("the header is truncated");
  int64_t width, height;
  unsigned bpp;
  uint32_t compression = kBiRgb, colours = 0;
  if (core) {
    width = d.U16(dib + 4);
    height = d.U16(dib + 6);
    bpp = d.U16(dib + 10);
  } else {
    width = static_cast<int32_t>(d.U32(dib + 4));
    height = static_cast<int32_t>(d.U32(dib + 8));
    bpp = d.U16(dib + 14);
    if (hsize >= 20) compression = d.U32(dib + 16);
    if (hsize >= 36) colours = d.U32(dib + 32);
  }
  // OS/2 headers give 3 and 4 other meanings (Huffman, RLE24); not read here.
  if ((hsize == 16 || hsize == 64) && compression > kBiRle4) Fail("unsupported OS/2 compression");
  const bool top_down = height < 0;
  if (top_down) height = -height;
  if (width <= 0 || height <= 0) Fail("empty or negative size");
  if (width > kMaxBmpDimension || height > kMaxBmpDimension || width * height > kMaxBmpPixels) {
    Fail("too large (" + std::to_string(width) + " x " + std::to_string(height) + ")");
  }
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
    Fail(std::to_string(bpp) + " bits per pixel are not supported");
  }
  const bool bitfields = compression == kBiBitfields || compression == kBiAlphaBitfields;
  if (!(compression == kBiRgb || (compression == kBiRle8 && bpp == 8) ||
        (compression == kBiRle4 && bpp == 4) || (bitfields && (bpp == 16 || bpp == 32)))) {
    Fail("compression " + std::to_string(compression) + " with " + std::to_string(bpp) +
         " bits per pixel is not supported");
  }

  // Colour masks: inside V2+ headers, or right after a 40-byte header.
  uint32_t masks[4] = {0, 0, 0, 0};
  uint64_t after_header = dib + static_cast<uint64_t>(hsize);
  if (bitfields) {
    if (hsize >= 52) {
      for (int i = 0; i < 3; ++i)
        masks[i] = d.U32(dib + 40 + 4 * static_cast<size_t>(i));
      if (hsize >= 56) masks[3] = d.U32(dib + 52);
    } else {
      const int n = compression == kBiAlphaBitfields ? 4 : 3;
      if (!d.Has(after_header, 4u * static_cast<unsigned>(n))) Fail("the colour masks are missing");
      for (int i = 0; i < n; ++i)
        masks[i] = d.U32(after_header + 4 * static_cast<size_t>(i));
      after_header += 4u * static_cast<unsigned>(n);
    }
  } else if (bpp == 16) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  } else if (bpp == 32 || bpp == 24) {
    masks[0] = 0xFF0000;
    masks[1] = 0x00FF00;
    masks[2] = 0x0000FF;
  }

  // Palette.
  const unsigned entry = core ? 3 : 4;
  uint64_t palette_count = colours;
  if (bpp <= 8) {
    if (palette_count == 0) palette_count = 1u << bpp;
    if (palette_count > (1u << bpp)) Fail("more palette entries than the bit depth allows");
  }
  if (!d.Has(after_header, palette_count * entry)) Fail("the palette runs past the data");
  std::vector<uint32_t> palette;
  if (bpp <= 8) {
    palette.assign(1u << bpp, 0);
    for (uint64_t i = 0; i < palette_count; ++i) {
      size_t at = static_cast<size_t>(after_header + i * entry);
      palette[static_cast<size_t>(i)] = static_cast<uint32_t>(d.U8(at + 2)) << 16 |
                                        static_cast<uint32_t>(d.U8(at + 1)) << 8 | d.U8(at);
    }
  }
  const uint64_t computed = after_header + palette_count * entry;
  const uint64_t offset = pixel_offset != 0 ? pixel_offset : computed;
  if (offset >= d.Size()) Fail("the pixel data lies outside the file");

  const int w = static_cast<int>(width), h = static_cast<int>(height);
  const bool alpha_mask = masks[3] != 0;
  // Indexed, 24 and 32 bits keep their depth; 16 bits become 24 (32 with an
  // alpha mask).
  const int out_bpp = bpp == 16 ? (alpha_mask ? 32 : 24) : static_cast<int>(bpp);
  const bool rle = compression == kBiRle8 || compression == kBiRle4;
  const uint64_t src_stride = ((static_cast<uint64_t>(w) * bpp + 31) / 32) * 4;
  if (!rle && !d.Has(offset, src_stride * static_cast<uint64_t>(h))) {
    Fail("the pixel data is truncated");
  }
  TPixmap img(w, h, out_bpp);
  if (bpp <= 8) img.Palette = palette;
  if (rle) {
    DecodeRle(d, static_cast<size_t>(offset), img, top_down);
    return img;
  }
  // 32-bit pixels with the usual masks are copied as they are, the fourth
  // byte (alpha, or unused) included.
  const bool raw = bpp <= 8 || bpp == 24 ||
                   (bpp == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF &&
                    (masks[3] == 0 || masks[3] == 0xFF000000));
  const Channel r(masks[0]), g(masks[1]), b(masks[2]), a(masks[3]);
  for (int y = 0; y < h; ++y) {
    const uint8_t* src = d.At(static_cast<size_t>(offset + src_stride * static_cast<uint64_t>(y)));
    uint8_t* dst = img.Row(top_down ? y : h - 1 - y);
    if (raw) {
      std::memcpy(dst, src, static_cast<size_t>(std::min<uint64_t>(src_stride, img.Stride())));
      continue;
    }
    const int out_bytes = out_bpp / 8;
    for (int x = 0; x < w; ++x) {
      uint32_t px = bpp == 16 ? static_cast<uint32_t>(src[2 * x] | src[2 * x + 1] << 8)
                              : static_cast<uint32_t>(src[4 * x]) |
                                    static_cast<uint32_t>(src[4 * x + 1]) << 8 |
                                    static_cast<uint32_t>(src[4 * x + 2]) << 16 |
                                    static_cast<uint32_t>(src[4 * x + 3]) << 24;
      uint8_t* o = dst + x * out_bytes;
      o[0] = b.Get(px);
      o[1] = g.Get(px);
      o[2] = r.Get(px);
      if (out_bytes == 4) o[3] = alpha_mask ? a.Get(px) : 255;
    }
  }
  return img;
}

}  // namespace

TPixmap DecodeBmp(std::span<const uint8_t> file) {
  Bytes d(file);
  if (!d.Has(0, 14) || d.U8(0) != 'B' || d.U8(1) != 'M') Fail("not a BMP file");
  const uint32_t off = d.U32(10);
  // A pixel offset inside the file headers is a writer's mistake; the data
  // then follows the palette.
  return Decode(d, 14, off >= 14 + 12 ? off : 0);
}

TPixmap DecodeDib(std::span<const uint8_t> dib) {
  return Decode(Bytes(dib), 0, 0);
}

std::vector<uint8_t> EncodeBmp(const TPixmap& image) {
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
