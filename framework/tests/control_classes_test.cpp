// The standard controls as the skinning engine sees them: class names,
// ancestor chains it tests with InheritsFrom, and the published properties it
// reads and writes by name (with their kinds and identifiers).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/grids.h"
#include "framework/stdctrls.h"
#include "test_support.h"

namespace {

using TFactory = std::function<TControl*(TComponent*)>;

template <class T>
TFactory Make() {
  return [](TComponent* owner) -> TControl* { return new T(owner); };
}

struct ClassCase {
  const char* name;
  TFactory make;
  // Ancestors a selection by class relies on (the class itself first).
  std::vector<const char*> is;
  // Classes it must not be taken for (an earlier row of the selection).
  std::vector<const char*> is_not;
  // "Name:Kind" with Kind one of I(nteger) E(numeration) B(oolean) S(tring) O(bject).
  std::vector<const char*> props;
};

TPropKind KindOf(char k) {
  switch (k) {
    case 'I':
      return TPropKind::Integer;
    case 'E':
      return TPropKind::Enumeration;
    case 'B':
      return TPropKind::Boolean;
    case 'S':
      return TPropKind::String;
    default:
      return TPropKind::Object;
  }
}

const std::vector<ClassCase>& Cases() {
  static const std::vector<ClassCase> cases = {
      {"TButton",
       Make<TButton>(),
       {"TButton", "TButtonControl", "TWinControl"},
       {"TCustomCheckBox", "TBitBtn"},
       {"Default:B", "Cancel:B", "ModalResult:I", "Caption:S", "Font:O", "Color:I", "Tag:I",
        "Visible:B", "Enabled:B", "ParentBackground:B", "BiDiMode:E", "Hint:S", "ShowHint:B"}},
      {"TBitBtn",
       Make<TBitBtn>(),
       {"TBitBtn", "TButton"},
       {"TCustomCheckBox"},
       {"Glyph:O", "NumGlyphs:I", "Layout:E", "Margin:I", "Spacing:I", "Kind:E", "Default:B"}},
      {"TSpeedButton",
       Make<TSpeedButton>(),
       {"TSpeedButton", "TGraphicControl"},
       {"TWinControl", "TButton"},
       {"Glyph:O", "NumGlyphs:I", "Down:B", "Flat:B", "GroupIndex:I", "AllowAllUp:B", "Layout:E",
        "Margin:I", "Spacing:I", "Caption:S", "Font:O", "Enabled:B"}},
      {"TCheckBox",
       Make<TCheckBox>(),
       {"TCheckBox", "TCustomCheckBox", "TButtonControl"},
       {"TButton", "TRadioButton"},
       {"State:E", "Checked:B", "AllowGrayed:B", "Alignment:E", "Caption:S"}},
      {"TRadioButton",
       Make<TRadioButton>(),
       {"TRadioButton", "TButtonControl"},
       {"TCustomCheckBox", "TButton"},
       {"Checked:B", "Alignment:E", "Caption:S"}},
      {"TGroupBox",
       Make<TGroupBox>(),
       {"TGroupBox", "TCustomGroupBox", "TCustomControl"},
       {"TCustomPanel", "TCustomRadioGroup"},
       {"Caption:S", "Color:I"}},
      {"TRadioGroup",
       Make<TRadioGroup>(),
       {"TRadioGroup", "TCustomRadioGroup", "TCustomGroupBox"},
       {"TCustomPanel"},
       {"Items:O", "ItemIndex:I", "Columns:I", "Caption:S"}},
      {"TCheckListBox",
       Make<TCheckListBox>(),
       {"TCheckListBox", "TCustomListBox"},
       {"TCustomCheckBox"},
       {"Items:O", "Columns:I", "ItemIndex:I"}},
      {"TLabel",
       Make<TLabel>(),
       {"TLabel", "TCustomLabel", "TGraphicControl"},
       {"TWinControl"},
       {"Transparent:B", "Alignment:E", "AutoSize:B", "WordWrap:B", "Caption:S"}},
      {"TStaticText",
       Make<TStaticText>(),
       {"TStaticText", "TWinControl"},
       {"TCustomEdit"},
       {"Alignment:E", "BorderStyle:E"}},
      {"TEdit",
       Make<TEdit>(),
       {"TEdit", "TCustomEdit"},
       {"TCustomMemo"},
       {"ReadOnly:B", "BorderStyle:E", "MaxLength:I", "Text:S"}},
      {"TMemo",
       Make<TMemo>(),
       {"TMemo", "TCustomMemo", "TCustomEdit"},
       {},
       {"Lines:O", "ScrollBars:E", "ReadOnly:B", "WordWrap:B"}},
      {"TSpinEdit",
       Make<TSpinEdit>(),
       {"TSpinEdit", "TCustomEdit"},
       {"TCustomUpDown"},
       {"Value:I", "MinValue:I", "MaxValue:I", "Increment:I"}},
      {"TComboBox",
       Make<TComboBox>(),
       {"TComboBox", "TCustomComboBox"},
       {"TCustomEdit"},
       {"Style:E", "Items:O", "ItemIndex:I", "Text:S"}},
      {"TListBox",
       Make<TListBox>(),
       {"TListBox", "TCustomListBox"},
       {},
       {"Items:O", "ItemIndex:I"}},
      {"TScrollBar",
       Make<TScrollBar>(),
       {"TScrollBar", "TWinControl"},
       {},
       {"Kind:E", "Min:I", "Max:I", "Position:I", "LargeChange:I", "SmallChange:I"}},
      {"TProgressBar",
       Make<TProgressBar>(),
       {"TProgressBar"},
       {},
       {"Min:I", "Max:I", "Position:I", "Orientation:E"}},
      {"TTrackBar",
       Make<TTrackBar>(),
       {"TTrackBar"},
       {},
       {"Min:I", "Max:I", "Position:I", "Orientation:E"}},
      {"TUpDown",
       Make<TUpDown>(),
       {"TUpDown", "TCustomUpDown"},
       {},
       {"Orientation:E", "Position:I", "Min:I", "Max:I"}},
      {"TPanel",
       Make<TPanel>(),
       {"TPanel", "TCustomPanel", "TCustomControl"},
       {"TCustomGroupBox", "TCustomForm"},
       {"Caption:S", "Color:I", "ParentBackground:B", "BevelOuter:E", "BevelInner:E", "Align:E",
        "BorderStyle:E"}},
      {"TScrollBox", Make<TScrollBox>(), {"TScrollBox", "TWinControl"}, {}, {"BorderStyle:E"}},
      {"TBevel", Make<TBevel>(), {"TBevel", "TGraphicControl"}, {}, {"Shape:E", "Style:E"}},
      {"TImage",
       Make<TImage>(),
       {"TImage", "TGraphicControl"},
       {},
       {"Picture:O", "AutoSize:B", "Stretch:B", "Transparent:B"}},
      {"TPaintBox", Make<TPaintBox>(), {"TPaintBox", "TGraphicControl"}, {}, {"Color:I"}},
      {"TNotebook",
       Make<TNotebook>(),
       {"TNotebook", "TCustomControl"},
       {"TCustomTabControl"},
       {"PageIndex:I", "ActivePage:S"}},
      {"TPageControl",
       Make<TPageControl>(),
       {"TPageControl", "TCustomTabControl"},
       {},
       {"Style:E", "ActivePage:O", "TabPosition:E", "ActivePageIndex:I"}},
      {"TTabControl",
       Make<TTabControl>(),
       {"TTabControl", "TCustomTabControl"},
       {"TPageControl"},
       {"Tabs:O", "TabIndex:I", "Style:E", "TabPosition:E"}},
      {"TTabSheet",
       Make<TTabSheet>(),
       {"TTabSheet", "TCustomControl"},
       {"TCustomTabControl"},
       {"PageControl:O", "PageIndex:I", "Caption:S"}},
      {"TToolBar",
       Make<TToolBar>(),
       {"TToolBar", "TWinControl"},
       {"TCustomPanel"},
       {"Flat:B", "ShowCaptions:B", "Images:O"}},
      {"TToolButton",
       Make<TToolButton>(),
       {"TToolButton", "TGraphicControl"},
       {"TButton", "TSpeedButton"},
       {"DropdownMenu:O", "MenuItem:O", "Grouped:B", "AllowAllUp:B", "Down:B", "Style:E",
        "ImageIndex:I", "Tag:I"}},
      {"TStatusBar",
       Make<TStatusBar>(),
       {"TStatusBar", "TCustomStatusBar"},
       {},
       {"SimplePanel:B", "SimpleText:S", "SizeGrip:B"}},
      {"THeaderControl", Make<THeaderControl>(), {"THeaderControl"}, {}, {"Align:E"}},
      {"TListView", Make<TListView>(), {"TListView"}, {}, {"ViewStyle:E", "RowSelect:B"}},
      {"TTreeView",
       Make<TTreeView>(),
       {"TTreeView", "TCustomTreeView"},
       {},
       {"Items:O", "Selected:O", "ReadOnly:B", "BorderStyle:E"}},
      {"TDateTimePicker",
       Make<TDateTimePicker>(),
       {"TDateTimePicker"},
       {"TCustomEdit"},
       {"Kind:E", "DateMode:E"}},
      {"TValueListEditor",
       Make<TValueListEditor>(),
       {"TValueListEditor", "TCustomDrawGrid", "TCustomGrid"},
       {},
       {"FixedColor:I", "BorderStyle:E", "Strings:O", "Row:I", "Col:I", "RowCount:I"}},
  };
  return cases;
}

TEST(ControlClasses, NamesChainsAndPublishedProperties) {
  TOwned<TForm1> form(new TForm1(nullptr));
  for (const ClassCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    TControl* control = c.make(form.get());
    EXPECT_EQ(control->ClassName(), c.name);
    // The registry finds the class by name once it has been used.
    const TClassInfo* info = FindClassInfo(c.name);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info, &control->ClassInfo());
    for (const char* ancestor : c.is) {
      EXPECT_TRUE(control->InheritsFrom(ancestor)) << "is a " << ancestor;
      // Selection compares upper-case names.
      std::string upper(ancestor);
      for (char& ch : upper)
        ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
      EXPECT_TRUE(control->InheritsFrom(upper)) << upper;
    }
    for (const char* other : c.is_not)
      EXPECT_FALSE(control->InheritsFrom(other)) << "not a " << other;
    EXPECT_TRUE(control->InheritsFrom("TControl"));
    for (const char* entry : c.props) {
      std::string s(entry);
      std::string name = s.substr(0, s.find(':'));
      const TPropInfo* p = GetPropInfo(control, name);
      ASSERT_NE(p, nullptr) << name;
      EXPECT_EQ(p->Kind, KindOf(s.back())) << name;
      // Reading any property as text works on a control without a window.
      (void)GetPropText(*control, *p);
    }
    EXPECT_EQ(GetPropInfo(control, "NoSuchProperty"), nullptr);
  }
}

