#include "editor/splash_art.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "editor/jpeg_file.h"
#include "format/file_io.h"

namespace {

int ChannelDifference(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int shift = 0; shift < 24; shift += 8)
    worst = std::max(worst, std::abs(int((a >> shift) & 255) - int((b >> shift) & 255)));
  return worst;
}

// The picture built into the program is the one the drawing makes now
// (tools/splash_art writes it), within JPEG's loss.
TEST(SplashArt, BuiltInPictureIsTheCurrentDrawing) {
  const TPixmap drawn = DrawSplashPicture();
  ASSERT_EQ(drawn.Width, kSplashWidth);
  ASSERT_EQ(drawn.Height, kSplashHeight);
  ASSERT_EQ(drawn.BitsPerPixel, 24);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadFileBytes(MV_SOURCE_DIR "/editor/resources/splash.jpg", bytes));
  EXPECT_LT(bytes.size(), 60u * 1024u);
  const TPixmap stored = DecodeJpeg(bytes);
  ASSERT_EQ(stored.Width, kSplashWidth);
  ASSERT_EQ(stored.Height, kSplashHeight);
  int64_t total = 0;
  for (int y = 0; y < kSplashHeight; ++y) {
    for (int x = 0; x < kSplashWidth; ++x)
      total += ChannelDifference(drawn.PixelRGB(x, y), stored.PixelRGB(x, y));
  }
  EXPECT_LT(double(total) / (kSplashWidth * kSplashHeight), 3.0);
}

// The label's white text sits on the left part: it stays dark there.
TEST(SplashArt, LabelAreaIsDark) {
  const TPixmap drawn = DrawSplashPicture();
  for (int y = 20; y < kSplashHeight - 20; y += 5) {
    for (int x = 16; x < 200; x += 5) {
      const uint32_t c = drawn.PixelRGB(x, y);
      const int luma = (int((c >> 16) & 255) * 3 + int((c >> 8) & 255) * 6 + int(c & 255)) / 10;
      EXPECT_LT(luma, 110) << x << "," << y;
    }
  }
}

}  // namespace
