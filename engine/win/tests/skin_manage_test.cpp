// The manager: its hook sees real windows appear and decides which get a
// frame skinner; delayed actions; components that die while in use. The
// skinners are recording stand-ins made by a factory the tests install.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include <commctrl.h>

#include "default_skin.h"
#include "engine/skin_stream.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_manage.h"
#include "framework/dialogs.h"

namespace {

struct TLog {
  std::vector<std::string> Lines;
  void Add(const std::string& s) { Lines.push_back(s); }
  int Count(const std::string& s) const {
    int n = 0;
    for (const auto& l : Lines)
      if (l == s) ++n;
    return n;
  }
};

std::string Id(const void* p) {
  return std::to_string(reinterpret_cast<uintptr_t>(p));
}

class TRecordingSkinner : public TFormSkinner {
 public:
  TRecordingSkinner(HWND w, TSkinData* d, TLog* log) : window_(w), data_(d), log_(log) {}
  ~TRecordingSkinner() override { log_->Add("free " + Id(window_)); }
  HWND Window() const override { return window_; }
  TSkinData* SkinData() const override { return data_; }
  void Unskin() override { log_->Add("unskin " + Id(window_)); }
  void DropTitleButtons() override { log_->Add("drop " + Id(window_)); }
  void Reload() override { log_->Add("reload " + Id(window_)); }
  void TakeSizeGrip(HWND grip) override { log_->Add("grip " + Id(grip)); }
  bool IsMdiChild() const override {
    return (GetWindowLongPtrA(window_, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
  }
  void MdiMaximizedChanged(bool maximised) override {
    log_->Add(std::string(maximised ? "maximised " : "restored ") + Id(window_));
  }

 private:
  HWND window_;
  TSkinData* data_;
  TLog* log_;
};

class TRecordingPopup : public TPopupSkinner {
 public:
  TRecordingPopup(HWND w, TSkinData* d, TLog* log) : window_(w), data_(d), log_(log) {}
  ~TRecordingPopup() override { log_->Add("free popup " + Id(window_)); }
  HWND Window() const override { return window_; }
  TSkinData* SkinData() const override { return data_; }
  HMENU Menu() const override { return menu_; }
  void BindMenu(HMENU m) override { menu_ = m; }
  HBITMAP Image() const override { return nullptr; }

 private:
  HWND window_;
  TSkinData* data_;
  TLog* log_;
  HMENU menu_ = nullptr;
};

struct TMade {
  HWND Window;
  TWinControl* Form;
  TSkinData* Data;
  std::string ClassName;
};

class TRecordingFactory : public TSkinnerFactory {
 public:
  std::unique_ptr<TFormSkinner> MakeFormSkinner(HWND w, TWinControl* form, TSkinData* d,
                                                const std::string& cls) override {
    Made.push_back({w, form, d, cls});
    Log.Add("skin " + Id(w));
    return std::make_unique<TRecordingSkinner>(w, d, &Log);
  }
  std::unique_ptr<TPopupSkinner> MakePopupSkinner(HWND w, TSkinData* d, int kind) override {
    Log.Add("popup " + std::to_string(kind));
    return std::make_unique<TRecordingPopup>(w, d, &Log);
  }
  const TMade* Find(HWND w) const {
    for (const auto& m : Made)
      if (m.Window == w) return &m;
    return nullptr;
  }
  std::vector<TMade> Made;
  TLog Log;
};

class TSampleForm : public TForm {
  MV_CLASS(TSampleForm, TForm)
 public:
  using TForm::TForm;
};
class TPrintPreviewForm : public TForm {
  MV_CLASS(TPrintPreviewForm, TForm)
 public:
  using TForm::TForm;
};
class TRejectedForm : public TForm {
  MV_CLASS(TRejectedForm, TForm)
 public:
  using TForm::TForm;
};

const char* const kBareClass = "SkdBareWindow";

void RegisterBareClass() {
  static bool done = false;
  if (done) return;
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kBareClass;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&wc);
  done = true;
}

// The default skin written to a file of the temporary folder.
std::string DefaultSkinFile(const char* name) {
  auto pkg = DefaultSkinPackage();
  const std::string path = TempFolder() + name;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(pkg.data()), static_cast<std::streamsize>(pkg.size()));
  return path;
}

// Processes pending messages for about `ms` milliseconds, or until `done`.
template <class F>
bool PumpUntil(F done, int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done()) return true;
    if (static_cast<int>(GetTickCount() - end) >= 0) return false;
    Sleep(10);
  }
}
void Pump(int ms) {
  PumpUntil([] { return false; }, ms);
}

class SkinManageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FreeSkinManager();
    SetSkinnerFactory(&factory_);
    RegisterBareClass();
  }
  void TearDown() override {
    for (HWND w : bare_)
      if (IsWindow(w)) DestroyWindow(w);
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it)
      (*it)->Free();
    FreeSkinManager();
    SetSkinnerFactory(nullptr);
    Pump(50);
  }

  template <class F = TSampleForm>
  F* NewForm(intptr_t tag = 0) {
    F* f = Create<F>(Application);
    f->SetTag(tag);
    f->SetBounds(100, 100, 300, 200);
    forms_.push_back(f);
    return f;
  }
  template <class F = TSampleForm>
  HWND ShowForm(intptr_t tag = 0) {
    F* f = NewForm<F>(tag);
    f->Show();
    return f->Handle();
  }
  // A main component on its own (hidden) host form, loaded with the default
  // skin, as an application holds it.
  TSkinData* NewSkinData(TSkinFormType type = sfMainform, TComponent* owner = nullptr,
                         bool active = true) {
    if (!owner) owner = NewForm<TForm>();
    TSkinData* d = Create<TSkinData>(owner);
    d->SetSkinFormtype(type);
    d->BeginReading();
    auto pkg = DefaultSkinPackage();
    d->ReadSkinStream(WriteSkinStream(pkg));
    d->SetActive(active);
    d->Loaded();
    return d;
  }
  HWND NewBare(const char* cls = kBareClass, DWORD style = WS_OVERLAPPEDWINDOW,
               HINSTANCE instance = GetModuleHandleA(nullptr)) {
    HWND w = CreateWindowExA(0, cls, "bare", style, 150, 150, 200, 120, nullptr, nullptr, instance,
                             nullptr);
    bare_.push_back(w);
    return w;
  }
  // Shows and activates a window, as a user opening it would.
  static void Open(HWND w) {
    ShowWindow(w, SW_SHOW);
    SetActiveWindow(w);
  }

  TRecordingFactory factory_;
  std::vector<TCustomForm*> forms_;
  std::vector<HWND> bare_;
};

TEST_F(SkinManageTest, HookSkinsAFrameworkFormAndABareWindowWhenActivated) {
  TSkinData* d = NewSkinData();
  ASSERT_TRUE(SkinManager->HookInstalled());
  EXPECT_EQ(SkinManager->RunState, rsIdle);

  TSampleForm* form = NewForm();
  form->Show();
  const TMade* made = factory_.Find(form->Handle());
  ASSERT_NE(made, nullptr) << "the hook did not skin the form";
  EXPECT_EQ(made->Form, form);
  EXPECT_EQ(made->Data, d);
  EXPECT_EQ(made->ClassName, "TSampleForm");
  EXPECT_EQ(SkinManager->RunState, rsRunning);
  EXPECT_NE(SkinManager->FindFormSkinner(form->Handle()), nullptr);

  HWND bare = NewBare();
  Open(bare);
  made = factory_.Find(bare);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->Form, nullptr);
  EXPECT_EQ(made->ClassName, kBareClass);
  EXPECT_EQ(SkinManager->SkinnedForms().size(), 2u);

  // Activated again: not skinned twice.
  SetActiveWindow(form->Handle());
  SetActiveWindow(bare);
  EXPECT_EQ(factory_.Made.size(), 2u);
  EXPECT_EQ(SkinManager->LastVerdict(), TSkinVerdict::AlreadySkinned);

  // Destroying a window frees its skinner with it.
  DestroyWindow(bare);
  EXPECT_EQ(factory_.Log.Count("free " + Id(bare)), 1);
  EXPECT_EQ(factory_.Log.Count("unskin " + Id(bare)), 0);
  EXPECT_EQ(SkinManager->SkinnedForms().size(), 1u);
}

