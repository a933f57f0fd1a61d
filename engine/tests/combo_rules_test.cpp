// Combo frames by state, the parts of classic and single-button combo boxes
// on either side, centred arrow cells, the flat frames of edits and date
// pickers, and the date picker's drop button.
#include "engine/combo_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(ComboRules, FrameByState) {
  struct TRow {
    bool Enabled, Pressed, Focused, Hot;
    int Want;
  };
  const TRow rows[] = {
      {true, false, false, false, kComboNormal},   {true, true, false, false, kComboPressed},
      {true, true, true, true, kComboPressed},     {true, false, true, false, kComboHot},
      {true, false, false, true, kComboHot},       {false, false, false, false, kComboDisabled},
      {false, true, false, false, kComboDisabled}, {false, false, true, true, kComboDisabled},
  };
  for (const TRow& r : rows)
    EXPECT_EQ(ComboFrame({r.Enabled, r.Pressed, r.Focused, r.Hot}), r.Want)
        << r.Enabled << r.Pressed << r.Focused << r.Hot;
}

TEST(ComboRules, MirroredStripsHoldTheirFramesReversed) {
  struct TRow {
    int Frame, Frames, Want;
  };
  const TRow rows[] = {{1, 4, 4}, {2, 4, 3}, {3, 4, 2}, {4, 4, 1}, {0, 4, 4},
                       {9, 4, 1}, {1, 1, 1}, {1, 0, 1}, {2, -3, 1}};
  for (const TRow& r : rows)
    EXPECT_EQ(MirroredFrame(r.Frame, r.Frames), r.Want) << r.Frame << " of " << r.Frames;
}

TEST(ComboRules, LookOfTheButtonStyle) {
  EXPECT_EQ(ComboLookOfStyle(0), TComboLook::Classic);
  EXPECT_EQ(ComboLookOfStyle(1), TComboLook::SingleButton);
  EXPECT_EQ(ComboLookOfStyle(2), TComboLook::Composite);
  EXPECT_EQ(ComboLookOfStyle(-3), TComboLook::Classic);
  EXPECT_EQ(ComboLookOfStyle(77), TComboLook::Classic);
}

TEST(ComboRules, ClassicPartsOnEitherSide) {
  struct TRow {
    TRect R;
    int A;
    bool Left;
    TRect Edit, Button, Arrow;
  };
  const TRow rows[] = {
      {{0, 0, 145, 21}, 17, false, {2, 2, 124, 19}, {126, 0, 145, 21}, {126, 0, 143, 21}},
      {{0, 0, 145, 21}, 17, true, {21, 2, 143, 19}, {0, 0, 19, 21}, {2, 0, 19, 21}},
      {{0, 0, 80, 24}, 16, false, {2, 2, 60, 22}, {62, 0, 80, 24}, {62, 0, 78, 24}},
      // Narrower than its button: the edit area is empty, nothing breaks.
      {{0, 0, 10, 21}, 17, false, {2, 2, -11, 19}, {-9, 0, 10, 21}, {-9, 0, 8, 21}},
  };
  for (const TRow& r : rows) {
    const TComboClassicParts p = PlanClassicCombo(r.R, r.A, r.Left);
    EXPECT_EQ(p.EditArea, r.Edit) << r.R.Right << " " << r.Left;
    EXPECT_EQ(p.Button, r.Button) << r.R.Right << " " << r.Left;
    EXPECT_EQ(p.ArrowArea, r.Arrow) << r.R.Right << " " << r.Left;
    EXPECT_TRUE(p.EditArea.IsEmpty() || p.EditArea.Right <= p.Button.Left ||
                p.EditArea.Left >= p.Button.Right);
  }
}

TEST(ComboRules, CellsAreCentredTruncatingTowardZero) {
  struct TRow {
    TRect Area;
    TPoint Cell;
    TRect Want;
  };
  const TRow rows[] = {
      {{126, 0, 143, 21}, {8, 8}, {130, 6, 138, 14}},  // 4.5 and 6.5 truncated
      {{0, 0, 17, 21}, {17, 21}, {0, 0, 17, 21}},
      {{10, 0, 20, 10}, {13, 13}, {9, -1, 22, 12}},  // -1.5 truncated to -1
      {{0, 0, 16, 16}, {0, 0}, {8, 8, 8, 8}},
  };
  for (const TRow& r : rows)
    EXPECT_EQ(CentreCell(r.Area, r.Cell), r.Want) << r.Cell.X;
}

