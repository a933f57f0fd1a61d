// The skinned non-client area driven by real mouse and keyboard input (in a
// virtual desktop): hover and its end, the menu bar by mouse and keys, the
// arrow keys between dropdowns, the system menu.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/builtin_bitmaps.h"
#include "engine/skin_parse.h"
#include "engine_win/skin_form.h"
#include "framework/forms.h"
#include "framework/imglist.h"
#include "framework/menus.h"
#include "framework/messages.h"
#include "test_skin.h"

namespace {

// System commands that reached the window (closing is only recorded).
std::vector<UINT> g_sys_commands;
// Menu commands that reached the window.
std::vector<UINT> g_commands;

LRESULT CALLBACK InputProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && lp == 0) g_commands.push_back(LOWORD(wp));
  if (msg == WM_SYSCOMMAND) {
    // Only recorded, apart from the ones the tests need carried out (others
    // may close the window or open a dialog).
    const UINT cmd = static_cast<UINT>(wp & 0xFFF0);
    g_sys_commands.push_back(cmd);
    if (cmd != SC_KEYMENU && cmd != SC_MOUSEMENU && cmd != SC_MAXIMIZE && cmd != SC_MINIMIZE &&
        cmd != SC_RESTORE)
      return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

struct TFixture {
  TTestSkin Test = MakeTestSkin();
  TSkinContent Content;
  HWND Window = nullptr;
  std::unique_ptr<TWinSkinForm> Form;

  explicit TFixture(TFormSkinSettings settings = {}, DWORD ex_style = 0, UINT entry_type = 0) {
    g_sys_commands.clear();
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
    AppendMenuA(recent, MF_STRING | entry_type, 111, "One");
    AppendMenuA(recent, MF_STRING | entry_type, 112, "Two");
    AppendMenuA(file, MF_POPUP | entry_type, reinterpret_cast<UINT_PTR>(recent), "&Recent");
    AppendMenuA(file, MF_STRING | entry_type, 101, "&Open\tCtrl+O");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    HMENU edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, 201, "&Copy");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
    AppendMenuA(bar, MF_STRING, 301, "&Go");
    Window = CreateWindowExA(ex_style, "SkinFormInputTest", "Input", WS_OVERLAPPEDWINDOW, 100, 100,
                             420, 300, nullptr, bar, GetModuleHandleA(nullptr), nullptr);
    // On top of whatever earlier tests left on the desktop, and active.
    SetWindowPos(Window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(Window);
    Form = std::make_unique<TWinSkinForm>(Window, nullptr, &Content, settings);
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

// The skinned system menu is a framework popup drawn by its items, with the
// skin's glyphs and the entries enabled for the window's state; choosing an
// entry sends its system command to the window.
TEST(SkinFormInput, SystemMenuIsOwnerDrawnWithGlyphsAndSendsTheCommand) {
  TImageList glyphs(nullptr);
  glyphs.SetSize(16, 16);
  TBitmap strip;
  strip.FromImage(MakeMenuGlyphs());
  glyphs.AddMasked(strip, clWhite);
  struct TCase {
    bool maximised;
    // Enabled: move, size, minimise, maximise, restore, close.
    std::vector<bool> enabled;
  };
  const TCase cases[] = {{false, {true, true, true, true, false, true}},
                         {true, {false, false, true, false, true, true}}};
  for (const TCase& c : cases) {
    TFormSkinSettings settings;
    settings.MenuGlyphs = &glyphs;
    TFixture f(settings);
    if (c.maximised) {
      ShowWindow(f.Window, SW_MAXIMIZE);
      f.PumpUntil([&] { return f.Form->WinState() == TWinState::Maximised; }, 1000);
    }
    std::vector<bool> enabled;
    std::vector<int> images;
    POINT close_at{};
    const UINT order[] = {SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE, SC_CLOSE};
    TScript s;
    s.Steps = {[&] {
                 if (s.WaitForMenu()) return;
                 TPopupMenu* p = f.Form->SystemPopup();
                 if (!p) return;
                 EXPECT_EQ(p->Tag(), kSystemPopupTag);
                 EXPECT_TRUE(p->OwnerDraw());
                 EXPECT_EQ(p->Images(), &glyphs);
                 for (UINT cmd : order) {
                   const TMenuItem* item = nullptr;
                   for (int i = 0; i < p->Items()->Count(); ++i)
                     if (static_cast<UINT>(p->Items()->Items(i)->Tag()) == cmd)
                       item = p->Items()->Items(i);
                   enabled.push_back(item && item->Enabled());
                   images.push_back(item ? item->ImageIndex() : -2);
                   if (cmd == SC_CLOSE && item) {
                     // Pointed at and clicked, as a user chooses it.
                     RECT r{};
                     GetMenuItemRect(nullptr, p->Handle(),
                                     static_cast<UINT>(p->Items()->IndexOf(item)), &r);
                     close_at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
                     MoveTo(close_at);
                   }
                 }
               },
               [&] {
                 mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
                 mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
               }};
    s.Start(300);
    Key(VK_SPACE, true);
    EXPECT_TRUE(f.PumpUntil(
        [&] {
          return s.Done() && OpenMenus().empty() &&
                 std::count(g_sys_commands.begin(), g_sys_commands.end(), SC_CLOSE) > 0;
        },
        3000));
    EXPECT_EQ(enabled, c.enabled) << (c.maximised ? "maximised" : "normal");
    EXPECT_EQ(images, (std::vector<int>{-1, -1, 2, 1, 0, 3}));
    EXPECT_EQ(std::count(g_sys_commands.begin(), g_sys_commands.end(), SC_CLOSE), 1);
    f.Form->Detach();
    EXPECT_EQ(f.Form->SystemPopup(), nullptr);
  }
}

class TMenuForm : public TForm {
  MV_CLASS(TMenuForm, TForm)
 public:
  explicit TMenuForm(TComponent* owner) : TForm(owner) {
    SetCaption("Keys");
    SetBounds(100, 100, 420, 300);
    auto* menu = new TMainMenu(this);
    for (const char* caption : {"&File", "&Edit"}) {
      auto* top = new TMenuItem(menu);
      top->SetCaption(caption);
      auto* entry = new TMenuItem(menu);
      entry->SetCaption("&Entry");
      top->Add(entry);
      menu->Items()->Add(top);
    }
    SetMenu(menu);
  }
};

// Alt+letter reaches a framework form as a dialog character before any system
// command: the skinned bar opens that item from the form's message handler,
// also when another handler was put over the skinner's; after unskinning the
// key goes its usual way.
TEST(SkinFormInput, AltLetterOpensTheBarThroughTheFormsHandler) {
  InstallSystemColourResolver();
  TTestSkin test = MakeTestSkin();
  TSkinContent content;
  ASSERT_TRUE(LoadSkinPackage(content, test.Package()));
  auto* form = Create<TMenuForm>(Application);
  form->Show();
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(form->Handle());
  auto skinner = std::make_unique<TWinSkinForm>(form->Handle(), form, &content);
  skinner->Attach();
  // A handler put over the skinner's, counting the Alt+letter characters that
  // went on to the window (where the system turns them into menu commands).
  int key_menus = 0;
  TWndMethod below = form->WindowProc;
  form->WindowProc = [&, below](TMessage& m) {
    if (m.Msg == WM_SYSCHAR) ++key_menus;
    below(m);
  };
  auto pump = [](const std::function<bool()>& done, int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    while (GetTickCount() < end && !done()) {
      Application->ProcessMessages();
      Sleep(10);
    }
    return done();
  };
  pump([&] { return GetForegroundWindow() == form->Handle() && skinner->Active(); }, 2000);
  int hot = -1;
  TScript s;
  s.Steps = {[&] {
    if (s.WaitForMenu()) return;
    for (size_t i = 0; i < skinner->MenuItems().size(); ++i)
      if (skinner->HotObject() == skinner->MenuItems()[i].get()) hot = static_cast<int>(i);
    EndMenu();
  }};
  s.Start(300);
  Key('E', true);
  EXPECT_TRUE(pump([&] { return s.Done() && !skinner->Tracking(); }, 3000));
  EXPECT_EQ(hot, 1);
  EXPECT_EQ(key_menus, 0) << "the key went on to the system's menu handling";

  // Unskinned below another handler: the chain still works, the key goes on
  // to the system (which opens the native bar; ended at once).
  skinner->Detach();
  skinner.reset();
  TScript t;
  t.Steps = {[&] {
    if (t.WaitForMenu()) return;
    EndMenu();
  }};
  t.Start(300);
  Key('E', true);
  pump([&] { return t.Done(); }, 3000);
  pump([] { return false; }, 100);
  EXPECT_GE(key_menus, 1);
  form->WindowProc = below;
  form->Free();
}

// The entries of an open dropdown are drawn by the skinner (owner draw, with
// a size of their own) and get their own types back when skinning stops,
// right-to-left entries included.
TEST(SkinFormInput, DropdownEntriesAreOwnerDrawnWhileSkinned) {
  struct TCase {
    const char* name;
    DWORD ex_style;
    UINT entry_type;
  };
  const TCase cases[] = {{"left to right", 0, 0},
                         {"right to left", WS_EX_LEFTSCROLLBAR, MFT_RIGHTORDER}};
  for (const TCase& c : cases) {
    TFixture f({}, c.ex_style, c.entry_type);
    ASSERT_FALSE(f.Form->MenuItems().empty());
    HMENU file = f.Form->MenuItems()[0]->SubMenu;
    HMENU recent = GetSubMenu(file, 0);
    auto types = [&] {
      std::vector<UINT> out;
      for (HMENU m : {file, recent})
        for (int i = 0; i < GetMenuItemCount(m); ++i) {
          MENUITEMINFOA mi{};
          mi.cbSize = sizeof mi;
          mi.fMask = MIIM_FTYPE;
          GetMenuItemInfoA(m, static_cast<UINT>(i), TRUE, &mi);
          out.push_back(mi.fType);
        }
      return out;
    };
    const std::vector<UINT> before = types();
    std::vector<UINT> during;
    std::vector<RECT> open;
    TScript s;
    s.Steps = {[&] {
      if (s.WaitForMenu()) return;
      during = types();
      open = OpenMenus();
      EndMenu();
    }};
    s.Start(300);
    SendMessageA(f.Window, WM_SYSCOMMAND, SC_KEYMENU, 'f');
    EXPECT_TRUE(f.PumpUntil([&] { return s.Done() && !f.Form->Tracking(); }, 3000));
    ASSERT_EQ(during.size(), before.size()) << c.name;
    for (size_t i = 0; i < before.size(); ++i) {
      EXPECT_NE(during[i] & MFT_OWNERDRAW, 0u) << c.name << " entry " << i;
      EXPECT_EQ(during[i] & MFT_RIGHTORDER, 0u) << c.name << " entry " << i;
    }
    // Measured by the skinner: wide enough for "&Open" and its short cut.
    ASSERT_EQ(open.size(), 1u) << c.name;
    EXPECT_GT(open[0].right - open[0].left, 70) << c.name;
    f.Form->Detach();
    EXPECT_EQ(types(), before) << c.name;
  }
}

// A bar item with a dropdown posts its own command before the dropdown
// opens (a framework item can fill it then); a native dropdown entry made by
// its handle has no command of its own, and a disabled item posts none.
TEST(SkinFormInput, BarItemWithDropdownPostsItsCommandFirst) {
  TFixture f;
  HMENU bar = CreateMenu();
  auto add = [&](const char* caption, UINT id, bool enabled) {
    HMENU drop = CreatePopupMenu();
    AppendMenuA(drop, MF_STRING, id + 50, "Entry");
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_STRING | MIIM_SUBMENU | MIIM_STATE | (id ? MIIM_ID : 0);
    mi.dwTypeData = const_cast<char*>(caption);
    mi.hSubMenu = drop;
    mi.wID = id;
    mi.fState = enabled ? MFS_ENABLED : MFS_GRAYED;
    InsertMenuItemA(bar, static_cast<UINT>(GetMenuItemCount(bar)), TRUE, &mi);
  };
  HMENU native = CreatePopupMenu();
  AppendMenuA(native, MF_STRING, 450, "Entry");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(native), "&Native");
  add("&Tools", 401, true);
  add("&Off", 402, false);
  SetMenu(f.Window, bar);
  SendMessageA(f.Window, CM_MENUCHANGED, 0, 0);  // the skinned bar takes it
  ASSERT_EQ(f.Form->MenuItems().size(), 3u);
  struct TCase {
    int index;
    std::vector<UINT> want;
    bool opens;
  };
  const TCase cases[] = {{0, {}, true}, {1, {401}, true}, {2, {}, false}};
  for (const TCase& c : cases) {
    g_commands.clear();
    std::vector<UINT> while_open;
    size_t open = 0;
    TScript s;
    s.Steps = {[&] {
      if (s.WaitForMenu()) return;
      while_open = g_commands;
      open = OpenMenus().size();
      EndMenu();
    }};
    if (c.opens) s.Start(200);
    f.Form->OpenMenuItem(c.index);
    f.Pump(50);
    if (c.opens) {
      EXPECT_TRUE(f.PumpUntil([&] { return s.Done(); }, 3000)) << c.index;
      EXPECT_EQ(open, 1u) << c.index;
      EXPECT_EQ(while_open, c.want) << c.index;
    }
    EXPECT_EQ(g_commands, c.want) << c.index;
  }
}

// A framework form's bar item with a dropdown gets its click before the
// dropdown shows.
TEST(SkinFormInput, FrameworkBarItemIsClickedBeforeItsDropdownShows) {
  InstallSystemColourResolver();
  TTestSkin test = MakeTestSkin();
  TSkinContent content;
  ASSERT_TRUE(LoadSkinPackage(content, test.Package()));
  auto* form = Create<TMenuForm>(Application);
  int clicks = 0;
  form->Menu()->Items()->Items(1)->OnClick = [&](TObject*) { ++clicks; };
  form->Show();
  auto skinner = std::make_unique<TWinSkinForm>(form->Handle(), form, &content);
  skinner->Attach();
  int clicks_while_open = -1;
  TScript s;
  s.Steps = {[&] {
    if (s.WaitForMenu()) return;
    clicks_while_open = clicks;
    EndMenu();
  }};
  s.Start(200);
  skinner->OpenMenuItem(1);
  const DWORD end = GetTickCount() + 3000;
  while (!s.Done() && GetTickCount() < end) {
    Application->ProcessMessages();
    Sleep(10);
  }
  Application->ProcessMessages();
  EXPECT_EQ(clicks_while_open, 1);
  EXPECT_EQ(clicks, 1);
  skinner.reset();
  form->Free();
}

}  // namespace
