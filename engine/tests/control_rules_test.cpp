#include "engine/control_rules.h"

#include <gtest/gtest.h>

namespace {

using K = TSkinnerKind;
using A = TSelectAction;

TSkinControlTypes AllBut(std::initializer_list<TSkinControlType> off) {
  TSkinControlTypes g = TSkinControlTypes::All();
  for (TSkinControlType t : off)
    g.Exclude(t);
  return g;
}

// What the framework's own classes are, trait by trait.
constexpr uint32_t kButton = ctButton;
constexpr uint32_t kBitBtn = ctButton | ctBitBtn;
constexpr uint32_t kMemo = ctEdit | ctMemo | ctHasScrollBars;
constexpr uint32_t kRadioGroup = ctGroupBox | ctRadioGroup;
constexpr uint32_t kPage = ctTabControl | ctPageControl | ctHasTabsElement;

TEST(ControlRules, FrameworkClassTableFirstMatchWithGateOn) {
  struct Case {
    const char* name;
    uint32_t traits;
    TSkinControlTypes gates;
    K kind;
    A action;
    int mode;
  } cases[] = {
      {"TBUTTON", kButton, TSkinControlTypes::All(), K::Button, A::Attach, -1},
      {"TBUTTON", kButton, AllBut({xcButton}), K::None, A::Nothing, -1},
      {"TBITBTN", kBitBtn, TSkinControlTypes::All(), K::BitButton, A::Attach, -1},
      // A bit button with its gate off stays native even though it is a button.
      {"TBITBTN", kBitBtn, AllBut({xcBitBtn}), K::None, A::Nothing, -1},
      {"TSPEEDBUTTON", ctSpeedButton, TSkinControlTypes::All(), K::SpeedButton, A::Attach, -1},
      {"TTABCONTROL", ctTabControl | ctHasTabsElement, TSkinControlTypes::All(), K::Tab, A::Attach,
       2},
      {"TPAGECONTROL", kPage, TSkinControlTypes::All(), K::Tab, A::Attach, -1},
      {"TPAGECONTROL", kPage | ctButtonTabs, TSkinControlTypes::All(), K::TabBtn, A::Attach, -1},
      // Without the skin's Tabs element tab controls stay native.
      {"TPAGECONTROL", ctTabControl | ctPageControl, TSkinControlTypes::All(), K::None, A::Nothing,
       -1},
      {"TRADIOGROUP", kRadioGroup, TSkinControlTypes::All(), K::GroupBox, A::RadioGroup, -1},
      // A radio group without the radio gate is still a group box.
      {"TRADIOGROUP", kRadioGroup, AllBut({xcRadioButton}), K::GroupBox, A::ChildrenThenAttach, -1},
      {"TMEMO", kMemo, TSkinControlTypes::All(), K::Scrollbar, A::Attach, -1},
      // A memo without scroll-bar skinning is still an edit.
      {"TMEMO", kMemo, AllBut({xcScrollbar}), K::Edit, A::Attach, -1},
      {"TPANEL", ctPanel, TSkinControlTypes::All(), K::Box, A::ChildrenThenAttach, -1},
      {"TTOOLBAR", ctToolBar, TSkinControlTypes::All(), K::Box, A::ToolBar, -1},
      {"TTOOLBUTTON", ctToolButton, TSkinControlTypes::All(), K::None, A::ToolButtonMenu, -1},
      {"TTRACKBAR", ctTrackBar, TSkinControlTypes::All(), K::TrackBar, A::Attach, -1},
      {"TUPDOWN", 0, TSkinControlTypes::All(), K::UpDown, A::Attach, -1},
      {"TDATETIMEPICKER", ctDateTimePicker, TSkinControlTypes::All(), K::DateTime, A::Attach, -1},
      {"TDATETIMEPICKER", ctDateTimePicker | ctUpDownDate, TSkinControlTypes::All(), K::Edit,
       A::Attach, -1},
      {"TRZCHECKBOX", 0, TSkinControlTypes::All(), K::ObjImage, A::Attach, -1},
      {"TLISTBOX", ctHasScrollBars, TSkinControlTypes::All(), K::Scrollbar, A::Attach, -1},
      {"TLABEL", 0, TSkinControlTypes::All(), K::None, A::Nothing, -1},
      {"TFORM", ctForm, TSkinControlTypes::All(), K::Box, A::AttachThenComponents, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.gates.Bits()));
    const TSkinnerChoice r = ChooseFrameworkSkinner({c.name, c.traits, -1}, c.gates);
    EXPECT_EQ(r.Kind, c.kind) << SkinnerKindName(r.Kind);
    EXPECT_EQ(r.Action, c.action);
    EXPECT_EQ(r.Mode, c.mode);
  }
}

