// The form skinner on real windows under the platform: client size kept,
// frame pixels from the skin, region, hit testing, title buttons, menu bar,
// detaching.
#include "engine_win/skin_form.h"

#include <gtest/gtest.h>

#include <memory>

#include "engine/skin_parse.h"
#include "engine/skin_stream.h"
#include "engine_win/skin_data.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/messages.h"
#include "test_skin.h"
#include "window_probe.h"

namespace {

using namespace window_probe;

struct TSkin {
  TTestSkin Test;
  TSkinContent Content;
  explicit TSkin(TTestSkinOptions o = {}) : Test(MakeTestSkin(o)) {
    InstallSystemColourResolver();
    const std::vector<uint8_t> pkg = Test.Package();
    EXPECT_TRUE(LoadSkinPackage(Content, pkg));
  }
  int Index(const char* member) const { return Test.Find(member)->Index; }
};

void Pump(int ms = 0) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (ms) Sleep(5);
  } while (GetTickCount() < end);
}

UINT g_last_syscommand = 0;
WPARAM g_last_action = 0;
LRESULT CALLBACK BareProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SYSCOMMAND) g_last_syscommand = static_cast<UINT>(wp & 0xFFF0);
  if (msg == kSkmTitleAction) g_last_action = wp;
  return DefWindowProcA(w, msg, wp, lp);
}

HWND MakeBare(bool with_menu, DWORD style = WS_OVERLAPPEDWINDOW) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = BareProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SkinFormTestBare";
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    RegisterClassA(&wc);
    registered = true;
  }
  HMENU menu = nullptr;
  if (with_menu) {
    menu = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 101, "&Open");
    AppendMenuA(file, MF_STRING, 102, "E&xit");
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    HMENU edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, 201, "&Copy");
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
    AppendMenuA(menu, MF_STRING, 301, "&Go");
  }
  HWND w = CreateWindowExA(0, "SkinFormTestBare", "Skinned window", style, 40, 40, 400, 300,
                           nullptr, menu, GetModuleHandleA(nullptr), nullptr);
  ShowWindow(w, SW_SHOW);
  SetForegroundWindow(w);
  UpdateWindow(w);
  Pump(50);
  return w;
}

TEST(SkinForm, KeepsClientSizeAndAnswersOnlyWhenSkinned) {
  TSkin skin;
  HWND w = MakeBare(true);
  HWND other = MakeBare(false);
  const SIZE before = ClientSize(w);
  const SIZE outer_before = OuterSize(w);
  const WNDPROC proc_before = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w, GWLP_WNDPROC));
  const LONG_PTR style_before = GetWindowLongPtrA(w, GWL_STYLE);
  HMENU menu_before = GetMenu(w);
  {
    TWinSkinForm f(w, nullptr, &skin.Content);
    f.Attach();
    Pump(30);
    EXPECT_EQ(SendMessageA(w, kSkmIsSkinned, 0, 0), 1);
    EXPECT_EQ(SendMessageA(other, kSkmIsSkinned, 0, 0), 0);
    const TFrameMetrics& m = f.Metrics();
    EXPECT_EQ(m.Left, 6);
    EXPECT_EQ(m.Right, 6);
    EXPECT_EQ(m.Top, 24);
    EXPECT_EQ(m.Bottom, 6);
    EXPECT_EQ(m.Menu, GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(GetMenu(w), nullptr);  // the bar is ours now
    ASSERT_EQ(f.MenuItems().size(), 3u);
    const SIZE c = ClientSize(w);
    EXPECT_EQ(c.cx, before.cx);
    EXPECT_EQ(c.cy, before.cy);
    const SIZE o = OuterSize(w);
    EXPECT_EQ(o.cx, before.cx + 12);
    EXPECT_EQ(o.cy, before.cy + 30 + m.Menu);
    // Resizing keeps the frame's sizes; tiny sizes never give a negative client.
    for (SIZE s : {SIZE{500, 420}, SIZE{260, 140}, SIZE{8, 8}, SIZE{640, 480}}) {
      SetWindowPos(w, nullptr, 0, 0, s.cx, s.cy, SWP_NOMOVE | SWP_NOZORDER);
      Pump();
      // (the platform may refuse sizes below its minimum window size)
      const SIZE cs = ClientSize(w), os = OuterSize(w);
      EXPECT_EQ(cs.cx, std::max(0L, os.cx - 12L)) << s.cx;
      EXPECT_EQ(cs.cy, std::max(0L, os.cy - 30L - m.Menu)) << s.cy;
    }
    SetWindowPos(w, nullptr, 0, 0, o.cx, o.cy, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    f.Detach();
    EXPECT_EQ(SendMessageA(w, kSkmIsSkinned, 0, 0), 0);
  }
  // Everything as before.
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w, GWLP_WNDPROC)), proc_before);
  EXPECT_EQ(GetWindowLongPtrA(w, GWL_STYLE), style_before);
  EXPECT_EQ(GetMenu(w), menu_before);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(w, probe), ERROR);
  DeleteObject(probe);
  const SIZE outer_after = OuterSize(w);
  EXPECT_EQ(outer_after.cx, outer_before.cx);
  EXPECT_EQ(outer_after.cy, outer_before.cy);
  DestroyWindow(w);
  DestroyWindow(other);
}

