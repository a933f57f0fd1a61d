// The skinned non-client area driven by real mouse and keyboard input (in a
// virtual desktop): hover and its end, the menu bar by mouse and keys, the
// arrow keys between dropdowns, the system menu.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/skin_parse.h"
#include "engine_win/skin_form.h"
#include "test_skin.h"

namespace {

LRESULT CALLBACK InputProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(w, msg, wp, lp);
}

struct TFixture {
  TTestSkin Test = MakeTestSkin();
  TSkinContent Content;
  HWND Window = nullptr;
  std::unique_ptr<TWinSkinForm> Form;

  TFixture() {
    InstallSystemColourResolver();
    LoadSkinPackage(Content, Test.Package());
    static bool registered = false;
    if (!registered) {
      WNDCLASSA wc{};
      wc.lpfnWndProc = InputProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "SkinFormInputTest";
      wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
      RegisterClassA(&wc);
      registered = true;
    }
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    HMENU recent = CreatePopupMenu();
    AppendMenuA(recent, MF_STRING, 111, "One");
    AppendMenuA(recent, MF_STRING, 112, "Two");
    AppendMenuA(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), "&Recent");
    AppendMenuA(file, MF_STRING, 101, "&Open");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    HMENU edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, 201, "&Copy");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
    AppendMenuA(bar, MF_STRING, 301, "&Go");
    Window = CreateWindowExA(0, "SkinFormInputTest", "Input", WS_OVERLAPPEDWINDOW, 100, 100, 420,
                             300, nullptr, bar, GetModuleHandleA(nullptr), nullptr);
    // On top of whatever earlier tests left on the desktop, and active.
    SetWindowPos(Window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(Window);
    Form = std::make_unique<TWinSkinForm>(Window, nullptr, &Content);
    Form->Attach();
    PumpUntil([this] { return GetForegroundWindow() == Window && Form->Active(); }, 2000);
    Pump(50);
    Form->PaintFrame();
  }
  ~TFixture() {
    Form.reset();
    DestroyWindow(Window);
  }
  static void Pump(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    do {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      Sleep(5);
    } while (GetTickCount() < end);
  }
  bool PumpUntil(const std::function<bool()>& done, int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    while (GetTickCount() < end) {
      Pump(10);
      if (done()) return true;
    }
    return done();
  }
  POINT Screen(const TRect& r) const {
    RECT wr;
    GetWindowRect(Window, &wr);
    return {wr.left + (r.Left + r.Right) / 2, wr.top + (r.Top + r.Bottom) / 2};
  }
  int HotMenuItem() const {
    for (size_t i = 0; i < Form->MenuItems().size(); ++i)
      if (Form->HotObject() == Form->MenuItems()[i].get()) return static_cast<int>(i);
    return -1;
  }
};