TEST(ControlRules, OwnColourAndObjectKinds) {
  const auto all = TSkinControlTypes::All();
  EXPECT_TRUE(ChooseFrameworkSkinner({"TPANEL", ctPanel, -1}, all).OwnColor);
  EXPECT_FALSE(ChooseFrameworkSkinner({"TBUTTON", kButton, -1}, all).OwnColor);
  EXPECT_EQ(ChooseFrameworkSkinner({"TRZRADIOBUTTON", 0, -1}, all).ObjKind, 2);
  EXPECT_EQ(ChooseFrameworkSkinner({"TCXCHECKBOX", 0, -1}, all).ObjKind, 3);
  // The NumButtons rows apply to their two classes only.
  EXPECT_EQ(ChooseFrameworkSkinner({"TDCEDIT", 0, 1}, all).Kind, K::ComboBox);
  const TSkinnerChoice plain = ChooseFrameworkSkinner({"TDCDBEDIT", 0, 0}, all);
  EXPECT_EQ(plain.Kind, K::Edit);
  EXPECT_EQ(plain.Action, A::AttachWindow);
  EXPECT_EQ(ChooseFrameworkSkinner({"TOTHER", 0, 1}, all).Kind, K::None);
  EXPECT_TRUE(IsExcludedClass("TFRPBOX"));
  EXPECT_FALSE(IsExcludedClass("TFRPBOXES"));
}

TEST(ControlRules, KeywordLookupNeedsTheWholeClassName) {
  const std::vector<std::string> lines = {"TMyButtonEx=nil", "TMYBUTTON=Button",
                                          "TLong=" + std::string(80, 'x')};
  EXPECT_EQ(FindSkinKeyword(lines, "tmybutton").Keyword, "button");
  EXPECT_TRUE(FindSkinKeyword(lines, "TMyButtonEx").Found);
  EXPECT_EQ(FindSkinKeyword(lines, "TMyButtonEx").Keyword, "nil");
  // A line for a longer class name does not match its prefix.
  EXPECT_FALSE(FindSkinKeyword({"TMyButtonEx=nil"}, "TMyButton").Found);
  EXPECT_FALSE(FindSkinKeyword(lines, "TMy").Found);
  EXPECT_EQ(FindSkinKeyword(lines, "TLong").Keyword.size(), 50u);
}

TEST(ControlRules, KeywordTableAndGates) {
  struct Case {
    const char* keyword;
    const char* lower_class;
    const char* kind;
    TSkinControlTypes gates;
    K result;
    A action;
  } cases[] = {
      {"nil", "tx", "", TSkinControlTypes::All(), K::None, A::Nothing},
      {"button", "tx", "", TSkinControlTypes::All(), K::Button, A::Attach},
      {"button", "tx", "", AllBut({xcButton}), K::None, A::Nothing},
      // The trackbar keyword is gated by the button member.
      {"trackbar", "tx", "", AllBut({xcTrackBar}), K::TrackBar, A::Attach},
      {"trackbar", "tx", "", AllBut({xcButton}), K::None, A::Nothing},
      {"bitbtn", "tcxbutton", "cxbkDropDownButton", TSkinControlTypes::All(), K::MenuButton,
       A::Attach},
      {"bitbtn", "tcxbutton", "cxbkStandard", TSkinControlTypes::All(), K::BitButton, A::Attach},
      {"bitbtn", "tother", "cxbkDropDownButton", TSkinControlTypes::All(), K::BitButton, A::Attach},
      {"scrollbar", "tx", "", TSkinControlTypes::All(), K::Scrollbar, A::AttachThenChildren},
      {"container", "tx", "", TSkinControlTypes(), K::None, A::ChildrenOnly},
      {"radiogroup", "tx", "", TSkinControlTypes::All(), K::GroupBox, A::RadioGroup},
      {"unknown", "tx", "", TSkinControlTypes::All(), K::None, A::Nothing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keyword);
    const TSkinnerChoice r = ChooseKeywordSkinner(c.keyword, c.lower_class, c.kind, c.gates);
    EXPECT_EQ(r.Kind, c.result) << SkinnerKindName(r.Kind);
    EXPECT_EQ(r.Action, c.action);
  }
  EXPECT_STREQ(ChooseKeywordSkinner("pngbitbtn", "t", "", TSkinControlTypes::All()).GlyphProperty,
               "PngImage");
  EXPECT_TRUE(ChooseKeywordSkinner("edit", "t", "", TSkinControlTypes::All()).NeedsBorder);
  EXPECT_EQ(ChooseKeywordSkinner("singlescrollbar", "t", "", TSkinControlTypes::All()).Mode, 1);
}