TEST(SkinForm, FramePixelsComeFromTheSkinActiveAndInactive) {
  TSkin skin;
  HWND w = MakeBare(false);
  TWinSkinForm f(w, nullptr, &skin.Content);
  f.Attach();
  Pump(30);
  const SIZE o = OuterSize(w);
  const int left = skin.Index("left.bmp"), right = skin.Index("right.bmp"),
            bottom = skin.Index("bottom.bmp"), top = skin.Index("top.bmp");
  struct Probe {
    int x, y, element;
    TTestPiece piece;
  } probes[] = {
      {2, o.cy / 2, left, TTestPiece::Centre}, {o.cx - 3, o.cy / 2, right, TTestPiece::Centre},
      {2, 2, left, TTestPiece::Top},           {o.cx / 2, o.cy - 3, bottom, TTestPiece::Centre},
      {o.cx / 2, 12, top, TTestPiece::Centre}, {8, 12, top, TTestPiece::Left},
  };
  for (bool active : {true, false}) {
    SendMessageA(w, WM_NCACTIVATE, active, 0);
    Pump(20);
    EXPECT_EQ(f.Active(), active);
    const int frame = active ? 1 : 2;
    TNativeBitmap mem(o.cx, o.cy);
    {
      TMemoryDC mdc(mem);
      EXPECT_EQ(SendMessageA(w, kSkmPaintFrame, reinterpret_cast<WPARAM>(mdc.Handle()), kSkinMagic),
                kSkinMagic);
    }
    GdiFlush();
    for (const Probe& p : probes) {
      const TColor want = TestPieceColour(p.element, frame, p.piece);
      EXPECT_EQ(WindowPixel(w, p.x, p.y), want) << p.x << "," << p.y << " active " << active;
      EXPECT_EQ(mem.Pixel(p.x, p.y), want) << "memory " << p.x << "," << p.y;
    }
  }
  DestroyWindow(w);
  EXPECT_TRUE(f.Dead());
}

bool InRegion(HWND w, int x, int y) {
  HRGN r = CreateRectRgn(0, 0, 0, 0);
  const int kind = GetWindowRgn(w, r);
  const bool in = kind == ERROR ? true : PtInRegion(r, x, y) != FALSE;
  DeleteObject(r);
  return in;
}

