// Tab strips and panes for every side, the lying strip and its turn back,
// the selected tab's growth, overflow, frames, close boxes, item content,
// header sections and status panels.
#include "engine/tab_rules.h"

#include <gtest/gtest.h>

#include "engine/image_ops.h"

namespace {

const char* SideName(TTabSide s) {
  static const char* const kNames[] = {"top", "bottom", "left", "right"};
  return kNames[static_cast<int>(s)];
}

TEST(TabRules, SideFromStyle) {
  struct TRow {
    uint32_t Style;
    TTabSide Want;
  };
  const TRow rows[] = {{0, TTabSide::Top},
                       {0x2, TTabSide::Bottom},
                       {0x80, TTabSide::Left},
                       {0x82, TTabSide::Right},
                       {0x100 | 0x200, TTabSide::Top},  // buttons, multi-line: still on top
                       {0xFFFFFFFF, TTabSide::Right}};
  for (const TRow& r : rows)
    EXPECT_EQ(TabSideFromStyle(r.Style), r.Want) << std::hex << r.Style;
}

TEST(TabRules, PaneAndStripForEverySide) {
  const TRect control{0, 0, 200, 150};
  struct TRow {
    TTabSide Side;
    TRect Display, Pane, Strip;
    TPoint Lying;
  };
  const TRow rows[] = {
      {TTabSide::Top, {4, 26, 196, 146}, {0, 22, 200, 150}, {0, 0, 200, 22}, {200, 22}},
      {TTabSide::Bottom, {4, 4, 196, 124}, {0, 0, 200, 128}, {0, 128, 200, 150}, {200, 22}},
      {TTabSide::Left, {30, 4, 196, 146}, {26, 0, 200, 150}, {0, 0, 26, 150}, {150, 26}},
      {TTabSide::Right, {4, 4, 170, 146}, {0, 0, 174, 150}, {174, 0, 200, 150}, {150, 26}},
      // A display area outside the control leaves no strip, never a negative one.
      {TTabSide::Top, {4, 400, 196, 500}, {}, {0, 0, 200, 0}, {200, 0}},
      {TTabSide::Right, {-50, 4, -10, 146}, {}, {0, 0, 200, 150}, {150, 200}},
  };
  for (const TRow& r : rows) {
    const TRect pane = TabPaneRect(r.Display, control);
    EXPECT_EQ(pane, r.Pane) << SideName(r.Side);
    const TRect strip = TabStripRect(control, pane, r.Side);
    EXPECT_EQ(strip, r.Strip) << SideName(r.Side);
    EXPECT_EQ(TabLyingSize(strip, r.Side), r.Lying) << SideName(r.Side);
  }
}

// A tab composed in the lying strip and the strip turned back as the
// skinner turns it lands exactly on the tab's item rectangle.
TEST(TabRules, LyingTabsTurnBackOntoTheirItems) {
  const TRect control{0, 0, 120, 90};
  const struct {
    TTabSide Side;
    TRect Strip, Item;
  } rows[] = {
      {TTabSide::Top, {0, 0, 120, 20}, {10, 2, 50, 20}},
      {TTabSide::Bottom, {0, 70, 120, 90}, {10, 70, 50, 88}},
      {TTabSide::Left, {0, 0, 24, 90}, {2, 5, 24, 40}},
      {TTabSide::Right, {96, 0, 120, 90}, {96, 5, 118, 40}},
  };
  for (const auto& r : rows) {
    const TPoint size = TabLyingSize(r.Strip, r.Side);
    const TRect lying = TabToLying(r.Item, r.Strip, r.Side);
    EXPECT_EQ(TabFromLying(lying, r.Strip, r.Side), r.Item) << SideName(r.Side);
    TPixmap strip = SolidImage(size.X, size.Y, kWhite);
    FillRectangle(strip, lying.Left, lying.Top, lying.Right, lying.Bottom, kBlack);
    // The lying tab's outer edge is the strip's top row.
    SetPixel(strip, lying.Left, lying.Top, 0x0000FF);
    if (r.Side == TTabSide::Bottom) FlipVertical(strip);
    if (r.Side == TTabSide::Left) RotateLeft(strip);
    if (r.Side == TTabSide::Right) RotateRight(strip);
    ASSERT_EQ(strip.Width, r.Strip.Width()) << SideName(r.Side);
    ASSERT_EQ(strip.Height, r.Strip.Height()) << SideName(r.Side);
    for (int y = 0; y < strip.Height; ++y)
      for (int x = 0; x < strip.Width; ++x) {
        const int cx = x + r.Strip.Left, cy = y + r.Strip.Top;
        const bool in =
            cx >= r.Item.Left && cx < r.Item.Right && cy >= r.Item.Top && cy < r.Item.Bottom;
        ASSERT_EQ(GetPixel(strip, x, y) != kWhite, in)
            << SideName(r.Side) << " " << cx << "," << cy;
      }
    // The outer corner sits on the edge away from the pane.
    int mx = -1, my = -1;
    for (int y = 0; y < strip.Height; ++y)
      for (int x = 0; x < strip.Width; ++x)
        if (GetPixel(strip, x, y) == 0x0000FF) mx = x + r.Strip.Left, my = y + r.Strip.Top;
    switch (r.Side) {
      case TTabSide::Top:
        EXPECT_EQ(my, r.Item.Top);
        break;
      case TTabSide::Bottom:
        EXPECT_EQ(my, r.Item.Bottom - 1);
        break;
      case TTabSide::Left:
        EXPECT_EQ(mx, r.Item.Left);
        break;
      case TTabSide::Right:
        EXPECT_EQ(mx, r.Item.Right - 1);
        break;
    }
  }
  (void)control;
}

TEST(TabRules, SelectedTabGrowsToThePane) {
  const TPoint size{200, 22};
  EXPECT_EQ(GrowLyingTab({10, 4, 50, 20}, false, size), (TRect{10, 4, 50, 20}));
  EXPECT_EQ(GrowLyingTab({10, 4, 50, 20}, true, size), (TRect{8, 2, 52, 22}));
  // Never past the strip's outer edge.
  EXPECT_EQ(GrowLyingTab({0, 1, 40, 20}, true, size), (TRect{-2, 0, 42, 22}));
  // A tab already reaching past the pane keeps its depth.
  EXPECT_EQ(GrowLyingTab({0, 4, 40, 30}, true, size), (TRect{-2, 2, 42, 30}));
}

TEST(TabRules, OverflowArrowsHideTheTabsUnderThem) {
  const TRect strip{0, 0, 200, 22};
  const TRect arrows{160, 2, 200, 20};
  struct TRow {
    TRect Item, Arrows;
    bool Want;
  };
  const TRow rows[] = {
      {{10, 2, 60, 22}, arrows, true},
      {{150, 2, 190, 22}, arrows, true},  // partly under: drawn, clipped by the arrows
      {{165, 4, 195, 18}, arrows, false},
      {{165, 4, 195, 18}, {}, true},       // hidden arrows hide nothing
      {{-80, 2, -20, 22}, arrows, false},  // scrolled off
      {{210, 2, 260, 22}, arrows, false},
      {{10, 2, 10, 22}, {}, false},  // no rectangle
  };
  for (const TRow& r : rows)
    EXPECT_EQ(TabShows(r.Item, strip, r.Arrows), r.Want) << r.Item.Left << " " << r.Item.Right;
}

TEST(TabRules, Frames) {
  EXPECT_EQ(TabFrame(false), 1);
  EXPECT_EQ(TabFrame(true), 2);
  struct TRow {
    bool Selected, Hot, Enabled;
    int Want;
  };
  const TRow rows[] = {{false, false, true, 1}, {true, false, true, 2}, {false, true, true, 4},
                       {true, true, true, 2},   {true, true, false, 3}, {false, false, false, 3}};
  for (const TRow& r : rows)
    EXPECT_EQ(ButtonTabFrame(r.Selected, r.Hot, r.Enabled), r.Want)
        << r.Selected << r.Hot << r.Enabled;
  EXPECT_EQ(TabPaneMargins(0, {1, 1, 1, 1}), (TMargins{4, 5, 4, 4}));
  EXPECT_EQ(TabPaneMargins(1, {1, 2, 3, 4}), (TMargins{1, 2, 3, 4}));
}

TEST(TabRules, CloseBoxesAndThePagesBehindTabs) {
  const TRect box = TabCloseBox({10, 2, 70, 22});
  EXPECT_EQ(box, (TRect{62, 4, 68, 10}));
  EXPECT_TRUE(InCloseBox(box, {62, 4}));
  EXPECT_TRUE(InCloseBox(box, {68, 10}));
  EXPECT_FALSE(InCloseBox(box, {61, 6}));
  EXPECT_FALSE(InCloseBox(box, {65, 11}));
  const bool visible[] = {true, false, true, true};
  EXPECT_EQ(PageOfTab(visible, 4, 0), 0);
  EXPECT_EQ(PageOfTab(visible, 4, 1), 2);  // page 1 has no tab
  EXPECT_EQ(PageOfTab(visible, 4, 2), 3);
  EXPECT_EQ(PageOfTab(visible, 4, 3), -1);
  EXPECT_EQ(PageOfTab(visible, 4, -1), -1);
  EXPECT_EQ(PageOfTab(nullptr, 4, 0), -1);
}

TEST(TabRules, ItemContent) {
  const TRect r{0, 0, 100, 20};
  struct TRow {
    TItemAlign Align;
    TPoint Text, Icon;
    bool Image;
    bool WantImage;
    TPoint ImageAt;
    TRect Text2;
  };
  const TRow rows[] = {
      {TItemAlign::Left, {40, 14}, {}, false, false, {3, 10}, {3, 3, 43, 17}},
      {TItemAlign::Centre, {40, 14}, {}, false, false, {30, 10}, {30, 3, 70, 17}},
      {TItemAlign::Right, {40, 14}, {}, false, false, {58, 10}, {58, 3, 98, 17}},
      {TItemAlign::Left, {40, 14}, {16, 16}, true, true, {3, 2}, {21, 3, 61, 17}},
      {TItemAlign::Centre, {40, 14}, {16, 16}, true, true, {21, 2}, {39, 3, 79, 17}},
      // An icon as wide as the item shows no image.
      {TItemAlign::Left, {40, 14}, {100, 16}, true, false, {3, 10}, {3, 3, 43, 17}},
      // Text wider than the item starts 1 pixel in and is clipped at its edge.
      {TItemAlign::Centre, {300, 14}, {}, false, false, {1, 10}, {1, 3, 100, 17}},
      {TItemAlign::Right, {300, 14}, {}, false, false, {1, 10}, {1, 3, 100, 17}},
      {TItemAlign::Left, {0, 0}, {}, false, false, {3, 10}, {3, 10, 3, 10}},
  };
  for (const TRow& row : rows) {
    const TItemContentPlace p = PlaceItemContent(r, row.Align, row.Text, row.Icon, row.Image);
    EXPECT_EQ(p.HasImage, row.WantImage) << static_cast<int>(row.Align) << " " << row.Text.X;
    if (p.HasImage) {
      EXPECT_EQ(p.Image, row.ImageAt);
    }
    EXPECT_EQ(p.Text, row.Text2) << static_cast<int>(row.Align) << " " << row.Text.X;
  }
  EXPECT_EQ(ItemAlignFlags(TItemAlign::Left), 0u);
  EXPECT_EQ(ItemAlignFlags(TItemAlign::Right), 2u);
  EXPECT_EQ(ItemAlignFlags(TItemAlign::Centre), 1u);
}

TEST(TabRules, HeaderSections) {
  struct TRow {
    bool Hot, Pressed;
    int Frames, Want;
  };
  const TRow rows[] = {{false, false, 5, 1}, {true, false, 5, 2}, {true, true, 5, 3},
                       {false, true, 5, 3},  {false, true, 2, 2}, {true, false, 1, 1},
                       {true, true, 0, 1},   {true, false, -3, 1}};
  for (const TRow& r : rows)
    EXPECT_EQ(HeaderSectionFrame(r.Hot, r.Pressed, r.Frames), r.Want)
        << r.Hot << r.Pressed << " " << r.Frames;
  EXPECT_EQ(HeaderAlign(0x0), TItemAlign::Left);
  EXPECT_EQ(HeaderAlign(0x1), TItemAlign::Right);
  EXPECT_EQ(HeaderAlign(0x2), TItemAlign::Centre);
  EXPECT_EQ(HeaderAlign(0x4000 | 0x2), TItemAlign::Centre);
  EXPECT_EQ(HeaderAlign(0x3), TItemAlign::Left);
  EXPECT_FALSE(HeaderUsesImage(0x4000));
  EXPECT_TRUE(HeaderUsesImage(0x800));
  EXPECT_TRUE(HeaderUsesImage(0x8000));
  EXPECT_EQ(HeaderRest({0, 0, 230, 20}, 180), (TRect{180, 0, 230, 20}));
  EXPECT_TRUE(HeaderRest({0, 0, 230, 20}, 230).IsEmpty());
  EXPECT_TRUE(HeaderRest({0, 0, 230, 20}, 400).IsEmpty());
  EXPECT_EQ(HeaderRest({0, 0, 230, 20}, -5), (TRect{0, 0, 230, 20}));
  const TRect sections[] = {{0, 0, 90, 20}, {90, 0, 150, 20}, {150, 0, 230, 20}};
  EXPECT_EQ(HeaderSectionAt(sections, 3, {0, 5}), 0);
  EXPECT_EQ(HeaderSectionAt(sections, 3, {90, 5}), 1);
  EXPECT_EQ(HeaderSectionAt(sections, 3, {229, 19}), 2);
  EXPECT_EQ(HeaderSectionAt(sections, 3, {230, 5}), -1);
  EXPECT_EQ(HeaderSectionAt(nullptr, 3, {10, 5}), -1);
}

TEST(TabRules, StatusPanels) {
  EXPECT_EQ(StatusPanelFrame(TPanelBevel::Lowered), 1);
  EXPECT_EQ(StatusPanelFrame(TPanelBevel::Raised), 2);
  EXPECT_EQ(StatusPanelFrame(TPanelBevel::None), 3);
  const TRect bar{0, 0, 400, 20};
  EXPECT_EQ(StatusPanelRect({0, 2, 178, 20}, false, bar), (TRect{0, 2, 180, 20}));
  EXPECT_EQ(StatusPanelRect({302, 2, 380, 20}, true, bar), (TRect{302, 2, 400, 20}));
  EXPECT_EQ(StatusPanelRect({390, 2, 420, 20}, false, bar), (TRect{390, 2, 400, 20}));
  EXPECT_TRUE(StatusPanelRect({500, 2, 520, 20}, false, bar).IsEmpty());
  EXPECT_EQ(StatusPanelAlign(TItemAlign::Left, true), TItemAlign::Right);
  EXPECT_EQ(StatusPanelAlign(TItemAlign::Right, true), TItemAlign::Left);
  EXPECT_EQ(StatusPanelAlign(TItemAlign::Centre, true), TItemAlign::Centre);
  EXPECT_EQ(StatusPanelAlign(TItemAlign::Right, false), TItemAlign::Right);
  const TRect panel{100, 0, 220, 20};
  EXPECT_EQ(StatusPanelTextRect(panel, TItemAlign::Left, {40, 14}), (TRect{102, 2, 218, 16}));
  EXPECT_EQ(StatusPanelTextRect(panel, TItemAlign::Right, {40, 14}), (TRect{102, 2, 218, 16}));
  EXPECT_EQ(StatusPanelTextRect(panel, TItemAlign::Centre, {40, 14}), (TRect{140, 2, 180, 16}));
  EXPECT_EQ(StatusPanelTextRect(panel, TItemAlign::Centre, {300, 14}), (TRect{102, 2, 218, 16}));
  EXPECT_EQ(StatusPanelTextRect({0, 0, 3, 20}, TItemAlign::Left, {40, 14}), (TRect{2, 2, 2, 16}));
  EXPECT_EQ(StatusGripRect(bar, {8, 8}), (TRect{391, 11, 399, 19}));
  EXPECT_TRUE(StatusGripRect(bar, {0, 8}).IsEmpty());
  EXPECT_TRUE(StatusGripRect(bar, {8, -1}).IsEmpty());
}

}  // namespace
