// Skinned menus with real input (in a virtual desktop): a framework form
// wearing the test skin through its component opens its menu-bar dropdowns,
// a cascade, the system menu and a context menu; their windows show the
// skin's MenuBackground, the entry under the pointer the selected frame of
// the MenuItem strip, commands arrive once, disabled entries are skipped,
// and after unskinning the menus are the system's again. Also the popup
// skinner and the entry painter on their own.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/skin_parse.h"
#include "engine/skin_stream.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_form.h"
#include "engine_win/skin_form_skinner.h"
#include "engine_win/skin_manage.h"
#include "engine_win/skin_menu_item.h"
#include "engine_win/skin_popup_menu.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "test_skin.h"
#include "window_probe.h"

namespace {

using namespace window_probe;

std::map<std::string, int> g_clicks;

TMenuItem* Add(TMenu* menu, TMenuItem* parent, const char* caption, bool enabled = true) {
  auto* item = new TMenuItem(menu);
  item->SetCaption(caption);
  item->SetEnabled(enabled);
  const std::string name = caption;
  item->OnClick = [name](TObject*) { ++g_clicks[name]; };
  parent->Add(item);
  return item;
}

class TMenuTestForm : public TForm {
  MV_CLASS(TMenuTestForm, TForm)
 public:
  explicit TMenuTestForm(TComponent* owner) : TForm(owner) {
    SetCaption("Skinned menus");
    SetBounds(100, 100, 420, 300);
    auto* bar = new TMainMenu(this);
    TMenuItem* file = Add(bar, bar->Items(), "&File");
    Add(bar, file, "&Open");
    Add(bar, file, "&Disabled", false);
    Add(bar, file, "&Save");
    Add(bar, file, "-");
    TMenuItem* recent = Add(bar, file, "&Recent");
    Add(bar, recent, "&One");
    Add(bar, recent, "&Two");
    TMenuItem* edit = Add(bar, bar->Items(), "&Edit");
    Add(bar, edit, "&Copy");
    SetMenu(bar);
    Context = new TPopupMenu(this);
    Add(Context, Context->Items(), "&Alpha");
    Add(Context, Context->Items(), "&Beta", false);
    Add(Context, Context->Items(), "&Gamma");
    Add(Context, Context->Items(), "-");
    TMenuItem* more = Add(Context, Context->Items(), "&More");
    Add(Context, more, "&Inner");
  }
  TPopupMenu* Context = nullptr;
};

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

COLORREF ScreenPixel(int x, int y) {
  HDC dc = GetDC(nullptr);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(nullptr, dc);
  return c;
}

void Key(BYTE vk, bool alt = false) {
  if (alt) keybd_event(VK_MENU, 0, 0, 0);
  keybd_event(vk, 0, 0, 0);
  keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
  if (alt) keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
}

void MoveTo(POINT p) {
  SetCursorPos(p.x, p.y);
  mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
}

// Steps run one after the other from a timer while a menu loop runs; a step
// that calls Again() runs once more at the next tick (about 3 s at most).
// Once done it ends any menu still open, so a failing test cannot hang.
struct TScript {
  std::vector<std::function<void()>> Steps;
  size_t Next = 0;
  int Tries = 0;
  UINT_PTR Timer = 0;
  static TScript* Current;
  void Start() {
    Current = this;
    Timer = SetTimer(nullptr, 0, 150, Tick);
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TScript* s = Current;
    if (!s) return;
    if (s->Next < s->Steps.size())
      s->Steps[s->Next++]();
    else if (!OpenMenus().empty())
      EndMenu();
  }
  bool Again(bool condition_met) {
    if (condition_met || ++Tries > 20) {
      Tries = 0;
      return false;
    }
    --Next;
    return true;
  }
  bool Done() const { return Next >= Steps.size(); }
  ~TScript() {
    if (Timer) KillTimer(nullptr, Timer);
    if (Current == this) Current = nullptr;
  }
};
TScript* TScript::Current = nullptr;

class SkinMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_clicks.clear();
    FreeSkinManager();
    InstallFormSkinnerFactory();
    MoveTo({5, 1000});  // away from where the menus open
    form_ = Create<TMenuTestForm>(Application);
    data_ = Create<TSkinData>(form_);
    data_->BeginReading();
    data_->ReadSkinStream(WriteSkinStream(skin_.Package()));
    data_->SetActive(true);
    data_->Loaded();
    ASSERT_FALSE(data_->SkinEmpty());
    form_->Show();
    SetForegroundWindow(form_->Handle());
    ASSERT_TRUE(
        PumpUntil([&] { return SendMessageA(form_->Handle(), kSkmIsSkinned, 0, 0) == 1; }, 3000));
    PumpUntil([] { return false; }, 200);
  }
  void TearDown() override {
    form_->Free();
    FreeSkinManager();
    SetSkinnerFactory(nullptr);
    PumpUntil([] { return false; }, 30);
  }
  TColor Piece(const char* member, int frame, TTestPiece piece) const {
    return TestPieceColour(skin_.Find(member)->Index, frame, piece);
  }
  // The skin's menu background at a popup window's top-left corner.
  bool WearsBackground(HWND menu) const {
    RECT r;
    GetWindowRect(menu, &r);
    return ScreenPixel(r.left + 1, r.top + 1) == Piece("menuback.bmp", 1, TTestPiece::TopLeft);
  }
  // The MenuItem frame an entry shows at its left edge (0: none of them).
  int EntryFrame(HWND window, HMENU menu, int position) const {
    RECT r;
    if (!GetMenuItemRect(window, menu, static_cast<UINT>(position), &r)) return 0;
    const COLORREF c = ScreenPixel(r.left + 1, (r.top + r.bottom) / 2);
    for (int f = 1; f <= 5; ++f)
      if (c == Piece("menuitem.bmp", f, TTestPiece::Left)) return f;
    return 0;
  }
  HMENU FileMenu() const { return form_->Menu()->Items()->Items(0)->Handle(); }

  TTestSkin skin_ = MakeTestSkin();
  TMenuTestForm* form_ = nullptr;
  TSkinData* data_ = nullptr;
};