TEST(SkinForm, RegionCutsNearMagentaAndFollowsTheSize) {
  TSkin skin;
  // Corner pixels of the top border (both frames) made (near) magenta.
  TSkinBitmap& top = skin.Content.TopBorder.Bitmap;
  auto set = [](TSkinBitmap& b, int x, int y, uint8_t r, uint8_t g, uint8_t bl) {
    uint8_t* p = b.Row(y) + x * 3;
    p[0] = bl, p[1] = g, p[2] = r;
  };
  const int fh = top.Height / 2;
  for (int fr = 0; fr < 2; ++fr) {
    set(top, 0, fr * fh, 255, 0, 255);
    set(top, 1, fr * fh, 255, 1, 255);  // near magenta: cut as well
    set(top, 2, fr * fh, 250, 0, 255);  // too far: kept
    set(top, top.Width - 1, fr * fh, 255, 0, 255);
  }
  HWND w = MakeBare(false);
  TWinSkinForm f(w, nullptr, &skin.Content);
  f.Attach();
  Pump(30);
  const int l = f.Metrics().Left, r = f.Metrics().Right;
  for (SIZE s : {SIZE{400, 300}, SIZE{520, 330}}) {
    SetWindowPos(w, nullptr, 0, 0, s.cx, s.cy, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    EXPECT_FALSE(InRegion(w, l + 0, 0)) << s.cx;
    EXPECT_FALSE(InRegion(w, l + 1, 0));
    EXPECT_TRUE(InRegion(w, l + 2, 0));
    EXPECT_TRUE(InRegion(w, l + 3, 0));
    EXPECT_FALSE(InRegion(w, s.cx - r - 1, 0));
    EXPECT_TRUE(InRegion(w, s.cx - r - 2, 0));
    EXPECT_TRUE(InRegion(w, s.cx / 2, s.cy / 2));
    EXPECT_TRUE(InRegion(w, 0, 0));  // the side border has no magenta
    EXPECT_FALSE(InRegion(w, s.cx, s.cy));
  }
  DestroyWindow(w);

  // Without transparent borders: the whole window rectangle.
  TSkin plain;
  for (TDataSkinBorder* b : {&plain.Content.LeftBorder, &plain.Content.RightBorder,
                             &plain.Content.TopBorder, &plain.Content.BottomBorder})
    b->Trans = 0;
  set(plain.Content.TopBorder.Bitmap, 0, 0, 255, 0, 255);
  HWND w2 = MakeBare(false);
  TWinSkinForm f2(w2, nullptr, &plain.Content);
  f2.Attach();
  Pump(30);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(w2, probe), ERROR);
  DeleteObject(probe);
  DestroyWindow(w2);
}

TEST(SkinForm, HitTesting) {
  TSkin skin;
  HWND w = MakeBare(true);
  TWinSkinForm f(w, nullptr, &skin.Content);
  f.Attach();
  Pump(30);
  RECT wr;
  GetWindowRect(w, &wr);
  const TFrameMetrics& m = f.Metrics();
  auto hit = [&](int x, int y) {
    return SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(wr.left + x, wr.top + y));
  };
  const int width = wr.right - wr.left;
  EXPECT_EQ(hit(width / 2, 10), HTCAPTION);
  EXPECT_EQ(hit(width - 20, 10), HTCAPTION);  // over the close button: ours, not the platform's
  EXPECT_EQ(hit(width / 2, m.Top + 2), HTMENU);
  EXPECT_EQ(hit(width / 2, m.Top + m.Menu + 20), HTCLIENT);
  EXPECT_EQ(hit(1, (wr.bottom - wr.top) / 2), HTLEFT);
  EXPECT_EQ(hit(width - 1, wr.bottom - wr.top - 1), HTBOTTOMRIGHT);
  // The objects under the points.
  ASSERT_FALSE(f.MenuItems().empty());
  const TRect item = f.MenuItems()[0]->Rect;
  EXPECT_EQ(f.ObjectAt({item.Left + 2, item.Top + 2}), f.MenuItems()[0].get());
  EXPECT_EQ(f.ObjectAt({width / 2, m.Top + m.Menu + 20}), nullptr);
  DestroyWindow(w);
}

TWinSysButton* ButtonWithAction(const TWinSkinForm& f, int action) {
  for (const auto& b : f.TitleButtons())
    if (b->Element->Action == action && b->Visible) return b.get();
  return nullptr;
}

LPARAM ScreenCentre(HWND w, const TRect& r) {
  RECT wr;
  GetWindowRect(w, &wr);
  return MAKELPARAM(wr.left + (r.Left + r.Right) / 2, wr.top + (r.Top + r.Bottom) / 2);
}