TEST_F(SkinManageTest, WindowsAreJudgedByTheRules) {
  TSkinData* main = NewSkinData();
  main->SetDisableTag(5);
  main->OnFormSkin = [](TObject*, const std::string& name, bool& skin) {
    if (name == "TRejectedForm") skin = false;
  };
  HWND opened = nullptr;
  struct Case {
    const char* name;
    std::function<HWND()> open;
    TSkinVerdict verdict;
  };
  const Case cases[] = {
      {"Tag 99 is fixed, not DisableTag", [&] { return ShowForm(99); }, TSkinVerdict::FixedTag},
      {"Tag equal to DisableTag is still a form to skin", [&] { return ShowForm(5); },
       TSkinVerdict::Skin},
      {"preview windows need xoPreview (set)", [&] { return ShowForm<TPrintPreviewForm>(); },
       TSkinVerdict::Skin},
      {"the application's filter", [&] { return ShowForm<TRejectedForm>(); },
       TSkinVerdict::Filtered},
      {"another module's window",
       [&] {
         HWND w = NewBare("STATIC", WS_OVERLAPPEDWINDOW, GetModuleHandleA("user32.dll"));
         Open(w);
         return w;
       },
       TSkinVerdict::NotOurs},
      {"month calendar by the default filter",
       [&] {
         main->OnFormSkin = nullptr;
         INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES};
         InitCommonControlsEx(&icc);
         HWND w = NewBare("SysMonthCal32", WS_POPUP | WS_BORDER);
         Open(w);
         return w;
       },
       TSkinVerdict::Filtered},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const size_t before = factory_.Made.size();
    opened = c.open();
    ASSERT_TRUE(IsWindow(opened));
    EXPECT_EQ(SkinManager->LastJudged(), opened) << "the hook did not see the window";
    EXPECT_EQ(SkinManager->LastVerdict(), c.verdict);
    const bool made = factory_.Find(opened) != nullptr;
    EXPECT_EQ(made, c.verdict == TSkinVerdict::Skin);
    EXPECT_EQ(factory_.Made.size(), before + (made ? 1 : 0));
  }
  EXPECT_EQ(main->PendingHandle(), opened);  // the filter saw the last window

  // Without xoPreview a preview window stays plain.
  main->SetOptions(TSkinOptions{xoToolbarBK});
  auto* f = NewForm<TPrintPreviewForm>();
  f->Show();
  EXPECT_EQ(SkinManager->LastVerdict(), TSkinVerdict::Filtered);
  EXPECT_EQ(factory_.Find(f->Handle()), nullptr);
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) {
  return FALSE;
}

// A modeless dialog of the system dialog class.
HWND NewDialog(DWORD style) {
  struct {
    DLGTEMPLATE t;
    WORD menu, cls, title;
  } tpl{};
  tpl.t.style = style | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  tpl.t.cx = 100;
  tpl.t.cy = 60;
  return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &tpl.t, nullptr, PlainDialogProc, 0);
}

TEST_F(SkinManageTest, TheComponentIsChosenByFormType) {
  TSkinData* first = NewSkinData();
  first->OnFormSkin = [](TObject*, const std::string& name, bool& skin) {
    if (name == "TRejectedForm") skin = false;
  };
  TSkinData* second = NewSkinData();
  second->OnFormSkin = [](TObject*, const std::string&, bool& skin) { skin = true; };
  TSkinData* dialogs = NewSkinData(sfDialog);
  TSampleForm* own = NewForm();
  TSkinData* only = NewSkinData(sfOnlyThisForm, own);
  EXPECT_EQ(SkinManager->MainSkinData, first);

  TSampleForm* plain = NewForm();
  plain->Show();
  own->Show();
  HWND dialog = NewDialog(0);
  Open(dialog);
  HWND foreground = NewDialog(DS_SETFOREGROUND);
  Open(foreground);
  TRejectedForm* rejected = NewForm<TRejectedForm>();
  rejected->Show();

  struct Case {
    const char* name;
    HWND window;
    TSkinData* expected;  // null: not skinned
  };
  const Case cases[] = {
      {"the later main component skins", plain->Handle(), second},
      {"the form's own component", own->Handle(), only},
      {"dialogs get the dialog component", dialog, dialogs},
      {"set-foreground dialogs stay plain", foreground, nullptr},
      {"the first main component's filter judges", rejected->Handle(), nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TMade* made = factory_.Find(c.window);
    if (!c.expected) {
      EXPECT_EQ(made, nullptr);
      continue;
    }
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->Data, c.expected);
  }
  DestroyWindow(dialog);
  DestroyWindow(foreground);
}

