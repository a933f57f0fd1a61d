#include "editor/title_buttons.h"

#include <gtest/gtest.h>

#include "editor/element_editor.h"
#include "editor/element_tree.h"
#include "test_files.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) {
  return {s.begin(), s.end()};
}

class TitleButtonCommands : public ::testing::Test {
 protected:
  void Open(const std::string& text) {
    schema.Load(SchemaResourceText());
    skin.SetText(text);
    BuildElementTree(skin, schema);
  }
  TEditorSchema schema;
  TMemIniFile skin;
  TSkinFileList list;
};

TEST_F(TitleButtonCommands, AddTakesTheFirstFreeNumber) {
  std::string text = "[Skins]\nVersion=150\n";
  for (int n : {0, 1, 2, 3, 4, 5, 6, 9})
    text += "[BUTTON" + std::to_string(n) + "]\nAction=" + std::to_string(n % 5) + "\n";
  Open(text + "[Button8]\n[Buttons]\nBitmap=b.bmp\n");
  TAddedElement first = AddTitleButton(skin, schema);
  EXPECT_EQ(first.Section, "Button7");
  EXPECT_EQ(first.Caption, "Button7");
  // A header without keys counts as free.
  TAddedElement second = AddTitleButton(skin, schema);
  EXPECT_EQ(second.Section, "Button8");

  std::vector<std::string> keys;
  skin.ReadSection("Button7", keys);
  EXPECT_EQ(keys, (std::vector<std::string>{"ButtonImage", "XCoord", "YCoord", "Align", "Action",
                                            "Visibility"}));
  EXPECT_TRUE(skin.ValueExists("Button7", "ButtonImage"));
  EXPECT_EQ(skin.ReadString("Button7", "Action", ""), "-6");
  EXPECT_EQ(skin.ReadString("Button7", "XCoord", ""), "1");
  EXPECT_NE(skin.GetText().find("[Button7]\r\nButtonImage=\r\nXCoord=1\r\nYCoord=1\r\nAlign=0\r\n"
                                "Action=-6\r\nVisibility=0\r\n"),
            std::string::npos)
      << skin.GetText();
  std::vector<std::string> sections;
  skin.ReadSections(sections);
  EXPECT_EQ(sections.back(), "Button7");  // new sections go at the end
  EXPECT_EQ(skin.ReadInteger("Personality", "BUTTONCOUNT", -99), -99);

  // The new node loads as a title button.
  TElementEditor element;
  element.Load(first.Caption, schema, &skin);
  ASSERT_EQ(element.RowCount(), 8);
  EXPECT_EQ(element.SkinSection(), "Button7");
  EXPECT_EQ(element.Row(1)->Label, "Button BMP");
  EXPECT_EQ(element.Row(5)->Value, "-6");
}

TEST_F(TitleButtonCommands, AddNeverTakesAnotherElementsCaption) {
  Open("[Skins]\nVersion=150\n");
  schema.AddElement("Button0", "Elsewhere", "Control");
  TAddedElement added = AddTitleButton(skin, schema);
  EXPECT_EQ(added.Section, "Button0");
  EXPECT_EQ(added.Caption, "Button0 (2)");
  EXPECT_EQ(schema.SkinSection("Button0"), "Elsewhere");
  EXPECT_EQ(schema.SkinSection("Button0 (2)"), "Button0");
}

TEST_F(TitleButtonCommands, DeleteErasesSectionSchemaAndItsOwnImage) {
  Open(
      "[Skins]\nVersion=150\n"
      "[BUTTON0]\nAction=0\nButtonImage=close.bmp\n"
      "[BUTTON1]\nAction=1\nButtonImage=max.bmp\n"
      "[BUTTON2]\nAction=2\nButtonImage=MAX.bmp\n"
      "[BUTTON3]\nAction=5\nButtonImage=\n");
  for (const char* name : {"skin.ini", "close.bmp", "max.bmp"})
    list.ReplaceFromStream("", name, Bytes(name));

  EXPECT_EQ(DeleteTitleButton(skin, schema, list, "Close Button"), "BUTTON0");
  EXPECT_FALSE(skin.SectionExists("BUTTON0"));
  EXPECT_FALSE(schema.HasDisplayName("Close Button"));
  EXPECT_EQ(schema.SchemaSection("Close Button"), "");
  EXPECT_EQ(list.Find("close.bmp"), nullptr);
  // A member the other button still names stays until that one goes too.
  DeleteTitleButton(skin, schema, list, "Maximize Button");
  EXPECT_NE(list.Find("max.bmp"), nullptr);
  DeleteTitleButton(skin, schema, list, "Minimize Button");
  EXPECT_EQ(list.Find("max.bmp"), nullptr);
  // A button without an image removes no member.
  DeleteTitleButton(skin, schema, list, "BUTTON3");
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(DeleteTitleButton(skin, schema, list, "No Such Button"), "");
  // The tree built again has no title buttons left.
  TEditorSchema fresh;
  fresh.Load(SchemaResourceText());
  for (const TElementNode& n : BuildElementTree(skin, fresh))
    EXPECT_TRUE(n.TitleSection.empty());
}

TEST_F(TitleButtonCommands, PresetColourSection) {
  Open("[Skins]\nVersion=150\n[Colour0]\ncolor=1 2 3\n");
  TAddedElement added = AddPresetColour(skin, schema);
  EXPECT_EQ(added.Section, "Colour1");
  EXPECT_EQ(skin.ReadString("Colour1", "color", ""), "255 255 255");
  TElementEditor element;
  element.Load(added.Caption, schema, &skin);
  ASSERT_EQ(element.RowCount(), 1);
  EXPECT_EQ(element.Row(1)->Label, "color");
  EXPECT_TRUE(element.IsColourRow(1));
}

TEST_F(TitleButtonCommands, TenPresetColourRows) {
  Open("[Skins]\nVersion=150\n[Customcolors]\nColor3=10 20 30\n");
  TElementEditor element;
  element.Load("Preset Colors", schema, &skin);
  ASSERT_EQ(element.RowCount(), 10);
  for (int r = 1; r <= 10; ++r) {
    EXPECT_EQ(element.Row(r)->Label, "Color" + std::to_string(r - 1));
    EXPECT_TRUE(element.IsColourRow(r));
  }
  EXPECT_EQ(element.Row(4)->Value, "10 20 30");
  EXPECT_TRUE(CommitValue(element.Target(10), "1 1 1", skin));
  EXPECT_EQ(skin.ReadString("Customcolors", "Color9", ""), "1 1 1");
}

}  // namespace