TEST(SkinForm, TitleButtonsHoverPressAndAct) {
  TSkin skin;
  HWND w = MakeBare(false);
  TWinSkinForm f(w, nullptr, &skin.Content);
  f.Attach();
  Pump(30);
  f.PaintFrame();
  // Maximise (Visibility 2) shows, restore (Visibility 1) does not.
  TWinSysButton* max = nullptr;
  for (const auto& b : f.TitleButtons()) {
    if (b->Element->Name == "BUTTON1") {
      EXPECT_TRUE(b->Visible);
    }
    if (b->Element->Name == "BUTTON3") {
      EXPECT_FALSE(b->Visible);
    }
    if (b->Element->Name == "BUTTON1") max = b.get();
  }
  ASSERT_NE(max, nullptr);
  // Hover: hot, painted in the hot frame; leaving clears it.
  const LPARAM at = ScreenCentre(w, max->Rect);
  SendMessageA(w, WM_NCMOUSEMOVE, HTCAPTION, at);
  EXPECT_EQ(f.HotObject(), max);
  EXPECT_EQ(max->State, 3);
  const int bi = skin.Index("button1.bmp");
  const TRect r = max->Rect;
  EXPECT_EQ(WindowPixel(w, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2),
            TestPieceColour(bi, 3, TTestPiece::Centre));
  SendMessageA(w, WM_NCMOUSEMOVE, HTCAPTION, ScreenCentre(w, {100, 10, 102, 12}));
  EXPECT_EQ(f.HotObject(), nullptr);
  EXPECT_EQ(max->State, 1);
  // Press and release: maximised; the restore button replaces maximise.
  SendMessageA(w, WM_NCLBUTTONDOWN, HTCAPTION, at);
  EXPECT_EQ(max->State, 2);
  SendMessageA(w, WM_NCLBUTTONUP, HTCAPTION, at);
  Pump(50);
  EXPECT_TRUE(IsZoomed(w));
  f.PaintFrame();
  TWinSysButton* restore = nullptr;
  for (const auto& b : f.TitleButtons()) {
    if (b->Element->Name == "BUTTON1") {
      EXPECT_FALSE(b->Visible);
    }
    if (b->Element->Name == "BUTTON3" && b->Visible) restore = b.get();
  }
  ASSERT_NE(restore, nullptr);
  const LPARAM at2 = ScreenCentre(w, restore->Rect);
  SendMessageA(w, WM_NCLBUTTONDOWN, HTCAPTION, at2);
  SendMessageA(w, WM_NCLBUTTONUP, HTCAPTION, at2);
  Pump(50);
  EXPECT_FALSE(IsZoomed(w));
  // Close.
  f.PaintFrame();
  TWinSysButton* close = ButtonWithAction(f, 0);
  ASSERT_NE(close, nullptr);
  const LPARAM at3 = ScreenCentre(w, close->Rect);
  SendMessageA(w, WM_NCLBUTTONDOWN, HTCAPTION, at3);
  SendMessageA(w, WM_NCLBUTTONUP, HTCAPTION, at3);
  Pump(50);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_TRUE(f.Dead());
}

TEST(SkinForm, ApplicationButtonPostsItsActionAndCloseNeedsTheSystemMenu) {
  TSkin skin;
  skin.Content.TitleButtons[4]->Action = 1000;  // the help button made application-defined
  skin.Content.TitleButtons[4]->Visibility = 0;
  skin.Content.TitleButtons[4]->Visibility1 = 0;
  HWND w = MakeBare(false, WS_CAPTION | WS_THICKFRAME);  // no system menu
  TWinSkinForm f(w, nullptr, &skin.Content);
  f.Attach();
  Pump(30);
  f.PaintFrame();
  EXPECT_EQ(ButtonWithAction(f, 0), nullptr);
  TWinSysButton* app = ButtonWithAction(f, 1000);
  ASSERT_NE(app, nullptr);
  g_last_action = 0;
  const LPARAM at = ScreenCentre(w, app->Rect);
  SendMessageA(w, WM_NCLBUTTONDOWN, HTCAPTION, at);
  SendMessageA(w, WM_NCLBUTTONUP, HTCAPTION, at);
  Pump(30);
  EXPECT_EQ(g_last_action, 1000u);
  DestroyWindow(w);
}

TEST(SkinForm, ReloadKeepsClientSizeAndMovesButtons) {
  TSkin skin;
  TTestSkinOptions grow;
  grow.Grow = 6;
  TSkin bigger(grow);
  HWND w = MakeBare(true);
  TWinSkinForm f(w, nullptr, &skin.Content);
  f.Attach();
  Pump(30);
  const SIZE c = ClientSize(w);
  f.PaintFrame();
  const TRect close_before = ButtonWithAction(f, 0)->Rect;
  f.Reload(&bigger.Content);
  Pump(30);
  f.PaintFrame();
  EXPECT_EQ(f.Metrics().Top, 30);
  EXPECT_EQ(ClientSize(w).cx, c.cx);
  EXPECT_EQ(ClientSize(w).cy, c.cy);
  const TRect close_after = ButtonWithAction(f, 0)->Rect;
  EXPECT_NE(close_before, close_after);
  EXPECT_EQ(close_after.Width(), 24);  // the grown strip's frame
  DestroyWindow(w);
}

