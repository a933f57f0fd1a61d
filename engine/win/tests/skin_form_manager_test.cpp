// The form skinner made by the manager: only the windows the rules pick are
// skinned, the client size stays, and windows and components may go in any
// order.
#include <gtest/gtest.h>

#include "engine/skin_stream.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_form.h"
#include "engine_win/skin_form_skinner.h"
#include "engine_win/skin_manage.h"
#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/grids.h"
#include "framework/menus.h"
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
  // A skin change at run time: the component reads the package and the
  // manager reloads its windows a little later.
  void ChangeSkin(const std::vector<uint8_t>& package) {
    ASSERT_TRUE(data_->ReadSkinStream(WriteSkinStream(package)));
  }

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

// The test skin with another [Colours] ButtonFace (and its other options).
std::vector<uint8_t> SkinWithFace(const std::string& face, TTestSkinOptions o = {}) {
  TTestSkin t = MakeTestSkin(o);
  std::string ini(t.Members[0].Bytes.begin(), t.Members[0].Bytes.end());
  const std::string key = "ButtonFace=40 90 160";
  const size_t at = ini.find(key);
  EXPECT_NE(at, std::string::npos);
  if (at != std::string::npos) ini.replace(at, key.size(), "ButtonFace=" + face);
  t.Members[0].Bytes.assign(ini.begin(), ini.end());
  return t.Package();
}

bool SameBounds(const TControl& c, const RECT& r) {
  return c.Left() == r.left && c.Top() == r.top && c.Width() == r.right - r.left &&
         c.Height() == r.bottom - r.top;
}

// A skin with thicker borders arrives: the frame keeps the client area of a
// normal form, and a maximised form (whose outer size stays) gets its
// controls aligned with the smaller client area the new frame leaves.
TEST_F(SkinFormManagerTest, SkinChangeAlignsTheFormsControlsWithTheNewClientArea) {
  for (const bool maximised : {false, true}) {
    TSkinnedForm* form = NewForm();
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetAlign(TAlign::alClient);
    if (maximised) form->SetWindowState(TWindowState::wsMaximized);
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return Skinned(form->Handle()); }, 2000));
    TWinSkinForm* skinner = ManagedFormSkinner(form->Handle());
    ASSERT_NE(skinner, nullptr);
    const int top_before = skinner->Metrics().Top;
    RECT client_before;
    GetClientRect(form->Handle(), &client_before);
    ChangeSkin(SkinWithFace("40 90 160", {.Grow = 4}));
    ASSERT_TRUE(PumpUntil([&] { return skinner->Metrics().Top == top_before + 4; }, 3000));
    RECT client;
    auto aligned = [&] {
      GetClientRect(form->Handle(), &client);
      return SameBounds(*panel, client);
    };
    EXPECT_TRUE(PumpUntil(aligned, 1000))
        << (maximised ? "maximised" : "normal") << ": panel " << panel->Width() << "x"
        << panel->Height() << ", client " << client.right << "x" << client.bottom;
    if (!maximised) {
      EXPECT_EQ(client.right, client_before.right);
      EXPECT_EQ(client.bottom, client_before.bottom);
    } else {
      EXPECT_LT(client.bottom, client_before.bottom);  // the frame did grow
    }
    ChangeSkin(MakeTestSkin().Package());  // the next round starts from the test skin
    ASSERT_TRUE(PumpUntil([&] { return skinner->Metrics().Top == top_before; }, 3000));
    form->Free();
    forms_.clear();
    PumpUntil([] { return false; }, 30);
  }
}

