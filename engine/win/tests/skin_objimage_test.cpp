// Check boxes and radio buttons of other component libraries: the control
// pass recognises them by class, hands them the skin's cells rearranged into
// their own glyph strip through their picture properties, and takes the
// strip back at detaching. The controls here stand in for such libraries:
// they publish the properties those libraries have and record what is set.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "engine/check_rules.h"
#include "engine/image_ops.h"
#include "engine/skin_stream.h"
#include "engine_controls/control_list.h"
#include "engine_controls/skin_objimage.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "framework/forms.h"
#include "framework/graphics.h"
#include "framework/props.h"
#include "test_skin.h"
#include "window_probe.h"

// A check box (or, with the radio class below, a radio button) that draws
// from its CustomGlyphs picture while UseCustomGlyphs is on.
class TRzCheckBox : public TCustomControl {
  MV_CLASS(TRzCheckBox, TCustomControl)
 public:
  explicit TRzCheckBox(TComponent* owner) : TCustomControl(owner) {}
  static void PublishProperties(TClassInfo& info) {
    TPublisher<TRzCheckBox>(info)
        .Object("CustomGlyphs", &TRzCheckBox::CustomGlyphs)
        .Integer("TransparentColor", &TRzCheckBox::TransparentColor,
                 &TRzCheckBox::SetTransparentColor)
        .Boolean("UseCustomGlyphs", &TRzCheckBox::UseCustomGlyphs,
                 &TRzCheckBox::SetUseCustomGlyphs);
  }
  TPicture* CustomGlyphs() const { return glyphs_.get(); }
  int TransparentColor() const { return transparent_; }
  void SetTransparentColor(int v) { transparent_ = v; }
  bool UseCustomGlyphs() const { return use_; }
  void SetUseCustomGlyphs(bool v) {
    if (v && !use_) ++reloads;
    use_ = v;
  }
  int reloads = 0;

 private:
  std::unique_ptr<TPicture> glyphs_ = std::make_unique<TPicture>();
  int transparent_ = 0;
  bool use_ = false;
};

class TRzRadioButton : public TRzCheckBox {
  MV_CLASS(TRzRadioButton, TRzCheckBox)
 public:
  using TRzCheckBox::TRzCheckBox;
};

// The settings object of the second library's check box.
class TCxCheckProperties : public TPersistent {
  MV_CLASS(TCxCheckProperties, TPersistent)
 public:
  static void PublishProperties(TClassInfo& info) {
    TPublisher<TCxCheckProperties>(info).Object("Glyph", &TCxCheckProperties::Glyph);
  }
  TPicture* Glyph() const { return glyph_.get(); }

 private:
  std::unique_ptr<TPicture> glyph_ = std::make_unique<TPicture>();
};

class TCxCheckBox : public TCustomControl {
  MV_CLASS(TCxCheckBox, TCustomControl)
 public:
  explicit TCxCheckBox(TComponent* owner) : TCustomControl(owner) {}
  static void PublishProperties(TClassInfo& info) {
    TPublisher<TCxCheckBox>(info).Object("Properties", &TCxCheckBox::Properties);
  }
  TCxCheckProperties* Properties() const { return properties_.get(); }

 private:
  std::unique_ptr<TCxCheckProperties> properties_ = std::make_unique<TCxCheckProperties>();
};

namespace {

using window_probe::PumpUntil;

class SkinObjImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallSystemColourResolver();
    skin_ = MakeTestSkin();
    form_ = new TForm(Application);
    form_->SetBounds(100, 100, 300, 200);
    data_ = new TSkinData(form_);
    data_->BeginReading();
    ASSERT_TRUE(data_->ReadSkinStream(WriteSkinStream(skin_.Package())));
    list_ = std::make_unique<TSkinControlList>(data_);
  }
  void TearDown() override {
    list_.reset();
    form_->Free();
    PumpUntil([] { return false; }, 20);
  }
  template <class T>
  T* Add(int y) {
    auto* c = new T(form_);
    c->SetBounds(10, y, 120, 20);
    c->SetParent(form_);
    return c;
  }
  // The strip a control of `kind` must get from the loaded skin.
  TPixmap Expected(int kind) const {
    const TDataSkinButton& b = data_->Content().Buttons;
    const bool radio = kind == 2;
    return BuildObjImageStrip(radio ? b.RadioBitmap : b.CheckBitmap,
                              CheckStripCells(radio ? b.RadioButtonFrame : b.CheckButtonFrame),
                              kind);
  }
  static void ExpectSamePixels(const TPixmap& got, const TPixmap& want) {
    ASSERT_GT(want.Width, 0);
    ASSERT_EQ(got.Width, want.Width);
    ASSERT_EQ(got.Height, want.Height);
    int differing = 0;
    for (int y = 0; y < want.Height; ++y)
      for (int x = 0; x < want.Width; ++x)
        differing += GetPixel(got, x, y) != GetPixel(want, x, y);
    EXPECT_EQ(differing, 0);
  }

  TTestSkin skin_;
  TForm* form_ = nullptr;
  TSkinData* data_ = nullptr;
  std::unique_ptr<TSkinControlList> list_;
};