// A dropdown wears the skin; the entry under the pointer shows the selected
// frame, which follows the pointer; Enter on it runs its command once.
TEST_F(SkinMenuTest, DropdownFollowsThePointerAndChoosesByMouseAndKeys) {
  std::vector<int> frames_under_pointer, frames_elsewhere;
  bool background = false;
  TScript s;
  HWND menu_window = nullptr;
  auto hover = [&](int position) {
    RECT r;
    GetMenuItemRect(menu_window, FileMenu(), static_cast<UINT>(position), &r);
    // A little aside on each retry, so the pointer really moves.
    MoveTo({(r.left + r.right) / 2 + (s.Tries & 1) * 3, (r.top + r.bottom) / 2});
  };
  s.Steps = {[&] {
               if (s.Again(!OpenMenus().empty())) return;
               menu_window = OpenMenus().empty() ? nullptr : OpenMenus().front();
               if (menu_window) background = WearsBackground(menu_window);
               hover(2);
             },
             [&] {
               if (s.Again(EntryFrame(menu_window, FileMenu(), 2) == 4)) return hover(2);
               frames_under_pointer.push_back(EntryFrame(menu_window, FileMenu(), 2));
               frames_elsewhere.push_back(EntryFrame(menu_window, FileMenu(), 0));
               hover(0);
             },
             [&] {
               if (s.Again(EntryFrame(menu_window, FileMenu(), 0) == 4)) return hover(0);
               frames_under_pointer.push_back(EntryFrame(menu_window, FileMenu(), 0));
               frames_elsewhere.push_back(EntryFrame(menu_window, FileMenu(), 2));
               Key(VK_RETURN);
             }};
  s.Start();
  SendMessageA(form_->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f');
  EXPECT_TRUE(PumpUntil([&] { return s.Done() && OpenMenus().empty(); }, 8000));
  PumpUntil([] { return g_clicks["&Open"] > 0; }, 1000);
  EXPECT_TRUE(background);
  EXPECT_EQ(frames_under_pointer, (std::vector<int>{4, 4}));
  EXPECT_EQ(frames_elsewhere, (std::vector<int>{1, 1}));
  EXPECT_EQ(g_clicks["&Open"], 1);
  EXPECT_TRUE(SkinManager->PopupSkinners().empty()) << "skinner left after the menu closed";
}

// Arrow keys pass the disabled entry, which never gives a command; a cascade opens with the right
// arrow and wears the skin too; Escape closes without a command; an accelerator key chooses at
// once.
TEST_F(SkinMenuTest, KeysSkipDisabledEntriesOpenCascadesAndChoose) {
  struct TCase {
    std::vector<BYTE> keys;
    const char* chosen;  // null: nothing
    size_t menus;        // menu windows open before the last key
  };
  const TCase cases[] = {
      {{VK_DOWN, VK_DOWN, VK_RETURN}, "&Save", 1},  // Open -> Disabled -> Save
      {{VK_DOWN, VK_RETURN}, nullptr, 1},           // Enter on the disabled entry
      {{VK_UP, VK_RIGHT, VK_RETURN}, "&One", 2},    // Recent's cascade
      {{VK_DOWN, VK_ESCAPE}, nullptr, 1},
      {{'S'}, "&Save", 1},
      {{'D'}, nullptr, 1},  // a disabled entry's accelerator chooses nothing
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.chosen ? c.chosen : "none");
    g_clicks.clear();
    size_t menus = 0;
    bool all_skinned = true;
    TScript s;
    for (size_t i = 0; i < c.keys.size(); ++i)
      s.Steps.push_back([&, i] {
        if (i == 0 && s.Again(!OpenMenus().empty())) return;
        if (i + 1 == c.keys.size()) {
          if (s.Again(OpenMenus().size() >= c.menus)) return;
          menus = OpenMenus().size();
          for (HWND w : OpenMenus())
            all_skinned = all_skinned && WearsBackground(w);
        }
        Key(c.keys[i]);
      });
    s.Start();
    SendMessageA(form_->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f');
    EXPECT_TRUE(PumpUntil([&] { return s.Done() && OpenMenus().empty(); }, 8000));
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(menus, c.menus);
    EXPECT_TRUE(all_skinned);
    int total = 0;
    for (const auto& [name, n] : g_clicks)
      if (name != "&File") total += n;  // the bar item's own command comes first
    EXPECT_EQ(total, c.chosen ? 1 : 0);
    if (c.chosen) {
      EXPECT_EQ(g_clicks[c.chosen], 1);
    }
    EXPECT_EQ(g_clicks["&Disabled"], 0);
  }
}

// The context menu and its cascade and the system menu wear the skin; after
// unskinning the context menu is the system's again.
TEST_F(SkinMenuTest, ContextAndSystemMenusWearTheSkinUntilUnskinned) {
  auto open_context = [&](bool& skinned, bool& answers, bool cascade) {
    TScript s;
    s.Steps = {[&] {
                 if (s.Again(!OpenMenus().empty())) return;
                 HWND w = OpenMenus().front();
                 skinned = WearsBackground(w);
                 answers = SendMessageA(w, kSkmIsSkinned, 0, 0) == 1;
                 if (cascade) {
                   Key(VK_UP);  // wraps to "More"
                   Key(VK_RIGHT);
                 }
               },
               [&] {
                 if (cascade) {
                   if (s.Again(OpenMenus().size() == 2)) return;
                   for (HWND w : OpenMenus())
                     skinned = skinned && WearsBackground(w);
                   Key(VK_RETURN);
                 } else {
                   Key('G');
                 }
               }};
    s.Start();
    POINT at{60, 60};
    ClientToScreen(form_->Handle(), &at);
    form_->Context->Popup(at.x, at.y);
    EXPECT_TRUE(PumpUntil([&] { return s.Done() && OpenMenus().empty(); }, 8000));
    PumpUntil([] { return false; }, 200);
  };
  bool skinned = false, answers = false;
  open_context(skinned, answers, true);
  EXPECT_TRUE(skinned);
  EXPECT_TRUE(answers);
  EXPECT_EQ(g_clicks["&Inner"], 1);

  bool system_skinned = false;
  TScript sys;
  sys.Steps = {[&] {
    if (sys.Again(!OpenMenus().empty())) return;
    HWND w = OpenMenus().front();
    system_skinned = WearsBackground(w);
    Key(VK_ESCAPE);
  }};
  // The context menu's owner took the foreground; the keys go to the form.
  SetForegroundWindow(form_->Handle());
  PumpUntil([&] { return GetForegroundWindow() == form_->Handle(); }, 1000);
  sys.Start();
  Key(VK_SPACE, true);
  EXPECT_TRUE(PumpUntil([&] { return sys.Done() && OpenMenus().empty(); }, 8000));
  EXPECT_TRUE(system_skinned);

  data_->SetActive(false);
  ASSERT_TRUE(
      PumpUntil([&] { return SendMessageA(form_->Handle(), kSkmIsSkinned, 0, 0) != 1; }, 3000));
  g_clicks.clear();
  open_context(skinned, answers, false);
  EXPECT_FALSE(skinned);
  EXPECT_FALSE(answers);
  EXPECT_EQ(g_clicks["&Gamma"], 1);
  EXPECT_FALSE(HasSkinDrawHandler(*form_->Context->Items()->Items(0)));
}

// ---- the popup skinner and the painter on their own ------------------------

LRESULT CALLBACK PlainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
bool g_own_proc_at_destroy = false;
LRESULT CALLBACK PlainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY)
    g_own_proc_at_destroy =
        GetWindowLongPtrA(w, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(PlainProc);
  return DefWindowProcA(w, msg, wp, lp);
}

