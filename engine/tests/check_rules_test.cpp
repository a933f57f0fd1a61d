// The cells, sizes and placement of skinned check boxes and radio buttons.
#include "engine/check_rules.h"

#include <gtest/gtest.h>

namespace {

TCheckFacts Window(bool checked, bool grey, bool disabled) {
  TCheckFacts f;
  f.WindowChecked = checked;
  f.WindowIndeterminate = grey;
  f.Disabled = disabled;
  return f;
}

TEST(CheckRules, CheckBoxCellsByWindowState) {
  struct TRow {
    bool Checked, Grey, Disabled;
    int Four, Twelve;
  };
  const TRow rows[] = {
      {false, false, false, 1, 1}, {true, false, false, 2, 5}, {false, false, true, 3, 4},
      {true, false, true, 4, 8},   {false, true, false, 4, 9}, {false, true, true, 4, 12},
      {true, true, false, 4, 9},   {true, true, true, 4, 12},
  };
  for (const TRow& r : rows) {
    const TCheckFacts f = Window(r.Checked, r.Grey, r.Disabled);
    EXPECT_EQ(CheckBoxCell(f, 4), r.Four) << r.Checked << r.Grey << r.Disabled;
    EXPECT_EQ(CheckBoxCell(f, 12), r.Twelve) << r.Checked << r.Grey << r.Disabled;
  }
}

TEST(CheckRules, FrameworkPropertiesOverrideTheWindow) {
  struct TRow {
    bool HasState;
    const char* State;
    bool HasChecked;
    const char* Checked;
    bool WindowChecked, Disabled;
    int Four, Twelve;
  };
  const TRow rows[] = {
      {true, "cbunchecked", false, "", true, false, 1, 1},
      {true, "cbchecked", false, "", false, false, 2, 5},
      // A grey State is indeterminate even when the window does not say so.
      {true, "cbgrayed", false, "", false, false, 4, 9},
      {true, "cbgrayed", false, "", false, true, 4, 12},
      {true, "other", false, "", true, false, 2, 5},           // unknown: the window's
      {true, "cbchecked", true, "false", false, false, 2, 5},  // State wins over Checked
      {false, "", true, "true", false, true, 4, 8},
      {false, "", true, "false", true, false, 1, 1},
  };
  for (const TRow& r : rows) {
    TCheckFacts f = Window(r.WindowChecked, false, r.Disabled);
    f.HasState = r.HasState;
    f.StateIdent = r.State;
    f.HasChecked = r.HasChecked;
    f.CheckedIdent = r.Checked;
    EXPECT_EQ(CheckBoxCell(f, 4), r.Four) << r.State << r.Checked;
    EXPECT_EQ(CheckBoxCell(f, 12), r.Twelve) << r.State << r.Checked;
  }
}

TEST(CheckRules, DataAwareCheckBoxesUseTheLastRequest) {
  struct TRow {
    int LastCheck;
    bool Binding;
    int Four;
  };
  const TRow rows[] = {{0, false, 2}, {1, false, 1}, {2, false, 2}, {3, false, 4}, {2, true, 1}};
  for (const TRow& r : rows) {
    TCheckFacts f;
    f.HasState = true;
    f.StateIdent = "cbchecked";
    f.HasDataField = true;
    f.LastCheck = r.LastCheck;
    f.HasDataBinding = r.Binding;
    EXPECT_EQ(CheckBoxCell(f, 4), r.Four) << r.LastCheck << r.Binding;
  }
}

TEST(CheckRules, RadioCells) {
  struct TRow {
    bool WindowChecked, HasChecked;
    const char* Checked;
    bool Disabled;
    int Four, Eight;
  };
  const TRow rows[] = {
      {false, false, "", false, 1, 1},    {true, false, "", false, 2, 5},
      {false, false, "", true, 3, 4},     {true, false, "", true, 4, 8},
      {true, true, "false", false, 1, 1}, {false, true, "true", false, 2, 5},
  };
  for (const TRow& r : rows) {
    TRadioFacts f;
    f.WindowChecked = r.WindowChecked;
    f.HasChecked = r.HasChecked;
    f.CheckedIdent = r.Checked;
    f.Disabled = r.Disabled;
    EXPECT_EQ(RadioButtonCell(f, 4), r.Four) << r.WindowChecked << r.Checked << r.Disabled;
    EXPECT_EQ(RadioButtonCell(f, 8), r.Eight) << r.WindowChecked << r.Checked << r.Disabled;
  }
}

TEST(CheckRules, ShortOrOddStripsNeverPointOutsideThemselves) {
  for (int cells : {-3, 0, 1, 2, 3, 5, 7, 9, 100000}) {
    for (bool checked : {false, true})
      for (bool grey : {false, true})
        for (bool disabled : {false, true}) {
          const int c = CheckBoxCell(Window(checked, grey, disabled), cells);
          EXPECT_GE(c, 1);
          EXPECT_LE(c, CheckStripCells(cells));
          TRadioFacts r;
          r.WindowChecked = checked;
          r.Disabled = disabled;
          const int rc = RadioButtonCell(r, cells);
          EXPECT_GE(rc, 1);
          EXPECT_LE(rc, CheckStripCells(cells));
        }
  }
  TCheckFacts odd;
  odd.HasDataField = true;
  odd.LastCheck = 70000;  // a request no check box knows
  EXPECT_EQ(CheckBoxCell(odd, 4), 2);
}

TEST(CheckRules, CellWidths) {
  struct TRow {
    int Width, Cells, CellWidth;
  };
  const TRow rows[] = {{52, 4, 13}, {156, 12, 13}, {53, 4, 13}, {52, 0, 52},     {52, -1, 52},
                       {3, 4, 0},   {0, 4, 0},     {-5, 4, 0},  {10, 1 << 30, 0}};
  for (const TRow& r : rows)
    EXPECT_EQ(CheckStripCellWidth(r.Width, r.Cells), r.CellWidth) << r.Width << " " << r.Cells;
}

TEST(CheckRules, GlyphAndCaptionPlacement) {
  struct TRow {
    TRect Rect;
    bool Right, Radio, Rtl;
    TRect Glyph, Text;
    unsigned Flags;
  };
  const TRect r{0, 0, 100, 20};
  const TRow rows[] = {
      {r, false, false, false, {0, 3, 13, 16}, {15, 0, 100, 20}, 0},
      {r, false, true, true, {0, 3, 13, 16}, {15, 0, 100, 20}, kCheckTextRtl},
      {r, true, false, false, {87, 3, 100, 16}, {0, 0, 85, 20}, 0},
      {r, true, true, false, {86, 3, 99, 16}, {0, 0, 84, 20}, 0},
      {r, true, false, true, {87, 3, 100, 16}, {0, 0, 85, 20}, kCheckTextRight | kCheckTextRtl},
      // Taller cell than the control: the glyph overhangs evenly (toward 0).
      {{0, 0, 50, 10}, false, false, false, {0, -1, 13, 12}, {15, 0, 50, 10}, 0},
      {{5, 10, 60, 24}, false, false, false, {5, 10, 18, 23}, {20, 10, 60, 24}, 0},
  };
  for (const TRow& row : rows) {
    const TCheckLayout l = PlaceCheckGlyph(row.Rect, {13, 13}, row.Right, row.Radio, row.Rtl);
    EXPECT_EQ(l.Glyph, row.Glyph) << row.Right << row.Radio;
    EXPECT_EQ(l.Text, row.Text) << row.Right << row.Radio;
    EXPECT_EQ(l.Flags, row.Flags) << row.Right << row.Rtl;
  }
}

TEST(CheckRules, CaptionCentredAndFocusCues) {
  EXPECT_EQ(CentreCheckCaption({15, 0, 100, 20}, 13), (TRect{15, 3, 100, 23}));
  EXPECT_EQ(CentreCheckCaption({15, 0, 100, 20}, 20), (TRect{15, 0, 100, 20}));
  EXPECT_EQ(CentreCheckCaption({15, 0, 100, 20}, 40), (TRect{15, -10, 100, 10}));
  EXPECT_TRUE(CheckFocusCues(5));
  EXPECT_FALSE(CheckFocusCues(6));
  EXPECT_TRUE(CheckFocusCues(10));
}

TEST(CheckRules, OtherLibrariesStripsTakeTheSkinCellsTheyNeed) {
  struct TRow {
    int Kind, SkinCells;
    std::vector<int> Cells;
  };
  const TRow rows[] = {
      {1, 5, {0, 1, 4, 0, 1, 4, 2, 3, 4}},
      {1, 4, {0, 1, -1, 0, 1, -1, 2, 3, -1}},
      {1, 2, {0, 1, -1, 0, 1, -1, -1, -1, -1}},  // no disabled cells in the skin
      {2, 4, {0, 1, 0, 1, 2, 3}},
      {2, 8, {0, 1, 0, 1, 2, 3}},
      {2, 1, {0, -1, 0, -1, -1, -1}},
      {3, 5, {0, 1, 4, 0, 1, 4}},
      {3, 12, {0, 1, -1, 0, 1, -1}},  // grayed only from a 5-cell strip
      {0, 5, {}},
      {4, 5, {}},
  };
  for (const TRow& row : rows)
    EXPECT_EQ(ObjImageCells(row.Kind, row.SkinCells), row.Cells)
        << row.Kind << " " << row.SkinCells;
}

TEST(CheckRules, OtherLibrariesStripPixels) {
  // A 5-cell skin strip, 3 pixels a cell, each cell its own colour.
  TPixmap skin = SolidImage(15, 2, 0);
  for (int c = 0; c < 5; ++c)
    FillRectangle(skin, c * 3, 0, c * 3 + 3, 2, RGBColour(10 * (c + 1), 0, 0));
  const TPixmap radio = BuildObjImageStrip(skin, 5, 2);
  ASSERT_EQ(radio.Width, 18);
  ASSERT_EQ(radio.Height, 2);
  const int radio_cells[] = {0, 1, 0, 1, 2, 3};
  for (int i = 0; i < 6; ++i)
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(GetPixel(radio, i * 3 + x, 1), RGBColour(10 * (radio_cells[i] + 1), 0, 0)) << i;
  // A 4-cell strip of the same bitmap: the grayed cells stay magenta.
  const TPixmap check = BuildObjImageStrip(CropImage(skin, 0, 0, 12, 2), 4, 1);
  ASSERT_EQ(check.Width, 27);
  EXPECT_EQ(GetPixel(check, 2 * 3 + 1, 0), kMagenta);
  EXPECT_EQ(GetPixel(check, 8 * 3 + 2, 1), kMagenta);
  EXPECT_EQ(GetPixel(check, 7 * 3, 0), RGBColour(40, 0, 0));
  // Strips that cannot give a cell.
  EXPECT_EQ(BuildObjImageStrip(SolidImage(3, 2, 0), 5, 1).Width, 0);
  EXPECT_EQ(BuildObjImageStrip(TPixmap(), 4, 2).Width, 0);
  EXPECT_EQ(BuildObjImageStrip(skin, 5, 9).Width, 0);
}

}  // namespace