TEST(SkinForm, MalformedSkinsSkinWithoutCrashing) {
  struct Case {
    const char* name;
    void (*spoil)(TSkinContent&);
  } cases[] = {
      {"zero frame counts",
       [](TSkinContent& s) {
         for (TDataSkinBorder* b : {&s.LeftBorder, &s.RightBorder, &s.TopBorder, &s.BottomBorder})
           b->FrameCount = 0;
         for (auto& b : s.TitleButtons)
           b->FrameCount = 0;
       }},
      {"oversized margins",
       [](TSkinContent& s) {
         for (TDataSkinBorder* b : {&s.LeftBorder, &s.RightBorder, &s.TopBorder, &s.BottomBorder})
           b->SetMargins({900, 900, 900, 900});
       }},
      {"no bitmaps",
       [](TSkinContent& s) {
         for (TDataSkinBorder* b : {&s.LeftBorder, &s.RightBorder, &s.TopBorder, &s.BottomBorder})
           b->Bitmap.Clear();
         for (auto& b : s.TitleButtons)
           b->Bitmap.Clear();
       }},
      {"frame count above the bitmap", [](TSkinContent& s) { s.TopBorder.FrameCount = 1000; }},
  };
  for (const Case& c : cases) {
    TSkin skin;
    c.spoil(skin.Content);
    HWND w = MakeBare(true);
    auto f = std::make_unique<TWinSkinForm>(w, nullptr, &skin.Content);
    f->Attach();
    Pump(20);
    SetWindowPos(w, nullptr, 0, 0, 30, 20, SWP_NOMOVE | SWP_NOZORDER);
    f->PaintFrame();
    SendMessageA(w, WM_NCACTIVATE, FALSE, 0);
    const SIZE cs = ClientSize(w);
    EXPECT_GE(cs.cx, 0) << c.name;
    EXPECT_GE(cs.cy, 0) << c.name;
    f->Detach();
    DestroyWindow(w);
  }
}

void CALLBACK PressEnter(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  keybd_event(VK_RETURN, 0, 0, 0);
  keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
}

TEST(SkinForm, FrameworkFormMenuBarCommandReachesTheItem) {
  TSkin skin;
  auto* form = Create<TForm>(static_cast<TComponent*>(nullptr));
  form->SetBounds(60, 60, 420, 320);
  auto* menu = Create<TMainMenu>(form);
  auto* file = Create<TMenuItem>(menu);
  file->SetCaption("&File");
  auto* open = Create<TMenuItem>(menu);
  open->SetCaption("&Open");
  int clicks = 0;
  open->OnClick = [&](TObject*) { ++clicks; };
  file->Add(open);
  menu->Items()->Add(file);
  auto* go = Create<TMenuItem>(menu);
  go->SetCaption("&Go");
  int go_clicks = 0;
  go->OnClick = [&](TObject*) { ++go_clicks; };
  menu->Items()->Add(go);
  form->SetMenu(menu);
  form->Show();
  Pump(50);
  const SIZE before = ClientSize(form->Handle());
  {
    TWinSkinForm f(form->Handle(), form, &skin.Content);
    f.Attach();
    Pump(30);
    EXPECT_EQ(ClientSize(form->Handle()).cx, before.cx);
    EXPECT_EQ(ClientSize(form->Handle()).cy, before.cy);
    ASSERT_EQ(f.MenuItems().size(), 2u);
    EXPECT_EQ(f.MenuItems()[0]->Caption, L"&File");
    EXPECT_EQ(f.MenuItems()[1]->Item, go);
    // A bar item without a dropdown acts at once.
    EXPECT_TRUE(f.OpenMenuItem(1));
    Pump(30);
    EXPECT_EQ(go_clicks, 1);
    // A dropdown opened by Alt+F; the first entry is chosen with Enter.
    SetTimer(nullptr, 0, 300, PressEnter);
    SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f');
    Pump(100);
    EXPECT_EQ(clicks, 1);
    f.Detach();
  }
  EXPECT_EQ(GetMenu(form->Handle()), menu->Handle());
  form->Free();
}

}  // namespace