void MoveTo(POINT p) {
  SetCursorPos(p.x, p.y);
  mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
}
void Click(TFixture& f, POINT p, bool right = false) {
  // The pointer settles on the spot before the button goes down (a busy
  // display may otherwise see the press at the old position).
  MoveTo(p);
  f.PumpUntil(
      [p] {
        POINT now;
        GetCursorPos(&now);
        return now.x == p.x && now.y == p.y;
      },
      500);
  f.Pump(60);
  mouse_event(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  f.Pump(30);
  mouse_event(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}
void Key(BYTE vk, bool alt = false) {
  if (alt) keybd_event(VK_MENU, 0, 0, 0);
  keybd_event(vk, 0, 0, 0);
  keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
  if (alt) keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
}

BOOL CALLBACK CollectMenuWindow(HWND w, LPARAM p) {
  char cls[16]{};
  GetClassNameA(w, cls, sizeof cls);
  if (lstrcmpA(cls, "#32768") == 0 && IsWindowVisible(w)) {
    RECT r;
    GetWindowRect(w, &r);
    reinterpret_cast<std::vector<RECT>*>(p)->push_back(r);
  }
  return TRUE;
}

// Visible popup menu windows of this thread.
std::vector<RECT> OpenMenus() {
  std::vector<RECT> out;
  EnumThreadWindows(GetCurrentThreadId(), CollectMenuWindow, reinterpret_cast<LPARAM>(&out));
  return out;
}

// Runs steps one after the other from a timer while a menu loop runs. Once
// the steps are done it keeps ending any menu still open (a key left in the
// queue may open another), so a failing test cannot hang in a menu loop.
struct TScript {
  std::vector<std::function<void()>> Steps;
  size_t Next = 0;
  UINT_PTR Timer = 0;
  int LateMenus = 0;
  static TScript* Current;
  void Start(UINT ms) {
    Current = this;
    Next = 0;
    Timer = SetTimer(nullptr, 0, ms, Tick);
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TScript* s = Current;
    if (!s) return;
    if (s->Next < s->Steps.size()) {
      s->Steps[s->Next++]();
    } else if (!OpenMenus().empty()) {
      ++s->LateMenus;
      EndMenu();
    }
  }
  ~TScript() {
    if (Timer) KillTimer(nullptr, Timer);
    if (Current == this) Current = nullptr;
  }
  bool Done() const { return Next >= Steps.size(); }
  // The current step runs again at the next tick while no menu is open yet
  // (a loaded machine may be slow to show it), for about two seconds.
  bool WaitForMenu() {
    if (!OpenMenus().empty() || ++Waits > 40) return false;
    --Next;
    return true;
  }
  int Waits = 0;
};
TScript* TScript::Current = nullptr;

TEST(SkinFormInput, HoverFollowsTheMouseAndEndsWhenItLeaves) {
  TFixture f;
  const TWinSysButton* close = nullptr;
  for (const auto& b : f.Form->TitleButtons())
    if (b->Element->Action == 0 && b->Visible) close = b.get();
  ASSERT_NE(close, nullptr);
  MoveTo(f.Screen(close->Rect));
  ASSERT_TRUE(f.PumpUntil([&] { return f.Form->HotObject() == close; }, 1000));
  EXPECT_EQ(close->State, 3);
  // Into the client area: no non-client message, the hover timer ends it.
  RECT wr;
  GetWindowRect(f.Window, &wr);
  MoveTo({(wr.left + wr.right) / 2, (wr.top + wr.bottom) / 2});
  EXPECT_TRUE(f.PumpUntil([&] { return f.Form->HotObject() == nullptr; }, 1500));
  EXPECT_EQ(close->State, 1);
}

TEST(SkinFormInput, MenuBarOpensByMouseUnderTheItem) {
  TFixture f;
  ASSERT_EQ(f.Form->MenuItems().size(), 3u);
  const TRect item = f.Form->MenuItems()[1]->Rect;  // Edit
  RECT wr;
  GetWindowRect(f.Window, &wr);
  std::vector<RECT> seen;
  int hot = -1;
  TScript s;
  s.Steps = {[&] {
    if (s.WaitForMenu()) return;
    seen = OpenMenus();
    hot = f.HotMenuItem();
    EndMenu();
  }};
  s.Start(300);
  Click(f, f.Screen(item));
  EXPECT_TRUE(f.PumpUntil([&] { return s.Done() && !f.Form->Tracking(); }, 3000));
  EXPECT_EQ(hot, 1);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_NEAR(seen[0].left, wr.left + item.Left, 2);
  EXPECT_NEAR(seen[0].top, wr.top + item.Bottom, 2);
}

TEST(SkinFormInput, KeysOpenTheBarAndArrowsSwitchDropdowns) {
  TFixture f;
  std::vector<int> hot;
  std::vector<size_t> open;
  auto record = [&] {
    hot.push_back(f.HotMenuItem());
    open.push_back(OpenMenus().size());
  };
  TScript s;
  s.Steps = {
      [&] {
        if (s.WaitForMenu()) return;
        record();
        Key(VK_RIGHT);
      },  // File open, "Recent" highlighted: opens the cascade
      [&] {
        record();
        Key(VK_LEFT);
      },  // closes the cascade, still File
      [&] {
        record();
        Key(VK_DOWN);
      },                       // "Open"
      [&] { Key(VK_RIGHT); },  // no cascade: on to Edit
      [&] {
        record();
        Key(VK_RIGHT);
      },  // Edit -> (Go has no dropdown) File
      [&] {
        record();
        Key(VK_LEFT);
      },  // File -> Edit (wrapping back)
      [&] {
        record();
        Key(VK_ESCAPE);
      },
      [&] { Key(VK_ESCAPE); },
  };
  s.Start(250);
  Key(VK_F10);
  EXPECT_TRUE(f.PumpUntil([&] { return s.Done() && !f.Form->Tracking(); }, 6000));
  const std::vector<int> want_hot = {0, 0, 0, 1, 0, 1};
  const std::vector<size_t> want_open = {1, 2, 1, 1, 1, 1};
  EXPECT_EQ(hot, want_hot);
  EXPECT_EQ(open, want_open);

  // Alt+letter opens that item.
  TScript t;
  int alt_hot = -1;
  t.Steps = {[&] {
    if (t.WaitForMenu()) return;
    alt_hot = f.HotMenuItem();
    EndMenu();
  }};
  t.Start(300);
  Key('E', true);
  EXPECT_TRUE(f.PumpUntil([&] { return t.Done() && !f.Form->Tracking(); }, 3000));
  EXPECT_EQ(alt_hot, 1);
}

TEST(SkinFormInput, SystemMenuOnAltSpaceAndRightClick) {
  for (bool by_mouse : {false, true}) {
    TFixture f;
    size_t seen = 0;
    TScript s;
    s.Steps = {[&] {
      if (s.WaitForMenu()) return;
      seen = OpenMenus().size();
      EndMenu();
    }};
    s.Start(300);
    if (by_mouse) {
      RECT wr;
      GetWindowRect(f.Window, &wr);
      Click(f, {(wr.left + wr.right) / 2 - 60, wr.top + 12}, true);
    } else {
      Key(VK_SPACE, true);
    }
    EXPECT_TRUE(f.PumpUntil([&] { return s.Done(); }, 3000));
    f.Pump(50);
    EXPECT_EQ(seen, 1u) << (by_mouse ? "right click" : "Alt+Space");
  }
}

}  // namespace
