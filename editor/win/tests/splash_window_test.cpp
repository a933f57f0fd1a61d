// The splash form as the user sees it: shown at start-up for its time and
// closed by itself, its picture and black outline on the screen, a plain
// face when the picture does not decode, and the About box closed by a real
// click on its button. Photographs of the splash and the About box are left
// in the build folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "editor/jpeg_file.h"
#include "editor/splash_art.h"
#include "editor_resources.h"
#include "editor_window_test.h"
#include "framework/screen_shot.h"
#include "real_input.h"
#include "splash.h"

namespace {

using namespace editor_window_test;

TSplashfm* VisibleSplash() {
  for (TCustomForm* f : Application->Forms())
    if (auto* s = dynamic_cast<TSplashfm*>(f);
        s && s->HandleAllocated() && IsWindowVisible(s->Handle()))
      return s;
  return nullptr;
}

bool AnySplash() {
  return std::any_of(Application->Forms().begin(), Application->Forms().end(),
                     [](TCustomForm* f) { return dynamic_cast<TSplashfm*>(f) != nullptr; });
}

int Difference(COLORREF screen, uint32_t rgb) {
  const int r = GetRValue(screen) - int((rgb >> 16) & 255);
  const int g = GetGValue(screen) - int((rgb >> 8) & 255);
  const int b = GetBValue(screen) - int(rgb & 255);
  return std::max({std::abs(r), std::abs(g), std::abs(b)});
}

// What one look at a shown splash found.
struct TSplashLook {
  RECT Window{};
  intptr_t Tag = 0;
  bool ButtonVisible = true;
  bool PictureShows = false;  // points clear of the label match the picture
  bool EdgesBlack = false;
  bool LabelTransparent = false;
};

TSplashLook Look(TSplashfm* s, const TPixmap& picture) {
  TSplashLook look;
  GetWindowRect(s->Handle(), &look.Window);
  look.Tag = s->Tag();
  look.ButtonVisible = s->Button1->Visible();
  const int w = s->Width(), h = s->Height();
  const POINT inside[] = {{300, 200}, {400, 60}, {450, 250}, {100, 250}, {256, 163}, {470, 275}};
  look.PictureShows = std::all_of(std::begin(inside), std::end(inside), [&](POINT p) {
    return Difference(ScreenPixel(s->ClientToScreen(p)), picture.PixelRGB(p.x, p.y)) <= 3;
  });
  // The label's top-left corner lies in its first line's leading, above the
  // glyphs: the picture shows there, not a box behind the text.
  const POINT beside_text{s->Label1->Left(), s->Label1->Top()};
  look.LabelTransparent = Difference(ScreenPixel(s->ClientToScreen(beside_text)),
                                     picture.PixelRGB(beside_text.x, beside_text.y)) <= 3;
  const POINT edge[] = {{0, 0},     {w - 1, 0}, {w - 1, h - 1}, {0, h - 1},
                        {w / 2, 0}, {0, h / 2}, {w - 1, h / 3}, {w / 3, h - 1}};
  look.EdgesBlack = std::all_of(std::begin(edge), std::end(edge), [&](POINT p) {
    return ScreenPixel(s->ClientToScreen(p)) == RGB(0, 0, 0);
  });
  return look;
}

// Runs `tick` from a thread timer, so it also runs inside the splash's own
// message loop and the About box's modal loop.
class TTicker {
 public:
  explicit TTicker(std::function<void()> tick) : tick_(std::move(tick)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 50, Run);
  }
  ~TTicker() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }

 private:
  static void CALLBACK Run(HWND, UINT, UINT_PTR, DWORD) {
    if (current_) current_->tick_();
  }
  static inline TTicker* current_ = nullptr;
  std::function<void()> tick_;
  UINT_PTR timer_;
};

class Splash : public ::testing::Test {
 protected:
  void SetUp() override {
    real_input::MouseAt(POINT{5, 5}, 0);  // away from where the splash shows
    Pump(5);
  }
  static std::string ShotPath(const char* name) { return std::string(MV_BINARY_DIR) + "/" + name; }
  const TPixmap picture_ = DecodeJpeg(LoadSplashPicture());
};