namespace {

TEST(SkinForm, SystemMenuIconShowsTheWindowIcon) {
  TSkin skin;
  TDataSkinSysButton& icon = *skin.Content.TitleButtons[4];
  icon.Action = 3;
  icon.Align = 0;
  icon.Xcoord = 20;
  icon.Ycoord = 4;
  icon.Visibility = icon.Visibility1 = 0;
  icon.Bitmap.Clear();
  HWND w = MakeBare(false);
  SendMessageA(w, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_ERROR))));
  TWinSkinForm f(w, nullptr, &skin.Content);
  f.Attach();
  Pump(30);
  f.PaintFrame();
  const TWinSysButton* b = ButtonWithAction(f, 3);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Rect,
            (TRect{20, 4, 20 + GetSystemMetrics(SM_CXSMICON), 4 + GetSystemMetrics(SM_CYSMICON)}));
  // Some pixel of the icon's square is not the caption's.
  const TColor caption = TestPieceColour(skin.Index("top.bmp"), 1, TTestPiece::Centre);
  int differing = 0;
  for (int y = b->Rect.Top; y < b->Rect.Bottom; ++y)
    for (int x = b->Rect.Left; x < b->Rect.Right; ++x)
      differing += WindowPixel(w, x, y) != caption;
  EXPECT_GT(differing, 20);
  DestroyWindow(w);
}

}  // namespace

namespace {

TEST(SkinForm, CaptionStaysSkinnedAfterSetText) {
  TSkin skin;
  HWND w = MakeBare(false);
  TWinSkinForm f(w, nullptr, &skin.Content);
  f.Attach();
  Pump(30);
  SetWindowPos(w, nullptr, 0, 0, 700, 300, SWP_NOMOVE | SWP_NOZORDER);
  Pump(20);
  const TColor top = TestPieceColour(skin.Index("top.bmp"), 1, TTestPiece::Centre);
  for (const char* text : {"A new caption", "", "Another, much longer caption than before"}) {
    SetWindowTextA(w, text);
    Pump(20);
    // Right of any text, left of the buttons, inside the strip's centre piece.
    for (int x : {450, 560})
      EXPECT_EQ(WindowPixel(w, x, 3), top) << text << " at " << x;
  }
  DestroyWindow(w);
}

}  // namespace

namespace {

INT_PTR CALLBACK DialogProc(HWND, UINT msg, WPARAM, LPARAM) {
  return msg == WM_INITDIALOG;
}

// A modeless dialog (class "#32770") with one button, from a template in memory.
HWND MakeDialog(const wchar_t* caption) {
  alignas(4) static WORD buf[512];
  std::fill(std::begin(buf), std::end(buf), WORD{0});
  auto* dlg = reinterpret_cast<DLGTEMPLATE*>(buf);
  dlg->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
  dlg->cdit = 1;
  dlg->cx = 60;
  dlg->cy = 40;
  WORD* p = reinterpret_cast<WORD*>(dlg + 1);
  *p++ = 0;  // no menu
  *p++ = 0;  // default class
  for (const wchar_t* c = caption; *c; ++c)
    *p++ = static_cast<WORD>(*c);
  *p++ = 0;
  p = reinterpret_cast<WORD*>((reinterpret_cast<uintptr_t>(p) + 3) & ~uintptr_t{3});
  auto* item = reinterpret_cast<DLGITEMTEMPLATE*>(p);
  item->style = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
  item->x = 5;
  item->y = 5;
  item->cx = 40;
  item->cy = 14;
  item->id = IDOK;
  p = reinterpret_cast<WORD*>(item + 1);
  *p++ = 0xFFFF;
  *p++ = 0x0080;  // button
  for (const wchar_t* c = L"OK"; *c; ++c)
    *p++ = static_cast<WORD>(*c);
  *p++ = 0;
  *p++ = 0;
  HWND d = CreateDialogIndirectW(GetModuleHandleW(nullptr), dlg, nullptr, DialogProc);
  Pump(30);
  return d;
}

TEST(SkinForm, DialogGrowsForItsCaptionAndItsControlsMoveHalfWay) {
  TSkin skin;
  HWND d = MakeDialog(L"A dialog caption far wider than the little dialog's client area");
  ASSERT_NE(d, nullptr);
  const SIZE client = ClientSize(d);
  HWND ok = GetDlgItem(d, IDOK);
  RECT before;
  GetWindowRect(ok, &before);
  MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&before), 2);
  TWinSkinForm f(d, nullptr, &skin.Content);
  f.Attach();
  Pump(30);
  EXPECT_EQ(f.BorderKind(), TBorderKind::Dialog);
  const SIZE outer = OuterSize(d);
  const int plain = client.cx + f.Metrics().Left + f.Metrics().Right;
  ASSERT_GT(outer.cx, plain);  // widened for the caption
  RECT after;
  GetWindowRect(ok, &after);
  MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&after), 2);
  EXPECT_EQ(after.left - before.left, (outer.cx - plain) / 2);
  EXPECT_EQ(ClientSize(d).cy, client.cy);
  DestroyWindow(d);
}