TEST(ControlClasses, RadioGroupsAreRecognisedByTheirLowerCaseName) {
  TOwned<TForm1> form(new TForm1(nullptr));
  auto* group = new TRadioGroup(form.get());
  std::string lower = group->ClassName();
  for (char& ch : lower)
    ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
  EXPECT_NE(lower.find("radiogroup"), std::string::npos);
  group->SetParent(form.get());
  group->Items()->Add("a");
  group->Items()->Add("b");
  // Its buttons are child controls (the engine walks them).
  ASSERT_EQ(group->ControlCount(), 2);
  EXPECT_TRUE(group->Controls(0)->InheritsFrom("TRadioButton"));
  group->Items()->Delete(0);
  EXPECT_EQ(group->ControlCount(), 1);
  EXPECT_EQ(group->Buttons(0)->Caption(), "b");
}

// Writes through the property registry reach the control, with its rules.
TEST(ControlClasses, WritesByNameFollowTheControlsRules) {
  struct Case {
    TFactory make;
    const char* set_name;
    const char* set_text;
    const char* read_name;
    const char* expected;  // as GetPropText gives it
  } cases[] = {
      {Make<TCheckBox>(), "Checked", "True", "State", "cbChecked"},
      {Make<TCheckBox>(), "State", "cbGrayed", "State", "cbChecked"},  // not AllowGrayed
      {Make<TCheckBox>(), "State", "cbUnchecked", "Checked", "False"},
      {Make<TBitBtn>(), "Kind", "bkOK", "Caption", "OK"},
      {Make<TBitBtn>(), "Kind", "bkCancel", "ModalResult", "2"},
      {Make<TBitBtn>(), "Layout", "blGlyphTop", "Layout", "blGlyphTop"},
      {Make<TButton>(), "Default", "True", "Default", "True"},
      {Make<TScrollBar>(), "Position", "150", "Position", "100"},  // clamped to Max
      {Make<TScrollBar>(), "Kind", "sbVertical", "Kind", "sbVertical"},
      {Make<TProgressBar>(), "Position", "-5", "Position", "0"},
      {Make<TSpeedButton>(), "Down", "True", "Down", "False"},  // GroupIndex 0
      {Make<TToolBar>(), "Flat", "True", "Flat", "True"},
      {Make<TSpinEdit>(), "Value", "500", "Value", "100"},  // MaxValue
      {Make<TPanel>(), "Caption", "Hello", "Text", "Hello"},
      {Make<TUpDown>(), "Orientation", "udHorizontal", "Orientation", "udHorizontal"},
      {Make<TPageControl>(), "Style", "tsFlatButtons", "Style", "tsFlatButtons"},
  };
  TOwned<TForm1> form(new TForm1(nullptr));
  for (const Case& c : cases) {
    TControl* control = c.make(form.get());
    SCOPED_TRACE(control->ClassName() + "." + c.set_name + "=" + c.set_text);
    ASSERT_TRUE(SetPropFromText(control, c.set_name, c.set_text));
    const TPropInfo* p = GetPropInfo(control, c.read_name);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(GetPropText(*control, *p), c.expected);
  }
  // Identifiers that do not belong to the enumeration change nothing.
  auto* box = new TCheckBox(form.get());
  EXPECT_FALSE(SetPropFromText(box, "State", "cbMaybe"));
  EXPECT_EQ(GetEnumPropByName(box, "State"), "cbUnchecked");
}