TEST_F(SkinManageTest, DelayedActionsRunOnceAfterTheDelay) {
  TSkinData* d = NewSkinData();
  int changed = 0;
  d->OnSkinChanged = [&](TObject* sender) {
    EXPECT_EQ(sender, d);
    ++changed;
  };
  TSampleForm* a = NewForm();
  a->Show();
  TSampleForm* b = NewForm();
  b->Show();
  ASSERT_EQ(SkinManager->SkinnedForms().size(), 2u);
  ASSERT_EQ(SkinManager->RunState, rsRunning);

  // Off: nothing happens until the timer fires, then every skinner goes.
  d->SetActive(false);
  EXPECT_EQ(SkinManager->ActionTimer()->Interval(), 250u);
  EXPECT_TRUE(SkinManager->ActionTimer()->Enabled());
  EXPECT_EQ(factory_.Log.Count("unskin " + Id(a->Handle())), 0);
  ASSERT_TRUE(PumpUntil([&] { return changed > 0; }, 5000));
  Pump(600);
  EXPECT_EQ(changed, 1);
  EXPECT_FALSE(SkinManager->ActionTimer()->Enabled());
  for (HWND w : {a->Handle(), b->Handle()}) {
    EXPECT_EQ(factory_.Log.Count("unskin " + Id(w)), 1);
    EXPECT_EQ(factory_.Log.Count("free " + Id(w)), 1);
  }
  EXPECT_TRUE(SkinManager->SkinnedForms().empty());
  EXPECT_FALSE(SkinManager->SkinningOn);
  EXPECT_EQ(SkinManager->ActionTarget, nullptr);

  // A window opened meanwhile stays plain.
  TSampleForm* c = NewForm();
  c->Show();
  EXPECT_EQ(SkinManager->LastVerdict(), TSkinVerdict::SkinningOff);

  // On again: every shown form is skinned in one pass.
  factory_.Made.clear();
  d->SetActive(true);
  EXPECT_TRUE(factory_.Made.empty());
  ASSERT_TRUE(PumpUntil([&] { return changed > 1; }, 5000));
  Pump(600);
  EXPECT_EQ(changed, 2);
  EXPECT_EQ(factory_.Made.size(), 3u);
  for (HWND w : {a->Handle(), b->Handle(), c->Handle()})
    EXPECT_NE(factory_.Find(w), nullptr);

  // A new skin: title buttons dropped at once, one reload per skinner later.
  { d->SetSkinFile(DefaultSkinFile("skd_reload.skn")); }
  EXPECT_EQ(factory_.Log.Count("drop " + Id(a->Handle())), 1);
  EXPECT_EQ(factory_.Log.Count("reload " + Id(a->Handle())), 0);
  ASSERT_TRUE(PumpUntil([&] { return changed > 2; }, 5000));
  Pump(600);
  EXPECT_EQ(changed, 3);
  for (HWND w : {a->Handle(), b->Handle(), c->Handle()}) {
    EXPECT_EQ(factory_.Log.Count("drop " + Id(w)), 2);
    EXPECT_EQ(factory_.Log.Count("reload " + Id(w)), 1);
  }
}

TEST_F(SkinManageTest, ActiveBeforeAnyActivationSwitchesSkinningAtOnce) {
  TSkinData* d = NewSkinData(sfMainform, nullptr, false);
  EXPECT_FALSE(SkinManager->SkinningOn);
  d->SetActive(true);
  EXPECT_TRUE(SkinManager->SkinningOn);
  EXPECT_FALSE(SkinManager->ActionTimer()->Enabled());
  // SetActive marks the manager running; windows are skinned as activated.
  TSampleForm* f = NewForm();
  f->Show();
  EXPECT_NE(factory_.Find(f->Handle()), nullptr);
}

