// The form skinner made by the manager: only the windows the rules pick are
// skinned, the client size stays, and windows and components may go in any
// order.
#include <gtest/gtest.h>

#include "engine/skin_stream.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_form.h"
#include "engine_win/skin_form_skinner.h"
#include "engine_win/skin_manage.h"
#include "framework/forms.h"
#include "test_skin.h"
#include "window_probe.h"

namespace {

using namespace window_probe;

class TSkinnedForm : public TForm {
  MV_CLASS(TSkinnedForm, TForm)
 public:
  using TForm::TForm;
};

class SkinFormManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FreeSkinManager();
    InstallFormSkinnerFactory();
    host_ = Create<TForm>(Application);
    data_ = Create<TSkinData>(host_);
    data_->BeginReading();
    data_->ReadSkinStream(WriteSkinStream(MakeTestSkin().Package()));
    data_->SetActive(true);
    data_->Loaded();
    ASSERT_FALSE(data_->SkinEmpty());
  }
  void TearDown() override {
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it)
      (*it)->Free();
    if (host_) host_->Free();
    FreeSkinManager();
    SetSkinnerFactory(nullptr);
    PumpUntil([] { return false; }, 30);
  }
  TSkinnedForm* NewForm(intptr_t tag = 0) {
    auto* f = Create<TSkinnedForm>(Application);
    f->SetTag(tag);
    f->SetBounds(120, 120, 360, 240);
    forms_.push_back(f);
    return f;
  }
  static bool Skinned(HWND w) { return SendMessageA(w, kSkmIsSkinned, 0, 0) == 1; }

  TForm* host_ = nullptr;
  TSkinData* data_ = nullptr;
  std::vector<TSkinnedForm*> forms_;
};

TEST_F(SkinFormManagerTest, OnlyTheChosenFormIsSkinnedAndKeepsItsClientSize) {
  TSkinnedForm* form = NewForm();
  TSkinnedForm* tagged = NewForm(99);  // tag 99: never skinned
  // The component's events see each skinned window: before with the form,
  // after with the form once the frame is on.
  std::vector<std::string> events;
  data_->OnBeforeSkinForm = [&](TObject*, HWND w, const std::string& name) {
    events.push_back("before " + name + (w == form->Handle() ? " form" : " other"));
  };
  data_->OnAfterSkinForm = [&](TObject* sender, HWND w, const std::string& name) {
    events.push_back("after " + name +
                     (w == form->Handle() && sender == form ? " form" : " other"));
  };
  form->HandleNeeded();
  RECT before;
  GetClientRect(form->Handle(), &before);
  form->Show();
  tagged->Show();
  ASSERT_TRUE(PumpUntil([&] { return Skinned(form->Handle()); }, 2000));
  EXPECT_FALSE(Skinned(tagged->Handle()));
  EXPECT_EQ(events,
            (std::vector<std::string>{"before TSkinnedForm form", "after TSkinnedForm form"}));
  TWinSkinForm* skinner = ManagedFormSkinner(form->Handle());
  ASSERT_NE(skinner, nullptr);
  EXPECT_EQ(skinner->Metrics().Top, 24);
  RECT after;
  GetClientRect(form->Handle(), &after);
  EXPECT_EQ(after.right, before.right);
  EXPECT_EQ(after.bottom, before.bottom);
  // Reloading (the skin's content read again) keeps the client size.
  SkinManager->ActionTarget = data_;
  SkinManager->FindFormSkinner(form->Handle())->DropTitleButtons();
  SkinManager->FindFormSkinner(form->Handle())->Reload();
  GetClientRect(form->Handle(), &after);
  EXPECT_EQ(after.bottom, before.bottom);
  // Destroying the skinned window frees its skinner without a crash.
  HWND h = form->Handle();
  form->Free();
  forms_.erase(forms_.begin());
  PumpUntil([] { return false; }, 30);
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(ManagedFormSkinner(h), nullptr);
}

TEST_F(SkinFormManagerTest, DestroyingTheComponentUnskinsItsWindows) {
  TSkinnedForm* form = NewForm();
  form->HandleNeeded();
  RECT outer_before;
  GetWindowRect(form->Handle(), &outer_before);
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return Skinned(form->Handle()); }, 2000));
  data_->Free();
  data_ = nullptr;
  PumpUntil([] { return false; }, 30);
  EXPECT_FALSE(Skinned(form->Handle()));
  RECT outer;
  GetWindowRect(form->Handle(), &outer);
  EXPECT_EQ(outer.right - outer.left, outer_before.right - outer_before.left);
  EXPECT_EQ(outer.bottom - outer.top, outer_before.bottom - outer_before.top);
  // The window still works.
  SetWindowPos(form->Handle(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  PumpUntil([] { return false; }, 20);
  EXPECT_TRUE(IsWindow(form->Handle()));
}

}  // namespace
