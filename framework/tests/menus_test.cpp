// Menus mirrored into native menus; commands and owner drawing routed back.
#include <gtest/gtest.h>

#include "framework/menus.h"
#include "test_support.h"

namespace {

TMenuItem* NewItem(TComponent* owner, const char* caption, std::vector<std::string>* log) {
  auto* item = new TMenuItem(owner);
  item->SetCaption(caption);
  if (log) item->OnClick = [log, caption](TObject*) { log->push_back(caption); };
  return item;
}

std::string NativeText(HMENU menu, UINT pos) {
  char text[128] = {};
  MENUITEMINFOA mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_STRING;
  mii.dwTypeData = text;
  mii.cch = sizeof text;
  GetMenuItemInfoA(menu, pos, TRUE, &mii);
  return text;
}

UINT NativeType(HMENU menu, UINT pos) {
  MENUITEMINFOA mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE | MIIM_STATE;
  GetMenuItemInfoA(menu, pos, TRUE, &mii);
  return mii.fType;
}

UINT NativeState(HMENU menu, UINT pos) {
  MENUITEMINFOA mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_STATE;
  GetMenuItemInfoA(menu, pos, TRUE, &mii);
  return mii.fState;
}

struct MenuFixture : ::testing::Test {
  std::vector<std::string> log;
  TOwned<TForm1> form{new TForm1(nullptr)};
  TMainMenu* menu = new TMainMenu(form.get());
  TMenuItem* file = NewItem(form.get(), "&File", nullptr);
  TMenuItem* open = NewItem(form.get(), "&Open", &log);
  TMenuItem* line = NewItem(form.get(), "-", nullptr);
  TMenuItem* save = NewItem(form.get(), "&Save", &log);
  TMenuItem* edit = NewItem(form.get(), "&Edit", nullptr);
  TMenuItem* copy = NewItem(form.get(), "&Copy", &log);
  int menu_changes = 0;

