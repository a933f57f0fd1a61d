#include "editor/element_tree.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace {

class ElementTree : public ::testing::Test {
 protected:
  void SetUp() override { schema.Load(SchemaResourceText()); }
  std::vector<TElementNode> Build(const char* ini_text) {
    skin.SetText(ini_text);
    return BuildElementTree(skin, schema);
  }
  // The captions of the children of the node captioned `parent`.
  static std::vector<std::string> Children(const std::vector<TElementNode>& nodes,
                                           const std::string& parent) {
    int p = -2;
    for (size_t i = 0; i < nodes.size(); ++i)
      if (nodes[i].Caption == parent) p = static_cast<int>(i);
    std::vector<std::string> out;
    for (const TElementNode& n : nodes)
      if (n.Parent == p) out.push_back(n.Caption);
    return out;
  }
  TEditorSchema schema;
  TMemIniFile skin;
};

TEST_F(ElementTree, FixedNodesInOrder) {
  auto nodes = Build("[Skins]\nVersion=150\n");
  EXPECT_EQ(Children(nodes, "Border"),
            (std::vector<std::string>{"Top Border", "Left Border", "Right Border", "Bottom Border",
                                      "Caption", "MainMenuBar", "MDIButton"}));
  std::vector<std::string> top;
  for (const TElementNode& n : nodes)
    if (n.Parent < 0) top.push_back(n.Caption);
  EXPECT_EQ(top, (std::vector<std::string>{"Border", "Title Button", "Control", "Colors",
                                           "Preset Colors"}));
  EXPECT_EQ(Children(nodes, "Control").size(), 17u);
  EXPECT_EQ(Children(nodes, "Scrollbar"),
            (std::vector<std::string>{"Arrow", "HorzScroll", "HorzScrollThumb", "VertScroll",
                                      "VertScrollThumb"}));
  EXPECT_EQ(Children(nodes, "TrackBar"),
            (std::vector<std::string>{"TrackBar Horz", "TrackBar Bottom"}));
  EXPECT_EQ(Children(nodes, "Spin"), (std::vector<std::string>{"Spin Horz", "Spin Vert"}));
  EXPECT_TRUE(Children(nodes, "Title Button").empty());
  for (size_t i = 0; i < nodes.size(); ++i)
    EXPECT_LT(nodes[i].Parent, static_cast<int>(i)) << "parents come first";
}

TEST_F(ElementTree, TitleButtonsInSectionOrderWithTheirCaptions) {
  auto nodes = Build(
      "[BUTTON5]\nAction=0\n"
      "[Buttons]\nBitmap=b.bmp\n"
      "[BUTTON0]\nAction=0\n"
      "[Button.Checkbox]\nx=1\n"
      "[BUTTON1]\nAction=-1\n"
      "[Button]\nAction=2\n"  // the push-button element's name, not a title button
      "[button.radio]\nx=1\n"
      "[BUTTONHELP]\nAction=4\n"
      "[ButtonX]\nAction=9\n"
      "[BUTTONNOACTION]\n"
      "[BUTTON0]\nAction=3\n");  // a repeated section is never read, so never shown
  EXPECT_EQ(Children(nodes, "Title Button"),
            (std::vector<std::string>{"Close Button", "BUTTON0", "BUTTON1 Nothing", "Help Button",
                                      "ButtonX", "BUTTONNOACTION Nothing"}));
  // Every title button uses the "BUTTON" keys and its own section.
  EXPECT_EQ(schema.SkinSection("Close Button"), "BUTTON5");
  EXPECT_EQ(schema.SkinSection("BUTTON0"), "BUTTON0");
  EXPECT_EQ(schema.SchemaSection("BUTTON1 Nothing"), "BUTTON");
  // The push-button element keeps its own entry.
  EXPECT_EQ(schema.SkinSection("Button"), "Buttons");
  EXPECT_EQ(schema.SchemaSection("Button"), "Button2");
  for (const TElementNode& n : nodes)
    if (n.Caption == "ButtonX") {
      EXPECT_EQ(n.TitleSection, "ButtonX");
    }
}

TEST_F(ElementTree, CaptionsNeverTakeOverAnotherEntry) {
  // "BUTTON1 Nothing" is taken by the first button; the second's caption and
  // its section name would both collide.
  auto nodes = Build(
      "[BUTTON1]\nAction=-1\n"
      "[BUTTON1 Nothing]\nAction=7\n"
      "[BUTTON2]\nAction=1\n"
      "[BUTTON3]\nAction=1\n");
  EXPECT_EQ(Children(nodes, "Title Button"),
            (std::vector<std::string>{"BUTTON1 Nothing", "BUTTON1 Nothing (2)", "Maximize Button",
                                      "BUTTON3"}));
  EXPECT_EQ(schema.SkinSection("BUTTON1 Nothing"), "BUTTON1");
  EXPECT_EQ(schema.SkinSection("BUTTON1 Nothing (2)"), "BUTTON1 Nothing");
}

TEST(TitleButtons, SectionRuleAndCaptions) {
  struct {
    const char* Name;
    bool Title;
  } names[] = {{"BUTTON0", true},       {"button7", true},       {"ButtonClose", true},
               {"BUTTON", false},       {"Button", false},       {"BUTTONS", false},
               {"Buttons", false},      {"BUTTON.RADIO", false}, {"Button.Checkbox", false},
               {"BUTTON.RADIO2", true}, {"Personality", false},  {"XBUTTON", false}};
  for (const auto& n : names)
    EXPECT_EQ(IsTitleButtonSection(n.Name), n.Title) << n.Name;
  EXPECT_EQ(TitleButtonCaption("B", 0), "Close Button");
  EXPECT_EQ(TitleButtonCaption("B", 1), "Maximize Button");
  EXPECT_EQ(TitleButtonCaption("B", 2), "Minimize Button");
  EXPECT_EQ(TitleButtonCaption("B", 3), "System Button");
  EXPECT_EQ(TitleButtonCaption("B", 4), "Help Button");
  EXPECT_EQ(TitleButtonCaption("B", -1), "B Nothing");
  EXPECT_EQ(TitleButtonCaption("B", 5), "B");
  EXPECT_EQ(TitleButtonCaption("B", -2), "B");
}

TEST_F(ElementTree, ASecondPackageStartsFromTheResourceAgain) {
  Build("[BUTTON0]\nAction=0\n");
  EXPECT_TRUE(schema.HasDisplayName("Close Button"));
  schema.Load(SchemaResourceText());
  auto nodes = Build("[BUTTON9]\nAction=0\n");
  EXPECT_EQ(Children(nodes, "Title Button"), (std::vector<std::string>{"Close Button"}));
  EXPECT_EQ(schema.SkinSection("Close Button"), "BUTTON9");
}

}  // namespace
