// Tab controls, page controls, headers and status bars wearing the test
// skin, with real windows and real input in a virtual desktop: which frame
// every tab, pane, header section and status panel shows (read back from the
// screen by the test skin's piece colours), tabs switched by a click and by
// Ctrl+Tab with the pages repainted, header clicks reaching the application
// as on a bare header, a resized bar keeping its grip in the corner, close
// boxes, skins with odd pictures, and every control exactly as before once
// the skinners are detached.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/image_ops.h"
#include "engine/skin_stream.h"
#include "engine_controls/control_list.h"
#include "engine_controls/skin_tabs.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_messages.h"
#include "framework/comctrls.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "real_input.h"
#include "skinned_form.h"
#include "test_skin.h"
#include "window_probe.h"

namespace {

using window_probe::PumpUntil;
using window_probe::WindowPixel;
using namespace skinned_form;

void Click(POINT at) {
  real_input::MouseAt(at, 0);
  real_input::Settle();
  real_input::MouseAt(at, MOUSEEVENTF_LEFTDOWN);
  real_input::Settle();
  real_input::MouseAt(at, MOUSEEVENTF_LEFTUP);
  real_input::Settle();
}

void CtrlTab() {
  INPUT in[4] = {};
  const WORD keys[4] = {VK_CONTROL, VK_TAB, VK_TAB, VK_CONTROL};
  for (int i = 0; i < 4; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = keys[i];
    in[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(4, in, sizeof(INPUT));
  real_input::Settle();
}

// A copy of the whole window as it shows now.
TPixmap Photograph(HWND w) {
  UpdateWindow(w);
  RECT r;
  GetWindowRect(w, &r);
  TNativeBitmap shot(r.right - r.left, r.bottom - r.top);
  HDC src = GetWindowDC(w);
  {
    TMemoryDC dst(shot);
    BitBlt(dst.Handle(), 0, 0, shot.Width(), shot.Height(), src, 0, 0, SRCCOPY);
  }
  ReleaseDC(w, src);
  return shot.ToImage();
}

bool SamePixels(const TPixmap& a, const TPixmap& b) {
  if (a.Width != b.Width || a.Height != b.Height) return false;
  for (int y = 0; y < a.Height; ++y)
    for (int x = 0; x < a.Width; ++x)
      if (GetPixel(a, x, y) != GetPixel(b, x, y)) return false;
  return true;
}

RECT TabItemRect(HWND w, int i) {
  RECT r{};
  SendMessageW(w, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
  return r;
}

class SkinTabsTest : public ::testing::Test, protected TSkinnedForm {
 protected:
  void SetUp() override { Load(MakeTestSkin()); }
  void TearDown() override { Release(); }
  TPageControl* AddPages(int n, TTabPosition side = TTabPosition::tpTop) {
    auto* pages = Add<TPageControl>(10, 10, 300, 200);
    pages->SetTabPosition(side);
    for (int i = 0; i < n; ++i) {
      TTabSheet* sheet = pages->AddSheet("Page " + std::to_string(i + 1));
      Add<TButton>(20, 20, 80, 24, sheet)->SetCaption("Button " + std::to_string(i + 1));
    }
    return pages;
  }
  void ShowAndSkin() {
    real_input::MouseAt({2, 2}, 0);
    form_->Show();
    real_input::Settle();
    list_->SkinFormControls(form_);
    real_input::Settle();
  }
  // The piece of frame `frame` of element `index` at (x, y), or -1.
  static int PieceAt(HWND w, int index, int frame, int x, int y) {
    UpdateWindow(w);
    const TColor c = WindowPixel(w, x, y);
    for (int p = 0; p <= static_cast<int>(TTestPiece::Marker); ++p)
      if (c == TestPieceColour(index, frame, static_cast<TTestPiece>(p))) return p;
    return -1;
  }
  // The Tabs frame a tab shows: the first piece found along its middle
  // lines, 5 pixels in from its edges (its caption is no piece).
  int TabFrameAt(HWND w, int tab) {
    const RECT r = TabItemRect(w, tab);
    const int mx = (r.left + r.right) / 2, my = (r.top + r.bottom) / 2;
    for (int x = r.left + 5; x < r.right - 5; x += 2)
      if (const int k = FrameAt(w, IndexOf("tabs.bmp"), 5, x, my)) return k;
    for (int y = r.top + 5; y < r.bottom - 5; y += 2)
      if (const int k = FrameAt(w, IndexOf("tabs.bmp"), 5, mx, y)) return k;
    return 0;
  }
  static bool Skinned(HWND w) { return SendMessageW(w, kSkmIsSkinned, 0, 0) == 1; }
  TColor Face() const { return data_->Content().Colours[kcButtonFace]; }
};

// ---- tabs ----------------------------------------------------------------------

TEST_F(SkinTabsTest, TabsSwitchByClickAndCtrlTabWithPaneAndPagesRepainted) {
  TPageControl* pages = AddPages(3);
  ShowAndSkin();
  HWND w = pages->Handle();
  ASSERT_TRUE(Skinned(w));
  ASSERT_TRUE(Skinned(pages->Pages(0)->Handle()));
  EXPECT_EQ(TabFrameAt(w, 0), 2);
  EXPECT_EQ(TabFrameAt(w, 1), 1);
  EXPECT_EQ(TabFrameAt(w, 2), 1);
  // The pane around the page is the Tabs border picture.
  RECT display;
  GetClientRect(w, &display);
  SendMessageW(w, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  const int mid_y = (display.top + display.bottom) / 2;
  EXPECT_EQ(FrameAt(w, IndexOf("tabborder.bmp"), 1, display.left - 3, mid_y), 1);
  EXPECT_EQ(FrameAt(w, IndexOf("tabborder.bmp"), 1, display.right + 2, mid_y), 1);
  // A click on the second tab selects it and shows its page on the face.
  const RECT second = TabItemRect(w, 1);
  Click(ScreenPoint(w, (second.left + second.right) / 2, (second.top + second.bottom) / 2));
  EXPECT_EQ(pages->ActivePageIndex(), 1);
  EXPECT_EQ(TabFrameAt(w, 0), 1);
  EXPECT_EQ(TabFrameAt(w, 1), 2);
  HWND page = pages->Pages(1)->Handle();
  ASSERT_TRUE(IsWindowVisible(page));
  EXPECT_TRUE(Skinned(page));
  EXPECT_EQ(WindowPixel(page, 150, 150), ToColorRef(Face()));
  // Ctrl+Tab goes on to the third, and round to the first.
  CtrlTab();
  EXPECT_EQ(pages->ActivePageIndex(), 2);
  EXPECT_EQ(TabFrameAt(w, 1), 1);
  EXPECT_EQ(TabFrameAt(w, 2), 2);
  EXPECT_EQ(WindowPixel(pages->Pages(2)->Handle(), 150, 150), ToColorRef(Face()));
  CtrlTab();
  EXPECT_EQ(pages->ActivePageIndex(), 0);
  EXPECT_EQ(TabFrameAt(w, 0), 2);
}

struct TSideCase {
  const char* Name;
  TTabPosition Side;
  TTestPiece OuterPiece;  // the Tabs piece on the tab's outer edge
};

class TabSideTest : public SkinTabsTest, public ::testing::WithParamInterface<TSideCase> {};

TEST_P(TabSideTest, TabsShowTheirFramesTurnedToTheirSide) {
  TPageControl* pages = AddPages(3, GetParam().Side);
  ShowAndSkin();
  HWND w = pages->Handle();
  ASSERT_TRUE(Skinned(w));
  EXPECT_EQ(TabFrameAt(w, 0), 2);
  EXPECT_EQ(TabFrameAt(w, 1), 1);
  // The outer edge of an unselected tab shows the picture's top margin
  // (upside down at the bottom, turned on the left and right).
  const RECT r = TabItemRect(w, 1);
  const int mx = (r.left + r.right) / 2, my = (r.top + r.bottom) / 2;
  int x = mx, y = my;
  switch (GetParam().Side) {
    case TTabPosition::tpTop:
      y = r.top + 1;
      break;
    case TTabPosition::tpBottom:
      y = r.bottom - 2;
      break;
    case TTabPosition::tpLeft:
      x = r.left + 1;
      break;
    case TTabPosition::tpRight:
      x = r.right - 2;
      break;
  }
  EXPECT_EQ(PieceAt(w, IndexOf("tabs.bmp"), 1, x, y), static_cast<int>(GetParam().OuterPiece))
      << x << "," << y;
  // A click on it selects it wherever the tabs are.
  Click(ScreenPoint(w, mx, my));
  EXPECT_EQ(pages->ActivePageIndex(), 1);
  EXPECT_EQ(TabFrameAt(w, 1), 2);
  EXPECT_EQ(TabFrameAt(w, 0), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Sides, TabSideTest,
    ::testing::Values(TSideCase{"Top", TTabPosition::tpTop, TTestPiece::Top},
                      TSideCase{"Bottom", TTabPosition::tpBottom, TTestPiece::Top},
                      TSideCase{"Left", TTabPosition::tpLeft, TTestPiece::Top},
                      TSideCase{"Right", TTabPosition::tpRight, TTestPiece::Top}),
    [](const auto& param_info) { return std::string(param_info.param.Name); });

TEST_F(SkinTabsTest, ButtonTabsWearTheButtonStripAndKeepTheirLabels) {
  auto* tabs = Add<TTabControl>(10, 10, 300, 120);
  tabs->SetStyle(TTabStyle::tsButtons);
  for (const char* t : {"One", "Two", "Three"})
    tabs->Tabs()->Add(t);
  tabs->SetTabIndex(1);
  auto* label = new TLabel(form_);
  label->SetBounds(10, 60, 150, 15);
  label->SetCaption("XXXXXXXXXXXXXXXX");
  label->SetParent(tabs);
  ShowAndSkin();
  HWND w = tabs->Handle();
  ASSERT_TRUE(Skinned(w));
  auto frame = [&](int i) {
    const RECT r = TabItemRect(w, i);
    return FrameAt(w, IndexOf("button.bmp"), 5, (r.left + r.right) / 2, r.top + 2);
  };
  EXPECT_EQ(frame(0), 1);
  EXPECT_EQ(frame(1), 2);
  const RECT third = TabItemRect(w, 2);
  Click(ScreenPoint(w, (third.left + third.right) / 2, (third.top + third.bottom) / 2));
  EXPECT_EQ(tabs->TabIndex(), 2);
  EXPECT_EQ(frame(1), 1);
  EXPECT_EQ(frame(2), 2);
  // The label on the control is painted over its face (some of its text
  // pixels differ from the face).
  bool text = false;
  for (int x = 12; x < 150 && !text; ++x)
    text = WindowPixel(w, x, 67) != ToColorRef(Face());
  EXPECT_TRUE(text);
}

TEST_F(SkinTabsTest, OverflowArrowsWearTheSpinStrip) {
  auto* tabs = Add<TTabControl>(10, 10, 160, 100);
  for (int i = 0; i < 12; ++i)
    tabs->Tabs()->Add("Tab number " + std::to_string(i));
  ShowAndSkin();
  HWND w = tabs->Handle();
  HWND arrows = FindWindowExW(w, nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_NE(arrows, nullptr);
  InvalidateRect(w, nullptr, TRUE);
  UpdateWindow(w);
  EXPECT_TRUE(Skinned(arrows));
  RECT a;
  GetClientRect(arrows, &a);
  // Each half shows the strip's frame or, over it, the glyph of that frame.
  auto spin_frame = [&](int x, int y) {
    const int k = FrameAt(arrows, IndexOf("updownh.bmp"), 8, x, y);
    return k ? k : FrameAt(arrows, IndexOf("glyphs.bmp"), 8, x, y);
  };
  EXPECT_EQ(spin_frame(1, a.bottom / 2), 1);
  EXPECT_EQ(spin_frame(a.right - 2, a.bottom / 2), 5);
  // Scrolling by the arrows keeps the tabs skinned.
  POINT right = ScreenPoint(arrows, a.right * 3 / 4, a.bottom / 2);
  Click(right);
  Click(right);
  const RECT now = TabItemRect(w, 2);
  EXPECT_LT(now.left, 20);  // the third tab is first now
  EXPECT_EQ(TabFrameAt(w, 2), 1);
  EXPECT_EQ(TabFrameAt(w, 3), 1);
}

TEST_F(SkinTabsTest, CloseBoxesCloseThePageOfTheirTab) {
  TPageControl* pages = AddPages(4);
  pages->SetTag(7777);
  // The second page has no tab: the second tab is the third page's.
  TTabSheet* hidden = pages->Pages(1);
  TTabSheet* third = pages->Pages(2);
  hidden->SetTabVisible(false);
  ShowAndSkin();
  HWND w = pages->Handle();
  ASSERT_TRUE(Skinned(w));
  const RECT tab = TabItemRect(w, 1);
  const TRect box = TabCloseBox({tab.left, tab.top, tab.right, tab.bottom});
  // The boxed cross shows on every tab.
  UpdateWindow(w);
  EXPECT_NE(WindowPixel(w, box.Left, box.Top + 3), WindowPixel(w, box.Left + 2, box.Top + 3));
  Click(ScreenPoint(w, box.Left + 3, box.Top + 3));
  ASSERT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(pages->Pages(1), hidden);
  for (int i = 0; i < pages->PageCount(); ++i)
    EXPECT_NE(pages->Pages(i), third);
}

// ---- headers -------------------------------------------------------------------

TEST_F(SkinTabsTest, HeaderSectionsFollowTheMouseAndClickAsBare) {
  std::vector<int> skinned_clicks, bare_clicks;
  auto* header = Add<THeaderControl>(10, 10, 300, 20);
  auto* bare = Add<THeaderControl>(10, 60, 300, 20);
  bare->SetTag(data_->DisableTag());
  for (THeaderControl* h : {header, bare}) {
    h->SetAlign(TAlign::alNone);
    h->AddSection("Name", 100);
    h->AddSection("Size", 80);
    h->AddSection("Type", 80);
  }
  header->SetBounds(10, 10, 300, 20);
  bare->SetBounds(10, 60, 300, 20);
  header->OnSectionClick = [&](THeaderControl*, int i) { skinned_clicks.push_back(i); };
  bare->OnSectionClick = [&](THeaderControl*, int i) { bare_clicks.push_back(i); };
  ShowAndSkin();
  HWND w = header->Handle();
  ASSERT_TRUE(Skinned(w));
  ASSERT_FALSE(Skinned(bare->Handle()));
  const int bar = IndexOf("header.bmp");
  EXPECT_EQ(FrameAt(w, bar, 5, 50, 10), 1);
  EXPECT_EQ(FrameAt(w, bar, 5, 140, 10), 1);
  EXPECT_EQ(FrameAt(w, bar, 5, 290, 10), 1);  // right of the last section
  real_input::MouseAt(ScreenPoint(w, 140, 10), 0);
  real_input::Settle();
  EXPECT_TRUE(PumpUntil([&] { return FrameAt(w, bar, 5, 140, 10) == 2; }, 1000));
  EXPECT_EQ(FrameAt(w, bar, 5, 50, 10), 1);
  real_input::MouseAt(ScreenPoint(w, 140, 10), MOUSEEVENTF_LEFTDOWN);
  real_input::Settle();
  EXPECT_EQ(FrameAt(w, bar, 5, 140, 10), 3);
  real_input::MouseAt(ScreenPoint(w, 140, 10), MOUSEEVENTF_LEFTUP);
  real_input::Settle();
  EXPECT_EQ(FrameAt(w, bar, 5, 140, 10), 2);
  // Leaving the control ends the hot look.
  real_input::MouseAt({2, 2}, 0);
  EXPECT_TRUE(PumpUntil([&] { return FrameAt(w, bar, 5, 140, 10) == 1; }, 1500));
  Click(ScreenPoint(w, 50, 10));
  Click(ScreenPoint(bare->Handle(), 140, 10));
  Click(ScreenPoint(bare->Handle(), 50, 10));
  Click(ScreenPoint(w, 220, 10));
  Click(ScreenPoint(bare->Handle(), 220, 10));
  // skinned: 1 (above), 0, 2; bare: 1, 0, 2.
  EXPECT_EQ(skinned_clicks, (std::vector<int>{1, 0, 2}));
  EXPECT_EQ(bare_clicks, (std::vector<int>{1, 0, 2}));
}

TEST_F(SkinTabsTest, ListViewHeaderWearsTheSkin) {
  auto* view = Add<TListView>(10, 10, 300, 150);
  view->AddColumn("Element", 120);
  view->AddColumn("Frames", 80);
  view->AddItem("Tabs", {"5"});
  ShowAndSkin();
  HWND header = view->HeaderHandle();
  ASSERT_NE(header, nullptr);
  EXPECT_TRUE(Skinned(header));
  RECT r;
  GetClientRect(header, &r);
  EXPECT_EQ(FrameAt(header, IndexOf("header.bmp"), 5, 60, r.bottom / 2), 1);
  EXPECT_EQ(FrameAt(header, IndexOf("header.bmp"), 5, 250, r.bottom / 2), 1);
}

// ---- status bars -----------------------------------------------------------------

TEST_F(SkinTabsTest, StatusPanelsWearTheirBevelsAndTheGripFollowsTheCorner) {
  auto* bar = new TStatusBar(form_);
  bar->SetParent(form_);
  const TStatusPanelBevel bevels[] = {TStatusPanelBevel::pbLowered, TStatusPanelBevel::pbRaised,
                                      TStatusPanelBevel::pbNone, TStatusPanelBevel::pbLowered};
  for (TStatusPanelBevel b : bevels) {
    TStatusPanel* p = bar->AddPanel();
    p->SetWidth(100);
    p->SetBevel(b);
  }
  bar->Panels(0)->SetText("Ready");
  bar->Panels(3)->SetStyle(TStatusPanelStyle::psOwnerDraw);
  bool drawn = false;
  bar->OnDrawPanel = [&](TCustomStatusBar* sender, TStatusPanel* panel, const RECT& r) {
    drawn = panel == sender->Panels(3);
    sender->Canvas().Brush().SetColor(0x00FF00);
    sender->Canvas().FillRect(r);
  };
  ShowAndSkin();
  HWND w = bar->Handle();
  ASSERT_TRUE(Skinned(w));
  const int edges = IndexOf("status.bmp");
  RECT c;
  GetClientRect(w, &c);
  const int y = c.bottom / 2;
  EXPECT_EQ(FrameAt(w, edges, 3, 50, y), 1);
  EXPECT_EQ(FrameAt(w, edges, 3, 150, y), 2);
  EXPECT_EQ(FrameAt(w, edges, 3, 250, y), 3);  // an empty panel still gets its frame
  // The application draws its own panel, and only that one.
  EXPECT_TRUE(drawn);
  EXPECT_EQ(WindowPixel(w, 350, y), RGB(0, 255, 0));
  EXPECT_NE(WindowPixel(w, 150, y), RGB(0, 255, 0));
  auto grip_at_corner = [&] {
    RECT now;
    GetClientRect(w, &now);
    return FrameAt(w, IndexOf("extra.bmp"), 5, now.right - 3, now.bottom - 3) == 5;
  };
  EXPECT_TRUE(grip_at_corner());
  // Wider and narrower forms: the grip stays in the corner.
  form_->SetBounds(100, 100, 700, 420);
  real_input::Settle();
  EXPECT_TRUE(grip_at_corner());
  form_->SetBounds(100, 100, 480, 380);
  real_input::Settle();
  EXPECT_TRUE(grip_at_corner());
}

TEST_F(SkinTabsTest, OddPicturesPaintWithoutHarm) {
  const TPixmap pictures[] = {SolidImage(1, 1, kWhite), SolidImage(3, 200, kWhite),
                              SolidImage(400, 1, kWhite)};
  for (const TPixmap& p : pictures) {
    TTestSkin skin = MakeTestSkin();
    for (const char* member : {"tabs.bmp", "tabborder.bmp", "tabpane.bmp", "header.bmp",
                               "status.bmp", "extra.bmp", "button.bmp"})
      ReplaceMember(skin, member, p);
    Load(std::move(skin));
    TPageControl* pages = AddPages(2, TTabPosition::tpLeft);
    auto* header = Add<THeaderControl>(10, 230, 300, 20);
    header->SetAlign(TAlign::alNone);
    header->AddSection("A", 50);
    auto* bar = new TStatusBar(form_);
    bar->SetParent(form_);
    bar->AddPanel()->SetText("x");
    ShowAndSkin();
    for (HWND w : {pages->Handle(), header->Handle(), bar->Handle()}) {
      InvalidateRect(w, nullptr, TRUE);
      UpdateWindow(w);
      EXPECT_TRUE(Skinned(w)) << p.Width << "x" << p.Height;
    }
    list_->DetachAll();
    pages->Free();
    header->Free();
    bar->Free();
  }
}

TEST_F(SkinTabsTest, DetachedControlsLookExactlyAsBefore) {
  TPageControl* pages = AddPages(2, TTabPosition::tpBottom);
  auto* tabs = Add<TTabControl>(320, 10, 220, 100);
  tabs->SetStyle(TTabStyle::tsButtons);
  tabs->Tabs()->Add("One");
  tabs->Tabs()->Add("Two");
  auto* header = Add<THeaderControl>(320, 130, 220, 20);
  header->SetAlign(TAlign::alNone);
  header->AddSection("Name", 100);
  auto* view = Add<TListView>(320, 160, 220, 100);
  view->AddColumn("Element", 120);
  auto* bar = new TStatusBar(form_);
  bar->SetParent(form_);
  bar->AddPanel()->SetText("Ready");
  real_input::MouseAt({2, 2}, 0);
  form_->Show();
  real_input::Settle();
  const std::vector<HWND> windows = {pages->Handle(),  pages->Pages(0)->Handle(), tabs->Handle(),
                                     header->Handle(), view->HeaderHandle(),      bar->Handle()};
  std::vector<TPixmap> before;
  for (HWND w : windows)
    before.push_back(Photograph(w));
  list_->SkinFormControls(form_);
  real_input::Settle();
  for (size_t i = 0; i < windows.size(); ++i) {
    EXPECT_TRUE(Skinned(windows[i])) << i;
    EXPECT_FALSE(SamePixels(Photograph(windows[i]), before[i])) << i;
  }
  list_->DetachAll();
  for (HWND w : windows)
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  real_input::Settle();
  for (size_t i = 0; i < windows.size(); ++i) {
    EXPECT_FALSE(Skinned(windows[i])) << i;
    EXPECT_TRUE(SamePixels(Photograph(windows[i]), before[i])) << i;
  }
}

}  // namespace