TEST(ControlClasses, SpeedButtonGroupsKeepOneDown) {
  TOwned<TForm1> form(new TForm1(nullptr));
  TSpeedButton* b[3];
  for (auto*& x : b) {
    x = new TSpeedButton(form.get());
    x->SetGroupIndex(1);
    x->SetParent(form.get());
  }
  b[0]->SetDown(true);
  b[1]->Click();
  EXPECT_FALSE(b[0]->Down());
  EXPECT_TRUE(b[1]->Down());
  b[1]->Click();  // the last down button of a group stays down
  EXPECT_TRUE(b[1]->Down());
  for (auto* x : b)
    x->SetAllowAllUp(true);
  b[1]->Click();
  EXPECT_FALSE(b[1]->Down());
}

TEST(ControlClasses, TreeNodesKeepTheirShapeWithoutAndWithAWindow) {
  TOwned<TForm1> form(new TForm1(nullptr));
  auto* tree = new TTreeView(form.get());
  tree->SetParent(form.get());
  TTreeNodes* items = tree->Items();
  TTreeNode* a = items->AddChild(nullptr, "a");
  TTreeNode* a1 = items->AddChild(a, "a1");
  TTreeNode* b = items->Add(a, "b");
  items->AddChild(a1, "a1x");
  EXPECT_EQ(items->Count(), 4);
  EXPECT_EQ(items->Item(2)->Text(), "a1x");  // parents before children, in order
  EXPECT_EQ(b->Parent(), nullptr);
  EXPECT_EQ(a1->Level(), 1);
  // The window gets every node, and the view finds nodes by its items.
  tree->HandleNeeded();
  tree->SetSelected(a1);
  EXPECT_EQ(tree->Selected(), a1);
  std::vector<TTreeNode*> changes;
  tree->OnChange = [&](TObject*, TTreeNode* n) { changes.push_back(n); };
  // Deleting the selected subtree reports the new selection, never a dead node.
  a->Delete();
  EXPECT_EQ(items->Count(), 1);
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back(), tree->Selected());
  EXPECT_EQ(tree->Selected(), b);
  // Re-creating the window keeps the nodes.
  tree->RecreateWnd();
  tree->HandleNeeded();
  tree->SetSelected(b);
  EXPECT_EQ(tree->Selected(), b);
  items->Clear();
  EXPECT_EQ(items->Count(), 0);
  EXPECT_EQ(tree->Selected(), nullptr);
}

