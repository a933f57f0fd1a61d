// splash_art: writes the splash picture as the JPEG built into tessaly.exe.
//
//   splash_art OUT.jpg [OUT.bmp]
//
// Run it after changing the drawing and commit editor/resources/splash.jpg.
// The optional BMP is the picture before compression.
#include <cstdio>
#include <exception>

#include "editor/jpeg_file.h"
#include "editor/splash_art.h"
#include "format/file_io.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fputs("usage: splash_art OUT.jpg [OUT.bmp]\n", stderr);
    return 2;
  }
  const TPixmap picture = DrawSplashPicture();
  const std::vector<uint8_t> jpeg = EncodeJpeg(picture, 90);
  try {
    WriteFileAtomic(argv[1], jpeg);
    if (argc == 3) WriteFileAtomic(argv[2], EncodeBmp(picture));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "splash_art: %s\n", e.what());
    return 1;
  }
  std::printf("%s: %zu bytes\n", argv[1], jpeg.size());
  return 0;
}
