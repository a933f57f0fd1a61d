// A portable in-memory bitmap and its BMP file form. The decoder reads
// untrusted input: every size, offset and count is checked against the data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

struct TPixmap {
  int Width = 0;
  int Height = 0;
  int BitsPerPixel = 24;          // 1, 4, 8, 24 or 32
  std::vector<uint32_t> Palette;  // 0x00RRGGBB, for 1, 4 and 8 bits per pixel
  std::vector<uint8_t> Pixels;    // rows top-down, Stride() bytes each, BMP byte order

  TPixmap() = default;
  // A black (index 0) image; the palette of an indexed image has 2^bpp entries.
  TPixmap(int width, int height, int bits_per_pixel);
  int Stride() const { return ((Width * BitsPerPixel + 31) / 32) * 4; }
  uint8_t* Row(int y) {
    return Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(Stride());
  }
  const uint8_t* Row(int y) const {
    return Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(Stride());
  }
  // The colour at (x, y) as 0x00RRGGBB, through the palette for indexed
  // images (an index past the palette reads as black).
  uint32_t PixelRGB(int x, int y) const;
  // The alpha byte of a 32-bit pixel (255 for other depths).
  uint8_t PixelAlpha(int x, int y) const;
};

class EBmpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Largest width or height the decoder accepts, and largest pixel count.
constexpr int kMaxBmpDimension = 32767;
constexpr int64_t kMaxBmpPixels = int64_t{1} << 26;

// A BMP file: "BM" file header, then a core (12), info (40), V4 (108) or V5
// (124) header (and the OS/2 and bit-field variants in between); 1, 4, 8, 16,
// 24 or 32 bits per pixel; RLE8, RLE4 and bit fields; bottom-up or top-down.
// Indexed images stay indexed, 24-bit stays 24-bit, 32-bit stays 32-bit
// (blue, green, red, alpha), 16-bit and bit fields become 24 or (with an
// alpha mask) 32 bits. Throws EBmpError with a one-line reason.
TPixmap DecodeBmp(std::span<const uint8_t> file);
// The same for a device-independent bitmap without the file header (as in a
// bitmap resource): the pixels follow the header, the masks and the palette.
TPixmap DecodeDib(std::span<const uint8_t> dib);

// A bottom-up BMP file with a 40-byte info header, in the image's own pixel
// format (a palette for 1, 4 and 8 bits).
std::vector<uint8_t> EncodeBmp(const TPixmap& image);
