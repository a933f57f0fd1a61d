// MDI frames and children under the form skinner: what each window is, the
// MDI client's subclass, children's frames, the maximised child's buttons in
// the frame's bar, the manager's maximised flag, and letting go again.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "engine/image_ops.h"
#include "engine/skin_parse.h"
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

struct TSkin {
  TTestSkin Test;
  TSkinContent Content;
  TSkin() : Test(MakeTestSkin()) {
    InstallSystemColourResolver();
    const std::vector<uint8_t> pkg = Test.Package();
    EXPECT_TRUE(LoadSkinPackage(Content, pkg));
  }
  int Index(const char* member) const { return Test.Find(member)->Index; }
};

void Pump(int ms = 30) {
  PumpUntil([] { return false; }, ms);
}

LRESULT CALLBACK ChildProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  return DefMDIChildProcA(w, msg, wp, lp);
}
LRESULT CALLBACK FrameProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  HWND client = FindWindowExA(w, nullptr, "MDIClient", nullptr);
  return DefFrameProcA(w, client, msg, wp, lp);
}
LRESULT CALLBACK PlainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(w, msg, wp, lp);
}

void Register() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSA wc{};
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpfnWndProc = FrameProc;
  wc.lpszClassName = "MdiTestFrame";
  RegisterClassA(&wc);
  wc.lpfnWndProc = ChildProc;
  wc.lpszClassName = "MdiTestChild";
  RegisterClassA(&wc);
  wc.lpfnWndProc = PlainProc;
  wc.lpszClassName = "MdiTestPlain";
  RegisterClassA(&wc);
}

HMENU FrameMenu(const char* first = "&File") {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, 101, "E&xit");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), first);
  HMENU window = CreatePopupMenu();
  AppendMenuA(window, MF_STRING, 201, "&Tile");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(window), "&Window");
  return bar;
}

struct TMdi {
  HWND Frame = nullptr;
  HWND Client = nullptr;
};

TMdi MakeFrame(bool with_menu = true, DWORD ex_style = 0) {
  Register();
  TMdi m;
  HMENU menu = with_menu ? FrameMenu() : nullptr;
  m.Frame =
      CreateWindowExA(ex_style, "MdiTestFrame", "MDI frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                      20, 20, 620, 460, nullptr, menu, GetModuleHandleA(nullptr), nullptr);
  CLIENTCREATESTRUCT cc{};
  cc.hWindowMenu = menu ? GetSubMenu(menu, 1) : nullptr;
  cc.idFirstChild = 1000;
  m.Client = CreateWindowExA(0, "MDICLIENT", nullptr,
                             WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0,
                             0, 0, 0, m.Frame, nullptr, GetModuleHandleA(nullptr), &cc);
  ShowWindow(m.Frame, SW_SHOW);
  SetForegroundWindow(m.Frame);
  UpdateWindow(m.Frame);
  Pump();
  return m;
}

HWND AddChild(const TMdi& m, const char* title, int x = 10, int y = 10) {
  MDICREATESTRUCTA mc{};
  mc.szClass = "MdiTestChild";
  mc.szTitle = title;
  mc.hOwner = GetModuleHandleA(nullptr);
  mc.x = x;
  mc.y = y;
  mc.cx = 280;
  mc.cy = 180;
  mc.style = WS_OVERLAPPEDWINDOW;
  HWND c = reinterpret_cast<HWND>(
      SendMessageA(m.Client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mc)));
  Pump();
  return c;
}

WNDPROC ProcOf(HWND w) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w, GWLP_WNDPROC));
}
bool HasRegion(HWND w) {
  HRGN r = CreateRectRgn(0, 0, 0, 0);
  const int kind = GetWindowRgn(w, r);
  DeleteObject(r);
  return kind != ERROR && kind != NULLREGION;
}
HWND ActiveChild(const TMdi& m, bool* maximised = nullptr) {
  BOOL max = FALSE;
  HWND a = reinterpret_cast<HWND>(
      SendMessageA(m.Client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&max)));
  if (maximised) *maximised = max != FALSE;
  return a;
}
const TWinSysButton* MdiButton(const TWinSkinForm& f, int action) {
  for (const auto& b : f.TitleButtons())
    if (b->Element->Align == 100 && b->Element->Action == action) return b.get();
  return nullptr;
}
// The platform's caption height for a child, at least (see ApplyMdiChildMetrics).
int ChildMenuRow(int top) {
  return std::max(0, GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME) - top);
}

