// The engine gives back what it takes: the control gallery's form (every
// control family) is made, skinned, its pages shown, its context menu and a
// cascade opened and closed, the skin switched while it shows, and the form
// freed, a hundred times over. The process's GDI objects, USER objects and
// heap, counted after a warm-up, stay within a few handles (and a little
// heap) of what they were.
//
// Wine's GetGuiResources answers 0 for both kinds, so the counts are taken
// by looking handles up: every GDI handle index the process can hold (Wine
// accepts an index without its generation), the menus the same way (a USER
// handle's index counts every other value), and the windows of this thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "default_skin.h"
#include "engine/skin_stream.h"
#include "engine_win/skin_data.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_form_skinner.h"
#include "engine_win/skin_manage.h"
#include "engine_win/skin_messages.h"
#include "framework/comctrls.h"
#include "framework/menus.h"
#include "gallery_form.h"
#include "test_skin.h"

namespace {

struct TResourceCount {
  int Gdi = 0;
  int Windows = 0;
  int Menus = 0;
  size_t HeapBytes = 0;
};

int CountGdiObjects() {
  int n = 0;
  for (UINT_PTR i = 0; i <= 0xFFFF; ++i)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(i)) != 0) ++n;
  return n;
}

int CountMenus() {
  int n = 0;
  for (UINT_PTR i = 0x20; i <= 0xFFFF; i += 2)
    if (IsMenu(reinterpret_cast<HMENU>(i))) ++n;
  return n;
}

BOOL CALLBACK CountChild(HWND, LPARAM p) {
  ++*reinterpret_cast<int*>(p);
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND w, LPARAM p) {
  ++*reinterpret_cast<int*>(p);
  EnumChildWindows(w, CountChild, p);
  return TRUE;
}

int CountThreadWindows() {
  int n = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&n));
  return n;
}

// The bytes in use in every heap of the process.
size_t HeapBytesInUse() {
  std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
  heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
  size_t bytes = 0;
  for (HANDLE heap : heaps) {
    if (!HeapLock(heap)) continue;
    PROCESS_HEAP_ENTRY e{};
    while (HeapWalk(heap, &e))
      if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += e.cbData;
    HeapUnlock(heap);
  }
  return bytes;
}

TResourceCount CountResources() {
  return {CountGdiObjects(), CountThreadWindows(), CountMenus(), HeapBytesInUse()};
}

