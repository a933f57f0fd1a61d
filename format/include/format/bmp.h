// A portable in-memory bitmap and its BMP file form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct TImage {
  int Width = 0;
  int Height = 0;
  int BitsPerPixel = 24;          // 1, 4, 8, 24 or 32
  std::vector<uint32_t> Palette;  // 0x00RRGGBB, for 1, 4 and 8 bits per pixel
  std::vector<uint8_t> Pixels;    // rows top-down, Stride() bytes each, BMP byte order

  TImage() = default;
  TImage(int width, int height, int bits_per_pixel);
  int Stride() const { return ((Width * BitsPerPixel + 31) / 32) * 4; }
  uint8_t* Row(int y) {
    return Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(Stride());
  }
  const uint8_t* Row(int y) const {
    return Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(Stride());
  }
};

// A bottom-up BMP file with a 40-byte info header, in the image's own pixel
// format (a palette for 1, 4 and 8 bits).
std::vector<uint8_t> EncodeBmp(const TImage& image);
