// Damaged skin packages worn by the control gallery's form in this process:
// for each package the form is skinned through a skin data component and the
// manager, every page is shown and painted, a context menu and the system
// menu open skinned, the form is maximised, restored and resized down to a
// sliver and up again, and closed. Nothing may crash or hang, every paint
// must finish (no window left with an update region), and a package the
// reader refuses must leave the component without a skin.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "damaged_corpus.h"
#include "engine/skin_stream.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_form_skinner.h"
#include "engine_win/skin_manage.h"
#include "engine_win/skin_messages.h"
#include "framework/comctrls.h"
#include "framework/menus.h"
#include "gallery_form.h"
#include "window_probe.h"

namespace {

using window_probe::PumpUntil;

BOOL CALLBACK CollectMenuWindow(HWND w, LPARAM p) {
  char cls[16]{};
  GetClassNameA(w, cls, sizeof cls);
  if (lstrcmpA(cls, "#32768") == 0 && IsWindowVisible(w))
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
  return TRUE;
}

std::vector<HWND> OpenMenus() {
  std::vector<HWND> out;
  EnumThreadWindows(GetCurrentThreadId(), CollectMenuWindow, reinterpret_cast<LPARAM>(&out));
  return out;
}

BOOL CALLBACK CollectPending(HWND w, LPARAM p) {
  if (IsWindowVisible(w) && GetUpdateRect(w, nullptr, FALSE))
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
  return TRUE;
}

// Paints the window and all its children now; the windows that still want
// painting afterwards (a paint that gave up half way).
std::vector<HWND> PaintAll(HWND w) {
  RedrawWindow(w, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpUntil([] { return false; }, 20);
  UpdateWindow(w);
  std::vector<HWND> pending;
  CollectPending(w, reinterpret_cast<LPARAM>(&pending));
  EnumChildWindows(w, CollectPending, reinterpret_cast<LPARAM>(&pending));
  return pending;
}

// Watches a menu loop from a timer: once a menu window shows it is painted
// and asked whether it is skinned, then the loop is ended. Ends the loop
// after about three seconds without a menu, so a test cannot hang in it.
struct TMenuWatch {
  static TMenuWatch* Current;
  bool Seen = false, Skinned = false;
  int Ticks = 0;
  UINT_PTR Timer = 0;
  TMenuWatch() {
    Current = this;
    Timer = SetTimer(nullptr, 0, 50, Tick);
  }
  ~TMenuWatch() {
    KillTimer(nullptr, Timer);
    Current = nullptr;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TMenuWatch* m = Current;
    if (!m) return;
    const std::vector<HWND> menus = OpenMenus();
    if (!menus.empty()) {
      m->Seen = true;
      RedrawWindow(menus.front(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
      m->Skinned = SendMessageA(menus.front(), kSkmIsSkinned, 0, 0) == 1;
      EndMenu();
    } else if (++m->Ticks > 60) {
      EndMenu();
    }
  }
};
TMenuWatch* TMenuWatch::Current = nullptr;

TPopupMenu* MakeContextMenu(TComponent* owner) {
  auto* menu = new TPopupMenu(owner);
  for (const char* caption : {"&Open", "-", "&Close"}) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  auto* more = new TMenuItem(owner);
  more->SetCaption("&More");
  auto* inner = new TMenuItem(owner);
  inner->SetCaption("&Inner");
  more->Add(inner);
  menu->Items()->Add(more);
  return menu;
}

class DamagedSkinWindows : public ::testing::Test {
 protected:
  void SetUp() override { InstallFormSkinnerFactory(); }
  void TearDown() override {
    FreeSkinManager();
    PumpUntil([] { return false; }, 20);
  }

  // The gallery's form with a skin data component reading the package;
  // null (form freed) when the component refuses it.
  TGalleryForm* Wear(const TDamagedSkin& s) {
    auto* form = new TGalleryForm(Application);
    form->SetBounds(40, 40, 640, 480);
    auto* data = new TSkinData(form);
    data->BeginReading();
    const bool loaded = data->ReadSkinStream(WriteSkinStream(s.Package));
    EXPECT_EQ(loaded, s.Readable);
    EXPECT_EQ(data->SkinEmpty(), !loaded);
    if (!loaded) {
      form->Free();
      return nullptr;
    }
    data->SetActive(true);
    data->Loaded();
    return form;
  }

  static void ShowEveryPage(TGalleryForm* form) {
    for (int page = 0; page < form->Pages()->PageCount(); ++page) {
      form->Pages()->SetActivePageIndex(page);
      EXPECT_EQ(PaintAll(form->Handle()), std::vector<HWND>{}) << "page " << page;
    }
  }

  static void OpenMenusOn(TGalleryForm* form, TPopupMenu* context) {
    RECT r;
    GetWindowRect(form->Handle(), &r);
    {
      TMenuWatch watch;
      context->Popup(r.left + 80, r.top + 80);
      EXPECT_TRUE(watch.Seen);
      EXPECT_TRUE(watch.Skinned);
    }
    TMenuWatch watch;
    TrackPopupMenu(GetSystemMenu(form->Handle(), FALSE), TPM_RETURNCMD, r.left + 20, r.top + 20, 0,
                   form->Handle(), nullptr);
    EXPECT_TRUE(watch.Seen);
  }

  static void Resize(TGalleryForm* form) {
    HWND h = form->Handle();
    ShowWindow(h, SW_MAXIMIZE);
    EXPECT_EQ(PaintAll(h), std::vector<HWND>{}) << "maximised";
    ShowWindow(h, SW_RESTORE);
    for (SIZE size : {SIZE{900, 700}, SIZE{60, 30}, SIZE{1, 1}, SIZE{320, 200}}) {
      SetWindowPos(h, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
      EXPECT_EQ(PaintAll(h), std::vector<HWND>{}) << size.cx << "x" << size.cy;
    }
  }
};

TEST_F(DamagedSkinWindows, GalleryFormWearsEachPackageAndCloses) {
  const auto packages = PackagesUnderTest(TestCorpus());
  ASSERT_FALSE(packages.empty());
  for (const std::string& note : TestCorpus().Notes)
    std::printf("note: %s\n", note.c_str());
  for (const TDamagedSkin* s : packages) {
    SCOPED_TRACE(s->Name);
    TGalleryForm* form = Wear(*s);
    if (!form) continue;
    TPopupMenu* context = MakeContextMenu(form);
    form->OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
    form->Show();
    HWND h = form->Handle();
    ASSERT_TRUE(PumpUntil([&] { return SendMessageA(h, kSkmIsSkinned, 0, 0) == 1; }, 5000));
    ShowEveryPage(form);
    OpenMenusOn(form, context);
    Resize(form);
    PostMessageA(h, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(h); }, 5000));
    FreeSkinManager();
  }
}

}  // namespace