TEST_F(SkinManageTest, DestroyingAComponentInUseDetachesEverythingItSkinned) {
  struct Case {
    const char* name;
    bool second_main;
    bool pending_action;
  };
  const Case cases[] = {
      {"the only component", false, false},
      {"a second main component takes over", true, false},
      {"with an action pending for it", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    factory_.Made.clear();
    factory_.Log.Lines.clear();
    TForm* host = NewForm<TForm>();
    TSkinData* d = NewSkinData(sfMainform, host);
    TSkinData* other = nullptr;
    if (c.second_main) {
      other = NewSkinData(sfMainform, nullptr, false);  // registered later
      other->SetActive(true);
    }
    TSampleForm* f = NewForm();
    f->Show();
    HWND bare = NewBare();
    Open(bare);
    ASSERT_EQ(SkinManager->SkinnedForms().size(), 2u);
    const TSkinData* skinner_data = SkinManager->SkinnedForms()[0]->SkinData();
    int changed = 0;
    d->OnSkinChanged = [&](TObject*) { ++changed; };
    if (c.pending_action) {
      d->ApplySkinChange();
      ASSERT_TRUE(SkinManager->ActionTimer()->Enabled());
    }

    d->Free();
    EXPECT_FALSE(SkinManager->IsRegistered(d));
    if (skinner_data == d) {
      for (HWND w : {f->Handle(), bare}) {
        EXPECT_EQ(factory_.Log.Count("unskin " + Id(w)), 1);
        EXPECT_EQ(factory_.Log.Count("free " + Id(w)), 1);
      }
      EXPECT_TRUE(SkinManager->SkinnedForms().empty());
    }
    for (const auto& s : SkinManager->SkinnedForms())
      EXPECT_NE(s->SkinData(), d);
    EXPECT_EQ(SkinManager->MainSkinData, other);
    if (c.pending_action)
      EXPECT_EQ(SkinManager->ActionTarget, nullptr);
    else
      EXPECT_NE(SkinManager->ActionTarget, d);
    Pump(600);  // a pending action must not reach the freed component
    EXPECT_EQ(changed, 0);

    // New windows go to whoever is left, or stay plain.
    TSampleForm* g = NewForm();
    g->Show();
    const TMade* made = factory_.Find(g->Handle());
    if (other) {
      ASSERT_NE(made, nullptr);
      EXPECT_EQ(made->Data, other);
    } else {
      EXPECT_EQ(made, nullptr);
    }
    TearDown();
    forms_.clear();
    bare_.clear();
  }
}

TEST_F(SkinManageTest, PopupsAreSkinnedByKindAndControls) {
  TSkinData* d = NewSkinData();
  HWND menu_window = NewBare(kBareClass, WS_POPUP);
  struct Case {
    int kind;
    TSkinControlTypes controls;
    bool skinned;
  };
  const Case cases[] = {
      {0, {xcPopupMenu}, true},
      {0, {xcMainMenu, xcSystemMenu}, false},
      {1, {xcMainMenu}, true},
      {1, {xcMenuItem}, true},
      {1, {xcPopupMenu}, false},
      {2, {xcSystemMenu}, true},
      {2, {xcMainMenu, xcPopupMenu}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    d->SetSkinControls(c.controls);
    SkinManager->PopupKind = c.kind;
    SkinManager->SkinPopup(menu_window);
    EXPECT_EQ(SkinManager->IsPopupSkinned(menu_window), c.skinned);
    EXPECT_EQ(SkinManager->UnskinPopup(menu_window), c.skinned);
    EXPECT_EQ(SkinManager->PopupKind, c.skinned ? 0 : c.kind);
  }
  // Menus bind to the newest popup that has none.
  d->SetSkinControls({xcPopupMenu});
  SkinManager->PopupKind = 0;
  HWND second = NewBare(kBareClass, WS_POPUP);
  SkinManager->SkinPopup(menu_window);
  SkinManager->SkinPopup(second);
  HMENU m = CreatePopupMenu();
  SkinManager->BindPopupMenu(m);
  EXPECT_EQ(SkinManager->PopupSkinners().back()->Menu(), m);
  EXPECT_EQ(SkinManager->PopupSkinners().front()->Menu(), nullptr);
  // A popup window's destruction, seen by the hook, frees its skinner.
  DestroyWindow(second);
  EXPECT_FALSE(SkinManager->IsPopupSkinned(second));
  EXPECT_EQ(factory_.Log.Count("free popup " + Id(second)), 1);
  DestroyMenu(m);
}

TEST_F(SkinManageTest, HookHandsSizeGripsToTheSkinnerOfTheirParent) {
  NewSkinData();
  HWND bare = NewBare();
  Open(bare);
  ASSERT_NE(SkinManager->FindFormSkinner(bare), nullptr);
  HWND plain = NewBare("STATIC", WS_OVERLAPPEDWINDOW, GetModuleHandleA("user32.dll"));
  struct Case {
    HWND parent;
    DWORD style;
    bool taken;
  };
  const Case cases[] = {
      {bare, SBS_SIZEGRIP, true},
      {bare, SBS_HORZ, false},       // an ordinary scroll bar
      {plain, SBS_SIZEGRIP, false},  // parent not skinned
  };
  for (const Case& c : cases) {
    HWND grip = CreateWindowExA(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE | c.style, 0, 0, 16, 16,
                                c.parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(IsWindow(grip));
    EXPECT_EQ(factory_.Log.Count("grip " + Id(grip)), c.taken ? 1 : 0);
  }
}

// Ends the popup menu that is tracking when the timer fires.
void CALLBACK EndMenuTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}
std::function<void()> g_probe;
void CALLBACK ProbeTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (g_probe) g_probe();
}

TEST_F(SkinManageTest, HookSkinsSystemPopupMenusWhileTheyAreOpen) {
  TSkinData* d = NewSkinData();
  HWND owner = NewBare();
  Open(owner);
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 1, "One");
  AppendMenuA(menu, MF_STRING, 2, "Two");
  struct Case {
    int kind;  // as a frame skinner sets it before the menu opens
    TSkinControlTypes controls;
    bool skinned;
  };
  const Case cases[] = {
      {0, {xcPopupMenu}, true},
      {2, {xcSystemMenu}, true},
      {1, {xcPopupMenu, xcSystemMenu}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    factory_.Log.Lines.clear();
    d->SetSkinControls(c.controls);
    SkinManager->PopupKind = c.kind;
    HWND seen = nullptr;
    std::string seen_class;
    // While the menu tracks, look at the popup list from a timer.
    g_probe = [&] {
      if (!SkinManager->PopupSkinners().empty()) {
        seen = SkinManager->PopupSkinners().back()->Window();
        seen_class = WindowClassName(seen);
      }
    };
    SetTimer(nullptr, 0, 300, ProbeTimer);
    SetTimer(nullptr, 0, 600, EndMenuTimer);
    TrackPopupMenu(menu, TPM_LEFTALIGN, 200, 200, 0, owner, nullptr);
    g_probe = nullptr;
    const std::string made = "popup " + std::to_string(c.kind);
    if (c.skinned) {
      ASSERT_NE(seen, nullptr) << "the open menu had no skinner";
      EXPECT_EQ(seen_class, "#32768");
      EXPECT_EQ(factory_.Log.Count(made), 1);
      // Closing the menu destroys its window, and the skinner with it.
      PumpUntil([&] { return SkinManager->PopupSkinners().empty(); }, 2000);
      EXPECT_EQ(factory_.Log.Count("free popup " + Id(seen)), 1);
      EXPECT_EQ(SkinManager->PopupKind, 0);
    } else {
      EXPECT_EQ(seen, nullptr);
      EXPECT_EQ(factory_.Log.Count(made), 0);
    }
    EXPECT_TRUE(SkinManager->PopupSkinners().empty());
  }
  DestroyMenu(menu);
}

LRESULT CALLBACK MdiFrameProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  return DefFrameProcA(w, GetWindow(w, GW_CHILD), msg, wp, lp);
}