TEST_F(Splash, ShowsCentredWithPictureAndOutlineThenClosesByItself) {
  ASSERT_EQ(picture_.Width, kSplashWidth);
  TSplashLook seen;
  bool looked = false, shot = false;
  TTicker ticker([&] {
    TSplashfm* s = VisibleSplash();
    if (!s || (looked && seen.PictureShows && seen.EdgesBlack)) return;
    seen = Look(s, picture_);
    looked = true;
    if (seen.PictureShows && !shot)
      shot = SaveScreenAround(s->Handle(), 0, 0, ShotPath("splash_shot.bmp"));
  });
  const DWORD start = GetTickCount();
  ShowSplash(2500);
  const DWORD passed = GetTickCount() - start;
  ASSERT_TRUE(looked) << "the splash never showed";
  EXPECT_GE(passed, 2500u);
  EXPECT_FALSE(AnySplash());
  EXPECT_EQ(seen.Window.right - seen.Window.left, kSplashWidth);
  EXPECT_EQ(seen.Window.bottom - seen.Window.top, kSplashHeight);
  const RECT screen = ScreenRect();
  EXPECT_NEAR((seen.Window.left + seen.Window.right) / 2, screen.right / 2, 1);
  EXPECT_NEAR((seen.Window.top + seen.Window.bottom) / 2, screen.bottom / 2, 1);
  EXPECT_EQ(seen.Tag, 99);
  EXPECT_FALSE(seen.ButtonVisible);
  EXPECT_TRUE(seen.PictureShows);
  EXPECT_TRUE(seen.EdgesBlack);
  EXPECT_TRUE(seen.LabelTransparent);
  EXPECT_TRUE(shot);
}

TEST_F(Splash, PictureThatDoesNotDecodeLeavesAPlainFaceWithTheLabel) {
  auto* s = new TSplashfm(Application);
  s->AfterConstruction();
  const std::vector<uint8_t> damaged = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x03, 0x01};
  EXPECT_FALSE(s->LoadPicture(damaged));
  s->Show();
  s->Update();
  const POINT face{400, 100};
  EXPECT_TRUE(PumpUntil([&] {
    return ScreenPixel(s->ClientToScreen(face)) == ColorToRGB(s->Color()) &&
           ScreenPixel(s->ClientToScreen(POINT{s->Width() - 1, 40})) == RGB(0, 0, 0);
  }));
  EXPECT_EQ(s->Width(), kSplashWidth);
  EXPECT_EQ(s->Height(), kSplashHeight);
  EXPECT_TRUE(s->Label1->Visible());
  EXPECT_NE(s->Label1->Caption().find("Tessaly"), std::string::npos);
  s->Free();
}

TEST_F(Splash, AboutShowsTheButtonAndItsClickClosesWithOk) {
  bool button_shown = false, clicked = false, shot = false;
  const DWORD deadline = GetTickCount() + 20000;
  TTicker ticker([&] {
    TSplashfm* s = VisibleSplash();
    if (!s || !s->Modal()) return;
    if (GetTickCount() > deadline) {
      s->SetModalResult(mrCancel);  // a failing test ends instead of hanging
      return;
    }
    if (clicked || !s->Button1->Visible() || !IsWindowVisible(s->Button1->Handle())) return;
    if (!Look(s, picture_).PictureShows) return;  // painted
    button_shown = true;
    shot = SaveScreenAround(s->Handle(), 0, 0, ShotPath("about_shot.bmp"));
    const POINT centre =
        s->Button1->ClientToScreen(POINT{s->Button1->Width() / 2, s->Button1->Height() / 2});
    INPUT click[3] = {real_input::MouseInput(centre, 0),
                      real_input::MouseInput(centre, MOUSEEVENTF_LEFTDOWN),
                      real_input::MouseInput(centre, MOUSEEVENTF_LEFTUP)};
    SendInput(3, click, sizeof(INPUT));
    clicked = true;
  });
  const int result = ShowAboutBox(nullptr);
  EXPECT_TRUE(button_shown);
  EXPECT_EQ(result, mrOk);
  EXPECT_FALSE(AnySplash());
  EXPECT_TRUE(shot);
}

}  // namespace