TEST(ControlRules, ButtonStylesByTheTypeNibble) {
  struct Case {
    uint32_t style;
    TButtonType type;
  } cases[] = {
      {0x0, TButtonType::Push},
      {0x1, TButtonType::Push},
      {0x8, TButtonType::Push},
      {0x2, TButtonType::Check},
      {0x3, TButtonType::Check},
      {0x5, TButtonType::Check},
      {0x6, TButtonType::Check},
      {0x4, TButtonType::Radio},
      {0x9, TButtonType::Radio},
      {0x7, TButtonType::GroupBox},
      {0xB, TButtonType::OwnerDraw},
      // Split buttons and command links are neither check boxes nor radios.
      {0xC, TButtonType::Native},
      {0xD, TButtonType::Native},
      {0xE, TButtonType::Native},
      {0xF, TButtonType::Native},
      {0xA, TButtonType::Native},
      // Higher style bits do not change the type.
      {0x50010000 | 0x3, TButtonType::Check},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ClassifyButtonStyle(c.style), c.type) << std::hex << c.style;
}

TEST(ControlRules, NativeWindowTable) {
  const auto all = TSkinControlTypes::All();
  struct Case {
    const char* cls;
    uint32_t style;
    bool child;
    TSkinControlTypes gates;
    K kind;
    A action;
  } cases[] = {
      {"button", 0x50010000, false, all, K::Button, A::Attach},
      {"button", 0x3, false, all, K::CheckBox, A::Attach},
      {"button", 0x9, false, all, K::RadioButton, A::Attach},
      {"button", 0xE, false, all, K::None, A::Nothing},   // command link
      {"button", 0x80, false, all, K::None, A::Nothing},  // bitmap
      {"button", 0x40, false, all, K::None, A::Nothing},  // icon
      {"button", 0x3, false, AllBut({xcCheckBox}), K::None, A::Nothing},
      {"button", 0x7, false, all, K::GroupBox, A::Attach},
      {"button", 0x7, false, AllBut({xcGroupBox}), K::None, A::Nothing},
      {"combobox", 0x2, false, all, K::ComboBox, A::Attach},
      {"combobox", 0x1, false, all, K::None, A::Nothing},  // simple combo
      {"comboboxex32", 0, true, all, K::ComboBox, A::AttachFirstChild},
      {"comboboxex32", 0, false, all, K::None, A::Nothing},
      {"scrollbar", 0x0, false, all, K::ScControl, A::Attach},  // a scroll-bar control
      {"scrollbar", 0x1, false, AllBut({xcScrollbar}), K::None, A::Nothing},
      {"scrollbar", 0x10, false, all, K::Sizer, A::Attach},
      {"scrollbar", 0x08, false, all, K::Sizer, A::Attach},
      {"#32770", 0x40000000, false, all, K::BoxH, A::ChildrenThenAttach},
      {"#32770", 0x10000, false, all, K::None, A::Nothing},
      {"tpanel", 0, false, TSkinControlTypes(), K::None, A::ChildrenRecolour},
      {"systabcontrol32", 0, false, all, K::Tab, A::Attach},
      {"systabcontrol32", 0x2000, false, all, K::None, A::Nothing},
      {"edit", 0, false, all, K::Edit, A::Attach},
      {"edit", 0, false, AllBut({xcEdit}), K::None, A::Nothing},
      {"systreeview32", 0x200000, false, all, K::None, A::Nothing},
      {"static", 0, false, all, K::None, A::Nothing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.cls) + " " + std::to_string(c.style));
    const TSkinnerChoice r = ChooseNativeSkinner(c.cls, c.style, c.child, c.gates);
    EXPECT_EQ(r.Kind, c.kind) << SkinnerKindName(r.Kind);
    EXPECT_EQ(r.Action, c.action);
  }
}

TEST(ControlRules, ButtonFramesByState) {
  struct Case {
    TButtonState s;
    int push, menu;
  } cases[] = {
      {{}, 1, 1},
      {{.Pressed = true}, 2, 2},
      {{.Hot = true}, 4, 4},
      {{.Focused = true}, 5, 4},
      {{.Default = true}, 5, 1},
      {{.Hot = true, .Pressed = true}, 2, 2},
      {{.Hot = true, .Focused = true}, 4, 4},
      // Disabled wins over everything, also while hot.
      {{.Hot = true, .Pressed = true, .Disabled = true}, 3, 3},
      {{.Default = true, .Disabled = true}, 3, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PushButtonFrame(c.s), c.push);
    EXPECT_EQ(MenuButtonFrame(c.s), c.menu);
  }
  EXPECT_EQ(BitButtonCell(kButtonPressed), 3);
  EXPECT_EQ(BitButtonCell(kButtonDisabled), 2);
  EXPECT_EQ(BitButtonCell(kButtonHot), 1);
}