TEST(ComboRules, SingleButtonParts) {
  struct TRow {
    TPoint Cell;
    int Strip;
    bool Left;
    TRect StripRect, Button;
  };
  const TRow rows[] = {
      {{16, 16}, 17, false, {126, 2, 143, 19}, {127, 2, 143, 18}},  // cut to its height
      {{16, 30}, 17, false, {126, 2, 143, 19}, {127, 2, 143, 19}},  // taller: the strip's
      {{16, 16}, 17, true, {2, 2, 19, 19}, {2, 2, 18, 18}},
      {{400, 16}, 17, false, {126, 2, 143, 19}, {2, 2, 143, 18}},  // never past the edge
  };
  for (const TRow& r : rows) {
    const TComboSingleParts p = PlanSingleButtonCombo({0, 0, 145, 21}, r.Cell, r.Strip, r.Left);
    EXPECT_EQ(p.Outer, (TRect{0, 0, 145, 21}));
    EXPECT_EQ(p.Inner, (TRect{1, 1, 144, 20}));
    EXPECT_EQ(p.Strip, r.StripRect) << r.Cell.X << " " << r.Left;
    EXPECT_EQ(p.Button, r.Button) << r.Cell.X << " " << r.Left;
  }
}

TEST(ComboRules, FlatFramesOnlyAroundBorderedWindows) {
  struct TRow {
    TPoint Window, Client;
    size_t Edit, Picker, Print;
  };
  const TRow rows[] = {
      {{121, 21}, {117, 17}, 3, 2, 2},  // a client edge
      {{121, 21}, {119, 19}, 3, 2, 2},  // a one-pixel border
      {{121, 21}, {120, 20}, 3, 2, 0},  // less than 2 pixels: nothing printed
      {{121, 21}, {121, 21}, 0, 0, 0},  // no border at all
      {{121, 21}, {121, 17}, 0, 0, 0},  // the same width
      {{121, 21}, {117, 21}, 0, 0, 0},  // the same height
      {{3, 3}, {1, 1}, 0, 0, 0},        // too small for rings
      {{0, 0}, {0, 0}, 0, 0, 0},
  };
  for (const TRow& r : rows) {
    EXPECT_EQ(EditFrameRings(r.Window, r.Client).size(), r.Edit) << r.Client.X << "x" << r.Client.Y;
    EXPECT_EQ(PickerFrameRings(r.Window, r.Client).size(), r.Picker) << r.Client.X;
    EXPECT_EQ(PrintFrameRings(r.Window, r.Client).size(), r.Print) << r.Client.X;
  }
  const auto edit = EditFrameRings({121, 21}, {117, 17});
  ASSERT_EQ(edit.size(), 3u);
  EXPECT_EQ(edit[0].Rect, (TRect{0, 0, 121, 21}));
  EXPECT_EQ(edit[0].Ink, TFrameInk::Shadow);
  EXPECT_EQ(edit[1].Rect, (TRect{1, 1, 120, 20}));
  EXPECT_EQ(edit[1].Ink, TFrameInk::White);
  EXPECT_EQ(edit[2].Rect, (TRect{2, 2, 119, 19}));
  EXPECT_EQ(edit[2].Ink, TFrameInk::White);
  const auto picker = PickerFrameRings({130, 21}, {126, 17});
  ASSERT_EQ(picker.size(), 2u);
  EXPECT_EQ(picker[0].Ink, TFrameInk::Shadow);
  EXPECT_EQ(picker[1].Rect, (TRect{1, 1, 129, 20}));
  const auto print = PrintFrameRings({121, 21}, {117, 17});
  ASSERT_EQ(print.size(), 2u);
  EXPECT_EQ(print[0].Rect, (TRect{1, 1, 120, 20}));
  EXPECT_EQ(print[0].Ink, TFrameInk::ControlBrush);
  EXPECT_EQ(print[1].Ink, TFrameInk::Shadow);
}

TEST(ComboRules, PickerButtonPlace) {
  struct TRow {
    TPoint Picker;
    int Width;
    bool Left;
    TRect Want;
  };
  const TRow rows[] = {
      {{130, 21}, 17, false, {109, 0, 126, 17}},
      {{130, 21}, 17, true, {2, 0, 19, 17}},
      {{186, 25}, 16, false, {166, 0, 182, 21}},
      {{15, 21}, 17, false, {}},  // narrower than its button
      {{130, 4}, 17, false, {}},  // no height left
      {{130, 21}, 0, false, {}},
  };
  for (const TRow& r : rows)
    EXPECT_EQ(PickerButtonRect(r.Picker, r.Width, r.Left), r.Want) << r.Picker.X << " " << r.Left;
}

}  // namespace