TEST(SkinFormMdi, KindClientAndScrollBarsPerWindow) {
  TSkin skin;
  struct Row {
    const char* what;
    int window;  // 0 plain top-level, 1 MDI frame, 2 MDI child
    bool keep_scrollbars;
    bool child_border;  // MDI children keep their own frame
    TMdiKind kind;
    bool skinned_frame;
  } rows[] = {
      {"plain window", 0, false, false, TMdiKind::None, true},
      {"frame, scroll bars off", 1, false, false, TMdiKind::Frame, true},
      {"frame, scroll bars kept", 1, true, false, TMdiKind::Frame, true},
      {"child", 2, false, false, TMdiKind::Child, true},
      {"child with its own border", 2, false, true, TMdiKind::Child, false},
      {"frame, children with their own border", 1, false, true, TMdiKind::Frame, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    TMdi m = MakeFrame();
    HWND plain = nullptr;
    HWND target = m.Frame;
    if (r.window == 0) {
      plain = CreateWindowExA(0, "MdiTestPlain", "plain", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                              300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
      target = plain;
    } else if (r.window == 2) {
      target = AddChild(m, "child");
    }
    const WNDPROC client_proc = ProcOf(m.Client);
    const SIZE outer = OuterSize(target), client = ClientSize(target);
    TFormSkinSettings settings;
    settings.MdiScrollbar = r.keep_scrollbars;
    settings.MdiChildBorder = r.child_border;
    {
      TWinSkinForm f(target, nullptr, &skin.Content, settings);
      f.Attach();
      Pump();
      EXPECT_EQ(f.Kind(), r.kind);
      EXPECT_EQ(ClientSize(target).cx, client.cx);
      EXPECT_EQ(OuterSize(target).cx - outer.cx, r.skinned_frame ? 12 - (outer.cx - client.cx) : 0)
          << "the skin's side borders are 6 wide";
      EXPECT_EQ(f.MdiClientWnd(), r.window == 1 ? m.Client : nullptr);
      EXPECT_EQ(ProcOf(m.Client) != client_proc, r.window == 1) << "client subclassed";
      if (r.window == 1) {
        // The scroll bars stay off even when the client asks for them again.
        SetWindowLongPtrA(m.Client, GWL_STYLE,
                          GetWindowLongPtrA(m.Client, GWL_STYLE) | WS_HSCROLL | WS_VSCROLL);
        SetWindowPos(m.Client, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
        const LONG_PTR style = GetWindowLongPtrA(m.Client, GWL_STYLE);
        EXPECT_EQ((style & (WS_HSCROLL | WS_VSCROLL)) != 0, r.keep_scrollbars);
        // The client still works through the subclass.
        HWND c = AddChild(m, "late child");
        EXPECT_EQ(ActiveChild(m), c);
      }
      f.Detach();
      EXPECT_EQ(ProcOf(m.Client), client_proc);
      EXPECT_EQ(OuterSize(target).cx, outer.cx);
      EXPECT_EQ(OuterSize(target).cy, outer.cy);
      EXPECT_EQ(SendMessageA(target, kSkmIsSkinned, 0, 0), 0);
    }
    if (plain) DestroyWindow(plain);
    DestroyWindow(m.Frame);
    Pump();
  }
}

TEST(SkinFormMdi, ChildKeepsItsClientAndWearsTheSkinsFrame) {
  TSkin skin;
  TMdi m = MakeFrame();
  HWND a = AddChild(m, "first", 10, 10);
  HWND b = AddChild(m, "second", 60, 60);
  const SIZE before = ClientSize(b);
  const LONG_PTR style_before = GetWindowLongPtrA(b, GWL_STYLE);
  const SIZE outer_before = OuterSize(b);
  const WNDPROC proc_before = ProcOf(b);
  auto fa = std::make_unique<TWinSkinForm>(a, nullptr, &skin.Content);
  auto fb = std::make_unique<TWinSkinForm>(b, nullptr, &skin.Content);
  fa->Attach();
  fb->Attach();
  Pump(50);
  ASSERT_EQ(fb->Kind(), TMdiKind::Child);
  const TFrameMetrics& fm = fb->Metrics();
  EXPECT_EQ(fm.Top, 24);
  EXPECT_EQ(fm.Menu, ChildMenuRow(24));
  const SIZE c = ClientSize(b), o = OuterSize(b);
  EXPECT_EQ(c.cx, before.cx);
  EXPECT_EQ(c.cy, before.cy);
  EXPECT_EQ(o.cx, c.cx + fm.Left + fm.Right);
  EXPECT_EQ(o.cy, c.cy + fm.Top + fm.Bottom + fm.Menu);
  EXPECT_TRUE(HasRegion(b) || !skin.Content.LeftBorder.Trans);

  // The active child's caption is drawn active, the other one's inactive,
  // whichever way the activation goes.
  const int left = skin.Index("left.bmp"), top = skin.Index("top.bmp");
  for (HWND active : {b, a, b}) {
    SendMessageA(m.Client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(active), 0);
    Pump(50);
    for (auto* f : {fa.get(), fb.get()}) {
      const bool is_active = f->Handle() == active;
      EXPECT_EQ(f->Active(), is_active);
      // Pixels of the topmost (active) child only: the other may be covered.
      if (!is_active) continue;
      const SIZE so = OuterSize(f->Handle());
      EXPECT_EQ(WindowPixel(f->Handle(), 2, so.cy / 2),
                TestPieceColour(left, 1, TTestPiece::Centre));
      EXPECT_EQ(WindowPixel(f->Handle(), so.cx / 2, 12),
                TestPieceColour(top, 1, TTestPiece::Centre));
    }
    // The inactive one paints its second frames (read from its painting).
    TWinSkinForm* other = active == a ? fb.get() : fa.get();
    const SIZE so = OuterSize(other->Handle());
    TNativeBitmap mem(so.cx, so.cy);
    {
      TMemoryDC mdc(mem);
      other->PaintFrameTo(mdc.Handle());
    }
    GdiFlush();
    EXPECT_EQ(mem.Pixel(so.cx / 2, 12), TestPieceColour(top, 2, TTestPiece::Centre));
  }

  // A hit on the caption of the child, in its own window coordinates.
  RECT wr;
  GetWindowRect(b, &wr);
  EXPECT_EQ(SendMessageA(b, WM_NCHITTEST, 0, MAKELPARAM(wr.left + 80, wr.top + 12)), HTCAPTION);

  // A minimised child: the window point is the offset from its window.
  SendMessageA(b, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump(50);
  ASSERT_TRUE(IsIconic(b));
  GetWindowRect(b, &wr);
  const TPoint p = fb->WindowPoint({wr.left + 5, wr.top + 4});
  EXPECT_EQ(p.X, 5);
  EXPECT_EQ(p.Y, 4);
  EXPECT_FALSE(HasRegion(b)) << "a minimised child has no shaped frame";
  SendMessageA(b, WM_SYSCOMMAND, SC_RESTORE, 0);
  Pump(50);
  EXPECT_EQ(ClientSize(b).cx, before.cx);
  EXPECT_EQ(ClientSize(b).cy, before.cy);

  // Detaching gives back the procedure, style and outer size.
  fb->Detach();
  EXPECT_EQ(ProcOf(b), proc_before);
  EXPECT_EQ(GetWindowLongPtrA(b, GWL_STYLE), style_before);
  EXPECT_EQ(OuterSize(b).cx, outer_before.cx);
  EXPECT_EQ(OuterSize(b).cy, outer_before.cy);
  EXPECT_EQ(ClientSize(b).cx, before.cx);
  EXPECT_FALSE(HasRegion(b));
  fb.reset();
  fa.reset();
  DestroyWindow(m.Frame);
  Pump();
}

TEST(SkinFormMdi, ThinCaptionChildGetsAnEmptyRowUpToThePlatformsCaption) {
  TSkin skin;
  TSkin thin;
  // A top border 6 pixels high per frame.
  TSkinBitmap& top = thin.Content.TopBorder.Bitmap;
  const int frames = std::max(1, thin.Content.TopBorder.FrameCount);
  top = CropImage(top, 0, 0, top.Width, 6 * frames);
  TMdi m = MakeFrame();
  HWND c = AddChild(m, "thin");
  const SIZE before = ClientSize(c);
  TWinSkinForm f(c, nullptr, &thin.Content);
  f.Attach();
  Pump(50);
  const int row = ChildMenuRow(6);
  ASSERT_GT(row, 0);
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass ? "after reload" : "attached");
    EXPECT_EQ(f.Metrics().Top, 6);
    EXPECT_EQ(f.Metrics().Menu, row);
    EXPECT_EQ(ClientSize(c).cx, before.cx);
    EXPECT_EQ(ClientSize(c).cy, before.cy);
    EXPECT_EQ(OuterSize(c).cy, before.cy + 6 + f.Metrics().Bottom + row);
    // The row is plain button face: a child has no menu bar.
    EXPECT_EQ(WindowPixel(c, OuterSize(c).cx / 2, 6 + row / 2),
              ToColorRef(thin.Content.Colours[kcButtonFace]));
    f.Reload(&thin.Content);
    Pump(30);
  }
  // The usual skin: the caption is high enough, no row.
  f.Reload(&skin.Content);
  Pump(30);
  EXPECT_EQ(f.Metrics().Menu, ChildMenuRow(24));
  EXPECT_EQ(ClientSize(c).cy, before.cy);
  f.Detach();
  DestroyWindow(m.Frame);
  Pump();
}

TEST(SkinFormMdi, MaximisedChildsButtonsInTheFramesBarActOnTheChild) {
  TSkin skin;
  const int strip = skin.Index("mdicontrols.bmp");
  struct Row {
    int action;
    const char* what;
    std::function<bool(HWND)> done;
  } rows[] = {
      {7, "minimise", [](HWND c) { return IsWindow(c) && IsIconic(c); }},
      {8, "restore", [](HWND c) { return IsWindow(c) && !IsIconic(c) && !IsZoomed(c); }},
      {9, "close", [](HWND c) { return !IsWindow(c); }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    TMdi m = MakeFrame();
    HWND other = AddChild(m, "other", 10, 10);
    HWND c = AddChild(m, "child", 40, 40);
    TWinSkinForm frame(m.Frame, nullptr, &skin.Content);
    frame.Attach();
    TWinSkinForm co(other, nullptr, &skin.Content), cc(c, nullptr, &skin.Content);
    co.Attach();
    cc.Attach();
    Pump(50);
    // Normal children: no MDI buttons in the bar.
    for (int action : {7, 8, 9}) {
      ASSERT_NE(MdiButton(frame, action), nullptr);
      EXPECT_FALSE(MdiButton(frame, action)->Visible);
    }
    SendMessageA(m.Client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(c), 0);
    Pump(80);
    ASSERT_TRUE(IsZoomed(c));
    // The child's own frame is out of sight: its client fills the MDI client.
    EXPECT_EQ(ClientSize(c).cx, ClientSize(m.Client).cx);
    EXPECT_EQ(ClientSize(c).cy, ClientSize(m.Client).cy);
    EXPECT_FALSE(HasRegion(c));
    // The buttons sit at the right of the bar, right to left, in the row.
    const TFrameMetrics& fm = frame.Metrics();
    const SIZE fo = OuterSize(m.Frame);
    int right_edge = fo.cx;
    for (int i = 2; i >= 0; --i) {
      const TWinSysButton* b = MdiButton(frame, 7 + i);
      ASSERT_TRUE(b->Visible);
      EXPECT_GE(b->Rect.Top, fm.Top);
      EXPECT_LE(b->Rect.Bottom, fm.Top + fm.Menu);
      EXPECT_LE(b->Rect.Right, right_edge);
      right_edge = b->Rect.Left;
      const int cx = (b->Rect.Left + b->Rect.Right) / 2, cy = (b->Rect.Top + b->Rect.Bottom) / 2;
      const TTestPiece piece =
          TestPieceAt(cx - b->Rect.Left, cy - b->Rect.Top, b->Rect.Width(), b->Rect.Height(), {});
      EXPECT_EQ(WindowPixel(m.Frame, cx, cy), TestPieceColour(strip, 4 * i + 1, piece))
          << "button " << i;
    }
    // No bar item is left empty by the platform's additions for the child.
    for (const auto& item : frame.MenuItems()) {
      if (item->Visible) {
        EXPECT_FALSE(item->Caption.empty());
      }
    }
    // Press and release on the button.
    const TWinSysButton* b = MdiButton(frame, r.action);
    RECT wr;
    GetWindowRect(m.Frame, &wr);
    const LPARAM at = MAKELPARAM(wr.left + (b->Rect.Left + b->Rect.Right) / 2,
                                 wr.top + (b->Rect.Top + b->Rect.Bottom) / 2);
    const int i = r.action - 7;
    const int bx = (b->Rect.Left + b->Rect.Right) / 2, by = (b->Rect.Top + b->Rect.Bottom) / 2;
    const TTestPiece piece =
        TestPieceAt(bx - b->Rect.Left, by - b->Rect.Top, b->Rect.Width(), b->Rect.Height(), {});
    // Hot: the fourth frame of an MDI button; pressed: the second.
    ASSERT_TRUE(frame.Active());
    SendMessageA(m.Frame, WM_NCMOUSEMOVE, HTMENU, at);
    EXPECT_EQ(b->State, 3) << "hot";
    EXPECT_EQ(frame.HotObject(), b);
    EXPECT_EQ(WindowPixel(m.Frame, bx, by), TestPieceColour(strip, 4 * i + 4, piece));
    SendMessageA(m.Frame, WM_NCLBUTTONDOWN, HTMENU, at);
    EXPECT_EQ(b->State, 2) << "pressed";
    EXPECT_EQ(WindowPixel(m.Frame, bx, by), TestPieceColour(strip, 4 * i + 2, piece));
    SendMessageA(m.Frame, WM_NCLBUTTONUP, HTMENU, at);
    EXPECT_TRUE(PumpUntil([&] { return r.done(c); }, 1000));
    Pump(50);
    bool maximised = true;
    ActiveChild(m, &maximised);
    if (!maximised) {
      for (int action : {7, 8, 9})
        EXPECT_FALSE(MdiButton(frame, action)->Visible) << "buttons gone with the maximised child";
    }
    DestroyWindow(m.Frame);
    Pump();
  }
}

TEST(SkinFormMdi, NewFrameMenuRebuildsTheBarWithoutTheChildsEntries) {
  TSkin skin;
  TMdi m = MakeFrame();
  HWND c = AddChild(m, "child");
  TWinSkinForm frame(m.Frame, nullptr, &skin.Content);
  frame.Attach();
  Pump();
  for (bool maximised : {false, true}) {
    SCOPED_TRACE(maximised ? "maximised child" : "normal child");
    if (maximised) SendMessageA(m.Client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(c), 0);
    Pump(50);
    HMENU menu = FrameMenu(maximised ? "&Document" : "&Sheet");
    AppendMenuA(menu, MF_STRING, 301, "&Go");
    SendMessageA(m.Client, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu),
                 reinterpret_cast<LPARAM>(GetSubMenu(menu, 1)));
    Pump(50);
    EXPECT_EQ(GetMenu(m.Frame), nullptr) << "the bar is painted by the skinner";
    EXPECT_EQ(GetMenuItemCount(menu), 3) << "the menu keeps only its own entries";
    ASSERT_EQ(frame.MenuItems().size(), 3u);
    EXPECT_EQ(frame.MenuItems()[0]->Caption, maximised ? L"&Document" : L"&Sheet");
    EXPECT_EQ(frame.MenuItems()[2]->Caption, L"&Go");
    EXPECT_EQ(frame.Metrics().Menu, GetSystemMetrics(SM_CYMENU));
  }
  // Letting go gives the frame its latest menu back.
  HMENU last = nullptr;
  frame.Detach();
  last = GetMenu(m.Frame);
  ASSERT_NE(last, nullptr);
  wchar_t text[32]{};
  GetMenuStringW(last, 0, text, 32, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Document");
  DestroyWindow(m.Frame);
  Pump();
}

TEST(SkinFormMdi, BarItemsStayClearOfTheMdiButtonsInBothDirections) {
  TSkin skin;
  for (DWORD ex : {0ul, static_cast<DWORD>(WS_EX_LEFTSCROLLBAR)}) {
    SCOPED_TRACE(ex ? "right to left" : "left to right");
    TMdi m = MakeFrame(true, ex);
    // A narrow frame: right to left, the items would run into the buttons.
    SetWindowPos(m.Frame, nullptr, 0, 0, 260, 300, SWP_NOMOVE | SWP_NOZORDER);
    HWND c = AddChild(m, "child");
    TWinSkinForm frame(m.Frame, nullptr, &skin.Content);
    frame.Attach();
    SendMessageA(m.Client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(c), 0);
    Pump(80);
    frame.PaintFrame();
    int buttons_left = INT_MAX;
    for (int action : {7, 8, 9}) {
      const TWinSysButton* b = MdiButton(frame, action);
      ASSERT_TRUE(b && b->Visible);
      buttons_left = std::min(buttons_left, static_cast<int>(b->Rect.Left));
    }
    for (const auto& item : frame.MenuItems()) {
      if (!item->Visible) continue;
      EXPECT_LE(item->Rect.Right, buttons_left - (ex ? 5 : 0)) << "item right " << item->Rect.Right;
    }
    DestroyWindow(m.Frame);
    Pump();
  }
}

WNDPROC g_later_old = nullptr;
int g_later_calls = 0;
LRESULT CALLBACK LaterProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  ++g_later_calls;
  return CallWindowProcA(g_later_old, w, msg, wp, lp);
}

TEST(SkinFormMdi, ClientSubclassedAfterUsKeepsItsChainOnDetach) {
  TSkin skin;
  TMdi m = MakeFrame();
  AddChild(m, "child");
  const WNDPROC original = ProcOf(m.Client);
  auto frame = std::make_unique<TWinSkinForm>(m.Frame, nullptr, &skin.Content);
  frame->Attach();
  Pump();
  g_later_old = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(m.Client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterProc)));
  frame->Detach();
  frame.reset();
  EXPECT_EQ(ProcOf(m.Client), &LaterProc) << "a later subclass stays in place";
  // Messages still reach the MDI client through what is left of the chain.
  g_later_calls = 0;
  HWND c = AddChild(m, "second");
  EXPECT_GT(g_later_calls, 0);
  EXPECT_EQ(ActiveChild(m), c);
  SetWindowLongPtrA(m.Client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_later_old));
  EXPECT_EQ(ActiveChild(m), c);
  (void)original;
  DestroyWindow(m.Frame);
  Pump();
}

