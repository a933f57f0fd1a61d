// Fuzz target: the JPEG decoder of the splash picture, and the encoder on
// whatever it decodes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "editor/jpeg_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const TPixmap img = DecodeJpeg(std::span<const uint8_t>(data, size));
    if (img.BitsPerPixel != 24 || img.Width <= 0 || img.Height <= 0 ||
        img.Pixels.size() != static_cast<size_t>(img.Stride()) * static_cast<size_t>(img.Height))
      std::abort();
    if (static_cast<int64_t>(img.Width) * img.Height <= 256 * 256) {
      const TPixmap again = DecodeJpeg(EncodeJpeg(img));  // what we write, we read
      if (again.Width != img.Width || again.Height != img.Height) std::abort();
    }
  } catch (const EJpegError&) {
  }
  return 0;
}