TEST(ControlClasses, ValueListRowsAndWindowText) {
  TOwned<TForm1> form(new TForm1(nullptr));
  auto* grid = new TValueListEditor(form.get());
  grid->SetParent(form.get());
  EXPECT_EQ(grid->InsertRow("Top", "4"), 1);
  EXPECT_EQ(grid->InsertRow("Colour", "1 2 3"), 2);
  grid->Strings()->Add("NoValue");
  EXPECT_EQ(grid->RowCount(), 4);
  EXPECT_EQ(grid->Cells(0, 0), "Key");
  EXPECT_EQ(grid->Cells(1, 2), "1 2 3");
  EXPECT_EQ(grid->Keys(3), "NoValue");
  EXPECT_EQ(grid->Values(3), "");
  EXPECT_EQ(grid->Values(9), "");
  grid->SetCells(1, 1, "8");
  EXPECT_EQ(grid->Strings()->Strings(0), "Top=8");
  EXPECT_THROW(grid->ItemProps(4), std::out_of_range);
  // Read from outside as text, one line per row.
  char text[256] = {};
  GetWindowTextA(grid->Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Top=8\r\nColour=1 2 3\r\nNoValue=\r\n");
  EXPECT_EQ(GetWindowTextLengthA(grid->Handle()), static_cast<int>(strlen(text)));
  char small[5] = {};
  EXPECT_EQ(GetWindowTextA(grid->Handle(), small, sizeof small), 4);
  EXPECT_STREQ(small, "Top=");
  grid->DeleteRow(1);
  EXPECT_EQ(grid->Keys(1), "Colour");
  grid->Clear();
  EXPECT_EQ(grid->RowCount(), 1);
}

}  // namespace