TEST_F(SkinManageTest, MdiChildrenAreSkinnedAsTheyAreCreated) {
  TSkinData* d = NewSkinData();
  WNDCLASSA wc{};
  wc.lpfnWndProc = MdiFrameProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "SkdMdiFrame";
  RegisterClassA(&wc);
  wc.lpfnWndProc = DefMDIChildProcA;
  wc.lpszClassName = "SkdMdiChild";
  RegisterClassA(&wc);
  HWND frame = NewBare("SkdMdiFrame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
  CLIENTCREATESTRUCT ccs{};
  HWND client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                                0, 300, 200, frame, nullptr, GetModuleHandleA(nullptr), &ccs);
  ASSERT_TRUE(IsWindow(client));
  SkinManager->SkinningOn = true;
  MDICREATESTRUCTA mcs{};
  mcs.szClass = "SkdMdiChild";
  mcs.szTitle = "child";
  mcs.hOwner = GetModuleHandleA(nullptr);
  mcs.x = mcs.y = mcs.cx = mcs.cy = static_cast<int>(CW_USEDEFAULT);
  HWND child =
      reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  ASSERT_TRUE(IsWindow(child));
  const TMade* made = factory_.Find(child);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->ClassName, "SkdMdiChild");
  EXPECT_EQ(made->Data, d);

  // Maximise changes reach MDI children once per change, unless the main
  // component keeps their native borders.
  SkinManager->SetMdiMaximized(true);
  SkinManager->SetMdiMaximized(true);
  EXPECT_EQ(factory_.Log.Count("maximised " + Id(child)), 1);
  TSkinOptions options = d->Options();
  options.Include(xoMDIChildBorder);
  d->SetOptions(options);
  SkinManager->SetMdiMaximized(false);
  EXPECT_EQ(factory_.Log.Count("restored " + Id(child)), 0);
  EXPECT_FALSE(SkinManager->MdiMaximized);
}

