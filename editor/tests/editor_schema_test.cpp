#include "editor/editor_schema.h"

#include <gtest/gtest.h>

#include "editor/help_text.h"
#include "test_files.h"

namespace {

TEST(ParseSchemaEntry, TypeAndLabel) {
  struct {
    const char* Value;
    int Type;
    const char* Label;
  } cases[] = {
      {"5,Left Border BMP", 5, "Left Border BMP"},
      {"2", 2, "color"},    // no comma: the label is the key
      {"1,a,b", 1, "a,b"},  // only the first comma splits
      {"23,Top Margin ", 23, "Top Margin"},
      {"x,Odd", 1, "Odd"},  // not a number: a plain number row
      {"", 1, "color"},
  };
  for (const auto& c : cases) {
    TSchemaEntry e = ParseSchemaEntry(c.Value, "color");
    EXPECT_EQ(e.Type, c.Type) << c.Value;
    EXPECT_EQ(e.Label, c.Label) << c.Value;
  }
}

class SchemaResource : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string text = SchemaResourceText();
    ASSERT_FALSE(text.empty()) << "editor/resources/skinini.ini";
    schema.Load(text);
  }
  TEditorSchema schema;
};

TEST_F(SchemaResource, DisplayNamesMapToSections) {
  struct {
    const char* Display;
    const char* Schema;
    const char* Skin;
  } cases[] = {
      {"Colors", "Colors", "Colours"},
      {"Left Border", "Left Border", "Personality"},
      {"Caption", "Caption", "Personality"},
      {"Button", "Button2", "Buttons"},
      {"MenuItem", "Control", "MenuItem"},
      {"Combobox Button Arrow", "ExtraImages", "ExtraImages"},
      {"TabSheet", "Control", "Tab.Pane"},
      {"HorzScrollThumb", "Thumb", "HorzScrollThumb"},
      {"MDIButton", "MDIButton", "MDICONTROLS"},
      {"TrackBar Bottom", "Tracker", "Trackbar.ThumbDown"},
      {"Spin Vert", "Updown", "UpDown.Vert"},
      {"Header Control", "Control", "Headerbar"},
      {"Preset Colors", "Customcolors", "Customcolors"},  // names compare ignoring case
      {"SkinName", "SkinName", "TitlebarSkin"},
      {"Border", "", ""},
      {"Scrollbar", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(schema.SchemaSection(c.Display), c.Schema) << c.Display;
    EXPECT_EQ(schema.SkinSection(c.Display), c.Skin) << c.Display;
  }
}

std::string RowsText(const std::vector<TSchemaRow>& rows) {
  std::string s;
  for (const TSchemaRow& r : rows)
    s += r.Key + " " + std::to_string(r.Type) + " \"" + r.Label + "\"; ";
  return s;
}

TEST_F(SchemaResource, SectionsListTheirKeysInOrder) {
  EXPECT_EQ(RowsText(schema.Rows("Left Border")),
            "Left 5 \"Left Border BMP\"; LeftTopHeight 23 \"Top Margin\"; LeftBotHeight 24 "
            "\"Bottom Margin\"; LeftFrame 1 \"BMP Frame\"; LeftStretch 1 \"BMP DrawMode\"; "
            "LeftTrans 1 \"BMP Transparent\"; ");
  EXPECT_EQ(RowsText(schema.Rows("Colour")), "color 2 \"color\"; ");
  EXPECT_EQ(RowsText(schema.Rows("Updown")),
            "Image 5 \"Button BMP\"; GlyphImage 6 \"Arrow BMP\"; LeftWidth 21 \"Left Margin\"; "
            "RightWidth 22 \"Right Margin\"; TopHeight 23 \"Top Margin\"; BottomHeight 24 "
            "\"Bottom Margin\"; Trans 1 \"BMP Transparent\"; ");
  std::vector<TSchemaRow> custom = schema.Rows("Customcolors");
  ASSERT_EQ(custom.size(), 10u);
  EXPECT_EQ(custom[9].Key, "Color9");
  EXPECT_EQ(custom[9].Label, "Color9");
  EXPECT_EQ(custom[9].Type, vtColour);
  std::vector<TSchemaRow> colors = schema.Rows("Colors");
  ASSERT_EQ(colors.size(), 15u);
  EXPECT_EQ(colors[4].Label, "Menuite BackGround - Hilight");  // spelling kept
  EXPECT_EQ(schema.Rows("caption").size(), 8u);
}

TEST_F(SchemaResource, TrailingSpacesOfLabelsAreTrimmed) {
  // The resource ends these three labels with a space.
  auto label = [&](const char* section, const char* key) {
    for (const TSchemaRow& r : schema.Rows(section))
      if (r.Key == key) return r.Label;
    return std::string("(missing)");
  };
  EXPECT_EQ(label("Button2", "Trans"), "BMP Transparent");
  EXPECT_EQ(label("Button", "Visibility"), "Visibility");
  EXPECT_EQ(label("Tab", "NormalColour2"), "Text Nomal");
  EXPECT_NE(SchemaResourceText().find("Text Nomal \r\n"), std::string::npos);
}

TEST_F(SchemaResource, RunTimeElementsComeAndGo) {
  EXPECT_FALSE(schema.HasDisplayName("Close Button"));
  schema.AddElement("Close Button", "BUTTON0", "BUTTON");
  EXPECT_TRUE(schema.HasDisplayName("close button"));
  EXPECT_EQ(schema.SkinSection("Close Button"), "BUTTON0");
  EXPECT_EQ(schema.Rows(schema.SchemaSection("Close Button")).size(), 8u);  // [Button] keys
  schema.RemoveElement("Close Button");
  EXPECT_FALSE(schema.HasDisplayName("Close Button"));
  EXPECT_EQ(schema.SchemaSection("Close Button"), "");
  // Loading again forgets whatever was added.
  schema.AddElement("Extra", "BUTTON7", "BUTTON");
  schema.Load(SchemaResourceText());
  EXPECT_FALSE(schema.HasDisplayName("Extra"));
}

TEST(HelpText, LinesEndWithCrLf) {
  EXPECT_EQ(NormaliseHelpText("a\rb\nc\r\nd"), "a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(NormaliseHelpText("a\r\n\r\nb\n"), "a\r\n\r\nb\r\n");
  EXPECT_EQ(NormaliseHelpText(""), "");
}

TEST(HelpText, TwoPartKeyFirstThenThreePart) {
  const std::string help = NormaliseHelpText(
      "<*Control-Image-MenuItem*>\nMenu item bitmap\n</Control-Image-MenuItem/>\n"
      "<*Left Border-Left*>\nLeft Border Bitmap\n\nTwo images.\n</Left Border-Left/>\n"
      "<*Left Border-Left-Left Border*>\nshadowed\n</Left Border-Left-Left Border/>\n"
      "<*Empty*>\n</Empty/>\n"
      "<*Unclosed*>\ntext\n");
  struct {
    const char* Key;
    const char* Display;
    const char* Text;
  } cases[] = {
      {"Left Border-Left", "Left Border", "Left Border Bitmap\r\n\r\nTwo images."},
      {"Control-Image", "MenuItem", "Menu item bitmap"},
      {"Control-Image", "Arrow", ""},
      {"control-image", "MenuItem", ""},  // keys compare exactly
      {"Empty", "", ""},
      {"Unclosed", "", ""},
      {"Left Border", "Left", "Left Border Bitmap\r\n\r\nTwo images."},  // the joined key
  };
  for (const auto& c : cases)
    EXPECT_EQ(FindHelp(help, c.Key, c.Display), c.Text) << c.Key << " / " << c.Display;
}

TEST(HelpText, ResourceAnswersTheEditorsKeys) {
  const std::string help = NormaliseHelpText(HelpResourceText());
  ASSERT_FALSE(help.empty());
  EXPECT_TRUE(FindHelp(help, "Left Border-Left", "Left Border").starts_with("Left Border Bitmap"));
  EXPECT_FALSE(FindHelp(help, "Control-Image", "MenuItem").empty());
  EXPECT_FALSE(FindHelp(help, "BUTTON-Action", "Close Button").empty());
  // The tree has no "TrackBar Vert" node, so the bottom thumb has no help.
  EXPECT_TRUE(FindHelp(help, "Tracker-Image", "TrackBar Bottom").empty());
  EXPECT_FALSE(FindHelp(help, "Tracker-Image", "TrackBar Horz").empty());
}

}  // namespace
