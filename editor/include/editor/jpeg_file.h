// JPEG pictures: the preview snapshot is written as a baseline colour JPEG,
// the splash picture is read from one. The decoder reads untrusted bytes:
// damaged data raises EJpegError, never ends the process.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

#include "format/bmp.h"

class EJpegError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A baseline colour (YCbCr, 3 components) JPEG of a 24- or 32-bit image
// (alpha ignored); indexed images are expanded through their palette.
// Quality is clamped to 1..100. Throws EJpegError.
std::vector<uint8_t> EncodeJpeg(const TPixmap& image, int quality = 90);

// A 24-bit TPixmap (BMP byte order, top-down rows) from JPEG bytes; grey
// JPEGs become 24-bit. Throws EJpegError with libjpeg's message for damaged
// data (corrupt-data warnings count as damage) and refuses images beyond
// kMaxBmpDimension / kMaxBmpPixels before allocating them.
TPixmap DecodeJpeg(std::span<const uint8_t> bytes);
