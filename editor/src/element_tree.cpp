#include "editor/element_tree.h"

#include "format/text.h"

const char* const kTitleButtonNodeCaption = "Title Button";
const char* const kTitleButtonSchemaSection = "BUTTON";

namespace {

struct TFixedNode {
  const char* Caption;
  int Level;  // 0 top level, 1 child of the last level-0 node, 2 of the last level-1
};

// The fixed part of the tree, in order; "Title Button" gets its children
// from the skin.
constexpr TFixedNode kFixedNodes[] = {
    {"Border", 0},
    {"Top Border", 1},
    {"Left Border", 1},
    {"Right Border", 1},
    {"Bottom Border", 1},
    {"Caption", 1},
    {"MainMenuBar", 1},
    {"MDIButton", 1},
    {"Title Button", 0},
    {"Control", 0},
    {"Button", 1},
    {"CheckBox", 1},
    {"RadioButton", 1},
    {"MenuItem", 1},
    {"MenuItem Background", 1},
    {"Combobox Border", 1},
    {"Combobox Button", 1},
    {"Combobox Button Arrow", 1},
    {"StatusBar", 1},
    {"Tab", 1},
    {"TabSheet", 1},
    {"Progress", 1},
    {"Progress Chunk", 1},
    {"Scrollbar", 1},
    {"Arrow", 2},
    {"HorzScroll", 2},
    {"HorzScrollThumb", 2},
    {"VertScroll", 2},
    {"VertScrollThumb", 2},
    {"TrackBar", 1},
    {"TrackBar Horz", 2},
    {"TrackBar Bottom", 2},
    {"Spin", 1},
    {"Spin Horz", 2},
    {"Spin Vert", 2},
    {"Header Control", 1},
    {"Colors", 0},
    {"Preset Colors", 0},
};

}  // namespace

bool IsTitleButtonSection(std::string_view section) {
  const std::string name = LowerAscii(section);
  return name.starts_with("button") && name != "button" && name != "buttons" &&
         name != "button.radio" && name != "button.checkbox";
}

std::string TitleButtonCaption(std::string_view section, int action) {
  switch (action) {
    case 0:
      return "Close Button";
    case 1:
      return "Maximize Button";
    case 2:
      return "Minimize Button";
    case 3:
      return "System Button";
    case 4:
      return "Help Button";
    case -1:
      return std::string(section) + " Nothing";
    default:
      return std::string(section);
  }
}

std::string UniqueTitleButtonCaption(const TEditorSchema& schema, std::string_view section,
                                     int action) {
  std::string caption = TitleButtonCaption(section, action);
  if (!schema.HasDisplayName(caption)) return caption;
  caption = std::string(section);
  for (int n = 2; schema.HasDisplayName(caption); ++n)
    caption = std::string(section) + " (" + std::to_string(n) + ")";
  return caption;
}

std::vector<TElementNode> BuildElementTree(const TMemIniFile& skin, TEditorSchema& schema) {
  std::vector<TElementNode> nodes;
  int last[2] = {-1, -1};
  for (const TFixedNode& f : kFixedNodes) {
    int index = static_cast<int>(nodes.size());
    nodes.push_back({f.Caption, f.Level == 0 ? -1 : last[f.Level - 1], {}});
    if (f.Level < 2) last[f.Level] = index;
    if (std::string_view(f.Caption) != kTitleButtonNodeCaption) continue;
    std::vector<std::string> sections;
    skin.ReadSections(sections);
    for (size_t i = 0; i < sections.size(); ++i) {
      const std::string& s = sections[i];
      if (!IsTitleButtonSection(s)) continue;
      bool repeated = false;  // a second section of the same name is never read
      for (size_t j = 0; j < i && !repeated; ++j)
        repeated = EqualsIgnoreCase(sections[j], s);
      if (repeated) continue;
      std::string caption = UniqueTitleButtonCaption(schema, s, skin.ReadInteger(s, "Action", -1));
      schema.AddElement(caption, s, kTitleButtonSchemaSection);
      nodes.push_back({caption, index, s});
    }
  }
  return nodes;
}