  void SetUp() override {
    menu->Items()->Add(file);
    menu->Items()->Add(edit);
    file->Add(open);
    file->Add(line);
    file->Add(save);
    edit->Add(copy);
    open->SetShortCut(ShortCut('O', ssCtrl));
    save->SetEnabled(false);
    copy->SetChecked(true);
    form->HandleNeeded();
    TWndMethod original = form->WindowProc;
    form->WindowProc = [this, original](TMessage& m) {
      if (m.Msg == CM_MENUCHANGED) ++menu_changes;
      original(m);
    };
    form->SetMenu(menu);
  }
};

TEST_F(MenuFixture, TheNativeMenuMirrorsTheItems) {
  HWND h = form->Handle();
  EXPECT_EQ(GetMenu(h), menu->Handle());
  EXPECT_EQ(menu_changes, 1);
  HMENU bar = menu->Handle();
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(NativeText(bar, 0), "&File");
  EXPECT_EQ(GetSubMenu(bar, 0), file->Handle());
  HMENU sub = file->Handle();
  ASSERT_EQ(GetMenuItemCount(sub), 3);
  EXPECT_EQ(NativeText(sub, 0), "&Open\tCtrl+O");
  EXPECT_TRUE(NativeType(sub, 1) & MFT_SEPARATOR);
  EXPECT_TRUE(NativeState(sub, 2) & MFS_DISABLED);
  EXPECT_EQ(GetMenuItemID(sub, 0), open->Command());
  EXPECT_TRUE(NativeState(edit->Handle(), 0) & MFS_CHECKED);

  // Changes reach the native menu and the form hears of them.
  int before = menu_changes;
  open->SetCaption("&Open...");
  line->SetVisible(false);
  EXPECT_EQ(NativeText(sub, 0), "&Open...\tCtrl+O");
  EXPECT_EQ(GetMenuItemCount(sub), 2);
  EXPECT_GT(menu_changes, before);

  menu->SetBiDiMode(TBiDiMode::bdRightToLeft);
  EXPECT_TRUE(NativeType(bar, 0) & MFT_RIGHTORDER);
  EXPECT_TRUE(NativeType(bar, 0) & MFT_RIGHTJUSTIFY);
  EXPECT_TRUE(NativeType(sub, 0) & MFT_RIGHTORDER);

  // A new window (a border change re-creates it) gets the same menu, which
  // the old window's destruction must not have destroyed.
  form->SetBorderStyle(TFormBorderStyle::bsDialog);
  EXPECT_NE(form->Handle(), h);
  EXPECT_TRUE(IsMenu(bar));
  EXPECT_EQ(GetMenu(form->Handle()), bar);
  EXPECT_EQ(GetMenuItemCount(bar), 2);

  form->SetMenu(nullptr);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
}

TEST_F(MenuFixture, CommandsAndShortCutsReachTheItem) {
  HWND h = form->Handle();
  struct Case {
    TMenuItem* item;
    const char* expected;
  } cases[] = {{open, "&Open"}, {copy, "&Copy"}, {save, "&Save"}};
  for (const Case& c : cases) {
    log.clear();
    SendMessageA(h, WM_COMMAND, MAKEWPARAM(c.item->Command(), 0), 0);
    EXPECT_EQ(log, std::vector<std::string>{c.expected});
  }
  log.clear();
  SendMessageA(h, WM_COMMAND, MAKEWPARAM(0xFFF0, 0), 0);  // nobody's
  EXPECT_TRUE(log.empty());

  EXPECT_TRUE(form->IsShortCut('O', ssCtrl));
  EXPECT_FALSE(form->IsShortCut('O', ssCtrl | ssShift));
  save->SetShortCut(ShortCut('S', ssCtrl));
  EXPECT_FALSE(form->IsShortCut('S', ssCtrl));  // disabled
  EXPECT_EQ(log, std::vector<std::string>{"&Open"});

  // A freed item's command goes nowhere.
  UINT command = copy->Command();
  copy->Free();
  copy = nullptr;
  log.clear();
  SendMessageA(h, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(GetMenuItemCount(edit->Handle()), 0);
}

TEST_F(MenuFixture, OwnerDrawMessagesReachTheItemHandlers) {
  menu->SetOwnerDraw(true);
  HMENU sub = file->Handle();
  EXPECT_TRUE(NativeType(sub, 0) & MFT_OWNERDRAW);
  EXPECT_EQ(NativeText(sub, 0), "&Open\tCtrl+O");  // still readable

  TObject* measured = nullptr;
  open->OnMeasureItem = [&](TObject* sender, TCanvas&, int& w, int& h) {
    measured = sender;
    EXPECT_GT(w, 0);
    w = 123;
    h = 21;
  };
  MEASUREITEMSTRUCT mis{};
  mis.CtlType = ODT_MENU;
  mis.itemID = open->Command();
  EXPECT_EQ(SendMessageA(form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), 1);
  EXPECT_EQ(measured, open);
  EXPECT_EQ(mis.itemWidth, 123u);
  EXPECT_EQ(mis.itemHeight, 21u);

  TBitmap target(130, 22, TPixelFormat::pf24bit);
  RECT drawn{};
  bool was_selected = false;
  open->OnDrawItem = [&](TObject*, TCanvas& canvas, const RECT& r, bool selected) {
    drawn = r;
    was_selected = selected;
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(r);
  };
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_MENU;
  dis.itemID = open->Command();
  dis.itemState = ODS_SELECTED;
  dis.hDC = target.Canvas().Handle();
  dis.rcItem = RECT{2, 1, 100, 20};
  EXPECT_EQ(SendMessageA(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), 1);
  EXPECT_EQ(drawn.right, 100);
  EXPECT_TRUE(was_selected);
  EXPECT_EQ(target.Canvas().Pixel(50, 10), 0x0000FFu);

  // Without a handler the default look draws the selection colour.
  dis.itemID = copy->Command();
  dis.itemState = ODS_SELECTED;
  SendMessageA(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  EXPECT_EQ(target.Canvas().Pixel(98, 2), GetSysColor(COLOR_HIGHLIGHT));
  mis.itemID = copy->Command();
  mis.itemWidth = 0;
  SendMessageA(form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  EXPECT_GT(mis.itemWidth, 20u);

  // A control's own owner-draw message is not a menu's.
  dis.CtlType = ODT_BUTTON;
  dis.hwndItem = nullptr;
  EXPECT_EQ(SendMessageA(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), 0);
}

TEST(ShortCuts, TextAndHotkeys) {
  struct Case {
    TShortCut sc;
    const char* text;
  } cases[] = {{ShortCut('S', ssCtrl), "Ctrl+S"},
               {ShortCut(VK_F5, ssShift), "Shift+F5"},
               {ShortCut(VK_DELETE, ssAlt | ssCtrl), "Ctrl+Alt+Del"},
               {ShortCut('1', 0), "1"},
               {ShortCut(VK_RETURN, 0), "Enter"}};
  for (const Case& c : cases) {
    EXPECT_EQ(ShortCutToText(c.sc), c.text);
    EXPECT_EQ(TextToShortCut(c.text), c.sc) << c.text;
  }
  EXPECT_EQ(TextToShortCut("ctrl+s"), ShortCut('S', ssCtrl));
  EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
  EXPECT_EQ(TextToShortCut("Hyper+S"), 0);
  EXPECT_EQ(ShortCut(VK_CONTROL, ssCtrl), 0);

  struct HotCase {
    const char* caption;
    char hotkey;
    const char* stripped;
  } hot[] = {{"&File", 'F', "File"}, {"Save &as", 'A', "Save as"}, {"R&&D", 0, "R&D"},
             {"R&&&D", 'D', "R&D"},  {"Trailing&", 0, "Trailing"}, {"", 0, ""}};
  for (const HotCase& h : hot) {
    EXPECT_EQ(GetHotkey(h.caption), h.hotkey) << h.caption;
    EXPECT_EQ(StripHotkey(h.caption), h.stripped) << h.caption;
  }
}

TEST(PopupMenus, RightClickShowsTheMenuOfTheControlOrItsParent) {
  TOwned<TForm1> form(new TForm1(nullptr));
  form->SetBounds(50, 50, 300, 200);
  auto* panel = new TTestPanel(form.get());
  panel->SetBounds(10, 10, 100, 100);
  panel->SetParent(form.get());
  auto* shape = new TTestShape(form.get(), nullptr);
  shape->SetBounds(150, 10, 40, 40);
  shape->SetParent(form.get());
  auto* form_menu = new TPopupMenu(form.get());
  auto* shape_menu = new TPopupMenu(form.get());
  form_menu->Items()->Add(NewItem(form.get(), "Form item", nullptr));
  shape_menu->Items()->Add(NewItem(form.get(), "Shape item", nullptr));
  form->SetPopupMenu(form_menu);
  shape->SetPopupMenu(shape_menu);
  form->Show();

  // Each popup is closed by a timer while it tracks.
  TTimer closer(nullptr);
  closer.SetInterval(20);
  closer.OnTimer = [](TObject*) { EndMenu(); };
  std::vector<std::string> shown;
  for (TPopupMenu* m : {form_menu, shape_menu}) {
    m->OnPopup = [&shown, m](TObject*) {
      shown.push_back(m->PopupComponent() ? m->PopupComponent()->ClassName() : "none");
    };
  }
  auto right_click = [&](TWinControl* on, int x, int y) {
    POINT p = on->ClientToScreen(POINT{x, y});
    SendMessageA(on->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(on->Handle()),
                 MAKELPARAM(p.x, p.y));
  };
  right_click(form.get(), 160, 20);   // on the windowless shape: its own menu
  right_click(form.get(), 250, 150);  // on the form
  right_click(panel, 5, 5);           // the panel has none: its parent's, for the form
  EXPECT_EQ(shown, (std::vector<std::string>{"TTestShape", "TForm1", "TForm1"}));

  shape_menu->Free();  // the shape forgets it
  EXPECT_EQ(shape->PopupMenu(), nullptr);
  shown.clear();
  right_click(form.get(), 160, 20);
  EXPECT_EQ(shown, (std::vector<std::string>{"TTestShape"}));  // now the form's menu
}

}  // namespace