TEST(ControlRules, SpeedButtonLooks) {
  struct Case {
    bool hot, pressed, enabled, down, flat;
    int frame, cell;
    bool face;
  } cases[] = {
      {false, false, true, false, false, 1, 1, true},
      {false, false, true, false, true, 1, 1, false},  // flat: no face until hot
      {true, false, true, false, true, 4, 1, true},
      {false, true, true, false, true, 2, 3, true},
      {false, false, true, true, true, 2, 4, true},  // down: frame 2, cell 4
      {true, false, false, false, false, 3, 2, true},
      {true, false, false, false, true, 3, 2, false},
  };
  for (const Case& c : cases) {
    const TSpeedButtonLook l = SpeedButtonLook(c.hot, c.pressed, c.enabled, c.down, c.flat);
    EXPECT_EQ(l.Frame, c.frame);
    EXPECT_EQ(l.Cell, c.cell);
    EXPECT_EQ(l.DrawFace, c.face);
  }
}

TEST(ControlRules, GlyphCellsAreClampedIntoTheStrip) {
  struct Case {
    int num, state, index;
  } cases[] = {{1, 1, 0}, {2, 2, 1}, {2, 3, 0}, {4, 4, 3}, {0, 2, 0}, {-5, 3, 0}, {3, 0, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(GlyphCellIndex(c.num, c.state), c.index) << c.num << " " << c.state;
  EXPECT_EQ(GlyphCellWidth(32, 2), 16);
  EXPECT_EQ(GlyphCellWidth(32, 0), 32);
  EXPECT_EQ(GlyphCellWidth(3, 10), 1);
  EXPECT_EQ(GlyphCellWidth(0, 2), 0);
}

TEST(ControlRules, GlyphAndCaptionPlacement) {
  const TPoint client{90, 28};
  struct Case {
    TPoint glyph, text;
    TGlyphLayout layout;
    int margin, spacing;
    bool centred, speed;
    TPoint g, t;
    unsigned flags;
  } cases[] = {
      // Centred with a given spacing: (90 - (16 + 4 + 20)) / 2 = 25.
      {{16, 16}, {20, 13}, glGlyphLeft, -1, 4, false, false, {25, 6}, {45, 8}, kTextWordBreak},
      {{16, 16}, {20, 13}, glGlyphLeft, -1, 4, false, true, {26, 6}, {46, 8}, kTextWordBreak},
      // No caption: no spacing either, so the glyph alone sits in the middle.
      {{16, 16}, {0, 0}, glGlyphLeft, -1, -1, false, false, {37, 6}, {53, 14}, kTextWordBreak},
      // Caption and glyph with margin and spacing -1: thirds of the free space.
      {{16, 16}, {20, 13}, glGlyphLeft, -1, -1, false, false, {18, 6}, {52, 8}, kTextWordBreak},
      {{16, 16}, {20, 13}, glGlyphLeft, 5, -1, false, false, {5, 6}, {45, 8}, kTextWordBreak},
      {{16, 16},
       {20, 13},
       glGlyphRight,
       5,
       4,
       false,
       false,
       {69, 6},
       {45, 8},
       kTextWordBreak | kTextRight},
      {{16, 16},
       {20, 13},
       glGlyphTop,
       2,
       1,
       false,
       false,
       {37, 2},
       {35, 19},
       kTextWordBreak | kTextCenter},
      {{16, 16},
       {20, 13},
       glGlyphBottom,
       2,
       1,
       false,
       false,
       {37, 10},
       {35, -4},
       kTextWordBreak | kTextCenter},
      // A centred alignment overrides a given margin.
      {{16, 16}, {20, 13}, glGlyphLeft, 5, 4, true, false, {25, 6}, {45, 8}, kTextWordBreak},
  };
  for (const Case& c : cases) {
    const TGlyphCaptionPlace p = PlaceGlyphAndCaption(client, c.glyph, c.text, c.layout, c.margin,
                                                      c.spacing, c.centred, c.speed);
    EXPECT_EQ(p.Glyph, c.g) << c.layout << " " << p.Glyph.X << "," << p.Glyph.Y;
    EXPECT_EQ(p.Text, c.t) << c.layout << " " << p.Text.X << "," << p.Text.Y;
    EXPECT_EQ(p.Flags, c.flags);
  }
  EXPECT_EQ(CaptionMeasureRect({0, 0, 90, 28}, glGlyphLeft, {16, 16}), (TRect{2, 2, 70, 26}));
  EXPECT_EQ(CaptionMeasureRect({0, 0, 90, 28}, glGlyphTop, {16, 16}), (TRect{2, 2, 88, 8}));
  EXPECT_EQ(GlyphLayoutFromName("BLGLYPHTOP"), glGlyphTop);
  EXPECT_EQ(GlyphLayoutFromName("sideways"), glGlyphLeft);
}

TEST(ControlRules, CaptionsBreaksAndFocus) {
  EXPECT_EQ(BreakAtFirstBars(L"One||Two||Three"), L"One\r\nTwo||Three");
  EXPECT_EQ(BreakAtFirstBars(L"|x|"), L"|x|");
  EXPECT_EQ(PlaceCaption({0, 0, 80, 24}, {30, 13}, true), (TRect{25, 4, 55, 17}));
  EXPECT_EQ(PlaceCaption({2, 2, 78, 22}, {30, 13}, false), (TRect{2, 4, 78, 17}));
  // Odd differences truncate toward zero, also when the text is larger.
  EXPECT_EQ(PlaceCaption({0, 0, 20, 10}, {41, 13}, true), (TRect{-10, -2, 31, 11}));
  // The focus rectangle never leaves the caption rectangle.
  const TRect r{2, 2, 78, 22};
  for (TPoint size : {TPoint{30, 13}, TPoint{300, 60}, TPoint{0, 0}}) {
    for (unsigned flags : {0u, kTextCenter, kTextRight}) {
      const TRect f = CaptionFocusRect(r, size, flags);
      EXPECT_GE(f.Left, r.Left);
      EXPECT_GE(f.Top, r.Top);
      EXPECT_LE(f.Right, r.Right);
      EXPECT_LE(f.Bottom, r.Bottom);
    }
  }
  EXPECT_EQ(CaptionFocusRect(r, {30, 13}, kTextCenter), (TRect{23, 3, 57, 18}));
}

TEST(ControlRules, MenuButtonAndMouseRules) {
  const TMenuButtonPlace p = PlaceMenuButton({100, 25}, {40, 13});
  EXPECT_EQ(p.TextRect, (TRect{2, 2, 81, 23}));
  EXPECT_EQ(p.Text, (TPoint{23, 6}));
  EXPECT_EQ(p.Arrow[0], (TPoint{88, 14}));
  EXPECT_EQ(p.Arrow[1], (TPoint{85, 11}));
  EXPECT_EQ(p.Arrow[2], (TPoint{91, 11}));
  EXPECT_TRUE(TransparentButton(kTransparentTag, {}));
  EXPECT_TRUE(TransparentButton(0, {xoTransparent}));
  EXPECT_FALSE(TransparentButton(0, {xoNoFocusRect}));
  EXPECT_EQ(ButtonMouseMode("trzbutton"), 1);
  EXPECT_EQ(ButtonMouseMode("telpopupbutton"), 1);
  EXPECT_EQ(ButtonMouseMode("tbutton"), 0);
  // Negative coordinates survive; a huge control reports the cursor.
  EXPECT_EQ(MouseDownPosition(100, 20, 0xFFFE0005u, {1, 1}), (TPoint{5, -2}));
  EXPECT_EQ(MouseDownPosition(40000, 20, 0x00050005u, {39000, 7}), (TPoint{39000, 7}));
}

TEST(ControlRules, ButtonTextColours) {
  const TButtonTextColours all{true, true, true, 0x111111, 0x222222, 0x333333};
  const TButtonTextColours normal_only{true, false, false, 0x111111, 0, 0};
  const TButtonTextColours none{};
  struct Case {
    const TButtonTextColours* skin;
    int frame;
    bool everywhere;
    TColor want;
  } cases[] = {
      {&all, kButtonNormal, false, 0x111111},
      {&all, kButtonHot, false, 0x222222},
      {&all, kButtonPressed, true, 0x333333},
      {&all, kButtonFocused, false, 0xABCDEF},
      {&all, kButtonFocused, true, 0x111111},
      // An undefined hot colour leaves the normal one where it applies.
      {&normal_only, kButtonHot, true, 0x111111},
      {&normal_only, kButtonHot, false, 0xABCDEF},
      {&none, kButtonPressed, true, 0xABCDEF},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ButtonTextColour(*c.skin, c.frame, c.everywhere, 0xABCDEF), c.want)
        << c.frame << " " << c.everywhere;
}

}  // namespace
