#include "editor/element_editor.h"

#include <gtest/gtest.h>

#include "editor/element_tree.h"
#include "test_files.h"

namespace {

class ElementEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    schema.Load(SchemaResourceText());
    skin.SetText(
        "[Skins]\nVersion=150\n"
        "[Colours]\nButtonFace=200 200 200\nMenu=1 2 3\n"
        "[Personality]\nLeft=left.bmp\nLeftTopHeight=10\n"
        "[Buttons]\nBitmap=button.bmp\nLeftWidth=3\n"
        "[BUTTON0]\nAction=0\nButtonImage=close.bmp\nXCoord=-20\n");
    BuildElementTree(skin, schema);
  }
  TEditorSchema schema;
  TMemIniFile skin;
  TElementEditor editor;
};

TEST_F(ElementEditor, RowsFromSchemaAndSkin) {
  editor.Load("Left Border", schema, &skin);
  ASSERT_EQ(editor.RowCount(), 6);
  EXPECT_EQ(editor.SkinSection(), "Personality");
  const TGridRow* bmp = editor.Row(1);
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bmp->Label, "Left Border BMP");
  EXPECT_EQ(bmp->Value, "BitMap");  // never the member name
  EXPECT_TRUE(bmp->ReadOnly);
  EXPECT_TRUE(bmp->EditButton);
  EXPECT_EQ(editor.Row(2)->Value, "10");
  EXPECT_FALSE(editor.Row(2)->ReadOnly);
  EXPECT_FALSE(editor.Row(2)->EditButton);
  EXPECT_EQ(editor.Row(3)->Value, "");  // absent key
  EXPECT_EQ(editor.Row(0), nullptr);
  EXPECT_EQ(editor.Row(7), nullptr);
  EXPECT_EQ(editor.HelpKey(2), "Left Border-LeftTopHeight");
  EXPECT_TRUE(editor.HasMargins());

  editor.Load("Colors", schema, &skin);
  EXPECT_EQ(editor.Row(1)->Label, "Window Color");
  EXPECT_EQ(editor.Row(1)->Value, "200 200 200");
  EXPECT_TRUE(editor.Row(1)->EditButton);
  EXPECT_FALSE(editor.Row(1)->ReadOnly);
  EXPECT_TRUE(editor.IsColourRow(1));
  EXPECT_FALSE(editor.HasMargins());
}

TEST_F(ElementEditor, NodesWithoutSchemaGiveNoRows) {
  for (const char* name :
       {"Border", "Title Button", "Control", "Scrollbar", "TrackBar", "Spin", "nonsense"}) {
    editor.Load(name, schema, &skin);
    EXPECT_TRUE(editor.Empty()) << name;
    EXPECT_FALSE(editor.Target(1).Valid()) << name;
    EXPECT_FALSE(editor.IsColourRow(1)) << name;
  }
  editor.Load("Colors", schema, nullptr);  // no skin open
  EXPECT_TRUE(editor.Empty());
}

TEST_F(ElementEditor, TitleButtonsUseTheButtonKeys) {
  editor.Load("Close Button", schema, &skin);
  EXPECT_EQ(editor.SchemaSection(), "BUTTON");
  EXPECT_EQ(editor.SkinSection(), "BUTTON0");
  ASSERT_EQ(editor.RowCount(), 8);
  EXPECT_EQ(editor.Row(2)->Value, "-20");
  EXPECT_EQ(editor.HelpKey(5), "BUTTON-Action");
}

TEST_F(ElementEditor, CommitsCompareWithTheDocument) {
  editor.Load("Colors", schema, &skin);
  TEditTarget face = editor.Target(1);  // "Window Color" is key ButtonFace
  EXPECT_EQ(face.Key, "ButtonFace");
  struct {
    const char* Value;
    bool Changed;
    const char* Stored;  // "(absent)" when the key must be gone
  } steps[] = {
      {"200 200 200", false, "200 200 200"},  // unchanged: nothing written
      {"10 20 30", true, "10 20 30"},
      {"10 20 30", false, "10 20 30"},  // the same commit again writes nothing
      {"", true, "(absent)"},           // a cleared cell deletes the key
      {"", false, "(absent)"},
      {"anything at all", true, "anything at all"},  // no validation
  };
  for (const auto& s : steps) {
    EXPECT_EQ(CommitValue(face, s.Value, skin), s.Changed) << s.Value;
    bool present = skin.ValueExists("Colours", "ButtonFace");
    if (std::string(s.Stored) == "(absent)")
      EXPECT_FALSE(present) << s.Value;
    else
      EXPECT_EQ(skin.ReadString("Colours", "ButtonFace", "?"), s.Stored) << s.Value;
  }
  EXPECT_FALSE(skin.ValueExists("Colours", "Window Color"));  // never the label
}

TEST_F(ElementEditor, ATargetOutlivesTheSelection) {
  editor.Load("Colors", schema, &skin);
  TEditTarget menu = editor.Target(3);
  editor.Load("Button", schema, &skin);  // the selection moved before the commit
  EXPECT_TRUE(CommitValue(menu, "9 9 9", skin));
  EXPECT_EQ(skin.ReadString("Colours", "Menu", ""), "9 9 9");
  EXPECT_FALSE(skin.ValueExists("Buttons", "Menu"));
}

TEST_F(ElementEditor, BitmapRowsAreNeverWrittenFromTheGrid) {
  editor.Load("Button", schema, &skin);
  EXPECT_FALSE(CommitValue(editor.Target(1), "BitMap", skin));
  EXPECT_FALSE(CommitValue(editor.Target(1), "", skin));
  EXPECT_EQ(skin.ReadString("Buttons", "Bitmap", ""), "button.bmp");
}

}  // namespace