// A skin change gives the new face colour to the form, the forms it owns
// and their grids' fixed cells, and makes the popup menus they own owner drawn
// again (not one whose Tag is the component's DisableTag); unskinning gives
// back the look of the menus it switched only.
TEST_F(SkinFormManagerTest, SkinChangeRecoloursAndOwnerDrawsPopupMenusAgain) {
  TSkinnedForm* form = NewForm();
  auto* grid = new TDrawGrid(form);
  grid->SetParent(form);
  auto* owned = Create<TForm>(form);  // owned, never shown
  auto* owned_grid = new TDrawGrid(owned);
  owned_grid->SetParent(owned);
  auto* popup = new TPopupMenu(form);
  auto* disabled = new TPopupMenu(form);
  disabled->SetTag(data_->DisableTag());
  auto* own_drawn = new TPopupMenu(form);  // the application's own owner draw
  own_drawn->SetOwnerDraw(true);
  auto* owned_popup = new TPopupMenu(owned);
  for (TPopupMenu* p : {popup, disabled, own_drawn, owned_popup}) {
    auto* item = new TMenuItem(p);
    item->SetCaption("Entry");
    p->Items()->Add(item);
  }
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return Skinned(form->Handle()); }, 2000));
  ChangeSkin(SkinWithFace("10 120 70"));
  const TColor face = RGBColour(10, 120, 70);
  ASSERT_TRUE(PumpUntil([&] { return form->Color() == face; }, 3000));
  EXPECT_EQ(grid->FixedColor(), face);
  EXPECT_EQ(owned->Color(), face);
  EXPECT_EQ(owned_grid->FixedColor(), face);
  EXPECT_TRUE(popup->OwnerDraw());
  EXPECT_TRUE(owned_popup->OwnerDraw());
  EXPECT_FALSE(disabled->OwnerDraw());
  EXPECT_TRUE(own_drawn->OwnerDraw());
  // Switched off meanwhile (a menu rebuilt by the application): on again at
  // the next change.
  popup->SetOwnerDraw(false);
  ChangeSkin(SkinWithFace("70 20 120"));
  ASSERT_TRUE(PumpUntil([&] { return form->Color() == RGBColour(70, 20, 120); }, 3000));
  EXPECT_TRUE(popup->OwnerDraw());

  data_->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return !Skinned(form->Handle()); }, 3000));
  EXPECT_FALSE(popup->OwnerDraw());
  EXPECT_FALSE(owned_popup->OwnerDraw());
  EXPECT_FALSE(disabled->OwnerDraw());
  EXPECT_TRUE(own_drawn->OwnerDraw());
}

// A form made active while still hidden, before its skin component was set
// up (as a main form can be while it is created): the manager's hook was not
// there to see that activation, and showing a window that is active already
// activates nothing.
class SkinFormActivatedEarlyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FreeSkinManager();
    InstallFormSkinnerFactory();
    form_ = Create<TSkinnedForm>(Application);
    form_->SetBounds(120, 120, 360, 240);
    form_->HandleNeeded();
    SetActiveWindow(form_->Handle());
    ASSERT_EQ(GetActiveWindow(), form_->Handle());
    ASSERT_FALSE(IsWindowVisible(form_->Handle()));
  }
  void TearDown() override {
    if (form_) form_->Free();
    FreeSkinManager();
    SetSkinnerFactory(nullptr);
    PumpUntil([] { return false; }, 30);
  }
  // The form's own component with the test skin, set up as after reading.
  TSkinData* LoadData(bool active) {
    auto* d = Create<TSkinData>(form_);
    d->BeginReading();
    d->ReadSkinStream(WriteSkinStream(MakeTestSkin().Package()));
    d->SetActive(active);
    d->Loaded();
    EXPECT_FALSE(d->SkinEmpty());
    return d;
  }
  bool FormSkinned() const { return SendMessageA(form_->Handle(), kSkmIsSkinned, 0, 0) == 1; }

  TSkinnedForm* form_ = nullptr;
};

TEST_F(SkinFormActivatedEarlyTest, IsSkinnedWhenShown) {
  LoadData(true);
  form_->Show();
  EXPECT_TRUE(PumpUntil([&] { return FormSkinned(); }, 2000));
  EXPECT_NE(ManagedFormSkinner(form_->Handle()), nullptr);
}

// Skinning switched on while the form is still hidden: the pass over the
// forms takes the active one too, since no activation will come for it.
TEST_F(SkinFormActivatedEarlyTest, IsSkinnedWhenSkinningIsSwitchedOnBeforeItShows) {
  TSkinData* d = LoadData(false);
  bool switched = false;
  d->OnSkinChanged = [&](TObject*) { switched = true; };
  d->SetActive(true);
  ASSERT_TRUE(PumpUntil([&] { return switched; }, 2000));
  ASSERT_FALSE(IsWindowVisible(form_->Handle()));
  form_->Show();
  EXPECT_TRUE(PumpUntil([&] { return FormSkinned(); }, 2000));
}

