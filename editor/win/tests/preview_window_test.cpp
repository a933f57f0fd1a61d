// The preview driven as a user drives it: a package with frame pieces of
// colours of its own is opened, the sample form shows wearing it and is
// photographed into Image1; Test shows it modally and its buttons close it;
// the snapshot is written as a JPEG and read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "editor/jpeg_file.h"
#include "editor/snapshot_rules.h"
#include "editor_window_test.h"
#include "engine_win/skin_form_skinner.h"
#include "engine_win/skin_manage.h"
#include "format/bmp.h"
#include "format/file_io.h"
#include "main_form.h"
#include "real_input.h"
#include "sample_form.h"

namespace {

namespace fs = std::filesystem;
using namespace editor_window_test;

// The frame pieces' colours (0x00RRGGBB), one per border.
constexpr uint32_t kLeft = 0x00A000, kRight = 0x0000C8, kTop = 0xC80000, kBottom = 0xC8C800,
                   kEditedLeft = 0xF08020;

// A strip of `frames` frames side by side, each w by h, in one colour, with
// a 3 by 3 magenta corner at the top left (or right) of each frame.
std::vector<uint8_t> Strip(int frames, int w, int h, uint32_t colour, int magenta_corner) {
  TPixmap image(frames * w, h, 24);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < frames * w; ++x) {
      const int fx = x % w;
      const bool corner =
          y < 3 && ((magenta_corner < 0 && fx < 3) || (magenta_corner > 0 && fx >= w - 3));
      const uint32_t c = corner ? 0xFF00FF : colour;
      uint8_t* p = image.Row(y) + x * 3;
      p[0] = static_cast<uint8_t>(c), p[1] = static_cast<uint8_t>(c >> 8),
      p[2] = static_cast<uint8_t>(c >> 16);
    }
  }
  return EncodeBmp(image);
}

// The default skin with borders of our colours; left2.bmp waits for an edit.
std::vector<uint8_t> FramePackage() {
  const std::vector<TSkinFileEntry> pieces = {{"left.bmp", Strip(2, 5, 45, kLeft, -1)},
                                              {"right.bmp", Strip(2, 5, 45, kRight, 1)},
                                              {"top.bmp", Strip(1, 80, 60, kTop, 0)},
                                              {"bottom.bmp", Strip(1, 80, 10, kBottom, 0)}};
  TSkinReader reader;
  EXPECT_TRUE(reader.LoadFromStream(DefaultSkinWith({})));
  TSkinWriter writer;
  for (int i = 0; i < reader.Count(); ++i) {
    const std::string& name = reader.Names()[static_cast<size_t>(i)];
    auto own = std::find_if(pieces.begin(), pieces.end(),
                            [&](const TSkinFileEntry& e) { return e.Name == name; });
    if (own != pieces.end()) {
      writer.AddMember(name, own->Bytes);
    } else {
      writer.AddMember(name, reader.Member(i));
    }
  }
  writer.AddMember("left2.bmp", Strip(2, 5, 45, kEditedLeft, -1));
  return writer.SaveToBytes();
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(d) > tolerance) return false;
  }
  return true;
}

COLORREF ToRGB(COLORREF bgr) {
  return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

class PreviewWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    real_input::MouseAt({2, 2}, 0);
    static std::atomic<int> counter{0};
    folder_ = fs::temp_directory_path() / ("mv_preview_" + std::to_string(GetCurrentProcessId()) +
                                           "_" + std::to_string(counter++));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    form_ = new TMainfm(nullptr, folder_.string());
    form_->AfterConstruction();
    form_->SetWindowState(TWindowState::wsNormal);
    form_->SetBounds(0, 0, 1200, 900);
    form_->Show();
    SetForegroundWindow(form_->Handle());
    Pump(20);
    package_ = (folder_ / "frame.skn").string();
    WriteFileAtomic(package_, FramePackage());
  }
  void TearDown() override {
    SetFileDialogHook(nullptr);
    CloseEditor(form_, folder_);
  }
  // Waits until `count` photographs were taken and the sample form is gone.
  bool PhotographTaken(int count) {
    return PumpUntil([&] {
      return form_->PhotographCount() >= count && form_->SampleForm() &&
             !form_->SampleForm()->Visible();
    });
  }
  TPixmap Photograph() const { return form_->Image1->Picture()->Bitmap().ToImage(); }
  SIZE SampleSize() const {
    RECT r{};
    GetWindowRect(form_->SampleForm()->Handle(), &r);
    return {r.right - r.left, r.bottom - r.top};
  }
  uint32_t PaneColour() const { return ToRGB(ColorToRGB(form_->winPanel->Color())); }
  // Each border's middle pixel of the photograph has that border's colour.
  void ExpectBorders(const TPixmap& photo, uint32_t left) {
    const int w = photo.Width, h = photo.Height;
    EXPECT_EQ(photo.PixelRGB(2, h / 2), left);
    EXPECT_EQ(photo.PixelRGB(w - 3, h / 2), kRight);
    EXPECT_EQ(photo.PixelRGB(w / 2, h - 3), kBottom);
    EXPECT_EQ(photo.PixelRGB(w / 2, 1), kTop);
  }

  fs::path folder_;
  std::string package_;
  TMainfm* form_ = nullptr;
};