TEST_F(SkinManageTest, AFormsOwnComponentSwitchesOnlyThatForm) {
  NewSkinData();
  TSampleForm* own = NewForm();
  TSkinData* only = NewSkinData(sfOnlyThisForm, own);
  TSampleForm* other = NewForm();
  own->Show();
  other->Show();
  ASSERT_NE(factory_.Find(own->Handle()), nullptr);
  ASSERT_NE(factory_.Find(other->Handle()), nullptr);
  int changed = 0;
  only->OnSkinChanged = [&](TObject*) { ++changed; };
  only->SetActive(false);  // it was stored active
  only->SetActive(true);
  only->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return changed > 0; }, 5000));
  Pump(600);
  EXPECT_EQ(changed, 1);  // the requests collapsed into one action
  EXPECT_EQ(factory_.Log.Count("unskin " + Id(own->Handle())), 1);
  EXPECT_EQ(factory_.Log.Count("unskin " + Id(other->Handle())), 0);
  EXPECT_NE(SkinManager->FindFormSkinner(other->Handle()), nullptr);

  only->SetActive(true);
  ASSERT_TRUE(PumpUntil([&] { return changed > 1; }, 5000));
  const TMade* made = nullptr;
  for (const auto& m : factory_.Made)
    if (m.Window == own->Handle()) made = &m;  // the newest
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->Data, only);
  EXPECT_EQ(SkinManager->SkinnedForms().size(), 2u);
}

TEST_F(SkinManageTest, AComponentAddedWhileRunningSkinsRatherThanReloads) {
  NewSkinData();
  TSampleForm* f = NewForm();
  f->Show();
  ASSERT_EQ(SkinManager->RunState, rsRunning);
  // A second main component made in code, switched on, then given a skin.
  TSkinData* later = Create<TSkinData>(NewForm<TForm>());
  later->SetActive(true);
  int changed = 0;
  later->OnSkinChanged = [&](TObject*) { ++changed; };
  later->SetSkinFile(DefaultSkinFile("skd_later.skn"));
  EXPECT_TRUE(SkinManager->IsRegistered(later));
  EXPECT_EQ(SkinManager->PendingAction, saSkinAll);
  ASSERT_TRUE(PumpUntil([&] { return changed > 0; }, 5000));
  EXPECT_EQ(factory_.Log.Count("reload " + Id(f->Handle())), 0);
  EXPECT_TRUE(SkinManager->SkinningOn);
}

}  // namespace