class SkinFormMdiManagerTest : public ::testing::Test {
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
    if (host_) host_->Free();
    FreeSkinManager();
    SetSkinnerFactory(nullptr);
    Pump();
  }
  static bool Skinned(HWND w) { return SendMessageA(w, kSkmIsSkinned, 0, 0) == 1; }
  TForm* host_ = nullptr;
  TSkinData* data_ = nullptr;
};

TEST_F(SkinFormMdiManagerTest, MaximisedFlagFollowsTheChildren) {
  TMdi m = MakeFrame();
  ASSERT_TRUE(PumpUntil([&] { return Skinned(m.Frame); }, 2000));
  ASSERT_NE(SkinManager, nullptr);
  EXPECT_EQ(SkinManager->MdiClient, m.Client);
  HWND a = AddChild(m, "a", 10, 10);
  HWND b = AddChild(m, "b", 40, 40);
  ASSERT_TRUE(PumpUntil([&] { return Skinned(a) && Skinned(b); }, 2000));
  TWinSkinForm* fb = ManagedFormSkinner(b);
  ASSERT_NE(fb, nullptr);
  EXPECT_EQ(fb->Kind(), TMdiKind::Child);
  Pump(50);
  // Skinned while being created: the client the program asked for stays.
  const SIZE cb = ClientSize(b), ob = OuterSize(b);
  EXPECT_EQ(ob.cx, cb.cx + fb->Metrics().Left + fb->Metrics().Right);
  EXPECT_EQ(ob.cy - cb.cy, fb->Metrics().Top + fb->Metrics().Bottom + fb->Metrics().Menu);
  // The active child's caption follows the frame's activation.
  ASSERT_EQ(ActiveChild(m), b);
  for (BOOL on : {FALSE, TRUE, FALSE, TRUE}) {
    SendMessageA(m.Frame, WM_NCACTIVATE, on, 0);
    Pump(20);
    EXPECT_EQ(fb->Active(), on != FALSE);
    EXPECT_EQ(ManagedFormSkinner(m.Frame)->Active(), on != FALSE);
  }

  struct Step {
    const char* what;
    std::function<void()> act;
    bool maximised;
  } steps[] = {
      {"maximise", [&] { SendMessageA(m.Client, WM_MDIMAXIMIZE, (WPARAM)b, 0); }, true},
      {"restore", [&] { SendMessageA(m.Client, WM_MDIRESTORE, (WPARAM)b, 0); }, false},
      {"maximise by command", [&] { SendMessageA(b, WM_SYSCOMMAND, SC_MAXIMIZE, 0); }, true},
      {"tile", [&] { SendMessageA(m.Client, WM_MDITILE, MDITILE_VERTICAL, 0); }, false},
      {"maximise again", [&] { SendMessageA(m.Client, WM_MDIMAXIMIZE, (WPARAM)a, 0); }, true},
      {"cascade", [&] { SendMessageA(m.Client, WM_MDICASCADE, 0, 0); }, false},
      {"maximise, then destroy", [&] { SendMessageA(m.Client, WM_MDIMAXIMIZE, (WPARAM)b, 0); },
       true},
      // The next child takes over the maximised state, as the platform does.
      {"destroyed", [&] { SendMessageA(m.Client, WM_MDIDESTROY, (WPARAM)b, 0); }, true},
      {"last child destroyed", [&] { SendMessageA(m.Client, WM_MDIDESTROY, (WPARAM)a, 0); }, false},
  };
  for (const Step& s : steps) {
    s.act();
    Pump(60);
    bool zoomed = false;
    ActiveChild(m, &zoomed);
    EXPECT_EQ(zoomed, s.maximised) << s.what << " (the platform)";
    EXPECT_EQ(SkinManager->MdiMaximized, s.maximised) << s.what;
    // A restored child has its shaped frame back.
    if (!s.maximised && IsWindow(a) && !IsIconic(a)) {
      EXPECT_EQ(HasRegion(a), data_->Content().LeftBorder.Trans != 0) << s.what;
    }
  }
  EXPECT_FALSE(IsWindow(b));
  EXPECT_EQ(ManagedFormSkinner(b), nullptr);
  EXPECT_FALSE(IsWindow(a));

  // Destroying the frame with a skinned, maximised child does not crash and
  // leaves no skinner behind.
  a = AddChild(m, "c");
  ASSERT_TRUE(PumpUntil([&] { return Skinned(a); }, 2000));

  SendMessageA(m.Client, WM_MDIMAXIMIZE, (WPARAM)a, 0);
  Pump(50);
  DestroyWindow(m.Frame);
  Pump(50);
  // The children's skinners are finished; the manager frees them when it
  // purges.
  TWinSkinForm* left = ManagedFormSkinner(a);
  EXPECT_TRUE(left == nullptr || left->Dead());
  SkinManager->PurgeForms();
  EXPECT_EQ(ManagedFormSkinner(a), nullptr);
  EXPECT_EQ(ManagedFormSkinner(m.Frame), nullptr);
  EXPECT_EQ(SkinManager->MdiClient, nullptr);
}

}  // namespace