TEST_F(SkinObjImageTest, LibraryControlsGetTheSkinCellsInTheirLayout) {
  auto* check = Add<TRzCheckBox>(10);
  auto* radio = Add<TRzRadioButton>(40);
  auto* cx = Add<TCxCheckBox>(70);
  form_->Show();
  list_->SkinFormControls(form_);

  ExpectSamePixels(check->CustomGlyphs()->Bitmap().ToImage(), Expected(1));
  ExpectSamePixels(radio->CustomGlyphs()->Bitmap().ToImage(), Expected(2));
  ExpectSamePixels(cx->Properties()->Glyph()->Bitmap().ToImage(), Expected(3));
  for (TRzCheckBox* c : {check, static_cast<TRzCheckBox*>(radio)}) {
    EXPECT_EQ(c->TransparentColor(), static_cast<int>(kMagenta));
    EXPECT_TRUE(c->UseCustomGlyphs());
    EXPECT_EQ(c->reloads, 1);  // switched off and on: the control reloaded
  }
  EXPECT_EQ(cx->Properties()->Glyph()->Bitmap().TransparentColor(), static_cast<TColor>(kMagenta));
  // Their own message handling is left alone.
  EXPECT_NE(list_->FindControl(check), nullptr);
}

TEST_F(SkinObjImageTest, DetachingTakesTheStripBackAndSkinChangesHandItOverAgain) {
  auto* check = Add<TRzCheckBox>(10);
  auto* cx = Add<TCxCheckBox>(70);
  form_->Show();
  list_->SkinFormControls(form_);
  ASSERT_TRUE(check->UseCustomGlyphs());

  list_->SkinChanged();
  EXPECT_EQ(check->reloads, 2);
  ExpectSamePixels(check->CustomGlyphs()->Bitmap().ToImage(), Expected(1));

  list_->DetachAll();
  EXPECT_FALSE(check->UseCustomGlyphs());
  EXPECT_EQ(cx->Properties()->Glyph()->Width(), 0);
}

TEST_F(SkinObjImageTest, ControlsWithoutThePropertiesOrASkinStripAreLeftAlone) {
  // A control without any of the picture properties.
  class TBare : public TCustomControl {
   public:
    using TCustomControl::TCustomControl;
  };
  auto* bare = Add<TBare>(10);
  auto* check = Add<TRzCheckBox>(40);
  auto* lone = new TSkinObjImage(bare, 1);  // nothing to hand over: no crash
  lone->AttachControl(list_.get(), data_, true, nullptr);
  EXPECT_TRUE(lone->Attached);
  lone->Detach();

  // A skin whose check strip is empty: the control keeps its own glyphs.
  TSkinData* empty = new TSkinData(form_);
  empty->BeginReading();
  std::string ini(skin_.Members[0].Bytes.begin(), skin_.Members[0].Bytes.end());
  const size_t at = ini.find("CheckButton=");
  ASSERT_NE(at, std::string::npos);
  ini.replace(at, 12, "NoCheckButton=");
  skin_.Members[0].Bytes.assign(ini.begin(), ini.end());
  ASSERT_TRUE(empty->ReadSkinStream(WriteSkinStream(skin_.Package())));
  TSkinControlList other(empty);
  form_->Show();
  other.SkinFormControls(form_);
  EXPECT_FALSE(check->UseCustomGlyphs());
  EXPECT_EQ(check->CustomGlyphs()->Width(), 0);
}

}  // namespace