TMainMenu* MenuOf(TForm* form, std::initializer_list<const char*> captions) {
  auto* menu = new TMainMenu(form);
  for (const char* c : captions) {
    auto* top = new TMenuItem(menu);
    top->SetCaption(c);
    auto* entry = new TMenuItem(menu);
    entry->SetCaption("Entry");
    top->Add(entry);
    menu->Items()->Add(top);
  }
  return menu;
}

std::vector<std::wstring> BarCaptions(const TWinSkinForm& f) {
  std::vector<std::wstring> out;
  for (const auto& item : f.MenuItems())
    out.push_back(item->Caption);
  return out;
}

// What the component says is read while the window is skinned: SkinControls
// when the frame is attached (after OnBeforeSkinForm had its say), MenuUpdate
// at each menu change, the tool-bar options at each painting.
TEST_F(SkinFormManagerTest, SwitchesAreReadFromTheComponentWhenNeeded) {
  // The event takes the frame off for this form only.
  TSkinnedForm* plain = NewForm();
  plain->SetMenu(MenuOf(plain, {"&File"}));
  data_->OnBeforeSkinForm = [&](TObject*, HWND w, const std::string&) {
    TSkinControlTypes kinds = data_->SkinControls();
    if (w == plain->Handle())
      kinds.Exclude(xcMainMenu);
    else
      kinds.Include(xcMainMenu);
    data_->SetSkinControls(kinds);
  };
  plain->HandleNeeded();
  RECT outer_before;
  GetWindowRect(plain->Handle(), &outer_before);
  plain->Show();
  ASSERT_TRUE(PumpUntil([&] { return Skinned(plain->Handle()); }, 2000));
  TWinSkinForm* bare_frame = ManagedFormSkinner(plain->Handle());
  ASSERT_NE(bare_frame, nullptr);
  EXPECT_EQ(bare_frame->Data(), data_);
  EXPECT_EQ(bare_frame->Metrics().Top, 0);
  EXPECT_NE(GetMenu(plain->Handle()), nullptr);  // the native bar stays
  RECT outer;
  GetWindowRect(plain->Handle(), &outer);
  EXPECT_EQ(outer.bottom - outer.top, outer_before.bottom - outer_before.top);

  TSkinnedForm* form = NewForm();
  form->SetMenu(MenuOf(form, {"&One"}));
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return Skinned(form->Handle()); }, 2000));
  TWinSkinForm* skinner = ManagedFormSkinner(form->Handle());
  ASSERT_NE(skinner, nullptr);
  EXPECT_EQ(skinner->Metrics().Top, 24);
  EXPECT_EQ(BarCaptions(*skinner), std::vector<std::wstring>{L"&One"});
  data_->SetMenuUpdate(false);
  form->SetMenu(MenuOf(form, {"&Two", "&Three"}));
  EXPECT_EQ(BarCaptions(*skinner), std::vector<std::wstring>{L"&One"});
  data_->SetMenuUpdate(true);
  form->SetMenu(MenuOf(form, {"&Four"}));
  EXPECT_EQ(BarCaptions(*skinner), std::vector<std::wstring>{L"&Four"});

  // The tool-bar background painter, into a bitmap filled with a marker.
  auto paints_background = [&] {
    TNativeBitmap mem(40, 40);
    TMemoryDC mdc(mem);
    RECT r{0, 0, 40, 40};
    HBRUSH marker = CreateSolidBrush(RGB(1, 2, 3));
    FillRect(mdc.Handle(), &r, marker);
    DeleteObject(marker);
    skinner->PaintToolbarBackground(mdc.Handle(), r);
    GdiFlush();
    return GetPixel(mdc.Handle(), 20, 20) != RGB(1, 2, 3);
  };
  TSkinOptions options = data_->Options();
  EXPECT_TRUE(options.Has(xoToolbarBK));  // the component's default
  EXPECT_FALSE(paints_background());
  options.Exclude(xoToolbarBK);
  data_->SetOptions(options);
  EXPECT_TRUE(paints_background());
  options.Include(xoToolbarBK);
  data_->SetOptions(options);
  EXPECT_FALSE(paints_background());
}

}  // namespace