bool PumpUntil(const std::function<bool()>& done, int ms = 10000) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  for (;;) {
    Application->ProcessMessages();
    if (done()) return true;
    if (GetTickCount() >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

bool Skinned(HWND w) {
  return SendMessageA(w, kSkmIsSkinned, 0, 0) == 1;
}

BOOL CALLBACK CollectMenuWindow(HWND w, LPARAM p) {
  char cls[16]{};
  GetClassNameA(w, cls, sizeof cls);
  if (lstrcmpA(cls, "#32768") == 0 && IsWindowVisible(w))
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
  return TRUE;
}

std::vector<HWND> OpenMenuWindows() {
  std::vector<HWND> out;
  EnumThreadWindows(GetCurrentThreadId(), CollectMenuWindow, reinterpret_cast<LPARAM>(&out));
  return out;
}

// While a popup menu tracks: opens its cascade once the menu is skinned, and
// ends the menu once the cascade is skinned too (or after about 3 s).
struct TMenuCloser {
  static inline int Ticks = 0;
  static inline int SkinnedMenus = 0;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    const std::vector<HWND> open = OpenMenuWindows();
    int skinned = 0;
    for (HWND w : open)
      if (SkinManager && SkinManager->IsPopupSkinned(w)) ++skinned;
    SkinnedMenus = std::max(SkinnedMenus, skinned);
    if (open.size() == 1 && skinned == 1) {
      keybd_event(VK_END, 0, 0, 0);  // the cascade is the last entry
      keybd_event(VK_END, 0, KEYEVENTF_KEYUP, 0);
      keybd_event(VK_RIGHT, 0, 0, 0);
      keybd_event(VK_RIGHT, 0, KEYEVENTF_KEYUP, 0);
    }
    if (skinned >= 2 || ++Ticks > 100) EndMenu();
  }
};

class SkinResourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallSystemColourResolver();
    InstallFormSkinnerFactory();
    const auto def = DefaultSkinPackage();
    packages_[0].assign(def.begin(), def.end());
    packages_[1] = MakeTestSkin().Package();
    host_ = new TForm(Application);
    host_->SetBounds(0, 0, 200, 100);
    data_ = new TSkinData(host_);
    data_->BeginReading();
    ASSERT_TRUE(data_->ReadSkinStream(WriteSkinStream(packages_[0])));
    data_->SetActive(true);
    data_->Loaded();
  }
  void TearDown() override {
    if (host_) host_->Free();
    FreeSkinManager();
    SetSkinnerFactory(nullptr);
    PumpUntil([] { return false; }, 30);
  }

  // One gallery form through its whole life; `round` picks the skin it is
  // switched to.
  void RunRound(int round) {
    auto* form = new TGalleryForm(Application);
    auto* context = new TPopupMenu(form);
    for (const char* caption : {"&Copy", "&Paste", "-", "&More"}) {
      auto* item = new TMenuItem(context);
      item->SetCaption(caption);
      context->Items()->Add(item);
    }
    TMenuItem* more = context->Items()->Items(3);
    auto* inner = new TMenuItem(context);
    inner->SetCaption("&Inner");
    more->Add(inner);
    form->Show();
    HWND h = form->Handle();
    ASSERT_TRUE(PumpUntil([h] { return Skinned(h); })) << "round " << round;
    OpenContextMenu(form, context);
    SwitchSkin(round);
    ASSERT_TRUE(PumpUntil([h] { return Skinned(h); })) << "round " << round;
    ShowEveryPage(form);
    form->Free();
    ASSERT_TRUE(PumpUntil([] { return SkinManager->SkinnedForms().empty(); }));
  }
  static void ShowEveryPage(TGalleryForm* form) {
    for (int p = 0; p < form->Pages()->PageCount(); ++p) {
      form->Pages()->SetActivePageIndex(p);
      RedrawWindow(form->Handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    Application->ProcessMessages();
  }
  static void OpenContextMenu(TGalleryForm* form, TPopupMenu* menu) {
    SetForegroundWindow(form->Handle());
    TMenuCloser::Ticks = 0;
    TMenuCloser::SkinnedMenus = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, TMenuCloser::Tick);
    menu->Popup(form->Left() + 60, form->Top() + 80);
    KillTimer(nullptr, timer);
    EXPECT_EQ(TMenuCloser::SkinnedMenus, 2) << "the menu and its cascade wear the skin";
  }
  // The other package: the manager reloads the skinned form a little later.
  void SwitchSkin(int round) {
    ASSERT_TRUE(data_->ReadSkinStream(WriteSkinStream(packages_[(round + 1) % 2])));
    ASSERT_TRUE(PumpUntil([] { return SkinManager->PendingAction == saNone; }));
  }

  std::vector<uint8_t> packages_[2];
  TForm* host_ = nullptr;
  TSkinData* data_ = nullptr;
};

TEST_F(SkinResourceTest, HundredSkinnedFormsMenusAndSkinSwitchesLeaveNothingBehind) {
  constexpr int kWarmUp = 10, kRounds = 100;
  TResourceCount after_warm_up;
  for (int round = 1; round <= kRounds; ++round) {
    RunRound(round);
    if (HasFatalFailure()) return;
    if (round == kWarmUp) after_warm_up = CountResources();
  }
  const TResourceCount end = CountResources();
  std::printf("after round %d: %d GDI objects, %d windows, %d menus, %zu heap bytes\n", kWarmUp,
              after_warm_up.Gdi, after_warm_up.Windows, after_warm_up.Menus,
              after_warm_up.HeapBytes);
  std::printf("after round %d: %d GDI objects, %d windows, %d menus, %zu heap bytes\n", kRounds,
              end.Gdi, end.Windows, end.Menus, end.HeapBytes);
  // A leak of one object per round shows as 90.
  EXPECT_LE(end.Gdi, after_warm_up.Gdi + 4) << "GDI objects";
  EXPECT_LE(end.Windows, after_warm_up.Windows + 2) << "windows";
  EXPECT_LE(end.Menus, after_warm_up.Menus + 2) << "menus";
  // A leak of 100 bytes per round shows as 9000.
  EXPECT_LE(end.HeapBytes, after_warm_up.HeapBytes + 8192) << "heap bytes";
  // The counting itself sees what is alive: one more brush is one more.
  const int before = CountGdiObjects();
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_EQ(CountGdiObjects(), before + 1);
  DeleteObject(brush);
}

}  // namespace