namespace {

struct WindowCount {
  std::vector<TControl*> controls;
  std::vector<int> n;
};

BOOL CALLBACK CountWindows(HWND c, LPARAM l) {
  auto* k = reinterpret_cast<WindowCount*>(l);
  for (size_t i = 0; i < k->controls.size(); ++i) {
    if (FindControl(c) == k->controls[i]) ++k->n[i];
  }
  return TRUE;
}

// Asking a nested control for its window first makes the parents' windows,
// which make their children's: the control must still end up with one window.
TEST(ControlClasses, AControlAskedFirstGetsExactlyOneWindow) {
  TOwned<TForm1> form(new TForm1(nullptr));
  auto* pages = new TPageControl(form.get());
  pages->SetParent(form.get());
  TTabSheet* sheet = pages->AddSheet("One");
  auto* edit = new TEdit(form.get());
  edit->SetParent(sheet);
  HWND h = edit->Handle();
  ASSERT_NE(h, nullptr);
  // Every window under the form that belongs to each control.
  WindowCount count{{edit, sheet, pages}, {0, 0, 0}};
  EnumChildWindows(form->Handle(), CountWindows, reinterpret_cast<LPARAM>(&count));
  EXPECT_EQ(count.n, (std::vector<int>{1, 1, 1}));
  EXPECT_EQ(GetParent(h), sheet->Handle());
}

}  // namespace
