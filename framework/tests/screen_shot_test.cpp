// The screen capture: clipped to the screen, 24 bits, the pixels that are
// shown, and the --shot helper's file.
#include <gtest/gtest.h>

#include "format/bmp.h"
#include "format/file_io.h"
#include "framework/dialogs.h"
#include "framework/forms.h"
#include "framework/screen_shot.h"

namespace {

// A form filled with one colour, on top, at a place of the screen.
TForm* ColouredForm(TColor colour, RECT r) {
  auto* form = new TForm(nullptr);
  form->AfterConstruction();
  form->SetBorderStyle(TFormBorderStyle::bsNone);
  form->SetColor(colour);
  form->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  form->Show();
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  for (int i = 0; i < 20; ++i) {
    Application->ProcessMessages();
    form->Update();
    Sleep(5);
  }
  return form;
}

TEST(ScreenShot, CapturesWhatIsShownClippedToTheScreen) {
  const RECT screen = ScreenRect();
  ASSERT_GT(screen.right, 100);
  ASSERT_GT(screen.bottom, 100);
  TForm* form = ColouredForm(RGB(10, 120, 230), RECT{40, 50, 140, 110});
  TBitmap shot;
  ASSERT_TRUE(CaptureScreen(RECT{30, 40, 150, 120}, shot));
  EXPECT_EQ(shot.Width(), 120);
  EXPECT_EQ(shot.Height(), 80);
  EXPECT_EQ(shot.PixelFormat(), TPixelFormat::pf24bit);
  const TPixmap img = shot.ToImage();
  EXPECT_EQ(img.PixelRGB(10, 10), 0x0A78E6u);  // (40, 50) on the screen; 0x00RRGGBB
  EXPECT_EQ(img.PixelRGB(109, 69), 0x0A78E6u);

  // Partly off the screen: only the part on it.
  ASSERT_TRUE(CaptureScreen(RECT{-20, -30, 60, 70}, shot));
  EXPECT_EQ(shot.Width(), 60);
  EXPECT_EQ(shot.Height(), 70);
  EXPECT_EQ(shot.ToImage().PixelRGB(45, 55), 0x0A78E6u);
  ASSERT_TRUE(CaptureScreen(RECT{screen.right - 10, 0, screen.right + 50, 20}, shot));
  EXPECT_EQ(shot.Width(), 10);

  // Off the screen, or empty: nothing.
  for (RECT off : {RECT{-50, 0, -1, 10}, RECT{0, screen.bottom, 10, screen.bottom + 5},
                   RECT{5, 5, 5, 50}, RECT{9, 9, 3, 3}}) {
    EXPECT_FALSE(CaptureScreen(off, shot));
    EXPECT_TRUE(shot.Empty());
  }
  form->Free();
}

TEST(ScreenShot, SavesAWindowsAreaAsABitmapFile) {
  TForm* form = ColouredForm(RGB(200, 30, 60), RECT{60, 70, 160, 130});
  const std::string path = TempFolder() + "mv_screen_shot_test.bmp";
  ASSERT_TRUE(SaveScreenAround(form->Handle(), 20, 10, path));
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadFileBytes(path, bytes));
  const TPixmap img = DecodeBmp(bytes);
  EXPECT_EQ(img.Width, 120);
  EXPECT_EQ(img.Height, 70);
  EXPECT_EQ(img.BitsPerPixel, 24);
  EXPECT_EQ(img.PixelRGB(50, 30), 0xC81E3Cu);
  DeleteFileA(path.c_str());
  // A window moved off the screen has nothing to save.
  form->SetBounds(-500, -500, 100, 60);
  EXPECT_FALSE(SaveScreenAround(form->Handle(), 0, 0, path));
  form->Free();
}

}  // namespace