TEST_F(PreviewWindow, OpeningPhotographsTheSampleFormWearingTheSkin) {
  form_->OpenSkinFile(package_);
  EXPECT_FALSE(form_->PreviewBtn->Enabled());  // no photograph yet
  ASSERT_TRUE(PhotographTaken(1));
  TForm1* sample = form_->SampleForm();
  EXPECT_EQ(WindowClassName(sample->Handle()), "TForm1");
  EXPECT_EQ(sample->PageControl1->ActivePage(), sample->TabSheet2);

  const TPixmap photo = Photograph();
  const SIZE size = SampleSize();
  ASSERT_EQ(photo.Width, size.cx);
  ASSERT_EQ(photo.Height, size.cy);
  ExpectBorders(photo, kLeft);
  // The magenta corners are outside the window's region: the pane shows.
  EXPECT_EQ(photo.PixelRGB(0, 0), PaneColour());
  EXPECT_EQ(photo.PixelRGB(photo.Width - 1, 0), PaneColour());
  EXPECT_NE(photo.PixelRGB(3, 0), PaneColour());
  EXPECT_TRUE(form_->PreviewBtn->Enabled());

  // Only the sample form wears the skin; the editor's window does not.
  EXPECT_EQ(ManagedFormSkinner(form_->Handle()), nullptr);
  EXPECT_NE(ManagedFormSkinner(sample->Handle()), nullptr);
  EXPECT_EQ(form_->Tag(), 99);
}

TEST_F(PreviewWindow, TwoRefreshesTakeOnePhotographAndCloseTheFormOnce) {
  form_->OpenSkinFile(package_);
  ASSERT_TRUE(PhotographTaken(1));
  int hides = 0;
  form_->SampleForm()->OnHide = [&](TObject*) { ++hides; };
  form_->RefreshBtn->Click();
  Pump(3);
  form_->RefreshPreview();
  ASSERT_TRUE(PhotographTaken(2));
  // Another photograph would come 600 ms after the first Refresh.
  EXPECT_FALSE(PumpUntil([&] { return form_->PhotographCount() > 2; }, 1500));
  EXPECT_EQ(hides, 1);
}

TEST_F(PreviewWindow, RefreshAfterAnEditWritesThePackageAndShowsTheEdit) {
  form_->OpenSkinFile(package_);
  ASSERT_TRUE(PhotographTaken(1));
  form_->Document().Ini().WriteString("Personality", "Left", "left2.bmp");
  form_->Document().SetModified(true);
  form_->Refresh1->Click();
  ASSERT_TRUE(PhotographTaken(2));
  EXPECT_FALSE(form_->Modified());
  EXPECT_EQ(IniOf(package_).ReadString("Personality", "Left", ""), "left2.bmp");
  ExpectBorders(Photograph(), kEditedLeft);
}

TEST_F(PreviewWindow, PhotographIsOfTheSampleFormNotTheFirstSkinnedForm) {
  // Another window of the sample's class, skinned before it.
  auto* other = new TForm1(form_);
  other->AfterConstruction();
  other->SetBounds(20, 500, 420, 200);
  other->Show();
  ASSERT_TRUE(PumpUntil([&] { return ManagedFormSkinner(other->Handle()) != nullptr; }));
  form_->OpenSkinFile(package_);
  ASSERT_TRUE(PhotographTaken(1));
  ASSERT_NE(SkinManager->SkinnedForms().front()->Window(), form_->SampleForm()->Handle());
  const SIZE size = SampleSize();
  EXPECT_EQ(Photograph().Width, size.cx);
  EXPECT_EQ(Photograph().Height, size.cy);
}

// Clicks a button of the modal sample form once it shows skinned.
class TModalClicker {
 public:
  TModalClicker(TMainfm* form, std::function<TButton*(TForm1*)> button) {
    timer_ = new TTimer(form);
    timer_->SetInterval(50);
    timer_->OnTimer = [this, form, button](TObject*) {
      TForm1* sample = form->SampleForm();
      if (!sample || !sample->Visible() || clicked_) return;
      if (++ticks_ > 200) {  // never shown skinned: end it, the test fails
        sample->SetModalResult(mrAbort);
        return;
      }
      if (!sample->Modal() || !ManagedFormSkinner(sample->Handle())) return;
      skinned_ = true;
      clicked_ = true;
      TButton* b = button(sample);
      const POINT at = b->ClientToScreen(POINT{b->Width() / 2, b->Height() / 2});
      INPUT in[3] = {real_input::MouseInput(at, 0),
                     real_input::MouseInput(at, MOUSEEVENTF_LEFTDOWN),
                     real_input::MouseInput(at, MOUSEEVENTF_LEFTUP)};
      SendInput(3, in, sizeof(INPUT));
    };
  }
  ~TModalClicker() { timer_->Free(); }
  bool Skinned() const { return skinned_; }

 private:
  TTimer* timer_;
  int ticks_ = 0;
  bool clicked_ = false, skinned_ = false;
};