TEST(SkinForm, DoubleClickOnTheIconCloses) {
  TSkin skin;
  TDataSkinSysButton& icon = *skin.Content.TitleButtons[4];
  icon.Action = 3;
  icon.Align = 0;
  icon.Xcoord = 20;
  icon.Ycoord = 4;
  icon.Visibility = icon.Visibility1 = 0;
  icon.Bitmap.Clear();
  HWND w = MakeBare(false);
  TWinSkinForm f(w, nullptr, &skin.Content);
  f.Attach();
  Pump(30);
  f.PaintFrame();
  const TWinSysButton* b = ButtonWithAction(f, 3);
  ASSERT_NE(b, nullptr);
  SendMessageA(w, WM_NCLBUTTONDBLCLK, HTCAPTION, ScreenCentre(w, b->Rect));
  Pump(50);
  EXPECT_FALSE(IsWindow(w));
}

// What a window's own handling of a menu change sees: its frame painted over
// with a marker, then a WM_NCPAINT, and the pixel read back.
struct TMenuChangeProbe {
  TSkinData* Data = nullptr;
  bool Seen = false;
  bool EnabledDuring = true;
  COLORREF PixelDuring = 0;
  TPoint At;
};
TMenuChangeProbe g_probe;
constexpr COLORREF kMarker = RGB(3, 250, 7);

LRESULT CALLBACK MenuChangeProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != CM_MENUCHANGED) return DefWindowProcA(w, msg, wp, lp);
  g_probe.Seen = true;
  if (g_probe.Data) g_probe.EnabledDuring = g_probe.Data->NcPaintEnabled;
  HDC dc = GetWindowDC(w);
  const RECT r{0, 0, 2000, 40};
  HBRUSH marker = CreateSolidBrush(kMarker);
  FillRect(dc, &r, marker);
  DeleteObject(marker);
  ReleaseDC(w, dc);
  SendMessageA(w, WM_NCPAINT, 1, 0);
  g_probe.PixelDuring = WindowPixel(w, g_probe.At.X, g_probe.At.Y);
  return 0;
}

