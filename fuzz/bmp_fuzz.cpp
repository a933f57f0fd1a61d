// Fuzz target: the BMP decoder, as a file and as a resource DIB.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "format/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  for (int as_file = 0; as_file < 2; ++as_file) {
    try {
      TPixmap img = as_file ? DecodeBmp(bytes) : DecodeDib(bytes);
      if (img.Pixels.size() !=
          static_cast<size_t>(img.Stride()) * static_cast<size_t>(img.Height)) {
        std::abort();
      }
      for (int y = 0; y < img.Height; y += 7) {
        for (int x = 0; x < img.Width; x += 7)
          (void)img.PixelRGB(x, y);
      }
      TPixmap again = DecodeBmp(EncodeBmp(img));  // what we write, we read
      if (again.Pixels != img.Pixels) std::abort();
    } catch (const EBmpError&) {
    }
  }
  return 0;
}
