#include "editor/finding_place.h"

#include <gtest/gtest.h>

#include "editor/element_tree.h"
#include "test_files.h"

namespace {

// A skin with three title buttons: two take the same Action, one has none.
constexpr const char* kSkin =
    "[Skins]\nVersion=150\n"
    "[BUTTON0]\nAction=0\n"
    "[Button1]\nAction=-1\n"
    "[BUTTON5]\nAction=0\n";

struct TPlaceRow {
  const char* section;
  const char* key;
  const char* caption;  // the node expected; "" for none
  const char* label;    // the grid row's label expected; "" for the element only
};

class FindingPlace : public ::testing::Test {
 protected:
  void SetUp() override {
    schema.Load(SchemaResourceText());
    skin.SetText(kSkin);
    for (const TElementNode& n : BuildElementTree(skin, schema))
      captions.push_back(n.Caption);
  }
  TEditorSchema schema;
  TMemIniFile skin;
  std::vector<std::string> captions;
};

TEST_F(FindingPlace, SectionAndKeyGoToTheirElementAndRow) {
  const TPlaceRow rows[] = {
      // One section, several elements: the one whose grid lists the key.
      {"Personality", "Left", "Left Border", "Left Border BMP"},
      {"Personality", "TXTBackRight", "Caption", "Right Margin"},
      {"Personality", "TileMenu", "MainMenuBar", "Draw Mode"},
      {"Buttons", "CheckButtonFrame", "CheckBox", "BMP Frame"},
      {"Buttons", "Bitmap", "Button", "Button BMP"},
      // Letter case does not matter, neither in the section nor in the key.
      {"personality", "lefttopheight", "Left Border", "Top Margin"},
      {"COLOURS", "menu", "Colors", "Menuitem BackGround - Normal"},
      // Title buttons, by the caption their Action gave them.
      {"BUTTON0", "Action", "Close Button", "Button Action Code"},
      {"Button1", "XCoord", "Button1 Nothing", "Button Offset X"},
      {"button5", "ButtonImage", "BUTTON5", "Button BMP"},
      // A key no grid lists, or none: the first element of the section.
      {"Personality", "NoSuchKey", "Top Border", ""},
      {"Personality", "", "Top Border", ""},
      {"BUTTON5", "Region", "BUTTON5", ""},
      // "Scrollbar" is also a grouping node's caption; the element is "Arrow".
      {"Scrollbar", "NoSuchKey", "Arrow", ""},
      // No element shows these.
      {"Skins", "Version", "", ""},
      {"NoSuchSection", "Left", "", ""},
      {"", "Left", "", ""},
      {"", "", "", ""},
  };
  for (const TPlaceRow& r : rows) {
    SCOPED_TRACE(std::string(r.section) + "/" + r.key);
    const TFindingPlace place = LocateFinding(captions, schema, r.section, r.key);
    if (!*r.caption) {
      EXPECT_FALSE(place.Found());
      continue;
    }
    ASSERT_TRUE(place.Found());
    ASSERT_LT(static_cast<size_t>(place.Node), captions.size());
    EXPECT_EQ(captions[static_cast<size_t>(place.Node)], r.caption);
    if (!*r.label) {
      EXPECT_EQ(place.GridRow, 0);
      continue;
    }
    const auto grid = schema.Rows(schema.SchemaSection(r.caption));
    ASSERT_GE(place.GridRow, 1);
    ASSERT_LE(static_cast<size_t>(place.GridRow), grid.size());
    EXPECT_EQ(grid[static_cast<size_t>(place.GridRow) - 1].Label, r.label);
  }
}

TEST_F(FindingPlace, FollowsTheTreeAsItIsNow) {
  // A deleted title button is no longer found; an element the tree does not
  // show (although the schema knows it) is not either.
  schema.RemoveElement("Close Button");
  std::erase(captions, "Close Button");
  EXPECT_FALSE(LocateFinding(captions, schema, "BUTTON0", "Action").Found());
  std::erase(captions, "Left Border");
  const TFindingPlace left = LocateFinding(captions, schema, "Personality", "Left");
  ASSERT_TRUE(left.Found());
  EXPECT_EQ(left.GridRow, 0);
  EXPECT_EQ(captions[static_cast<size_t>(left.Node)], "Top Border");
  EXPECT_FALSE(LocateFinding({}, schema, "Personality", "Left").Found());
}

}  // namespace