HWND PlainPopup(DWORD style) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SkinMenuTestPopup";
    RegisterClassA(&wc);
    registered = true;
  }
  return CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "SkinMenuTestPopup", "",
                         WS_POPUP | style, 300, 200, 160, 120, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// The client offset is the window's own (no constant border); a frame
// painting with wParam 0 or 1 covers the whole window; a window destroyed
// while skinned has its own procedure back when it handles WM_DESTROY.
TEST_F(SkinMenuTest, PopupSkinnerPaintsTheWholeFrameAtTheRealOffset) {
  const DWORD styles[] = {0, WS_BORDER, WS_DLGFRAME};
  for (DWORD style : styles) {
    for (WPARAM whole : {WPARAM{0}, WPARAM{1}}) {
      SCOPED_TRACE(style);
      HWND w = PlainPopup(style);
      ASSERT_TRUE(w);
      ShowWindow(w, SW_SHOWNOACTIVATE);
      PumpUntil([] { return false; }, 50);
      TWinSkinPopMenu p;
      ASSERT_TRUE(p.Attach(w, data_, &data_->Content(), nullptr));
      EXPECT_EQ(SendMessageA(w, kSkmIsSkinned, 0, 0), 1);
      // Still answered while skinning is off.
      SkinManager->SkinningOn = false;
      EXPECT_EQ(SendMessageA(w, kSkmIsSkinned, 0, 0), 1);
      SkinManager->SkinningOn = true;
      // The background is erased or not as xoMenuBG says; the answer is 1.
      for (bool menu_bg : {false, true}) {
        TSkinOptions o = data_->Options();
        if (menu_bg)
          o.Include(xoMenuBG);
        else
          o.Exclude(xoMenuBG);
        data_->SetOptions(o);
        HDC dc = GetDC(w);
        EXPECT_EQ(SendMessageA(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
        ReleaseDC(w, dc);
      }
      SendMessageA(w, WM_NCPAINT, whole, 0);
      RECT wr;
      GetWindowRect(w, &wr);
      POINT c{0, 0};
      ClientToScreen(w, &c);
      EXPECT_EQ(p.ClientOffset().x, c.x - wr.left);
      EXPECT_EQ(p.ClientOffset().y, c.y - wr.top);
      EXPECT_EQ(WindowPixel(w, 0, 0), Piece("menuback.bmp", 1, TTestPiece::TopLeft));
      EXPECT_EQ(WindowPixel(w, 159, 119), Piece("menuback.bmp", 1, TTestPiece::BottomRight));
      ASSERT_NE(p.Image(), nullptr);
      g_own_proc_at_destroy = false;
      DestroyWindow(w);
      EXPECT_TRUE(g_own_proc_at_destroy);
      EXPECT_FALSE(p.Attached());
      EXPECT_EQ(p.Image(), nullptr);
    }
  }
}

// An entry takes its background from the popup skinner bound to its menu,
// at the window's real client offset; once the menu's window is gone the
// skin's menu colour, and nothing breaks.
TEST_F(SkinMenuTest, EntryBackgroundComesFromItsPopupOrTheMenuColour) {
  TSkinContent plain;
  ASSERT_TRUE(LoadSkinPackage(plain, skin_.Package()));
  plain.Slots[ksMenuItem].reset();  // no strip: the background shows
  HMENU menu = CreatePopupMenu();
  HWND w = PlainPopup(WS_BORDER);  // a one-pixel border
  ShowWindow(w, SW_SHOWNOACTIVATE);
  SkinManager->PopupKind = 0;
  SkinManager->SkinPopup(w);
  ASSERT_TRUE(SkinManager->IsPopupSkinned(w));
  SkinManager->BindPopupMenu(menu);
  SendMessageA(w, WM_NCPAINT, 1, 0);
  TNativeBitmap target(40, 20);
  TMenuEntry entry = EntryFromText(L"-");
  auto draw = [&](bool selected) {
    TMemoryDC dc(target);
    // An entry at (6, 6) of the client: the picture's (7, 7), the marker
    // on the inner corner of its top-left piece.
    DrawSkinnedEntry(dc.Handle(), RECT{6, 6, 46, 26}, entry, selected, plain, menu, true);
    GdiFlush();
    return target.Pixel(6, 6);
  };
  EXPECT_EQ(draw(false), Piece("menuback.bmp", 1, TTestPiece::Marker));
  DestroyWindow(w);
  EXPECT_FALSE(SkinManager->IsPopupSkinned(w));
  EXPECT_EQ(draw(true), ToColorRef(plain.Colours[kcMenu]));  // separators never highlight
  entry = EntryFromText(L"&Open");
  EXPECT_EQ(draw(true), ToColorRef(plain.Colours[kcHilight]));
  EXPECT_EQ(draw(false), ToColorRef(plain.Colours[kcMenu]));
  DestroyMenu(menu);
}

}  // namespace

class TwwRichEditForm : public TForm {
  MV_CLASS(TwwRichEditForm, TForm)
 public:
  explicit TwwRichEditForm(TComponent* owner) : TForm(owner) {
    SetBounds(150, 150, 300, 200);
    Context = new TPopupMenu(this);
    Add(Context, Context->Items(), "&Alpha");
  }
  TPopupMenu* Context = nullptr;
};

// The form's popup menus get the skin's painters while it is skinned, except
// on a rich-edit form of another library, which paints its own.
TEST_F(SkinMenuTest, PopupMenusPaintedFromTheSkinExceptOnRichEditForms) {
  EXPECT_TRUE(form_->Context->OwnerDraw());
  EXPECT_TRUE(HasSkinDrawHandler(*form_->Context->Items()->Items(0)));
  EXPECT_TRUE(HasSkinDrawHandler(*form_->Context->Items()->Items(4)->Items(0)));  // cascade
  auto* rich = Create<TwwRichEditForm>(Application);
  rich->Show();
  ASSERT_TRUE(
      PumpUntil([&] { return SendMessageA(rich->Handle(), kSkmIsSkinned, 0, 0) == 1; }, 3000));
  PumpUntil([] { return false; }, 100);
  EXPECT_FALSE(rich->Context->OwnerDraw());
  EXPECT_FALSE(HasSkinDrawHandler(*rich->Context->Items()->Items(0)));
  rich->Free();
}

// The menus of a window the skin is kept off (here the fixed tag) keep the
// system's look, its context menu and its menu bar's dropdowns alike, while
// the skinned form's context menu still wears the skin.
TEST_F(SkinMenuTest, MenusOfAnUnskinnedWindowKeepTheSystemsLook) {
  auto* plain = Create<TMenuTestForm>(Application);
  plain->SetTag(99);
  plain->SetBounds(560, 100, 420, 300);
  plain->Show();
  SetForegroundWindow(plain->Handle());
  PumpUntil([&] { return GetForegroundWindow() == plain->Handle(); }, 1000);
  ASSERT_NE(SendMessageA(plain->Handle(), kSkmIsSkinned, 0, 0), 1);
  // Whether the first menu window that opens answers as skinned.
  auto open = [&](TMenuTestForm* owner, bool context) {
    int answers = -1;
    TScript s;
    s.Steps = {[&] {
      if (s.Again(!OpenMenus().empty())) return;
      if (!OpenMenus().empty())
        answers = SendMessageA(OpenMenus().front(), kSkmIsSkinned, 0, 0) == 1;
      EndMenu();  // the menu bar's loop too, which an Escape would leave running
    }};
    s.Start();
    if (context) {
      POINT at{60, 60};
      ClientToScreen(owner->Handle(), &at);
      owner->Context->Popup(at.x, at.y);
    } else {
      Key('F', true);
    }
    EXPECT_TRUE(PumpUntil([&] { return s.Done() && OpenMenus().empty(); }, 8000));
    PumpUntil([] { return false; }, 100);
    return answers;
  };
  EXPECT_EQ(open(plain, true), 0);
  SetForegroundWindow(plain->Handle());
  PumpUntil([&] { return GetForegroundWindow() == plain->Handle(); }, 1000);
  EXPECT_EQ(open(plain, false), 0);
  EXPECT_EQ(open(form_, true), 1);
  EXPECT_TRUE(SkinManager->PopupSkinners().empty());
  plain->Free();
}

// A menu keeps the popup window it was bound to: drawing its entries again
// after a cascade's window appeared does not hand it the cascade's window.
TEST_F(SkinMenuTest, BoundMenusKeepTheirWindowWhenACascadeOpens) {
  HMENU menu = CreatePopupMenu(), cascade = CreatePopupMenu();
  HWND first = PlainPopup(0);
  SkinManager->PopupKind = 0;
  SkinManager->SkinPopup(first);
  SkinManager->BindPopupMenu(menu);  // the first entry drawn
  HWND second = PlainPopup(0);       // the cascade's window
  SkinManager->SkinPopup(second);
  SkinManager->BindPopupMenu(menu);  // an entry of the first menu drawn again
  SkinManager->BindPopupMenu(cascade);
  ASSERT_EQ(SkinManager->PopupSkinners().size(), 2u);
  EXPECT_EQ(SkinManager->PopupSkinners()[0]->Menu(), menu);
  EXPECT_EQ(SkinManager->PopupSkinners()[1]->Menu(), cascade);
  DestroyWindow(second);
  DestroyWindow(first);
  EXPECT_TRUE(SkinManager->PopupSkinners().empty());
  DestroyMenu(cascade);
  DestroyMenu(menu);
}

namespace {

// Owner-drawn entries lose the right-order flag (drawn as the window icon
// otherwise), at every depth; other entries keep their type.
TEST(SkinMenuEntries, OwnerDrawnEntriesLoseTheRightOrderFlag) {
  HMENU top = CreatePopupMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING | MF_OWNERDRAW | MFT_RIGHTORDER, 11, nullptr);
  AppendMenuA(top, MF_STRING | MF_OWNERDRAW | MFT_RIGHTORDER, 1, nullptr);
  AppendMenuA(top, MF_STRING | MFT_RIGHTORDER, 2, "plain");
  AppendMenuA(top, MF_POPUP | MF_OWNERDRAW | MFT_RIGHTORDER, reinterpret_cast<UINT_PTR>(sub),
              nullptr);
  DropRightOrderFlag(top);
  auto type = [](HMENU m, UINT pos) {
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(m, pos, TRUE, &mi);
    return mi.fType;
  };
  const struct {
    HMENU menu;
    UINT pos;
    bool right_order, owner_drawn;
  } rows[] = {
      {top, 0, false, true}, {top, 1, true, false}, {top, 2, false, true}, {sub, 0, false, true}};
  for (const auto& r : rows) {
    EXPECT_EQ((type(r.menu, r.pos) & MFT_RIGHTORDER) != 0, r.right_order) << r.pos;
    EXPECT_EQ((type(r.menu, r.pos) & MFT_OWNERDRAW) != 0, r.owner_drawn) << r.pos;
  }
  DropRightOrderFlag(nullptr);  // nothing to do, nothing breaks
  DestroyMenu(top);
}

}  // namespace