TEST_F(PreviewWindow, TestShowsTheSkinnedFormModallyUntilItsButtonsCloseIt) {
  form_->OpenSkinFile(package_);
  ASSERT_TRUE(PhotographTaken(1));
  TForm1* sample = form_->SampleForm();
  const HWND window = sample->Handle();
  struct Row {
    const char* name;
    std::function<TButton*(TForm1*)> button;
    int result;
  };
  const Row rows[] = {{"OK", [](TForm1* f) { return f->Button2; }, mrOk},
                      {"Cancel", [](TForm1* f) { return f->Button1; }, mrCancel}};
  for (const Row& r : rows) {
    TModalClicker clicker(form_, r.button);
    const POINT test = form_->ToolBar1->ClientToScreen(
        POINT{form_->PreView->Left() + 8, form_->PreView->Top() + 8});
    ClickAt(test);  // runs the modal loop until the button closes it
    ASSERT_TRUE(PumpUntil([&] { return !sample->Visible(); })) << r.name;
    EXPECT_TRUE(clicker.Skinned()) << r.name;
    EXPECT_EQ(sample->ModalResult(), r.result) << r.name;
    // Hidden, not destroyed: the same form and window next time.
    EXPECT_EQ(form_->SampleForm(), sample) << r.name;
    EXPECT_TRUE(IsWindow(window)) << r.name;
  }
  EXPECT_EQ(sample->Button2->Caption(), "&Change");  // Cancel's click
}

TEST_F(PreviewWindow, TestRightAfterRefreshStillOpensTheForm) {
  form_->OpenSkinFile(package_);
  ASSERT_TRUE(PhotographTaken(1));
  form_->RefreshPreview();
  ASSERT_TRUE(form_->SampleForm()->Visible());
  TModalClicker clicker(form_, [](TForm1* f) { return f->Button2; });
  form_->TestSkin();
  EXPECT_TRUE(clicker.Skinned());
  EXPECT_EQ(form_->SampleForm()->ModalResult(), mrOk);
}

TEST_F(PreviewWindow, SnapshotIsAJpegOfThePhotographNeverOverThePackage) {
  form_->OpenSkinFile(package_);
  ASSERT_TRUE(PhotographTaken(1));
  const TPixmap photo = Photograph();
  std::string chosen, proposed;
  SetFileDialogHook([&](TOpenDialog& dialog, bool save) {
    EXPECT_TRUE(save);
    EXPECT_EQ(dialog.Filter(), "Jpeg files (*.jpg)|*.jpg");
    EXPECT_EQ(dialog.DefaultExt(), "Jpg");
    proposed = dialog.FileName();
    dialog.SetFileName(chosen);
    return true;
  });

  // A name without extension gets ".Jpg".
  chosen = (folder_ / "shot").string();
  ClickAt(form_->ToolBar1->ClientToScreen(
      POINT{form_->PreviewBtn->Left() + 8, form_->PreviewBtn->Top() + 8}));
  EXPECT_EQ(proposed, (folder_ / "frame.jpg").string());
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadFileBytes(chosen + ".Jpg", bytes));
  const TPixmap jpeg = DecodeJpeg(bytes);
  ASSERT_EQ(jpeg.Width, photo.Width);
  ASSERT_EQ(jpeg.Height, photo.Height);
  for (POINT p :
       {POINT{2, photo.Height / 2}, POINT{photo.Width - 3, photo.Height / 2},
        POINT{photo.Width / 2, photo.Height - 3}, POINT{photo.Width / 2, photo.Height / 3}})
    EXPECT_TRUE(Near(jpeg.PixelRGB(p.x, p.y), photo.PixelRGB(p.x, p.y), 24)) << p.x << "," << p.y;

  // The package itself, in any letter case: refused, untouched.
  std::vector<uint8_t> package_before;
  ReadFileBytes(package_, package_before);
  std::string upper = package_;
  for (char& c : upper)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  chosen = upper;
  {
    TMessageBoxLog boxes;
    form_->SaveSnapshot();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text, kSnapshotOverPackageMessage);
  }
  std::vector<uint8_t> package_after;
  ReadFileBytes(package_, package_after);
  EXPECT_EQ(package_after, package_before);

  // An existing file is replaced only when the user agrees.
  chosen = (folder_ / "old.jpg").string();
  WriteFileAtomic(chosen, std::string("old"));
  for (int answer : {IDNO, IDYES}) {
    TMessageBoxLog boxes(answer);
    form_->SaveSnapshot();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text, ReplaceSnapshotQuestion(chosen));
    ReadFileBytes(chosen, bytes);
    EXPECT_EQ(bytes.size() == 3, answer == IDNO);
  }

  // A file that cannot be written ends in an error box, nothing else.
  chosen = (folder_ / "no such folder" / "shot.jpg").string();
  {
    TMessageBoxLog boxes;
    form_->SaveSnapshot();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text.rfind(SnapshotFailureText(""), 0), 0u);
    EXPECT_TRUE(boxes.Calls()[0].Flags & MB_ICONERROR);
  }
  EXPECT_FALSE(FileExists(chosen));
}

}  // namespace