// The frame is not painted while the window handles a menu change: the
// component's NcPaintEnabled is off meanwhile and as before afterwards (a
// change inside another keeps it off); without a component the skinner
// keeps the same rule itself.
TEST(SkinForm, MenuChangeHoldsTheFramePainting) {
  struct TCase {
    const char* name;
    bool component;
    bool enabled_before;
  };
  const TCase cases[] = {{"component", true, true},
                         {"component already holding", true, false},
                         {"no component", false, true}};
  WNDCLASSA wc{};
  wc.lpfnWndProc = MenuChangeProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "SkinFormTestMenuChange";
  RegisterClassA(&wc);
  for (const TCase& c : cases) {
    TSkin skin;
    TSkinData* data = nullptr;
    TFormSkinSettings settings;
    if (c.component) {
      data = Create<TSkinData>(static_cast<TComponent*>(nullptr));
      ASSERT_TRUE(data->ReadSkinStream(WriteSkinStream(skin.Test.Package())));
      data->NcPaintEnabled = c.enabled_before;
      settings.Data = data;
    }
    HWND w = CreateWindowExA(0, "SkinFormTestMenuChange", "Menu change",
                             WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400, 300, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    TWinSkinForm f(w, nullptr, c.component ? &data->Content() : &skin.Content, settings);
    f.Attach();
    Pump(30);
    const SIZE o = OuterSize(w);
    g_probe = {data, false, true, 0, {o.cx / 2, 12}};
    const COLORREF top =
        TestPieceColour(skin.Index("top.bmp"), f.Active() ? 1 : 2, TTestPiece::Centre);
    SendMessageA(w, CM_MENUCHANGED, 0, 0);
    ASSERT_TRUE(g_probe.Seen) << c.name;
    EXPECT_EQ(g_probe.PixelDuring, kMarker) << c.name;
    if (data) {
      EXPECT_FALSE(g_probe.EnabledDuring) << c.name;
      EXPECT_EQ(data->NcPaintEnabled, c.enabled_before) << c.name;
    }
    // Painted once the change is over, unless the painting is still held.
    EXPECT_EQ(WindowPixel(w, o.cx / 2, 12), c.enabled_before ? top : kMarker) << c.name;
    f.Detach();
    DestroyWindow(w);
    if (data) data->Free();
  }
}

// The static with identifier 7 gets its own text colour and brush from the
// window's procedure.
constexpr int kOwnColouredId = 7;
LRESULT CALLBACK FaceDialogProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CTLCOLORSTATIC && GetDlgCtrlID(reinterpret_cast<HWND>(lp)) == kOwnColouredId) {
    SetTextColor(reinterpret_cast<HDC>(wp), RGB(200, 0, 0));
    return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
  }
  return DefWindowProcA(w, msg, wp, lp);
}

COLORREF BrushColour(LRESULT brush) {
  LOGBRUSH lb{};
  if (!GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb)) return CLR_INVALID;
  return lb.lbColor;
}

// The statics and buttons of a skinned bare window (a dialog) are answered
// with the skin's face brush (also where the window's procedure gave another)
// and a transparent background; the platform's default text colour becomes
// the skin's, one the procedure chose stays. They paint on the face.
TEST(SkinForm, BareWindowsChildrenSitOnTheSkinsFace) {
  TSkin skin;
  const COLORREF face = RGB(40, 90, 160), text = RGB(10, 20, 30);  // the test skin's
  WNDCLASSA wc{};
  wc.lpfnWndProc = FaceDialogProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "SkinFormTestDialog";
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, "SkinFormTestDialog", "Dialog", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                           40, 400, 340, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  struct TChild {
    const char* cls;
    DWORD style;
    int id;
    UINT msg;
    COLORREF text;
    bool painted;  // fills its background with the brush
  };
  const TChild children[] = {
      {"STATIC", SS_LEFT, 1, WM_CTLCOLORSTATIC, text, true},
      {"BUTTON", BS_AUTOCHECKBOX, 2, WM_CTLCOLORSTATIC, text, true},
      {"BUTTON", BS_PUSHBUTTON, 3, WM_CTLCOLORBTN, text, false},
      {"STATIC", SS_LEFT, kOwnColouredId, WM_CTLCOLORSTATIC, RGB(200, 0, 0), true}};
  std::vector<HWND> made;
  int y = 10;
  for (const TChild& c : children) {
    made.push_back(CreateWindowExA(0, c.cls, "Text", WS_CHILD | WS_VISIBLE | c.style, 10, y, 200,
                                   24, w, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                   GetModuleHandleA(nullptr), nullptr));
    y += 40;
  }
  TWinSkinForm f(w, nullptr, &skin.Content);
  f.Attach();
  Pump(30);
  for (size_t i = 0; i < made.size(); ++i) {
    const TChild& c = children[i];
    HDC dc = GetDC(made[i]);
    const LRESULT brush =
        SendMessageA(w, c.msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(made[i]));
    EXPECT_EQ(BrushColour(brush), face) << c.cls << " " << c.id;
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT) << c.id;
    EXPECT_EQ(GetBkColor(dc), face) << c.id;
    EXPECT_EQ(GetTextColor(dc), c.text) << c.id;
    ReleaseDC(made[i], dc);
    if (!c.painted) continue;
    // The empty right part of the control, once it painted itself.
    RedrawWindow(made[i], nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump(20);
    dc = GetDC(made[i]);
    EXPECT_EQ(GetPixel(dc, 190, 12), face) << c.cls << " " << c.id;
    ReleaseDC(made[i], dc);
  }
  f.Detach();
  DestroyWindow(w);
}

}  // namespace
